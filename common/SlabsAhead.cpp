#include "common/SlabsAhead.h"

#include <sys/mman.h>

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <utility>

#include "common/SlabPool.h"

namespace {

// Not from the heap: a hint on part of the heap would spread to what the
// heap maps next to it. byTouch faults the pages in by writing to them, for
// the threads that make slabs ahead: a fault holds the slab's own mapping
// while the system zeroes the page, where the call that faults in a range
// holds the whole process's map of memory, and every map or unmap of the
// command's thread would wait for the zeroing.
void* MapFreshSlab(bool byTouch) {
  const size_t bytes = SlabPool::kSlabBytes;
  void* mapped = mmap(nullptr, 2 * bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  const auto begin = reinterpret_cast<uintptr_t>(mapped);
  const uintptr_t aligned = (begin + bytes - 1) / bytes * bytes;
  if (aligned > begin) munmap(mapped, aligned - begin);
  if (aligned + bytes < begin + 2 * bytes)
    munmap(reinterpret_cast<void*>(aligned + bytes), begin + 2 * bytes - (aligned + bytes));
  void* slab = reinterpret_cast<void*>(aligned);
#ifdef MADV_HUGEPAGE
  // Only a hint: where the system keeps no large pages the slab still
  // holds its objects side by side.
  madvise(slab, bytes, MADV_HUGEPAGE);
#endif
  if (byTouch) {
    constexpr size_t kSmallPage = 4096;
    for (size_t at = 0; at < bytes; at += kSmallPage) static_cast<volatile char*>(slab)[at] = 0;
    return slab;
  }
#ifdef MADV_POPULATE_WRITE
  // Faulted in at once: where no large page is to be had, the slab would
  // otherwise take a fault for each of its small pages as it fills. Only a
  // hint too (older systems refuse it).
  madvise(slab, bytes, MADV_POPULATE_WRITE);
#endif
  return slab;
}

// Set once the reserve is gone at the module's end: pools that outlive it
// map and unmap for themselves.
constinit std::atomic<bool> reserveGone{false};

class SlabReserve {
  // Four stand ready, made by two threads: a command that reads a network
  // fills a slab in about the time the system takes to zero one, at times
  // longer. More would only add to what the command holds.
  static constexpr size_t kDepth = 4;
  static constexpr size_t kThreads = 2;

 public:
  SlabReserve() = default;
  ~SlabReserve() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : threads_)
      if (t.joinable()) t.join();
    for (size_t i = 0; i < ready_; ++i) UnmapSlab(stock_[i]);
    reserveGone = true;
  }

  void* Take() {
    std::unique_lock lock(mutex_);
    if (!filling_) Start();
    if (ready_ > 0) {
      void* slab = stock_[--ready_];
      lock.unlock();
      wake_.notify_all();
      return slab;
    }
    lock.unlock();
    wake_.notify_all();
    return MapFreshSlab(false);
  }

  void Release() {
    std::array<void*, kDepth> stock;
    size_t ready;
    {
      std::lock_guard lock(mutex_);
      filling_ = false;
      stock = stock_;
      ready = std::exchange(ready_, 0);
    }
    for (size_t i = 0; i < ready; ++i) UnmapSlab(stock[i]);
  }

  void Prepare() {
    {
      std::lock_guard lock(mutex_);
      if (!filling_) Start();
    }
    wake_.notify_all();
  }

  SlabsAheadState Now() {
    std::lock_guard lock(mutex_);
    return {filling_, ready_};
  }

 private:
  // Under the lock.
  void Start() {
    for (std::thread& t : threads_) {
      if (t.joinable()) continue;
      try {
        t = std::thread([this] { Run(); });
      } catch (const std::system_error&) {
        // No thread to be had: the command maps its own, or one thread
        // makes them.
        if (&t == &threads_[0]) return;
        break;
      }
    }
    filling_ = true;
  }

  void Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
      wake_.wait(lock, [this] { return stop_ || (filling_ && ready_ + making_ < kDepth); });
      if (stop_) return;
      ++making_;
      lock.unlock();
      void* slab = nullptr;
      try {
        slab = MapFreshSlab(true);
      } catch (const std::bad_alloc&) {
      }
      lock.lock();
      --making_;
      if (!slab) {
        filling_ = false;  // no room: the command then fails on its own map
      } else if (filling_ && !stop_ && ready_ < kDepth) {
        stock_[ready_++] = slab;
      } else {  // no longer asked for
        lock.unlock();
        UnmapSlab(slab);
        lock.lock();
      }
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::array<void*, kDepth> stock_{};
  size_t ready_ = 0;
  size_t making_ = 0;
  bool filling_ = false;
  bool stop_ = false;
  std::array<std::thread, kThreads> threads_;
};

SlabReserve& Reserve() {
  static SlabReserve reserve;
  return reserve;
}

}  // namespace

void* MapSlab() {
  return reserveGone ? MapFreshSlab(false) : Reserve().Take();
}

void UnmapSlab(void* slab) { munmap(slab, SlabPool::kSlabBytes); }

void PrepareSlabsAhead() {
  if (!reserveGone) Reserve().Prepare();
}

void ReleaseSlabsAhead() {
  if (!reserveGone) Reserve().Release();
}

SlabsAheadState SlabsAheadNow() {
  return reserveGone ? SlabsAheadState{} : Reserve().Now();
}
