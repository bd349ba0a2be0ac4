// Rewriting a view's formulas in the sorted order of its points.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

#include "platform/catalogue/Database.h"
#include "wizard/frame/WizardExports.h"
#include "wizard/frame/tests/WizardTestSupport.h"

namespace {

// A line drawn from its right end: the points parse as (100,0) then
// (0,0), and the formulas are stored in that order, each with its point's
// own values.
const std::string kCatalogue = CatalogueHead('T', "Topení") + R"([item]
id = TXM0001-0001
idi = 1
title = Obrácená čára
type = 1
status = 0x48000000
params <<
L|Délka|1|100|100|
>>
dxfB <<
0 LINE
8 0
10 100.0
20 0.0
30 0.0
11 0.0
21 0.0
31 0.0
>>
parB <<
-1
L|0.00|0.00
0.00|0.00|0.00
>>
)";

// The parse-ordered formulas' own text and what sorting makes of it.
const char* kParseOrder = "-1\r\nL|0.00|0.00\r\n0.00|0.00|0.00\r\n";
const char* kSortedOrder = "-1\r\n0.00|0.00|0.00\r\nL|0.00|0.00\r\n";

class ModifyDBParamTest : public WizardCatalogueTest {
 protected:
  std::string Formulas(jovDatabase::Database* db) {
    qmString text;
    EXPECT_EQ(db->GetParmsParB(text), jovDatabase::eOK);
    return text.GetString() ? text.GetString() : "";
  }
  // Runs SQL on the catalogue file through a connection of its own.
  void Sql(const char* sql) {
    sqlite3* file = nullptr;
    ASSERT_EQ(sqlite3_open((folder.Path() + "/T.db").c_str(), &file), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(file, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(file);
    sqlite3_close(file);
  }
  jovDatabase::Database* Reopen() {
    SetCurrentCatalogue(nullptr);
    jovDatabase::Database::Close(opened.back());
    opened.pop_back();
    jovDatabase::Database* db = jovDatabase::Database::Open(folder.Path().c_str(), 'T');
    opened.push_back(db);
    EXPECT_EQ(db->GoIndexID("TXM0001-0001"), jovDatabase::eOK);
    return db;
  }
};

}  // namespace

TEST_F(ModifyDBParamTest, ParseOrderedFormulasAreWrittenInSortedOrder) {
  jovDatabase::Database* db = Catalogue(kCatalogue, 'T', "TXM0001-0001");
  ASSERT_EQ(Formulas(db), kParseOrder);
  EXPECT_EQ(ModifyDBParam(db, 1), 0u);
  EXPECT_EQ(Formulas(Reopen()), kSortedOrder) << "each formula stays with its point";
  EXPECT_EQ(ModifyDBParam(opened.back(), 1), 0x101u) << "sorted already: a second call changes nothing";
  EXPECT_EQ(Formulas(Reopen()), kSortedOrder);

  EXPECT_EQ(ModifyDBParam(nullptr, 1), 0x101u);
  EXPECT_EQ(ModifyDBParam(opened.back(), 0), 0x101u) << "no geometry in view A";
  EXPECT_EQ(ModifyDBParam(opened.back(), 7), 0x101u);
}

TEST_F(ModifyDBParamTest, AFailureAfterEditLeavesNothingOpenAndChangesNothing) {
  Catalogue(kCatalogue, 'T', "TXM0001-0001");
  Sql("CREATE TRIGGER refuse BEFORE UPDATE OF par_b ON items BEGIN SELECT RAISE(ABORT, 'refused'); END;");
  jovDatabase::Database* db = Reopen();
  EXPECT_EQ(ModifyDBParam(db, 1), 0x101u);
  // The bracket is gone: a later write goes straight to the file, and the
  // trigger can be dropped by another connection.
  ASSERT_EQ(db->SetParmsParams(qmString("L|Délka|1|100|250|")), jovDatabase::eOK);
  Sql("DROP TRIGGER refuse;");
  db = Reopen();
  qmString params;
  ASSERT_EQ(db->GetParmsParams(params), jovDatabase::eOK);
  EXPECT_STREQ(params.GetString(), "L|Délka|1|100|250|");
  EXPECT_EQ(Formulas(db), kParseOrder);
}
