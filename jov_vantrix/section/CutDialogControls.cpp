#include "jov_vantrix/section/CutDialogControls.h"

#include "common/CComboBoxNew.h"
#include "common/HostModule.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/section/CutParamsRules.h"
#include "platform/mfc/CWnd.h"
#include "platform/resources/jov_vantrix/resource_ids.h"
#include "platform/win32/control_messages.h"
#include "platform/win32/help.h"
#include "platform/win32/ui_services.h"

namespace {

bool IsPipeSwitch(const CutSettingKey& k) { return k.control == IDC_CUT_PIPE_SWITCH_ON; }

template <class Block>
bool ConfirmShorteningOf(Block& block, HWND owner) {
  if (!AsksToShorten(block)) return true;
  const int answer = MessageBoxRes(owner, IDS_ASK_SHORTEN_CONNECTIONS, MB_YESNOCANCEL | MB_ICONINFORMATION);
  if (answer == IDYES) ShortenConnectionOffsets(block);
  return answer != IDCANCEL;
}

}  // namespace

void ShowCutValues(CWnd& dialog, CutDialog which, const CutDialogValues& values) {
  for (const CutSettingKey& k : CutSettingKeys(which)) {
    if (!k.read) continue;
    if (k.text) {
      dialog.SetDlgItemText(k.control, values.*k.text);
    } else if (IsPipeSwitch(k)) {
      const bool on = values.*k.state != 0;
      dialog.CheckDlgButton(IDC_CUT_PIPE_SWITCH_ON, on ? BST_CHECKED : BST_UNCHECKED);
      dialog.CheckDlgButton(IDC_CUT_PIPE_SWITCH_OFF, on ? BST_UNCHECKED : BST_CHECKED);
    } else {
      dialog.CheckDlgButton(k.control, values.*k.state ? BST_CHECKED : BST_UNCHECKED);
    }
  }
}

CutDialogValues CollectCutValues(const CWnd& dialog, CutDialog which) {
  CutDialogValues values;
  for (const CutSettingKey& k : CutSettingKeys(which)) {
    if (k.text)
      dialog.GetDlgItemText(k.control, values.*k.text);
    else
      values.*k.state = dialog.IsDlgButtonChecked(k.control) == BST_CHECKED ? 1 : 0;
  }
  return values;
}

void LoadCutPresetLists(CWnd& dialog, CutDialog which, const char* presetFile) {
  for (const CutPresetList& list : CutPresetLists(which)) {
    CWnd* box = dialog.GetDlgItem(static_cast<int>(list.control));
    if (!box) continue;
    for (const CString& preset : ReadPresets(presetFile, list.section))
      box->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(preset.GetString()));
  }
}

CString CutSettingsPath(const char* name) {
  char path[MAX_PATH];
  TheApp().GetDataPath(path, name, MAX_PATH);
  return path;
}

void EnableCutControls(CWnd& dialog, std::initializer_list<UINT> ids, bool enable) {
  for (UINT id : ids)
    if (CWnd* control = dialog.GetDlgItem(static_cast<int>(id))) control->EnableWindow(enable);
}

bool SelectTextOnEnter(const MSG* msg, std::initializer_list<CComboBoxNew*> boxes) {
  if (msg->message != kEnterInComboBox) return false;
  for (CComboBoxNew* box : boxes)
    if (box->m_hWnd && box->m_hWnd == msg->hwnd) {
      box->SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
      return true;
    }
  return false;
}

void ShowCutHelp(HWND dialog) {
  char path[MAX_PATH];
  TheApp().GetModulePath(path, "Help\\jov2d.chm::/zdroje\\vantrix-rez.htm", MAX_PATH);
  HtmlHelpA(dialog, path, HH_DISPLAY_TOPIC, 0);
}

void KeepTypedText(CComboBoxNew& box) {
  CString text;
  box.GetWindowText(text);
  box.AddToHistory(text, 0);
}

CString CutResourceText(UINT id) {
  CString text;
  text.LoadString(id);
  return text;
}

bool ConfirmShortening(JovCutParams& block, HWND owner) { return ConfirmShorteningOf(block, owner); }
bool ConfirmShortening(JovCutParamsOld& block, HWND owner) { return ConfirmShorteningOf(block, owner); }
