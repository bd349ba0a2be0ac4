#include "platform/mfc/CScrollBar.h"

#include "platform/mfc/CHeaderCtrl.h"

IMPLEMENT_DYNAMIC(CScrollBar, CWnd)
IMPLEMENT_DYNAMIC(CSliderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CHeaderCtrl, CWnd)

namespace {
const bool g_registered = [] {
  AfxRegisterTemporaryClass("ScrollBar", [] { return static_cast<CWnd*>(new CScrollBar); });
  AfxRegisterTemporaryClass(TRACKBAR_CLASSA, [] { return static_cast<CWnd*>(new CSliderCtrl); });
  AfxRegisterTemporaryClass(WC_HEADERA, [] { return static_cast<CWnd*>(new CHeaderCtrl); });
  return true;
}();
}  // namespace

BOOL CSliderCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  (void)g_registered;
  return CWnd::Create(TRACKBAR_CLASSA, nullptr, style, rect, parent, id);
}
