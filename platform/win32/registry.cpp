#include "platform/win32/registry.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <sstream>
#include <vector>

#include "platform/win32/code_page.h"
#include "platform/win32/file_replace.h"
#include "platform/win32/whole_file.h"

namespace {

// File format, one line each:
//   [Software\Maker\Key]
//   "Name"=type:hexbytes
// Names and paths are written with %XX escapes for '%', '"', ']', '=' and
// control characters, so any text survives a round trip.

struct Value {
  std::string name;  // as first written
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
};

struct Key {
  std::string path;                     // as first created
  std::map<std::string, Value> values;  // by lower-case name
};

// Keys by lower-case path; "" is the root. A hive read with lines it could
// not take keeps the file as it was, for the copy made before rewriting it.
struct Hive : std::map<std::string, Key> {
  std::string damaged;  // the file's text when some of it was skipped
};

struct OpenKey {
  uintptr_t root = 0;
  std::string path;  // lower case
  bool writable = true;
};

struct Store {
  std::mutex mutex;
  std::string folder;  // empty: the default
  std::map<uintptr_t, OpenKey> open;
  uintptr_t next = 0x7A000000;
};

Store& S() {
  static Store* s = new Store;
  return *s;
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(Cp1250ToLower(static_cast<unsigned char>(c)));
  return out;
}

std::string DefaultFolder() {
  if (const char* dir = std::getenv("JOV_REGISTRY_DIR"); dir && *dir) return dir;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config)
    return std::string(config) + "/jov_vantrix/registry";
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : "/tmp") + "/.config/jov_vantrix/registry";
}

std::string Folder() { return S().folder.empty() ? DefaultFolder() : S().folder; }

const char* RootName(uintptr_t root) {
  switch (root) {
    case 0x80000000u: return "HKEY_CLASSES_ROOT";
    case 0x80000001u: return "HKEY_CURRENT_USER";
    case 0x80000002u: return "HKEY_LOCAL_MACHINE";
    case 0x80000003u: return "HKEY_USERS";
    default: return nullptr;
  }
}

std::string HivePath(uintptr_t root) { return Folder() + "/" + RootName(root) + ".reg"; }

std::string Escape(std::string_view text) {
  std::string out;
  for (unsigned char c : text) {
    if (c < 0x20 || c == '%' || c == '"' || c == ']' || c == '=' || c == 0x7F) {
      char buf[4];
      std::snprintf(buf, sizeof buf, "%%%02X", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string Unescape(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      int hi = HexDigit(text[i + 1]), lo = HexDigit(text[i + 2]);
      if (hi >= 0 && lo >= 0) {
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

// "Name"=type:hexbytes; false when the line is not one.
bool ParseValueLine(const std::string& line, Value& v) {
  if (line.size() < 4 || line.front() != '"') return false;
  const size_t close = line.find('"', 1);
  if (close == std::string::npos || close + 1 >= line.size() || line[close + 1] != '=') return false;
  const size_t colon = line.find(':', close + 2);
  if (colon == std::string::npos) return false;
  v.name = Unescape(line.substr(1, close - 1));
  v.type = static_cast<DWORD>(std::strtoul(line.c_str() + close + 2, nullptr, 10));
  const std::string hex = line.substr(colon + 1);
  if (hex.size() % 2) return false;
  for (size_t i = 0; i < hex.size(); i += 2) {
    int hi = HexDigit(hex[i]), lo = HexDigit(hex[i + 1]);
    if (hi < 0 || lo < 0) return false;
    v.data.push_back(static_cast<BYTE>(hi * 16 + lo));
  }
  return true;
}

// A damaged line is skipped: the rest of the hive still loads. The values
// after a damaged key line belong to no key, not to the one before it. A
// hive that is there but cannot be read loads empty and clears readable:
// saving over it would lose every key it holds.
Hive LoadHive(uintptr_t root, bool* readable = nullptr) {
  Hive hive;
  hive[""].path = "";
  std::string text;
  const bool read = win32::ReadWholeFile(HivePath(root), text) != win32::WholeFileRead::kUnreadable;
  if (readable) *readable = read;
  Key* key = nullptr;
  bool damaged = false;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (line.front() == '[') {
      key = nullptr;
      if (line.size() >= 2 && line.back() == ']') {
        std::string path = Unescape(line.substr(1, line.size() - 2));
        key = &hive[Lower(path)];
        if (key->path.empty()) key->path = path;
      } else {
        damaged = true;
      }
      continue;
    }
    Value v;
    if (key && ParseValueLine(line, v)) key->values[Lower(v.name)] = std::move(v);
    else damaged = true;
  }
  if (damaged) hive.damaged = std::move(text);
  return hive;
}

// The damaged hive's text in a file of its own beside it (never over an
// earlier copy), said on stderr; false when it could not be kept.
bool KeepDamaged(uintptr_t root, const Hive& hive) {
  const std::string path = HivePath(root);
  std::string copy = path + ".damaged";
  struct stat st;
  for (int n = 2; lstat(copy.c_str(), &st) == 0; ++n) copy = path + ".damaged." + std::to_string(n);
  if (!win32::ReplaceFileContents(copy, hive.damaged)) return false;
  std::fprintf(stderr, "registry: %s has damaged lines and is written without them; the file as it was is kept in %s\n",
               path.c_str(), copy.c_str());
  return true;
}

// Written to a temporary file, synced and renamed, so a reader never sees
// half a hive; a failed save leaves the old hive and nothing else.
bool SaveHive(uintptr_t root, const Hive& hive) {
  std::error_code ec;
  std::filesystem::create_directories(Folder(), ec);
  if (!hive.damaged.empty() && !KeepDamaged(root, hive)) return false;
  std::string text;
  static const char* digits = "0123456789ABCDEF";
  for (const auto& [lower, key] : hive) {
    text += '[' + Escape(key.path) + "]\n";
    for (const auto& [n, v] : key.values) {
      text += '"' + Escape(v.name) + "\"=" + std::to_string(v.type) + ':';
      for (BYTE b : v.data) {
        text += digits[b >> 4];
        text += digits[b & 15];
      }
      text += '\n';
    }
  }
  return win32::ReplaceFileContents(HivePath(root), text);
}

std::string JoinPath(const std::string& base, LPCSTR subKey) {
  std::string sub = subKey ? subKey : "";
  while (!sub.empty() && sub.front() == '\\') sub.erase(0, 1);
  while (!sub.empty() && sub.back() == '\\') sub.pop_back();
  if (base.empty()) return sub;
  if (sub.empty()) return base;
  return base + "\\" + sub;
}

// The root and the lower-case path a handle stands for; false for unknown
// handles.
bool Resolve(HKEY key, uintptr_t* root, std::string* path, bool* writable) {
  const uintptr_t h = reinterpret_cast<uintptr_t>(key);
  if (RootName(h)) {
    *root = h;
    path->clear();
    if (writable) *writable = true;
    return true;
  }
  auto it = S().open.find(h);
  if (it == S().open.end()) return false;
  *root = it->second.root;
  *path = it->second.path;
  if (writable) *writable = it->second.writable;
  return true;
}

// Resolve for the calls that change a key's values: a handle opened for
// reading is refused.
LSTATUS ResolveWritable(HKEY key, uintptr_t* root, std::string* path) {
  bool writable = false;
  if (!Resolve(key, root, path, &writable)) return ERROR_INVALID_HANDLE;
  return writable ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

HKEY NewHandle(uintptr_t root, const std::string& path, bool writable) {
  Store& s = S();
  s.next += 4;
  s.open[s.next] = {root, Lower(path), writable};
  return reinterpret_cast<HKEY>(s.next);
}

LSTATUS Open(HKEY key, LPCSTR subKey, bool create, bool writable, PHKEY result,
             DWORD* disposition = nullptr) {
  if (!result) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  if (disposition) *disposition = REG_OPENED_EXISTING_KEY;
  std::lock_guard lock(S().mutex);
  uintptr_t root = 0;
  std::string base;
  if (!Resolve(key, &root, &base, nullptr)) return ERROR_INVALID_HANDLE;
  bool readable = true;
  Hive hive = LoadHive(root, &readable);
  // The base's own spelling, so created sub-keys keep the case they are given.
  std::string basePath = base.empty() ? std::string() : hive.count(base) ? hive[base].path : base;
  const std::string full = JoinPath(basePath, subKey);
  const std::string lower = Lower(full);
  if (!hive.count(lower)) {
    if (!create) return ERROR_FILE_NOT_FOUND;
    // Every key above it exists too.
    std::string prefix;
    std::stringstream parts(full);
    std::string part;
    while (std::getline(parts, part, '\\')) {
      if (part.empty()) continue;
      prefix = prefix.empty() ? part : prefix + "\\" + part;
      Key& k = hive[Lower(prefix)];
      if (k.path.empty()) k.path = prefix;
    }
    if (!readable || !SaveHive(root, hive)) return ERROR_ACCESS_DENIED;
    if (disposition) *disposition = REG_CREATED_NEW_KEY;
  }
  *result = NewHandle(root, full, writable);
  return ERROR_SUCCESS;
}

}  // namespace

LSTATUS RegOpenKeyA(HKEY key, LPCSTR subKey, PHKEY result) { return Open(key, subKey, false, true, result); }

LSTATUS RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD, REGSAM access, PHKEY result) {
  return Open(key, subKey, false, (access & KEY_SET_VALUE) != 0, result);
}

LSTATUS RegCreateKeyA(HKEY key, LPCSTR subKey, PHKEY result) { return Open(key, subKey, true, true, result); }

LSTATUS RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD, LPSTR, DWORD, REGSAM access, void*, PHKEY result,
                        DWORD* disposition) {
  return Open(key, subKey, true, (access & KEY_SET_VALUE) != 0, result, disposition);
}

LSTATUS RegCloseKey(HKEY key) {
  const uintptr_t h = reinterpret_cast<uintptr_t>(key);
  if (RootName(h)) return ERROR_SUCCESS;
  std::lock_guard lock(S().mutex);
  return S().open.erase(h) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LSTATUS RegQueryValueExA(HKEY key, LPCSTR valueName, DWORD*, DWORD* type, BYTE* data, DWORD* size) {
  std::lock_guard lock(S().mutex);
  uintptr_t root = 0;
  std::string path;
  if (!Resolve(key, &root, &path, nullptr)) return ERROR_INVALID_HANDLE;
  if (data && !size) return ERROR_INVALID_PARAMETER;
  Hive hive = LoadHive(root);
  auto k = hive.find(path);
  if (k == hive.end()) return ERROR_FILE_NOT_FOUND;
  auto v = k->second.values.find(Lower(valueName ? valueName : ""));
  if (v == k->second.values.end()) return ERROR_FILE_NOT_FOUND;
  if (type) *type = v->second.type;
  const DWORD needed = static_cast<DWORD>(v->second.data.size());
  if (!size) return ERROR_SUCCESS;
  if (!data) {
    *size = needed;
    return ERROR_SUCCESS;
  }
  if (*size < needed) {
    *size = needed;
    return ERROR_MORE_DATA;
  }
  if (needed) std::memcpy(data, v->second.data.data(), needed);
  *size = needed;
  return ERROR_SUCCESS;
}

LSTATUS RegSetValueExA(HKEY key, LPCSTR valueName, DWORD, DWORD type, const BYTE* data, DWORD size) {
  std::lock_guard lock(S().mutex);
  uintptr_t root = 0;
  std::string path;
  if (const LSTATUS status = ResolveWritable(key, &root, &path); status != ERROR_SUCCESS) return status;
  if (!data && size) return ERROR_INVALID_PARAMETER;
  bool readable = true;
  Hive hive = LoadHive(root, &readable);
  if (!readable) return ERROR_ACCESS_DENIED;
  auto k = hive.find(path);
  if (k == hive.end()) return ERROR_FILE_NOT_FOUND;  // deleted by another program
  Value v;
  v.name = valueName ? valueName : "";
  v.type = type;
  if (size) v.data.assign(data, data + size);
  k->second.values[Lower(v.name)] = std::move(v);
  return SaveHive(root, hive) ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

LSTATUS RegDeleteValueA(HKEY key, LPCSTR valueName) {
  std::lock_guard lock(S().mutex);
  uintptr_t root = 0;
  std::string path;
  if (const LSTATUS status = ResolveWritable(key, &root, &path); status != ERROR_SUCCESS) return status;
  bool readable = true;
  Hive hive = LoadHive(root, &readable);
  if (!readable) return ERROR_ACCESS_DENIED;
  auto k = hive.find(path);
  if (k == hive.end() || !k->second.values.erase(Lower(valueName ? valueName : ""))) return ERROR_FILE_NOT_FOUND;
  return SaveHive(root, hive) ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

void SetRegistryFolder(const std::string& folder) {
  std::lock_guard lock(S().mutex);
  S().folder = folder;
}

std::string RegistryFolder() {
  std::lock_guard lock(S().mutex);
  return Folder();
}

LSTATUS SeedRegistryValue(HKEY root, LPCSTR subKey, LPCSTR valueName, DWORD type, const void* data,
                          DWORD size) {
  HKEY key = nullptr;
  LSTATUS status = RegCreateKeyA(root, subKey, &key);
  if (status != ERROR_SUCCESS) return status;
  status = RegSetValueExA(key, valueName, 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(key);
  return status;
}
