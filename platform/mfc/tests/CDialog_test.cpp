// A dialog from a resource template run end to end through the framework:
// data exchange both ways, subclassed controls with their own message maps
// and key filters, reflected notifications, private messages, the input
// driver, validation, results.
#include "platform/mfc/CDialog.h"

#include <cctype>
#include <string>
#include <vector>

#include "platform/mfc/AfxMessageBox.h"
#include "platform/mfc/CButton.h"
#include "platform/mfc/CComboBox.h"
#include "platform/mfc/CDataExchange.h"
#include "platform/mfc/CFileDialog.h"
#include "platform/mfc/CListCtrl.h"
#include "platform/mfc/CMenu.h"
#include "platform/mfc/tests/framework_fixture.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/virtual_keys.h"

namespace {

constexpr UINT kEnterInBox = 0x803C;

// Digits only; Enter becomes a private message for the dialog; the list's
// open state is followed through reflected notifications.
class DigitsCombo : public CComboBox {
 public:
  bool dropped = false;
  int dropDowns = 0;

  BOOL PreTranslateMessage(MSG* msg) override {
    HWND edit = ::GetWindow(m_hWnd, GW_CHILD);
    if (msg->hwnd != m_hWnd && msg->hwnd != edit) return CComboBox::PreTranslateMessage(msg);
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
      msg->hwnd = m_hWnd;
      msg->message = kEnterInBox;
      return FALSE;
    }
    if (msg->message == WM_CHAR && msg->wParam != 8 && !std::isdigit(static_cast<int>(msg->wParam))) {
      ::MessageBeep(0xFFFFFFFF);
      return TRUE;
    }
    return CComboBox::PreTranslateMessage(msg);
  }

 protected:
  afx_msg void OnDropDown() {
    dropped = true;
    ++dropDowns;
  }
  afx_msg void OnCloseUp() { dropped = false; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DigitsCombo, CComboBox)
  ON_CONTROL_REFLECT(CBN_DROPDOWN, &DigitsCombo::OnDropDown)
  ON_CONTROL_REFLECT(CBN_CLOSEUP, &DigitsCombo::OnCloseUp)
END_MESSAGE_MAP()

// Rows own a text each; the list frees them as their rows go.
class RowList : public CListCtrl {
 public:
  int freed = 0;

 protected:
  afx_msg void OnDeleteItem(NMHDR* header, LRESULT* result) {
    delete reinterpret_cast<std::string*>(reinterpret_cast<NMLISTVIEW*>(header)->lParam);
    ++freed;
    *result = 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RowList, CListCtrl)
  ON_NOTIFY_REFLECT(LVN_DELETEITEM, &RowList::OnDeleteItem)
END_MESSAGE_MAP()

class FormDialog : public CDialog {
 public:
  explicit FormDialog(CWnd* parent = nullptr) : CDialog(IDD_FORM, parent) {}

  CString name = "start";
  int count = 3;
  double ratio = 0.25;
  int descriptions = 1;
  int unit = 1;
  int kind = 2;
  CString number;
  DigitsCombo numberBox;
  RowList rows;
  CButton okButton;

  std::vector<std::string> events;
  int enterInBox = 0;
  int nameChanges = 0;
  int freedAtClose = -1;

 protected:
  void DoDataExchange(CDataExchange* dx) override {
    DDX_Control(dx, IDC_NUMBER, numberBox);
    DDX_Control(dx, IDC_ROWS, rows);
    DDX_Control(dx, IDOK, okButton);
    DDX_Text(dx, IDC_NAME, name);
    DDV_MaxChars(dx, name, 10);
    DDX_Text(dx, IDC_COUNT, count);
    DDV_MinMaxInt(dx, count, 0, 100);
    DDX_Text(dx, IDC_RATIO, ratio);
    DDX_Check(dx, IDC_DESCRIPTIONS, descriptions);
    DDX_Radio(dx, IDC_METRES, unit);
    DDX_CBIndex(dx, IDC_KIND, kind);
    DDX_CBString(dx, IDC_NUMBER, number);
  }

  BOOL OnInitDialog() override {
    for (const char* k : {"a", "b", "c"}) ::SendDlgItemMessageA(m_hWnd, IDC_KIND, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(k));
    CDialog::OnInitDialog();
    numberBox.AddString("10");
    numberBox.AddString("20");
    numberBox.SetItemData(1, 77);
    rows.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    rows.InsertColumn(0, "Row", LVCFMT_LEFT, 100);
    for (int i = 0; i < 3; ++i) {
      rows.InsertItem(i, ("row" + std::to_string(i)).c_str());
      rows.SetItemData(i, reinterpret_cast<DWORD_PTR>(new std::string("data" + std::to_string(i))));
    }
    rows.SetCheck(1, TRUE);
    nameChanges = 0;
    return TRUE;
  }

  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message == kEnterInBox && msg->hwnd == numberBox.m_hWnd) {
      ++enterInBox;
      numberBox.SetEditSel(0, -1);
      return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
  }

  afx_msg void OnBack() { EndDialog(-4); }
  afx_msg void OnBrowse() {
    CString filter;
    filter.LoadString(IDS_FILTER);
    CFileDialog dialog(FALSE, "txt", "", 0, filter, this);
    if (dialog.DoModal() == IDOK) SetDlgItemText(IDC_NAME, dialog.GetFileName());
  }
  afx_msg void OnNumberKillFocus() {
    CString text;
    numberBox.GetWindowText(text);
    events.push_back("number left: " + std::string(text.GetString()));
  }
  afx_msg void OnNameChange() { ++nameChanges; }
  afx_msg void OnRowChanged(NMHDR* header, LRESULT* result) {
    auto* lv = reinterpret_cast<NMLISTVIEW*>(header);
    if (lv->uChanged & LVIF_STATE)
      events.push_back("row " + std::to_string(lv->iItem) + " state " + std::to_string(lv->uNewState));
    *result = 0;
  }
  afx_msg LRESULT OnAsk(WPARAM, LPARAM) { return 1; }
  afx_msg void OnContextMenu(CWnd*, CPoint point) {
    CMenu menu;
    menu.LoadMenu(IDR_CONTEXT);
    menu.GetSubMenu(0)->TrackPopupMenu(TPM_LEFTALIGN, point.x, point.y, this);
  }
  afx_msg void OnNumberAll() { events.push_back("number all"); }
  afx_msg void OnDestroy() {
    CDialog::OnDestroy();
    freedAtClose = rows.freed;
  }

  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(FormDialog, CDialog)
  ON_BN_CLICKED(IDC_BACK, &FormDialog::OnBack)
  ON_BN_CLICKED(IDC_BROWSE, &FormDialog::OnBrowse)
  ON_CBN_KILLFOCUS(IDC_NUMBER, &FormDialog::OnNumberKillFocus)
  ON_EN_CHANGE(IDC_NAME, &FormDialog::OnNameChange)
  ON_NOTIFY(LVN_ITEMCHANGED, IDC_ROWS, &FormDialog::OnRowChanged)
  ON_MESSAGE(0x7101, &FormDialog::OnAsk)
  ON_WM_CONTEXTMENU()
  ON_COMMAND(IDM_NUMBER_ALL, &FormDialog::OnNumberAll)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

class FrameworkDialogs : public FrameworkTest {};

std::string Text(HWND dialog, int id) {
  char buffer[256] = "";
  ::GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
  return buffer;
}

}  // namespace

TEST_F(FrameworkDialogs, DataGoesIntoTheControlsAndComesBackOnOk) {
  FormDialog dialog;
  driver.OnDialog(IDD_FORM,
                  {DialogAction::Run([](HWND d) {
                     EXPECT_EQ(Text(d, IDC_NAME), "start");
                     EXPECT_EQ(Text(d, IDC_COUNT), "3");
                     EXPECT_EQ(Text(d, IDC_RATIO), "0.25");
                     EXPECT_EQ(::IsDlgButtonChecked(d, IDC_DESCRIPTIONS), 1u);
                     EXPECT_EQ(::IsDlgButtonChecked(d, IDC_MILLIMETRES), 1u) << "radio index 1";
                     EXPECT_EQ(Text(d, IDC_KIND), "c");
                     EXPECT_EQ(::GetWindowTextA(d, nullptr, 0), 0);
                   }),
                   DialogAction::Set(IDC_NAME, "Alpha"), DialogAction::Set(IDC_COUNT, "42"),
                   DialogAction::Set(IDC_RATIO, "1.5e0"), DialogAction::Check(IDC_DESCRIPTIONS, false),
                   DialogAction::Check(IDC_METRES, true), DialogAction::Choose(IDC_KIND, std::string("a")),
                   DialogAction::CheckRow(IDC_ROWS, 0, true), DialogAction::Choose(IDC_NUMBER, 1),
                   DialogAction::Ok()});
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.name, "Alpha");
  EXPECT_EQ(dialog.count, 42);
  EXPECT_DOUBLE_EQ(dialog.ratio, 1.5);
  EXPECT_EQ(dialog.descriptions, 0);
  EXPECT_EQ(dialog.unit, 0);
  EXPECT_EQ(dialog.kind, 0);
  EXPECT_EQ(dialog.number, "20");
  EXPECT_EQ(dialog.numberBox.dropDowns, 1) << "the box heard its own reflected drop-down";
  EXPECT_FALSE(dialog.numberBox.dropped);
  EXPECT_EQ(dialog.m_hWnd, nullptr);
  EXPECT_EQ(dialog.numberBox.m_hWnd, nullptr) << "controls let go of their windows";
  EXPECT_EQ(dialog.freedAtClose, 0);
  EXPECT_EQ(dialog.rows.freed, 3) << "every row's text was freed as the list went";
  // Row 1 was checked while the dialog set itself up: the map already listens.
  const std::vector<std::string> expected = {"row 1 state " + std::to_string(INDEXTOSTATEIMAGEMASK(2)),
                                             "row 0 state " + std::to_string(INDEXTOSTATEIMAGEMASK(2)),
                                             "number left: 20"};
  EXPECT_EQ(dialog.events, expected);
  for (const UiEvent& e : Events(UiEvent::Kind::DialogAction)) EXPECT_FALSE(e.failed) << e.detail;
}

TEST_F(FrameworkDialogs, TypingRunsThroughTheBoxsFilterAndEnterStaysInTheDialog) {
  FormDialog dialog;
  driver.OnDialog(IDD_FORM, {DialogAction::Type(IDC_NUMBER, "1x2"), DialogAction::Key(IDC_NUMBER, "Enter"),
                             DialogAction::Run([&](HWND d) {
                               EXPECT_TRUE(::IsWindowVisible(d)) << "Enter did not press OK";
                               EXPECT_EQ(dialog.enterInBox, 1);
                               DWORD start = 9, end = 9;
                               ::SendDlgItemMessageA(d, IDC_NUMBER, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start),
                                                     reinterpret_cast<LPARAM>(&end));
                               EXPECT_EQ(start, 0u);
                               EXPECT_EQ(end, 2u) << "the dialog selected the box's text";
                             }),
                             DialogAction::Ok()});
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.number, "12");
  EXPECT_EQ(Events(UiEvent::Kind::Beep).size(), 1u) << "the letter was refused";
  // The private message does not reach the dialog's message map on its way.
  EXPECT_EQ(dialog.events.back(), "number left: 12");
}

TEST_F(FrameworkDialogs, ValidationKeepsTheDialogOpenUntilTheValuesAreRight) {
  FormDialog dialog;
  driver.OnDialog(IDD_FORM, {DialogAction::Set(IDC_COUNT, "abc"), DialogAction::Ok(),
                             DialogAction::Run([](HWND d) { EXPECT_EQ(::GetFocus(), ::GetDlgItem(d, IDC_COUNT)); }),
                             DialogAction::Set(IDC_COUNT, "500"), DialogAction::Ok(),
                             DialogAction::Set(IDC_NAME, "far too long a name"),
                             DialogAction::Run([](HWND d) {
                               EXPECT_EQ(Text(d, IDC_NAME), "far too lo") << "the user cannot pass the limit";
                               ::SetDlgItemTextA(d, IDC_NAME, "far too long a name");
                             }),
                             DialogAction::Set(IDC_COUNT, " 7 "), DialogAction::Ok(),
                             DialogAction::Set(IDC_NAME, "short"), DialogAction::Ok()});
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.count, 7);
  EXPECT_EQ(dialog.name, "short");
  auto boxes = Events(UiEvent::Kind::MessageBox);
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].box.text, "Please enter an integer.");
  EXPECT_EQ(boxes[1].box.text, "Please enter an integer between 0 and 100.");
  EXPECT_EQ(boxes[2].box.text, "Please enter no more than 10 characters.");
  EXPECT_EQ(boxes[0].box.caption, "DialogTests") << "the module's name";
  EXPECT_EQ(boxes[0].box.type, MB_OK | MB_ICONEXCLAMATION);
}

TEST_F(FrameworkDialogs, OwnButtonsEndWithTheirOwnResult) {
  FormDialog dialog;
  driver.OnDialog(IDD_FORM, {DialogAction::Click(IDC_BACK)});
  EXPECT_EQ(dialog.DoModal(), -4);
  EXPECT_EQ(dialog.name, "start") << "no data exchange without OK";
}

TEST_F(FrameworkDialogs, ADialogWithoutInputIsCancelled) {
  HWND main = TopLevel();
  CWnd* owner = CWnd::FromHandle(main);
  FormDialog dialog(owner);
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_TRUE(::IsWindowEnabled(main));
  EXPECT_EQ(::GetActiveWindow(), main);
  auto ranOut = Events(UiEvent::Kind::DialogRanOut);
  ASSERT_EQ(ranOut.size(), 1u);
  EXPECT_EQ(ranOut[0].dialog.templateId, IDD_FORM);
  EXPECT_EQ(ranOut[0].dialog.title, "Form");
  EXPECT_EQ(Events(UiEvent::Kind::DialogClosed)[0].result, IDCANCEL);
}

TEST_F(FrameworkDialogs, TheFileDialogIsAnsweredByTheDriver) {
  FormDialog dialog;
  driver.AnswerFile("C:\\Projekt\\vystup");
  HWND seen = nullptr;
  driver.OnDialog(IDD_FORM, {DialogAction::Click(IDC_BROWSE), DialogAction::Run([&](HWND d) {
                               seen = d;
                               EXPECT_EQ(Text(d, IDC_NAME), "vystup.txt");
                             }),
                             DialogAction::Cancel()});
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  auto files = Events(UiEvent::Kind::FileDialog);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_TRUE(files[0].file.save);
  EXPECT_EQ(files[0].file.filter, "Section files (*.txt)|*.txt|All files (*.*)|*.*");
  EXPECT_EQ(files[0].file.owner, seen) << "owned by the dialog";
  EXPECT_EQ(files[0].fileAnswer.path, "C:\\Projekt\\vystup.txt");
}

TEST_F(FrameworkDialogs, ContextMenusCommandsAndPrivateMessages) {
  FormDialog dialog;
  driver.ChooseMenu(IDM_NUMBER_ALL);
  driver.OnDialog(IDD_FORM, {DialogAction::Run([](HWND d) {
                               EXPECT_EQ(::SendMessageA(d, 0x7101, 0, 0), 1);
                               headless::QueueClick(::GetDlgItem(d, IDC_ROWS), {5, 60}, headless::MouseButton::Right);
                             }),
                             DialogAction::Cancel()});
  dialog.DoModal();
  ASSERT_FALSE(dialog.events.empty());
  EXPECT_EQ(dialog.events.back(), "number all");
  auto menus = Events(UiEvent::Kind::Menu);
  ASSERT_EQ(menus.size(), 1u);
  ASSERT_EQ(menus[0].menu.commands.size(), 1u) << "the grey item cannot be chosen";
  EXPECT_EQ(menus[0].menu.commands[0].second, "&Number all");
}

TEST_F(FrameworkDialogs, TemporaryWindowObjectsHaveTheClassOfTheirWindow) {
  FormDialog dialog;
  driver.OnDialog(IDD_FORM, {DialogAction::Run([&](HWND d) {
                               CWnd* self = CWnd::FromHandle(d);
                               EXPECT_EQ(self, &dialog);
                               CWnd* kind = self->GetDlgItem(IDC_KIND);
                               EXPECT_TRUE(kind->IsKindOf(RUNTIME_CLASS(CComboBox)));
                               EXPECT_EQ(static_cast<CComboBox*>(kind)->GetCount(), 3);
                               EXPECT_TRUE(self->GetDlgItem(IDC_BACK)->IsKindOf(RUNTIME_CLASS(CButton)));
                               EXPECT_EQ(self->GetDlgItem(IDC_NUMBER), &dialog.numberBox) << "the permanent one";
                               EXPECT_EQ(self->GetDlgItem(IDC_ROWS), &dialog.rows);
                               EXPECT_EQ(self->GetDlgItem(12345), nullptr);
                             }),
                             DialogAction::Cancel()});
  dialog.DoModal();
}

TEST_F(FrameworkDialogs, LoadingDataAgainChangesNothingThatIsTheSame) {
  FormDialog dialog;
  driver.OnDialog(IDD_FORM, {DialogAction::Run([&](HWND) {
                               EXPECT_TRUE(dialog.UpdateData(FALSE));
                               EXPECT_EQ(dialog.nameChanges, 0) << "an unchanged text is not set again";
                               dialog.name = "other";
                               dialog.UpdateData(FALSE);
                               EXPECT_EQ(dialog.nameChanges, 1);
                             }),
                             DialogAction::Cancel()});
  dialog.DoModal();
}

TEST_F(FrameworkDialogs, MovingThroughTheControlsAndTheDefaultButton) {
  FormDialog dialog;
  ASSERT_TRUE(dialog.Create(IDD_FORM));
  dialog.ShowWindow(SW_SHOW);
  HWND d = dialog.m_hWnd;
  EXPECT_EQ(::GetFocus(), ::GetDlgItem(d, IDC_NAME)) << "the first tab stop";
  dialog.NextDlgCtrl();
  EXPECT_EQ(::GetFocus(), ::GetDlgItem(d, IDC_COUNT));
  DWORD start = 9, end = 9;
  ::SendDlgItemMessageA(d, IDC_COUNT, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 1u) << "moving in selects the whole text";
  dialog.NextDlgCtrl();
  dialog.NextDlgCtrl();
  dialog.NextDlgCtrl();
  EXPECT_EQ(::GetFocus(), ::GetDlgItem(d, IDC_MILLIMETRES)) << "a radio group is entered at its checked button";
  dialog.PrevDlgCtrl();
  EXPECT_EQ(::GetFocus(), ::GetDlgItem(d, IDC_DESCRIPTIONS));

  dialog.GotoDlgCtrl(dialog.GetDlgItem(IDC_RATIO));
  EXPECT_EQ(::GetFocus(), ::GetDlgItem(d, IDC_RATIO));

  EXPECT_EQ(LOWORD(dialog.GetDefID()), IDOK);
  dialog.SetDefID(IDC_BACK);
  EXPECT_EQ(LOWORD(dialog.GetDefID()), IDC_BACK);
  EXPECT_TRUE(::GetWindowLongA(::GetDlgItem(d, IDC_BACK), GWL_STYLE) & BS_DEFPUSHBUTTON);
  EXPECT_FALSE(::GetWindowLongA(::GetDlgItem(d, IDOK), GWL_STYLE) & BS_DEFPUSHBUTTON);
  headless::QueueKey(VK_RETURN);
  AfxPumpPendingMessages();
  INT_PTR result = 0;
  EXPECT_TRUE(::IsDialogEnded(d, &result)) << "Enter pressed the new default button";
  EXPECT_EQ(result, -4);
  dialog.DestroyWindow();
}
