#include "platform/win32/file_access.h"

#include <unistd.h>

#include <cerrno>

#include "platform/win32/path_resolver.h"

int _access(const char* path, int mode) {
  if (!path || (mode & ~6) != 0) {
    errno = EINVAL;
    return -1;
  }
  int how = F_OK;
  if (mode & 2) how |= W_OK;
  if (mode & 4) how |= R_OK;
  return access(ResolvePath(path).c_str(), how) == 0 ? 0 : -1;
}
