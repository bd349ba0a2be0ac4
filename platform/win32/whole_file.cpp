#include "platform/win32/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace win32 {

WholeFileRead ReadWholeFile(const std::string& path, std::string& text) {
  text.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? WholeFileRead::kMissing : WholeFileRead::kUnreadable;
  struct stat st {};
  bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<size_t>(st.st_size) <= kWholeFileLimit;
  // Read to the end, not to the size: a file that grows meanwhile is read
  // whole or, past the limit, not at all.
  char chunk[8192];
  while (ok) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    text.append(chunk, static_cast<size_t>(n));
    ok = text.size() <= kWholeFileLimit;
  }
  ::close(fd);
  if (ok) return WholeFileRead::kRead;
  text.clear();
  return WholeFileRead::kUnreadable;
}

}  // namespace win32
