// A fixed array of owned texts: each slot is null or a private heap copy.
// Setting a slot frees the old copy first; a null text leaves the slot
// null; an index outside the array fails (false) and changes nothing, and
// reads there give null.
#pragma once

#include <cstdlib>

#include "dataformat/HeapCopy.h"

template <int N>
class TextSlots {
 public:
  TextSlots() = default;
  ~TextSlots() {
    for (char*& text : texts_) std::free(text);
  }
  TextSlots(const TextSlots&) = delete;
  TextSlots& operator=(const TextSlots&) = delete;

  bool Set(int index, const char* text) {
    if (index < 0 || index >= N) return false;
    char* copy = nullptr;
    if (text && !(copy = DupString(text))) return false;
    std::free(texts_[index]);
    texts_[index] = copy;
    return true;
  }
  const char* Get(int index) const { return index < 0 || index >= N ? nullptr : texts_[index]; }

 private:
  char* texts_[N] = {};
};
