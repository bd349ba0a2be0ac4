#include "common/reg_store.h"

#include <cstring>
#include <memory>

#include "common/SettingsWrite.h"

namespace {

constexpr DWORD kFirstBuffer = 1024;

}  // namespace

reg_store::~reg_store() { Close(); }

bool reg_store::Open(HKEY root, const char* path, bool write, REGSAM extra) {
  Close();
  this->path = path ? path : "";
  DWORD disposition = 0;
  const LSTATUS status =
      write ? RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS | extra, nullptr,
                              &key, &disposition)
            : RegOpenKeyExA(root, path, 0, KEY_READ | extra, &key);
  if (status != ERROR_SUCCESS) key = nullptr;
  return key != nullptr;
}

void reg_store::Close() {
  if (key) RegCloseKey(key);
  key = nullptr;
}

bool reg_store::GetInt(const char* name, int* out) {
  if (!textMode && key && name && out) {
    BYTE bytes[4];
    DWORD size = sizeof bytes, type = REG_NONE;
    // A text or a value of another size is no integer in raw form.
    if (RegQueryValueExA(key, name, nullptr, &type, bytes, &size) == ERROR_SUCCESS && size == 4 &&
        (type == REG_DWORD || type == REG_BINARY)) {
      std::memcpy(out, bytes, 4);
      return true;
    }
  }
  return ini_store::GetInt(name, out);
}

bool reg_store::SetInt(const char* name, int value) {
  if (textMode) return ini_store::SetInt(name, value);
  if (!name) return false;
  return WriteRegistrySettings(path, [&] {
    return key && RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4) == ERROR_SUCCESS;
  });
}

bool reg_store::Query(const char* name, DWORD acceptA, DWORD acceptB, char** out, size_t* size) {
  *out = nullptr;
  if (!key || !name) return false;
  DWORD capacity = kFirstBuffer;
  for (int attempt = 0; attempt < 2; ++attempt) {
    // One byte beyond what the registry may fill keeps every text ended.
    std::unique_ptr<char[]> buffer(new char[capacity + 1]());
    DWORD got = capacity, type = REG_NONE;
    const LSTATUS status =
        RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.get()), &got);
    if (status == ERROR_MORE_DATA && attempt == 0) {
      capacity = got;
      continue;
    }
    if (status != ERROR_SUCCESS || (type != acceptA && type != acceptB)) return false;
    *out = buffer.release();
    if (size) *size = got;
    return true;
  }
  return false;
}

bool reg_store::GetString(const char* name, char** out) {
  if (!out) return false;
  return Query(name, REG_SZ, REG_EXPAND_SZ, out, nullptr);
}

bool reg_store::SetString(const char* name, const char* text) {
  if (!name || !text) return false;
  return WriteRegistrySettings(path, [&] {
    return key && RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                                 static_cast<DWORD>(std::strlen(text) + 1)) == ERROR_SUCCESS;
  });
}

bool reg_store::GetRaw(const char* name, void** data, size_t* size) {
  if (!data || !size) return false;
  char* bytes = nullptr;
  if (!Query(name, REG_BINARY, REG_BINARY, &bytes, size)) {
    *data = nullptr;
    return false;
  }
  *data = bytes;
  return true;
}

bool reg_store::SetRaw(const char* name, const void* data, size_t size) {
  if (!name || (!data && size) || size > 0xFFFFFFFFu) return false;
  return WriteRegistrySettings(path, [&] {
    return key && RegSetValueExA(key, name, 0, REG_BINARY, static_cast<const BYTE*>(data),
                                 static_cast<DWORD>(size)) == ERROR_SUCCESS;
  });
}
