#include "platform/host/core/EntityChain.h"

#include <sys/mman.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <array>
#include <iterator>
#include <optional>

#include "dataformat/GroupCodeChain.h"
#include "dataformat/HeapCopy.h"
#include "platform/host/DxfText.h"

namespace host {
namespace {

constexpr double kPi = 3.14159265358979323846;

// What the host asks of a code, read once into a byte per code (a table
// that stays in the cache): a chain is made and read back pair by pair,
// each asking three or four times. Kind in the low bits, then whether the
// code travels in chains and whether it is an angle.
constexpr uint8_t kTravels = 0x40, kAngle = 0x80, kKindBits = 0x3F;

uint8_t InfoFrom(int code) {
  const uint32_t cls = GetGroupCodeClass(code);
  const uint32_t kind = GroupCodeKind(cls);
  const bool travels = code >= 0 && kind != GC_KIND_NONE && kind != GC_KIND_ENTITY_NAME && (cls & GC_FLAG_UNNAMED) == 0;
  return static_cast<uint8_t>((kind & kKindBits) | (travels ? kTravels : 0) | ((cls & GC_FLAG_ANGLE) ? kAngle : 0));
}

constexpr int kFirstInfo = -5, kLastInfo = 5023;
struct InfoTable {
  uint8_t bytes[kLastInfo - kFirstInfo + 1];
  InfoTable() {
    for (int c = kFirstInfo; c <= kLastInfo; ++c) bytes[c - kFirstInfo] = InfoFrom(c);
  }
};

// Inline: the table is made once, out of the way of the look-ups.
inline uint8_t InfoOf(int code) {
  static const InfoTable table;
  return code >= kFirstInfo && code <= kLastInfo ? table.bytes[code - kFirstInfo] : InfoFrom(code);
}
uint32_t KindOf(int code) { return InfoOf(code) & kKindBits; }
bool IsAngle(int code) { return (InfoOf(code) & kAngle) != 0; }

// What making a chain asks of a code, in one look.
struct CodeTraits {
  uint8_t kind = 0;
  bool travels = false;
  bool angle = false;
};

CodeTraits TraitsOf(int code) {
  const uint8_t info = InfoOf(code);
  return {static_cast<uint8_t>(info & kKindBits), (info & kTravels) != 0, (info & kAngle) != 0};
}

// One chain node's pairs: the pair at index and, for a point, its y and z.
struct Span {
  int16_t code;
  uint8_t kind;  // KindOf(code)
  size_t index;
  size_t count;
};

// The chain node that begins at pairs[i], a code that travels in chains.
Span SpanAt(const PairList& pairs, size_t i) {
  const int code = pairs[i].code;
  const uint32_t kind = KindOf(code);
  size_t count = 1;
  if (kind == GC_KIND_POINT && i + 1 < pairs.size() && pairs[i + 1].code == code + 10) {
    ++count;
    if (i + 2 < pairs.size() && pairs[i + 2].code == code + 20) ++count;
  }
  return {static_cast<int16_t>(code), static_cast<uint8_t>(kind), i, count};
}

void SpansOf(const PairList& pairs, std::vector<Span>& spans) {
  spans.clear();
  spans.reserve(pairs.size());
  for (size_t i = 0; i < pairs.size(); ++i) {
    if (!CodeFitsChain(pairs[i].code)) continue;
    spans.push_back(SpanAt(pairs, i));
    i += spans.back().count - 1;
  }
}

// Where the parts of a chain come from: each its own heap block, or the
// caller's blocks.
class PartSource {
 public:
  explicit PartSource(ChainBlocks* blocks) : blocks_(blocks) {}

  resbuf* Node() {
    void* at = blocks_ ? blocks_->Take(sizeof(resbuf), alignof(resbuf)) : std::malloc(sizeof(resbuf));
    if (at) std::memset(at, 0, sizeof(resbuf));
    return static_cast<resbuf*>(at);
  }
  // A cleared node holding a copy of the text: in blocks the text lies
  // right after its node, both taken at once (most nodes are texts).
  resbuf* TextNode(std::string_view text) {
    if (blocks_) {
      void* at = blocks_->Take(sizeof(resbuf) + text.size() + 1, alignof(resbuf));
      if (!at) return nullptr;
      auto* node = static_cast<resbuf*>(std::memset(at, 0, sizeof(resbuf)));
      node->value.text = CopyText(reinterpret_cast<char*>(node + 1), text);
      return node;
    }
    resbuf* node = Node();
    auto* copy = node ? static_cast<char*>(std::malloc(text.size() + 1)) : nullptr;
    if (!copy) {
      std::free(node);
      return nullptr;
    }
    node->value.text = CopyText(copy, text);
    return node;
  }
  unsigned char* Bytes(const std::string& bytes) {
    auto* copy = static_cast<unsigned char*>(Take(bytes.size()));
    if (copy) std::memcpy(copy, bytes.data(), bytes.size());
    return copy;
  }
  // A chain given up half made.
  void Drop(resbuf* head) {
    if (!blocks_) FreeGroupCodeChain(head);
  }

 private:
  void* Take(size_t bytes) { return blocks_ ? blocks_->Take(bytes, 1) : std::malloc(bytes); }
  static char* CopyText(char* copy, std::string_view text) {
    // Most texts are a few letters: copied as two words that may overlap
    // (none read outside the text) rather than by a call per node.
    const char* from = text.data();
    const size_t n = text.size();
    if (n >= 8 && n <= 16) {
      uint64_t head, tail;
      std::memcpy(&head, from, 8);
      std::memcpy(&tail, from + n - 8, 8);
      std::memcpy(copy, &head, 8);
      std::memcpy(copy + n - 8, &tail, 8);
    } else if (n >= 4 && n < 8) {
      uint32_t head, tail;
      std::memcpy(&head, from, 4);
      std::memcpy(&tail, from + n - 4, 4);
      std::memcpy(copy, &head, 4);
      std::memcpy(copy + n - 4, &tail, 4);
    } else if (n > 16) {
      std::memcpy(copy, from, n);
    } else if (n > 0) {  // one to three letters: first, middle and last
      copy[0] = from[0];
      copy[n / 2] = from[n / 2];
      copy[n - 1] = from[n - 1];
    }
    copy[n] = '\0';
    return copy;
  }
  ChainBlocks* blocks_;
};

double Real(std::string_view text) { return ParseDxfReal(text).value_or(0.0); }
int64_t Integer(std::string_view text) { return ParseDxfInt(text).value_or(0); }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string Hex(const unsigned char* data, size_t n) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(n * 2);
  for (size_t i = 0; i < n; ++i) {
    out += digits[data[i] >> 4];
    out += digits[data[i] & 15];
  }
  return out;
}

constexpr uint64_t kByteOnes = 0x0101010101010101, kByteHighs = 0x8080808080808080;

// The bytes of a word that are carets or (withControls) below 0x20, those
// outside mask read as letters; 0 when there is none.
inline uint64_t FlaggedBytes(uint64_t word, uint64_t mask, bool withControls) {
  word = (word & mask) | (kByteOnes * 'A' & ~mask);
  const uint64_t carets = word ^ (kByteOnes * '^');
  uint64_t flagged = (carets - kByteOnes) & ~carets & kByteHighs;
  if (withControls) flagged |= (word - kByteOnes * 0x20) & ~word & kByteHighs;
  return flagged;
}

// The mask of a word's first n bytes (n up to 8).
inline uint64_t FirstBytes(size_t n) { return n >= 8 ? ~uint64_t{0} : (uint64_t{1} << (8 * n)) - 1; }

// Whether the first 16 bytes from text lie on one page, to be read as two
// words whatever the text's length.
inline bool WordsFit(const char* text) {
  constexpr uintptr_t kPage = 4096;
  return (reinterpret_cast<uintptr_t>(text) & (kPage - 1)) <= kPage - 16;
}

// Whether a text holds a caret, or (withControls) a byte below 0x20: told
// eight bytes at a time (most texts are a few letters long), a caret being
// a byte that turns to 0 and a control one that stays below 0x20 when the
// word is taken apart.
bool HasCaretOrControl(std::string_view text, bool withControls) {
  const char* at = text.data();
  size_t left = text.size();
  for (; left >= 8; at += 8, left -= 8) {
    uint64_t word;
    std::memcpy(&word, at, 8);
    if (FlaggedBytes(word, ~uint64_t{0}, withControls)) return true;
  }
  for (; left; ++at, --left) {
    const auto c = static_cast<unsigned char>(*at);
    if (c == '^' || (withControls && c < 0x20)) return true;
  }
  return false;
}

// Whether a file text of up to 15 bytes whose first 16 bytes lie on one
// page holds a caret, told in two words without a byte at a time for the
// rest of a word (most texts): 1 or 0, -1 when not told this way. Bytes
// past the text on its page can be read without a fault, but the address
// and thread sanitizers would take them for an overflow or a race with
// whatever shares the page.
__attribute__((no_sanitize("address", "thread"))) inline int ShortTextHasCaret(std::string_view text) {
  if (text.size() >= 16 || !WordsFit(text.data())) return -1;
  uint64_t words[2];
  __builtin_memcpy(words, text.data(), sizeof words);  // the text lies at any byte
  const size_t n = text.size();
  return (FlaggedBytes(words[0], FirstBytes(n), false) | FlaggedBytes(words[1], n > 8 ? FirstBytes(n - 8) : 0, false)) != 0;
}

// Whether a file text holds a caret.
bool HasCaret(std::string_view text) {
  if (text.size() > 32) return std::memchr(text.data(), '^', text.size()) != nullptr;
  if (const int told = ShortTextHasCaret(text); told >= 0) return told == 1;
  return HasCaretOrControl(text, false);
}

// The text a text node of the code holds for the file's value: a type
// without padding, the caret form decoded (into scratch).
std::string_view NodeText(int code, const DxfValue& value, std::string& scratch) {
  if (code == 0) return TrimDxf(value);
  const std::string_view text = value.View();
  if (!HasCaret(text)) return text;
  scratch = DecodeCaretForm(text);
  return scratch;
}

// Fills a cleared node of any kind but text from its pairs (count of them
// from index, a point's axes); false when memory runs out.
bool FillNode(resbuf* node, const PairList& pairs, size_t index, size_t count, const CodeTraits& traits,
              PartSource& source) {
  const DxfValue& value = pairs[index].value;
  switch (traits.kind) {
    case GC_KIND_POINT:
      for (size_t a = 0; a < count; ++a) node->value.point[a] = Real(pairs[index + a].value);
      return true;
    case GC_KIND_REAL:
      node->value.real = Real(value) * (traits.angle ? kPi / 180.0 : 1.0);
      return true;
    case GC_KIND_INT16:
    case GC_KIND_INT16_B:
    case GC_KIND_FLAG16:
      node->value.i16 = static_cast<int16_t>(Integer(value));
      return true;
    case GC_KIND_INT32:
      node->value.i32 = static_cast<int32_t>(Integer(value));
      return true;
    case GC_KIND_INT64:
      node->value.i64 = Integer(value);
      return true;
    case GC_KIND_BINARY: {
      std::string_view hex = TrimDxf(value);
      std::string bytes;
      for (size_t i = 0; i + 1 < hex.size() && bytes.size() < 32767; i += 2) {
        int hi = HexDigit(hex[i]), lo = HexDigit(hex[i + 1]);
        if (hi < 0 || lo < 0) break;
        bytes += static_cast<char>(hi * 16 + lo);
      }
      node->value.binary.length = static_cast<int16_t>(bytes.size());
      if (bytes.empty()) return true;
      node->value.binary.data = source.Bytes(bytes);
      return node->value.binary.data != nullptr;
    }
    default:
      return true;
  }
}

size_t BinaryLength(const resbuf* node) {
  return node->value.binary.length > 0 && node->value.binary.data ? static_cast<size_t>(node->value.binary.length)
                                                                   : 0;
}

// SameText for a file text of up to 16 bytes where neither text's first
// 16 bytes cross a page end (the usual): the two told in two words each,
// at once, rather than byte by byte after a look of their own for carets
// and control bytes. 1 or 0, or -1 when not told this way. Bytes past the
// text's 0 on its own page can be read without a fault, but the address
// and thread sanitizers would take them for an overflow or a race with
// whatever shares the page.
__attribute__((no_sanitize("address", "thread"))) inline int SameShortText(const char* text, std::string_view stored) {
  const size_t n = stored.size();
  if (n > 16 || !WordsFit(text) || !WordsFit(stored.data())) return -1;
  uint64_t t[2], f[2];  // the texts lie at any byte
  __builtin_memcpy(t, text, sizeof t);
  __builtin_memcpy(f, stored.data(), sizeof f);
  uint64_t flagged = 0;
  for (size_t w = 0; w < 2; ++w) {
    const uint64_t mask = n > 8 * w ? FirstBytes(n - 8 * w) : 0;
    if ((t[w] ^ f[w]) & mask) return 0;
    flagged |= FlaggedBytes(f[w], mask, true);
  }
  if (flagged) return 0;
  // Sixteen bytes alike and none 0: the text's seventeenth is in it.
  if (n == 16) return text[16] == '\0' ? 1 : 0;
  const uint64_t after = n < 8 ? t[0] >> (8 * n) : t[1] >> (8 * (n - 8));
  return (after & 0xFF) == 0 ? 1 : 0;
}

// The usual answer for a text node: the same bytes as the file's, none of
// them one that needs the caret form (below 0x20, or a caret), and the
// text ends where the value does. False leaves the question to SpanKeeps.
inline bool SameText(const char* text, std::string_view stored) {
  if (const int told = SameShortText(text, stored); told >= 0) return told == 1;
  // The file's bytes, whose length is known, are looked at first; the text
  // is read byte by byte, no further than it ends (its 0 meets a file byte
  // that is not 0 and stops the comparison).
  if (HasCaretOrControl(stored, true)) return false;
  for (size_t k = 0; k < stored.size(); ++k)
    if (text[k] != stored[k]) return false;
  return text[stored.size()] == '\0';
}

// Whether the original's pairs of the span stand for the node as they are,
// so that the write-back keeps them (every value of a point alike; a file
// text that reads as the node's, a caret before a character that no pair
// begins with, say).
bool SpanKeeps(const resbuf* node, const PairList& pairs, const Span& span) {
  const DxfValue& was = pairs[span.index].value;
  switch (span.kind) {
    case GC_KIND_TEXT: {
      const char* text = node->value.text ? node->value.text : "";
      const std::string_view stored = was.View();
      if (SameText(text, stored)) return true;
      const std::string_view whole(text);
      return NeedsCaretForm(whole) ? DecodeCaretForm(stored) == whole : stored == whole;
    }
    case GC_KIND_POINT:
      for (size_t a = 0; a < span.count; ++a)
        if (ParseDxfReal(pairs[span.index + a].value) != node->value.point[a]) return false;
      return true;
    case GC_KIND_REAL: {
      const std::optional<double> before = ParseDxfReal(was);
      return before && *before * (IsAngle(span.code) ? kPi / 180.0 : 1.0) == node->value.real;
    }
    case GC_KIND_INT16:
    case GC_KIND_INT16_B:
    case GC_KIND_FLAG16:
      return ParseDxfInt(was) == node->value.i16;
    case GC_KIND_INT32:
      return ParseDxfInt(was) == node->value.i32;
    case GC_KIND_INT64:
      return ParseDxfInt(was) == node->value.i64;
    case GC_KIND_BINARY: {
      std::string_view hex = TrimDxf(was);
      const size_t n = BinaryLength(node);
      if (hex.size() != 2 * n) return false;
      for (size_t i = 0; i < n; ++i)
        if (HexDigit(hex[2 * i]) != node->value.binary.data[i] >> 4 ||
            HexDigit(hex[2 * i + 1]) != (node->value.binary.data[i] & 15))
          return false;
      return true;
    }
    default:
      return false;
  }
}

// A value the chain brings new: its bytes taken from the arena when one is
// given (the value views them), else its own.
DxfValue NewValue(std::string_view text, PairArena* arena) {
  if (!arena || text.empty() || text.size() > 4096) return DxfValue(text);
  auto* bytes = static_cast<char*>(arena->Take(text.size() + 1));
  if (!bytes) return DxfValue(text);
  std::memcpy(bytes, text.data(), text.size());
  bytes[text.size()] = '\0';
  return DxfValue::Borrow({bytes, text.size()});
}

DxfValue NewReal(double v, PairArena* arena) {
  char text[kDxfRealSize];
  return NewValue({text, FormatDxfReal(v, text)}, arena);
}

// The pairs a node writes: the original's span (old, the node of its code
// at the same place among the nodes of that code) where that stands for
// the node, else new values, a point's axes each kept where it reads the
// same. keepsTold: the caller found already that old does not stand for
// the node as a whole.
void WriteNode(const resbuf* node, const PairList* original, const Span* old, std::string_view type,
               PairArena* arena, PairList& out, bool keepsTold = false) {
  const int code = node->code;
  if (old && !keepsTold && SpanKeeps(node, *original, *old)) {
    for (size_t a = 0; a < old->count; ++a) {
      const DxfPair& kept = (*original)[old->index + a];
      out.push_back({kept.code, kept.value.Share()});
    }
    return;
  }
  switch (KindOf(code)) {
    case GC_KIND_TEXT: {
      std::string_view text = node->value.text ? node->value.text : "";
      out.push_back({node->code, NeedsCaretForm(text) ? NewValue(EncodeCaretForm(text), arena) : NewValue(text, arena)});
      break;
    }
    case GC_KIND_POINT: {
      size_t count = old ? old->count : (code == 10 && SameName(type, "LWPOLYLINE") ? 2 : 3);
      for (size_t a = 0; a < count; ++a) {
        double v = node->value.point[a];
        const int16_t axis = static_cast<int16_t>(code + 10 * a);
        if (old && a < old->count) {
          const DxfValue& before = (*original)[old->index + a].value;
          if (ParseDxfReal(before) == v) {
            out.push_back({axis, before.Share()});
            continue;
          }
        }
        out.push_back({axis, NewReal(v, arena)});
      }
      break;
    }
    case GC_KIND_REAL: {
      double v = node->value.real;
      out.push_back({node->code, NewReal(IsAngle(code) ? v * 180.0 / kPi : v, arena)});
      break;
    }
    case GC_KIND_INT16:
    case GC_KIND_INT16_B:
    case GC_KIND_FLAG16:
      out.push_back({node->code, NewValue(std::to_string(node->value.i16), arena)});
      break;
    case GC_KIND_INT32:
      out.push_back({node->code, NewValue(std::to_string(node->value.i32), arena)});
      break;
    case GC_KIND_INT64:
      out.push_back({node->code, NewValue(std::to_string(node->value.i64), arena)});
      break;
    case GC_KIND_BINARY:
      out.push_back({node->code, NewValue(Hex(node->value.binary.data, BinaryLength(node)), arena)});
      break;
    default:
      break;
  }
}

// The pairs of one entity part (the entity or one of its run) written back.
// A value the chain leaves as the original had it is the original's value
// shared, not a copy: a write-back of thousands of entities that changes a
// few of their pairs then copies only those.
class PartWriter {
 public:
  // Scratch the writer works in, kept by the caller across writers so that
  // a write-back of thousands of entities allocates none of it per entity.
  struct Scratch {
    std::vector<Span> spans;                   // by code, in file order within a code
    std::vector<std::pair<int, size_t>> seen;  // nodes of each code so far
  };

  PartWriter(const PairList* original, std::string_view type, PairArena* arena, Scratch& scratch)
      : original_(original), type_(type), arena_(arena), spans_(scratch.spans), seen_(scratch.seen) {
    seen_.clear();
    spans_.clear();
    if (!original_) return;
    SpansOf(*original_, spans_);
    // By code, in file order within a code; sorted in place, as a stable
    // sort would take a buffer per entity.
    std::sort(spans_.begin(), spans_.end(),
              [](const Span& a, const Span& b) { return a.code != b.code ? a.code < b.code : a.index < b.index; });
  }

  void Add(const resbuf* node, PairList& out) {
    WriteNode(node, original_, Previous(node->code), type_, arena_, out);
  }

  // Gives back the original pairs that no chain node carried.
  void Restore(PairList& out) const {
    if (!original_) return;
    for (size_t j = 0; j < original_->size(); ++j) {
      if (CodeFitsChain((*original_)[j].code)) continue;
      size_t at = std::min(j, out.size());
      out.insert(out.begin() + static_cast<std::ptrdiff_t>(at), {(*original_)[j].code, (*original_)[j].value.Share()});
    }
  }

 private:
  // The original's node of this code at the same place among the nodes of
  // that code.
  const Span* Previous(int code) {
    size_t k = 0;
    auto seen = std::find_if(seen_.begin(), seen_.end(), [code](const auto& s) { return s.first == code; });
    if (seen == seen_.end()) seen_.push_back({code, 1});
    else k = seen->second++;
    if (!original_) return nullptr;
    auto first = std::lower_bound(spans_.begin(), spans_.end(), code,
                                  [](const Span& s, int c) { return s.code < c; });
    if (static_cast<size_t>(spans_.end() - first) <= k || first[static_cast<std::ptrdiff_t>(k)].code != code)
      return nullptr;
    return &first[static_cast<std::ptrdiff_t>(k)];
  }

  const PairList* original_;
  std::string_view type_;
  PairArena* arena_;
  std::vector<Span>& spans_;
  std::vector<std::pair<int, size_t>>& seen_;
};

bool IsFlatPolyline(const DxfEntity& entity) {
  if (!entity.IsType("POLYLINE")) return false;
  int64_t flags = ParseDxfInt(entity.Value(70, "0")).value_or(0);
  // Not 3D, not a mesh or polyface, not curve- or spline-fitted.
  return (flags & (2 | 4 | 8 | 16 | 64)) == 0;
}

PairList AsLwPolyline(const DxfEntity& polyline) {
  const PairList& in = polyline.pairs;
  size_t xdata = ExtendedDataStart(in);
  PairList out{{0, "LWPOLYLINE"}};
  bool marked = false;
  std::string elevation, flags = "0", startWidth, endWidth;
  PairList extrusion;
  for (size_t i = 1; i < xdata; ++i) {
    const DxfPair& p = in[i];
    switch (p.code) {
      case 10: case 20: case 66: case 71: case 72: case 73: case 74: case 75:
        break;
      case 30: elevation = p.value; break;
      case 70: flags = std::to_string(ParseDxfInt(p.value).value_or(0) & (1 | 128)); break;
      case 40: startWidth = p.value; break;
      case 41: endWidth = p.value; break;
      case 210: case 220: case 230: extrusion.push_back(p); break;
      case 100:
        if (SameName(TrimDxf(p.value), "AcDbEntity")) out.push_back(p);
        marked = true;
        break;
      default:
        out.push_back(p);
    }
  }
  std::vector<const DxfEntity*> vertices;
  for (const DxfEntity& child : polyline.children)
    if (child.IsType("VERTEX")) vertices.push_back(&child);
  if (marked) out.push_back({100, "AcDbPolyline"});
  out.push_back({90, std::to_string(vertices.size())});
  out.push_back({70, flags});
  if (!startWidth.empty() && Real(startWidth) == Real(endWidth.empty() ? "0" : endWidth))
    out.push_back({43, startWidth});
  if (!elevation.empty() && Real(elevation) != 0.0) out.push_back({38, elevation});
  for (const DxfEntity* v : vertices) {
    out.push_back({10, std::string(v->Value(10, "0.0"))});
    out.push_back({20, std::string(v->Value(20, "0.0"))});
    for (int16_t code : {40, 41, 42})
      if (const DxfPair* p = v->Find(code)) out.push_back(*p);
  }
  out.insert(out.end(), extrusion.begin(), extrusion.end());
  out.insert(out.end(), in.begin() + static_cast<std::ptrdiff_t>(xdata), in.end());
  return out;
}

}  // namespace

bool CodeFitsChain(int code) { return (InfoOf(code) & kTravels) != 0; }

namespace {

constexpr size_t kChainBlock = size_t{2} << 20;

// A block on a boundary of its size, hinted to the system as one large
// page: tens of megabytes of chains then take tens of page faults, not
// thousands. Null when the system has no memory.
char* MapChainBlock() {
  void* mapped = mmap(nullptr, 2 * kChainBlock, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) return nullptr;
  const auto begin = reinterpret_cast<uintptr_t>(mapped);
  const uintptr_t aligned = (begin + kChainBlock - 1) / kChainBlock * kChainBlock;
  if (aligned > begin) munmap(mapped, aligned - begin);
  if (aligned + kChainBlock < begin + 2 * kChainBlock)
    munmap(reinterpret_cast<void*>(aligned + kChainBlock), begin + 2 * kChainBlock - (aligned + kChainBlock));
#ifdef MADV_HUGEPAGE
  madvise(reinterpret_cast<void*>(aligned), kChainBlock, MADV_HUGEPAGE);
#endif
  return reinterpret_cast<char*>(aligned);
}

}  // namespace

void* ChainBlocks::TakeAnew(size_t bytes) {
  if (bytes > kChainBlock / 4) {
    // Its own block, leaving the room of the current one for what follows.
    void* own = std::malloc(bytes);
    if (own) large_.push_back(static_cast<char*>(own));
    return own;
  }
  blocks_.reserve(blocks_.size() + 1);
  char* block = MapChainBlock();
  if (!block) return nullptr;
  blocks_.push_back(block);
  next_ = block + bytes;  // the block's alignment serves every request
  end_ = block + kChainBlock;
  return block;
}

void ChainBlocks::RollBack(const Mark& mark) {
  if (mark.block == blocks_.size() && mark.next) next_ = mark.next;
  else if (mark.block == 0 && blocks_.size() == 1) next_ = blocks_[0];  // taken before there was a block
}

void ChainBlocks::Clear() {
  // The first block stays for the chains made next: a command hands out a
  // chain or two at a time and lets them go, so its page is cleared once,
  // not once per command.
  for (size_t i = 1; i < blocks_.size(); ++i) munmap(blocks_[i], kChainBlock);
  for (char* block : large_) std::free(block);
  large_.clear();
  if (blocks_.empty()) return;
  blocks_.resize(1);
  next_ = blocks_[0];
  end_ = next_ + kChainBlock;
}

ChainBlocks::~ChainBlocks() {
  for (char* block : blocks_) munmap(block, kChainBlock);
  for (char* block : large_) std::free(block);
}

resbuf* EntityToChain(const DxfEntity& entity, ChainBlocks* blocks) {
  PartSource source(blocks);
  resbuf* head = nullptr;
  resbuf** tail = &head;
  auto link = [&tail](resbuf* node, int code) {
    node->code = static_cast<int16_t>(code);
    *tail = node;
    tail = &node->next;
  };
  resbuf* name = source.Node();
  if (!name) return nullptr;
  link(name, -1);
  name->value.name[0] = static_cast<int64_t>(entity.id);
  name->value.name[1] = static_cast<int64_t>(entity.Handle().value_or(0));

  const PairList converted = IsFlatPolyline(entity) ? AsLwPolyline(entity) : PairList();
  const PairList& pairs = converted.empty() ? entity.pairs : converted;
  bool marked = false;
  std::string decoded;
  // Straight from the pairs: a chain node per pair, a point's y and z
  // taken with its x, each code's traits looked up once.
  for (size_t i = 0; i < pairs.size(); ++i) {
    const int code = pairs[i].code;
    const CodeTraits traits = TraitsOf(code);
    if (!traits.travels) continue;
    size_t count = 1;
    if (traits.kind == GC_KIND_POINT && i + 1 < pairs.size() && pairs[i + 1].code == code + 10) {
      ++count;
      if (i + 2 < pairs.size() && pairs[i + 2].code == code + 20) ++count;
    }
    // The extended data begins at the first 1001, which travels, and no
    // point's axes run over it.
    if (!marked && code == 1001) {
      resbuf* mark = source.Node();
      if (!mark) return source.Drop(head), nullptr;
      link(mark, -3);
      marked = true;
    }
    resbuf* node = traits.kind == GC_KIND_TEXT ? source.TextNode(NodeText(code, pairs[i].value, decoded))
                                               : source.Node();
    if (!node) return source.Drop(head), nullptr;
    link(node, code);
    if (traits.kind != GC_KIND_TEXT && !FillNode(node, pairs, i, count, traits, source))
      return source.Drop(head), nullptr;
    i += count - 1;
  }
  return head;
}

std::optional<EntityName> ChainEntityName(const resbuf* chain) {
  if (!chain || chain->code != -1) return std::nullopt;
  return EntityName{static_cast<uint64_t>(chain->value.name[0]),
                    static_cast<uint64_t>(chain->value.name[1])};
}

bool ChainToPairs(const resbuf* chain, const DxfEntity* original, PairList& out,
                  std::optional<EntityName>* name, DxfError* error, PairArena* arena) {
  out.clear();
  if (name) *name = ChainEntityName(chain);
  if (chain && chain->code == -1) chain = chain->next;
  if (!chain) return Fail(error, "the chain holds no entity");

  size_t partIndex = 0;
  bool started = false;
  // The first part is written straight into out (whose room a caller may
  // keep across entities); a run's later parts each into part first.
  PairList part;
  PairList* into = &out;
  // The pairs the nodes make (a point up to three), and room for the few
  // a new entity is given (handle, owner, markers), so that the usual
  // single part is never moved while it grows.
  size_t estimate = 4;
  for (const resbuf* node = chain; node; node = node->next)
    if (node->code >= 0) estimate += KindOf(node->code) == GC_KIND_POINT ? 3 : 1;
  if (out.capacity() < estimate) out.reserve(estimate);
  thread_local PartWriter::Scratch scratch;
  std::optional<PartWriter> writer;
  auto templateOf = [&](size_t index, std::string_view type) -> const PairList* {
    if (!original) return nullptr;
    const DxfEntity* e = index == 0 ? original
                         : index - 1 < original->children.size() ? &original->children[index - 1]
                                                                  : nullptr;
    return e && SameName(e->Type(), type) ? &e->pairs : nullptr;
  };
  auto flush = [&]() {
    if (writer) writer->Restore(*into);
    if (into != &out)
      out.insert(out.end(), std::make_move_iterator(part.begin()), std::make_move_iterator(part.end()));
    part.clear();
    into = &part;
  };
  for (const resbuf* node = chain; node; node = node->next) {
    if (node->code < 0) continue;
    if (node->code == 0) {
      if (started) {
        flush();
        ++partIndex;
      }
      started = true;
      std::string_view type = node->value.text ? TrimDxf(node->value.text) : std::string_view();
      writer.reset();
      writer.emplace(templateOf(partIndex, type), type, arena, scratch);
    } else if (!writer) {
      writer.emplace(nullptr, std::string_view(), arena, scratch);  // no type yet: the drawing refuses it later
    }
    writer->Add(node, *into);
  }
  flush();
  if (out.empty()) return Fail(error, "the chain holds no entity");
  return true;
}

namespace {

// The k-th span of code among spans[from..], or null.
const Span* NthOfCode(const std::vector<Span>& spans, size_t from, int code, size_t k) {
  for (size_t t = from; t < spans.size(); ++t)
    if (spans[t].code == code && k-- == 0) return &spans[t];
  return nullptr;
}

// The values of a node against the original's span at its place (seq), as
// ChainToPairs writes it against the span of its code's ordinal (ord, or
// none): those whose bytes differ go to places and values; false when the
// node does not write the place's codes.
bool SetsPlace(const resbuf* node, const PairList& pairs, const Span& seq, const Span* ord, std::string_view type,
               PairArena* arena, std::vector<uint32_t>& places, PairList& values) {
  const bool own = ord == &seq;
  if (own && SpanKeeps(node, pairs, seq)) return true;
  // A text after a run put in meets another span than its place's, but
  // mostly reads as its place's bytes, which need no caret form: a span
  // that stands for it then holds the same bytes, and a new value would
  // be them too. The place keeps them without a value made to be compared.
  if (seq.kind == GC_KIND_TEXT && node->value.text && SameText(node->value.text, pairs[seq.index].value.View()))
    return true;
  const size_t from = values.size();
  WriteNode(node, &pairs, ord, type, arena, values, own);
  if (values.size() - from != seq.count) return false;
  size_t kept = from;
  for (size_t k = from; k < values.size(); ++k) {
    const size_t place = seq.index + (k - from);
    if (values[k].code != pairs[place].code) return false;
    if (values[k].value.View() == pairs[place].value.View()) continue;
    places.push_back(static_cast<uint32_t>(place));
    if (kept != k) values[kept] = std::move(values[k]);
    ++kept;
  }
  values.resize(kept);
  return true;
}

// The chain from node on against the original's pairs from at on, where
// node is the first of a run of extended-data nodes the original lacks:
// the run's pairs, as ChainToPairs makes them (each node against the span
// of its code's ordinal), go after the values set; the nodes after the run
// meet the original's spans in order. The pairs from at on all travel in
// chains, so that none is put back among the run's.
bool RunInserted(const resbuf* node, const DxfEntity& original, size_t at, std::vector<uint32_t>& places,
                 PairList& values, PairArena* arena, size_t& insertAt) {
  const PairList& pairs = original.pairs;
  const size_t xd = ExtendedDataStart(pairs);
  if (at < xd || (at == xd && node->code != 1001)) return false;
  thread_local std::vector<Span> tail;
  tail.clear();
  for (size_t j = at; j < pairs.size(); j += tail.back().count) {
    if (!CodeFitsChain(pairs[j].code)) return false;
    tail.push_back(SpanAt(pairs, j));
  }
  // The run: up to the node of the code standing at the place.
  std::array<std::pair<int, size_t>, 8> inRun{};  // nodes of each code in the run
  size_t codes = 0;
  const size_t runStart = values.size();
  for (; node && !(!tail.empty() && node->code == tail.front().code); node = node->next) {
    if (node->code < 0) continue;
    if (node->code < 1000 || node->code > 1071) return false;
    size_t c = 0;
    while (c < codes && inRun[c].first != node->code) ++c;
    if (c == codes) {
      if (codes == inRun.size()) return false;
      inRun[codes++] = {node->code, 0};
    }
    WriteNode(node, &pairs, NthOfCode(tail, 0, node->code, inRun[c].second++), original.Type(), arena, values);
  }
  const size_t runEnd = values.size();
  if (runEnd == runStart) return false;
  size_t t = 0;
  for (; node; node = node->next) {
    if (node->code < 0) continue;
    if (t == tail.size() || tail[t].code != node->code) return false;
    // The run took the first spans of its codes: a later node of such a
    // code meets the span as many further on.
    const Span* ord = &tail[t];
    for (size_t c = 0; c < codes; ++c)
      if (inRun[c].first == node->code) ord = NthOfCode(tail, t, node->code, inRun[c].second);
    if (!SetsPlace(node, pairs, tail[t], ord, original.Type(), arena, places, values)) return false;
    ++t;
  }
  if (t != tail.size()) return false;
  // The run's pairs after the values set.
  std::rotate(values.begin() + static_cast<std::ptrdiff_t>(runStart),
              values.begin() + static_cast<std::ptrdiff_t>(runEnd), values.end());
  insertAt = at;
  return true;
}

}  // namespace

bool ChainSetsValues(const resbuf* chain, const DxfEntity& original, std::vector<uint32_t>& places,
                     PairList& values, PairArena* arena, size_t* insertAt) {
  places.clear();
  values.clear();
  if (chain && chain->code == -1) chain = chain->next;
  const PairList& pairs = original.pairs;
  if (pairs.size() > UINT32_MAX) return false;
  const size_t n = pairs.size();
  // The next pair from i on that travels, its code's kind in kind.
  auto nextSpan = [&pairs, n](size_t i, uint8_t& kind) {
    for (; i < n; ++i)
      if (const uint8_t info = InfoOf(pairs[i].code); info & kTravels) {
        kind = info & kKindBits;
        break;
      }
    return i;
  };
  // Node by node against the original's spans in file order: while the
  // codes agree, the node of a code at a place among the nodes of that code
  // meets the span ChainToPairs would give it. The first node is the type,
  // and there is no other part.
  while (chain && chain->code < 0) chain = chain->next;
  uint8_t kind = 0;
  size_t i = nextSpan(0, kind);
  const std::string_view type = original.Type();
  if (!chain || chain->code != 0 || i == n || pairs[i].code != 0 || !chain->value.text ||
      !SameName(type, TrimDxf(chain->value.text)))
    return false;
  for (const resbuf* node = chain; node; node = node->next) {
    // The plug-in's nodes lie apart: the next is on its way while this
    // one is looked at.
    __builtin_prefetch(node->next);
    const int code = node->code;
    if (code < 0) continue;
    if (node != chain) {
      i = nextSpan(i, kind);
      if (i == n || pairs[i].code != code) {
        // Extended data the original lacks, where asked for.
        return insertAt && RunInserted(node, original, i, places, values, arena, *insertAt);
      }
      if (code == 0) return false;
    }
    if (kind == GC_KIND_TEXT && node->value.text) {
      // Most nodes are texts the chain leaves as they were: kept at once.
      if (SameText(node->value.text, pairs[i].value.View())) {
        ++i;
        continue;
      }
      // A text that needs no caret form and is not the file's bytes (or
      // those would have no caret form either) is its place's new value,
      // as SetsPlace finds it after looking again.
      const std::string_view text(node->value.text);
      if (!NeedsCaretForm(text)) {
        places.push_back(static_cast<uint32_t>(i++));
        values.push_back({static_cast<int16_t>(code), NewValue(text, arena)});
        continue;
      }
    }
    const Span span = SpanAt(pairs, i);
    if (!SetsPlace(node, pairs, span, &span, type, arena, places, values)) return false;
    i += span.count;
  }
  if (insertAt) *insertAt = n;
  return nextSpan(i, kind) == n;
}

}  // namespace host
