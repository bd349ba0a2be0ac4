#include "platform/catalogue/qmString.h"

#include <algorithm>
#include <cstring>

#include "dataformat/HeapCopy.h"

qmString::qmString(int initialCapacity, int step) : growStep(step) {
  if (initialCapacity > 0) {
    data = constructArray(static_cast<size_t>(initialCapacity));
    if (data) capacity = initialCapacity;
  }
}

qmString::qmString(const char* text) { Assign(text); }

qmString::qmString(const qmString& other) : growStep(other.growStep) {
  if (other.data && other.length > 0) {
    SetLength(other.length);
    if (data) std::memcpy(data, other.data, static_cast<size_t>(other.length));
  }
}

qmString& qmString::operator=(const qmString& other) {
  if (this == &other) return *this;
  if (!other.data || other.length <= 0) {
    length = 0;
    return *this;
  }
  SetLength(other.length);
  if (data) std::memcpy(data, other.data, static_cast<size_t>(other.length));
  return *this;
}

qmString::~qmString() { Release(); }

void qmString::Release() {
  if (data) destructArray(data, static_cast<size_t>(capacity));
  data = nullptr;
  capacity = 0;
  length = 0;
}

void qmString::SetLength(int n) {
  if (n > capacity) {
    // Small strings double, large ones grow by 256 bytes (or the step).
    int64_t grown = int64_t{capacity} + std::max<int64_t>(growStep, std::min(capacity, 256));
    int64_t wanted = std::max<int64_t>(grown, n);
    char* buffer = wanted <= INT32_MAX ? constructArray(static_cast<size_t>(wanted)) : nullptr;
    if (!buffer) {
      Release();  // out of memory: an empty string, not a half-grown one
      return;
    }
    if (data) {
      std::memcpy(buffer, data, static_cast<size_t>(std::min<int64_t>(wanted, length)));
      destructArray(data, static_cast<size_t>(capacity));
    }
    data = buffer;
    capacity = static_cast<int32_t>(wanted);
    length = std::min(length, capacity);
  }
  length = n < 0 ? 0 : n;
}

void qmString::Assign(const char* text) {
  if (!text) text = "";
  int n = StringLength(text) + 1;
  SetLength(n);
  // memmove: the text may be a piece of this very buffer (no growth then).
  if (data) std::memmove(data, text, static_cast<size_t>(n));
}
