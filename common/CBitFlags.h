// A 32-bit flag word of the record classes ("_TYPE" of the extended data).
#pragma once

#include <cstdint>

class CBitFlags {
 public:
  CBitFlags() = default;
  explicit CBitFlags(uint32_t word) : word(word) {}

  void Clear() { word = 0; }
  void Set(uint32_t value) { word = value; }
  uint32_t Get() const { return word; }
  // Every bit of mask is set; a mask of 0 always holds.
  bool HasAll(uint32_t mask) const { return (word & mask) == mask; }

 private:
  uint32_t word = 0;
};
