// A stack kept in chunks of a fixed count: growing never moves what it
// holds, so a command of a million edits never copies its undo records
// again, and never needs one block of memory as large as all of them.
#pragma once

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

namespace host {

template <class T, size_t kChunk = 2048>
class ChunkedStack {
 public:
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

  void push_back(T&& value) {
    if (size_ == chunks_.size() * kChunk) {
      chunks_.push_back(std::make_unique<std::vector<T>>());
      chunks_.back()->reserve(kChunk);
    }
    chunks_[size_ / kChunk]->push_back(std::move(value));
    ++size_;
  }
  T& back() { return (*this)[size_ - 1]; }
  void pop_back() {
    --size_;
    chunks_[size_ / kChunk]->pop_back();
    // A spare chunk beyond the one in use is kept, more are given back.
    while (chunks_.size() > size_ / kChunk + 2) chunks_.pop_back();
  }
  // Takes off what lies above size, newest first.
  void PopTo(size_t size) {
    while (size_ > size) pop_back();
  }
  T& operator[](size_t i) { return (*chunks_[i / kChunk])[i % kChunk]; }

  // Empties the stack; the first chunk stays for the next use.
  void clear() {
    if (chunks_.size() > 1) chunks_.resize(1);
    if (!chunks_.empty()) chunks_.front()->clear();
    size_ = 0;
  }

 private:
  std::vector<std::unique_ptr<std::vector<T>>> chunks_;
  size_t size_ = 0;
};

}  // namespace host
