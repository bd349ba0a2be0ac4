// Little-endian writer and bounds-checked reader for the compiled formats:
// dialog and menu templates and the resource file itself (platform internal).
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/win32_types.h"

namespace templates {

class Writer {
 public:
  std::vector<BYTE>& bytes() { return out_; }
  void U8(uint32_t v) { out_.push_back(static_cast<BYTE>(v)); }
  void U16(uint32_t v) {
    U8(v & 0xFF);
    U8((v >> 8) & 0xFF);
  }
  void U32(uint32_t v) {
    U16(v & 0xFFFF);
    U16(v >> 16);
  }
  void Text(const std::string& s) {
    U16(static_cast<uint32_t>(std::min<size_t>(s.size(), 0xFFFF)));
    out_.insert(out_.end(), s.begin(), s.begin() + static_cast<std::ptrdiff_t>(std::min<size_t>(s.size(), 0xFFFF)));
  }
  void Bytes(const std::vector<BYTE>& b) { out_.insert(out_.end(), b.begin(), b.end()); }
  void PatchU32(size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out_[at + static_cast<size_t>(i)] = static_cast<BYTE>(v >> (8 * i));
  }

 private:
  std::vector<BYTE> out_;
};

class Reader {
 public:
  Reader(const BYTE* data, size_t size) : data_(data), size_(size) {}
  bool U8(uint32_t& v) {
    if (size_ - pos_ < 1) return false;
    v = data_[pos_++];
    return true;
  }
  bool U16(uint32_t& v) {
    uint32_t a, b;
    if (!U8(a) || !U8(b)) return false;
    v = a | (b << 8);
    return true;
  }
  bool U32(uint32_t& v) {
    uint32_t a, b;
    if (!U16(a) || !U16(b)) return false;
    v = a | (b << 16);
    return true;
  }
  bool Text(std::string& s) {
    uint32_t n;
    if (!U16(n) || size_ - pos_ < n) return false;
    s.assign(reinterpret_cast<const char*>(data_ + pos_), n);
    pos_ += n;
    return true;
  }
  bool Bytes(size_t n, std::vector<BYTE>& b) {
    if (size_ - pos_ < n) return false;
    b.assign(data_ + pos_, data_ + pos_ + n);
    pos_ += n;
    return true;
  }
  bool AtEnd() const { return pos_ == size_; }

 private:
  const BYTE* data_;
  size_t size_;
  size_t pos_ = 0;
};

}  // namespace templates
