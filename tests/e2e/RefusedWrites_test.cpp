// Every command that writes records back, run through the runner on a
// drawing whose network insert the host will not take back (its block is
// not defined): the change is rolled back and one message names the insert
// and the host's answer with its reason.
#include <gtest/gtest.h>

#include <string>

#include "platform/resources/jov_vantrix/resource_ids.h"
#include "tests/e2e/E2eFixture.h"

namespace {

// The fixture drawing with the insert of that handle naming a block it lacks.
std::string Refusing(const std::string& drawing, const std::string& handle) {
  std::string text = testsupport::Slurp(std::string(JOV_SOURCE_DIR) + "/tests/data/" + drawing);
  const size_t name = text.find("\n  2\n", text.find("\n  5\n" + handle + "\n")) + 5;
  return text.replace(name, text.find('\n', name) - name, "NO_SUCH_BLOCK");
}

}  // namespace

TEST_F(E2e, EveryWritingCommandFailsWhenTheHostRefusesAWrite) {
  std::filesystem::create_directories(dir_ / "profile" / "Dat");
  Write("profile/Dat/Jov_lin.dat", "[MODULE_T]\r\n0=TPP0000-0001;P;PIPE_S\r\n1=TPZ0000-0001;Z;PIPE_R\r\n");
  Write("result.txt", "PC\n2\n#vetev;1\n1;P;S;1;x;0.8;I;A;13;VE;HV;SR;3;r;r;r;r;r;t;t;t;t\n1;Z;S;1;x;0.7;I;A;13;;;;;;;;;;\n");
  const std::string network = "select 3C 3E 3F 40 41 42 43 44\n";
  struct Road {
    const char* command;
    const char* drawing;
    const char* handle;  // the insert the host refuses
    std::string script;
    const char* catalogue = JOV_EXCHANGE_CATALOGUE;
  } const roads[] = {
      {"Jov_Vantrix_Import", "exported.dxf", "3C", network + "file result.txt\n"},
      {"Jov_Vantrix_Export", "network.dxf", "3C",
       network + "dialog " + std::to_string(IDD_JOV_EXPORT) + "\nset " + std::to_string(IDC_EXPORT_FILE) + " F.txt\nok\n"},
      {"Jov_CutDlg", "branch.dxf", "39", "pick 39\nselect 39 3B 3D 3E\npoint 10000 20000\ndialog 5009\nok\n",
       JOV_SECTION_CATALOGUE},
      {"Jov_CutDlg", "riser.dxf", "3C", "pick 3C\nselect 3E 40 42\npoint 0 0\ndialog 5004\nset 5052 7\nok\n",
       JOV_SECTION_CATALOGUE},
      {"Include_In", "network.dxf", "3C", "select 3C\n"},
      {"Exclude_From", "network.dxf", "3C", "select 3C\n"},
  };
  for (const Road& r : roads) {
    SCOPED_TRACE(std::string(r.command) + " on " + r.drawing);
    // Settings both section dialogs take; the export takes the label height.
    Write("profile/Dat/Jov.ini", "[CUT_DLG]\r\nCUT_NUMBER=6\r\nHEIGHT=2.8\r\nDIST_RISER=0.5\r\nDIST_ELM=0.3\r\n"
                                 "HEIGHT_FLOOR=3.0\r\nDIST_PIPE=0.1\r\nPIPE_FLOOR_DIST=0.2\r\nDRAW_PIPE=1\r\n[DESC]\r\n"
                                 "LAYER=DESC\r\nHEIGHT=2.5\r\nHEIGHT_BRANCH=3.5\r\nSCFACTOR=0.8\r\nSCFACTOR_BRANCH=0.8\r\n");
    Outcome o = Run({"--drawing", Write("in.dxf", Refusing(r.drawing, r.handle)), "--out", Path("out.dxf"), "--run",
                     r.command, "--script", Write("session.txt", r.script), "--catalogue", r.catalogue});
    EXPECT_TRUE(o.Has("drawing: not written (change cancelled)")) << o.out;
    const size_t message = o.out.find("the drawing refused to take back these entities");
    EXPECT_EQ(o.out.find("the drawing refused", message + 1), std::string::npos) << "said once: " << o.out;
    EXPECT_NE(o.out.find("INSERT " + std::string(r.handle) + " (-5001: block 'NO_SUCH_BLOCK' is not defined)", message),
              std::string::npos)
        << "the host's answer and its reason: " << o.out;
  }
}
