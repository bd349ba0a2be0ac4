#include "wizard/dialogs/CMaskDefDlg.h"

#include <algorithm>

#include "common/HostModule.h"
#include "platform/mfc/CDataExchange.h"
#include "platform/resources/wizard/resource_ids.h"
#include "platform/win32/ui_services.h"
#include "wizard/dialogs/CMaskData.h"
#include "wizard/dialogs/CMaskNameDlg.h"
#include "wizard/dialogs/DialogHost.h"
#include "wizard/dialogs/MaskDefinitionParts.h"
#include "wizard/dialogs/MaskKindNames.h"
#include "wizard/dialogs/MaskStorage.h"

namespace {

constexpr int kColumnWidth = 170;

// The pipe label's own field entries, used instead of a stored section.
struct BuiltInField {
  UINT name;
  const char* definition;
};
constexpr BuiltInField kPipeFields[] = {
    {IDS_PIPE_FIELD_BREAK, "\\"}, {IDS_PIPE_FIELD_E1, "#E1"}, {IDS_PIPE_FIELD_E2, "#E2"}, {IDS_PIPE_FIELD_E3, "#E3"},
    {IDS_PIPE_FIELD_E4, "#E4"},   {IDS_PIPE_FIELD_E5, "#E5"}, {IDS_PIPE_FIELD_E6, "#E6"}, {IDS_PIPE_FIELD_E7, "#E7"},
    {IDS_PIPE_FIELD_E8, "#E8"},   {IDS_PIPE_FIELD_IZ, "&IZ"}, {IDS_PIPE_FIELD_H, "#H"},   {IDS_PIPE_FIELD_E9, "#E9"},
};

CMaskData* RecordOf(const CListCtrl& list, int row) { return reinterpret_cast<CMaskData*>(list.GetItemData(row)); }

// The free-text entry and the entry after it (the line break of pipes) stay
// in the field list however often they are used, and so does a line break
// wherever it stands.
bool Reusable(const CMaskData* record) { return record->index <= 1 || record->definition == "\\"; }

int RowOf(const CListCtrl& list, const CMaskData* record) {
  for (int row = 0, rows = list.GetItemCount(); row < rows; ++row)
    if (RecordOf(list, row) == record) return row;
  return -1;
}

CString LoadText(UINT id) {
  CString text;
  text.LoadString(id);
  return text;
}

}  // namespace

IMPLEMENT_DYNAMIC(CMaskDefDlg, CDialog)

BEGIN_MESSAGE_MAP(CMaskDefDlg, CDialog)
  ON_BN_CLICKED(IDC_MASK_PART_REMOVE, &CMaskDefDlg::OnRemove)
  ON_BN_CLICKED(IDC_MASK_PART_ADD, &CMaskDefDlg::OnAdd)
  ON_BN_CLICKED(IDC_MOVE_UP, &CMaskDefDlg::OnUp)
  ON_BN_CLICKED(IDC_MOVE_DOWN, &CMaskDefDlg::OnDown)
  ON_BN_CLICKED(IDC_HELP_BUTTON, &CMaskDefDlg::OnHelp)
  ON_BN_CLICKED(IDC_MASK_SAVE, &CMaskDefDlg::OnSave)
  ON_NOTIFY(NM_DBLCLK, IDC_MASK_FIELDS, &CMaskDefDlg::OnFieldDoubleClick)
  ON_NOTIFY(NM_DBLCLK, IDC_MASK_PARTS, &CMaskDefDlg::OnPartDoubleClick)
  ON_CBN_SELCHANGE(IDC_MASK_STORED, &CMaskDefDlg::OnStoredChange)
  ON_NOTIFY(LVN_ITEMCHANGED, IDC_MASK_PARTS, &CMaskDefDlg::OnPartChanged)
END_MESSAGE_MAP()

CMaskDefDlg::CMaskDefDlg(unsigned kind, const CString& preset, unsigned mode, CWnd* parent)
    : CDialog(IDD_MASK_DEF, parent), kind(kind), preset(preset), presetCopy(preset), mode(mode) {
  freeTextFormat.LoadString(IDS_FREE_TEXT_FORMAT);
}

CMaskDefDlg::~CMaskDefDlg() = default;

void CMaskDefDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, IDC_MASK_FIELDS, fieldList);
  DDX_Control(dx, IDC_MASK_PARTS, maskList);
  DDX_Control(dx, IDC_MOVE_UP, upButton);
  DDX_Control(dx, IDC_MOVE_DOWN, downButton);
  DDX_Control(dx, IDC_MASK_PART_REMOVE, removeButton);
  DDX_Control(dx, IDC_MASK_PART_ADD, addButton);
  DDX_Control(dx, IDC_MASK_STORED, storedCombo);
  DDX_Control(dx, IDC_MASK_SAVE, saveButton);
}

BOOL CMaskDefDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  fieldList.InsertColumn(0, LoadText(IDS_FIELDS_COLUMN), LVCFMT_LEFT, kColumnWidth);
  maskList.InsertColumn(0, LoadText(IDS_MASK_COLUMN), LVCFMT_LEFT, kColumnWidth);
  SetIcon(TheDialogHost().Icon(), FALSE);
  fieldList.partner = &maskList;
  fieldList.editor = this;
  maskList.editor = this;
  ReadFieldEntries();
  ParseDefinition(preset);
  if (mode == kEditListed) {
    CutSaveBand();
    return TRUE;
  }
  ReadStoredMasks();
  return TRUE;
}

void CMaskDefDlg::CutSaveBand() {
  CRect band, window;
  saveButton.GetWindowRect(&band);
  GetWindowRect(&window);
  const int h = window.bottom - band.top;
  for (int id : {IDOK, IDCANCEL, IDC_HELP_BUTTON}) {
    CWnd* button = GetDlgItem(id);
    if (!button) continue;
    CRect r;
    button->GetWindowRect(&r);
    ScreenToClient(&r);
    button->SetWindowPos(nullptr, r.left, r.top - h, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SetWindowPos(nullptr, window.left, window.top + h / 2, window.Width(), window.Height() - 2 * (h / 2),
               SWP_NOZORDER | SWP_NOACTIVATE);
  // The stored masks now lie outside the window: out of the tab order too,
  // so that no key reaches them.
  for (int id : {IDC_MASK_STORED_LABEL, IDC_MASK_STORED, IDC_MASK_SAVE}) {
    CWnd* control = GetDlgItem(id);
    if (!control) continue;
    control->EnableWindow(FALSE);
    control->ShowWindow(SW_HIDE);
  }
}

void CMaskDefDlg::ReadStoredMasks() {
  const std::string iniFile = TheDialogHost().ProfilePath(kMaskIniFile);
  const std::string setFile = TheDialogHost().ProfilePath(kMaskSetFile);
  CString active = ReadActiveMask(iniFile.c_str(), MaskNamesOf(kind).activeKey);
  if (mode == kProposed) {
    active = "";
  } else {
    ParseDefinition(active);
  }
  const CString presetName = LoadText(IDS_PRESET_MASK_NAME);
  int firstFree = kNoKey;
  for (const StoredMask& mask : ReadMaskList(setFile.c_str(), MaskNamesOf(kind).maskList, &firstFree)) {
    if (presetIndex < 0 && mask.name.CompareNoCase(presetName) == 0) presetIndex = static_cast<int>(storedMasks.size());
    storedMasks.push_back({mask.name, mask.definition, mask.key});
  }
  if (presetIndex < 0) {
    storedMasks.push_back({presetName, mode == kProposed ? preset : CString(), firstFree});
    presetIndex = static_cast<int>(storedMasks.size()) - 1;
    presetStored = 0;
  } else {
    if (mode == kProposed) storedMasks[static_cast<size_t>(presetIndex)].definition = preset;
    presetStored = 1;
  }
  std::rotate(storedMasks.begin(), storedMasks.begin() + presetIndex, storedMasks.begin() + presetIndex + 1);
  presetIndex = 0;
  int selected = -1;
  for (size_t i = 0; i < storedMasks.size(); ++i) {
    const int row = storedCombo.AddString(storedMasks[i].name);
    storedCombo.SetItemData(row, i);
    if (selected < 0 && storedMasks[i].definition == active) selected = row;
  }
  storedCombo.SetCurSel(selected >= 0 ? selected : presetIndex);
}

CString CMaskDefDlg::FreeTextRow(const CString& text) const {
  return FormatResourceText(freeTextFormat, text).c_str();
}

CMaskData* CMaskDefDlg::NewFreeText(const CString& text) {
  auto* record = new CMaskData(freeTextFormat, text);
  record->index = 0;
  freeTexts_.AddTail(record);
  return record;
}

void CMaskDefDlg::DeleteFreeText(CMaskData* record) {
  for (CSeznam* node = freeTexts_.GetHead(); node; node = node->GetNext())
    if (node == record) {
      freeTexts_.Delete(record);
      return;
    }
}

void CMaskDefDlg::ReadFieldEntries() {
  auto* freeEntry = new CMaskData(FreeTextRow(""));
  freeEntry->index = 0;
  fieldRecords.AddTail(freeEntry);
  fieldList.InsertItem(LVIF_TEXT | LVIF_PARAM, 0, freeEntry->name, 0, 0, 0, reinterpret_cast<LPARAM>(freeEntry));
  std::vector<FieldEntry> entries;
  if (kind != 'W') {
    entries = ::ReadFieldEntries(TheDialogHost().ProfilePath(kMaskSetFile).c_str(), MaskNamesOf(kind).fieldEntries);
  } else {
    for (const BuiltInField& field : kPipeFields) {
      const CString name = LoadText(field.name);
      if (!name.IsEmpty()) entries.push_back({name, field.definition});
    }
  }
  for (const FieldEntry& entry : entries) {
    auto* record = new CMaskData(entry.name, entry.definition);
    record->index = fieldList.GetItemCount();
    fieldRecords.AddTail(record);
    fieldList.InsertItem(LVIF_TEXT | LVIF_PARAM, record->index, entry.name, 0, 0, 0, reinterpret_cast<LPARAM>(record));
  }
  if (fieldList.GetItemCount() > 0) fieldList.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
  if (maskList.GetItemCount() == 0) {
    removeButton.EnableWindow(FALSE);
  } else {
    maskList.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    removeButton.EnableWindow(TRUE);
  }
  addButton.EnableWindow(fieldList.GetItemCount() > 0);
  UpdateButtons(SelectedPart());
}

void CMaskDefDlg::ParseDefinition(const CString& text) {
  while (maskList.GetItemCount() > 0) {
    maskList.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    RemoveField();
  }
  preset = text;
  const std::vector<MaskPart> parts = SplitMaskDefinition(text.GetString());
  std::string before;
  for (const MaskPart& part : parts) {
    std::string_view shown = part.text;
    // The space kept between a field and the free text after it is the
    // editor's own: BuildDefinition puts it back.
    if (!part.token && shown.size() > 1 && shown[0] == ' ' && FreeTextFusesWithField(before, shown.substr(1)))
      shown.remove_prefix(1);
    AddToken(CString(shown.data(), static_cast<int>(shown.size())), !part.token);
    before += part.text;
  }
  UpdateButtons(SelectedPart());
}

bool CMaskDefDlg::AddToken(const CString& token, bool forceFree) {
  if (!forceFree) {
    for (int row = 0, rows = fieldList.GetItemCount(); row < rows; ++row) {
      CMaskData* record = RecordOf(fieldList, row);
      if (!record || record->definition != token) continue;
      maskList.InsertItem(LVIF_TEXT | LVIF_PARAM, maskList.GetItemCount(), record->name, 0, 0, 0,
                          reinterpret_cast<LPARAM>(record));
      if (!Reusable(record)) fieldList.DeleteItem(row);
      return true;
    }
  }
  CMaskData* record = NewFreeText(token);
  maskList.InsertItem(LVIF_TEXT | LVIF_PARAM, maskList.GetItemCount(), FreeTextRow(token), 0, 0, 0,
                      reinterpret_cast<LPARAM>(record));
  return false;
}

void CMaskDefDlg::SelectNear(CListCtrl& list, int row) {
  const int rows = list.GetItemCount();
  if (rows > 0) list.SetItemState(std::min(row, rows - 1), LVIS_SELECTED, LVIS_SELECTED);
}

void CMaskDefDlg::AddField() {
  const int row = fieldList.GetNextItem(-1, LVNI_SELECTED);
  CMaskData* entry = row >= 0 ? RecordOf(fieldList, row) : nullptr;
  if (!entry) return;
  CMaskData* part = entry;
  CString text = entry->name;
  if (entry->index == 0) {
    CMaskNameDlg ask(this, CMaskNameDlg::kFreeText);
    if (ask.DoModal() != IDOK) return;
    part = NewFreeText(ask.name);
    text = FreeTextRow(ask.name);
  }
  const int after = maskList.GetNextItem(-1, LVNI_FOCUSED | LVNI_SELECTED);
  maskList.InsertItem(LVIF_TEXT | LVIF_PARAM, after >= 0 ? after + 1 : maskList.GetItemCount(), text, 0, 0, 0,
                      reinterpret_cast<LPARAM>(part));
  if (!Reusable(entry)) {
    fieldList.DeleteItem(row);
    SelectNear(fieldList, row);
  }
  UpdateButtons(SelectedPart());
}

void CMaskDefDlg::RemoveField() {
  const int row = SelectedPart();
  if (row < 0) return;
  CMaskData* record = RecordOf(maskList, row);
  maskList.DeleteItem(row);
  if (record && record->index == 0) {
    DeleteFreeText(record);
  } else if (record && record->index > 1 && RowOf(fieldList, record) < 0) {
    const int at = std::min(record->index, fieldList.GetItemCount());
    fieldList.InsertItem(LVIF_TEXT | LVIF_PARAM, at, record->name, 0, 0, 0, reinterpret_cast<LPARAM>(record));
  }
  SelectNear(maskList, row);
  UpdateButtons(SelectedPart());
}

bool CMaskDefDlg::DropField(int source, int target) {
  CMaskData* entry = RecordOf(fieldList, source);
  if (!entry) return false;
  if (entry->index == 0) {
    CMaskNameDlg ask(this, CMaskNameDlg::kFreeText);
    if (ask.DoModal() == IDOK) AddToken(ask.name, true);
    UpdateButtons(SelectedPart());
    return true;
  }
  maskList.InsertItem(LVIF_TEXT | LVIF_PARAM, target, entry->name, 0, 0, 0, reinterpret_cast<LPARAM>(entry));
  if (source >= 1) fieldList.DeleteItem(source);
  maskList.SetItemState(target, LVIS_SELECTED, LVIS_SELECTED);
  UpdateButtons(SelectedPart());
  return false;
}

void CMaskDefDlg::MovePart(int step) {
  const int row = SelectedPart();
  const int to = row + step;
  if (row < 0 || to < 0 || to >= maskList.GetItemCount()) return;
  const CString text = maskList.GetItemText(row, 0);
  const LPARAM record = static_cast<LPARAM>(maskList.GetItemData(row));
  maskList.DeleteItem(row);
  maskList.InsertItem(LVIF_TEXT | LVIF_PARAM, to, text, 0, 0, 0, record);
  maskList.SetItemState(to, LVIS_SELECTED, LVIS_SELECTED);
  UpdateButtons(to);
}

void CMaskDefDlg::UpdateButtons(int selectedPart) {
  const int rows = maskList.GetItemCount();
  if (rows > 1) {
    removeButton.EnableWindow(selectedPart != -1);
    upButton.EnableWindow(selectedPart > 0);
    downButton.EnableWindow(selectedPart < rows - 1);
  } else {
    upButton.EnableWindow(FALSE);
    downButton.EnableWindow(FALSE);
    removeButton.EnableWindow(rows == 1);
  }
}

void CMaskDefDlg::BuildDefinition() {
  result.Empty();
  int previous = -1;
  for (int row = 0, rows = maskList.GetItemCount(); row < rows; ++row) {
    const CMaskData* record = RecordOf(maskList, row);
    if (!record) continue;
    const bool fieldsMeet = !result.IsEmpty() && record->index >= 2 && previous >= 2;
    // A free text would otherwise become part of the field before it.
    const bool textRunsOn =
        record->index == 0 && FreeTextFusesWithField(result.GetString(), record->definition.GetString());
    if (fieldsMeet || textRunsOn) result += ' ';
    result += record->definition;
    previous = record->index;
  }
}

void CMaskDefDlg::SaveNamedMask() {
  // Only the modes that read the stored masks can save one.
  if (presetIndex < 0 || static_cast<size_t>(presetIndex) >= storedMasks.size() || storedCombo.GetCurSel() < 0)
    return;
  CMaskNameDlg ask(this, CMaskNameDlg::kMaskName);
  storedCombo.GetWindowText(ask.name);
  BuildDefinition();
  const std::string setFile = TheDialogHost().ProfilePath(kMaskSetFile);
  const CString section = MaskNamesOf(kind).maskList;
  maskData* same = nullptr;
  for (;;) {
    if (ask.DoModal() != IDOK) return;
    if (!MaskFitsStorage(ask.name, result)) {
      MessageBoxRes(m_hWnd, IDS_MASK_TOO_LONG, MB_ICONWARNING);
      return;
    }
    auto found = std::find_if(storedMasks.begin(), storedMasks.end(),
                              [&](const maskData& m) { return m.name.CompareNoCase(ask.name) == 0; });
    if (found == storedMasks.end()) break;
    CString title;
    GetWindowText(title);
    if (MessageBoxA(m_hWnd, FormatResourceText(LoadText(IDS_MASK_NAME_TAKEN), ask.name).c_str(), title,
                    MB_YESNO | MB_ICONQUESTION) == IDNO)
      continue;
    same = &*found;
    break;
  }
  maskData& proposed = storedMasks[static_cast<size_t>(presetIndex)];
  // A new mask takes a key that is empty in the file now (masks stored past
  // a gap are not in the list); the proposed mask, not stored yet, gives its
  // key up and takes the next empty one.
  const int key = same ? same->key : FirstEmptyMaskKey(setFile.c_str(), section, 0);
  if (key >= kNoKey) {
    MessageBoxRes(m_hWnd, IDS_MASK_LIST_FULL, MB_ICONWARNING);
    return;
  }
  const CString name = same ? same->name : ask.name;
  if (!WriteMask(setFile.c_str(), section, key, name, result)) {
    MessageBoxRes(m_hWnd, IDS_SETTINGS_NOT_SAVED, MB_ICONERROR, setFile.c_str());
    return;
  }
  if (same) {
    same->definition = result;
    if (same == &proposed) presetStored = 1;
    storedCombo.SetCurSel(storedCombo.FindStringExact(-1, same->name));
    return;
  }
  if (!presetStored && proposed.key == key) proposed.key = FirstEmptyMaskKey(setFile.c_str(), section, key + 1);
  storedMasks.push_back({ask.name, result, key});
  const int row = storedCombo.AddString(ask.name);
  storedCombo.SetItemData(row, storedMasks.size() - 1);
  storedCombo.SetCurSel(row);
}

void CMaskDefDlg::OnOK() {
  BuildDefinition();
  if (mode == kProposed || mode == kActive) {
    const CString presetName = LoadText(IDS_PRESET_MASK_NAME);
    if (!MaskFitsStorage(presetName, result)) {
      MessageBoxRes(m_hWnd, IDS_MASK_TOO_LONG, MB_ICONWARNING);
      return;
    }
    const std::string iniFile = TheDialogHost().ProfilePath(kMaskIniFile);
    if (!WriteActiveMask(iniFile.c_str(), MaskNamesOf(kind).activeKey, result)) {
      MessageBoxRes(m_hWnd, IDS_SETTINGS_NOT_SAVED, MB_ICONERROR, iniFile.c_str());
      return;
    }
    const maskData& entry = storedMasks[static_cast<size_t>(presetIndex)];
    const std::string setFile = TheDialogHost().ProfilePath(kMaskSetFile);
    if (entry.key < kNoKey && !WriteMask(setFile.c_str(), MaskNamesOf(kind).maskList, entry.key, presetName, result)) {
      MessageBoxRes(m_hWnd, IDS_SETTINGS_NOT_SAVED, MB_ICONERROR, setFile.c_str());
      return;
    }
  }
  CDialog::OnOK();
}

void CMaskDefDlg::OnAdd() { AddField(); }
void CMaskDefDlg::OnRemove() { RemoveField(); }
void CMaskDefDlg::OnUp() { MovePart(-1); }
void CMaskDefDlg::OnDown() { MovePart(+1); }
void CMaskDefDlg::OnSave() { SaveNamedMask(); }
void CMaskDefDlg::OnHelp() { ShowWizardHelp(m_hWnd, "Popis-vlastni_nastaveni.htm"); }

void CMaskDefDlg::OnFieldDoubleClick(NMHDR*, LRESULT* result) {
  AddField();
  *result = 0;
}

void CMaskDefDlg::OnPartDoubleClick(NMHDR*, LRESULT* result) {
  RemoveField();
  *result = 0;
}

void CMaskDefDlg::OnStoredChange() {
  const int row = storedCombo.GetCurSel();
  if (row < 0) return;
  const size_t index = storedCombo.GetItemData(row);
  if (index < storedMasks.size()) ParseDefinition(storedMasks[index].definition);
}

void CMaskDefDlg::OnPartChanged(NMHDR* header, LRESULT* result) {
  const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
  if ((change->uChanged & LVIF_STATE) && ((change->uNewState ^ change->uOldState) & LVIS_SELECTED))
    UpdateButtons(SelectedPart());
  *result = 0;
}
