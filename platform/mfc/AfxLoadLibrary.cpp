#include "platform/mfc/AfxLoadLibrary.h"

#include <mutex>

namespace {
std::recursive_mutex& LoaderLock() {
  static std::recursive_mutex lock;
  return lock;
}
}  // namespace

HINSTANCE AfxLoadLibrary(LPCSTR fileName) {
  std::lock_guard guard(LoaderLock());
  return LoadLibraryA(fileName);
}

BOOL AfxFreeLibrary(HINSTANCE library) {
  std::lock_guard guard(LoaderLock());
  return FreeLibrary(library);
}
