#include "platform/mfc/CStdioFile.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CStdioFile, CFile)

namespace {
constexpr int kCtrlZ = 0x1A;
}

CStdioFile::CStdioFile(const char* fileName, UINT openFlags) { CStdioFile::Open(fileName, openFlags); }

BOOL CStdioFile::Open(const char* fileName, UINT openFlags) {
  if (!CFile::Open(fileName, openFlags)) return FALSE;
  m_text = !(openFlags & typeBinary);
  m_textEnded = false;
  return TRUE;
}

void CStdioFile::Close() {
  CFile::Close();
  m_text = m_textEnded = false;
}

int CStdioFile::GetChar() {
  if (!m_text) return std::getc(m_stream);
  if (m_textEnded) return EOF;
  const int c = std::getc(m_stream);
  if (c == kCtrlZ) {
    m_textEnded = true;
    return EOF;
  }
  if (c != '\r') return c;
  const int next = std::getc(m_stream);
  if (next == '\n') return '\n';
  if (next != EOF) std::ungetc(next, m_stream);
  return '\r';
}

UINT CStdioFile::Read(void* buffer, UINT count) {
  if (!m_text) return CFile::Read(buffer, count);
  if (!m_stream || !buffer || count == 0) return 0;
  BeforeRead();
  auto* out = static_cast<unsigned char*>(buffer);
  UINT n = 0;
  for (int c; n < count && (c = GetChar()) != EOF;) out[n++] = static_cast<unsigned char>(c);
  return n;
}

void CStdioFile::Write(const void* buffer, UINT count) {
  if (!m_text) {
    CFile::Write(buffer, count);
    return;
  }
  if (!m_stream || !buffer || count == 0) return;
  BeforeWrite();
  const char* text = static_cast<const char*>(buffer);
  const char* const stop = text + count;
  while (text < stop) {
    const char* lf = static_cast<const char*>(std::memchr(text, '\n', static_cast<size_t>(stop - text)));
    const char* chunkEnd = lf ? lf : stop;
    std::fwrite(text, 1, static_cast<size_t>(chunkEnd - text), m_stream);
    if (!lf) break;
    std::fwrite("\r\n", 1, 2, m_stream);
    text = lf + 1;
  }
}

ULONGLONG CStdioFile::Seek(LONGLONG offset, UINT from) {
  m_textEnded = false;
  return CFile::Seek(offset, from);
}

char* CStdioFile::ReadString(char* buffer, UINT max) {
  if (!m_stream || !buffer || max == 0) return nullptr;
  BeforeRead();
  UINT n = 0;
  while (n + 1 < max) {
    const int c = GetChar();
    if (c == EOF) break;
    buffer[n++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  if (n == 0 && max > 1) return nullptr;
  buffer[n] = '\0';
  return buffer;
}

BOOL CStdioFile::ReadString(CString& line) {
  line.Empty();
  if (!m_stream) return FALSE;
  BeforeRead();
  bool any = false;
  for (int c; (c = GetChar()) != EOF;) {
    any = true;
    if (c == '\n') break;
    line.AppendChar(static_cast<char>(c));
  }
  return any;
}

void CStdioFile::WriteString(const char* text) {
  if (text) Write(text, static_cast<UINT>(std::strlen(text)));
}
