#include "platform/mfc/CStatic.h"

IMPLEMENT_DYNAMIC(CStatic, CWnd)

namespace {
const bool g_registered = (AfxRegisterTemporaryClass("Static", [] { return static_cast<CWnd*>(new CStatic); }), true);
}

BOOL CStatic::Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  (void)g_registered;
  return CWnd::Create("Static", text, style, rect, parent, id);
}

void CStatic::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CStatic::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == WM_DRAWITEM) {
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    return TRUE;
  }
  return CWnd::OnChildNotify(message, wParam, lParam, result);
}
