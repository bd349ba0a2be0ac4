// The last-values store on a file of any content. The records before the
// first that is not sound read with their values (the first record of a
// key wins), with and without a buffer alike. A key written reads back
// whatever its length did before, new or already there; a key removed
// reads no more; no write changes what another key reads; a refused write
// leaves the file byte for byte.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <optional>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "wizard/frame/engine/CFileCfg.h"

namespace {

constexpr size_t kMaxKeys = 32;  // keys of the file looked at

using Value = std::optional<std::string>;  // nullopt: no record

// The sound records up to the first damage: key -> value of its first record.
std::map<std::string, Value> SoundRecords(const uint8_t* data, size_t size) {
  std::map<std::string, Value> records;
  size_t pos = 0;
  while (size - pos >= 4) {
    uint32_t word;
    std::memcpy(&word, data + pos, 4);
    const size_t length = word & 0xFFF, key = (word >> 12) & 0xFF, value = word >> 20;
    if (length < key + value + 4 || length > size - pos) break;
    const std::string name(reinterpret_cast<const char*>(data + pos + 4), key);
    if (!name.empty() && records.size() < kMaxKeys)
      records.emplace(name, std::string(reinterpret_cast<const char*>(data + pos + 4 + key), value));
    pos += length;
  }
  return records;
}

std::string Describe(const Value& value) {
  return value ? std::to_string(value->size()) + " bytes" : std::string("nothing");
}

Value Read(CFileCfg& store, const std::string& key) {
  unsigned length = 0;
  const int sized = store.ReadRecord(key.data(), static_cast<unsigned>(key.size()), nullptr, &length);
  std::string value(length, '\0');
  unsigned room = length;
  const int found = store.ReadRecord(key.data(), static_cast<unsigned>(key.size()), value.data(), &room);
  FUZZ_CHECK(sized == found && (!found || room == length), "reads with and without a buffer disagree");
  return found ? Value(value) : std::nullopt;
}

void Write(CFileCfg& store, const std::string& key, const std::string& value) {
  FUZZ_CHECK(store.WriteRecord(key.data(), static_cast<unsigned>(key.size()), value.data(),
                               static_cast<unsigned>(value.size())) == 1,
             "a value is not written");
}

// Every key reads what was last written to it, or what the file held.
void CheckValues(CFileCfg& store, const std::map<std::string, Value>& expected, const std::string& what) {
  for (const auto& [key, value] : expected) {
    const Value read = Read(store, key);
    FUZZ_CHECK(read == value, what + ": a key of " + std::to_string(key.size()) + " bytes reads " + Describe(read) +
                                  ", not " + Describe(value));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteScratchFile("PP_Last.dat", fuzz::Text(data, size));
  std::map<std::string, Value> values = SoundRecords(data, size);
  CFileCfg store;
  FUZZ_CHECK(store.Open(path.c_str()), "the store does not open");
  CheckValues(store, values, "as read");
  for (const auto& [key, value] : values) {
    if (key.find('\0') != std::string::npos) continue;
    char buffer[64];
    FUZZ_CHECK(store.GetString(key.c_str(), buffer, sizeof buffer) &&
                   std::string(buffer) == value->substr(0, sizeof buffer - 1).c_str(),
               "a text reads otherwise");
  }

  // Refused writes leave the file as it was.
  const std::string before = fuzz::FileBytes(path);
  const std::string longKey(CFileCfg::kMaxKeyLength + 1, 'k');
  const std::string longValue(CFileCfg::kMaxRecordLength, 'v');
  FUZZ_CHECK(store.WriteRecord(longKey.data(), static_cast<unsigned>(longKey.size()), "v", 1) == 0 &&
                 store.WriteRecord("k", 1, longValue.data(), static_cast<unsigned>(longValue.size())) == 0,
             "a record too long is written");
  FUZZ_CHECK(fuzz::FileBytes(path) == before, "a refused write changed the file");

  // A key of the file and a new one, each written short, long and short.
  // The file's key first: a damaged tail is still there when it is written.
  std::string keys[2] = {values.empty() ? "\xFE" "fuzz" : values.begin()->first, "\xFF" "fuzz"};
  if (values.count(keys[1])) keys[1] = "\xFF" "fuzz\xFF";
  for (const std::string& key : keys) {
    const size_t was = values[key] ? values[key]->size() : 0;
    const size_t longer = std::min(was + 1 + size % 200, CFileCfg::kMaxRecordLength - 4 - key.size());
    for (const std::string& value : {std::string("s"), std::string(longer, 'L'), std::string("m")}) {
      Write(store, key, value);
      values[key] = value;
      CheckValues(store, values, "after a write");
    }
    FUZZ_CHECK(store.WriteRecord(key.data(), static_cast<unsigned>(key.size()), nullptr, 0) == 1,
               "a key is not removed");
    values[key] = std::nullopt;
    CheckValues(store, values, "after a removal");
  }
  store.Close();
  return 0;
}
