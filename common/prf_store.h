// Settings store over one section of one profile (INI) file. Raw values are
// kept as text: 8 upper-case hex digits of the byte count, then 2 per byte.
// Nothing is cached; every call reads or writes the file.
#pragma once

#include <cstddef>

#include "common/ini_store.h"

class prf_store : public ini_store {
 public:
  prf_store();
  ~prf_store() override;
  prf_store(const prf_store&) = delete;
  prf_store& operator=(const prf_store&) = delete;

  // Keeps private copies of both; false (and closed) when either is null.
  bool Open(const char* file, const char* section);
  void Close() override;

  // Every primitive fails while the store is closed or the key is null.
  // A value "$EMPTY$" reads as missing.
  bool GetString(const char* key, char** out) override;
  bool SetString(const char* key, const char* value) override;
  // Refuses 32768 bytes or more: the reader would not take them back.
  bool GetRaw(const char* key, void** data, size_t* size) override;
  bool SetRaw(const char* key, const void* data, size_t size) override;

  // The largest raw value that can be stored.
  static constexpr size_t kMaxRawSize = 32767;

 private:
  char* file;
  char* section;
};
