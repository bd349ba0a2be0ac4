// What the two Vantrix list targets share: a list's records as values to
// compare, and the list file's round trip.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/VantrixDataList.h"
#include "fuzz/FuzzSupport.h"
#include "platform/win32/driver/ui_driver.h"

namespace fuzz {

struct VantrixRecord {
  int marked = 0;
  std::vector<std::optional<std::string>> fields;  // nullopt: unset
  bool operator==(const VantrixRecord&) const = default;
};

inline std::vector<VantrixRecord> Records(const CVantrixData& list, bool completeOnly = false) {
  std::vector<VantrixRecord> out;
  for (const CVantrixData* r = list.First(); r; r = r->Next()) {
    if (completeOnly && !IsVantrixDataComplete(*r)) continue;
    VantrixRecord record{r->marked, {}};
    for (uint32_t i = 0; i < r->CTextData::GetCount(); ++i) {
      const char* field = r->GetField(i);
      record.fields.push_back(field ? std::optional<std::string>(field) : std::nullopt);
    }
    out.push_back(std::move(record));
  }
  return out;
}

// Saves the list; the saved file loads to the list's complete records (a
// field read is never unset: an unset one comes back as ""), and saving
// what loaded writes the bytes again once no field is unset. No temporary
// file stays behind.
inline void CheckListRoundTrip(const CVantrixData& list) {
  ClearUiJournal();
  const std::string saved = ScratchFolder() + "/saved.lst";
  std::filesystem::remove(saved);
  VantrixListLoad none;
  FUZZ_CHECK(SaveVantrixDataList(list, saved.c_str(), none), "a list does not save");
  FUZZ_CHECK(UiJournal().empty(), "a save that worked said something");
  const std::string bytes = FileBytes(saved);

  const std::vector<VantrixRecord> all = Records(list);
  std::vector<VantrixRecord> expected = Records(list, true);
  bool unset = false;
  for (VantrixRecord& r : expected)
    for (auto& field : r.fields)
      if (!field) {
        field = "";
        unset = true;
      }
  CVantrixData loaded;
  VantrixListLoad load = LoadVantrixDataList(loaded, saved.c_str());
  FUZZ_CHECK(load.found == VantrixListFound::kWhole, "a saved list loads as damaged");
  FUZZ_CHECK(Records(loaded) == expected, "a saved list loads to other records");

  FUZZ_CHECK(SaveVantrixDataList(loaded, saved.c_str(), load), "a loaded list does not save");
  FUZZ_CHECK(UiJournal().empty(), "a save of a whole list said something");
  if (expected.size() == all.size() && !unset)
    FUZZ_CHECK(FileBytes(saved) == bytes, "a list saves, loads and saves to other bytes");
  CVantrixData reloaded;
  LoadVantrixDataList(reloaded, saved.c_str());
  FUZZ_CHECK(Records(reloaded) == expected, "a list saved twice loads otherwise");
  for (const auto& entry : std::filesystem::directory_iterator(ScratchFolder()))
    FUZZ_CHECK(entry.path().filename().string().find(".~") == std::string::npos,
               "a save left " + entry.path().filename().string());
  std::filesystem::remove(saved);
}

}  // namespace fuzz
