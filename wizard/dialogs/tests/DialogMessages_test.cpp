// A resource text used as a format of two numbers: whatever the text holds,
// only number conversions take the numbers, and no more than two.
#include "wizard/dialogs/DialogMessages.h"

#include <gtest/gtest.h>

TEST(DialogMessages, OnlyTwoNumberConversionsTakeTheBounds) {
  struct Case {
    const char* format;
    const char* text;
  };
  const Case cases[] = {
      {"from %.2f to %.2f.", "from 10.00 to 6000.00."},
      {"%g..%e", "10..6.000000e+03"},
      {"%+08.1f %-6.0f|", "+00010.0 6000  |"},
      {"100%% of %.0f", "100% of 10"},
      {"%s and %d: %.1f", "%s and %d: 10.0"},
      {"%f %f %f", "10.000000 6000.000000 %f"},
      {"%999f", "%999f"},
      {"%.999f", "%.999f"},
      {"ends in %", "ends in %"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatTwoNumbers(c.format, 10, 6000), c.text) << c.format;
  EXPECT_EQ(FormatTwoNumbers(nullptr, 1, 2), "");
}
