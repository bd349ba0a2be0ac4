// The last-values store: a file of key/value records, rewritten in place
// when a value shrinks and appended when it grows.
//
// A record is a 32-bit little-endian header (bits 0-11 record length with the
// header, 12-19 key length, 20-31 value length), the key, the value, and any
// slack left by an in-place rewrite. Every operation reads the whole file once.
// A record that is not sound (shorter than its key and value, or running past
// the end) hides everything behind it from reads and is cut off, with all
// that follows, by the next write. Of a key stored more than once only the
// first record is read; a write that moves or removes the key takes all.
#pragma once

#include "platform/win32/file_api.h"

class CFileCfg {
 public:
  CFileCfg() = default;
  virtual ~CFileCfg();

  CFileCfg(const CFileCfg&) = delete;
  CFileCfg& operator=(const CFileCfg&) = delete;

  // Opens (creating when missing) for reading and writing, shared with
  // nobody: a second Open of the file, here or in another process, fails
  // while this one is open. Closes first.
  bool Open(const char* path);
  void Close();

  // 1 found / 0. With out null only the value length is stored in *size;
  // otherwise min(value length, *size) bytes are copied and *size becomes the
  // full value length.
  int ReadRecord(const void* key, unsigned keyLength, void* out, unsigned* size);

  // 1 done / 0. A null value removes the key; a key that is not there is
  // already removed (1, and only a damaged tail is cut off). Keys over 255
  // bytes and records over 4095 bytes cannot be stored: 0 and the file
  // untouched. A failing file operation gives 0 and leaves the file as far as
  // it got.
  int WriteRecord(const void* key, unsigned keyLength, const void* value, unsigned valueLength);

  // ReadRecord with the key's strlen; a found value is terminated in out
  // (cut to size - 1 characters).
  int GetString(const char* key, char* out, unsigned size);
  // WriteRecord with both strlens; a null value removes the key, an empty
  // one stores an empty value.
  int SetString(const char* key, const char* value);

  static constexpr unsigned kMaxKeyLength = 0xFF;
  static constexpr unsigned kMaxRecordLength = 0xFFF;

 private:
  HANDLE m_hFile = INVALID_HANDLE_VALUE;
};
