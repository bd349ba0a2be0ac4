// The record the outside radiator catalogue fills with the radiator a user
// chose: 384 bytes, little-endian, version 2. Its texts are NUL-terminated
// when the library keeps to its side; nothing here relies on that.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

struct KorpalinData {
  uint32_t size = sizeof(KorpalinData);
  uint32_t version = 2;
  char text1[21] = {};   // _VANTRIX field 1
  char text2[41] = {};   // field 2
  char text3[21] = {};   // field 3
  char text4[261] = {};  // field 8
  int32_t number1 = 0;   // field 9
  int32_t number2 = 0;   // field 10
  int32_t number3 = 0;   // field 11
  int32_t length = 0;    // parameter "L"
  int32_t height = 0;    // parameter "V"
  int32_t depth = 0;     // parameter "S"
  int32_t number4 = 0;   // field 5
  int32_t number5 = 0;   // field 4
};

static_assert(sizeof(KorpalinData) == 384);
static_assert(offsetof(KorpalinData, version) == 4);
static_assert(offsetof(KorpalinData, text1) == 8);
static_assert(offsetof(KorpalinData, text2) == 29);
static_assert(offsetof(KorpalinData, text3) == 70);
static_assert(offsetof(KorpalinData, text4) == 91);
static_assert(offsetof(KorpalinData, number1) == 352);
static_assert(offsetof(KorpalinData, number2) == 356);
static_assert(offsetof(KorpalinData, number3) == 360);
static_assert(offsetof(KorpalinData, length) == 364);
static_assert(offsetof(KorpalinData, height) == 368);
static_assert(offsetof(KorpalinData, depth) == 372);
static_assert(offsetof(KorpalinData, number4) == 376);
static_assert(offsetof(KorpalinData, number5) == 380);

// A text field read within its own bytes: up to its NUL, or the whole
// field when the library filled it without one.
template <size_t N>
std::string KorpalinText(const char (&field)[N]) {
  const void* nul = std::memchr(field, 0, N);
  return std::string(field, nul ? static_cast<const char*>(nul) - field : N);
}
