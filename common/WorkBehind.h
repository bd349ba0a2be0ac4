// Work on items done by one thread behind the caller that makes them: the
// caller goes on making the next items while the thread works through
// those handed over, a batch at a time. For a command's read of thousands
// of entities, where asking the host for each is bound to the command's
// thread and working on what the host gave is not.
//
// The work is never run on two threads at once (it may touch what is the
// module's, such as its interned texts), but it runs beside the caller:
// it must touch nothing the caller touches until Finish. A few items are
// worked on the caller's thread at Finish, with no thread started.
#pragma once

#include <array>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

template <typename Item, typename Work>
class WorkBehind {
 public:
  static constexpr size_t kBatch = 256;

  explicit WorkBehind(Work work) : work_(std::move(work)) {}
  // Batches not yet worked on are dropped: the caller is unwinding.
  ~WorkBehind() { Join(true); }
  WorkBehind(const WorkBehind&) = delete;
  WorkBehind& operator=(const WorkBehind&) = delete;

  // Adds an item; each full batch goes to the thread, started at the first.
  void Add(Item item) {
    if (batches_.empty() || batches_.back()->count == kBatch) {
      if (!batches_.empty()) HandOver(batches_.back().get());
      batches_.push_back(std::make_unique<Batch>());
    }
    Batch& batch = *batches_.back();
    batch.items[batch.count++] = std::move(item);
  }

  // Every item worked on: the last batch too, the thread's joined. What
  // the work threw on the thread is thrown here.
  void Finish() {
    if (!batches_.empty()) HandOver(batches_.back().get());
    Join(false);
    if (failed_) std::rethrow_exception(std::exchange(failed_, nullptr));
  }

  // Calls visit(item) for every item in the order added; after Finish.
  template <typename Visit>
  void ForEach(Visit visit) {
    for (const auto& batch : batches_)
      for (size_t i = 0; i < batch->count; ++i) visit(batch->items[i]);
  }

  // Whether a thread took part: for tests.
  bool Threaded() const { return started_; }

 private:
  struct Batch {
    std::array<Item, kBatch> items{};
    size_t count = 0;
  };

  void WorkOn(Batch& batch) {
    for (size_t i = 0; i < batch.count; ++i) work_(batch.items[i]);
  }

  // The last batch of a read too short for a thread is worked here; when
  // no thread can be had, every batch is.
  void HandOver(Batch* batch) {
    if (batch == handed_) return;
    handed_ = batch;
    const bool full = batch->count == kBatch;
    if (!started_ && full && !unthreaded_) {
      try {
        thread_ = std::thread([this] { Run(); });
        started_ = true;
      } catch (const std::system_error&) {
        unthreaded_ = true;
      }
    }
    if (!started_) return WorkOn(*batch);
    {
      std::lock_guard lock(mutex_);
      queue_.push_back(batch);
    }
    wake_.notify_one();
  }

  void Run() {
    for (;;) {
      Batch* batch = nullptr;
      {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [this] { return !queue_.empty() || ending_; });
        if (queue_.empty()) return;
        batch = queue_.front();
        queue_.pop_front();
        if (failed_ || dropping_) continue;
      }
      try {
        WorkOn(*batch);
      } catch (...) {
        std::lock_guard lock(mutex_);
        failed_ = std::current_exception();
      }
    }
  }

  void Join(bool drop) {
    if (!thread_.joinable()) return;
    {
      std::lock_guard lock(mutex_);
      ending_ = true;
      dropping_ = drop;
    }
    wake_.notify_one();
    thread_.join();
  }

  Work work_;
  std::vector<std::unique_ptr<Batch>> batches_;  // the caller's alone
  const Batch* handed_ = nullptr;
  bool started_ = false;
  bool unthreaded_ = false;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Batch*> queue_;
  bool ending_ = false;
  bool dropping_ = false;
  std::exception_ptr failed_;
};
