#include "dataformat/GroupCodeClass.h"

#include <array>

namespace {

constexpr int kFirstCode = -5;
constexpr int kLastCode = 5023;
constexpr size_t kTableSize = kLastCode - kFirstCode + 1;

using ClassTable = std::array<uint32_t, kTableSize>;

ClassTable BuildClassTable() {
  ClassTable table;
  table.fill(GC_CLASS_POINT | GC_FLAG_UNNAMED);
  auto set = [&table](int from, int to, uint32_t word) {
    for (int code = from; code <= to; ++code) table[code - kFirstCode] = word;
  };
  auto add = [&table](int from, int to, uint32_t flag) {
    for (int code = from; code <= to; ++code) table[code - kFirstCode] |= flag;
  };

  set(-3, -1, GC_CLASS_ENTITY_NAME);
  set(5006, 5006, GC_CLASS_ENTITY_NAME);

  static const int textRanges[][2] = {{-5, -4},   {0, 9},     {100, 102}, {105, 105},
                                      {300, 309}, {320, 369}, {390, 399}, {410, 419},
                                      {430, 439}, {470, 479}, {999, 1003}, {1005, 1005},
                                      {5005, 5005}};
  for (const auto& r : textRanges) set(r[0], r[1], GC_CLASS_TEXT);

  set(310, 319, GC_CLASS_BINARY);
  set(1004, 1004, GC_CLASS_BINARY);

  set(270, 289, GC_CLASS_INT16_B);
  set(370, 389, GC_CLASS_INT16_B);
  set(290, 299, GC_CLASS_FLAG16);

  static const int int16Ranges[][2] = {{60, 79}, {170, 179}, {400, 409}, {1060, 1070}, {5003, 5003}};
  for (const auto& r : int16Ranges) set(r[0], r[1], GC_CLASS_INT16);

  static const int int32Ranges[][2] = {{90, 99}, {420, 429}, {440, 459}, {1071, 1071}, {5010, 5010}};
  for (const auto& r : int32Ranges) set(r[0], r[1], GC_CLASS_INT32);

  static const int pointRanges[][2] = {{10, 19}, {110, 119}, {210, 219}, {1010, 1019},
                                       {5002, 5002}, {5009, 5009}};
  for (const auto& r : pointRanges) set(r[0], r[1], GC_CLASS_POINT);

  set(160, 169, GC_CLASS_INT64);

  set(50, 58, GC_CLASS_REAL | GC_FLAG_ANGLE);
  set(5004, 5004, GC_CLASS_REAL | GC_FLAG_ANGLE);

  static const int realRanges[][2] = {{20, 49},   {59, 59},     {120, 149},  {220, 239},
                                      {460, 469}, {1020, 1059}, {5001, 5001}};
  for (const auto& r : realRanges) set(r[0], r[1], GC_CLASS_REAL);

  add(5, 5, GC_FLAG_HANDLE);
  add(320, 369, GC_FLAG_HANDLE);
  add(330, 369, GC_FLAG_REFERENCE);
  add(390, 399, GC_FLAG_REFERENCE);
  return table;
}

}  // namespace

uint32_t GetGroupCodeClass(int code) {
  static const ClassTable table = BuildClassTable();
  if (code < kFirstCode || code > kLastCode) return GC_CLASS_NONE;
  return table[static_cast<size_t>(code - kFirstCode)];
}

bool SameGroupCodeKind(uint32_t classA, uint32_t classB) {
  return GroupCodeKind(classA) == GroupCodeKind(classB);
}

size_t GroupCodeValueSize(uint32_t classWord) {
  size_t size = classWord & 0xFF;
  return GroupCodeKind(classWord) == GC_KIND_POINT ? size * 3 : size;
}
