// The default handling of every message a window procedure passes on.
#include <utility>

#include "platform/win32/gdi_raster.h"
#include "platform/win32/cursors.h"
#include "platform/win32/resources.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/virtual_keys.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_model.h"

using winmodel::Find;
using winmodel::Window;

namespace {

void SendMoveAndSize(Window* w, const WINDOWPOS& wp) {
  const HWND h = w->handle;
  if (!(wp.flags & winmodel::kSwpNoClientMove)) {
    RECT client = winmodel::ClientArea(w);
    SendMessageA(h, WM_MOVE, 0, MAKELPARAM(w->rect.left + client.left, w->rect.top + client.top));
    if (!Find(h)) return;
  }
  if (!(wp.flags & winmodel::kSwpNoClientSize) || (wp.flags & winmodel::kSwpStateChanged)) {
    if (w->style & WS_MINIMIZE) {
      SendMessageA(h, WM_SIZE, SIZE_MINIMIZED, 0);
    } else {
      const WPARAM type = (w->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED;
      SendMessageA(h, WM_SIZE, type, MAKELPARAM(winmodel::ClientWidth(w), winmodel::ClientHeight(w)));
    }
  }
}

HWND Up(Window* w) {
  if (w->IsChild()) return w->parent->handle;
  return w->owner ? w->owner->handle : nullptr;
}

}  // namespace

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(window);
  if (!w) return 0;
  switch (message) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) w->text = cs->lpszName;
      return TRUE;
    }
    case WM_SETTEXT:
      w->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
      return TRUE;
    case WM_GETTEXT: return winmodel::CopyTextOut(w->text, wParam, lParam);
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(w->text.size());
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_WINDOWPOSCHANGED:
      if (lParam) SendMoveAndSize(w, *reinterpret_cast<const WINDOWPOS*>(lParam));
      return 0;
    case WM_SETFONT:
      w->font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) winmodel::Invalidate(w, nullptr, true);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(w->font);
    case WM_SETICON: {
      HICON icon = reinterpret_cast<HICON>(lParam);
      HICON& slot = wParam == ICON_BIG ? w->bigIcon : w->smallIcon;
      return reinterpret_cast<LRESULT>(std::exchange(slot, icon));
    }
    case WM_GETICON:
      if (wParam == ICON_BIG) return reinterpret_cast<LRESULT>(w->bigIcon);
      if (wParam == ICON_SMALL) return reinterpret_cast<LRESULT>(w->smallIcon);
      return reinterpret_cast<LRESULT>(w->smallIcon ? w->smallIcon : w->bigIcon);
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(window, &ps);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_ERASEBKGND: {
      // Pixels only: the drawing journal keeps what the windows drew.
      HBRUSH brush = w->cls && w->cls->background ? w->cls->background
                     : w->dialog                  ? GetSysColorBrush(COLOR_BTNFACE)
                                                  : nullptr;
      if (brush && wParam)
        raster::Fill(reinterpret_cast<HDC>(wParam), {0, 0, winmodel::ClientWidth(w), winmodel::ClientHeight(w)}, brush);
      return 1;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !(w->style & WS_MINIMIZE)) {
        Window* focus = winmodel::FocusWindow();
        if (!focus || (focus != w && !winmodel::IsDescendant(w, focus))) SetFocus(window);
      }
      return 0;
    case WM_MOUSEACTIVATE: return MA_ACTIVATE;
    case WM_NCHITTEST: return HTCLIENT;
    case WM_SETCURSOR:
      if (w->IsChild() && SendMessageA(w->parent->handle, WM_SETCURSOR, wParam, lParam)) return TRUE;
      if (LOWORD(lParam) == HTCLIENT && w->cls && w->cls->cursor) SetCursor(w->cls->cursor);
      return FALSE;
    case WM_KEYDOWN:
      if (wParam == VK_F1) {
        HELPINFO info{sizeof(HELPINFO), HELPINFO_WINDOW, GetDlgCtrlID(window), window, 0, {}};
        GetCursorPos(&info.MousePos);
        SendMessageA(window, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
      }
      return 0;
    case WM_HELP:
      if (HWND up = Up(w)) SendMessageA(up, WM_HELP, wParam, lParam);
      return TRUE;
    case WM_RBUTTONUP: {
      POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ClientToScreen(window, &p);
      SendMessageA(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(p.x, p.y));
      return 0;
    }
    case WM_CONTEXTMENU:
      if (w->IsChild()) SendMessageA(w->parent->handle, WM_CONTEXTMENU, wParam, lParam);
      return 0;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_CLOSE: SendMessageA(window, WM_CLOSE, 0, 0); break;
        case SC_MINIMIZE: ShowWindow(window, SW_MINIMIZE); break;
        case SC_MAXIMIZE: ShowWindow(window, SW_MAXIMIZE); break;
        case SC_RESTORE: ShowWindow(window, SW_RESTORE); break;
        default: break;
      }
      return 0;
    case WM_CANCELMODE:
      if (GetCapture() == window) ReleaseCapture();
      return 0;
    case WM_SETREDRAW: w->redraw = wParam != 0; return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_NOTIFYFORMAT: return NFR_ANSI;
    default: return 0;
  }
}
