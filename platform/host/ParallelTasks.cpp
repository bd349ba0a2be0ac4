#include "platform/host/ParallelTasks.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace host {

void RunTasks(size_t count, unsigned threads, const std::function<void(size_t)>& task) {
  std::atomic<size_t> next{0};
  std::atomic<bool> failed{false};
  std::exception_ptr first;
  std::mutex firstLock;
  auto work = [&] {
    for (size_t i; !failed.load(std::memory_order_relaxed) && (i = next.fetch_add(1)) < count;) {
      try {
        task(i);
      } catch (...) {
        std::lock_guard<std::mutex> hold(firstLock);
        if (!first) first = std::current_exception();
        failed = true;
      }
    }
  };
  size_t helpers = std::min<size_t>(threads > 0 ? threads - 1 : 0, count > 0 ? count - 1 : 0);
  std::vector<std::thread> pool;
  pool.reserve(helpers);
  try {
    for (size_t i = 0; i < helpers; ++i) pool.emplace_back(work);
  } catch (...) {
    // No thread to be had: the ones started and this one do the work.
  }
  work();
  for (std::thread& t : pool) t.join();
  if (first) std::rethrow_exception(first);
}

unsigned WorkThreads() {
  // Beyond eight the memory bus, not the cores, sets the pace of a load.
  return std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
}

}  // namespace host
