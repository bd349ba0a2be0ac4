#include "wizard/dialogs/CMaskNameDlg.h"

#include "platform/mfc/CDataExchange.h"
#include "platform/resources/wizard/resource_ids.h"
#include "wizard/dialogs/DialogHost.h"

IMPLEMENT_DYNAMIC(CMaskNameDlg, CDialog)

BEGIN_MESSAGE_MAP(CMaskNameDlg, CDialog)
END_MESSAGE_MAP()

CMaskNameDlg::CMaskNameDlg(CWnd* parent, unsigned mode) : CDialog(IDD_MASK_NAME, parent), mode(mode) {}

CMaskNameDlg::~CMaskNameDlg() = default;

void CMaskNameDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, IDC_MASK_NAME_TEXT, edit);
}

BOOL CMaskNameDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetIcon(TheDialogHost().Icon(), FALSE);
  edit.SetWindowText(name);
  if (mode == kFreeText) {
    CString text;
    text.LoadString(IDS_FREE_TEXT_TITLE);
    SetWindowText(text);
    text.LoadString(IDS_FREE_TEXT_LABEL);
    SetDlgItemText(IDC_MASK_NAME_LABEL, text);
  }
  edit.SetFocus();
  return TRUE;
}

void CMaskNameDlg::OnOK() {
  CString text;
  edit.GetWindowText(text);
  if (text.Find(';') >= 0) return;
  name = text;
  CDialog::OnOK();
}
