// For a test program that loads the wizard as the LT host would: under the
// LT name the program itself is the host, so it exports the two functions
// the library fetches from it. Include it in one file of the program.
#pragma once

#include <cstring>
#include <string>

#include "common/HostExport2D.h"
#include "platform/win32/module_loader.h"

extern "C" __attribute__((visibility("default"))) int GetProfilePath(int, char* buffer, int size) {
  std::strncpy(buffer, "/profiles/lt-user/", static_cast<size_t>(size) - 1);
  buffer[size - 1] = '\0';
  return 5100;
}

extern "C" __attribute__((visibility("default"))) HostExport2D* GetExport2D() {
  static HostExport2D table{};
  return &table;
}

inline std::string ProgramPath() {
  char path[4096];
  GetModuleFileNameA(nullptr, path, sizeof path);
  return path;
}
