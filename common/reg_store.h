// Typed settings store over one registry key: the utility layer's store with
// registry values as its text (REG_SZ) and raw (REG_BINARY) primitives, and
// integers kept as REG_DWORD in raw mode.
#pragma once

#include <cstddef>
#include <string>

#include "common/ini_store.h"
#include "platform/win32/registry.h"

class reg_store : public ini_store {
 public:
  reg_store() = default;
  ~reg_store() override;
  reg_store(const reg_store&) = delete;
  reg_store& operator=(const reg_store&) = delete;

  // Closes first. With write the key is created when missing and opened
  // for every access, else it is opened for reading; extra is added to the
  // access asked for. False (and closed) when the registry refuses.
  bool Open(HKEY root, const char* path, bool write, REGSAM extra = 0);
  void Close() override;
  bool IsOpen() const { return key != nullptr; }

  // Raw mode first reads a 4-byte REG_DWORD or REG_BINARY; any other value
  // goes to the base, as text mode always does.
  bool GetInt(const char* name, int* out) override;
  bool SetInt(const char* name, int value) override;

  // REG_SZ or REG_EXPAND_SZ, always terminated, however long.
  bool GetString(const char* name, char** out) override;
  bool SetString(const char* name, const char* text) override;
  // REG_BINARY only.
  bool GetRaw(const char* name, void** data, size_t* size) override;
  bool SetRaw(const char* name, const void* data, size_t size) override;

 private:
  // The value's bytes (at least one more than stored, zeroed, so texts end)
  // when its type is one of the two accepted.
  bool Query(const char* name, DWORD acceptA, DWORD acceptB, char** out, size_t* size);

  HKEY key = nullptr;
  std::string path;  // the key last opened, named when a write fails
};
