#include "platform/catalogue/Database.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/catalogue/tests/TempFolder.h"

using jovDatabase::Database;
using jovDatabase::resultResbuf;

namespace {

// The sample catalogue the build lays into the module folder.
struct SampleCatalogue : ::testing::Test {
  void SetUp() override {
    db = Database::Open(JOV_CATALOGUE_DIR, 'T');
    ASSERT_NE(db, nullptr) << "sample heating catalogue in " JOV_CATALOGUE_DIR;
  }
  void TearDown() override { Database::Close(db); }
  Database* db = nullptr;
};

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Text(const qmString& s) { return s.GetString() ? s.GetString() : "<null>"; }

}  // namespace

TEST(DatabaseOpen, MissingFolderFileOrLetterGivesNull) {
  EXPECT_EQ(Database::Open(nullptr, 'T'), nullptr);
  EXPECT_EQ(Database::Open("", 'T'), nullptr);
  EXPECT_EQ(Database::Open("/nonexistent/folder", 'T'), nullptr);
  EXPECT_EQ(Database::Open(JOV_CATALOGUE_DIR, 'Q'), nullptr) << "no catalogue for that trade";
  EXPECT_EQ(Database::Open(JOV_CATALOGUE_DIR, '.'), nullptr);
  EXPECT_EQ(Database::Open(JOV_CATALOGUE_DIR, '/'), nullptr);
  Database::Close(nullptr);
}

TEST(DatabaseOpen, LowerCaseLetterAndTrailingSlashOpenTheSameTrade) {
  Database* db = Database::Open(JOV_CATALOGUE_DIR "/", 't');
  ASSERT_NE(db, nullptr);
  EXPECT_EQ(db->GetTradeLetter(), 'T');
  Database::Close(db);
}

TEST(DatabaseOpen, EachTradeHasItsOwnCatalogue) {
  Database* heating = Database::Open(JOV_CATALOGUE_DIR, 'T');
  Database* plumbing = Database::Open(JOV_CATALOGUE_DIR, 'Z');
  ASSERT_NE(heating, nullptr);
  ASSERT_NE(plumbing, nullptr);
  EXPECT_EQ(plumbing->GoIndexID("ZUM0600i0001"), 0);
  EXPECT_EQ(heating->GoIndexID("ZUM0600i0001"), jovDatabase::eNotFound);
  EXPECT_EQ(plumbing->GoIndexID("TPP0015i0001"), jovDatabase::eNotFound);
  unsigned status = 0;
  EXPECT_EQ(plumbing->GetItemsStatus(status), jovDatabase::eNotPositioned);
  EXPECT_EQ(heating->GoIndexID("TPP0015i0001"), 0);
  qmString modi;
  ASSERT_EQ(plumbing->GetNamesNameing("MODI", 0, modi), 0);
  EXPECT_EQ(modi.GetString()[0], 'Z');
  Database::Close(plumbing);
  Database::Close(heating);
}

TEST(DatabaseOpen, DamagedOrForeignFilesAreRefusedCleanly) {
  TempFolder folder;
  std::string sample = ReadBytes(JOV_CATALOGUE_DIR "/T.db");
  ASSERT_GT(sample.size(), 4096u);

  folder.Write("E.db", "");                                     // empty file
  folder.Write("V.db", std::string(8192, '\x5A'));              // not a database at all
  folder.Write("Z.db", sample);                                 // the heating catalogue
  folder.Write("T.db", sample.substr(0, 1024));                 // cut inside its first page
  std::filesystem::create_directory(folder.File("A.db"));       // a folder of that name
  EXPECT_EQ(Database::Open(folder.Path().c_str(), 'E'), nullptr);
  EXPECT_EQ(Database::Open(folder.Path().c_str(), 'V'), nullptr);
  EXPECT_EQ(Database::Open(folder.Path().c_str(), 'Z'), nullptr) << "the file says trade T";
  EXPECT_EQ(Database::Open(folder.Path().c_str(), 'T'), nullptr);
  EXPECT_EQ(Database::Open(folder.Path().c_str(), 'A'), nullptr);
  EXPECT_FALSE(std::filesystem::exists(folder.File("Q.db"))) << "opening never creates";
  EXPECT_EQ(Database::Open(folder.Path().c_str(), 'Q'), nullptr);
  EXPECT_FALSE(std::filesystem::exists(folder.File("Q.db")));
}

TEST(DatabaseOpen, UnreadableGeometryIsAnErrorNotACrash) {
  TempFolder folder;
  std::filesystem::copy_file(JOV_CATALOGUE_DIR "/T.db", folder.File("T.db"));
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open(folder.File("T.db").c_str(), &raw), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(raw,
                         "UPDATE items SET dxf_b = '0' || char(10) || 'LINE' || char(10) || '10'"
                         " WHERE index_id = 'TVE0015-0001'",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(raw);

  Database* db = Database::Open(folder.Path().c_str(), 'T');
  ASSERT_NE(db, nullptr);
  ASSERT_EQ(db->GoIndexID("TVE0015-0001"), 0);
  resultResbuf geometry;
  EXPECT_EQ(db->GetItemsDxfB(geometry), jovDatabase::eBadData);
  EXPECT_EQ(geometry.head, nullptr);
  Database::Close(db);
}

TEST_F(SampleCatalogue, IncludeFlagIOrDashNamesTheSameProduct) {
  unsigned withDash = 0, withI = 0;
  ASSERT_EQ(db->GoIndexID("TPP0015-0001"), 0);
  ASSERT_EQ(db->GetIndexIDI(withDash), 0);
  ASSERT_EQ(db->GoIndexID("TPP0015i0001"), 0);
  ASSERT_EQ(db->GetIndexIDI(withI), 0);
  EXPECT_EQ(withDash, withI);
  qmString id;
  ASSERT_EQ(db->GetIndexID(id), 0);
  EXPECT_EQ(Text(id), "TPP0015-0001") << "the stored id keeps '-'";

  ASSERT_EQ(db->GoIndexID("TPZ0015i0001"), 0);
  unsigned other = 0;
  ASSERT_EQ(db->GetIndexIDI(other), 0);
  EXPECT_NE(other, withI);
}

TEST_F(SampleCatalogue, UnknownOrMalformedCodesLeaveNothingPositioned) {
  const char* bad[] = {"TPP0099i0001", "TPP0015x0001", "tpp0015i0001", "TPP0015",
                       "TPP0015i00011", "", "TPP0015-000\xE1"};
  for (const char* code : bad) {
    ASSERT_EQ(db->GoIndexID("TPP0015i0001"), 0);
    EXPECT_NE(db->GoIndexID(code), 0) << code;
    unsigned status = 0;
    EXPECT_EQ(db->GetItemsStatus(status), jovDatabase::eNotPositioned) << code;
  }
  EXPECT_EQ(db->GoIndexID(nullptr), jovDatabase::eBadArgument);
  qmString s;
  resultResbuf g;
  EXPECT_EQ(db->GetIndexText(s), jovDatabase::eNotPositioned);
  EXPECT_EQ(db->GetItemsDxfB(g), jovDatabase::eNotPositioned);
  EXPECT_EQ(s.GetString(), nullptr) << "a failed read leaves the text alone";
}

TEST_F(SampleCatalogue, PropertyKeysComeFromThePropList) {
  const char* expected[] = {"_FLOW", nullptr, "_PRODUCT", "_DIMENSION", nullptr, nullptr, "_NOTE"};
  for (unsigned i : {0u, 2u, 3u, 6u}) {
    qmString name;
    EXPECT_EQ(db->GetNamesNameing("PROP", i, name), 0);
    EXPECT_EQ(Text(name), expected[i]);
  }
  qmString modi;
  ASSERT_EQ(db->GetNamesNameing("MODI", 0, modi), 0);
  EXPECT_EQ(modi.GetString()[0], 'T') << "the trade name starts with the trade letter";
}

TEST_F(SampleCatalogue, MissingNameEmptiesTheOutput) {
  qmString fresh;
  EXPECT_NE(db->GetNamesNameing("PROP", 7, fresh), 0);
  EXPECT_EQ(fresh.GetString(), nullptr) << "an empty string stays without a buffer";

  qmString used("_OLD");
  EXPECT_NE(db->GetNamesNameing("prop", 0, used), 0) << "list names are exact";
  EXPECT_EQ(Text(used), "");
  used.Assign("_OLD");
  EXPECT_EQ(db->GetNamesNameing(nullptr, 0, used), jovDatabase::eBadArgument);
  EXPECT_EQ(Text(used), "");
  used.Assign("_OLD");
  EXPECT_NE(db->GetNamesNameing("PROP", 0xFFFFFFFFu, used), 0);
  EXPECT_EQ(Text(used), "");
}

TEST_F(SampleCatalogue, PositionedItemReadsItsFields) {
  ASSERT_EQ(db->GoIndexID("TOT0600i0001"), 0);
  unsigned status = 0, type = 0;
  ASSERT_EQ(db->GetItemsStatus(status), 0);
  EXPECT_EQ(status, 0x4A000000u) << "view B, producer choice, parametric";
  ASSERT_EQ(db->GetIndexType(type), 0);
  EXPECT_EQ(type, 0x100081u);
  EXPECT_TRUE(type & (1u << 20)) << "radiator kind";

  qmString s;
  ASSERT_EQ(db->GetIndexText(s), 0);
  EXPECT_EQ(Text(s), "Otopn\xE9 t\xECleso deskov\xE9") << "code page 1250";
  ASSERT_EQ(db->GetItemsPoints(s), 0);
  EXPECT_EQ(Text(s).substr(0, 7), "0\n3\n15\n");
  ASSERT_EQ(db->GetItemsProperties(s), 0);
  EXPECT_EQ(Text(s).substr(0, 17), "\nTermalis s.r.o.\n") << "line 0 empty, line 1 the maker";
  ASSERT_EQ(db->GetParmsParams(s), 0);
  EXPECT_EQ(Text(s), "H|V\xFD\x9Aka|3|600|600|300|500|600|900\r\nL|D\xE9lka|1|1000|1000|\r\n");
  ASSERT_EQ(db->GetParmsParB(s), 0);
  std::string formulas = Text(s);
  EXPECT_EQ(formulas.substr(0, 3), "1\r\n");
  EXPECT_EQ(std::count(formulas.begin(), formulas.end(), '\n'), 11) << "base line and ten points";
  ASSERT_EQ(db->GetParmsParA(s), 0);
  EXPECT_EQ(Text(s), "") << "an empty field reads as an empty text";
}

TEST_F(SampleCatalogue, ViewGeometryFollowsTheStatusBits) {
  const char* codes[] = {"TST0000-0001", "TPP0015-0001", "TPZ0015-0001", "TOT0600-0001",
                         "TVE0015-0001", "TCD0000-0001"};
  for (const char* code : codes) {
    ASSERT_EQ(db->GoIndexID(code), 0) << code;
    unsigned status = 0;
    ASSERT_EQ(db->GetItemsStatus(status), 0);
    resultResbuf a, b, c, d;
    EXPECT_EQ(db->GetItemsDxfA(a) == 0, (status >> 31 & 1) != 0) << code;
    EXPECT_EQ(db->GetItemsDxfB(b) == 0, (status >> 30 & 1) != 0) << code;
    EXPECT_EQ(db->GetItemsDxfC(c) == 0, (status >> 29 & 1) != 0) << code;
    EXPECT_EQ(db->GetItemsDxf3D(d) == 0, (status >> 28 & 1) != 0) << code;
    EXPECT_EQ(a.head, nullptr);
    EXPECT_EQ(c.head, nullptr);
  }
}

TEST_F(SampleCatalogue, ConnectionMarkersMatchThePointsOfViewB) {
  // Every DEFPOINTS entity of colour 7 is a connection point; there are as
  // many as the view-B group of the points text counts.
  for (const char* code : {"TST0000-0001", "TPP0015-0001", "TOT0600-0001", "TVE0015-0001"}) {
    ASSERT_EQ(db->GoIndexID(code), 0);
    resultResbuf g;
    ASSERT_EQ(db->GetItemsDxfB(g), 0);
    int markers = 0;
    bool defpoints = false;
    for (resbuf* n = g.head; n; n = n->next) {
      if (n->code == 0) defpoints = false;
      if (n->code == 8) defpoints = std::string(n->value.text) == "DEFPOINTS";
      if (n->code == 62 && defpoints && n->value.i16 == 7) ++markers;
    }
    qmString points;
    ASSERT_EQ(db->GetItemsPoints(points), 0);
    std::string text = Text(points);
    size_t groupB = text.find('\n') + 1;  // after view A's count "0"
    EXPECT_EQ(markers, std::atoi(text.c_str() + groupB)) << code;
  }
}

TEST_F(SampleCatalogue, RefillingAHolderReplacesItsChain) {
  ASSERT_EQ(db->GoIndexID("TVE0015-0001"), 0);
  resultResbuf g;
  ASSERT_EQ(db->GetItemsDxfB(g), 0);
  ASSERT_NE(g.head, nullptr);
  EXPECT_EQ(g.head->code, 0);
  EXPECT_STREQ(g.head->value.text, "LINE");
  ASSERT_EQ(db->GoIndexID("TPP0015-0001"), 0);
  ASSERT_EQ(db->GetItemsDxfB(g), 0);  // the valve's chain is released (leak check)
  ASSERT_NE(g.head->next, nullptr);
  ASSERT_NE(g.head->next->next, nullptr);
  EXPECT_EQ(g.head->next->next->code, 62);
  EXPECT_EQ(g.head->next->next->value.i16, 1) << "supply pipe drawn red";
  EXPECT_NE(db->GetItemsDxfA(g), 0);
  EXPECT_EQ(g.head, nullptr) << "a failed read leaves the holder empty";
}
