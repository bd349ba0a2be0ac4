// The objects of a drawing by handle: open addressing in one block, so that
// a load indexes its hundreds of thousands of handles without a node each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace host {

struct DxfEntity;

class HandleIndex {
 public:
  // Room for count handles without growing.
  void Reserve(size_t count);
  // Keeps the first object given a handle; handle 0 is no handle.
  void Insert(uint64_t handle, DxfEntity* entity);
  DxfEntity* Find(uint64_t handle) const;
  // Forgets the handle when it names this object.
  void Erase(uint64_t handle, const DxfEntity* entity);
  void Clear();
  size_t size() const { return count_; }

  template <class Visit>
  void ForEach(Visit visit) const {
    for (const Slot& s : slots_)
      if (s.handle) visit(s.handle, s.entity);
  }

 private:
  struct Slot {
    uint64_t handle = 0;  // 0: free
    DxfEntity* entity = nullptr;
  };
  size_t Home(uint64_t handle) const {
    // Handles mostly run in order: a run takes neighbouring slots, which a
    // load fills in order, while the bits above the slots' are mixed in so
    // that handles far apart do not pile up.
    return static_cast<size_t>((handle ^ ((handle >> bits_) * 0x9E3779B97F4A7C15ull)) & mask_);
  }
  void Rehash(size_t slots);

  std::vector<Slot> slots_;  // a power of two of them, at most three quarters used
  size_t count_ = 0;
  size_t mask_ = 0;
  unsigned bits_ = 0;
};

}  // namespace host
