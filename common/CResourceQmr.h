// A resource-only library loaded for the life of the object and made the
// module's current resource handle meanwhile.
#pragma once

#include "platform/win32/win32_types.h"

class CResourceQmr {
 public:
  explicit CResourceQmr(const char* path);
  virtual ~CResourceQmr();
  CResourceQmr(const CResourceQmr&) = delete;
  CResourceQmr& operator=(const CResourceQmr&) = delete;

  bool IsLoaded() const { return loaded_; }
  HMODULE GetLibrary() const { return library_; }

 private:
  HMODULE library_ = nullptr;
  HINSTANCE previous_ = nullptr;
  bool loaded_ = false;
};
