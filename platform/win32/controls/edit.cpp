// "Edit": single- and multi-line text boxes with selection, length limit,
// read-only state, the modified flag and the clipboard.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/win32/clipboard.h"
#include <cairo.h>

#include <cmath>

#include "platform/win32/controls/control_procs.h"
#include "platform/win32/gdi_raster.h"
#include "platform/win32/controls/control_state.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/ui_services.h"
#include "platform/win32/virtual_keys.h"
#include "platform/win32/window_api.h"

namespace {

constexpr int kDefaultLimit = 32767;

struct EditState : winmodel::ControlState {
  int anchor = 0;  // selection: from anchor to caret
  int caret = 0;
  int limit = kDefaultLimit;
  bool modified = false;
  bool focused = false;
  char passwordChar = 0;
  int leftMargin = 1;
  int rightMargin = 1;
};

struct Ctx {
  HWND window;
  winmodel::Window* w;
  EditState* s;
  std::string& text() { return w->text; }
  int length() const { return static_cast<int>(w->text.size()); }
  int selStart() const { return std::min(s->anchor, s->caret); }
  int selEnd() const { return std::max(s->anchor, s->caret); }
  bool multiline() const { return (w->style & ES_MULTILINE) != 0; }
  bool readOnly() const { return (w->style & ES_READONLY) != 0; }
};

void Notify(Ctx& c, UINT code) {
  if (IsWindow(c.window)) winmodel::NotifyCommand(c.w, code);
}

// The text on white (grey when read-only or disabled), the selection
// highlighted and the caret while it has the focus; scrolled so that the
// caret stays in view.
void Paint(Ctx& c) {
  controls::PaintControl(c.window, [&](cairo_t* cr, const RECT& client) {
    const bool enabled = c.w->Enabled();
    raster::FillRect(cr, client, enabled && !c.readOnly() ? GetSysColor(COLOR_WINDOW) : GetSysColor(COLOR_BTNFACE));
    std::string shown = c.text();
    if (c.s->passwordChar && !c.multiline()) shown.assign(shown.size(), c.s->passwordChar);
    const bool focused = c.s->focused;
    const double lh = raster::LineHeight(cr);
    const COLORREF ink = enabled ? GetSysColor(COLOR_WINDOWTEXT) : GetSysColor(COLOR_GRAYTEXT);
    // Lines with their first character's index.
    std::vector<std::pair<int, std::string>> lines;
    if (c.multiline()) {
      size_t start = 0;
      while (true) {
        size_t end = shown.find('\n', start);
        std::string line = shown.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.emplace_back(static_cast<int>(start), line);
        if (end == std::string::npos) break;
        start = end + 1;
      }
    } else {
      lines.emplace_back(0, shown);
    }
    int caretLine = 0;
    for (size_t i = 0; i < lines.size(); ++i)
      if (lines[i].first <= c.s->caret) caretLine = static_cast<int>(i);
    const int visible = std::max(1, static_cast<int>((client.bottom - client.top) / lh));
    const int first = c.multiline() ? std::max(0, caretLine - visible + 1) : 0;
    const int left = client.left + c.s->leftMargin + 1;
    const int width = client.right - left - c.s->rightMargin;
    double y = c.multiline() ? client.top + 1 : std::floor((client.top + client.bottom - lh) / 2);
    for (int i = first; i < static_cast<int>(lines.size()) && y < client.bottom; ++i, y += lh) {
      const int at = lines[static_cast<size_t>(i)].first;
      const std::string& line = lines[static_cast<size_t>(i)].second;
      const int length = static_cast<int>(line.size());
      auto xOf = [&](int index) { return raster::TextWidth(cr, line.substr(0, static_cast<size_t>(std::clamp(index - at, 0, length)))); };
      // A single line scrolls left to keep the caret in view.
      const double shift = c.multiline() ? 0 : std::max(0.0, xOf(c.s->caret) - width + 2);
      const double x0 = left - shift;
      raster::TextAt(cr, x0, y, line, ink);
      const int a = std::max(c.selStart(), at), b = std::min(c.selEnd(), at + length);
      if (focused && a < b) {
        RECT sel{static_cast<LONG>(x0 + xOf(a)), static_cast<LONG>(y), static_cast<LONG>(std::ceil(x0 + xOf(b))),
                 static_cast<LONG>(y + lh)};
        raster::FillRect(cr, sel, GetSysColor(COLOR_HIGHLIGHT));
        raster::TextAt(cr, x0 + xOf(a), y, line.substr(static_cast<size_t>(a - at), static_cast<size_t>(b - a)),
                       GetSysColor(COLOR_HIGHLIGHTTEXT));
      }
      if (focused && i == caretLine && c.selStart() == c.selEnd()) {
        const LONG x = static_cast<LONG>(x0 + xOf(c.s->caret));
        raster::FillRect(cr, {x, static_cast<LONG>(y), x + 1, static_cast<LONG>(y + lh)}, GetSysColor(COLOR_WINDOWTEXT));
      }
    }
  });
}

void Changed(Ctx& c) {
  winmodel::Invalidate(c.w, nullptr, true);
  Notify(c, EN_UPDATE);
  Notify(c, EN_CHANGE);
}

std::string Cased(const Ctx& c, std::string s) {
  if (c.w->style & ES_UPPERCASE)
    for (char& ch : s)
      if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  if (c.w->style & ES_LOWERCASE)
    for (char& ch : s)
      if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  return s;
}

// Replaces the selection as typing would; the insert is cut to the limit
// (EN_MAXTEXT). False when nothing changed.
bool Replace(Ctx& c, std::string insert, bool notify) {
  insert = Cased(c, std::move(insert));
  const int start = c.selStart(), end = c.selEnd();
  const int room = c.s->limit - (c.length() - (end - start));
  bool cut = false;
  if (!insert.empty() && room < static_cast<int>(insert.size())) {
    insert.resize(static_cast<size_t>(std::max(room, 0)));
    cut = true;
  }
  if (cut && insert.empty() && start == end) {
    Notify(c, EN_MAXTEXT);
    return false;
  }
  c.text().replace(static_cast<size_t>(start), static_cast<size_t>(end - start), insert);
  c.s->anchor = c.s->caret = start + static_cast<int>(insert.size());
  c.s->modified = true;
  if (notify) Changed(c);
  if (cut) Notify(c, EN_MAXTEXT);
  return true;
}

void DeleteSelection(Ctx& c) {
  if (c.selStart() == c.selEnd()) return;
  Replace(c, "", true);
}

std::string Selected(const Ctx& c) {
  return c.w->text.substr(static_cast<size_t>(c.selStart()), static_cast<size_t>(c.selEnd() - c.selStart()));
}

void Copy(const Ctx& c) {
  const std::string s = Selected(c);
  if (s.empty() || c.s->passwordChar) return;
  if (!OpenClipboard(c.window)) return;
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, s.size() + 1);
  if (char* p = static_cast<char*>(GlobalLock(block))) {
    std::memcpy(p, s.c_str(), s.size() + 1);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
  }
  CloseClipboard();
}

void Paste(Ctx& c) {
  if (c.readOnly() || !OpenClipboard(c.window)) return;
  std::string s;
  if (HANDLE h = GetClipboardData(CF_TEXT)) {
    if (const char* p = static_cast<const char*>(GlobalLock(h))) {
      s = p;
      GlobalUnlock(h);
    }
  }
  CloseClipboard();
  // A single line takes the text up to the first line break.
  if (!c.multiline()) s = s.substr(0, s.find_first_of("\r\n"));
  if (!s.empty()) Replace(c, s, true);
}

void Move(Ctx& c, int to, bool extend) {
  to = std::clamp(to, 0, c.length());
  c.s->caret = to;
  if (!extend) c.s->anchor = to;
}

int CharFromX(Ctx& c, int x) {
  const int cw = std::max(1, static_cast<int>(controls::CharSize(c.window).cx));
  return std::clamp((x - c.s->leftMargin + cw / 2) / cw, 0, c.length());
}

LRESULT OnChar(Ctx& c, unsigned char ch) {
  switch (ch) {
    case 1:  // Ctrl+A
      c.s->anchor = 0;
      c.s->caret = c.length();
      return 0;
    case 3: Copy(c); return 0;
    case 22: Paste(c); return 0;
    case 24:
      Copy(c);
      if (!c.readOnly()) DeleteSelection(c);
      return 0;
    case 26: return 0;  // no undo headless
    case 8:
      if (c.readOnly()) return 0;
      if (c.selStart() == c.selEnd()) {
        if (c.s->caret == 0) return 0;
        c.s->anchor = c.s->caret - 1;
      }
      Replace(c, "", true);
      return 0;
    case '\r':
      if (c.multiline() && !c.readOnly() && (c.w->style & ES_WANTRETURN)) Replace(c, "\r\n", true);
      return 0;
    case '\t':
      if (c.multiline() && !c.readOnly()) Replace(c, "\t", true);
      return 0;
    default: break;
  }
  if (ch < 32 || ch == 127 || c.readOnly()) return 0;
  if ((c.w->style & ES_NUMBER) && !(ch >= '0' && ch <= '9')) {
    MessageBeep(0xFFFFFFFF);
    return 0;
  }
  Replace(c, std::string(1, static_cast<char>(ch)), true);
  return 0;
}

bool ForwardToCombo(Ctx& c, UINT message, WPARAM key, LPARAM lParam) {
  if (!c.w->IsChild()) return false;
  char cls[16];
  GetClassNameA(c.w->parent->handle, cls, sizeof cls);
  if (!controls::EqualNoCase(cls, "ComboBox")) return false;
  const bool alt = message == WM_SYSKEYDOWN;
  if (key == VK_UP || key == VK_DOWN || key == VK_F4 || key == VK_PRIOR || key == VK_NEXT ||
      (alt && key == VK_DOWN)) {
    SendMessageA(c.w->parent->handle, message, key, lParam);
    return true;
  }
  return false;
}

LRESULT OnKeyDown(Ctx& c, UINT message, WPARAM key, LPARAM lParam) {
  if (ForwardToCombo(c, message, key, lParam)) return 0;
  const bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
  switch (key) {
    case VK_DELETE:
      if (shift) {
        SendMessageA(c.window, WM_CUT, 0, 0);
      } else if (!c.readOnly()) {
        if (c.selStart() == c.selEnd()) {
          if (c.s->caret >= c.length()) return 0;
          c.s->anchor = c.s->caret + 1;
        }
        Replace(c, "", true);
      }
      return 0;
    case VK_INSERT:
      if (shift) SendMessageA(c.window, WM_PASTE, 0, 0);
      if (ctrl) SendMessageA(c.window, WM_COPY, 0, 0);
      return 0;
    case VK_LEFT: Move(c, c.s->caret - 1, shift); return 0;
    case VK_RIGHT: Move(c, c.s->caret + 1, shift); return 0;
    case VK_HOME: Move(c, 0, shift); return 0;
    case VK_END: Move(c, c.length(), shift); return 0;
    default: return DefWindowProcA(c.window, message, key, lParam);
  }
}

LRESULT DialogCode(Ctx& c, LPARAM lParam) {
  LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
  if (c.multiline()) code |= DLGC_WANTALLKEYS;
  const MSG* msg = reinterpret_cast<const MSG*>(lParam);
  if (msg && msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE) &&
      c.w->IsChild()) {
    // Enter and Escape close the open list of a combo box.
    char cls[16];
    GetClassNameA(c.w->parent->handle, cls, sizeof cls);
    if (controls::EqualNoCase(cls, "ComboBox") && SendMessageA(c.w->parent->handle, CB_GETDROPPEDSTATE, 0, 0))
      code |= DLGC_WANTMESSAGE;
  }
  return code;
}

int LineCount(const std::string& text) {
  return 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// The text, the selection and what may be typed.
controls::Answer OnTextMessage(Ctx& c, UINT message, WPARAM wParam, LPARAM lParam) {
  EditState* s = c.s;
  switch (message) {
    case WM_SETTEXT: {
      c.text() = lParam ? reinterpret_cast<const char*>(lParam) : "";
      s->anchor = s->caret = 0;
      s->modified = false;
      winmodel::Invalidate(c.w, nullptr, true);
      if (!c.multiline()) {
        Notify(c, EN_UPDATE);
        Notify(c, EN_CHANGE);
      }
      return TRUE;
    }
    case EM_GETSEL: {
      const DWORD start = static_cast<DWORD>(c.selStart()), end = static_cast<DWORD>(c.selEnd());
      if (wParam) *reinterpret_cast<DWORD*>(wParam) = start;
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = end;
      return MAKELONG(std::min<DWORD>(start, 0xFFFF), std::min<DWORD>(end, 0xFFFF));
    }
    case EM_SETSEL: {
      const int start = static_cast<int>(wParam), end = static_cast<int>(lParam);
      if (start == -1) {
        s->anchor = s->caret;
        return 0;
      }
      const int length = c.length();
      s->anchor = std::clamp(start, 0, length);
      s->caret = end < 0 ? length : std::clamp(end, 0, length);
      return 0;
    }
    case EM_REPLACESEL:
      if (lParam) Replace(c, reinterpret_cast<const char*>(lParam), true);
      return 0;
    case EM_GETMODIFY: return s->modified ? TRUE : FALSE;
    case EM_SETMODIFY: s->modified = wParam != 0; return 0;
    case EM_LIMITTEXT:
      s->limit = wParam ? static_cast<int>(std::min<WPARAM>(wParam, 0x7FFFFFFE)) : 0x7FFFFFFE;
      return 0;
    case EM_GETLIMITTEXT: return s->limit;
    case EM_SETREADONLY:
      c.w->style = wParam ? (c.w->style | ES_READONLY) : (c.w->style & ~ES_READONLY);
      return TRUE;
    case EM_SCROLLCARET: return TRUE;
    case EM_CANUNDO:
    case EM_UNDO: return FALSE;
    case EM_EMPTYUNDOBUFFER: return 0;
    case EM_SETPASSWORDCHAR: s->passwordChar = static_cast<char>(wParam); return 0;
    case EM_GETPASSWORDCHAR: return static_cast<unsigned char>(s->passwordChar);
    default: return std::nullopt;
  }
}

// The lines of a multi-line edit (a single-line one has one).
controls::Answer OnLineMessage(Ctx& c, UINT message, WPARAM wParam, LPARAM lParam) {
  EditState* s = c.s;
  switch (message) {
    case EM_GETLINECOUNT: return c.multiline() ? LineCount(c.text()) : 1;
    case EM_LINEINDEX: {
      int line = static_cast<int>(wParam);
      if (line < 0) line = static_cast<int>(std::count(c.text().begin(), c.text().begin() + s->caret, '\n'));
      size_t at = 0;
      for (int i = 0; i < line; ++i) {
        at = c.text().find('\n', at);
        if (at == std::string::npos) return -1;
        ++at;
      }
      return static_cast<LRESULT>(at);
    }
    case EM_LINEFROMCHAR: {
      int at = static_cast<int>(wParam);
      if (at < 0) at = s->caret;
      at = std::clamp(at, 0, c.length());
      return std::count(c.text().begin(), c.text().begin() + at, '\n');
    }
    case EM_LINELENGTH: {
      if (!c.multiline()) return c.length();
      int at = std::clamp(static_cast<int>(wParam), 0, c.length());
      size_t begin = c.text().rfind('\n', at == 0 ? 0 : static_cast<size_t>(at - 1));
      begin = (begin == std::string::npos || at == 0) ? 0 : begin + 1;
      size_t end = c.text().find_first_of("\r\n", begin);
      if (end == std::string::npos) end = c.text().size();
      return static_cast<LRESULT>(end - begin);
    }
    case EM_GETLINE: {
      char* out = reinterpret_cast<char*>(lParam);
      if (!out) return 0;
      WORD size;
      std::memcpy(&size, out, sizeof size);
      std::string line = c.text();
      if (c.multiline()) {
        size_t begin = 0;
        for (WPARAM i = 0; i < wParam && begin != std::string::npos; ++i) {
          begin = line.find('\n', begin);
          if (begin != std::string::npos) ++begin;
        }
        if (begin == std::string::npos) return 0;
        size_t end = line.find_first_of("\r\n", begin);
        line = line.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
      }
      const size_t n = std::min<size_t>(line.size(), size);
      std::memcpy(out, line.data(), n);
      return static_cast<LRESULT>(n);
    }
    default: return std::nullopt;
  }
}

// Margins and where characters are.
controls::Answer OnGeometryMessage(Ctx& c, UINT message, WPARAM wParam, LPARAM lParam) {
  EditState* s = c.s;
  HWND window = c.window;
  switch (message) {
    case EM_SETMARGINS:
      if (wParam & 1) s->leftMargin = LOWORD(lParam);
      if (wParam & 2) s->rightMargin = HIWORD(lParam);
      return 0;
    case EM_GETMARGINS: return MAKELONG(s->leftMargin, s->rightMargin);
    case EM_POSFROMCHAR: {
      const int at = std::clamp(static_cast<int>(wParam), 0, c.length());
      return MAKELONG(s->leftMargin + at * controls::CharSize(window).cx, 0);
    }
    case EM_CHARFROMPOS: return MAKELONG(CharFromX(c, GET_X_LPARAM(lParam)), 0);
    case EM_GETRECT:
      if (RECT* r = reinterpret_cast<RECT*>(lParam)) {
        GetClientRect(window, r);
        r->left += s->leftMargin;
        r->right -= s->rightMargin;
      }
      return 0;
    default: return std::nullopt;
  }
}

// Cut, copy, paste and clear.
controls::Answer OnClipboardMessage(Ctx& c, UINT message, WPARAM, LPARAM) {
  switch (message) {
    case WM_CUT:
      Copy(c);
      if (!c.readOnly()) DeleteSelection(c);
      return 0;
    case WM_COPY: Copy(c); return 0;
    case WM_PASTE: Paste(c); return 0;
    case WM_CLEAR:
      if (!c.readOnly()) DeleteSelection(c);
      return 0;
    default: return std::nullopt;
  }
}

// The keys, the mouse, the focus and enabling.
controls::Answer OnInputMessage(Ctx& c, UINT message, WPARAM wParam, LPARAM lParam) {
  EditState* s = c.s;
  HWND window = c.window;
  switch (message) {
    case WM_GETDLGCODE: return DialogCode(c, lParam);
    case WM_CHAR: return OnChar(c, static_cast<unsigned char>(wParam));
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: return OnKeyDown(c, message, wParam, lParam);
    case WM_SETFOCUS:
      s->focused = true;
      Notify(c, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      s->focused = false;
      Notify(c, EN_KILLFOCUS);
      return 0;
    case WM_LBUTTONDOWN: {
      if (GetFocus() != window) SetFocus(window);
      if (!IsWindow(window)) return 0;
      const int at = CharFromX(c, GET_X_LPARAM(lParam));
      Move(c, at, GetKeyState(VK_SHIFT) < 0);
      return 0;
    }
    case WM_LBUTTONDBLCLK: {
      // The word under the pointer.
      int at = CharFromX(c, GET_X_LPARAM(lParam));
      const std::string& t = c.text();
      auto word = [&](int i) { return i >= 0 && i < c.length() && !std::isspace(static_cast<unsigned char>(t[static_cast<size_t>(i)])); };
      int begin = at, end = at;
      while (word(begin - 1)) --begin;
      while (word(end)) ++end;
      s->anchor = begin;
      s->caret = end;
      return 0;
    }
    case WM_ENABLE: winmodel::Invalidate(c.w, nullptr, true); return 0;
    default: return std::nullopt;
  }
}

}  // namespace

LRESULT EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    EditState* s = controls::Attach<EditState>(window);
    auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    if (cs->style & ES_MULTILINE) s->limit = 0x7FFFFFFE;
    return DefWindowProcA(window, message, wParam, lParam);
  }
  EditState* s = controls::StateOf<EditState>(window);
  if (!s) return DefWindowProcA(window, message, wParam, lParam);
  Ctx c{window, winmodel::Find(window), s};
  if (message == WM_PAINT) {
    Paint(c);
    return 0;
  }
  return controls::Dispatch(c, message, wParam, lParam, OnTextMessage, OnLineMessage, OnGeometryMessage,
                            OnClipboardMessage, OnInputMessage);
}
