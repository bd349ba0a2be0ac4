// Text values as drawing files carry them: any text written in caret form
// holds no control character and reads back as it was, and reading never
// makes a text longer; a UTF-8 text read in and saved reads in again as
// it was.
#include <string>

#include "fuzz/FuzzSupport.h"
#include "platform/host/DxfText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(fuzz::Text(data, size));
  const std::string written = host::EncodeCaretForm(text);
  for (char c : written) FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20, "a control character written");
  FUZZ_CHECK(host::DecodeCaretForm(written) == text, "a written text reads back otherwise");
  FUZZ_CHECK(host::DecodeCaretForm(text).size() <= text.size(), "reading made a text longer");
  const std::string model = host::DxfUtf8ToModel(text);
  FUZZ_CHECK(host::DxfUtf8ToModel(host::DxfModelToUtf8(model)) == model, "a UTF-8 text saved reads in otherwise");
  return 0;
}
