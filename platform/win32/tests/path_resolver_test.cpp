#include "platform/win32/path_resolver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

class PathResolver : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "resolver-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root = pattern;
  }
  void TearDown() override { fs::remove_all(root); }

  void Touch(const fs::path& relative) {
    fs::create_directories((root / relative).parent_path());
    std::ofstream(root / relative) << "x";
  }
  // The root in the system's own spelling, with a '\' at the end.
  std::string Win() const { return root.string() + "\\"; }
  std::string Real(const std::string& relative) const { return (root / relative).string(); }

  fs::path root;
};

TEST_F(PathResolver, MapsSeparatorsAndFindsNamesWithoutRegardToCase) {
  Touch("Dat/Jov.ini");
  EXPECT_EQ(ResolvePath(Win() + "Dat\\Jov.ini"), Real("Dat/Jov.ini"));
  EXPECT_EQ(ResolvePath(Win() + "DAT\\JOV.INI"), Real("Dat/Jov.ini"));
  EXPECT_EQ(ResolvePath(Win() + "dat/jov.ini"), Real("Dat/Jov.ini"));
}

TEST_F(PathResolver, KeepsMissingComponentsAsGiven) {
  Touch("Dat/Jov.ini");
  EXPECT_EQ(ResolvePath(Win() + "DAT\\New.ini"), Real("Dat/New.ini"));
  EXPECT_EQ(ResolvePath(Win() + "Missing\\DAT\\Jov.INI"), Real("Missing/DAT/Jov.INI"))
      << "nothing under a missing folder is looked up";
  EXPECT_EQ(ResolvePath(Win() + "DAT\\"), Real("Dat/"));
}

TEST_F(PathResolver, MatchesCodePageLettersAndConvertsToUtf8) {
  Touch("P\xC5\x99\xC3\xADklad.ini");  // "Příklad.ini" on disk, UTF-8
  // "PŘÍKLAD.INI" in code page 1250.
  EXPECT_EQ(ResolvePath(Win() + "P\xD8\xCDKLAD.INI"), Real("P\xC5\x99\xC3\xADklad.ini"));
  // A name that does not exist is still converted to UTF-8.
  EXPECT_EQ(ResolvePath(Win() + "\x8Akoda.ini"), Real("\xC5\xA0koda.ini"));
  EXPECT_EQ(FileNameToCp1250("P\xC5\x99\xC3\xADklad.ini"), "P\xF8\xEDklad.ini");
}

TEST_F(PathResolver, IgnoresNamesWithoutACodePageForm) {
  Touch("\xE4\xB8\xAD.ini");  // a CJK character, which the page lacks
  EXPECT_EQ(ResolvePath(Win() + "?.ini"), Real("?.ini"));
}

TEST_F(PathResolver, PrefersTheExactNameAmongCaseTwins) {
  Touch("jov.ini");
  Touch("JOV.INI");
  EXPECT_EQ(ResolvePath(Win() + "jov.ini"), Real("jov.ini"));
  EXPECT_EQ(ResolvePath(Win() + "JOV.INI"), Real("JOV.INI"));
  EXPECT_EQ(ResolvePath(Win() + "Jov.ini"), Real("JOV.INI")) << "first by bytes";
}

TEST_F(PathResolver, SeesRenamesAtOnce) {
  Touch("Dat/Jov.ini");
  EXPECT_EQ(ResolvePath(Win() + "dat\\jov.ini"), Real("Dat/Jov.ini"));
  fs::rename(root / "Dat/Jov.ini", root / "Dat/JOV.INI");
  EXPECT_EQ(ResolvePath(Win() + "dat\\jov.ini"), Real("Dat/JOV.INI"));
}

TEST_F(PathResolver, OpensAndCreatesThroughTheResolver) {
  Touch("Dat/Jov.ini");
  FILE* f = OpenResolved(Win() + "DAT\\JOV.INI", "rb");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(std::fgetc(f), 'x');
  std::fclose(f);

  f = OpenResolved(Win() + "DAT\\Nov\xE1.ini", "wb");  // "Nová.ini"
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  EXPECT_TRUE(fs::exists(root / "Dat/Nov\xC3\xA1.ini"));
  EXPECT_EQ(OpenResolved(Win() + "None\\x.ini", "wb"), nullptr) << "folders are not created";
}

}  // namespace
