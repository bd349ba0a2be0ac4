#include "jov_vantrix/frame/CJov_VantrixApp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "jov_vantrix/tests/TestHosts.h"

namespace fs = std::filesystem;

// The LT edition's host functions are the program's own exports.
extern "C" __attribute__((visibility("default"))) int GetProfilePath(int, char* buffer, int size) {
  std::strncpy(buffer, "/profiles/lt-user/", static_cast<size_t>(size) - 1);
  buffer[size - 1] = '\0';
  return 5100;
}

namespace {

std::string ProgramPath() {
  char path[4096];
  GetModuleFileNameA(nullptr, path, sizeof path);
  return path;
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('/') + 1); }

class AppPathsTest : public ::testing::Test {
 protected:
  void TearDown() override {
    SetProgramFileName(program_.c_str());
    unsetenv("JOV_TEST_PROFILE");
  }
  const std::string program_ = ProgramPath();
};

}  // namespace

TEST_F(AppPathsTest, FullHostKeepsCompanionFilesBesideTheLibrary) {
  setenv("JOV_TEST_PROFILE", "/home/user/profile", 1);
  TestHost host("full");
  ASSERT_TRUE(host.Loaded());
  CJov_VantrixApp& app = TheApp();
  ASSERT_TRUE(app.InitPaths());
  EXPECT_FALSE(app.m_isLT);
  // In this test program the library's own file is the program.
  EXPECT_EQ(std::string(app.m_moduleFolder), FolderOf(program_));
  EXPECT_STREQ(app.m_profileFolder, "/home/user/profile\\") << "a backslash is appended";

  char path[MAX_PATH];
  app.GetDataPath(path, "Jov.ini", sizeof path);
  EXPECT_STREQ(path, "/home/user/profile\\Dat\\Jov.ini");
  app.GetDataPath(path, nullptr, sizeof path);
  EXPECT_STREQ(path, "/home/user/profile\\");
  app.GetHostPath(path, sizeof path);
  EXPECT_EQ(std::string(path), FolderOf(program_) + "dravik2d.arx");
  app.GetModulePath(path, "Help\\jov2d.chm", sizeof path);
  EXPECT_EQ(std::string(path), FolderOf(program_) + "Help\\jov2d.chm");
  app.GetModulePath(path, "Wizard.dll", 8);
  EXPECT_EQ(std::strlen(path), 7u) << "bounded by the buffer";
}

TEST_F(AppPathsTest, LtHostPutsCompanionFilesBesideTheHost) {
  SetProgramFileName("/opt/duvozedo/bin/DUVOZEDO.EXE");
  CJov_VantrixApp& app = TheApp();
  ASSERT_TRUE(app.InitPaths());
  EXPECT_TRUE(app.m_isLT);
  EXPECT_STREQ(app.m_moduleFolder, "/opt/duvozedo/bin/");
  EXPECT_STREQ(app.m_profileFolder, "/profiles/lt-user/") << "a trailing slash is kept";
  char path[MAX_PATH];
  app.GetHostPath(path, sizeof path);
  EXPECT_STREQ(path, "/opt/duvozedo/bin/duvozedo.exe");
}

TEST_F(AppPathsTest, HostWithoutProfileExportFailsStartUp) {
  TestHost host("no_profile");
  ASSERT_TRUE(host.Loaded());
  EXPECT_FALSE(TheApp().InitPaths());
}

TEST_F(AppPathsTest, NoHostFailsStartUp) { EXPECT_FALSE(TheApp().InitPaths()); }

TEST(LoadModuleNearHost, BareNamesAreLookedForBesideTheHost) {
  EXPECT_EQ(LoadModuleNearHost(nullptr), nullptr);
  TestHost host("full");
  ASSERT_TRUE(host.Loaded());
  // Beside the test host lies no such library; with a folder it is found.
  EXPECT_EQ(LoadModuleNearHost("Wizard.dll"), nullptr);
  HMODULE wizard = LoadModuleNearHost(JOV_TEST_WIZARD);
  ASSERT_NE(wizard, nullptr);
  FreeLibrary(wizard);
}

TEST(GetOpenFileNameStructSize, IsTheLargeStructure) {
  DWORD size = 0;
  GetOpenFileNameStructSize(nullptr, &size);
  EXPECT_EQ(size, 152u);
}
