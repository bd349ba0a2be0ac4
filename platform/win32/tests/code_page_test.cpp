#include "platform/win32/code_page.h"

#include <gtest/gtest.h>

#include <string>

TEST(CodePage, SingleByteToWideUsesPage1250) {
  // "Šíř" in code page 1250, NUL included by the -1 length.
  const char text[] = "\x8A\xED\xF8";
  WCHAR out[8] = {};
  ASSERT_EQ(MultiByteToWideChar(CP_1250, 0, text, -1, out, 8), 4);
  EXPECT_EQ(out[0], u'\u0160');
  EXPECT_EQ(out[1], u'\u00ED');
  EXPECT_EQ(out[2], u'\u0159');
  EXPECT_EQ(out[3], 0);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, 3, nullptr, 0), 3) << "size query";
}

TEST(CodePage, ShortOutputBufferFails) {
  WCHAR out[2] = {};
  EXPECT_EQ(MultiByteToWideChar(CP_1250, 0, "abc", 3, out, 2), 0);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

// Malformed UTF-8 becomes U+FFFD, or fails when asked to.
TEST(CodePage, MalformedUtf8FailsOnlyWhenAsked) {
  for (const char* text : {"\x8A\xED\xF8", "a\xC5", "\xC5z"}) {
    EXPECT_GT(MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0), 0) << text;
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0), 0) << text;
    EXPECT_EQ(GetLastError(), ERROR_NO_UNICODE_TRANSLATION);
  }
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "\xC5\xA0x", 3, nullptr, 0), 2) << "Šx";
}

TEST(CodePage, UndefinedBytesKeepTheirValue) {
  const char text[] = "\x81";
  WCHAR out[1] = {};
  ASSERT_EQ(MultiByteToWideChar(CP_1250, 0, text, 1, out, 1), 1);
  EXPECT_EQ(out[0], 0x81);
}

TEST(CodePage, WideToSingleByteMarksUnmappable) {
  const WCHAR text[] = u"\u017E\u4E2D";  // ž, then a character the page lacks
  char out[4] = {};
  BOOL usedDefault = FALSE;
  ASSERT_EQ(WideCharToMultiByte(CP_1250, 0, text, 2, out, 4, nullptr, &usedDefault), 2);
  EXPECT_EQ(static_cast<unsigned char>(out[0]), 0x9E);
  EXPECT_EQ(out[1], '?');
  EXPECT_TRUE(usedDefault);
}

TEST(CodePage, Utf8RoundTrip) {
  const std::string cp = "P\xF8\xEDklad \x8E";  // "Příklad Ž"
  const std::string utf8 = Cp1250ToUtf8(cp);
  EXPECT_EQ(utf8, "P\xC5\x99\xC3\xADklad \xC5\xBD");
  EXPECT_EQ(Utf8ToCp1250(utf8), cp);
  EXPECT_EQ(Utf8ToCp1250("\xE4\xB8\xAD"), "?");
  EXPECT_EQ(Utf8ToCp1250("a\xC5"), "a?") << "truncated sequence";
}

TEST(CodePage, Utf8ToWideWithSurrogates) {
  const char text[] = "\xF0\x9F\x98\x80";  // U+1F600
  WCHAR out[4] = {};
  ASSERT_EQ(MultiByteToWideChar(CP_UTF8, 0, text, 4, out, 4), 2);
  EXPECT_EQ(out[0], 0xD83D);
  EXPECT_EQ(out[1], 0xDE00);
  char back[8] = {};
  ASSERT_EQ(WideCharToMultiByte(CP_UTF8, 0, out, 2, back, 8, nullptr, nullptr), 4);
  EXPECT_EQ(std::string(back), text);
}

TEST(CodePage, CompareIgnoresCaseOfPageLetters) {
  EXPECT_EQ(_mbsicmp("DEFPOINTS", "Defpoints"), 0);
  EXPECT_EQ(_mbsicmp("\x8A\xC8\xD8", "\x9A\xE8\xF8"), 0);  // ŠČŘ / ščř
  EXPECT_EQ(_mbsicmp("\xD7", "\xF7"), -1) << "multiplication and division signs are not letters";
  EXPECT_LT(_mbsicmp("abc", "ABD"), 0);
  EXPECT_GT(_mbsicmp("abcd", "ABC"), 0);
  EXPECT_EQ(Cp1250ToLower(0xDF), 0xDF);
}
