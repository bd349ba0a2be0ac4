#include "common/GLStream.h"

#include <cstdint>
#include <cstring>

bool GLOstream::WriteBytes(const void* data, uint32_t n) {
  if (!buffer_) return false;
  if (position_ + n >= capacity_) return false;
  if (n) std::memcpy(buffer_ + position_, data, n);
  position_ += n;
  return true;
}

bool GLOstream::Seek(uint64_t position) {
  if (!buffer_) return false;
  position_ = position;
  return true;
}

bool GLIstream::ReadBytes(void* data, uint32_t n) {
  if (!data_) return false;
  if (bounded_ && (position_ > size_ || n > size_ - position_)) return false;
  if (n) std::memcpy(data, data_ + position_, n);
  position_ += n;
  return true;
}

bool GLIstream::Read(bool& v) {
  unsigned char byte = 0;
  if (!ReadBytes(&byte, 1)) return false;
  v = byte != 0;
  return true;
}

bool GLIstream::Seek(uint32_t position) {
  if (!data_) return false;
  position_ = position;
  return true;
}

bool GLOstream::Write(long v) {
  if (v < INT32_MIN || v > INT32_MAX) return false;
  return Write(static_cast<int32_t>(v));
}

bool GLOstream::Write(unsigned long v) {
  if (v > UINT32_MAX) return false;
  return Write(static_cast<uint32_t>(v));
}

bool GLIstream::Read(long& v) {
  int32_t raw = 0;
  if (!Read(raw)) return false;
  v = raw;
  return true;
}

bool GLIstream::Read(unsigned long& v) {
  uint32_t raw = 0;
  if (!Read(raw)) return false;
  v = raw;
  return true;
}

bool GLIstream::Read(long double& v) {
  double raw = 0;
  if (!ReadDouble(raw)) return false;
  v = raw;
  return true;
}
