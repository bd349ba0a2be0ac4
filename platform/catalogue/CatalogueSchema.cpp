#include "platform/catalogue/CatalogueSchema.h"

#include <sqlite3.h>

namespace jovDatabase {
namespace {

// items: one row per product. The index id is 12 characters; its 8th (the
// include flag of placed entities) is always stored as '-'. status bits:
// 24 special line rule, 25 producer choice, 27 parametric, 28-31 geometry
// of views 3D, C, B, A present. type: the entity kind word (bit 20
// radiator). dxf_*: the view's geometry as "code\nvalue\n" pairs, null when
// the view is absent. points: per view A, B, C, 3D a count line and four
// lines per point. properties: one line per "PROP" entry. params: the
// parameter lines; par_*: the formula text of each view (CR LF lines).
//
// names: the names lists ("MODI", "PROP", "PARS", "SQUE", units ...). entry
// is the position within its list (what enumerations walk and what
// GetNamesNameing asks for); id is unique over all lists (GoNamesIDI).
//
// partypes: parameter types with their limits; second_id is an extra number
// the enumeration hands out.
//
// producers / products: product versions of an item by a producer. date is
// 'YYYY-MM-DD'; status is the id of the version's names record (its comment
// lists the parameters a measurement sets); comment holds the choice records;
// mj is the id of the unit's names record.
constexpr const char* kSchema = R"sql(
CREATE TABLE catalogue (
  key   TEXT PRIMARY KEY,
  value TEXT NOT NULL
);
CREATE TABLE items (
  idi        INTEGER PRIMARY KEY,
  index_id   TEXT NOT NULL UNIQUE
             CHECK (length(index_id) = 12 AND substr(index_id, 8, 1) = '-'),
  title      TEXT NOT NULL DEFAULT '',
  type       INTEGER NOT NULL DEFAULT 0,
  status     INTEGER NOT NULL DEFAULT 0,
  dxf_a      TEXT,
  dxf_b      TEXT,
  dxf_c      TEXT,
  dxf_3d     TEXT,
  points     TEXT NOT NULL DEFAULT '',
  properties TEXT NOT NULL DEFAULT '',
  params     TEXT NOT NULL DEFAULT '',
  par_a      TEXT NOT NULL DEFAULT '',
  par_b      TEXT NOT NULL DEFAULT '',
  par_c      TEXT NOT NULL DEFAULT '',
  par_3d     TEXT NOT NULL DEFAULT ''
);
CREATE TABLE names (
  id      INTEGER PRIMARY KEY,
  list    TEXT NOT NULL,
  entry   INTEGER NOT NULL,
  name    TEXT NOT NULL DEFAULT '',
  comment TEXT NOT NULL DEFAULT '',
  status  INTEGER NOT NULL DEFAULT 0,
  UNIQUE (list, entry)
);
CREATE TABLE partypes (
  id        INTEGER PRIMARY KEY,
  title     TEXT NOT NULL DEFAULT '',
  status    INTEGER NOT NULL DEFAULT 0,
  lo        REAL NOT NULL DEFAULT 0,
  hi        REAL NOT NULL DEFAULT 0,
  second_id INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE producers (
  id      INTEGER PRIMARY KEY,
  name    TEXT NOT NULL,
  comment TEXT NOT NULL DEFAULT '',
  status  INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE products (
  id          INTEGER PRIMARY KEY,
  producer_id INTEGER NOT NULL REFERENCES producers (id),
  idi         INTEGER NOT NULL REFERENCES items (idi),
  date        TEXT NOT NULL CHECK (date GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),
  status      INTEGER NOT NULL DEFAULT 0,
  comment     TEXT NOT NULL DEFAULT '',
  price       REAL NOT NULL DEFAULT 0,
  mj          INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX products_of_item ON products (idi, producer_id, date, id);
)sql";

}  // namespace

bool CreateCatalogueSchema(sqlite3* db, const char** error) {
  if (sqlite3_exec(db, kSchema, nullptr, nullptr, nullptr) == SQLITE_OK) return true;
  if (error) *error = sqlite3_errmsg(db);
  return false;
}

}  // namespace jovDatabase
