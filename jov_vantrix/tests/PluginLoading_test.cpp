// The real plug-in library, loaded into this process next to a test host.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "jov_vantrix/tests/TestHosts.h"

namespace fs = std::filesystem;

namespace {

// A folder holding a copy of the plug-in and, as asked, its companions. The
// full host expects the plug-in beside it: the folder links the test host.
class PluginFolder {
 public:
  explicit PluginFolder(bool withResources, bool withWizard = false) {
    dir_ = fs::temp_directory_path() /
           ("jov-plugin-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
    fs::create_directories(dir_);
    fs::copy_file(fs::path(JOV_TEST_MODULE_DIR) / "Jov_Vantrix.dll", dir_ / "Jov_Vantrix.dll");
    if (withResources) AddResources();
    if (withWizard) fs::copy_file(JOV_TEST_WIZARD, dir_ / "Wizard.dll");
    fs::create_symlink(TestHostPath("full"), dir_ / "dravik2d.arx");
  }
  ~PluginFolder() {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  void AddResources() {
    fs::copy_file(fs::path(JOV_TEST_MODULE_DIR) / "Jov_Vantrix.qmr", dir_ / "Jov_Vantrix.qmr");
  }
  std::string Plugin() const { return (dir_ / "Jov_Vantrix.dll").string(); }

 private:
  static inline int counter_ = 0;
  fs::path dir_;
};

template <typename F>
F Export(HMODULE module, const char* name) {
  return reinterpret_cast<F>(GetProcAddress(module, name));
}

}  // namespace

TEST(PluginLoading, RefusedWithoutAHost) {
  PluginFolder folder(true);
  EXPECT_EQ(LoadLibraryA(folder.Plugin().c_str()), nullptr);
}

TEST(PluginLoading, RefusedWhenTheHostGivesNoProfileFolder) {
  TestHost host("no_profile");
  PluginFolder folder(true);
  EXPECT_EQ(LoadLibraryA(folder.Plugin().c_str()), nullptr);
}

TEST(PluginLoading, MissingResourcesFailCommandsUntilTheFileIsThere) {
  TestHost host("full");
  PluginFolder folder(false);
  HMODULE plugin = LoadLibraryA(folder.Plugin().c_str());
  ASSERT_NE(plugin, nullptr);
  auto manager = Export<INT_PTR (*)(HWND)>(plugin, "Jov_Vantrix_M");
  auto exclude = Export<int (*)()>(plugin, "Exclude_From");
  ASSERT_TRUE(manager && exclude);
  EXPECT_EQ(manager(nullptr), -1);
  EXPECT_EQ(exclude(), 1) << "returns 1 even without resources";
  EXPECT_EQ(GetModuleHandleA("Jov_Vantrix.qmr"), nullptr);

  folder.AddResources();
  exclude();
  EXPECT_NE(GetModuleHandleA("Jov_Vantrix.qmr"), nullptr) << "the next command loads them";
  EXPECT_TRUE(FreeLibrary(plugin));
  EXPECT_EQ(GetModuleHandleA("Jov_Vantrix.qmr"), nullptr) << "shut-down frees them";
}

TEST(PluginLoading, EachSectionRunLoadsTheWizardAndShutDownFreesOne) {
  TestHost host("full");
  PluginFolder folder(true, true);
  HMODULE plugin = LoadLibraryA(folder.Plugin().c_str());
  ASSERT_NE(plugin, nullptr);
  auto cut = Export<int (*)(int, void*)>(plugin, "Jov_CutDlg");
  ASSERT_NE(cut, nullptr);
  for (int run = 0; run < 3; ++run) EXPECT_EQ(cut(0, nullptr), -1);
  HMODULE wizard = GetModuleHandleA("Wizard.dll");
  ASSERT_NE(wizard, nullptr);
  EXPECT_TRUE(FreeLibrary(plugin));
  // Three loads, one given back: two references remain.
  EXPECT_EQ(GetModuleHandleA("Wizard.dll"), wizard);
  EXPECT_TRUE(FreeLibrary(wizard));
  EXPECT_EQ(GetModuleHandleA("Wizard.dll"), wizard);
  EXPECT_TRUE(FreeLibrary(wizard));
  EXPECT_EQ(GetModuleHandleA("Wizard.dll"), nullptr);
}

TEST(PluginLoading, LengthCommandNeedsNoResources) {
  TestHost host("full");
  PluginFolder folder(false);
  HMODULE plugin = LoadLibraryA(folder.Plugin().c_str());
  ASSERT_NE(plugin, nullptr);
  auto length = Export<int (*)(int)>(plugin, "Jov_Length");
  ASSERT_NE(length, nullptr);
  EXPECT_EQ(length(1000), -1) << "nothing selected";
  EXPECT_EQ(host.Unlinks(), 1);
  EXPECT_EQ(GetModuleHandleA("Jov_Vantrix.qmr"), nullptr);
  FreeLibrary(plugin);
}
