#include "platform/win32/driver/session_script.h"

#include <gtest/gtest.h>

#include "platform/win32/driver/script_ui_driver.h"
#include "platform/win32/driver/ui_driver.h"

namespace {

SessionScript Loaded(const char* text) {
  SessionScript script;
  std::string error;
  EXPECT_TRUE(script.LoadText(text, "/work/scripts", &error, "s.txt")) << error;
  return script;
}

std::string LoadError(const char* text) {
  SessionScript script;
  std::string error;
  EXPECT_FALSE(script.LoadText(text, ".", &error, "s.txt"));
  EXPECT_FALSE(script.Loaded());
  EXPECT_EQ(script.Peek(), nullptr);
  return error;
}

}  // namespace

TEST(SessionScript, ReadsLinesWithTheirNumbersSkippingCommentsAndBlanks) {
  SessionScript script = Loaded(
      "# a session\n"
      "\n"
      "PICK 2C 10.5 -3   # the riser\r\n"
      "select-window 0 0 1e3 +500\n"
      "  file \"Vantrix data/\\\"x\\\".cad\"\n"
      "cancel");
  std::vector<ScriptLine> lines = script.Remaining();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].number, 3);
  EXPECT_EQ(lines[0].keyword, "pick");
  EXPECT_EQ(lines[0].args, (std::vector<std::string>{"2C", "10.5", "-3"}));
  EXPECT_EQ(lines[0].text, "PICK 2C 10.5 -3");
  EXPECT_EQ(lines[1].args[3], "+500");
  EXPECT_EQ(lines[2].number, 5);
  EXPECT_EQ(lines[2].args, (std::vector<std::string>{"Vantrix data/\"x\".cad"}));
  EXPECT_EQ(lines[3].keyword, "cancel");
  EXPECT_TRUE(lines[3].args.empty());
}

TEST(SessionScript, RefusesBadLinesNamingTheLine) {
  EXPECT_EQ(LoadError("select 2C\njump 3\n"), "s.txt line 2: unknown keyword 'jump'");
  EXPECT_EQ(LoadError("select 2C G7\n"), "s.txt line 1: select 'G7' is not an entity handle");
  EXPECT_EQ(LoadError("select 0\n"), "s.txt line 1: select '0' is not an entity handle");
  EXPECT_EQ(LoadError("\n\npoint 1\n"), "s.txt line 3: point takes 2 to 3 arguments");
  EXPECT_EQ(LoadError("point 1 x\n"), "s.txt line 1: point 'x' is not a number");
  EXPECT_EQ(LoadError("pick 2C 5\n"), "s.txt line 1: pick takes a handle and optionally the pick point X Y");
  EXPECT_EQ(LoadError("select-window 0 0 1\n"), "s.txt line 1: select-window takes 4 arguments");
  EXPECT_EQ(LoadError("answer maybe\n"),
            "s.txt line 1: answer 'maybe' is not a button (ok, cancel, yes, no, abort, retry, "
            "ignore, tryagain, continue)");
  EXPECT_EQ(LoadError("cancel now\n"), "s.txt line 1: cancel takes 0 arguments");
  EXPECT_EQ(LoadError("file \"open\n"), "s.txt line 1: a quoted argument is not closed");
  EXPECT_EQ(LoadError("select\n"), "s.txt line 1: select takes at least 1 argument");
}

TEST(SessionScript, AMissingFileIsAnError) {
  SessionScript script;
  std::string error;
  EXPECT_FALSE(script.Load("/nonexistent/session.txt", &error));
  EXPECT_EQ(error, "/nonexistent/session.txt: cannot read the script");
}

TEST(SessionScript, ConsumersTakeOnlyTheirAnswersAndReportTheRest) {
  SessionScript script = Loaded("point 1 2\nanswer yes\n");
  EXPECT_FALSE(script.Take({"pick", "cancel"}));
  EXPECT_FALSE(script.TakeFor({"pick", "cancel"}, "Select \"Pick\" (single pick)"));
  ASSERT_EQ(script.Unanswered().size(), 1u);
  EXPECT_EQ(script.Unanswered()[0], "Select \"Pick\" (single pick): script line 1 is \"point 1 2\"");
  // The line stays for its own call.
  std::optional<ScriptLine> point = script.TakeFor({"point", "cancel"}, "GetPoint");
  ASSERT_TRUE(point);
  EXPECT_EQ(point->args[1], "2");
  EXPECT_TRUE(script.NextIs({"answer"}));
  EXPECT_TRUE(script.Take({"answer"}));
  EXPECT_FALSE(script.TakeFor({"point"}, "GetPoint \"Again\""));
  EXPECT_EQ(script.Unanswered().back(), "GetPoint \"Again\": the script has no more lines");

  SessionScript none;
  none.ReportUnanswered("GetPoint");
  EXPECT_EQ(none.Unanswered().back(), "GetPoint: no script");
}

TEST(SessionScript, ErrorsAndRemainingLines) {
  SessionScript script = Loaded("pick 2C\nselect 40 41\n");
  std::optional<ScriptLine> pick = script.Take({"pick"});
  script.ReportError(*pick, "the drawing has no entity with handle 2C");
  EXPECT_EQ(script.Errors(), (std::vector<std::string>{"line 1: the drawing has no entity with handle 2C"}));
  ASSERT_EQ(script.Remaining().size(), 1u);
  EXPECT_EQ(script.Remaining()[0].number, 2);
  script.Clear();
  EXPECT_TRUE(script.Errors().empty());
  EXPECT_TRUE(script.Remaining().empty());
}

TEST(SessionScript, FilesAreFoundBesideTheScriptInCodePage1250) {
  SessionScript script = Loaded("file x.cad\n");
  EXPECT_EQ(script.ResolveFile("data/x.cad"), "/work/scripts/data/x.cad");
  EXPECT_EQ(script.ResolveFile("/abs/x.cad"), "/abs/x.cad");
  EXPECT_EQ(script.ResolveFile("\xC4\x8D\x61s.cad"), "/work/scripts/\xE8\x61s.cad");  // "čas" in 1250
}

TEST(SessionScript, OtherLayersAddKeywords) {
  ScriptArgumentCheck oneWord = [](const std::vector<std::string>& args, std::string* why) {
    if (args.size() == 1) return true;
    *why = "takes one control name";
    return false;
  };
  EXPECT_TRUE(RegisterSessionKeyword("Click-Test", oneWord));
  EXPECT_FALSE(RegisterSessionKeyword("click-test", nullptr));
  EXPECT_FALSE(RegisterSessionKeyword("pick", nullptr));
  EXPECT_TRUE(IsSessionKeyword("CLICK-TEST"));
  SessionScript script = Loaded("click-test IDOK\n");
  EXPECT_EQ(script.Peek()->keyword, "click-test");
  EXPECT_EQ(LoadError("click-test\n"), "s.txt line 1: click-test takes one control name");
}

TEST(ScriptUiDriver, MessageBoxesTakeAnswerLines) {
  SessionScript script = Loaded("answer no\nanswer retry\npoint 1 1\n");
  ScriptUiDriver driver(&script);
  ScopedUiDriver scoped(&driver);
  ClearUiJournal();
  EXPECT_EQ(MessageBoxA(nullptr, "Keep?", "Dravik 2D", MB_YESNO), IDNO);
  // An answer that is no button of the box is used up and refused.
  EXPECT_EQ(MessageBoxA(nullptr, "Done", "Dravik 2D", MB_OK), IDOK);
  // The next line is no answer: the box keeps its first button.
  EXPECT_EQ(MessageBoxA(nullptr, "Again?", "Dravik 2D", MB_YESNOCANCEL), IDYES);
  std::vector<UiEvent> journal = UiJournal();
  ASSERT_EQ(journal.size(), 3u);
  EXPECT_TRUE(journal[0].answered);
  EXPECT_EQ(journal[1].refused, IDRETRY);
  EXPECT_FALSE(journal[2].answered);
  EXPECT_TRUE(script.NextIs({"point"}));
  EXPECT_EQ(ButtonOfAnswer("tryagain"), IDTRYAGAIN);
  EXPECT_FALSE(ButtonOfAnswer("maybe"));
  EXPECT_STREQ(AnswerOfButton(IDCANCEL), "cancel");
}
