// A section drawn again for a branch or a riser that has one: the command
// asks; Yes replaces the earlier section, No draws nothing. The written
// drawing holds one section whose link data the network still carries.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/E2eFixture.h"

namespace fs = std::filesystem;

TEST_F(E2e, ASecondSectionOfTheSameBranchOrRiserReplacesTheFirstOrNothing) {
  const std::string data = std::string(JOV_SOURCE_DIR) + "/tests/data/";
  fs::create_directories(dir_ / "profile" / "Dat");
  Write("profile/Dat/Jov_lin.dat", "[MODULE_T]\r\n0=TPP0000-0001;P;PIPE_S\r\n1=TPZ0000-0001;Z;PIPE_R\r\n");
  const struct {
    const char *what, *drawing, *script;
  } roads[] = {
      {"branch", "branch.dxf", "pick 39\nselect 39 3B 3D 3E\npoint 10000 20000\ndialog 5009\nok\n"},
      {"riser", "riser.dxf", "pick 3C\nselect 3E 40 42\npoint 0 0\ndialog 5004\nset 5052 7\nok\n"},
  };
  Write("profile/Dat/Jov.ini", "[CUT_DLG]\r\nCUT_NUMBER=6\r\nHEIGHT=2.8\r\nDIST_RISER=0.5\r\nDIST_ELM=0.3\r\n"
                               "HEIGHT_FLOOR=3.0\r\nDIST_PIPE=0.1\r\nPIPE_FLOOR_DIST=0.2\r\nDRAW_PIPE=1\r\n"
                               "DESC_ELM=1\r\nDESC_RISER=1\r\n[DESC]\r\nLAYER=DESC\r\nHEIGHT=2.5\r\nSCFACTOR=0.8\r\n"
                               "HEIGHT_BRANCH=3.5\r\nSCFACTOR_BRANCH=0.8\r\n");
  for (const auto& r : roads) {
    for (const char* answer : {"yes", "no"}) {
      SCOPED_TRACE(std::string(r.what) + ", " + answer);
      auto run = [&](const std::string& in, const char* out, const std::string& more) {
        return Run({"--drawing", in, "--out", Path(out), "--run", "Jov_CutDlg", "--script",
                    Write("session.txt", r.script + more), "--catalogue", JOV_SECTION_CATALOGUE});
      };
      Outcome first = run(data + r.drawing, "first.dxf", "");
      ASSERT_TRUE(first.Has("drawing: written " + Path("first.dxf"))) << first.out;
      EXPECT_EQ(first.out.find("already has a section"), std::string::npos) << "nothing to replace yet";
      Outcome second = run(Path("first.dxf"), "second.dxf", std::string("answer ") + answer + "\n");
      EXPECT_NE(second.out.find("already has a section in the drawing"), std::string::npos) << second.out;
      if (std::string(answer) == "no") {
        EXPECT_TRUE(second.Has("drawing: not written (change cancelled)")) << second.out;
        continue;
      }
      ASSERT_TRUE(second.Has("drawing: written " + Path("second.dxf"))) << second.out;
      Outcome check = testsupport::RunProgram(JOV_PYTHON, {std::string(JOV_SOURCE_DIR) + "/tests/e2e/check_section_replaced.py",
                                                           data + r.drawing, Path("first.dxf"), Path("second.dxf")}, dir_);
      EXPECT_EQ(check.exit, 0) << check.out << check.err;
    }
  }
}
