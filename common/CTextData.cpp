#include "common/CTextData.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

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

CTextData::~CTextData() { FreeTexts(); }

bool CTextData::HoldsInline(const char* text) const {
  const auto at = reinterpret_cast<uintptr_t>(text);
  const auto begin = reinterpret_cast<uintptr_t>(inlineBytes_);
  return at >= begin && at < begin + kInlineBytes;
}

char* CTextData::CopyText(const char* text) {
  const size_t n = std::strlen(text) + 1;
  if (n > kInlineBytes - inlineUsed_) return DupString(text);
  char* copy = inlineBytes_ + inlineUsed_;
  std::memcpy(copy, text, n);
  inlineUsed_ += static_cast<uint32_t>(n);
  return copy;
}

void CTextData::ReleaseText(char* text) {
  if (text && !HoldsInline(text)) std::free(text);
}

void CTextData::FreeTexts() {
  if (texts) {
    for (uint32_t i = 0; i < fieldCount; ++i) ReleaseText(texts[i]);
    if (texts != inlineSlots_) std::free(texts);
  }
  texts = nullptr;
  fieldCount = 0;
  inlineUsed_ = 0;
}

void CTextData::Resize(uint32_t n) {
  FreeTexts();
  if (n == 0) return;
  if (n <= kInlineFields) {
    texts = inlineSlots_;
    std::fill(texts, texts + n, nullptr);
  } else {
    texts = static_cast<char**>(std::calloc(n, sizeof(char*)));
  }
  if (texts) fieldCount = n;
}

void CTextData::TakeFrom(CTextData& other) {
  FreeTexts();
  fieldCount = other.fieldCount;
  texts = other.texts == other.inlineSlots_ ? inlineSlots_ : other.texts;
  std::memcpy(inlineBytes_, other.inlineBytes_, other.inlineUsed_);
  inlineUsed_ = other.inlineUsed_;
  for (uint32_t i = 0; i < fieldCount; ++i) {
    char* text = other.texts[i];
    texts[i] = other.HoldsInline(text) ? inlineBytes_ + (text - other.inlineBytes_) : text;
  }
  other.texts = nullptr;
  other.fieldCount = 0;
  other.inlineUsed_ = 0;
}

bool CTextData::SetField(uint32_t index, const char* text) {
  if (!texts || index >= fieldCount) return false;
  // Copied before the old text goes: text may be that very text.
  char* copy = text ? CopyText(text) : nullptr;
  ReleaseText(texts[index]);
  texts[index] = copy;
  return copy || !text;
}

const char* CTextData::GetField(uint32_t index) const {
  if (!texts || index >= fieldCount) return nullptr;
  return texts[index];
}

bool CTextData::Write(std::ostream& out) const {
  WriteU32(out, fieldCount);
  if (texts) {
    for (uint32_t i = 0; i < fieldCount; ++i) {
      if (!texts[i]) {
        WriteU32(out, 0);
        continue;
      }
      size_t length = std::strlen(texts[i]) + 1;
      WriteU32(out, static_cast<uint32_t>(length));
      out.write(texts[i], static_cast<std::streamsize>(length));
    }
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
  if (fresh.fieldCount != n) return fail();
  for (uint32_t i = 0; i < n; ++i)
    if (!fresh.SetField(i, fields[i].c_str())) return fail();
  TakeFrom(fresh);
  return true;
}
