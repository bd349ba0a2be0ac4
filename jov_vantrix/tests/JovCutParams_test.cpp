#include "jov_vantrix/network/JovCutParams.h"
#include "jov_vantrix/section/JovCutParamsOld.h"
#include "jov_vantrix/tests/TestClock.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace {

int g_readings = 0;

// 5 March 2013, 14:07:09 local time.
std::time_t MarchFifth() {
  ++g_readings;
  return MarchFifthMoment();
}

}  // namespace

TEST(JovCutParams, StampsNameTheMomentOfConstruction) {
  g_readings = 0;
  JovCutParams params(&MarchFifth);
  EXPECT_STREQ(params.m_assocStamp, "05.03.2013-14.07.09");
  EXPECT_STREQ(params.m_schemeStamp, "14.07.09-05.03.2013");
  EXPECT_EQ(g_readings, 1) << "both stamps from one reading";
  JovCutParams second(&MarchFifth);
  EXPECT_STREQ(second.m_assocStamp, params.m_assocStamp) << "same second, same stamps";
}

TEST(JovCutParams, WithoutAClockTheStampsAreTheCurrentTime) {
  JovCutParams params;
  const std::regex assoc(R"(\d\d\.\d\d\.\d{4}-\d\d\.\d\d\.\d\d)");
  const std::regex scheme(R"(\d\d\.\d\d\.\d\d-\d\d\.\d\d\.\d{4})");
  EXPECT_TRUE(std::regex_match(params.m_assocStamp.GetString(), assoc)) << params.m_assocStamp.GetString();
  EXPECT_TRUE(std::regex_match(params.m_schemeStamp.GetString(), scheme));
}

TEST(JovCutParams, NewBlockWaitsForItsMasks) {
  JovCutParams params(&MarchFifth);
  EXPECT_EQ(params.m_units, 1);
  EXPECT_TRUE(params.m_maskWithoutProduct.IsEmpty());
  EXPECT_TRUE(params.m_maskWithProduct.IsEmpty());
  EXPECT_TRUE(params.m_maskScheme.IsEmpty());
}

TEST(JovCutParamsOld, StampsTheMomentOfConstructionWithTheDateFirst) {
  g_readings = 0;
  JovCutParamsOld older(&MarchFifth);
  EXPECT_STREQ(older.m_stamp, "05.03.2013-14.07.09");
  EXPECT_EQ(g_readings, 1);
}
