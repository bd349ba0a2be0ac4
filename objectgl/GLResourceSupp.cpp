#include "objectgl/GLResourceSupp.h"

#include <string>

#include "objectgl/GLException.h"
#include "platform/mfc/module_state.h"
#include "platform/win32/registry.h"

namespace {

std::string FolderOf(HMODULE module) {
  char path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(module, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  std::string folder(path, n);
  const size_t cut = folder.find_last_of("\\/");
  return cut == std::string::npos ? std::string() : folder.substr(0, cut + 1);
}

std::string SharedFolder() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", 0, KEY_READ, &key) !=
      ERROR_SUCCESS)
    return {};
  char value[MAX_PATH] = {};
  DWORD size = sizeof value - 1;
  DWORD type = 0;
  const LSTATUS status =
      RegQueryValueExA(key, "CommonFilesDir", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || type != REG_SZ || value[0] == '\0') return {};
  return std::string(value) + "\\Quenlor Shared\\";
}

HMODULE TryLoad(const std::string& folder, const char* fileName) {
  if (folder.empty()) return nullptr;
  return LoadLibraryA((folder + fileName).c_str());
}

}  // namespace

HMODULE LoadObjectGLResources(const char* fileName, const char* moduleName) {
  if (!fileName || !*fileName) return nullptr;
  if (HMODULE m = TryLoad(FolderOf(nullptr), fileName)) return m;
  HMODULE owner = moduleName ? GetModuleHandleA(moduleName)
                             : ModuleFromAddress(reinterpret_cast<const void*>(&LoadObjectGLResources));
  if (owner) {
    if (HMODULE m = TryLoad(FolderOf(owner), fileName)) return m;
  }
  if (!moduleName) return TryLoad(SharedFolder(), fileName);
  return nullptr;
}

GLResourceSupp::GLResourceSupp() { throw GLException(GL_ERROR_NO_RESOURCE_LIBRARY); }

GLResourceSupp::GLResourceSupp(const char* fileName, bool switchResources, const char* moduleName)
    : switch_(switchResources) {
  module_ = LoadObjectGLResources(fileName, moduleName);
  if (!module_) throw GLException(GL_ERROR_RESOURCE_NOT_FOUND);
  owned_ = true;
  Switch();
}

GLResourceSupp::GLResourceSupp(HMODULE module, bool switchResources) : module_(module), switch_(switchResources) {
  if (!module_) throw GLException(GL_ERROR_RESOURCE_NOT_FOUND);
  Switch();
}

void GLResourceSupp::Switch() {
  previous_ = AfxGetResourceHandle();
  if (switch_) AfxSetResourceHandle(module_);
}

GLResourceSupp::~GLResourceSupp() {
  if (switch_) AfxSetResourceHandle(previous_);
  if (owned_ && module_) FreeLibrary(module_);
}

HGLOBAL GLResourceSupp::LoadResourceByName(const char* name, const char* type) const {
  HRSRC r = FindResourceA(module_, name, type);
  return r ? LoadResource(module_, r) : nullptr;
}

HGLOBAL GLResourceSupp::LoadResourceById(WORD id, const char* type) const {
  return LoadResourceByName(MAKEINTRESOURCEA(id), type);
}

DWORD GLResourceSupp::SizeOfResourceById(WORD id, const char* type) const {
  HRSRC r = FindResourceA(module_, MAKEINTRESOURCEA(id), type);
  return r ? SizeofResource(module_, r) : 0;
}
