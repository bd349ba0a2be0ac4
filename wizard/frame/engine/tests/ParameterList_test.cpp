// A product's parameters: the catalogue's text read and written back, the
// definitions, recalculation, and values assigned and joined by name.
#include "wizard/frame/engine/ParameterList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "wizard/frame/engine/ParamStatus.h"
#include "wizard/frame/engine/RecordLookups.h"
#include "wizard/frame/engine/tests/EngineFixture.h"

using engine_test::AddParam;
using engine_test::Value;

namespace {

const char* const kCatalogue =
    "[catalogue]\ntrade = T\n"
    "[partypes]\n"
    "1 | D\xE9lka [mm] | 0 | 10 | 6000\n"
    "4 | Text | 4\n"
    "5 | V\xFDpo\xE8" "et | 1\n"
    "7 | P\xF8" "epo\xE8" "et | 16 | 0 | 10000\n"
    "[item]\nid = TXX0000-0001\n"
    "[item]\nid = TXX0000-0002\n";

class ParameterListTest : public engine_test::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    UseCatalogue(kCatalogue);
    Go("TXX0000-0001");
  }
  // The parameter text handed to the engine as the catalogue holds it.
  void Store(const char* text) { ASSERT_EQ(db->SetParmsParams(qmString(text)), 0); }
  std::string Stored() {
    qmString text;
    db->GetParmsParams(text);
    return text.GetString() ? text.GetString() : "";
  }
  // Each parameter as name|label|type|default|value|allowed|title|status|lo|hi.
  static std::vector<std::string> Rows(const CSeznam& list) {
    std::vector<std::string> rows;
    for (const CValueParam* p = FirstOf<CValueParam>(list); p; p = NextOf(p)) {
      std::string row;
      for (int slot : {ParamText::kName, ParamText::kLabel}) row += std::string(p->GetText(slot)) + "|";
      row += std::to_string(p->typeId) + "|";
      for (int slot : {ParamText::kDefault, ParamText::kValue, ParamText::kAllowed, ParamText::kTypeTitle})
        row += std::string(p->GetText(slot)) + "|";
      row += std::to_string(p->status) + "|" + std::to_string(static_cast<int>(p->lowLimit)) + "|" +
             std::to_string(static_cast<int>(p->highLimit));
      rows.push_back(row);
    }
    return rows;
  }
};

}  // namespace

TEST_F(ParameterListTest, LinesReadWhateverTheirEndsAndWriteBackWithFiveFields) {
  const std::vector<std::string> expected = {
      "L|D\xE9lka|1|1000|1200|400|600||D\xE9lka [mm]|0|10|6000",
      "CT|Typ|4|22|||Text|4|0|0",     // no allowed values
      "H|V\xFD\x9Aka|5|L-2*r|||V\xFDpo\xE8" "et|1|0|0",  // a short line
      "r|Polom\xECr|7|50|50||P\xF8" "epo\xE8" "et|16|0|10000"};
  const char* texts[] = {
      "L|D\xE9lka|1|1000|1200|400|600|\r\nCT|Typ|4|22||\r\nH|V\xFD\x9Aka|5|L-2*r\r\nr|Polom\xECr|7|50|50|\r\n",
      "L|D\xE9lka|1|1000|1200|400|600|\nCT|Typ|4|22||\nH|V\xFD\x9Aka|5|L-2*r\nr|Polom\xECr|7|50|50|",
      "L|D\xE9lka|1|1000|1200|400|600|\rCT|Typ|4|22||\r\r\nH|V\xFD\x9Aka|5|L-2*r\r\n\r\nr|Polom\xECr|7|50|50|\r",
  };
  for (const char* text : texts) {
    Store(text);
    CObjectSez params;
    ASSERT_TRUE(LoadProductParameters(params));
    EXPECT_EQ(Rows(params), expected) << text;
    // Written back: every line ends CR LF with five '|' before its values,
    // and reads back the same.
    EXPECT_TRUE(StoreProductParameters(params));
    EXPECT_EQ(Stored(),
              "L|D\xE9lka|1|1000|1200|400|600|\r\nCT|Typ|4|22||\r\nH|V\xFD\x9Aka|5|L-2*r||\r\nr|Polom\xECr|7|50|50|\r\n");
    CObjectSez again;
    ASSERT_TRUE(LoadProductParameters(again));
    EXPECT_EQ(Rows(again), expected);
  }
}

TEST_F(ParameterListTest, NoTextIsAnEmptyListAndAnUnknownTypeStopsTheRead) {
  CObjectSez params;
  Store("");
  EXPECT_TRUE(LoadProductParameters(params));
  EXPECT_EQ(params.GetCount(), 0u);
  Store("L|D\xE9lka|1|1000||\r\nX|Nezn\xE1m\xFD|99|1||\r\nr||7|50||\r\n");
  EXPECT_FALSE(LoadProductParameters(params));
  EXPECT_EQ(params.GetCount(), 2u) << "the parameters read so far stay";
  SetCurrentCatalogue(nullptr);
  CObjectSez none;
  EXPECT_TRUE(LoadProductParameters(none)) << "no catalogue reads as no text";
  EXPECT_EQ(none.GetCount(), 0u);
  EXPECT_FALSE(StoreProductParameters(params)) << "but takes none either";
}

TEST(Definitions, ComputedValuesAreEvaluatedOverThePlainTexts) {
  struct Case {
    const char* formula;
    bool defaultsFirst;
    const char* expected;
  };
  const Case cases[] = {
      {"L-2*r", false, "L=1000;r=50;H=900.00;"},
      // Defaults first: the formula sees r's missing default as 0, while r's
      // own entry falls back to its value.
      {"L-2*r", true, "L=500;r=50;H=500.00;"},
      {"L-2*X", false, "L=1000;r=50;H=X;"},             // an undefined name
      {"L/(r-50)", false, "L=1000;r=50;H=0;"},          // any other error
      {"", false, "L=1000;r=50;H=0.00;"},               // an empty value is "0"
  };
  for (const Case& c : cases) {
    CObjectSez params;
    AddParam(params, {"L", "1000", "500"});
    AddParam(params, {"r", "50", nullptr});
    AddParam(params, {"H", nullptr, c.formula, ParamStatus::kComputed});
    std::string definitions;
    BuildDefinitions(params, definitions, c.defaultsFirst);
    EXPECT_EQ(definitions, c.expected) << c.formula;
  }
  // A formula parameter (status bit 5 or 6) is not evaluated here; a
  // formula seeing a computed parameter sees its formula.
  CObjectSez params;
  AddParam(params, {"A", "2", nullptr});
  AddParam(params, {"B", nullptr, "A*1.005", ParamStatus::kReported});
  AddParam(params, {"C", nullptr, "B*100", ParamStatus::kComputed});
  AddParam(params, {"F", "A+1", nullptr, ParamStatus::kComputed | ParamStatus::kFormula});
  std::string definitions;
  BuildDefinitions(params, definitions, false);
  EXPECT_EQ(definitions, "A=2;B=2.01;C=201.00;F=A+1;");
}

TEST_F(ParameterListTest, RecalculationFollowsTheListAndSkipsNumbersAndGivenValues) {
  CObjectSez params;
  AddParam(params, {"L", "1000", nullptr});
  CValueParam* fixed = AddParam(params, {"K", "30", "25", ParamStatus::kRecalculated});
  CValueParam* h = AddParam(params, {"H", "0", "L/2", ParamStatus::kRecalculated});
  CValueParam* g = AddParam(params, {"G", "0", "H+K", ParamStatus::kRecalculated});
  CValueParam* kept = AddParam(params, {"E", "7", "L", ParamStatus::kRecalculated});
  kept->flags = ParamFlag::kNotRecalculated;
  CValueParam* broken = AddParam(params, {"B", "3", "L/0", ParamStatus::kRecalculated});
  CValueParam* plain = AddParam(params, {"P", "4", "L", 0});
  CListCtrl& list = View();
  for (const CValueParam* p = FirstOf<CValueParam>(params); p; p = NextOf(p))
    list.InsertItem(LVIF_TEXT | LVIF_PARAM, list.GetItemCount(), "", 0, 0, 0, reinterpret_cast<LPARAM>(p));
  RecalculateParameters(params, &list, 1, false);
  EXPECT_EQ(Value(fixed), "30") << "a plain number keeps the value";
  EXPECT_EQ(Value(h), "500.00");
  EXPECT_EQ(Value(g), "530.00") << "sees H's new value";
  EXPECT_EQ(Value(kept), "7");
  EXPECT_EQ(Value(broken), "3");
  EXPECT_EQ(Value(plain), "4");
  EXPECT_EQ(Cell(2, 1), "0.5000") << "in metres";
  EXPECT_EQ(Cell(3, 1), "0.5300");
  EXPECT_EQ(Cell(1, 1), "");
}

TEST(Assignment, RangesFreeValuesFormulasAndSeparators) {
  struct Case {
    const char* name;
    const char* value;
    bool result;
    const char* after;
  };
  const Case cases[] = {
      {"N", "25", true, "25"},       {"N", "5", false, "20"},       {"N", "40", true, "40"},
      {"N", "41", false, "20"},      {"F", "5", true, "5"},         {"F", "abc", true, "abc"},
      {"F", "1|2", false, "x"},      {"F", "a;b", false, "x"},      {"F", "a=b", false, "x"},
      {"F", "a\r\nb", false, "x"},   {"N", "25\n", false, "20"},    {"E", "9", true, "E*2"},
      {"C", "35", false, "20"},      {"C", "30", true, "30"},       {"missing", "1", true, ""},
  };
  for (const Case& c : cases) {
    CObjectSez params;
    AddParam(params, {"N", "20", nullptr, 0, 10, 40});
    AddParam(params, {"F", "x", nullptr, ParamStatus::kFree, 10, 40});
    AddParam(params, {"E", "E*2", nullptr, ParamStatus::kFormula | ParamStatus::kFree});
    CValueParam* capped = AddParam(params, {"C", "20", nullptr, ParamStatus::kRecalculated, 10, 40});
    capped->flags = ParamFlag::kCappedByThird;
    capped->thirdLimit = 30;
    EXPECT_EQ(AssignValuesByName(params, {c.name}, {c.value}), c.result) << c.name << "=" << c.value;
    if (*c.after) {
      EXPECT_EQ(Value(FindParamByName(params, c.name)), c.after) << c.name << "=" << c.value;
    }
  }
  CObjectSez params;
  AddParam(params, {"A", "1", nullptr});
  AddParam(params, {"B", "2", nullptr});
  EXPECT_TRUE(AssignValuesByName(params, {"A", "B"}, {"7"})) << "names beyond the values are left";
  EXPECT_EQ(Value(FindParamByName(params, "B")), "2");
}

TEST(Joining, ValuesOfTheMarkedNamesBySlashes) {
  CObjectSez params;
  AddParam(params, {"L", "1000", "500"});
  AddParam(params, {"DN", nullptr, "15"});
  AddParam(params, {"E", "", "9"});
  AddParam(params, {"Z", nullptr, nullptr});
  EXPECT_EQ(JoinParamValues(params, "#L/#DN"), "1000/15");
  EXPECT_EQ(JoinParamValues(params, "#X/#Z/#DN/#L"), "15/1000") << "unknown names and empty parameters left out";
  EXPECT_EQ(JoinParamValues(params, "#E/#L"), "/1000") << "an empty value is a value";
  EXPECT_EQ(JoinParamValues(params, "L/DN"), "");
}
