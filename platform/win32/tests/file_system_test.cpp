// Folder and file calls: their results and last-error codes, on the
// system's '\'-separated paths found without regard to case.
#include "platform/win32/file_system.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "platform/win32/error_codes.h"

namespace fs = std::filesystem;

namespace {

class FileSystemCalls : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "filesys-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root = pattern;
  }
  void TearDown() override { fs::remove_all(root); }

  std::string Win(const std::string& relative) const { return root.string() + "\\" + relative; }
  void Put(const std::string& relative, const std::string& text) const {
    std::ofstream(root / relative, std::ios::binary) << text;
  }
  std::string Read(const std::string& relative) const {
    std::ifstream in(root / relative, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  // The call's result and the last error it left (0 after success).
  template <typename Call>
  std::pair<BOOL, DWORD> Run(Call call) const {
    SetLastError(0);
    const BOOL result = call() ? TRUE : FALSE;
    return {result, result ? 0 : GetLastError()};
  }

  fs::path root;
};

using Result = std::pair<BOOL, DWORD>;

TEST_F(FileSystemCalls, FoldersReportWhyTheyCannotBeMade) {
  Put("file", "x");
  fs::create_directory(root / "Dat");
  EXPECT_EQ(Run([&] { return CreateDirectoryA(Win("new").c_str(), nullptr); }), Result(TRUE, 0));
  EXPECT_TRUE(fs::is_directory(root / "new"));
  EXPECT_EQ(Run([&] { return CreateDirectoryA(Win("NEW").c_str(), nullptr); }), Result(FALSE, ERROR_ALREADY_EXISTS));
  EXPECT_EQ(Run([&] { return CreateDirectoryA(Win("file").c_str(), nullptr); }), Result(FALSE, ERROR_ALREADY_EXISTS));
  EXPECT_EQ(Run([&] { return CreateDirectoryA(Win("a\\b").c_str(), nullptr); }), Result(FALSE, ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(Run([&] { return CreateDirectoryA(Win("file\\b").c_str(), nullptr); }),
            Result(FALSE, ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(Run([&] { return CreateDirectoryA(Win("DAT\\Vantrix").c_str(), nullptr); }), Result(TRUE, 0));
  EXPECT_TRUE(fs::is_directory(root / "Dat" / "Vantrix"));
  EXPECT_EQ(Run([&] { return CreateDirectoryA("", nullptr); }), Result(FALSE, ERROR_INVALID_PARAMETER));
}

TEST_F(FileSystemCalls, MovesReplaceOnlyWhenAskedAndDeletesOnlyFiles) {
  Put("a", "new");
  Put("B", "old");
  EXPECT_EQ(Run([&] { return MoveFileExA(Win("a").c_str(), Win("b").c_str(), 0); }),
            Result(FALSE, ERROR_ALREADY_EXISTS));
  EXPECT_EQ(Read("a"), "new");
  EXPECT_EQ(Run([&] {
              return MoveFileExA(Win("A").c_str(), Win("b").c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
            }),
            Result(TRUE, 0));
  EXPECT_EQ(Read("B"), "new") << "the existing entry is replaced, whatever the letter case asked";
  EXPECT_FALSE(fs::exists(root / "a"));
  EXPECT_EQ(Run([&] { return MoveFileExA(Win("B").c_str(), Win("c").c_str(), 0); }), Result(TRUE, 0));
  EXPECT_EQ(Read("c"), "new");
  EXPECT_EQ(Run([&] { return MoveFileExA(Win("gone").c_str(), Win("d").c_str(), 0); }),
            Result(FALSE, ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(Run([&] { return MoveFileExA(Win("c").c_str(), Win("d").c_str(), 0x2); }),
            Result(FALSE, ERROR_INVALID_PARAMETER))
      << "copying across volumes is not supported";

  fs::create_directory(root / "folder");
  EXPECT_EQ(Run([&] { return DeleteFileA(Win("folder").c_str()); }), Result(FALSE, ERROR_ACCESS_DENIED));
  EXPECT_EQ(Run([&] { return DeleteFileA(Win("C").c_str()); }), Result(TRUE, 0));
  EXPECT_EQ(Run([&] { return DeleteFileA(Win("c").c_str()); }), Result(FALSE, ERROR_FILE_NOT_FOUND));
}

TEST_F(FileSystemCalls, AttributesTellFoldersFilesAndNothing) {
  Put("locked", "x");
  fs::permissions(root / "locked", fs::perms::all, fs::perm_options::remove);
  fs::create_directory(root / "Dat");
  EXPECT_EQ(GetFileAttributesA(Win("DAT").c_str()), FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(GetFileAttributesA(Win("Locked").c_str()), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(GetFileAttributesA(Win("none").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(FileSystemCalls, TemporaryFilesAreNewEmptyAndNamedAfterTheirPrefix) {
  std::set<std::string> names;
  for (int i = 0; i < 20; ++i) {
    char name[MAX_PATH] = "";
    const UINT number = GetTempFileNameA(root.string().c_str(), "vtxLONG", 0, name);
    ASSERT_NE(number, 0u);
    char expected[MAX_PATH];
    std::snprintf(expected, sizeof expected, "%s\\vtx%X.tmp", root.string().c_str(), number);
    EXPECT_EQ(std::string(name), expected);
    names.insert(name);
  }
  EXPECT_EQ(names.size(), 20u);
  size_t files = 0;
  for (const auto& e : fs::directory_iterator(root)) files += fs::file_size(e.path()) == 0 ? 1 : 0;
  EXPECT_EQ(files, 20u);

  char name[MAX_PATH] = "unchanged";
  EXPECT_EQ(GetTempFileNameA(Win("missing").c_str(), "vtx", 0, name), 0u);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(GetTempFileNameA(root.string().c_str(), "vtx", 7, name), 0u) << "a chosen number is not supported";
  EXPECT_EQ(std::string(name), "unchanged");
}

}  // namespace
