#include "common/CTextData.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "common/HeapCopy.h"

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

void CTextData::FreeTexts() {
  if (texts) {
    for (uint32_t i = 0; i < fieldCount; ++i) std::free(texts[i]);
    std::free(texts);
  }
  texts = nullptr;
  fieldCount = 0;
}

void CTextData::Resize(uint32_t n) {
  FreeTexts();
  if (n == 0) return;
  texts = static_cast<char**>(std::calloc(n, sizeof(char*)));
  if (texts) fieldCount = n;
}

bool CTextData::SetField(uint32_t index, const char* text) {
  if (!texts || index >= fieldCount) return false;
  std::free(texts[index]);
  texts[index] = nullptr;
  if (!text) return true;
  texts[index] = DupString(text);
  return texts[index] != nullptr;
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

  // Build the new array aside so that a failed allocation leaves us as we were.
  char** array = n ? static_cast<char**>(std::calloc(n, sizeof(char*))) : nullptr;
  if (n && !array) return fail();
  for (uint32_t i = 0; i < n; ++i) {
    array[i] = DupString(fields[i].c_str());
    if (!array[i]) {
      for (uint32_t k = 0; k < i; ++k) std::free(array[k]);
      std::free(array);
      return fail();
    }
  }
  FreeTexts();
  texts = array;
  fieldCount = n;
  return true;
}
