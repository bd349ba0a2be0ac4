// "SysListView32" in report view: columns (shown by a header child, id 0),
// items with sub-item texts, item data, state (selection, focus, check
// boxes as state images), image lists, scrolling, hit testing and the
// LVN_* / NM_* notifications to the parent. The left button going down on
// an item and the pointer moving more than SM_CXDRAG / SM_CYDRAG from there
// with it held begins a drag (LVN_BEGINDRAG, once per press).
//
// Geometry (client coordinates): the header takes the top 20 px (none with
// LVS_NOCOLUMNHEADER), rows are 17 px high from there, starting with the
// top row. A row begins at -horizontal scroll with the check box (16 px,
// with LVS_EX_CHECKBOXES) and the small icon (16 px, with a small image
// list), then the label to the right edge of column 0; the other columns
// follow at their widths.
#include <utility>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>

#include <cairo.h>

#include "platform/win32/classic_look.h"
#include "platform/win32/common_controls.h"
#include "platform/win32/controls/control_procs.h"
#include "platform/win32/controls/control_state.h"
#include "platform/win32/controls/listview_columns.h"
#include "platform/win32/gdi_raster.h"
#include "platform/win32/headless_metrics.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/virtual_keys.h"
#include "platform/win32/window_api.h"

namespace {

struct Row {
  std::map<int, std::string> texts;  // by sub-item
  bool textCallback = false;
  UINT state = 0;
  int image = 0;
  LPARAM param = 0;
  int indent = 0;
};

struct ListViewState : winmodel::ControlState {
  std::vector<controls::Column> columns;
  std::vector<Row> rows;
  DWORD exStyle = 0;
  HIMAGELIST images[3] = {};
  HWND header = nullptr;
  int top = 0;
  int scrollX = 0;
  int selectionMark = -1;
  COLORREF background = RGB(255, 255, 255);
  COLORREF textColor = RGB(0, 0, 0);
  COLORREF textBackground = RGB(255, 255, 255);
  UINT callbackMask = 0;
  // The item the left button went down on, until the button goes up or a
  // drag of it begins (LVN_BEGINDRAG once the pointer moves away).
  int pressed = -1;
  POINT pressedAt{};
};

constexpr int kRow = headless::kListViewRowHeight;

struct Ctx {
  HWND window;
  winmodel::Window* w;
  ListViewState* s;
  int count() const { return static_cast<int>(s->rows.size()); }
  bool valid(int i) const { return i >= 0 && i < count(); }
  bool single() const { return (w->style & LVS_SINGLESEL) != 0; }
  bool checkBoxes() const { return (s->exStyle & LVS_EX_CHECKBOXES) != 0; }
  int headerHeight() const { return (w->style & LVS_NOCOLUMNHEADER) ? 0 : headless::kListViewHeaderHeight; }
  int stateWidth() const { return (checkBoxes() || s->images[LVSIL_STATE]) ? headless::kSmallIcon : 0; }
  int iconWidth() const { return s->images[LVSIL_SMALL] ? headless::kSmallIcon : 0; }
  int totalWidth() const {
    int sum = 0;
    for (const auto& col : s->columns) sum += col.width;
    return sum;
  }
  int columnLeft(int index) const {
    int x = -s->scrollX;
    for (int i = 0; i < index && i < static_cast<int>(s->columns.size()); ++i) x += s->columns[static_cast<size_t>(i)].width;
    return x;
  }
  int rowTop(int index) const { return headerHeight() + (index - s->top) * kRow; }
  int visibleRows() const {
    RECT client;
    GetClientRect(window, &client);
    return std::max(1, (static_cast<int>(client.bottom) - headerHeight()) / kRow);
  }
  int columnOfSubItem(int subItem) const {
    for (size_t i = 0; i < s->columns.size(); ++i)
      if (s->columns[i].subItem == subItem) return static_cast<int>(i);
    return subItem;
  }
};

Ctx Context(HWND window) {
  return Ctx{window, winmodel::Find(window), controls::StateOf<ListViewState>(window)};
}

LRESULT Notify(Ctx& c, UINT code, NMHDR* header) {
  if (!IsWindow(c.window)) return 0;
  return winmodel::NotifyParent(c.w, header, code);
}

LRESULT NotifyItem(Ctx& c, UINT code, int item, int subItem = 0, UINT newState = 0, UINT oldState = 0,
                   UINT changed = 0, POINT at = {}) {
  NMLISTVIEW nm{};
  nm.iItem = item;
  nm.iSubItem = subItem;
  nm.uNewState = newState;
  nm.uOldState = oldState;
  nm.uChanged = changed;
  nm.ptAction = at;
  nm.lParam = c.valid(item) ? c.s->rows[static_cast<size_t>(item)].param : 0;
  return Notify(c, code, &nm.hdr);
}

void InvalidateRow(Ctx& c, int index) {
  RECT client;
  GetClientRect(c.window, &client);
  RECT r{0, c.rowTop(index), client.right, c.rowTop(index) + kRow};
  winmodel::Invalidate(c.w, &r, true);
}

// Changes the state bits of one item with LVN_ITEMCHANGING / CHANGED;
// false when refused or unchanged.
bool ChangeState(Ctx& c, int index, UINT state, UINT mask) {
  if (!c.valid(index)) return false;
  const UINT old = c.s->rows[static_cast<size_t>(index)].state;
  const UINT now = (old & ~mask) | (state & mask);
  if (now == old) return false;
  if (NotifyItem(c, LVN_ITEMCHANGING, index, 0, now, old, LVIF_STATE)) return false;
  if (!IsWindow(c.window) || !c.valid(index)) return false;
  c.s->rows[static_cast<size_t>(index)].state = now;
  InvalidateRow(c, index);
  NotifyItem(c, LVN_ITEMCHANGED, index, 0, now, old, LVIF_STATE);
  return true;
}

// Sets state the way LVM_SETITEMSTATE does: one selection with
// LVS_SINGLESEL, one focused item.
void SetState(Ctx& c, int index, UINT state, UINT mask) {
  if ((mask & LVIS_SELECTED) && (state & LVIS_SELECTED) && c.single())
    for (int i = 0; i < c.count(); ++i)
      if (i != index) ChangeState(c, i, 0, LVIS_SELECTED);
  if ((mask & LVIS_FOCUSED) && (state & LVIS_FOCUSED))
    for (int i = 0; i < c.count(); ++i)
      if (i != index) ChangeState(c, i, 0, LVIS_FOCUSED);
  ChangeState(c, index, state, mask);
}

// The user's plain click or arrow key: this item alone selected and focused.
void SelectOnly(Ctx& c, int index) {
  for (int i = 0; i < c.count(); ++i)
    if (i != index) ChangeState(c, i, 0, LVIS_SELECTED | LVIS_FOCUSED);
  if (c.valid(index)) ChangeState(c, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  c.s->selectionMark = index;
}

void EnsureVisible(Ctx& c, int index) {
  if (!c.valid(index)) return;
  const int visible = c.visibleRows();
  if (index < c.s->top) c.s->top = index;
  if (index >= c.s->top + visible) c.s->top = index - visible + 1;
  winmodel::Invalidate(c.w, nullptr, true);
}

void PlaceHeader(Ctx& c) {
  if (!c.s->header) return;
  RECT client;
  GetClientRect(c.window, &client);
  const bool show = !(c.w->style & LVS_NOCOLUMNHEADER);
  SetWindowPos(c.s->header, nullptr, -c.s->scrollX, 0, client.right + c.s->scrollX, c.headerHeight(),
               SWP_NOZORDER | SWP_NOACTIVATE | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void ScrollTo(Ctx& c, int top, int x) {
  RECT client;
  GetClientRect(c.window, &client);
  c.s->top = std::clamp(top, 0, std::max(0, c.count() - c.visibleRows()));
  c.s->scrollX = std::clamp(x, 0, std::max(0, c.totalWidth() - static_cast<int>(client.right)));
  PlaceHeader(c);
  winmodel::Invalidate(c.w, nullptr, true);
}

bool ItemRect(Ctx& c, int index, int code, RECT* r) {
  if (!c.valid(index) || !r) return false;
  const int top = c.rowTop(index);
  const int left = c.columnLeft(0);
  const int labelRight = c.columnLeft(1);
  const int iconLeft = left + c.stateWidth();
  const int labelLeft = std::min(iconLeft + c.iconWidth(), std::max(labelRight, iconLeft));
  switch (code) {
    case LVIR_BOUNDS: *r = {left, top, left + c.totalWidth(), top + kRow}; break;
    case LVIR_ICON: *r = {iconLeft, top, iconLeft + c.iconWidth(), top + kRow}; break;
    case LVIR_LABEL: *r = {labelLeft, top, std::max(labelLeft, labelRight), top + kRow}; break;
    case LVIR_SELECTBOUNDS:
      if (c.s->exStyle & LVS_EX_FULLROWSELECT)
        *r = {left, top, left + c.totalWidth(), top + kRow};
      else
        *r = {iconLeft, top, std::max(labelLeft, labelRight), top + kRow};
      break;
    default: return false;
  }
  return true;
}

// Fills the hit-test record; returns the item or -1.
int HitTest(Ctx& c, LVHITTESTINFO* info, bool subItems) {
  const POINT p = info->pt;
  info->flags = 0;
  info->iItem = -1;
  info->iSubItem = 0;
  RECT client;
  GetClientRect(c.window, &client);
  if (p.y < c.headerHeight()) {
    info->flags = LVHT_ABOVE;
    return -1;
  }
  const int row = c.s->top + (p.y - c.headerHeight()) / kRow;
  if (p.y >= client.bottom || row >= c.count()) {
    info->flags = LVHT_NOWHERE;
    return -1;
  }
  int column = -1;
  for (int i = 0; i < static_cast<int>(c.s->columns.size()); ++i)
    if (p.x >= c.columnLeft(i) && p.x < c.columnLeft(i + 1)) column = i;
  const int left = c.columnLeft(0);
  if (p.x >= left && p.x < left + c.stateWidth()) {
    info->flags = LVHT_ONITEMSTATEICON;
  } else if (p.x >= left + c.stateWidth() && p.x < left + c.stateWidth() + c.iconWidth()) {
    info->flags = LVHT_ONITEMICON;
  } else if (column == 0) {
    info->flags = LVHT_ONITEMLABEL;
  } else if (column > 0 && (subItems || (c.s->exStyle & LVS_EX_FULLROWSELECT))) {
    info->flags = LVHT_ONITEMLABEL;
  } else {
    info->flags = LVHT_NOWHERE;
    if (!subItems) return -1;
  }
  info->iItem = row;
  info->iSubItem = column >= 0 ? c.s->columns[static_cast<size_t>(column)].subItem : 0;
  return row;
}

UINT KeyFlags() {
  UINT flags = 0;
  if (GetKeyState(VK_CONTROL) < 0) flags |= LVKF_CONTROL;
  if (GetKeyState(VK_SHIFT) < 0) flags |= LVKF_SHIFT;
  if (GetKeyState(VK_MENU) < 0) flags |= LVKF_ALT;
  return flags;
}

void NotifyClick(Ctx& c, UINT code, const LVHITTESTINFO& hit) {
  NMITEMACTIVATE nm{};
  nm.iItem = hit.iItem;
  nm.iSubItem = hit.iSubItem;
  nm.ptAction = hit.pt;
  nm.uKeyFlags = KeyFlags();
  if (c.valid(hit.iItem)) nm.lParam = c.s->rows[static_cast<size_t>(hit.iItem)].param;
  Notify(c, code, &nm.hdr);
}

UINT CheckState(const Row& row) { return (row.state & LVIS_STATEIMAGEMASK) >> 12; }

void ToggleCheck(Ctx& c, int index) {
  if (!c.valid(index)) return;
  const UINT next = CheckState(c.s->rows[static_cast<size_t>(index)]) == 2 ? 1 : 2;
  ChangeState(c, index, INDEXTOSTATEIMAGEMASK(next), LVIS_STATEIMAGEMASK);
}

std::string TextOf(Ctx& c, int index, int subItem) {
  const Row& row = c.s->rows[static_cast<size_t>(index)];
  if (row.textCallback && subItem == 0) {
    char buffer[1024] = "";
    NMLVDISPINFOA info{};
    info.item.mask = LVIF_TEXT;
    info.item.iItem = index;
    info.item.iSubItem = subItem;
    info.item.pszText = buffer;
    info.item.cchTextMax = sizeof buffer;
    info.item.lParam = row.param;
    Notify(c, LVN_GETDISPINFOA, &info.hdr);
    return info.item.pszText ? info.item.pszText : "";
  }
  auto it = row.texts.find(subItem);
  return it == row.texts.end() ? std::string() : it->second;
}

void SetText(Ctx& c, int index, int subItem, LPCSTR text) {
  Row& row = c.s->rows[static_cast<size_t>(index)];
  if (subItem == 0) row.textCallback = text == LPSTR_TEXTCALLBACKA;
  if (text == LPSTR_TEXTCALLBACKA) return;
  row.texts[subItem] = text ? text : "";
}

int InsertItem(Ctx& c, const LVITEMA* item) {
  if (!item || item->iSubItem != 0) return -1;
  Row row;
  if (item->mask & LVIF_IMAGE) row.image = item->iImage;
  if (item->mask & LVIF_PARAM) row.param = item->lParam;
  if (item->mask & LVIF_INDENT) row.indent = item->iIndent;
  if (item->mask & LVIF_STATE) row.state = item->state & item->stateMask;
  if (c.checkBoxes() && !(row.state & LVIS_STATEIMAGEMASK)) row.state |= INDEXTOSTATEIMAGEMASK(1);
  if (item->mask & LVIF_TEXT) {
    if (item->pszText == LPSTR_TEXTCALLBACKA)
      row.textCallback = true;
    else
      row.texts[0] = item->pszText ? item->pszText : "";
  }
  int at = std::clamp(item->iItem, 0, c.count());
  if (c.w->style & (LVS_SORTASCENDING | LVS_SORTDESCENDING)) {
    const bool down = (c.w->style & LVS_SORTDESCENDING) != 0;
    at = 0;
    while (at < c.count()) {
      int cmp = controls::EqualNoCase(c.s->rows[static_cast<size_t>(at)].texts[0], row.texts[0])
                    ? 0
                    : (c.s->rows[static_cast<size_t>(at)].texts[0] < row.texts[0] ? -1 : 1);
      if (down ? cmp < 0 : cmp > 0) break;
      ++at;
    }
  }
  c.s->rows.insert(c.s->rows.begin() + at, std::move(row));
  if (c.s->selectionMark >= at) ++c.s->selectionMark;
  NotifyItem(c, LVN_INSERTITEM, at);
  winmodel::Invalidate(c.w, nullptr, true);
  return at;
}

bool DeleteItem(Ctx& c, int index) {
  if (!c.valid(index)) return false;
  NotifyItem(c, LVN_DELETEITEM, index);
  if (!IsWindow(c.window) || !c.valid(index)) return false;
  c.s->rows.erase(c.s->rows.begin() + index);
  if (c.s->selectionMark == index)
    c.s->selectionMark = -1;
  else if (c.s->selectionMark > index)
    --c.s->selectionMark;
  c.s->top = std::clamp(c.s->top, 0, std::max(0, c.count() - 1));
  winmodel::Invalidate(c.w, nullptr, true);
  return true;
}

void DeleteAll(Ctx& c) {
  NMLISTVIEW nm{};
  nm.iItem = -1;
  const bool quiet = Notify(c, LVN_DELETEALLITEMS, &nm.hdr) != 0;
  for (int i = c.count() - 1; i >= 0 && IsWindow(c.window); --i) {
    if (!quiet) NotifyItem(c, LVN_DELETEITEM, i);
    if (IsWindow(c.window) && c.valid(i)) c.s->rows.erase(c.s->rows.begin() + i);
  }
  if (!IsWindow(c.window)) return;
  c.s->rows.clear();
  c.s->top = 0;
  c.s->selectionMark = -1;
  winmodel::Invalidate(c.w, nullptr, true);
}

bool GetItem(Ctx& c, LVITEMA* item) {
  if (!item || !c.valid(item->iItem)) return false;
  const Row& row = c.s->rows[static_cast<size_t>(item->iItem)];
  if ((item->mask & LVIF_TEXT) && item->pszText && item->cchTextMax > 0)
    winmodel::CopyTextOut(TextOf(c, item->iItem, item->iSubItem), static_cast<WPARAM>(item->cchTextMax),
                          reinterpret_cast<LPARAM>(item->pszText));
  if (item->mask & LVIF_IMAGE) item->iImage = row.image;
  if (item->mask & LVIF_PARAM) item->lParam = row.param;
  if (item->mask & LVIF_INDENT) item->iIndent = row.indent;
  if (item->mask & LVIF_STATE) item->state = row.state & item->stateMask;
  return true;
}

bool SetItem(Ctx& c, const LVITEMA* item) {
  if (!item || !c.valid(item->iItem)) return false;
  const int index = item->iItem;
  UINT changed = 0;
  {
    Row& row = c.s->rows[static_cast<size_t>(index)];
    if (item->mask & LVIF_TEXT) {
      SetText(c, index, item->iSubItem, item->pszText);
      if (item->iSubItem == 0) changed |= LVIF_TEXT;
    }
    if (item->iSubItem == 0) {
      if ((item->mask & LVIF_IMAGE) && row.image != item->iImage) {
        row.image = item->iImage;
        changed |= LVIF_IMAGE;
      }
      if ((item->mask & LVIF_PARAM) && row.param != item->lParam) {
        row.param = item->lParam;
        changed |= LVIF_PARAM;
      }
      if (item->mask & LVIF_INDENT) row.indent = item->iIndent;
    }
  }
  if (changed) NotifyItem(c, LVN_ITEMCHANGED, index, 0, 0, 0, changed);
  if ((item->mask & LVIF_STATE) && item->iSubItem == 0 && IsWindow(c.window))
    SetState(c, index, item->state, item->stateMask);
  InvalidateRow(c, index);
  return true;
}

int NextItem(Ctx& c, int start, UINT flags) {
  const UINT want = flags & (LVNI_SELECTED | LVNI_FOCUSED | LVNI_CUT | LVNI_DROPHILITED);
  auto matches = [&](int i) { return (c.s->rows[static_cast<size_t>(i)].state & want) == want; };
  if (flags & LVNI_ABOVE) {
    for (int i = std::min(start, c.count()) - 1; i >= 0; --i)
      if (matches(i)) return i;
    return -1;
  }
  for (int i = std::max(start + 1, 0); i < c.count(); ++i)
    if (matches(i)) return i;
  return -1;
}

int FindItem(Ctx& c, int start, const LVFINDINFOA* info) {
  if (!info) return -1;
  const int n = c.count();
  for (int k = 1; k <= n; ++k) {
    int i = start + k;
    if (i >= n) {
      if (!(info->flags & LVFI_WRAP)) return -1;
      i -= n;
    }
    if (i < 0) continue;
    const Row& row = c.s->rows[static_cast<size_t>(i)];
    if (info->flags & LVFI_PARAM) {
      if (row.param == info->lParam) return i;
    } else if (info->flags & (LVFI_STRING | LVFI_PARTIAL)) {
      const std::string text = TextOf(c, i, 0);
      const std::string wanted = info->psz ? info->psz : "";
      if ((info->flags & LVFI_PARTIAL) ? controls::StartsWithNoCase(text, wanted) : controls::EqualNoCase(text, wanted))
        return i;
    }
  }
  return -1;
}

int AutoWidth(Ctx& c, int column, bool header) {
  if (column < 0 || column >= static_cast<int>(c.s->columns.size())) return 0;
  const int cw = controls::CharSize(c.window).cx;
  const int sub = c.s->columns[static_cast<size_t>(column)].subItem;
  int widest = 0;
  for (int i = 0; i < c.count(); ++i) widest = std::max(widest, static_cast<int>(TextOf(c, i, sub).size()) * cw);
  if (column == 0) widest += c.stateWidth() + c.iconWidth();
  if (header) widest = std::max(widest, static_cast<int>(c.s->columns[static_cast<size_t>(column)].text.size()) * cw);
  return widest + 12;
}

bool SetColumnWidth(Ctx& c, int column, int width) {
  if (column < 0 || column >= static_cast<int>(c.s->columns.size())) return false;
  if (width == LVSCW_AUTOSIZE) {
    width = AutoWidth(c, column, false);
  } else if (width == LVSCW_AUTOSIZE_USEHEADER) {
    width = AutoWidth(c, column, true);
    if (column + 1 == static_cast<int>(c.s->columns.size())) {
      RECT client;
      GetClientRect(c.window, &client);
      width = std::max(width, static_cast<int>(client.right) - (c.columnLeft(column) + c.s->scrollX));
    }
  }
  if (c.s->header) {
    HDITEMA item{};
    item.mask = HDI_WIDTH;
    item.cxy = width;
    SendMessageA(c.s->header, HDM_SETITEMA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
  } else {
    c.s->columns[static_cast<size_t>(column)].width = std::max(0, width);
  }
  winmodel::Invalidate(c.w, nullptr, true);
  return true;
}

LRESULT OnHeaderNotify(Ctx& c, WPARAM wParam, LPARAM lParam) {
  auto* nm = reinterpret_cast<NMHEADERA*>(lParam);
  // The parent hears what the header says (as the header said it), then
  // the list acts on it.
  LRESULT result = 0;
  if (c.w->IsChild()) result = SendMessageA(c.w->parent->handle, WM_NOTIFY, wParam, lParam);
  if (!IsWindow(c.window)) return result;
  switch (nm->hdr.code) {
    case HDN_ITEMCHANGEDA: winmodel::Invalidate(c.w, nullptr, true); break;
    case HDN_ITEMCLICKA: {
      NMLISTVIEW lv{};
      lv.iItem = -1;
      lv.iSubItem = nm->iItem;
      Notify(c, LVN_COLUMNCLICK, &lv.hdr);
      break;
    }
    default: break;
  }
  return result;
}

LRESULT OnButton(Ctx& c, UINT message, LPARAM lParam) {
  if (GetFocus() != c.window) SetFocus(c.window);
  if (!IsWindow(c.window)) return 0;
  LVHITTESTINFO hit{};
  hit.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  HitTest(c, &hit, true);
  const bool onItem = hit.iItem >= 0 && (hit.flags & LVHT_ONITEM);
  const bool right = message == WM_RBUTTONDOWN;
  c.s->pressed = message == WM_LBUTTONDOWN && onItem && !(hit.flags & LVHT_ONITEMSTATEICON) ? hit.iItem : -1;
  c.s->pressedAt = hit.pt;
  if (!right && onItem && (hit.flags & LVHT_ONITEMSTATEICON) && c.checkBoxes()) {
    ToggleCheck(c, hit.iItem);
  } else if (onItem) {
    const bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
    const UINT selected = c.s->rows[static_cast<size_t>(hit.iItem)].state & LVIS_SELECTED;
    if (right) {
      if (!selected) SelectOnly(c, hit.iItem);
    } else if (ctrl && !c.single()) {
      SetState(c, hit.iItem, selected ? LVIS_FOCUSED : LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
      c.s->selectionMark = hit.iItem;
    } else if (shift && !c.single() && c.s->selectionMark >= 0) {
      const int a = std::min(c.s->selectionMark, hit.iItem), b = std::max(c.s->selectionMark, hit.iItem);
      for (int i = 0; i < c.count(); ++i) ChangeState(c, i, (i >= a && i <= b) ? LVIS_SELECTED : 0, LVIS_SELECTED);
      SetState(c, hit.iItem, LVIS_FOCUSED, LVIS_FOCUSED);
    } else {
      SelectOnly(c, hit.iItem);
    }
  } else if (!right && !(GetKeyState(VK_CONTROL) < 0)) {
    for (int i = 0; i < c.count(); ++i) ChangeState(c, i, 0, LVIS_SELECTED);
  }
  if (!IsWindow(c.window)) return 0;
  UINT code = right ? NM_RCLICK : NM_CLICK;
  if (message == WM_LBUTTONDBLCLK) code = NM_DBLCLK;
  if (message == WM_RBUTTONDBLCLK) code = NM_RDBLCLK;
  NotifyClick(c, code, hit);
  return 0;
}

// A move with the left button held away from where it went down on an item
// begins a drag of that item.
LRESULT OnMouseMove(Ctx& c, WPARAM keys, LPARAM lParam) {
  if (c.s->pressed < 0) return 0;
  if (!(keys & MK_LBUTTON) || !c.valid(c.s->pressed)) {
    c.s->pressed = -1;
    return 0;
  }
  const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (std::abs(p.x - c.s->pressedAt.x) <= GetSystemMetrics(SM_CXDRAG) &&
      std::abs(p.y - c.s->pressedAt.y) <= GetSystemMetrics(SM_CYDRAG))
    return 0;
  const int item = std::exchange(c.s->pressed, -1);
  NotifyItem(c, LVN_BEGINDRAG, item, 0, 0, 0, 0, c.s->pressedAt);
  return 0;
}

// The drag image of an item: its bounds, one image.
HIMAGELIST CreateDragImage(Ctx& c, int index, POINT* topLeft) {
  RECT r;
  if (!ItemRect(c, index, LVIR_BOUNDS, &r) || r.right <= r.left) return nullptr;
  HIMAGELIST list = ImageList_Create(r.right - r.left, r.bottom - r.top, ILC_COLOR32 | ILC_MASK, 1, 0);
  HBITMAP image = CreateBitmap(r.right - r.left, r.bottom - r.top, 1, 32, nullptr);
  const bool added = list && image && ImageList_Add(list, image, nullptr) == 0;
  if (image) DeleteObject(image);
  if (!added) {
    if (list) ImageList_Destroy(list);
    return nullptr;
  }
  if (topLeft) *topLeft = {r.left, r.top};
  return list;
}

LRESULT OnKeyDown(Ctx& c, WPARAM key) {
  NMLVKEYDOWN nm{};
  nm.wVKey = static_cast<WORD>(key);
  Notify(c, LVN_KEYDOWN, &nm.hdr);
  if (!IsWindow(c.window) || c.count() == 0) return 0;
  const int focused = NextItem(c, -1, LVNI_FOCUSED);
  int next = focused;
  switch (key) {
    case VK_UP: next = std::max(0, focused - 1); break;
    case VK_DOWN: next = std::min(c.count() - 1, focused + 1); break;
    case VK_HOME: next = 0; break;
    case VK_END: next = c.count() - 1; break;
    case VK_PRIOR: next = std::max(0, focused - c.visibleRows()); break;
    case VK_NEXT: next = std::min(c.count() - 1, focused + c.visibleRows()); break;
    case VK_SPACE:
      if (c.checkBoxes() && focused >= 0) ToggleCheck(c, focused);
      return 0;
    default: return 0;
  }
  if (next < 0) next = 0;
  SelectOnly(c, next);
  EnsureVisible(c, next);
  return 0;
}

LRESULT OnScroll(Ctx& c, UINT message, WPARAM wParam) {
  const bool vertical = message == WM_VSCROLL;
  const int line = vertical ? 1 : controls::CharSize(c.window).cx;
  RECT client;
  GetClientRect(c.window, &client);
  const int page = vertical ? c.visibleRows() : static_cast<int>(client.right);
  int pos = vertical ? c.s->top : c.s->scrollX;
  const int last = vertical ? c.count() : c.totalWidth();
  switch (LOWORD(wParam)) {
    case SB_LINEUP: pos -= line; break;
    case SB_LINEDOWN: pos += line; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: pos = HIWORD(wParam); break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = last; break;
    default: return 0;
  }
  if (vertical)
    ScrollTo(c, pos, c.s->scrollX);
  else
    ScrollTo(c, c.s->top, pos);
  return 0;
}

}  // namespace

namespace controls {

std::vector<Column>* HeaderColumns(HWND header) {
  winmodel::Window* w = winmodel::Find(header);
  if (!w || !w->IsChild()) return nullptr;
  ListViewState* s = dynamic_cast<ListViewState*>(w->parent->state.get());
  return s ? &s->columns : nullptr;
}

int HeaderScroll(HWND header) {
  winmodel::Window* w = winmodel::Find(header);
  ListViewState* s = w && w->IsChild() ? dynamic_cast<ListViewState*>(w->parent->state.get()) : nullptr;
  return s ? s->scrollX : 0;
}

}  // namespace controls

namespace {

// The report view: rows from the top one, each column's text in its cell,
// the selection highlighted (the whole row with LVS_EX_FULLROWSELECT),
// check boxes and grid lines as the extended styles ask.
void Paint(Ctx& c) {
  controls::PaintControl(c.window, [&](cairo_t* cr, const RECT& client) {
    ListViewState* s = c.s;
    raster::FillRect(cr, client, s->background);
    const bool focused = GetFocus() == c.window;
    const bool grid = (s->exStyle & LVS_EX_GRIDLINES) != 0;
    const bool fullRow = (s->exStyle & LVS_EX_FULLROWSELECT) != 0;
    const int right = std::min<int>(client.right, c.columnLeft(static_cast<int>(s->columns.size())));
    const int last = std::min(c.count(), s->top + c.visibleRows() + 1);
    for (int i = s->top; i < last; ++i) {
      const Row& row = s->rows[static_cast<size_t>(i)];
      const int top = c.rowTop(i);
      if (top >= client.bottom) break;
      const bool hilite = (row.state & (LVIS_SELECTED | LVIS_DROPHILITED)) &&
                          (focused || (row.state & LVIS_DROPHILITED) || (c.w->style & LVS_SHOWSELALWAYS));
      const bool dim = (row.state & LVIS_SELECTED) && !hilite;
      for (size_t k = 0; k < s->columns.size(); ++k) {
        const controls::Column& col = s->columns[k];
        int left = c.columnLeft(static_cast<int>(k));
        const int cellRight = left + col.width;
        if (cellRight <= client.left || left >= client.right) continue;
        if (k == 0) {
          if (c.stateWidth()) {
            const UINT image = (row.state >> 12) & 0xF;
            if (c.checkBoxes() && image) classic::CheckBox(cr, left + 2, top + 2, image == 2, false, false);
            left += c.stateWidth();
          }
          left += c.iconWidth();
        }
        const bool cellLit = (hilite || dim) && (fullRow || k == 0);
        const std::string text = TextOf(c, i, col.subItem);
        RECT cell{left, top, cellRight, top + kRow};
        if (cellLit) {
          RECT lit = cell;
          if (!fullRow) lit.right = std::min<LONG>(cellRight, left + static_cast<LONG>(raster::TextWidth(cr, text)) + 12);
          raster::FillRect(cr, lit, hilite ? GetSysColor(COLOR_HIGHLIGHT) : GetSysColor(COLOR_BTNFACE));
        }
        const int fmt = col.format & LVCFMT_JUSTIFYMASK;
        const UINT align = k == 0 ? DT_LEFT : fmt == LVCFMT_RIGHT ? DT_RIGHT : fmt == LVCFMT_CENTER ? DT_CENTER : DT_LEFT;
        RECT box{cell.left + 6, cell.top, cell.right - 6, cell.bottom};
        raster::TextIn(cr, text, box, align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS,
                       cellLit && hilite ? GetSysColor(COLOR_HIGHLIGHTTEXT) : s->textColor);
      }
      if (grid) raster::FillRect(cr, {client.left, top + kRow - 1, right, top + kRow}, RGB(240, 240, 240));
    }
    if (grid) {
      const int bottom = std::min<int>(client.bottom, c.rowTop(last));
      for (size_t k = 1; k <= s->columns.size(); ++k) {
        const int x = c.columnLeft(static_cast<int>(k)) - 1;
        raster::FillRect(cr, {x, c.headerHeight(), x + 1, bottom}, RGB(240, 240, 240));
      }
    }
    // More rows than fit: the scroll bar Windows adds at the right.
    if (c.count() > c.visibleRows() && !(c.w->style & WS_VSCROLL))
      classic::ScrollBar(cr, {client.right - headless::kScrollBar, client.top, client.right, client.bottom},
                         true, 0, c.count() - 1, c.visibleRows(), s->top, false);
  });
}

// Creation, layout, font, focus and the header's notifications.
controls::Answer OnWindowMessage(Ctx& c, UINT message, WPARAM wParam, LPARAM lParam) {
  ListViewState* s = c.s;
  HWND window = c.window;
  switch (message) {
    case WM_CREATE:
      s->header = CreateWindowExA(0, WC_HEADERA, "", WS_CHILD, 0, 0, 0, 0, window, nullptr,
                                  reinterpret_cast<const CREATESTRUCTA*>(lParam)->hInstance, nullptr);
      PlaceHeader(c);
      return 0;
    case WM_SIZE: PlaceHeader(c); return 0;
    case WM_STYLECHANGED: PlaceHeader(c); return 0;
    case WM_SETFONT:
      c.w->font = reinterpret_cast<HFONT>(wParam);
      if (s->header) SendMessageA(s->header, WM_SETFONT, wParam, lParam);
      return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_NOTIFY:
      if (lParam && reinterpret_cast<NMHDR*>(lParam)->hwndFrom == s->header && s->header)
        return OnHeaderNotify(c, wParam, lParam);
      return 0;
    case WM_DESTROY: DeleteAll(c); return 0;
    case WM_SETFOCUS: {
      NMHDR nm{};
      Notify(c, NM_SETFOCUS, &nm);
      winmodel::Invalidate(c.w, nullptr, true);
      return 0;
    }
    case WM_KILLFOCUS: {
      NMHDR nm{};
      Notify(c, NM_KILLFOCUS, &nm);
      if (IsWindow(window)) winmodel::Invalidate(c.w, nullptr, true);
      return 0;
    }
    default: return std::nullopt;
  }
}

// The mouse, the keys and the scroll bars.
controls::Answer OnInputMessage(Ctx& c, UINT message, WPARAM wParam, LPARAM lParam) {
  ListViewState* s = c.s;
  HWND window = c.window;
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: return OnButton(c, message, lParam);
    case WM_MOUSEMOVE: return OnMouseMove(c, wParam, lParam);
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      s->pressed = -1;
      return DefWindowProcA(window, message, wParam, lParam);
    case WM_KEYDOWN:
      OnKeyDown(c, wParam);
      // The keys a list leaves alone (F1 asks for help) go on as in any window.
      if (wParam == VK_F1 && IsWindow(window)) return DefWindowProcA(window, message, wParam, lParam);
      return 0;
    case WM_CHAR:
      if (wParam > ' ' && c.count()) {
        const int focused = NextItem(c, -1, LVNI_FOCUSED);
        for (int k = 1; k <= c.count(); ++k) {
          const int i = (focused + k + c.count()) % c.count();
          if (controls::StartsWithNoCase(TextOf(c, i, 0), std::string(1, static_cast<char>(wParam)))) {
            SelectOnly(c, i);
            EnsureVisible(c, i);
            break;
          }
        }
      }
      return 0;
    case WM_VSCROLL:
    case WM_HSCROLL: return OnScroll(c, message, wParam);
    case WM_MOUSEWHEEL:
      ScrollTo(c, s->top - static_cast<short>(HIWORD(wParam)) / 120 * 3, s->scrollX);
      return 0;
    default: return std::nullopt;
  }
}

// The columns and their header.
controls::Answer OnColumnMessage(Ctx& c, UINT message, WPARAM wParam, LPARAM lParam) {
  ListViewState* s = c.s;
  const int index = static_cast<int>(wParam);
  switch (message) {
    case LVM_INSERTCOLUMNA: {
      auto* col = reinterpret_cast<const LVCOLUMNA*>(lParam);
      if (!col || index < 0) return -1;
      controls::Column column;
      const int at = std::min(index, static_cast<int>(s->columns.size()));
      column.subItem = (col->mask & LVCF_SUBITEM) ? col->iSubItem : at;
      if (col->mask & LVCF_WIDTH) column.width = std::max(0, col->cx);
      if (col->mask & LVCF_FMT) column.format = col->fmt;
      if ((col->mask & LVCF_TEXT) && col->pszText) column.text = col->pszText;
      if (col->mask & LVCF_IMAGE) column.image = col->iImage;
      s->columns.insert(s->columns.begin() + at, std::move(column));
      winmodel::Invalidate(c.w, nullptr, true);
      return at;
    }
    case LVM_DELETECOLUMN:
      if (index < 0 || index >= static_cast<int>(s->columns.size())) return FALSE;
      s->columns.erase(s->columns.begin() + index);
      winmodel::Invalidate(c.w, nullptr, true);
      return TRUE;
    case LVM_GETCOLUMNA: {
      auto* col = reinterpret_cast<LVCOLUMNA*>(lParam);
      if (!col || index < 0 || index >= static_cast<int>(s->columns.size())) return FALSE;
      const controls::Column& column = s->columns[static_cast<size_t>(index)];
      if (col->mask & LVCF_WIDTH) col->cx = column.width;
      if (col->mask & LVCF_FMT) col->fmt = column.format;
      if (col->mask & LVCF_SUBITEM) col->iSubItem = column.subItem;
      if (col->mask & LVCF_IMAGE) col->iImage = column.image;
      if (col->mask & LVCF_ORDER) col->iOrder = index;
      if ((col->mask & LVCF_TEXT) && col->pszText && col->cchTextMax > 0)
        winmodel::CopyTextOut(column.text, static_cast<WPARAM>(col->cchTextMax), reinterpret_cast<LPARAM>(col->pszText));
      return TRUE;
    }
    case LVM_SETCOLUMNA: {
      auto* col = reinterpret_cast<const LVCOLUMNA*>(lParam);
      if (!col || index < 0 || index >= static_cast<int>(s->columns.size())) return FALSE;
      controls::Column& column = s->columns[static_cast<size_t>(index)];
      if ((col->mask & LVCF_TEXT) && col->pszText) column.text = col->pszText;
      if (col->mask & LVCF_FMT) column.format = col->fmt;
      if (col->mask & LVCF_SUBITEM) column.subItem = col->iSubItem;
      if (col->mask & LVCF_IMAGE) column.image = col->iImage;
      if (col->mask & LVCF_WIDTH) SetColumnWidth(c, index, col->cx);
      winmodel::Invalidate(c.w, nullptr, true);
      return TRUE;
    }
    case LVM_GETCOLUMNWIDTH:
      return index >= 0 && index < static_cast<int>(s->columns.size()) ? s->columns[static_cast<size_t>(index)].width : 0;
    case LVM_SETCOLUMNWIDTH: return SetColumnWidth(c, index, static_cast<short>(LOWORD(lParam))) ? TRUE : FALSE;
    case LVM_GETHEADER: return reinterpret_cast<LRESULT>(s->header);
    default: return std::nullopt;
  }
}

// The rows: adding, removing, reading, writing, finding and sorting them.
controls::Answer OnItemMessage(Ctx& c, UINT message, WPARAM wParam, LPARAM lParam) {
  ListViewState* s = c.s;
  const int index = static_cast<int>(wParam);
  switch (message) {
    case LVM_INSERTITEMA: return InsertItem(c, reinterpret_cast<const LVITEMA*>(lParam));
    case LVM_DELETEITEM: return DeleteItem(c, index) ? TRUE : FALSE;
    case LVM_DELETEALLITEMS: DeleteAll(c); return TRUE;
    case LVM_GETITEMA: return GetItem(c, reinterpret_cast<LVITEMA*>(lParam)) ? TRUE : FALSE;
    case LVM_SETITEMA: return SetItem(c, reinterpret_cast<const LVITEMA*>(lParam)) ? TRUE : FALSE;
    case LVM_GETITEMTEXTA: {
      auto* item = reinterpret_cast<LVITEMA*>(lParam);
      if (!item || !c.valid(index) || !item->pszText || item->cchTextMax <= 0) return 0;
      return winmodel::CopyTextOut(TextOf(c, index, item->iSubItem), static_cast<WPARAM>(item->cchTextMax),
                                   reinterpret_cast<LPARAM>(item->pszText));
    }
    case LVM_SETITEMTEXTA: {
      auto* item = reinterpret_cast<const LVITEMA*>(lParam);
      if (!item || !c.valid(index)) return FALSE;
      LVITEMA set{};
      set.mask = LVIF_TEXT;
      set.iItem = index;
      set.iSubItem = item->iSubItem;
      set.pszText = item->pszText;
      return SetItem(c, &set) ? TRUE : FALSE;
    }
    case LVM_GETITEMCOUNT: return c.count();
    case LVM_SETITEMCOUNT: return TRUE;
    case LVM_FINDITEMA: return FindItem(c, index, reinterpret_cast<const LVFINDINFOA*>(lParam));
    case LVM_SORTITEMS: {
      auto compare = reinterpret_cast<PFNLVCOMPARE>(lParam);
      if (!compare) return FALSE;
      std::stable_sort(s->rows.begin(), s->rows.end(),
                       [&](const Row& a, const Row& b) { return compare(a.param, b.param, static_cast<LPARAM>(wParam)) < 0; });
      winmodel::Invalidate(c.w, nullptr, true);
      return TRUE;
    }
    default: return std::nullopt;
  }
}

// The rows' states: selection, focus, check marks.
controls::Answer OnStateMessage(Ctx& c, UINT message, WPARAM wParam, LPARAM lParam) {
  ListViewState* s = c.s;
  const int index = static_cast<int>(wParam);
  switch (message) {
    case LVM_GETITEMSTATE: return c.valid(index) ? static_cast<LRESULT>(s->rows[static_cast<size_t>(index)].state & static_cast<UINT>(lParam)) : 0;
    case LVM_SETITEMSTATE: {
      auto* item = reinterpret_cast<const LVITEMA*>(lParam);
      if (!item) return FALSE;
      if (index == -1) {
        for (int i = 0; i < c.count() && IsWindow(c.window); ++i) ChangeState(c, i, item->state, item->stateMask);
        return TRUE;
      }
      if (!c.valid(index)) return FALSE;
      SetState(c, index, item->state, item->stateMask);
      return TRUE;
    }
    case LVM_GETNEXTITEM: return NextItem(c, index, static_cast<UINT>(lParam));
    case LVM_GETSELECTEDCOUNT:
      return std::count_if(s->rows.begin(), s->rows.end(), [](const Row& r) { return (r.state & LVIS_SELECTED) != 0; });
    case LVM_GETSELECTIONMARK: return s->selectionMark;
    case LVM_SETSELECTIONMARK: return std::exchange(s->selectionMark, static_cast<int>(lParam));
    default: return std::nullopt;
  }
}

// Where rows and cells are: rectangles, hit tests, scrolling, redrawing.
controls::Answer OnGeometryMessage(Ctx& c, UINT message, WPARAM wParam, LPARAM lParam) {
  ListViewState* s = c.s;
  const int index = static_cast<int>(wParam);
  switch (message) {
    case LVM_CREATEDRAGIMAGE: return reinterpret_cast<LRESULT>(CreateDragImage(c, index, reinterpret_cast<POINT*>(lParam)));
    case LVM_GETITEMRECT: {
      RECT* r = reinterpret_cast<RECT*>(lParam);
      if (!r) return FALSE;
      return ItemRect(c, index, r->left, r) ? TRUE : FALSE;
    }
    case LVM_GETSUBITEMRECT: {
      RECT* r = reinterpret_cast<RECT*>(lParam);
      if (!r || !c.valid(index)) return FALSE;
      const int sub = r->top, code = r->left;
      if (sub == 0) return ItemRect(c, index, code, r) ? TRUE : FALSE;
      const int column = c.columnOfSubItem(sub);
      if (column < 0 || column >= static_cast<int>(s->columns.size())) return FALSE;
      const int top = c.rowTop(index);
      *r = {c.columnLeft(column), top, c.columnLeft(column + 1), top + kRow};
      return TRUE;
    }
    case LVM_HITTEST:
      return lParam ? HitTest(c, reinterpret_cast<LVHITTESTINFO*>(lParam), false) : -1;
    case LVM_SUBITEMHITTEST:
      return lParam ? HitTest(c, reinterpret_cast<LVHITTESTINFO*>(lParam), true) : -1;
    case LVM_ENSUREVISIBLE: EnsureVisible(c, index); return c.valid(index) ? TRUE : FALSE;
    case LVM_SCROLL: {
      const int dy = static_cast<int>(lParam);
      const int rows = dy >= 0 ? (dy + kRow - 1) / kRow : -((-dy + kRow - 1) / kRow);
      ScrollTo(c, s->top + rows, s->scrollX + index);
      return TRUE;
    }
    case LVM_GETTOPINDEX: return s->top;
    case LVM_GETCOUNTPERPAGE: return c.visibleRows();
    case LVM_REDRAWITEMS:
      for (int i = std::max(0, index); i <= static_cast<int>(lParam) && i < c.count(); ++i) InvalidateRow(c, i);
      return TRUE;
    case LVM_UPDATE:
      if (c.valid(index)) InvalidateRow(c, index);
      return TRUE;
    case LVM_GETSTRINGWIDTHA:
      return lParam ? static_cast<LRESULT>(std::strlen(reinterpret_cast<const char*>(lParam))) * controls::CharSize(c.window).cx : 0;
    case LVM_GETORIGIN: return FALSE;
    case LVM_GETVIEWRECT: {
      RECT* r = reinterpret_cast<RECT*>(lParam);
      if (!r) return FALSE;
      *r = {0, 0, c.totalWidth(), c.count() * kRow};
      return TRUE;
    }
    default: return std::nullopt;
  }
}

// Extended styles, image lists, colours, callbacks and label editing.
controls::Answer OnLookMessage(Ctx& c, UINT message, WPARAM wParam, LPARAM lParam) {
  ListViewState* s = c.s;
  const int index = static_cast<int>(wParam);
  switch (message) {
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
      const DWORD mask = wParam ? static_cast<DWORD>(wParam) : 0xFFFFFFFFu;
      const DWORD old = s->exStyle;
      s->exStyle = (old & ~mask) | (static_cast<DWORD>(lParam) & mask);
      if ((s->exStyle & LVS_EX_CHECKBOXES) && !(old & LVS_EX_CHECKBOXES))
        for (Row& row : s->rows)
          if (!(row.state & LVIS_STATEIMAGEMASK)) row.state |= INDEXTOSTATEIMAGEMASK(1);
      winmodel::Invalidate(c.w, nullptr, true);
      return old;
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE: return s->exStyle;
    case LVM_SETIMAGELIST:
      if (index < 0 || index > 2) return 0;
      return reinterpret_cast<LRESULT>(std::exchange(s->images[index], reinterpret_cast<HIMAGELIST>(lParam)));
    case LVM_GETIMAGELIST: return index >= 0 && index <= 2 ? reinterpret_cast<LRESULT>(s->images[index]) : 0;
    case LVM_SETBKCOLOR: s->background = static_cast<COLORREF>(lParam); return TRUE;
    case LVM_GETBKCOLOR: return s->background;
    case LVM_SETTEXTCOLOR: s->textColor = static_cast<COLORREF>(lParam); return TRUE;
    case LVM_GETTEXTCOLOR: return s->textColor;
    case LVM_SETTEXTBKCOLOR: s->textBackground = static_cast<COLORREF>(lParam); return TRUE;
    case LVM_GETTEXTBKCOLOR: return s->textBackground;
    case LVM_GETCALLBACKMASK: return s->callbackMask;
    case LVM_SETCALLBACKMASK: s->callbackMask = static_cast<UINT>(wParam); return TRUE;
    case LVM_GETEDITCONTROL:
    case LVM_EDITLABELA: return 0;
    default: return std::nullopt;
  }
}

}  // namespace

LRESULT ListViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    controls::Attach<ListViewState>(window);
    return DefWindowProcA(window, message, wParam, lParam);
  }
  if (!controls::StateOf<ListViewState>(window)) return DefWindowProcA(window, message, wParam, lParam);
  Ctx c = Context(window);
  if (message == WM_PAINT) {
    Paint(c);
    return 0;
  }
  return controls::Dispatch(c, message, wParam, lParam, OnWindowMessage, OnInputMessage, OnColumnMessage, OnItemMessage,
                            OnStateMessage, OnGeometryMessage, OnLookMessage);
}
