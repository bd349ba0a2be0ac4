// "Static": texts, icons, bitmaps and frames.
#include "platform/win32/controls/control_procs.h"
#include "platform/win32/controls/control_state.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/resources.h"
#include "platform/win32/window_api.h"

namespace {

struct StaticState : winmodel::ControlState {
  HICON icon = nullptr;
  HANDLE image = nullptr;
  WPARAM imageType = IMAGE_BITMAP;
};

}  // namespace

LRESULT StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    StaticState* s = controls::Attach<StaticState>(window);
    LRESULT r = DefWindowProcA(window, message, wParam, lParam);
    auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    const DWORD type = static_cast<DWORD>(cs->style) & SS_TYPEMASK;
    // An icon or bitmap static names its image in its text.
    if (cs->lpszName && cs->lpszName[0] && cs->hInstance) {
      if (type == SS_ICON) {
        s->icon = LoadIconA(cs->hInstance, cs->lpszName);
        s->image = s->icon;
        s->imageType = IMAGE_ICON;
      } else if (type == SS_BITMAP) {
        s->image = LoadBitmapA(cs->hInstance, cs->lpszName);
      }
    }
    return r;
  }
  StaticState* s = controls::StateOf<StaticState>(window);
  if (!s) return DefWindowProcA(window, message, wParam, lParam);
  winmodel::Window* w = winmodel::Find(window);
  const DWORD style = w->style;
  switch (message) {
    case WM_NCHITTEST: return (style & SS_NOTIFY) ? HTCLIENT : HTTRANSPARENT;
    case WM_GETDLGCODE: return DLGC_STATIC;
    case STM_SETICON: {
      HICON old = s->icon;
      s->icon = reinterpret_cast<HICON>(wParam);
      s->image = s->icon;
      s->imageType = IMAGE_ICON;
      winmodel::Invalidate(w, nullptr, true);
      return reinterpret_cast<LRESULT>(old);
    }
    case STM_GETICON: return reinterpret_cast<LRESULT>(s->icon);
    case STM_SETIMAGE: {
      HANDLE old = s->image;
      s->image = reinterpret_cast<HANDLE>(lParam);
      s->imageType = wParam;
      if (wParam == IMAGE_ICON) s->icon = reinterpret_cast<HICON>(lParam);
      winmodel::Invalidate(w, nullptr, true);
      return reinterpret_cast<LRESULT>(old);
    }
    case STM_GETIMAGE: return wParam == s->imageType ? reinterpret_cast<LRESULT>(s->image) : 0;
    case WM_LBUTTONDOWN:
      if (style & SS_NOTIFY) winmodel::NotifyCommand(w, STN_CLICKED);
      return 0;
    case WM_LBUTTONDBLCLK:
      if (style & SS_NOTIFY) winmodel::NotifyCommand(w, STN_DBLCLK);
      return 0;
    case WM_ENABLE:
      if (style & SS_NOTIFY) winmodel::NotifyCommand(w, wParam ? STN_ENABLE : STN_DISABLE);
      winmodel::Invalidate(w, nullptr, true);
      return 0;
    case WM_SETTEXT: {
      LRESULT r = DefWindowProcA(window, message, wParam, lParam);
      winmodel::Invalidate(w, nullptr, true);
      return r;
    }
    case WM_PAINT:
      if ((style & SS_TYPEMASK) == SS_OWNERDRAW) {
        controls::DrawOwnerItem(window, ODT_STATIC, 0, 0, 0);
        ValidateRect(window, nullptr);
        return 0;
      }
      return DefWindowProcA(window, message, wParam, lParam);
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

LRESULT ScrollBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}
