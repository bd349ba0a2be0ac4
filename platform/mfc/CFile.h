// The framework's file: a file of the system's (code page 1250, '\'
// separated, any letter case) path, opened through the path resolver.
// Unlike the framework, failures never throw: Open returns FALSE, Read
// returns what it could read, Seek returns -1 (as ULONGLONG) when the
// position cannot be set. Sharing flags are accepted and not enforced.
#pragma once

#include <cstdint>
#include <cstdio>

#include "platform/mfc/CObject.h"
#include "platform/mfc/CString.h"

using LONGLONG = int64_t;
using ULONGLONG = uint64_t;

class CFile : public CObject {
  DECLARE_DYNAMIC(CFile)

 public:
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeNoInherit = 0x0080,
    modeCreate = 0x1000,    // create, or truncate an existing file
    modeNoTruncate = 0x2000,  // with modeCreate: keep an existing file as it is
    typeText = 0x4000,      // the text translation of CStdioFile
    typeBinary = 0x8000,
  };
  enum SeekPosition : UINT { begin = 0x0, current = 0x1, end = 0x2 };

  CFile() = default;
  // The file stays closed when it cannot be opened.
  CFile(const char* fileName, UINT openFlags);
  ~CFile() override;

  // Without modeCreate the file must exist. The position starts at 0 (also
  // with modeNoTruncate: SeekToEnd to append). A folder is not a file.
  virtual BOOL Open(const char* fileName, UINT openFlags);
  virtual void Close();
  virtual void Abort();
  virtual void Flush();
  bool IsOpen() const { return m_stream != nullptr; }

  virtual UINT Read(void* buffer, UINT count);
  virtual void Write(const void* buffer, UINT count);

  virtual ULONGLONG Seek(LONGLONG offset, UINT from);
  void SeekToBegin() { Seek(0, begin); }
  ULONGLONG SeekToEnd() { return Seek(0, end); }
  virtual ULONGLONG GetPosition() const;
  virtual ULONGLONG GetLength() const;  // bytes on disk
  virtual void SetLength(ULONGLONG length);

  // The path as it was given to Open, and its last component.
  CString GetFilePath() const { return m_strFileName; }
  CString GetFileName() const;

 protected:
  // Reads and writes of one stdio stream must be separated by a flush or a
  // seek; these keep track of the last direction.
  void BeforeRead();
  void BeforeWrite();

  FILE* m_stream = nullptr;
  CString m_strFileName;
  UINT m_openFlags = 0;

 private:
  enum class LastOp { none, read, write };
  LastOp m_lastOp = LastOp::none;
};
