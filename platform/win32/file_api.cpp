#include "platform/win32/file_api.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_set>

#include "platform/win32/error_codes.h"
#include "platform/win32/path_resolver.h"

namespace {

// What a file handle points at. Live handles are registered, so a stale or
// foreign handle is refused without being read.
struct FileObject {
  int fd = -1;
};

std::mutex g_filesLock;
std::unordered_set<const FileObject*> g_files;

FileObject* FileOf(HANDLE handle) {
  std::lock_guard<std::mutex> lock(g_filesLock);
  auto* file = static_cast<FileObject*>(handle);
  return g_files.count(file) ? file : nullptr;
}

DWORD ErrorOf(int error) {
  switch (error) {
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EEXIST: return ERROR_FILE_EXISTS;
    case EACCES:
    case EPERM:
    case EISDIR: return ERROR_ACCESS_DENIED;
    case EWOULDBLOCK: return ERROR_SHARING_VIOLATION;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    default: return ERROR_INVALID_PARAMETER;
  }
}

HANDLE Fail(DWORD error) {
  SetLastError(error);
  return INVALID_HANDLE_VALUE;
}

}  // namespace

HANDLE CreateFileA(LPCSTR fileName, DWORD access, DWORD shareMode, void* /*security*/,
                   DWORD disposition, DWORD /*flagsAndAttributes*/, HANDLE /*templateFile*/) {
  if (!fileName || !*fileName) return Fail(ERROR_PATH_NOT_FOUND);
  int flags = O_CLOEXEC;
  const bool read = access & GENERIC_READ;
  const bool write = access & GENERIC_WRITE;
  flags |= read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY;
  if (disposition == OPEN_ALWAYS) {
    flags |= O_CREAT;
  } else if (disposition != OPEN_EXISTING) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  const std::string path = ResolvePath(fileName);
  struct stat before;
  const bool existed = ::stat(path.c_str(), &before) == 0;
  const int fd = ::open(path.c_str(), flags, 0666);
  if (fd < 0) return Fail(ErrorOf(errno));
  struct stat st;
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return Fail(ERROR_ACCESS_DENIED);
  }
  if (::flock(fd, (shareMode == 0 ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
    const int error = errno;
    ::close(fd);
    return Fail(ErrorOf(error));
  }
  auto* file = new FileObject;
  file->fd = fd;
  {
    std::lock_guard<std::mutex> lock(g_filesLock);
    g_files.insert(file);
  }
  SetLastError(existed && disposition == OPEN_ALWAYS ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return file;
}

BOOL CloseHandle(HANDLE handle) {
  auto* file = static_cast<FileObject*>(handle);
  {
    std::lock_guard<std::mutex> lock(g_filesLock);
    if (!g_files.erase(file)) {
      SetLastError(ERROR_INVALID_HANDLE);
      return FALSE;
    }
  }
  ::close(file->fd);  // releases the lock with the descriptor
  delete file;
  return TRUE;
}

DWORD GetFileSize(HANDLE handle, DWORD* sizeHigh) {
  FileObject* file = FileOf(handle);
  struct stat st;
  if (!file || ::fstat(file->fd, &st) != 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return INVALID_FILE_SIZE;
  }
  const uint64_t size = static_cast<uint64_t>(st.st_size);
  if (sizeHigh) *sizeHigh = static_cast<DWORD>(size >> 32);
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(size);
}

namespace {

// Repeats step (fd, bytes done, bytes left) over short transfers and
// interruptions until count bytes have moved or step reports the end (0).
template <class Step>
BOOL Transfer(HANDLE handle, const void* buffer, DWORD count, DWORD* done, Step step) {
  if (done) *done = 0;
  FileObject* file = FileOf(handle);
  if (!file || (!buffer && count)) {
    SetLastError(file ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return FALSE;
  }
  DWORD total = 0;
  while (total < count) {
    const ssize_t n = step(file->fd, total, count - total);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      SetLastError(ErrorOf(errno));
      if (done) *done = total;
      return FALSE;
    }
    if (n == 0) break;
    total += static_cast<DWORD>(n);
  }
  if (done) *done = total;
  return TRUE;
}

}  // namespace

BOOL ReadFile(HANDLE handle, LPVOID buffer, DWORD count, DWORD* read, void* /*overlapped*/) {
  return Transfer(handle, buffer, count, read, [buffer](int fd, DWORD offset, DWORD left) {
    return ::read(fd, static_cast<char*>(buffer) + offset, left);
  });
}

BOOL WriteFile(HANDLE handle, LPCVOID buffer, DWORD count, DWORD* written, void* /*overlapped*/) {
  return Transfer(handle, buffer, count, written, [buffer](int fd, DWORD offset, DWORD left) {
    return ::write(fd, static_cast<const char*>(buffer) + offset, left);
  });
}

DWORD SetFilePointer(HANDLE handle, LONG distance, LONG* distanceHigh, DWORD method) {
  FileObject* file = FileOf(handle);
  if (!file) {
    SetLastError(ERROR_INVALID_HANDLE);
    return INVALID_SET_FILE_POINTER;
  }
  if (method > FILE_END) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  // Without the high half the distance is a signed 32-bit move.
  const int64_t move = distanceHigh
                           ? static_cast<int64_t>(static_cast<uint64_t>(static_cast<uint32_t>(*distanceHigh)) << 32 |
                                                  static_cast<uint32_t>(distance))
                           : distance;
  const off_t current = ::lseek(file->fd, 0, SEEK_CUR);
  const off_t base = method == FILE_BEGIN ? 0 : method == FILE_CURRENT ? current : ::lseek(file->fd, 0, SEEK_END);
  const int64_t target = static_cast<int64_t>(base) + move;
  if (target < 0 || (!distanceHigh && target >= int64_t{INVALID_SET_FILE_POINTER}) ||
      ::lseek(file->fd, static_cast<off_t>(target), SEEK_SET) < 0) {
    ::lseek(file->fd, current, SEEK_SET);
    SetLastError(target < 0 ? ERROR_NEGATIVE_SEEK : ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  if (distanceHigh) *distanceHigh = static_cast<LONG>(static_cast<uint64_t>(target) >> 32);
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(target);
}

BOOL SetEndOfFile(HANDLE handle) {
  FileObject* file = FileOf(handle);
  if (!file) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  const off_t position = ::lseek(file->fd, 0, SEEK_CUR);
  if (position < 0 || ::ftruncate(file->fd, position) != 0) {
    SetLastError(ErrorOf(errno));
    return FALSE;
  }
  return TRUE;
}
