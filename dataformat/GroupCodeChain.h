// Group-code chains: classification of group codes, deep copies (on the
// heap or inside one caller block), release, and the small searches every
// entity reader uses. Nodes, texts and binary chunks made here all come
// from malloc, so either release operation may be used on chains of either
// allocation route.
#pragma once

#include <cstddef>
#include <cstdint>

#include "dataformat/GroupCodeClass.h"
#include "dataformat/resbuf.h"

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
//    8-byte aligned block; padding bytes count against poolSize. A narrow
//    text of up to 15 bytes and its NUL lies in its own node, after the
//    pointer to it (in the value bytes a text node leaves unused).
//  taken: when given, set to the pool bytes the copy took (padding
//    included; 0 without a pool) when it is made.
// Returns null for a null chain, a first node of no kind, an exhausted
// pool or a failed allocation (a partial heap copy is released).
resbuf* CopyGroupCodeChain(const resbuf* chain, bool namesInline = false,
                           bool singleNode = false, bool wideStrings = false,
                           char* pool = nullptr, size_t poolSize = 0, size_t* taken = nullptr);

// The pool bytes CopyGroupCodeChain needs for a narrow copy of chain (no
// inline names, not single-node) into an 8-byte aligned block: exactly
// what that copy takes, padding included; 0 for a null chain.
size_t GroupCodeChainPoolBytes(const resbuf* chain);

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
