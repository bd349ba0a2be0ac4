#include "wizard/frame/engine/ParameterTexts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "wizard/frame/engine/CDimData.h"
#include "wizard/frame/engine/ScaledCompare.h"
#include "wizard/frame/engine/TextLines.h"

namespace {

using Strings = std::vector<std::string>;

TEST(EvaluateWithDefinitions, SubstitutesNamesAndSlashes) {
  struct Row {
    const char* definitions;
    const char* text;
    const char* output;
  };
  const Row rows[] = {
      {"L=12.6;D=abc;", "#L;x#D;", "13xabc"},
      {"L=-2.5;", "#L;", "-2.5"},
      {"", "#L;", "0"},
      {"L=2.5;", "DN #L;;; mm", "DN 2 mm"},
      {"L=1000;V=600;", "#L;'/'#V", "1000/600"},
      {"A=1;", "a'/'b/c", "a/b/c"},
      {"", "plain", "plain"},
  };
  for (const Row& row : rows) {
    std::string output = "stale";
    EXPECT_EQ(EvaluateWithDefinitions(row.definitions, row.text, output), 0);
    EXPECT_EQ(output, row.output) << row.text << " with " << row.definitions;
  }
}

TEST(LookupDefinitionValue, ReadsAlternatingTokens) {
  std::string out = "stale";
  EXPECT_EQ(LookupDefinitionValue("r=50;L=1000;H=L-100;", "H", out), "L-100");
  EXPECT_EQ(LookupDefinitionValue("r=50;L=1000;", "x", out), "");
  EXPECT_EQ(LookupDefinitionValue("a=1;a=2;", "a", out), "1");
  EXPECT_EQ(LookupDefinitionValue("a=1;b", "b", out), "");
  // An empty value shifts the pairing of what follows.
  EXPECT_EQ(LookupDefinitionValue("a=;b=2;", "a", out), "b");
  EXPECT_EQ(LookupDefinitionValue("a=;b=2;", "2", out), "");
  // No cut at 31-character names or 255-character values.
  const std::string name(40, 'n');
  const std::string value(300, '7');
  EXPECT_EQ(LookupDefinitionValue("x=1;" + name + "=" + value + ";", name, out), value);
}

TEST(RoundPlainNumber, OnlyDigitsAndPointsAreRounded) {
  const std::pair<const char*, const char*> rows[] = {
      {"12.6", "13"}, {"2.5", "2"}, {"3.5", "4"}, {"12.5", "12"}, {"", "0"},
      {".", "0"},     {"1.2.3", "1"}, {"007", "7"}, {"-2.5", "-2.5"}, {"1e3", "1e3"},
      {"abc", "abc"}, {" 1", " 1"},
  };
  for (const auto& [in, out] : rows) {
    std::string buffer = in;
    RoundPlainNumber(buffer);
    EXPECT_EQ(buffer, out) << in;
  }
}

TEST(SplitParam, NamesAndValues) {
  struct Row {
    const char* text;
    Strings values;
  };
  const Row valueRows[] = {
      {"a'/'b/c", {"a'/'b", "c"}},
      {"a/", {"a"}},
      {"", {""}},
      {"/", {""}},
      {"a//b", {"a", "", "b"}},
      {"1000/600/100", {"1000", "600", "100"}},
  };
  for (const Row& row : valueRows) {
    Strings values{"kept"};
    EXPECT_TRUE(SplitParamValues(row.text, values));
    Strings expected{"kept"};
    expected.insert(expected.end(), row.values.begin(), row.values.end());
    EXPECT_EQ(values, expected) << row.text;
  }

  Strings names;
  EXPECT_FALSE(SplitParamNames("no names/here", names));
  EXPECT_TRUE(SplitParamNames("#L/#DN", names));
  EXPECT_TRUE(SplitParamNames("x#V/y/#S", names));
  EXPECT_EQ(names, (Strings{"L", "DN", "V", "S"}));
  const std::string longName(300, 'N');
  EXPECT_TRUE(SplitParamNames("#" + longName, names));
  EXPECT_EQ(names.back(), longName);
}

TEST(ReadTextLine, LinesOfEveryEndingComeWhole) {
  const std::string longLine(2000, 'x');
  const std::string text = "a\r\nb\nc\rd\n\re\r\n" + longLine + "\nlast";
  size_t pos = 0;
  std::string line;
  Strings lines;
  while (pos < text.size()) {
    ReadTextLine(text, pos, line);
    lines.push_back(line);
  }
  EXPECT_EQ(lines, (Strings{"a", "b", "c", "d", "", "e", longLine, "last"}));

  // The CR form reports which end it stepped over: fields end with CR,
  // records with LF after the last field's CR.
  const std::string fields = "f1\rf2\r\nf3\r";
  pos = 0;
  std::vector<std::pair<std::string, bool>> read;
  while (pos < fields.size()) {
    const bool cr = ReadTextLineCR(fields, pos, line);
    read.emplace_back(line, cr);
  }
  EXPECT_EQ(read, (std::vector<std::pair<std::string, bool>>{
                      {"f1", true}, {"f2", true}, {"", false}, {"f3", true}}));
  EXPECT_FALSE(ReadTextLineCR(fields, pos, line));
  EXPECT_EQ(line, "");
}

TEST(CompareScaled, TruncatesTheScaledDifference) {
  struct Row {
    double a, b;
    int factor;
    int result;
  };
  const Row rows[] = {
      {1.0004, 1.0, 1000, 0}, {1.0016, 1.0, 1000, 1}, {1.0, 1.0016, 1000, -1},
      {3e7, 0, 1000, 1},      {0, 3e7, 1000, -1},     {5.009, 5.0, 100, 0},
      {5.011, 5.0, 100, 1},
  };
  for (const Row& r : rows) EXPECT_EQ(CompareScaled(r.a, r.b, r.factor), r.result) << r.a << " " << r.b;
  EXPECT_TRUE(PointsMatch({1.004, 2, 3}, {1, 2.005, 3}, 100));
  EXPECT_FALSE(PointsMatch({1, 2, 3.02}, {1, 2, 3}, 100));
}

TEST(CDimData, FolderEndsInABackslash) {
  EXPECT_EQ(CDimData("C:\\Profile\\Dat").GetFolder(), "C:\\Profile\\Dat\\");
  CDimData data("Dat\\");
  EXPECT_EQ(data.GetFolder(), "Dat\\");
  data.SetFolder("");
  EXPECT_EQ(data.GetFolder(), "");
  data.SetFolder(nullptr);
  EXPECT_EQ(data.GetFolder(), "");
}

}  // namespace
