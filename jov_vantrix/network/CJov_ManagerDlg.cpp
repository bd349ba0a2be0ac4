#include "jov_vantrix/network/CJov_ManagerDlg.h"

#include <cstdlib>
#include <cstring>
#include <string>
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

CString ReadValue(const char* key, const char* fallback, const char* file) {
  char value[kValueSize] = "";
  GetPrivateProfileStringA(kSection, key, fallback, value, sizeof value, file);
  return value;
}

CString ProjectKey(int index) {
  CString key;
  key.Format("VANTRIX_%d", index);
  return key;
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

  const CString settings = VantrixSettingsFile();
  m_currentLabel.SetWindowText(ReadValue("VANTRIX_ACTUAL", "", settings));
  const int count = std::atoi(ReadValue("VANTRIX_FILE_COUNT", "0", settings));
  for (int i = 0; i < count; ++i) {
    const CString name = ReadValue(ProjectKey(i), "", settings);
    if (!name.IsEmpty()) m_projects.InsertItem(m_projects.GetItemCount(), name);
  }
  m_use = std::atoi(ReadValue("VANTRIX_USE", "0", settings));

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

bool CJov_ManagerDlg::KeepProjectFile(const CString& name) {
  for (INT_PTR i = 0; i < m_deletedProjects.GetSize(); ++i)
    if (EqualsIgnoreCase(m_deletedProjects[i].GetString(), name.GetString())) {
      m_deletedProjects.RemoveAt(i);
      return true;
    }
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
  CVantrixData imported;
  int refusedLine = 0;
  const int read = ImportVantrixCadFile(imported, dialog.GetPathName(), &refusedLine);
  if (refusedLine > 0) {
    CString where;
    where.Format("%d of \"%s\"", refusedLine, dialog.GetFileName().GetString());
    MessageBoxRes(m_hWnd, IDS_CAD_TEXT_ENDS_EARLY, MB_ICONEXCLAMATION, where);
    return;
  }
  // An empty file, or one that is no project text, has no item to offer.
  if (read != 1 || !HasCompleteVantrixData(imported)) {
    AfxMessageBox("read/parse error", MB_ICONINFORMATION);
    return;
  }

  const CString name = dialog.GetFileName();
  LVFINDINFOA find{};
  find.flags = LVFI_STRING;
  find.psz = name;
  if (m_projects.FindItem(&find, -1) >= 0) {
    // The registered project's list (and its marks) stays as it is.
    MessageBoxRes(m_hWnd, IDS_PROJECT_ALREADY_REGISTERED, MB_ICONINFORMATION, name);
    return;
  }
  // A new project's list: a file already there under its name is another
  // list, kept before it is replaced, unless the user deleted that project
  // in this run. A list that is not there is not registered (the save said
  // why).
  VantrixListLoad replaced;
  for (INT_PTR i = 0; i < m_deletedProjects.GetSize(); ++i)
    if (EqualsIgnoreCase(m_deletedProjects[i].GetString(), name.GetString())) replaced.found = VantrixListFound::kWhole;
  if (!SaveVantrixDataList(imported, VantrixProjectFile(name), replaced)) return;
  // A project deleted in this run and imported again keeps its new file.
  KeepProjectFile(name);
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
  // The list file goes only when OK keeps the deletion.
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
  CJov_ModifyDlg modify(name, this);
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

void CJov_ManagerDlg::OnOK() {
  if (!UpdateData(TRUE)) return;
  // A registration that is not written keeps the list files it names; the
  // dialog stays open.
  if (!SaveRegistration()) {
    MessageBoxRes(m_hWnd, IDS_SETTINGS_NOT_WRITTEN, MB_ICONHAND, VantrixSettingsFile());
    return;
  }
  for (INT_PTR i = 0; i < m_deletedProjects.GetSize(); ++i) DeleteFileA(VantrixProjectFile(m_deletedProjects[i]));
  m_deletedProjects.RemoveAll();
  EndDialog(IDOK);
}

bool CJov_ManagerDlg::SaveRegistration() {
  const CString settings = VantrixSettingsFile();
  // The section is written in one piece, so a failure leaves the file as it
  // was; keys the manager does not own (the product dialogs' last floor and
  // room, the keys behind the count) stay as they are.
  std::vector<char> section(1 << 16);
  for (;;) {
    const DWORD n = GetPrivateProfileSectionA(kSection, section.data(), static_cast<DWORD>(section.size()), settings);
    if (n + 2 < section.size()) break;
    if (section.size() >= (1u << 26)) return false;
    section.resize(section.size() * 4);
  }
  std::vector<std::string> lines;
  for (const char* line = section.data(); *line; line += std::strlen(line) + 1) lines.emplace_back(line);
  auto write = [&lines](const char* key, const char* value) {
    const std::string entry = std::string(key) + "=" + value;
    for (std::string& line : lines)
      if (const size_t equals = line.find('=');
          equals != std::string::npos && EqualsIgnoreCase(line.substr(0, equals).c_str(), key)) {
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
