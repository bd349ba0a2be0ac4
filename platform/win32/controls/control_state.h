// Shared pieces of the stock controls (platform internal).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/control_messages.h"
#include "platform/win32/controls/item_list.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/window_model.h"

typedef struct _cairo cairo_t;

namespace controls {

template <class T>
T* StateOf(HWND window) {
  winmodel::Window* w = winmodel::Find(window);
  return w ? dynamic_cast<T*>(w->state.get()) : nullptr;
}

template <class T>
T* Attach(HWND window) {
  winmodel::Window* w = winmodel::Find(window);
  if (!w) return nullptr;
  auto state = std::make_unique<T>();
  T* raw = state.get();
  w->state = std::move(state);
  return raw;
}

// A window procedure hands each message to its family's handler, which
// answers it, or gives nullopt for a message not of its family. Messages
// no family takes go to DefWindowProcA.
using Answer = std::optional<LRESULT>;

template <class Ctx, class... Handlers>
LRESULT Dispatch(Ctx& c, UINT message, WPARAM wParam, LPARAM lParam, Handlers... handlers) {
  Answer answer;
  ((answer = handlers(c, message, wParam, lParam)) || ...);
  return answer ? *answer : DefWindowProcA(c.window, message, wParam, lParam);
}

// The average character size of the window's font.
SIZE CharSize(HWND window);

// Case-insensitive (code page 1250) compare and prefix test.
bool EqualNoCase(const std::string& a, const std::string& b);
bool StartsWithNoCase(const std::string& text, const std::string& prefix);

// WM_PAINT of a stock control: validates the window and, when its device
// context draws pixels (a picture is being taken), calls `paint` with the
// drawing context, the client rectangle and the window's font in use.
void PaintControl(HWND window, const std::function<void(cairo_t* cr, const RECT& client)>& paint);

// Paints the texts of a list of items (list boxes, open combo lists) from
// item `top` in rows of `itemHeight`, the selected ones highlighted.
void PaintItems(cairo_t* cr, const RECT& area, const std::vector<Item>& items, int top, int itemHeight, int current);

// Sends WM_DRAWITEM to the owner of an owner-drawn control.
void DrawOwnerItem(HWND control, UINT type, UINT itemId, UINT state, uintptr_t data);

}  // namespace controls
