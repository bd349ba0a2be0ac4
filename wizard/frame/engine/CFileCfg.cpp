#include "wizard/frame/engine/CFileCfg.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

struct RecordHeader {
  uint32_t word = 0;
  unsigned RecordLength() const { return word & 0xFFF; }
  unsigned KeyLength() const { return (word >> 12) & 0xFF; }
  unsigned ValueLength() const { return word >> 20; }
  static uint32_t Make(unsigned recordLength, unsigned keyLength, unsigned valueLength) {
    return recordLength | keyLength << 12 | valueLength << 20;
  }
};

RecordHeader HeaderAt(const Bytes& data, size_t pos) {
  return {uint32_t{data[pos]} | uint32_t{data[pos + 1]} << 8 | uint32_t{data[pos + 2]} << 16 |
          uint32_t{data[pos + 3]} << 24};
}

void PutHeader(Bytes& out, uint32_t word) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(word >> (8 * i)));
}

enum class Outcome { notFound, damaged, found };

struct Search {
  Outcome outcome = Outcome::notFound;
  size_t pos = 0;  // the damaged or found record
  RecordHeader header;
};

Search FindRecord(const Bytes& data, const void* key, unsigned keyLength) {
  size_t pos = 0;
  while (pos < data.size()) {
    const size_t left = data.size() - pos;
    if (left < 4) return {Outcome::damaged, pos, {}};
    const RecordHeader h = HeaderAt(data, pos);
    if (h.RecordLength() < h.KeyLength() + h.ValueLength() + 4 || h.RecordLength() > left)
      return {Outcome::damaged, pos, h};
    if (h.KeyLength() == keyLength && std::memcmp(&data[pos + 4], key, keyLength) == 0)
      return {Outcome::found, pos, h};
    pos += h.RecordLength();
  }
  return {};
}

// Where the first record that is not sound starts; the size when all are.
size_t SoundLength(const Bytes& data) {
  size_t pos = 0;
  while (pos < data.size()) {
    const size_t left = data.size() - pos;
    if (left < 4) return pos;
    const RecordHeader h = HeaderAt(data, pos);
    if (h.RecordLength() < h.KeyLength() + h.ValueLength() + 4 || h.RecordLength() > left) return pos;
    pos += h.RecordLength();
  }
  return pos;
}

bool ReadWholeFile(HANDLE file, Bytes& data) {
  DWORD high = 0;
  const DWORD size = GetFileSize(file, &high);
  if (size == INVALID_FILE_SIZE || high != 0) return false;
  data.resize(size);
  if (size == 0) return true;
  DWORD read = 0;
  return SetFilePointer(file, 0, nullptr, FILE_BEGIN) == 0 &&
         ReadFile(file, data.data(), size, &read, nullptr) && read == size;
}

bool WriteAt(HANDLE file, size_t pos, const unsigned char* bytes, size_t n) {
  if (SetFilePointer(file, static_cast<LONG>(pos), nullptr, FILE_BEGIN) != pos) return false;
  DWORD written = 0;
  return WriteFile(file, bytes, static_cast<DWORD>(n), &written, nullptr) && written == n;
}

bool CutAt(HANDLE file, size_t pos) {
  return SetFilePointer(file, static_cast<LONG>(pos), nullptr, FILE_BEGIN) == pos && SetEndOfFile(file);
}

// Every record of the key goes, those behind moving up: a later record of
// the key would otherwise be read in place of what is written next. data
// holds only sound records.
bool RemoveRecords(HANDLE file, const Bytes& data, const Search& first, const void* key, unsigned keyLength) {
  Bytes rest;
  for (size_t pos = first.pos; pos < data.size();) {
    const RecordHeader h = HeaderAt(data, pos);
    if (h.KeyLength() != keyLength || std::memcmp(&data[pos + 4], key, keyLength) != 0)
      rest.insert(rest.end(), data.begin() + static_cast<std::ptrdiff_t>(pos),
                  data.begin() + static_cast<std::ptrdiff_t>(pos + h.RecordLength()));
    pos += h.RecordLength();
  }
  return WriteAt(file, first.pos, rest.data(), rest.size()) && CutAt(file, first.pos + rest.size());
}

Bytes RecordBytes(uint32_t header, const void* key, unsigned keyLength, const void* value,
                  unsigned valueLength) {
  Bytes out;
  out.reserve(4 + keyLength + valueLength);
  PutHeader(out, header);
  out.insert(out.end(), static_cast<const unsigned char*>(key),
             static_cast<const unsigned char*>(key) + keyLength);
  if (valueLength)
    out.insert(out.end(), static_cast<const unsigned char*>(value),
               static_cast<const unsigned char*>(value) + valueLength);
  return out;
}

bool Append(HANDLE file, const void* key, unsigned keyLength, const void* value, unsigned valueLength) {
  const Bytes record = RecordBytes(RecordHeader::Make(keyLength + valueLength + 4, keyLength, valueLength),
                                   key, keyLength, value, valueLength);
  if (SetFilePointer(file, 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER) return false;
  DWORD written = 0;
  return WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr) &&
         written == record.size();
}

}  // namespace

CFileCfg::~CFileCfg() { Close(); }

bool CFileCfg::Open(const char* path) {
  Close();
  m_hFile = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                        FILE_FLAG_RANDOM_ACCESS | FILE_ATTRIBUTE_COMPRESSED, nullptr);
  return m_hFile != INVALID_HANDLE_VALUE;
}

void CFileCfg::Close() {
  if (m_hFile != INVALID_HANDLE_VALUE) CloseHandle(m_hFile);
  m_hFile = INVALID_HANDLE_VALUE;
}

int CFileCfg::ReadRecord(const void* key, unsigned keyLength, void* out, unsigned* size) {
  if (!key || keyLength == 0 || !size) return 0;
  Bytes data;
  if (!ReadWholeFile(m_hFile, data)) return 0;
  const Search at = FindRecord(data, key, keyLength);
  if (at.outcome != Outcome::found) return 0;
  const unsigned valueLength = at.header.ValueLength();
  if (out) std::memcpy(out, &data[at.pos + 4 + keyLength], std::min(valueLength, *size));
  *size = valueLength;
  return 1;
}

int CFileCfg::WriteRecord(const void* key, unsigned keyLength, const void* value, unsigned valueLength) {
  if (!key || keyLength == 0 || keyLength > kMaxKeyLength) return 0;
  if (value && (valueLength > kMaxRecordLength || keyLength + valueLength + 4 > kMaxRecordLength)) return 0;
  Bytes data;
  if (!ReadWholeFile(m_hFile, data)) return 0;
  // A damaged record goes with all that follows it before anything else:
  // a record appended behind it could never be read.
  const size_t sound = SoundLength(data);
  if (sound < data.size()) {
    if (!CutAt(m_hFile, sound)) return 0;
    data.resize(sound);
  }
  const Search at = FindRecord(data, key, keyLength);
  if (at.outcome == Outcome::found) {
    if (value && valueLength <= at.header.ValueLength()) {
      const uint32_t header = (at.header.word & 0xFFFFF) | valueLength << 20;
      const Bytes record = RecordBytes(header, key, keyLength, value, valueLength);
      return WriteAt(m_hFile, at.pos, record.data(), record.size()) ? 1 : 0;
    }
    if (!RemoveRecords(m_hFile, data, at, key, keyLength)) return 0;
  }
  if (!value) return 1;
  return Append(m_hFile, key, keyLength, value, valueLength) ? 1 : 0;
}

int CFileCfg::GetString(const char* key, char* out, unsigned size) {
  const unsigned keyLength = key ? static_cast<unsigned>(std::strlen(key)) : 0;
  if (!out || size == 0) {
    unsigned length = 0;
    return ReadRecord(key, keyLength, nullptr, &length);
  }
  unsigned length = size;
  const int found = ReadRecord(key, keyLength, out, &length);
  if (found) out[std::min(length, size - 1)] = '\0';
  return found;
}

int CFileCfg::SetString(const char* key, const char* value) {
  return WriteRecord(key, key ? static_cast<unsigned>(std::strlen(key)) : 0, value,
                     value ? static_cast<unsigned>(std::strlen(value)) : 0);
}
