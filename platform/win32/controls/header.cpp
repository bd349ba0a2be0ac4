// "SysHeader32" of a list view: shows the list view's columns, reports
// column clicks and divider drags to the list view with HDN_*
// notifications, and changes column widths on HDM_SETITEM.
#include <utility>
#include <algorithm>
#include <cstring>

#include "platform/win32/classic_look.h"
#include "platform/win32/common_controls.h"
#include "platform/win32/controls/control_procs.h"
#include "platform/win32/controls/control_state.h"
#include "platform/win32/controls/listview_columns.h"
#include "platform/win32/gdi_raster.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/window_api.h"

namespace {

constexpr int kDividerSlack = 4;

struct HeaderState : winmodel::ControlState {
  int tracking = -1;  // column whose divider is dragged
  int pressed = -1;   // column clicked
};

LRESULT Send(HWND header, UINT code, int item, HDITEMA* hdi) {
  winmodel::Window* w = winmodel::Find(header);
  NMHEADERA nm{};
  nm.iItem = item;
  nm.iButton = 0;
  nm.pitem = hdi;
  return winmodel::NotifyParent(w, &nm.hdr, code);
}

int LeftOf(std::vector<controls::Column>& cols, int index) {
  int x = 0;
  for (int i = 0; i < index; ++i) x += cols[static_cast<size_t>(i)].width;
  return x;
}

// Changes a width with the notifications; false when the owner refuses.
bool SetWidth(HWND header, int index, int width) {
  std::vector<controls::Column>* cols = controls::HeaderColumns(header);
  if (!cols || index < 0 || index >= static_cast<int>(cols->size())) return false;
  HDITEMA item{};
  item.mask = HDI_WIDTH;
  item.cxy = std::max(0, width);
  if (Send(header, HDN_ITEMCHANGINGA, index, &item)) return false;
  cols = controls::HeaderColumns(header);
  if (!cols || index >= static_cast<int>(cols->size())) return false;
  (*cols)[static_cast<size_t>(index)].width = item.cxy;
  Send(header, HDN_ITEMCHANGEDA, index, &item);
  return true;
}

// The message's header with its list view's columns.
struct Ctx {
  HWND window;
  HeaderState* s;
  std::vector<controls::Column>* cols;
  int count;
};

// Raised buttons with the column titles.
void Paint(Ctx& c) {
  HeaderState* s = c.s;
  HWND window = c.window;
  std::vector<controls::Column>* cols = c.cols;
  const int count = c.count;
  controls::PaintControl(window, [&](cairo_t* cr, const RECT& client) {
    raster::FillRect(cr, client, GetSysColor(COLOR_BTNFACE));
    int x = -controls::HeaderScroll(window);
    for (int i = 0; i < count; ++i) {
      const controls::Column& col = (*cols)[static_cast<size_t>(i)];
      RECT r{x, client.top, x + col.width, client.bottom};
      x += col.width;
      if (r.right <= client.left || r.left >= client.right) continue;
      classic::PushButtonFrame(cr, r, s->pressed == i, false);
      const int fmt = col.format & LVCFMT_JUSTIFYMASK;
      const UINT align = fmt == LVCFMT_RIGHT ? DT_RIGHT : fmt == LVCFMT_CENTER ? DT_CENTER : DT_LEFT;
      raster::TextIn(cr, col.text, {r.left + 6, r.top, r.right - 6, r.bottom},
                     align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS, GetSysColor(COLOR_BTNTEXT));
    }
  });
}

// The columns as header items; they belong to the list view, so none are added or removed here.
controls::Answer OnItemMessage(Ctx& c, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND window = c.window;
  std::vector<controls::Column>* cols = c.cols;
  const int count = c.count;
  const bool valid = static_cast<int>(wParam) >= 0 && static_cast<int>(wParam) < count;
  switch (message) {
    case HDM_GETITEMCOUNT: return count;
    case HDM_GETITEMRECT: {
      RECT* r = reinterpret_cast<RECT*>(lParam);
      if (!r || !valid) return FALSE;
      RECT client;
      GetClientRect(window, &client);
      const int left = LeftOf(*cols, static_cast<int>(wParam));
      *r = {left, 0, left + (*cols)[wParam].width, client.bottom};
      return TRUE;
    }
    case HDM_GETITEMA: {
      auto* item = reinterpret_cast<HDITEMA*>(lParam);
      if (!item || !valid) return FALSE;
      const controls::Column& col = (*cols)[wParam];
      if (item->mask & HDI_WIDTH) item->cxy = col.width;
      if (item->mask & HDI_FORMAT) item->fmt = col.format;
      if (item->mask & HDI_LPARAM) item->lParam = col.param;
      if (item->mask & HDI_ORDER) item->iOrder = static_cast<int>(wParam);
      if (item->mask & HDI_IMAGE) item->iImage = col.image;
      if ((item->mask & HDI_TEXT) && item->pszText && item->cchTextMax > 0)
        winmodel::CopyTextOut(col.text, static_cast<WPARAM>(item->cchTextMax), reinterpret_cast<LPARAM>(item->pszText));
      return TRUE;
    }
    case HDM_SETITEMA: {
      auto* item = reinterpret_cast<const HDITEMA*>(lParam);
      if (!item || !valid) return FALSE;
      controls::Column& col = (*cols)[wParam];
      if ((item->mask & HDI_TEXT) && item->pszText) col.text = item->pszText;
      if (item->mask & HDI_FORMAT) col.format = item->fmt;
      if (item->mask & HDI_LPARAM) col.param = item->lParam;
      if (item->mask & HDI_IMAGE) col.image = item->iImage;
      if ((item->mask & HDI_WIDTH) && item->cxy != col.width) SetWidth(window, static_cast<int>(wParam), item->cxy);
      winmodel::Invalidate(winmodel::Find(window), nullptr, true);
      return TRUE;
    }
    case HDM_INSERTITEMA: return -1;  // columns are the list view's
    case HDM_DELETEITEM: return FALSE;
    case HDM_LAYOUT: return TRUE;
    default: return std::nullopt;
  }
}

// The button goes down on a divider (to drag it) or on a column.
LRESULT OnButtonDown(Ctx& c, int x) {
  HeaderState* s = c.s;
  HWND window = c.window;
  std::vector<controls::Column>* cols = c.cols;
  int right = 0;
  for (int i = 0; i < c.count; ++i) {
    right += (*cols)[static_cast<size_t>(i)].width;
    if (std::abs(x - right) <= kDividerSlack) {
      HDITEMA item{};
      item.mask = HDI_WIDTH;
      item.cxy = (*cols)[static_cast<size_t>(i)].width;
      if (Send(window, HDN_BEGINTRACKA, i, &item)) return 0;
      s->tracking = i;
      SetCapture(window);
      return 0;
    }
  }
  int left = 0;
  for (int i = 0; i < c.count; ++i) {
    const int width = (*cols)[static_cast<size_t>(i)].width;
    if (x >= left && x < left + width) s->pressed = i;
    left += width;
  }
  if (s->pressed >= 0) SetCapture(window);
  return 0;
}

// The mouse drags a divider or clicks a column.
controls::Answer OnMouseMessage(Ctx& c, UINT message, WPARAM, LPARAM lParam) {
  HeaderState* s = c.s;
  HWND window = c.window;
  std::vector<controls::Column>* cols = c.cols;
  const int count = c.count;
  switch (message) {
    case WM_LBUTTONDOWN: return OnButtonDown(c, GET_X_LPARAM(lParam));
    case WM_MOUSEMOVE:
      if (s->tracking >= 0 && s->tracking < count) {
        const int width = std::max(0, GET_X_LPARAM(lParam) - LeftOf(*cols, s->tracking));
        HDITEMA item{};
        item.mask = HDI_WIDTH;
        item.cxy = width;
        if (Send(window, HDN_TRACKA, s->tracking, &item)) return 0;
        SetWidth(window, s->tracking, width);
      }
      return 0;
    case WM_LBUTTONUP: {
      const int x = GET_X_LPARAM(lParam);
      if (s->tracking >= 0) {
        const int column = std::exchange(s->tracking, -1);
        ReleaseCapture();
        if (column < count) {
          HDITEMA item{};
          item.mask = HDI_WIDTH;
          item.cxy = std::max(0, x - LeftOf(*cols, column));
          if (item.cxy != (*cols)[static_cast<size_t>(column)].width) SetWidth(window, column, item.cxy);
          Send(window, HDN_ENDTRACKA, column, &item);
        }
      } else if (s->pressed >= 0) {
        const int column = std::exchange(s->pressed, -1);
        ReleaseCapture();
        const int left = LeftOf(*cols, column);
        if (column < count && x >= left && x < left + (*cols)[static_cast<size_t>(column)].width)
          Send(window, HDN_ITEMCLICKA, column, nullptr);
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != window) s->tracking = s->pressed = -1;
      return 0;
    default: return std::nullopt;
  }
}

}  // namespace

LRESULT HeaderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    controls::Attach<HeaderState>(window);
    return DefWindowProcA(window, message, wParam, lParam);
  }
  HeaderState* s = controls::StateOf<HeaderState>(window);
  std::vector<controls::Column>* cols = controls::HeaderColumns(window);
  if (!s || !cols) return DefWindowProcA(window, message, wParam, lParam);
  Ctx c{window, s, cols, static_cast<int>(cols->size())};
  if (message == WM_PAINT) {
    Paint(c);
    return 0;
  }
  return controls::Dispatch(c, message, wParam, lParam, OnItemMessage, OnMouseMessage);
}
