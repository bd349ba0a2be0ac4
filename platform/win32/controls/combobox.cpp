// "ComboBox": simple, drop-down (with an edit child, id 1001) and drop-down
// list combo boxes. The list part is not a window of its own: its items,
// selection and open state live in the combo box. The box keeps the height
// of its selection field; the height it is given is its dropped-down height.
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

struct ComboState : winmodel::ControlState {
  controls::ItemList list;
  bool dropped = false;
  bool focused = false;
  HWND edit = nullptr;
  int droppedHeight = 0;
  int droppedWidth = 0;
  int itemHeight = headless::kListBoxItemHeight;
  int topIndex = 0;
  bool extendedUi = false;
  int silentEdit = 0;  // the box is writing its edit: no edit notifications
};

struct Ctx {
  HWND window;
  winmodel::Window* w;
  ComboState* s;
  DWORD type() const { return w->style & 3; }
  int count() const { return s->list.Count(); }
  bool valid(WPARAM i) const { return s->list.Valid(i); }
};

void Notify(Ctx& c, UINT code) {
  if (IsWindow(c.window)) winmodel::NotifyCommand(c.w, code);
}

void SetEditText(Ctx& c, const std::string& text) {
  if (!c.s->edit) return;
  ++c.s->silentEdit;
  SendMessageA(c.s->edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  if (c.s->focused) SendMessageA(c.s->edit, EM_SETSEL, 0, -1);
  --c.s->silentEdit;
}

void Select(Ctx& c, int index) {
  c.s->list.current = c.valid(static_cast<WPARAM>(index)) ? index : -1;
  SetEditText(c, c.s->list.CurrentText());
  winmodel::Invalidate(c.w, nullptr, true);
}

void DropDown(Ctx& c) {
  if (c.s->dropped || c.type() == CBS_SIMPLE) return;
  Notify(c, CBN_DROPDOWN);
  if (!IsWindow(c.window)) return;
  c.s->dropped = true;
}

void RollUp(Ctx& c, bool ok) {
  if (!c.s->dropped) return;
  c.s->dropped = false;
  Notify(c, ok ? CBN_SELENDOK : CBN_SELENDCANCEL);
  Notify(c, CBN_CLOSEUP);
}

void UserSelect(Ctx& c, int index) {
  if (!c.valid(static_cast<WPARAM>(index)) || index == c.s->list.current) return;
  Select(c, index);
  Notify(c, CBN_SELCHANGE);
}

bool FocusInside(Ctx& c, HWND focus) { return focus == c.window || (focus && focus == c.s->edit); }

void GotFocus(Ctx& c) {
  if (c.s->focused) return;
  c.s->focused = true;
  if (c.s->edit) SendMessageA(c.s->edit, EM_SETSEL, 0, -1);
  Notify(c, CBN_SETFOCUS);
}

void LostFocus(Ctx& c) {
  if (!c.s->focused || FocusInside(c, GetFocus())) return;
  RollUp(c, false);
  c.s->focused = false;
  Notify(c, CBN_KILLFOCUS);
}

int FieldHeight() { return headless::kComboFieldHeight; }

// The selection field less its sunken edge and drop button: where a
// drop-down's edit lies and its selected text is drawn.
RECT FieldInside(Ctx& c) {
  RECT client;
  GetClientRect(c.window, &client);
  const int field = std::min<int>(FieldHeight(), client.bottom);
  if (c.type() == CBS_SIMPLE) return {0, 0, client.right, field};
  const int edge = headless::kClientEdge;
  return {edge + 1, edge + 1, std::max<LONG>(edge + 1, client.right - edge - headless::kScrollBar - 1), field - edge - 1};
}

void LayoutEdit(Ctx& c) {
  if (!c.s->edit) return;
  const RECT r = FieldInside(c);
  MoveWindow(c.s->edit, r.left, r.top, r.right - r.left, std::max<LONG>(0, r.bottom - r.top), FALSE);
}

LRESULT OnKeyDown(Ctx& c, UINT message, WPARAM key, LPARAM lParam) {
  const bool alt = message == WM_SYSKEYDOWN;
  if (key == VK_F4 || (alt && (key == VK_DOWN || key == VK_UP))) {
    if (c.s->dropped)
      RollUp(c, true);
    else
      DropDown(c);
    return 0;
  }
  if (c.s->dropped && key == VK_RETURN) {
    RollUp(c, true);
    return 0;
  }
  if (c.s->dropped && key == VK_ESCAPE) {
    RollUp(c, false);
    return 0;
  }
  int next = c.s->list.current;
  switch (key) {
    case VK_UP: next = std::max(0, next - 1); break;
    case VK_DOWN: next = std::min(c.count() - 1, next + 1); break;
    case VK_HOME: next = 0; break;
    case VK_END: next = c.count() - 1; break;
    case VK_PRIOR: next = std::max(0, next - 8); break;
    case VK_NEXT: next = std::min(c.count() - 1, next + 8); break;
    default: return DefWindowProcA(c.window, message, key, lParam);
  }
  UserSelect(c, next);
  return 0;
}

LRESULT FromEdit(Ctx& c, UINT code) {
  if (c.s->silentEdit) return 0;
  switch (code) {
    case EN_SETFOCUS: GotFocus(c); break;
    case EN_KILLFOCUS: LostFocus(c); break;
    case EN_UPDATE: Notify(c, CBN_EDITUPDATE); break;
    case EN_CHANGE: {
      // Typing leaves no list item selected unless the open list shows one
      // that begins with the text.
      char text[4096];
      GetWindowTextA(c.s->edit, text, sizeof text);
      c.s->list.current = c.s->dropped ? c.s->list.Find(-1, text, false) : -1;
      Notify(c, CBN_EDITCHANGE);
      break;
    }
    default: break;
  }
  return 0;
}

// The selection field with its drop button; the list under it while
// it is dropped (the window's height is the dropped height).
void Paint(Ctx& c) {
  ComboState* s = c.s;
  HWND window = c.window;
  controls::PaintControl(window, [&](cairo_t* cr, const RECT& client) {
    const int field = std::min<int>(FieldHeight(), client.bottom);
    RECT r{client.left, client.top, client.right, field};
    if (c.type() != CBS_SIMPLE) {
      classic::Edge(cr, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
      const bool enabled = c.w->Enabled();
      raster::FillRect(cr, r, enabled ? GetSysColor(COLOR_WINDOW) : GetSysColor(COLOR_BTNFACE));
      RECT button{r.right - headless::kScrollBar, r.top, r.right, r.bottom};
      classic::PushButtonFrame(cr, button, s->dropped, false);
      classic::Arrow(cr, button, 1, !enabled);
      if (!s->edit && s->list.current >= 0) {
        RECT text{r.left + 1, r.top + 1, button.left - 1, r.bottom - 1};
        const bool lit = GetFocus() == window && !s->dropped;
        if (lit) raster::FillRect(cr, text, GetSysColor(COLOR_HIGHLIGHT));
        raster::TextIn(cr, s->list.TextOf(s->list.current), {text.left + 2, text.top, text.right, text.bottom},
                       DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX,
                       lit ? GetSysColor(COLOR_HIGHLIGHTTEXT) : enabled ? GetSysColor(COLOR_WINDOWTEXT) : GetSysColor(COLOR_GRAYTEXT));
      }
    }
    if (s->dropped || c.type() == CBS_SIMPLE) {
      const int rows = std::max(1, std::min(c.count(), 30));
      RECT list{client.left, field, client.right, std::min<LONG>(client.bottom, field + rows * s->itemHeight + 2)};
      if (c.type() == CBS_SIMPLE) list.bottom = client.bottom;
      raster::FillRect(cr, list, GetSysColor(COLOR_WINDOWFRAME));
      controls::PaintItems(cr, {list.left + 1, list.top + 1, list.right - 1, list.bottom - 1}, s->list.items, s->topIndex,
                           s->itemHeight, s->list.current);
    }
  });
}

// WM_CREATE: all but drop-down lists get their edit field.
LRESULT OnCreate(Ctx& c, const CREATESTRUCTA* cs) {
  if (c.type() == CBS_DROPDOWNLIST) return 0;
  DWORD editStyle = WS_CHILD | WS_VISIBLE | ES_LEFT;
  if (c.w->style & CBS_AUTOHSCROLL) editStyle |= ES_AUTOHSCROLL;
  if (c.w->style & CBS_UPPERCASE) editStyle |= ES_UPPERCASE;
  if (c.w->style & CBS_LOWERCASE) editStyle |= ES_LOWERCASE;
  if (c.w->style & WS_DISABLED) editStyle |= WS_DISABLED;
  c.s->edit = CreateWindowExA(0, "Edit", cs->lpszName, editStyle, 0, 0, 0, 0, c.window,
                              reinterpret_cast<HMENU>(static_cast<intptr_t>(kComboEditId)), cs->hInstance, nullptr);
  if (!c.s->edit) return -1;
  LayoutEdit(c);
  return 0;
}

// Creation, layout, font, focus, enabling and the edit's notifications.
controls::Answer OnWindowMessage(Ctx& c, UINT message, WPARAM wParam, LPARAM lParam) {
  ComboState* s = c.s;
  HWND window = c.window;
  switch (message) {
    case WM_CREATE: return OnCreate(c, reinterpret_cast<const CREATESTRUCTA*>(lParam));
    case WM_WINDOWPOSCHANGING: {
      auto* wp = reinterpret_cast<WINDOWPOS*>(lParam);
      if (wp && !(wp->flags & SWP_NOSIZE) && c.type() != CBS_SIMPLE) {
        s->droppedHeight = wp->cy;
        wp->cy = FieldHeight();
      }
      return 0;
    }
    case WM_SIZE: LayoutEdit(c); return 0;
    case WM_SETFONT:
      c.w->font = reinterpret_cast<HFONT>(wParam);
      if (s->edit) SendMessageA(s->edit, WM_SETFONT, wParam, lParam);
      return 0;
    case WM_GETDLGCODE: {
      LRESULT code = DLGC_WANTCHARS | DLGC_WANTARROWS;
      const MSG* msg = reinterpret_cast<const MSG*>(lParam);
      if (msg && msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE) && s->dropped)
        code |= DLGC_WANTMESSAGE;
      return code;
    }
    case WM_SETFOCUS:
      if (s->edit) {
        SetFocus(s->edit);
      } else {
        GotFocus(c);
      }
      return 0;
    case WM_KILLFOCUS:
      if (!s->edit) LostFocus(c);
      return 0;
    case WM_ENABLE:
      if (s->edit) EnableWindow(s->edit, wParam != 0);
      if (!wParam) RollUp(c, false);
      winmodel::Invalidate(c.w, nullptr, true);
      return 0;
    case WM_COMMAND:
      if (s->edit && reinterpret_cast<HWND>(lParam) == s->edit) return FromEdit(c, HIWORD(wParam));
      return DefWindowProcA(window, message, wParam, lParam);
    default: return std::nullopt;
  }
}

// The box's text: the edit's, or the selected item's in a drop-down list.
controls::Answer OnTextMessage(Ctx& c, UINT message, WPARAM wParam, LPARAM lParam) {
  ComboState* s = c.s;
  switch (message) {
    case WM_SETTEXT: {
      const std::string text = lParam ? reinterpret_cast<const char*>(lParam) : "";
      if (s->edit) {
        SetEditText(c, text);
        if (s->list.current >= 0 && s->list.TextOf(s->list.current) != text) s->list.current = -1;
        return TRUE;
      }
      const int index = s->list.Find(-1, text, true);
      if (index < 0) return CB_ERR;
      Select(c, index);
      return TRUE;
    }
    case WM_GETTEXT:
      if (s->edit) return SendMessageA(s->edit, WM_GETTEXT, wParam, lParam);
      return winmodel::CopyTextOut(s->list.CurrentText(), wParam, lParam);
    case WM_GETTEXTLENGTH:
      if (s->edit) return SendMessageA(s->edit, WM_GETTEXTLENGTH, 0, 0);
      return static_cast<LRESULT>(s->list.CurrentText().size());
    default: return std::nullopt;
  }
}

// The mouse, the keys and the driver's pick from the list.
controls::Answer OnInputMessage(Ctx& c, UINT message, WPARAM wParam, LPARAM lParam) {
  ComboState* s = c.s;
  HWND window = c.window;
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!FocusInside(c, GetFocus())) SetFocus(window);
      if (!IsWindow(window)) return 0;
      if (s->dropped)
        RollUp(c, true);
      else
        DropDown(c);
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: return OnKeyDown(c, message, wParam, lParam);
    case WM_CHAR:
      if (!s->edit && wParam >= ' ') {
        const int index = s->list.Find(s->list.current, std::string(1, static_cast<char>(wParam)), false);
        if (index >= 0) UserSelect(c, index);
      }
      return 0;
    case winmodel::kHeadlessComboPick:
      if (!c.valid(wParam)) return CB_ERR;
      DropDown(c);
      if (!IsWindow(window)) return 0;
      if (static_cast<int>(wParam) != s->list.current) {
        Select(c, static_cast<int>(wParam));
        Notify(c, CBN_SELCHANGE);
      }
      RollUp(c, true);
      return 0;
    default: return std::nullopt;
  }
}

// The list's items and its selection.
controls::Answer OnListMessage(Ctx& c, UINT message, WPARAM wParam, LPARAM lParam) {
  ComboState* s = c.s;
  switch (message) {
    case CB_ADDSTRING: return s->list.Add(lParam, (c.w->style & CBS_SORT) != 0);
    case CB_INSERTSTRING: return s->list.Insert(wParam, lParam);
    case CB_DELETESTRING: return s->list.Delete(wParam) ? c.count() : CB_ERR;
    case CB_RESETCONTENT:
      s->list.Clear();
      SetEditText(c, "");
      winmodel::Invalidate(c.w, nullptr, true);
      return CB_OKAY;
    case CB_GETCOUNT: return c.count();
    case CB_GETCURSEL: return s->list.current;
    case CB_SETCURSEL:
      Select(c, static_cast<int>(wParam));
      return c.valid(wParam) ? static_cast<LRESULT>(wParam) : CB_ERR;
    case CB_GETLBTEXT: return s->list.CopyText(wParam, lParam);
    case CB_GETLBTEXTLEN: return s->list.CopyText(wParam, 0);
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT:
    case CB_SELECTSTRING: {
      const int index = s->list.Find(static_cast<int>(wParam),
                                           lParam ? reinterpret_cast<const char*>(lParam) : "",
                                           message == CB_FINDSTRINGEXACT);
      if (index < 0) return CB_ERR;
      if (message == CB_SELECTSTRING) Select(c, index);
      return index;
    }
    case CB_GETITEMDATA: return s->list.Data(wParam);
    case CB_SETITEMDATA: return s->list.SetData(wParam, lParam) ? TRUE : CB_ERR;
    case CB_SETITEMHEIGHT:
      if (static_cast<int>(wParam) == -1) return 0;
      if (static_cast<int>(lParam) <= 0) return CB_ERR;
      s->itemHeight = static_cast<int>(lParam);
      return 0;
    case CB_GETITEMHEIGHT: return static_cast<int>(wParam) == -1 ? FieldHeight() - 6 : s->itemHeight;
    case CB_GETTOPINDEX: return s->topIndex;
    case CB_SETTOPINDEX:
      if (!c.valid(wParam)) return CB_ERR;
      s->topIndex = static_cast<int>(wParam);
      return 0;
    case CB_INITSTORAGE: return static_cast<LRESULT>(wParam);
    default: return std::nullopt;
  }
}

// The drop-down, the edit field and the parts' rectangles.
controls::Answer OnBoxMessage(Ctx& c, UINT message, WPARAM wParam, LPARAM lParam) {
  ComboState* s = c.s;
  HWND window = c.window;
  switch (message) {
    case CB_SHOWDROPDOWN:
      if (wParam)
        DropDown(c);
      else
        RollUp(c, false);
      return TRUE;
    case CB_GETDROPPEDSTATE: return s->dropped ? TRUE : FALSE;
    case CB_LIMITTEXT:
      if (!s->edit) return CB_ERR;
      SendMessageA(s->edit, EM_LIMITTEXT, wParam, 0);
      return TRUE;
    case CB_GETEDITSEL:
      if (!s->edit) return CB_ERR;
      return SendMessageA(s->edit, EM_GETSEL, wParam, lParam);
    case CB_SETEDITSEL:
      if (!s->edit) return CB_ERR;
      SendMessageA(s->edit, EM_SETSEL, static_cast<WPARAM>(static_cast<short>(LOWORD(lParam))),
                   static_cast<LPARAM>(static_cast<short>(HIWORD(lParam))));
      return TRUE;
    case CB_GETDROPPEDCONTROLRECT: {
      RECT* r = reinterpret_cast<RECT*>(lParam);
      if (!r) return CB_ERR;
      GetWindowRect(window, r);
      r->top += FieldHeight();
      r->bottom = r->top + std::max(0, s->droppedHeight - FieldHeight());
      if (s->droppedWidth > r->right - r->left) r->right = r->left + s->droppedWidth;
      return TRUE;
    }
    case CB_SETDROPPEDWIDTH: s->droppedWidth = static_cast<int>(wParam); return s->droppedWidth;
    case CB_GETDROPPEDWIDTH: {
      RECT r;
      GetWindowRect(window, &r);
      return std::max(s->droppedWidth, static_cast<int>(r.right - r.left));
    }
    case CB_SETEXTENDEDUI: s->extendedUi = wParam != 0; return CB_OKAY;
    case CB_GETEXTENDEDUI: return s->extendedUi ? TRUE : FALSE;
    case CB_GETCOMBOBOXINFO: {
      auto* info = reinterpret_cast<COMBOBOXINFO*>(lParam);
      if (!info) return FALSE;
      RECT client;
      GetClientRect(window, &client);
      info->hwndCombo = window;
      info->hwndItem = s->edit;
      info->hwndList = nullptr;
      info->rcItem = FieldInside(c);
      const int edge = headless::kClientEdge;
      info->rcButton = {client.right - edge - headless::kScrollBar, edge, client.right - edge,
                        std::min<LONG>(FieldHeight(), client.bottom) - edge};
      info->stateButton = 0;
      return TRUE;
    }
    default: return std::nullopt;
  }
}

}  // namespace

LRESULT ComboBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    ComboState* s = controls::Attach<ComboState>(window);
    auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    winmodel::Window* w = winmodel::Find(window);
    s->droppedHeight = cs->cy;
    if ((cs->style & 3) != CBS_SIMPLE) w->rect.bottom = w->rect.top + FieldHeight();
    return DefWindowProcA(window, message, wParam, lParam);
  }
  ComboState* s = controls::StateOf<ComboState>(window);
  if (!s) return DefWindowProcA(window, message, wParam, lParam);
  Ctx c{window, winmodel::Find(window), s};
  if (message == WM_PAINT) {
    Paint(c);
    return 0;
  }
  return controls::Dispatch(c, message, wParam, lParam, OnWindowMessage, OnTextMessage, OnInputMessage, OnListMessage,
                            OnBoxMessage);
}

BOOL GetComboBoxInfo(HWND combo, COMBOBOXINFO* info) {
  if (!info) return FALSE;
  return SendMessageA(combo, CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(info)) != 0;
}
