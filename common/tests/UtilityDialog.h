// The utility tests' dialog (template IDD_UTILITIES): a history box of
// every input type, a picker list whose keys report to the dialog, two
// panes sharing an edge, and a resizable layout saved in a profile file, as
// the plug-in's dialogs use them. The unit tests and the runner's test
// plug-in both run it.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "common/AnchorRule.h"
#include "common/CComboBoxNew.h"
#include "common/ComboInputFilter.h"
#include "common/prf_store.h"
#include "common/resizeWnd.h"
#include "common/tests/data/utilities_dialog_ids.h"
#include "platform/mfc/CDataExchange.h"
#include "platform/mfc/CDialog.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/ui_services.h"

namespace utility_tests {

constexpr int kInputTypes = 7;
constexpr char kLayoutSection[] = "VANTRIX";
constexpr char kLayoutKey[] = "windowPosition";

inline std::string HistorySection(uint32_t inputType) { return "UTIL_HIST_" + std::to_string(inputType); }

class UtilityDialog : public CDialog, public resizeWnd {
 public:
  explicit UtilityDialog(std::string settingsFile, CWnd* parent = nullptr)
      : CDialog(IDD_UTILITIES, parent), settings(std::move(settingsFile)) {}

  CComboBoxNew& Box(uint32_t inputType) { return *boxes_[inputType]; }

  CComboBoxNew anyBox{0, ComboInput::kAny};
  CComboBoxNew digitsBox{0, ComboInput::kDigits};
  CComboBoxNew unsignedBox{0, ComboInput::kUnsignedDecimal};
  CComboBoxNew signedIntBox{0, ComboInput::kSignedInteger};
  CComboBoxNew signedDecimalBox{0, ComboInput::kSignedDecimal};
  CComboBoxNew fileNameBox{0, ComboInput::kFileName};
  CComboBoxNew lettersBox{0, ComboInput::kLetters};
  CComboBoxNew picker{kComboReportDelete | kComboInsertAdds, ComboInput::kAny};

  std::string settings;
  // The private messages the dialog read: the box's id and the message.
  std::vector<std::pair<int, UINT>> privateMessages;
  std::vector<LPARAM> deletedItems;
  bool restored = false;
  bool saved = false;
  CSize clientAtInit{-1, -1};
  // A test's own controls, registered before the layout is restored.
  std::function<void()> registerMore;

 protected:
  void DoDataExchange(CDataExchange* dx) override {
    CDialog::DoDataExchange(dx);
    for (int type = 0; type < kInputTypes; ++type) DDX_Control(dx, IDC_TYPE_ANY + type, Box(type));
    DDX_Control(dx, IDC_PICKER, picker);
  }

  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    for (uint32_t type = 0; type < kInputTypes; ++type)
      Box(type).LoadHistory(settings.c_str(), HistorySection(type).c_str(), "HIST");
    for (const char* item : {"first", "second", "third"}) picker.AddString(item);

    InitSizes(this);
    CRect client;
    GetClientRect(&client);
    clientAtInit = client.Size();
    for (int type = 0; type < kInputTypes; ++type) AddControl(GetDlgItem(IDC_TYPE_ANY + type), Anchor::kStretchWidth, false);
    AddControl(GetDlgItem(IDC_BROWSE), Anchor::kMoveRight, false);
    AddControl(&picker, Anchor::kMoveRight, false);
    AddControl(GetDlgItem(IDC_LEFT_PANE), Anchor::kTop | Anchor::kLeft | Anchor::kBottom, false);
    AddControl(GetDlgItem(IDC_RIGHT_PANE), Anchor::kStretch, false);
    for (int id : {IDOK, IDCANCEL}) AddControl(GetDlgItem(id), Anchor::kMoveWithCorner, false);
    // The panes share an edge: the left one's right edge, the right one's left.
    resizeCtrl left, right;
    left.Set(GetDlgItem(IDC_LEFT_PANE), 0, GetDlgItem(IDC_RIGHT_PANE), 4);
    right.Set(GetDlgItem(IDC_RIGHT_PANE), 0, GetDlgItem(IDC_LEFT_PANE), 2);
    anchors.Add(left);
    anchors.Add(right);
    if (registerMore) registerMore();

    prf_store store;
    store.Open(settings.c_str(), kLayoutSection);
    restored = RestoreWindowLayout(this, this, &store, kLayoutKey, true);
    return TRUE;
  }

  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message == kEnterInComboBox || msg->message == kDeleteInComboList) {
      privateMessages.emplace_back(::GetDlgCtrlID(msg->hwnd), msg->message);
      if (msg->message == kDeleteInComboList) deletedItems.push_back(msg->lParam);
      if (msg->message == kEnterInComboBox) ::SendMessageA(msg->hwnd, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
      return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
  }

  void OnOK() override {
    for (uint32_t type = 0; type < kInputTypes; ++type) {
      CString text;
      Box(type).GetWindowText(text);
      Box(type).AddToHistory(text, 0);
      Box(type).SaveHistory(settings.c_str(), HistorySection(type).c_str(), "HIST", 50);
    }
    CDialog::OnOK();
  }

  afx_msg void OnDestroy() {
    prf_store store;
    store.Open(settings.c_str(), kLayoutSection);
    saved = SaveWindowLayout(this, this, &store, kLayoutKey);
    CDialog::OnDestroy();
  }
  afx_msg void OnSize(UINT type, int cx, int cy) {
    CDialog::OnSize(type, cx, cy);
    resizeWnd::OnSize(this, cx, cy, true, nullptr);
  }
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* info) {
    CDialog::OnGetMinMaxInfo(info);
    resizeWnd::OnGetMinMaxInfo(info);
  }

  DECLARE_MESSAGE_MAP()

 private:
  CComboBoxNew* const boxes_[kInputTypes] = {&anyBox,           &digitsBox,   &unsignedBox, &signedIntBox,
                                             &signedDecimalBox, &fileNameBox, &lettersBox};
};

}  // namespace utility_tests
