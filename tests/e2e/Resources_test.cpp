// Commands that need the resource library, with and without it beside the
// plug-in.
#include <gtest/gtest.h>

#include "tests/e2e/E2eFixture.h"

TEST_F(E2e, ImportAsksForTheNetworkWhenItsTextsAreThere) {
  Outcome o = Run({"--drawing", Sample(), "--run", "Jov_Vantrix_Import", "--log", Path("host.log")});
  EXPECT_EQ(o.exit, OffScriptExit(o)) << o.err;
  EXPECT_TRUE(o.Has("result: -1")) << o.out;
  const std::string log = testsupport::Slurp(Path("host.log"));
  EXPECT_NE(log.find("Select(\"Select the pipe network"), std::string::npos) << log;
}

TEST_F(E2e, MissingResourceLibraryFailsTheCommandsBeforeAnyPrompt) {
  const std::string modules = ModuleFolder(dir_ / "bin", "Jov_Vantrix.qmr");
  for (const char* command : {"Jov_Vantrix_Import", "Jov_Vantrix_Export", "Jov_CutDlg"}) {
    Outcome o = Run({"--drawing", Sample(), "--run", command, "--log", Path("host.log")}, false,
                    modules);
    EXPECT_EQ(o.exit, 0) << command << ": " << o.err;
    EXPECT_TRUE(o.Has("result: -1")) << command << ": " << o.out;
    const std::string log = testsupport::Slurp(Path("host.log"));
    EXPECT_EQ(log.find("Select("), std::string::npos) << command << ": " << log;
    EXPECT_EQ(o.out.find("message:"), std::string::npos) << "no texts, so no message";
  }
  Outcome exclude = Run({"--drawing", Sample(), "--run", "Exclude_From"}, false, modules);
  EXPECT_TRUE(exclude.Has("result: 1")) << exclude.out;
  Outcome length = Run({"--drawing", Sample(), "--select", "36", "--run", "Jov_Length"}, false,
                       modules);
  EXPECT_TRUE(length.Has("clipboard CF_VANTRIX_CAD: 5.0000")) << "needs no resources: " << length.out;
}
