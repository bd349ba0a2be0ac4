// Room for the small entities a scene is given by the ten thousand (a
// preview's lines and names): taken from blocks one after another and given
// back a block at a time when the scene lets its entities go, where a heap
// block each was taken and given back entity by entity. Blocks stay under
// the heap's mapping threshold: the next scene takes the same pages again.
#pragma once

#include <cstddef>
#include <new>
#include <utility>
#include <vector>

class GLEntityArena {
 public:
  GLEntityArena() = default;
  GLEntityArena(const GLEntityArena&) = delete;
  GLEntityArena& operator=(const GLEntityArena&) = delete;
  ~GLEntityArena() { Release(); }

  // A T made in the arena. Its owner ends it (its destructor, not delete)
  // before the arena is released.
  template <class T, class... Args>
  T* Make(Args&&... args) {
    static_assert(alignof(T) <= kAlign, "the arena aligns to 16 bytes");
    return new (Take(sizeof(T))) T(std::forward<Args>(args)...);
  }
  // Whether p lies in one of the arena's blocks.
  bool Holds(const void* p) const;
  // Gives every block back: whatever was made in them is gone.
  void Release();

 private:
  static constexpr size_t kAlign = 16;
  static_assert(kAlign <= __STDCPP_DEFAULT_NEW_ALIGNMENT__, "blocks come from plain new");
  static constexpr size_t kBlockBytes = size_t{64} << 10;
  void* Take(size_t bytes);

  struct Block {
    char* begin;
    char* end;
  };
  // In address order, for Holds.
  std::vector<Block> blocks_;
  char* next_ = nullptr;
  char* end_ = nullptr;
  // The block Holds found last: a scene's list meets its entities in the
  // order they were made.
  mutable size_t lastHit_ = 0;
};
