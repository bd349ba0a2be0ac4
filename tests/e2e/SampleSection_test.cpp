// The section of the sample drawing's branch V1 through the runner, as
// `make demo` draws it: the build's product library on the sample
// catalogues, the products checked with ezdxf against the catalogue's text,
// the radiator's drops against where the floor pipes run.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/E2eFixture.h"

namespace {

// The demo's settings: the branch section's distances and floor, the text
// sizes and layers of a real profile, and the sample's pipe types.
const char* kSettings =
    "[CUT_DLG]\r\nHEIGHT=3.0\r\nDIST_RISER=0.5\r\nDIST_ELM=0.3\r\nHEIGHT_FLOOR=3.0\r\nDIST_PIPE=0.1\r\n"
    "PIPE_FLOOR_DIST=0.3\r\nDRAW_FLOOR=1\r\nDESC_FLOOR=1NP\r\nCUT_NUMBER=0\r\n[DESC]\r\nLAYER=DESC\r\n"
    "LAYER_BRANCH=DESC_BRANCH\r\nRISER_LAYER=DESC_RISER\r\nHEIGHT=2.5\r\nHEIGHT_BRANCH=3.5\r\n"
    "RISER_TEXT_HEIGHT=3.5\r\nBUBBLE_DIAMETER=8\r\nRISER_BUBBLE_DIA=8\r\nSCFACTOR=0.8\r\nSCFACTOR_BRANCH=0.8\r\n";
const char* kPipeTypes = "[MODULE_T]\r\n0=TPP0015-0001;P;PIPE_SUPPLY\r\n1=TPZ0015-0001;Z;PIPE_RETURN\r\n";

}  // namespace

TEST_F(E2e, TheSampleBranchSectionHoldsItsProductsAsTheCatalogueGivesThem) {
  std::filesystem::create_directories(dir_ / "profile" / "Dat");
  Write("profile/Dat/Jov.ini", kSettings);
  Write("profile/Dat/Jov_lin.dat", kPipeTypes);

  // The branch's pipes out of the network first, so that the section takes
  // them as the branch's own; then the start valve 50, the radiator 54 and
  // the pipes 52 and 53.
  Outcome exclude = Run({"--drawing", Sample(), "--out", Path("excluded.dxf"), "--run", "Exclude_From", "--script",
                         Write("exclude.txt", "select 52 53\n")});
  ASSERT_TRUE(exclude.Has("drawing: written " + Path("excluded.dxf"))) << exclude.out << exclude.err;
  // The radiator as drawn, and mirrored (X scale -1): its drops start on it
  // either way.
  std::string mirrored = testsupport::Slurp(Path("excluded.dxf"));
  const size_t radiator = mirrored.find("INSERT\n  5\n54\n");
  ASSERT_NE(radiator, std::string::npos);
  const size_t z = mirrored.find("\n 30\n", radiator);
  ASSERT_NE(z, std::string::npos);
  mirrored.insert(mirrored.find('\n', z + 5) + 1, " 41\n-1.0\n");
  for (const std::string& drawing : {Path("excluded.dxf"), Write("mirrored.dxf", mirrored)}) {
    SCOPED_TRACE(drawing);
    Outcome section = Run({"--drawing", drawing, "--out", Path("section.dxf"), "--run", "Jov_CutDlg", "--script",
                           Write("section.txt", "pick 50\nselect 54 52 53\npoint 10000 0\ndialog 5009\nok\n")});
    EXPECT_EQ(section.exit, 0) << section.err;
    EXPECT_EQ(section.out.find("message:"), std::string::npos) << section.out;
    ASSERT_TRUE(section.Has("drawing: written " + Path("section.dxf"))) << section.out;

    Outcome check = testsupport::RunProgram(
        JOV_PYTHON,
        {std::string(JOV_SOURCE_DIR) + "/tests/e2e/check_sample_section.py", drawing, Path("section.dxf"),
         std::string(JOV_SOURCE_DIR) + "/platform/catalogue/data/T.cat"},
        dir_);
    EXPECT_EQ(check.exit, 0) << check.out << check.err;
  }
}
