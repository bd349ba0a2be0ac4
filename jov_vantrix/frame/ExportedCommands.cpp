#include "jov_vantrix/frame/ExportedCommands.h"

#include "common/CDravikFunc.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/frame/LineLength.h"
#include "platform/mfc/module_state.h"

namespace {

// The host path into a 260-character buffer, as the by-name table of each
// command run is built from it.
struct HostPath {
  char text[MAX_PATH];
  HostPath() { TheApp().GetHostPath(text, MAX_PATH); }
};

}  // namespace

int Jov_Length(int unit) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  HostPath path;
  CDravikFunc host(path.text, TheApp().m_isLT, 6);
  if (!host.Resolve()) return -1;
  return CopyLineLengthToClipboard(host, unit);
}

INT_PTR Jov_Vantrix_M(HWND) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (!TheApp().LoadResourceDll()) return -1;
  // The project manager dialog joins with the network data model.
  return -1;
}

int Jov_CutDlg(int, void*) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  HostPath path;
  CDravikFunc host(path.text, TheApp().m_isLT, 9);
  if (!host.Resolve()) return -1;
  if (!TheApp().LoadResourceDll()) return -1;
  if (!TheApp().LoadWizardDll()) return -1;
  // The pick step and the section dialogs join with the section drawing.
  return -1;
}

int Jov_Vantrix_Import(int, void*) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  HostPath path;
  CDravikFunc host(path.text, TheApp().m_isLT, 9);
  if (!host.Resolve()) return -1;
  if (!TheApp().LoadResourceDll()) return -1;
  // Reading the picked network and the result file joins with the network
  // data model.
  return -1;
}

int Jov_Vantrix_Export(int, void*) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  HostPath path;
  CDravikFunc host(path.text, TheApp().m_isLT, 9);
  if (!host.Resolve()) return -1;
  if (!TheApp().LoadResourceDll()) return -1;
  if (!TheApp().LoadWizardDll()) return -1;
  // The export dialog joins with the network data model.
  return -1;
}

int Exclude_From() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  TheApp().LoadResourceDll();
  // Toggling the include flag joins with the section drawing.
  return 1;
}

int Include_In() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  TheApp().LoadResourceDll();
  return 1;
}
