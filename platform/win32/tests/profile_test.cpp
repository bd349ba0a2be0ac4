#include "platform/win32/profile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

class Profile : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "profile-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root = pattern;
    fs::create_directory(root / "Dat");
    file = root.string() + "\\Dat\\Jov.ini";
  }
  void TearDown() override { fs::remove_all(root); }

  void WriteFile(const std::string& bytes) {
    std::ofstream(root / "Dat/Jov.ini", std::ios::binary) << bytes;
  }
  std::string ReadFile() const {
    std::ifstream in(root / "Dat/Jov.ini", std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::string Get(const char* section, const char* key, const char* def = "def") {
    char buf[256];
    GetPrivateProfileStringA(section, key, def, buf, sizeof buf, file.c_str());
    return buf;
  }

  fs::path root;
  std::string file;
};

TEST_F(Profile, ReadsValuesWithoutRegardToCase) {
  WriteFile(
      "; comment\r\n"
      "[Cut_Dlg]\r\n"
      "  Height = 2.5  \r\n"
      "Mask=\"-&CM \"\n"
      "Half=\"x\n"
      "Empty=\n"
      "[\x8A\x41\x4C]\r\n"  // "ŠAL"
      "\xC8\x41S=7\r\n");   // "ČAS"
  EXPECT_EQ(Get("CUT_DLG", "HEIGHT"), "2.5");
  EXPECT_EQ(Get("cut_dlg", "mask"), "-&CM ") << "quotes removed, inner blanks kept";
  EXPECT_EQ(Get("CUT_DLG", "Half"), "\"x") << "a lone quote stays";
  EXPECT_EQ(Get("CUT_DLG", "Empty"), "");
  EXPECT_EQ(Get("\x9A\x61l", "\xE8\x61s"), "7") << "code page letters fold too";
  EXPECT_EQ(Get("CUT_DLG", "comment"), "def");

  // The file name is matched the same way.
  char buf[8];
  std::string upper = root.string() + "\\DAT\\JOV.INI";
  EXPECT_EQ(GetPrivateProfileStringA("cut_dlg", "height", "", buf, 8, upper.c_str()), 3u);
}

TEST_F(Profile, MissingFileSectionOrKeyGivesTheTrimmedDefault) {
  EXPECT_EQ(Get("S", "K", " spaced \t "), " spaced") << "missing file";
  WriteFile("[S]\r\nK=1\r\n");
  EXPECT_EQ(Get("T", "K", "a "), "a");
  EXPECT_EQ(Get("S", "L", nullptr), "");
  EXPECT_EQ(Get("S", "K", "a "), "1");
}

TEST_F(Profile, TruncatesToTheBuffer) {
  WriteFile("[S]\r\nK=abcdef\r\n");
  char buf[8] = "zzzzzzz";
  EXPECT_EQ(GetPrivateProfileStringA("S", "K", "", buf, 4, file.c_str()), 3u);
  EXPECT_STREQ(buf, "abc");
  EXPECT_EQ(GetPrivateProfileStringA("S", "K", "", buf, 7, file.c_str()), 6u);
  EXPECT_STREQ(buf, "abcdef");
  EXPECT_EQ(GetPrivateProfileStringA("S", "K", "", buf, 6, file.c_str()), 5u);
  EXPECT_STREQ(buf, "abcde");
  EXPECT_EQ(GetPrivateProfileStringA("S", "K", "", buf, 1, file.c_str()), 0u);
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(GetPrivateProfileStringA("S", "X", "12345", buf, 3, file.c_str()), 2u);
  EXPECT_STREQ(buf, "12");
  EXPECT_EQ(GetPrivateProfileStringA("S", "K", "", nullptr, 8, file.c_str()), 0u);
}

TEST_F(Profile, ListsSectionsAndKeys) {
  WriteFile("[One]\r\nA=1\r\n;B=2\r\nbare line\r\nLong=3\r\n[Two]\r\n");
  char buf[32];
  ASSERT_EQ(GetPrivateProfileStringA(nullptr, "ignored", "d", buf, sizeof buf, file.c_str()), 8u);
  EXPECT_EQ(std::string(buf, 9), std::string("One\0Two\0\0", 9));
  ASSERT_EQ(GetPrivateProfileStringA("ONE", nullptr, "d", buf, sizeof buf, file.c_str()), 7u);
  EXPECT_EQ(std::string(buf, 8), std::string("A\0Long\0\0", 8));

  // "A\0Long\0\0" needs 8: with 7 the last name is cut to fit two NULs.
  ASSERT_EQ(GetPrivateProfileStringA("One", nullptr, "", buf, 7, file.c_str()), 5u);
  EXPECT_EQ(std::string(buf, 7), std::string("A\0Lon\0\0", 7));
  // Cut just after a whole name.
  ASSERT_EQ(GetPrivateProfileStringA("One", nullptr, "", buf, 3, file.c_str()), 1u);
  EXPECT_EQ(std::string(buf, 3), std::string("A\0\0", 3));
  ASSERT_EQ(GetPrivateProfileStringA("One", nullptr, "", buf, 4, file.c_str()), 2u);
  EXPECT_EQ(std::string(buf, 4), std::string("A\0\0\0", 4));

  ASSERT_EQ(GetPrivateProfileStringA("Two", nullptr, "d", buf, sizeof buf, file.c_str()), 0u);
  EXPECT_EQ(std::string(buf, 2), std::string("\0\0", 2));
  fs::remove(root / "Dat/Jov.ini");
  ASSERT_EQ(GetPrivateProfileStringA(nullptr, nullptr, "d", buf, sizeof buf, file.c_str()), 0u);
  EXPECT_EQ(std::string(buf, 2), std::string("\0\0", 2));
}

TEST_F(Profile, FirstWriteCreatesTheFileWithCrlf) {
  EXPECT_TRUE(WritePrivateProfileStringA("VANTRIX", "LAST_FILE", "a.cp", file.c_str()));
  EXPECT_EQ(ReadFile(), "[VANTRIX]\r\nLAST_FILE=a.cp\r\n");
  EXPECT_TRUE(WritePrivateProfileStringA("VIEW", "BGCOLOR", "1", file.c_str()));
  EXPECT_EQ(ReadFile(), "[VANTRIX]\r\nLAST_FILE=a.cp\r\n[VIEW]\r\nBGCOLOR=1\r\n");

  const std::string elsewhere = root.string() + "\\None\\Jov.ini";
  EXPECT_FALSE(WritePrivateProfileStringA("S", "K", "v", elsewhere.c_str()));
  EXPECT_FALSE(fs::exists(root / "None")) << "the folder is not created";
}

TEST_F(Profile, WritingKeepsEveryOtherLine) {
  WriteFile(
      "; settings\n"
      "[CUT_DLG]\n"
      "HEIGHT = 2.5\n"
      "  ; note\n"
      "DIST=1\n"
      "\n"
      "[DESC]\n"
      "LAYER=0\n");
  ASSERT_TRUE(WritePrivateProfileStringA("cut_dlg", "height", "3", file.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringA("CUT_DLG", "NEW", "x y", file.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringA("desc", "LAYER", "0", file.c_str()));
  EXPECT_EQ(ReadFile(),
            "; settings\r\n"
            "[CUT_DLG]\r\n"
            "HEIGHT=3\r\n"
            "  ; note\r\n"
            "DIST=1\r\n"
            "NEW=x y\r\n"
            "\r\n"
            "[DESC]\r\n"
            "LAYER=0\r\n");
  EXPECT_EQ(Get("CUT_DLG", "height"), "3");
}

TEST_F(Profile, BlanksAroundNamesAreNoPartOfThem) {
  WriteFile("[CUT_DLG]\r\nHEIGHT = 2.5\r\n");
  ASSERT_TRUE(WritePrivateProfileStringA(" cut_dlg ", "\theight ", "4", file.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringA("  New  ", " k ", "v", file.c_str()));
  EXPECT_EQ(ReadFile(), "[CUT_DLG]\r\nHEIGHT=4\r\n[New]\r\nk=v\r\n");
  for (const char* section : {"New", " New ", "new\t"})
    for (const char* key : {"k", " k ", "K "}) EXPECT_EQ(Get(section, key), "v") << "[" << section << "] " << key;
  EXPECT_EQ(GetPrivateProfileIntA(" Cut_Dlg", "Height ", 0, file.c_str()), 4u);
  ASSERT_TRUE(WritePrivateProfileStringA("new ", " K", nullptr, file.c_str()));
  EXPECT_EQ(Get("New", "k"), "def");
}

TEST_F(Profile, NullValueDeletesTheKeyNullKeyTheSection) {
  WriteFile("[A]\r\nK=1\r\nk=2\r\nL=3\r\n[B]\r\nK=4\r\n[a]\r\nM=5\r\n");
  ASSERT_TRUE(WritePrivateProfileStringA("A", "K", nullptr, file.c_str()));
  EXPECT_EQ(ReadFile(), "[A]\r\nL=3\r\n[B]\r\nK=4\r\n[a]\r\nM=5\r\n")
      << "every spelling of the key goes";
  ASSERT_TRUE(WritePrivateProfileStringA("a", nullptr, nullptr, file.c_str()));
  EXPECT_EQ(ReadFile(), "[B]\r\nK=4\r\n") << "every section of the name goes";
  EXPECT_EQ(Get("A", "M"), "def");

  // Deleting what is not there does not create the file.
  fs::remove(root / "Dat/Jov.ini");
  EXPECT_TRUE(WritePrivateProfileStringA("A", "K", nullptr, file.c_str()));
  EXPECT_TRUE(WritePrivateProfileStringA("A", nullptr, nullptr, file.c_str()));
  EXPECT_FALSE(fs::exists(root / "Dat/Jov.ini"));
}

TEST_F(Profile, WritesThroughAndLeavesNoTemporaries) {
  ASSERT_TRUE(WritePrivateProfileStringA("S", "K", "1", file.c_str()));
  chmod((root / "Dat/Jov.ini").c_str(), 0640);
  // Changes made by others are seen by the next call.
  WriteFile("[S]\r\nK=2\r\n");
  EXPECT_EQ(Get("S", "K"), "2");
  ASSERT_TRUE(WritePrivateProfileStringA("S", "L", "3", file.c_str()));
  EXPECT_EQ(ReadFile(), "[S]\r\nK=2\r\nL=3\r\n");

  int entries = 0;
  for (const auto& e : fs::directory_iterator(root / "Dat")) {
    ++entries;
    EXPECT_EQ(e.path().filename(), "Jov.ini");
  }
  EXPECT_EQ(entries, 1);
  struct stat st;
  ASSERT_EQ(stat((root / "Dat/Jov.ini").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u) << "the file's mode survives the rewrite";
}

TEST_F(Profile, WritesThroughALinkIntoItsTarget) {
  WriteFile("[S]\r\nK=1\r\n");
  fs::create_symlink(root / "Dat/Jov.ini", root / "Dat/Link.ini");
  const std::string link = root.string() + "\\Dat\\Link.ini";
  ASSERT_TRUE(WritePrivateProfileStringA("S", "K", "2", link.c_str()));
  EXPECT_TRUE(fs::is_symlink(root / "Dat/Link.ini"));
  EXPECT_EQ(ReadFile(), "[S]\r\nK=2\r\n");
}

TEST_F(Profile, ASectionIsReadAndReplacedInOnePiece) {
  WriteFile("[A]\r\nx=1\r\n[VANTRIX]\r\n; note\r\n Last = \"5\" \r\nloose\r\n\r\n[B]\r\ny=2\r\n");
  char buffer[64];
  const DWORD n = GetPrivateProfileSectionA("vantrix", buffer, sizeof buffer, file.c_str());
  EXPECT_EQ(std::string(buffer, n + 1), std::string("Last=\"5\"\0loose\0\0", 16));
  // Every line of the section goes; the blank line before the next stays.
  ASSERT_TRUE(WritePrivateProfileSectionA("Vantrix", "K=1\0L=\0", file.c_str()));
  ASSERT_TRUE(WritePrivateProfileSectionA("New", "M=2\0", file.c_str()));
  EXPECT_EQ(ReadFile(), "[A]\r\nx=1\r\n[VANTRIX]\r\nK=1\r\nL=\r\n\r\n[B]\r\ny=2\r\n[New]\r\nM=2\r\n");
}

// What stands where the file should be and cannot be read whole (a
// device that reads endlessly, a file past any settings file's size)
// gives the defaults and takes no write: the write would lose it.
TEST_F(Profile, AFileThatCannotBeReadWholeGivesDefaultsAndTakesNoWrite) {
  const fs::path path = root / "Dat/Jov.ini";
  const std::function<void()> stands[] = {
      [&] { fs::create_symlink("/dev/zero", path); },
      [&] {
        WriteFile("[A]\r\nB=kept\r\n");
        fs::resize_file(path, (size_t{64} << 20) + 1);
      }};
  for (const auto& stand : stands) {
    fs::remove(path);
    stand();
    const auto size = fs::is_symlink(path) ? 0 : fs::file_size(path);
    EXPECT_EQ(Get("A", "B"), "def");
    EXPECT_FALSE(WritePrivateProfileStringA("A", "C", "new", file.c_str()));
    EXPECT_EQ(fs::is_symlink(path) ? 0 : fs::file_size(path), size);
  }
}

TEST_F(Profile, ReadsLeadingIntegers) {
  WriteFile(
      "[S]\r\nA=42\r\nB= -7 \r\nC=0x1F\r\nD=12abc\r\nE=abc\r\nF=\r\nG=\"5\"\r\nH=+3\r\n"
      "I=4294967295\r\n");
  const char* f = file.c_str();
  EXPECT_EQ(GetPrivateProfileIntA("S", "A", 9, f), 42u);
  EXPECT_EQ(static_cast<int>(GetPrivateProfileIntA("S", "B", 9, f)), -7);
  EXPECT_EQ(GetPrivateProfileIntA("S", "C", 9, f), 31u);
  EXPECT_EQ(GetPrivateProfileIntA("S", "D", 9, f), 12u);
  EXPECT_EQ(GetPrivateProfileIntA("S", "E", 9, f), 0u) << "present but not a number";
  EXPECT_EQ(GetPrivateProfileIntA("S", "F", 9, f), 9u) << "empty";
  EXPECT_EQ(GetPrivateProfileIntA("S", "G", 9, f), 5u);
  EXPECT_EQ(GetPrivateProfileIntA("S", "H", 9, f), 3u);
  EXPECT_EQ(static_cast<int>(GetPrivateProfileIntA("S", "I", 9, f)), -1);
  EXPECT_EQ(static_cast<int>(GetPrivateProfileIntA("S", "Z", -2, f)), -2);
}

}  // namespace
