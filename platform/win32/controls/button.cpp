// "Button": push buttons, check boxes, radio buttons and group boxes.
#include <cairo.h>

#include <algorithm>

#include "platform/win32/classic_look.h"
#include "platform/win32/controls/control_procs.h"
#include "platform/win32/controls/control_state.h"
#include "platform/win32/gdi_raster.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/virtual_keys.h"
#include "platform/win32/window_api.h"

namespace {

struct ButtonState : winmodel::ControlState {
  WPARAM check = BST_UNCHECKED;
  bool pushed = false;
  bool tracking = false;  // the mouse button went down on it
  bool focused = false;
  HANDLE image = nullptr;
  WPARAM imageType = IMAGE_BITMAP;
};

DWORD TypeOf(HWND window) { return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & BS_TYPEMASK; }

bool IsRadio(DWORD type) { return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON; }
bool IsCheckable(DWORD type) {
  return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE || IsRadio(type);
}
bool IsPush(DWORD type) { return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_PUSHBOX; }

// Clears the other automatic radio buttons of the group.
void UncheckGroupSiblings(HWND window) {
  winmodel::Window* w = winmodel::Find(window);
  if (!w || !w->IsChild()) return;
  const auto& siblings = w->parent->children;
  size_t i = winmodel::IndexInParent(w);
  size_t first = i;
  while (first > 0 && !(siblings[first]->style & WS_GROUP)) --first;
  size_t end = i + 1;
  while (end < siblings.size() && !(siblings[end]->style & WS_GROUP)) ++end;
  std::vector<HWND> others;
  for (size_t k = first; k < end; ++k)
    if (k != i) others.push_back(siblings[k]->handle);
  for (HWND other : others) {
    char cls[16];
    GetClassNameA(other, cls, sizeof cls);
    if (controls::EqualNoCase(cls, "Button") && TypeOf(other) == BS_AUTORADIOBUTTON)
      SendMessageA(other, BM_SETCHECK, BST_UNCHECKED, 0);
  }
}

void Click(HWND window) {
  ButtonState* s = controls::StateOf<ButtonState>(window);
  if (!s) return;
  switch (TypeOf(window)) {
    case BS_AUTOCHECKBOX: SendMessageA(window, BM_SETCHECK, s->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0); break;
    case BS_AUTO3STATE: SendMessageA(window, BM_SETCHECK, (s->check + 1) % 3, 0); break;
    case BS_AUTORADIOBUTTON: SendMessageA(window, BM_SETCHECK, BST_CHECKED, 0); break;
    default: break;
  }
  if (winmodel::Window* w = winmodel::Find(window)) winmodel::NotifyCommand(w, BN_CLICKED);
}

LRESULT DialogCode(HWND window, ButtonState* s) {
  const DWORD type = TypeOf(window);
  if (type == BS_GROUPBOX) return DLGC_STATIC;
  if (IsRadio(type)) return DLGC_BUTTON | DLGC_RADIOBUTTON;
  if (IsCheckable(type)) return DLGC_BUTTON;
  if (IsPush(type) || type == BS_OWNERDRAW || type == BS_USERBUTTON) {
    // A push button with the focus acts as the default one.
    const bool isDefault = type == BS_DEFPUSHBUTTON || (s && s->focused);
    return DLGC_BUTTON | (isDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
  }
  return DLGC_BUTTON;
}

void PaintButton(HWND window, winmodel::Window* w, ButtonState* s) {
  controls::PaintControl(window, [&](cairo_t* cr, const RECT& r) {
    const DWORD type = w->style & BS_TYPEMASK;
    const bool enabled = w->Enabled();
    const std::string& text = w->text;
    auto label = [&](const RECT& box, UINT format) {
      if (text.empty()) return;
      if (!(w->style & BS_MULTILINE)) format |= DT_SINGLELINE | DT_VCENTER;
      else format |= DT_WORDBREAK;
      if (enabled) raster::TextIn(cr, text, box, format, GetSysColor(COLOR_BTNTEXT));
      else classic::DisabledText(cr, text.c_str(), box, format);
    };
    if (type == BS_GROUPBOX) {
      // An etched frame whose top runs through the middle of the title.
      const int lh = static_cast<int>(raster::LineHeight(cr));
      RECT frame{r.left, r.top + lh / 2, r.right, r.bottom};
      classic::Edge(cr, &frame, EDGE_ETCHED, BF_RECT);
      if (text.empty()) return;
      const int width = static_cast<int>(raster::TextWidth(cr, text)) + 1;
      RECT title{r.left + 8, r.top, std::min<LONG>(r.left + 8 + width + 4, r.right), r.top + lh};
      raster::FillRect(cr, title, GetSysColor(COLOR_BTNFACE));
      title.left += 2;
      if (enabled) raster::TextIn(cr, text, title, DT_LEFT, GetSysColor(COLOR_BTNTEXT));
      else classic::DisabledText(cr, text.c_str(), title, DT_LEFT);
      return;
    }
    if (IsCheckable(type) && !(w->style & BS_PUSHLIKE)) {
      const bool leftText = (w->style & BS_LEFTTEXT) != 0;
      const int boxX = leftText ? r.right - 13 : r.left;
      const int boxY = r.top + (r.bottom - r.top - 13) / 2;
      if (IsRadio(type)) classic::RadioButton(cr, boxX, boxY, s->check == BST_CHECKED, !enabled);
      else classic::CheckBox(cr, boxX, boxY, s->check == BST_CHECKED, s->check == BST_INDETERMINATE, !enabled);
      RECT box = leftText ? RECT{r.left, r.top, r.right - 17, r.bottom} : RECT{r.left + 17, r.top, r.right, r.bottom};
      label(box, (w->style & BS_CENTER) == BS_RIGHT ? DT_RIGHT : DT_LEFT);
      return;
    }
    const bool pressed = s->pushed || (IsCheckable(type) && s->check == BST_CHECKED);
    const bool isDefault = type == BS_DEFPUSHBUTTON;
    classic::PushButtonFrame(cr, r, pressed, isDefault);
    RECT box{r.left + 4, r.top + 3, r.right - 4, r.bottom - 3};
    if (pressed) box = {box.left + 1, box.top + 1, box.right + 1, box.bottom + 1};
    if (s->image && s->imageType == IMAGE_BITMAP && (w->style & BS_BITMAP)) {
      if (cairo_surface_t* bits = raster::PixelsOf(static_cast<HBITMAP>(s->image))) {
        const int bw = cairo_image_surface_get_width(bits), bh = cairo_image_surface_get_height(bits);
        cairo_set_source_surface(cr, bits, (box.left + box.right - bw) / 2, (box.top + box.bottom - bh) / 2);
        cairo_paint(cr);
      }
      return;
    }
    if (s->image && s->imageType == IMAGE_ICON && (w->style & BS_ICON)) {
      const int size = std::min<LONG>(box.right - box.left, box.bottom - box.top) >= 32 ? 32 : 16;
      raster::IconAt(cr, static_cast<HICON>(s->image), (box.left + box.right - size) / 2, (box.top + box.bottom - size) / 2,
                     size);
      return;
    }
    label(box, DT_CENTER);
  });
}

// The message's button, its state, type and style.
struct Ctx {
  HWND window;
  winmodel::Window* w;
  ButtonState* s;
  DWORD type;
  DWORD style;
};

// Owner-drawn buttons are drawn by their owner.
void Paint(Ctx& c) {
  if (c.type == BS_OWNERDRAW) {
    UINT state = (c.s->pushed ? ODS_SELECTED : 0) | (c.s->focused ? ODS_FOCUS : 0) | (c.w->Enabled() ? 0 : ODS_DISABLED);
    controls::DrawOwnerItem(c.window, ODT_BUTTON, 0, state, 0);
    ValidateRect(c.window, nullptr);
    return;
  }
  PaintButton(c.window, c.w, c.s);
}

// The check, the pushed state, the style, clicks and the image.
controls::Answer OnButtonMessage(Ctx& c, UINT message, WPARAM wParam, LPARAM lParam) {
  ButtonState* s = c.s;
  winmodel::Window* w = c.w;
  HWND window = c.window;
  const DWORD type = c.type;
  switch (message) {
    case BM_GETCHECK: return IsCheckable(type) ? static_cast<LRESULT>(s->check) : 0;
    case BM_SETCHECK: {
      if (!IsCheckable(type)) return 0;
      const WPARAM value = (type == BS_3STATE || type == BS_AUTO3STATE) ? (wParam & 3) : (wParam ? BST_CHECKED : 0);
      if (value != s->check) {
        s->check = value;
        winmodel::Invalidate(w, nullptr, true);
      }
      if (IsRadio(type)) {
        // A checked radio button is the group's tab stop.
        w->style = value ? (w->style | WS_TABSTOP) : (w->style & ~WS_TABSTOP);
        if (type == BS_AUTORADIOBUTTON && value == BST_CHECKED) UncheckGroupSiblings(window);
      }
      return 0;
    }
    case BM_GETSTATE:
      return static_cast<LRESULT>(s->check | (s->pushed ? BST_PUSHED : 0) | (s->focused ? BST_FOCUS : 0));
    case BM_SETSTATE:
      s->pushed = wParam != 0;
      winmodel::Invalidate(w, nullptr, true);
      return 0;
    case BM_SETSTYLE:
      w->style = (w->style & 0xFFFF0000u) | static_cast<DWORD>(wParam & 0xFFFF);
      if (LOWORD(lParam)) winmodel::Invalidate(w, nullptr, true);
      return 0;
    case BM_CLICK:
      if (!w->Enabled()) return 0;
      SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
      if (IsWindow(window)) SendMessageA(window, WM_LBUTTONUP, 0, 0);
      return 0;
    case BM_SETIMAGE: {
      HANDLE old = s->image;
      s->image = reinterpret_cast<HANDLE>(lParam);
      s->imageType = wParam;
      winmodel::Invalidate(w, nullptr, true);
      return reinterpret_cast<LRESULT>(old);
    }
    case BM_GETIMAGE: return wParam == s->imageType ? reinterpret_cast<LRESULT>(s->image) : 0;
    default: return std::nullopt;
  }
}

// The mouse: a group box lets it through; a button is pressed and clicked.
controls::Answer OnMouseMessage(Ctx& c, UINT message, WPARAM, LPARAM lParam) {
  ButtonState* s = c.s;
  winmodel::Window* w = c.w;
  HWND window = c.window;
  const DWORD type = c.type;
  const DWORD style = c.style;
  switch (message) {
    case WM_NCHITTEST: return type == BS_GROUPBOX ? HTTRANSPARENT : HTCLIENT;
    case WM_LBUTTONDBLCLK:
      if (type == BS_GROUPBOX) return 0;
      if ((style & BS_NOTIFY) || IsRadio(type) || type == BS_OWNERDRAW || type == BS_USERBUTTON) {
        winmodel::NotifyCommand(w, BN_DOUBLECLICKED);
        return 0;
      }
      [[fallthrough]];
    case WM_LBUTTONDOWN:
      if (type == BS_GROUPBOX) return 0;
      SetCapture(window);
      s->tracking = true;
      SetFocus(window);
      if (!IsWindow(window)) return 0;
      s->pushed = true;
      winmodel::Invalidate(w, nullptr, true);
      return 0;
    case WM_LBUTTONUP: {
      if (!s->tracking) return 0;
      s->tracking = false;
      const bool wasPushed = s->pushed;
      s->pushed = false;
      if (GetCapture() == window) ReleaseCapture();
      RECT client;
      GetClientRect(window, &client);
      POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (wasPushed && PtInRect(&client, p)) Click(window);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (s->tracking && reinterpret_cast<HWND>(lParam) != window) {
        s->tracking = false;
        s->pushed = false;
      }
      return 0;
    default: return std::nullopt;
  }
}

// The keys and the focus.
controls::Answer OnKeyboardMessage(Ctx& c, UINT message, WPARAM wParam, LPARAM lParam) {
  ButtonState* s = c.s;
  winmodel::Window* w = c.w;
  HWND window = c.window;
  const DWORD type = c.type;
  const DWORD style = c.style;
  switch (message) {
    case WM_GETDLGCODE: return DialogCode(window, s);
    case WM_KEYDOWN:
      if (wParam == VK_SPACE && type != BS_GROUPBOX) {
        s->pushed = true;
        return 0;
      }
      return DefWindowProcA(window, message, wParam, lParam);
    case WM_KEYUP:
      if (wParam == VK_SPACE && s->pushed) {
        s->pushed = false;
        Click(window);
        return 0;
      }
      return DefWindowProcA(window, message, wParam, lParam);
    case WM_SETFOCUS:
      s->focused = true;
      if (style & BS_NOTIFY) winmodel::NotifyCommand(w, BN_SETFOCUS);
      // A radio button reached by the keyboard is checked at once.
      if (IsWindow(window) && type == BS_AUTORADIOBUTTON && GetCapture() != window && s->check != BST_CHECKED)
        Click(window);
      return 0;
    case WM_KILLFOCUS:
      s->focused = false;
      s->pushed = false;
      if (GetCapture() == window) ReleaseCapture();
      if (style & BS_NOTIFY) winmodel::NotifyCommand(w, BN_KILLFOCUS);
      return 0;
    default: return std::nullopt;
  }
}

// A new text or enabling repaints the button.
controls::Answer OnWindowMessage(Ctx& c, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND window = c.window;
  winmodel::Window* w = c.w;
  switch (message) {
    case WM_SETTEXT:
    case WM_ENABLE: {
      LRESULT r = DefWindowProcA(window, message, wParam, lParam);
      winmodel::Invalidate(w, nullptr, true);
      return r;
    }
    default: return std::nullopt;
  }
}

}  // namespace

LRESULT ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ButtonState* s = controls::StateOf<ButtonState>(window);
  if (message == WM_NCCREATE) {
    controls::Attach<ButtonState>(window);
    return DefWindowProcA(window, message, wParam, lParam);
  }
  if (!s) return DefWindowProcA(window, message, wParam, lParam);
  Ctx c{window, winmodel::Find(window), s, TypeOf(window), static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE))};
  if (message == WM_PAINT) {
    Paint(c);
    return 0;
  }
  return controls::Dispatch(c, message, wParam, lParam, OnButtonMessage, OnMouseMessage, OnKeyboardMessage,
                            OnWindowMessage);
}
