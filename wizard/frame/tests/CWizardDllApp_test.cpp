// The application object in this test program: which host loaded it, its
// folders and registry root, its binding of the host table, and the texts
// it keeps between the exports.
#include "wizard/frame/CWizardDllApp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "jov_vantrix/tests/TestHosts.h"
#include "wizard/dialogs/MaskKindNames.h"
#include "wizard/tests/ProgramAsHost.h"

namespace {

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('/') + 1); }

class WizardHosts : public ::testing::Test {
 protected:
  void TearDown() override {
    SetProgramFileName(program_.c_str());
    unsetenv("JOV_TEST_PROFILE");
    TheWizardApp().ExitInstance();
  }
  const std::string program_ = ProgramPath();
};

}  // namespace

TEST_F(WizardHosts, EachHostGivesItsModeRootFoldersAndTable) {
  setenv("JOV_TEST_PROFILE", "/home/user/profile", 1);
  struct Case {
    const char* program;  // null: this program
    const char* hostVariant;  // a test "dravik2d.arx" loaded, or none
    int mode;
    const char* root;
    std::string base;
    const char* profile;
    bool starts;
    bool table;
  } const cases[] = {
      {nullptr, "full", kHostFull, "Software\\Quenlor\\Dravik 2d\\", FolderOf(program_), "/home/user/profile\\",
       true, true},
      {nullptr, "no_profile", kHostFull, "Software\\Quenlor\\Dravik 2d\\", FolderOf(program_), "", true, true},
      {nullptr, nullptr, kHostFull, "Software\\Quenlor\\Dravik 2d\\", FolderOf(program_), "", false, false},
      {"/opt/lt/bin/duvozedo.exe", nullptr, kHostLT, "Software\\Quenlor\\Dravik lt\\", "/opt/lt/bin/",
       "/profiles/lt-user/", true, true},
      {"/opt/maker/JOVMGR.EXE", nullptr, kHostManager, "Software\\Quenlor\\Dravik lt\\", "/opt/maker/", "", true,
       false},
      {"/opt/maker/jovmgr.exe", "full", kHostManager, "Software\\Quenlor\\Dravik lt\\", "/opt/maker/", "", true,
       false},
  };
  CWizardDllApp& app = TheWizardApp();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.program ? c.program : "this program") + " with host " +
                 (c.hostVariant ? c.hostVariant : "none"));
    SetProgramFileName(c.program ? c.program : program_.c_str());
    std::unique_ptr<TestHost> host(c.hostVariant ? new TestHost(c.hostVariant) : nullptr);
    if (host) {
      ASSERT_TRUE(host->Loaded());
    }
    EXPECT_EQ(app.InitInstance() != FALSE, c.starts);
    EXPECT_EQ(app.GetHostMode(), c.mode);
    EXPECT_STREQ(WizardRegistryRoot(), c.root);
    EXPECT_EQ(std::string(app.GetBaseFolder()), c.base);
    EXPECT_STREQ(app.GetProfileFolder(), c.profile);
    if (c.starts) {
      EXPECT_EQ(app.GetHostTable() != nullptr, c.table);
    }
    app.ExitInstance();
  }
}

TEST_F(WizardHosts, PathsJoinTheirFolderAndStayWithin260Characters) {
  setenv("JOV_TEST_PROFILE", "/home/user/profile/", 1);
  TestHost host("full");
  CWizardDllApp& app = TheWizardApp();
  ASSERT_TRUE(app.DetectHostAndFolders());
  EXPECT_STREQ(app.GetProfileFolder(), "/home/user/profile/") << "a profile ending in '/' stays";
  char path[260];
  app.MakeProfilePath(path, "Dat\\Jov.ini");
  EXPECT_STREQ(path, "/home/user/profile/Dat\\Jov.ini");
  app.MakeBasePath(path, "HELP\\KX.CHM");
  EXPECT_EQ(std::string(path), FolderOf(program_) + "HELP\\KX.CHM");
  app.MakeProfilePath(path, std::string(400, 'x').c_str());
  EXPECT_EQ(std::strlen(path), 259u);
}

TEST(WizardTexts, SettersKeepCopiesAndEmptyTextsLeaveSlotsEmpty) {
  CWizardDllApp& app = TheWizardApp();
  char slope[] = "0.5";
  app.SetSlope(slope);
  slope[0] = '9';
  EXPECT_STREQ(app.GetSlope(), "0.5") << "a copy";
  app.SetSlope(nullptr);
  EXPECT_EQ(app.GetSlope(), nullptr);
  app.SetSlope("");
  EXPECT_STREQ(app.GetSlope(), "") << "only the producer and level texts drop empty ones";

  const char* producer[CWizardDllApp::kProducerTexts] = {"Termalis", "", nullptr, "22", "600", "1000", "bílá"};
  app.SetProducerData(producer);
  const char* back[CWizardDllApp::kProducerTexts];
  app.GetProducerData(back);
  EXPECT_STREQ(back[0], "Termalis");
  EXPECT_EQ(back[1], nullptr);
  EXPECT_EQ(back[2], nullptr);
  EXPECT_STREQ(back[6], "bílá");

  app.SetComputedLevel("1.500");
  app.SetZLevelTexts("1.2", "", "300", nullptr);
  const char* levels[CWizardDllApp::kLevelTexts];
  app.GetZLevelTexts(levels);
  EXPECT_STREQ(levels[0], "1.2");
  EXPECT_EQ(levels[1], nullptr);
  EXPECT_STREQ(levels[2], "300");
  EXPECT_EQ(levels[3], nullptr);
  EXPECT_EQ(levels[CWizardDllApp::kComputedLevel], nullptr) << "new levels drop the computed one";

  EXPECT_EQ(app.GetMirror(), -1);
  app.SetDimText("DN 20");
  EXPECT_STREQ(app.GetDimText(), "DN 20");
  app.ExitInstance();
  EXPECT_EQ(app.GetDimText(), nullptr);
  EXPECT_EQ(app.GetSlope(), nullptr);
  app.GetProducerData(back);
  EXPECT_EQ(back[0], nullptr);
}

TEST(MaskSections, EachKindHasItsSectionsAndKey) {
  struct Case {
    char letter;
    const char* mask;
    const char* desc;
    const char* key;
  } const cases[] = {
      {'E', "MASK_ELEKTRO", "DESC_ELEKTRO", "MASK_ELEKTRO"}, {'S', "MASK_SCHEME", "DESC_SCHEME", "MASK_SCHEME"},
      {'V', "MASK_VZDUCH", "DESC_VZDUCH", "MASK_VZDUCH"},    {'W', "MASK_TOP", "DESC_EPIPE", "MASK_EPIPE"},
      {'Z', "MASK_ZDRAVO", "DESC_ZDRAVO", "MASK_ZDRAVO"},    {'T', "MASK_TOP", "DESC_TOP", "MASK_TOP"},
      {'z', "MASK_TOP", "DESC_TOP", "MASK_TOP"},
  };
  for (const Case& c : cases) {
    char mask[32], desc[32], key[32];
    GetMaskSection(c.letter, mask);
    GetDescSection(c.letter, desc);
    GetMaskKey(c.letter, key);
    EXPECT_STREQ(mask, c.mask) << c.letter;
    EXPECT_STREQ(desc, c.desc) << c.letter;
    EXPECT_STREQ(key, c.key) << c.letter;
  }
}
