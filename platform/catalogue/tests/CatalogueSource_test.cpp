#include "platform/catalogue/CatalogueSource.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/catalogue/Database.h"
#include "platform/catalogue/tests/TempFolder.h"

using jovDatabase::BuildCatalogueFile;
using jovDatabase::BuildCatalogueFromText;
using jovDatabase::Database;

namespace {

const char* const kHeader = "[catalogue]\ntrade = Z\ntitle = Zdravotechnika\n";

const char* const kItem =
    "[item]\n"
    "id = ZPV0020-0001\n"
    "title = Potrubí\n"
    "type = 128\n"
    "status = 0x40000000\n"
    "dxfB <<\n"
    "  0 LINE\n"
    "  # the only segment\n"
    "  8 0\n"
    "  10 0.0\n"
    "  20 0.0\n"
    "  11 500.0\n"
    "  21 0.0\n"
    ">>\n";

// Builds source into folder/Z.db; the error text when it fails.
std::string Build(const TempFolder& folder, const std::string& source) {
  std::string error;
  if (BuildCatalogueFromText(source, folder.File("Z.db").c_str(), error, "Z.cat")) return "";
  return error;
}

}  // namespace

TEST(CatalogueSource, SmallSourceReadsBackThroughTheCatalogue) {
  TempFolder folder;
  std::string source = std::string(kHeader) +
                       "[names]\n"
                       "# list | entry | id | name | comment | status\n"
                       "PROP | 0 | 10 | _A\\|B | a\\nb\n"
                       "PROP | 1 | 11 | Šířka\n" +
                       kItem +
                       "params <<\n"
                       "L|Délka|1|500|500|\n"
                       ">>\n"
                       "properties <<\n"
                       "\n"
                       "druhá\n"
                       ">>\n";
  ASSERT_EQ(Build(folder, source), "");
  Database* db = Database::Open(folder.Path().c_str(), 'Z');
  ASSERT_NE(db, nullptr);
  qmString s;
  EXPECT_EQ(db->GetNamesNameing("PROP", 0, s), 0);
  EXPECT_STREQ(s.GetString(), "_A|B") << "escaped bar";
  EXPECT_EQ(db->GetNamesNameing("PROP", 1, s), 0);
  EXPECT_STREQ(s.GetString(), "\x8A\xED\xF8ka") << "stored UTF-8, handed out in code page 1250";

  ASSERT_EQ(db->GoIndexID("ZPV0020i0001"), 0);
  EXPECT_EQ(db->GetParmsParams(s), 0);
  EXPECT_STREQ(s.GetString(), "L|D\xE9lka|1|500|500|\r\n") << "parameter lines end in CR LF";
  EXPECT_EQ(db->GetItemsProperties(s), 0);
  EXPECT_STREQ(s.GetString(), "\ndruh\xE1\n") << "empty lines kept";
  jovDatabase::resultResbuf geometry;
  ASSERT_EQ(db->GetItemsDxfB(geometry), 0);
  int nodes = 0;
  for (resbuf* n = geometry.head; n; n = n->next) ++nodes;
  EXPECT_EQ(nodes, 4) << "comment line skipped, 2D points joined";
  Database::Close(db);
}

TEST(CatalogueSource, FaultsNameTheSourceLine) {
  struct Case {
    std::string source;
    const char* expected;
  };
  const Case cases[] = {
      {"[catalogue]\ntrade = z\n", "one capital letter"},
      {std::string(kHeader) + "[stuff]\n", "Z.cat:4: unknown section"},
      {std::string(kHeader) + "[names]\nPROP | x | 1 | A\n", "Z.cat:5: bad number for entry"},
      {std::string(kHeader) + "[names]\nPROP | 0 | 1 | A\nPROP | 0 | 2 | B\n", "Z.cat:6:"},
      {std::string(kHeader) + "[item]\nid = ZPV0020i0001\n", "Z.cat:4: index id"},
      {std::string(kHeader) + "[item]\nid = TPV0020-0001\n", "Z.cat:4: index id"},
      {std::string(kHeader) + "[item]\nid = ZPV0020-001\n", "Z.cat:4: index id"},
      {std::string(kHeader) + "[item]\nid = ZPV0020-0001\nstatus = 0x20000000\n",
       "status bit 29 names a view without geometry"},
      {std::string(kHeader) + "[item]\nid = ZPV0020-0001\ndxfA <<\n0 LINE\n>>\n", "is clear"},
      {std::string(kHeader) +
           "[item]\nid = ZPV0020-0001\nstatus = 0x80000000\ndxfA <<\n0 LINE\n10 1\n>>\n",
       "Z.cat:7: ZPV0020-0001 dxfA: line 3: point without its y coordinate"},
      {std::string(kHeader) + "[item]\nid = ZPV0020-0001\npoints <<\n0\n1\nx\n>>\n",
       "four view groups"},
      // 4 * 2^62 wraps to 0: the count must not skip the lines it claims.
      {std::string(kHeader) + "[item]\nid = ZPV0020-0001\npoints <<\n4611686018427387904\n0\n0\n0\n>>\n",
       "four view groups"},
      {std::string(kHeader) + "[item]\nid = ZPV0020-0001\nparams <<\nL|||\n", "without '>>'"},
      {std::string(kHeader) + "[item]\nid = ZPV0020-0001\ncolour = red\n", "unknown item key"},
      {std::string(kHeader) + kItem + kItem, "UNIQUE"},
      {std::string(kHeader) + "[producers]\n1 | Výrobce\n" + kItem +
           "[products]\n1 | 1 | ZPV0099-0001 | 2024-01-01\n",
       "unknown item or producer"},
      {std::string(kHeader) + kItem + "[products]\n1 | 7 | ZPV0020-0001 | 2024-01-01\n",
       "unknown item or producer"},
      {std::string(kHeader) + "[producers]\n1 | Výrobce\n" + kItem +
           "[products]\n1 | 1 | ZPV0020-0001 | 1.1.2024\n",
       "CHECK"},
  };
  for (const auto& c : cases) {
    TempFolder folder;
    std::string error = Build(folder, c.source);
    EXPECT_NE(error.find(c.expected), std::string::npos) << c.source << "\n-> " << error;
    EXPECT_FALSE(std::filesystem::exists(folder.File("Z.db"))) << "no file from a failed build";
    EXPECT_FALSE(std::filesystem::exists(folder.File("Z.db.part"))) << "no half-built file left";
  }
}

TEST(CatalogueSource, FailedBuildKeepsThePreviousFile) {
  TempFolder folder;
  ASSERT_EQ(Build(folder, std::string(kHeader) + kItem), "");
  EXPECT_NE(Build(folder, std::string(kHeader) + "[item]\nid = bad\n"), "");
  Database* db = Database::Open(folder.Path().c_str(), 'Z');
  ASSERT_NE(db, nullptr);
  EXPECT_EQ(db->GoIndexID("ZPV0020-0001"), 0);
  Database::Close(db);
}

TEST(CatalogueSource, SampleSourceBuildsAReadableCatalogue) {
  TempFolder folder;
  std::string error;
  ASSERT_TRUE(BuildCatalogueFile(JOV_SOURCE_DIR "/platform/catalogue/data/T.cat",
                                 folder.File("T.db").c_str(), error))
      << error;
  Database* db = Database::Open(folder.Path().c_str(), 'T');
  ASSERT_NE(db, nullptr);
  EXPECT_EQ(db->GoIndexID("TOT0600i0001"), 0);
  Database::Close(db);

  EXPECT_FALSE(
      BuildCatalogueFile(folder.File("missing.cat").c_str(), folder.File("X.db").c_str(), error));
  EXPECT_NE(error.find("cannot read"), std::string::npos);
}
