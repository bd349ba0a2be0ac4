#include "platform/mfc/AfxMessageBox.h"

#include "platform/mfc/CString.h"
#include "platform/mfc/module_state.h"
#include "platform/win32/ui_services.h"
#include "platform/win32/window_api.h"

int AfxMessageBox(LPCSTR text, UINT type, UINT) {
  if ((type & MB_ICONMASK) == 0) {
    switch (type & MB_TYPEMASK) {
      case MB_OK:
      case MB_OKCANCEL: type |= MB_ICONEXCLAMATION; break;
      case MB_YESNO:
      case MB_YESNOCANCEL: type |= MB_ICONQUESTION; break;
      default: break;
    }
  }
  HWND owner = ::GetActiveWindow();
  if (owner) owner = ::GetAncestor(owner, GA_ROOT);
  return ::MessageBoxA(owner, text, AfxGetAppName(), type);
}

int AfxMessageBox(UINT promptId, UINT type, UINT helpId) {
  CString text;
  text.LoadString(promptId);
  return AfxMessageBox(text, type, helpId == static_cast<UINT>(-1) ? promptId : helpId);
}
