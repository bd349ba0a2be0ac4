#include "platform/win32/dialogs.h"

#include <cstdio>
#include <cstdlib>

#include "platform/win32/code_page.h"
#include "platform/win32/control_messages.h"
#include "platform/win32/dialog_template.h"
#include "platform/win32/error_codes.h"
#include "platform/win32/headless_metrics.h"
#include "platform/win32/menus.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/modal_loop.h"
#include "platform/win32/resources.h"
#include "platform/win32/ui_services.h"
#include "platform/win32/virtual_keys.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_model.h"

using winmodel::Find;
using winmodel::FindValid;
using winmodel::Window;

namespace {

int DluX(int x) { return MulDiv(x, headless::kDialogBaseX, 4); }
int DluY(int y) { return MulDiv(y, headless::kDialogBaseY, 8); }

winmodel::DialogState* DialogOf(HWND dialog) {
  Window* w = Find(dialog);
  return w ? w->dialog.get() : nullptr;
}

void EnsureDialogSlots(Window* w) {
  const size_t slots = (DLGWINDOWEXTRA + 7) / 8;
  if (w->extra.size() < slots) w->extra.resize(slots, 0);
  if (!w->dialog) w->dialog = std::make_unique<winmodel::DialogState>();
}

bool IsButtonClass(HWND window) {
  char cls[16];
  return GetClassNameA(window, cls, sizeof cls) && _mbsicmp(cls, "Button") == 0;
}

void DlgSetFocus(HWND dialog, HWND control) {
  if (SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageA(control, EM_SETSEL, 0, -1);
  SetFocus(control);
  if (winmodel::DialogState* d = DialogOf(dialog)) d->focusSave = control;
}

void SaveFocus(HWND dialog) {
  HWND focus = GetFocus();
  if (focus && IsChild(dialog, focus))
    if (winmodel::DialogState* d = DialogOf(dialog)) d->focusSave = focus;
}

void RestoreFocus(HWND dialog) {
  winmodel::DialogState* d = DialogOf(dialog);
  if (!d) return;
  HWND saved = d->focusSave;
  if (saved && IsChild(dialog, saved) && IsWindowVisible(saved) && IsWindowEnabled(saved)) {
    SetFocus(saved);
    return;
  }
  HWND focus = GetFocus();
  if (focus && IsChild(dialog, focus)) return;
  if (HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE)) DlgSetFocus(dialog, first);
}

LRESULT DefaultId(HWND dialog) {
  winmodel::DialogState* d = DialogOf(dialog);
  if (d && d->defaultId) return MAKELONG(d->defaultId, DC_HASDEFID);
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (IsButtonClass(c) && (GetWindowLongA(c, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
      return MAKELONG(GetDlgCtrlID(c), DC_HASDEFID);
  return 0;
}

// The dialog's controls in tab order, the contents of WS_EX_CONTROLPARENT
// children taking the place of their container.
void TabOrder(Window* parent, std::vector<Window*>& out) {
  for (Window* c : parent->children) {
    if (!c->IsChild()) continue;
    if ((c->exStyle & WS_EX_CONTROLPARENT) && !c->children.empty())
      TabOrder(c, out);
    else
      out.push_back(c);
  }
}

// The dialog manager looks at the control's own state: a dialog is still
// hidden when its first control gets the focus.
bool Reachable(Window* w) { return w->Visible() && w->Enabled(); }

HWND CreateFromTemplate(const DialogTemplate& t, HINSTANCE instance, HWND owner, DLGPROC proc, LPARAM param,
                        int templateId, const std::string& templateName) {
  HFONT font = nullptr;
  bool ownsFont = false;
  if (t.hasFont) {
    font = CreateFontA(-MulDiv(t.pointSize, GetHeadlessMetrics().dotsPerInch, 72), 0, 0, 0,
                       t.weight ? t.weight : FW_NORMAL, t.italic, 0, 0, t.charset, 0, 0, 0, 0, t.typeface.c_str());
    ownsFont = font != nullptr;
  }
  if (!font) font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));

  DWORD style = t.style;
  const bool visible = (style & WS_VISIBLE) != 0;
  style &= ~WS_VISIBLE;
  DWORD exStyle = t.exStyle;
  if (style & DS_MODALFRAME) exStyle |= WS_EX_DLGMODALFRAME;
  if (style & DS_CONTROL) {
    style &= ~(WS_CAPTION | WS_SYSMENU);
    exStyle |= WS_EX_CONTROLPARENT;
  }
  const bool child = (style & (WS_CHILD | WS_POPUP)) == WS_CHILD;
  HMENU menu = nullptr;
  if (t.menu.kind == TemplateRef::Kind::Number)
    menu = LoadMenuA(instance, MAKEINTRESOURCEA(t.menu.number));
  else if (t.menu.kind == TemplateRef::Kind::Name)
    menu = LoadMenuA(instance, t.menu.name.c_str());

  RECT r{0, 0, DluX(t.cx), DluY(t.cy)};
  AdjustWindowRectEx(&r, style, menu != nullptr && !child, exStyle);
  const int width = r.right - r.left, height = r.bottom - r.top;
  POINT pos{DluX(t.x) + r.left, DluY(t.y) + r.top};
  if (style & DS_CENTER) {
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (child && owner) GetClientRect(owner, &area);
    pos = {area.left + (area.right - area.left - width) / 2, area.top + (area.bottom - area.top - height) / 2};
  } else if (!(style & DS_ABSALIGN) && owner && !child) {
    ClientToScreen(owner, &pos);
  }
  if (!child) {
    // A dialog is kept on the screen.
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    if (pos.x + width > sw) pos.x = sw - width;
    if (pos.y + height > sh) pos.y = sh - height;
    if (pos.x < 0) pos.x = 0;
    if (pos.y < 0) pos.y = 0;
  }

  std::string className = "#32770";
  if (t.windowClass.kind == TemplateRef::Kind::Name) className = t.windowClass.name;
  if (t.windowClass.kind == TemplateRef::Kind::Number) className = "#" + std::to_string(t.windowClass.number);
  HWND dialog = CreateWindowExA(exStyle, className.c_str(), t.caption.c_str(), style, pos.x, pos.y, width, height,
                                owner, child ? nullptr : menu, instance, nullptr);
  if (!dialog) {
    if (ownsFont) DeleteObject(font);
    if (menu) DestroyMenu(menu);
    return nullptr;
  }
  Window* w = Find(dialog);
  EnsureDialogSlots(w);
  winmodel::DialogState* d = w->dialog.get();
  d->font = font;
  d->ownsFont = ownsFont;
  d->templateId = templateId;
  d->templateName = templateName;
  d->instance = instance;
  SetWindowLongPtrA(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
  SendMessageA(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

  for (const DialogTemplateItem& item : t.items) {
    std::string cls;
    if (item.windowClass.kind == TemplateRef::Kind::Number) {
      const char* name = PredefinedClassName(item.windowClass.number);
      cls = name ? name : "#" + std::to_string(item.windowClass.number);
    } else {
      cls = item.windowClass.name;
    }
    std::string text = item.title.kind == TemplateRef::Kind::Number ? "#" + std::to_string(item.title.number)
                                                                     : item.title.name;
    HWND control = CreateWindowExA(item.exStyle | WS_EX_NOPARENTNOTIFY, cls.c_str(), text.c_str(),
                                   (item.style | WS_CHILD) & ~WS_POPUP, DluX(item.x), DluY(item.y), DluX(item.cx),
                                   DluY(item.cy), dialog, reinterpret_cast<HMENU>(static_cast<intptr_t>(item.id)),
                                   instance, item.creationData.empty() ? nullptr : const_cast<BYTE*>(item.creationData.data()));
    if (!IsWindow(dialog)) return nullptr;
    if (!control) {
      if (t.style & DS_NOFAILCREATE) continue;
      DestroyWindow(dialog);
      SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
      return nullptr;
    }
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (_mbsicmp(cls.c_str(), "Button") == 0 && (item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
      d->defaultId = item.id;
  }

  HWND focus = GetNextDlgTabItem(dialog, nullptr, FALSE);
  const LRESULT wantsFocus = SendMessageA(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(focus), param);
  if (!IsWindow(dialog)) return nullptr;
  if (wantsFocus) {
    // The answer may have changed the tab order.
    if ((focus = GetNextDlgTabItem(dialog, nullptr, FALSE)) != nullptr) DlgSetFocus(dialog, focus);
  }
  if (visible && IsWindow(dialog) && !IsWindowVisible(dialog)) ShowWindow(dialog, SW_SHOWNORMAL);
  return IsWindow(dialog) ? dialog : nullptr;
}

bool LoadTemplate(HINSTANCE instance, LPCSTR name, DialogTemplate* t) {
  HRSRC res = FindResourceA(instance, name, RT_DIALOG);
  if (!res) return false;
  const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(instance, res)));
  if (!ParseDialogTemplate(data, SizeofResource(instance, res), t, nullptr)) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return false;
  }
  return true;
}

INT_PTR RunModal(HWND dialog, HWND owner, bool ownerDisabled) {
  if (!dialog) {
    if (ownerDisabled) EnableWindow(owner, TRUE);
    return -1;
  }
  if (winmodel::DialogState* d = DialogOf(dialog)) d->modal = true;
  ModalLoopHooks hooks;
  hooks.preTranslate = [dialog](MSG& msg) { return IsDialogMessageA(dialog, &msg) != 0; };
  RunModalLoop(dialog, hooks);
  INT_PTR result = -1;
  IsDialogEnded(dialog, &result);
  if (ownerDisabled) EnableWindow(owner, TRUE);
  if (IsWindow(dialog)) {
    if (owner && GetActiveWindow() == dialog) SetActiveWindow(owner);
    DestroyWindow(dialog);
  }
  return result;
}

}  // namespace

HWND CreateDialogParamA(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC procedure, LPARAM param) {
  DialogTemplate t;
  if (!templateName || !LoadTemplate(instance, templateName, &t)) return nullptr;
  const bool numbered = IS_INTRESOURCE(templateName);
  return CreateFromTemplate(t, instance, owner, procedure, param,
                            numbered ? static_cast<int>(reinterpret_cast<uintptr_t>(templateName)) : -1,
                            numbered ? std::string() : std::string(templateName));
}

HWND CreateDialogIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA tmpl, HWND owner, DLGPROC procedure,
                                LPARAM param) {
  DialogTemplate t;
  if (!ParseDialogTemplate(static_cast<const void*>(tmpl), &t, nullptr)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreateFromTemplate(t, instance, owner, procedure, param, -1, std::string());
}

INT_PTR DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC procedure, LPARAM param) {
  DialogTemplate t;
  if (!templateName || !LoadTemplate(instance, templateName, &t)) return -1;
  const bool disable = owner && IsWindowEnabled(owner);
  if (disable) EnableWindow(owner, FALSE);
  const bool numbered = IS_INTRESOURCE(templateName);
  HWND dialog = CreateFromTemplate(t, instance, owner, procedure, param,
                                   numbered ? static_cast<int>(reinterpret_cast<uintptr_t>(templateName)) : -1,
                                   numbered ? std::string() : std::string(templateName));
  return RunModal(dialog, owner, disable);
}

INT_PTR DialogBoxIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA tmpl, HWND owner, DLGPROC procedure,
                                LPARAM param) {
  DialogTemplate t;
  if (!ParseDialogTemplate(static_cast<const void*>(tmpl), &t, nullptr)) return -1;
  const bool disable = owner && IsWindowEnabled(owner);
  if (disable) EnableWindow(owner, FALSE);
  return RunModal(CreateFromTemplate(t, instance, owner, procedure, param, -1, std::string()), owner, disable);
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
  winmodel::DialogState* d = DialogOf(dialog);
  if (!d) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  d->ended = true;
  d->result = result;
  HWND owner = GetWindow(dialog, GW_OWNER);
  if (d->modal && owner) EnableWindow(owner, TRUE);
  if (GetActiveWindow() == dialog && owner && IsWindowEnabled(owner)) SetActiveWindow(owner);
  SetWindowPos(dialog, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  return TRUE;
}

bool GetDialogTemplateOf(HWND dialog, int* templateId, std::string* name) {
  winmodel::DialogState* d = DialogOf(dialog);
  if (!d) return false;
  if (templateId) *templateId = d->templateId;
  if (name) *name = d->templateName;
  return true;
}

bool IsDialogEnded(HWND dialog, INT_PTR* result) {
  winmodel::DialogState* d = DialogOf(dialog);
  if (!d || !d->ended) return false;
  if (result) *result = d->result;
  return true;
}

LRESULT DefDlgProcA(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(dialog);
  if (!w) return 0;
  if (message == WM_NCCREATE) EnsureDialogSlots(w);
  DLGPROC proc = nullptr;
  if (w->extra.size() >= 2) {
    proc = reinterpret_cast<DLGPROC>(w->extra[DWLP_DLGPROC / 8]);
    w->extra[DWLP_MSGRESULT / 8] = 0;
  }
  if (proc) {
    const INT_PTR handled = proc(dialog, message, wParam, lParam);
    if (!IsWindow(dialog)) return handled;
    switch (message) {
      case WM_INITDIALOG:
      case WM_COMPAREITEM:
      case WM_VKEYTOITEM:
      case WM_CHARTOITEM:
      case WM_QUERYDRAGICON:
      case WM_CTLCOLORMSGBOX:
      case WM_CTLCOLOREDIT:
      case WM_CTLCOLORLISTBOX:
      case WM_CTLCOLORBTN:
      case WM_CTLCOLORDLG:
      case WM_CTLCOLORSCROLLBAR:
      case WM_CTLCOLORSTATIC:
        if (handled) return handled;
        break;
      default:
        if (handled) return w->extra[DWLP_MSGRESULT / 8];
        break;
    }
  }
  winmodel::DialogState* d = w->dialog.get();
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_NCDESTROY:
      if (d && d->ownsFont && d->font) {
        DeleteObject(d->font);
        d->font = nullptr;
      }
      if (!w->IsChild() && w->menu) {
        DestroyMenu(w->menu);
        w->menu = nullptr;
      }
      return DefWindowProcA(dialog, message, wParam, lParam);
    case WM_SHOWWINDOW:
      if (!wParam) SaveFocus(dialog);
      return DefWindowProcA(dialog, message, wParam, lParam);
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE)
        RestoreFocus(dialog);
      else
        SaveFocus(dialog);
      return 0;
    case WM_SETFOCUS: RestoreFocus(dialog); return 0;
    case DM_SETDEFID: {
      // The new default push button takes the default look from the old.
      const int old = LOWORD(DefaultId(dialog));
      if (d) d->defaultId = static_cast<int>(wParam);
      HWND next = GetDlgItem(dialog, static_cast<int>(wParam));
      const LRESULT code = next ? SendMessageA(next, WM_GETDLGCODE, 0, 0) : 0;
      if (next && !(code & (DLGC_UNDEFPUSHBUTTON | DLGC_DEFPUSHBUTTON))) return FALSE;  // no push button
      HWND previous = old ? GetDlgItem(dialog, old) : nullptr;
      if (previous && previous != next && (SendMessageA(previous, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON))
        SendMessageA(previous, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
      if (next && (code & DLGC_UNDEFPUSHBUTTON)) SendMessageA(next, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
      return TRUE;
    }
    case DM_GETDEFID: return DefaultId(dialog);
    case WM_NEXTDLGCTL: {
      HWND target = nullptr;
      if (LOWORD(lParam)) {
        target = reinterpret_cast<HWND>(wParam);
      } else {
        HWND focus = GetFocus();
        if (focus && !IsChild(dialog, focus)) focus = nullptr;
        target = GetNextDlgTabItem(dialog, focus, wParam != 0);
      }
      if (target && IsChild(dialog, target)) DlgSetFocus(dialog, target);
      return 0;
    }
    case WM_SETFONT:
      if (d) d->font = reinterpret_cast<HFONT>(wParam);
      return DefWindowProcA(dialog, message, wParam, lParam);
    case WM_GETFONT: return reinterpret_cast<LRESULT>(d ? d->font : nullptr);
    case WM_CLOSE: {
      HWND cancel = GetDlgItem(dialog, IDCANCEL);
      if (!cancel || IsWindowEnabled(cancel))
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
      return 0;
    }
    default: return DefWindowProcA(dialog, message, wParam, lParam);
  }
}

BOOL IsDialogMessageA(HWND dialog, MSG* msg) {
  if (!msg || !IsWindow(dialog) || !(msg->hwnd == dialog || IsChild(dialog, msg->hwnd))) return FALSE;
  const LRESULT code = SendMessageA(msg->hwnd, WM_GETDLGCODE, 0, reinterpret_cast<LPARAM>(msg));
  if (!(code & DLGC_WANTMESSAGE) && msg->message == WM_KEYDOWN) {
    switch (msg->wParam) {
      case VK_TAB:
        if (code & DLGC_WANTTAB) break;
        SendMessageA(dialog, WM_NEXTDLGCTL, GetKeyState(VK_SHIFT) < 0 ? 1 : 0, 0);
        return TRUE;
      case VK_RIGHT:
      case VK_DOWN:
      case VK_LEFT:
      case VK_UP: {
        if (code & DLGC_WANTARROWS) break;
        HWND focus = GetFocus();
        if (focus && IsChild(dialog, focus)) {
          HWND next = GetNextDlgGroupItem(dialog, focus, msg->wParam == VK_LEFT || msg->wParam == VK_UP);
          if (next && next != focus) SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
        }
        return TRUE;
      }
      case VK_CANCEL:
      case VK_ESCAPE:
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
        return TRUE;
      case VK_EXECUTE:
      case VK_RETURN: {
        HWND focus = GetFocus();
        if (focus && IsChild(dialog, focus) && (SendMessageA(focus, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON)) {
          SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED), reinterpret_cast<LPARAM>(focus));
          return TRUE;
        }
        const LRESULT def = SendMessageA(dialog, DM_GETDEFID, 0, 0);
        if (HIWORD(def) == DC_HASDEFID) {
          HWND button = GetDlgItem(dialog, LOWORD(def));
          if (!button || IsWindowEnabled(button))
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(LOWORD(def), BN_CLICKED), reinterpret_cast<LPARAM>(button));
        } else {
          SendMessageA(dialog, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        }
        return TRUE;
      }
      default: break;
    }
  }
  TranslateMessage(msg);
  DispatchMessageA(msg);
  return TRUE;
}

HWND GetDlgItem(HWND dialog, int id) {
  Window* w = FindValid(dialog);
  if (!w) return nullptr;
  for (Window* c : w->children)
    if (c->IsChild() && c->id == id) return c->handle;
  SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
  return nullptr;
}

BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
  HWND item = GetDlgItem(dialog, id);
  return item ? SetWindowTextA(item, text) : FALSE;
}

UINT GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int size) {
  if (buffer && size > 0) buffer[0] = '\0';
  HWND item = GetDlgItem(dialog, id);
  return item ? static_cast<UINT>(GetWindowTextA(item, buffer, size)) : 0;
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
  char text[24];
  if (isSigned)
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
  else
    std::snprintf(text, sizeof text, "%u", value);
  return SetDlgItemTextA(dialog, id, text);
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
  if (translated) *translated = FALSE;
  char text[64];
  HWND item = GetDlgItem(dialog, id);
  if (!item) return 0;
  GetWindowTextA(item, text, sizeof text);
  const char* p = text;
  while (*p == ' ' || *p == '\t') ++p;
  bool negative = false;
  if (isSigned && *p == '-') {
    negative = true;
    ++p;
  }
  if (*p < '0' || *p > '9') return 0;
  unsigned long long value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    value = value * 10 + static_cast<unsigned>(*p - '0');
    if (value > (isSigned ? 0x80000000ull : 0xFFFFFFFFull)) return 0;
  }
  if (*p) return 0;
  if (isSigned && !negative && value > 0x7FFFFFFFull) return 0;
  if (translated) *translated = TRUE;
  return negative ? static_cast<UINT>(-static_cast<long long>(value)) : static_cast<UINT>(value);
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
  HWND item = GetDlgItem(dialog, id);
  if (!item) return FALSE;
  SendMessageA(item, BM_SETCHECK, check, 0);
  return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
  HWND item = GetDlgItem(dialog, id);
  return item ? static_cast<UINT>(SendMessageA(item, BM_GETCHECK, 0, 0)) : 0;
}

BOOL CheckRadioButton(HWND dialog, int firstId, int lastId, int checkId) {
  bool any = false;
  for (int id = firstId; id <= lastId; ++id) {
    HWND item = GetDlgItem(dialog, id);
    if (!item) continue;
    any = true;
    SendMessageA(item, BM_SETCHECK, id == checkId ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  return any ? TRUE : FALSE;
}

LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND item = GetDlgItem(dialog, id);
  return item ? SendMessageA(item, message, wParam, lParam) : 0;
}

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
  Window* d = Find(dialog);
  if (!d) return nullptr;
  std::vector<Window*> order;
  TabOrder(d, order);
  auto candidate = [](Window* w) { return (w->style & WS_TABSTOP) && Reachable(w); };
  const int n = static_cast<int>(order.size());
  if (n == 0) return nullptr;
  Window* c = Find(control);
  int at = -1;
  for (int i = 0; i < n; ++i)
    if (order[static_cast<size_t>(i)] == c) at = i;
  if (at < 0) {
    for (int k = 0; k < n; ++k) {
      Window* w = order[static_cast<size_t>(previous ? n - 1 - k : k)];
      if (candidate(w)) return w->handle;
    }
    return nullptr;
  }
  for (int k = 1; k <= n; ++k) {
    Window* w = order[static_cast<size_t>(((at + (previous ? -k : k)) % n + n) % n)];
    if (candidate(w)) return w->handle;
  }
  return control;
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
  Window* c = Find(control);
  if (!Find(dialog)) return nullptr;
  if (!c || !c->parent) return GetNextDlgTabItem(dialog, nullptr, previous);
  const auto& siblings = c->parent->children;
  const int at = static_cast<int>(winmodel::IndexInParent(c));
  int first = at;
  while (first > 0 && !(siblings[static_cast<size_t>(first)]->style & WS_GROUP)) --first;
  int end = at + 1;
  while (end < static_cast<int>(siblings.size()) && !(siblings[static_cast<size_t>(end)]->style & WS_GROUP)) ++end;
  const int n = end - first;
  for (int k = 1; k < n; ++k) {
    const int i = first + (((at - first) + (previous ? -k : k)) % n + n) % n;
    Window* w = siblings[static_cast<size_t>(i)];
    if (Reachable(w)) return w->handle;
  }
  return control;
}

BOOL MapDialogRect(HWND dialog, RECT* rect) {
  if (!rect || !Find(dialog)) return FALSE;
  rect->left = DluX(rect->left);
  rect->right = DluX(rect->right);
  rect->top = DluY(rect->top);
  rect->bottom = DluY(rect->bottom);
  return TRUE;
}

LONG GetDialogBaseUnits() { return MAKELONG(headless::kDialogBaseX, headless::kDialogBaseY); }
