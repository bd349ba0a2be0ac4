// The objects of a drawing by handle: open addressing in one block, so that
// a load indexes its hundreds of thousands of handles without a node each.
// Robin Hood order keeps an erase as cheap as a search, however long the
// run of neighbouring handles it falls in.
//
// An object is named by its slot among the drawing's objects, not by its
// address: a handle and a slot that both fit in 32 bits (all but freak
// drawings) take 8 bytes, half of a handle and an address. Larger ones are
// kept apart, one node each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace host {

class HandleIndex {
 public:
  static constexpr uint64_t kNone = UINT64_MAX;

  // Room for count handles without growing; a large table's pages are
  // mapped on up to `threads` threads.
  void Reserve(size_t count, unsigned threads = 1);
  // Keeps the first object given a handle; handle 0 is no handle.
  void Insert(uint64_t handle, uint64_t object);
  // Inserts handles[i] for object first + i, i from 0 to count - 1, as
  // Insert one after another would, on up to `threads` threads: each takes
  // the handles whose home lies in its own range of slots.
  void InsertInOrder(const uint64_t* handles, size_t count, uint64_t first, unsigned threads);
  // The object's slot, kNone when the handle is not in the index.
  uint64_t Find(uint64_t handle) const;
  // Forgets the handle when it names this object.
  void Erase(uint64_t handle, uint64_t object);
  void Clear();
  size_t size() const { return count_ + far_.size(); }

  template <class Visit>
  void ForEach(Visit visit) const {
    for (const Slot& s : slots_)
      if (s.handle) visit(uint64_t{s.handle}, uint64_t{s.object});
    for (const auto& [handle, object] : far_) visit(handle, object);
  }

 private:
  struct Slot {
    uint32_t handle = 0;  // 0: free
    uint32_t object = 0;
  };
  static bool Near(uint64_t handle, uint64_t object) { return handle <= UINT32_MAX && object < UINT32_MAX; }
  size_t Home(uint64_t handle) const {
    // Handles mostly run in order: a run takes neighbouring slots, which a
    // load fills in order, while the bits above the slots' are mixed in so
    // that handles far apart do not pile up.
    return static_cast<size_t>((handle ^ ((handle >> bits_) * 0x9E3779B97F4A7C15ull)) & mask_);
  }
  // How far the handle in slot i lies past its home.
  size_t Distance(size_t i) const { return (i - Home(slots_[i].handle)) & mask_; }
  // The slot of a near handle, or slots_.size().
  size_t Locate(uint64_t handle) const;
  // Puts a handle not in the index into a table with room for it.
  void Place(Slot slot);
  // Place within slots [begin, end) only: false, with the slot to place
  // still in `slot`, when a handle would be pushed past end.
  bool PlaceWithin(Slot& slot, size_t end);
  void Rehash(size_t slots, unsigned threads = 1);

  std::vector<Slot> slots_;  // a power of two of them, at most three quarters used
  size_t count_ = 0;
  size_t mask_ = 0;
  unsigned bits_ = 0;
  std::unordered_map<uint64_t, uint64_t> far_;  // handles or objects beyond 32 bits
};

}  // namespace host
