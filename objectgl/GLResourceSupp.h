// A resource-only library of the scene library ("GLOBJECT.GLR"), made the
// framework's current resource source for the life of the object when asked.
#pragma once

#include "platform/win32/module_loader.h"
#include "platform/win32/resources.h"

inline constexpr const char* kObjectGLResourceFile = "GLOBJECT.GLR";

// Loads a resource file of the scene library from the program's folder, then
// the folder of `moduleName` (null: the module holding the scene library),
// then, without a module name, the shared folder ("CommonFilesDir" of the
// machine + "\Quenlor Shared\"). Never from the current folder: a file
// planted there must not be loaded. Null when none loads.
HMODULE LoadObjectGLResources(const char* fileName, const char* moduleName);

class GLResourceSupp {
 public:
  // Always raises GLException 1006.
  GLResourceSupp();
  // Raises GLException 1005 when the file is found nowhere.
  GLResourceSupp(const char* fileName, bool switchResources, const char* moduleName);
  // An already loaded module, not owned; a null module raises 1005.
  GLResourceSupp(HMODULE module, bool switchResources);
  GLResourceSupp(const GLResourceSupp&) = delete;
  GLResourceSupp& operator=(const GLResourceSupp&) = delete;
  virtual ~GLResourceSupp();

  HGLOBAL LoadResourceByName(const char* name, const char* type) const;
  HGLOBAL LoadResourceById(WORD id, const char* type) const;
  // The size of a resource, 0 when it is missing.
  DWORD SizeOfResourceById(WORD id, const char* type) const;
  HMODULE GetModule() const { return module_; }

 private:
  void Switch();

  HMODULE module_ = nullptr;
  bool owned_ = false;
  HINSTANCE previous_ = nullptr;
  bool switch_ = false;
};
