#include "jov_vantrix/network/CJov_ModifyDlg.h"

#include "common/VantrixDataControls.h"
#include "common/HostModule.h"
#include "common/VantrixDataList.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/frame/DialogMessages.h"
#include "jov_vantrix/network/CJov_ManagerDlg.h"
#include "platform/mfc/CDataExchange.h"
#include "platform/resources/jov_vantrix/resource_ids.h"
#include "platform/win32/ui_services.h"

BEGIN_MESSAGE_MAP(CJov_ModifyDlg, CDialog)
  ON_BN_CLICKED(IDC_MODIFY_TICK_ALL, &CJov_ModifyDlg::OnTickAll)
  ON_BN_CLICKED(IDC_MODIFY_CLEAR_ALL, &CJov_ModifyDlg::OnClearAll)
  ON_MESSAGE(kHostDialogQuery, &CJov_ModifyDlg::OnHostQuery)
END_MESSAGE_MAP()

CJov_ModifyDlg::CJov_ModifyDlg(const char* projectName, CWnd* parent, CVantrixData* imported)
    : CDialog(IDD_JOV_MODIFY, parent), m_projectName(projectName), m_imported(imported) {}

CJov_ModifyDlg::~CJov_ModifyDlg() = default;

void CJov_ModifyDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, IDC_PROJECT_LIST, m_items);
}

BOOL CJov_ModifyDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetIcon(TheApp().m_hIcon, FALSE);

  CString title;
  GetWindowText(title);
  SetWindowText(title + " - " + m_projectName);

  CRect client;
  m_items.GetClientRect(&client);
  m_items.InsertColumn(0, "", LVCFMT_LEFT, client.Width() - 10);
  m_items.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);

  if (m_imported) {
    // Only the complete records would be read back from its file.
    FillVantrixListCtrl(*m_imported, m_items);
    for (int row = m_items.GetItemCount(); row-- > 0;)
      if (!IsVantrixDataComplete(*reinterpret_cast<const CVantrixData*>(m_items.GetItemData(row))))
        m_items.DeleteItem(row);
    return TRUE;
  }
  const CString file = VantrixProjectFile(m_projectName);
  m_loaded = LoadVantrixDataList(m_records, file);
  FillVantrixListCtrl(m_records, m_items);
  if (m_loaded.found == VantrixListFound::kDamaged) {
    CString which;
    which.Format("\"%s\" (%u records read)", m_projectName.GetString(), m_loaded.records);
    MessageBoxRes(m_hWnd, IDS_PROJECT_LIST_DAMAGED, MB_ICONEXCLAMATION, which);
  } else if (m_loaded.found == VantrixListFound::kUnopenable) {
    ShowVantrixListLoad(file, m_loaded);
  }
  return TRUE;
}

void CJov_ModifyDlg::CheckAll(BOOL check) {
  for (int i = 0; i < m_items.GetItemCount(); ++i) m_items.SetCheck(i, check);
}

void CJov_ModifyDlg::OnTickAll() { CheckAll(TRUE); }

void CJov_ModifyDlg::OnClearAll() { CheckAll(FALSE); }

LRESULT CJov_ModifyDlg::OnHostQuery(WPARAM, LPARAM) { return 1; }

void CJov_ModifyDlg::OnOK() {
  for (int i = 0; i < m_items.GetItemCount(); ++i) {
    auto* record = reinterpret_cast<CVantrixData*>(m_items.GetItemData(i));
    if (record) record->marked = m_items.GetCheck(i) ? 1 : 0;
  }
  // The manager's OK writes an imported project's records.
  if (m_imported) {
    EndDialog(IDOK);
    return;
  }
  // Said as the dialog opened: there is nothing to write the marks into.
  if (m_loaded.found == VantrixListFound::kUnopenable) {
    EndDialog(IDCANCEL);
    return;
  }
  if (!SaveVantrixDataList(m_records, VantrixProjectFile(m_projectName), m_loaded)) return;
  EndDialog(IDOK);
}
