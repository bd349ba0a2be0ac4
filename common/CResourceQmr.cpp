#include "common/CResourceQmr.h"

#include "platform/mfc/module_state.h"
#include "platform/win32/module_loader.h"

CResourceQmr::CResourceQmr(const char* path) {
  if (!path) return;
  library_ = LoadLibraryA(path);
  if (!library_) return;
  previous_ = AfxGetResourceHandle();
  AfxSetResourceHandle(library_);
  loaded_ = true;
}

CResourceQmr::~CResourceQmr() {
  if (previous_) AfxSetResourceHandle(previous_);
  if (library_) FreeLibrary(library_);
  library_ = nullptr;
}
