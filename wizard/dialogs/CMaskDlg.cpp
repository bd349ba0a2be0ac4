#include "wizard/dialogs/CMaskDlg.h"

#include "common/HostModule.h"
#include "common/SettingsWrite.h"
#include "common/ValueRules.h"
#include "platform/mfc/CDataExchange.h"
#include "platform/resources/wizard/resource_ids.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/profile.h"
#include "platform/win32/ui_services.h"
#include "wizard/dialogs/CMaskData.h"
#include "wizard/dialogs/CMaskDefDlg.h"
#include "wizard/dialogs/DialogHost.h"
#include "wizard/dialogs/MaskKindNames.h"
#include "wizard/dialogs/MaskStorage.h"

namespace {

// The letter the caption names the kind by.
char CaptionLetter(unsigned kind) {
  switch (kind) {
    case 'E':
    case 'W': return 'E';
    case 'V': return 'V';
    case 'Z': return 'Z';
    default: return 'T';
  }
}

// Why a mask of this name and definition cannot be kept; 0 when it can.
UINT MaskRefusal(const CString& name, const CString& definition) {
  // The name ends at the first ';' of a stored mask.
  if (name.Find(';') >= 0) return IDS_NAME_HAS_SEMICOLON;
  // A pasted tab or line end would split the stored mask and the labels.
  if (HoldsControlCharacter(name) || HoldsControlCharacter(definition)) return IDS_CONTROL_CHARACTER_REFUSED;
  // What is stored must come back whole.
  if (!MaskFitsStorage(name, definition)) return IDS_MASK_TOO_LONG;
  return 0;
}

}  // namespace

IMPLEMENT_DYNAMIC(CMaskDlg, CDialog)

BEGIN_MESSAGE_MAP(CMaskDlg, CDialog)
  ON_MESSAGE(kKeepFocusQuery, &CMaskDlg::OnKeepFocus)
  ON_LBN_SELCHANGE(IDC_MASK_LIST, &CMaskDlg::OnListSelChange)
  ON_BN_CLICKED(IDC_MASK_ADD, &CMaskDlg::OnAdd)
  ON_BN_CLICKED(IDC_MASK_DELETE, &CMaskDlg::OnDelete)
  ON_BN_CLICKED(IDC_MOVE_UP, &CMaskDlg::OnUp)
  ON_BN_CLICKED(IDC_MOVE_DOWN, &CMaskDlg::OnDown)
  ON_BN_CLICKED(IDC_MASK_EDIT, &CMaskDlg::OnEdit)
  ON_BN_CLICKED(IDC_HELP_BUTTON, &CMaskDlg::OnHelp)
  ON_EN_KILLFOCUS(IDC_MASK_DEFINITION, &CMaskDlg::OnDefinitionKillFocus)
  ON_EN_KILLFOCUS(IDC_MASK_NAME, &CMaskDlg::OnNameKillFocus)
END_MESSAGE_MAP()

CMaskDlg::CMaskDlg(unsigned kind, CWnd* parent) : CDialog(IDD_MASK, parent), kind(kind) {}

CMaskDlg::~CMaskDlg() = default;

void CMaskDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, IDC_MASK_LIST, maskList);
  DDX_Control(dx, IDC_MASK_ADD, addButton);
  DDX_Control(dx, IDC_MASK_DELETE, deleteButton);
  DDX_Control(dx, IDC_MOVE_UP, upButton);
  DDX_Control(dx, IDC_MOVE_DOWN, downButton);
  DDX_Control(dx, IDC_MASK_EDIT, editButton);
  DDX_Control(dx, IDC_MASK_DEFINITION, definitionEdit);
  DDX_Control(dx, IDC_MASK_NAME, nameEdit);
  DDX_Control(dx, IDC_MASK_KIND, kindCaption);
}

BOOL CMaskDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetIcon(TheDialogHost().Icon(), FALSE);
  ReadMasks();
  CString caption, text;
  kindCaption.GetWindowText(caption);
  text.Format("%s%c:", caption.GetString(), CaptionLetter(kind));
  kindCaption.SetWindowText(text);
  return TRUE;
}

void CMaskDlg::ReadMasks() {
  const CString active =
      ReadActiveMask(TheDialogHost().ProfilePath(kMaskIniFile).c_str(), MaskNamesOf(kind).activeKey);
  const std::string setFile = TheDialogHost().ProfilePath(kMaskSetFile);
  for (const StoredMask& stored : ReadMaskList(setFile.c_str(), MaskNamesOf(kind).maskList)) {
    auto* record = new CMaskData(stored.name, stored.definition);
    masks.AddTail(record);
    const int row = maskList.AddString(record->name);
    if (row < 0) continue;
    maskList.SetItemDataPtr(row, record);
    if (maskList.GetCurSel() < 0 && record->definition == active) maskList.SetCurSel(row);
  }
  if (maskList.GetCount() > 0 && maskList.GetCurSel() < 0) maskList.SetCurSel(0);
  OnSelChange();
}

CMaskData* CMaskDlg::SelectedRecord(int* row) const {
  const int selected = maskList.GetCurSel();
  if (row) *row = selected;
  return selected < 0 ? nullptr : static_cast<CMaskData*>(maskList.GetItemDataPtr(selected));
}

void CMaskDlg::OnSelChange() {
  int row = -1;
  CMaskData* record = SelectedRecord(&row);
  shown = record;
  if (row >= 0) {
    nameEdit.SetWindowText(record ? record->name.GetString() : "");
    definitionEdit.SetWindowText(record ? record->definition.GetString() : "");
  }
  UpdateButtons(row);
}

void CMaskDlg::UpdateButtons(int selected) {
  const int rows = maskList.GetCount();
  if (rows > 1) {
    editButton.EnableWindow(selected != -1);
    deleteButton.EnableWindow(selected != -1);
    upButton.EnableWindow(selected > 0);
    downButton.EnableWindow(selected < rows - 1);
  } else {
    upButton.EnableWindow(FALSE);
    downButton.EnableWindow(FALSE);
    editButton.EnableWindow(rows == 1);
    deleteButton.EnableWindow(rows == 1);
    if (rows == 0) definitionEdit.SetWindowText("");
  }
  // The list keeps to the masks a reader sees.
  addButton.EnableWindow(rows < kMaxMasks);
}

void CMaskDlg::OnListSelChange() {
  // The boxes hold the texts of the mask selected before: they are kept for
  // it, or it stays selected while one of them is refused.
  const int chosen = maskList.GetCurSel();
  int shownRow = -1;
  for (int row = 0; row < maskList.GetCount() && shownRow < 0; ++row)
    if (shown && maskList.GetItemDataPtr(row) == shown) shownRow = row;
  maskList.SetCurSel(shownRow);
  if (!CommitEdits()) return;
  maskList.SetCurSel(chosen);
  OnSelChange();
}

void CMaskDlg::PlaceRow(int index, const CString& text, CMaskData* record) {
  const int row = maskList.InsertString(index, text);
  if (row < 0) return;
  maskList.SetItemDataPtr(row, record);
  maskList.SetCurSel(row);
}

void CMaskDlg::OnAdd() {
  if (maskList.GetCount() >= kMaxMasks || !CommitEdits()) return;
  CString name;
  name.LoadString(IDS_NEW_MASK_NAME);
  const int row = maskList.InsertString(maskList.GetCount(), name);
  if (row < 0) return;
  auto* record = new CMaskData(name);
  masks.AddTail(record);
  maskList.SetItemDataPtr(row, record);
  maskList.SetCurSel(row);
  OnSelChange();
  SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(nameEdit.m_hWnd), TRUE);
}

void CMaskDlg::OnDelete() {
  if (!CommitEdits()) return;
  int row = -1;
  CMaskData* record = SelectedRecord(&row);
  if (row < 0) return;
  if (record) masks.Delete(record);
  maskList.DeleteString(static_cast<UINT>(row));
  const int rows = maskList.GetCount();
  if (rows > 0) maskList.SetCurSel(row < rows ? row : rows - 1);
  OnSelChange();
}

void CMaskDlg::MoveSelected(int step) {
  if (!CommitEdits()) return;
  int row = -1;
  CMaskData* record = SelectedRecord(&row);
  const int to = row + step;
  if (row < 0 || to < 0 || to >= maskList.GetCount()) return;
  CString text;
  maskList.GetText(row, text);
  maskList.DeleteString(static_cast<UINT>(row));
  PlaceRow(to, text, record);
  OnSelChange();
}

void CMaskDlg::OnUp() { MoveSelected(-1); }
void CMaskDlg::OnDown() { MoveSelected(+1); }

void CMaskDlg::OnEdit() {
  CMaskData* record = SelectedRecord();
  if (!record || !CommitEdits()) return;
  CMaskDefDlg editor(kind, record->definition, CMaskDefDlg::kEditListed, this);
  if (editor.DoModal() != IDOK) return;
  definitionEdit.SetWindowText(editor.result);
  definitionEdit.SendMessage(EM_SETMODIFY, TRUE);
  CommitDefinition(true);
}

void CMaskDlg::OnHelp() { ShowWizardHelp(m_hWnd, "Popis-vlastni_nastaveni.htm"); }

// Leaving a box keeps its text when it may be stored; a refused one waits in
// the box, and the road that would use it tells why. Cancel and closing take
// the focus too, and must not be held up.
void CMaskDlg::OnDefinitionKillFocus() { CommitDefinition(false); }
void CMaskDlg::OnNameKillFocus() { CommitName(false); }

bool CMaskDlg::CommitEdits() { return CommitName(true) && CommitDefinition(true); }

bool CMaskDlg::CommitDefinition(bool tell) {
  CMaskData* record = SelectedRecord();
  if (!definitionEdit.GetModify() || !record) return true;
  CString text;
  definitionEdit.GetWindowText(text);
  if (text.IsEmpty()) {
    definitionEdit.SetModify(FALSE);
    return true;
  }
  if (const UINT refusal = MaskRefusal(record->name, text)) return Refuse(definitionEdit, refusal, tell);
  record->definition = text;
  definitionEdit.SetModify(FALSE);
  return true;
}

bool CMaskDlg::CommitName(bool tell) {
  int row = -1;
  CMaskData* record = SelectedRecord(&row);
  if (!nameEdit.GetModify() || !record) return true;
  CString text;
  nameEdit.GetWindowText(text);
  if (const UINT refusal = MaskRefusal(text, record->definition)) return Refuse(nameEdit, refusal, tell);
  const CString previous = record->name;
  record->name = text;
  nameEdit.SetModify(FALSE);
  if (!previous.IsEmpty() && previous != text) {
    maskList.DeleteString(static_cast<UINT>(row));
    PlaceRow(row, text, record);
  }
  return true;
}

bool CMaskDlg::Refuse(CEditNew& box, UINT message, bool tell) {
  if (tell) {
    MessageBoxRes(m_hWnd, message, MB_ICONWARNING);
    GotoDlgCtrl(&box);
  }
  return false;
}

BOOL CMaskDlg::PreTranslateMessage(MSG* msg) {
  if (msg->message == kEditEnter) {
    if (msg->hwnd == definitionEdit.m_hWnd || msg->hwnd == nameEdit.m_hWnd) {
      ::SendMessageA(msg->hwnd, EM_SETSEL, 0, -1);
      ::SendMessageA(msg->hwnd, EM_SCROLLCARET, 0, 0);
    }
    return TRUE;
  }
  return CDialog::PreTranslateMessage(msg);
}

LRESULT CMaskDlg::OnKeepFocus(WPARAM, LPARAM) { return 1; }

void CMaskDlg::OnOK() {
  // Nothing is saved that the dialog does not show.
  if (!CommitEdits()) return;
  const std::string setFile = TheDialogHost().ProfilePath(kMaskSetFile);
  const CString section = MaskNamesOf(kind).maskList;
  const int rows = maskList.GetCount();
  bool written = true;
  for (int row = 0; row < rows && written; ++row)
    if (auto* record = static_cast<CMaskData*>(maskList.GetItemDataPtr(row)))
      written = WriteMask(setFile.c_str(), section, row, record->name, record->definition);
  for (int key = rows; key < kMaxMasks && written; ++key)
    written = WriteSettingsString(setFile.c_str(), section, MaskKeyName(key), nullptr, SettingsFailure::kCallerSays);
  if (!written) {
    MessageBoxRes(m_hWnd, IDS_SETTINGS_NOT_SAVED, MB_ICONERROR, setFile.c_str());
    return;
  }
  if (CMaskData* record = SelectedRecord(); record && !record->definition.IsEmpty()) {
    const std::string iniFile = TheDialogHost().ProfilePath(kMaskIniFile);
    if (!WriteActiveMask(iniFile.c_str(), MaskNamesOf(kind).activeKey, record->definition)) {
      MessageBoxRes(m_hWnd, IDS_SETTINGS_NOT_SAVED, MB_ICONERROR, iniFile.c_str());
      return;
    }
  }
  CDialog::OnOK();
}
