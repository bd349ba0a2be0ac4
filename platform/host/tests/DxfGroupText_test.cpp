#include "platform/host/DxfGroupText.h"

#include <gtest/gtest.h>

namespace host {
namespace {

std::vector<DxfToken> Tokens(std::string_view text) {
  std::vector<DxfToken> tokens;
  DxfError error;
  EXPECT_TRUE(TokenizeDxf(text, tokens, &error)) << error.ToString();
  return tokens;
}

TEST(DxfGroupText, AnyLineEndIsALineEnd) {
  for (std::string_view text : {"  0\nLINE\n  8\nA B \n", "  0\r\nLINE\r\n  8\r\nA B \r\n",
                                "  0\rLINE\r  8\rA B \r", "  0\r\nLINE\n  8\rA B "}) {
    auto tokens = Tokens(text);
    ASSERT_EQ(tokens.size(), 2u) << text;
    EXPECT_EQ(tokens[0].code, 0);
    EXPECT_EQ(tokens[0].value, "LINE");
    EXPECT_EQ(tokens[1].code, 8);
    EXPECT_EQ(tokens[1].value, "A B ") << "values keep their spaces";
    EXPECT_EQ(tokens[1].line, 3);
  }
}

TEST(DxfGroupText, EmptyValuesAndPaddedCodes) {
  auto tokens = Tokens("\xEF\xBB\xBF  1\n\n 1000\n\n\n\n");
  ASSERT_EQ(tokens.size(), 2u);
  EXPECT_EQ(tokens[0].value, "");
  EXPECT_EQ(tokens[1].code, 1000);
  EXPECT_EQ(tokens[1].value, "");
}

TEST(DxfGroupText, StopsAfterEof) {
  auto tokens = Tokens("0\nEOF\ngarbage\x1A\x00");
  ASSERT_EQ(tokens.size(), 1u);
  EXPECT_EQ(tokens[0].value, "EOF");
}

TEST(DxfGroupText, BadInputNamesTheLine) {
  struct Case {
    std::string_view text;
    int line;
    const char* words;
  } cases[] = {
      {"0\nLINE\nX\n1\n", 3, "found 'X'"},
      {"0\nLINE\n\n1\n", 3, "empty line"},
      {"0\nLINE\n8", 3, "no value"},
      {"0\nLINE\n40000\nA\n", 3, "out of range"},
      {"0\nLINE\n8.5\nA\n", 3, "found '8.5'"},
  };
  for (const Case& c : cases) {
    std::vector<DxfToken> tokens;
    DxfError error;
    EXPECT_FALSE(TokenizeDxf(c.text, tokens, &error)) << c.text;
    EXPECT_EQ(error.line, c.line) << c.text;
    EXPECT_NE(error.message.find(c.words), std::string::npos) << error.message;
  }
}

TEST(DxfGroupText, PairsRoundTrip) {
  PairList pairs{{0, "TEXT"}, {8, "0"}, {1, " padded "}, {1000, ""}, {-3, "x"}};
  std::string text = FormatPairs(pairs);
  EXPECT_EQ(text.substr(0, 16), "  0\nTEXT\n  8\n0\n ");
  PairList back;
  DxfError error;
  ASSERT_TRUE(ParsePairs(text + "  0\nEOF\n  0\nLINE\n", back, &error)) << error.ToString();
  ASSERT_EQ(back.size(), pairs.size());
  for (size_t i = 0; i < pairs.size(); ++i) {
    EXPECT_EQ(back[i].code, pairs[i].code);
    EXPECT_EQ(back[i].value, pairs[i].value);
  }
}

}  // namespace
}  // namespace host
