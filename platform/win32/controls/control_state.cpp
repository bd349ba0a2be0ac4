#include "platform/win32/controls/control_state.h"

#include "platform/win32/gdi_raster.h"

#include "platform/win32/code_page.h"
#include "platform/win32/gdi.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/window_api.h"

namespace controls {

SIZE CharSize(HWND window) {
  return FontCharSize(reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
}

bool EqualNoCase(const std::string& a, const std::string& b) { return _mbsicmp(a.c_str(), b.c_str()) == 0; }

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
  if (prefix.size() > text.size()) return false;
  return EqualNoCase(text.substr(0, prefix.size()), prefix);
}

void PaintControl(HWND window, const std::function<void(cairo_t* cr, const RECT& client)>& paint) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (cairo_t* cr = dc ? raster::Of(dc) : nullptr) {
    RECT client;
    GetClientRect(window, &client);
    raster::UseFont(cr, reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
    paint(cr, client);
  }
  EndPaint(window, &ps);
}

void PaintItems(cairo_t* cr, const RECT& area, const std::vector<Item>& items, int top, int itemHeight, int current) {
  raster::FillRect(cr, area, GetSysColor(COLOR_WINDOW));
  int y = area.top;
  for (size_t i = static_cast<size_t>(std::max(0, top)); i < items.size() && y < area.bottom; ++i, y += itemHeight) {
    const bool selected = items[i].selected || static_cast<int>(i) == current;
    RECT row{area.left, y, area.right, std::min<LONG>(y + itemHeight, area.bottom)};
    if (selected) raster::FillRect(cr, row, GetSysColor(COLOR_HIGHLIGHT));
    raster::TextIn(cr, items[i].text, {row.left + 2, row.top, row.right - 2, row.bottom},
                   DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX,
                   selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : GetSysColor(COLOR_WINDOWTEXT));
  }
}

void DrawOwnerItem(HWND control, UINT type, UINT itemId, UINT state, uintptr_t data) {
  winmodel::Window* w = winmodel::Find(control);
  if (!w || !w->IsChild()) return;
  DRAWITEMSTRUCT dis{};
  dis.CtlType = type;
  dis.CtlID = static_cast<UINT>(w->id);
  dis.itemID = itemId;
  dis.itemAction = ODA_DRAWENTIRE;
  dis.itemState = state;
  dis.hwndItem = control;
  dis.hDC = GetDC(control);
  GetClientRect(control, &dis.rcItem);
  dis.itemData = data;
  SendMessageA(w->parent->handle, WM_DRAWITEM, static_cast<WPARAM>(w->id), reinterpret_cast<LPARAM>(&dis));
  ReleaseDC(control, dis.hDC);
}

}  // namespace controls
