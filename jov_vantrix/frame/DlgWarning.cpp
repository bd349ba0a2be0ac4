#include "jov_vantrix/frame/DlgWarning.h"

#include "common/HostModule.h"
#include "platform/mfc/CDataExchange.h"
#include "platform/resources/jov_vantrix/resource_ids.h"

namespace {

// Off the corner where the template puts it, so that it does not cover
// the host's command line.
constexpr int kOffsetRight = 300;
constexpr int kOffsetDown = 200;

}  // namespace

BEGIN_MESSAGE_MAP(DlgWarning, CDialog)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

DlgWarning::DlgWarning(CWnd* parent) : CDialog(IDD_PICK_BANNER, parent) {
  if (Create(IDD_PICK_BANNER, parent)) ShowWindow(SW_SHOW);
}

DlgWarning::~DlgWarning() = default;

BOOL DlgWarning::Create(UINT templateId, CWnd* parent) { return CDialog::Create(templateId, parent); }

void DlgWarning::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, IDC_PICK_BANNER_TEXT, m_textControl);
  DDX_Text(dx, IDC_PICK_BANNER_TEXT, m_text);
}

BOOL DlgWarning::OnInitDialog() {
  CDialog::OnInitDialog();
  SetWindowText(GetHostProductTitle());
  CRect placed;
  GetWindowRect(&placed);
  SetWindowPos(nullptr, placed.left + kOffsetRight, placed.top + kOffsetDown, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
  m_text.LoadString(IDS_PICK_BANNER);
  m_textControl.ShowWindow(SW_SHOW);
  UpdateData(FALSE);
  return TRUE;
}

BOOL DlgWarning::PreTranslateMessage(MSG* msg) {
  for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    CWnd* wnd = CWnd::FromHandle(child);
    if (wnd && wnd->PreTranslateMessage(msg)) return TRUE;
  }
  return CDialog::PreTranslateMessage(msg);
}
