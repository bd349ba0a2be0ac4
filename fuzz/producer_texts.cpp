// The producer dialog's texts from outside: a product version's comment
// read into choice records, and the caller's packed date. Every field taken
// holds no line break and at most 255 characters; the records written back
// with every field ended by CR and every record by LF read back the same;
// the date text is day, month and year of the packed number, which they
// give back. The input up to a NUL is the comment, after it the date.
#include <cstdint>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "wizard/dialogs/ProducerTexts.h"
#include "wizard/frame/engine/CObjectSez.h"
#include "wizard/frame/engine/CPropData.h"

namespace {

constexpr const char* kNoGroup = "(no group)";

// Each record as its five texts (a slot not set as "") and its lines.
std::vector<std::vector<std::string>> Fields(const CSeznam& records) {
  std::vector<std::vector<std::string>> out;
  for (const CPropData* r = FirstOf<CPropData>(records); r; r = NextOf(r)) {
    std::vector<std::string> fields;
    for (int slot = 0; slot < 5; ++slot) fields.emplace_back(r->GetText(slot) ? r->GetText(slot) : "");
    for (const CPropData* line = FirstOf<CPropData>(*r); line; line = NextOf(line))
      fields.emplace_back(line->GetText(PropText::kName));
    out.push_back(std::move(fields));
  }
  return out;
}

void CheckDate(const std::string& packed) {
  const std::string text = UnpackDateText(packed.c_str());
  static const std::regex form("([0-9]{2})\\.([0-9]{2})\\.(-?[0-9]+)");
  std::smatch parts;
  FUZZ_CHECK(std::regex_match(text, parts, form), "a date text of another form: " + text);
  const long day = std::stol(parts[1]), month = std::stol(parts[2]);
  const long long year = std::stoll(parts[3]);
  FUZZ_CHECK(day < 32 && month < 16, "a day or month beyond its bits: " + text);
  const long read = std::strtol(packed.c_str(), nullptr, 10);
  const long long n = read > INT32_MAX ? INT32_MAX : read < INT32_MIN ? INT32_MIN : read;
  FUZZ_CHECK(year * 512 + month * 32 + day == n, "the date text does not give its number back: " + text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input = fuzz::Text(data, size);
  const size_t nul = input.find('\0');
  const std::string comment(input.substr(0, nul));
  CheckDate(nul == std::string_view::npos ? std::string() : std::string(input.substr(nul + 1)));

  CObjectSez records;
  FUZZ_CHECK(ParseChoiceRecords(comment, records, kNoGroup), "a record could not be made");
  size_t feeds = 0, returns = 0, fields = 0;
  for (char c : comment) {
    feeds += c == '\n';
    returns += c == '\r';
  }
  const std::vector<std::vector<std::string>> read = Fields(records);
  FUZZ_CHECK(read.size() <= feeds + 1, "more records than lines");
  for (const CPropData* r = FirstOf<CPropData>(records); r; r = NextOf(r)) {
    for (int slot = 0; slot < 5; ++slot) fields += r->GetText(slot) && slot < 3;
    fields += r->GetCount();
  }
  FUZZ_CHECK(fields <= returns, "a field taken without its CR");
  std::string written;
  for (const std::vector<std::string>& record : read) {
    for (const std::string& field : record) {
      FUZZ_CHECK(field.size() <= kChoiceFieldLength, "a field beyond 255 characters");
      FUZZ_CHECK(field.find_first_of("\r\n") == std::string::npos, "a field holding a line break");
      written += field + "\r";
    }
    written += "\n";
  }
  CObjectSez again;
  FUZZ_CHECK(ParseChoiceRecords(written, again, kNoGroup), "a record written back could not be made");
  FUZZ_CHECK(Fields(again) == read, "the records written back read otherwise");
  return 0;
}
