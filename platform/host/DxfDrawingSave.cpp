// Writing a drawing as ASCII DXF text.
#include <fcntl.h>
#include <unistd.h>

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
    if (utf8_ && (!IsAscii(value) || value.find("\\U+") != std::string_view::npos))
      out_.Put(code, DxfModelToUtf8(value));
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

  // Through a temporary file only its owner may read, as every replaced
  // file is; written piece by piece, the whole text never held at once.
  // Every few megabytes the disk is asked to start on what was written, so
  // that the final sync waits for little more than the last piece.
  auto write = [&](int fd) {
    constexpr off_t kStart = 4 << 20;
    off_t written = 0, started = 0;
    return WriteText([&](std::string_view piece) {
      if (!WriteAll(fd, piece)) return false;
      written += static_cast<off_t>(piece.size());
      if (written - started >= kStart) {
        sync_file_range(fd, started, written - started, SYNC_FILE_RANGE_WRITE);
        started = written;
      }
      return true;
    });
  };
  switch (win32::ReplaceFileWith(path.string(), write)) {
    case win32::ReplaceStep::kDone:
      return true;
    case win32::ReplaceStep::kCreate: {
      fs::path folder = fs::path(win32::WriteTarget(path.string())).parent_path();
      return Fail(error, "cannot write " + path.string() + ": cannot create a file in " +
                             (folder.empty() ? std::string(".") : folder.string()) + ": " + std::strerror(errno));
    }
    case win32::ReplaceStep::kWrite:
      return Fail(error, "cannot write " + path.string() + ": " + std::strerror(errno));
    case win32::ReplaceStep::kRename:
      break;
  }
  return Fail(error, "cannot replace " + path.string() + ": " + std::strerror(errno));
}

}  // namespace host
