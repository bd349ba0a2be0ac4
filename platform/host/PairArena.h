// Memory for the pair lists a large load makes: taken from the system in
// a few large blocks and given back all at once with the drawing. A load
// makes hundreds of thousands of lists on several threads at a time; from
// the heap, each thread's heap would grow a page at a time under a lock all
// threads share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <thread>
#include <vector>

namespace host {

class PairArena {
 public:
  // Blocks of at least `block` bytes, mapped as they are needed. 2 MB at
  // a time when asked: an arena one thread fills with tens of megabytes
  // takes a call per 2 MB instead of a fault per page, at the cost of the
  // last 2 MB's rest (see Trim).
  // With mapBehind (and mapAhead), the next 2 MB are mapped on a thread of
  // their own while the current ones fill: an arena one edit after another
  // fills (a command's write-back) then waits for no page of it.
  explicit PairArena(size_t block, bool mapAhead = false, bool mapBehind = false);
  ~PairArena();
  PairArena(const PairArena&) = delete;
  PairArena& operator=(const PairArena&) = delete;

  // bytes, 8-aligned; null when the system has no more memory or the
  // range of addresses kept for arenas is full. A block's pages never
  // touched take no memory.
  void* Take(size_t bytes);
  // Gives back the pages of the current block past what was taken (the
  // rest of the last 2 MB mapped ahead); taking again maps them anew.
  void Trim();

 private:
  struct Block {
    char* base;
    size_t size;
  };
  std::vector<Block> blocks_;
  char* next_ = nullptr;
  char* end_ = nullptr;
  char* ahead_ = nullptr;  // mapped ahead up to here
  size_t block_;
  bool mapAhead_;  // mapped 2 MB at a time, blocks on 2 MB bounds
  bool mapBehind_;
  std::thread mapping_;    // mapping the 2 MB from behind_, when joinable
  char* behind_ = nullptr;

  // The 2 MB at ahead_ mapped (by the thread, when it took them) and
  // ahead_ past them; the next 2 MB handed to a thread when asked.
  void MapStep();
  void JoinMapping();
};

// While one lives, pair lists made on its thread take their memory from
// the arena; lists made elsewhere, and every list after it, from the heap.
class PairArenaScope {
 public:
  explicit PairArenaScope(PairArena* arena);
  ~PairArenaScope();
  PairArenaScope(const PairArenaScope&) = delete;
  PairArenaScope& operator=(const PairArenaScope&) = delete;

 private:
  PairArena* previous_;
};

// Memory for size bytes of pairs: from the thread's arena if it has one,
// else from the heap. Throws std::bad_alloc when there is none.
void* AllocatePairs(size_t size);
// Gives heap memory back; arena memory stays until its arena goes.
void FreePairs(void* pairs) noexcept;
// The arena pair lists made on this thread take their memory from, or null.
PairArena* CurrentPairArena() noexcept;

// The allocator of pair lists: any list may take over another's memory,
// wherever it came from, so moves and swaps never copy.
template <class T>
struct PairAllocator {
  using value_type = T;
  PairAllocator() noexcept = default;
  template <class U>
  PairAllocator(const PairAllocator<U>&) noexcept {}
  T* allocate(size_t n) { return static_cast<T*>(AllocatePairs(n * sizeof(T))); }
  void deallocate(T* p, size_t) noexcept { FreePairs(p); }
  template <class U>
  bool operator==(const PairAllocator<U>&) const noexcept {
    return true;
  }
};

}  // namespace host
