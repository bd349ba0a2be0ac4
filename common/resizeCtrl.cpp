#include "common/resizeCtrl.h"

#include "common/AnchorRule.h"
#include "platform/mfc/CWnd.h"

resizeCtrl::resizeCtrl()
    : control(nullptr), anchor(0), link(nullptr), group(0), window(nullptr), linkWindow(nullptr) {}

void resizeCtrl::Set(CWnd* newControl, uint32_t newAnchor, CWnd* newLink, uint32_t newGroup) {
  control = newControl;
  anchor = newAnchor;
  link = newLink;
  group = newGroup;
  window = AfxSafeHwnd(newControl);
  linkWindow = AfxSafeHwnd(newLink);
  rect.SetRectEmpty();
  if (window) {
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  }
  baseSize = rect.Size();
}

void resizeCtrl::Move(int dx, int dy, bool redraw, HDWP defer) {
  if (!control) return;
  const CRect old = rect;
  ApplyAnchorRule(rect, anchor, dx, dy);
  if (!redraw) return;
  if (defer) {
    ::DeferWindowPos(defer, window, nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER);
    return;
  }
  ::MoveWindow(window, rect.left, rect.top, rect.Width(), rect.Height(), FALSE);
  if (::IsWindowVisible(window)) {
    CRect both;
    ::UnionRect(&both, &old, &rect);
    ::InvalidateRect(::GetParent(window), &both, TRUE);
  }
}
