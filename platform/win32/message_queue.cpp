#include "platform/win32/message_queue.h"

#include <algorithm>
#include <deque>

#include "platform/win32/error_codes.h"
#include "platform/win32/headless_input.h"
#include "platform/win32/input_queue.h"
#include "platform/win32/virtual_keys.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_model.h"

using winmodel::Find;
using winmodel::FindValid;
using winmodel::Window;

namespace {

struct Queue {
  std::deque<MSG> posted;
  std::deque<winmodel::InputEvent> input;
  bool quit = false;
  int quitCode = 0;
  BYTE keys[256] = {};
  BYTE toggles[256] = {};
  POINT cursor{};
  DWORD time = 0;
  DWORD lastPos = 0;
  LONG lastTime = 0;
  UINT_PTR nextThreadTimer = 1;
  std::vector<winmodel::Timer> threadTimers;
};

Queue& Q() {
  static Queue* q = new Queue;
  return *q;
}

bool MatchesWindow(HWND filter, HWND window) {
  if (!filter) return true;
  if (filter == reinterpret_cast<HWND>(-1)) return window == nullptr;
  return window == filter || (window && IsChild(filter, window));
}

bool MatchesRange(UINT first, UINT last, UINT message) {
  if (first == 0 && last == 0) return true;
  return message >= first && message <= last;
}

void Stamp(MSG& msg) {
  Queue& q = Q();
  msg.time = ++q.time;
  msg.pt = q.cursor;
}

void NoteTaken(const MSG& msg) {
  Queue& q = Q();
  q.lastPos = static_cast<DWORD>(MAKELONG(msg.pt.x, msg.pt.y));
  q.lastTime = static_cast<LONG>(msg.time);
}

void UpdateKeyState(const winmodel::InputEvent& e) {
  Queue& q = Q();
  auto set = [&](UINT vk, bool down) {
    if (vk > 255) return;
    if (down && !q.keys[vk]) q.toggles[vk] ^= 1;
    q.keys[vk] = down ? 1 : 0;
  };
  switch (e.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: set(static_cast<UINT>(e.wParam), true); break;
    case WM_KEYUP:
    case WM_SYSKEYUP: set(static_cast<UINT>(e.wParam), false); break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: set(VK_LBUTTON, true); break;
    case WM_LBUTTONUP: set(VK_LBUTTON, false); break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: set(VK_RBUTTON, true); break;
    case WM_RBUTTONUP: set(VK_RBUTTON, false); break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: set(VK_MBUTTON, true); break;
    case WM_MBUTTONUP: set(VK_MBUTTON, false); break;
    default: break;
  }
}

WPARAM MouseKeyFlags() {
  Queue& q = Q();
  WPARAM flags = 0;
  if (q.keys[VK_LBUTTON]) flags |= MK_LBUTTON;
  if (q.keys[VK_RBUTTON]) flags |= MK_RBUTTON;
  if (q.keys[VK_MBUTTON]) flags |= MK_MBUTTON;
  if (q.keys[VK_SHIFT]) flags |= MK_SHIFT;
  if (q.keys[VK_CONTROL]) flags |= MK_CONTROL;
  return flags;
}

bool IsButtonDown(UINT message) {
  return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
         message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDBLCLK;
}

// The window an input event goes to now; null drops it.
Window* InputTarget(const winmodel::InputEvent& e) {
  if (e.direct) return Find(e.target);
  if (!e.mouse) {
    Window* w = winmodel::FocusWindow();
    return w ? w : winmodel::ActiveWindow();
  }
  if (Window* capture = winmodel::CaptureWindow()) return capture;
  Window* w = Find(e.target);
  if (!w) w = Find(WindowFromPoint(e.screen));
  if (!w || !IsWindowEnabled(w->handle)) return nullptr;
  return w;
}

// Turns the front input event into a message; false when it is dropped.
bool Resolve(const winmodel::InputEvent& e, MSG& msg) {
  Window* w = InputTarget(e);
  if (!w) return false;
  msg = {};
  msg.hwnd = w->handle;
  msg.message = e.message;
  msg.wParam = e.wParam;
  msg.lParam = e.lParam;
  Queue& q = Q();
  if (e.mouse && !e.direct) {
    q.cursor = e.screen;
    POINT p = e.screen;
    // The wheel tells where the cursor is on the screen; the buttons tell
    // the client point.
    if (e.message != WM_MOUSEWHEEL) ScreenToClient(w->handle, &p);
    msg.lParam = MAKELPARAM(p.x, p.y);
    if ((e.message == WM_LBUTTONDBLCLK || e.message == WM_RBUTTONDBLCLK) && !(w->cls->style & CS_DBLCLKS))
      msg.message = e.message == WM_LBUTTONDBLCLK ? WM_LBUTTONDOWN : WM_RBUTTONDOWN;
  }
  Stamp(msg);
  return true;
}

bool PeekPosted(MSG* msg, HWND window, UINT first, UINT last, UINT remove) {
  Queue& q = Q();
  for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
    if (!MatchesWindow(window, it->hwnd) || !MatchesRange(first, last, it->message)) continue;
    *msg = *it;
    if (remove & PM_REMOVE) q.posted.erase(it);
    return true;
  }
  return false;
}

bool PeekInput(MSG* msg, HWND window, UINT first, UINT last, UINT remove) {
  Queue& q = Q();
  while (!q.input.empty()) {
    if (q.input.front().step) {
      // Steps run only when the whole queue is taken in order.
      if (window || first || last || !(remove & PM_REMOVE)) return false;
      std::function<void()> step = std::move(q.input.front().step);
      q.input.pop_front();
      step();
      continue;
    }
    winmodel::InputEvent e = q.input.front();
    MSG m;
    if (!Resolve(e, m)) {
      q.input.pop_front();  // nowhere to go
      UpdateKeyState(e);
      continue;
    }
    if (!MatchesWindow(window, m.hwnd) || !MatchesRange(first, last, m.message)) return false;
    if (!(remove & PM_REMOVE)) {
      *msg = m;
      return true;
    }
    q.input.pop_front();
    UpdateKeyState(e);
    if (e.mouse && !e.direct) {
      // The wheel's delta rides in the high word.
      m.wParam = (e.message == WM_MOUSEWHEEL ? (e.wParam & 0xFFFF0000u) : 0) | MouseKeyFlags();
      // The message counts as taken before WM_SETCURSOR: its handler asks
      // where the cursor is (GetMessagePos).
      NoteTaken(m);
      Window* w = Find(m.hwnd);
      // A click activates the window's top-level window first.
      if (w && IsButtonDown(m.message) && winmodel::ActiveWindow() != winmodel::Root(w))
        winmodel::Activate(winmodel::Root(w));
      if (!Find(m.hwnd)) continue;
      SendMessageA(m.hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(m.hwnd), MAKELPARAM(HTCLIENT, m.message));
      if (!Find(m.hwnd)) continue;
    }
    *msg = m;
    return true;
  }
  return false;
}

bool PaintPending(Window* w) {
  return w->hasUpdate && IsWindowVisible(w->handle);
}

bool PeekPaint(MSG* msg, HWND window, UINT first, UINT last) {
  if (!MatchesRange(first, last, WM_PAINT)) return false;
  for (Window* w : winmodel::AllWindows()) {
    if (!PaintPending(w) || !MatchesWindow(window, w->handle)) continue;
    *msg = {};
    msg->hwnd = w->handle;
    msg->message = WM_PAINT;
    Stamp(*msg);
    return true;
  }
  return false;
}

}  // namespace

namespace winmodel {

void QueueInput(const InputEvent& event) { Q().input.push_back(event); }

void DropMessagesFor(HWND window) {
  Queue& q = Q();
  q.posted.erase(std::remove_if(q.posted.begin(), q.posted.end(), [&](const MSG& m) { return m.hwnd == window; }),
                 q.posted.end());
  q.input.erase(std::remove_if(q.input.begin(), q.input.end(),
                               [&](const InputEvent& e) { return e.target == window; }),
                q.input.end());
}

POINT CursorPosition() { return Q().cursor; }

bool HasQueuedMessages() {
  Queue& q = Q();
  if (!q.posted.empty() || !q.input.empty()) return true;
  for (Window* w : AllWindows())
    if (PaintPending(w)) return true;
  return false;
}

void ClearInputQueue() { Q().input.clear(); }

bool InputQueued() { return !Q().input.empty(); }

void ResetKeyboard() {
  Queue& q = Q();
  std::fill(std::begin(q.keys), std::end(q.keys), 0);
}

}  // namespace winmodel

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = FindValid(window);
  if (!w) return 0;
  return winmodel::Call(w, message, wParam, lParam);
}

BOOL SendNotifyMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!Find(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  SendMessageA(window, message, wParam, lParam);
  return TRUE;
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window && !Find(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  MSG msg{window, message, wParam, lParam, 0, {}};
  Stamp(msg);
  Q().posted.push_back(msg);
  return TRUE;
}

void PostQuitMessage(int exitCode) {
  Queue& q = Q();
  q.quit = true;
  q.quitCode = exitCode;
}

LRESULT CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!procedure) return 0;
  if (Window* w = Find(window)) {
    winmodel::CallGuard guard(w);
    return procedure(window, message, wParam, lParam);
  }
  return procedure(window, message, wParam, lParam);
}

BOOL PeekMessageA(MSG* msg, HWND window, UINT first, UINT last, UINT remove) {
  if (!msg) return FALSE;
  if (PeekPosted(msg, window, first, last, remove) || PeekInput(msg, window, first, last, remove) ||
      PeekPaint(msg, window, first, last)) {
    if (remove & PM_REMOVE) NoteTaken(*msg);
    return TRUE;
  }
  Queue& q = Q();
  if (q.quit && MatchesRange(first, last, WM_QUIT)) {
    *msg = {};
    msg->message = WM_QUIT;
    msg->wParam = static_cast<WPARAM>(q.quitCode);
    Stamp(*msg);
    if (remove & PM_REMOVE) q.quit = false;
    return TRUE;
  }
  return FALSE;
}

BOOL GetMessageA(MSG* msg, HWND window, UINT first, UINT last) {
  if (!msg) return -1;
  if (PeekMessageA(msg, window, first, last, PM_REMOVE)) return msg->message != WM_QUIT;
  *msg = {};
  msg->message = WM_QUIT;
  return FALSE;
}

BOOL TranslateMessage(const MSG* msg) {
  if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
  unsigned char ch = static_cast<unsigned char>((msg->lParam >> 16) & 0xFF);
  if (!ch) return FALSE;
  if (GetKeyState(VK_CONTROL) < 0 && !(GetKeyState(VK_MENU) < 0)) {
    if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z'))
      ch = static_cast<unsigned char>(ch & 0x1F);
    else if (ch != 8 && ch != 13 && ch != 27 && ch != 9)
      return FALSE;
  }
  PostMessageA(msg->hwnd, msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR, ch, msg->lParam);
  return TRUE;
}

LRESULT DispatchMessageA(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
    return 0;
  }
  Window* w = Find(msg->hwnd);
  if (!w) return 0;
  LRESULT result = winmodel::Call(w, msg->message, msg->wParam, msg->lParam);
  // A window that does not paint would be asked again and again.
  if (msg->message == WM_PAINT && Find(msg->hwnd)) w->hasUpdate = false;
  return result;
}

BOOL WaitMessage() { return TRUE; }

DWORD GetMessagePos() { return Q().lastPos; }

LONG GetMessageTime() { return Q().lastTime; }

DWORD GetQueueStatus(UINT) {
  Queue& q = Q();
  return (!q.posted.empty() ? 0x0008 : 0) | (!q.input.empty() ? 0x0007 : 0);
}

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC procedure) {
  Queue& q = Q();
  std::vector<winmodel::Timer>* timers = &q.threadTimers;
  if (window) {
    Window* w = Find(window);
    if (!w) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return 0;
    }
    timers = &w->timers;
  } else {
    id = q.nextThreadTimer++;
  }
  for (winmodel::Timer& t : *timers)
    if (t.id == id) {
      t.elapse = elapse;
      t.proc = procedure;
      return window ? 1 : id;
    }
  timers->push_back({id, elapse, procedure});
  return window ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
  std::vector<winmodel::Timer>* timers = &Q().threadTimers;
  if (window) {
    Window* w = Find(window);
    if (!w) return FALSE;
    timers = &w->timers;
  }
  auto it = std::find_if(timers->begin(), timers->end(), [&](const winmodel::Timer& t) { return t.id == id; });
  if (it == timers->end()) return FALSE;
  timers->erase(it);
  return TRUE;
}

BOOL GetCursorPos(POINT* point) {
  if (!point) return FALSE;
  *point = Q().cursor;
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  Q().cursor = {x, y};
  return TRUE;
}

short GetKeyState(int virtualKey) {
  if (virtualKey < 0 || virtualKey > 255) return 0;
  Queue& q = Q();
  return static_cast<short>((q.keys[virtualKey] ? 0x8000 : 0) | q.toggles[virtualKey]);
}

short GetAsyncKeyState(int virtualKey) { return GetKeyState(virtualKey); }

void headless::FireTimers() {
  for (Window* w : winmodel::AllWindows())
    for (const winmodel::Timer& t : w->timers)
      PostMessageA(w->handle, WM_TIMER, t.id, reinterpret_cast<LPARAM>(t.proc));
  for (const winmodel::Timer& t : Q().threadTimers)
    PostMessageA(nullptr, WM_TIMER, t.id, reinterpret_cast<LPARAM>(t.proc));
}
