// The product library "Wizard.dll" called by the real runner: several
// exports in one process, their results and the state they keep, under the
// three programs that load the library.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/e2e/E2eFixture.h"

namespace fs = std::filesystem;

namespace {

class WizardExports : public E2e {
 protected:
  // The runner under another program name, in a module folder that links
  // the build's files.
  std::string ProgramNamed(const std::string& name) {
    const fs::path bin = ModuleFolder(dir_ / "bin", name);
    fs::create_symlink(fs::path(JOV_TEST_MODULE_DIR) / "dravik", bin / name);
    return (bin / name).string();
  }
};

}  // namespace

TEST_F(WizardExports, StateExportsKeepTheirValuesFromCallToCall) {
  Outcome o = Run({"--module", "Wizard.dll", "--run", "GetPPMirror", "--run", "SetPPMirror", "--arg", "1",
                   "--run", "GetPPMirror", "--run", "SetPPMirror", "--arg", "2", "--run", "GetPPMirror", "--run",
                   "DimDlg", "--arg", "main", "--arg", "E", "--run", "PPFree"});
  EXPECT_EQ(o.exit, 0) << o.err;
  EXPECT_EQ(o.out,
            "result: 0\nresult: -\nresult: 1\nresult: -\nresult: 0\nresult: 1\nresult: -\n"
            "drawing: unchanged\n")
      << "mirrored only by 1; no drawing given: an empty one";
}

TEST_F(WizardExports, TheLibraryStartsUnderEachProgramThatLoadsIt) {
  for (const char* name : {"dravik", "duvozedo.exe", "JovMgr.exe", "jovmgr.EXE"}) {
    const std::string program =
        std::string(name) == "dravik" ? std::string(JOV_TEST_MODULE_DIR) + "/dravik" : ProgramNamed(name);
    Outcome o = testsupport::RunProgram(program,
                                        {"--module", "Wizard.dll", "--run", "DimDlg", "--arg", "-", "--arg", "E",
                                         "--profile", Path("profile")},
                                        dir_);
    EXPECT_EQ(o.exit, 0) << name << ": " << o.err;
    EXPECT_TRUE(o.Has("result: 1")) << name << ": " << o.out;
    fs::remove_all(dir_ / "bin");
  }
}
