#include "platform/mfc/CFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "platform/win32/path_resolver.h"

IMPLEMENT_DYNAMIC(CFile, CObject)

CFile::CFile(const char* fileName, UINT openFlags) { CFile::Open(fileName, openFlags); }

CFile::~CFile() { CFile::Close(); }

BOOL CFile::Open(const char* fileName, UINT openFlags) {
  Close();
  if (!fileName || !*fileName) return FALSE;

  int flags = O_CLOEXEC;
  const char* mode = "rb";
  if (openFlags & modeReadWrite) {
    flags |= O_RDWR;
    mode = "r+b";
  } else if (openFlags & modeWrite) {
    flags |= O_WRONLY;
    mode = "wb";  // fdopen does not truncate; the open flags decide
  } else {
    flags |= O_RDONLY;
  }
  if (openFlags & modeCreate) flags |= O_CREAT | ((openFlags & modeNoTruncate) ? 0 : O_TRUNC);

  const std::string path = ResolvePath(fileName);
  const int fd = ::open(path.c_str(), flags, 0666);
  if (fd < 0) return FALSE;
  struct stat st;
  if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return FALSE;
  }
  m_stream = fdopen(fd, mode);
  if (!m_stream) {
    ::close(fd);
    return FALSE;
  }
  m_strFileName = fileName;
  m_openFlags = openFlags;
  m_lastOp = LastOp::none;
  return TRUE;
}

void CFile::Close() {
  if (m_stream) std::fclose(m_stream);
  m_stream = nullptr;
  m_strFileName.Empty();
  m_openFlags = 0;
  m_lastOp = LastOp::none;
}

void CFile::Abort() { Close(); }

void CFile::Flush() {
  if (m_stream) std::fflush(m_stream);
}

void CFile::BeforeRead() {
  if (m_lastOp == LastOp::write) std::fflush(m_stream);
  m_lastOp = LastOp::read;
}

void CFile::BeforeWrite() {
  if (m_lastOp == LastOp::read) std::fseek(m_stream, 0, SEEK_CUR);
  m_lastOp = LastOp::write;
}

UINT CFile::Read(void* buffer, UINT count) {
  if (!m_stream || !buffer || count == 0) return 0;
  BeforeRead();
  return static_cast<UINT>(std::fread(buffer, 1, count, m_stream));
}

void CFile::Write(const void* buffer, UINT count) {
  if (!m_stream || !buffer || count == 0) return;
  BeforeWrite();
  std::fwrite(buffer, 1, count, m_stream);
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from) {
  if (!m_stream) return static_cast<ULONGLONG>(-1);
  const int whence = from == end ? SEEK_END : from == current ? SEEK_CUR : SEEK_SET;
  if (fseeko(m_stream, static_cast<off_t>(offset), whence) != 0) return static_cast<ULONGLONG>(-1);
  m_lastOp = LastOp::none;
  return static_cast<ULONGLONG>(ftello(m_stream));
}

ULONGLONG CFile::GetPosition() const {
  if (!m_stream) return 0;
  const off_t position = ftello(m_stream);
  return position < 0 ? 0 : static_cast<ULONGLONG>(position);
}

ULONGLONG CFile::GetLength() const {
  if (!m_stream) return 0;
  if (m_lastOp == LastOp::write) std::fflush(m_stream);
  struct stat st;
  return fstat(fileno(m_stream), &st) == 0 ? static_cast<ULONGLONG>(st.st_size) : 0;
}

void CFile::SetLength(ULONGLONG length) {
  if (!m_stream) return;
  std::fflush(m_stream);
  // A failure leaves the length as it was; there is no one to tell.
  const int failed = ftruncate(fileno(m_stream), static_cast<off_t>(length));
  (void)failed;
}

CString CFile::GetFileName() const {
  const int slash = std::max(m_strFileName.ReverseFind('\\'), m_strFileName.ReverseFind('/'));
  return m_strFileName.Mid(slash + 1);
}
