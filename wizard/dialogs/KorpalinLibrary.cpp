#include "wizard/dialogs/KorpalinLibrary.h"

#include <cstring>

#include "platform/mfc/AfxLoadLibrary.h"
#include "platform/win32/registry.h"
#include "wizard/frame/engine/KorpalinData.h"

namespace {

// A REG_SZ value of a key under HKEY_LOCAL_MACHINE, "" when missing.
std::string MachineText(const std::string& key, const char* name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return "";
  char text[516] = "";
  DWORD type = 0, size = sizeof text - 1;
  const LSTATUS status = RegQueryValueExA(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
  RegCloseKey(opened);
  if (status != ERROR_SUCCESS || type != REG_SZ) return "";
  text[size < sizeof text ? size : sizeof text - 1] = '\0';
  return text;
}

}  // namespace

bool FindKorpalinLibrary(const std::string& baseFolder, char* out, unsigned size) {
  if (!out || size == 0) return false;
  *out = '\0';
  struct Entry {
    const char* key;
    const char* value;
  };
  static constexpr Entry kEntries[] = {
      {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Programy VANTRIX", "Path"},
      {"Software\\Katalogy JOV\\Common\\Path", "Spolecne soubory"},
      {"Software\\Vantrix\\Common\\Path", "Spolecne soubory"},
  };
  for (const Entry& entry : kEntries) {
    // The text only tells that the programs are installed.
    if (MachineText(entry.key, entry.value).empty()) continue;
    const std::string path = baseFolder + "Korpalin_stl_x64.dll";
    if (path.size() >= size) return false;
    std::memcpy(out, path.c_str(), path.size() + 1);
    return true;
  }
  return false;
}

int ChooseFromKorpalinCatalogue(const char* path, HWND owner, KorpalinData* record) {
  using Choose = int (*)(int, KorpalinData*);
  using ChooseOwned = int (*)(HWND, int, KorpalinData*);
  HINSTANCE library = AfxLoadLibrary(path);
  if (!library) return 0;
  int result = 0;
  try {
    if (auto choose = reinterpret_cast<Choose>(GetProcAddress(library, "DejTeleso")))
      result = choose(0, record);
    else if (auto chooseOwned = reinterpret_cast<ChooseOwned>(GetProcAddress(library, "DejTeleso2")))
      result = chooseOwned(owner, 0, record);
  } catch (...) {
    // Whatever the library throws is no choice.
    result = 0;
  }
  AfxFreeLibrary(library);
  return result;
}
