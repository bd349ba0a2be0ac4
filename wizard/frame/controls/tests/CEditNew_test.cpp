// The filtered edit boxes of the tests' dialog, typed into key by key: the
// kinds' filters, the one point of a decimal box wherever the caret is,
// Enter read by the dialog instead of pressing OK, and Ctrl+V unfiltered.
#include "wizard/frame/controls/CEditNew.h"

#include <cstring>
#include <string>

#include "platform/win32/clipboard.h"
#include "wizard/frame/controls/tests/ControlsTest.h"

using namespace controls_tests;

namespace {

class FilteredEdit : public ControlsTest {
 protected:
  std::string Text(CWnd& box) const {
    CString text;
    box.GetWindowText(text);
    return static_cast<LPCSTR>(text);
  }
  size_t Beeps() const { return Events(UiEvent::Kind::Beep).size(); }
  static void PutOnClipboard(const char* text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, std::strlen(text) + 1);
    std::memcpy(GlobalLock(memory), text, std::strlen(text) + 1);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
  }

  ControlsDialog dialog{wizard_};
};

}  // namespace

TEST_F(FilteredEdit, TypedKeysPassTheBoxsKind) {
  struct Case {
    uint32_t kind;
    const char* keys;
    const char* text;
    size_t beeps;
  };
  // The kinds' rules are the filter's (EditInputFilter_test): here they
  // meet the keyboard and the box.
  const Case cases[] = {
      {EditInput::kDigits, "1a\b2", "2", 1},
      {EditInput::kFileName, "a:b", "ab", 1},
      {EditInput::kLetters, "\xE1z", "z", 1},
  };
  std::vector<DialogAction> actions;
  size_t before = 0;
  for (const Case& c : cases) {
    actions.push_back(DialogAction::Run([&, c](HWND) {
      dialog.number.SetInputKind(c.kind);
      dialog.number.SetWindowText("");
      before = Beeps();
    }));
    actions.push_back(DialogAction::Type(IDC_NUMBER, c.keys));
    actions.push_back(DialogAction::Run([&, c](HWND) {
      EXPECT_EQ(Text(dialog.number), c.text) << "kind " << c.kind << ", keys " << c.keys;
      EXPECT_EQ(Beeps() - before, c.beeps) << "kind " << c.kind << ", keys " << c.keys;
    }));
  }
  actions.push_back(DialogAction::Cancel());
  Run(dialog, std::move(actions));
}

TEST_F(FilteredEdit, ADecimalBoxTakesOnePointWhereverTheCaretIs) {
  Run(dialog, {DialogAction::Type(IDC_NUMBER, "-1,5"), DialogAction::Type(IDC_NUMBER, "."),
               DialogAction::Key(IDC_NUMBER, "Home"), DialogAction::Type(IDC_NUMBER, "."),
               DialogAction::Run([&](HWND) {
                 EXPECT_EQ(Text(dialog.number), "-1.5");
                 EXPECT_EQ(Beeps(), 2u) << "at the end and with the caret at the start";
                 dialog.number.SetSel(0, -1);
               }),
               DialogAction::Type(0, "2,"), DialogAction::Run([&](HWND) {
                 EXPECT_EQ(Text(dialog.number), "2.") << "the old point went with the selection";
               }),
               DialogAction::Cancel()});
}

TEST_F(FilteredEdit, EnterGoesToTheDialogAndNeverPressesItsDefaultButton) {
  const INT_PTR result = Run(dialog, {DialogAction::Type(IDC_NOTE, "note"), DialogAction::Key(IDC_NOTE, "Enter"),
                                      DialogAction::Run([&](HWND d) {
                                        EXPECT_TRUE(::IsWindowVisible(d));
                                        ASSERT_EQ(dialog.privateMessages.size(), 1u);
                                        EXPECT_EQ(dialog.privateMessages[0], std::make_pair(IDC_NOTE, kEditEnter));
                                        EXPECT_EQ(Text(dialog.note), "note") << "no line break typed";
                                      }),
                                      DialogAction::Cancel()});
  EXPECT_EQ(result, IDCANCEL);
}

TEST_F(FilteredEdit, CtrlVPastesUnfilteredIntoANumericBox) {
  PutOnClipboard("12ab,x");
  Run(dialog, {DialogAction::Run([&](HWND) { dialog.number.SetInputKind(EditInput::kDigits); }),
               DialogAction::Key(IDC_NUMBER, "Ctrl+V"), DialogAction::Run([&](HWND) {
                 EXPECT_EQ(Text(dialog.number), "12ab,x") << "the owner checks the value when it is used";
                 EXPECT_EQ(Beeps(), 0u);
                 EXPECT_FALSE(dialog.number.ctrlHeld) << "Ctrl is up again";
               }),
               DialogAction::Cancel()});
}
