// A registry hive file of any content, read through the registry calls (and
// so whole through win32::ReadWholeFile). A
// value set reads back (names of any bytes included, whatever their case),
// and a value deleted reads no more; every value the file held reads the
// same after each change, and a hive saved, read and saved again is the
// same file.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "platform/win32/registry.h"

namespace {

constexpr size_t kMaxNames = 64;

struct Found {
  LSTATUS status = ERROR_SUCCESS;
  DWORD type = 0;
  std::string data;
  bool operator==(const Found&) const = default;
};

Found Query(const std::string& path, const std::string& name) {
  HKEY key = nullptr;
  Found found;
  found.status = RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key);
  if (found.status != ERROR_SUCCESS) return found;
  DWORD size = 0;
  found.status = RegQueryValueExA(key, name.c_str(), nullptr, &found.type, nullptr, &size);
  if (found.status == ERROR_SUCCESS) {
    found.data.resize(size);
    DWORD room = size;
    found.status = RegQueryValueExA(key, name.c_str(), nullptr, &found.type,
                                    reinterpret_cast<BYTE*>(found.data.data()), &room);
    FUZZ_CHECK(found.status == ERROR_SUCCESS && room == size, "a value's size and its read disagree");
  }
  RegCloseKey(key);
  return found;
}

// Key paths and value names as the file spells them (escapes left as they
// are: such names are simply not found).
std::vector<std::pair<std::string, std::string>> NamesIn(std::string_view text) {
  std::vector<std::pair<std::string, std::string>> names;
  std::string path;
  for (const std::string& raw : fuzz::Lines(text)) {
    std::string line = raw.substr(0, raw.find('\0'));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      path = line.substr(1, line.size() - 2);
      names.emplace_back(path, "");
    } else if (line.size() > 1 && line.front() == '"') {
      names.emplace_back(path, line.substr(1, line.find('"', 1) - 1));
    }
    if (names.size() == kMaxNames) break;
  }
  return names;
}

std::string Hive() { return fuzz::FileBytes(fuzz::ScratchFolder() + "/registry/HKEY_CURRENT_USER.reg"); }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  SetRegistryFolder(fuzz::ScratchFolder() + "/registry");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = fuzz::Text(data, size);
  const std::string copy = fuzz::ScratchFolder() + "/registry/HKEY_CURRENT_USER.reg.damaged";
  std::filesystem::remove(copy);
  fuzz::WriteScratchFile("registry/HKEY_CURRENT_USER.reg", text);
  std::vector<std::pair<std::pair<std::string, std::string>, Found>> before;
  for (auto& name : NamesIn(text)) {
    std::string lower = name.first;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower.find("fuzz") == std::string::npos) before.emplace_back(name, Query(name.first, name.second));
  }
  auto unchanged = [&](const char* what) {
    for (const auto& [name, found] : before)
      FUZZ_CHECK(Query(name.first, name.second) == found, std::string(what) + " changed [" + name.first + "] \"" +
                                                               name.second + "\"");
  };

  HKEY key = nullptr;
  FUZZ_CHECK(RegCreateKeyA(HKEY_CURRENT_USER, "Software\\Fuzz\\Key", &key) == ERROR_SUCCESS, "a key is not created");
  // A value named with the input's first bytes, holding the input's bytes.
  const std::string name = "Fuzz " + std::string(text.substr(0, std::min<size_t>(text.find('\0'), 48)));
  const std::string value(text.substr(0, 256));
  for (int round = 0; round < 2; ++round) {
    FUZZ_CHECK(RegSetValueExA(key, name.c_str(), 0, REG_BINARY, reinterpret_cast<const BYTE*>(value.data()),
                              static_cast<DWORD>(value.size())) == ERROR_SUCCESS,
               "a value is not set");
    const Found back = Query("software\\FUZZ\\key", name);
    FUZZ_CHECK(back.status == ERROR_SUCCESS && back.type == REG_BINARY && back.data == value,
               "a value set does not read back");
    unchanged("setting a value");
  }
  // A hive with lines it could not read was kept, as it was, beside it
  // before the first change rewrote it.
  FUZZ_CHECK(!std::filesystem::exists(copy) || fuzz::FileBytes(copy) == text,
             "the damaged hive's copy is not the file as it was");
  // The second set wrote the same value into a hive read from the first
  // one's file: the file is the same.
  const std::string saved = Hive();
  FUZZ_CHECK(RegSetValueExA(key, name.c_str(), 0, REG_BINARY, reinterpret_cast<const BYTE*>(value.data()),
                            static_cast<DWORD>(value.size())) == ERROR_SUCCESS &&
                 Hive() == saved,
             "a hive saved, read and saved again changed");

  FUZZ_CHECK(RegDeleteValueA(key, name.c_str()) == ERROR_SUCCESS, "a value is not deleted");
  FUZZ_CHECK(Query("Software\\Fuzz\\Key", name).status == ERROR_FILE_NOT_FOUND, "a deleted value reads");
  FUZZ_CHECK(RegDeleteValueA(key, name.c_str()) == ERROR_FILE_NOT_FOUND, "a deleted value deletes again");
  unchanged("deleting a value");
  RegCloseKey(key);
  return 0;
}
