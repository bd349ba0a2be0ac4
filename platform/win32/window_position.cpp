// Position, size, z-order, visibility, placement and coordinate mapping.
#include <algorithm>
#include <map>
#include <memory>

#include "platform/win32/error_codes.h"
#include "platform/win32/headless_metrics.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_model.h"

using winmodel::Find;
using winmodel::FindValid;
using winmodel::Window;

namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

void Reorder(Window* w, HWND after) {
  if (!w->parent) return;
  if (after == w->handle) return;
  auto& siblings = w->parent->children;
  if (after == HWND_TOP || after == HWND_TOPMOST || after == HWND_NOTOPMOST) {
    winmodel::Unlink(w);
    winmodel::LinkAt(w->parent, w, 0);
    return;
  }
  if (after == HWND_BOTTOM) {
    winmodel::Unlink(w);
    winmodel::LinkAt(w->parent, w, siblings.size());
    return;
  }
  Window* a = Find(after);
  if (!a || a->parent != w->parent) return;
  Window* parent = w->parent;
  winmodel::Unlink(w);
  winmodel::LinkAt(parent, w, winmodel::IndexInParent(a) + 1);
}

// The frame width the window loses on each side when maximised.
int FrameWidth(const Window* w) {
  if (w->style & WS_THICKFRAME) return headless::kThickFrame;
  if ((w->style & WS_DLGFRAME) || (w->exStyle & WS_EX_DLGMODALFRAME)) return headless::kDialogFrame;
  return (w->style & WS_BORDER) ? headless::kBorder : 0;
}

RECT MinimizedRect(const Window* w) {
  if (!w->IsChild())
    return {headless::kMinimizedPosition, headless::kMinimizedPosition,
            headless::kMinimizedPosition + headless::kMinimizedWidth,
            headless::kMinimizedPosition + headless::kMinimizedHeight};
  const int h = winmodel::ClientHeight(w->parent);
  return {0, h - headless::kMinimizedHeight, headless::kMinimizedWidth, h};
}

}  // namespace

namespace winmodel {

MINMAXINFO QueryMinMaxInfo(Window* w) {
  const int frame = FrameWidth(w);
  const RECT area = w->IsChild() ? RECT{0, 0, ClientWidth(w->parent), ClientHeight(w->parent)}
                                 : ClientArea(Desktop());
  MINMAXINFO info{};
  info.ptMaxSize = {Width(area) + 2 * frame, Height(area) + 2 * frame};
  info.ptMaxPosition = {area.left - frame, area.top - frame};
  info.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  info.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  SendMessageA(w->handle, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  return info;
}

BOOL SetPosition(Window* w, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  const HWND handle = w->handle;
  CallGuard guard(w);
  const RECT old = w->rect;
  WINDOWPOS wp{handle, insertAfter, x, y, cx, cy, flags};
  if (flags & SWP_NOMOVE) {
    wp.x = old.left;
    wp.y = old.top;
  }
  if (flags & SWP_NOSIZE) {
    wp.cx = Width(old);
    wp.cy = Height(old);
  }
  if (!(flags & SWP_NOSENDCHANGING)) {
    SendMessageA(handle, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
    if (!Find(handle)) return FALSE;
  }
  wp.cx = std::max(wp.cx, 0);
  wp.cy = std::max(wp.cy, 0);
  const RECT oldClient = ClientArea(w);
  const POINT oldOrigin{old.left + oldClient.left, old.top + oldClient.top};
  const bool wasVisible = IsWindowVisible(handle);

  w->rect = {wp.x, wp.y, wp.x + wp.cx, wp.y + wp.cy};
  if (!(wp.flags & SWP_NOZORDER)) Reorder(w, wp.hwndInsertAfter);
  if (wp.flags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
  if (wp.flags & SWP_HIDEWINDOW) w->style &= ~WS_VISIBLE;
  if (!(w->style & (WS_MINIMIZE | WS_MAXIMIZE))) w->normalRect = w->rect;

  const bool moved = w->rect.left != old.left || w->rect.top != old.top;
  const bool sized = Width(w->rect) != Width(old) || Height(w->rect) != Height(old);
  const bool isVisible = IsWindowVisible(handle);
  if (!(wp.flags & SWP_NOREDRAW) && (moved || sized || wasVisible != isVisible)) {
    if (w->parent && !w->parent->IsDesktop()) {
      if (wasVisible) Invalidate(w->parent, &old, true);
      if (isVisible) Invalidate(w->parent, &w->rect, true);
    }
    if (isVisible && (sized || wasVisible != isVisible)) Invalidate(w, nullptr, true);
  }
  if (wasVisible && !isVisible) LeaveWindow(w, false, !(wp.flags & SWP_NOACTIVATE));
  if (!wasVisible && isVisible && !w->IsChild() && !(wp.flags & SWP_NOACTIVATE)) Activate(w);
  if (!Find(handle)) return TRUE;

  const RECT newClient = ClientArea(w);
  WINDOWPOS done = wp;
  done.x = w->rect.left;
  done.y = w->rect.top;
  if (!moved) done.flags |= SWP_NOMOVE;
  if (!sized) done.flags |= SWP_NOSIZE;
  if (Width(newClient) == Width(oldClient) && Height(newClient) == Height(oldClient))
    done.flags |= kSwpNoClientSize;
  else
    RunClientSizeHooks(handle);
  if (w->rect.left + newClient.left == oldOrigin.x && w->rect.top + newClient.top == oldOrigin.y)
    done.flags |= kSwpNoClientMove;
  SendMessageA(handle, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&done));
  return TRUE;
}

}  // namespace winmodel

BOOL GetWindowRect(HWND window, RECT* rect) {
  Window* w = FindValid(window);
  if (!w || !rect) return FALSE;
  *rect = winmodel::ScreenRect(w);
  return TRUE;
}

BOOL GetClientRect(HWND window, RECT* rect) {
  Window* w = FindValid(window);
  if (!w || !rect) return FALSE;
  *rect = {0, 0, winmodel::ClientWidth(w), winmodel::ClientHeight(w)};
  return TRUE;
}

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
  Window* w = FindValid(window);
  if (!w || w->IsDesktop()) return FALSE;
  return winmodel::SetPosition(w, insertAfter, x, y, width, height, flags);
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(window, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND window) {
  return SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

namespace {

struct DeferBatch {
  std::vector<WINDOWPOS> entries;
};

std::map<uintptr_t, std::unique_ptr<DeferBatch>>& Batches() {
  static auto* batches = new std::map<uintptr_t, std::unique_ptr<DeferBatch>>;
  return *batches;
}

DeferBatch* FindBatch(HDWP batch) {
  auto it = Batches().find(reinterpret_cast<uintptr_t>(batch));
  return it == Batches().end() ? nullptr : it->second.get();
}

}  // namespace

HDWP BeginDeferWindowPos(int count) {
  if (count < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  static uintptr_t next = 0x20000;
  next += 4;
  Batches()[next] = std::make_unique<DeferBatch>();
  return reinterpret_cast<HDWP>(next);
}

HDWP DeferWindowPos(HDWP batch, HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
  DeferBatch* b = FindBatch(batch);
  if (!b) {
    SetLastError(ERROR_INVALID_DWP_HANDLE);
    return nullptr;
  }
  if (!Find(window)) {
    Batches().erase(reinterpret_cast<uintptr_t>(batch));
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  for (WINDOWPOS& e : b->entries) {
    if (e.hwnd != window) continue;
    // A later request for the same window updates what it names.
    if (!(flags & SWP_NOZORDER)) {
      e.hwndInsertAfter = insertAfter;
      e.flags &= ~SWP_NOZORDER;
    }
    if (!(flags & SWP_NOMOVE)) {
      e.x = x;
      e.y = y;
      e.flags &= ~SWP_NOMOVE;
    }
    if (!(flags & SWP_NOSIZE)) {
      e.cx = width;
      e.cy = height;
      e.flags &= ~SWP_NOSIZE;
    }
    e.flags &= flags | ~(SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOCOPYBITS | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
    e.flags |= flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED);
    return batch;
  }
  b->entries.push_back({window, insertAfter, x, y, width, height, flags});
  return batch;
}

BOOL EndDeferWindowPos(HDWP batch) {
  auto it = Batches().find(reinterpret_cast<uintptr_t>(batch));
  if (it == Batches().end()) {
    SetLastError(ERROR_INVALID_DWP_HANDLE);
    return FALSE;
  }
  std::unique_ptr<DeferBatch> b = std::move(it->second);
  Batches().erase(it);
  for (const WINDOWPOS& e : b->entries)
    if (Window* w = Find(e.hwnd)) winmodel::SetPosition(w, e.hwndInsertAfter, e.x, e.y, e.cx, e.cy, e.flags);
  return TRUE;
}

namespace {

void ShowState(Window* w, DWORD state, const RECT& rect, bool activate) {
  const DWORD old = w->style & (WS_MINIMIZE | WS_MAXIMIZE);
  if (!old) w->normalRect = w->rect;
  w->style = (w->style & ~(WS_MINIMIZE | WS_MAXIMIZE)) | state;
  UINT flags = SWP_NOZORDER | SWP_SHOWWINDOW | SWP_FRAMECHANGED;
  if (!activate) flags |= SWP_NOACTIVATE;
  if (old != state) flags |= winmodel::kSwpStateChanged;
  winmodel::SetPosition(w, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, flags);
}

void Minimize(Window* w, bool activate) {
  if (w->style & WS_MINIMIZE) {
    winmodel::SetPosition(w, nullptr, 0, 0, 0, 0,
                          SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW | (activate ? 0 : SWP_NOACTIVATE));
    return;
  }
  w->restoreToMaximized = (w->style & WS_MAXIMIZE) != 0;
  ShowState(w, WS_MINIMIZE, MinimizedRect(w), activate);
}

void Maximize(Window* w) {
  MINMAXINFO info = winmodel::QueryMinMaxInfo(w);
  if (!winmodel::Find(w->handle)) return;
  RECT r{info.ptMaxPosition.x, info.ptMaxPosition.y, info.ptMaxPosition.x + info.ptMaxSize.x,
         info.ptMaxPosition.y + info.ptMaxSize.y};
  ShowState(w, WS_MAXIMIZE, r, true);
}

void Restore(Window* w, bool activate) {
  if ((w->style & WS_MINIMIZE) && w->restoreToMaximized) {
    Maximize(w);
    return;
  }
  if (w->style & (WS_MINIMIZE | WS_MAXIMIZE)) {
    ShowState(w, 0, w->normalRect, activate);
    return;
  }
  winmodel::SetPosition(w, nullptr, 0, 0, 0, 0,
                        SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW | (activate ? 0 : SWP_NOACTIVATE));
}

}  // namespace

BOOL ShowWindow(HWND window, int command) {
  Window* w = FindValid(window);
  if (!w || w->IsDesktop()) return FALSE;
  winmodel::CallGuard guard(w);
  const BOOL wasVisible = w->Visible();
  if (command == SW_HIDE) {
    if (!wasVisible) return FALSE;
    SendMessageA(window, WM_SHOWWINDOW, FALSE, 0);
    if (!Find(window)) return wasVisible;
    winmodel::SetPosition(w, nullptr, 0, 0, 0, 0,
                          SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | (w->IsChild() ? SWP_NOACTIVATE : 0));
    return wasVisible;
  }
  if (!wasVisible) {
    SendMessageA(window, WM_SHOWWINDOW, TRUE, 0);
    if (!Find(window)) return wasVisible;
  }
  switch (command) {
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE: {
      Minimize(w, command == SW_SHOWMINIMIZED);
      if (command == SW_MINIMIZE && winmodel::ActiveWindow() == w)
        winmodel::Activate(w->owner && w->owner->Visible() && w->owner->Enabled() ? w->owner : nullptr);
      break;
    }
    case SW_SHOWMAXIMIZED: Maximize(w); break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWDEFAULT: Restore(w, true); break;
    case SW_SHOWNOACTIVATE: Restore(w, false); break;
    case SW_SHOWNA:
      winmodel::SetPosition(w, nullptr, 0, 0, 0, 0,
                            SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW | SWP_NOACTIVATE);
      break;
    case SW_SHOW:
    default:
      winmodel::SetPosition(w, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
      if (Find(window) && !w->IsChild() && w->Visible() && winmodel::ActiveWindow() != w) winmodel::Activate(w);
      break;
  }
  return wasVisible;
}

BOOL GetWindowPlacement(HWND window, WINDOWPLACEMENT* placement) {
  Window* w = FindValid(window);
  if (!w || !placement) return FALSE;
  placement->length = sizeof(WINDOWPLACEMENT);
  placement->flags = (w->style & WS_MINIMIZE) && w->restoreToMaximized ? WPF_RESTORETOMAXIMIZED : 0;
  placement->showCmd = (w->style & WS_MINIMIZE)   ? SW_SHOWMINIMIZED
                       : (w->style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED
                                                  : SW_SHOWNORMAL;
  placement->ptMinPosition =
      (w->style & WS_MINIMIZE) ? POINT{w->rect.left, w->rect.top} : w->minPosition;
  placement->ptMaxPosition = w->maxPosition;
  placement->rcNormalPosition = (w->style & (WS_MINIMIZE | WS_MAXIMIZE)) ? w->normalRect : w->rect;
  return TRUE;
}

BOOL SetWindowPlacement(HWND window, const WINDOWPLACEMENT* placement) {
  Window* w = FindValid(window);
  if (!w || !placement) return FALSE;
  w->normalRect = placement->rcNormalPosition;
  if (placement->flags & WPF_SETMINPOSITION) w->minPosition = placement->ptMinPosition;
  w->maxPosition = placement->ptMaxPosition;
  w->restoreToMaximized = (placement->flags & WPF_RESTORETOMAXIMIZED) != 0;
  if (!(w->style & (WS_MINIMIZE | WS_MAXIMIZE))) {
    const RECT& r = placement->rcNormalPosition;
    winmodel::SetPosition(w, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                          SWP_NOZORDER | SWP_NOACTIVATE);
    if (!Find(window)) return TRUE;
  }
  ShowWindow(window, static_cast<int>(placement->showCmd));
  return TRUE;
}

BOOL ScreenToClient(HWND window, POINT* point) {
  Window* w = FindValid(window);
  if (!w || !point) return FALSE;
  POINT o = winmodel::ClientOrigin(w);
  point->x -= o.x;
  point->y -= o.y;
  return TRUE;
}

BOOL ClientToScreen(HWND window, POINT* point) {
  Window* w = FindValid(window);
  if (!w || !point) return FALSE;
  POINT o = winmodel::ClientOrigin(w);
  point->x += o.x;
  point->y += o.y;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
  Window* a = from ? FindValid(from) : winmodel::Desktop();
  Window* b = to ? FindValid(to) : winmodel::Desktop();
  if (!a || !b) return 0;
  POINT oa = winmodel::ClientOrigin(a), ob = winmodel::ClientOrigin(b);
  const int dx = oa.x - ob.x, dy = oa.y - ob.y;
  for (UINT i = 0; points && i < count; ++i) {
    points[i].x += dx;
    points[i].y += dy;
  }
  SetLastError(ERROR_SUCCESS);
  return MAKELONG(dx, dy);
}

BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle) {
  if (!rect) return FALSE;
  winmodel::Insets in = winmodel::NonClientInsets(style, exStyle, menu != FALSE);
  rect->left -= in.left;
  rect->top -= in.top;
  rect->right += in.right;
  rect->bottom += in.bottom;
  return TRUE;
}

BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL menu) { return AdjustWindowRectEx(rect, style, menu, 0); }

namespace {

bool HitTransparent(Window* w, POINT screen) {
  return SendMessageA(w->handle, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)) == HTTRANSPARENT;
}

Window* DeepestAt(Window* w, POINT screen) {
  for (Window* c : w->children) {
    if (!c->Visible()) continue;
    RECT r = winmodel::ScreenRect(c);
    if (!PtInRect(&r, screen)) continue;
    if (!c->Enabled()) return w;
    if (HitTransparent(c, screen)) continue;
    return DeepestAt(c, screen);
  }
  return w;
}

}  // namespace

HWND WindowFromPoint(POINT screenPoint) {
  for (Window* top : winmodel::Desktop()->children) {
    if (!top->Visible()) continue;
    RECT r = winmodel::ScreenRect(top);
    if (!PtInRect(&r, screenPoint)) continue;
    return DeepestAt(top, screenPoint)->handle;
  }
  return nullptr;
}

HWND ChildWindowFromPointEx(HWND parent, POINT clientPoint, UINT flags) {
  Window* p = FindValid(parent);
  if (!p) return nullptr;
  RECT client{0, 0, winmodel::ClientWidth(p), winmodel::ClientHeight(p)};
  if (!PtInRect(&client, clientPoint)) return nullptr;
  for (Window* c : p->children) {
    if ((flags & CWP_SKIPINVISIBLE) && !c->Visible()) continue;
    if ((flags & CWP_SKIPDISABLED) && !c->Enabled()) continue;
    if ((flags & CWP_SKIPTRANSPARENT) && (c->exStyle & WS_EX_TRANSPARENT)) continue;
    if (PtInRect(&c->rect, clientPoint)) return c->handle;
  }
  return parent;
}

HWND ChildWindowFromPoint(HWND parent, POINT clientPoint) {
  return ChildWindowFromPointEx(parent, clientPoint, CWP_ALL);
}

int GetSystemMetrics(int index) {
  const HeadlessMetrics& m = GetHeadlessMetrics();
  const int frame = headless::kThickFrame;
  switch (index) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN:
    case SM_CXVIRTUALSCREEN: return m.screenWidth;
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN: return m.screenHeight;
    case SM_CYFULLSCREEN: return m.screenHeight - headless::kCaption;
    case SM_XVIRTUALSCREEN:
    case SM_YVIRTUALSCREEN: return 0;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB: return headless::kScrollBar;
    case SM_CYCAPTION: return headless::kCaption;
    case SM_CYSMCAPTION: return headless::kCaption - 3;
    case SM_CYMENU: return headless::kMenuBar;
    case SM_CXBORDER:
    case SM_CYBORDER: return headless::kBorder;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return headless::kDialogFrame;
    case SM_CXFRAME:
    case SM_CYFRAME: return frame;
    case SM_CXEDGE:
    case SM_CYEDGE: return headless::kClientEdge;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR: return headless::kIcon;
    case SM_CXSMICON:
    case SM_CYSMICON:
    case SM_CXMENUCHECK:
    case SM_CYMENUCHECK: return headless::kSmallIcon;
    case SM_CXMIN: return 112;
    case SM_CYMIN: return 27;
    case SM_CXSIZE:
    case SM_CYSIZE: return headless::kCaption;
    case SM_CXMINTRACK: return 112;
    case SM_CYMINTRACK: return 27;
    case SM_CXMAXTRACK: return m.screenWidth + 2 * frame + 12;
    case SM_CYMAXTRACK: return m.screenHeight + 2 * frame + 12;
    case SM_CXMAXIMIZED: return m.screenWidth + 2 * frame;
    case SM_CYMAXIMIZED: return m.screenHeight + 2 * frame;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK: return 4;
    case SM_CXDRAG:
    case SM_CYDRAG: return 4;
    case SM_CMONITORS: return 1;
    default: return 0;
  }
}

BOOL SystemParametersInfoA(UINT action, UINT, PVOID value, UINT) {
  if (action == SPI_GETWORKAREA && value) {
    const HeadlessMetrics& m = GetHeadlessMetrics();
    *static_cast<RECT*>(value) = {0, 0, m.screenWidth, m.screenHeight};
    return TRUE;
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}
