#include "common/StringCompareIgnore.h"

#include <gtest/gtest.h>

TEST(StringCompareIgnore, IgnoresCaseOfCodePageLetters) {
  EXPECT_EQ(StringCompareIgnore("DefPoints", "DEFPOINTS"), 0);
  // S and Z with caron, capital and small, in code page 1250.
  EXPECT_EQ(StringCompareIgnore("\x8A\x8E" "ab", "\x9A\x9E" "AB"), 0);
  EXPECT_LT(StringCompareIgnore("abc", "ABD"), 0);
  EXPECT_GT(StringCompareIgnore("abd", "ABC"), 0);
  EXPECT_LT(StringCompareIgnore("ab", "abc"), 0);
}

TEST(StringCompareIgnore, NullComparesAsEmpty) {
  EXPECT_EQ(StringCompareIgnore(nullptr, ""), 0);
  EXPECT_EQ(StringCompareIgnore("", nullptr), 0);
  EXPECT_EQ(StringCompareIgnore(nullptr, nullptr), 0);
  EXPECT_LT(StringCompareIgnore(nullptr, "a"), 0);
  EXPECT_GT(StringCompareIgnore("a", nullptr), 0);
}
