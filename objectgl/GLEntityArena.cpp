#include "objectgl/GLEntityArena.h"

#include <algorithm>
#include <functional>

#include "objectgl/GLException.h"

void* GLEntityArena::Take(size_t bytes) {
  bytes = (bytes + kAlign - 1) & ~(kAlign - 1);
  if (bytes > kBlockBytes) throw GLException(GL_ERROR_OUT_OF_MEMORY);
  if (static_cast<size_t>(end_ - next_) < bytes) {
    auto* begin = static_cast<char*>(::operator new(kBlockBytes, std::nothrow));
    if (!begin) throw GLException(GL_ERROR_OUT_OF_MEMORY);
    const Block block{begin, begin + kBlockBytes};
    const auto at = std::upper_bound(blocks_.begin(), blocks_.end(), block,
                                     [](const Block& a, const Block& b) { return std::less<>()(a.begin, b.begin); });
    blocks_.insert(at, block);
    next_ = begin;
    end_ = block.end;
  }
  void* room = next_;
  next_ += bytes;
  return room;
}

bool GLEntityArena::Holds(const void* p) const {
  const auto* c = static_cast<const char*>(p);
  const std::less<> before;
  auto inside = [&](const Block& b) { return !before(c, b.begin) && before(c, b.end); };
  if (lastHit_ < blocks_.size() && inside(blocks_[lastHit_])) return true;
  // The last block starting at or before p.
  const auto after = std::upper_bound(blocks_.begin(), blocks_.end(), c,
                                      [&](const char* q, const Block& b) { return before(q, b.begin); });
  if (after == blocks_.begin() || !inside(*(after - 1))) return false;
  lastHit_ = static_cast<size_t>(after - 1 - blocks_.begin());
  return true;
}

void GLEntityArena::Release() {
  for (const Block& b : blocks_) ::operator delete(b.begin);
  blocks_.clear();
  blocks_.shrink_to_fit();
  next_ = end_ = nullptr;
  lastHit_ = 0;
}
