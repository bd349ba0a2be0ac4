#include "platform/win32/file_operations.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "platform/win32/error_codes.h"
#include "platform/win32/path_resolver.h"

namespace {

constexpr DWORD kErrorFileNotFound = 2;
constexpr DWORD kErrorFileExists = 80;

BOOL Fail(int error) {
  SetLastError(error == ENOENT || error == ENOTDIR ? kErrorFileNotFound
               : error == EEXIST                   ? kErrorFileExists
                                                   : ERROR_ACCESS_DENIED);
  return FALSE;
}

}  // namespace

BOOL MoveFileExA(LPCSTR existing, LPCSTR target, DWORD flags) {
  if (!existing || !target) return Fail(ENOENT);
  const std::string from = ResolvePath(existing);
  const std::string to = ResolvePath(target);
  if (!(flags & MOVEFILE_REPLACE_EXISTING)) {
    // A hard link refuses an existing target; the old name then goes.
    if (::link(from.c_str(), to.c_str()) != 0) return Fail(errno);
    ::unlink(from.c_str());
    return TRUE;
  }
  return std::rename(from.c_str(), to.c_str()) == 0 ? TRUE : Fail(errno);
}

BOOL DeleteFileA(LPCSTR path) {
  if (!path) return Fail(ENOENT);
  return ::unlink(ResolvePath(path).c_str()) == 0 ? TRUE : Fail(errno);
}
