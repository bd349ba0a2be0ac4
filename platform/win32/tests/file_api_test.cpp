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

TEST_F(FileApiTest, OpenExistingOrAlways) {
  const std::string path = Path("file");
  EXPECT_EQ(Open(path, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  HANDLE h = Open(path, OPEN_ALWAYS);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(h, "abc", 3, &written, nullptr));
  ASSERT_TRUE(CloseHandle(h));
  for (DWORD disposition : {OPEN_ALWAYS, OPEN_EXISTING}) {
    h = Open(path, disposition);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), disposition == OPEN_ALWAYS ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    EXPECT_EQ(GetFileSize(h, nullptr), 3u);  // kept as it was
    CloseHandle(h);
  }
  EXPECT_EQ(Open(Path("folder/missing"), OPEN_ALWAYS), INVALID_HANDLE_VALUE);
  EXPECT_EQ(Open(dir_.string(), OPEN_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(Open(Path("other"), 1), INVALID_HANDLE_VALUE);
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
