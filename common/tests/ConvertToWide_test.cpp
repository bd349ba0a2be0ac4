#include "common/ConvertToWide.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr char16_t kGuard = 0xBEEF;

// Converts text with its NUL into a buffer of exactly strlen + 1 units
// followed by guard units, checks that the guards survive and returns the
// units up to and including the first NUL (or all of them).
std::u16string Convert(const char* text, UINT codePage = CP_1250) {
  int n = static_cast<int>(std::strlen(text)) + 1;
  std::vector<char16_t> out(n + 4, kGuard);
  EXPECT_EQ(ConvertToWide(out.data(), text, n, codePage), out.data());
  for (int i = n; i < n + 4; ++i) EXPECT_EQ(out[i], kGuard) << "written beyond unit " << i;
  std::u16string result;
  for (int i = 0; i < n; ++i) {
    result += out[i];
    if (out[i] == 0) break;
  }
  return result;
}

}  // namespace

TEST(ConvertToWide, EscapeBecomesOneUnit) {
  EXPECT_EQ(Convert("A\\U+0161B"), std::u16string(u"A\u0161B") + u'\0');
  EXPECT_EQ(Convert("A\\U+0041B"), std::u16string(u"AAB") + u'\0');
  EXPECT_EQ(Convert("\\U+00e9\\U+00C9"), std::u16string(u"\u00e9\u00c9") + u'\0');
  // Surrogate halves pass one by one.
  EXPECT_EQ(Convert("\\U+D83D\\U+DE00.txt"), std::u16string(u"\xD83D\xDE00.txt") + u'\0');
}

TEST(ConvertToWide, CodePageBytesAroundEscapes) {
  // 0x8A and 0x9A are the capital and small s with caron in code page 1250.
  EXPECT_EQ(Convert("\x8A\\U+0041\x9A"), std::u16string(u"\u0160A\u0161") + u'\0');
  EXPECT_EQ(Convert("plain.lst"), std::u16string(u"plain.lst") + u'\0');
}

TEST(ConvertToWide, ABrokenEscapeIsTextAndLaterOnesStillCount) {
  EXPECT_EQ(Convert("x\\U+01G1\\U+0041"), std::u16string(u"x\\U+01G1A") + u'\0');
  EXPECT_EQ(Convert("\\U+\\U+0042"), std::u16string(u"\\U+B") + u'\0');
  // Fewer than four characters left after the marker.
  EXPECT_EQ(Convert("abc\\U+01"), std::u16string(u"abc\\U+01") + u'\0');
  EXPECT_EQ(Convert("\\U+0041\\U+zz"), std::u16string(u"A\\U+zz") + u'\0');
}

TEST(ConvertToWide, UnconvertibleStretchesBecomeQuestionMarks) {
  // A code page the conversion does not know: each byte a '?', the escape
  // still one unit, and a terminator behind the last stretch.
  EXPECT_EQ(Convert("ab\\U+0041c", 437), std::u16string(u"??A??") + u'\0');
}

TEST(ConvertToWide, StaysInsideTheGivenLength) {
  // Without the NUL in the count: terminated only because room is left.
  const char* text = "A\\U+0041";
  std::vector<char16_t> out(8 + 2, kGuard);
  ConvertToWide(out.data(), text, 8, CP_1250);
  EXPECT_EQ(out[0], u'A');
  EXPECT_EQ(out[1], u'A');
  EXPECT_EQ(out[2], 0);
  EXPECT_EQ(out[8], kGuard);

  // No room at all: nothing written.
  char16_t one = kGuard;
  EXPECT_EQ(ConvertToWide(&one, "x", 0, CP_1250), &one);
  EXPECT_EQ(one, kGuard);

  // Exactly full: "ab" in two units, the last one gives way to the
  // terminator, with and without an escape before it.
  char16_t two[3] = {kGuard, kGuard, kGuard};
  ConvertToWide(two, "ab", 2, CP_1250);
  EXPECT_EQ(two[0], u'a');
  EXPECT_EQ(two[1], 0);
  EXPECT_EQ(two[2], kGuard);
  std::vector<char16_t> full(7 + 1, kGuard);
  ConvertToWide(full.data(), "\\U+0041", 7, CP_1250);
  EXPECT_EQ(full[0], u'A');
  EXPECT_EQ(full[1], 0);
  EXPECT_EQ(full[7], kGuard);
}

TEST(ConvertToWide, NullArguments) {
  char16_t out[4];
  EXPECT_EQ(ConvertToWide(nullptr, "a", 2, CP_1250), nullptr);
  EXPECT_EQ(ConvertToWide(out, nullptr, 2, CP_1250), nullptr);
}
