// "ListBox": single and multiple selection lists of texts with item data.
#include <algorithm>

#include <cairo.h>

#include "platform/win32/classic_look.h"
#include "platform/win32/controls/control_procs.h"
#include "platform/win32/gdi_raster.h"
#include "platform/win32/controls/control_state.h"
#include "platform/win32/headless_metrics.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/virtual_keys.h"
#include "platform/win32/window_api.h"

namespace {

struct ListBoxState : winmodel::ControlState {
  controls::ItemList list;  // its current item: the single selection
  int caret = -1;
  int anchor = -1;
  int top = 0;
  int itemHeight = headless::kListBoxItemHeight;
  bool scrollBar = false;  // created with WS_VSCROLL
};

struct Ctx {
  HWND window;
  winmodel::Window* w;
  ListBoxState* s;
  int count() const { return s->list.Count(); }
  bool valid(WPARAM i) const { return s->list.Valid(i); }
  bool multi() const { return (w->style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0; }
  bool notify() const { return (w->style & LBS_NOTIFY) != 0; }
};

void Notify(Ctx& c, UINT code) {
  if (IsWindow(c.window)) winmodel::NotifyCommand(c.w, code);
}

int ItemAt(Ctx& c, POINT p, bool* outside) {
  RECT client;
  GetClientRect(c.window, &client);
  const int row = p.y < 0 ? -1 : p.y / c.s->itemHeight;
  int index = c.s->top + row;
  *outside = !PtInRect(&client, p) || index < 0 || index >= c.count();
  return std::clamp(index, 0, std::max(0, c.count() - 1));
}

int Visible(Ctx& c) {
  RECT client;
  GetClientRect(c.window, &client);
  return std::max(1, static_cast<int>(client.bottom) / c.s->itemHeight);
}

void EnsureVisible(Ctx& c, int index) {
  if (index < 0) return;
  if (index < c.s->top) c.s->top = index;
  const int visible = Visible(c);
  if (index >= c.s->top + visible) c.s->top = index - visible + 1;
}

// Selects one item (single selection) as the user does; false when
// nothing changed.
bool UserSelect(Ctx& c, int index) {
  if (!c.valid(static_cast<WPARAM>(index))) return false;
  c.s->caret = index;
  EnsureVisible(c, index);
  if (c.multi()) {
    c.s->list.items[static_cast<size_t>(index)].selected = !c.s->list.items[static_cast<size_t>(index)].selected;
    winmodel::Invalidate(c.w, nullptr, true);
    return true;
  }
  if (c.s->list.current == index) return false;
  c.s->list.current = index;
  winmodel::Invalidate(c.w, nullptr, true);
  return true;
}

// After an item went in at `at` (-1: none did): the caret moves with the
// items; the insert's answer.
LRESULT Inserted(Ctx& c, int at) {
  if (at < 0) return LB_ERR;
  if (c.s->caret >= at) ++c.s->caret;
  winmodel::Invalidate(c.w, nullptr, true);
  return at;
}

void Paint(Ctx& c) {
  ListBoxState* s = c.s;
  HWND window = c.window;
  controls::PaintControl(window, [&](cairo_t* cr, const RECT& client) {
    controls::PaintItems(cr, client, s->list.items, s->top, s->itemHeight, c.multi() ? -1 : s->list.current);
  });
}

// Unless its style keeps the bar (LBS_DISABLENOSCROLL), a list shows its
// scroll bar only while its items do not fit.
void FitScrollBar(Ctx& c) {
  if (!c.s->scrollBar || (c.w->style & LBS_DISABLENOSCROLL)) return;
  const bool needed = c.count() > Visible(c);
  if (needed == ((c.w->style & WS_VSCROLL) != 0)) return;
  c.w->style ^= WS_VSCROLL;
  winmodel::Invalidate(c.w, nullptr, true);
}

// Unless LBS_NOINTEGRALHEIGHT, a list is as tall as its whole rows.
int WholeRowsHeight(const winmodel::Window* w, int height, int itemHeight) {
  if ((w->style & LBS_NOINTEGRALHEIGHT) || itemHeight <= 0) return height;
  const winmodel::Insets in = winmodel::NonClientInsets(w);
  const int client = height - in.top - in.bottom;
  if (client <= itemHeight) return height;
  return height - client % itemHeight;
}

// The items: adding, removing, reading, finding.
controls::Answer OnItemMessage(Ctx& c, UINT message, WPARAM wParam, LPARAM lParam) {
  ListBoxState* s = c.s;
  switch (message) {
    case LB_ADDSTRING: return Inserted(c, s->list.Add(lParam, (c.w->style & LBS_SORT) != 0));
    case LB_INSERTSTRING: return Inserted(c, s->list.Insert(wParam, lParam));
    case LB_DELETESTRING:
      if (!s->list.Delete(wParam)) return LB_ERR;
      if (s->caret >= c.count()) s->caret = c.count() - 1;
      winmodel::Invalidate(c.w, nullptr, true);
      return c.count();
    case LB_RESETCONTENT:
      s->list.Clear();
      s->caret = s->anchor = -1;
      s->top = 0;
      winmodel::Invalidate(c.w, nullptr, true);
      return 0;
    case LB_GETCOUNT: return c.count();
    case LB_GETTEXT: return s->list.CopyText(wParam, lParam);
    case LB_GETTEXTLEN: return s->list.CopyText(wParam, 0);
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
    case LB_SELECTSTRING: {
      const int index = s->list.Find(static_cast<int>(wParam),
                                           lParam ? reinterpret_cast<const char*>(lParam) : "",
                                           message == LB_FINDSTRINGEXACT);
      if (index < 0) return LB_ERR;
      if (message == LB_SELECTSTRING) {
        if (c.multi())
          s->list.items[static_cast<size_t>(index)].selected = true;
        else
          s->list.current = index;
        s->caret = index;
        EnsureVisible(c, index);
      }
      return index;
    }
    case LB_GETITEMDATA: return s->list.Data(wParam);
    case LB_SETITEMDATA: return s->list.SetData(wParam, lParam) ? TRUE : LB_ERR;
    case LB_INITSTORAGE: return static_cast<LRESULT>(wParam);
    default: return std::nullopt;
  }
}

// The selection, the caret and the anchor.
controls::Answer OnSelectionMessage(Ctx& c, UINT message, WPARAM wParam, LPARAM lParam) {
  ListBoxState* s = c.s;
  switch (message) {
    case LB_GETCURSEL: return c.multi() ? s->caret : s->list.current;
    case LB_SETCURSEL:
      if (c.multi()) return LB_ERR;
      s->list.current = c.valid(wParam) ? static_cast<int>(wParam) : -1;
      if (s->list.current >= 0) {
        s->caret = s->list.current;
        EnsureVisible(c, s->list.current);
      }
      winmodel::Invalidate(c.w, nullptr, true);
      return s->list.current >= 0 ? s->list.current : LB_ERR;
    case LB_GETSEL:
      if (!c.valid(wParam)) return LB_ERR;
      return c.multi() ? (s->list.items[wParam].selected ? 1 : 0) : (static_cast<int>(wParam) == s->list.current ? 1 : 0);
    case LB_SETSEL: {
      if (!c.multi()) return LB_ERR;
      const int index = static_cast<int>(lParam);
      if (index == -1) {
        for (auto& item : s->list.items) item.selected = wParam != 0;
      } else {
        if (!c.valid(static_cast<WPARAM>(index))) return LB_ERR;
        s->list.items[static_cast<size_t>(index)].selected = wParam != 0;
        s->caret = index;
      }
      winmodel::Invalidate(c.w, nullptr, true);
      return 0;
    }
    case LB_GETSELCOUNT:
      if (!c.multi()) return LB_ERR;
      return std::count_if(s->list.items.begin(), s->list.items.end(), [](const controls::Item& i) { return i.selected; });
    case LB_GETSELITEMS: {
      if (!c.multi()) return LB_ERR;
      int* out = reinterpret_cast<int*>(lParam);
      int n = 0;
      for (int i = 0; i < c.count() && n < static_cast<int>(wParam); ++i)
        if (s->list.items[static_cast<size_t>(i)].selected) {
          if (out) out[n] = i;
          ++n;
        }
      return n;
    }
    case LB_SETCARETINDEX:
      if (!c.valid(wParam)) return LB_ERR;
      s->caret = static_cast<int>(wParam);
      EnsureVisible(c, s->caret);
      return 0;
    case LB_GETCARETINDEX: return s->caret >= 0 ? s->caret : (c.count() ? 0 : LB_ERR);
    case LB_SETANCHORINDEX: s->anchor = static_cast<int>(wParam); return 0;
    case LB_GETANCHORINDEX: return s->anchor;
    default: return std::nullopt;
  }
}

// Item heights, rectangles, hit tests and scrolling.
controls::Answer OnGeometryMessage(Ctx& c, UINT message, WPARAM wParam, LPARAM lParam) {
  ListBoxState* s = c.s;
  HWND window = c.window;
  switch (message) {
    case LB_GETITEMHEIGHT: return s->itemHeight;
    case LB_SETITEMHEIGHT:
      if (LOWORD(lParam) == 0 || LOWORD(lParam) > 255) return LB_ERR;
      s->itemHeight = LOWORD(lParam);
      return 0;
    case LB_GETTOPINDEX: return s->top;
    case LB_SETTOPINDEX:
      if (!c.valid(wParam) && !(wParam == 0 && c.count() == 0)) return LB_ERR;
      s->top = static_cast<int>(wParam);
      winmodel::Invalidate(c.w, nullptr, true);
      return 0;
    case LB_GETITEMRECT: {
      RECT* r = reinterpret_cast<RECT*>(lParam);
      if (!r || (!c.valid(wParam) && !(wParam == 0 && c.count() == 0))) return LB_ERR;
      RECT client;
      GetClientRect(window, &client);
      const int y = (static_cast<int>(wParam) - s->top) * s->itemHeight;
      *r = {0, y, client.right, y + s->itemHeight};
      return 1;
    }
    case LB_ITEMFROMPOINT: {
      bool outside = false;
      const int index = ItemAt(c, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, &outside);
      return MAKELONG(index, outside ? 1 : 0);
    }
    case WM_VSCROLL: {
      const int last = std::max(0, c.count() - Visible(c));
      switch (LOWORD(wParam)) {
        case SB_LINEUP: s->top = std::max(0, s->top - 1); break;
        case SB_LINEDOWN: s->top = std::min(last, s->top + 1); break;
        case SB_PAGEUP: s->top = std::max(0, s->top - Visible(c)); break;
        case SB_PAGEDOWN: s->top = std::min(last, s->top + Visible(c)); break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: s->top = std::clamp(static_cast<int>(HIWORD(wParam)), 0, last); break;
        case SB_TOP: s->top = 0; break;
        case SB_BOTTOM: s->top = last; break;
        default: break;
      }
      winmodel::Invalidate(c.w, nullptr, true);
      return 0;
    }
    default: return std::nullopt;
  }
}

// The mouse, the keys and the focus.
controls::Answer OnInputMessage(Ctx& c, UINT message, WPARAM wParam, LPARAM lParam) {
  ListBoxState* s = c.s;
  HWND window = c.window;
  switch (message) {
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (GetFocus() != window) SetFocus(window);
      if (!IsWindow(window)) return 0;
      bool outside = false;
      const int index = ItemAt(c, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, &outside);
      if (outside) return 0;
      if (message == WM_LBUTTONDOWN) {
        if (UserSelect(c, index) && c.notify()) Notify(c, LBN_SELCHANGE);
      } else if (c.notify()) {
        Notify(c, LBN_DBLCLK);
      }
      return 0;
    }
    case WM_KEYDOWN: {
      int next = c.multi() ? s->caret : s->list.current;
      switch (wParam) {
        case VK_UP: next = std::max(0, next - 1); break;
        case VK_DOWN: next = std::min(c.count() - 1, next + 1); break;
        case VK_HOME: next = 0; break;
        case VK_END: next = c.count() - 1; break;
        case VK_PRIOR: next = std::max(0, next - Visible(c)); break;
        case VK_NEXT: next = std::min(c.count() - 1, next + Visible(c)); break;
        case VK_SPACE:
          if (c.multi() && UserSelect(c, std::max(s->caret, 0)) && c.notify()) Notify(c, LBN_SELCHANGE);
          return 0;
        default: return DefWindowProcA(window, message, wParam, lParam);
      }
      if (c.multi()) {
        if (c.valid(static_cast<WPARAM>(next))) {
          s->caret = next;
          EnsureVisible(c, next);
        }
      } else if (UserSelect(c, next) && c.notify()) {
        Notify(c, LBN_SELCHANGE);
      }
      return 0;
    }
    case WM_CHAR:
      if (wParam >= ' ') {
        const int index = s->list.Find(c.multi() ? s->caret : s->list.current,
                                             std::string(1, static_cast<char>(wParam)), false);
        if (index >= 0 && !c.multi() && UserSelect(c, index) && c.notify()) Notify(c, LBN_SELCHANGE);
      }
      return 0;
    case WM_SETFOCUS: Notify(c, LBN_SETFOCUS); return 0;
    case WM_KILLFOCUS: Notify(c, LBN_KILLFOCUS); return 0;
    default: return std::nullopt;
  }
}

}  // namespace

LRESULT ListBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    ListBoxState* s = controls::Attach<ListBoxState>(window);
    winmodel::Window* w = winmodel::Find(window);
    s->scrollBar = (w->style & WS_VSCROLL) != 0;
    w->rect.bottom = w->rect.top + WholeRowsHeight(w, w->rect.bottom - w->rect.top, s->itemHeight);
    return DefWindowProcA(window, message, wParam, lParam);
  }
  ListBoxState* s = controls::StateOf<ListBoxState>(window);
  if (!s) return DefWindowProcA(window, message, wParam, lParam);
  Ctx c{window, winmodel::Find(window), s};
  if (message == WM_PAINT) {
    Paint(c);
    return 0;
  }
  if (message == WM_WINDOWPOSCHANGING) {
    auto* wp = reinterpret_cast<WINDOWPOS*>(lParam);
    if (wp && !(wp->flags & SWP_NOSIZE)) wp->cy = WholeRowsHeight(c.w, wp->cy, s->itemHeight);
  }
  const LRESULT result = controls::Dispatch(c, message, wParam, lParam, OnItemMessage, OnSelectionMessage,
                                            OnGeometryMessage, OnInputMessage);
  if (winmodel::Find(window) == c.w && message != WM_NCDESTROY && message != WM_DESTROY) FitScrollBar(c);
  return result;
}
