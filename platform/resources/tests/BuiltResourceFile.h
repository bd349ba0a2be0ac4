// A resource file as the build placed it in the module folder
// (JOV_MODULE_DIR, else the bin folder beside the test program's own), and
// the checks the files' tests share.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/win32/module_loader.h"
#include "platform/win32/resources.h"

// The module folder the build lays the resource files into.
inline std::string BuiltModuleFolder() {
  const char* dir = std::getenv("JOV_MODULE_DIR");
  return dir ? dir : (std::filesystem::canonical("/proc/self/exe").parent_path().parent_path() / "bin").string();
}

// Null when it cannot be loaded (LastLoadErrorText says why).
inline HMODULE LoadBuiltResourceFile(const char* fileName) {
  return LoadLibraryA((BuiltModuleFolder() + "\\" + fileName).c_str());
}

// The icon of that id is a real one: an icon directory with images.
inline void ExpectRealIcon(HMODULE module, UINT id) {
  HICON icon = LoadIconA(module, MAKEINTRESOURCEA(id));
  ASSERT_NE(icon, nullptr) << "icon " << id;
  ASSERT_GE(icon->Size(), 6u + 16u);
  const BYTE* d = icon->Bytes();
  EXPECT_EQ(d[2], 1) << "an icon directory";
  EXPECT_GE(d[4], 1) << "with images";
}
