// Handle of an outside library loaded by path on the first fetch.
#pragma once

#include "platform/win32/win32_types.h"

class CModule {
 public:
  CModule(const char* path, bool ownLibrary);
  virtual ~CModule();
  CModule(const CModule&) = delete;
  CModule& operator=(const CModule&) = delete;

  // Loads the library on first use; stores the named export in *slot and
  // reports whether it was found.
  bool GetProc(void** slot, const char* name);

  const char* GetPath() const { return path_; }
  HMODULE GetModule() const { return module_; }

 protected:
  // Replaces the path, releasing the module loaded from the old one.
  bool SetPath(const char* path);

 private:
  bool ownLibrary_ = true;
  char* path_ = nullptr;
  HMODULE module_ = nullptr;
};
