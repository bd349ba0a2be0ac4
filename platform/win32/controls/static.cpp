// "Static": texts, icons, bitmaps and frames.
#include <cairo.h>

#include "platform/win32/classic_look.h"
#include "platform/win32/controls/control_procs.h"
#include "platform/win32/controls/control_state.h"
#include "platform/win32/gdi_raster.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/resources.h"
#include "platform/win32/window_api.h"

namespace {

struct StaticState : winmodel::ControlState {
  HICON icon = nullptr;
  HANDLE image = nullptr;
  WPARAM imageType = IMAGE_BITMAP;
};

// An icon or bitmap static names its image in its text.
LRESULT OnNcCreate(HWND window, WPARAM wParam, LPARAM lParam) {
  StaticState* s = controls::Attach<StaticState>(window);
  LRESULT r = DefWindowProcA(window, WM_NCCREATE, wParam, lParam);
  auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
  const DWORD type = static_cast<DWORD>(cs->style) & SS_TYPEMASK;
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

// The look of each kind of static; an owner-drawn one is drawn by its owner.
void Paint(HWND window, winmodel::Window* w, StaticState* s) {
  if ((w->style & SS_TYPEMASK) == SS_OWNERDRAW) {
    controls::DrawOwnerItem(window, ODT_STATIC, 0, 0, 0);
    ValidateRect(window, nullptr);
    return;
  }
  controls::PaintControl(window, [&](cairo_t* cr, const RECT& r) {
    const DWORD type = w->style & SS_TYPEMASK;
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), hilite = GetSysColor(COLOR_BTNHIGHLIGHT);
    RECT edge = r;
    switch (type) {
      case SS_BLACKRECT: raster::FillRect(cr, r, GetSysColor(COLOR_WINDOWFRAME)); return;
      case SS_GRAYRECT: raster::FillRect(cr, r, shadow); return;
      case SS_WHITERECT: raster::FillRect(cr, r, hilite); return;
      case SS_BLACKFRAME:
      case SS_GRAYFRAME:
      case SS_WHITEFRAME: {
        const COLORREF c = type == SS_BLACKFRAME ? GetSysColor(COLOR_WINDOWFRAME) : type == SS_GRAYFRAME ? shadow : hilite;
        raster::FillRect(cr, {r.left, r.top, r.right, r.top + 1}, c);
        raster::FillRect(cr, {r.left, r.bottom - 1, r.right, r.bottom}, c);
        raster::FillRect(cr, {r.left, r.top, r.left + 1, r.bottom}, c);
        raster::FillRect(cr, {r.right - 1, r.top, r.right, r.bottom}, c);
        return;
      }
      case SS_ETCHEDHORZ: classic::Edge(cr, &edge, EDGE_ETCHED, BF_TOP); return;
      case SS_ETCHEDVERT: classic::Edge(cr, &edge, EDGE_ETCHED, BF_LEFT); return;
      case SS_ETCHEDFRAME: classic::Edge(cr, &edge, EDGE_ETCHED, BF_RECT); return;
      case SS_ICON:
        if (s->icon) raster::IconAt(cr, s->icon, r.left, r.top, 32);
        return;
      case SS_BITMAP:
        if (cairo_surface_t* bits = s->image && s->imageType == IMAGE_BITMAP
                                        ? raster::PixelsOf(static_cast<HBITMAP>(s->image))
                                        : nullptr) {
          cairo_set_source_surface(cr, bits, r.left, r.top);
          cairo_paint(cr);
        }
        return;
      default: break;
    }
    if (w->text.empty()) return;
    UINT format = 0;
    if (type == SS_CENTER) format |= DT_CENTER | DT_WORDBREAK;
    else if (type == SS_RIGHT) format |= DT_RIGHT | DT_WORDBREAK;
    else if (type == SS_LEFT) format |= DT_WORDBREAK;
    else format |= DT_SINGLELINE;
    if (w->style & SS_NOPREFIX) format |= DT_NOPREFIX;
    if (w->style & SS_CENTERIMAGE) format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
    // A text that does not fit says so rather than ending mid-word.
    format |= DT_END_ELLIPSIS;
    if (!w->Enabled()) classic::DisabledText(cr, w->text.c_str(), r, format);
    else raster::TextIn(cr, w->text, r, format, GetSysColor(COLOR_WINDOWTEXT));
  });
}

}  // namespace

LRESULT StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) return OnNcCreate(window, wParam, lParam);
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
    case WM_PAINT: Paint(window, w, s); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

LRESULT ScrollBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}
