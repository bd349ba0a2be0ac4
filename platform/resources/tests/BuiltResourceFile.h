// A resource file as the build placed it in the module folder
// (JOV_MODULE_DIR, else the bin folder beside the test program's own).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/win32/module_loader.h"

// Null when it cannot be loaded (LastLoadErrorText says why).
inline HMODULE LoadBuiltResourceFile(const char* fileName) {
  const char* dir = std::getenv("JOV_MODULE_DIR");
  const std::string base =
      dir ? dir : (std::filesystem::canonical("/proc/self/exe").parent_path().parent_path() / "bin").string();
  return LoadLibraryA((base + "\\" + fileName).c_str());
}
