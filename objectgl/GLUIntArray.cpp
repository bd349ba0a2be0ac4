#include "objectgl/GLUIntArray.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "objectgl/GLException.h"
#include "common/GLStream.h"

GLUIntArray::GLUIntArray(uint32_t capacity, uint32_t growStep) : growStep_(growStep) {
  if (capacity) Assign(nullptr, 0, capacity);
}

GLUIntArray::GLUIntArray(const uint32_t* values, uint32_t n) { Assign(values, values ? n : 0, values ? n : 0); }

GLUIntArray::GLUIntArray(const GLUIntArray& other) : growStep_(other.growStep_) {
  Assign(other.data_, other.count_, other.capacity_);
}

GLUIntArray& GLUIntArray::operator=(const GLUIntArray& other) {
  if (this != &other) {
    growStep_ = other.growStep_;
    Assign(other.data_, other.count_, other.capacity_);
  }
  return *this;
}

GLUIntArray::~GLUIntArray() { delete[] data_; }

void GLUIntArray::Assign(const uint32_t* values, uint32_t n, uint32_t capacity) {
  uint32_t* block = capacity ? new uint32_t[capacity]() : nullptr;
  if (n) std::memcpy(block, values, sizeof(uint32_t) * n);
  delete[] data_;
  data_ = block;
  count_ = n;
  capacity_ = capacity;
}

uint32_t GLUIntArray::Add(uint32_t value) {
  if (count_ == capacity_) {
    // A grow step of 0 would never make room.
    const uint64_t grown = uint64_t{capacity_} + std::max(growStep_, 1u);
    uint32_t* block = grown <= UINT32_MAX ? new (std::nothrow) uint32_t[grown]() : nullptr;
    if (!block) throw GLException(GL_ERROR_OUT_OF_MEMORY);
    if (count_) std::memcpy(block, data_, sizeof(uint32_t) * count_);
    delete[] data_;
    data_ = block;
    capacity_ = static_cast<uint32_t>(grown);
  }
  data_[count_] = value;
  return ++count_;
}

uint32_t& GLUIntArray::GetAt(uint32_t index) {
  if (index >= count_) throw GLException(GL_ERROR_INDEX);
  return data_[index];
}

bool GLUIntArray::AllBelow(uint32_t limit) const {
  return std::all_of(data_, data_ + count_, [limit](uint32_t v) { return v < limit; });
}

bool GLUIntArray::Write(GLOstream& os) const {
  if (!os.Write(growStep_) || !os.Write(count_)) return false;
  return count_ == 0 || os.WriteBytes(data_, count_ * 4);
}

bool GLUIntArray::Read(GLIstream& is) {
  uint32_t growStep = 0, count = 0;
  if (!is.Read(growStep) || !is.Read(count) || count > UINT32_MAX / 4 || !is.CanRead(uint64_t{count} * 4)) return false;
  GLUIntArray read(count, growStep);
  if (count && !is.ReadBytes(read.data_, count * 4)) return false;
  read.count_ = count;
  *this = read;
  return true;
}
