#include "dataformat/GroupCodeChain.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "dataformat/HeapCopy.h"
#include "platform/win32/code_page.h"

namespace {

bool IsReferenceInline(uint32_t classWord, bool namesInline) {
  return namesInline && (classWord & GC_FLAG_REFERENCE) != 0;
}

// Pool take at an aligned address; the padding counts as used.
char* TakeAligned(char** cursor, size_t* left, size_t n, size_t align) {
  auto address = reinterpret_cast<uintptr_t>(*cursor);
  size_t pad = (align - address % align) % align;
  if (*left < pad) return nullptr;
  char* saved = *cursor;
  size_t savedLeft = *left;
  *cursor += pad;
  *left -= pad;
  char* taken = TakeFromPool(cursor, left, n);
  if (!taken) {
    *cursor = saved;
    *left = savedLeft;
  }
  return taken;
}

// Code page 1250 text -> UTF-16 units including the NUL.
size_t WideUnits(const char* text) {
  int n = MultiByteToWideChar(CP_1250, 0, text, -1, nullptr, 0);
  return n > 0 ? static_cast<size_t>(n) : 0;
}

// A narrow text of a pool copy this short lies in its node, after the
// pointer to it: the value bytes a text node leaves unused.
constexpr size_t kTextInNodeBytes = sizeof(resbuf) - offsetof(resbuf, value) - sizeof(char*);

// A text of fewer than kTextInNodeBytes bytes with its NUL into to (the
// bytes after the NUL set to 0), told eight bytes at a time: false, with to
// left as it was, for a longer text and for one whose first
// kTextInNodeBytes bytes cross into the next page. Bytes past the NUL on
// the text's own page can be read without a fault, but the address
// and thread sanitizers would take them for an overflow or a race with
// whatever shares the page.
static_assert(kTextInNodeBytes == 16 && std::endian::native == std::endian::little);
__attribute__((no_sanitize("address", "thread"))) bool CopyShortTextWhole(char* to, const char* text) {
  constexpr uintptr_t kPageBytes = 4096;
  if ((reinterpret_cast<uintptr_t>(text) & (kPageBytes - 1)) > kPageBytes - kTextInNodeBytes) return false;
  constexpr uint64_t kOnes = 0x0101010101010101, kHighs = 0x8080808080808080;
  uint64_t words[2];
  __builtin_memcpy(words, text, sizeof words);  // the text lies at any byte
  for (uint64_t& word : words) {
    // The lowest flagged byte is the first 0 (a flag above it may be false).
    const uint64_t zeros = (word - kOnes) & ~word & kHighs;
    if (!zeros) continue;
    const int kept = std::countr_zero(zeros) + 1;  // bits up to the NUL's top bit
    word &= kept == 64 ? ~uint64_t{0} : (uint64_t{1} << kept) - 1;
    if (&word == &words[0]) words[1] = 0;
    std::memcpy(to, words, sizeof words);
    return true;
  }
  return false;
}

bool CopyText(resbuf* copy, const char* text, bool wide, char** cursor, size_t* left) {
  if (!text) text = "";
  if (wide) {
    size_t units = WideUnits(text);
    if (units == 0) return false;
    size_t bytes = units * sizeof(char16_t);
    char16_t* out = cursor ? reinterpret_cast<char16_t*>(TakeAligned(cursor, left, bytes,
                                                                     alignof(char16_t)))
                           : static_cast<char16_t*>(std::malloc(bytes));
    if (!out) return false;
    MultiByteToWideChar(CP_1250, 0, text, -1, out, static_cast<int>(units));
    copy->value.wtext = out;
    return true;
  }
  if (cursor) {
    // Copied into the node as far as it goes (most texts end there), so
    // that a short text is read once.
    char* inNode = reinterpret_cast<char*>(&copy->value) + sizeof(char*);
    if (CopyShortTextWhole(inNode, text)) {
      copy->value.text = inNode;
      return true;
    }
    for (size_t i = 0; i < kTextInNodeBytes; ++i)
      if ((inNode[i] = text[i]) == '\0') {
        copy->value.text = inNode;
        return true;
      }
    const size_t bytes = kTextInNodeBytes + std::strlen(text + kTextInNodeBytes) + 1;
    char* out = TakeFromPool(cursor, left, bytes);
    if (!out) return false;
    std::memcpy(out, text, bytes);
    copy->value.text = out;
    return true;
  }
  copy->value.text = DupString(text);
  return copy->value.text != nullptr;
}

bool CopyBinary(resbuf* copy, const resbuf* src, char** cursor, size_t* left) {
  int16_t length = src->value.binary.length;
  copy->value.binary.length = length;
  const unsigned char* data = src->value.binary.data;
  if (!data) return true;  // nothing to copy: the copy has no chunk either
  size_t n = length > 0 ? static_cast<size_t>(length) : 0;
  if (cursor) {
    char* out = TakeFromPool(cursor, left, n);
    if (!out) return false;
    if (n) std::memcpy(out, data, n);
    copy->value.binary.data = reinterpret_cast<unsigned char*>(out);
    return true;
  }
  copy->value.binary.data = static_cast<unsigned char*>(DupBytes(data, n));
  return copy->value.binary.data != nullptr;
}

}  // namespace

bool IsStringNode(const resbuf* node) {
  return node && GroupCodeKind(GetGroupCodeClass(node->code)) == GC_KIND_TEXT;
}

resbuf* NewGroupCodeNode() { return static_cast<resbuf*>(std::malloc(sizeof(resbuf))); }

char* TakeFromPool(char** cursor, size_t* left, size_t n) {
  if (!cursor || !left || !*cursor || *left < n) return nullptr;
  char* taken = *cursor;
  *cursor += n;
  *left -= n;
  return taken;
}

resbuf* CopyGroupCodeChain(const resbuf* chain, bool namesInline, bool singleNode,
                           bool wideStrings, char* pool, size_t poolSize, size_t* taken) {
  char* poolCursor = pool;
  size_t poolLeft = poolSize;
  char** cursor = pool ? &poolCursor : nullptr;
  size_t* left = pool ? &poolLeft : nullptr;

  resbuf* first = nullptr;
  resbuf* last = nullptr;
  // A heap copy that fails part-way is released; pool takes stay where they are.
  auto fail = [&]() -> resbuf* {
    if (!pool && first) FreeGroupCodeChain(first, namesInline);
    return nullptr;
  };

  // Runs of one code (the pairs of extended data) ask for its class once.
  int16_t lastCode = 0;
  uint32_t classWord = GetGroupCodeClass(lastCode);
  for (const resbuf* src = chain; src; src = src->next) {
    if (src->code != lastCode) classWord = GetGroupCodeClass(lastCode = src->code);
    uint32_t kind = GroupCodeKind(classWord);
    if (kind == GC_KIND_NONE) break;

    resbuf* copy = pool ? reinterpret_cast<resbuf*>(
                              TakeAligned(cursor, left, sizeof(resbuf), alignof(resbuf)))
                        : NewGroupCodeNode();
    if (!copy) return fail();
    std::memset(copy, 0, sizeof(resbuf));
    copy->code = src->code;
    if (last)
      last->next = copy;
    else
      first = copy;
    last = copy;

    bool ok = true;
    if (kind == GC_KIND_TEXT) {
      if (IsReferenceInline(classWord, namesInline))
        std::memcpy(&copy->value, &src->value, 16);
      else
        ok = CopyText(copy, src->value.text, wideStrings, cursor, left);
    } else if (kind == GC_KIND_BINARY) {
      ok = CopyBinary(copy, src, cursor, left);
    } else {
      std::memcpy(&copy->value, &src->value, GroupCodeValueSize(classWord));
    }
    if (!ok) return fail();
    if (singleNode) break;
  }
  if (taken) *taken = pool ? poolSize - poolLeft : 0;
  return first;
}

size_t GroupCodeChainPoolBytes(const resbuf* chain) {
  size_t bytes = 0;
  for (const resbuf* src = chain; src; src = src->next) {
    const uint32_t kind = GroupCodeKind(GetGroupCodeClass(src->code));
    if (kind == GC_KIND_NONE) break;
    bytes = (bytes + alignof(resbuf) - 1) / alignof(resbuf) * alignof(resbuf) + sizeof(resbuf);
    if (kind == GC_KIND_TEXT) {
      const size_t text = std::strlen(src->value.text ? src->value.text : "") + 1;
      if (text > kTextInNodeBytes) bytes += text;
    } else if (kind == GC_KIND_BINARY && src->value.binary.data && src->value.binary.length > 0)
      bytes += static_cast<size_t>(src->value.binary.length);
  }
  return bytes;
}

bool DuplicateGroupCodeChain(const resbuf* src, resbuf** out) {
  if (!out) return false;
  *out = CopyGroupCodeChain(src);
  return !src || *out;
}

int FreeGroupCodeChain(resbuf* chain, bool namesInline) {
  while (chain) {
    resbuf* following = chain->next;
    uint32_t classWord = GetGroupCodeClass(chain->code);
    uint32_t kind = GroupCodeKind(classWord);
    if (kind == GC_KIND_TEXT && !IsReferenceInline(classWord, namesInline))
      std::free(chain->value.text);
    else if (kind == GC_KIND_BINARY)
      std::free(chain->value.binary.data);
    std::free(chain);
    chain = following;
  }
  return HOST_NORMAL;
}

void DeleteGroupCodeChain(resbuf** head) {
  if (!head) return;
  resbuf* node = *head;
  while (node) {
    resbuf* following = node->next;
    if (IsStringNode(node)) std::free(node->value.text);
    std::free(node);
    node = following;
  }
  *head = nullptr;
}

bool CreateGroupCodeNode(resbuf** out, int16_t code, const char* text) {
  if (!out) return false;
  auto* node = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
  *out = node;
  if (!node) return false;
  node->code = code;
  if (!text) return true;
  if (!IsStringNode(node)) return false;
  node->value.text = DupString(text);
  return node->value.text != nullptr;
}

const resbuf* FindGroupCode(const resbuf* chain, int16_t code) {
  for (; chain; chain = chain->next)
    if (chain->code == code) return chain;
  return nullptr;
}

resbuf* FindGroupCode(resbuf* chain, int16_t code) {
  return const_cast<resbuf*>(FindGroupCode(static_cast<const resbuf*>(chain), code));
}

namespace {

resbuf* FindTextNode(const resbuf* chain, int16_t code, const char* text) {
  if (!text) return nullptr;
  for (; chain; chain = chain->next)
    if (chain->code == code && chain->value.text && std::strcmp(chain->value.text, text) == 0)
      return const_cast<resbuf*>(chain);
  return nullptr;
}

}  // namespace

resbuf* FindXDataByAppName(const resbuf* chain, const char* name) { return FindTextNode(chain, 1001, name); }

resbuf* FindXDataByString(const resbuf* chain, const char* text) { return FindTextNode(chain, 1000, text); }

namespace {

const resbuf* FindInEntity(const resbuf* entity, int16_t code) {
  const resbuf* node = entity;
  while (node && node->code < 0) node = node->next;
  while (node) {
    if (node->code == code) return node;
    node = node->next;
    if (node && node->code == 0) return nullptr;
  }
  return nullptr;
}

}  // namespace

const char* GetEntityString(const resbuf* entity, int16_t code) {
  const resbuf* node = FindInEntity(entity, code);
  if (!node) return nullptr;
  if (IsStringNode(node)) return node->value.text;
  return reinterpret_cast<const char*>(&node->value);
}

void GetEntityPoint(const resbuf* entity, double out[3], int16_t code) {
  const resbuf* node = FindInEntity(entity, code);
  if (!node || !out) return;
  out[0] = node->value.point[0];
  out[1] = node->value.point[1];
  out[2] = node->value.point[2];
}

void SkipToNextEntity(const resbuf** cursor) {
  if (!cursor || !*cursor) return;
  if ((*cursor)->code == 0) *cursor = (*cursor)->next;
  while (*cursor && (*cursor)->code != 0) *cursor = (*cursor)->next;
}

void SkipToNextEntity(resbuf** cursor) {
  if (!cursor) return;
  const resbuf* at = *cursor;
  SkipToNextEntity(&at);
  *cursor = const_cast<resbuf*>(at);
}

resbuf* SpliceGroupChain(resbuf* node, resbuf* chain) {
  if (!node || !chain) return node;
  resbuf* last = chain;
  while (last->next) last = last->next;
  last->next = node->next;
  node->next = chain;
  return node;
}

resbuf* LastGroupCodeNode(resbuf** head) {
  if (!head) return nullptr;
  if (!*head) {
    static_assert(offsetof(resbuf, next) == 0, "the head slot stands in for a node");
    return reinterpret_cast<resbuf*>(head);
  }
  resbuf* node = *head;
  while (node->next) node = node->next;
  return node;
}
