#include "common/CModule.h"

#include <cstring>
#include <new>

#include "platform/win32/module_loader.h"

CModule::CModule(const char* path, bool ownLibrary) : ownLibrary_(ownLibrary) { SetPath(path); }

CModule::~CModule() {
  if (module_ && ownLibrary_) FreeLibrary(module_);
  module_ = nullptr;
  delete[] path_;
  path_ = nullptr;
  ownLibrary_ = true;
}

bool CModule::SetPath(const char* path) {
  delete[] path_;
  path_ = nullptr;
  if (module_) {
    if (ownLibrary_) FreeLibrary(module_);
    module_ = nullptr;
  }
  if (!path) return false;
  size_t n = std::strlen(path) + 1;
  path_ = new (std::nothrow) char[n];
  if (!path_) return false;
  std::memcpy(path_, path, n);
  return true;
}

bool CModule::GetProc(void** slot, const char* name) {
  if (!module_) {
    if (!path_) return false;
    module_ = LoadLibraryA(path_);
    if (!module_) return false;
  }
  *slot = reinterpret_cast<void*>(GetProcAddress(module_, name));
  return *slot != nullptr;
}
