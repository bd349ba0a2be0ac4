#include "wizard/dialogs/DialogEntries.h"

#include "common/HostModule.h"
#include "platform/mfc/CString.h"
#include "platform/resources/wizard/resource_ids.h"
#include "platform/win32/ui_services.h"
#include "wizard/dialogs/CDimDlg.h"
#include "wizard/dialogs/CMaskDefDlg.h"
#include "wizard/dialogs/CMaskDlg.h"
#include "wizard/dialogs/DialogHost.h"
#include "wizard/dialogs/MaskFieldCodes.h"
#include "wizard/dialogs/MaskPreset.h"
#include "wizard/dialogs/MaskStorage.h"

INT_PTR RunMaskListDialog(unsigned kind, HWND parent) {
  CMaskDlg dialog(kind, CWnd::FromHandle(parent));
  return dialog.DoModal();
}

INT_PTR RunDimensionDialog(char kind, HWND parent) {
  CDimDlg dialog(kind, CWnd::FromHandle(parent));
  return dialog.DoModal();
}

int RunMaskPreset(const resbuf* entity, int useLetter, char kindLetter, HWND parent) {
  LoadMaskFieldCodes(TheDialogHost().ProfilePath(kMaskSetFile).c_str());
  // Fetched anew: the host of this moment owns the main window.
  const HWND hostWindow = HostMainWindow(GetHostExportTable());
  CString preset;
  unsigned mode = CMaskDefDlg::kActive;
  if (!useLetter) {
    if (!ProposeMaskDefinition(entity, &preset, &kindLetter)) {
      CString text, caption;
      text.LoadString(IDS_NO_ELEMENT_DATA);
      caption.LoadString(IDS_NO_ELEMENT_DATA_CAPTION);
      MessageBoxA(hostWindow, text, caption, MB_ICONERROR);
      return -1;
    }
    mode = CMaskDefDlg::kProposed;
  }
  CMaskDefDlg editor(MaskKindOfLetter(kindLetter), preset, mode, CWnd::FromHandle(parent ? parent : hostWindow));
  return editor.DoModal() == IDOK ? 1 : 0;
}
