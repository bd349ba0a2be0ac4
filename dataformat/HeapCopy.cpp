#include "dataformat/HeapCopy.h"

#include <cstdlib>
#include <cstring>

char* DupString(const char* text) {
  if (!text) text = "";
  size_t n = std::strlen(text) + 1;
  auto* copy = static_cast<char*>(std::malloc(n));
  if (copy) std::memcpy(copy, text, n);
  return copy;
}

char16_t* DupWideString(const char16_t* text) {
  static const char16_t empty[1] = {0};
  if (!text) text = empty;
  size_t n = 0;
  while (text[n]) ++n;
  auto* copy = static_cast<char16_t*>(std::malloc((n + 1) * sizeof(char16_t)));
  if (copy) std::memcpy(copy, text, (n + 1) * sizeof(char16_t));
  return copy;
}

void* DupBytes(const void* data, size_t n) {
  if (!data) return nullptr;
  void* copy = std::malloc(n ? n : 1);
  if (copy && n) std::memcpy(copy, data, n);
  return copy;
}

bool CopyStringN(char* out, size_t size, const char* text) {
  if (!out || size == 0) return false;
  if (!text) {
    out[0] = '\0';
    return false;
  }
  size_t n = std::strlen(text);
  if (n >= size) {
    out[0] = '\0';
    return false;
  }
  std::memcpy(out, text, n + 1);
  return true;
}

int StringLength(const char* text) { return text ? static_cast<int>(std::strlen(text)) : 0; }
