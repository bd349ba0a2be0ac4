#include "platform/host/PairArena.h"

#include <sys/mman.h>

#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/host/TextPages.h"

namespace host {
namespace {

thread_local PairArena* t_arena = nullptr;

// Each block of memory begins with a word that says where it came from.
constexpr size_t kHeader = 8;
constexpr uint64_t kFromHeap = 0, kFromArena = 1;

}  // namespace

PairArena::PairArena(size_t block) : block_(block) {}

PairArena::~PairArena() {
  for (const Block& b : blocks_) munmap(b.base, b.size);
}

void* PairArena::Take(size_t bytes) {
  bytes = (bytes + 7) & ~size_t{7};
  if (static_cast<size_t>(end_ - next_) < bytes) {
    const size_t page = TextPages::PageSize();
    const size_t size = ((bytes > block_ ? bytes : block_) + page - 1) / page * page;
    void* base = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED) return nullptr;
    blocks_.push_back({static_cast<char*>(base), size});
    next_ = static_cast<char*>(base);
    end_ = next_ + size;
  }
  void* taken = next_;
  next_ += bytes;
  return taken;
}

PairArenaScope::PairArenaScope(PairArena* arena) : previous_(t_arena) { t_arena = arena; }

PairArenaScope::~PairArenaScope() { t_arena = previous_; }

void* AllocatePairs(size_t size) {
  if (t_arena)
    if (auto* block = static_cast<char*>(t_arena->Take(size + kHeader))) {
      std::memcpy(block, &kFromArena, kHeader);
      return block + kHeader;
    }
  auto* block = static_cast<char*>(std::malloc(size + kHeader));
  if (!block) throw std::bad_alloc();
  std::memcpy(block, &kFromHeap, kHeader);
  return block + kHeader;
}

void FreePairs(void* pairs) noexcept {
  if (!pairs) return;
  char* block = static_cast<char*>(pairs) - kHeader;
  uint64_t from;
  std::memcpy(&from, block, kHeader);
  if (from == kFromHeap) std::free(block);
}

}  // namespace host
