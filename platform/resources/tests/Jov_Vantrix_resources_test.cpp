// The plug-in's resource file as built: every id its code asks for is there.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/resources/jov_vantrix/resource_ids.h"
#include "platform/win32/module_loader.h"
#include "platform/win32/resources.h"

namespace {

class JovVantrixResources : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* dir = std::getenv("JOV_MODULE_DIR");
    std::string base = dir ? dir
                           : (std::filesystem::canonical("/proc/self/exe").parent_path().parent_path() / "bin")
                                 .string();
    module_ = LoadLibraryA((base + "\\Jov_Vantrix.qmr").c_str());
    ASSERT_NE(module_, nullptr) << LastLoadErrorText();
  }
  void TearDown() override { FreeLibrary(module_); }

  std::string Text(UINT id) {
    char buf[1024];
    int n = LoadStringA(module_, id, buf, sizeof buf);
    return std::string(buf, static_cast<size_t>(n));
  }

  HMODULE module_ = nullptr;
};

}  // namespace

TEST_F(JovVantrixResources, EveryMessageOfTheCommandsExists) {
  for (UINT id : {17, 20, 21, 26, 30, 41, 42, 47, 53, 56}) {
    std::string text = Text(id);
    EXPECT_GT(text.size(), 10u) << "string " << id;
    // Texts may be used as a format with one argument: no stray '%'.
    EXPECT_EQ(text.find('%'), std::string::npos) << "string " << id;
  }
  EXPECT_EQ(Text(IDS_RESET_EXPORT_NUMBERS).back(), '?') << "asked with Yes and No";
}

TEST_F(JovVantrixResources, ImportFilterIsAWindowsFilter) {
  const std::string filter = Text(IDS_FILTER_RESULT_FILES);
  ASSERT_GE(filter.size(), 2u);
  EXPECT_EQ(filter.substr(filter.size() - 2), "||");
  // Pairs of description and pattern: an even number of '|' before the end.
  size_t bars = 0;
  for (char c : filter.substr(0, filter.size() - 2)) bars += c == '|';
  EXPECT_EQ(bars % 2, 1u) << filter;
  EXPECT_NE(filter.find("*.*"), std::string::npos) << "every file can be chosen";
}

TEST_F(JovVantrixResources, DialogIconIsARealIcon) {
  HICON icon = LoadIconA(module_, MAKEINTRESOURCEA(IDI_JOV_VANTRIX));
  ASSERT_NE(icon, nullptr);
  ASSERT_GE(icon->Size(), 6u + 16u);
  const BYTE* d = icon->Bytes();
  EXPECT_EQ(d[2], 1) << "an icon directory";
  EXPECT_GE(d[4], 1) << "with images";
}
