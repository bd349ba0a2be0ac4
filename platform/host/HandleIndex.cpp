#include "platform/host/HandleIndex.h"

#include <bit>
#include <utility>

namespace host {

void HandleIndex::Reserve(size_t count) {
  if (4 * count > 3 * slots_.size()) Rehash(std::bit_ceil(4 * count / 3 + 1));
}

void HandleIndex::Rehash(size_t slots) {
  if (slots < 16) slots = 16;
  std::vector<Slot> old = std::exchange(slots_, std::vector<Slot>(slots));
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
