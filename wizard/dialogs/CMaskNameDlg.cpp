#include "wizard/dialogs/CMaskNameDlg.h"

#include <cstring>

#include "common/HostModule.h"
#include "common/ValueRules.h"
#include "platform/mfc/CDataExchange.h"
#include "platform/resources/wizard/resource_ids.h"
#include "platform/win32/ui_services.h"
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
  // A name ends at the first ';' of a stored mask; in a free text '&', '#'
  // and '\' would begin fields of the label.
  if (text.Find(';') >= 0) {
    MessageBoxRes(m_hWnd, IDS_NAME_HAS_SEMICOLON, MB_ICONWARNING);
    return;
  }
  if (HoldsControlCharacter(text)) {
    MessageBoxRes(m_hWnd, IDS_CONTROL_CHARACTER_REFUSED, MB_ICONWARNING);
    return;
  }
  if (mode == kFreeText && std::strpbrk(text, "&#\\")) {
    MessageBoxRes(m_hWnd, IDS_FREE_TEXT_HAS_FIELD_MARK, MB_ICONWARNING);
    return;
  }
  name = text;
  CDialog::OnOK();
}
