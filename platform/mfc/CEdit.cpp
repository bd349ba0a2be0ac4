#include "platform/mfc/CEdit.h"

IMPLEMENT_DYNAMIC(CEdit, CWnd)

namespace {
const bool g_registered = (AfxRegisterTemporaryClass("Edit", [] { return static_cast<CWnd*>(new CEdit); }), true);
}

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  (void)g_registered;
  return CWnd::Create("Edit", nullptr, style, rect, parent, id);
}
