#include "common/CJovPropData.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/CBitFlags.h"
#include "dataformat/GroupCodeChain.h"
#include "dataformat/tests/ChainFixtures.h"

namespace {

std::vector<std::string> Keys(const CJovPropData& list) {
  std::vector<std::string> out;
  for (CSeznam* e = list.GetHead(); e; e = e->GetNext()) {
    const char* key = static_cast<CJovPropData*>(e)->GetField(0);
    out.push_back(key ? key : "<unset>");
  }
  return out;
}

std::vector<std::string> Texts(const resbuf* chain) {
  std::vector<std::string> out;
  for (; chain; chain = chain->next) {
    EXPECT_EQ(chain->code, 1000);
    out.push_back(chain->value.text);
  }
  return out;
}

// Appends an element the way an owner building rows directly would.
CJovPropData* AddRow(CJovPropData& list, std::initializer_list<const char*> fields) {
  auto* row = new CJovPropData(static_cast<uint32_t>(fields.size()));
  uint32_t i = 0;
  for (const char* f : fields) row->SetField(i++, f);
  list.AddTail(row);
  return row;
}

TEST(CJovPropData, SetValueReplacesInPlaceOrAppendsAtTheTail) {
  CJovPropData props;
  EXPECT_TRUE(props.SetValue("L", "2000"));
  EXPECT_TRUE(props.SetValue("DN", "50"));
  EXPECT_TRUE(props.SetValue("L", "2500"));
  EXPECT_EQ(props.CSeznam::GetCount(), 2u);
  EXPECT_EQ(Keys(props), (std::vector<std::string>{"L", "DN"}));
  char out[16];
  ASSERT_TRUE(props.GetValue("L", out, sizeof out));
  EXPECT_STREQ(out, "2500");
  EXPECT_TRUE(props.SetValue("_TYPE", "128"));
  EXPECT_EQ(Keys(props).back(), "_TYPE");
  EXPECT_FALSE(props.SetValue(nullptr, "x"));
  EXPECT_EQ(props.CSeznam::GetCount(), 3u);
}

TEST(CJovPropData, GetValueComparesCaseSensitivelyAndCanOnlyAsk) {
  CJovPropData props;
  props.SetValue("CM", "Cu");
  EXPECT_TRUE(props.GetValue("CM", nullptr, 0));
  EXPECT_FALSE(props.GetValue("cm", nullptr, 0));
  EXPECT_FALSE(props.GetValue(nullptr, nullptr, 0));
  char out[8] = "zzz";
  EXPECT_FALSE(props.GetValue("XX", out, sizeof out));
  EXPECT_STREQ(out, "zzz");  // a missing key leaves the buffer alone
}

TEST(CJovPropData, CopiesIntoCallerBuffersNeverOverflow) {
  CJovPropData props;
  props.SetValue("K", "12345");
  char small[5] = "zzzz";
  EXPECT_FALSE(props.GetValue("K", small, sizeof small));
  EXPECT_STREQ(small, "");
  char exact[6];
  EXPECT_TRUE(props.GetValue("K", exact, sizeof exact));
  EXPECT_STREQ(exact, "12345");

  CJovPropData record;
  record.SetRecordField(3, "ABCDEFGH");
  char field[8] = "zzzzzzz";
  EXPECT_FALSE(record.GetRecordField(3, field, sizeof field));
  EXPECT_STREQ(field, "");
  char wide[9];
  EXPECT_TRUE(record.GetRecordField(3, wide, sizeof wide));
  EXPECT_STREQ(wide, "ABCDEFGH");
}

TEST(CJovPropData, ReplaceValueNeedsAnExistingKeyAndAValue) {
  CJovPropData props;
  props.SetValue("A", "1");
  EXPECT_FALSE(props.ReplaceValue("B", "2"));
  EXPECT_FALSE(props.ReplaceValue("A", nullptr));
  EXPECT_TRUE(props.ReplaceValue("A", "3"));
  char out[4];
  props.GetValue("A", out, sizeof out);
  EXPECT_STREQ(out, "3");
  EXPECT_EQ(props.CSeznam::GetCount(), 1u);
}

TEST(CJovPropData, ElementsWithUnsetKeyOrValueArePassedOver) {
  CJovPropData props;
  AddRow(props, {nullptr, "orphan"});
  AddRow(props, {"A", nullptr});
  AddRow(props, {"A", "real"});
  char out[8];
  ASSERT_TRUE(props.GetValue("A", out, sizeof out));
  EXPECT_STREQ(out, "real");
  EXPECT_TRUE(props.ReplaceValue("A", "new"));
  EXPECT_EQ(static_cast<CJovPropData*>(props.GetHead()->GetNext())->GetField(1), nullptr);

  resbuf* chain = props.BuildKeyValueChain();
  EXPECT_EQ(Texts(chain), (std::vector<std::string>{"", "orphan", "A", "", "A", "new"}));
  FreeGroupCodeChain(chain);
}

TEST(CJovPropData, ParamListsTakeOnlyShortKeysWithBothFields) {
  CJovPropData props;
  props.SetValue("L", "2000");
  props.SetValue("_TYPE", "128");
  props.SetValue("ABC", "x");
  AddRow(props, {"O", nullptr});
  props.SetValue("DN", "50");
  char names[32] = "junk", values[32] = "junk";
  ASSERT_TRUE(props.BuildParamLists(names, sizeof names, values, sizeof values));
  EXPECT_STREQ(names, "#L/#DN");
  EXPECT_STREQ(values, "2000/50");

  CJovPropData empty;
  ASSERT_TRUE(empty.BuildParamLists(names, sizeof names, values, sizeof values));
  EXPECT_STREQ(names, "");
  EXPECT_STREQ(values, "");

  EXPECT_FALSE(props.BuildParamLists(nullptr, 0, values, sizeof values));
  char tight[6];
  EXPECT_FALSE(props.BuildParamLists(tight, sizeof tight, values, sizeof values));
  EXPECT_STREQ(tight, "");
  EXPECT_STREQ(values, "");
  char justRight[7];
  EXPECT_TRUE(props.BuildParamLists(justRight, sizeof justRight, values, sizeof values));
  EXPECT_STREQ(justRight, "#L/#DN");
}

TEST(CJovPropData, RecordFieldsMakeTheVantrixRecordOnDemand) {
  CJovPropData record;
  char out[16];
  EXPECT_FALSE(record.GetRecordField(0, out, sizeof out));
  EXPECT_TRUE(record.SetRecordField(0, nullptr));
  ASSERT_EQ(record.CSeznam::GetCount(), 1u);
  auto* first = static_cast<CJovPropData*>(record.GetHead());
  ASSERT_EQ(first->CTextData::GetCount(), 12u);
  for (uint32_t i = 0; i < 12; ++i) EXPECT_STREQ(first->GetField(i), "") << i;
  EXPECT_TRUE(record.SetRecordField(8, "Cu"));
  EXPECT_FALSE(record.SetRecordField(12, "x"));
  ASSERT_TRUE(record.GetRecordField(8, out, sizeof out));
  EXPECT_STREQ(out, "Cu");
  EXPECT_FALSE(record.GetRecordField(12, out, sizeof out));
  EXPECT_EQ(record.CSeznam::GetCount(), 1u);
}

TEST(CJovPropData, ReadVantrixRecordTakesAtMostCountStrings) {
  TestChain c;
  c.Text(1001, "JOV_DATA")
      .Text(1000, "TPP")
      .Text(1001, "_VANTRIX")
      .I16(1070, 3)
      .Text(1000, "a")
      .Text(1000, "b")
      .Text(1000, "c")
      .Text(1000, "d")
      .Text(1000, "e");
  CJovPropData record;
  record.SetValue("old", "gone");
  record.ReadVantrixRecord(c.Head());
  ASSERT_EQ(record.CSeznam::GetCount(), 1u);
  auto* first = static_cast<CJovPropData*>(record.GetHead());
  ASSERT_EQ(first->CTextData::GetCount(), 12u);
  EXPECT_STREQ(first->GetField(0), "a");
  EXPECT_STREQ(first->GetField(1), "b");
  EXPECT_STREQ(first->GetField(2), "c");
  for (uint32_t i = 3; i < 12; ++i) EXPECT_STREQ(first->GetField(i), "") << i;
}

TEST(CJovPropData, ReadVantrixRecordWithFewStringsOrNoBlock) {
  TestChain shortChain;
  shortChain.Text(1001, "_VANTRIX").I16(1070, 5).Text(1000, "a").Text(1000, "b").I16(1070, 1);
  CJovPropData record;
  record.ReadVantrixRecord(shortChain.Head());
  auto* first = static_cast<CJovPropData*>(record.GetHead());
  ASSERT_NE(first, nullptr);
  EXPECT_STREQ(first->GetField(1), "b");
  EXPECT_EQ(first->GetField(2), nullptr);  // below the count with no string
  EXPECT_EQ(first->GetField(4), nullptr);
  EXPECT_STREQ(first->GetField(5), "");

  TestChain noCount;
  noCount.Text(1001, "_VANTRIX").Text(1000, "a");
  record.ReadVantrixRecord(noCount.Head());
  EXPECT_EQ(record.CSeznam::GetCount(), 0u);

  TestChain otherApp;
  otherApp.Text(1001, "_vantrix").I16(1070, 1).Text(1000, "a");
  record.SetRecordField(0, "kept?");
  record.ReadVantrixRecord(otherApp.Head());
  EXPECT_EQ(record.CSeznam::GetCount(), 0u);

  record.SetRecordField(0, "kept");
  record.ReadVantrixRecord(nullptr);
  EXPECT_EQ(record.CSeznam::GetCount(), 1u);
}

TEST(CJovPropData, RecordChainHasOneCountNodeThenEveryField) {
  CJovPropData record;
  EXPECT_EQ(record.BuildRecordChain(), nullptr);
  for (uint32_t i = 0; i < 12; ++i) record.SetRecordField(i, std::to_string(i).c_str());
  resbuf* chain = record.BuildRecordChain();
  ASSERT_EQ(ChainLength(chain), 13);
  EXPECT_EQ(chain->code, 1070);
  EXPECT_EQ(chain->value.i16, 12);
  std::vector<std::string> fields = Texts(chain->next);
  EXPECT_EQ(fields.front(), "0");
  EXPECT_EQ(fields.back(), "11");

  // Read back through the "_VANTRIX" block it belongs to.
  resbuf* app = nullptr;
  ASSERT_TRUE(CreateGroupCodeNode(&app, 1001, "_VANTRIX"));
  app->next = chain;
  CJovPropData back;
  back.ReadVantrixRecord(app);
  char out[4];
  ASSERT_TRUE(back.GetRecordField(11, out, sizeof out));
  EXPECT_STREQ(out, "11");
  FreeGroupCodeChain(app);
}

TEST(CJovPropData, RecordChainWritesLaterRowsUnderTheFirstCount) {
  CJovPropData rows;
  AddRow(rows, {"a", nullptr});
  AddRow(rows, {"b", "c", "d"});
  resbuf* chain = rows.BuildRecordChain();
  ASSERT_EQ(ChainLength(chain), 6);
  EXPECT_EQ(chain->value.i16, 2);
  EXPECT_EQ(Texts(chain->next), (std::vector<std::string>{"a", "", "b", "c", "d"}));
  FreeGroupCodeChain(chain);
}

TEST(CJovPropData, MatrixChainListsCellsOnlyForMatrixCodes) {
  CJovPropData matrix;
  AddRow(matrix, {"1", "2"});
  AddRow(matrix, {"3", nullptr});
  resbuf* chain = matrix.BuildMatrixChain("E@2x2");
  EXPECT_EQ(Texts(chain), (std::vector<std::string>{"E@2x2", "1", "2", "3", ""}));
  FreeGroupCodeChain(chain);
  chain = matrix.BuildMatrixChain("TPP");
  EXPECT_EQ(Texts(chain), (std::vector<std::string>{"TPP"}));
  FreeGroupCodeChain(chain);
}

TEST(CBitFlags, HasAllNeedsEveryBitOfTheMask) {
  CBitFlags flags(197);
  EXPECT_FALSE(flags.HasAll(128 | 2));
  EXPECT_TRUE(flags.HasAll(128));
  EXPECT_TRUE(flags.HasAll(197));
  EXPECT_FALSE(CBitFlags(128).HasAll(197));
  flags.Clear();
  EXPECT_EQ(flags.Get(), 0u);
  EXPECT_TRUE(flags.HasAll(0));
  EXPECT_FALSE(flags.HasAll(1));
}

}  // namespace
