// The Vantrix project list file, read from disk. Only complete records load,
// no more than the file's count promises; a file cut within its count is
// said to be damaged, alike on every load; what loads saves, loads back to
// the same records and saves again to the same bytes.
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "fuzz/VantrixLists.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteScratchFile("project.lst", fuzz::Text(data, size));
  CVantrixData list;
  const VantrixListLoad load = LoadVantrixDataList(list, path.c_str());
  const bool whole = load.found == VantrixListFound::kWhole;
  FUZZ_CHECK(load.found != VantrixListFound::kAbsent && load.found != VantrixListFound::kUnopenable,
             "a file there read as absent or unopenable");
  FUZZ_CHECK(size == 0 || size >= 4 || !whole, "a cut count read as a whole list");
  const size_t count = fuzz::Records(list).size();
  FUZZ_CHECK(load.records == count, "the load counts other records than it gives");
  FUZZ_CHECK(fuzz::Records(list, true).size() == count, "an incomplete record loaded");
  int32_t stored = 0;
  if (size >= 4) std::memcpy(&stored, data, 4);
  FUZZ_CHECK(count <= static_cast<size_t>(stored < 0 ? 0 : stored), "more records loaded than the file counts");

  // Loading appends behind what the list holds.
  CVantrixData twice;
  FUZZ_CHECK(LoadVantrixDataList(twice, path.c_str()).found == load.found, "a second load says otherwise");
  LoadVantrixDataList(twice, path.c_str());
  FUZZ_CHECK(fuzz::Records(twice).size() == 2 * count, "a second load does not append the same records");

  fuzz::CheckListRoundTrip(list);
  return 0;
}
