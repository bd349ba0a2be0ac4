// The Vantrix programs' "cad" text files through the import. The file reads
// in text mode (CR LF as LF, Ctrl-Z ends it), then lines end at CR, LF or
// CR LF alike: the same text with only line feeds, or with CR LF everywhere,
// imports the same records. Each line, however long, is one record of 18
// fields none of which holds a separator or a line end; the records save
// and load as list files do.
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "fuzz/VantrixLists.h"

namespace {

// What the importer sees of the file: text mode's CR LF as LF, up to Ctrl-Z.
std::string AsTextMode(std::string_view bytes) {
  bytes = bytes.substr(0, bytes.find('\x1A'));
  std::string out;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    out += bytes[i];
  }
  return out;
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
  const std::string path = fuzz::WriteScratchFile("import.cad", fuzz::Text(data, size));
  CVantrixData list;
  FUZZ_CHECK(ImportVantrixCadFile(list, path.c_str()) == 1, "a readable file does not import");
  const std::vector<fuzz::VantrixRecord> records = fuzz::Records(list);
  for (const fuzz::VantrixRecord& r : records) {
    FUZZ_CHECK(r.fields.size() == CVantrixData::kFieldCount && r.marked == 0, "a record is not a new line's");
    FUZZ_CHECK(r.fields[0].has_value(), "a record's first field is unset");
    for (const auto& field : r.fields) {
      if (!field) continue;
      FUZZ_CHECK(field->find_first_of(";\r\n") == std::string::npos, "a field holds a separator: " + *field);
    }
  }

  const std::string lineFeeds = fuzz::WithLineFeeds(AsTextMode(fuzz::Text(data, size)));
  FUZZ_CHECK(records.size() == fuzz::Lines(lineFeeds).size(), "a line is not one record");
  FUZZ_CHECK(Import(lineFeeds) == records, "the text with line feeds imports other records");
  FUZZ_CHECK(Import(WithCrLf(lineFeeds)) == records, "the text with CR LF imports other records");

  fuzz::CheckListRoundTrip(list);
  return 0;
}
