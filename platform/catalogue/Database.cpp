#include "platform/catalogue/Database.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

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

uint32_t Word(sqlite3_stmt* st, int column) {
  return static_cast<uint32_t>(static_cast<uint64_t>(sqlite3_column_int64(st, column)));
}

// "YYYY-MM-DD" (the schema checks the form) as a product date.
eCode DateOf(const std::string& text, CComDATE& out) {
  if (text.size() != 10) return eBadData;
  CComDATE date(std::atoi(text.substr(0, 4).c_str()), std::atoi(text.substr(5, 2).c_str()),
                std::atoi(text.substr(8, 2).c_str()));
  if (!date.IsValid()) return eBadData;
  out = date;
  return eOK;
}

// One enumeration: the rows are read first and handed out after the
// statement is done, so a callback may call the catalogue again.
struct NameRow {
  std::string name, value;
  uint32_t number[3];
};

eCode HandOut(const std::vector<NameRow>& rows, EnumNamesCallback callback, void* context) {
  for (const NameRow& row : rows) {
    TNameStruct record{row.name.c_str(), row.value.c_str(), {row.number[0], row.number[1], row.number[2]}};
    if (!callback(&record, context)) break;
  }
  return eOK;
}

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

// A column value into a getter's output.
eCode Take(Statement& st, qmString& out) { return Store(st.Text(0), out); }
eCode Take(Statement& st, unsigned& out) {
  out = Word(st.Get(), 0);
  return eOK;
}
eCode Take(Statement& st, double& out) {
  out = sqlite3_column_double(st.Get(), 0);
  return eOK;
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

Database::~Database() {
  if (editing) sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

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

eCode Database::WriteItemText(const char* column, const qmString& text) {
  if (current < 0) return eNotPositioned;
  std::string sql = std::string("UPDATE items SET ") + column + " = ?1 WHERE idi = ?2";
  Statement st(db, sql.c_str());
  if (!st.Ok()) return eStorage;
  std::string utf8 = Utf8Of(text.GetString());
  sqlite3_bind_text(st.Get(), 1, utf8.c_str(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
  sqlite3_bind_int64(st.Get(), 2, current);
  if (st.Step() != SQLITE_DONE) return eStorage;
  return sqlite3_changes(db) == 1 ? eOK : eNotFound;
}

eCode Database::SetParmsParams(const qmString& text) { return WriteItemText("params", text); }
eCode Database::SetParmsParA(const qmString& text) { return WriteItemText("par_a", text); }
eCode Database::SetParmsParB(const qmString& text) { return WriteItemText("par_b", text); }
eCode Database::SetParmsParC(const qmString& text) { return WriteItemText("par_c", text); }
eCode Database::SetParmsPar3D(const qmString& text) { return WriteItemText("par_3d", text); }

eCode Database::Edit(unsigned access) {
  if (access != kEditParams) return eBadArgument;
  if (editing) {
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    editing = false;
  }
  if (sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) return eStorage;
  editing = true;
  return eOK;
}

eCode Database::Update(unsigned access) {
  if (access != kEditParams) return eBadArgument;
  if (!editing) return eNoEdit;
  editing = false;
  if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK) return eOK;
  sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
  return eStorage;
}

eCode Database::CancelUpdate(unsigned access) {
  if (access != kEditParams) return eBadArgument;
  if (!editing) return eNoEdit;
  editing = false;
  return sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr) == SQLITE_OK ? eOK : eStorage;
}

// One row by its key; eNotFound when there is none.
template <typename OnRow>
eCode Database::ReadRow(const char* sql, int64_t key, OnRow onRow) {
  Statement st(db, sql);
  if (!st.Ok()) return eStorage;
  sqlite3_bind_int64(st.Get(), 1, key);
  int rc = st.Step();
  if (rc != SQLITE_ROW) return rc == SQLITE_DONE ? eNotFound : eStorage;
  return onRow(st);
}

template <typename Out>
eCode Database::ReadAtCursor(int64_t cursor, const char* sql, Out& out) {
  if (cursor < 0) return eNotPositioned;
  return ReadRow(sql, cursor, [&](Statement& st) { return Take(st, out); });
}

eCode Database::Position(int64_t& cursor, const char* sql, unsigned id) {
  cursor = -1;
  const eCode code = ReadRow(sql, id, [](Statement&) { return eOK; });
  if (code == eOK) cursor = id;
  return code;
}

eCode Database::GoPartypeIDI(unsigned id) { return Position(partype, "SELECT id FROM partypes WHERE id = ?1", id); }
eCode Database::GetPartypeTitle(qmString& out) {
  return ReadAtCursor(partype, "SELECT title FROM partypes WHERE id = ?1", out);
}
eCode Database::GetPartypeStatus(unsigned& status) {
  return ReadAtCursor(partype, "SELECT status FROM partypes WHERE id = ?1", status);
}
eCode Database::GetPartypeLo(double& lo) { return ReadAtCursor(partype, "SELECT lo FROM partypes WHERE id = ?1", lo); }
eCode Database::GetPartypeHi(double& hi) { return ReadAtCursor(partype, "SELECT hi FROM partypes WHERE id = ?1", hi); }

eCode Database::EnumParTypes(EnumParTypesCallback callback, void* context) {
  if (!callback) return eBadArgument;
  struct Row {
    std::string title;
    double lo, hi;
    uint32_t id, secondId, status;
  };
  std::vector<Row> rows;
  {
    Statement st(db, "SELECT title, lo, hi, id, second_id, status FROM partypes ORDER BY id");
    int rc;
    while ((rc = st.Step()) == SQLITE_ROW)
      rows.push_back({st.Text(0), sqlite3_column_double(st.Get(), 1), sqlite3_column_double(st.Get(), 2),
                      Word(st.Get(), 3), Word(st.Get(), 4), Word(st.Get(), 5)});
    if (rc != SQLITE_DONE) return eStorage;
  }
  for (const Row& row : rows) {
    TParTypeStruct record{row.title.c_str(), row.lo, row.hi, row.id, row.secondId, row.status};
    if (!callback(&record, context)) break;
  }
  return eOK;
}

eCode Database::EnumNames(const char* list, EnumNamesCallback callback, void* context, bool) {
  if (!list || !callback) return eBadArgument;
  std::vector<NameRow> rows;
  {
    Statement st(db, "SELECT name, comment, status, id, entry FROM names WHERE list = ?1 ORDER BY entry");
    if (!st.Ok()) return eStorage;
    std::string utf8 = Utf8Of(list);
    sqlite3_bind_text(st.Get(), 1, utf8.c_str(), -1, SQLITE_TRANSIENT);
    int rc;
    while ((rc = st.Step()) == SQLITE_ROW)
      rows.push_back({st.Text(0), st.Text(1), {Word(st.Get(), 2), Word(st.Get(), 3), Word(st.Get(), 4)}});
    if (rc != SQLITE_DONE) return eStorage;
  }
  return HandOut(rows, callback, context);
}

eCode Database::GoNamesIDI(unsigned id) { return Position(names, "SELECT id FROM names WHERE id = ?1", id); }
eCode Database::GetNamesName(qmString& out) { return ReadAtCursor(names, "SELECT name FROM names WHERE id = ?1", out); }
eCode Database::GetNamesComment(qmString& out) {
  return ReadAtCursor(names, "SELECT comment FROM names WHERE id = ?1", out);
}
eCode Database::GetNamesStatus(unsigned& status) {
  return ReadAtCursor(names, "SELECT status FROM names WHERE id = ?1", status);
}

eCode Database::EnumUsedProducers(EnumNamesCallback callback, void* context, unsigned indexIdi) {
  if (!callback) return eBadArgument;
  std::vector<NameRow> rows;
  {
    Statement st(db,
                 "SELECT p.name, p.comment, p.status, p.id, count(*) FROM producers p "
                 "JOIN products v ON v.producer_id = p.id WHERE v.idi = ?1 GROUP BY p.id ORDER BY p.id");
    if (!st.Ok()) return eStorage;
    sqlite3_bind_int64(st.Get(), 1, indexIdi);
    int rc;
    while ((rc = st.Step()) == SQLITE_ROW)
      rows.push_back({st.Text(0), st.Text(1), {Word(st.Get(), 2), Word(st.Get(), 3), Word(st.Get(), 4)}});
    if (rc != SQLITE_DONE) return eStorage;
  }
  return HandOut(rows, callback, context);
}

eCode Database::NextProduct(int next, unsigned producerId, unsigned indexIdi) {
  if (next != 0 && next != 1) return eBadArgument;
  const int64_t from = version;
  version = -1;
  Statement st(db, next == 0
                       ? "SELECT id FROM products WHERE idi = ?1 AND producer_id = ?2 "
                         "ORDER BY date, id LIMIT 1"
                       : "SELECT v.id FROM products v, products c WHERE c.id = ?3 "
                         "AND v.idi = ?1 AND v.producer_id = ?2 "
                         "AND (v.date > c.date OR (v.date = c.date AND v.id > c.id)) "
                         "ORDER BY v.date, v.id LIMIT 1");
  if (!st.Ok()) return eStorage;
  sqlite3_bind_int64(st.Get(), 1, indexIdi);
  sqlite3_bind_int64(st.Get(), 2, producerId);
  if (next == 1) {
    // The walk goes on only from a version of that producer and item.
    bool onWalk = false;
    if (from >= 0)
      ReadRow("SELECT idi, producer_id FROM products WHERE id = ?1", from, [&](Statement& row) {
        onWalk = Word(row.Get(), 0) == indexIdi && Word(row.Get(), 1) == producerId;
        return eOK;
      });
    if (!onWalk) return eNotPositioned;
    sqlite3_bind_int64(st.Get(), 3, from);
  }
  int rc = st.Step();
  if (rc != SQLITE_ROW) return rc == SQLITE_DONE ? eNotFound : eStorage;
  version = sqlite3_column_int64(st.Get(), 0);
  return eOK;
}

eCode Database::GoProdsIDI(unsigned id) { return Position(version, "SELECT id FROM products WHERE id = ?1", id); }

eCode Database::GetProdsIDI(unsigned& id) {
  if (version < 0) return eNotPositioned;
  id = static_cast<unsigned>(version);
  return eOK;
}

eCode Database::GetProdsDate(CComDATE& date) {
  qmString text;
  const eCode code = ReadAtCursor(version, "SELECT date FROM products WHERE id = ?1", text);
  return code == eOK ? DateOf(text.GetString() ? text.GetString() : "", date) : code;
}

eCode Database::GetProdsStatus(unsigned& namesId) {
  return ReadAtCursor(version, "SELECT status FROM products WHERE id = ?1", namesId);
}
eCode Database::GetProdsComment(qmString& out) {
  return ReadAtCursor(version, "SELECT comment FROM products WHERE id = ?1", out);
}
eCode Database::GetProdsPrice(double& price) {
  return ReadAtCursor(version, "SELECT price FROM products WHERE id = ?1", price);
}
eCode Database::GetProdsMJ(unsigned& unitNamesId) {
  return ReadAtCursor(version, "SELECT mj FROM products WHERE id = ?1", unitNamesId);
}

}  // namespace jovDatabase
