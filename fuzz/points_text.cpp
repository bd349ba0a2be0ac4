// The "_PTS" text of connection-point records. Any line ends (LF, CR LF, a
// lone CR) read as the same records; the records write a text that reads to
// the same records and writes the same text.
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "jov_vantrix/network/CJovAddPnt.h"

namespace {

std::vector<std::string> Records(const CJovAddPnt& list) {
  std::vector<std::string> out;
  for (const CSeznam* e = list.GetHead(); e; e = e->GetNext()) {
    const auto* record = static_cast<const CJovAddPnt*>(e);
    std::string fields;
    for (uint32_t f = 0; f < CJovAddPnt::kFields; ++f) {
      const char* field = record->GetField(f);
      fields += (field ? field : "<unset>") + std::string("|");
    }
    out.push_back(fields);
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = fuzz::CText(data, size);
  CJovAddPnt list(0);
  CJovAddPnt::ParseList(list, text.c_str());
  CJovAddPnt plain(0);
  CJovAddPnt::ParseList(plain, fuzz::WithLineFeeds(text).c_str());
  FUZZ_CHECK(Records(list) == Records(plain), "line ends change the records read");

  uint32_t index = 0;
  CJovAddPnt::FindIndex(list, &index, 3, "36");
  std::string written;
  if (!CJovAddPnt::FormatList(list, written)) {
    FUZZ_CHECK(!list.GetHead() && written.empty(), "records did not write");
    return 0;
  }
  CJovAddPnt again(0);
  CJovAddPnt::ParseList(again, written.c_str());
  FUZZ_CHECK(Records(again) == Records(list), "written records read back otherwise");
  std::string rewritten;
  FUZZ_CHECK(CJovAddPnt::FormatList(again, rewritten) && rewritten == written, "records write another text");
  return 0;
}
