#include "platform/host/TextPages.h"

#include <sanitizer/asan_interface.h>
#include <sys/mman.h>
#include <unistd.h>

#include "platform/host/MappedFileGuard.h"

namespace host {
size_t TextPages::PageSize() {
  static const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  return page;
}

namespace {

size_t PagesFor(size_t size) {
  size_t page = TextPages::PageSize();
  if (size == 0) return page;
  return (size + page - 1) / page * page;
}

}  // namespace

std::unique_ptr<TextPages> TextPages::Make(size_t size) {
  size_t mapped = PagesFor(size);
  void* base = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (base == MAP_FAILED) return nullptr;
  return std::unique_ptr<TextPages>(new TextPages(static_cast<char*>(base), mapped));
}

std::unique_ptr<TextPages> TextPages::MapFile(int fd, size_t size) {
  const size_t mapped = PagesFor(size);
  void* base = mmap(nullptr, mapped, PROT_READ, MAP_PRIVATE, fd, 0);
  if (base == MAP_FAILED) return nullptr;
  // The page cache may hold the file in large folios, each mapped whole
  // on its first read: parts read at once would then hold far more of the
  // text than they read before it is given back.
  madvise(base, mapped, MADV_NOHUGEPAGE);
  std::unique_ptr<TextPages> pages(new TextPages(static_cast<char*>(base), mapped));
  pages->guard_ = GuardMapping(pages->base_, mapped);
  if (pages->guard_ < 0) return nullptr;
  return pages;
}

bool TextPages::FileChanged() const { return guard_ >= 0 && MappingFaulted(guard_); }

TextPages::~TextPages() {
  Unfence();
  if (guard_ >= 0) UnguardMapping(guard_);
  munmap(base_, mapped_);
}

void TextPages::Fence(size_t size) {
  Unfence();
  if (size >= mapped_) return;
  ASAN_POISON_MEMORY_REGION(base_ + size, mapped_ - size);
  fenced_ = size;
}

// Pages given back or moved must not stay poisoned for whoever maps them next.
void TextPages::Unfence() {
  if (fenced_ == SIZE_MAX) return;
  ASAN_UNPOISON_MEMORY_REGION(base_ + fenced_, mapped_ - fenced_);
  fenced_ = SIZE_MAX;
}

bool TextPages::Grow(size_t size) {
  size_t mapped = PagesFor(size);
  if (mapped <= mapped_) return true;
  Unfence();
  void* moved = mremap(base_, mapped_, mapped, MREMAP_MAYMOVE);
  if (moved == MAP_FAILED) return false;
  base_ = static_cast<char*>(moved);
  mapped_ = mapped;
  return true;
}

void TextPages::Release(size_t from, size_t to) {
  const size_t unit = PageSize();
  from = (from + unit - 1) / unit * unit;
  to = to / unit * unit;
  if (to > mapped_) to = mapped_ / unit * unit;
  if (from < to) madvise(base_ + from, to - from, MADV_DONTNEED);
}

void TextPages::Keep(size_t size) {
  size_t kept = PagesFor(size);
  if (kept >= mapped_) return;
  const size_t fenced = fenced_;
  Unfence();
  munmap(base_ + kept, mapped_ - kept);
  mapped_ = kept;
  if (fenced != SIZE_MAX) Fence(fenced);
}

}  // namespace host
