#include "platform/mfc/CString.h"

#include <gtest/gtest.h>
#include <locale.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "platform/win32/code_page.h"

namespace fs = std::filesystem;

// Present when the tests run under the leak checker.
extern "C" void __lsan_disable() __attribute__((weak));
extern "C" void __lsan_enable() __attribute__((weak));

namespace {

// Code page 1250 text from UTF-8 source text.
CString Cp(const char* utf8) { return CString(Utf8ToCp1250(utf8).c_str()); }

// A locale whose decimal separator is ','. Few machines have one installed,
// so it is compiled for the test run when needed. Null when that fails.
locale_t CommaLocale() {
  static const locale_t locale = [] {
    if (locale_t l = newlocale(LC_ALL_MASK, "cs_CZ.UTF-8", static_cast<locale_t>(0))) return l;
    std::string dir = (fs::temp_directory_path() / "jov-locale-XXXXXX").string();
    if (!mkdtemp(dir.data())) return static_cast<locale_t>(0);
    const std::string command =
        "localedef -i cs_CZ -f UTF-8 '" + dir + "/cs_CZ.UTF-8' >/dev/null 2>&1";
    [[maybe_unused]] int status = std::system(command.c_str());  // warnings give status 1
    setenv("LOCPATH", dir.c_str(), 1);
    // The C library keeps a search path of its own when it loads from
    // LOCPATH, which the leak checker would report.
    if (__lsan_disable) __lsan_disable();
    locale_t l = newlocale(LC_ALL_MASK, "cs_CZ.UTF-8", static_cast<locale_t>(0));
    if (__lsan_enable) __lsan_enable();
    unsetenv("LOCPATH");
    std::error_code ignored;
    fs::remove_all(dir, ignored);  // the loaded locale stays mapped
    return l;
  }();
  return locale;
}

std::string PrintfInThreadLocale(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

TEST(CStringFormat, NumbersUseTheCLocaleWhateverTheThreadLocale) {
  const locale_t comma = CommaLocale();
  if (!comma) GTEST_SKIP() << "no locale with a decimal comma could be made";
  const locale_t previous = uselocale(comma);
  ASSERT_EQ(PrintfInThreadLocale(3.25), "3,25");  // the locale is in force

  CString s;
  s.Format("%.2f;%g;%.1f", 4.25, 0.5, -12.05);
  s.AppendFormat("|%.3f", 1.0 / 8);
  const std::string afterwards = PrintfInThreadLocale(3.25);
  uselocale(previous);

  EXPECT_STREQ(s, "4.25;0.5;-12.1|0.125");
  EXPECT_EQ(afterwards, "3,25") << "the caller's locale must come back";
}

TEST(CStringFormat, PrintfSemanticsAndSelfReference) {
  CString s;
  s.Format("%d;%d;%s;%s;", 3, 2, "0", "V2");
  EXPECT_STREQ(s, "3;2;0;V2;");
  s.Format("%05.1f|%-4s|%x|%c|%%", 3.14159, "ab", 255, 'Z');
  EXPECT_STREQ(s, "003.1|ab  |ff|Z|%");

  // The text itself as an argument: formatted before it is replaced.
  s = "ab";
  s.Format("%s-%s", s.GetString(), s.GetString());
  EXPECT_STREQ(s, "ab-ab");
  s.AppendFormat("%s", s.GetString());
  EXPECT_STREQ(s, "ab-abab-ab");

  // A result far longer than any first guess.
  s.Format("%s%0300d", "x", 7);
  EXPECT_EQ(s.GetLength(), 301);
  EXPECT_EQ(s.Right(2), "07");
}

TEST(CStringBuffer, LengthChangesOnlyOnRelease) {
  CString s("abc");
  char* p = s.GetBuffer(20);
  EXPECT_STREQ(p, "abc");  // the text is kept
  std::strcpy(p, "hello world");
  EXPECT_EQ(s.GetLength(), 3);  // not yet released
  s.ReleaseBuffer();
  EXPECT_EQ(s.GetLength(), 11);
  EXPECT_STREQ(s, "hello world");

  s.GetBuffer(0);
  s.ReleaseBuffer(5);  // an explicit length wins over the NUL
  EXPECT_STREQ(s, "hello");

  // Asking for less than the text keeps the whole text.
  p = s.GetBuffer(2);
  EXPECT_STREQ(p, "hello");
  s.ReleaseBuffer();
  EXPECT_STREQ(s, "hello");
}

TEST(CStringBuffer, ReleaseNeverReadsPastTheBuffer) {
  CString s;
  char* p = s.GetBuffer(100);
  std::memset(p, 'x', 101);  // the whole room, the NUL's place included
  s.ReleaseBuffer();         // bounded by the buffer: no over-read
  EXPECT_GE(s.GetLength(), 100);
  EXPECT_LE(s.GetLength(), 101);
  EXPECT_EQ(std::strlen(s), static_cast<size_t>(s.GetLength()));

  CString t("ab");
  t.GetBuffer(4);
  t.ReleaseBuffer(1000000);  // clipped to the buffer
  EXPECT_LT(t.GetLength(), 1000000);
  EXPECT_EQ(t.Left(2), "ab");
}

TEST(CStringBuffer, SetLengthFillsWithNulAndShortens) {
  CString s("abcdef");
  s.Truncate(2);
  char* p = s.GetBufferSetLength(4);  // the old "cd" must not come back
  EXPECT_EQ(s.GetLength(), 4);
  EXPECT_EQ(p[2], '\0');
  EXPECT_EQ(p[3], '\0');
  p[2] = 'X';
  s.ReleaseBuffer(3);
  EXPECT_STREQ(s, "abX");
  s.GetBufferSetLength(1);
  EXPECT_STREQ(s, "a");
  s.GetBufferSetLength(-5);
  EXPECT_TRUE(s.IsEmpty());
}

TEST(CStringCase, CzechLettersFoldBothWays) {
  const CString upper = Cp("PŘÍLIŠ ŽLUŤOUČKÝ KŮŇ ÚPĚL ĎÁBELSKÉ ÓDY");
  const CString lower = Cp("příliš žluťoučký kůň úpěl ďábelské ódy");
  EXPECT_EQ(upper.CompareNoCase(lower), 0);
  EXPECT_EQ(lower.CompareNoCase(upper), 0);
  EXPECT_NE(upper.Compare(lower), 0);

  CString s = lower;
  EXPECT_EQ(s.MakeUpper(), upper);
  EXPECT_EQ(s.MakeLower(), lower);

  // Polish and Slovak letters of the page, and signs that have no partner.
  CString t = Cp("łąśźżľ ŁĄŚŹŻĽ ß×µ");
  t.MakeUpper();
  EXPECT_EQ(t, Cp("ŁĄŚŹŻĽ ŁĄŚŹŻĽ ß×µ"));
  t.MakeLower();
  EXPECT_EQ(t, Cp("łąśźżľ łąśźżľ ß×µ"));
}

TEST(CStringCase, NoCaseOrderAndByteOrder) {
  EXPECT_LT(Cp("abc").CompareNoCase("ABD"), 0);
  EXPECT_GT(Cp("ABD").CompareNoCase("abc"), 0);
  EXPECT_LT(CString("ab").CompareNoCase("ABC"), 0);  // a prefix sorts first
  EXPECT_EQ(CString("").CompareNoCase(nullptr), 0);
  // Bytes compare unsigned: letters of the upper half sort after 'z'.
  EXPECT_GT(Cp("á").Compare("z"), 0);
  EXPECT_TRUE(CString("z") < Cp("á"));
  EXPECT_LT(CString("A").Compare("a"), 0);
}

TEST(CStringSearch, FindAndItsBounds) {
  const CString s("a;bc;d");
  EXPECT_EQ(s.Find(';'), 1);
  EXPECT_EQ(s.Find(';', 2), 4);
  EXPECT_EQ(s.Find(';', 5), -1);
  EXPECT_EQ(s.Find('a', 6), -1);  // a character needs start < length
  EXPECT_EQ(s.Find('a', -1), -1);
  EXPECT_EQ(s.Find("bc"), 2);
  EXPECT_EQ(s.Find("bc", 3), -1);
  EXPECT_EQ(s.Find("", 6), 6);  // a text may start at the length
  EXPECT_EQ(s.Find("d", 7), -1);
  EXPECT_EQ(s.Find(static_cast<const char*>(nullptr)), 0);
  EXPECT_EQ(s.ReverseFind(';'), 4);
  EXPECT_EQ(s.ReverseFind('x'), -1);
  EXPECT_EQ(s.FindOneOf("dc"), 3);
  EXPECT_EQ(s.FindOneOf(""), -1);
  EXPECT_EQ(CString().Find('a'), -1);
}

TEST(CStringSearch, MidLeftRightClipToTheText) {
  const CString s("#vetev;12");
  EXPECT_EQ(s.Mid(7), "12");
  EXPECT_EQ(s.Mid(9), "");
  EXPECT_EQ(s.Mid(20), "");
  EXPECT_EQ(s.Mid(-3, 2), "#v");
  EXPECT_EQ(s.Mid(2, 100), "etev;12");
  EXPECT_EQ(s.Mid(2, -1), "");
  EXPECT_EQ(s.Left(-1), "");
  EXPECT_EQ(s.Left(3), "#ve");
  EXPECT_EQ(s.Left(100), s);
  EXPECT_EQ(s.Right(2), "12");
  EXPECT_EQ(s.Right(100), s);
  EXPECT_EQ(s.Right(0), "");
  EXPECT_EQ(s.SpanIncluding("#etv"), "#vetev");
  EXPECT_EQ(s.SpanExcluding(";"), "#vetev");
  EXPECT_EQ(s.SpanExcluding(""), s);
  EXPECT_EQ(s.SpanIncluding("x"), "");
}

TEST(CStringSearch, TokenizeSkipsDelimitersAndEnds) {
  const CString s("  a,,b;c  ");
  int pos = 0;
  EXPECT_EQ(s.Tokenize(", ;", pos), "a");
  EXPECT_EQ(s.Tokenize(", ;", pos), "b");
  EXPECT_EQ(s.Tokenize(", ;", pos), "c");
  EXPECT_EQ(pos, 9);
  EXPECT_EQ(s.Tokenize(", ;", pos), "");
  EXPECT_EQ(pos, -1);
  EXPECT_EQ(s.Tokenize(", ;", pos), "");  // stays at the end
  EXPECT_EQ(pos, -1);

  // The last token reaching the end of the text.
  const CString t("x;y");
  pos = 0;
  EXPECT_EQ(t.Tokenize(";", pos), "x");
  EXPECT_EQ(t.Tokenize(";", pos), "y");
  EXPECT_EQ(pos, 4);
  EXPECT_EQ(t.Tokenize(";", pos), "");
  EXPECT_EQ(pos, -1);

  // Only delimiters, no delimiters, a start beyond the text.
  pos = 0;
  EXPECT_EQ(CString(";;;").Tokenize(";", pos), "");
  EXPECT_EQ(pos, -1);
  pos = 2;
  EXPECT_EQ(t.Tokenize("", pos), "y");
  EXPECT_EQ(t.Tokenize("", pos), "");
  EXPECT_EQ(pos, -1);
  pos = 10;
  EXPECT_EQ(t.Tokenize(";", pos), "");
  EXPECT_EQ(pos, -1);
}

TEST(CStringEdit, TrimForms) {
  CString s(" \t\r\n x y \v\f");
  EXPECT_EQ(s.Trim(), "x y");
  s = "xxabcxx";
  EXPECT_EQ(CString(s).TrimLeft('x'), "abcxx");
  EXPECT_EQ(CString(s).TrimRight('x'), "xxabc");
  EXPECT_EQ(CString("0012.500").TrimRight("0").TrimRight("."), "0012.5");
  EXPECT_EQ(CString("12.000").TrimRight('0').TrimRight('.'), "12");
  EXPECT_EQ(CString("  ").Trim(), "");
  EXPECT_EQ(CString("ab").Trim(static_cast<const char*>(nullptr)), "ab");
}

TEST(CStringEdit, ReplaceRemoveInsertDelete) {
  CString s("a;b;;c");
  EXPECT_EQ(s.Replace(";", "--"), 3);
  EXPECT_EQ(s, "a--b----c");
  EXPECT_EQ(s.Replace("--", ""), 3);
  EXPECT_EQ(s, "abc");
  EXPECT_EQ(s.Replace("", "x"), 0);
  EXPECT_EQ(s.Replace("zz", "x"), 0);
  EXPECT_EQ(s, "abc");

  CString t("aaaa");
  EXPECT_EQ(t.Replace("aa", "b"), 2);  // left to right, no overlap
  EXPECT_EQ(t, "bb");
  EXPECT_EQ(t.Replace('b', 'c'), 2);
  EXPECT_EQ(t.Replace('c', 'c'), 0);

  // Arguments taken from the text itself.
  CString u("abcabc");
  EXPECT_EQ(u.Replace(u.GetString() + 3, u.GetString() + 4), 2);
  EXPECT_EQ(u, "bcbc");

  CString v("a.b.c");
  EXPECT_EQ(v.Remove('.'), 2);
  EXPECT_EQ(v, "abc");
  EXPECT_EQ(v.Insert(1, "XY"), 5);
  EXPECT_EQ(v, "aXYbc");
  EXPECT_EQ(v.Insert(-4, '<'), 6);
  EXPECT_EQ(v.Insert(99, '>'), 7);
  EXPECT_EQ(v, "<aXYbc>");
  EXPECT_EQ(v.Insert(3, v.GetString()), 14);
  EXPECT_EQ(v, "<aX<aXYbc>Ybc>");
  EXPECT_EQ(v.Delete(3, 7), 7);
  EXPECT_EQ(v, "<aXYbc>");
  EXPECT_EQ(v.Delete(5, 100), 5);
  EXPECT_EQ(v, "<aXYb");
  EXPECT_EQ(v.Delete(-2), 4);
  EXPECT_EQ(v, "aXYb");
  EXPECT_EQ(v.Delete(10), 4);
  EXPECT_EQ(v.Delete(1, -1), 4);
  EXPECT_EQ(v.MakeReverse(), "bYXa");
}

TEST(CStringEdit, AppendingTheTextToItself) {
  CString s("abcdefghij");
  s += s;  // the buffer grows while it is being read
  EXPECT_EQ(s, "abcdefghijabcdefghij");
  s.Append(s.GetString() + 18);
  EXPECT_EQ(s, "abcdefghijabcdefghijij");
  s = s.GetString() + 20;  // assigning a piece of itself
  EXPECT_EQ(s, "ij");
  s = s;
  EXPECT_EQ(s, "ij");
}

TEST(CStringValue, ConstructionAndIndexes) {
  EXPECT_TRUE(CString(static_cast<const char*>(nullptr)).IsEmpty());
  EXPECT_EQ(CString('-', 3), "---");
  EXPECT_TRUE(CString('-', 0).IsEmpty());
  EXPECT_EQ(CString("abcdef", 2), "ab");
  EXPECT_EQ(CString(u"Žluť"), Cp("Žluť"));
  EXPECT_EQ(CString(u"\u4E2D"), "?");  // not in the page

  const CString nul("a\0b", 3);  // NUL bytes are part of the text
  EXPECT_EQ(nul.GetLength(), 3);
  EXPECT_EQ(nul.GetAt(2), 'b');
  EXPECT_NE(nul, CString("a"));

  CString s("ab");
  EXPECT_EQ(s[1], 'b');
  EXPECT_EQ(s.GetAt(2), '\0');  // the terminator may be read
  EXPECT_THROW(s.GetAt(3), std::out_of_range);
  EXPECT_THROW(s.GetAt(-1), std::out_of_range);
  EXPECT_THROW(s.SetAt(2, 'x'), std::out_of_range);
  s.SetAt(0, 'X');
  EXPECT_EQ(s, "Xb");

  s.Empty();
  EXPECT_TRUE(s.IsEmpty());
  EXPECT_STREQ(s.GetString(), "");

  CString moved(std::move(s = "text"));
  EXPECT_EQ(moved, "text");
}

TEST(CStringValue, ConcatenationAndComparison) {
  const CString a("P"), b("Z");
  EXPECT_EQ(a + b, "PZ");
  EXPECT_EQ(a + ";", "P;");
  EXPECT_EQ("#vetev;" + b, "#vetev;Z");
  EXPECT_EQ(a + 'x', "Px");
  EXPECT_EQ('x' + a, "xP");
  EXPECT_TRUE(a < b);
  EXPECT_TRUE(b > "A");
  EXPECT_TRUE("P" <= a);
  EXPECT_TRUE(a >= "P");
  EXPECT_TRUE(a != "p");
  EXPECT_TRUE("P" == a);
  EXPECT_FALSE(a == static_cast<const char*>(nullptr));
  EXPECT_TRUE(CString() == static_cast<const char*>(nullptr));
}

}  // namespace
