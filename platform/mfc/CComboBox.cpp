#include "platform/mfc/CComboBox.h"

IMPLEMENT_DYNAMIC(CComboBox, CWnd)

namespace {
const bool g_registered =
    (AfxRegisterTemporaryClass("ComboBox", [] { return static_cast<CWnd*>(new CComboBox); }), true);
}

BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  (void)g_registered;
  return CWnd::Create("ComboBox", nullptr, style, rect, parent, id);
}

void CComboBox::GetLBText(int index, CString& text) const {
  const int length = GetLBTextLen(index);
  if (length < 0) {
    text.Empty();
    return;
  }
  GetLBText(index, text.GetBufferSetLength(length));
  text.ReleaseBuffer(length);
}
