// Keyboard focus, window activation and mouse capture.
#include "platform/win32/error_codes.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_model.h"

using winmodel::Find;
using winmodel::Window;

namespace {

struct FocusState {
  Window* focus = nullptr;
  Window* active = nullptr;
  Window* capture = nullptr;
};

FocusState& F() {
  static FocusState state;
  return state;
}

HWND HandleOf(Window* w) { return w ? w->handle : nullptr; }

bool Inside(const Window* container, const Window* w) {
  return w && (w == container || winmodel::IsDescendant(container, w));
}

}  // namespace

namespace winmodel {

Window* FocusWindow() { return F().focus; }
Window* ActiveWindow() { return F().active; }
Window* CaptureWindow() { return F().capture; }

HWND SetFocusTo(Window* w) {
  FocusState& f = F();
  Window* previous = f.focus;
  const HWND previousHandle = HandleOf(previous);
  if (previous == w) return previousHandle;
  f.focus = w;
  if (previous && Find(previousHandle))
    SendMessageA(previousHandle, WM_KILLFOCUS, reinterpret_cast<WPARAM>(HandleOf(w)), 0);
  if (f.focus != w) return previousHandle;  // moved on meanwhile
  if (w) SendMessageA(w->handle, WM_SETFOCUS, reinterpret_cast<WPARAM>(previousHandle), 0);
  return previousHandle;
}

void Activate(Window* w) {
  FocusState& f = F();
  if (w) w = Root(w);
  Window* previous = f.active;
  if (previous == w) return;
  const HWND previousHandle = HandleOf(previous);
  const HWND handle = HandleOf(w);
  f.active = w;
  if (previous && Find(previousHandle)) {
    SendMessageA(previousHandle, WM_NCACTIVATE, FALSE, 0);
    SendMessageA(previousHandle, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(previousHandle) ? 1 : 0),
                 reinterpret_cast<LPARAM>(handle));
  }
  if (f.active != w) return;
  if (w) {
    SendMessageA(handle, WM_NCACTIVATE, TRUE, 0);
    SendMessageA(handle, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, IsIconic(handle) ? 1 : 0),
                 reinterpret_cast<LPARAM>(previousHandle));
  }
  if (f.active != w) return;
  if (!w) {
    SetFocusTo(nullptr);
  } else if (Find(handle) && !(w->style & WS_MINIMIZE) && !Inside(w, f.focus)) {
    SetFocusTo(w);
  }
}

void LeaveWindow(Window* w, bool destroying, bool activate) {
  if (destroying) activate = true;
  FocusState& f = F();
  if (Inside(w, f.capture)) {
    Window* old = f.capture;
    f.capture = nullptr;
    if (!destroying && Find(old->handle)) SendMessageA(old->handle, WM_CAPTURECHANGED, 0, 0);
  }
  if (Inside(w, f.focus) && (w->IsChild() || activate)) {
    Window* to = w->IsChild() && !w->parent->destroying ? w->parent : nullptr;
    SetFocusTo(to);
  }
  if (f.active == w && activate) {
    Window* next = nullptr;
    if (w->owner && !w->owner->destroying && w->owner->Visible() && w->owner->Enabled()) {
      next = w->owner;
    } else {
      for (Window* top : Desktop()->children)
        if (top != w && !top->destroying && top->Visible() && top->Enabled()) {
          next = top;
          break;
        }
    }
    Activate(next);
    if (f.active == w) f.active = nullptr;
  }
}

}  // namespace winmodel

HWND SetFocus(HWND window) {
  if (!window) return winmodel::SetFocusTo(nullptr);
  Window* w = Find(window);
  if (!w || w->IsDesktop()) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  for (Window* p = w; p && !p->IsDesktop(); p = p->parent) {
    if (p->style & (WS_MINIMIZE | WS_DISABLED)) return nullptr;
    if (!p->IsChild()) break;
  }
  Window* top = winmodel::Root(w);
  if (F().active != top) {
    winmodel::Activate(top);
    if (!Find(window) || F().active != top) return nullptr;
  }
  return winmodel::SetFocusTo(w);
}

HWND GetFocus() { return HandleOf(F().focus); }

HWND GetActiveWindow() { return HandleOf(F().active); }

HWND SetActiveWindow(HWND window) {
  const HWND previous = HandleOf(F().active);
  if (!window) {
    winmodel::Activate(nullptr);
    return previous;
  }
  Window* w = Find(window);
  if (!w || w->IsDesktop()) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (w->IsChild()) return previous;
  winmodel::Activate(w);
  return previous;
}

BOOL SetForegroundWindow(HWND window) {
  Window* w = Find(window);
  if (!w) return FALSE;
  winmodel::Activate(winmodel::Root(w));
  return TRUE;
}

HWND GetForegroundWindow() { return HandleOf(F().active); }

HWND SetCapture(HWND window) {
  FocusState& f = F();
  Window* previous = f.capture;
  Window* w = Find(window);
  f.capture = w;
  if (previous && previous != w && Find(previous->handle))
    SendMessageA(previous->handle, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(window));
  return HandleOf(previous);
}

BOOL ReleaseCapture() {
  FocusState& f = F();
  Window* old = f.capture;
  f.capture = nullptr;
  if (old && Find(old->handle)) SendMessageA(old->handle, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() { return HandleOf(F().capture); }
