// The catalogue library's character string. Catalogue calls fill it by
// reference, so its buffer always comes from (and goes back to) the
// catalogue's shared allocator: either side may release it.
#pragma once

#include <cstdint>

#include "platform/catalogue/JovDBaseApi.h"
#include "platform/catalogue/SharedAllocator.h"

class JOVDBASE_API qmString : public jovDatabase::Helper::qmArraySharedAllocator_ACP {
 public:
  // An empty string: no buffer until something is stored, GetString() null.
  explicit qmString(int capacity = 0, int growStep = 8);
  // A copy of text; null stores "".
  qmString(const char* text);
  qmString(const qmString& other);
  qmString& operator=(const qmString& other);
  ~qmString();

  // Stores text with its NUL; null stores "".
  void Assign(const char* text);
  // Sets the used length in bytes (NUL counted), growing the buffer when it
  // is too small. Contents beyond the old length are undefined.
  void SetLength(int n);

  char* GetString() const { return data; }
  int GetLength() const { return length; }
  int GetCapacity() const { return capacity; }
  int GetGrowStep() const { return growStep; }

 private:
  void Release();

  char* data = nullptr;
  int32_t capacity = 0;
  int32_t length = 0;   // NUL counted
  int32_t growStep = 8;
};

static_assert(sizeof(qmString) == 24, "buffer pointer and three 32-bit fields");
