#include "objectgl/GLObjectArray.h"

#include <algorithm>
#include <new>

#include "objectgl/GLException.h"
#include "objectgl/GLObject.h"

GLObjectArray::GLObjectArray(const GLObjectArray& other) : GLSynchronizedObject() { CopyFrom(other); }

GLObjectArray& GLObjectArray::operator=(const GLObjectArray& other) {
  if (this != &other) {
    RemoveAll();
    CopyFrom(other);
  }
  return *this;
}

GLObjectArray::~GLObjectArray() { delete[] block_; }

void GLObjectArray::CopyFrom(const GLObjectArray& other) {
  growStep_ = other.growStep_;
  count_ = other.count_;
  capacity_ = other.capacity_;
  if (other.block_) {
    block_ = new GLObject*[capacity_];
    std::copy(other.block_, other.block_ + count_, block_);
  }
}

GLObject* GLObjectArray::GetAt(uint32_t index) {
  GLOpenObject open(this, GLOpenObject::kRead);
  if (index > count_) throw GLException(GL_ERROR_INDEX);
  if (index == count_) return nullptr;
  return block_[index];
}

uint32_t GLObjectArray::GetRange(uint32_t first, uint32_t room, GLObject** out) {
  GLOpenObject open(this, GLOpenObject::kRead);
  if (first > count_) throw GLException(GL_ERROR_INDEX);
  const uint32_t n = std::min(room, count_ - first);
  if (n) std::copy(block_ + first, block_ + first + n, out);
  return n;
}

uint32_t GLObjectArray::Add(GLObject* object) {
  GLOpenObject open(this, GLOpenObject::kWrite);
  const uint32_t step = growStep_ ? growStep_ : 1;  // a step of 0 would never grow
  if (!block_) {
    block_ = new (std::nothrow) GLObject*[step];
    if (!block_) throw GLException(GL_ERROR_OUT_OF_MEMORY);
    capacity_ = step;
  } else if (count_ == capacity_) {
    // Half the capacity again at least: a fixed step would copy the block
    // over and over, N * N / (2 * step) pointers for N adds.
    if (capacity_ == UINT32_MAX) throw GLException(GL_ERROR_OUT_OF_MEMORY);
    const uint32_t more = std::max(step, capacity_ / 2);
    const uint32_t capacity = more > UINT32_MAX - capacity_ ? UINT32_MAX : capacity_ + more;
    GLObject** grown = new (std::nothrow) GLObject*[capacity];
    if (!grown) throw GLException(GL_ERROR_OUT_OF_MEMORY);
    std::copy(block_, block_ + count_, grown);
    delete[] block_;
    block_ = grown;
    capacity_ = capacity;
  }
  block_[count_++] = object;
  return count_;
}

void GLObjectArray::DeleteAll() {
  for (uint32_t i = 0; i < count_; ++i) delete block_[i];
  RemoveAll();
}

void GLObjectArray::RemoveAll() {
  delete[] block_;
  block_ = nullptr;
  count_ = capacity_ = 0;
}
