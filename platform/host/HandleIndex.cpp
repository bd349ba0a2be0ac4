#include "platform/host/HandleIndex.h"

#include <bit>
#include <utility>

#include "platform/host/LargePages.h"
#include "platform/host/ParallelTasks.h"

namespace host {

void HandleIndex::Reserve(size_t count, unsigned threads) {
  if (4 * count > 3 * slots_.size()) Rehash(std::bit_ceil(4 * count / 3 + 1), threads);
}

void HandleIndex::Rehash(size_t slots, unsigned threads) {
  if (slots < 16) slots = 16;
  std::vector<Slot> fresh;
  fresh.reserve(slots);
  MapPagesAhead(fresh.data(), slots * sizeof(Slot), threads);
  fresh.resize(slots);
  std::vector<Slot> old = std::exchange(slots_, std::move(fresh));
  bits_ = static_cast<unsigned>(std::countr_zero(slots));
  mask_ = slots - 1;
  count_ = 0;
  for (const Slot& s : old)
    if (s.handle) Place(s);
}

void HandleIndex::Place(Slot slot) {
  // The one farther from its home keeps the slot: a handle never lies
  // behind one that is closer to home, which bounds searches and erases
  // by how far handles were pushed, not by how long their run is.
  const size_t mask = mask_;
  size_t i = Home(slot.handle), distance = 0;
  for (; slots_[i].handle; i = (i + 1) & mask, ++distance) {
    const size_t theirs = Distance(i);
    if (theirs < distance) {
      std::swap(slot, slots_[i]);
      distance = theirs;
    }
  }
  slots_[i] = slot;
  ++count_;
}

bool HandleIndex::PlaceWithin(Slot& slot, size_t end) {
  size_t i = Home(slot.handle), distance = 0;
  for (; slots_[i].handle; ++i, ++distance) {
    if (i + 1 == end) {
      if (Distance(i) < distance) std::swap(slot, slots_[i]);
      return false;
    }
    const size_t theirs = Distance(i);
    if (theirs < distance) {
      std::swap(slot, slots_[i]);
      distance = theirs;
    }
  }
  slots_[i] = slot;
  return true;
}

void HandleIndex::InsertInOrder(const uint64_t* handles, size_t count, uint64_t first, unsigned threads) {
  Reserve(size() + count, threads);
  // A range of at least 64K slots for each thread; one thread or a small
  // table: one by one.
  size_t ranges = 1;
  while (ranges < threads && slots_.size() / (2 * ranges) >= (size_t{1} << 16)) ranges *= 2;
  if (threads < 2 || ranges < 2) {
    for (size_t i = 0; i < count; ++i) Insert(handles[i], first + i);
    return;
  }
  const size_t span = slots_.size() / ranges;
  // What a range cannot hold (pushed past its end, or found nowhere in it)
  // is placed after, one by one, in order, with what lay there before.
  struct Range {
    std::vector<Slot> over;
    size_t placed = 0;
  };
  std::vector<Range> of(ranges);
  RunTasks(ranges, threads, [&](size_t r) {
    const size_t begin = r * span, end = begin + span;
    Range& range = of[r];
    for (size_t i = 0; i < count; ++i) {
      const uint64_t handle = handles[i];
      if (!handle || !Near(handle, first + i)) continue;
      const size_t home = Home(handle);
      if (home < begin || home >= end) continue;
      // Already there (an earlier object of the handle): the first stays.
      bool found = false, reached = false;
      for (size_t j = home, distance = 0; slots_[j].handle; ++j, ++distance) {
        if (slots_[j].handle == handle) {
          found = true;
          break;
        }
        if (Distance(j) < distance) break;
        if (j + 1 == end) {
          reached = true;
          break;
        }
      }
      if (found) continue;
      Slot slot{static_cast<uint32_t>(handle), static_cast<uint32_t>(first + i)};
      if (reached) {
        range.over.push_back(slot);
        continue;
      }
      if (PlaceWithin(slot, end)) ++range.placed;
      else range.over.push_back(slot);  // one pushed out; the new one is in
    }
  });
  for (const Range& range : of) count_ += range.placed;
  // A handle's later objects probe where its first did, so they are left
  // over after it (a probe only meets handles as far from home as before):
  // in order, the first one stays.
  for (const Range& range : of)
    for (const Slot& slot : range.over)
      if (Locate(slot.handle) == slots_.size()) Place(slot);
  // Handles or objects beyond 32 bits, in order.
  for (size_t i = 0; i < count; ++i)
    if (handles[i] && !Near(handles[i], first + i)) Insert(handles[i], first + i);
}

size_t HandleIndex::Locate(uint64_t handle) const {
  if (slots_.empty() || handle > UINT32_MAX) return slots_.size();
  const size_t mask = mask_;
  size_t i = Home(handle);
  for (size_t distance = 0; slots_[i].handle; i = (i + 1) & mask, ++distance) {
    if (slots_[i].handle == handle) return i;
    if (Distance(i) < distance) break;  // it would lie here or before
  }
  return slots_.size();
}

void HandleIndex::Insert(uint64_t handle, uint64_t object) {
  if (!handle || Find(handle) != kNone) return;
  if (!Near(handle, object)) {
    far_.emplace(handle, object);
    return;
  }
  if (4 * (count_ + 1) > 3 * slots_.size()) Rehash(2 * slots_.size());
  Place({static_cast<uint32_t>(handle), static_cast<uint32_t>(object)});
}

uint64_t HandleIndex::Find(uint64_t handle) const {
  if (!handle) return kNone;
  const size_t i = Locate(handle);
  if (i != slots_.size()) return slots_[i].object;
  if (far_.empty()) return kNone;
  auto found = far_.find(handle);
  return found == far_.end() ? kNone : found->second;
}

void HandleIndex::Erase(uint64_t handle, uint64_t object) {
  if (!handle) return;
  size_t i = Locate(handle);
  if (i == slots_.size()) {
    auto found = far_.find(handle);
    if (found != far_.end() && found->second == object) far_.erase(found);
    return;
  }
  if (slots_[i].object != object) return;
  // Only the handles pushed past their home move back, one slot each; the
  // first one at home (or a free slot) ends it.
  const size_t mask = mask_;
  for (size_t j = (i + 1) & mask; slots_[j].handle && Distance(j) > 0; j = (j + 1) & mask) {
    slots_[i] = slots_[j];
    i = j;
  }
  slots_[i] = {};
  --count_;
}

void HandleIndex::Clear() {
  slots_.clear();
  slots_.shrink_to_fit();
  far_.clear();
  count_ = 0;
  mask_ = 0;
  bits_ = 0;
}

}  // namespace host
