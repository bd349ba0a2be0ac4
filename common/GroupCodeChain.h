// Group-code chains: classification of group codes, deep copies (on the
// heap or inside one caller block), release, and the small searches every
// entity reader uses. Nodes, texts and binary chunks made here all come
// from malloc, so either release operation may be used on chains of either
// allocation route.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/resbuf.h"

class GLVector;

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
// True when the node's code is of the text kind (only such nodes own a text).
bool IsStringNode(const resbuf* node);

// A node from the general heap, not cleared; release with free.
resbuf* NewGroupCodeNode();

// Takes n bytes from a caller's block: returns the cursor before the step
// and moves it (and left) on by n; null, nothing moved, when fewer than n
// bytes are left.
char* TakeFromPool(char** cursor, size_t* left, size_t n);

// Deep copy, ending before the first node of no kind (or after the first
// node with singleNode).
//  namesInline: texts of reference codes (flag GC_FLAG_REFERENCE) keep their
//    16 value bytes inline instead of owning a text.
//  wideStrings: the copy's texts are UTF-16 (char16_t*, value.wtext),
//    converted from the source's code page 1250 texts.
//  pool: when given, every node, text and chunk is taken from the block of
//    poolSize bytes, which the caller frees at once (never release such a
//    chain with FreeGroupCodeChain/DeleteGroupCodeChain). Nodes are taken at
//    8-byte aligned addresses and wide texts at even ones, so pass an
//    8-byte aligned block; padding bytes count against poolSize.
// Returns null for a null chain, a first node of no kind, an exhausted
// pool or a failed allocation (a partial heap copy is released).
resbuf* CopyGroupCodeChain(const resbuf* chain, bool namesInline = false,
                           bool singleNode = false, bool wideStrings = false,
                           char* pool = nullptr, size_t poolSize = 0);

// *out = plain heap copy (narrow texts, no pool); true when src is null or
// the copy was made.
bool DuplicateGroupCodeChain(const resbuf* src, resbuf** out);

// Releases texts, binary chunks and nodes; with namesInline the values of
// reference codes are inline and not freed. Returns HOST_NORMAL.
int FreeGroupCodeChain(resbuf* chain, bool namesInline = false);

// Releases texts and nodes (binary chunks are left alone); *head ends null.
void DeleteGroupCodeChain(resbuf** head);

// *out = a new cleared node with the code. Without a text: true. With a
// text the code must be of the text kind (else false, the node stays in
// *out with an empty value); the node then owns a copy of the text.
bool CreateGroupCodeNode(resbuf** out, int16_t code, const char* text);

// First node with the code anywhere in the chain, null when none.
const resbuf* FindGroupCode(const resbuf* chain, int16_t code);
resbuf* FindGroupCode(resbuf* chain, int16_t code);

// First node anywhere in the chain with code 1001 (an application name) or
// 1000 (an extended-data string) whose text equals the given text byte for
// byte; null when none. The value of a key found by text is the text of
// the node after it.
resbuf* FindXDataByAppName(const resbuf* chain, const char* name);
resbuf* FindXDataByString(const resbuf* chain, const char* text);

// Searches the current entity only: the leading negative codes (entity
// name) are passed over, and the search ends where the next code-0 node
// begins the next entity.
// GetEntityString: the text of the first node with the code (for a code
// not of the text kind, the address of that node's value bytes); null when
// absent.
const char* GetEntityString(const resbuf* entity, int16_t code);
// out = the three doubles of the first node with the code; unchanged when
// absent.
void GetEntityPoint(const resbuf* entity, double out[3], int16_t code);
void GetEntityPoint(const resbuf* entity, GLVector& out, int16_t code);

// Moves the cursor past the current entity: a cursor on a code-0 node is
// stepped over first, then it stops on the next code-0 node or at null.
void SkipToNextEntity(resbuf** cursor);
void SkipToNextEntity(const resbuf** cursor);

// Inserts the whole chain after node (node's old successors follow the
// chain's last node). Returns node; a null node or chain changes nothing.
resbuf* SpliceGroupChain(resbuf* node, resbuf* chain);

// The last node of *head, or, for an empty chain, the head slot itself seen
// as a node: next is at offset 0, so LastGroupCodeNode(&head)->next = x
// appends in both cases. Touch nothing but next of that result.
resbuf* LastGroupCodeNode(resbuf** head);
