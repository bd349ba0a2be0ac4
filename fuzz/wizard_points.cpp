// The connected element's points text as the product library reads it:
// any point line comes out without line ends and within its length, and
// how long a line may be read changes only that line, never which line
// follows.
#include <string>

#include "fuzz/FuzzSupport.h"
#include "wizard/frame/ProductConnection.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = fuzz::CText(data, size);
  for (unsigned group = 0; group < 5; ++group)
    for (unsigned index = 0; index < 4; ++index)
      for (unsigned line = 0; line < 5; ++line) {
        std::string whole, cut;
        const bool found = ReadPointLine(text.c_str(), group, index, line, 1 << 20, whole);
        FUZZ_CHECK(ReadPointLine(text.c_str(), group, index, line, 16, cut) == found,
                   "the length read decides whether a point is there");
        if (!found) continue;
        FUZZ_CHECK(whole.find_first_of("\r\n") == std::string::npos, "a line end inside a line");
        FUZZ_CHECK(cut == whole.substr(0, 16), "a cut line is not the line's start");
      }
  return 0;
}
