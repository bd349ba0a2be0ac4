// The compiled resource file: what the resource-script compiler writes and
// what LoadLibraryA maps as a resource-only module.
//
// Layout (little-endian):
//   magic    8 bytes  "JOVRES" 0x1A 0x01 (format 1)
//   count    u32
//   entries  count x { type key, name key, u32 size, size bytes }
//   key      u8 0 + u16 id            (numbered)
//            u8 1 + u16 n + n bytes   (named, code page 1250, upper case)
//
// Strings are entries of type RT_STRING named by their id, holding the code
// page 1250 text without a terminator. Icons and cursors hold the whole .ico
// or .cur file; bitmaps the .bmp file without its 14-byte file header.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/win32/resources.h"
#include "platform/win32/win32_types.h"

// A resource type or name: a 16-bit number or a text.
struct ResourceKey {
  bool isNumber = true;
  WORD id = 0;
  std::string name;  // upper case when a text

  static ResourceKey Number(WORD id);
  static ResourceKey Name(std::string name);
  // From the LPCSTR form the Windows calls take: MAKEINTRESOURCE values,
  // "#123" for a number, or a name (compared without case).
  static ResourceKey FromArgument(LPCSTR value);

  bool Matches(const ResourceKey& other) const;
  std::string Describe() const;  // "17" or "NAME", for messages
};

struct HRSRC__ {
  ResourceKey type;
  ResourceKey name;
  std::vector<BYTE> data;
};
using ResourceEntry = HRSRC__;

struct ResourceTable {
  std::vector<std::unique_ptr<ResourceEntry>> entries;

  // Icons and cursors handed out for this table's entries; they live as long
  // as the module, like shared icons do.
  mutable std::vector<std::unique_ptr<HICON__>> icons;
  mutable std::vector<std::unique_ptr<HCURSOR__>> cursors;

  const ResourceEntry* Find(const ResourceKey& type, const ResourceKey& name) const;
  bool Owns(const ResourceEntry* entry) const;
  // Appends unless an entry of the same type and name exists (false).
  bool Add(ResourceKey type, ResourceKey name, std::vector<BYTE> data);

 private:
  friend bool ParseResourceImage(const BYTE*, size_t, ResourceTable&, std::string&);
  // The entries by type and name, so that reading or compiling a table
  // with many entries takes time in step with their number.
  std::unordered_map<std::string, const ResourceEntry*> index_;
};

constexpr size_t kResourceMagicSize = 8;
bool HasResourceMagic(const BYTE* head, size_t size);

std::vector<BYTE> SerializeResourceTable(const ResourceTable& table);
// False with a reason for damaged or truncated images and repeated entries.
bool ParseResourceImage(const BYTE* data, size_t size, ResourceTable& table, std::string& error);
// Reads a host (UTF-8) path.
bool ReadResourceFile(const std::string& hostPath, ResourceTable& table, std::string& error);
