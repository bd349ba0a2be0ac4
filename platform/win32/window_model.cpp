#include "platform/win32/window_model.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "platform/win32/code_page.h"
#include "platform/win32/error_codes.h"
#include "platform/win32/headless_metrics.h"
#include "platform/win32/message_queue.h"

namespace winmodel {

namespace {

struct Registry {
  std::unordered_map<uintptr_t, std::unique_ptr<Window>> live;
  std::vector<std::unique_ptr<Window>> zombies;
  std::vector<Window*> order;  // live windows, oldest first
  uintptr_t next = 0x10010;
  Window desktop;
  std::vector<std::pair<CreatedHook, DestroyedHook>> hooks;
  std::vector<ClientSizeHook> sizeHooks;

  Registry() {
    desktop.handle = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x10000));
    desktop.className = "#32769";
    desktop.style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  }
};

Registry& R() {
  static Registry* r = new Registry;
  return *r;
}

}  // namespace

ControlState::~ControlState() = default;

Window* Find(HWND handle) {
  if (!handle) return nullptr;
  Registry& r = R();
  if (handle == r.desktop.handle) return &r.desktop;
  auto it = r.live.find(reinterpret_cast<uintptr_t>(handle));
  return it == r.live.end() ? nullptr : it->second.get();
}

Window* FindValid(HWND handle) {
  Window* w = Find(handle);
  if (!w) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return w;
}

Window* Desktop() { return &R().desktop; }

std::vector<Window*> AllWindows() { return R().order; }

Window* NewWindow() {
  Registry& r = R();
  auto w = std::make_unique<Window>();
  w->handle = reinterpret_cast<HWND>(r.next);
  r.next += 4;
  Window* raw = w.get();
  r.live.emplace(reinterpret_cast<uintptr_t>(raw->handle), std::move(w));
  r.order.push_back(raw);
  return raw;
}

void ForgetWindow(Window* w) {
  Registry& r = R();
  w->destroyed = true;
  r.order.erase(std::remove(r.order.begin(), r.order.end(), w), r.order.end());
  auto it = r.live.find(reinterpret_cast<uintptr_t>(w->handle));
  if (it == r.live.end()) return;
  std::unique_ptr<Window> owned = std::move(it->second);
  r.live.erase(it);
  if (w->calls > 0) r.zombies.push_back(std::move(owned));
}

CallGuard::CallGuard(Window* w) : w_(w) { ++w_->calls; }

CallGuard::~CallGuard() {
  if (--w_->calls > 0 || !w_->destroyed) return;
  auto& z = R().zombies;
  auto it = std::find_if(z.begin(), z.end(), [&](const std::unique_ptr<Window>& p) { return p.get() == w_; });
  if (it != z.end()) z.erase(it);
}

LRESULT Call(Window* w, UINT message, WPARAM wParam, LPARAM lParam) {
  CallGuard guard(w);
  WNDPROC proc = w->proc;
  return proc ? proc(w->handle, message, wParam, lParam) : 0;
}

Insets NonClientInsets(DWORD style, DWORD exStyle, bool hasMenu) {
  int frame = 0;
  if (style & WS_THICKFRAME)
    frame = headless::kThickFrame;
  else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
    frame = headless::kDialogFrame;
  else if (style & WS_BORDER)
    frame = headless::kBorder;
  Insets in{frame, frame, frame, frame};
  if ((style & WS_CAPTION) == WS_CAPTION) in.top += headless::kCaption;
  if (hasMenu) in.top += headless::kMenuBar;
  int edge = 0;
  if (exStyle & WS_EX_CLIENTEDGE) edge += headless::kClientEdge;
  if (exStyle & WS_EX_STATICEDGE) edge += headless::kStaticEdge;
  in.left += edge;
  in.top += edge;
  in.right += edge;
  in.bottom += edge;
  if (style & WS_VSCROLL) in.right += headless::kScrollBar;
  if (style & WS_HSCROLL) in.bottom += headless::kScrollBar;
  return in;
}

Insets NonClientInsets(const Window* w) {
  // A combo box's scroll bar styles are its list's: the closed box keeps
  // its whole width.
  const DWORD scroll = EqualsIgnoreCase(w->className, "ComboBox") ? WS_VSCROLL | WS_HSCROLL : 0;
  return NonClientInsets(w->style & ~scroll, w->exStyle, !w->IsChild() && w->menu != nullptr);
}

RECT ClientArea(const Window* w) {
  if (w->IsDesktop()) {
    const HeadlessMetrics& m = GetHeadlessMetrics();
    return {0, 0, m.screenWidth, m.screenHeight};
  }
  if ((w->style & WS_MINIMIZE) && !w->IsChild()) return {0, 0, 0, 0};
  Insets in = NonClientInsets(w);
  const int width = w->rect.right - w->rect.left, height = w->rect.bottom - w->rect.top;
  RECT r{in.left, in.top, width - in.right, height - in.bottom};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

RECT ScreenRect(const Window* w) {
  if (w->IsDesktop()) return ClientArea(w);
  POINT origin = ClientOrigin(w->parent);
  RECT r = w->rect;
  OffsetRect(&r, origin.x, origin.y);
  return r;
}

POINT ClientOrigin(const Window* w) {
  if (w->IsDesktop()) return {0, 0};
  RECT screen = ScreenRect(w);
  RECT client = ClientArea(w);
  return {screen.left + client.left, screen.top + client.top};
}

int ClientWidth(const Window* w) {
  RECT r = ClientArea(w);
  return r.right - r.left;
}

int ClientHeight(const Window* w) {
  RECT r = ClientArea(w);
  return r.bottom - r.top;
}

Window* Root(Window* w) {
  if (!w || w->IsDesktop()) return w;
  while (w->parent && !w->parent->IsDesktop()) w = w->parent;
  return w;
}

bool IsDescendant(const Window* ancestor, const Window* w) {
  if (!ancestor || !w) return false;
  for (const Window* p = w->parent; p; p = p->parent)
    if (p == ancestor) return true;
  return false;
}

void Unlink(Window* w) {
  if (!w->parent) return;
  auto& c = w->parent->children;
  c.erase(std::remove(c.begin(), c.end(), w), c.end());
}

void LinkAt(Window* parent, Window* w, size_t index) {
  w->parent = parent;
  auto& c = parent->children;
  c.insert(c.begin() + static_cast<std::ptrdiff_t>(std::min(index, c.size())), w);
}

size_t IndexInParent(const Window* w) {
  if (!w->parent) return 0;
  const auto& c = w->parent->children;
  return static_cast<size_t>(std::find(c.begin(), c.end(), w) - c.begin());
}

void AddWindowHooks(CreatedHook created, DestroyedHook destroyed) { R().hooks.emplace_back(created, destroyed); }

void RunCreatedHooks(HWND window, const CREATESTRUCTA* create) {
  for (auto& h : R().hooks)
    if (h.first) h.first(window, create);
}

void AddClientSizeHook(ClientSizeHook hook) { R().sizeHooks.push_back(hook); }

void RunClientSizeHooks(HWND window) {
  for (auto hook : R().sizeHooks) hook(window);
}

void RunDestroyedHooks(HWND window) {
  for (auto& h : R().hooks)
    if (h.second) h.second(window);
}

namespace {
Window* NotifyTarget(Window* control) {
  if (control->IsChild()) return control->parent;
  return control->owner;
}
}  // namespace

LRESULT NotifyCommand(Window* control, UINT code) {
  Window* target = NotifyTarget(control);
  if (!target) return 0;
  return SendMessageA(target->handle, WM_COMMAND, MAKEWPARAM(control->id, code),
                      reinterpret_cast<LPARAM>(control->handle));
}

LRESULT NotifyParent(Window* control, NMHDR* header, UINT code) {
  Window* target = NotifyTarget(control);
  header->hwndFrom = control->handle;
  header->idFrom = static_cast<UINT_PTR>(static_cast<unsigned>(control->id));
  header->code = code;
  if (!target) return 0;
  return SendMessageA(target->handle, WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(header));
}

void Invalidate(Window* w, const RECT* clientRect, bool erase) {
  if (!w || w->IsDesktop()) return;
  RECT all{0, 0, ClientWidth(w), ClientHeight(w)};
  RECT r = all;
  if (clientRect && !IntersectRect(&r, clientRect, &all)) return;
  if (IsRectEmpty(&r)) return;
  if (w->hasUpdate)
    UnionRect(&w->update, &w->update, &r);
  else
    w->update = r;
  w->hasUpdate = true;
  w->updateErase = w->updateErase || erase;
}

LRESULT CopyTextOut(const std::string& text, WPARAM size, LPARAM buffer) {
  char* out = reinterpret_cast<char*>(buffer);
  if (!out || size == 0) return 0;
  size_t n = std::min(text.size(), static_cast<size_t>(size) - 1);
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
  return static_cast<LRESULT>(n);
}

}  // namespace winmodel
