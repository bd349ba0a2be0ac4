// The scene library's growable arrays of plain values (vectors, pointers):
// a block of elements, a count and a grow step. Elements are moved with
// memory copies, so only trivially copyable types qualify; a pointer array
// does not own what it points to.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>

struct GLArrayMemCopy {
  template <class T>
  static void Copy(T* to, const T* from, uint32_t n) {
    if (n) std::memmove(static_cast<void*>(to), static_cast<const void*>(from), sizeof(T) * n);
  }
};

template <class T, class CopyPolicy = GLArrayMemCopy>
class GLArray {
  static_assert(std::is_trivially_copyable_v<T>, "elements are moved as bytes");

 public:
  // A failed allocation leaves the array without a block.
  explicit GLArray(uint32_t capacity = 0, uint32_t growStep = 10) : growStep_(growStep) { SetCapacity(capacity); }
  GLArray(const GLArray& other) : growStep_(other.growStep_) { *this = other; }
  GLArray& operator=(const GLArray& other) {
    if (this == &other) return *this;
    if (capacity_ < other.count_) {
      T* block = new (std::nothrow) T[other.count_]();
      if (!block) return *this;
      delete[] data_;
      data_ = block;
      capacity_ = other.count_;
    }
    count_ = other.count_;
    CopyPolicy::Copy(data_, other.data_, count_);
    return *this;
  }
  ~GLArray() { delete[] data_; }

  // A block of exactly n elements holding the first min(count, n); 0 frees
  // the block. False (nothing changed) when memory runs out.
  bool SetCapacity(uint32_t n) {
    if (n == capacity_) return true;
    if (n == 0) {
      delete[] data_;
      data_ = nullptr;
      capacity_ = count_ = 0;
      return true;
    }
    T* block = new (std::nothrow) T[n]();
    if (!block) return false;
    count_ = std::min(count_, n);
    CopyPolicy::Copy(block, data_, count_);
    delete[] data_;
    data_ = block;
    capacity_ = n;
    return true;
  }
  // Elements beyond the old count keep what the block held.
  bool SetSize(uint32_t n) {
    if (n > capacity_ && !SetCapacity(std::max(capacity_ + growStep_, n))) return false;
    count_ = n;
    return true;
  }
  // An index past the count appends.
  bool InsertAt(uint32_t index, const T& element) {
    if (count_ >= capacity_ && !SetCapacity(count_ + std::max(growStep_, 1u))) return false;
    index = std::min(index, count_);
    CopyPolicy::Copy(data_ + index + 1, data_ + index, count_ - index);
    data_[index] = element;
    ++count_;
    return true;
  }
  bool Add(const T& element) { return InsertAt(count_, element); }
  bool Append(const GLArray& other) {
    if (other.count_ == 0) return true;
    const uint64_t total = uint64_t{count_} + other.count_;
    if (total > UINT32_MAX) return false;
    if (total > capacity_ && !SetCapacity(static_cast<uint32_t>(total))) return false;
    CopyPolicy::Copy(data_ + count_, other.data_, other.count_);
    count_ = static_cast<uint32_t>(total);
    return true;
  }
  void RemoveAll() { count_ = 0; }

  T& operator[](uint32_t i) { return data_[i]; }
  const T& operator[](uint32_t i) const { return data_[i]; }
  T* GetData() { return data_; }
  const T* GetData() const { return data_; }
  T* begin() { return data_; }
  T* end() { return data_ + count_; }
  const T* begin() const { return data_; }
  const T* end() const { return data_ + count_; }
  uint32_t GetCount() const { return count_; }
  uint32_t GetCapacity() const { return capacity_; }
  uint32_t GetGrowStep() const { return growStep_; }
  void SetGrowStep(uint32_t step) { growStep_ = step; }

 private:
  T* data_ = nullptr;
  uint32_t capacity_ = 0;
  uint32_t count_ = 0;
  uint32_t growStep_ = 10;
};
