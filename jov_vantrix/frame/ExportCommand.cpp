#include "jov_vantrix/frame/ExportCommand.h"

#include "common/HostExport2D.h"
#include "common/HostModule.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/network/CJov_ExportDlg.h"
#include "jov_vantrix/network/ExportNetworkReader.h"
#include "platform/resources/jov_vantrix/resource_ids.h"
#include "platform/win32/ui_services.h"

namespace {

// The message of a reading that did not give a network to export; none
// for the others (a No to the reset and a cancelled pick among them).
UINT FailureMessage(int result) {
  switch (result) {
    case kExportUnusable: return IDS_NETWORK_INCOMPLETE;
    case kExportNoFloorPlan: return IDS_NO_FLOOR_PLAN_PIPES;
    case kExportSecondScheme: return IDS_SEVERAL_SCHEMES;
    case kExportOnlyExcluded: return IDS_ONLY_EXCLUDED_PIPES;
    case kExportSeveralStarts: return IDS_SEVERAL_START_PIPES;
    default: return 0;
  }
}

}  // namespace

void ExportNetwork() {
  const HostExport2D* host = TheApp().m_pHostTable;
  const HWND owner = HostMainWindow(host);
  CJov_ExportDlg dialog(CWnd::FromHandle(owner));
  int result = PreselectNetwork(dialog, true);
  if (result == kExportNumberedBefore) {
    const int answer = MessageBoxRes(owner, IDS_RESET_EXPORT_NUMBERS, MB_YESNO);
    if (answer == IDYES) {
      dialog.ClearLists();
      ResetDrawingNumbers(dialog);
      result = PreselectNetwork(dialog, false);
    } else {
      result = answer;
    }
  }
  if (result == kExportComplete) {
    dialog.FinishExport(dialog.DoModal());
    return;
  }
  HostBeginChange(host);
  HostEndChange(host, -1);
  if (const UINT message = FailureMessage(result)) MessageBoxRes(owner, message, MB_ICONHAND);
}
