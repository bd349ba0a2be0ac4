// Profile files through the profile functions and the settings store over
// them. Every section and key listed reads with every getter; a value
// written reads back, leaves every other value as it was, and once deleted
// leaves the file reading as before; typed values round-trip exactly.
// Files are read whole through win32::ReadWholeFile, as every profile is.
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/prf_store.h"
#include "fuzz/FuzzSupport.h"
#include "platform/win32/code_page.h"
#include "platform/win32/profile.h"

namespace {

constexpr size_t kMaxNames = 64;  // sections, and keys per section, looked at

std::vector<std::string> Names(const char* section, const std::string& file, size_t room) {
  std::vector<char> buffer(room);
  const DWORD n = GetPrivateProfileStringA(section, nullptr, "", buffer.data(), static_cast<DWORD>(room), file.c_str());
  FUZZ_CHECK(n + 1 < room, "a name list does not fit a buffer larger than the file");
  std::vector<std::string> names;
  for (const char* p = buffer.data(); *p && names.size() < kMaxNames; p += std::strlen(p) + 1) names.emplace_back(p);
  return names;
}

std::string Value(const std::string& section, const std::string& key, const std::string& file, size_t room) {
  std::vector<char> buffer(room);
  GetPrivateProfileStringA(section.c_str(), key.c_str(), "<none>", buffer.data(), static_cast<DWORD>(room),
                           file.c_str());
  return buffer.data();
}

// Every getter of the store on the key; what they hand out is freed.
void ReadTyped(prf_store& store, const char* key) {
  int i = 0;
  double d = 0;
  store.GetInt(key, &i);
  store.GetDouble(key, &d);
  int* ints = nullptr;
  double* doubles = nullptr;
  char** strings = nullptr;
  char* text = nullptr;
  void* raw = nullptr;
  size_t count = 0;
  if (store.GetIntArray(key, &ints, &count)) delete[] ints;
  if (store.GetDoubleArray(key, &doubles, &count)) delete[] doubles;
  if (store.GetStringArray(key, &strings, &count)) delete[] strings;
  if (store.GetString(key, &text)) delete[] text;
  if (store.GetRaw(key, &raw, &count)) delete[] static_cast<char*>(raw);
}

template <class T>
void RoundTrip(prf_store& store, const std::vector<T>& values, bool (prf_store::*set)(const char*, const T*, size_t),
               bool (prf_store::*get)(const char*, T**, size_t*)) {
  FUZZ_CHECK((store.*set)("FuzzTyped", values.data(), values.size()), "a typed value is not written");
  T* back = nullptr;
  size_t count = 0;
  const bool read = (store.*get)("FuzzTyped", &back, &count);
  const std::unique_ptr<T[]> owned(back);
  if (values.empty()) return;  // an empty array may read as missing
  FUZZ_CHECK(read && count == values.size() && std::memcmp(back, values.data(), count * sizeof(T)) == 0,
             "a typed value reads back otherwise (" + std::to_string(values.size()) + " values)");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string file = fuzz::WriteScratchFile("fuzz.ini", fuzz::Text(data, size));
  const size_t room = size + 64;

  std::map<std::pair<std::string, std::string>, std::string> before;
  const std::vector<std::string> sections = Names(nullptr, file, room);
  for (const std::string& section : sections) {
    prf_store store;
    FUZZ_CHECK(store.Open(file.c_str(), section.c_str()), "the store does not open");
    for (const std::string& key : Names(section.c_str(), file, room)) {
      before[{section, key}] = Value(section, key, file, room);
      GetPrivateProfileIntA(section.c_str(), key.c_str(), 7, file.c_str());
      for (bool text : {true, false}) {
        store.textMode = text;
        ReadTyped(store, key.c_str());
      }
    }
  }

  // A key of our own: written, read back, deleted.
  const std::string section = sections.empty() ? "Fuzz" : sections.front();
  FUZZ_CHECK(WritePrivateProfileStringA(section.c_str(), "FuzzKey", "written", file.c_str()), "a value is not written");
  FUZZ_CHECK(Value(section, "FuzzKey", file, room + 64) == "written", "a written value does not read back");
  // Keys of the same names as ours were in the file: they change with ours.
  auto ours = [&section](const std::pair<std::string, std::string>& where) {
    return _mbsicmp(where.first.c_str(), section.c_str()) == 0 &&
           (_mbsicmp(where.second.c_str(), "FuzzKey") == 0 || _mbsicmp(where.second.c_str(), "FuzzTyped") == 0);
  };
  for (const auto& [where, value] : before) {
    if (ours(where)) continue;
    FUZZ_CHECK(Value(where.first, where.second, file, room + 64) == value,
               "writing another key changed [" + where.first + "] " + where.second);
  }

  prf_store store;
  FUZZ_CHECK(store.Open(file.c_str(), section.c_str()), "the store does not open");
  std::vector<int> ints;
  std::vector<double> doubles;
  for (size_t i = 0; i + sizeof(double) <= size && doubles.size() < 8; i += sizeof(double)) {
    int n;
    double d;
    std::memcpy(&n, data + i, sizeof n);
    std::memcpy(&d, data + i, sizeof d);
    ints.push_back(n);
    doubles.push_back(d);
  }
  for (bool text : {true, false}) {
    store.textMode = text;
    RoundTrip<int>(store, ints, &prf_store::SetIntArray, &prf_store::GetIntArray);
  }
  store.textMode = false;  // text keeps six digits of a double; raw keeps its bytes
  RoundTrip<double>(store, doubles, &prf_store::SetDoubleArray, &prf_store::GetDoubleArray);
  FUZZ_CHECK(store.SetRaw("FuzzTyped", data, std::min<size_t>(size, 256)), "raw bytes are not written");

  for (const char* key : {"FuzzKey", "FuzzTyped"})
    FUZZ_CHECK(WritePrivateProfileStringA(section.c_str(), key, nullptr, file.c_str()), "a key is not deleted");
  for (const auto& [where, value] : before)
    FUZZ_CHECK(ours(where) || Value(where.first, where.second, file, room + 64) == value,
               "adding and deleting keys changed [" + where.first + "] " + where.second);
  return 0;
}
