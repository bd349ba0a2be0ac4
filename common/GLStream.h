// Serialisation streams of the scene library: raw little-endian values one
// after the other, no tags, no padding. The writer never fills the last byte
// of its buffer (a buffer of N bytes takes at most N - 1).
//
// The format was made where long is 32 bits and long double is a double:
// long and unsigned long travel as 4 bytes (a value that does not fit is
// refused), long double as an 8-byte double.
#pragma once

#include <cstddef>
#include <cstdint>

class GLOstream {
 public:
  GLOstream() = default;
  GLOstream(void* buffer, uint64_t capacity)
      : buffer_(static_cast<unsigned char*>(buffer)), capacity_(capacity) {}
  virtual ~GLOstream() = default;

  bool WriteBytes(const void* data, uint32_t n);
  bool WriteDouble(const double& value) { return WriteBytes(&value, 8); }
  bool Write(char v) { return WriteBytes(&v, 1); }
  bool Write(unsigned char v) { return WriteBytes(&v, 1); }
  bool Write(bool v) { return Write(static_cast<unsigned char>(v ? 1 : 0)); }
  bool Write(int16_t v) { return WriteBytes(&v, 2); }
  bool Write(uint16_t v) { return WriteBytes(&v, 2); }
  bool Write(int32_t v) { return WriteBytes(&v, 4); }
  bool Write(uint32_t v) { return WriteBytes(&v, 4); }
  bool Write(long v);
  bool Write(unsigned long v);
  bool Write(float v) { return WriteBytes(&v, 4); }
  bool Write(double v) { return WriteDouble(v); }
  bool Write(long double v) { return WriteDouble(static_cast<double>(v)); }
  // Texts have no form in the stream (no lengths): always refused, rather
  // than a pointer turning into a bool.
  bool Write(const char*) { return false; }
  // Nothing is buffered: there is nothing to flush.
  void Flush() {}

  bool Seek(uint64_t position);
  uint64_t Tell() const { return buffer_ ? position_ : 0; }

 private:
  unsigned char* buffer_ = nullptr;
  uint64_t position_ = 0;
  uint64_t capacity_ = 0;
};

// The reader knows no length unless it is given one; with a size, reads past
// the end fail and leave the position where it was.
class GLIstream {
 public:
  GLIstream() = default;
  explicit GLIstream(const void* data) : data_(static_cast<const unsigned char*>(data)) {}
  GLIstream(const void* data, uint32_t size)
      : data_(static_cast<const unsigned char*>(data)), size_(size), bounded_(true) {}
  virtual ~GLIstream() = default;

  bool ReadBytes(void* data, uint32_t n);
  bool ReadDouble(double& value) { return ReadBytes(&value, 8); }
  bool Read(char& v) { return ReadBytes(&v, 1); }
  bool Read(unsigned char& v) { return ReadBytes(&v, 1); }
  bool Read(bool& v);
  bool Read(int16_t& v) { return ReadBytes(&v, 2); }
  bool Read(uint16_t& v) { return ReadBytes(&v, 2); }
  bool Read(int32_t& v) { return ReadBytes(&v, 4); }
  bool Read(uint32_t& v) { return ReadBytes(&v, 4); }
  bool Read(long& v);
  bool Read(unsigned long& v);
  bool Read(float& v) { return ReadBytes(&v, 4); }
  bool Read(double& v) { return ReadDouble(v); }
  bool Read(long double& v);
  void Flush() {}

  bool Seek(uint32_t position);
  uint32_t Tell() const { return data_ ? position_ : 0; }
  // Whether n more bytes lie within a bounded stream (always for an
  // unbounded one): readers check counts against it before allocating.
  bool CanRead(uint64_t n) const {
    return data_ && (!bounded_ || (position_ <= size_ && n <= uint64_t{size_} - position_));
  }

 private:
  const unsigned char* data_ = nullptr;
  uint32_t position_ = 0;
  uint32_t size_ = 0;
  bool bounded_ = false;
};
