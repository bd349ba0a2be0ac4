#include "platform/catalogue/SharedAllocator.h"

#include <new>

namespace jovDatabase::Helper {

char* qmArraySharedAllocator_ACP::constructArray(size_t n) {
  return new (std::nothrow) char[n ? n : 1];
}

void qmArraySharedAllocator_ACP::destructArray(char* buffer, size_t) { delete[] buffer; }

unsigned char* qmArraySharedAllocator_byte::constructArray(size_t n) {
  return new (std::nothrow) unsigned char[n ? n : 1];
}

void qmArraySharedAllocator_byte::destructArray(unsigned char* buffer, size_t) { delete[] buffer; }

}  // namespace jovDatabase::Helper
