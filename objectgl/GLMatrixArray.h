// A growable array of matrices by value (the scene's own matrix stack when
// it measures its extents).
#pragma once

#include <cstdint>
#include <vector>

#include "common/GLMatrix.h"

class GLMatrixArray {
 public:
  // `capacity` identity matrices.
  GLMatrixArray(uint32_t capacity = 0, uint32_t growStep = 10);

  // Shifts the tail up by one; an index beyond the count appends.
  void InsertAt(uint32_t index, const GLMatrix& m);
  void RemoveAt(uint32_t index);
  // Keeps min(count, n) entries; 0 frees everything.
  void SetCapacity(uint32_t n);
  uint32_t GetCount() const { return count_; }
  uint32_t GetCapacity() const { return static_cast<uint32_t>(block_.size()); }
  const GLMatrix& GetAt(uint32_t index) const { return block_[index]; }

 private:
  std::vector<GLMatrix> block_;
  uint32_t count_ = 0;
  uint32_t growStep_;
};
