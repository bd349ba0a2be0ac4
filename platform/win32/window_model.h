// The retained window model behind HWND (for the platform's own code: the
// Win32 calls, the stock controls and the dialog manager). Each window is a
// Window object found by its handle; handles are never reused, so a stale
// handle is simply unknown. A window being destroyed stays in memory while
// a message to it is still being handled, so a procedure that destroys its
// own window can return safely.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/gdi.h"
#include "platform/win32/messages.h"
#include "platform/win32/window_styles.h"

struct HMENU__;

namespace winmodel {

struct WindowClass {
  std::string name;
  UINT style = 0;
  WNDPROC proc = nullptr;
  int classExtra = 0;
  int windowExtra = 0;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HICON smallIcon = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  std::string menuName;
  ATOM atom = 0;
  bool stock = false;  // registered by the platform, never unregistered
};

// Class-specific state of a stock control.
struct ControlState {
  virtual ~ControlState();
};

// What the dialog manager keeps for a dialog window.
struct DialogState {
  bool ended = false;
  bool modal = false;  // run by DialogBox: EndDialog enables the owner again
  INT_PTR result = 0;
  int defaultId = 0;
  HWND focusSave = nullptr;
  HFONT font = nullptr;
  bool ownsFont = false;
  int templateId = -1;        // numbered template, else -1
  std::string templateName;   // named template
  HINSTANCE instance = nullptr;
};

struct Timer {
  UINT_PTR id = 0;
  UINT elapse = 0;
  TIMERPROC proc = nullptr;
};

struct Window {
  HWND handle = nullptr;
  WindowClass* cls = nullptr;
  std::string className;  // as the class was registered
  DWORD style = 0;
  DWORD exStyle = 0;
  int id = 0;               // children
  HMENU menu = nullptr;     // top-level windows
  HINSTANCE instance = nullptr;
  std::string text;
  RECT rect{};              // parent's client coordinates; screen for top-level
  RECT normalRect{};        // placement: the rectangle to restore to
  bool restoreToMaximized = false;
  POINT minPosition{-1, -1};
  POINT maxPosition{-1, -1};
  Window* parent = nullptr;  // the desktop for top-level windows
  Window* owner = nullptr;
  std::vector<Window*> children;  // z-order, topmost first
  WNDPROC proc = nullptr;
  LONG_PTR userData = 0;
  std::vector<LONG_PTR> extra;  // window memory in pointer-sized slots
  HFONT font = nullptr;
  HICON bigIcon = nullptr;
  HICON smallIcon = nullptr;
  bool hasUpdate = false;
  bool updateErase = false;
  RECT update{};
  bool redraw = true;
  std::unique_ptr<ControlState> state;
  std::unique_ptr<DialogState> dialog;
  std::vector<Timer> timers;
  std::map<std::string, HANDLE> props;  // upper-case names
  int calls = 0;            // messages being handled now
  bool destroying = false;  // DestroyWindow has started
  bool destroyed = false;   // gone; freed when no call is left

  bool IsChild() const { return (style & (WS_CHILD | WS_POPUP)) == WS_CHILD; }
  bool Visible() const { return (style & WS_VISIBLE) != 0; }
  bool Enabled() const { return (style & WS_DISABLED) == 0; }
  bool IsDesktop() const { return parent == nullptr; }
};

// The live window of a handle (null for null, unknown or destroyed ones).
Window* Find(HWND handle);
// The same for an API call: none sets ERROR_INVALID_WINDOW_HANDLE.
Window* FindValid(HWND handle);
// A new window object with a fresh handle, not yet in the tree.
Window* NewWindow();
// Takes a destroyed window out of the handle table; it is freed once no
// message to it is being handled.
void ForgetWindow(Window* w);
Window* Desktop();
// Every live window, oldest first.
std::vector<Window*> AllWindows();

// Keeps a window in memory while a message to it is handled.
class CallGuard {
 public:
  explicit CallGuard(Window* w);
  ~CallGuard();
  CallGuard(const CallGuard&) = delete;
  CallGuard& operator=(const CallGuard&) = delete;

 private:
  Window* w_;
};
// Calls the window's procedure under a guard.
LRESULT Call(Window* w, UINT message, WPARAM wParam, LPARAM lParam);

// Classes.
WindowClass* FindClass(const char* name);
WindowClass* FindClassByAtom(ATOM atom);
void RegisterStockClasses();

// Geometry.
struct Insets {
  int left = 0, top = 0, right = 0, bottom = 0;
};
Insets NonClientInsets(DWORD style, DWORD exStyle, bool hasMenu);
Insets NonClientInsets(const Window* w);
// Client area in the window's own coordinates (window rectangle at 0, 0).
RECT ClientArea(const Window* w);
// Screen position of the window's client origin / window origin.
POINT ClientOrigin(const Window* w);
RECT ScreenRect(const Window* w);
int ClientWidth(const Window* w);
int ClientHeight(const Window* w);

// Tree.
Window* Root(Window* w);            // the top-level window holding w
bool IsDescendant(const Window* ancestor, const Window* w);
void Unlink(Window* w);
void LinkAt(Window* parent, Window* w, size_t index);
size_t IndexInParent(const Window* w);

// Focus and activation state (focus.cpp).
Window* FocusWindow();
Window* ActiveWindow();
Window* CaptureWindow();
// Called while a window is hidden or destroyed: moves the capture and the
// focus of a child away from it and, with `activate` (always when it is
// destroyed), the activation and the focus of a top-level window.
void LeaveWindow(Window* w, bool destroying, bool activate = true);

// Hooks for the framework layer: a window that was just created (before
// WM_NCCREATE) and a window that is gone (after WM_NCDESTROY).
using CreatedHook = void (*)(HWND window, const CREATESTRUCTA* create);
using DestroyedHook = void (*)(HWND window);
void AddWindowHooks(CreatedHook created, DestroyedHook destroyed);
void RunCreatedHooks(HWND window, const CREATESTRUCTA* create);
void RunDestroyedHooks(HWND window);
// A window whose client area changed size (before WM_WINDOWPOSCHANGED), so
// that surfaces drawn on it (OpenGL) follow at once.
using ClientSizeHook = void (*)(HWND window);
void AddClientSizeHook(ClientSizeHook hook);
void RunClientSizeHooks(HWND window);

// Notifications of controls to their parent.
LRESULT NotifyCommand(Window* control, UINT code);
LRESULT NotifyParent(Window* control, NMHDR* header, UINT code);

// Messages queued for a window are dropped when it goes (message_queue.cpp).
void DropMessagesFor(HWND window);

// Update areas.
void Invalidate(Window* w, const RECT* clientRect, bool erase);

// Text helpers used by controls: copy a text into a WM_GETTEXT buffer.
LRESULT CopyTextOut(const std::string& text, WPARAM size, LPARAM buffer);

// Internal SetWindowPos flags (WM_WINDOWPOSCHANGED tells what changed).
constexpr UINT kSwpNoClientSize = 0x0800;
constexpr UINT kSwpNoClientMove = 0x1000;
constexpr UINT kSwpStateChanged = 0x8000;

// Moves, sizes, orders, shows or hides a window (window_position.cpp).
BOOL SetPosition(Window* w, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
// The limits a window's WM_GETMINMAXINFO answers (defaults filled first).
MINMAXINFO QueryMinMaxInfo(Window* w);
// Activation (focus.cpp): makes a top-level window (or none) the active one.
void Activate(Window* w);
// Moves the focus without the checks of SetFocus.
HWND SetFocusTo(Window* w);

// Internal messages of the headless controls (below WM_USER, unused by
// Windows): a combo box item picked from the open list.
constexpr UINT kHeadlessComboPick = 0x03F0;

}  // namespace winmodel

