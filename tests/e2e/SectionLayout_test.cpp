// Section layouts through the runner, read back from the written drawing:
// no product comes nearer than DIST_ELM to the next on either side of the
// older tree's root or of a branch-start valve, no pipe runs over another
// of its kind, and every product of a picked branch is joined to the
// branch start, whatever the shape of the network, or named. Each drawing
// is audited with ezdxf and pictured for people in the build's
// section_pictures folder.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/E2eFixture.h"

namespace fs = std::filesystem;

namespace {

const std::string kData = std::string(JOV_SOURCE_DIR) + "/tests/data/";
// DIST_ELM 0.3 m: 300 in the millimetre drawings.
const char* kGap = "300";
const char* kBranchSettings =
    "[CUT_DLG]\r\nDIST_RISER=0.5\r\nDIST_ELM=0.3\r\nHEIGHT_FLOOR=3.0\r\nDIST_PIPE=0.1\r\nPIPE_FLOOR_DIST=0.3\r\n"
    "DESC_ELM=1\r\nDRAW_FLOOR=1\r\nDESC_FLOOR=1NP\r\nPIPE_SWITCH=0\r\n[DESC]\r\nLAYER=DESC\r\nHEIGHT=2.5\r\n"
    "SCFACTOR=0.8\r\n";
const char* kRiserSettings =
    "[CUT_DLG]\r\nCUT_NUMBER=6\r\nHEIGHT=2.8\r\nDIST_RISER=0.5\r\nDIST_ELM=0.3\r\nHEIGHT_FLOOR=3.0\r\n"
    "DIST_PIPE=0.1\r\nPIPE_FLOOR_DIST=0.2\r\nDRAW_PIPE=1\r\nDESC_RISER=1\r\nDESC_ELM=1\r\nDRAW_FLOOR=1\r\n"
    "DESC_FLOOR=1NP\r\nPIPE_SWITCH=0\r\n[DESC]\r\nLAYER=DESC\r\nHEIGHT=2.5\r\nLAYER_BRANCH=BR\r\n"
    "HEIGHT_BRANCH=3.5\r\nBUBBLE_BRANCH=0\r\n";

// riser.dxf's riser 5 (58) with its branches A (5A), K (5C) with child Q,
// M and Q, A and K put on the given sides.
std::string TreeWithSides(char root, char child) {
  std::string dxf = testsupport::Slurp(kData + "riser.dxf");
  for (const auto& [handle, side] : {std::pair{"5A", root}, {"5C", child}}) {
    const size_t entity = dxf.find(std::string("\n  5\n") + handle + "\n");
    const char* key = "_NUM_SIDE\n1000\n";
    const size_t value = dxf.find(key, entity) + std::string(key).size();
    if (entity == std::string::npos || value < std::string(key).size()) return "";
    dxf[value] = side;
  }
  return dxf;
}

}  // namespace

class SectionLayout : public E2e {
 protected:
  void SetUp() override {
    E2e::SetUp();
    fs::create_directories(dir_ / "profile" / "Dat");
    Write("profile/Dat/Jov_lin.dat", "[MODULE_T]\r\n0=TPP0000-0001;P;PIPE_S\r\n1=TPZ0000-0001;Z;PIPE_R\r\n");
    pictures_ = fs::path(JOV_TEST_MODULE_DIR).parent_path() / "section_pictures";
    fs::create_directories(pictures_);
  }

  // A branch drawing of make_section_drawings.py and its handles, the
  // branch start first.
  std::string Floorplan(const std::string& shape, std::string& handles) {
    const Outcome made = testsupport::RunProgram(
        JOV_PYTHON, {kData + "make_section_drawings.py", shape, Path(shape + ".dxf")}, dir_);
    handles = made.out.substr(0, made.out.find('\n'));
    return made.exit == 0 ? Path(shape + ".dxf") : "";
  }

  // Draws the section, checks the drawing written and pictures it.
  void DrawAndCheck(const std::string& name, const std::string& drawing, const std::string& script,
                    const char* settings, bool joined, const char* named = nullptr) {
    SCOPED_TRACE(name);
    ASSERT_FALSE(drawing.empty());
    Write("profile/Dat/Jov.ini", settings);
    const Outcome o = Run({"--drawing", drawing, "--out", Path("out.dxf"), "--run", "Jov_CutDlg", "--script",
                           Write("session.txt", script), "--catalogue", JOV_SECTION_CATALOGUE});
    EXPECT_EQ(o.exit, 0) << o.out << o.err;
    ASSERT_TRUE(o.Has("drawing: written " + Path("out.dxf"))) << o.out;
    EXPECT_EQ(o.out.find("message:") != std::string::npos, named != nullptr) << o.out;
    if (named) {
      EXPECT_NE(o.out.find(named), std::string::npos) << o.out;
    }
    std::vector<std::string> args{JOV_SOURCE_DIR "/tests/e2e/check_section_layout.py", drawing, Path("out.dxf"),
                                  kGap, "--picture", (pictures_ / (name + ".png")).string()};
    if (joined) args.push_back("--joined");
    const Outcome check = testsupport::RunProgram(JOV_PYTHON, args, dir_);
    EXPECT_EQ(check.exit, 0) << check.out << check.err;
  }

  fs::path pictures_;
};

// The older tree: riser 5's root A and its child K (which has a child of
// its own) on either side.
TEST_F(SectionLayout, OlderTreeKeepsItsProductsApartOnEitherSide) {
  for (const char root : {'0', '1'})
    for (const char child : {'0', '1'}) {
      const std::string name = std::string("tree-root") + root + "-child" + child;
      DrawAndCheck(name, Write(name + ".dxf", TreeWithSides(root, child)),
                   "pick 58\nselect 5A 5C 5E 60\npoint 0 0\ndialog 5004\nok\n", kRiserSettings, false);
    }
}

// A picked branch: its start valve on either side with a product on each,
// and the shapes that once lost a product; two products at one point get
// one place, and the other is named.
TEST_F(SectionLayout, BranchProductsKeepApartAndJoinTheStart) {
  struct Case {
    const char* shape;
    const char* named;  // part of the message naming a product left out
  } const cases[] = {
      {"valve-0", nullptr}, {"valve-1", nullptr}, {"comb", nullptr}, {"two-at-a-joint", nullptr},
      {"gap", nullptr},     {"loop", nullptr},    {"ring", nullptr},
      {"two-at-a-point", "1: XYZ (TCD0000i0001, branch 2)"},
  };
  for (const Case& c : cases) {
    std::string handles;
    const std::string drawing = Floorplan(c.shape, handles);
    const std::string start = handles.substr(0, handles.find(' '));
    DrawAndCheck(std::string("branch-") + c.shape, drawing,
                 "pick " + start + "\nselect " + handles + "\npoint 10000 20000\ndialog 5009\nok\n" +
                     (c.named ? "answer ok\n" : ""),
                 kBranchSettings, true, c.named);
  }
}
