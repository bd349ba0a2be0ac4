#include "jov_vantrix/network/CJovData.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "jov_vantrix/network/NetworkRecords.h"
#include "jov_vantrix/tests/NetworkFixtures.h"

using Items = std::vector<std::string>;

namespace {

const char* kOnePoint = "1\na\nb\nc\n36\n";

// A product insert's extended data as the system writes it.
TestChain ProductXData() {
  TestChain c;
  c.Text(0, "INSERT").Text(8, "0");
  c.Text(1001, "JOV_INSPT").I16(1070, 5).Point(1010, 1, 2, 0).Point(1010, 3, 4, 0);
  c.Text(1001, "JOV_DATA").Text(1000, "TCD0000i0001");
  c.Text(1000, "_TYPE").Text(1000, "197");
  c.Text(1000, "_PTS").Text(1000, kOnePoint);
  c.Text(1000, "CM").Text(1000, "3");
  c.Text(1001, "_VANTRIX").I16(1070, 3).Text(1000, "x").Text(1000, "y").Text(1000, "z");
  return c;
}

std::vector<std::string> Fields(const CTextData& record) {
  std::vector<std::string> fields;
  for (uint32_t i = 0; i < record.GetCount(); ++i) {
    const char* f = record.GetField(i);
    fields.push_back(f ? f : "<unset>");
  }
  return fields;
}

const CJovPropData& Row(const CJovPropData& list, int n) {
  const CSeznam* e = list.GetHead();
  while (n-- > 0) e = e->GetNext();
  return *static_cast<const CJovPropData*>(e);
}

}  // namespace

TEST(CJovData, ReadsTheThreeBlocksOfAnEntity) {
  TestChain chain = ProductXData();
  CJovData data;
  ASSERT_TRUE(data.ReadXData(chain.Head()));
  EXPECT_STREQ(data.m_typeCode, "TCD0000i0001");
  EXPECT_EQ(data.m_insertionValue, 5);
  ASSERT_EQ(data.InsertPoints().GetCount(), 2u);
  const auto* second = static_cast<const CJovInsPnt*>(data.InsertPoints().GetHead()->GetNext());
  EXPECT_EQ(second->GetPoint()[0], 3.0);
  EXPECT_EQ(data.m_typeFlags.Get(), 197u);
  EXPECT_TRUE(data.m_typeFlags.HasAll(197));
  EXPECT_FALSE(data.m_typeFlags.HasAll(0x100081));
  EXPECT_EQ(data.Properties().CSeznam::GetCount(), 3u) << "_TYPE and _PTS are properties too";
  EXPECT_STREQ(data.GetProperty("CM"), "3");
  EXPECT_EQ(data.GetProperty("cm"), nullptr) << "keys are case-sensitive";
  ASSERT_EQ(data.PointRecords().CSeznam::GetCount(), 1u);

  ASSERT_EQ(data.VantrixRecords().CSeznam::GetCount(), 1u);
  Items expected{"x", "y", "z"};
  expected.resize(12, "");
  EXPECT_EQ(Fields(Row(data.VantrixRecords(), 0)), expected);

  EXPECT_STREQ(data.GetAppChain(CJovData::kAppInsertPoints)->value.text, "JOV_INSPT");
  EXPECT_STREQ(data.GetAppChain(CJovData::kAppJovData)->value.text, "JOV_DATA");
  EXPECT_EQ(data.GetAppChain(CJovData::kAppVantrix)->code, 1070) << "the node after the name";
  EXPECT_EQ(data.GetAppChain(3), nullptr);
  EXPECT_EQ(data.GetAppChain(-1), nullptr);
}

TEST(CJovData, BuildsTheBlocksInTheirFixedOrder) {
  TestChain chain = ProductXData();
  CJovData data;
  ASSERT_TRUE(data.ReadXData(chain.Head()));
  OwnedChain built(data.BuildXData());
  Items expected{"1001:JOV_INSPT", "1070:5",      "1010:1,2,0",  "1010:3,4,0",
                 "1001:JOV_DATA",  "1000:TCD0000i0001", "1000:_TYPE", "1000:197",
                 "1000:_PTS",      std::string("1000:") + kOnePoint, "1000:CM", "1000:3",
                 "1001:_VANTRIX",  "1070:12",     "1000:x",      "1000:y",
                 "1000:z"};
  expected.resize(expected.size() + 9, "1000:");
  EXPECT_EQ(DescribeChain(built.get()), expected);
}

TEST(CJovData, WithoutInsertionPointsTheChainBeginsWithJovData) {
  TestChain chain;
  chain.Text(0, "LWPOLYLINE").Text(1001, "JOV_DATA").Text(1000, "TPP0015i0001").Text(1000, "_TYPE").Text(1000, "128");
  CJovData data;
  ASSERT_TRUE(data.ReadXData(chain.Head()));
  OwnedChain built(data.BuildXData());
  EXPECT_EQ(DescribeChain(built.get()),
            (Items{"1001:JOV_DATA", "1000:TPP0015i0001", "1000:_TYPE", "1000:128"}));
}

TEST(CJovData, PointTextIsRewrittenFromThePointRecords) {
  TestChain chain = ProductXData();
  CJovData data;
  ASSERT_TRUE(data.ReadXData(chain.Head()));
  auto* record = static_cast<CJovAddPnt*>(data.PointRecords().GetHead());
  record->SetField(3, "20");
  record->SetField(1, nullptr);
  auto* added = new CJovAddPnt();
  for (uint32_t i = 0; i < 4; ++i) added->SetField(i, "q");
  data.PointRecords().AddTail(added);
  OwnedChain built(data.BuildXData());
  EXPECT_STREQ(data.GetProperty("_PTS"), "2\na\n\nc\n20\nq\nq\nq\nq\n")
      << "nine lines for two records; an unset field is an empty line";
  Items items = DescribeChain(built.get());
  EXPECT_EQ(items[9], std::string("1000:") + data.GetProperty("_PTS"));
}

TEST(CJovData, OnlyTheFirstPointPropertyHoldsRecords) {
  TestChain chain;
  chain.Text(1001, "JOV_DATA").Text(1000, "TCD0000i0001");
  chain.Text(1000, "_PTS").Text(1000, kOnePoint).Text(1000, "_PTS").Text(1000, "1\nz\nz\nz\n20\n");
  CJovData data;
  ASSERT_TRUE(data.ReadXData(chain.Head()));
  EXPECT_EQ(data.PointRecords().CSeznam::GetCount(), 1u);
  const Items once = DescribeChain(OwnedChain(data.BuildXData()).get());
  EXPECT_EQ(once, (Items{"1001:JOV_DATA", "1000:TCD0000i0001", "1000:_PTS", std::string("1000:") + kOnePoint,
                         "1000:_PTS", "1000:1\nz\nz\nz\n20\n"}))
      << "the second property is kept untouched";
  // Read and built again and again, nothing piles up.
  for (int round = 0; round < 3; ++round) {
    OwnedChain built(data.BuildXData());
    CJovData again;
    ASSERT_TRUE(again.ReadXData(built.get()));
    EXPECT_EQ(DescribeChain(OwnedChain(again.BuildXData()).get()), once) << "round " << round;
  }
}

TEST(CJovData, PointRecordsAddNoPointProperty) {
  TestChain chain;
  chain.Text(1001, "JOV_DATA").Text(1000, "TCD0000i0001");
  CJovData data;
  ASSERT_TRUE(data.ReadXData(chain.Head()));
  auto* record = new CJovAddPnt();
  data.PointRecords().AddTail(record);
  OwnedChain built(data.BuildXData());
  EXPECT_EQ(DescribeChain(built.get()), (Items{"1001:JOV_DATA", "1000:TCD0000i0001"}));
}

TEST(CJovData, ChainWithoutJovDataLeavesTheObjectEmpty) {
  TestChain first = ProductXData();
  CJovData data;
  ASSERT_TRUE(data.ReadXData(first.Head()));
  TestChain other;
  other.Text(0, "INSERT").Text(1001, "JOV_INSPT").I16(1070, 1).Point(1010, 1, 1, 1);
  other.Text(1001, "_VANTRIX").I16(1070, 1).Text(1000, "v");
  EXPECT_FALSE(data.ReadXData(other.Head()));
  EXPECT_STREQ(data.m_typeCode, "");
  EXPECT_EQ(data.InsertPoints().GetCount(), 0u);
  EXPECT_EQ(data.VantrixRecords().GetHead(), nullptr);
  EXPECT_EQ(data.Properties().GetHead(), nullptr);
  EXPECT_EQ(data.m_typeFlags.Get(), 0u);
  EXPECT_EQ(data.GetAppChain(CJovData::kAppJovData), nullptr);
}

TEST(CJovData, TheLaterOfTwoBlocksOfOneNameWins) {
  TestChain chain;
  chain.Text(1001, "JOV_DATA").Text(1000, "TCD0000i0001").Text(1000, "CM").Text(1000, "1");
  chain.Text(1001, "JOV_DATA").Text(1000, "TCD0000-0002").Text(1000, "CM").Text(1000, "2");
  chain.Text(1001, "jov_data").Text(1000, "ignored: names are case-sensitive");
  CJovData data;
  ASSERT_TRUE(data.ReadXData(chain.Head()));
  EXPECT_STREQ(data.m_typeCode, "TCD0000-0002");
  EXPECT_EQ(data.Properties().CSeznam::GetCount(), 1u);
  EXPECT_STREQ(data.GetProperty("CM"), "2");
}

TEST(CJovData, TheLinkFoundInTheReadingIsTheOneLinkHandleOfFinds) {
  // Names in any case and place, none, two, one without a text after it,
  // and a chain without JOV_DATA (the walk still goes to its end).
  struct Case {
    const char *before, *after, *handle;
    bool jovData;
  } cases[] = {{"JOV_LINK", nullptr, "A1", true},   {nullptr, "jov_Link", "B2", true},
               {"JOV_LINK", "JOV_LINK", "C3", true}, {nullptr, nullptr, nullptr, true},
               {"JOV_LINKS", "JOV_LIN", "D4", true}, {nullptr, "JOV_LINK", nullptr, true},
               {"\xC8OV_LINK", nullptr, "E5", true},  {"JOV_LINK", nullptr, "F6", false}};
  for (const Case& c : cases) {
    TestChain chain;
    chain.Text(0, "LWPOLYLINE").Text(8, "0");
    if (c.before) chain.Text(1001, c.before).Text(1000, c.handle ? c.handle : "x");
    if (c.jovData) chain.Text(1001, "JOV_DATA").Text(1000, "TPP0000-0001").Text(1000, "CM").Text(1000, "1");
    if (c.after) chain.Text(1001, c.after);
    if (c.after && c.handle) chain.Text(1000, c.handle);
    chain.Text(1001, "OTHER").I16(1070, 1);
    CJovData data;
    const resbuf* link = nullptr;
    EXPECT_EQ(data.ReadXDataOfKeptChain(chain.Head(), &link), c.jovData);
    EXPECT_STREQ(LinkHandleAfter(link), LinkHandleOf(chain.Head())) << (c.before ? c.before : c.after ? c.after : "-");
  }
}

TEST(CJovData, MatrixCodeReadsRowsAndWritesThemBack) {
  TestChain chain;
  chain.Text(1001, "JOV_DATA").Text(1000, "E@2x3");
  for (const char* cell : {"a1", "a2", "a3", "b1", "b2", "b3"}) chain.Text(1000, cell);
  chain.Text(1000, "_TYPE").Text(1000, "4");
  CJovData data;
  ASSERT_TRUE(data.ReadXData(chain.Head()));
  ASSERT_EQ(data.MatrixRows().CSeznam::GetCount(), 2u);
  EXPECT_EQ(Fields(Row(data.MatrixRows(), 1)), (Items{"b1", "b2", "b3"}));
  EXPECT_EQ(data.Properties().CSeznam::GetCount(), 1u);
  EXPECT_EQ(data.m_typeFlags.Get(), 4u);
  OwnedChain built(data.BuildXData());
  EXPECT_EQ(DescribeChain(built.get()),
            (Items{"1001:JOV_DATA", "1000:E@2x3", "1000:a1", "1000:a2", "1000:a3", "1000:b1",
                   "1000:b2", "1000:b3", "1000:_TYPE", "1000:4"}));
}

TEST(CJovData, OnlyASecondCharacterAtMarksAMatrix) {
  TestChain chain;
  chain.Text(1001, "JOV_DATA").Text(1000, "TE@1x1").Text(1000, "K").Text(1000, "V");
  CJovData data;
  ASSERT_TRUE(data.ReadXData(chain.Head()));
  EXPECT_EQ(data.MatrixRows().GetHead(), nullptr);
  EXPECT_STREQ(data.GetProperty("K"), "V");

  // Rows the program adds are written for any code containing "E@".
  auto* row = new CJovPropData(1);
  row->SetField(0, "cell");
  data.MatrixRows().AddTail(row);
  OwnedChain built(data.BuildXData());
  EXPECT_EQ(DescribeChain(built.get()),
            (Items{"1001:JOV_DATA", "1000:TE@1x1", "1000:cell", "1000:K", "1000:V"}));

  TestChain other;
  other.Text(1001, "JOV_DATA").Text(1000, "X@1x1").Text(1000, "K").Text(1000, "V");
  ASSERT_TRUE(data.ReadXData(other.Head()));
  EXPECT_EQ(data.MatrixRows().GetHead(), nullptr) << "only an E@ code has a size";
  EXPECT_STREQ(data.GetProperty("K"), "V");
}

TEST(CJovData, MatrixSizesAreCutToTheCellsTheChainHolds) {
  CJovData data;
  {
    TestChain chain;
    chain.Text(1001, "JOV_DATA").Text(1000, "E@-2x3").Text(1000, "K").Text(1000, "V");
    ASSERT_TRUE(data.ReadXData(chain.Head()));
    EXPECT_EQ(data.MatrixRows().GetHead(), nullptr) << "a negative size holds nothing";
    EXPECT_STREQ(data.GetProperty("K"), "V");
  }
  {
    TestChain chain;
    chain.Text(1001, "JOV_DATA").Text(1000, "E@99999999999x2").Text(1000, "a").Text(1000, "b");
    chain.Text(1000, "c").I16(1070, 9).Text(1000, "after");
    ASSERT_TRUE(data.ReadXData(chain.Head()));
    ASSERT_EQ(data.MatrixRows().CSeznam::GetCount(), 2u) << "three cells make one and a half rows";
    EXPECT_EQ(Fields(Row(data.MatrixRows(), 1)), (Items{"c", "<unset>"}));
    EXPECT_EQ(data.Properties().GetHead(), nullptr) << "the matrix ends at the 1070 node";
  }
  {
    TestChain chain;
    chain.Text(1001, "JOV_DATA").Text(1000, "E@1x2147483647").Text(1000, "a").Text(1000, "b");
    ASSERT_TRUE(data.ReadXData(chain.Head()));
    ASSERT_EQ(data.MatrixRows().CSeznam::GetCount(), 1u);
    EXPECT_EQ(Row(data.MatrixRows(), 0).CTextData::GetCount(), 2u) << "columns cut to the chain";
  }
  {
    TestChain chain;
    chain.Text(1001, "JOV_DATA").Text(1000, "E@5x0").Text(1000, "K").Text(1000, "V");
    ASSERT_TRUE(data.ReadXData(chain.Head()));
    EXPECT_EQ(data.MatrixRows().GetHead(), nullptr);
    EXPECT_STREQ(data.GetProperty("K"), "V");
  }
}

TEST(CJovData, TypeCodeAndValuesComeOnlyFromTextNodes) {
  CJovData data;
  {
    TestChain chain;
    chain.Text(1001, "JOV_DATA").I16(1070, 7).Text(1000, "K").Text(1000, "V");
    ASSERT_TRUE(data.ReadXData(chain.Head()));
    EXPECT_STREQ(data.m_typeCode, "");
    EXPECT_EQ(data.Properties().GetHead(), nullptr);
  }
  {
    TestChain chain;
    chain.Text(1001, "JOV_DATA").Text(1000, "TCD0000i0001").Text(1000, "CM").Text(1000, "1");
    chain.Text(1000, "L").Point(1010, 1, 2, 3).Text(1000, "X").Text(1000, "Y");
    ASSERT_TRUE(data.ReadXData(chain.Head()));
    EXPECT_EQ(data.Properties().CSeznam::GetCount(), 1u) << "a point is no value: the block ends";
    EXPECT_EQ(data.GetProperty("L"), nullptr);
  }
  {
    TestChain chain;
    chain.Text(1001, "JOV_DATA").Text(1000, "TCD0000i0001").Text(1000, "CM");
    chain.Text(1001, "_VANTRIX").I16(1070, 1).Text(1000, "v");
    ASSERT_TRUE(data.ReadXData(chain.Head()));
    EXPECT_EQ(data.Properties().GetHead(), nullptr) << "the next application is no value";
    EXPECT_EQ(data.VantrixRecords().CSeznam::GetCount(), 1u);
  }
  {
    TestChain chain;
    chain.Text(1001, "JOV_DATA").Text(1000, "TCD0000i0001").Text(1000, "CM").Text(1000, "1");
    chain.Text(1000, "CT");
    ASSERT_TRUE(data.ReadXData(chain.Head()));
    EXPECT_EQ(data.Properties().CSeznam::GetCount(), 1u) << "a key as the last node ends the block";
  }
  {
    TestChain chain;
    chain.Text(1001, "JOV_DATA");
    ASSERT_TRUE(data.ReadXData(chain.Head()));
    EXPECT_STREQ(data.m_typeCode, "");
  }
}

TEST(CJovData, VantrixCountsAreTakenAsFarAsTheChainGoes) {
  CJovData data;
  {
    TestChain chain;
    chain.Text(1001, "JOV_DATA").Text(1000, "T");
    chain.Text(1001, "_VANTRIX").I16(1070, -5).Text(1000, "a");
    ASSERT_TRUE(data.ReadXData(chain.Head()));
    ASSERT_EQ(data.VantrixRecords().CSeznam::GetCount(), 1u);
    EXPECT_EQ(Fields(Row(data.VantrixRecords(), 0)), Items(12, ""));
  }
  {
    TestChain chain;
    chain.Text(1001, "JOV_DATA").Text(1000, "T");
    chain.Text(1001, "_VANTRIX").I16(1070, 14);
    for (int i = 0; i < 14; ++i) chain.Text(1000, "f");
    ASSERT_TRUE(data.ReadXData(chain.Head()));
    EXPECT_EQ(Row(data.VantrixRecords(), 0).CTextData::GetCount(), 12u) << "fields 12 and up dropped";
    OwnedChain built(data.BuildXData());
    Items items = DescribeChain(built.get());
    EXPECT_EQ(items.size(), 2u + 2u + 12u);
  }
  {
    TestChain chain;
    chain.Text(1001, "JOV_DATA").Text(1000, "T");
    chain.Text(1001, "_VANTRIX").I16(1070, 4).Text(1000, "a").Text(1000, "b");
    ASSERT_TRUE(data.ReadXData(chain.Head()));
    Items expected{"a", "b", "<unset>", "<unset>"};
    expected.resize(12, "");
    EXPECT_EQ(Fields(Row(data.VantrixRecords(), 0)), expected) << "a short block";
  }
  {
    TestChain chain;
    chain.Text(1001, "JOV_DATA").Text(1000, "T");
    chain.Text(1001, "_VANTRIX").Text(1000, "a");
    ASSERT_TRUE(data.ReadXData(chain.Head()));
    EXPECT_EQ(data.VantrixRecords().GetHead(), nullptr) << "no count, no record";
    EXPECT_NE(data.GetAppChain(CJovData::kAppVantrix), nullptr);
  }
}

TEST(CJovData, LongTextsAreKeptWhole) {
  const std::string longCode = "TCD0000i" + std::string(2000, '7');
  std::string points = "40\n";
  for (int r = 0; r < 40; ++r) points += "15\n1/2\" vnitřní\npřívod\n" + std::to_string(20 + r) + "\n";
  ASSERT_GT(points.size(), 1024u);
  TestChain chain;
  chain.Text(1001, "JOV_DATA").Text(1000, longCode.c_str()).Text(1000, "_PTS").Text(1000, points.c_str());
  CJovData data;
  ASSERT_TRUE(data.ReadXData(chain.Head()));
  EXPECT_EQ(std::string(data.m_typeCode), longCode);
  EXPECT_EQ(data.PointRecords().CSeznam::GetCount(), 40u);
  OwnedChain built(data.BuildXData());
  Items items = DescribeChain(built.get());
  ASSERT_EQ(items.size(), 4u);
  EXPECT_EQ(items[1], "1000:" + longCode);
  EXPECT_EQ(items[3], "1000:" + points);
}

TEST(CJovData, ReadingAgainReplacesEverything) {
  TestChain first = ProductXData();
  TestChain second;
  second.Text(1001, "JOV_DATA").Text(1000, "TPZ0015i0001");
  CJovData data;
  ASSERT_TRUE(data.ReadXData(first.Head()));
  ASSERT_TRUE(data.ReadXData(second.Head()));
  EXPECT_EQ(data.InsertPoints().GetCount(), 0u);
  EXPECT_EQ(data.m_insertionValue, 0);
  EXPECT_EQ(data.PointRecords().GetHead(), nullptr);
  EXPECT_EQ(data.VantrixRecords().GetHead(), nullptr);
  EXPECT_EQ(data.GetAppChain(CJovData::kAppInsertPoints), nullptr);
  OwnedChain built(data.BuildXData());
  EXPECT_EQ(DescribeChain(built.get()), (Items{"1001:JOV_DATA", "1000:TPZ0015i0001"}));
}

TEST(CJovInsPnt, ChainCarriesTheLowBitsOfTheValueAndEveryPoint) {
  CJovInsPnt list;
  CJovInsPnt::AddPointPair(list, GLVector(1, 2, 3), GLVector(4, 5, 6));
  list.AddTail(new CJovInsPnt());
  OwnedChain chain(CJovInsPnt::BuildChain(list, 0x12345));
  EXPECT_EQ(DescribeChain(chain.get()),
            (Items{"1070:9029", "1010:1,2,3", "1010:4,5,6", "1010:0,0,0"}));
  auto* point = static_cast<CJovInsPnt*>(list.GetHead());
  point->SetPoint(7, 8, 9);
  EXPECT_EQ(point->GetPoint()[2], 9.0);
}

// Properties read are kept packed (or left in a kept chain) until the list
// is asked for: looked up before and after, walked, and built, every row
// reads alike.
TEST(CJovData, PackedPropertiesReadAsTheirList) {
  const std::string longValue(300 << 10, 'v');  // more than a packed block takes
  struct Row {
    const char* what;
    std::vector<const char*> pairs;  // key, value ...; null: a text node without text
    int16_t after;                    // code of the node that ends the block, 0 for none
  };
  const Row rows[] = {
      {"none", {}, 0},
      {"one", {"CM", "1"}, 0},
      {"a key twice, the first counts", {"CM", "1", "CT", "T1", "CM", "2"}, 0},
      {"empty and null texts", {"", "x", "K", nullptr, nullptr, "y"}, 0},
      {"ended by a number", {"A", "1", "B", "2"}, 1070},
      {"a value too long to pack", {"A", "1", "L", longValue.c_str(), "B", "2"}, 0},
  };
  for (const Row& row : rows) for (const bool kept : {false, true}) {
    TestChain chain;
    chain.Text(1001, "JOV_DATA").Text(1000, "TPP0015i0001");
    for (const char* text : row.pairs) chain.Text(1000, text);
    if (row.after) chain.I16(row.after, 1).Text(1000, "after").Text(1000, "the end");
    CJovData packed;
    ASSERT_TRUE(kept ? packed.ReadXDataOfKeptChain(chain.Head()) : packed.ReadXData(chain.Head())) << row.what;
    Items walked;
    packed.ForEachProperty([&](const char* key, const char* value) {
      walked.push_back(std::string(key) + "=" + value);
      return true;
    });
    Items expected;
    for (size_t i = 0; i + 1 < row.pairs.size(); i += 2)
      expected.push_back(std::string(row.pairs[i] ? row.pairs[i] : "") + "=" + (row.pairs[i + 1] ? row.pairs[i + 1] : ""));
    EXPECT_EQ(walked, expected) << row.what;
    const char* keys[] = {"CM", "", "K", "A", "B", "L", "after", "missing"};
    std::vector<std::string> before;
    for (const char* key : keys) before.push_back(packed.GetProperty(key) ? packed.GetProperty(key) : "<none>");
    const Items built = DescribeChain(OwnedChain(packed.BuildXData()).get());
    EXPECT_EQ(packed.Properties().CSeznam::GetCount(), expected.size()) << row.what;
    for (size_t i = 0; i < std::size(keys); ++i)
      EXPECT_EQ(packed.GetProperty(keys[i]) ? packed.GetProperty(keys[i]) : "<none>", before[i]) << row.what;
    CJovData listed;
    ASSERT_TRUE(listed.ReadXData(chain.Head()));
    listed.Properties();
    EXPECT_EQ(DescribeChain(OwnedChain(listed.BuildXData()).get()), built) << row.what;
  }
}

// Properties left in a kept chain read what a writer put there since.
TEST(CJovData, PropertiesOfAKeptChainReadItAsItStands) {
  TestChain chain;
  chain.Text(1001, "JOV_DATA").Text(1000, "TPP0015i0001").Text(1000, "_DW_NUMBER").Text(1000, "e1");
  CJovData kept;
  ASSERT_TRUE(kept.ReadXDataOfKeptChain(chain.Head()));
  CJovData copied;
  ASSERT_TRUE(copied.ReadXData(chain.Head()));
  char written[] = "e7";
  chain.Head()->next->next->next->value.text = written;
  EXPECT_STREQ(kept.GetProperty("_DW_NUMBER"), "e7");
  EXPECT_STREQ(copied.GetProperty("_DW_NUMBER"), "e1");
}
