#include "platform/win32/registry.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <csignal>

#include <filesystem>
#include <fstream>
#include <cstring>
#include <string>

namespace {

class Registry : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "registry-XXXXXX").string();
    folder_ = mkdtemp(pattern.data());
    SetRegistryFolder(folder_);
  }
  void TearDown() override {
    SetRegistryFolder("");
    std::filesystem::remove_all(folder_);
  }
  std::string folder_;
};

TEST_F(Registry, ValuesOfEveryTypeRoundTripThroughTheFile) {
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Software\\Maker\\Product", &key), ERROR_FILE_NOT_FOUND);
  ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "Software\\Maker\\Product", &key), ERROR_SUCCESS);
  const BYTE binary[] = {0, 1, 0xFF, '"', '='};
  const DWORD number = 0xDEADBEEF;
  const char text[] = "a=b \"quoted\" %20 \xE8";  // code page 1250 letter
  struct Value {
    const char* name;
    DWORD type;
    const BYTE* data;
    DWORD size;
  } const values[] = {{"Bytes", REG_BINARY, binary, sizeof binary},
                      {"Number", REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4},
                      {"Te=xt", REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text},
                      {"", REG_SZ, reinterpret_cast<const BYTE*>("default"), 8},
                      {"Empty", REG_BINARY, nullptr, 0}};
  for (const Value& v : values) ASSERT_EQ(RegSetValueExA(key, v.name, 0, v.type, v.data, v.size), ERROR_SUCCESS);
  RegCloseKey(key);

  // Another spelling of the key and the names, read back from the file.
  ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "SOFTWARE\\maker", &key), ERROR_SUCCESS);
  HKEY product = nullptr;
  ASSERT_EQ(RegOpenKeyA(key, "pRODUCT", &product), ERROR_SUCCESS);
  for (const Value& v : values) {
    BYTE out[64] = {};
    DWORD size = sizeof out, type = 0;
    std::string upper = v.name;
    for (char& c : upper) c = static_cast<char>(toupper(c));
    ASSERT_EQ(RegQueryValueExA(product, upper.c_str(), nullptr, &type, out, &size), ERROR_SUCCESS) << v.name;
    EXPECT_EQ(type, v.type);
    ASSERT_EQ(size, v.size);
    if (size) {
      EXPECT_EQ(std::memcmp(out, v.data, size), 0) << v.name;
    }
  }
  DWORD size = 2;
  BYTE small[2];
  EXPECT_EQ(RegQueryValueExA(product, "Bytes", nullptr, nullptr, small, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, sizeof binary);
  size = 0;
  EXPECT_EQ(RegQueryValueExA(product, "Bytes", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, sizeof binary);
  EXPECT_EQ(RegQueryValueExA(product, "Missing", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteValueA(product, "NUMBER"), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExA(product, "Number", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  RegCloseKey(product);
  RegCloseKey(key);
  EXPECT_EQ(RegCloseKey(product), ERROR_INVALID_HANDLE);
  EXPECT_TRUE(std::filesystem::exists(folder_ + "/HKEY_CURRENT_USER.reg"));
  EXPECT_FALSE(std::filesystem::exists(folder_ + "/HKEY_LOCAL_MACHINE.reg")) << "roots are apart";
}

TEST_F(Registry, AFailedSaveKeepsTheOldHiveAndLeavesNoTemporaryFile) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "Software\\Maker", &key), ERROR_SUCCESS);
  const BYTE one = 1;
  ASSERT_EQ(RegSetValueExA(key, "Value", 0, REG_BINARY, &one, 1), ERROR_SUCCESS);
  const std::string hive = folder_ + "/HKEY_CURRENT_USER.reg";
  std::ifstream before(hive, std::ios::binary);
  const std::string old((std::istreambuf_iterator<char>(before)), std::istreambuf_iterator<char>());
  // A disk that takes no more than a few bytes: the write fails.
  rlimit limit{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
  rlimit small = limit;
  small.rlim_cur = 8;
  signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const LSTATUS status = RegSetValueExA(key, "Another", 0, REG_BINARY, &one, 1);
  setrlimit(RLIMIT_FSIZE, &limit);
  EXPECT_EQ(status, ERROR_ACCESS_DENIED);
  RegCloseKey(key);
  for (const auto& entry : std::filesystem::directory_iterator(folder_))
    EXPECT_EQ(entry.path(), hive) << "left behind";
  std::ifstream after(hive, std::ios::binary);
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(after)), std::istreambuf_iterator<char>()), old);
}

// A hive that cannot be read whole (here past any hive's size) takes no
// key or value: saving over it would lose every key it holds.
TEST_F(Registry, AHiveThatCannotBeReadWholeTakesNoChange) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "Software\\Maker", &key), ERROR_SUCCESS);
  const std::string hive = folder_ + "/HKEY_CURRENT_USER.reg";
  std::filesystem::resize_file(hive, (size_t{64} << 20) + 1);
  const BYTE one = 1;
  EXPECT_EQ(RegSetValueExA(key, "Value", 0, REG_BINARY, &one, 1), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteValueA(key, "Value"), ERROR_ACCESS_DENIED);
  HKEY other = nullptr;
  EXPECT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "Software\\Other", &other), ERROR_ACCESS_DENIED);
  RegCloseKey(key);
  EXPECT_EQ(std::filesystem::file_size(hive), (size_t{64} << 20) + 1);
}

TEST_F(Registry, AReadOnlyKeyRefusesChangesAndADamagedLineIsSkipped) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, "A\\B", &key), ERROR_SUCCESS);
  const BYTE one = 1;
  ASSERT_EQ(RegSetValueExA(key, "Kept", 0, REG_BINARY, &one, 1), ERROR_SUCCESS);
  RegCloseKey(key);
  {
    std::ofstream damage(folder_ + "/HKEY_LOCAL_MACHINE.reg", std::ios::app);
    damage << "\"Broken\"=3:0G\n\"Half=3:01\n";
  }
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "a\\b", 0, KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExA(key, "Kept", 0, REG_BINARY, &one, 1), ERROR_ACCESS_DENIED);
  BYTE value = 0;
  DWORD size = 1;
  EXPECT_EQ(RegQueryValueExA(key, "Kept", nullptr, nullptr, &value, &size), ERROR_SUCCESS);
  EXPECT_EQ(value, 1);
  EXPECT_EQ(RegQueryValueExA(key, "Broken", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  RegCloseKey(key);
  EXPECT_EQ(RegOpenKeyA(reinterpret_cast<HKEY>(0x1234), "x", &key), ERROR_INVALID_HANDLE);
}

TEST_F(Registry, CreateExTellsWhetherTheKeyWasMadeAndKeepsItsAccess) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Maker\\Dialog", 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_READ, nullptr, &key, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  const DWORD one = 1;
  EXPECT_EQ(RegSetValueExA(key, "Switch", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4), ERROR_ACCESS_DENIED)
      << "created, but opened for reading";
  RegCloseKey(key);
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "software\\maker\\DIALOG", 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, &key, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
  EXPECT_EQ(RegSetValueExA(key, "Switch", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "x", 0, nullptr, 0, KEY_READ, nullptr, nullptr, &disposition),
            ERROR_INVALID_PARAMETER);
}

TEST_F(Registry, ALongTextIsAskedForAgainWithTheSizeNeededAndSeededValuesAreThere) {
  const std::string path(2999, 'p');
  ASSERT_EQ(SeedRegistryValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Maker\\App Paths\\Calc", "Path", REG_SZ,
                              path.c_str(), static_cast<DWORD>(path.size() + 1)),
            ERROR_SUCCESS);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Maker\\App Paths\\Calc", 0, KEY_READ, &key),
            ERROR_SUCCESS);
  std::string buffer(1024, '\0');
  DWORD size = static_cast<DWORD>(buffer.size()), type = 0;
  ASSERT_EQ(RegQueryValueExA(key, "Path", nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size),
            ERROR_MORE_DATA);
  EXPECT_EQ(size, 3000u);
  buffer.assign(size, '\0');
  ASSERT_EQ(RegQueryValueExA(key, "Path", nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(buffer.c_str(), path);
  RegCloseKey(key);
}

}  // namespace
