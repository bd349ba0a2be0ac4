#include "platform/host/PairArena.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <map>
#include <mutex>
#include <new>
#include <system_error>

#include "platform/host/LargePages.h"
#include "platform/host/TextPages.h"

namespace host {
namespace {

thread_local PairArena* t_arena = nullptr;

// Every arena's blocks lie in one range of addresses reserved once (no
// memory behind it until a block is taken), so that memory is known to be
// an arena's by its address alone: a list or object carries no word saying
// where it came from. Where the range cannot be had, arenas have no blocks
// and everything comes from the heap.
class ArenaSpace {
 public:
  static ArenaSpace& Get() {
    static ArenaSpace* space = new ArenaSpace;  // never destroyed: lists are freed to the very end
    return *space;
  }

  bool Contains(const void* p) const {
    return reinterpret_cast<uintptr_t>(p) - base_ < size_;
  }

  // size bytes, a multiple of the page size, starting on a multiple of
  // align (a power of two); null when the range is full.
  char* Take(size_t size, size_t align) {
    std::lock_guard<std::mutex> hold(lock_);
    for (auto it = free_.begin(); it != free_.end(); ++it) {
      const uintptr_t from = it->first, at = (from + align - 1) & ~(align - 1);
      if (it->second < size + (at - from)) continue;
      const size_t left = it->second - size - (at - from);
      free_.erase(it);
      if (at > from) free_.emplace(from, at - from);
      if (left) free_.emplace(at + size, left);
      char* block = reinterpret_cast<char*>(at);
      if (mprotect(block, size, PROT_READ | PROT_WRITE) != 0) {
        Free(at, size);
        return nullptr;
      }
      return block;
    }
    return nullptr;
  }

  // Gives the block's memory back to the system and its addresses to the range.
  void GiveBack(char* block, size_t size) {
    mmap(block, size, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE | MAP_FIXED, -1, 0);
    std::lock_guard<std::mutex> hold(lock_);
    Free(reinterpret_cast<uintptr_t>(block), size);
  }

 private:
  static constexpr size_t kSize = size_t{64} << 30;

  ArenaSpace() {
    void* base = mmap(nullptr, kSize, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (base == MAP_FAILED) return;
    base_ = reinterpret_cast<uintptr_t>(base);
    size_ = kSize;
    free_.emplace(base_, size_);
  }

  // Adds a free range, joined with the free ranges it touches.
  void Free(uintptr_t at, size_t size) {
    auto next = free_.lower_bound(at);
    if (next != free_.begin()) {
      auto before = std::prev(next);
      if (before->first + before->second == at) {
        at = before->first;
        size += before->second;
        free_.erase(before);
      }
    }
    if (next != free_.end() && at + size == next->first) {
      size += next->second;
      free_.erase(next);
    }
    free_.emplace(at, size);
  }

  uintptr_t base_ = 0;
  size_t size_ = 0;
  std::mutex lock_;
  std::map<uintptr_t, size_t> free_;  // free ranges by their start
};

}  // namespace

PairArena::PairArena(size_t block, bool mapAhead, bool mapBehind)
    : block_(block), mapAhead_(mapAhead), mapBehind_(mapAhead && mapBehind) {}

PairArena::~PairArena() {
  JoinMapping();
  for (const Block& b : blocks_) ArenaSpace::Get().GiveBack(b.base, b.size);
}

void PairArena::JoinMapping() {
  if (mapping_.joinable()) mapping_.join();
}

void PairArena::MapStep() {
  const size_t step = std::min<size_t>(kLargePage, static_cast<size_t>(end_ - ahead_));
  if (mapping_.joinable() && behind_ == ahead_) JoinMapping();
  else MapPagesAhead(ahead_, step);
  ahead_ += step;
  if (!mapBehind_ || ahead_ == end_) return;
  JoinMapping();
  // Pages the thread has not reached yet are faulted in by whoever
  // touches them first: mapping keeps what they hold.
  const size_t next = std::min<size_t>(kLargePage, static_cast<size_t>(end_ - ahead_));
  try {
    mapping_ = std::thread([at = ahead_, next] { MapPagesAhead(at, next); });
    behind_ = ahead_;
  } catch (const std::system_error&) {
    behind_ = nullptr;  // no thread to be had: mapped when reached
  }
}

void* PairArena::Take(size_t bytes) {
  bytes = (bytes + 7) & ~size_t{7};
  if (static_cast<size_t>(end_ - next_) < bytes) {
    const size_t page = mapAhead_ ? kLargePage : TextPages::PageSize();
    const size_t size = ((bytes > block_ ? bytes : block_) + page - 1) / page * page;
    JoinMapping();  // the thread maps pages of the block left behind
    char* base = ArenaSpace::Get().Take(size, page);
    if (!base) return nullptr;
    blocks_.push_back({base, size});
    next_ = ahead_ = base;
    end_ = next_ + size;
  }
  void* taken = next_;
  next_ += bytes;
  // 2 MB at a time, mapped in one call, not one fault a page.
  while (mapAhead_ && next_ > ahead_) MapStep();
  return taken;
}

void PairArena::Trim() {
  JoinMapping();  // else it could map again what is given back
  const uintptr_t page = TextPages::PageSize();
  char* from = reinterpret_cast<char*>((reinterpret_cast<uintptr_t>(next_) + page - 1) & ~(page - 1));
  if (from < end_) madvise(from, static_cast<size_t>(end_ - from), MADV_DONTNEED);
}

PairArenaScope::PairArenaScope(PairArena* arena) : previous_(t_arena) { t_arena = arena; }

PairArenaScope::~PairArenaScope() { t_arena = previous_; }

PairArena* CurrentPairArena() noexcept { return t_arena; }

void* AllocatePairs(size_t size) {
  if (t_arena)
    if (void* taken = t_arena->Take(size)) return taken;
  void* block = std::malloc(size ? size : 1);
  if (!block) throw std::bad_alloc();
  return block;
}

void FreePairs(void* pairs) noexcept {
  if (pairs && !ArenaSpace::Get().Contains(pairs)) std::free(pairs);
}

}  // namespace host
