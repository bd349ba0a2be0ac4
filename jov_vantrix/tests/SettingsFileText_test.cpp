// Settings files saved as UTF-8 are told from code page 1250 text, and the
// products of messages are named by designation, code and branch.
#include "jov_vantrix/section/SettingsFileText.h"

#include <gtest/gtest.h>

#include <string>

#include "jov_vantrix/network/CJovData.h"
#include "jov_vantrix/section/ProductNames.h"

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

TEST(SettingsFileText, ProductsAreNamedByDesignationCodeAndBranch) {
  CJovData data;
  data.m_typeCode = "TOT0600i0001";
  EXPECT_EQ(std::string(ProductName(data, "3")), "(TOT0600i0001, branch 3)");
  data.m_properties.SetValue("TY", "radiator");
  EXPECT_EQ(std::string(ProductName(data, "")), "radiator (TOT0600i0001, branch ?)");
  data.m_properties.SetValue("_QPROD", "VK 22 600x1000");
  data.m_typeCode.Empty();
  EXPECT_EQ(std::string(ProductName(data, "A")), "VK 22 600x1000 (?, branch A)");
  CStringArray names;
  names.Add("a");
  names.Add("b");
  EXPECT_EQ(std::string(LeftOutText(names)), "2: a, b");
}
