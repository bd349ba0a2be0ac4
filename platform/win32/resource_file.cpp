#include "platform/win32/resource_file.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/win32/code_page.h"
#include "platform/win32/template_stream.h"

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

// A key: a tag byte, then the number, or the name with its length.
void PutKey(templates::Writer& out, const ResourceKey& key) {
  out.U8(key.isNumber ? 0 : 1);
  if (key.isNumber)
    out.U16(key.id);
  else
    out.Text(key.name);
}

bool TakeKey(templates::Reader& in, ResourceKey& key) {
  uint32_t tag;
  if (!in.U8(tag)) return false;
  if (tag == 0) {
    uint32_t id;
    if (!in.U16(id)) return false;
    key = ResourceKey::Number(static_cast<WORD>(id));
    return true;
  }
  std::string name;
  if (tag != 1 || !in.Text(name)) return false;
  key = ResourceKey::Name(std::move(name));
  return true;
}

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

namespace {

// The index's key: keys that match give the same text, others not.
std::string IndexKey(const ResourceKey& type, const ResourceKey& name) {
  std::string key;
  for (const ResourceKey* k : {&type, &name}) {
    if (k->isNumber) {
      key += '#';
      key += std::to_string(k->id);
    } else {
      key += '$';
      key += std::to_string(k->name.size());
      key += ':';
      for (char c : k->name) key += static_cast<char>(Cp1250ToLower(static_cast<unsigned char>(c)));
    }
    key += ';';
  }
  return key;
}

}  // namespace

const ResourceEntry* ResourceTable::Find(const ResourceKey& type, const ResourceKey& name) const {
  auto it = index_.find(IndexKey(type, name));
  return it == index_.end() ? nullptr : it->second;
}

bool ResourceTable::Owns(const ResourceEntry* entry) const {
  for (const auto& e : entries)
    if (e.get() == entry) return true;
  return false;
}

bool ResourceTable::Add(ResourceKey type, ResourceKey name, std::vector<BYTE> data) {
  std::string key = IndexKey(type, name);
  if (index_.count(key)) return false;
  auto e = std::make_unique<ResourceEntry>();
  e->type = std::move(type);
  e->name = std::move(name);
  e->data = std::move(data);
  entries.push_back(std::move(e));
  index_.emplace(std::move(key), entries.back().get());
  return true;
}

bool HasResourceMagic(const BYTE* head, size_t size) {
  return size >= kResourceMagicSize && std::memcmp(head, kMagic, kResourceMagicSize) == 0;
}

std::vector<BYTE> SerializeResourceTable(const ResourceTable& table) {
  templates::Writer out;
  out.bytes().assign(kMagic, kMagic + kResourceMagicSize);
  out.U32(static_cast<uint32_t>(table.entries.size()));
  for (const auto& e : table.entries) {
    PutKey(out, e->type);
    PutKey(out, e->name);
    out.U32(static_cast<uint32_t>(e->data.size()));
    out.Bytes(e->data);
  }
  return std::move(out.bytes());
}

bool ParseResourceImage(const BYTE* data, size_t size, ResourceTable& table, std::string& error) {
  if (!data || !HasResourceMagic(data, size)) {
    error = "not a compiled resource file";
    return false;
  }
  templates::Reader in(data + kResourceMagicSize, size - kResourceMagicSize);
  uint32_t count;
  if (!in.U32(count)) {
    error = "truncated resource file";
    return false;
  }
  ResourceTable parsed;
  // An entry takes ten bytes at least: a damaged count reserves no more.
  const size_t room = std::min<size_t>(count, (size - kResourceMagicSize) / 10);
  parsed.entries.reserve(room);
  parsed.index_.reserve(room);
  for (uint32_t i = 0; i < count; ++i) {
    ResourceKey type, name;
    uint32_t length;
    std::vector<BYTE> bytes;
    if (!TakeKey(in, type) || !TakeKey(in, name) || !in.U32(length) || !in.Bytes(length, bytes)) {
      error = "damaged or truncated resource entry " + std::to_string(i + 1);
      return false;
    }
    if (!parsed.Add(type, name, std::move(bytes))) {
      error = "resource " + name.Describe() + " of type " + type.Describe() + " appears twice";
      return false;
    }
  }
  if (!in.AtEnd()) {
    error = "unexpected data after the last resource entry";
    return false;
  }
  table.entries = std::move(parsed.entries);
  table.index_ = std::move(parsed.index_);
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
