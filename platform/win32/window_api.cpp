#include "platform/win32/window_api.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <utility>

#include "platform/win32/code_page.h"
#include "platform/win32/error_codes.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/resources.h"
#include "platform/win32/window_model.h"

using winmodel::Find;
using winmodel::FindValid;
using winmodel::Window;

namespace {

// A non-negative window-memory index: its slot, null (ERROR_INVALID_INDEX)
// when it is not a slot's start or lies past the window's memory.
LONG_PTR* ExtraSlot(Window* w, int index) {
  const size_t slot = static_cast<size_t>(index) / 8;
  if (index % 8 || slot >= w->extra.size()) {
    SetLastError(ERROR_INVALID_INDEX);
    return nullptr;
  }
  return &w->extra[slot];
}

// Marks the window and everything below it, so that destroying a part of it
// again while it goes is a no-op.
void MarkDestroying(Window* w) {
  w->destroying = true;
  for (Window* c : w->children) MarkDestroying(c);
}

void SendDestroy(Window* w) {
  if (w->destroyed) return;
  SendMessageA(w->handle, WM_DESTROY, 0, 0);
  std::vector<HWND> children;
  for (Window* c : w->children) children.push_back(c->handle);
  for (HWND c : children)
    if (Window* cw = Find(c)) SendDestroy(cw);
}

void FreeWindow(Window* w) {
  if (w->destroyed) return;
  winmodel::CallGuard guard(w);
  std::vector<HWND> children;
  for (Window* c : w->children) children.push_back(c->handle);
  for (HWND c : children)
    if (Window* cw = Find(c)) FreeWindow(cw);
  const HWND handle = w->handle;
  SendMessageA(handle, WM_NCDESTROY, 0, 0);
  w->timers.clear();
  winmodel::DropMessagesFor(handle);
  for (Window* other : winmodel::AllWindows())
    if (other->owner == w) other->owner = nullptr;
  winmodel::Unlink(w);
  winmodel::ForgetWindow(w);
  winmodel::RunDestroyedHooks(handle);
}

std::string PropName(LPCSTR name) {
  if (IS_INTRESOURCE(name)) return "#" + std::to_string(reinterpret_cast<uintptr_t>(name));
  std::string upper;
  for (const char* p = name; *p; ++p) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
  return upper;
}

}  // namespace

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  winmodel::WindowClass* cls = winmodel::FindClass(className);
  if (!cls) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  const bool child = (style & (WS_CHILD | WS_POPUP)) == WS_CHILD;
  Window* parentW = winmodel::Desktop();
  Window* ownerW = nullptr;
  if (child) {
    parentW = Find(parent);
    if (!parentW) {
      SetLastError(parent ? ERROR_INVALID_WINDOW_HANDLE : 1406 /* ERROR_TLW_WITH_WSCHILD */);
      return nullptr;
    }
  } else if (parent && parent != HWND_MESSAGE) {
    Window* p = Find(parent);
    if (!p) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
    ownerW = winmodel::Root(p);
  }
  if (!child && !(style & WS_POPUP)) style |= WS_CAPTION | WS_CLIPSIBLINGS;
  if (x == CW_USEDEFAULT) {
    x = child ? 0 : 100;
    y = child ? 0 : 100;
  }
  if (width == CW_USEDEFAULT) {
    width = child ? 0 : 800;
    height = child ? 0 : 600;
  }
  width = std::max(width, 0);
  height = std::max(height, 0);

  Window* w = winmodel::NewWindow();
  const HWND handle = w->handle;
  w->cls = cls;
  w->className = cls->name;
  w->style = style & ~WS_VISIBLE;
  w->exStyle = exStyle;
  if (child)
    w->id = static_cast<int>(reinterpret_cast<intptr_t>(menu));
  else
    w->menu = menu;
  w->instance = instance;
  w->proc = cls->proc;
  w->extra.assign(static_cast<size_t>((std::max(cls->windowExtra, 0) + 7) / 8), 0);
  w->owner = ownerW;
  w->rect = {x, y, x + width, y + height};
  w->normalRect = w->rect;
  winmodel::LinkAt(parentW, w, child ? parentW->children.size() : 0);

  CREATESTRUCTA cs{param, instance, menu, parent, height, width, y, x, static_cast<LONG>(style),
                   windowName, className, exStyle};
  winmodel::RunCreatedHooks(handle, &cs);
  if (!Find(handle)) return nullptr;
  if (!SendMessageA(handle, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    if (Find(handle)) DestroyWindow(handle);
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!Find(handle)) return nullptr;
  if (SendMessageA(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    if (Find(handle)) DestroyWindow(handle);
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!Find(handle)) return nullptr;
  // The first size and position, as the window procedure sees them.
  WINDOWPOS wp{handle, nullptr, w->rect.left, w->rect.top, w->rect.right - w->rect.left,
               w->rect.bottom - w->rect.top, SWP_NOZORDER | SWP_NOACTIVATE};
  SendMessageA(handle, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
  if (!Find(handle)) return nullptr;
  if (style & WS_VISIBLE) {
    int command = SW_SHOW;
    if (style & WS_MAXIMIZE) command = SW_SHOWMAXIMIZED;
    if (style & WS_MINIMIZE) command = SW_SHOWMINIMIZED;
    ShowWindow(handle, command);
  }
  return Find(handle) ? handle : nullptr;
}

BOOL DestroyWindow(HWND window) {
  Window* w = FindValid(window);
  if (!w || w->IsDesktop()) return FALSE;
  if (w->destroying) return TRUE;
  winmodel::CallGuard guard(w);
  MarkDestroying(w);
  // Owned windows go first.
  for (Window* other : winmodel::AllWindows())
    if (other->owner == w && !other->destroying) DestroyWindow(other->handle);
  if (w->Visible()) {
    if (w->IsChild())
      ShowWindow(window, SW_HIDE);
    else
      SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  }
  winmodel::LeaveWindow(w, true);
  SendDestroy(w);
  FreeWindow(w);
  return TRUE;
}

BOOL IsWindow(HWND window) {
  Window* w = Find(window);
  return w && !w->destroyed;
}

BOOL SetWindowTextA(HWND window, LPCSTR text) {
  if (!FindValid(window)) return FALSE;
  return SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0;
}

int GetWindowTextA(HWND window, LPSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  buffer[0] = '\0';
  if (!FindValid(window)) return 0;
  return static_cast<int>(SendMessageA(window, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthA(HWND window) {
  if (!FindValid(window)) return 0;
  return static_cast<int>(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0));
}

LONG_PTR GetWindowLongPtrA(HWND window, int index) {
  Window* w = FindValid(window);
  if (!w) return 0;
  if (index >= 0) {
    LONG_PTR* slot = ExtraSlot(w, index);
    return slot ? *slot : 0;
  }
  switch (index) {
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
    case GWLP_HWNDPARENT:
      return reinterpret_cast<LONG_PTR>(w->IsChild() ? w->parent->handle : w->owner ? w->owner->handle : nullptr);
    case GWLP_ID: return w->IsChild() ? w->id : reinterpret_cast<LONG_PTR>(w->menu);
    case GWL_STYLE: return static_cast<LONG_PTR>(static_cast<LONG>(w->style));
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(static_cast<LONG>(w->exStyle));
    case GWLP_USERDATA: return w->userData;
    default: SetLastError(ERROR_INVALID_INDEX); return 0;
  }
}

LONG_PTR SetWindowLongPtrA(HWND window, int index, LONG_PTR value) {
  Window* w = FindValid(window);
  if (!w) return 0;
  if (index >= 0) {
    LONG_PTR* slot = ExtraSlot(w, index);
    return slot ? std::exchange(*slot, value) : 0;
  }
  LONG_PTR previous = GetWindowLongPtrA(window, index);
  switch (index) {
    case GWLP_WNDPROC: w->proc = reinterpret_cast<WNDPROC>(value); break;
    case GWLP_HINSTANCE: w->instance = reinterpret_cast<HINSTANCE>(value); break;
    case GWLP_HWNDPARENT:
      if (!w->IsChild()) w->owner = winmodel::Root(Find(reinterpret_cast<HWND>(value)));
      break;
    case GWLP_ID:
      if (w->IsChild())
        w->id = static_cast<int>(value);
      else
        w->menu = reinterpret_cast<HMENU>(value);
      break;
    case GWL_STYLE:
    case GWL_EXSTYLE: {
      struct {
        DWORD oldStyle, newStyle;
      } change{static_cast<DWORD>(previous), static_cast<DWORD>(value)};
      const WPARAM which = index == GWL_STYLE ? static_cast<WPARAM>(-16) : static_cast<WPARAM>(-20);
      SendMessageA(window, WM_STYLECHANGING, which, reinterpret_cast<LPARAM>(&change));
      if (!Find(window)) return previous;
      if (index == GWL_STYLE)
        w->style = change.newStyle;
      else
        w->exStyle = change.newStyle;
      SendMessageA(window, WM_STYLECHANGED, which, reinterpret_cast<LPARAM>(&change));
      break;
    }
    case GWLP_USERDATA: w->userData = value; break;
    default: SetLastError(ERROR_INVALID_INDEX); return 0;
  }
  return previous;
}

LONG GetWindowLongA(HWND window, int index) { return static_cast<LONG>(GetWindowLongPtrA(window, index)); }

LONG SetWindowLongA(HWND window, int index, LONG value) {
  return static_cast<LONG>(SetWindowLongPtrA(window, index, value));
}

HWND GetParent(HWND window) {
  Window* w = FindValid(window);
  if (!w || w->IsDesktop()) return nullptr;
  if (w->IsChild()) return w->parent->handle;
  if ((w->style & WS_POPUP) && w->owner) return w->owner->handle;
  return nullptr;
}

HWND SetParent(HWND child, HWND newParent) {
  Window* w = FindValid(child);
  if (!w || w->IsDesktop()) return nullptr;
  Window* p = newParent ? FindValid(newParent) : winmodel::Desktop();
  if (!p) return nullptr;
  if (p == w || winmodel::IsDescendant(w, p)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  Window* old = w->parent;
  const bool wasVisible = IsWindowVisible(child);
  if (wasVisible && old) winmodel::Invalidate(old, &w->rect, true);
  winmodel::Unlink(w);
  winmodel::LinkAt(p, w, 0);
  return old ? old->handle : nullptr;
}

HWND GetWindow(HWND window, UINT command) {
  Window* w = FindValid(window);
  if (!w) return nullptr;
  if (command == GW_OWNER) return w->owner ? w->owner->handle : nullptr;
  if (command == GW_CHILD) return w->children.empty() ? nullptr : w->children.front()->handle;
  if (command == GW_ENABLEDPOPUP) return nullptr;
  if (!w->parent) return nullptr;
  const auto& siblings = w->parent->children;
  const size_t i = winmodel::IndexInParent(w);
  switch (command) {
    case GW_HWNDFIRST: return siblings.front()->handle;
    case GW_HWNDLAST: return siblings.back()->handle;
    case GW_HWNDNEXT: return i + 1 < siblings.size() ? siblings[i + 1]->handle : nullptr;
    case GW_HWNDPREV: return i > 0 ? siblings[i - 1]->handle : nullptr;
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
  }
}

HWND GetAncestor(HWND window, UINT flags) {
  Window* w = FindValid(window);
  if (!w || w->IsDesktop()) return nullptr;
  switch (flags) {
    case GA_PARENT: return w->parent->handle;
    case GA_ROOT: return winmodel::Root(w)->handle;
    case GA_ROOTOWNER: {
      Window* r = winmodel::Root(w);
      while (r->owner) r = winmodel::Root(r->owner);
      return r->handle;
    }
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
  }
}

HWND GetDesktopWindow() { return winmodel::Desktop()->handle; }

HWND GetTopWindow(HWND window) {
  Window* w = window ? FindValid(window) : winmodel::Desktop();
  if (!w || w->children.empty()) return nullptr;
  return w->children.front()->handle;
}

BOOL IsChild(HWND parent, HWND window) {
  Window* p = Find(parent);
  Window* w = Find(window);
  if (!p || !w) return FALSE;
  for (Window* c = w; c && c->IsChild(); c = c->parent)
    if (c->parent == p) return TRUE;
  return FALSE;
}

namespace {
bool EnumDescendants(Window* w, WNDENUMPROC callback, LPARAM param) {
  std::vector<HWND> children;
  for (Window* c : w->children) children.push_back(c->handle);
  for (HWND c : children) {
    if (!Find(c)) continue;
    if (!callback(c, param)) return false;
    if (Window* cw = Find(c))
      if (!EnumDescendants(cw, callback, param)) return false;
  }
  return true;
}
}  // namespace

BOOL EnumChildWindows(HWND parent, WNDENUMPROC callback, LPARAM param) {
  Window* w = parent ? FindValid(parent) : winmodel::Desktop();
  if (!w || !callback) return FALSE;
  EnumDescendants(w, callback, param);
  return TRUE;
}

BOOL EnumWindows(WNDENUMPROC callback, LPARAM param) {
  if (!callback) return FALSE;
  std::vector<HWND> top;
  for (Window* c : winmodel::Desktop()->children) top.push_back(c->handle);
  for (HWND h : top)
    if (Find(h) && !callback(h, param)) break;
  return TRUE;
}

HWND FindWindowA(LPCSTR className, LPCSTR windowName) {
  winmodel::WindowClass* cls = className ? winmodel::FindClass(className) : nullptr;
  if (className && !cls) return nullptr;
  for (Window* w : winmodel::Desktop()->children) {
    if (cls && w->cls != cls) continue;
    if (windowName && w->text != windowName) continue;
    return w->handle;
  }
  return nullptr;
}

int GetDlgCtrlID(HWND window) {
  Window* w = FindValid(window);
  return w && w->IsChild() ? w->id : 0;
}

BOOL IsWindowVisible(HWND window) {
  Window* w = Find(window);
  if (!w) return FALSE;
  for (Window* p = w; p && !p->IsDesktop(); p = p->parent)
    if (!p->Visible()) return FALSE;
  return TRUE;
}

BOOL IsWindowEnabled(HWND window) {
  Window* w = Find(window);
  return w && w->Enabled();
}

BOOL EnableWindow(HWND window, BOOL enable) {
  Window* w = FindValid(window);
  if (!w) return FALSE;
  const BOOL wasDisabled = !w->Enabled();
  if (enable && wasDisabled) {
    w->style &= ~WS_DISABLED;
    SendMessageA(window, WM_ENABLE, TRUE, 0);
  } else if (!enable && !wasDisabled) {
    SendMessageA(window, WM_CANCELMODE, 0, 0);
    if (!Find(window)) return wasDisabled;
    w->style |= WS_DISABLED;
    Window* focus = winmodel::FocusWindow();
    if (focus && (focus == w || winmodel::IsDescendant(w, focus))) winmodel::SetFocusTo(nullptr);
    if (winmodel::CaptureWindow() == w) ReleaseCapture();
    SendMessageA(window, WM_ENABLE, FALSE, 0);
  }
  return wasDisabled;
}

BOOL IsIconic(HWND window) {
  Window* w = Find(window);
  return w && (w->style & WS_MINIMIZE) != 0;
}

BOOL IsZoomed(HWND window) {
  Window* w = Find(window);
  return w && (w->style & WS_MAXIMIZE) != 0;
}

BOOL SetPropA(HWND window, LPCSTR name, HANDLE data) {
  Window* w = FindValid(window);
  if (!w || !name) return FALSE;
  w->props[PropName(name)] = data;
  return TRUE;
}

HANDLE GetPropA(HWND window, LPCSTR name) {
  Window* w = Find(window);
  if (!w || !name) return nullptr;
  auto it = w->props.find(PropName(name));
  return it == w->props.end() ? nullptr : it->second;
}

HANDLE RemovePropA(HWND window, LPCSTR name) {
  Window* w = Find(window);
  if (!w || !name) return nullptr;
  auto it = w->props.find(PropName(name));
  if (it == w->props.end()) return nullptr;
  HANDLE data = it->second;
  w->props.erase(it);
  return data;
}
