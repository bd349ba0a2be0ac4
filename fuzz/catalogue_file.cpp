// The catalogue read from a foreign or tampered file, through the calls the
// product library makes. The first byte of the input chooses how the rest
// is used: even, as the bytes of the catalogue file itself; odd, as SQL run
// on a copy of the sample heating catalogue with the schema's checks off
// (values of the wrong type, out of range, huge texts). Whatever the file
// holds, every call answers one of its codes and nothing worse happens; a
// text written back reads back the same.
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "platform/catalogue/CatalogueSource.h"
#include "platform/catalogue/Database.h"

namespace {

using jovDatabase::Database;
using jovDatabase::eCode;

// The tampering stops after this many steps of SQLite's machine, and its
// texts stay within a few megabytes.
constexpr int kMaxSqlSteps = 200000;
constexpr int kMaxTextBytes = 4 << 20;

std::string& SampleCatalogue() {
  static std::string bytes;
  return bytes;
}

void Check(eCode code, const char* call) {
  FUZZ_CHECK(code >= jovDatabase::eOK && code <= jovDatabase::eNoEdit,
             std::string(call) + " answered " + std::to_string(code));
}

// Runs the SQL on the file: errors are the input's business.
void Tamper(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
    sqlite3_limit(db, SQLITE_LIMIT_LENGTH, kMaxTextBytes);
    sqlite3_limit(db, SQLITE_LIMIT_ATTACHED, 0);
    int steps = 0;
    sqlite3_progress_handler(
        db, 100, [](void* count) -> int { return ++*static_cast<int*>(count) > kMaxSqlSteps / 100; }, &steps);
    sqlite3_exec(db, "PRAGMA ignore_check_constraints = 1; PRAGMA foreign_keys = 0;", nullptr, nullptr, nullptr);
    sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  }
  sqlite3_close(db);
}

// The ids the file's tables hold (read beside the catalogue, as the product
// library would have them from its lists and records).
std::vector<std::string> Column(const std::string& path, const char* sql) {
  std::vector<std::string> values;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK)
      while (values.size() < 40 && sqlite3_step(st) == SQLITE_ROW) {
        const unsigned char* text = sqlite3_column_text(st, 0);
        values.emplace_back(text ? reinterpret_cast<const char*>(text) : "");
      }
    sqlite3_finalize(st);
  }
  sqlite3_close(db);
  return values;
}

std::string Text(const qmString& text) { return text.GetString() ? text.GetString() : ""; }

int CountName(const jovDatabase::TNameStruct* record, void* count) {
  FUZZ_CHECK(record && record->name && record->value, "a names record without its texts");
  return ++*static_cast<int*>(count) < 1000;
}

int CountType(const jovDatabase::TParTypeStruct* record, void* count) {
  FUZZ_CHECK(record && record->title, "a parameter type without its title");
  return ++*static_cast<int*>(count) < 1000;
}

// A product as the product dialog reads it, and its parameters written
// back as the definition editor does.
void ReadProduct(Database& db, const std::string& id) {
  if (id.size() != 12) {
    Check(db.GoIndexID(id.c_str()), "GoIndexID");
    return;
  }
  if (db.GoIndexID(id.c_str()) != jovDatabase::eOK) return;
  unsigned number = 0;
  qmString text;
  Check(db.GetItemsStatus(number), "GetItemsStatus");
  Check(db.GetIndexType(number), "GetIndexType");
  Check(db.GetIndexID(text), "GetIndexID");
  Check(db.GetIndexText(text), "GetIndexText");
  unsigned idi = 0;
  Check(db.GetIndexIDI(idi), "GetIndexIDI");
  for (auto get : {&Database::GetItemsPoints, &Database::GetItemsProperties, &Database::GetParmsParams,
                   &Database::GetParmsParA, &Database::GetParmsParB, &Database::GetParmsParC,
                   &Database::GetParmsPar3D})
    Check((db.*get)(text), "a text getter");
  for (auto view : {&Database::GetItemsDxfA, &Database::GetItemsDxfB, &Database::GetItemsDxfC,
                    &Database::GetItemsDxf3D}) {
    jovDatabase::resultResbuf geometry;
    Check((db.*view)(geometry), "a geometry getter");
  }

  int producers = 0;
  Check(db.EnumUsedProducers(CountName, &producers, idi), "EnumUsedProducers");
  for (unsigned producer = 1; producer <= 3; ++producer) {
    int versions = 0;
    for (eCode found = db.NextProduct(0, producer, idi); found == jovDatabase::eOK && versions < 50;
         found = db.NextProduct(1, producer, idi), ++versions) {
      unsigned value = 0;
      double price = 0;
      CComDATE date;
      Check(db.GetProdsIDI(value), "GetProdsIDI");
      Check(db.GetProdsDate(date), "GetProdsDate");
      Check(db.GetProdsStatus(value), "GetProdsStatus");
      Check(db.GetProdsComment(text), "GetProdsComment");
      Check(db.GetProdsPrice(price), "GetProdsPrice");
      Check(db.GetProdsMJ(value), "GetProdsMJ");
    }
  }

  qmString params;
  if (db.GetParmsParams(params) != jovDatabase::eOK) return;
  Check(db.Edit(jovDatabase::kEditParams), "Edit");
  const eCode set = db.SetParmsParams(params);
  Check(set, "SetParmsParams");
  Check(db.Update(jovDatabase::kEditParams), "Update");
  qmString again;
  if (set == jovDatabase::eOK && db.GetParmsParams(again) == jovDatabase::eOK)
    FUZZ_CHECK(Text(again) == Text(params), id + ": parameters written back read otherwise");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string error;
  const std::string source = fuzz::FileBytes(JOV_SOURCE_DIR "/fuzz/corpus/catalogue_source/heating.cat");
  const std::string built = fuzz::ScratchFolder() + "/sample.db";
  if (!jovDatabase::BuildCatalogueFromText(source, built.c_str(), error, "heating.cat")) {
    std::fprintf(stderr, "catalogue_file: the sample catalogue does not build: %s\n", error.c_str());
    std::abort();
  }
  SampleCatalogue() = fuzz::FileBytes(built);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string rest(fuzz::Text(data + 1, size - 1));
  const bool tamper = data[0] & 1;
  const std::string path = fuzz::WriteScratchFile("T.db", tamper ? SampleCatalogue() : rest);
  std::remove((path + "-journal").c_str());
  if (tamper) Tamper(path, rest);

  Database* db = Database::Open(fuzz::ScratchFolder().c_str(), 'T');
  if (!db) return 0;
  for (const std::string& id : Column(path, "SELECT CAST(index_id AS TEXT) FROM items")) ReadProduct(*db, id);

  int count = 0;
  Check(db->EnumParTypes(CountType, &count), "EnumParTypes");
  for (const std::string& id : Column(path, "SELECT id FROM partypes")) {
    if (db->GoPartypeIDI(static_cast<unsigned>(std::strtoul(id.c_str(), nullptr, 10))) != jovDatabase::eOK) continue;
    qmString title;
    unsigned status = 0;
    double lo = 0, hi = 0;
    Check(db->GetPartypeTitle(title), "GetPartypeTitle");
    Check(db->GetPartypeStatus(status), "GetPartypeStatus");
    Check(db->GetPartypeLo(lo), "GetPartypeLo");
    Check(db->GetPartypeHi(hi), "GetPartypeHi");
  }
  for (const char* list : {"MODI", "PROP", "PARS", "SQUE", "MJ"}) {
    count = 0;
    Check(db->EnumNames(list, CountName, &count, false), "EnumNames");
    qmString name;
    for (unsigned i = 0; i < 4; ++i) Check(db->GetNamesNameing(list, i, name), "GetNamesNameing");
  }
  for (const std::string& id : Column(path, "SELECT id FROM names")) {
    if (db->GoNamesIDI(static_cast<unsigned>(std::strtoul(id.c_str(), nullptr, 10))) != jovDatabase::eOK) continue;
    qmString text;
    unsigned status = 0;
    Check(db->GetNamesName(text), "GetNamesName");
    Check(db->GetNamesComment(text), "GetNamesComment");
    Check(db->GetNamesStatus(status), "GetNamesStatus");
  }
  Database::Close(db);
  return 0;
}
