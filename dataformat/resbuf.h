// The group-code chain node shared with the CAD host and with the wizard
// library. Its layout is an interface and is fixed to the byte.
#pragma once

#include <cstddef>
#include <cstdint>

struct resbuf {
  resbuf* next;   // null at the end of the chain
  int16_t code;   // DXF group code
  union Value {
    char* text;            // text kind (a char16_t* in chains copied wide)
    char16_t* wtext;
    double point[3];
    double real;
    int64_t i64;
    int32_t i32;
    int16_t i16;
    int64_t name[2];       // entity name, two 64-bit words
    struct Binary {
      int16_t length;
      unsigned char* data; // at offset 8 of the value
    } binary;
  } value;
};

static_assert(sizeof(resbuf) == 40, "resbuf is 40 bytes");
static_assert(offsetof(resbuf, next) == 0);
static_assert(offsetof(resbuf, code) == 8);
static_assert(offsetof(resbuf, value) == 16);
static_assert(offsetof(resbuf::Value::Binary, data) == 8);

// Host result codes; callers compare with HOST_NORMAL.
constexpr int HOST_NORMAL = 5100;
constexpr int HOST_NONE = 5000;
constexpr int HOST_ERROR = -5001;
constexpr int HOST_CANCEL = -5002;
