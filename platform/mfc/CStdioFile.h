// A buffered file read and written in lines. Opened without typeBinary it
// is a Windows text file: reading turns CR LF into LF and ends at a Ctrl-Z
// (0x1A) byte; writing turns every LF into CR LF. A CR that is not followed
// by LF is kept. Positions and lengths are those of the bytes on disk.
#pragma once

#include "platform/mfc/CFile.h"

class CStdioFile : public CFile {
  DECLARE_DYNAMIC(CStdioFile)

 public:
  CStdioFile() = default;
  CStdioFile(const char* fileName, UINT openFlags);

  BOOL Open(const char* fileName, UINT openFlags) override;
  void Close() override;

  UINT Read(void* buffer, UINT count) override;
  void Write(const void* buffer, UINT count) override;
  ULONGLONG Seek(LONGLONG offset, UINT from) override;

  // fgets rule: reads at most max - 1 characters, stopping after a line
  // feed, which is kept; the text is NUL-terminated. A longer line comes in
  // pieces, one a call. Null at the end of the file (nothing read; the
  // buffer is then left as it was) and for a null buffer or max 0; max 1
  // gives an empty text.
  virtual char* ReadString(char* buffer, UINT max);
  // One whole line without its line feed (a CR before it stays in binary
  // mode). FALSE only at the end of the file with nothing read: an empty
  // line is TRUE.
  virtual BOOL ReadString(CString& line);
  // The text up to its NUL; a null text writes nothing.
  virtual void WriteString(const char* text);

 private:
  // Next character after the text translation, EOF at the end.
  int GetChar();

  bool m_text = false;
  bool m_textEnded = false;  // a Ctrl-Z was read
};
