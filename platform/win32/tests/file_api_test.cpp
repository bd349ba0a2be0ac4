#include "platform/win32/file_api.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

class FileApiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "fileapi-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Path(const char* name) const { return (dir_ / name).string(); }
  HANDLE Open(const std::string& path, DWORD disposition, DWORD share = 0) const {
    return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  fs::path dir_;
};

TEST_F(FileApiTest, DispositionsOnMissingAndExistingFiles) {
  struct Row {
    DWORD disposition;
    bool exists;
    bool opens;
    DWORD lastError;
    uintmax_t sizeAfter;  // the file held 3 bytes when it existed
  };
  const Row rows[] = {
      {CREATE_NEW, false, true, ERROR_SUCCESS, 0},
      {CREATE_NEW, true, false, ERROR_FILE_EXISTS, 3},
      {CREATE_ALWAYS, false, true, ERROR_SUCCESS, 0},
      {CREATE_ALWAYS, true, true, ERROR_ALREADY_EXISTS, 0},
      {OPEN_EXISTING, false, false, ERROR_FILE_NOT_FOUND, 0},
      {OPEN_EXISTING, true, true, ERROR_SUCCESS, 3},
      {OPEN_ALWAYS, false, true, ERROR_SUCCESS, 0},
      {OPEN_ALWAYS, true, true, ERROR_ALREADY_EXISTS, 3},
      {TRUNCATE_EXISTING, true, true, ERROR_SUCCESS, 0},
  };
  int n = 0;
  for (const Row& row : rows) {
    const std::string path = Path(("f" + std::to_string(n++)).c_str());
    if (row.exists) {
      HANDLE h = Open(path, CREATE_NEW);
      DWORD written = 0;
      ASSERT_TRUE(WriteFile(h, "abc", 3, &written, nullptr));
      ASSERT_TRUE(CloseHandle(h));
    }
    SetLastError(12345);
    HANDLE h = Open(path, row.disposition);
    EXPECT_EQ(h != INVALID_HANDLE_VALUE, row.opens) << "row " << n;
    EXPECT_EQ(GetLastError(), row.lastError) << "row " << n;
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    EXPECT_EQ(fs::exists(path), row.exists || row.opens) << "row " << n;
    if (fs::exists(path)) {
      EXPECT_EQ(fs::file_size(path), row.sizeAfter) << "row " << n;
    }
  }
  EXPECT_EQ(Open(Path("folder/missing"), OPEN_ALWAYS), INVALID_HANDLE_VALUE);
  EXPECT_EQ(Open(dir_.string(), OPEN_EXISTING), INVALID_HANDLE_VALUE);
}

TEST_F(FileApiTest, ShareModeZeroKeepsEveryOtherOpenOut) {
  const std::string path = Path("shared");
  HANDLE reader = Open(path, OPEN_ALWAYS, FILE_SHARE_READ);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  HANDLE second = Open(path, OPEN_ALWAYS, FILE_SHARE_READ | FILE_SHARE_WRITE);
  EXPECT_NE(second, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Open(path, OPEN_ALWAYS, 0), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  CloseHandle(reader);
  CloseHandle(second);

  HANDLE exclusive = Open(path, OPEN_ALWAYS, 0);
  ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Open(path, OPEN_EXISTING, FILE_SHARE_READ), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  EXPECT_TRUE(CloseHandle(exclusive));
  EXPECT_FALSE(CloseHandle(exclusive));  // a closed handle is no handle
  EXPECT_FALSE(CloseHandle(INVALID_HANDLE_VALUE));
}

TEST_F(FileApiTest, PositionsReadsWritesAndTheEnd) {
  HANDLE h = Open(Path("data"), OPEN_ALWAYS);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD done = 0;
  ASSERT_TRUE(WriteFile(h, "0123456789", 10, &done, nullptr));
  EXPECT_EQ(done, 10u);
  EXPECT_EQ(GetFileSize(h, nullptr), 10u);

  EXPECT_EQ(SetFilePointer(h, -3, nullptr, FILE_END), 7u);
  char buffer[8] = {};
  ASSERT_TRUE(ReadFile(h, buffer, sizeof buffer, &done, nullptr));
  EXPECT_EQ(std::string(buffer, done), "789");
  ASSERT_TRUE(ReadFile(h, buffer, sizeof buffer, &done, nullptr));  // at the end: nothing, no failure
  EXPECT_EQ(done, 0u);

  EXPECT_EQ(SetFilePointer(h, -20, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), ERROR_NEGATIVE_SEEK);
  EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_CURRENT), 10u);  // unmoved

  EXPECT_EQ(SetFilePointer(h, 4, nullptr, FILE_BEGIN), 4u);
  ASSERT_TRUE(SetEndOfFile(h));
  EXPECT_EQ(GetFileSize(h, nullptr), 4u);
  EXPECT_EQ(SetFilePointer(h, 6, nullptr, FILE_BEGIN), 6u);
  ASSERT_TRUE(SetEndOfFile(h));  // grows with zeros
  ASSERT_EQ(SetFilePointer(h, 0, nullptr, FILE_BEGIN), 0u);
  ASSERT_TRUE(ReadFile(h, buffer, sizeof buffer, &done, nullptr));
  EXPECT_EQ(std::string(buffer, done), std::string("0123\0\0", 6));
  EXPECT_TRUE(CloseHandle(h));

  EXPECT_EQ(GetFileSize(h, nullptr), INVALID_FILE_SIZE);
  EXPECT_FALSE(ReadFile(h, buffer, 1, &done, nullptr));
  EXPECT_FALSE(WriteFile(h, buffer, 1, &done, nullptr));
}

}  // namespace
