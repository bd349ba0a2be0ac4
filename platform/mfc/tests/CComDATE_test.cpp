#include "platform/mfc/CComDATE.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

namespace {

TEST(CComDATE, FieldsOfAProductDate) {
  const CComDATE date(2013, 3, 5, 14, 7, 9);
  ASSERT_TRUE(date.IsValid());
  EXPECT_NEAR(static_cast<DATE>(date), 41338.588299, 1e-6);
  EXPECT_EQ(date.GetYear(), 2013);
  EXPECT_EQ(date.GetMonth(), 3);
  EXPECT_EQ(date.GetDay(), 5);
  EXPECT_EQ(date.GetHour(), 14);
  EXPECT_EQ(date.GetMinute(), 7);
  EXPECT_EQ(date.GetSecond(), 9);
  EXPECT_EQ(date.GetDayOfWeek(), 3);  // a Tuesday
}

TEST(CComDATE, InvalidDatesSayNoInEveryField) {
  for (const CComDATE& bad : {CComDATE(2013, 2, 30), CComDATE(-1, 1, 1), CComDATE(2013, 1, 1, 99),
                              CComDATE(70000, 1, 1), CComDATE(kMaxVariantDate + 2),
                              CComDATE(std::nan(""))}) {
    EXPECT_FALSE(bad.IsValid());
    EXPECT_EQ(bad.GetYear(), -1);
    EXPECT_EQ(bad.GetDayOfWeek(), -1);
  }
  EXPECT_EQ(static_cast<DATE>(CComDATE(2013, 2, 30)), 0.0);
  EXPECT_TRUE(CComDATE().IsValid());
  EXPECT_EQ(CComDATE().GetYear(), 1899);
  EXPECT_EQ(CComDATE(kMinVariantDate).GetYear(), 100);
}

TEST(CComDATE, NowIsTheLocalTimeToTheSecond) {
  const std::time_t before = std::time(nullptr);
  const CComDATE now = CComDATE::Now();
  const std::time_t after = std::time(nullptr);
  ASSERT_TRUE(now.IsValid());
  std::tm local{};
  localtime_r(&before, &local);
  const CComDATE expected(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                          local.tm_min, local.tm_sec);
  const double seconds = (static_cast<DATE>(now) - static_cast<DATE>(expected)) * 86400.0;
  EXPECT_GE(seconds, -0.5);
  EXPECT_LE(seconds, static_cast<double>(after - before) + 0.5);
}

}  // namespace
