// The scene library's resource file where every program finds it: the
// machine's shared folder, for tests whose programs lie elsewhere.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/win32/registry.h"

namespace gltest {

// Makes "GLOBJECT.GLR" of the module folder the machine's shared copy: it
// goes into a shared folder under `folder`, which the current registry
// names as the common files folder.
inline void InstallSharedGlr(const std::string& folder) {
  const std::string shared = folder + "/common/Quenlor Shared";
  std::filesystem::create_directories(shared);
  const char* modules = std::getenv("JOV_MODULE_DIR");
  std::filesystem::copy_file(std::string(modules ? modules : ".") + "/GLOBJECT.GLR", shared + "/GLOBJECT.GLR",
                             std::filesystem::copy_options::overwrite_existing);
  HKEY key = nullptr;
  RegCreateKeyA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", &key);
  const std::string common = folder + "/common";
  RegSetValueExA(key, "CommonFilesDir", 0, REG_SZ, reinterpret_cast<const BYTE*>(common.c_str()),
                 static_cast<DWORD>(common.size() + 1));
  RegCloseKey(key);
}

}  // namespace gltest
