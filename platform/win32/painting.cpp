// Update areas and painting.
#include "platform/win32/message_queue.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_model.h"

using winmodel::Find;
using winmodel::Window;

namespace {

void InvalidateTree(Window* w, const RECT* rect, bool erase, bool children) {
  winmodel::Invalidate(w, rect, erase);
  if (!children) return;
  for (Window* c : w->children)
    if (c->IsChild()) InvalidateTree(c, nullptr, erase, true);
}

void Paint(Window* w) {
  const HWND h = w->handle;
  if (w->hasUpdate && IsWindowVisible(h)) {
    SendMessageA(h, WM_PAINT, 0, 0);
    if (Window* again = Find(h)) again->hasUpdate = false;
  }
  Window* again = Find(h);
  if (!again) return;
  std::vector<HWND> children;
  for (Window* c : again->children)
    if (c->IsChild()) children.push_back(c->handle);
  for (HWND c : children)
    if (Window* cw = Find(c)) Paint(cw);
}

}  // namespace

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
  if (!window) {
    for (Window* top : winmodel::Desktop()->children) InvalidateTree(top, nullptr, erase, true);
    return TRUE;
  }
  Window* w = Find(window);
  if (!w) return FALSE;
  winmodel::Invalidate(w, rect, erase != FALSE);
  return TRUE;
}

BOOL ValidateRect(HWND window, const RECT* rect) {
  Window* w = Find(window);
  if (!w) return FALSE;
  if (!w->hasUpdate) return TRUE;
  RECT covered;
  // The update area is one rectangle: it goes when the rectangle covers it.
  if (!rect || (UnionRect(&covered, rect, &w->update) && EqualRect(&covered, rect))) {
    w->hasUpdate = false;
    w->updateErase = false;
    w->update = {};
  }
  return TRUE;
}

BOOL GetUpdateRect(HWND window, RECT* rect, BOOL) {
  Window* w = Find(window);
  if (!w || !w->hasUpdate) {
    if (rect) SetRectEmpty(rect);
    return FALSE;
  }
  if (rect) *rect = w->update;
  return TRUE;
}

BOOL UpdateWindow(HWND window) {
  Window* w = Find(window);
  if (!w) return FALSE;
  Paint(w);
  return TRUE;
}

BOOL RedrawWindow(HWND window, const RECT* rect, HRGN, UINT flags) {
  Window* w = window ? Find(window) : winmodel::Desktop();
  if (!w) return FALSE;
  const bool children = (flags & RDW_ALLCHILDREN) != 0;
  if (flags & RDW_INVALIDATE) InvalidateTree(w, rect, (flags & RDW_ERASE) != 0, children);
  if (flags & RDW_VALIDATE) ValidateRect(w->handle, rect);
  if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) Paint(w);
  return TRUE;
}
