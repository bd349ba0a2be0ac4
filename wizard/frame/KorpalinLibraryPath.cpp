// Where the outside radiator catalogue is: beside the library, once one of
// the Vantrix programs' registry entries of the machine says so.
#include <cstring>
#include <string>

#include "wizard/frame/CRegister.h"
#include "wizard/frame/CWizardDllApp.h"

bool CWizardDllApp::FindKorpalinLibrary(char* out, unsigned size) const {
  if (!out || size == 0) return false;
  *out = '\0';
  struct Entry {
    const char* base;
    const char* subkey;
    const char* value;
  };
  static constexpr Entry kEntries[] = {
      {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\", "Programy VANTRIX", "Path"},
      {"Software\\Katalogy JOV\\Common\\", "Path", "Spolecne soubory"},
      {"Software\\Vantrix\\Common\\", "Path", "Spolecne soubory"},
  };
  for (const Entry& entry : kEntries) {
    CRegister key(entry.base, HKEY_LOCAL_MACHINE, true);
    char text[516] = "";
    const bool found = key.Open(entry.subkey) && key.GetValue(entry.value, text, sizeof text) && *text;
    key.Close();
    // The text itself only tells that the programs are installed.
    if (!found) continue;
    const std::string path = std::string(m_baseFolder) + "Korpalin_stl_x64.dll";
    if (path.size() >= size) return false;
    std::memcpy(out, path.c_str(), path.size() + 1);
    return true;
  }
  return false;
}
