#include "wizard/dialogs/ProductPlacement.h"

#include <algorithm>
#include <string>

#include "common/SettingsWrite.h"
#include "common/WindowLayoutCodec.h"
#include "platform/win32/profile.h"
#include "platform/win32/registry.h"
#include "platform/win32/window_api.h"
#include "wizard/dialogs/ProductDialogHost.h"
#include "wizard/frame/engine/EngineState.h"

namespace {

std::string PlacementKey() { return TheProductDialogHost().RegistryRoot() + "CPPDlg"; }

bool SetDword(HKEY key, const char* name, int value) {
  const DWORD dword = static_cast<DWORD>(value);
  return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dword), sizeof dword) ==
         ERROR_SUCCESS;
}

}  // namespace

ProductPlacement ReadProductPlacement() {
  ProductPlacement placement;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, PlacementKey().c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return placement;
  DWORD value = 0, type = 0, size = sizeof value;
  if (RegQueryValueExA(key, "Switch", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
      type == REG_DWORD && size == sizeof value) {
    placement.hasSwitch = true;
    placement.switchValue = static_cast<int>(value);
  }
  size = sizeof placement.rect;
  placement.hasRect = RegQueryValueExA(key, "Rect", nullptr, &type, reinterpret_cast<BYTE*>(&placement.rect),
                                       &size) == ERROR_SUCCESS &&
                      size == sizeof placement.rect;
  if (!placement.hasRect) placement.rect = {};
  RegCloseKey(key);
  return placement;
}

bool WriteProductPlacement(int switchValue, const RECT* rect, const int* keepProducerData) {
  const std::string path = PlacementKey();
  return WriteRegistrySettings(path, [&] {
    HKEY key = nullptr;
    if (RegCreateKeyA(HKEY_CURRENT_USER, path.c_str(), &key) != ERROR_SUCCESS) return false;
    bool written = SetDword(key, "Switch", switchValue);
    if (keepProducerData) written = SetDword(key, "SwitchPP1", *keepProducerData) && written;
    if (rect)
      written = RegSetValueExA(key, "Rect", 0, REG_BINARY, reinterpret_cast<const BYTE*>(rect), sizeof *rect) ==
                    ERROR_SUCCESS &&
                written;
    RegCloseKey(key);
    return written;
  });
}

void MoveToStoredPlace(HWND dialog, const ProductPlacement& placement) {
  if (!placement.hasRect || (placement.rect.left == 0 && placement.rect.top == 0)) return;
  RECT window{};
  ::GetWindowRect(dialog, &window);
  // Far beyond any screen is as far as the limit: the fitting does the rest.
  auto within = [](LONG v) { return std::clamp<LONG>(v, -kLayoutCoordinateLimit, kLayoutCoordinateLimit); };
  // The dialog cannot be resized: its own size is its minimum, and stays.
  const SIZE size{window.right - window.left, window.bottom - window.top};
  RECT rect{within(placement.rect.left), within(placement.rect.top), 0, 0};
  rect.right = rect.left + size.cx;
  rect.bottom = rect.top + size.cy;
  rect = FitLayoutOnScreen(rect, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), size);
  ::SetWindowPos(dialog, nullptr, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

int PreviewBackgroundColour() {
  return static_cast<int>(
      GetPrivateProfileIntA("VIEW", "BGCOLOR", 0, MakeProfilePath("Dat\\Jov.ini").c_str()));
}
