#include "platform/win32/resource_file.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/win32/code_page.h"

namespace {

constexpr BYTE kMagic[kResourceMagicSize] = {'J', 'O', 'V', 'R', 'E', 'S', 0x1A, 0x01};

// Code page 1250 upper case: the inverse of the page's lower-case fold.
struct UpperTable {
  unsigned char upper[256];
  UpperTable() {
    for (int b = 0; b < 256; ++b) upper[b] = static_cast<unsigned char>(b);
    for (int b = 0; b < 256; ++b) {
      unsigned char lower = Cp1250ToLower(static_cast<unsigned char>(b));
      if (lower != b) upper[lower] = static_cast<unsigned char>(b);
    }
  }
};

std::string UpperCase(std::string text) {
  static const UpperTable table;
  for (char& c : text) c = static_cast<char>(table.upper[static_cast<unsigned char>(c)]);
  return text;
}

void PutU16(std::vector<BYTE>& out, uint32_t v) {
  out.push_back(static_cast<BYTE>(v));
  out.push_back(static_cast<BYTE>(v >> 8));
}

void PutU32(std::vector<BYTE>& out, uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}

void PutKey(std::vector<BYTE>& out, const ResourceKey& key) {
  if (key.isNumber) {
    out.push_back(0);
    PutU16(out, key.id);
  } else {
    out.push_back(1);
    PutU16(out, static_cast<uint32_t>(key.name.size()));
    out.insert(out.end(), key.name.begin(), key.name.end());
  }
}

class Reader {
 public:
  Reader(const BYTE* data, size_t size) : data_(data), size_(size) {}
  bool Bytes(size_t n, const BYTE*& p) {
    if (size_ - pos_ < n) return false;
    p = data_ + pos_;
    pos_ += n;
    return true;
  }
  bool U8(uint32_t& v) {
    const BYTE* p;
    if (!Bytes(1, p)) return false;
    v = p[0];
    return true;
  }
  bool U16(uint32_t& v) {
    const BYTE* p;
    if (!Bytes(2, p)) return false;
    v = p[0] | (p[1] << 8);
    return true;
  }
  bool U32(uint32_t& v) {
    uint32_t lo, hi;
    if (!U16(lo) || !U16(hi)) return false;
    v = lo | (hi << 16);
    return true;
  }
  bool Key(ResourceKey& key) {
    uint32_t tag, v;
    if (!U8(tag) || !U16(v)) return false;
    if (tag == 0) {
      key = ResourceKey::Number(static_cast<WORD>(v));
      return true;
    }
    const BYTE* p;
    if (tag != 1 || !Bytes(v, p)) return false;
    key = ResourceKey::Name(std::string(reinterpret_cast<const char*>(p), v));
    return true;
  }
  bool AtEnd() const { return pos_ == size_; }

 private:
  const BYTE* data_;
  size_t size_;
  size_t pos_ = 0;
};

}  // namespace

ResourceKey ResourceKey::Number(WORD id) {
  ResourceKey key;
  key.id = id;
  return key;
}

ResourceKey ResourceKey::Name(std::string name) {
  ResourceKey key;
  key.isNumber = false;
  key.name = UpperCase(std::move(name));
  return key;
}

ResourceKey ResourceKey::FromArgument(LPCSTR value) {
  if (IS_INTRESOURCE(value)) return Number(static_cast<WORD>(reinterpret_cast<uintptr_t>(value)));
  if (value[0] == '#') {
    char* end = nullptr;
    unsigned long n = std::strtoul(value + 1, &end, 10);
    if (end != value + 1 && *end == '\0' && n <= 0xFFFF) return Number(static_cast<WORD>(n));
  }
  return Name(value);
}

bool ResourceKey::Matches(const ResourceKey& other) const {
  if (isNumber != other.isNumber) return false;
  return isNumber ? id == other.id : _mbsicmp(name.c_str(), other.name.c_str()) == 0;
}

std::string ResourceKey::Describe() const { return isNumber ? std::to_string(id) : name; }

const ResourceEntry* ResourceTable::Find(const ResourceKey& type, const ResourceKey& name) const {
  for (const auto& e : entries)
    if (e->type.Matches(type) && e->name.Matches(name)) return e.get();
  return nullptr;
}

bool ResourceTable::Owns(const ResourceEntry* entry) const {
  for (const auto& e : entries)
    if (e.get() == entry) return true;
  return false;
}

bool ResourceTable::Add(ResourceKey type, ResourceKey name, std::vector<BYTE> data) {
  if (Find(type, name)) return false;
  auto e = std::make_unique<ResourceEntry>();
  e->type = std::move(type);
  e->name = std::move(name);
  e->data = std::move(data);
  entries.push_back(std::move(e));
  return true;
}

bool HasResourceMagic(const BYTE* head, size_t size) {
  return size >= kResourceMagicSize && std::memcmp(head, kMagic, kResourceMagicSize) == 0;
}

std::vector<BYTE> SerializeResourceTable(const ResourceTable& table) {
  std::vector<BYTE> out(kMagic, kMagic + kResourceMagicSize);
  PutU32(out, static_cast<uint32_t>(table.entries.size()));
  for (const auto& e : table.entries) {
    PutKey(out, e->type);
    PutKey(out, e->name);
    PutU32(out, static_cast<uint32_t>(e->data.size()));
    out.insert(out.end(), e->data.begin(), e->data.end());
  }
  return out;
}

bool ParseResourceImage(const BYTE* data, size_t size, ResourceTable& table, std::string& error) {
  if (!data || !HasResourceMagic(data, size)) {
    error = "not a compiled resource file";
    return false;
  }
  Reader in(data + kResourceMagicSize, size - kResourceMagicSize);
  uint32_t count;
  if (!in.U32(count)) {
    error = "truncated resource file";
    return false;
  }
  ResourceTable parsed;
  for (uint32_t i = 0; i < count; ++i) {
    ResourceKey type, name;
    uint32_t length;
    const BYTE* bytes;
    if (!in.Key(type) || !in.Key(name) || !in.U32(length) || !in.Bytes(length, bytes)) {
      error = "damaged or truncated resource entry " + std::to_string(i + 1);
      return false;
    }
    if (!parsed.Add(type, name, std::vector<BYTE>(bytes, bytes + length))) {
      error = "resource " + name.Describe() + " of type " + type.Describe() + " appears twice";
      return false;
    }
  }
  if (!in.AtEnd()) {
    error = "unexpected data after the last resource entry";
    return false;
  }
  table.entries = std::move(parsed.entries);
  return true;
}

bool ReadResourceFile(const std::string& hostPath, ResourceTable& table, std::string& error) {
  FILE* f = std::fopen(hostPath.c_str(), "rb");
  if (!f) {
    error = "cannot open " + hostPath;
    return false;
  }
  std::vector<BYTE> bytes;
  BYTE chunk[65536];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
  bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) {
    error = "cannot read " + hostPath;
    return false;
  }
  return ParseResourceImage(bytes.data(), bytes.size(), table, error);
}
