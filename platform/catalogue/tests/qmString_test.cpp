#include "platform/catalogue/qmString.h"

#include <gtest/gtest.h>

#include <string>

TEST(qmString, NullStoresEmptyTextInTheFirstStep) {
  qmString s(nullptr);
  ASSERT_NE(s.GetString(), nullptr);
  EXPECT_STREQ(s.GetString(), "");
  EXPECT_EQ(s.GetLength(), 1);
  EXPECT_EQ(s.GetCapacity(), 8);
}

TEST(qmString, EmptyUntilFilled) {
  qmString s(0, 8);
  EXPECT_EQ(s.GetString(), nullptr);
  EXPECT_EQ(s.GetLength(), 0);
  EXPECT_EQ(s.GetCapacity(), 0);
  s.Assign("PROP");
  EXPECT_STREQ(s.GetString(), "PROP");
  EXPECT_EQ(s.GetLength(), 5);
}

TEST(qmString, GrowthDoublesSmallBuffersAndStepsLargeOnes) {
  qmString s("");
  ASSERT_EQ(s.GetCapacity(), 8);
  s.Assign("0123456789");  // 11 > 8: 8 + max(8, 8)
  EXPECT_EQ(s.GetCapacity(), 16);
  s.Assign(std::string(20, 'x').c_str());  // 21 > 16: 16 + 16
  EXPECT_EQ(s.GetCapacity(), 32);
  s.Assign(std::string(299, 'x').c_str());  // 32 + 32 is too small: exactly 300
  EXPECT_EQ(s.GetCapacity(), 300);
  s.Assign(std::string(300, 'y').c_str());  // 300 + min(300, 256)
  EXPECT_EQ(s.GetCapacity(), 556);
  EXPECT_EQ(s.GetLength(), 301);
  EXPECT_EQ(std::string(s.GetString()), std::string(300, 'y'));
  s.Assign("short");  // never shrinks
  EXPECT_EQ(s.GetCapacity(), 556);
  EXPECT_EQ(s.GetLength(), 6);
}

TEST(qmString, LongTextOnANewStringGetsExactlyItsLength) {
  qmString s(std::string(300, 'a').c_str());
  EXPECT_EQ(s.GetCapacity(), 301);
  EXPECT_EQ(s.GetLength(), 301);
  EXPECT_EQ(std::string(s.GetString()).size(), 300u);
}

TEST(qmString, OwnGrowStepIsTheMinimumGrowth) {
  qmString s(0, 100);
  s.Assign("a");
  EXPECT_EQ(s.GetCapacity(), 100);
  EXPECT_EQ(s.GetGrowStep(), 100);
}

TEST(qmString, SetLengthKeepsContentsAndClampsNegatives) {
  qmString s("abc");
  s.SetLength(40);
  EXPECT_EQ(s.GetLength(), 40);
  EXPECT_STREQ(s.GetString(), "abc");
  int capacity = s.GetCapacity();
  s.SetLength(-3);
  EXPECT_EQ(s.GetLength(), 0);
  EXPECT_EQ(s.GetCapacity(), capacity);
}

TEST(qmString, AssignFromItsOwnBuffer) {
  qmString s("hello world");
  s.Assign(s.GetString() + 6);  // overlapping copy
  EXPECT_STREQ(s.GetString(), "world");
  EXPECT_EQ(s.GetLength(), 6);
}

TEST(qmString, CopiesAreIndependent) {
  qmString a("layer");
  qmString b(a);
  qmString c;
  c = a;
  a.Assign("changed");
  EXPECT_STREQ(b.GetString(), "layer");
  EXPECT_STREQ(c.GetString(), "layer");
  EXPECT_NE(b.GetString(), a.GetString());
  qmString empty;
  c = empty;
  EXPECT_EQ(c.GetLength(), 0);
}
