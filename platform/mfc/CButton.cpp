#include "platform/mfc/CButton.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)

namespace {
const bool g_registered = (AfxRegisterTemporaryClass("Button", [] { return static_cast<CWnd*>(new CButton); }), true);
}

BOOL CButton::Create(LPCSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  (void)g_registered;
  return CWnd::Create("Button", caption, style, rect, parent, id);
}

void CButton::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == WM_DRAWITEM) {
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    return TRUE;
  }
  return CWnd::OnChildNotify(message, wParam, lParam, result);
}
