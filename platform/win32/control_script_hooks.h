// What a custom-drawn control tells the input driver and the reports about
// itself, since neither can look inside it: a text the runner's verbose
// report prints under the control's line as its dialog closes, and the
// client point where one of its items can be clicked (the script word
// preview-pick). A control sets its hooks while it lives; they go with its
// window.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/win32/geometry.h"

struct ControlScriptHooks {
  // Lines describing the control's content, each ending in a line feed.
  std::function<std::string()> describe;
  // A client point where a click hits the item with this id; false when no
  // point does.
  std::function<bool(uint32_t id, POINT* clientPoint)> findItem;
};

// Replaces the window's hooks; empty hooks remove them.
void SetControlScriptHooks(HWND window, ControlScriptHooks hooks);
// Null when the window set none.
const ControlScriptHooks* FindControlScriptHooks(HWND window);
