// The utility tests' dialog: a history box of every input type, a picker
// list whose keys report to the dialog, two panes sharing an edge, and a
// resizable layout saved in a profile file, as the plug-in's dialogs use
// them. The fixture gives each test a clean headless desktop, the test
// resources, a driver and a profile folder with "Dat\Jov.ini".
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
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
#include "platform/mfc/module_state.h"
#include "platform/win32/headless_driver.h"
#include "platform/win32/module_loader.h"
#include "platform/win32/tests/headless_fixture.h"

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

class UtilityDialogTest : public testing_support::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    resources_ = LoadLibraryA(JOV_UTILITY_TEST_RESOURCES);
    ASSERT_NE(resources_, nullptr) << LastLoadErrorText();
    state_.m_hCurrentResourceHandle = resources_;
    state_.m_lpszCurrentAppName = "UtilityTests";
    previous_ = AfxSetModuleState(&state_);
    previousDriver_ = SetUiDriver(&driver);
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    profile_ = std::filesystem::temp_directory_path() /
               (std::string("jov_utilities_") + info->name() + "_" + std::to_string(::getpid()));
    std::filesystem::remove_all(profile_);
    std::filesystem::create_directories(profile_ / "Dat");
    // The system's own form of the path: the profile folder, then "Dat\".
    settings = profile_.string() + "/Dat\\Jov.ini";
  }
  void TearDown() override {
    SetUiDriver(previousDriver_);
    HeadlessTest::TearDown();
    AfxIdleCleanup();
    AfxSetModuleState(previous_);
    FreeLibrary(resources_);
    std::filesystem::remove_all(profile_);
  }
  std::vector<UiEvent> Events(UiEvent::Kind kind) const {
    std::vector<UiEvent> out;
    for (const UiEvent& e : UiJournal())
      if (e.kind == kind) out.push_back(e);
    return out;
  }
  // The settings file as it is on disk, line ends included.
  std::string SettingsText() const;

  HeadlessDriver driver;
  std::string settings;
  std::filesystem::path profile_;
  HMODULE resources_ = nullptr;
  AFX_MODULE_STATE state_{};
  AFX_MODULE_STATE* previous_ = nullptr;
  UiDriver* previousDriver_ = nullptr;
};

}  // namespace utility_tests
