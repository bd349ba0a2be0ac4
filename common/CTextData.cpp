#include "common/CTextData.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "common/InternedTexts.h"
#include "dataformat/HeapCopy.h"

namespace {

// Large lengths are read piecewise so that a corrupt length in a stream of
// unknown size cannot make us allocate more than the input really holds.
constexpr size_t kReadChunk = 64 * 1024;

void WriteU32(std::ostream& out, uint32_t value) {
  const char bytes[4] = {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
                         static_cast<char>((value >> 16) & 0xFF),
                         static_cast<char>((value >> 24) & 0xFF)};
  out.write(bytes, 4);
}

bool ReadU32(std::istream& in, uint32_t& value) {
  unsigned char bytes[4];
  if (!in.read(reinterpret_cast<char*>(bytes), 4)) return false;
  value = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
  return true;
}

// Bytes left in a seekable stream; nothing for a stream that cannot tell.
std::optional<uint64_t> RemainingBytes(std::istream& in) {
  std::streampos here = in.tellg();
  if (here == std::streampos(-1)) return std::nullopt;
  if (!in.seekg(0, std::ios::end)) {
    in.clear(in.rdstate() & ~std::ios::failbit);
    in.seekg(here);
    return std::nullopt;
  }
  std::streampos end = in.tellg();
  in.seekg(here);
  if (end == std::streampos(-1) || !in || end < here) return std::nullopt;
  return static_cast<uint64_t>(end - here);
}

bool ReadBytes(std::istream& in, uint32_t length, std::string& out) {
  out.clear();
  while (out.size() < length) {
    size_t step = std::min<size_t>(kReadChunk, length - out.size());
    size_t at = out.size();
    out.resize(at + step);
    if (!in.read(out.data() + at, static_cast<std::streamsize>(step))) return false;
  }
  return true;
}

}  // namespace

CTextData::CTextData(uint32_t n) { Resize(n); }

CTextData::~CTextData() {
  FreeTexts();
  if (interned_) interned_texts::DropHolder();
}

bool CTextData::HoldsInline(const char* text) const {
  const auto at = reinterpret_cast<uintptr_t>(text);
  const auto begin = reinterpret_cast<uintptr_t>(inlineBytes_);
  return at >= begin && at < begin + kInlineBytes;
}

char* CTextData::CopyText(const char* text) {
  // Interned texts are only read through the fields.
  if (interned_) return const_cast<char*>(interned_texts::Intern(text));
  const size_t n = std::strlen(text) + 1;
  if (n > kInlineBytes - inlineUsed_) return DupString(text);
  char* copy = inlineBytes_ + inlineUsed_;
  std::memcpy(copy, text, n);
  inlineUsed_ = static_cast<uint8_t>(inlineUsed_ + n);
  return copy;
}

void CTextData::ReleaseText(char* text) {
  if (text && !interned_ && !HoldsInline(text)) std::free(text);
}

void CTextData::FreeTexts() {
  char** slots = Texts();
  for (uint32_t i = 0; i < fieldCount; ++i) ReleaseText(slots[i]);
  if (fieldCount > kInlineFields) std::free(texts);
  std::fill(inlineSlots_, inlineSlots_ + kInlineFields, nullptr);
  fieldCount = 0;
  inlineUsed_ = 0;
}

void CTextData::Resize(uint32_t n) {
  FreeTexts();
  if (n > kInlineFields) {
    texts = static_cast<char**>(std::calloc(n, sizeof(char*)));
    if (!texts) return;
  }
  fieldCount = n;
}

bool CTextData::KeepTextsInterned() {
  if (interned_) return true;
  char** slots = Texts();
  if (std::all_of(slots, slots + fieldCount, [](const char* text) { return !text; })) {
    interned_texts::AddHolder();
    interned_ = true;
    return true;
  }
  // Held from the first copy on: the store keeps its texts for them.
  interned_texts::AddHolder();
  std::vector<char*> copies(fieldCount);
  for (uint32_t i = 0; i < fieldCount; ++i) {
    if (!slots[i]) continue;
    copies[i] = const_cast<char*>(interned_texts::Intern(slots[i]));
    if (!copies[i]) {
      interned_texts::DropHolder();
      return false;
    }
  }
  for (uint32_t i = 0; i < fieldCount; ++i) {
    ReleaseText(slots[i]);
    slots[i] = copies[i];
  }
  inlineUsed_ = 0;
  interned_ = true;
  return true;
}

void CTextData::TakeFrom(CTextData& other) {
  FreeTexts();
  fieldCount = other.fieldCount;
  char* const* from = other.Texts();
  if (fieldCount > kInlineFields) texts = other.texts;
  std::memcpy(inlineBytes_, other.inlineBytes_, other.inlineUsed_);
  inlineUsed_ = other.inlineUsed_;
  char** to = Texts();
  for (uint32_t i = 0; i < fieldCount; ++i) {
    char* text = from[i];
    to[i] = other.HoldsInline(text) ? inlineBytes_ + (text - other.inlineBytes_) : text;
  }
  other.fieldCount = 0;
  other.inlineUsed_ = 0;
  std::fill(other.inlineSlots_, other.inlineSlots_ + kInlineFields, nullptr);
}

bool CTextData::SetField(uint32_t index, const char* text) {
  if (index >= fieldCount) return false;
  // Copied before the old text goes: text may be that very text.
  char* copy = text ? CopyText(text) : nullptr;
  char** slots = Texts();
  ReleaseText(slots[index]);
  slots[index] = copy;
  return copy || !text;
}

const char* CTextData::GetField(uint32_t index) const {
  if (index >= fieldCount) return nullptr;
  return Texts()[index];
}

bool CTextData::Write(std::ostream& out) const {
  WriteU32(out, fieldCount);
  char* const* slots = Texts();
  for (uint32_t i = 0; i < fieldCount; ++i) {
    if (!slots[i]) {
      WriteU32(out, 0);
      continue;
    }
    size_t length = std::strlen(slots[i]) + 1;
    WriteU32(out, static_cast<uint32_t>(length));
    out.write(slots[i], static_cast<std::streamsize>(length));
  }
  return !out.fail();
}

bool CTextData::Read(std::istream& in) {
  auto fail = [&in]() {
    in.setstate(std::ios::failbit);
    return false;
  };

  uint32_t n = 0;
  if (!ReadU32(in, n)) return fail();
  std::optional<uint64_t> left = RemainingBytes(in);
  // Every field costs at least its 4-byte length.
  if (left && n > *left / 4) return fail();

  std::vector<std::string> fields;
  fields.reserve(std::min<uint32_t>(n, 1024));
  std::string bytes;
  for (uint32_t i = 0; i < n; ++i) {
    uint32_t length = 0;
    if (!ReadU32(in, length)) return fail();
    if (left) {
      *left -= 4;
      if (length > *left) return fail();
      *left -= length;
    }
    if (length == 0) {
      fields.emplace_back();
      continue;
    }
    if (!ReadBytes(in, length, bytes)) return fail();
    bytes.back() = '\0';
    fields.emplace_back(bytes.c_str());  // a stored NUL ends the text early
  }

  // Build the new fields aside so that a failed allocation leaves us as we were.
  CTextData fresh(n);
  if (fresh.fieldCount != n || (interned_ && !fresh.KeepTextsInterned())) return fail();
  for (uint32_t i = 0; i < n; ++i)
    if (!fresh.SetField(i, fields[i].c_str())) return fail();
  TakeFrom(fresh);
  return true;
}
