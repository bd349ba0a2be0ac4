// The catalogue build from its text source. A source either builds or fails
// with "source:line: what" and leaves no file; a catalogue that builds opens,
// and every item of it reads, its geometry included (the build checked it
// for the catalogue's readers).
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "platform/catalogue/CatalogueSource.h"
#include "platform/catalogue/Database.h"

namespace {

using jovDatabase::Database;

// The values of "key = value" lines, wherever they stand: the item ids and
// the trade letter the build took.
std::vector<std::string> Values(std::string_view text, std::string_view key) {
  std::vector<std::string> ids;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(at, end - at);
    at = end + 1;
    size_t b = line.find_first_not_of(" \t");
    if (b == std::string_view::npos || line.compare(b, key.size(), key) != 0) continue;
    size_t eq = line.find_first_not_of(" \t", b + key.size());
    if (eq == std::string_view::npos || line[eq] != '=') continue;
    std::string_view value = line.substr(eq + 1);
    size_t vb = value.find_first_not_of(" \t");
    size_t ve = value.find_last_not_of(" \t\r");
    if (vb != std::string_view::npos) ids.emplace_back(value.substr(vb, ve - vb + 1));
  }
  return ids;
}

void ReadItem(Database& db, const std::string& id) {
  if (db.GoIndexID(id.c_str()) != jovDatabase::eOK) return;  // a product row of another item, a later duplicate
  unsigned number = 0;
  qmString text;
  db.GetItemsStatus(number);
  db.GetIndexIDI(number);
  db.GetIndexType(number);
  db.GetIndexID(text);
  db.GetIndexText(text);
  for (auto get : {&Database::GetItemsPoints, &Database::GetItemsProperties, &Database::GetParmsParams,
                   &Database::GetParmsParA, &Database::GetParmsParB, &Database::GetParmsParC, &Database::GetParmsPar3D})
    (db.*get)(text);
  for (auto view : {&Database::GetItemsDxfA, &Database::GetItemsDxfB, &Database::GetItemsDxfC, &Database::GetItemsDxf3D}) {
    jovDatabase::resultResbuf geometry;
    const jovDatabase::eCode code = (db.*view)(geometry);
    FUZZ_CHECK(code == jovDatabase::eOK || code == jovDatabase::eNotFound,
               id + ": built geometry does not read (code " + std::to_string(code) + ")");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string source(fuzz::Text(data, size));
  const std::string folder = fuzz::ScratchFolder();
  std::string error;
  // Named as the catalogue of the trade the source gives.
  const std::vector<std::string> trades = Values(source, "trade");
  const char trade = trades.empty() || trades.back().size() != 1 ? 'T' : trades.back()[0];
  const std::string output = folder + "/" + trade + ".db";
  std::remove(output.c_str());
  if (!jovDatabase::BuildCatalogueFromText(source, output.c_str(), error, "fuzz.cat")) {
    struct stat st;
    FUZZ_CHECK(error.rfind("fuzz.cat:", 0) == 0 || error.rfind("cannot write", 0) == 0, "an error without its line: " + error);
    FUZZ_CHECK(stat(output.c_str(), &st) != 0 && stat((output + ".part").c_str(), &st) != 0,
               "a failed build left a file");
    return 0;
  }
  Database* db = Database::Open(folder.c_str(), trade);
  // The guess can miss (a "trade =" line inside a text block): the catalogue
  // must then open as some trade.
  for (char letter = 'A'; !db && letter <= 'Z'; ++letter) {
    const std::string other = folder + "/" + letter + ".db";
    if (std::rename(output.c_str(), other.c_str()) != 0) break;
    db = Database::Open(folder.c_str(), letter);
    std::rename(other.c_str(), output.c_str());
  }
  FUZZ_CHECK(db, "a built catalogue opens as no trade");
  for (const std::string& id : Values(source, "id")) ReadItem(*db, id);
  qmString name;
  for (unsigned i = 0; i < 4; ++i)
    for (const char* list : {"MODI", "PROP", "PARS", "MJ"}) db->GetNamesNameing(list, i, name);
  Database::Close(db);
  return 0;
}
