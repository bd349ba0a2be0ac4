// Writing a drawing as ASCII DXF text.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/host/DxfDrawing.h"
#include "platform/host/DxfGroupText.h"
#include "platform/host/DxfText.h"
#include "platform/win32/file_replace.h"

namespace host {
namespace {

class Writer {
 public:
  Writer(DxfPairWriter& out, bool utf8) : out_(out), utf8_(utf8) {}

  void Put(int code, std::string_view value) {
    if (utf8_ && !IsAscii(value)) out_.Put(code, DxfModelToUtf8(value));
    else out_.Put(code, value);
  }
  void Put(const PairList& pairs) {
    for (const DxfPair& p : pairs) Put(p.code, p.value);
  }
  void Put(const DxfEntity& entity) {
    Put(entity.pairs);
    for (const DxfEntity& child : entity.children) Put(child);
  }

 private:
  DxfPairWriter& out_;
  bool utf8_;
};

// Writes every byte or fails with errno set.
bool WriteAll(int fd, std::string_view text) {
  for (size_t done = 0; done < text.size();) {
    ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

bool DxfDrawing::WriteText(const std::function<bool(std::string_view)>& sink) const {
  DxfPairWriter out(lineEnd_, sink);
  Writer w(out, IsUtf8());
  for (const Section& s : sections_) {
    if (s.kind == SectionKind::Loose) {
      w.Put(s.pairs);
      continue;
    }
    w.Put(0, "SECTION");
    w.Put(2, s.name);
    if (s.kind != SectionKind::Verbatim) w.Put(s.pairs);  // its leading comments
    switch (s.kind) {
      case SectionKind::Header:
        for (const DxfHeaderVariable& var : header_) {
          w.Put(9, var.name);
          w.Put(var.values);
        }
        break;
      case SectionKind::Tables:
        for (const auto& table : tables_) {
          w.Put(table->head);
          for (const auto& entry : table->entries) w.Put(*entry);
          w.Put(table->end);
        }
        break;
      case SectionKind::Blocks:
        for (const auto& block : blocks_) {
          w.Put(block->begin);
          for (const auto& entity : block->entities) w.Put(*entity);
          w.Put(block->end);
        }
        break;
      case SectionKind::Entities:
        for (const auto& entity : entities_) w.Put(*entity);
        break;
      default:
        w.Put(s.pairs);
        break;
    }
    w.Put(0, "ENDSEC");
  }
  w.Put(0, "EOF");
  return out.Finish();
}

std::string DxfDrawing::SaveText() const {
  std::string out;
  out.reserve(textSize_ + (1 << 16));
  WriteText([&](std::string_view piece) {
    out += piece;
    return true;
  });
  return out;
}

bool DxfDrawing::Save(const std::filesystem::path& path, DxfError* error,
                      bool overwriteSource) const {
  namespace fs = std::filesystem;
  // What the load would refuse is not written.
  if (auto full = HandleLimitReached()) return Fail(error, "cannot write " + path.string() + ": " + *full);
  std::error_code ec;
  if (!overwriteSource && !sourcePath_.empty() && fs::exists(path, ec) &&
      fs::equivalent(path, sourcePath_, ec))
    return Fail(error, "refusing to overwrite the drawing's own file " + path.string());
  if (fs::is_directory(path, ec)) return Fail(error, "cannot write " + path.string() + ": it is a folder");

  // A symbolic link is written through: the link stays, its file changes.
  const fs::path target = win32::WriteTarget(path.string());
  fs::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  // Created 0666 less the umask, as a new file of any program is.
  static std::atomic<unsigned> counter{0};
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = (folder / ("." + target.filename().string() + "." + std::to_string(getpid()) + "-" +
                      std::to_string(counter++)))
               .string();
    fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0)
    return Fail(error, "cannot write " + path.string() + ": cannot create a file in " +
                           folder.string() + ": " + std::strerror(errno));

  auto failed = [&](const char* what) {
    std::string message = std::string(what) + " " + path.string() + ": " + std::strerror(errno);
    if (fd >= 0) close(fd);
    unlink(temp.c_str());
    return Fail(error, message);
  };
  // Written piece by piece: the whole text is never held at once. Every
  // few megabytes the disk is asked to start on what was written, so that
  // the final sync waits for little more than the last piece.
  constexpr off_t kStart = 4 << 20;
  off_t written = 0, started = 0;
  auto sink = [&](std::string_view piece) {
    if (!WriteAll(fd, piece)) return false;
    written += static_cast<off_t>(piece.size());
    if (written - started >= kStart) {
      sync_file_range(fd, started, written - started, SYNC_FILE_RANGE_WRITE);
      started = written;
    }
    return true;
  };
  if (!WriteText(sink)) return failed("cannot write");
  // A replaced file keeps its permissions.
  struct stat old {};
  if (stat(target.c_str(), &old) == 0 && fchmod(fd, old.st_mode & 07777) != 0)
    return failed("cannot write");
  if (fsync(fd) != 0) return failed("cannot write");
  if (close(fd) != 0) {
    fd = -1;
    return failed("cannot write");
  }
  fd = -1;
  if (std::rename(temp.c_str(), target.c_str()) != 0) return failed("cannot replace");
  return true;
}

}  // namespace host
