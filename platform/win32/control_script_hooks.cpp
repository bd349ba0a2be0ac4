#include "platform/win32/control_script_hooks.h"

#include <map>
#include <mutex>

#include "platform/win32/window_model.h"

namespace {

std::map<HWND, ControlScriptHooks>& Hooks() {
  static auto* hooks = new std::map<HWND, ControlScriptHooks>;
  return *hooks;
}

void Forget(HWND window) { Hooks().erase(window); }

}  // namespace

void SetControlScriptHooks(HWND window, ControlScriptHooks hooks) {
  static std::once_flag once;
  std::call_once(once, [] { winmodel::AddWindowHooks(nullptr, &Forget); });
  if (!hooks.describe && !hooks.findItem)
    Hooks().erase(window);
  else
    Hooks()[window] = std::move(hooks);
}

const ControlScriptHooks* FindControlScriptHooks(HWND window) {
  auto it = Hooks().find(window);
  return it == Hooks().end() ? nullptr : &it->second;
}
