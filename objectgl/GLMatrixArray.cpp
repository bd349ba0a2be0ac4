#include "objectgl/GLMatrixArray.h"

#include <algorithm>

GLMatrixArray::GLMatrixArray(uint32_t capacity, uint32_t growStep)
    : block_(capacity), growStep_(growStep ? growStep : 1) {}

void GLMatrixArray::InsertAt(uint32_t index, const GLMatrix& m) {
  if (count_ == block_.size()) block_.resize(count_ + growStep_);
  index = std::min(index, count_);
  std::move_backward(block_.begin() + index, block_.begin() + count_, block_.begin() + count_ + 1);
  block_[index] = m;
  ++count_;
}

void GLMatrixArray::RemoveAt(uint32_t index) {
  if (index >= count_) return;
  std::move(block_.begin() + index + 1, block_.begin() + count_, block_.begin() + index);
  block_[--count_] = GLMatrix();
}

void GLMatrixArray::SetCapacity(uint32_t n) {
  if (n == 0) {
    block_.clear();
    block_.shrink_to_fit();
    count_ = 0;
    return;
  }
  block_.resize(n);
  count_ = std::min(count_, n);
}
