#include "platform/win32/driver/dialog_targets.h"

#include <cctype>
#include <cstdlib>

#include "platform/win32/common_controls.h"
#include "platform/win32/control_messages.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/headless_input.h"
#include "platform/win32/headless_metrics.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/window_api.h"

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

namespace dialog_targets {

std::string ClassOf(HWND window) {
  char cls[64] = "";
  GetClassNameA(window, cls, sizeof cls);
  return Lower(cls);
}

bool ParseInt(const std::string& text, int* out) {
  if (text.empty()) return false;
  char* end = nullptr;
  long v = std::strtol(text.c_str(), &end, 10);
  if (*end || v < -0x7FFFFFFFL || v > 0x7FFFFFFFL) return false;
  *out = static_cast<int>(v);
  return true;
}

bool Fail(std::string* error, std::string why) {
  if (error) *error = std::move(why);
  return false;
}

HWND FindControl(HWND dialog, int id) {
  if (HWND direct = GetDlgItem(dialog, id)) return direct;
  struct Search {
    int id;
    HWND found;
  } search{id, nullptr};
  EnumChildWindows(
      dialog,
      [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        if (GetDlgCtrlID(w) != s->id) return TRUE;
        s->found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND Control(HWND dialog, int id, std::string* error) {
  HWND c = FindControl(dialog, id);
  if (!c) {
    Fail(error, "no control " + std::to_string(id));
    return nullptr;
  }
  if (!IsWindowVisible(c)) {
    Fail(error, "control " + std::to_string(id) + " is hidden");
    return nullptr;
  }
  if (!IsWindowEnabled(c)) {
    Fail(error, "control " + std::to_string(id) + " is disabled");
    return nullptr;
  }
  return c;
}

LONG Midpoint(LONG a, LONG b) { return static_cast<LONG>((static_cast<long long>(a) + b) / 2); }

POINT Center(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  POINT p{Midpoint(r.left, r.right), Midpoint(r.top, r.bottom)};
  ScreenToClient(window, &p);
  return p;
}

// Clicks at a point of the control; the deepest visible, enabled window
// there gets the click.
void ClickAt(HWND control, POINT point, bool doubleClick, headless::MouseButton button) {
  HWND target = control;
  POINT p = point;
  for (;;) {
    HWND child = ChildWindowFromPointEx(target, p, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED);
    if (!child || child == target) break;
    MapWindowPoints(target, child, &p, 1);
    target = child;
  }
  headless::QueueClick(target, p, button, doubleClick);
}

POINT RowPoint(HWND list, int row, bool checkBox) {
  SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
  RECT r{};
  r.left = checkBox ? LVIR_BOUNDS : LVIR_LABEL;
  SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
  if (checkBox) return {r.left + headless::kSmallIcon / 2, Midpoint(r.top, r.bottom)};
  if (r.right <= r.left) {
    r.left = LVIR_BOUNDS;
    SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
  }
  return {Midpoint(r.left, r.right), Midpoint(r.top, r.bottom)};
}

POINT ListBoxPoint(HWND list, int index) {
  RECT r{};
  SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  RECT client;
  GetClientRect(list, &client);
  if (r.top < 0 || r.bottom > client.bottom) {
    SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
    SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  }
  return {Midpoint(r.left, r.right), Midpoint(r.top, r.bottom)};
}

}  // namespace dialog_targets
