#include "platform/win32/driver/dialog_actions.h"

#include <gtest/gtest.h>

namespace {

DialogAction Parse(const std::string& keyword, std::vector<std::string> args) {
  DialogAction a;
  std::string why;
  EXPECT_TRUE(ParseDialogAction(keyword, args, &a, &why)) << keyword << ": " << why;
  return a;
}

std::string Refusal(const std::string& keyword, std::vector<std::string> args) {
  DialogAction a;
  std::string why;
  EXPECT_FALSE(ParseDialogAction(keyword, args, &a, &why)) << keyword;
  return why;
}

}  // namespace

TEST(DialogActionWords, EveryScriptWordParsesAndDescribesItself) {
  EXPECT_EQ(Parse("dialog", {"5005"}).Describe(), "dialog 5005");
  EXPECT_EQ(Parse("set", {"5054", "12"}).Describe(), "set 5054 12");
  EXPECT_EQ(Parse("set", {"5039", "C:\\a b.txt"}).Describe(), "set 5039 \"C:\\\\a b.txt\"");
  EXPECT_EQ(Parse("set", {"5039", ""}).Describe(), "set 5039 \"\"");
  EXPECT_EQ(Parse("type", {"5054", "-1,5"}).Describe(), "type 5054 -1,5");
  EXPECT_EQ(Parse("key", {"5054", "Enter"}).Describe(), "key 5054 Enter");
  EXPECT_EQ(Parse("click", {"5038"}).Describe(), "click 5038");
  EXPECT_EQ(Parse("click", {"1010", "120", "30"}).Describe(), "click 1010 120 30");
  EXPECT_EQ(Parse("dblclick", {"5033", "2"}).Describe(), "dblclick 5033 2");
  EXPECT_EQ(Parse("check", {"5050", "1"}).Describe(), "check 5050 1");
  EXPECT_EQ(Parse("check", {"5033", "3", "0"}).Describe(), "check 5033 3 0");
  EXPECT_EQ(Parse("choose", {"5039", "2"}).Describe(), "choose 5039 2");
  EXPECT_EQ(Parse("choose", {"5039", "Čtyři"}).Describe(), "choose 5039 Čtyři");
  EXPECT_EQ(Parse("edit-cell", {"1010", "2", "1", "2,5"}).Describe(), "edit-cell 1010 2 1 2,5");
  EXPECT_EQ(Parse("edit-cell", {"1010", "0", "0", "a b"}).Describe(), "edit-cell 1010 0 0 \"a b\"");
  EXPECT_EQ(Parse("choose-cell", {"1010", "1", "1", "3"}).Describe(), "choose-cell 1010 1 1 3");
  EXPECT_EQ(Parse("drag-row", {"1011", "0", "2"}).Describe(), "drag-row 1011 0 2");
  EXPECT_EQ(Parse("drag-row", {"1011", "3", "-1"}).Describe(), "drag-row 1011 3 -1");
  EXPECT_EQ(Parse("drag-row", {"1011", "0", "1012", "1"}).Describe(), "drag-row 1011 0 1012 1");
  EXPECT_EQ(Parse("ok", {}).Describe(), "ok");
  EXPECT_EQ(Parse("cancel", {}).Describe(), "cancel");
  EXPECT_EQ(Parse("rclick", {"5058", "20", "-3"}).Describe(), "rclick 5058 20 -3");
  EXPECT_EQ(Parse("drag", {"5058", "middle", "1", "2", "30", "40"}).Describe(), "drag 5058 middle 1 2 30 40");
  EXPECT_EQ(Parse("drag", {"5058", "left", "1", "2", "30", "40"}).Describe(), "drag 5058 left 1 2 30 40");
  EXPECT_EQ(Parse("wheel", {"5058", "-2"}).Describe(), "wheel 5058 -2");
  EXPECT_EQ(Parse("preview-pick", {"5058", "10001"}).Describe(), "preview-pick 5058 10001");
  EXPECT_EQ(Parse("resize", {"640", "480"}).Describe(), "resize 640 480");
}

TEST(DialogActionWords, TextsBecomeCodePage1250AndDigitsAreIndexes) {
  DialogAction a = Parse("set", {"1", "Žluť"});
  EXPECT_EQ(a.text, "\x8Elu\x9D");
  a = Parse("choose", {"1", "12"});
  EXPECT_FALSE(a.byText);
  EXPECT_EQ(a.index, 12);
  a = Parse("choose", {"1", "=12"});
  EXPECT_TRUE(a.byText);
  EXPECT_EQ(a.text, "12");
  EXPECT_EQ(a.Describe(), "choose 1 =12");
}

TEST(DialogActionWords, BadLinesSayWhy) {
  EXPECT_NE(Refusal("set", {"x", "1"}).find("control id"), std::string::npos);
  EXPECT_FALSE(Refusal("set", {"1"}).empty());
  EXPECT_FALSE(Refusal("key", {"1", "Hyper"}).empty());
  EXPECT_FALSE(Refusal("check", {"1", "2"}).empty());
  EXPECT_FALSE(Refusal("ok", {"1"}).empty());
  EXPECT_FALSE(Refusal("click", {"1", "5"}).empty());
  EXPECT_NE(Refusal("set", {"1", "日本"}).find("code page 1250"), std::string::npos);
  EXPECT_FALSE(Refusal("frobnicate", {}).empty());
  EXPECT_FALSE(Refusal("edit-cell", {"1010", "0", "1"}).empty()) << "no text";
  EXPECT_FALSE(Refusal("edit-cell", {"1010", "-1", "1", "x"}).empty());
  EXPECT_FALSE(Refusal("choose-cell", {"1010", "0", "1", "first"}).empty()) << "an entry is a number";
  EXPECT_FALSE(Refusal("drag-row", {"1011", "0"}).empty());
  EXPECT_FALSE(Refusal("drag-row", {"1011", "0", "-2"}).empty());
  EXPECT_FALSE(Refusal("drag-row", {"1011", "0", "x", "1"}).empty());
  EXPECT_FALSE(Refusal("rclick", {"5058", "20"}).empty());
  EXPECT_FALSE(Refusal("drag", {"5058", "right", "1", "2", "3", "4"}).empty()) << "left or middle";
  EXPECT_FALSE(Refusal("drag", {"5058", "left", "1", "2", "3"}).empty());
  EXPECT_FALSE(Refusal("wheel", {"5058", "0"}).empty()) << "no turn";
  EXPECT_FALSE(Refusal("wheel", {"5058", "274"}).empty()) << "more than a 16-bit delta";
  EXPECT_FALSE(Refusal("preview-pick", {"5058", "0"}).empty()) << "0 names nothing";
  EXPECT_FALSE(Refusal("preview-pick", {"5058"}).empty());
  EXPECT_FALSE(Refusal("resize", {"640"}).empty());
  EXPECT_FALSE(Refusal("resize", {"640", "0"}).empty()) << "no window of no height";
  EXPECT_FALSE(Refusal("resize", {"640", "480", "1"}).empty());
  EXPECT_TRUE(IsDialogActionKeyword("dblclick"));
  EXPECT_FALSE(IsDialogActionKeyword("answer")) << "message boxes are the script's own word";
}
