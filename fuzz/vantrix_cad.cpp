// The Vantrix programs' "cad" text files through the import. Lines end at
// CR, LF or CR LF alike: the same text with only line feeds, or with CR LF
// everywhere, imports the same records. A line holding a Ctrl-Z or NUL is
// refused by its number (a Ctrl-Z as the last byte is the file's end mark). Each line, however long, is one record of 18
// fields none of which holds a separator or a line end; the records save
// and load as list files do.
#include <cstdint>
#include <cstring>
#include <string>

#include "common/TextEndingBytes.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/VantrixLists.h"

namespace {

// The text without the end mark a Ctrl-Z as its last byte is.
std::string_view WithoutEndMark(std::string_view bytes) {
  if (!bytes.empty() && bytes.back() == '\x1A') bytes.remove_suffix(1);
  return bytes;
}

std::string WithCrLf(const std::string& lineFeeds) {
  std::string out;
  for (char c : lineFeeds) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

std::vector<fuzz::VantrixRecord> Import(const std::string& bytes) {
  const std::string path = fuzz::WriteScratchFile("import.cad", bytes);
  CVantrixData list;
  FUZZ_CHECK(ImportVantrixCadFile(list, path.c_str()) == 1, "a readable file does not import");
  return fuzz::Records(list);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(fuzz::Text(data, size));
  const std::string path = fuzz::WriteScratchFile("import.cad", bytes);
  CVantrixData list;
  int refused = -1;
  const int result = ImportVantrixCadFile(list, path.c_str(), &refused);
  const std::string lineFeeds = fuzz::WithLineFeeds(WithoutEndMark(bytes));
  const std::vector<std::string> lines = fuzz::Lines(lineFeeds);
  size_t firstBad = lines.size();
  for (size_t i = 0; i < lines.size() && firstBad == lines.size(); ++i)
    if (FindTextEndingByte(lines[i]) != std::string::npos) firstBad = i;
  if (firstBad < lines.size()) {
    FUZZ_CHECK(result == 0 && refused == static_cast<int>(firstBad) + 1, "a line ending the text early is not refused");
    FUZZ_CHECK(fuzz::Records(list).size() == firstBad, "lines after a refused one were taken");
    return 0;
  }
  FUZZ_CHECK(result == 1 && refused == 0, "a readable file does not import");
  const std::vector<fuzz::VantrixRecord> records = fuzz::Records(list);
  for (const fuzz::VantrixRecord& r : records) {
    FUZZ_CHECK(r.fields.size() == CVantrixData::kFieldCount && r.marked == 0, "a record is not a new line's");
    FUZZ_CHECK(r.fields[0].has_value(), "a record's first field is unset");
    for (const auto& field : r.fields) {
      if (!field) continue;
      FUZZ_CHECK(field->find_first_of(";\r\n") == std::string::npos, "a field holds a separator: " + *field);
    }
  }

  FUZZ_CHECK(records.size() == lines.size(), "a line is not one record");
  FUZZ_CHECK(Import(lineFeeds) == records, "the text with line feeds imports other records");
  FUZZ_CHECK(Import(WithCrLf(lineFeeds)) == records, "the text with CR LF imports other records");

  fuzz::CheckListRoundTrip(list);
  return 0;
}
