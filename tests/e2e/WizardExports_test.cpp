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

TEST_F(WizardExports, EveryExportInOneRunAnswersAsItShould) {
  fs::copy(fs::path(JOV_TEST_MODULE_DIR) / "Catalogue", dir_ / "catalogue", fs::copy_options::recursive);
  fs::create_directories(dir_ / "profile" / "Dat");
  const std::string pipe = "db:T:TPP0015-0001", radiator = "db:T:TOT0600-0001";
  auto request = [](const char* name, const std::string& db, const char* code, const char* arg13) {
    return std::vector<std::string>{"--run", name, "--arg", "main", "--arg", db, "--arg", "1", "--arg", "-",
                                    "--arg", "0", "--arg", "1000", "--arg", "0", "--arg", "-", "--arg", "1",
                                    "--arg", code, "--arg", "-", "--arg", arg13, "--arg", "-"};
  };
  std::vector<std::string> args = {
      "--module", "Wizard.dll", "--verbose", "--drawing", std::string(JOV_SOURCE_DIR) + "/tests/data/label_element.dxf",
      "--catalogue", Path("catalogue"), "--registry", Path("registry"), "--script",
      Write("script.txt",
            "dialog 1018\ncancel\n"                              // DimDlg T
            "dialog 1019\nok\n"                                  // JOV_MASK
            "dialog 1019\nok\n"                                  // JOV_MASK_EDIT
            "dialog 1019\nok\ndialog 1019\nok\ndialog 1019\nok\ndialog 1019\nok\ndialog 1019\nok\n"
            "dialog 1020\nok\n"                                  // maskDefPreset
            "pick A1\ndialog 1020\nok\n"                         // maskDefPresetEntSel
            "dialog 1007\nok\n"                                  // PPDlg: the producer dialog
            "dialog 1006\nok\n"                                  // PPDlgNoInitialRecalc: the one-shot flag skips it
            "dialog 1000\ncancel\n"),                            // WizardDialog
      "--run", "DimDlg", "--arg", "main", "--arg", "E", "--run", "DimDlg", "--arg", "main", "--arg", "T",
      "--run", "JOV_MASK", "--arg", "T", "--run", "JOV_MASK_EDIT", "--arg", "main", "--arg", "Z",
      "--run", "JOV_MASK_E_PIPE", "--run", "JOV_MASK_Z", "--run", "JOV_MASK_E", "--run", "JOV_MASK_V",
      "--run", "JOV_MASK_T",
      "--run", "maskDefPreset", "--arg", "-", "--arg", "1", "--arg", "Z", "--arg", "main",
      "--run", "maskDefPresetEntSel",
      "--run", "SetSlope", "--arg", "2.5", "--run", "SetPPMirror", "--arg", "1", "--run", "GetPPMirror",
      "--run", "SetPPData", "--arg", "#L", "--arg", "1200", "--arg", "1",
      "--run", "SetPP2Date", "--arg", "1036065", "--run", "SetPPLastStoreExt", "--arg", ".tst"};
  auto append = [&args](const std::vector<std::string>& more) { args.insert(args.end(), more.begin(), more.end()); };
  append(request("PPDlg", radiator, "Radiatec a.s.", "-"));
  append({"--run", "setPPDisplayPP2OnlyWithValidProd"});
  append(request("PPDlgNoInitialRecalc", radiator, "-", "-"));
  append(
              {"--run", "PPGetResbufEx", "--arg", pipe, "--arg", "1", "--arg", "-", "--arg", "0", "--arg", "#L",
               "--arg", "1500", "--arg", "-", "--arg", "-", "--arg", "-",
               "--run", "PPGetResbuf", "--arg", pipe, "--arg", "1", "--arg", "-", "--arg", "0", "--arg", "1500",
               "--arg", "15", "--arg", "-", "--arg", "-", "--arg", "-",
               "--run", "ModifyDBParam", "--arg", pipe, "--arg", "1",
               "--run", "WizardDialog", "--arg", "main", "--arg", pipe, "--arg", "1", "--arg", "1",
               "--run", "PPFree"});
  const Outcome o = Run(args);
  ASSERT_EQ(o.exit, 0) << o.err << o.out;
  std::vector<std::string> results;
  for (size_t at = o.out.find("result: "); at != std::string::npos; at = o.out.find("\nresult: ", at + 1)) {
    const size_t from = o.out[at] == '\n' ? at + 1 : at;
    results.push_back(o.out.substr(from + 8, o.out.find('\n', from) - from - 8));
  }
  EXPECT_EQ(results, (std::vector<std::string>{
                         "1", "2",                          // DimDlg: 'E' at once, 'T' cancelled
                         "1", "1", "1", "1", "1", "1", "1",  // the mask lists
                         "1", "1",                          // the mask editor on a kind and on a picked element
                         "-", "-", "1", "-", "-", "-",      // state: slope, mirror set and read, texts, date, extension
                         "1",                               // PPDlg through the producer dialog
                         "-", "1",                          // the one-shot flag, then the parametric dialog alone
                         "1", "1",                          // products without a dialog
                         "257",                             // the formulas stored sorted already: kept
                         "2",                               // the definition editor cancelled
                         "-"}))                             // PPFree
      << o.out;
  EXPECT_EQ(results.size(), 25u) << "24 exports, DimDlg twice";
  const size_t producer = o.out.find("dialog 1007");
  ASSERT_NE(producer, std::string::npos);
  EXPECT_NE(o.out.find("chain 2: 1000 \"_QDATE\"\nchain 2: 1000 \"1036065\""), std::string::npos)
      << "the caller's date chose the version";
  EXPECT_NE(o.out.find("chain 2: 1000 \"_SLOPE\"\nchain 2: 1000 \"2.5\""), std::string::npos) << o.out;
  EXPECT_NE(o.out.find("chain 2: 1000 \"L\"\nchain 2: 1000 \"1200\""), std::string::npos) << "the caller's L";
  EXPECT_TRUE(fs::exists(dir_ / "profile" / "Dat" / "PP_LastT.tst")) << "the last values under their extension";
}
