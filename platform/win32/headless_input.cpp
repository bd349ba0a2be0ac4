#include "platform/win32/headless_input.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "platform/win32/input_queue.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/virtual_keys.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_model.h"

namespace headless {

namespace {

LPARAM KeyData(char ch, bool up, bool alt) {
  LPARAM data = 1 | (static_cast<LPARAM>(static_cast<unsigned char>(ch)) << 16);
  if (alt) data |= LPARAM{1} << 29;
  if (up) data |= (LPARAM{1} << 30) | (LPARAM{1} << 31);
  return data;
}

void Key(UINT message, UINT vk, char ch, bool alt) {
  winmodel::InputEvent e;
  e.message = message;
  e.wParam = vk;
  e.lParam = KeyData(ch, message == WM_KEYUP || message == WM_SYSKEYUP, alt);
  winmodel::QueueInput(e);
}

char UsualCharacter(UINT vk, UINT modifiers) {
  const bool shift = (modifiers & kShift) != 0;
  if (vk >= 'A' && vk <= 'Z') return static_cast<char>(shift ? vk : vk - 'A' + 'a');
  if (vk >= '0' && vk <= '9') return static_cast<char>(vk);
  switch (vk) {
    case VK_RETURN: return '\r';
    case VK_TAB: return '\t';
    case VK_ESCAPE: return 27;
    case VK_BACK: return 8;
    case VK_SPACE: return ' ';
    case VK_OEM_COMMA: return ',';
    case VK_OEM_PERIOD: return '.';
    case VK_OEM_MINUS: return '-';
    default: return 0;
  }
}

// A mouse message at a client point of the window it is aimed at.
void QueueMouse(HWND window, POINT clientPoint, UINT message, WPARAM wParam = 0) {
  winmodel::InputEvent e;
  e.mouse = true;
  e.message = message;
  e.wParam = wParam;
  e.target = window;
  e.screen = clientPoint;
  ClientToScreen(window, &e.screen);
  winmodel::QueueInput(e);
}

UINT ButtonDown(MouseButton b) {
  return b == MouseButton::Left ? WM_LBUTTONDOWN : b == MouseButton::Right ? WM_RBUTTONDOWN : WM_MBUTTONDOWN;
}

UINT ButtonUp(MouseButton b) {
  return b == MouseButton::Left ? WM_LBUTTONUP : b == MouseButton::Right ? WM_RBUTTONUP : WM_MBUTTONUP;
}

std::string Lower(std::string_view s) {
  std::string out;
  for (char c : s) out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

void QueueKey(UINT virtualKey, UINT modifiers, char ch) {
  if (!ch) ch = UsualCharacter(virtualKey, modifiers);
  const bool alt = (modifiers & kAlt) != 0;
  if (modifiers & kCtrl) Key(WM_KEYDOWN, VK_CONTROL, 0, false);
  if (modifiers & kShift) Key(WM_KEYDOWN, VK_SHIFT, 0, false);
  if (alt) Key(WM_SYSKEYDOWN, VK_MENU, 0, true);
  Key(alt ? WM_SYSKEYDOWN : WM_KEYDOWN, virtualKey, ch, alt);
  Key(alt ? WM_SYSKEYUP : WM_KEYUP, virtualKey, ch, alt);
  if (alt) Key(WM_KEYUP, VK_MENU, 0, false);
  if (modifiers & kShift) Key(WM_KEYUP, VK_SHIFT, 0, false);
  if (modifiers & kCtrl) Key(WM_KEYUP, VK_CONTROL, 0, false);
}

UINT KeyOfCharacter(char ch) {
  const unsigned char c = static_cast<unsigned char>(ch);
  if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
  if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
  switch (c) {
    case ' ': return VK_SPACE;
    case ',': return VK_OEM_COMMA;
    case '.': return VK_OEM_PERIOD;
    case '-': return VK_OEM_MINUS;
    case '\r': return VK_RETURN;
    case '\t': return VK_TAB;
    case 8: return VK_BACK;
    case 27: return VK_ESCAPE;
    default: return VK_PACKET;
  }
}

void QueueText(std::string_view text) {
  for (char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    QueueKey(KeyOfCharacter(ch), (c >= 'A' && c <= 'Z') ? kShift : 0, ch);
  }
}

bool ParseKeyName(std::string_view name, UINT* virtualKey, UINT* modifiers) {
  UINT mods = 0;
  std::string rest = Lower(name);
  for (;;) {
    size_t plus = rest.find('+');
    if (plus == std::string::npos || plus + 1 == rest.size()) break;
    std::string mod = rest.substr(0, plus);
    if (mod == "ctrl" || mod == "control")
      mods |= kCtrl;
    else if (mod == "shift")
      mods |= kShift;
    else if (mod == "alt")
      mods |= kAlt;
    else
      return false;
    rest = rest.substr(plus + 1);
  }
  struct Named {
    const char* name;
    UINT vk;
  };
  static const Named kNames[] = {
      {"enter", VK_RETURN},  {"return", VK_RETURN},   {"escape", VK_ESCAPE},  {"esc", VK_ESCAPE},
      {"tab", VK_TAB},       {"delete", VK_DELETE},   {"del", VK_DELETE},     {"insert", VK_INSERT},
      {"ins", VK_INSERT},    {"backspace", VK_BACK},  {"back", VK_BACK},      {"space", VK_SPACE},
      {"up", VK_UP},         {"down", VK_DOWN},       {"left", VK_LEFT},      {"right", VK_RIGHT},
      {"home", VK_HOME},     {"end", VK_END},         {"pageup", VK_PRIOR},   {"pagedown", VK_NEXT},
      {"prior", VK_PRIOR},   {"next", VK_NEXT},       {"apps", VK_APPS},      {"shift", VK_SHIFT},
      {"ctrl", VK_CONTROL},  {"control", VK_CONTROL}, {"alt", VK_MENU},
  };
  UINT vk = 0;
  for (const Named& n : kNames)
    if (rest == n.name) vk = n.vk;
  if (!vk && rest.size() >= 2 && rest[0] == 'f' && std::isdigit(static_cast<unsigned char>(rest[1]))) {
    char* end = nullptr;
    long n = std::strtol(rest.c_str() + 1, &end, 10);
    if (*end == '\0' && n >= 1 && n <= 12) vk = VK_F1 + static_cast<UINT>(n - 1);
  }
  if (!vk && rest.size() == 1 && std::isalnum(static_cast<unsigned char>(rest[0])))
    vk = static_cast<UINT>(std::toupper(static_cast<unsigned char>(rest[0])));
  if (!vk) return false;
  *virtualKey = vk;
  *modifiers = mods;
  return true;
}

void QueueMouseMove(HWND window, POINT clientPoint) { QueueMouse(window, clientPoint, WM_MOUSEMOVE); }

void QueueMouseButton(HWND window, POINT clientPoint, MouseButton button, bool down) {
  QueueMouseMove(window, clientPoint);
  QueueMouse(window, clientPoint, down ? ButtonDown(button) : ButtonUp(button));
}

void QueueMouseWheel(HWND window, POINT clientPoint, int delta) {
  QueueMouseMove(window, clientPoint);
  QueueMouse(window, clientPoint, WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<WORD>(static_cast<short>(delta))) << 16);
}

void QueueStep(std::function<void()> step) {
  winmodel::InputEvent e;
  e.step = std::move(step);
  winmodel::QueueInput(e);
}

void QueueClick(HWND window, POINT clientPoint, MouseButton button, bool doubleClick) {
  QueueMouseMove(window, clientPoint);
  const UINT down = ButtonDown(button), up = ButtonUp(button);
  const UINT dbl = button == MouseButton::Left ? WM_LBUTTONDBLCLK
                   : button == MouseButton::Right ? WM_RBUTTONDBLCLK
                                                  : WM_MBUTTONDBLCLK;
  const UINT sequence[] = {down, up, dbl, up};
  for (int i = 0; i < (doubleClick ? 4 : 2); ++i) QueueMouse(window, clientPoint, sequence[i]);
}

void QueueDirect(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  winmodel::InputEvent e;
  e.direct = true;
  e.target = window;
  e.message = message;
  e.wParam = wParam;
  e.lParam = lParam;
  winmodel::QueueInput(e);
}

void SizeWindowAsUser(HWND window, int width, int height) {
  winmodel::Window* w = winmodel::Find(window);
  if (!w) return;
  SendMessageA(window, WM_ENTERSIZEMOVE, 0, 0);
  if (!winmodel::Find(window)) return;
  const MINMAXINFO limits = winmodel::QueryMinMaxInfo(w);
  if (!winmodel::Find(window)) return;
  width = std::clamp(width, static_cast<int>(limits.ptMinTrackSize.x),
                     std::max(static_cast<int>(limits.ptMinTrackSize.x), static_cast<int>(limits.ptMaxTrackSize.x)));
  height = std::clamp(height, static_cast<int>(limits.ptMinTrackSize.y),
                      std::max(static_cast<int>(limits.ptMinTrackSize.y), static_cast<int>(limits.ptMaxTrackSize.y)));
  // The frame's bottom-right corner is dragged; the window may adjust it.
  RECT r;
  GetWindowRect(window, &r);
  r.right = r.left + width;
  r.bottom = r.top + height;
  SendMessageA(window, WM_SIZING, 8 /* WMSZ_BOTTOMRIGHT */, reinterpret_cast<LPARAM>(&r));
  if (!winmodel::Find(window)) return;
  SetWindowPos(window, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageA(window, WM_EXITSIZEMOVE, 0, 0);
}

void MoveWindowAsUser(HWND window, int x, int y) {
  if (!winmodel::Find(window)) return;
  SendMessageA(window, WM_ENTERSIZEMOVE, 0, 0);
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageA(window, WM_EXITSIZEMOVE, 0, 0);
}

bool InputPending() { return winmodel::InputQueued(); }

void ClearInput() { winmodel::ClearInputQueue(); }

int PumpMessages(const std::function<bool(MSG&)>& preTranslate) {
  // A handler that posts a message for every message it handles would
  // keep the queue busy for ever; stop after a generous number.
  constexpr int kLimit = 1000000;
  int count = 0;
  MSG msg;
  while (count < kLimit && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    ++count;
    if (preTranslate && preTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return count;
}

}  // namespace headless
