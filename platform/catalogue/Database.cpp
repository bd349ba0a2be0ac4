#include "platform/catalogue/Database.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cctype>
#include <cstring>
#include <new>
#include <string>

#include "platform/catalogue/CatalogueSchema.h"
#include "platform/catalogue/GroupCodeText.h"
#include "platform/win32/code_page.h"

namespace jovDatabase {
namespace {

// One prepared statement, finalised on every way out.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) {
    if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) {
      sqlite3_finalize(stmt_);
      stmt_ = nullptr;
    }
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool Ok() const { return stmt_ != nullptr; }
  sqlite3_stmt* Get() const { return stmt_; }

  // SQLITE_ROW, SQLITE_DONE or an error code.
  int Step() { return stmt_ ? sqlite3_step(stmt_) : SQLITE_ERROR; }

  // The column as code page 1250 text ("" for NULL).
  std::string Text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    if (!text) return std::string();
    return Utf8ToCp1250(
        std::string_view(text, static_cast<size_t>(sqlite3_column_bytes(stmt_, column))));
  }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

std::string Utf8Of(const char* cp1250) { return Cp1250ToUtf8(cp1250 ? cp1250 : ""); }

eCode Store(const std::string& text, qmString& out) {
  out.Assign(text.c_str());
  return out.GetString() ? eOK : eNoMemory;
}

void Empty(qmString& out) {
  if (out.GetString()) out.Assign("");
}

bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string CatalogueValue(sqlite3* db, const char* key, bool& ok) {
  Statement st(db, "SELECT value FROM catalogue WHERE key = ?1");
  ok = false;
  if (!st.Ok() || sqlite3_bind_text(st.Get(), 1, key, -1, SQLITE_STATIC) != SQLITE_OK)
    return std::string();
  if (st.Step() != SQLITE_ROW) return std::string();
  ok = true;
  return st.Text(0);
}

// A file of our format and of the trade asked for, whose tables read.
bool IsCatalogueOf(sqlite3* db, char trade) {
  bool ok = false;
  if (CatalogueValue(db, "format", ok) != std::to_string(kCatalogueFormat) || !ok) return false;
  if (CatalogueValue(db, "trade", ok) != std::string(1, trade) || !ok) return false;
  for (const char* sql : {"SELECT idi FROM items LIMIT 1", "SELECT id FROM names LIMIT 1"}) {
    Statement st(db, sql);
    int rc = st.Step();
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) return false;
  }
  return true;
}

}  // namespace

void resultResbuf::Release() {
  FreeGroupCodeNodes(head);
  head = nullptr;
}

resultResbuf::~resultResbuf() { Release(); }

Database* Database::Open(const char* folder, char tradeLetter) {
  if (!folder || !*folder) return nullptr;
  // The letter becomes part of a file name: letters only.
  if (!std::isalpha(static_cast<unsigned char>(tradeLetter))) return nullptr;
  char trade = static_cast<char>(std::toupper(static_cast<unsigned char>(tradeLetter)));
  std::string path = folder;
  if (path.back() != '/') path += '/';
  path += trade;
  path += ".db";
  // Without this check SQLite would report a missing file only at the
  // first read; opening never creates one.
  if (!IsRegularFile(path)) return nullptr;

  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
      !IsCatalogueOf(db, trade)) {
    sqlite3_close(db);
    return nullptr;
  }
  auto* catalogue = new (std::nothrow) Database(db, trade);
  if (!catalogue) sqlite3_close(db);
  return catalogue;
}

void Database::Close(Database* db) { delete db; }

Database::~Database() { sqlite3_close(db); }

eCode Database::GoIndexID(const char* typeCode) {
  current = -1;
  if (!typeCode || std::strlen(typeCode) != 12) return eBadArgument;
  std::string key = typeCode;
  if (key[7] == 'i') key[7] = '-';
  Statement st(db, "SELECT idi FROM items WHERE index_id = ?1");
  if (!st.Ok()) return eStorage;
  std::string utf8 = Utf8Of(key.c_str());
  sqlite3_bind_text(st.Get(), 1, utf8.c_str(), -1, SQLITE_TRANSIENT);
  int rc = st.Step();
  if (rc == SQLITE_DONE) return eNotFound;
  if (rc != SQLITE_ROW) return eStorage;
  current = sqlite3_column_int64(st.Get(), 0);
  return eOK;
}

eCode Database::GetNamesNameing(const char* group, unsigned index, qmString& out) {
  if (!group) {
    Empty(out);
    return eBadArgument;
  }
  Statement st(db, "SELECT name FROM names WHERE list = ?1 AND entry = ?2");
  if (!st.Ok()) {
    Empty(out);
    return eStorage;
  }
  std::string utf8 = Utf8Of(group);
  sqlite3_bind_text(st.Get(), 1, utf8.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_int64(st.Get(), 2, index);
  int rc = st.Step();
  if (rc != SQLITE_ROW) {
    Empty(out);
    return rc == SQLITE_DONE ? eNotFound : eStorage;
  }
  return Store(st.Text(0), out);
}

// The column names below come from this file only, never from a caller.
template <typename OnRow>
eCode Database::ReadItemColumn(const char* column, OnRow onRow) {
  if (current < 0) return eNotPositioned;
  std::string sql = std::string("SELECT ") + column + " FROM items WHERE idi = ?1";
  Statement st(db, sql.c_str());
  if (!st.Ok()) return eStorage;
  sqlite3_bind_int64(st.Get(), 1, current);
  int rc = st.Step();
  if (rc != SQLITE_ROW) return rc == SQLITE_DONE ? eNotFound : eStorage;
  return onRow(st);
}

eCode Database::ReadItemText(const char* column, qmString& out) {
  return ReadItemColumn(column, [&](Statement& st) { return Store(st.Text(0), out); });
}

eCode Database::ReadItemNumber(const char* column, unsigned& out) {
  return ReadItemColumn(column, [&](Statement& st) {
    // Stored as a 64-bit integer; the interface word is the low 32 bits.
    out = static_cast<unsigned>(static_cast<uint64_t>(sqlite3_column_int64(st.Get(), 0)));
    return eOK;
  });
}

eCode Database::ReadItemGeometry(const char* column, resultResbuf& out) {
  out.Release();
  return ReadItemColumn(column, [&](Statement& st) {
    if (sqlite3_column_type(st.Get(), 0) == SQLITE_NULL) return eNotFound;
    std::string text = st.Text(0);
    if (text.empty()) return eNotFound;
    return ParseGroupCodeText(text.c_str(), &out.head) ? eOK : eBadData;
  });
}

eCode Database::GetItemsStatus(unsigned& status) { return ReadItemNumber("status", status); }
eCode Database::GetIndexID(qmString& out) { return ReadItemText("index_id", out); }
eCode Database::GetIndexIDI(unsigned& idi) { return ReadItemNumber("idi", idi); }
eCode Database::GetIndexText(qmString& out) { return ReadItemText("title", out); }
eCode Database::GetIndexType(unsigned& type) { return ReadItemNumber("type", type); }
eCode Database::GetItemsDxfA(resultResbuf& out) { return ReadItemGeometry("dxf_a", out); }
eCode Database::GetItemsDxfB(resultResbuf& out) { return ReadItemGeometry("dxf_b", out); }
eCode Database::GetItemsDxfC(resultResbuf& out) { return ReadItemGeometry("dxf_c", out); }
eCode Database::GetItemsDxf3D(resultResbuf& out) { return ReadItemGeometry("dxf_3d", out); }
eCode Database::GetItemsPoints(qmString& out) { return ReadItemText("points", out); }
eCode Database::GetItemsProperties(qmString& out) { return ReadItemText("properties", out); }
eCode Database::GetParmsParams(qmString& out) { return ReadItemText("params", out); }
eCode Database::GetParmsParA(qmString& out) { return ReadItemText("par_a", out); }
eCode Database::GetParmsParB(qmString& out) { return ReadItemText("par_b", out); }
eCode Database::GetParmsParC(qmString& out) { return ReadItemText("par_c", out); }
eCode Database::GetParmsPar3D(qmString& out) { return ReadItemText("par_3d", out); }

}  // namespace jovDatabase
