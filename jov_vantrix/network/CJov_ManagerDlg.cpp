#include "jov_vantrix/network/CJov_ManagerDlg.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "common/CVantrixData.h"
#include "common/SettingsWrite.h"
#include "common/HostModule.h"
#include "common/VantrixDataList.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/frame/DialogMessages.h"
#include "jov_vantrix/frame/HelpTopic.h"
#include "jov_vantrix/network/CJov_ModifyDlg.h"
#include "platform/mfc/AfxMessageBox.h"
#include "platform/mfc/CDataExchange.h"
#include "platform/mfc/CFileDialog.h"
#include "platform/resources/jov_vantrix/resource_ids.h"
#include "platform/win32/code_page.h"
#include "platform/win32/file_system.h"
#include "platform/win32/profile.h"
#include "platform/win32/resources.h"
#include "platform/win32/ui_services.h"

namespace {

constexpr char kSection[] = "VANTRIX";
constexpr int kValueSize = 1024;

CString ProjectKey(int index) {
  CString key;
  key.Format("VANTRIX_%d", index);
  return key;
}

bool IsProfileBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

// The registration's values as "Jov.ini" holds them. The profile reader
// trims a value and takes one pair of enclosing quotes off, so a name it
// would change (a leading blank) is kept in quotes; others as they are.
std::string StoredValue(std::string_view value) {
  const bool quoted = !value.empty() && (IsProfileBlank(value.front()) || IsProfileBlank(value.back()) ||
                                         (value.size() >= 2 && value.front() == '"' && value.back() == '"'));
  return quoted ? "\"" + std::string(value) + "\"" : std::string(value);
}

// A stored value as the profile reader gives it back (the section comes
// trimmed, with its quotes).
std::string ReadBackValue(std::string_view stored) {
  if (stored.size() >= 2 && stored.front() == '"' && stored.back() == '"') stored = stored.substr(1, stored.size() - 2);
  return std::string(stored);
}

// A name the registration can hold: a line break would end its line.
bool CanBeRegistered(const char* name) { return std::strpbrk(name, "\r\n") == nullptr; }

// The lines "key=value" of the registration's section, read once; false
// when the section is too large to be read whole.
bool ReadRegistrationSection(const char* settings, std::vector<std::string>& lines) {
  std::vector<char> section(1 << 16);
  for (;;) {
    const DWORD n = GetPrivateProfileSectionA(kSection, section.data(), static_cast<DWORD>(section.size()), settings);
    if (n + 2 < section.size()) break;
    if (section.size() >= (1u << 26)) return false;
    section.resize(section.size() * 4);
  }
  for (const char* line = section.data(); *line; line += std::strlen(line) + 1) lines.emplace_back(line);
  return true;
}

// The key of a section line; empty for a line that is no key.
std::string_view KeyOf(std::string_view line) {
  const size_t equals = line.find('=');
  return equals == std::string_view::npos ? std::string_view() : line.substr(0, equals);
}

// The value of the first line of key, as the profile reader gives it, or
// fallback.
std::string SectionValue(const std::vector<std::string>& lines, const char* key, const char* fallback) {
  for (const std::string& line : lines) {
    const std::string_view name = KeyOf(line);
    if (!name.empty() && EqualsIgnoreCase(name, key)) return ReadBackValue(std::string_view(line).substr(name.size() + 1));
  }
  return fallback;
}

// A count or switch: its leading integer, held within int.
int LeadingInt(const std::string& text) {
  const long long value = std::strtoll(text.c_str(), nullptr, 10);
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

// n of a key "VANTRIX_<n>" as ProjectKey writes it; -1 for any other key.
int ProjectIndex(std::string_view key) {
  constexpr std::string_view prefix = "VANTRIX_";
  if (key.size() <= prefix.size() || key.size() > prefix.size() + 10 ||
      !EqualsIgnoreCase(key.substr(0, prefix.size()), prefix))
    return -1;
  const std::string_view digits = key.substr(prefix.size());
  if (digits.size() > 1 && digits.front() == '0') return -1;
  long long index = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return -1;
    index = index * 10 + (c - '0');
  }
  return index > INT_MAX ? -1 : static_cast<int>(index);
}

}  // namespace

CString VantrixSettingsFile() {
  char path[MAX_PATH];
  TheApp().GetDataPath(path, "Jov.ini", MAX_PATH);
  return path;
}

CString VantrixProjectFile(const char* name) {
  char folder[MAX_PATH];
  TheApp().GetDataPath(folder, nullptr, MAX_PATH);
  return CString(folder) + "Vantrix\\" + name;
}

BEGIN_MESSAGE_MAP(CJov_ManagerDlg, CDialog)
  ON_BN_CLICKED(IDC_MANAGER_IMPORT, &CJov_ManagerDlg::OnImport)
  ON_BN_CLICKED(IDC_MANAGER_MODIFY, &CJov_ManagerDlg::OnModify)
  ON_BN_CLICKED(IDC_MANAGER_DELETE, &CJov_ManagerDlg::OnDelete)
  ON_MESSAGE(kHostDialogQuery, &CJov_ManagerDlg::OnHostQuery)
  ON_NOTIFY(LVN_ITEMCHANGED, IDC_PROJECT_LIST, &CJov_ManagerDlg::OnItemChanged)
  ON_BN_CLICKED(IDC_MANAGER_MAKE_CURRENT, &CJov_ManagerDlg::OnMakeCurrent)
  ON_NOTIFY(NM_DBLCLK, IDC_PROJECT_LIST, &CJov_ManagerDlg::OnDoubleClick)
  ON_BN_CLICKED(IDC_MANAGER_HELP, &CJov_ManagerDlg::OnHelp)
END_MESSAGE_MAP()

CJov_ManagerDlg::CJov_ManagerDlg(CWnd* parent) : CDialog(IDD_JOV_MANAGER, parent) {}

CJov_ManagerDlg::~CJov_ManagerDlg() = default;

void CJov_ManagerDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, IDOK, m_okButton);
  DDX_Control(dx, IDC_MANAGER_CURRENT, m_currentLabel);
  DDX_Control(dx, IDC_PROJECT_LIST, m_projects);
  DDX_Control(dx, IDC_MANAGER_USE, m_useSwitch);
  DDX_Check(dx, IDC_MANAGER_USE, m_use);
  DDX_Control(dx, IDC_MANAGER_DELETE, m_deleteButton);
  DDX_Control(dx, IDC_MANAGER_MODIFY, m_modifyButton);
  DDX_Control(dx, IDC_MANAGER_IMPORT, m_importButton);
  DDX_Control(dx, IDC_MANAGER_MAKE_CURRENT, m_makeCurrentButton);
}

BOOL CJov_ManagerDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetIcon(TheApp().m_hIcon, FALSE);

  CRect client;
  m_projects.GetClientRect(&client);
  m_projects.InsertColumn(0, "", LVCFMT_LEFT, client.Width() - 10);

  // The section is read once: the count only bounds the keys that are
  // there, so a damaged count costs nothing.
  std::vector<std::string> lines;
  ReadRegistrationSection(VantrixSettingsFile(), lines);
  m_currentLabel.SetWindowText(SectionValue(lines, "VANTRIX_ACTUAL", "").c_str());
  const int count = LeadingInt(SectionValue(lines, "VANTRIX_FILE_COUNT", "0"));
  std::map<int, std::string> projects;
  for (const std::string& line : lines) {
    const std::string_view key = KeyOf(line);
    const int index = ProjectIndex(key);
    // The first line of a key is the one the reader gives.
    if (index >= 0 && index < count)
      projects.emplace(index, ReadBackValue(std::string_view(line).substr(key.size() + 1)));
  }
  for (const auto& [index, name] : projects)
    if (!name.empty()) m_projects.InsertItem(m_projects.GetItemCount(), name.c_str());
  m_use = LeadingInt(SectionValue(lines, "VANTRIX_USE", "0"));

  EnableSelectionButtons(FALSE);
  m_useSwitch.EnableWindow(m_projects.GetItemCount() > 0);
  UpdateData(FALSE);
  return TRUE;
}

void CJov_ManagerDlg::EnableSelectionButtons(BOOL enable) {
  m_deleteButton.EnableWindow(enable);
  m_makeCurrentButton.EnableWindow(enable);
  m_modifyButton.EnableWindow(enable);
}

CJov_ManagerDlg::ImportedProject* CJov_ManagerDlg::FindImported(const CString& name) {
  for (ImportedProject& project : m_imported)
    if (EqualsIgnoreCase(project.name.GetString(), name.GetString())) return &project;
  return nullptr;
}

bool CJov_ManagerDlg::IsDeletedInThisRun(const CString& name) const {
  for (INT_PTR i = 0; i < m_deletedProjects.GetSize(); ++i)
    if (EqualsIgnoreCase(m_deletedProjects[i].GetString(), name.GetString())) return true;
  return false;
}

void CJov_ManagerDlg::OnImport() {
  char filter[256] = "";
  LoadStringA(AfxGetResourceHandle(), IDS_FILTER_CAD_FILES, filter, sizeof filter);
  DWORD size = 0;
  GetOpenFileNameStructSize(nullptr, &size);
  CFileDialog dialog(TRUE, "cad", "", OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_LONGNAMES,
                     filter, this, size);
  if (dialog.DoModal() != IDOK) return;

  if (!EqualsIgnoreCase(dialog.GetFileExt().GetString(), "cad")) {
    AfxMessageBox("file extension does not match. import aborted.", MB_ICONINFORMATION);
    return;
  }
  const CString name = dialog.GetFileName();
  if (!CanBeRegistered(name)) {
    MessageBoxRes(m_hWnd, IDS_PROJECT_NAME_LINE_BREAK, MB_ICONEXCLAMATION, name);
    return;
  }
  auto imported = std::make_unique<CVantrixData>();
  int refusedLine = 0;
  const int read = ImportVantrixCadFile(*imported, dialog.GetPathName(), &refusedLine);
  if (refusedLine > 0) {
    CString where;
    where.Format("%d of \"%s\"", refusedLine, name.GetString());
    MessageBoxRes(m_hWnd, IDS_CAD_TEXT_ENDS_EARLY, MB_ICONEXCLAMATION, where);
    return;
  }
  // An empty file, or one that is no project text, has no item to offer.
  if (read != 1 || !HasCompleteVantrixData(*imported)) {
    AfxMessageBox("read/parse error", MB_ICONINFORMATION);
    return;
  }

  LVFINDINFOA find{};
  find.flags = LVFI_STRING;
  find.psz = name;
  if (m_projects.FindItem(&find, -1) >= 0) {
    // The registered project's list (and its marks) stays as it is.
    MessageBoxRes(m_hWnd, IDS_PROJECT_ALREADY_REGISTERED, MB_ICONINFORMATION, name);
    return;
  }
  // Its list file is written by OK, so Cancel leaves the files as they were.
  m_imported.push_back({name, std::move(imported)});
  m_projects.InsertItem(m_projects.GetItemCount(), name);
  m_useSwitch.EnableWindow(m_projects.GetItemCount() > 0);
  m_currentLabel.SetWindowText(name);
  m_use = 1;
  UpdateData(FALSE);
}

void CJov_ManagerDlg::OnMakeCurrent() {
  const int selected = m_projects.GetNextItem(-1, LVNI_SELECTED);
  if (selected < 0) {
    m_currentLabel.SetWindowText("");
    return;
  }
  m_currentLabel.SetWindowText(m_projects.GetItemText(selected, 0));
  m_projects.SetFocus();
}

void CJov_ManagerDlg::OnDelete() {
  const int selected = m_projects.GetNextItem(-1, LVNI_SELECTED);
  if (selected < 0) return;
  const CString name = m_projects.GetItemText(selected, 0);
  CString current;
  m_currentLabel.GetWindowText(current);
  if (name == current) m_currentLabel.SetWindowText("");
  m_projects.DeleteItem(selected);
  m_deleteButton.EnableWindow(FALSE);
  m_modifyButton.EnableWindow(FALSE);
  // The list file goes only when OK keeps the deletion. A project imported
  // in this run has none yet; one deleted before and imported anew still
  // waits for that deletion.
  if (const ImportedProject* imported = FindImported(name))
    m_imported.erase(m_imported.begin() + (imported - m_imported.data()));
  else
    m_deletedProjects.Add(name);
  if (m_projects.GetItemCount() == 0) {
    m_use = 0;
    m_useSwitch.EnableWindow(FALSE);
    UpdateData(FALSE);
  }
}

void CJov_ManagerDlg::OnModify() {
  const int selected = m_projects.GetNextItem(-1, LVNI_SELECTED);
  if (selected < 0) return;
  const CString name = m_projects.GetItemText(selected, 0);
  if (name.IsEmpty()) return;
  // A project imported in this run is marked in its records waiting for OK.
  ImportedProject* imported = FindImported(name);
  CJov_ModifyDlg modify(name, this, imported ? imported->records.get() : nullptr);
  modify.DoModal();
}

void CJov_ManagerDlg::OnItemChanged(NMHDR*, LRESULT* result) {
  EnableSelectionButtons(m_projects.GetSelectedCount() > 0);
  *result = 0;
}

void CJov_ManagerDlg::OnDoubleClick(NMHDR*, LRESULT* result) {
  OnMakeCurrent();
  *result = 0;
}

void CJov_ManagerDlg::OnHelp() {
  ShowHelpTopic(m_hWnd, "vantrix-2.htm");
}

LRESULT CJov_ManagerDlg::OnHostQuery(WPARAM, LPARAM) { return 1; }

bool CJov_ManagerDlg::WriteImportedLists(bool replacing, std::vector<CString>& written) {
  for (ImportedProject& project : m_imported) {
    if (IsDeletedInThisRun(project.name) != replacing) continue;
    // The list of a project the user deleted goes as the deletion would
    // take it; any other file there is kept beside it.
    VantrixListLoad there;
    if (replacing) there.found = VantrixListFound::kWhole;
    const CString path = VantrixProjectFile(project.name);
    if (!SaveVantrixDataList(*project.records, path, there)) return false;
    written.push_back(path);
  }
  return true;
}

void CJov_ManagerDlg::OnOK() {
  if (!UpdateData(TRUE)) return;
  // New projects' lists first: one that is not written (said) registers
  // nothing, and neither does a registration that is not written; the
  // lists written for it go again and the dialog stays.
  std::vector<CString> written;
  const bool listed = WriteImportedLists(false, written);
  if (!listed || !SaveRegistration()) {
    for (const CString& path : written) DeleteFileA(path);
    if (listed) MessageBoxRes(m_hWnd, IDS_SETTINGS_NOT_WRITTEN, MB_ICONHAND, VantrixSettingsFile());
    return;
  }
  // A deleted project's list is replaced or removed only once the
  // registration no longer names the old one; one not written is said and
  // its old list stays.
  WriteImportedLists(true, written);
  for (INT_PTR i = 0; i < m_deletedProjects.GetSize(); ++i)
    if (!FindImported(m_deletedProjects[i])) DeleteFileA(VantrixProjectFile(m_deletedProjects[i]));
  m_deletedProjects.RemoveAll();
  m_imported.clear();
  EndDialog(IDOK);
}

bool CJov_ManagerDlg::SaveRegistration() {
  const CString settings = VantrixSettingsFile();
  // The section is written in one piece, so a failure leaves the file as it
  // was; keys the manager does not own (the product dialogs' last floor and
  // room, the keys behind the count) stay as they are.
  std::vector<std::string> lines;
  if (!ReadRegistrationSection(settings, lines)) return false;
  auto write = [&lines](const char* key, const char* value) {
    const std::string entry = std::string(key) + "=" + StoredValue(value);
    for (std::string& line : lines)
      if (const std::string_view name = KeyOf(line); !name.empty() && EqualsIgnoreCase(name, key)) {
        line = entry;
        return;
      }
    lines.push_back(entry);
  };
  char current[kValueSize] = "";
  m_currentLabel.GetWindowText(current, sizeof current);
  write("VANTRIX_ACTUAL", current);
  const int count = m_projects.GetItemCount();
  for (int i = 0; i < count; ++i) {
    char name[kValueSize] = "";
    m_projects.GetItemText(i, 0, name, sizeof name);
    write(ProjectKey(i), name);
  }
  if (count == 0) m_use = 0;
  CString number;
  number.Format("%d", m_use);
  write("VANTRIX_USE", number);
  number.Format("%d", count);
  write("VANTRIX_FILE_COUNT", number);
  std::string entries;
  for (const std::string& line : lines) {
    entries += line;
    entries += '\0';
  }
  entries += '\0';
  // The registration is the user's own action: its failure keeps the dialog open.
  return WriteSettingsFile(
      settings.GetString(), [&] { return WritePrivateProfileSectionA(kSection, entries.data(), settings) != FALSE; },
      SettingsFailure::kCallerSays);
}
