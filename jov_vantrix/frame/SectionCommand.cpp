#include "jov_vantrix/frame/SectionCommand.h"

#include "common/HostExport2D.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/section/CJov_CutDlg.h"
#include "jov_vantrix/section/CJov_CutDlgNew.h"
#include "jov_vantrix/section/PickStep.h"

void RunSectionCommand() {
  const HWND parent = HostMainWindow(TheApp().m_pHostTable);
  CJov_CutDlg older(CWnd::FromHandle(parent));
  CJov_CutDlgNew current(CWnd::FromHandle(parent));
  switch (PickRiserAndPipes(older, current, parent)) {
    case kPickNothing:
      break;
    case kPickFailed:
      // A failure before the change was opened has nothing to end.
      current.EndChange(-1);
      break;
    case kPickBranch:
      if (!current.m_pipePicked) {
        current.m_params.m_basePoint = older.m_params.m_basePoint;
        current.m_params.m_angle = older.m_params.m_angle;
      }
      current.GenerateSection(current.DoModal());
      break;
    default:
      older.GenerateSection(older.DoModal());
      break;
  }
}

void RunIncludeCommand(bool exclude) {
  CJov_CutDlgNew dialog(CWnd::FromHandle(HostMainWindow(TheApp().m_pHostTable)));
  dialog.IncludeExclude(exclude);
}
