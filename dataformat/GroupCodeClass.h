// Group-code classification: the value kind, size and flags of every DXF
// and result-buffer group code. Kept apart from the chain code so that the
// catalogue library can carry its own private copy of the table.
#pragma once

#include <cstddef>
#include <cstdint>

// Class words: low byte = value size, bits 8-15 = value kind, higher bits
// are flags.
constexpr uint32_t GC_CLASS_NONE = 0;
constexpr uint32_t GC_CLASS_TEXT = 0x100;         // 256
constexpr uint32_t GC_CLASS_INT32 = 0x204;        // 516
constexpr uint32_t GC_CLASS_INT16 = 0x302;        // 770
constexpr uint32_t GC_CLASS_INT16_B = 0x402;      // 1026
constexpr uint32_t GC_CLASS_BINARY = 0x500;       // 1280
constexpr uint32_t GC_CLASS_POINT = 0x608;        // 1544, size is per coordinate
constexpr uint32_t GC_CLASS_REAL = 0x708;         // 1800
constexpr uint32_t GC_CLASS_FLAG16 = 0x802;       // 2050
constexpr uint32_t GC_CLASS_ENTITY_NAME = 0x910;  // 2320
constexpr uint32_t GC_CLASS_INT64 = 0xA08;        // 2568

constexpr uint32_t GC_FLAG_HANDLE = 0x10000;     // code 5, 320-369
constexpr uint32_t GC_FLAG_ANGLE = 0x20000;      // 50-58, 5004
constexpr uint32_t GC_FLAG_REFERENCE = 0x40000;  // 330-369, 390-399: may be held inline
constexpr uint32_t GC_FLAG_UNNAMED = 0x80000;    // codes without a named range

// Kind = bits 8-15 of a class word.
constexpr uint32_t GroupCodeKind(uint32_t classWord) { return (classWord >> 8) & 0xFF; }
constexpr uint32_t GC_KIND_NONE = 0;
constexpr uint32_t GC_KIND_TEXT = GroupCodeKind(GC_CLASS_TEXT);
constexpr uint32_t GC_KIND_INT32 = GroupCodeKind(GC_CLASS_INT32);
constexpr uint32_t GC_KIND_INT16 = GroupCodeKind(GC_CLASS_INT16);
constexpr uint32_t GC_KIND_INT16_B = GroupCodeKind(GC_CLASS_INT16_B);
constexpr uint32_t GC_KIND_BINARY = GroupCodeKind(GC_CLASS_BINARY);
constexpr uint32_t GC_KIND_POINT = GroupCodeKind(GC_CLASS_POINT);
constexpr uint32_t GC_KIND_REAL = GroupCodeKind(GC_CLASS_REAL);
constexpr uint32_t GC_KIND_FLAG16 = GroupCodeKind(GC_CLASS_FLAG16);
constexpr uint32_t GC_KIND_ENTITY_NAME = GroupCodeKind(GC_CLASS_ENTITY_NAME);
constexpr uint32_t GC_KIND_INT64 = GroupCodeKind(GC_CLASS_INT64);

// Class word of a group code; 0 (no kind) outside -5..5023. The table is
// built once, thread-safely, at the first query.
uint32_t GetGroupCodeClass(int code);
bool SameGroupCodeKind(uint32_t classA, uint32_t classB);
// Bytes of the value: the low byte, times three for points (24).
size_t GroupCodeValueSize(uint32_t classWord);
