#include "platform/win32/dialogs.h"

#include "platform/win32/common_controls.h"
#include "platform/win32/control_messages.h"
#include "platform/win32/dialog_template.h"
#include "platform/win32/driver/headless_driver.h"
#include "platform/win32/tests/headless_fixture.h"
#include "platform/win32/virtual_keys.h"

using testing_support::HeadlessTest;

namespace {

DialogTemplateItem Item(WORD atom, int id, DWORD style, short x, short y, short cx, short cy, std::string text = {}) {
  DialogTemplateItem item;
  item.windowClass = TemplateRef::Number(atom);
  item.id = id;
  item.style = style | WS_CHILD | WS_VISIBLE;
  item.x = x;
  item.y = y;
  item.cx = cx;
  item.cy = cy;
  item.title = TemplateRef::Name(std::move(text));
  return item;
}

// A dialog with an edit, a check box, a combo box and OK / Cancel.
std::vector<BYTE> SampleDialog(DWORD extraStyle = 0) {
  DialogTemplate t;
  t.style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | extraStyle;
  t.x = 10;
  t.y = 10;
  t.cx = 200;
  t.cy = 100;
  t.caption = "Sample";
  t.items.push_back(Item(0x81, 100, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 8, 8, 80, 12, "start"));
  t.items.push_back(Item(0x80, 101, BS_AUTOCHECKBOX | WS_TABSTOP, 8, 24, 80, 10, "Check"));
  t.items.push_back(Item(0x85, 102, CBS_DROPDOWN | WS_TABSTOP | WS_VSCROLL, 8, 40, 80, 60));
  t.items.push_back(Item(0x80, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 140, 8, 50, 14, "OK"));
  t.items.push_back(Item(0x80, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 140, 26, 50, 14, "Cancel"));
  return SerializeDialogTemplate(t);
}

struct Calls {
  std::vector<std::pair<int, int>> commands;  // id, code
  int initFocus = 0;
  bool refuseCancel = false;
  std::string textAtOk;
};
Calls* g_calls = nullptr;

INT_PTR SampleProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    g_calls->initFocus = GetDlgCtrlID(reinterpret_cast<HWND>(wParam));
    SendDlgItemMessageA(dialog, 102, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("alpha"));
    SendDlgItemMessageA(dialog, 102, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("beta"));
    return TRUE;
  }
  if (message == WM_COMMAND) {
    g_calls->commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
    if (LOWORD(wParam) == IDOK) {
      char text[64];
      GetDlgItemTextA(dialog, 100, text, sizeof text);
      g_calls->textAtOk = text;
      EndDialog(dialog, IDOK);
    }
    if (LOWORD(wParam) == IDCANCEL && !g_calls->refuseCancel) EndDialog(dialog, IDCANCEL);
    return TRUE;
  }
  return FALSE;
}

class Dialogs : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    g_calls = &calls;
    templ = SampleDialog();
  }
  INT_PTR Run(HWND owner = nullptr) {
    return DialogBoxIndirectParamA(nullptr, reinterpret_cast<LPCDLGTEMPLATEA>(templ.data()), owner, SampleProc, 0);
  }
  bool Saw(int id, int code) const {
    for (auto& c : calls.commands)
      if (c.first == id && c.second == code) return true;
    return false;
  }
  Calls calls;
  std::vector<BYTE> templ;
  HeadlessDriver driver;
};

std::vector<UiEvent> Events(UiEvent::Kind kind) {
  std::vector<UiEvent> out;
  for (const UiEvent& e : UiJournal())
    if (e.kind == kind) out.push_back(e);
  return out;
}

}  // namespace

TEST_F(Dialogs, TemplatesBuildControlsInDialogUnits) {
  HWND owner = TopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 900, 700});
  HWND d = CreateDialogIndirectParamA(nullptr, reinterpret_cast<LPCDLGTEMPLATEA>(templ.data()), owner, SampleProc, 0);
  ASSERT_NE(d, nullptr);
  EXPECT_FALSE(IsWindowVisible(d)) << "no WS_VISIBLE in the template";
  RECT client;
  GetClientRect(d, &client);
  EXPECT_EQ(client.right, 300);
  EXPECT_EQ(client.bottom, 163);
  // The template's position is the client origin, from the owner's client area.
  POINT origin{0, 0};
  ClientToScreen(d, &origin);
  EXPECT_EQ(origin.x, 104 + 15);
  EXPECT_EQ(origin.y, 124 + 16);
  HWND edit = GetDlgItem(d, 100);
  RECT r;
  GetWindowRect(edit, &r);
  EXPECT_EQ(r.left - origin.x, 12);
  EXPECT_EQ(r.right - r.left, 120);
  EXPECT_EQ(r.bottom - r.top, 20);
  // A combo box keeps its field height; its template height is the list.
  GetWindowRect(GetDlgItem(d, 102), &r);
  EXPECT_EQ(r.bottom - r.top, 21);
  EXPECT_EQ(calls.initFocus, 100) << "WM_INITDIALOG names the first tab stop";
  EXPECT_EQ(GetFocus(), edit);
  DWORD start = 9, end = 9;
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 5u) << "the focused edit's text is selected";
  EXPECT_EQ(SendMessageA(d, DM_GETDEFID, 0, 0), MAKELONG(IDOK, DC_HASDEFID));
  EXPECT_EQ(SendMessageA(d, WM_GETFONT, 0, 0), SendMessageA(edit, WM_GETFONT, 0, 0));
  DestroyWindow(d);
}

TEST_F(Dialogs, ModalDialogWithoutInputIsCancelledAndSaysSo) {
  HWND owner = TopLevel();
  EXPECT_EQ(Run(owner), IDCANCEL);
  EXPECT_TRUE(IsWindowEnabled(owner)) << "the owner is enabled again";
  EXPECT_EQ(GetActiveWindow(), owner);
  auto ranOut = Events(UiEvent::Kind::DialogRanOut);
  ASSERT_EQ(ranOut.size(), 1u);
  EXPECT_EQ(ranOut[0].dialog.title, "Sample");
  auto closed = Events(UiEvent::Kind::DialogClosed);
  ASSERT_EQ(closed.size(), 1u);
  EXPECT_EQ(closed[0].result, IDCANCEL);
}

TEST_F(Dialogs, ADialogRefusingToBeCancelledIsEndedAnyway) {
  calls.refuseCancel = true;
  EXPECT_EQ(Run(), IDCANCEL);
  auto ranOut = Events(UiEvent::Kind::DialogRanOut);
  ASSERT_EQ(ranOut.size(), 2u);
  EXPECT_TRUE(ranOut[1].failed);
}

TEST_F(Dialogs, KeyboardInterface) {
  ScopedUiDriver use(&driver);
  driver.OnDialog(-1, {DialogAction::Key(0, "Tab"), DialogAction::Run([](HWND d) {
                         EXPECT_EQ(GetFocus(), GetDlgItem(d, 101));
                       }),
                       DialogAction::Key(0, "Space"), DialogAction::Key(0, "Shift+Tab"),
                       DialogAction::Run([](HWND d) { EXPECT_EQ(GetFocus(), GetDlgItem(d, 100)); }),
                       DialogAction::Type(0, "xy"), DialogAction::Key(0, "Escape"),
                       DialogAction::Run([](HWND d) { EXPECT_EQ(IsDlgButtonChecked(d, 101), 1u); }),
                       DialogAction::Key(0, "Enter")});
  calls.refuseCancel = true;
  EXPECT_EQ(Run(), IDOK);
  EXPECT_TRUE(Saw(IDCANCEL, BN_CLICKED)) << "Escape";
  EXPECT_TRUE(Saw(101, BN_CLICKED)) << "Space clicked the check box";
  EXPECT_EQ(calls.textAtOk, "xy") << "typing replaced the selected text";
  for (const UiEvent& e : Events(UiEvent::Kind::DialogAction)) EXPECT_FALSE(e.failed) << e.detail;
}

TEST_F(Dialogs, EnterOnAFocusedButtonPressesThatButton) {
  ScopedUiDriver use(&driver);
  driver.OnDialog(-1, {DialogAction::Key(IDCANCEL, "Enter")});
  EXPECT_EQ(Run(), IDCANCEL);
  EXPECT_TRUE(Saw(IDCANCEL, BN_CLICKED));
  EXPECT_FALSE(Saw(IDOK, BN_CLICKED));
}

TEST_F(Dialogs, EnterWithADisabledDefaultButtonDoesNothing) {
  ScopedUiDriver use(&driver);
  driver.OnDialog(-1, {DialogAction::Run([](HWND d) { EnableWindow(GetDlgItem(d, IDOK), FALSE); }),
                       DialogAction::Key(100, "Enter"), DialogAction::Ok()});
  EXPECT_EQ(Run(), IDCANCEL);
  EXPECT_FALSE(Saw(IDOK, BN_CLICKED));
  auto actions = Events(UiEvent::Kind::DialogAction);
  ASSERT_EQ(actions.size(), 3u);
  EXPECT_TRUE(actions[2].failed) << "a disabled OK button cannot be clicked";
  EXPECT_NE(actions[2].detail.find("disabled"), std::string::npos);
}

TEST_F(Dialogs, ScriptedActionsWorkTheControls) {
  ScopedUiDriver use(&driver);
  driver.OnDialog(-1, {DialogAction::Set(100, "typed"), DialogAction::Check(101, true),
                       DialogAction::Choose(102, std::string("beta")), DialogAction::Ok()});
  EXPECT_EQ(Run(), IDOK);
  EXPECT_EQ(calls.textAtOk, "typed");
  EXPECT_TRUE(Saw(101, BN_CLICKED));
  EXPECT_TRUE(Saw(102, CBN_DROPDOWN));
  EXPECT_TRUE(Saw(102, CBN_SELCHANGE));
  EXPECT_TRUE(Saw(102, CBN_CLOSEUP));
  ASSERT_EQ(driver.ClosedDialogs().size(), 1u);
  const std::string& shown = driver.ClosedDialogs()[0];
  EXPECT_NE(shown.find("101 Button check=1"), std::string::npos) << shown;
  EXPECT_NE(shown.find("102 ComboBox \"beta\" items=2 selected=1"), std::string::npos) << shown;
  EXPECT_EQ(shown.find("hidden"), std::string::npos) << "ending hid the dialog, not its controls: " << shown;
  EXPECT_EQ(Events(UiEvent::Kind::DialogClosed).at(0).detail, shown) << "the journal keeps the same picture";
  // Leaving the combo box for the OK button took its focus away first.
  auto killAt = std::find(calls.commands.begin(), calls.commands.end(), std::make_pair(102, static_cast<int>(CBN_KILLFOCUS)));
  auto okAt = std::find(calls.commands.begin(), calls.commands.end(), std::make_pair(static_cast<int>(IDOK), static_cast<int>(BN_CLICKED)));
  ASSERT_NE(killAt, calls.commands.end());
  EXPECT_LT(killAt, okAt);
}

// A runner that is not verbose turns the closing description off: the
// journal then keeps the dialog's end without it, the driver its own.
TEST_F(Dialogs, TheClosingDescriptionIsLeftOutWhenTurnedOff) {
  ScopedUiDriver use(&driver);
  struct On {
    ~On() { SetUiJournalDescribesDialogs(true); }
  } on;
  for (const bool describe : {false, true}) {
    SCOPED_TRACE(describe);
    SetUiJournalDescribesDialogs(describe);
    ClearUiJournal();
    driver.OnDialog(-1, {DialogAction::Check(101, true), DialogAction::Ok()});
    EXPECT_EQ(Run(), IDOK);
    const auto closed = Events(UiEvent::Kind::DialogClosed);
    ASSERT_EQ(closed.size(), 1u);
    EXPECT_EQ(closed[0].result, IDOK);
    EXPECT_EQ(closed[0].detail.find("101 Button check=1") != std::string::npos, describe) << closed[0].detail;
    EXPECT_NE(driver.ClosedDialogs().back().find("101 Button check=1"), std::string::npos);
  }
}

TEST_F(Dialogs, FailedActionsAreReportedAndTheScriptGoesOn) {
  ScopedUiDriver use(&driver);
  driver.OnDialog(-1, {DialogAction::Set(999, "x"), DialogAction::Choose(102, 7), DialogAction::Check(IDOK, true),
                       DialogAction::Expect(5000), DialogAction::Ok()});
  EXPECT_EQ(Run(), IDOK);
  auto actions = Events(UiEvent::Kind::DialogAction);
  ASSERT_EQ(actions.size(), 5u);
  EXPECT_TRUE(actions[0].failed);
  EXPECT_NE(actions[0].detail.find("no control 999"), std::string::npos);
  EXPECT_TRUE(actions[1].failed);
  EXPECT_TRUE(actions[2].failed);
  EXPECT_TRUE(actions[3].failed) << "an in-memory template has no id";
  EXPECT_FALSE(actions[4].failed);
}

TEST_F(Dialogs, NavigationSkipsHiddenDisabledAndNonTabStops) {
  HWND d = CreateDialogIndirectParamA(nullptr, reinterpret_cast<LPCDLGTEMPLATEA>(templ.data()), nullptr, SampleProc, 0);
  HWND edit = GetDlgItem(d, 100), check = GetDlgItem(d, 101), combo = GetDlgItem(d, 102);
  HWND ok = GetDlgItem(d, IDOK), cancel = GetDlgItem(d, IDCANCEL);
  EXPECT_EQ(GetNextDlgTabItem(d, edit, FALSE), check);
  EXPECT_EQ(GetNextDlgTabItem(d, edit, TRUE), cancel) << "wraps around";
  EnableWindow(check, FALSE);
  ShowWindow(combo, SW_HIDE);
  EXPECT_EQ(GetNextDlgTabItem(d, edit, FALSE), ok);
  EXPECT_EQ(GetNextDlgTabItem(d, nullptr, FALSE), edit);
  EXPECT_EQ(GetNextDlgTabItem(d, nullptr, TRUE), cancel);
  DestroyWindow(d);
}

TEST_F(Dialogs, ItemCallsReadAndWriteNumbers) {
  HWND d = CreateDialogIndirectParamA(nullptr, reinterpret_cast<LPCDLGTEMPLATEA>(templ.data()), nullptr, SampleProc, 0);
  BOOL ok = FALSE;
  SetDlgItemInt(d, 100, static_cast<UINT>(-42), TRUE);
  EXPECT_EQ(static_cast<int>(GetDlgItemInt(d, 100, &ok, TRUE)), -42);
  EXPECT_TRUE(ok);
  EXPECT_EQ(GetDlgItemInt(d, 100, &ok, FALSE), 0u);
  EXPECT_FALSE(ok) << "no sign allowed unsigned";
  SetDlgItemTextA(d, 100, "  17");
  EXPECT_EQ(GetDlgItemInt(d, 100, &ok, FALSE), 17u);
  SetDlgItemTextA(d, 100, "17x");
  GetDlgItemInt(d, 100, &ok, FALSE);
  EXPECT_FALSE(ok);
  SetDlgItemTextA(d, 100, "4294967296");
  GetDlgItemInt(d, 100, &ok, FALSE);
  EXPECT_FALSE(ok) << "overflow";
  EXPECT_TRUE(CheckDlgButton(d, 101, BST_CHECKED));
  EXPECT_EQ(IsDlgButtonChecked(d, 101), 1u);
  EXPECT_FALSE(CheckDlgButton(d, 555, BST_CHECKED));
  DestroyWindow(d);
}

TEST_F(Dialogs, DamagedTemplatesAreRefused) {
  std::vector<BYTE> bad = templ;
  DialogTemplate t;
  std::string why;
  EXPECT_FALSE(ParseDialogTemplate(bad.data(), bad.size() - 1, &t, &why)) << "cut short";
  EXPECT_FALSE(why.empty());
  bad[4] = static_cast<BYTE>(bad[4] - 1);  // the header claims one byte less than there is
  EXPECT_FALSE(ParseDialogTemplate(bad.data(), bad.size() - 1, &t, &why));
  EXPECT_EQ(CreateDialogIndirectParamA(nullptr, reinterpret_cast<LPCDLGTEMPLATEA>(bad.data()), nullptr, SampleProc, 0),
            nullptr);
  // A control of an unknown class fails the dialog.
  DialogTemplate withUnknown;
  ASSERT_TRUE(ParseDialogTemplate(templ.data(), templ.size(), &withUnknown, nullptr));
  DialogTemplateItem item = withUnknown.items[0];
  item.windowClass = TemplateRef::Name("NoSuchClass");
  withUnknown.items.push_back(item);
  std::vector<BYTE> bytes = SerializeDialogTemplate(withUnknown);
  EXPECT_EQ(DialogBoxIndirectParamA(nullptr, reinterpret_cast<LPCDLGTEMPLATEA>(bytes.data()), nullptr, SampleProc, 0), -1);
  DialogTemplate roundTrip;
  ASSERT_TRUE(ParseDialogTemplate(bytes.data(), bytes.size(), &roundTrip, nullptr));
  EXPECT_EQ(roundTrip, withUnknown);
}
