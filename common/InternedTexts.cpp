#include "common/InternedTexts.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace interned_texts {
namespace {

constexpr size_t kBlockBytes = size_t{64} << 10;

// Open addressing over the texts kept; a slot holds the text and its hash,
// so that most slots of other texts are passed by without reading them.
// The length is kept too, so that a text is compared only with those of
// its length and hash.
struct Slot {
  const char* text = nullptr;
  uint32_t hash = 0;
  uint32_t length = 0;
};

// The text's length, and a hash of it taken eight bytes at a time (the
// texts are keys and values of a few to a few dozen letters, read by the
// hundred thousand).
uint32_t HashOf(const char* text, size_t& length) {
  constexpr uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
  length = std::strlen(text);
  uint64_t hash = length * kMultiplier;
  size_t at = 0;
  for (; at + 8 <= length; at += 8) {
    uint64_t word;
    std::memcpy(&word, text + at, 8);
    hash = (hash ^ word) * kMultiplier;
    hash ^= hash >> 32;
  }
  if (at < length) {
    uint64_t word = 0;
    std::memcpy(&word, text + at, length - at);
    hash = (hash ^ word) * kMultiplier;
  }
  hash ^= hash >> 29;
  hash *= kMultiplier;
  return static_cast<uint32_t>(hash >> 32);
}

class Store {
 public:
  ~Store() {
    if (holders_ == 0) FreeAll();
  }

  const char* Intern(const char* text) {
    size_t length = 0;
    const uint32_t hash = HashOf(text, length);
    if (length > UINT32_MAX - 1) return nullptr;
    if ((count_ + 1) * 2 > slots_.size() && !Grow()) return nullptr;
    const size_t mask = slots_.size() - 1;
    size_t at = hash & mask;
    for (;; at = (at + 1) & mask) {
      Slot& slot = slots_[at];
      if (!slot.text) break;
      if (slot.hash == hash && slot.length == length && std::memcmp(slot.text, text, length) == 0)
        return slot.text;
    }
    char* copy = Take(length + 1);
    if (!copy) return nullptr;
    std::memcpy(copy, text, length + 1);
    slots_[at] = {copy, hash, static_cast<uint32_t>(length)};
    ++count_;
    return copy;
  }

  void AddHolder() { ++holders_; }
  void DropHolder() { --holders_; }

  void ReleaseUnused() {
    if (holders_ == 0) FreeAll();
  }

  size_t Count() const { return count_; }

 private:
  bool Grow() {
    std::vector<Slot> larger;
    try {
      larger.resize(slots_.empty() ? 1024 : slots_.size() * 2);
    } catch (const std::bad_alloc&) {
      return false;
    }
    const size_t mask = larger.size() - 1;
    for (const Slot& slot : slots_) {
      if (!slot.text) continue;
      size_t at = slot.hash & mask;
      while (larger[at].text) at = (at + 1) & mask;
      larger[at] = slot;
    }
    slots_.swap(larger);
    return true;
  }

  // Room for bytes from the block filled last, a fresh block, or (for a
  // text larger than a block's quarter) a block of its own.
  char* Take(size_t bytes) {
    if (bytes > kBlockBytes / 4) return Own(bytes);
    if (bytes > left_) {
      char* block = Own(kBlockBytes);
      if (!block) return nullptr;
      fresh_ = block;
      left_ = kBlockBytes;
    }
    char* at = fresh_;
    fresh_ += bytes;
    left_ -= bytes;
    return at;
  }
  char* Own(size_t bytes) {
    try {
      blocks_.reserve(blocks_.size() + 1);
    } catch (const std::bad_alloc&) {
      return nullptr;
    }
    auto* block = static_cast<char*>(std::malloc(bytes));
    if (block) blocks_.push_back(block);
    return block;
  }

  void FreeAll() {
    for (char* block : blocks_) std::free(block);
    blocks_.clear();
    blocks_.shrink_to_fit();
    std::vector<Slot>().swap(slots_);
    count_ = 0;
    fresh_ = nullptr;
    left_ = 0;
  }

  long holders_ = 0;
  std::vector<Slot> slots_;
  size_t count_ = 0;
  std::vector<char*> blocks_;
  char* fresh_ = nullptr;
  size_t left_ = 0;
};

Store& TheStore() {
  static Store store;
  return store;
}

}  // namespace

const char* Intern(const char* text) { return text ? TheStore().Intern(text) : nullptr; }
void AddHolder() { TheStore().AddHolder(); }
void DropHolder() { TheStore().DropHolder(); }
void ReleaseUnused() { TheStore().ReleaseUnused(); }
size_t Count() { return TheStore().Count(); }

}  // namespace interned_texts
