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
  const size_t mask = mask_;
  for (const Slot& s : old) {
    if (!s.handle) continue;
    size_t i = Home(s.handle);
    while (slots_[i].handle) i = (i + 1) & mask;
    slots_[i] = s;
  }
}

void HandleIndex::Insert(uint64_t handle, DxfEntity* entity) {
  if (!handle) return;
  if (4 * (count_ + 1) > 3 * slots_.size()) Rehash(2 * slots_.size());
  const size_t mask = slots_.size() - 1;
  size_t i = Home(handle);
  for (; slots_[i].handle; i = (i + 1) & mask)
    if (slots_[i].handle == handle) return;
  slots_[i] = {handle, entity};
  ++count_;
}

DxfEntity* HandleIndex::Find(uint64_t handle) const {
  if (!handle || slots_.empty()) return nullptr;
  const size_t mask = slots_.size() - 1;
  for (size_t i = Home(handle); slots_[i].handle; i = (i + 1) & mask)
    if (slots_[i].handle == handle) return slots_[i].entity;
  return nullptr;
}

void HandleIndex::Erase(uint64_t handle, const DxfEntity* entity) {
  if (!handle || slots_.empty()) return;
  const size_t mask = slots_.size() - 1;
  size_t i = Home(handle);
  for (; slots_[i].handle != handle; i = (i + 1) & mask)
    if (!slots_[i].handle) return;
  if (slots_[i].entity != entity) return;
  // Moves back every later slot of the run that would not be found past
  // the hole, so that no search stops early.
  for (size_t j = (i + 1) & mask; slots_[j].handle; j = (j + 1) & mask) {
    const size_t home = Home(slots_[j].handle);
    const bool stays = i <= j ? (i < home && home <= j) : (i < home || home <= j);
    if (!stays) {
      slots_[i] = slots_[j];
      i = j;
    }
  }
  slots_[i] = {};
  --count_;
}

void HandleIndex::Clear() {
  slots_.clear();
  slots_.shrink_to_fit();
  count_ = 0;
  mask_ = 0;
  bits_ = 0;
}

}  // namespace host
