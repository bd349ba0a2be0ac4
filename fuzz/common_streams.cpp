// The binary readers of the utility layer: CTextData's length-prefixed
// fields (from a seekable and from a plain stream), vectors and matrices
// from the scene library's bounded stream. Whatever reads writes back to
// bytes that read the same; a read that fails leaves the object as it was.
#include <cstring>
#include <sstream>
#include <string>

#include "common/CTextData.h"
#include "common/GLMatrix.h"
#include "common/GLVector.h"
#include "fuzz/FuzzSupport.h"
#include "common/GLStream.h"

namespace {

// A stream buffer that cannot seek, like a pipe: the reader cannot learn
// how much is left and must cope with counts it cannot check ahead.
class PipeBuffer : public std::streambuf {
 public:
  explicit PipeBuffer(std::string_view bytes) {
    char* begin = const_cast<char*>(bytes.data());
    setg(begin, begin, begin + bytes.size());
  }
};

std::string Written(const CTextData& record) {
  std::ostringstream out;
  FUZZ_CHECK(record.Write(out), "a record does not write");
  return out.str();
}

void CheckTextData(std::istream& in) {
  CTextData record(2);
  record.SetField(0, "kept");
  if (!record.Read(in)) {
    FUZZ_CHECK(in.fail(), "a failed read leaves the stream good");
    FUZZ_CHECK(record.GetCount() == 2 && std::strcmp(record.GetField(0), "kept") == 0 && !record.GetField(1),
               "a failed read changed the record");
    return;
  }
  const std::string bytes = Written(record);
  std::istringstream again(bytes);
  CTextData copy;
  FUZZ_CHECK(copy.Read(again), "a written record does not read");
  FUZZ_CHECK(Written(copy) == bytes, "a written record reads back otherwise");
}

template <class Value>
void CheckRaw(const uint8_t* data, size_t size, size_t bytes) {
  GLIstream in(data, static_cast<uint32_t>(size));
  Value value;
  if (!value.Read(in)) {
    FUZZ_CHECK(size < bytes, "a read failed with its bytes there");
    return;
  }
  unsigned char out[256] = {};
  GLOstream stream(out, sizeof out);
  FUZZ_CHECK(value.Write(stream) && stream.Tell() == bytes, "a value does not write its bytes");
  FUZZ_CHECK(std::memcmp(out, data, bytes) == 0, "a value writes other bytes than it read");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = fuzz::Text(data, size);
  std::istringstream seekable{std::string(text)};
  CheckTextData(seekable);
  PipeBuffer pipe(text);
  std::istream plain(&pipe);
  CheckTextData(plain);
  CheckRaw<GLVector>(data, size, 24);
  CheckRaw<GLMatrix>(data, size, 128);
  return 0;
}
