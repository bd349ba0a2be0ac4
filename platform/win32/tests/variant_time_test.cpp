#include "platform/win32/variant_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

SYSTEMTIME Fields(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(y);
  st.wMonth = static_cast<WORD>(mo);
  st.wDay = static_cast<WORD>(d);
  st.wHour = static_cast<WORD>(h);
  st.wMinute = static_cast<WORD>(mi);
  st.wSecond = static_cast<WORD>(s);
  return st;
}

// "YYYY-MM-DD hh:mm:ss wD" of a date, or "invalid".
std::string Show(DATE date) {
  SYSTEMTIME st;
  if (!VariantTimeToSystemTime(date, &st)) return "invalid";
  char text[64];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u w%u", st.wYear, st.wMonth,
                st.wDay, st.wHour, st.wMinute, st.wSecond, st.wDayOfWeek);
  return text;
}

TEST(VariantTime, DaysCountFromTheEndOf1899) {
  EXPECT_EQ(Show(0.0), "1899-12-30 00:00:00 w6");
  EXPECT_EQ(Show(2.5), "1900-01-01 12:00:00 w1");
  EXPECT_EQ(Show(41338 + (14 * 3600 + 7 * 60 + 9) / 86400.0), "2013-03-05 14:07:09 w2");
  EXPECT_EQ(Show(60.0), "1900-02-28 00:00:00 w3");  // no 29 February 1900
  EXPECT_EQ(Show(61.0), "1900-03-01 00:00:00 w4");
}

TEST(VariantTime, DatesBeforeDayZeroRunTheTimeForwards) {
  EXPECT_EQ(Show(-1.25), "1899-12-29 06:00:00 w5");
  EXPECT_EQ(Show(-0.5), "1899-12-30 12:00:00 w6");
  EXPECT_EQ(Show(-2.0), "1899-12-28 00:00:00 w4");
  DATE d = 0;
  SYSTEMTIME st = Fields(1899, 12, 29, 6);
  ASSERT_TRUE(SystemTimeToVariantTime(&st, &d));
  EXPECT_DOUBLE_EQ(d, -1.25);
  st = Fields(1899, 12, 30, 18);
  ASSERT_TRUE(SystemTimeToVariantTime(&st, &d));
  EXPECT_DOUBLE_EQ(d, 0.75);
}

TEST(VariantTime, RoundsToTheSecondAcrossMidnight) {
  EXPECT_EQ(Show(1.0 - 0.4 / 86400), "1899-12-31 00:00:00 w0");
  EXPECT_EQ(Show(1.0 - 0.6 / 86400), "1899-12-30 23:59:59 w6");
  EXPECT_EQ(Show(1.0 - 1.0 / 86400), "1899-12-30 23:59:59 w6");
  EXPECT_EQ(Show(-1.0 - 0.9999999), "1899-12-30 00:00:00 w6");
}

TEST(VariantTime, RangeIsYears100To9999) {
  EXPECT_EQ(Show(kMinVariantDate), "0100-01-01 00:00:00 w5");
  EXPECT_EQ(Show(kMinVariantDate - 0.5), "0100-01-01 12:00:00 w5");
  EXPECT_EQ(Show(kMinVariantDate - 1.0), "invalid");
  EXPECT_EQ(Show(kMaxVariantDate + 0.5), "9999-12-31 12:00:00 w5");
  EXPECT_EQ(Show(kMaxVariantDate + 1.0), "invalid");
  EXPECT_EQ(Show(kMaxVariantDate + 0.9999999999), "invalid");  // rounds into year 10000
  EXPECT_EQ(Show(std::nan("")), "invalid");
  EXPECT_EQ(Show(std::numeric_limits<double>::infinity()), "invalid");
  EXPECT_FALSE(VariantTimeToSystemTime(1.0, nullptr));
}

TEST(VariantTime, FieldsAreCheckedAndRoundTrip) {
  DATE d = 0;
  for (const SYSTEMTIME& bad : {Fields(99, 12, 31), Fields(10000, 1, 1), Fields(2013, 13, 1),
                                Fields(2013, 0, 1), Fields(2013, 2, 29), Fields(2013, 4, 31),
                                Fields(2013, 1, 0), Fields(2013, 1, 1, 24),
                                Fields(2013, 1, 1, 0, 60), Fields(2013, 1, 1, 0, 0, 60)})
    EXPECT_FALSE(SystemTimeToVariantTime(&bad, &d)) << bad.wYear << "-" << bad.wMonth;
  SYSTEMTIME leap = Fields(2000, 2, 29, 23, 59, 59);
  ASSERT_TRUE(SystemTimeToVariantTime(&leap, &d));
  EXPECT_EQ(Show(d), "2000-02-29 23:59:59 w2");
  SYSTEMTIME old = Fields(1066, 10, 14, 9, 30);
  ASSERT_TRUE(SystemTimeToVariantTime(&old, &d));
  EXPECT_LT(d, 0);
  EXPECT_EQ(Show(d), "1066-10-14 09:30:00 w0");
}

}  // namespace
