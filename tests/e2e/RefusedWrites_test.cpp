// Every command that writes records back, run through the runner on a
// drawing whose network insert the host will not take back (its block is
// not defined): the change is rolled back and one message names the insert
// and the host's answer.
#include <gtest/gtest.h>

#include <string>

#include "platform/resources/jov_vantrix/resource_ids.h"
#include "tests/e2e/E2eFixture.h"

namespace {

const std::string kData = std::string(JOV_SOURCE_DIR) + "/tests/data/";

// The drawing with the insert of that handle naming a block it lacks.
std::string Refusing(const std::string& drawing, const std::string& handle) {
  std::string text = testsupport::Slurp(kData + drawing);
  const size_t entity = text.find("\n  5\n" + handle + "\n");
  const size_t block = text.find("\n  2\n", entity);
  if (entity == std::string::npos || block == std::string::npos) return "";
  const size_t name = block + 5;
  text.replace(name, text.find('\n', name) - name, "NO_SUCH_BLOCK");
  return text;
}

const char* kResult = "PC\r\n2\r\n#vetev;1\r\n1;P;S1-1;DN20;x;0.8;IZ1;Arma;13;VE15;HV2;SR20;3;r1;r2;r3;r4;r5;t8;t9;t10;t11\r\n"
                      "1;Z;S1-1Z;DN20;x;0.7;IZ1;Arma;13;;;;;;;;;;\r\n";
const char* kBranchSettings =
    "[CUT_DLG]\r\nDIST_RISER=0.5\r\nDIST_ELM=0.3\r\nHEIGHT_FLOOR=3.0\r\nDIST_PIPE=0.1\r\nPIPE_FLOOR_DIST=0.3\r\n"
    "DESC_ELM=1\r\n[DESC]\r\nLAYER=DESC\r\nHEIGHT=2.5\r\nSCFACTOR=0.8\r\n";
const char* kRiserSettings =
    "[CUT_DLG]\r\nCUT_NUMBER=6\r\nHEIGHT=2.8\r\nDIST_RISER=0.5\r\nDIST_ELM=0.3\r\nHEIGHT_FLOOR=3.0\r\n"
    "DIST_PIPE=0.1\r\nPIPE_FLOOR_DIST=0.2\r\nDRAW_PIPE=1\r\nDESC_RISER=1\r\n[DESC]\r\nLAYER=DESC\r\nHEIGHT=2.5\r\n"
    "LAYER_BRANCH=BR\r\nHEIGHT_BRANCH=3.5\r\n";

}  // namespace

TEST_F(E2e, EveryWritingCommandFailsWhenTheHostRefusesAWrite) {
  const std::string exportSteps = "select 3C 3E 3F 40 41 42 43 44\ndialog " + std::to_string(IDD_JOV_EXPORT) +
                                  "\ncheck " + std::to_string(IDC_EXPORT_DESCRIPTIONS) + " 1\nset " +
                                  std::to_string(IDC_EXPORT_FILE) + " " + Path("F.txt") + "\nok\n";
  Write("result.txt", kResult);
  struct Road {
    const char* command;
    const char* drawing;
    const char* handle;  // the insert the host refuses
    std::string script;
    std::string catalogue;
    std::string settings;
  } const roads[] = {
      {"Jov_Vantrix_Import", "exported.dxf", "3C", "select 3C 3E 3F 40 41 42 43 44\nfile result.txt\n",
       JOV_EXCHANGE_CATALOGUE, ""},
      {"Jov_Vantrix_Export", "network.dxf", "3C", exportSteps, JOV_EXCHANGE_CATALOGUE, "[DESC]\r\nHEIGHT=2.5\r\n"},
      {"Jov_CutDlg", "branch.dxf", "39", "pick 39\nselect 39 3B 3D 3E\npoint 10000 20000\ndialog 5009\nok\n",
       JOV_SECTION_CATALOGUE, kBranchSettings},
      {"Jov_CutDlg", "riser.dxf", "3C", "pick 3C\nselect 3E 40 42\npoint 0 0\ndialog 5004\nset 5052 7\nok\n",
       JOV_SECTION_CATALOGUE, kRiserSettings},
      {"Include_In", "network.dxf", "3C", "select 3C\n", JOV_EXCHANGE_CATALOGUE, ""},
      {"Exclude_From", "network.dxf", "3C", "select 3C\n", JOV_EXCHANGE_CATALOGUE, ""},
  };
  for (const Road& r : roads) {
    SCOPED_TRACE(std::string(r.command) + " on " + r.drawing);
    std::filesystem::create_directories(dir_ / "profile" / "Dat");
    Write("profile/Dat/Jov.ini", r.settings);
    Write("profile/Dat/Jov_lin.dat", "[MODULE_T]\r\n0=TPP0000-0001;P;PIPE_S\r\n1=TPZ0000-0001;Z;PIPE_R\r\n");
    const std::string drawing = Refusing(r.drawing, r.handle);
    ASSERT_FALSE(drawing.empty());
    Outcome o = Run({"--drawing", Write("in.dxf", drawing), "--out", Path("out.dxf"), "--run", r.command,
                     "--script", Write("session.txt", r.script), "--catalogue", r.catalogue, "--scale", "100"});
    EXPECT_EQ(o.exit, 0) << o.err;
    EXPECT_TRUE(o.Has("drawing: not written (change cancelled)")) << o.out;
    const size_t message = o.out.find("the drawing refused to take back these entities");
    ASSERT_NE(message, std::string::npos) << o.out;
    EXPECT_EQ(o.out.find("the drawing refused", message + 1), std::string::npos) << "said once: " << o.out;
    EXPECT_NE(o.out.find("INSERT " + std::string(r.handle) + " (-5001)", message), std::string::npos) << o.out;
  }
}
