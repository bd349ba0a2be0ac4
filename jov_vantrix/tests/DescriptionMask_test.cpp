#include "jov_vantrix/network/DescriptionMask.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/JovCutParams.h"
#include "jov_vantrix/tests/NetworkFixtures.h"

namespace {

// The masks the import and the section dialogs use when the settings have
// none of their own.
const char* kMaskWithoutProduct = "-&CM-\\&TY\\&L/&V\\&VE &SR";
const char* kMaskWithProduct = "-&CM-\\#T\\&VE &SR";
const char* kMaskScheme = "-&CM-\\#R3\\&VE &SR";

class DescriptionMaskTest : public ::testing::Test {
 protected:
  DescriptionMaskTest() {
    params_.m_maskWithoutProduct = kMaskWithoutProduct;
    params_.m_maskWithProduct = kMaskWithProduct;
    params_.m_maskScheme = kMaskScheme;
  }

  void Set(const char* key, const char* value) { record_.m_jovData.Properties().SetValue(key, value); }

  std::vector<std::string> Expand() {
    CStringArray lines;
    ExpandDescriptionMask(record_, params_, lines);
    std::vector<std::string> out;
    for (INT_PTR i = 0; i < lines.GetSize(); ++i) out.emplace_back(lines[i].GetString());
    return out;
  }
  std::vector<std::string> ExpandMask(const char* mask) {
    params_.m_maskWithoutProduct = mask;
    return Expand();
  }

  JovCutParams params_;
  CObjDataNew record_{kEntityInsert, kObjectNetworkInsert, nullptr, 0};
};

using Lines = std::vector<std::string>;

}  // namespace

TEST_F(DescriptionMaskTest, RadiatorWithoutCatalogueProduct) {
  Set("CM", "3");
  Set("TY", "R");
  Set("L", "1.5");
  Set("V", "0.2");
  Set("VE", "15");
  Set("SR", "20");
  EXPECT_EQ(Expand(), (Lines{"-3-", "R", "1.5/0.2", "15 20"}));
}

TEST_F(DescriptionMaskTest, AMissingPropertyEmptiesItsLineAway) {
  Set("CM", "3");
  Set("L", "1.5");
  Set("V", "0.2");
  Set("VE", "15");
  Set("SR", "20");
  EXPECT_EQ(Expand(), (Lines{"-3-", "1.5/0.2", "15 20"}));
}

TEST_F(DescriptionMaskTest, CatalogueProductAsPlacedByTheWizard) {
  // An insert's extended data as the product library writes it.
  TestChain chain;
  chain.Text(0, "INSERT").Text(1001, "JOV_DATA").Text(1000, "TOT0600i0001");
  chain.Text(1000, "_TYPE").Text(1000, "1048705");
  chain.Text(1000, "_QPROD").Text(1000, "Deskové otopné těleso 22");
  chain.Text(1000, "_QTYPE").Text(1000, "Typ 22 600/1000");
  chain.Text(1000, "CM").Text(1000, "12").Text(1000, "VE").Text(1000, "15");
  chain.Text(1000, "SR").Text(1000, "1362").Text(1000, "TY").Text(1000, "R");
  ASSERT_TRUE(record_.m_jovData.ReadXData(chain.Head()));
  EXPECT_EQ(Expand(), (Lines{"-12-", "Typ 22 600/1000", "15 1362"}));
}

TEST_F(DescriptionMaskTest, EvenAnEmptyProductDesignationChoosesTheProductMask) {
  Set("_QPROD", "");
  Set("CM", "3");
  Set("TY", "R");
  EXPECT_EQ(Expand(), (Lines{"-3-", " "}));
}

TEST_F(DescriptionMaskTest, SchemeMaskTakesTheImportedField) {
  Set("CM", "7");
  Set("VE", "10");
  Set("SR", "15");
  record_.m_jovData.VantrixRecords().SetRecordField(3, "42");
  EXPECT_EQ(Expand(), (Lines{"-7-", "42", "10 15"}));
  record_.m_jovData.VantrixRecords().RemoveAll();
  EXPECT_EQ(Expand(), (Lines{"-7-", "/", "10 15"})) << "without a record: the mask without product";
}

TEST_F(DescriptionMaskTest, HashElements) {
  Set("_QPROD", "P1");
  Set("_GROUP", "G1");
  Set("_QTYPE", "T1");
  Set("_MEASUREMENT", "M1");
  params_.m_maskWithProduct = "#P,#G,#T,#M,#X,##P\\a#\\b#";
  EXPECT_EQ(Expand(), (Lines{"P1,G1,T1,M1,X,P1", "a", "b"}));
  params_.m_maskWithProduct = "x#R3y";
  EXPECT_EQ(Expand(), Lines{"xy"}) << "no record, nothing";
  record_.m_jovData.VantrixRecords().SetRecordField(0, "zero");
  record_.m_jovData.VantrixRecords().SetRecordField(11, "eleven");
  params_.m_maskWithProduct = "#R|#R11|#R12|#R99999999999999|#R007";
  EXPECT_EQ(Expand(), Lines{"zero|eleven|||"}) << "#R alone is field 0; fields past 11 give nothing";
}

TEST_F(DescriptionMaskTest, KeysAreTheLongestRunOfLetters) {
  Set("L", "2");
  Set("LV", "wrong");
  Set("V", "3");
  Set("D1", "no");
  EXPECT_EQ(ExpandMask("&L/&V"), Lines{"2/3"});
  EXPECT_EQ(ExpandMask("&L1"), Lines{"21"}) << "a digit ends the key";
  EXPECT_EQ(ExpandMask("&LV"), Lines{"wrong"});
  EXPECT_EQ(ExpandMask("a&1b&"), Lines{"a1b"}) << "an ampersand without letters gives nothing";
  EXPECT_EQ(ExpandMask("&l"), Lines{}) << "case-sensitive";
}

TEST_F(DescriptionMaskTest, EmptyLinesAreNotOutput) {
  EXPECT_EQ(ExpandMask("\\"), Lines{});
  EXPECT_EQ(ExpandMask(""), Lines{});
  EXPECT_EQ(ExpandMask("a\\\\b\\"), (Lines{"a", "b"}));
  EXPECT_EQ(ExpandMask("&XX\\c"), Lines{"c"});
}

TEST_F(DescriptionMaskTest, OnlyPriceLosesAZeroFraction) {
  for (auto [value, shown] : {std::pair{"25.00", "25"}, {"25.", "25"}, {"25.50", "25.50"},
                              {"25", "25"}, {"1.0.0", "1.0.0"}, {"3.000", "3"}}) {
    Set("PR", value);
    EXPECT_EQ(ExpandMask("&PR"), Lines{shown}) << value;
  }
  Set("L", "25.00");
  EXPECT_EQ(ExpandMask("&L"), Lines{"25.00"});
  Set("PR", ".00");
  EXPECT_EQ(ExpandMask("&PR"), Lines{}) << "nothing is left";
}

TEST_F(DescriptionMaskTest, LinesAreAppendedAndKeptWhole) {
  const std::string longValue(1500, 'v');
  Set("L", longValue.c_str());
  params_.m_maskWithoutProduct = (std::string(300, '-') + "&L").c_str();
  CStringArray lines;
  lines.Add("earlier");
  ExpandDescriptionMask(record_, params_, lines);
  ASSERT_EQ(lines.GetSize(), 2);
  EXPECT_STREQ(lines[0], "earlier");
  EXPECT_EQ(std::string(lines[1].GetString()), std::string(300, '-') + longValue);
}
