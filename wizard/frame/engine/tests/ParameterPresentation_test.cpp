// Parameters as the dialogs show and keep them: list rows, the report, the
// last values, the caller's data and the value rules.
#include "wizard/frame/engine/ParameterPresentation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/CVantrixData.h"
#include "platform/win32/profile.h"
#include "wizard/frame/engine/CListItemData.h"
#include "wizard/frame/engine/ChoiceFills.h"
#include "dataformat/KorpalinData.h"
#include "wizard/frame/engine/LastValues.h"
#include "wizard/frame/engine/ParamStatus.h"
#include "wizard/frame/engine/ParameterList.h"
#include "wizard/frame/engine/RecordLookups.h"
#include "wizard/frame/engine/ValueRules.h"
#include "wizard/frame/engine/tests/EngineFixture.h"

using engine_test::AddParam;
using engine_test::Value;

namespace {

const char* const kCatalogue =
    "[catalogue]\ntrade = V\n"
    "[partypes]\n1 | Rozm\xECr | 16 | 100 | 2000\n2 | Polom\xECr | 16 | 0 | 1000\n"
    "[item]\nid = VPH0200-0001\ntitle = Oblouk\nparams <<\nA|Rozm\xECr|1|200|200|\nr|Polom\xECr|2|100|100|\n>>\n"
    "[item]\nid = VKH0200-0001\ntitle = Kus\nparams <<\nA|Rozm\xECr|1|200|200|\nr|Polom\xECr|2|100|100|\n>>\n";

class Presentation : public engine_test::EngineTest {
 protected:
  void WriteSetting(const char* key, const char* value) {
    ASSERT_TRUE(WritePrivateProfileStringA("DESC", key, value, MakeProfilePath("Dat\\Jov.ini").c_str()));
  }
  // The user parameters of a product: L, V (both lengths), the free CT, and
  // the computed P that is never stored.
  void Product(CSeznam& params) {
    AddParam(params, {"L", "1000", "1000", 0, 10, 6000});
    AddParam(params, {"P", nullptr, "L*2", ParamStatus::kReported});
    AddParam(params, {"V", "600", "600", 0, 200, 2000});
    AddParam(params, {"CT", "22", nullptr, ParamStatus::kFree});
  }
};

}  // namespace

TEST_F(Presentation, BendRadiusBySize) {
  const std::pair<const char*, const char*> sizes[] = {{"279", "100.00"}, {"280", "150.00"},  {"500", "150.00"},
                                                       {"710", "150.00"}, {"711", "100.00"},  {"800", "200.00"},
                                                       {"1150", "200.00"}, {"1200", "100.00"}, {"1250", "300.00"},
                                                       {nullptr, "100.00"}};
  CObjectSez params;
  AddParam(params, {"r", "1", nullptr, 0});  // no status bit 4: not the one
  CValueParam* radius = AddParam(params, {"r", "1", nullptr, ParamStatus::kRecalculated});
  for (const auto& [size, expected] : sizes) {
    ApplyBendRadiusDefault(params, nullptr, size, 1000);
    EXPECT_EQ(Value(radius), expected) << (size ? size : "no size");
  }
  EXPECT_EQ(Value(FirstOf<CValueParam>(params)), "1");
  WriteSetting("RADIUS100", "300");
  ApplyBendRadiusDefault(params, nullptr, "290", 1000);
  EXPECT_EQ(Value(radius), "100.00") << "the keys of Jov.ini hold";
  CListCtrl& list = View();
  list.InsertItem(LVIF_TEXT | LVIF_PARAM, 0, "r", 0, 0, 0, reinterpret_cast<LPARAM>(new CListItemData(0, 0, 0, radius)));
  ApplyBendRadiusDefault(params, &list, "800", 1);
  EXPECT_EQ(Cell(0, 1), "0.2000") << "metres";
  delete reinterpret_cast<CListItemData*>(list.GetItemData(0));
}

TEST_F(Presentation, TheBendOfAVphProductTakesItsRadiusFromItsSize) {
  UseCatalogue(kCatalogue, 'V');
  for (const char* id : {"VPH0200-0001", "VKH0200-0001"}) {
    Go(id);
    CObjectSez params;
    ASSERT_TRUE(LoadProductParameters(params));
    ASSERT_TRUE(AssignValuesByName(params, {"A"}, {"500"}));
    RecalculateParameters(params, nullptr, 1000, true);
    EXPECT_EQ(Value(FindParamByName(params, "r")), id[1] == 'P' ? "150.00" : "100") << id;
    RecalculateParameters(params, nullptr, 1000, false);
  }
}

TEST_F(Presentation, RadiiFollowAPipesDiameter) {
  struct Case {
    const char* code;
    const char* changed;
    const char* factor;
    const char* radius;
  };
  const Case cases[] = {{"VPK0040-0001", "d", nullptr, "60.00"}, {"TPT0020-0001", "d", nullptr, "60.00"},
                        {"ZVPS040-0001", "d", "2", "80.00"},    {"TPP0015-0001", "d", nullptr, "5"},
                        {"VPK0040-0001", "L", nullptr, "5"},    {"VPK0040-0001", "D", nullptr, "5"}};
  for (const Case& c : cases) {
    if (c.factor) WriteSetting("ZLEVEL_RADIUS", c.factor);
    CObjectSez params;
    AddParam(params, {"d", "40", nullptr});
    CValueParam* r = AddParam(params, {"r", "5", nullptr});
    CValueParam* r1 = AddParam(params, {"r1", "5", nullptr});
    CValueParam* rr2 = AddParam(params, {"rr2", "5", nullptr});
    ApplyZLevelRadius(params, c.code, c.changed);
    EXPECT_EQ(Value(r), c.radius) << c.code << " " << c.changed;
    EXPECT_EQ(Value(r1), c.radius) << c.code << " " << c.changed;
    EXPECT_EQ(Value(rr2), "5");
  }
}

TEST_F(Presentation, LastValuesRoundTripUnderTheIndexId) {
  UseSample('T');
  Go("TOR0600-0001");
  CObjectSez params;
  Product(params);
  EXPECT_TRUE(StoreLastValues(params));
  EXPECT_TRUE(std::filesystem::exists(folder.File("Dat/PP_LastT.dat")));
  for (CValueParam* p = FirstOf<CValueParam>(params); p; p = NextOf(p)) p->SetText(ParamText::kValue, "0");
  ASSERT_TRUE(LoadLastValues(params));
  EXPECT_EQ(Value(FindParamByName(params, "L")), "1000");
  EXPECT_EQ(Value(FindParamByName(params, "V")), "600");
  EXPECT_EQ(Value(FindParamByName(params, "CT")), "22");
  EXPECT_EQ(Value(FindParamByName(params, "P")), "0") << "computed values are not kept";

  // Another product of the trade: its own record in the same file.
  Go("TPT0020-0001");
  CObjectSez other;
  AddParam(other, {"L", "", nullptr});
  EXPECT_TRUE(LoadLastValues(other)) << "no record: nothing to take";
  EXPECT_EQ(Value(FirstOf<CValueParam>(other)), "");

  // A value far longer than a fixed buffer comes back whole.
  Go("TOR0600-0001");
  const std::string longText(3000, 'x');
  FindParamByName(params, "CT")->SetText(ParamText::kValue, longText.c_str());
  ASSERT_TRUE(StoreLastValues(params));
  FindParamByName(params, "CT")->SetText(ParamText::kValue, "");
  ASSERT_TRUE(LoadLastValues(params));
  EXPECT_EQ(Value(FindParamByName(params, "CT")), longText);

  SetLastValuesExtension(".prj");
  EXPECT_TRUE(StoreLastValues(params));
  EXPECT_TRUE(std::filesystem::exists(folder.File("Dat/PP_LastT.prj")));
  CObjectSez empty;
  EXPECT_TRUE(LoadLastValues(empty));
  SetCurrentCatalogue(nullptr);
  EXPECT_FALSE(LoadLastValues(params)) << "no index id";
  EXPECT_TRUE(StoreLastValues(params)) << "nothing to keep is no failure";
}

TEST_F(Presentation, AMismatchedNameStopsTheLoadButNotTheCallersData) {
  UseSample('T');
  Go("TOR0600-0001");
  CObjectSez stored;
  Product(stored);
  ASSERT_TRUE(StoreLastValues(stored));
  SetCallerTexts("#L", "1500", "1");
  CObjectSez renamed;
  AddParam(renamed, {"L", "1", nullptr});
  AddParam(renamed, {"H", "2", nullptr});
  AddParam(renamed, {"CT", "3", nullptr, ParamStatus::kFree});
  EXPECT_FALSE(LoadLastValues(renamed));
  EXPECT_EQ(Value(FindParamByName(renamed, "H")), "2");
  EXPECT_EQ(Value(FindParamByName(renamed, "L")), "1500") << "the caller's value after the first stored one";
  EXPECT_EQ(FirstOf<CValueParam>(renamed)->flags, ParamFlag::kGivenByCaller);
  ASSERT_TRUE(LoadLastValues(stored));
  EXPECT_EQ(Value(FindParamByName(stored, "L")), "1500") << "the caller's value after the stored ones";
}

TEST_F(Presentation, TheCallersTextsSetFlagsLimitsAndValues) {
  CObjectSez params;
  Product(params);
  SetCallerTexts("#L/#V/#X/#CT", "1500/700/1/A'/'B", "1/0/1/4");
  ApplyCallerData(params);
  const CValueParam* l = FindParamByName(params, "L");
  const CValueParam* v = FindParamByName(params, "V");
  const CValueParam* ct = FindParamByName(params, "CT");
  EXPECT_EQ(l->flags, ParamFlag::kGivenByCaller);
  EXPECT_EQ(l->thirdLimit, 1500);
  EXPECT_EQ(Value(l), "1500");
  EXPECT_EQ(v->flags, 0u);
  EXPECT_EQ(v->thirdLimit, 700);
  EXPECT_EQ(Value(v), "600") << "flags 0: the value stays";
  EXPECT_EQ(Value(ct), "A'/'B") << "flags 4 also sets the value";
  SetCallerTexts("#L", "1", nullptr);
  ApplyCallerData(params);
  EXPECT_EQ(Value(l), "1500") << "a missing text: nothing";
}

TEST_F(Presentation, AVantrixRecordGivesTheDimensions) {
  CObjectSez params;
  Product(params);
  AddParam(params, {"S", "100", nullptr});
  AddParam(params, {"CM", "", nullptr, ParamStatus::kFree});
  CVantrixData record(CVantrixData::kFieldCount);
  const char* fields[] = {"VK 33", "", "", "", "1400", "900", "150", "", "", "", "104 Kuchy\xF2"};
  for (uint32_t i = 0; i < std::size(fields); ++i) record.SetField(i, fields[i]);
  EXPECT_FALSE(ApplyVantrixRecord(params, nullptr));
  ASSERT_TRUE(ApplyVantrixRecord(params, &record));
  for (const auto& [name, value, flags] : {std::tuple{"L", "1400", 1u}, {"V", "900", 1u}, {"S", "150", 1u},
                                           {"CT", "VK 33", 0u}, {"CM", "104 Kuchy\xF2", 0u}}) {
    EXPECT_EQ(Value(FindParamByName(params, name)), value) << name;
    EXPECT_EQ(FindParamByName(params, name)->flags, flags) << name;
  }
}

TEST_F(Presentation, TheRadiatorCataloguesChoiceGivesTheDimensions) {
  CObjectSez params;
  Product(params);  // no S: skipped
  KorpalinData record;
  record.length = 1200;
  record.height = -600;
  record.depth = 2147483647;
  record.number4 = 99;  // not a dimension
  EXPECT_FALSE(ApplyCatalogueDimensions(params, nullptr));
  ASSERT_TRUE(ApplyCatalogueDimensions(params, &record));
  for (const auto& [name, value, flags] : {std::tuple{"L", "1200", 1u}, {"V", "-600", 1u}, {"CT", "22", 0u}}) {
    EXPECT_EQ(Value(FindParamByName(params, name)), value) << name;
    EXPECT_EQ(FindParamByName(params, name)->flags, flags) << name;
  }
  AddParam(params, {"S", "100", nullptr});
  ApplyCatalogueDimensions(params, &record);
  EXPECT_EQ(Value(FindParamByName(params, "S")), "2147483647");
}

namespace {

struct DefinitionRows : CParamRowList {
  void AddParamRow(CValueParam* param) override { rows.push_back(param); }
  std::vector<CValueParam*> rows;
};

}  // namespace

TEST_F(Presentation, ListRowsShowValuesByTheLengthMode) {
  CObjectSez params;
  CValueParam* length = AddParam(params, {"L", "1250", "1000", ParamStatus::kRecalculated, 0, 1e9, "D\xE9lka"});
  CValueParam* fallback = AddParam(params, {"H", "", "600", ParamStatus::kRecalculated, 0, 1e9, "V\xFD\x9Aka", "300|600"});
  AddParam(params, {"P", "1", "L*2", ParamStatus::kComputed, 0, 1e9, "V\xFDkon"});
  CValueParam* plain = AddParam(params, {"N", "12.345", nullptr, 0, 0, 1e9, "Po\xE8" "et"});
  CValueParam* text = AddParam(params, {"CT", "22", nullptr, ParamStatus::kFree, 0, 1e9, "Typ"});
  text->flags = ParamFlag::kGivenByCaller;
  AddParam(params, {"Z", "9", nullptr, 0, 0, 1e9, nullptr});  // no label: the fill ends here
  AddParam(params, {"W", "9", nullptr, 0, 0, 1e9, "Konec"});
  CListCtrl& list = View();
  struct Case {
    unsigned mode;
    const char* shown[4];
  };
  const Case cases[] = {{1, {"1.2500", "0.6000", "12.345", "22"}},
                        {1000, {"1250.00", "600.00", "12.345", "22"}},
                        {7, {"1250", "600.00", "12.345", "22"}}};
  for (const Case& c : cases) {
    ASSERT_TRUE(FillParamList(params, &list, nullptr, false, c.mode));
    ASSERT_EQ(list.GetItemCount(), 4) << "computed skipped, the unlabelled ends the fill";
    EXPECT_EQ(Cell(0, 0), "D\xE9lka (L)");
    for (int row = 0; row < 4; ++row) EXPECT_EQ(Cell(row, 1), c.shown[row]) << "mode " << c.mode << " row " << row;
    auto* head = reinterpret_cast<CListItemData*>(list.GetItemData(1));
    ASSERT_EQ(head->param, fallback);
    const CListItemData* cell = static_cast<CListItemData*>(head->GetHead());
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->column, 1u);
    EXPECT_EQ(cell->flags, CellFlag::kEditable | CellFlag::kChoices);
    EXPECT_EQ(cell->inputKind, 4u);
    EXPECT_EQ(cell->fill, &FillValueListBox);
    const auto* given = static_cast<CListItemData*>(reinterpret_cast<CListItemData*>(list.GetItemData(3))->GetHead());
    EXPECT_EQ(given->flags, 0u) << "a caller's value cannot be edited";
    const auto* lengthCell = static_cast<CListItemData*>(reinterpret_cast<CListItemData*>(list.GetItemData(0))->GetHead());
    EXPECT_EQ(lengthCell->flags, CellFlag::kEditable);
    for (int row = 0; row < list.GetItemCount(); ++row) delete reinterpret_cast<CListItemData*>(list.GetItemData(row));
  }
  EXPECT_EQ(plain->listRow, -1) << "the product dialog's rows are found by their descriptors";

  DefinitionRows definitions;
  ASSERT_TRUE(FillParamList(params, &list, &definitions, true, 1));
  ASSERT_EQ(list.GetItemCount(), 7);
  EXPECT_EQ(Cell(2, 0), "P");
  EXPECT_EQ(Cell(2, 1), "V\xFDkon");
  EXPECT_EQ(Cell(2, 3), "L*2");
  EXPECT_EQ(reinterpret_cast<CValueParam*>(list.GetItemData(2)), FindParamByName(params, "P"));
  EXPECT_EQ(definitions.rows, std::vector<CValueParam*>{FindParamByName(params, "P")});
  EXPECT_EQ(length->listRow, 0);
  auto* added = new CValueParam;
  added->SetText(ParamText::kName, "Q");
  added->SetText(ParamText::kDefault, "5");
  ASSERT_TRUE(AppendParamWithRow(params, added, &list));
  EXPECT_EQ(added->listRow, 7);
  EXPECT_EQ(Cell(7, 3), "5");
  EXPECT_FALSE(AppendParamWithRow(params, nullptr, &list));
}

TEST_F(Presentation, TheReportListsReportedResults) {
  UseSample('T');
  Go("TOR0600-0001");
  CObjectSez params;
  AddParam(params, {"L", "1000", nullptr});
  AddParam(params, {"P", "", "L*1.5", ParamStatus::kAnyComputed, 0, 0, "V\xFDkon"});
  AddParam(params, {"Q", "L/4", "L", ParamStatus::kReported, 0, 0, "Pr\xF9tok"});
  AddParam(params, {"X", nullptr, "L*Y", ParamStatus::kReported, 0, 0, "Chyba"});
  AddParam(params, {"Z", nullptr, "L/0", ParamStatus::kReported, 0, 0, "Nula"});
  AddParam(params, {"C", nullptr, "L", ParamStatus::kComputed, 0, 0, "Jen spo\xE8ten\xE1"});
  struct Case {
    unsigned mode;
    const char* text;
  };
  const Case cases[] = {
      {1, "Otopn\xE9 t\xECleso deskov\xE9 s rozm\xECry\r\nV\xFDkon (P) = 1.5000\r\nPr\xF9tok (Q) = 0.2500\r\nChyba (X) = Y\r\n"},
      {1000, "Otopn\xE9 t\xECleso deskov\xE9 s rozm\xECry\r\nV\xFDkon (P) = 1500\r\nPr\xF9tok (Q) = 250\r\nChyba (X) = Y\r\n"},
      {0, "Otopn\xE9 t\xECleso deskov\xE9 s rozm\xECry\r\nV\xFDkon (P) = 1500.00\r\nPr\xF9tok (Q) = 250.00\r\nChyba (X) = Y\r\n"}};
  for (const Case& c : cases) {
    std::string report = "old";
    FormatParameterReport(params, report, c.mode);
    EXPECT_EQ(report, c.text) << "mode " << c.mode;
  }
  SetCurrentCatalogue(nullptr);
  std::string kept = "old";
  FormatParameterReport(params, kept, 1);
  EXPECT_EQ(kept, "old") << "no catalogue: the text stays";
}
