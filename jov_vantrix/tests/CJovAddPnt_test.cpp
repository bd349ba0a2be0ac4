#include "jov_vantrix/network/CJovAddPnt.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Records(const CJovAddPnt& list) {
  std::vector<std::string> out;
  for (const CSeznam* e = list.GetHead(); e; e = e->GetNext()) {
    const auto* r = static_cast<const CJovAddPnt*>(e);
    std::string text;
    for (uint32_t f = 0; f < 4; ++f) text += std::string(f ? "|" : "") + (r->GetField(f) ? r->GetField(f) : "<unset>");
    out.push_back(text);
  }
  return out;
}

}  // namespace

TEST(CJovAddPnt, FiveLinesMakeOneRecordFoundByItsConnectionKind) {
  CJovAddPnt list(0);
  CJovAddPnt::ParseList(list, "1\na\nb\nc\n36");
  EXPECT_EQ(Records(list), std::vector<std::string>{"a|b|c|36"});
  uint32_t index = 99;
  EXPECT_TRUE(CJovAddPnt::FindIndex(list, &index, 3, "36"));
  EXPECT_EQ(index, 0u);
  EXPECT_FALSE(CJovAddPnt::FindIndex(list, &index, 3, "20"));
  EXPECT_FALSE(CJovAddPnt::FindIndex(list, &index, 3, "3")) << "exact, not a prefix";
  EXPECT_FALSE(CJovAddPnt::FindIndex(list, &index, 3, nullptr));
  EXPECT_FALSE(CJovAddPnt::FindIndex(list, &index, 4, "36"));
  EXPECT_FALSE(CJovAddPnt::FindIndex(CJovAddPnt(0), &index, 0, "a"));
}

TEST(CJovAddPnt, IndexCountsTheRecordsBeforeTheMatch) {
  CJovAddPnt list(0);
  CJovAddPnt::ParseList(list, "3\n15\nx\np\n24\n15\nx\nz\n20\n15\nx\no\n36\n");
  uint32_t index = 0;
  ASSERT_TRUE(CJovAddPnt::FindIndex(list, &index, 3, "36"));
  EXPECT_EQ(index, 2u);
  ASSERT_TRUE(CJovAddPnt::FindIndex(list, &index, 1, "x"));
  EXPECT_EQ(index, 0u) << "the first match";
}

TEST(CJovAddPnt, CarriageReturnLineFeedReadsLikeLineFeed) {
  CJovAddPnt unix(0), dos(0);
  CJovAddPnt::ParseList(unix, "2\na\nb\nc\nd\ne\nf\ng\nh\n");
  CJovAddPnt::ParseList(dos, "2\r\na\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh\r\n");
  EXPECT_EQ(Records(unix), Records(dos));
  EXPECT_EQ(Records(dos), (std::vector<std::string>{"a|b|c|d", "e|f|g|h"}));
}

TEST(CJovAddPnt, CountIsCutToTheRecordsTheTextHolds) {
  CJovAddPnt list(0);
  CJovAddPnt::ParseList(list, "2\na\nb");
  EXPECT_EQ(Records(list), std::vector<std::string>{"a|b||"}) << "a record ending early";
  CJovAddPnt many(0);
  CJovAddPnt::ParseList(many, "1000000\na\nb\nc\nd\n");
  EXPECT_EQ(many.CSeznam::GetCount(), 1u);
  CJovAddPnt negative(0);
  CJovAddPnt::ParseList(negative, "-3\na\nb\nc\nd\n");
  EXPECT_EQ(negative.CSeznam::GetCount(), 0u);
  CJovAddPnt junk(0);
  CJovAddPnt::ParseList(junk, "99999999999999999999999\na\n");
  EXPECT_EQ(junk.CSeznam::GetCount(), 1u);
  CJovAddPnt none(0);
  CJovAddPnt::ParseList(none, nullptr);
  EXPECT_EQ(none.CSeznam::GetCount(), 0u);
}

TEST(CJovAddPnt, FormatWritesTheCountAndFourLinesPerRecord) {
  CJovAddPnt list(0);
  std::string text = "untouched";
  EXPECT_FALSE(CJovAddPnt::FormatList(list, text));
  EXPECT_EQ(text, "");
  CJovAddPnt::ParseList(list, "2\na\nb\nc\n36\ne\nf\ng\n20\n");
  static_cast<CJovAddPnt*>(list.GetHead())->SetField(2, nullptr);
  ASSERT_TRUE(CJovAddPnt::FormatList(list, text));
  EXPECT_EQ(text, "2\na\nb\n\n36\ne\nf\ng\n20\n");
  CJovAddPnt again(0);
  CJovAddPnt::ParseList(again, text.c_str());
  EXPECT_EQ(Records(again), (std::vector<std::string>{"a|b||36", "e|f|g|20"}));
}

TEST(ReadTextLine, StepsOverOneLineEnd) {
  const char* text = "one\r\ntwo\nthree\rfour\r\rfive\n\r\nsix";
  const char* cursor = text;
  for (const char* line : {"one", "two", "three", "four", "", "five", "", "six"})
    EXPECT_EQ(ReadTextLine(&cursor), line) << "a lone carriage return ends its line and nothing more";
  EXPECT_EQ(*cursor, '\0');
  EXPECT_EQ(ReadTextLine(&cursor), "");
  EXPECT_EQ(*cursor, '\0') << "stays at the end";

  const std::string longLine(3000, 'w');
  cursor = longLine.c_str();
  EXPECT_EQ(ReadTextLine(&cursor), longLine);
}
