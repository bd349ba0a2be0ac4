// A plug-in for the runner's end-to-end tests of the drawing preview: the
// real application object (so the host is bound as in the plug-in), and a
// Jov_Vantrix_Export that shows the preview tests' dialog with the view
// filled from the host's selection as the export dialog fills it: an
// "Arial" style for labels, line width 2, each selected entity under a name
// of its own (1, 2, ...) up to the pick limit, fitted with a margin. A
// message box tells what the view reported:
//   preview R names=N picked=L,L,...
// (each L a pick's lParam). It returns 1 when the dialog was ended with OK,
// else -1.
#include <string>

#include "common/HostModule.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/tests/PreviewDialog.h"
#include "platform/mfc/module_state.h"
#include "platform/win32/module_loader.h"
#include "platform/win32/ui_services.h"

#define PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

PLUGIN_EXPORT int Jov_Vantrix_Export(int, void*) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  const HostExport2D* host = TheApp().m_pHostTable;
  HMODULE resources = LoadLibraryA(JOV_PLUGIN_PREVIEW_RESOURCES);
  if (!host || !resources) return -1;
  AfxSetResourceHandle(resources);
  const HWND main = HostMainWindow(host);
  int names = 0;
  INT_PTR result = 0;
  std::string picked;
  {
    preview_tests::PreviewDialog dialog(CWnd::FromHandle(main));
    dialog.fill = [&](preview_tests::PreviewView& view) {
      double height = 100.0;
      view.AddTextStyle(&height, "Arial", 1, 400, 0, 0);
      view.ClearScene(false);
      view.lineWidth = 2.0f;
      for (resbuf* entity = HostSelectionNext(host, true); entity; entity = HostSelectionNext(host, false)) {
        resbuf* cursor = entity;
        view.AddEntityChain(&cursor, nullptr, nullptr, static_cast<uint32_t>(++names), nullptr, 7, false);
      }
      view.SetMaxPickId(static_cast<uint32_t>(names));
      const double margin = 1.25;
      view.ZoomExtents(true, &margin);
    };
    result = dialog.DoModal();
    for (LPARAM pick : dialog.picks) picked += (picked.empty() ? "" : ",") + std::to_string(pick);
  }
  MessageBoxA(main,
              ("preview " + std::to_string(result) + " names=" + std::to_string(names) + " picked=" + picked).c_str(),
              HostProductTitle(host), MB_ICONINFORMATION);
  FreeLibrary(resources);
  return result == IDOK ? 1 : -1;
}
