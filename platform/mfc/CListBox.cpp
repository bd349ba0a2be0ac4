#include "platform/mfc/CListBox.h"

IMPLEMENT_DYNAMIC(CListBox, CWnd)

namespace {
const bool g_registered = (AfxRegisterTemporaryClass("ListBox", [] { return static_cast<CWnd*>(new CListBox); }), true);
}

BOOL CListBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  (void)g_registered;
  return CWnd::Create("ListBox", nullptr, style, rect, parent, id);
}

void CListBox::GetText(int index, CString& text) const {
  const int length = GetTextLen(index);
  if (length < 0) {
    text.Empty();
    return;
  }
  GetText(index, text.GetBufferSetLength(length));
  text.ReleaseBuffer(length);
}
