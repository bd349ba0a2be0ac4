// Source chains for the chain tests: nodes held by value in a vector (so
// nothing to release), linked in order.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "dataformat/resbuf.h"

class TestChain {
 public:
  TestChain& Text(int16_t code, const char* text) {
    resbuf& n = Add(code);
    n.value.text = const_cast<char*>(text);
    return *this;
  }
  TestChain& Point(int16_t code, double x, double y, double z) {
    resbuf& n = Add(code);
    n.value.point[0] = x;
    n.value.point[1] = y;
    n.value.point[2] = z;
    return *this;
  }
  TestChain& Real(int16_t code, double v) {
    Add(code).value.real = v;
    return *this;
  }
  TestChain& I16(int16_t code, int16_t v) {
    Add(code).value.i16 = v;
    return *this;
  }
  TestChain& I32(int16_t code, int32_t v) {
    Add(code).value.i32 = v;
    return *this;
  }
  TestChain& I64(int16_t code, int64_t v) {
    Add(code).value.i64 = v;
    return *this;
  }
  TestChain& Name(int16_t code, int64_t a, int64_t b) {
    resbuf& n = Add(code);
    n.value.name[0] = a;
    n.value.name[1] = b;
    return *this;
  }
  TestChain& Binary(int16_t code, const unsigned char* data, int16_t length) {
    resbuf& n = Add(code);
    n.value.binary.length = length;
    n.value.binary.data = const_cast<unsigned char*>(data);
    return *this;
  }

  resbuf* Head() {
    for (size_t i = 0; i < nodes_.size(); ++i)
      nodes_[i].next = i + 1 < nodes_.size() ? &nodes_[i + 1] : nullptr;
    return nodes_.empty() ? nullptr : &nodes_[0];
  }

 private:
  resbuf& Add(int16_t code) {
    resbuf n;
    std::memset(&n, 0, sizeof n);
    n.code = code;
    nodes_.push_back(n);
    return nodes_.back();
  }
  std::vector<resbuf> nodes_;
};

inline int ChainLength(const resbuf* chain) {
  int n = 0;
  for (; chain; chain = chain->next) ++n;
  return n;
}
