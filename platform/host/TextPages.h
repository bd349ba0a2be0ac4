// Memory for a drawing's text taken from the system in whole pages, so that
// a load can give back the pages it has read and no longer needs, and keep
// the rest where it is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace host {

class TextPages {
 public:
  // Room for size bytes (at least one page); null when memory runs out.
  static std::unique_ptr<TextPages> Make(size_t size);
  // The first size bytes of a regular file, read only, through a private
  // mapping of it: the page cache's pages, nothing copied. Null when it
  // cannot be mapped or guarded (read it instead). While it lives, a part
  // of the file cut off reads as zeros and is noted (FileChanged) instead
  // of ending the process.
  static std::unique_ptr<TextPages> MapFile(int fd, size_t size);
  ~TextPages();
  TextPages(const TextPages&) = delete;
  TextPages& operator=(const TextPages&) = delete;

  char* data() const { return base_; }
  size_t capacity() const { return mapped_; }
  // Room for size bytes, keeping the contents; the pages may move, so only
  // while nothing points into them. False when memory runs out.
  bool Grow(size_t size);
  // Gives back the whole pages inside [from, to): they read as zeros after.
  void Release(size_t from, size_t to);
  static size_t PageSize();
  // Made by MapFile.
  bool IsFile() const { return guard_ >= 0; }
  // A mapped file was cut short while it was read.
  bool FileChanged() const;
  // Gives back the pages past the first size bytes; nothing moves.
  void Keep(size_t size);
  // Under AddressSanitizer, a read or write past the first size bytes is
  // reported from now on, as past the end of a heap block; a reader of the
  // text can then not over-read it unseen. Nothing otherwise.
  void Fence(size_t size);

 private:
  TextPages(char* base, size_t mapped) : base_(base), mapped_(mapped) {}
  void Unfence();

  char* base_;
  size_t mapped_;
  size_t fenced_ = SIZE_MAX;  // where the fence begins; none at SIZE_MAX
  int guard_ = -1;  // a mapped file's slot in the guard
};

}  // namespace host
