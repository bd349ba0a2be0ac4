// Growable array of plain 4- or 8-byte values (ints, doubles, pointers).
// Elements are moved as raw bytes and never constructed or destroyed. The
// growth step doubles small arrays and adds at most 64 KiB of elements in one
// step to large ones. Allocation failures leave the array empty (data null,
// capacity 0) rather than reporting an error.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>

template <typename T>
class qmArray {
  static_assert(std::is_trivially_copyable_v<T> && (sizeof(T) == 4 || sizeof(T) == 8),
                "qmArray holds plain 4- or 8-byte values");

 public:
  explicit qmArray(int initialCapacity = 0, int step = 8) : growStep(step) {
    if (initialCapacity > 0) {
      data = new (std::nothrow) T[initialCapacity];
      if (data) capacity = initialCapacity;
    }
  }
  qmArray(const qmArray&) = delete;
  qmArray& operator=(const qmArray&) = delete;
  ~qmArray() { delete[] data; }

  int GetCount() const { return count; }
  int GetCapacity() const { return capacity; }
  T* GetData() const { return data; }
  // No range check: 0 <= i < GetCount() is the caller's duty.
  T& ElementAt(int i) const { return data[i]; }

  // Inserts before index (0 <= index <= count). Nothing is inserted when the
  // array cannot grow; it is then empty.
  void InsertAt(int index, const T& value) {
    T copy = value;  // value may live in the block about to be replaced
    if (count >= capacity && !Reallocate(Grown(count, count))) return;
    if (index < count)
      std::memmove(data + index + 1, data + index, sizeof(T) * static_cast<size_t>(count - index));
    data[index] = copy;
    ++count;
  }

  // The new element's index; -1 when the array could not grow.
  int Add(const T& value) {
    int index = count;
    InsertAt(index, value);
    return count > index ? index : -1;
  }

  // Removes element index (0 <= index < count); the capacity stays.
  void RemoveAt(int index) {
    if (count <= 0) return;
    if (index + 1 < count)
      std::memmove(data + index, data + index + 1, sizeof(T) * static_cast<size_t>(count - index - 1));
    --count;
  }

  // Sets the count, growing first when needed; new elements are not
  // initialised. A negative n empties the array.
  void SetSize(int n) {
    if (n < 0) n = 0;
    if (n > capacity && !Reallocate(std::max<int64_t>(Grown(capacity, capacity), n))) return;
    count = n;
  }

  // Reallocates to exactly n elements; the count is clipped to n.
  void SetCapacity(int n) {
    if (n < 0) n = 0;
    if (n != capacity) Reallocate(n);
  }

  // Appends other's elements, growing to exactly the total (no step).
  void Append(const qmArray& other) {
    int n = other.count;
    if (n <= 0) return;
    int64_t total = int64_t{count} + n;
    if (total > capacity && !Reallocate(total)) return;
    // other may be this array: its elements are read from the current block.
    std::memmove(data + count, other.data, sizeof(T) * static_cast<size_t>(n));
    count += n;
  }

 private:
  static constexpr int64_t kMaxStep = 65536 / sizeof(T);

  // base + max(growStep, min(size, 64 KiB of elements)).
  int64_t Grown(int64_t base, int64_t size) const {
    return base + std::max<int64_t>(growStep, std::min(size, kMaxStep));
  }

  // Moves the first min(n, count) elements into a new block of n elements.
  // On failure the array ends up empty.
  bool Reallocate(int64_t n) {
    if (n <= 0) {
      delete[] data;
      data = nullptr;
      capacity = count = 0;
      return n == 0;
    }
    T* block = n <= INT32_MAX ? new (std::nothrow) T[static_cast<size_t>(n)] : nullptr;
    if (!block) {
      delete[] data;
      data = nullptr;
      capacity = count = 0;
      return false;
    }
    int keep = static_cast<int>(std::min<int64_t>(n, count));
    if (keep > 0) std::memcpy(block, data, sizeof(T) * static_cast<size_t>(keep));
    delete[] data;
    data = block;
    capacity = static_cast<int32_t>(n);
    count = keep;
    return true;
  }

  T* data = nullptr;
  int32_t capacity = 0;
  int32_t count = 0;
  int32_t growStep = 8;
};
