// Framework dialogs run from a session script, as the runner runs them:
// which dialog takes which lines, what happens when the lines run out or
// belong to something else, failed actions, file dialogs from a dialog.
#include <string>
#include <vector>

#include "platform/mfc/CDataExchange.h"
#include "platform/mfc/CDialog.h"
#include "platform/mfc/CFileDialog.h"
#include "platform/mfc/CListCtrl.h"
#include "platform/mfc/tests/framework_fixture.h"
#include "platform/win32/driver/script_ui_driver.h"

namespace {

class ScriptedForm : public CDialog {
 public:
  ScriptedForm() : CDialog(IDD_FORM) {}
  CString name;
  CString number;
  int descriptions = 1;
  int kind = 0;
  CListCtrl rows;
  std::vector<int> checkedRows;

 protected:
  void DoDataExchange(CDataExchange* dx) override {
    DDX_Control(dx, IDC_ROWS, rows);
    DDX_Text(dx, IDC_NAME, name);
    DDX_CBString(dx, IDC_NUMBER, number);
    DDX_Check(dx, IDC_DESCRIPTIONS, descriptions);
    DDX_CBIndex(dx, IDC_KIND, kind);
  }
  BOOL OnInitDialog() override {
    for (const char* k : {"a", "b", "c"}) SendDlgItemMessage(IDC_KIND, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(k));
    CDialog::OnInitDialog();
    rows.SetExtendedStyle(LVS_EX_CHECKBOXES);
    rows.InsertColumn(0, "Row", LVCFMT_LEFT, 100);
    for (int i = 0; i < 3; ++i) rows.InsertItem(i, "row");
    return TRUE;
  }
  void OnOK() override {
    checkedRows.clear();
    for (int i = 0; i < rows.GetItemCount(); ++i)
      if (rows.GetCheck(i)) checkedRows.push_back(i);
    CDialog::OnOK();
  }
  afx_msg void OnBrowse() {
    CFileDialog dialog(FALSE, "txt", nullptr, 0, "Text (*.txt)|*.txt||", this);
    if (dialog.DoModal() == IDOK) SetDlgItemText(IDC_NAME, dialog.GetPathName());
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ScriptedForm, CDialog)
  ON_BN_CLICKED(IDC_BROWSE, &ScriptedForm::OnBrowse)
END_MESSAGE_MAP()

class ScriptedDialogs : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    SetUiDriver(&scriptDriver);  // the fixture puts its own driver back
  }
  void Load(const char* text) {
    std::string error;
    ASSERT_TRUE(script.LoadText(text, "/data/run", &error, "s.txt")) << error;
  }
  std::string LoadError(const char* text) {
    std::string error;
    EXPECT_FALSE(script.LoadText(text, "/data/run", &error, "s.txt"));
    return error;
  }

  SessionScript script;
  ScriptUiDriver scriptDriver{&script};
};

}  // namespace

TEST_F(ScriptedDialogs, TheScriptFillsTheDialogLineByLine) {
  Load(
      "dialog 6000\n"
      "set 6001 \"\xC5\xBDlu\xC5\xA5ou\xC4\x8Dk\xC3\xBD\"\n"  // UTF-8 in the script
      "type 6007 12\n"
      "check 6004 0\n"
      "choose 6008 b\n"
      "check 6009 2 1\n"
      "ok\n");
  ScriptedForm form;
  ASSERT_EQ(form.DoModal(), IDOK);
  EXPECT_EQ(form.name, "\x8Elu\x9Dou\xE8k\xFD") << "code page 1250 inside";
  EXPECT_EQ(form.number, "12");
  EXPECT_EQ(form.descriptions, 0);
  EXPECT_EQ(form.kind, 1);
  EXPECT_EQ(form.checkedRows, std::vector<int>{2});
  EXPECT_TRUE(script.Remaining().empty());
  EXPECT_TRUE(script.Unanswered().empty());
  EXPECT_TRUE(script.Errors().empty());
}

TEST_F(ScriptedDialogs, EachOpeningOfATemplateTakesOnlyItsOwnLines) {
  Load(
      "dialog 6000\n"
      "set 6001 first\n"
      "dialog 6000\n"
      "set 6001 second\n"
      "ok\n");
  ScriptedForm once, twice;
  EXPECT_EQ(once.DoModal(), IDCANCEL) << "the next dialog line is for the next opening";
  EXPECT_EQ(once.name, "");
  ASSERT_EQ(script.Unanswered().size(), 1u);
  EXPECT_EQ(script.Unanswered()[0], "dialog 6000 \"Form\": script line 3 is \"dialog 6000\"");
  EXPECT_EQ(twice.DoModal(), IDOK);
  EXPECT_EQ(twice.name, "second");
  auto ranOut = Events(UiEvent::Kind::DialogRanOut);
  ASSERT_EQ(ranOut.size(), 1u);
}

TEST_F(ScriptedDialogs, ADialogMeetingOtherLinesOrTheEndIsCancelledAndLeavesThem) {
  Load(
      "set 6001 x\n"
      "answer yes\n");
  ScriptedForm form;
  EXPECT_EQ(form.DoModal(), IDCANCEL);
  EXPECT_EQ(form.name, "") << "cancelled: no data taken";
  ASSERT_EQ(script.Remaining().size(), 1u);
  EXPECT_EQ(script.Remaining()[0].keyword, "answer") << "left for the box it is meant for";
  EXPECT_EQ(script.Unanswered().back(), "dialog 6000 \"Form\": script line 2 is \"answer yes\"");

  script.Take({"answer"});
  ScriptedForm again;
  EXPECT_EQ(again.DoModal(), IDCANCEL);
  EXPECT_EQ(script.Unanswered().back(), "dialog 6000 \"Form\": the script has no more lines");
}

TEST_F(ScriptedDialogs, AnActionThatCannotBeDoneIsAScriptError) {
  Load(
      "dialog 6000\n"
      "click 9999\n"
      "choose 6008 zz\n"
      "ok\n");
  ScriptedForm form;
  EXPECT_EQ(form.DoModal(), IDOK) << "the run goes on";
  const std::vector<std::string> errors = {"line 2: dialog 6000 \"Form\": no control 9999",
                                           "line 3: dialog 6000 \"Form\": control 6008 has no item \"zz\""};
  EXPECT_EQ(script.Errors(), errors);
}

TEST_F(ScriptedDialogs, FileDialogsOfADialogTakeFileAndCancelLines) {
  Load(
      "click 6010\n"
      "file out/vystup\n"
      "click 6010\n"
      "cancel\n"
      "ok\n");
  ScriptedForm form;
  ASSERT_EQ(form.DoModal(), IDOK);
  EXPECT_EQ(form.name, "/data/run/out/vystup.txt") << "relative to the script, with the default extension";
  auto files = Events(UiEvent::Kind::FileDialog);
  ASSERT_EQ(files.size(), 2u);
  EXPECT_TRUE(files[1].answered);
  EXPECT_TRUE(files[1].fileAnswer.cancelled);
  EXPECT_TRUE(script.Remaining().empty());
}

TEST_F(ScriptedDialogs, BadDialogLinesFailTheLoad) {
  EXPECT_EQ(LoadError("set 6001\n"), "s.txt line 1: set needs a control id and a text");
  EXPECT_EQ(LoadError("ok\ncheck 6004 2\n"), "s.txt line 2: check needs a control id, [a row,] and 0 or 1");
  EXPECT_EQ(LoadError("key 6001 Hyper\n"), "s.txt line 1: key needs a control id and a key name");
  EXPECT_EQ(LoadError("dialog export\n"), "s.txt line 1: dialog needs a template id");
  EXPECT_EQ(LoadError("cancel 1\n"), "s.txt line 1: cancel takes 0 arguments") << "the prompt word's own check";
}
