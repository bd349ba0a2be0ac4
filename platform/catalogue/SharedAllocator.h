// The catalogue library's shared allocators: buffers of strings and byte
// arrays that the catalogue and its callers can each release.
#pragma once

#include <cstddef>

#include "platform/catalogue/JovDBaseApi.h"

namespace jovDatabase::Helper {

class JOVDBASE_API qmArraySharedAllocator_ACP {
 public:
  qmArraySharedAllocator_ACP() = default;
  static char* constructArray(size_t n);          // null when it cannot allocate
  static void destructArray(char* buffer, size_t n);
};

class JOVDBASE_API qmArraySharedAllocator_byte {
 public:
  qmArraySharedAllocator_byte() = default;
  static unsigned char* constructArray(size_t n);
  static void destructArray(unsigned char* buffer, size_t n);
};

}  // namespace jovDatabase::Helper
