// Settings files saved as UTF-8 are told from code page 1250 text.
#include "jov_vantrix/section/SettingsFileText.h"

#include <gtest/gtest.h>

#include <string>

TEST(SettingsFileText, Utf8IsToldFromCodePage1250) {
  struct Case {
    std::string bytes;
    bool utf8;
  } const cases[] = {
      {"\xEF\xBB\xBF[CUT_DLG]\r\n", true},                 // a byte-order mark
      {"\xEF\xBB\xBF", true},                               // nothing but the mark
      {"[DESC]\r\nLAYER=Popis \xC5\xA1\xC3\xAD\xC5\x99\r\n", true},  // "šíř" in UTF-8
      {"[DESC]\r\nLAYER=Popis \x9A\xED\xF8\r\n", false},     // "šíř" in code page 1250
      {"[DESC]\r\nLAYER=DESC\r\n", false},                  // plain ASCII reads the same either way
      {"", false},
      {"LAYER=\xC5", false},                                // a lead byte without its tail
  };
  for (const Case& c : cases) EXPECT_EQ(IsUtf8Text(c.bytes.data(), c.bytes.size()), c.utf8) << c.bytes;
}
