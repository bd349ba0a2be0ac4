#include "platform/win32/resources.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/win32/module_loader.h"
#include "platform/win32/resource_file.h"

namespace fs = std::filesystem;

namespace {

std::vector<BYTE> Bytes(const std::string& text) { return std::vector<BYTE>(text.begin(), text.end()); }

// A resource module written for the test and loaded through LoadLibraryA.
class ResourceModule : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/jov_resources_XXXXXX";
    dir_ = mkdtemp(pattern);
    ResourceTable table;
    table.Add(ResourceKey::Number(kRtString), ResourceKey::Number(17), Bytes("Hello world"));
    table.Add(ResourceKey::Number(kRtString), ResourceKey::Number(18), Bytes("\x8A\xED\xF8ka"));  // cp1250
    table.Add(ResourceKey::Number(kRtGroupIcon), ResourceKey::Number(5001), Bytes("icon bytes"));
    table.Add(ResourceKey::Number(kRtGroupIcon), ResourceKey::Number(5002), Bytes("other icon"));
    table.Add(ResourceKey::Number(kRtGroupCursor), ResourceKey::Name("hand"), Bytes("cursor"));
    table.Add(ResourceKey::Name("GLDATA"), ResourceKey::Number(3), Bytes("\x01\x02\x03"));
    table.Add(ResourceKey::Number(kRtRcData), ResourceKey::Number(4), {});
    std::vector<BYTE> image = SerializeResourceTable(table);
    path_ = dir_ + "/Res.qmr";
    std::ofstream(path_, std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    module_ = LoadLibraryA(path_.c_str());
    ASSERT_NE(module_, nullptr) << LastLoadErrorText();
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
    fs::remove_all(dir_);
  }

  std::string dir_, path_;
  HMODULE module_ = nullptr;
};

}  // namespace

TEST_F(ResourceModule, LoadStringCopiesAndCuts) {
  char buf[32];
  EXPECT_EQ(LoadStringA(module_, 17, buf, sizeof buf), 11);
  EXPECT_STREQ(buf, "Hello world");
  EXPECT_EQ(LoadStringA(module_, 17, buf, 12), 11) << "room for the text and its NUL";
  EXPECT_EQ(LoadStringA(module_, 17, buf, 11), 10);
  EXPECT_STREQ(buf, "Hello worl");
  EXPECT_EQ(LoadStringA(module_, 17, buf, 1), 0);
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(LoadStringA(module_, 18, buf, sizeof buf), 5);
  EXPECT_STREQ(buf, "\x8A\xED\xF8ka") << "code page 1250 bytes as stored";
}

TEST_F(ResourceModule, MissingStringsGiveZeroAndAnEmptyText) {
  char buf[8] = "xxxxxxx";
  SetLastError(0);
  EXPECT_EQ(LoadStringA(module_, 99, buf, sizeof buf), 0);
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
  EXPECT_EQ(LoadStringA(module_, 17, nullptr, 8), 0);
  EXPECT_EQ(LoadStringA(module_, 17, buf, 0), 0);
  EXPECT_EQ(LoadStringA(module_, 0x10011, buf, sizeof buf), 0) << "ids are 16-bit: 0x10011 is not 17";
  EXPECT_EQ(LoadStringA(nullptr, 17, buf, sizeof buf), 0) << "the program has no strings";
}

TEST_F(ResourceModule, FindAndLockResourceData) {
  HRSRC byNumber = FindResourceA(module_, MAKEINTRESOURCEA(3), "GLDATA");
  ASSERT_NE(byNumber, nullptr);
  EXPECT_EQ(FindResourceA(module_, "#3", "gldata"), byNumber) << "\"#3\" is the number, type names ignore case";
  EXPECT_EQ(SizeofResource(module_, byNumber), 3u);
  const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module_, byNumber)));
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(std::memcmp(data, "\x01\x02\x03", 3), 0);

  HRSRC named = FindResourceA(module_, "HAND", RT_GROUP_CURSOR);
  EXPECT_NE(named, nullptr);
  EXPECT_EQ(FindResourceA(module_, "Hand", RT_GROUP_CURSOR), named);

  HRSRC empty = FindResourceA(module_, MAKEINTRESOURCEA(4), RT_RCDATA);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(SizeofResource(module_, empty), 0u);
  EXPECT_NE(LoadResource(module_, empty), nullptr) << "an empty resource still loads";

  SetLastError(0);
  EXPECT_EQ(FindResourceA(module_, MAKEINTRESOURCEA(3), RT_RCDATA), nullptr) << "wrong type";
  EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
  EXPECT_EQ(FindResourceA(nullptr, MAKEINTRESOURCEA(3), "GLDATA"), nullptr);
  EXPECT_EQ(LoadResource(nullptr, byNumber), nullptr) << "a resource is loaded from its own module";
}

TEST_F(ResourceModule, ResourcesOfAnotherModuleAreRefused) {
  ResourceTable other;
  other.Add(ResourceKey::Number(kRtRcData), ResourceKey::Number(1), Bytes("x"));
  std::vector<BYTE> image = SerializeResourceTable(other);
  const std::string otherPath = dir_ + "/Other.qmr";
  std::ofstream(otherPath, std::ios::binary)
      .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
  HMODULE second = LoadLibraryA(otherPath.c_str());
  ASSERT_NE(second, nullptr);
  HRSRC theirs = FindResourceA(second, MAKEINTRESOURCEA(1), RT_RCDATA);
  ASSERT_NE(theirs, nullptr);
  SetLastError(0);
  EXPECT_EQ(LoadResource(module_, theirs), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(SizeofResource(module_, theirs), 0u);
  FreeLibrary(second);
}

TEST_F(ResourceModule, IconsAreSharedPerResource) {
  HICON icon = LoadIconA(module_, MAKEINTRESOURCEA(5001));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(LoadIconA(module_, MAKEINTRESOURCEA(5001)), icon) << "the same resource, the same handle";
  EXPECT_NE(LoadIconA(module_, MAKEINTRESOURCEA(5002)), icon);
  EXPECT_EQ(icon->module, module_);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(icon->Bytes()), icon->Size()), "icon bytes");
  EXPECT_EQ(LoadIconA(module_, MAKEINTRESOURCEA(5003)), nullptr);
  EXPECT_TRUE(DestroyIcon(icon));
  EXPECT_EQ(LoadIconA(module_, MAKEINTRESOURCEA(5001)), icon) << "shared icons survive DestroyIcon";

  HCURSOR cursor = LoadCursorA(module_, "hand");
  ASSERT_NE(cursor, nullptr);
  EXPECT_EQ(cursor->Size(), 6u);
  EXPECT_EQ(LoadCursorA(module_, MAKEINTRESOURCEA(5001)), nullptr) << "an icon is no cursor";
}

TEST(Resources, StockImagesNeedNoModule) {
  HICON question = LoadIconA(nullptr, IDI_QUESTION);
  ASSERT_NE(question, nullptr);
  EXPECT_EQ(question->stockId, 32514);
  EXPECT_EQ(LoadIconA(nullptr, IDI_QUESTION), question);
  EXPECT_NE(LoadIconA(nullptr, IDI_ERROR), question);
  EXPECT_EQ(LoadIconA(nullptr, MAKEINTRESOURCEA(5001)), nullptr);

  HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  ASSERT_NE(arrow, nullptr);
  EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), arrow);
  EXPECT_NE(LoadCursorA(nullptr, IDC_WAIT), arrow);
  EXPECT_NE(LoadCursorA(nullptr, IDC_SIZEALL), nullptr);
  EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCEA(32647)), nullptr) << "no stock cursor has that number";
  EXPECT_EQ(arrow->Bytes(), nullptr);
}

TEST(Resources, CodeModulesHoldNoResources) {
  std::string path = std::string(JOV_TEST_PLUGIN_DIR) + "/Jov_TestPlain.dll";
  HMODULE code = LoadLibraryA(path.c_str());
  ASSERT_NE(code, nullptr);
  char buf[8];
  EXPECT_EQ(LoadStringA(code, 17, buf, sizeof buf), 0);
  EXPECT_EQ(FindResourceA(code, MAKEINTRESOURCEA(1), RT_RCDATA), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_RESOURCE_DATA_NOT_FOUND);
  FreeLibrary(code);
}
