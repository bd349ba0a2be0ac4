#include "wizard/frame/CRegister.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "common/SettingsWrite.h"

namespace {

constexpr size_t kMaxKeyPath = 1023;

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

}  // namespace

CRegister::CRegister(const char* basePath, HKEY root, bool readOnly) : m_root(root), m_readOnly(readOnly) {
  if (basePath) SetBasePath(basePath);
}

CRegister::~CRegister() { std::free(m_basePath); }

bool CRegister::SetBasePath(const char* path) {
  if (!path) return false;
  size_t n = std::strlen(path);
  const bool separator = n > 0 && path[n - 1] == '\\';
  char* copy = static_cast<char*>(std::malloc(n + (separator ? 1 : 2)));
  if (!copy) return false;
  std::memcpy(copy, path, n);
  if (!separator) copy[n++] = '\\';
  copy[n] = '\0';
  std::free(m_basePath);
  m_basePath = copy;
  return true;
}

bool CRegister::Open(const char* subkey, const char* second) {
  Close();
  std::string path = std::string(m_basePath ? m_basePath : "") + (subkey ? subkey : "");
  if (second) path += std::string("\\") + second;
  if (path.size() > kMaxKeyPath) return false;
  // A look-up leaves the registry as it found it.
  LONG opened;
  if (m_readOnly) {
    opened = RegOpenKeyExA(m_root, path.c_str(), 0, KEY_READ, &m_key);
  } else {
    DWORD disposition = 0;
    opened = RegCreateKeyExA(m_root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                             &m_key, &disposition);
  }
  if (opened != ERROR_SUCCESS) m_key = nullptr;
  return m_key != nullptr;
}

void CRegister::Close() {
  if (m_key) RegCloseKey(m_key);
  m_key = nullptr;
}

bool CRegister::SetString(const char* name, const char* text) {
  if (!m_key || !name || !text) return false;
  return WriteRegistrySettings(m_basePath ? m_basePath : "", [&] {
    return RegSetValueExA(m_key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                          static_cast<DWORD>(std::strlen(text) + 1)) == ERROR_SUCCESS;
  });
}

bool CRegister::GetValue(const char* name, void* data, DWORD size) {
  if (!m_key || !name || !data) return false;
  DWORD got = size, type = REG_NONE;
  BYTE* bytes = static_cast<BYTE*>(data);
  if (RegQueryValueExA(m_key, name, nullptr, &type, bytes, &got) != ERROR_SUCCESS) return false;
  if (IsText(type) && (got == 0 || bytes[got - 1] != '\0')) {
    // Stored without its terminator: add one where there is room.
    if (got >= size) return false;
    bytes[got] = '\0';
  }
  return true;
}

bool CRegister::SetDword(const char* name, const DWORD* value) {
  if (!m_key || !name || !value) return false;
  return WriteRegistrySettings(m_basePath ? m_basePath : "", [&] {
    return RegSetValueExA(m_key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(value), 4) == ERROR_SUCCESS;
  });
}

bool CRegister::GetDword(const char* name, DWORD* out) {
  if (!m_key || !name || !out) return false;
  DWORD got = 4;
  return RegQueryValueExA(m_key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(out), &got) == ERROR_SUCCESS;
}

bool CRegister::SetBinary(const char* name, const void* data, DWORD size) {
  if (!m_key || !name || (!data && size)) return false;
  return WriteRegistrySettings(m_basePath ? m_basePath : "", [&] {
    return RegSetValueExA(m_key, name, 0, REG_BINARY, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
  });
}
