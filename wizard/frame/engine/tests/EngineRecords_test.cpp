// The engine's records and the look-ups and choice fills over them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/catalogue/Database.h"
#include "platform/mfc/CComboBox.h"
#include "platform/mfc/CListBox.h"
#include "platform/mfc/tests/control_texts.h"
#include "wizard/frame/engine/CObjectData.h"
#include "wizard/frame/engine/CPropData.h"
#include "wizard/frame/engine/CTypeParam.h"
#include "wizard/frame/engine/ChoiceFills.h"
#include "wizard/frame/engine/ParamStatus.h"
#include "wizard/frame/engine/RecordLookups.h"
#include "wizard/frame/engine/tests/EngineFixture.h"

using engine_test::AddParam;

TEST(ValueRange, AllowedValuesOrLimitsCappedByTheThirdLimit) {
  struct Case {
    const char* allowed;
    bool capped;
    double minimum, maximum;
  };
  const Case cases[] = {
      {"10|40|25", false, 10, 40}, {"10|40|25|", false, 10, 40}, {nullptr, false, 5, 50}, {"", false, 5, 50},
      {"10|40|25", true, 10, 30},  {"", true, 5, 30},            {"7", false, 7, 7},      {"20|25", true, 20, 25},
  };
  for (const Case& c : cases) {
    CValueParam p;
    p.lowLimit = 5;
    p.highLimit = 50;
    p.thirdLimit = 30;
    p.flags = c.capped ? ParamFlag::kCappedByThird : 0;
    double lo = -1, hi = -1;
    EXPECT_TRUE(p.GetRange(c.allowed, lo, hi));
    EXPECT_EQ(lo, c.minimum) << (c.allowed ? c.allowed : "null") << " capped " << c.capped;
    EXPECT_EQ(hi, c.maximum) << (c.allowed ? c.allowed : "null") << " capped " << c.capped;
  }
}

TEST(ValueRange, FreeTypesTakeAnyValueOthersTheirLimits) {
  struct Case {
    uint32_t status;
    uint32_t flags;
    double value;
    bool valid;
  };
  const Case cases[] = {{0, 0, 5, false},  {0, 0, 10, true},   {0, 0, 40, true},       {0, 0, 40.01, false},
                        {4, 0, 5, true},   {8, 0, -1e9, true}, {16, 0, 5, false},      {0, 2, 35, false},
                        {0, 2, 30, true},  {4, 2, 99, true}};
  for (const Case& c : cases) {
    CValueParam p;
    p.status = c.status;
    p.flags = c.flags;
    p.lowLimit = 10;
    p.highLimit = 40;
    p.thirdLimit = 30;
    EXPECT_EQ(p.IsValueValid(c.value), c.valid) << "status " << c.status << " flags " << c.flags << " " << c.value;
    jovDatabase::TParTypeStruct record{"t", 10, 40, 1, 2, c.status};
    if (c.flags == 0) {
      EXPECT_EQ(CTypeParam(record).IsValueValid(c.value), c.valid) << c.status << " " << c.value;
    }
  }
}

TEST(RecordTexts, SlotsOutsideTheirArraysAreRefused) {
  CPropData prop;
  EXPECT_EQ(prop.attributes, nullptr);
  EXPECT_TRUE(prop.SetText(5, "v"));
  EXPECT_FALSE(prop.SetText(6, "x"));
  EXPECT_EQ(prop.GetText(-1), nullptr);
  const jovDatabase::TNameStruct record{"Typ", "pozn\xE1mka", {7, 31, 2}};
  CPropData named(record);
  ASSERT_NE(named.attributes, nullptr);
  EXPECT_EQ(named.attributes->value[1], 31u);
  EXPECT_EQ(named.attributes->word[0], 0u);
  EXPECT_STREQ(named.GetText(PropText::kName), "Typ");
  EXPECT_STREQ(named.GetText(PropText::kValue), "pozn\xE1mka");
  EXPECT_NE(CPropData(true).attributes, nullptr);
  CObjectData point;
  EXPECT_FALSE(point.SetText(3, "x"));
  EXPECT_TRUE(point.SetText(2, "L"));
  EXPECT_EQ(point.GetText(3), nullptr);
}

TEST(FormulaLines, LinesKeepTheirPointsWhateverTheLineEnds) {
  // Written lines read back; a missing formula leaves an empty field.
  CObjectData a, b, c;
  a.SetText(0, "L/2");
  a.SetText(1, "H");
  a.SetText(2, "0.00");
  b.SetText(0, "1");
  b.SetText(2, "3");  // y missing
  c.SetText(0, "x");
  c.SetText(1, "y");
  c.SetText(2, "z");
  std::string text;
  EXPECT_TRUE(a.AppendFormulaLine(text));
  EXPECT_FALSE(b.AppendFormulaLine(text));
  EXPECT_TRUE(c.AppendFormulaLine(text));
  EXPECT_EQ(text, "L/2|H|0.00\r\n1||3\r\nx|y|z\r\n");

  struct Case {
    const char* text;
    std::vector<std::vector<std::string>> lines;
  };
  const Case cases[] = {
      {"L/2|H|0.00\r\n1||3\r\nx|y|z\r\n", {{"L/2", "H", "0.00"}, {"1", "", "3"}, {"x", "y", "z"}}},
      {"a|b|c\nd|e|f\n", {{"a", "b", "c"}, {"d", "e", "f"}}},
      {"a|b|c\rd|e|f", {{"a", "b", "c"}, {"d", "e", "f"}}},
      {"a|b\r\nd|e|f\r\n", {{"a", "b", ""}, {"d", "e", "f"}}},        // a short line
      {"a|b|c|extra\r\nd|e|f\r\n", {{"a", "b", "c"}, {"d", "e", "f"}}},  // a field too many
      {"\r\nd|e|f", {{"", "", ""}, {"d", "e", "f"}}},
  };
  for (const Case& k : cases) {
    const std::string t = k.text;
    size_t at = 0;
    for (const auto& line : k.lines) {
      CObjectData o;
      EXPECT_TRUE(o.ReadFormulaLine(t, at, t.size()));
      for (int i = 0; i < 3; ++i) EXPECT_STREQ(o.GetText(i), line[i].c_str()) << k.text << " field " << i;
    }
    EXPECT_EQ(at, t.size()) << k.text;
    CObjectData after;
    after.SetText(0, "kept");
    after.ReadFormulaLine(t, at, t.size());
    EXPECT_STREQ(after.GetText(0), "kept") << "nothing is read past the end";
  }
}

TEST(Lookups, ParametersPointsTypesAndNameRecords) {
  CObjectSez params;
  AddParam(params, {"L", "1000", "500", ParamStatus::kComputed});
  CValueParam* dn = AddParam(params, {"DN", "", "15", 0, 0, 0, "Dimenze"});
  CValueParam* free = AddParam(params, {"CT", "abcdef", nullptr, ParamStatus::kFree, 0, 0, "Typ"});
  AddParam(params, {"CT", "second", nullptr, ParamStatus::kFree, 0, 0, "Typ"});
  EXPECT_EQ(FindParamByName(params, "DN"), dn);
  EXPECT_EQ(FindParamByName(params, "dn"), nullptr) << "names are case-sensitive";
  EXPECT_EQ(FindParamByName(params, "CT"), free) << "the first of two";
  CValueParam unnamed;
  EXPECT_FALSE(ContainsParamName(params, &unnamed));
  EXPECT_FALSE(ContainsParamName(params, nullptr));
  EXPECT_TRUE(ContainsParamName(params, dn));
  EXPECT_TRUE(HasUserParams(params));
  CValueParam* found = nullptr;
  EXPECT_TRUE(FindFreeParamByLabel(params, "Typ", found));
  EXPECT_EQ(found, free);
  EXPECT_FALSE(FindFreeParamByLabel(params, "Dimenze", found)) << "DN is not free";

  char buffer[4] = "xyz";
  EXPECT_TRUE(GetParamValueText(params, "DN", buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "15") << "an empty value gives the default";
  EXPECT_TRUE(GetParamValueText(params, "CT", buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "abc") << "cut to the buffer";
  EXPECT_FALSE(GetParamValueText(params, "X", buffer, sizeof buffer));
  EXPECT_FALSE(GetParamValueText(params, "DN", nullptr, 4));

  CObjectSez computedOnly;
  AddParam(computedOnly, {"P", "1", nullptr, ParamStatus::kReported});
  EXPECT_FALSE(HasUserParams(computedOnly));

  CObjectSez points;
  auto* near = new CObjectData;
  near->point = GLVector(10, 20, 30);
  near->number = 7;
  points.AddTail(near);
  auto* base = new CObjectData;
  base->number = 3;
  base->flags = PointFlag::kBasePoint | PointFlag::kCentre;
  points.AddTail(base);
  CObjectData* at = nullptr;
  EXPECT_TRUE(FindObjectAtPoint(points, GLVector(10.004, 19.996, 30.004), at));
  EXPECT_EQ(at, near);
  at = nullptr;
  EXPECT_FALSE(FindObjectAtPoint(points, GLVector(10, 20.012, 30), at));
  EXPECT_EQ(at, nullptr);
  EXPECT_EQ(GetBasePointNumber(points), 3);
  EXPECT_EQ(FindObjectByNumber(points, 7), near);
  base->flags = 0;
  EXPECT_EQ(GetBasePointNumber(points), -1);

  CObjectSez types;
  types.AddTail(new CTypeParam({"a", 0, 1, 4, 0, ParamStatus::kComputed}));
  types.AddTail(new CTypeParam({"b", 0, 1, 9, 0, ParamStatus::kRecalculated | ParamStatus::kFree}));
  types.AddTail(new CTypeParam({"c", 0, 1, 11, 0, ParamStatus::kRecalculated}));
  EXPECT_EQ(GetFirstFlaggedTypeId(types), 9u);
  EXPECT_EQ(FindTypeParamById(types, 11)->status, ParamStatus::kRecalculated);
  EXPECT_EQ(FindTypeParamById(types, 12), nullptr);
  CObjectSez noFlagged;
  EXPECT_EQ(GetFirstFlaggedTypeId(noFlagged), 0u);

  CObjectSez records;
  auto record = [&](const char* name, const char* second, const char* group, uint32_t entry) {
    auto* r = new CPropData(jovDatabase::TNameStruct{name, "", {0, 0, entry}});
    r->SetText(PropText::kSecond, second);
    r->SetText(PropText::kGroup1, group);
    records.AddTail(r);
    return r;
  };
  CPropData* plain = record("Typ 11", "", "Deskov\xE9", 2);
  CPropData* sized = record("Typ 22", "600/1000", "Deskov\xE9", 5);
  records.AddTail(new CPropData);  // without attributes
  EXPECT_EQ(FindPropDataByAttribute(records, 5), sized);
  EXPECT_EQ(FindPropDataByAttribute(records, 0), nullptr);
  EXPECT_EQ(FindPropDataByGroups(records, "Deskov\xE9", "600/1000"), sized);
  EXPECT_EQ(FindPropDataByGroups(records, "Deskov\xE9", ""), nullptr) << "an empty second text never matches";
  EXPECT_EQ(FindPropDataByName(records, "Typ 11"), plain);
}

using ChoiceFillsTest = engine_test::EngineTest;

TEST_F(ChoiceFillsTest, AllowedValuesGroupsAndNamesFillTheirBoxes) {
  CWnd* owner = CWnd::FromHandle(TopLevel());
  CListBox box;
  ASSERT_TRUE(box.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 100), owner, 1));
  CValueParam length;
  length.SetText(ParamText::kAllowed, "400||600|1000|");
  length.status = ParamStatus::kRecalculated;
  auto texts = [&]() {
    std::vector<std::string> out = ItemTexts(box);
    box.ResetContent();
    return out;
  };
  SetLengthDisplayMode(1000);
  FillValueListBox(&box, &length);
  EXPECT_EQ(texts(), (std::vector<std::string>{"400", "600", "1000"}));
  SetLengthDisplayMode(1);
  FillValueListBox(&box, &length);
  EXPECT_EQ(texts(), (std::vector<std::string>{"0.4000", "0.6000", "1.0000"})) << "lengths in metres";
  for (uint32_t status : {0u, ParamStatus::kFree, ParamStatus::kFreeAlso, ParamStatus::kFormula}) {
    length.status = status;
    FillValueListBox(&box, &length);
    EXPECT_EQ(texts(), (std::vector<std::string>{"400", "600", "1000"})) << "status " << status;
  }

  CObjectSez records;
  const char* rows[][5] = {{"Typ 11", "600/400", "Deskov\xE9", "Bo\xE8n\xED"},
                           {"Typ 22", "600/400", "Deskov\xE9", "Bo\xE8n\xED"},
                           {"Typ 22", "600/800", "Deskov\xE9", "Bo\xE8n\xED"},
                           {"Typ 33", "", "Deskov\xE9", "Spodn\xED"},
                           {"Ty\xE8ov\xE9", "1800/500", "Trubkov\xE9", "Bo\xE8n\xED"}};
  for (const auto& row : rows) {
    auto* r = new CPropData;
    r->SetText(PropText::kName, row[0]);
    r->SetText(PropText::kSecond, row[1]);
    r->SetText(PropText::kGroup1, row[2]);
    r->SetText(PropText::kGroup2, row[3]);
    records.AddTail(r);
  }
  CComboBox first, second;
  ASSERT_TRUE(first.Create(WS_CHILD | CBS_DROPDOWNLIST, CRect(0, 0, 100, 200), owner, 2));
  ASSERT_TRUE(second.Create(WS_CHILD | CBS_DROPDOWNLIST, CRect(0, 0, 100, 200), owner, 3));
  FillGroupCombos(records, &first, &second);
  EXPECT_EQ(ItemTexts(first), (std::vector<std::string>{"Deskov\xE9", "Trubkov\xE9"}));
  EXPECT_EQ(ItemTexts(second), (std::vector<std::string>{"Bo\xE8n\xED", "Spodn\xED"}));
  FillCombosByGroups(records, &first, &second, "Deskov\xE9", "Bo\xE8n\xED");
  EXPECT_EQ(ItemTexts(first), (std::vector<std::string>{"Typ 11", "Typ 22"}));
  EXPECT_EQ(ItemTexts(second), (std::vector<std::string>{"600/400", "600/800"}));
  EXPECT_EQ(first.GetItemDataPtr(1), records.GetAt(1)) << "the first record of a name";
  EXPECT_EQ(second.GetItemDataPtr(1), records.GetAt(2));
  FillCombosByGroups(records, &first, &second, "Deskov\xE9", "Spodn\xED");
  EXPECT_EQ(ItemTexts(first), (std::vector<std::string>{"Typ 33"}));
  EXPECT_EQ(ItemTexts(second), std::vector<std::string>{}) << "an empty second text is not offered";
}
