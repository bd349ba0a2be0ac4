#include "dataformat/HeapCopy.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

TEST(HeapCopy, NullTextsCopyAsEmpty) {
  char* s = DupString(nullptr);
  ASSERT_NE(s, nullptr);
  EXPECT_STREQ(s, "");
  std::free(s);
  char16_t* w = DupWideString(nullptr);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w[0], 0);
  std::free(w);
  EXPECT_EQ(DupBytes(nullptr, 4), nullptr);
}

TEST(HeapCopy, CopiesAreIndependent) {
  char text[] = "abc";
  char* s = DupString(text);
  text[0] = 'x';
  EXPECT_STREQ(s, "abc");
  std::free(s);
  const unsigned char bytes[3] = {1, 0, 255};
  auto* b = static_cast<unsigned char*>(DupBytes(bytes, 3));
  EXPECT_EQ(std::memcmp(b, bytes, 3), 0);
  std::free(b);
}

TEST(HeapCopy, BoundedCopyRefusesWhatDoesNotFit) {
  char out[4] = "zzz";
  EXPECT_TRUE(CopyStringN(out, sizeof out, "abc"));
  EXPECT_STREQ(out, "abc");
  EXPECT_FALSE(CopyStringN(out, sizeof out, "abcd"));
  EXPECT_STREQ(out, "");
  EXPECT_EQ(StringLength(nullptr), 0);
  EXPECT_EQ(StringLength("abcd"), 4);
}
