// The Vantrix project list file, read from disk. Only complete records load,
// no more than the file's count promises; what loads saves, loads back to
// the same records and saves again to the same bytes.
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "fuzz/VantrixLists.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteScratchFile("project.lst", fuzz::Text(data, size));
  CVantrixData list;
  LoadVantrixDataList(list, path.c_str());
  const size_t count = fuzz::Records(list).size();
  FUZZ_CHECK(fuzz::Records(list, true).size() == count, "an incomplete record loaded");
  int32_t stored = 0;
  if (size >= 4) std::memcpy(&stored, data, 4);
  FUZZ_CHECK(count <= static_cast<size_t>(stored < 0 ? 0 : stored), "more records loaded than the file counts");

  // Loading appends behind what the list holds.
  CVantrixData twice;
  LoadVantrixDataList(twice, path.c_str());
  LoadVantrixDataList(twice, path.c_str());
  FUZZ_CHECK(fuzz::Records(twice).size() == 2 * count, "a second load does not append the same records");

  fuzz::CheckListRoundTrip(list);
  return 0;
}
