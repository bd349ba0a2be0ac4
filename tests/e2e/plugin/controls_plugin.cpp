// A plug-in for the runner's end-to-end test of the wizard's controls. Its
// Jov_Vantrix_Export runs the controls tests' dialog (an in-place editing
// list and a drag-reorder list, with the wizard's own texts) over the
// host's main window and tells what the dialog's owner heard in a message
// box:
//   controls R changes: ROW COLUMN typed|chose ... | ... order: NAMES
// It returns 1 when the dialog was ended with OK, else -1.
#include <string>

#include "common/HostModule.h"
#include "platform/mfc/CWinApp.h"
#include "platform/mfc/module_state.h"
#include "platform/win32/module_loader.h"
#include "platform/win32/ui_services.h"
#include "wizard/frame/controls/tests/ControlsDialog.h"

#define PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

CWinApp theApp("ControlsPlugin");

}  // namespace

PLUGIN_EXPORT int Jov_Vantrix_Export(int, void*) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  HostExport2D* table = GetHostExportTable();
  const HWND main = HostMainWindow(table);
  HMODULE dialogs = LoadLibraryA(JOV_PLUGIN_CONTROLS_RESOURCES);
  HMODULE wizard = LoadLibraryA(JOV_PLUGIN_WIZARD_RESOURCES);
  if (!dialogs || !wizard) return -1;

  AfxSetResourceHandle(dialogs);
  INT_PTR result = 0;
  std::string heard;
  {
    controls_tests::ControlsDialog dialog(wizard, CWnd::FromHandle(main));
    result = dialog.DoModal();
    std::string changes = dialog.ChangesText();
    for (size_t at = changes.find('\n'); at != std::string::npos; at = changes.find('\n', at))
      changes.replace(at, 1, at + 1 == changes.size() ? "" : " | ");
    heard = "controls " + std::to_string(result) + " changes: " + changes + " order: " + dialog.AttachedOrder();
  }
  MessageBoxA(main, heard.c_str(), HostProductTitle(table), MB_ICONINFORMATION);
  FreeLibrary(wizard);
  FreeLibrary(dialogs);
  return result == IDOK ? 1 : -1;
}
