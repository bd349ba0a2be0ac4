#include <algorithm>
#include <cstring>

#include "platform/win32/code_page.h"
#include "platform/win32/common_controls.h"
#include "platform/win32/controls/control_procs.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/error_codes.h"
#include "platform/win32/resources.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_model.h"

namespace winmodel {

namespace {

struct Classes {
  std::vector<std::unique_ptr<WindowClass>> list;
  ATOM nextAtom = 0xC000;
  bool stockDone = false;
};

Classes& C() {
  static Classes* c = new Classes;
  return *c;
}

WindowClass* Add(const WNDCLASSEXA& wc, ATOM atom, bool stock) {
  auto cls = std::make_unique<WindowClass>();
  cls->name = wc.lpszClassName;
  cls->style = wc.style;
  cls->proc = wc.lpfnWndProc;
  cls->classExtra = wc.cbClsExtra;
  cls->windowExtra = wc.cbWndExtra;
  cls->instance = wc.hInstance;
  cls->icon = wc.hIcon;
  cls->smallIcon = wc.hIconSm;
  cls->cursor = wc.hCursor;
  cls->background = wc.hbrBackground;
  if (wc.lpszMenuName && !IS_INTRESOURCE(wc.lpszMenuName)) cls->menuName = wc.lpszMenuName;
  cls->atom = atom;
  cls->stock = stock;
  C().list.push_back(std::move(cls));
  return C().list.back().get();
}

void Stock(const char* name, WNDPROC proc, UINT style, ATOM atom, int windowExtra = 0) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = style | CS_GLOBALCLASS;
  wc.lpfnWndProc = proc;
  wc.cbWndExtra = windowExtra;
  wc.lpszClassName = name;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  Add(wc, atom, true);
}

}  // namespace

void RegisterStockClasses() {
  Classes& c = C();
  if (c.stockDone) return;
  c.stockDone = true;
  Stock("Button", ButtonProc, CS_DBLCLKS | CS_PARENTDC, 0x0080);
  Stock("Edit", EditProc, CS_DBLCLKS | CS_PARENTDC, 0x0081);
  Stock("Static", StaticProc, CS_DBLCLKS | CS_PARENTDC, 0x0082);
  Stock("ListBox", ListBoxProc, CS_DBLCLKS | CS_PARENTDC, 0x0083);
  Stock("ScrollBar", ScrollBarProc, CS_DBLCLKS | CS_PARENTDC, 0x0084);
  Stock("ComboBox", ComboBoxProc, CS_DBLCLKS | CS_PARENTDC, 0x0085);
  Stock("#32770", DefDlgProcA, CS_DBLCLKS | CS_SAVEBITS, 0x8002, DLGWINDOWEXTRA);
  Stock(WC_LISTVIEWA, ListViewProc, CS_DBLCLKS, c.nextAtom++);
  Stock(WC_HEADERA, HeaderProc, CS_DBLCLKS, c.nextAtom++);
  Stock(TRACKBAR_CLASSA, TrackbarProc, 0, c.nextAtom++);
  Stock(TOOLTIPS_CLASSA, ToolTipProc, CS_DBLCLKS | CS_SAVEBITS, c.nextAtom++);
}

WindowClass* FindClassByAtom(ATOM atom) {
  RegisterStockClasses();
  for (auto& cls : C().list)
    if (cls->atom == atom) return cls.get();
  return nullptr;
}

WindowClass* FindClass(const char* name) {
  if (!name) return nullptr;
  if (IS_INTRESOURCE(name)) return FindClassByAtom(static_cast<ATOM>(reinterpret_cast<uintptr_t>(name)));
  RegisterStockClasses();
  if (name[0] == '#') {
    char* end = nullptr;
    unsigned long atom = std::strtoul(name + 1, &end, 10);
    if (end != name + 1 && *end == '\0' && atom <= 0xFFFF) {
      if (WindowClass* byAtom = FindClassByAtom(static_cast<ATOM>(atom))) return byAtom;
    }
  }
  for (auto& cls : C().list)
    if (_mbsicmp(cls->name.c_str(), name) == 0) return cls.get();
  return nullptr;
}

}  // namespace winmodel

using winmodel::C;

ATOM RegisterClassExA(const WNDCLASSEXA* windowClass) {
  if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc ||
      IS_INTRESOURCE(windowClass->lpszClassName) || !windowClass->lpszClassName[0]) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (winmodel::FindClass(windowClass->lpszClassName)) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  return winmodel::Add(*windowClass, C().nextAtom++, false)->atom;
}

ATOM RegisterClassA(const WNDCLASSA* windowClass) {
  if (!windowClass) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  WNDCLASSEXA ex{};
  ex.cbSize = sizeof ex;
  ex.style = windowClass->style;
  ex.lpfnWndProc = windowClass->lpfnWndProc;
  ex.cbClsExtra = windowClass->cbClsExtra;
  ex.cbWndExtra = windowClass->cbWndExtra;
  ex.hInstance = windowClass->hInstance;
  ex.hIcon = windowClass->hIcon;
  ex.hCursor = windowClass->hCursor;
  ex.hbrBackground = windowClass->hbrBackground;
  ex.lpszMenuName = windowClass->lpszMenuName;
  ex.lpszClassName = windowClass->lpszClassName;
  return RegisterClassExA(&ex);
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE) {
  winmodel::WindowClass* cls = winmodel::FindClass(className);
  if (!cls || cls->stock) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  for (winmodel::Window* w : winmodel::AllWindows())
    if (w->cls == cls) {
      SetLastError(ERROR_CLASS_HAS_WINDOWS);
      return FALSE;
    }
  auto& list = C().list;
  list.erase(std::remove_if(list.begin(), list.end(), [&](const auto& p) { return p.get() == cls; }), list.end());
  return TRUE;
}

BOOL GetClassInfoA(HINSTANCE, LPCSTR className, WNDCLASSA* out) {
  winmodel::WindowClass* cls = winmodel::FindClass(className);
  if (!cls || !out) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  *out = {};
  out->style = cls->style;
  out->lpfnWndProc = cls->proc;
  out->cbClsExtra = cls->classExtra;
  out->cbWndExtra = cls->windowExtra;
  out->hInstance = cls->instance;
  out->hIcon = cls->icon;
  out->hCursor = cls->cursor;
  out->hbrBackground = cls->background;
  out->lpszClassName = cls->name.c_str();
  return TRUE;
}

int GetClassNameA(HWND window, LPSTR buffer, int size) {
  winmodel::Window* w = winmodel::Find(window);
  if (!w || !buffer || size <= 0) {
    SetLastError(w ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return static_cast<int>(winmodel::CopyTextOut(w->className, static_cast<WPARAM>(size),
                                                reinterpret_cast<LPARAM>(buffer)));
}

ULONG_PTR GetClassLongPtrA(HWND window, int index) {
  winmodel::Window* w = winmodel::Find(window);
  if (!w || !w->cls) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  switch (index) {
    case GCLP_HCURSOR: return reinterpret_cast<ULONG_PTR>(w->cls->cursor);
    case GCLP_HICON: return reinterpret_cast<ULONG_PTR>(w->cls->icon);
    case GCL_STYLE: return w->cls->style;
    default: SetLastError(ERROR_INVALID_INDEX); return 0;
  }
}

ULONG_PTR SetClassLongPtrA(HWND window, int index, LONG_PTR value) {
  winmodel::Window* w = winmodel::Find(window);
  if (!w || !w->cls) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  ULONG_PTR previous = GetClassLongPtrA(window, index);
  switch (index) {
    case GCLP_HCURSOR: w->cls->cursor = reinterpret_cast<HCURSOR>(value); break;
    case GCLP_HICON: w->cls->icon = reinterpret_cast<HICON>(value); break;
    case GCL_STYLE: w->cls->style = static_cast<UINT>(value); break;
    default: SetLastError(ERROR_INVALID_INDEX); return 0;
  }
  return previous;
}
