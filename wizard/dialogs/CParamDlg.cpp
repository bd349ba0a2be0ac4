#include "wizard/dialogs/CParamDlg.h"

#include <string>

#include "common/CLocaleNumber.h"
#include "common/HostModule.h"
#include "common/ValueRules.h"
#include "platform/mfc/CDataExchange.h"
#include "platform/resources/wizard/resource_ids.h"
#include "platform/win32/file_access.h"
#include "platform/win32/help.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/ui_services.h"
#include "platform/win32/window_api.h"
#include "wizard/dialogs/DialogHost.h"
#include "wizard/dialogs/DialogMessages.h"
#include "wizard/dialogs/PlacedTextLimit.h"
#include "wizard/dialogs/ProductDialogHost.h"
#include "wizard/frame/engine/CPropData.h"
#include "wizard/frame/engine/CTypeParam.h"
#include "wizard/frame/engine/CValueParam.h"
#include "wizard/frame/engine/ChoiceFills.h"
#include "wizard/frame/engine/EngineState.h"
#include "wizard/frame/engine/ParamStatus.h"
#include "wizard/frame/engine/RecordLookups.h"
#include "wizard/frame/engine/ValueEntry.h"

namespace {

// A default of these types is a formula over the other parameters.
constexpr uint32_t kFormulaTypes =
    ParamStatus::kAnyComputed | ParamStatus::kRecalculated | ParamStatus::kAnyFormula;

int TopicOfControl(int id) {
  switch (id) {
    case IDC_PARAM_NAME:
    case IDC_PARAM_NAME_CAPTION:
      return 278;
    case IDC_PARAM_LABEL:
    case IDC_PARAM_LABEL_CAPTION:
      return 279;
    case IDC_PARAM_TYPE:
    case IDC_PARAM_TYPE_CAPTION:
      return 280;
    case IDC_PARAM_DEFAULT:
    case IDC_PARAM_DEFAULT_CAPTION:
      return 281;
    case IDC_PARAM_ADD:
      return 286;
    case IDC_PARAM_DELETE:
      return 287;
    case IDC_PARAM_UP:
      return 288;
    case IDC_PARAM_DOWN:
      return 289;
  }
  return 282;
}

bool CursorOver(const CWnd& control) {
  POINT cursor{};
  if (!control.m_hWnd || !GetCursorPos(&cursor)) return false;
  RECT r{};
  control.GetWindowRect(&r);
  return cursor.x >= r.left && cursor.x < r.right && cursor.y >= r.top && cursor.y < r.bottom;
}

}  // namespace

int AddEnumNameToCombo(const jovDatabase::TNameStruct* record, void* combo) {
  auto* box = static_cast<CComboBox*>(combo);
  const int row = box->AddString(record->name ? record->name : "");
  if (row >= 0) box->SetItemData(row, record->number[1]);
  return 1;
}

int AddParTypeToCombo(const jovDatabase::TParTypeStruct* record, void* dialog) {
  auto* self = static_cast<CParamDlg*>(dialog);
  const int row = self->typeCombo.AddString(record->title ? record->title : "");
  if (row >= 0) self->typeCombo.SetItemData(row, record->id);
  self->types.AddTail(new CTypeParam(*record));
  return 1;
}

int AddEnumNameAsPropData(const jovDatabase::TNameStruct* record, void* list) {
  static_cast<CSeznam*>(list)->AddTail(new CPropData(*record));
  return 1;
}

CParamDlg::CParamDlg(bool edit, CValueParam* param, CObjectSez* params, CWnd* parent)
    : CDialog(IDD_PARAM, parent), edit(edit), params(params), param(param) {}

CParamDlg::~CParamDlg() = default;

BEGIN_MESSAGE_MAP(CParamDlg, CDialog)
  ON_EN_KILLFOCUS(IDC_PARAM_NAME, &CParamDlg::OnNameKillFocus)
  ON_EN_KILLFOCUS(IDC_PARAM_VALUE, &CParamDlg::OnValueKillFocus)
  ON_BN_CLICKED(IDC_PARAM_ADD, &CParamDlg::OnAdd)
  ON_BN_CLICKED(IDC_PARAM_DELETE, &CParamDlg::OnDelete)
  ON_BN_CLICKED(IDC_PARAM_UP, &CParamDlg::OnUp)
  ON_BN_CLICKED(IDC_PARAM_DOWN, &CParamDlg::OnDown)
  ON_BN_CLICKED(IDC_PARAM_HELP, &CParamDlg::OnHelpButton)
  ON_LBN_SELCHANGE(IDC_PARAM_VALUES, &CParamDlg::OnValuesSelChange)
  ON_WM_HELPINFO()
END_MESSAGE_MAP()

void CParamDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, IDC_PARAM_HELP, helpButton);
  DDX_Control(dx, IDCANCEL, cancelButton);
  DDX_Control(dx, IDC_PARAM_DOWN, downButton);
  DDX_Control(dx, IDC_PARAM_UP, upButton);
  DDX_Control(dx, IDC_PARAM_VALUES, values);
  DDX_Control(dx, IDC_PARAM_VALUE, valueEdit);
  DDX_Control(dx, IDC_PARAM_DELETE, deleteButton);
  DDX_Control(dx, IDC_PARAM_ADD, addButton);
  DDX_Control(dx, IDC_PARAM_TYPE, typeCombo);
  DDX_Control(dx, IDC_PARAM_LABEL, labelCombo);
  DDX_Control(dx, IDC_PARAM_NAME, nameEdit);
  DDX_Control(dx, IDC_PARAM_DEFAULT, defaultEdit);
  DDX_Text(dx, IDC_PARAM_DEFAULT, defaultText);
  DDX_Text(dx, IDC_PARAM_NAME, nameText);
  DDX_CBIndex(dx, IDC_PARAM_TYPE, typeIndex);
  DDX_Text(dx, IDC_PARAM_VALUE, valueText);
}

BOOL CParamDlg::Fail(UINT stringId) {
  MessageBoxRes(m_hWnd, stringId, MB_ICONERROR);
  EndDialog(-1);
  return TRUE;
}

BOOL CParamDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetIcon(TheDialogHost().Icon(), FALSE);
  if (!param || !params) return Fail(IDS_NOT_ENOUGH_MEMORY);
  jovDatabase::Database* db = CurrentCatalogue();
  if (!db || db->EnumNames("PARS", &AddEnumNameToCombo, &labelCombo, false) != jovDatabase::eOK ||
      db->EnumNames("PROP", &AddEnumNameToCombo, &labelCombo, false) != jovDatabase::eOK ||
      db->EnumParTypes(&AddParTypeToCombo, this) != jovDatabase::eOK)
    return Fail(IDS_NOT_ENOUGH_MEMORY);
  if (typeCombo.GetCount() == 0) return Fail(IDS_NO_PARAMETER_TYPES);

  auto rowOfType = [this](uint32_t id) {
    for (int row = 0; row < typeCombo.GetCount(); ++row)
      if (typeCombo.GetItemData(row) == id) return row;
    return -1;
  };
  const int flagged = rowOfType(GetFirstFlaggedTypeId(types));
  typeIndex = flagged < 0 ? 0 : flagged;
  if (edit) {
    if (const char* name = param->GetText(ParamText::kName)) nameText = name;
    if (const char* value = param->GetText(ParamText::kDefault)) defaultText = value;
    // The values as stored: the last product dialog's metres do not apply.
    const unsigned mode = LengthDisplayMode();
    SetLengthDisplayMode(1000);
    FillValueListBox(&values, param);
    SetLengthDisplayMode(mode);
    if (const char* label = param->GetText(ParamText::kLabel)) labelCombo.SetWindowText(label);
    // A type the catalogue no longer offers keeps the default type.
    const int own = rowOfType(param->typeId);
    if (own >= 0) typeIndex = own;
  }
  deleteButton.EnableWindow(FALSE);
  upButton.EnableWindow(FALSE);
  downButton.EnableWindow(FALSE);
  nameEdit.SendMessage(EM_LIMITTEXT, 2);
  valueEdit.SendMessage(EM_LIMITTEXT, kPlacedTextLimit);
  defaultEdit.SendMessage(EM_LIMITTEXT, kPlacedTextLimit);
  UpdateData(FALSE);
  return TRUE;
}

bool CParamDlg::NameTaken() const {
  if (edit) {
    const char* own = param->GetText(ParamText::kName);
    if (own && nameText == own) return false;
  }
  return FindParamByName(*params, nameText) != nullptr;
}

void CParamDlg::OnNameKillFocus() {
  if (!UpdateData(TRUE) || reentry || !NameTaken()) return;
  // Leaving the name for Cancel or help is no reason to complain.
  if (CursorOver(cancelButton) || CursorOver(helpButton)) return;
  reentry = true;
  MessageBoxRes(m_hWnd, IDS_PARAM_NAME_TAKEN, MB_ICONWARNING);
  SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(nameEdit.m_hWnd), TRUE);
  reentry = false;
}

void CParamDlg::OnValueKillFocus() {}

bool CParamDlg::HasValue(const char* text) const {
  CString row;
  for (int i = 0; i < values.GetCount(); ++i) {
    values.GetText(i, row);
    if (row == text) return true;
  }
  return false;
}

CString CParamDlg::JoinValues() const {
  CString joined, row;
  for (int i = 0; i < values.GetCount(); ++i) {
    values.GetText(i, row);
    if (i) joined += "|";
    joined += row;
  }
  return joined;
}

void CParamDlg::OnAdd() {
  if (UpdateData(TRUE) && !valueText.IsEmpty() && !HasValue(valueText)) {
    const CTypeParam* type = FindTypeParamById(types, static_cast<uint32_t>(typeCombo.GetItemData(typeIndex)));
    const bool free = !type || (type->status & ParamStatus::kAnyFree);
    double value = 0;
    if (ExceedsPlacedTextLimit(valueText)) {
      MessageBoxRes(m_hWnd, IDS_VALUE_TOO_LONG, MB_ICONWARNING);
    } else if (BreaksStoredTexts(static_cast<const char*>(valueText))) {
      MessageBoxRes(m_hWnd, IDS_VALUE_HAS_SEPARATOR, MB_ICONWARNING);
    } else if (!free && (!ReadValueEntry(static_cast<const char*>(valueText), value) || !type->IsValueValid(value))) {
      ShowRangeMessage(m_hWnd, IDS_VALUE_OUT_OF_RANGE, type->lowLimit, type->highLimit);
    } else {
      // A number is kept as the engine reads it back.
      const char* typed = valueText;
      values.AddString(free ? typed : StoredValueEntry(typed).c_str());
    }
  }
  UpdateButtons(values.GetCurSel(), values.GetCount());
  GotoDlgCtrl(&valueEdit);
}

void CParamDlg::OnDelete() {
  const int sel = values.GetCurSel();
  if (sel >= 0) {
    values.DeleteString(static_cast<UINT>(sel));
    const int n = values.GetCount();
    values.SetCurSel(sel < n ? sel : n - 1);
  }
  UpdateButtons(values.GetCurSel(), values.GetCount());
}

void CParamDlg::MoveSelected(int step) {
  const int sel = values.GetCurSel();
  const int to = sel + step;
  if (sel >= 0 && to >= 0 && to < values.GetCount()) {
    CString text;
    values.GetText(sel, text);
    values.DeleteString(static_cast<UINT>(sel));
    values.InsertString(to, text);
    values.SetCurSel(to);
  }
  UpdateButtons(values.GetCurSel(), values.GetCount());
}

void CParamDlg::OnUp() { MoveSelected(-1); }
void CParamDlg::OnDown() { MoveSelected(1); }
void CParamDlg::OnValuesSelChange() { UpdateButtons(values.GetCurSel(), values.GetCount()); }

void CParamDlg::UpdateButtons(int sel, int n) {
  if (n > 1) {
    deleteButton.EnableWindow(sel != -1);
    upButton.EnableWindow(sel > 0);
    downButton.EnableWindow(sel < n - 1);
  } else {
    deleteButton.EnableWindow(n == 1);
    upButton.EnableWindow(FALSE);
    downButton.EnableWindow(FALSE);
  }
}

BOOL CParamDlg::PreTranslateMessage(MSG* msg) {
  if (msg->message != kEditEnter) return CDialog::PreTranslateMessage(msg);
  if (msg->hwnd == nameEdit.m_hWnd || msg->hwnd == defaultEdit.m_hWnd) {
    CEdit* box = msg->hwnd == nameEdit.m_hWnd ? &nameEdit : &defaultEdit;
    box->SetSel(0, -1);
    box->SendMessage(EM_SCROLLCARET);
  } else if (msg->hwnd == valueEdit.m_hWnd) {
    OnAdd();
  }
  return TRUE;
}

void CParamDlg::OnOK() {
  if (!UpdateData(TRUE)) return;
  if (nameText.IsEmpty()) {
    MessageBoxRes(m_hWnd, IDS_PARAM_NAME_MISSING, MB_ICONWARNING);
    return;
  }
  // The name left for OK was never checked when the mouse was over Cancel
  // or help as it left.
  if (NameTaken()) {
    MessageBoxRes(m_hWnd, IDS_PARAM_NAME_TAKEN, MB_ICONWARNING);
    GotoDlgCtrl(&nameEdit);
    return;
  }
  if (BreaksStoredTexts(static_cast<const char*>(nameText)) || BreaksStoredTexts(static_cast<const char*>(defaultText))) {
    MessageBoxRes(m_hWnd, IDS_VALUE_HAS_SEPARATOR, MB_ICONWARNING);
    GotoDlgCtrl(BreaksStoredTexts(static_cast<const char*>(nameText)) ? static_cast<CWnd*>(&nameEdit) : &defaultEdit);
    return;
  }
  if (ExceedsPlacedTextLimit(defaultText)) {
    MessageBoxRes(m_hWnd, IDS_VALUE_TOO_LONG, MB_ICONWARNING);
    GotoDlgCtrl(&defaultEdit);
    return;
  }
  // The label goes into the product's parameter line beside the other texts.
  CString label;
  labelCombo.GetWindowText(label);
  if (BreaksStoredTexts(static_cast<const char*>(label)) || HoldsControlCharacter(label)) {
    MessageBoxRes(m_hWnd, IDS_VALUE_HAS_SEPARATOR, MB_ICONWARNING);
    GotoDlgCtrl(&labelCombo);
    return;
  }
  const int row = typeIndex >= 0 && typeIndex < typeCombo.GetCount() ? typeIndex : -1;
  const uint32_t typeId = row >= 0 ? static_cast<uint32_t>(typeCombo.GetItemData(row)) : 0;
  if (const CTypeParam* type = row >= 0 ? FindTypeParamById(types, typeId) : nullptr) {
    double value = 0;
    bool valid;
    if (type->status & ParamStatus::kAnyFree)
      valid = true;
    else if (type->status & kFormulaTypes)
      // A formula is tested as the number it begins with, as it always was.
      valid = type->IsValueValid(AtofC(defaultText));
    else if ((valid = ReadValueEntry(static_cast<const char*>(defaultText), value) && type->IsValueValid(value)))
      defaultText = StoredValueEntry(static_cast<const char*>(defaultText)).c_str();
    if (!valid) {
      ShowRangeMessage(m_hWnd, IDS_VALUE_OUT_OF_RANGE, type->lowLimit, type->highLimit);
      GotoDlgCtrl(&defaultEdit);
      return;
    }
    param->lowLimit = type->lowLimit;
    param->highLimit = type->highLimit;
  }
  CString title;
  param->SetText(ParamText::kName, nameText);
  param->SetText(ParamText::kLabel, label);
  if (row >= 0) {
    typeCombo.GetLBText(row, title);
    param->SetText(ParamText::kTypeTitle, title);
    param->typeId = typeId;
    jovDatabase::Database* db = CurrentCatalogue();
    unsigned status = 0;
    if (db && db->GoPartypeIDI(typeId) == jovDatabase::eOK && db->GetPartypeStatus(status) == jovDatabase::eOK)
      param->status = status;
  }
  param->SetText(ParamText::kDefault, defaultText);
  param->SetText(ParamText::kAllowed, JoinValues());
  CDialog::OnOK();
}

void CParamDlg::OnHelpButton() {
  ShowWizardHelp(m_hWnd, "kx-prace-pridani_prvku-makro.htm");
}

BOOL CParamDlg::OnHelpInfo(HELPINFO* info) {
  const int topic = TopicOfControl(info ? info->iCtrlId : 0);
  const std::string chm = TheDialogHost().BasePath("HELP\\KX.CHM");
  if (_access(chm.c_str(), 0) == 0) {
    ShowHelpPopup(m_hWnd, chm, static_cast<UINT>(topic), info);
  } else {
    WinHelpA(m_hWnd, TheDialogHost().BasePath("HELP\\KX.HLP").c_str(), HELP_CONTEXTPOPUP,
             static_cast<ULONG_PTR>(topic));
  }
  return TRUE;
}
