#include "platform/win32/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/win32/error_codes.h"
#include "platform/win32/file_replace.h"
#include "platform/win32/path_resolver.h"

namespace {

constexpr DWORD kErrorWriteFault = 29;
constexpr DWORD kErrorDiskFull = 112;
constexpr DWORD kErrorDirectory = 267;  // ERROR_DIRECTORY: a folder where a file is meant

void SetErrorFromErrno(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR: SetLastError(ERROR_PATH_NOT_FOUND); break;
    case EEXIST: SetLastError(ERROR_ALREADY_EXISTS); break;
    case EACCES:
    case EPERM:
    case EROFS:
    case EBUSY: SetLastError(ERROR_ACCESS_DENIED); break;
    case EISDIR: SetLastError(kErrorDirectory); break;
    case ENOSPC:
    case EFBIG:
    case EDQUOT: SetLastError(kErrorDiskFull); break;
    default: SetLastError(kErrorWriteFault); break;
  }
}

BOOL Fail(int error) {
  SetErrorFromErrno(error);
  return FALSE;
}

bool SyncFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = fdatasync(fd) == 0;
  ::close(fd);
  return ok;
}

}  // namespace

BOOL CreateDirectoryA(LPCSTR path, void* securityAttributes) {
  if (!path || !*path || securityAttributes) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (::mkdir(ResolvePath(path).c_str(), 0777) != 0) return Fail(errno);
  return TRUE;
}

BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags) {
  if (!from || !*from || !to || !*to ||
      (flags & ~(MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::string source = ResolvePath(from);
  const std::string target = ResolvePath(to);
  struct stat st;
  if (::lstat(source.c_str(), &st) != 0) {
    SetLastError(errno == ENOENT ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
    return FALSE;
  }
  if (S_ISDIR(st.st_mode)) return Fail(EISDIR);
  if ((flags & MOVEFILE_WRITE_THROUGH) && !SyncFile(source)) return Fail(errno);
  if (flags & MOVEFILE_REPLACE_EXISTING) {
    if (std::rename(source.c_str(), target.c_str()) != 0) return Fail(errno);
    return TRUE;
  }
  // A hard link fails on an existing target, so nothing is ever replaced.
  if (::link(source.c_str(), target.c_str()) != 0) return Fail(errno);
  ::unlink(source.c_str());
  return TRUE;
}

DWORD GetFileAttributesA(LPCSTR path) {
  if (!path || !*path) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_FILE_ATTRIBUTES;
  }
  struct stat st;
  if (::stat(ResolvePath(path).c_str(), &st) != 0) {
    // A folder that may not be searched hides what is in it.
    SetLastError(errno == ENOENT   ? ERROR_FILE_NOT_FOUND
                 : errno == EACCES ? ERROR_ACCESS_DENIED
                                   : ERROR_PATH_NOT_FOUND);
    return INVALID_FILE_ATTRIBUTES;
  }
  if (S_ISDIR(st.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
  return FILE_ATTRIBUTE_ARCHIVE | ((st.st_mode & 0222) == 0 ? FILE_ATTRIBUTE_READONLY : 0);
}

BOOL DeleteFileA(LPCSTR path) {
  if (!path || !*path) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::string resolved = ResolvePath(path);
  struct stat st;
  if (::lstat(resolved.c_str(), &st) != 0) {
    SetLastError(errno == ENOENT ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
    return FALSE;
  }
  if (S_ISDIR(st.st_mode)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (::unlink(resolved.c_str()) != 0) return Fail(errno);
  return TRUE;
}

BOOL CopyFileA(LPCSTR existing, LPCSTR newPath, BOOL failIfExists) {
  if (!existing || !*existing || !newPath || !*newPath) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const int in = ::open(ResolvePath(existing).c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) {
    if (errno == ENOENT) SetLastError(ERROR_FILE_NOT_FOUND);
    else SetErrorFromErrno(errno);
    return FALSE;
  }
  struct stat st;
  if (::fstat(in, &st) != 0 || S_ISDIR(st.st_mode)) {
    const int error = S_ISDIR(st.st_mode) ? EISDIR : errno;
    ::close(in);
    return Fail(error);
  }
  std::string data;
  char block[65536];
  for (ssize_t n; (n = ::read(in, block, sizeof block)) != 0;) {
    if (n < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      ::close(in);
      return Fail(error);
    }
    data.append(block, static_cast<size_t>(n));
  }
  ::close(in);
  const std::string target = ResolvePath(newPath);
  if (!failIfExists) {
    if (!win32::ReplaceFileContents(target, data)) return Fail(errno);
    return ::chmod(win32::WriteTarget(target).c_str(), st.st_mode & 07777) == 0 ? TRUE : Fail(errno);
  }
  const int out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (out < 0) {
    if (errno == EEXIST) {
      SetLastError(ERROR_FILE_EXISTS);
      return FALSE;
    }
    return Fail(errno);
  }
  size_t done = 0;
  bool ok = true;
  while (ok && done < data.size()) {
    const ssize_t n = ::write(out, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<size_t>(n);
  }
  ok = ok && fdatasync(out) == 0 && fchmod(out, st.st_mode & 07777) == 0;
  int error = errno;
  if (::close(out) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (!ok) {
    ::unlink(target.c_str());
    return Fail(error);
  }
  return TRUE;
}

UINT GetTempFileNameA(LPCSTR folder, LPCSTR prefix, UINT unique, LPSTR out) {
  if (!folder || !out || unique != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::string base = folder;
  if (!base.empty() && base.back() != '\\' && base.back() != '/') base += '\\';
  base.append(prefix ? prefix : "", prefix ? strnlen(prefix, 3) : 0);
  // Start from a number of this process so that two processes rarely try
  // the same names; each number is tried once.
  static UINT next = static_cast<UINT>(::getpid());
  for (UINT attempt = 0; attempt < 0xFFFF; ++attempt) {
    const UINT number = (next++ % 0xFFFF) + 1;  // 0 is the failure result
    char name[16];
    std::snprintf(name, sizeof name, "%X.tmp", number);
    const std::string candidate = base + name;
    if (candidate.size() >= MAX_PATH) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
    const int fd = ::open(ResolvePath(candidate).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      ::close(fd);
      std::memcpy(out, candidate.c_str(), candidate.size() + 1);
      return number;
    }
    if (errno != EEXIST) {
      SetErrorFromErrno(errno);
      return 0;
    }
  }
  SetLastError(ERROR_FILE_EXISTS);
  return 0;
}
