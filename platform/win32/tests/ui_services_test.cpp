#include "platform/win32/driver/ui_driver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Answers from a list, remembering what it was asked.
class ScriptedDriver : public UiDriver {
 public:
  std::vector<std::optional<int>> answers;
  std::vector<MessageBoxCall> asked;
  std::vector<UINT> beeps;

  std::optional<int> AnswerMessageBox(const MessageBoxCall& box) override {
    asked.push_back(box);
    if (answers.empty()) return std::nullopt;
    std::optional<int> a = answers.front();
    answers.erase(answers.begin());
    return a;
  }
  void Beep(UINT type) override { beeps.push_back(type); }
};

}  // namespace

TEST(UiServices, DefaultDriverPressesTheFirstButtonAndSaysSo) {
  ClearUiJournal();
  EXPECT_EQ(MessageBoxA(nullptr, "Reset?", "Title", MB_YESNO | MB_ICONQUESTION), IDYES);
  EXPECT_EQ(MessageBoxA(nullptr, "Failed", "Title", 16), IDOK);
  EXPECT_EQ(MessageBoxA(nullptr, "Retry?", "Title", MB_CANCELTRYCONTINUE | MB_DEFBUTTON2), IDCANCEL);
  std::vector<UiEvent> journal = UiJournal();
  ASSERT_EQ(journal.size(), 3u);
  EXPECT_EQ(journal[0].kind, UiEvent::Kind::MessageBox);
  EXPECT_EQ(journal[0].box.text, "Reset?");
  EXPECT_EQ(journal[0].box.caption, "Title");
  EXPECT_EQ(journal[0].box.type, MB_YESNO | MB_ICONQUESTION);
  EXPECT_FALSE(journal[0].answered);
  EXPECT_EQ(journal[0].answer, IDYES);
  EXPECT_FALSE(journal[0].refused.has_value());
}

TEST(UiServices, InstalledDriverAnswersAndIsRecorded) {
  ClearUiJournal();
  ScriptedDriver driver;
  driver.answers = {IDNO, IDOK};
  HWND owner = reinterpret_cast<HWND>(0x42);
  {
    ScopedUiDriver use(&driver);
    EXPECT_EQ(MessageBoxA(owner, "Reset the numbers?", "Host", MB_YESNO), IDNO);
    // IDOK is no button of a Yes/No box: refused, the first button is used.
    EXPECT_EQ(MessageBoxA(owner, "Again?", "Host", MB_YESNO), IDYES);
    EXPECT_EQ(MessageBoxA(owner, "Done", nullptr, MB_OK), IDOK);
  }
  ASSERT_EQ(driver.asked.size(), 3u);
  EXPECT_EQ(driver.asked[0].owner, owner);
  EXPECT_EQ(driver.asked[2].caption, "Error") << "a box without caption is titled Error";

  std::vector<UiEvent> journal = UiJournal();
  ASSERT_EQ(journal.size(), 3u);
  EXPECT_TRUE(journal[0].answered);
  EXPECT_EQ(journal[0].answer, IDNO);
  EXPECT_FALSE(journal[1].answered);
  EXPECT_EQ(journal[1].refused, IDOK);
  EXPECT_FALSE(journal[2].answered) << "the driver ran out of answers";

  // The scope put the default driver back.
  EXPECT_EQ(MessageBoxA(nullptr, "x", "y", MB_OKCANCEL), IDOK);
  EXPECT_EQ(driver.asked.size(), 3u);
}

TEST(UiServices, BoxesWithoutButtonsAndBeeps) {
  ClearUiJournal();
  ScriptedDriver driver;
  ScopedUiDriver use(&driver);
  EXPECT_EQ(MessageBoxA(nullptr, "x", "y", 0x0F), 0) << "no such box type";
  EXPECT_TRUE(driver.asked.empty());
  EXPECT_TRUE(MessageBeep(MB_ICONERROR));
  EXPECT_EQ(driver.beeps, std::vector<UINT>{MB_ICONERROR});
  std::vector<UiEvent> journal = UiJournal();
  ASSERT_EQ(journal.size(), 2u);
  EXPECT_EQ(journal[1].kind, UiEvent::Kind::Beep);
  EXPECT_EQ(journal[1].beepType, MB_ICONERROR);
  ClearUiJournal();
  EXPECT_TRUE(UiJournal().empty());
}

TEST(UiServices, ButtonsOfEveryBoxType) {
  EXPECT_EQ(MessageBoxButtons(MB_OK), std::vector<int>{IDOK});
  EXPECT_EQ(MessageBoxButtons(MB_ABORTRETRYIGNORE | MB_ICONERROR), (std::vector<int>{IDABORT, IDRETRY, IDIGNORE}));
  EXPECT_EQ(MessageBoxButtons(MB_YESNOCANCEL), (std::vector<int>{IDYES, IDNO, IDCANCEL}));
  EXPECT_EQ(MessageBoxButtons(MB_RETRYCANCEL), (std::vector<int>{IDRETRY, IDCANCEL}));
  EXPECT_TRUE(MessageBoxButtons(7).empty());
}
