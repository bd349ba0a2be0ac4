// Windows: classes, creation and destruction, text, styles, the window
// tree, visibility, position and size, focus and activation, painting. The
// windows are objects of the stand-in's retained window model
// (window_model.h); nothing is shown on a screen. Coordinates follow
// headless_metrics.h. Everything runs on the one user-interface thread.
#pragma once

#include "platform/win32/gdi.h"
#include "platform/win32/messages.h"
#include "platform/win32/window_styles.h"

struct WNDCLASSA {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
};
using WNDCLASS = WNDCLASSA;
struct WNDCLASSEXA {
  UINT cbSize;
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
  HICON hIconSm;
};
using WNDCLASSEX = WNDCLASSEXA;

// Class names compare without case. The stock classes ("Button", "Edit",
// "Static", "ComboBox", "ListBox", "ScrollBar", "#32770" for dialogs and the
// common controls) are always registered. Registering a name twice fails
// with ERROR_CLASS_ALREADY_EXISTS.
ATOM RegisterClassA(const WNDCLASSA* windowClass);
ATOM RegisterClassExA(const WNDCLASSEXA* windowClass);
BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance);
BOOL GetClassInfoA(HINSTANCE instance, LPCSTR className, WNDCLASSA* out);
int GetClassNameA(HWND window, LPSTR buffer, int size);
ULONG_PTR GetClassLongPtrA(HWND window, int index);
ULONG_PTR SetClassLongPtrA(HWND window, int index, LONG_PTR value);

// A window is a child when its style has WS_CHILD without WS_POPUP; its
// parent is then `parent`. Any other window is top-level and `parent` is
// its owner (the owner is made the top-level window of what is given).
// A child's menu argument is its id. Sends WM_NCCREATE, WM_CREATE (a
// failure of either destroys the window and gives null), then WM_SIZE and
// WM_MOVE; WS_VISIBLE shows the window.
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
inline HWND CreateWindowA(LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width, int height,
                          HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  return CreateWindowExA(0, className, windowName, style, x, y, width, height, parent, menu, instance, param);
}
// Destroys owned windows, hides the window, sends WM_DESTROY (the window,
// then its children) and WM_NCDESTROY (children first); the handle is
// invalid afterwards.
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);

BOOL SetWindowTextA(HWND window, LPCSTR text);
int GetWindowTextA(HWND window, LPSTR buffer, int size);
int GetWindowTextLengthA(HWND window);

LONG_PTR GetWindowLongPtrA(HWND window, int index);
LONG_PTR SetWindowLongPtrA(HWND window, int index, LONG_PTR value);
LONG GetWindowLongA(HWND window, int index);
LONG SetWindowLongA(HWND window, int index, LONG value);

HWND GetParent(HWND window);  // a child's parent, a popup's owner, else null
HWND SetParent(HWND child, HWND newParent);
HWND GetWindow(HWND window, UINT command);
HWND GetAncestor(HWND window, UINT flags);
HWND GetDesktopWindow();
HWND GetTopWindow(HWND window);
BOOL IsChild(HWND parent, HWND window);  // any descendant
// Every descendant (children before grandchildren of the next child: the
// order of a depth-first walk); stops when the callback returns FALSE.
BOOL EnumChildWindows(HWND parent, WNDENUMPROC callback, LPARAM param);
BOOL EnumWindows(WNDENUMPROC callback, LPARAM param);
HWND FindWindowA(LPCSTR className, LPCSTR windowName);
int GetDlgCtrlID(HWND window);

BOOL IsWindowVisible(HWND window);  // the window and every ancestor
BOOL IsWindowEnabled(HWND window);
// Disabling moves the focus out of the window. Returns nonzero when the
// window was disabled before.
BOOL EnableWindow(HWND window, BOOL enable);
BOOL IsIconic(HWND window);
BOOL IsZoomed(HWND window);
// Returns whether it was visible before.
BOOL ShowWindow(HWND window, int command);
BOOL BringWindowToTop(HWND window);

// Window rectangles are in screen coordinates, client rectangles start at
// (0, 0).
BOOL GetWindowRect(HWND window, RECT* rect);
BOOL GetClientRect(HWND window, RECT* rect);
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
// x, y in the parent's client coordinates (screen for top-level windows).
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
struct HDWP__;
using HDWP = HDWP__*;
HDWP BeginDeferWindowPos(int count);
// Null (and the whole batch dropped) for an invalid window.
HDWP DeferWindowPos(HDWP batch, HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
BOOL EndDeferWindowPos(HDWP batch);
BOOL GetWindowPlacement(HWND window, WINDOWPLACEMENT* placement);
BOOL SetWindowPlacement(HWND window, const WINDOWPLACEMENT* placement);
BOOL ScreenToClient(HWND window, POINT* point);
BOOL ClientToScreen(HWND window, POINT* point);
// From one window's client coordinates to another's (null: the screen).
int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);
BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL menu);
BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle);
// The deepest visible window at a screen point (hit-transparent windows,
// such as static texts without SS_NOTIFY and group boxes, let it through).
HWND WindowFromPoint(POINT screenPoint);
HWND ChildWindowFromPoint(HWND parent, POINT clientPoint);
HWND ChildWindowFromPointEx(HWND parent, POINT clientPoint, UINT flags);
int GetSystemMetrics(int index);
BOOL SystemParametersInfoA(UINT action, UINT param, PVOID value, UINT winIni);

// Focus follows the Windows order: the window losing it gets WM_KILLFOCUS
// (during which GetFocus already names the new one), then the window
// gaining it gets WM_SETFOCUS. A disabled or minimised window (or one with
// such an ancestor) cannot take it; its top-level window is activated first.
HWND SetFocus(HWND window);
HWND GetFocus();
HWND GetActiveWindow();
HWND SetActiveWindow(HWND window);
BOOL SetForegroundWindow(HWND window);
HWND GetForegroundWindow();
HWND SetCapture(HWND window);
BOOL ReleaseCapture();
HWND GetCapture();

// The update area of a window is kept as one rectangle (client coordinates)
// that grows with each invalidation; WM_PAINT validates it.
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
BOOL ValidateRect(HWND window, const RECT* rect);
BOOL GetUpdateRect(HWND window, RECT* rect, BOOL erase);
BOOL UpdateWindow(HWND window);
BOOL RedrawWindow(HWND window, const RECT* rect, HRGN region, UINT flags);

BOOL SetPropA(HWND window, LPCSTR name, HANDLE data);
HANDLE GetPropA(HWND window, LPCSTR name);
HANDLE RemovePropA(HWND window, LPCSTR name);

// The names without the A suffix.
inline BOOL SetWindowText(HWND w, LPCSTR text) { return SetWindowTextA(w, text); }
inline int GetWindowText(HWND w, LPSTR buffer, int size) { return GetWindowTextA(w, buffer, size); }
inline int GetWindowTextLength(HWND w) { return GetWindowTextLengthA(w); }
inline LONG_PTR GetWindowLongPtr(HWND w, int index) { return GetWindowLongPtrA(w, index); }
inline LONG_PTR SetWindowLongPtr(HWND w, int index, LONG_PTR value) { return SetWindowLongPtrA(w, index, value); }
inline LONG GetWindowLong(HWND w, int index) { return GetWindowLongA(w, index); }
inline LONG SetWindowLong(HWND w, int index, LONG value) { return SetWindowLongA(w, index, value); }
inline int GetClassName(HWND w, LPSTR buffer, int size) { return GetClassNameA(w, buffer, size); }
inline ATOM RegisterClass(const WNDCLASSA* c) { return RegisterClassA(c); }
