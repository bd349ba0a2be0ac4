// "tooltips_class32": keeps its tools and their texts. Headless nothing
// pops up; the texts can be asked for (TTM_GETTEXTA).
#include <utility>
#include <algorithm>
#include <cstring>

#include "platform/win32/common_controls.h"
#include "platform/win32/controls/control_procs.h"
#include "platform/win32/controls/control_state.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/resources.h"
#include "platform/win32/window_api.h"

namespace {

struct Tool {
  UINT flags = 0;
  HWND window = nullptr;
  UINT_PTR id = 0;
  RECT rect{};
  HINSTANCE instance = nullptr;
  std::string text;
  bool callback = false;
  LPARAM param = 0;
};

struct ToolTipState : winmodel::ControlState {
  std::vector<Tool> tools;
  bool active = true;
  int maxWidth = -1;
  int delays[4] = {500, 100, 5000, 500};
};

std::string TextFrom(const TOOLINFOA* info) {
  if (!info->lpszText || info->lpszText == LPSTR_TEXTCALLBACKA) return {};
  if (IS_INTRESOURCE(info->lpszText)) {
    char buffer[1024];
    int n = LoadStringA(info->hinst, static_cast<UINT>(reinterpret_cast<uintptr_t>(info->lpszText)), buffer,
                        sizeof buffer);
    return std::string(buffer, static_cast<size_t>(n));
  }
  return info->lpszText;
}

Tool* FindTool(ToolTipState* s, const TOOLINFOA* info) {
  if (!info) return nullptr;
  for (Tool& t : s->tools)
    if (t.window == info->hwnd && t.id == info->uId) return &t;
  return nullptr;
}

// A callback tool's text comes from the window that holds the tool, asked
// each time the tip would show.
std::string AskText(HWND tooltip, const Tool& t) {
  NMTTDISPINFOA d{};
  d.hdr.hwndFrom = tooltip;
  d.hdr.idFrom = t.id;
  d.hdr.code = TTN_GETDISPINFOA;
  d.lpszText = d.szText;
  d.uFlags = t.flags;
  d.lParam = t.param;
  SendMessageA(t.window, WM_NOTIFY, t.id, reinterpret_cast<LPARAM>(&d));
  if (!d.lpszText || d.lpszText == LPSTR_TEXTCALLBACKA) return {};
  if (IS_INTRESOURCE(d.lpszText)) {
    char buffer[1024];
    const int n = LoadStringA(d.hinst, static_cast<UINT>(reinterpret_cast<uintptr_t>(d.lpszText)), buffer,
                              sizeof buffer);
    return std::string(buffer, static_cast<size_t>(std::max(n, 0)));
  }
  if (d.lpszText == d.szText) return std::string(d.szText, strnlen(d.szText, sizeof d.szText));
  return d.lpszText;
}

void Fill(const Tool& t, TOOLINFOA* info) {
  info->uFlags = t.flags;
  info->rect = t.rect;
  info->hinst = t.instance;
  info->lParam = t.param;
}

// Adds a tool, or replaces the one of the same window and id.
LRESULT AddTool(ToolTipState* s, const TOOLINFOA* info) {
  Tool t;
  t.flags = info->uFlags;
  t.window = info->hwnd;
  t.id = info->uId;
  t.rect = info->rect;
  t.instance = info->hinst;
  t.callback = info->lpszText == LPSTR_TEXTCALLBACKA;
  t.text = TextFrom(info);
  t.param = info->lParam;
  if (Tool* old = FindTool(s, info))
    *old = t;
  else
    s->tools.push_back(t);
  return TRUE;
}

struct Ctx {
  HWND window;
  ToolTipState* s;
};

// The tools: adding, removing, their texts and rectangles.
controls::Answer OnToolMessage(Ctx& c, UINT message, WPARAM wParam, LPARAM lParam) {
  ToolTipState* s = c.s;
  HWND window = c.window;
  auto* info = reinterpret_cast<TOOLINFOA*>(lParam);
  switch (message) {
    case TTM_ADDTOOLA: return info ? AddTool(s, info) : FALSE;
    case TTM_DELTOOLA:
      if (info)
        s->tools.erase(std::remove_if(s->tools.begin(), s->tools.end(),
                                      [&](const Tool& t) { return t.window == info->hwnd && t.id == info->uId; }),
                       s->tools.end());
      return 0;
    case TTM_UPDATETIPTEXTA:
      if (Tool* t = FindTool(s, info)) {
        t->callback = info->lpszText == LPSTR_TEXTCALLBACKA;
        t->text = TextFrom(info);
      }
      return 0;
    case TTM_NEWTOOLRECTA:
      if (Tool* t = FindTool(s, info)) t->rect = info->rect;
      return 0;
    case TTM_GETTEXTA: {
      Tool* t = FindTool(s, info);
      if (!t || !info->lpszText) return 0;
      const std::string text = t->callback ? AskText(window, *t) : t->text;
      // wParam is the buffer size where the caller gives one.
      const size_t size = wParam ? static_cast<size_t>(wParam) : text.size() + 1;
      return winmodel::CopyTextOut(text, size, reinterpret_cast<LPARAM>(info->lpszText));
    }
    case TTM_GETTOOLINFOA:
    case TTM_SETTOOLINFOA: {
      Tool* t = FindTool(s, info);
      if (!t) return FALSE;
      if (message == TTM_GETTOOLINFOA) {
        Fill(*t, info);
      } else {
        t->flags = info->uFlags;
        t->rect = info->rect;
        t->param = info->lParam;
        t->text = TextFrom(info);
      }
      return TRUE;
    }
    case TTM_GETTOOLCOUNT: return static_cast<LRESULT>(s->tools.size());
    default: return std::nullopt;
  }
}

// Activation, width and delays; the tip is never shown, so the mouse goes through it.
controls::Answer OnSettingMessage(Ctx& c, UINT message, WPARAM wParam, LPARAM lParam) {
  ToolTipState* s = c.s;
  switch (message) {
    case TTM_ACTIVATE: s->active = wParam != 0; return 0;
    case TTM_RELAYEVENT:
    case TTM_POP: return 0;
    case TTM_SETMAXTIPWIDTH: return std::exchange(s->maxWidth, static_cast<int>(lParam));
    case TTM_GETMAXTIPWIDTH: return s->maxWidth;
    case TTM_SETDELAYTIME:
      if (wParam <= 3) s->delays[wParam] = static_cast<short>(LOWORD(lParam));
      return 0;
    case TTM_GETDELAYTIME: return wParam <= 3 ? s->delays[wParam] : 0;
    case WM_NCHITTEST: return HTTRANSPARENT;
    default: return std::nullopt;
  }
}

}  // namespace

LRESULT ToolTipProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    controls::Attach<ToolTipState>(window);
    return DefWindowProcA(window, message, wParam, lParam);
  }
  ToolTipState* s = controls::StateOf<ToolTipState>(window);
  if (!s) return DefWindowProcA(window, message, wParam, lParam);
  Ctx c{window, s};
  return controls::Dispatch(c, message, wParam, lParam, OnToolMessage, OnSettingMessage);
}
