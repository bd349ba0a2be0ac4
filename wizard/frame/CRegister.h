// A registry key under a base path: the wizard's dialogs keep their
// placement and choices in it, and installed programs are looked up with it.
#pragma once

#include "platform/win32/registry.h"

class CRegister {
 public:
  explicit CRegister(const char* basePath = nullptr, HKEY root = HKEY_CURRENT_USER, bool readOnly = false);
  // Frees the base path; an open key stays open (Close closes it).
  virtual ~CRegister();
  CRegister(const CRegister&) = delete;
  CRegister& operator=(const CRegister&) = delete;

  // A copy that ends in '\'; false for null (the old path stays).
  bool SetBasePath(const char* path);
  const char* GetBasePath() const { return m_basePath; }

  // Base path + subkey (+ "\" + second), at most 1023 characters; the key is
  // created when missing, except read-only, where a missing key fails.
  // Closes first.
  bool Open(const char* subkey, const char* second = nullptr);
  void Close();
  bool IsOpen() const { return m_key != nullptr; }

  // REG_SZ with its terminator.
  bool SetString(const char* name, const char* text);
  // At most size bytes of a value of any type. A text is always terminated
  // within the buffer: one that fills it without a terminator fails.
  bool GetValue(const char* name, void* data, DWORD size);
  bool SetDword(const char* name, const DWORD* value);
  bool GetDword(const char* name, DWORD* out);
  bool SetBinary(const char* name, const void* data, DWORD size);

 private:
  char* m_basePath = nullptr;
  HKEY m_key = nullptr;
  HKEY m_root;
  bool m_readOnly;
};
