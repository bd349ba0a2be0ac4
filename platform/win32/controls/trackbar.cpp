// "msctls_trackbar32": a position in a range, moved by keys and clicks,
// reported to the parent with WM_HSCROLL (WM_VSCROLL when TBS_VERT).
#include <utility>
#include <algorithm>

#include "platform/win32/common_controls.h"
#include "platform/win32/controls/control_procs.h"
#include "platform/win32/controls/control_state.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/virtual_keys.h"
#include "platform/win32/window_api.h"

namespace {

struct TrackbarState : winmodel::ControlState {
  int minimum = 0;
  int maximum = 100;
  int position = 0;
  int page = 20;
  int line = 1;
  int ticFrequency = 1;
};

void Report(HWND window, WORD code, int position) {
  winmodel::Window* w = winmodel::Find(window);
  if (!w || !w->IsChild()) return;
  const UINT message = (w->style & TBS_VERT) ? WM_VSCROLL : WM_HSCROLL;
  SendMessageA(w->parent->handle, message, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(window));
}

void Move(HWND window, TrackbarState* s, int to, WORD code) {
  s->position = std::clamp(to, s->minimum, s->maximum);
  winmodel::Invalidate(winmodel::Find(window), nullptr, true);
  Report(window, code, s->position);
}

}  // namespace

LRESULT TrackbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    controls::Attach<TrackbarState>(window);
    return DefWindowProcA(window, message, wParam, lParam);
  }
  TrackbarState* s = controls::StateOf<TrackbarState>(window);
  if (!s) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case TBM_GETPOS: return s->position;
    case TBM_GETRANGEMIN: return s->minimum;
    case TBM_GETRANGEMAX: return s->maximum;
    case TBM_SETPOS: s->position = std::clamp(static_cast<int>(lParam), s->minimum, s->maximum); return 0;
    case TBM_SETRANGE:
      s->minimum = static_cast<short>(LOWORD(lParam));
      s->maximum = static_cast<short>(HIWORD(lParam));
      s->position = std::clamp(s->position, s->minimum, s->maximum);
      return 0;
    case TBM_SETRANGEMIN: s->minimum = static_cast<int>(lParam); s->position = std::max(s->position, s->minimum); return 0;
    case TBM_SETRANGEMAX: s->maximum = static_cast<int>(lParam); s->position = std::min(s->position, s->maximum); return 0;
    case TBM_SETTICFREQ: s->ticFrequency = static_cast<int>(wParam); return 0;
    case TBM_SETPAGESIZE: return std::exchange(s->page, static_cast<int>(lParam));
    case TBM_GETPAGESIZE: return s->page;
    case TBM_SETLINESIZE: return std::exchange(s->line, static_cast<int>(lParam));
    case TBM_GETLINESIZE: return s->line;
    case WM_KEYDOWN:
      switch (wParam) {
        case VK_LEFT:
        case VK_UP: Move(window, s, s->position - s->line, TB_LINEUP); return 0;
        case VK_RIGHT:
        case VK_DOWN: Move(window, s, s->position + s->line, TB_LINEDOWN); return 0;
        case VK_PRIOR: Move(window, s, s->position - s->page, TB_PAGEUP); return 0;
        case VK_NEXT: Move(window, s, s->position + s->page, TB_PAGEDOWN); return 0;
        case VK_HOME: Move(window, s, s->minimum, TB_TOP); return 0;
        case VK_END: Move(window, s, s->maximum, TB_BOTTOM); return 0;
        default: return DefWindowProcA(window, message, wParam, lParam);
      }
    case WM_KEYUP:
      if (wParam == VK_LEFT || wParam == VK_RIGHT || wParam == VK_UP || wParam == VK_DOWN || wParam == VK_PRIOR ||
          wParam == VK_NEXT || wParam == VK_HOME || wParam == VK_END)
        Report(window, TB_ENDTRACK, s->position);
      return 0;
    case WM_LBUTTONDOWN: {
      SetFocus(window);
      RECT client;
      GetClientRect(window, &client);
      winmodel::Window* w = winmodel::Find(window);
      const bool vertical = w && (w->style & TBS_VERT);
      const int length = std::max(1, static_cast<int>(vertical ? client.bottom : client.right) - 16);
      const int at = (vertical ? GET_Y_LPARAM(lParam) : GET_X_LPARAM(lParam)) - 8;
      Move(window, s, s->minimum + MulDiv(std::clamp(at, 0, length), s->maximum - s->minimum, length),
           TB_THUMBPOSITION);
      Report(window, TB_ENDTRACK, s->position);
      return 0;
    }
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}
