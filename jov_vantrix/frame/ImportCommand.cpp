#include "jov_vantrix/frame/ImportCommand.h"

#include "common/HostExport2D.h"
#include "common/HostModule.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/network/CObjSezNew.h"
#include "jov_vantrix/network/CSecSezNew.h"
#include "jov_vantrix/network/CalculationImport.h"
#include "jov_vantrix/network/JovCutParams.h"
#include "jov_vantrix/network/RecordWriteBack.h"
#include "jov_vantrix/network/SectionFile.h"
#include "platform/mfc/CFileDialog.h"
#include "platform/mfc/module_state.h"
#include "platform/resources/jov_vantrix/resource_ids.h"
#include "platform/win32/resources.h"
#include "platform/win32/ui_services.h"

namespace {

// Ends the change the command has made nothing of (when the host has
// changes at all).
void CancelChange(const HostExport2D* host) {
  if (HostBeginChange(host)) HostEndChange(host, -1);
}

}  // namespace

void ImportCalculationResults(JovCutParams& params) {
  const HostExport2D* host = TheApp().m_pHostTable;
  const HWND owner = HostMainWindow(host);

  CObjSezNew list;
  const int read = ReadImportNetwork(list);
  if (read == 0)
    MessageBoxRes(owner, IDS_NO_SCHEME, MB_ICONHAND);
  else if (read != 1)
    MessageBoxRes(owner, IDS_SEVERAL_SCHEMES, MB_ICONHAND);

  char filter[256] = "";
  LoadStringA(AfxGetResourceHandle(), IDS_FILTER_RESULT_FILES, filter, sizeof filter);
  DWORD size = 0;
  GetOpenFileNameStructSize(nullptr, &size);
  CFileDialog dialog(TRUE, "", "", OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST, filter, CWnd::FromHandle(owner), size);
  if (read != 1 || dialog.DoModal() != IDOK) {
    CancelChange(host);
    return;
  }

  CSecSezNew branches;
  SectionFileReport report;
  const int version = ReadSectionFile(branches, dialog.GetPathName(), &report);
  if (version != 2) {
    CancelChange(host);
    MessageBoxRes(owner, IDS_RESULT_FILE_UNREADABLE, MB_ICONHAND);
    return;
  }
  // A cut section would blank what the drawing holds: nothing of such a
  // file is applied.
  if (!report.malformed.IsEmpty()) {
    CancelChange(host);
    MessageBoxRes(owner, IDS_RESULT_FILE_MALFORMED, MB_ICONHAND, report.malformed);
    return;
  }

  int applied = 0;
  for (INT_PTR i = 0; i < list.m_texts.GetSize(); ++i) {
    CStringArray assocs;
    CollectSchemeAssocs(list, list.m_texts[i], assocs);
    if (assocs.GetSize() != 1) continue;
    params.m_schemeStamp = assocs[0];
    applied += ApplyImportedSections(list, params, FindSectionBranch(branches, list.m_texts[i]), version,
                                     &report);
  }

  if (!HostBeginChange(host)) return;
  if (applied == 0) {
    // Nothing of the file fits the selection: no success to report.
    HostEndChange(host, -1);
    MessageBoxRes(owner, IDS_NOTHING_IMPORTED, MB_ICONHAND);
    return;
  }
  if (StoreNetworkXData(list) != 1) {
    HostEndChange(host, -1);
    MessageBoxRes(owner, IDS_PIPES_NOT_PROCESSED, MB_ICONHAND);
    return;
  }
  WriteRecordsToDrawing(list, false);
  HostEndChange(host, 1);
}
