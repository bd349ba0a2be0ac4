// Lines of a points text: each view's group, each point's four lines.
#include "wizard/frame/ProductConnection.h"

#include <gtest/gtest.h>

#include <string>

#include "wizard/frame/CWizardDllApp.h"

namespace {

// Group A: two points; B: none; C: one point; 3D: missing altogether.
// Line ends of every kind.
const char* kPoints =
    "2\r\n"
    "20/25\r\nCu\r\nsupply\r\nA\r\n"
    "15\nCu\nreturn\nB\n"
    "0\r"
    "1\n"
    "32\nPE\nwaste\nC\n";

}  // namespace

TEST(ReadPointLine, EachGroupAndPointAndLine) {
  struct Case {
    unsigned group, index, line;
    bool found;
    const char* text;
  } const cases[] = {
      {0, 0, 0, true, "20/25"}, {0, 0, 3, true, "A"},    {0, 1, 0, true, "15"}, {0, 1, 2, true, "return"},
      {0, 2, 0, false, ""},     {1, 0, 0, false, ""},   {2, 0, 0, true, "32"}, {2, 0, 3, true, "C"},
      {3, 0, 0, false, ""},     {0, 0, 4, false, ""},   {9, 0, 0, false, ""},
  };
  for (const Case& c : cases) {
    std::string line = "unchanged";
    EXPECT_EQ(ReadPointLine(kPoints, c.group, c.index, c.line, 255, line), c.found)
        << c.group << "/" << c.index << "/" << c.line;
    if (c.found) {
      EXPECT_EQ(line, c.text);
    }
  }
  std::string line;
  EXPECT_FALSE(ReadPointLine(nullptr, 0, 0, 0, 255, line));
  EXPECT_FALSE(ReadPointLine("", 0, 0, 0, 255, line));
}

TEST(ReadPointLine, LongLinesAreCutAndTheNextLineFollows) {
  const std::string text = "2\n" + std::string(300, 'x') + "\nb\nc\nA\n15\nb\nc\nB\n";
  std::string line;
  ASSERT_TRUE(ReadPointLine(text.c_str(), 0, 0, 0, 255, line));
  EXPECT_EQ(line, std::string(255, 'x'));
  ASSERT_TRUE(ReadPointLine(text.c_str(), 0, 1, 3, 255, line));
  EXPECT_EQ(line, "B");

  char name[8];
  EXPECT_TRUE(TheWizardApp().GetPointText(kPoints, 0, 0, name, sizeof name));
  EXPECT_STREQ(name, "20/25");
  EXPECT_TRUE(TheWizardApp().GetPointText(text.c_str(), 0, 0, name, sizeof name));
  EXPECT_STREQ(name, "xxxxxxx") << "cut to the caller's buffer";
  EXPECT_FALSE(TheWizardApp().GetPointText(kPoints, 5, 0, name, sizeof name));
}
