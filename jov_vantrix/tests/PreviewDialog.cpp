#include "jov_vantrix/tests/PreviewDialog.h"

#include "platform/mfc/CDataExchange.h"
#include "platform/resources/jov_vantrix/resource_ids.h"

namespace preview_tests {

void PreviewDialog::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, IDC_PREVIEW_VIEW, view);
}

BOOL PreviewDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  view.SetPanCursors(IDC_CURSOR_PAN, IDC_CURSOR_PAN);
  view.SetZoomCursors(IDC_CURSOR_ZOOM, IDC_CURSOR_ZOOM);
  view.EnableMouseNavigation(true);
  if (fill) fill(view);
  return TRUE;
}

BOOL PreviewDialog::PreTranslateMessage(MSG* msg) {
  if (msg->message == CMyViewJovGL::kPickMessage && msg->hwnd == view.m_hWnd) {
    picks.push_back(msg->lParam);
    return TRUE;
  }
  return CDialog::PreTranslateMessage(msg);
}

}  // namespace preview_tests
