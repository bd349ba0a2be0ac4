#include "platform/win32/file_replace.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

#include "platform/win32/path_resolver.h"

namespace win32 {
namespace {

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

mode_t CurrentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

}  // namespace

std::string WriteTarget(const std::string& path) {
  std::string target = path;
  // As many links as the system follows in one open.
  for (int hop = 0; hop < 40; ++hop) {
    struct stat st {};
    if (lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return target;
    char link[PATH_MAX];
    ssize_t n = readlink(target.c_str(), link, sizeof link);
    if (n <= 0 || static_cast<size_t>(n) >= sizeof link) return target;
    std::string next(link, static_cast<size_t>(n));
    if (next.front() != '/') {
      size_t slash = target.rfind('/');
      if (slash != std::string::npos) next = target.substr(0, slash + 1) + next;
    }
    target = std::move(next);
  }
  return target;
}

bool ReplaceFileContents(const std::string& path, std::string_view data) {
  return ReplaceFileWith(path, [&](int fd) { return WriteAll(fd, data); }) == ReplaceStep::kDone;
}

ReplaceStep ReplaceFileWith(const std::string& path, const std::function<bool(int fd)>& write) {
  const std::string target = WriteTarget(path);
  struct stat st {};
  const bool exists = stat(target.c_str(), &st) == 0;
  if (exists && !S_ISREG(st.st_mode)) {
    errno = EISDIR;
    return ReplaceStep::kCreate;
  }
  const mode_t mode = exists ? (st.st_mode & 07777) : (0666 & ~CurrentUmask());
  static std::atomic<unsigned> counter{0};
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = target + ".~" + std::to_string(getpid()) + "-" + std::to_string(counter++);
    // No one else may read what is being written before it is whole, nor
    // what a killed write leaves.
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return ReplaceStep::kCreate;
  bool ok = write(fd) && fdatasync(fd) == 0;
  // Another user's file stays theirs where the caller may say so (root).
  if (ok && exists && (st.st_uid != geteuid() || st.st_gid != getegid()))
    (void)fchown(fd, st.st_uid, st.st_gid);
  ok = ok && fchmod(fd, mode) == 0;
  int error = errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    error = errno;
  }
  ReplaceStep step = ok ? ReplaceStep::kDone : ReplaceStep::kWrite;
  if (ok && std::rename(temp.c_str(), target.c_str()) != 0) {
    step = ReplaceStep::kRename;
    error = errno;
  }
  if (step != ReplaceStep::kDone) {
    ::unlink(temp.c_str());
    errno = error;
  }
  return step;
}

bool ReplaceSystemFile(const char* path, std::string_view data) {
  if (!path || !*path) {
    errno = ENOENT;
    return false;
  }
  return ReplaceFileContents(ResolvePath(path), data);
}

}  // namespace win32
