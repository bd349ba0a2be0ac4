// The section command and the include commands through the runner, with
// the build's product library on the section tests' catalogue, settings
// files in the profile and the host's call log: the sections drawn from
// branch.dxf and riser.dxf, checked with ezdxf against the catalogue's
// products, the ways the command ends without drawing, and the include flag
// toggled on network.dxf.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/E2eFixture.h"

namespace fs = std::filesystem;

namespace {

const std::string kData = std::string(JOV_SOURCE_DIR) + "/tests/data/";
// What the section tests' catalogue is built from: the checks read the
// products' geometry and data from it.
const std::string kCatalogueSource = kData + "branch.cat";
const char* kBranchScript = "pick 39\nselect 39 3B 3D 3E\npoint 10000 20000\ndialog 5009\n";

// The settings of the section tests (as the in-process section tests use
// them): OK makes the pipe start 3.0 - 0.1 - 0.3 = 2.6.
const char* kSettings =
    "[CUT_DLG]\r\nDIST_RISER=0.5\r\nDIST_ELM=0.3\r\nHEIGHT_FLOOR=3.0\r\nDIST_PIPE=0.1\r\nPIPE_FLOOR_DIST=0.3\r\n"
    "DESC_ELM=1\r\nDRAW_FLOOR=1\r\nDESC_FLOOR=1NP\r\nPIPE_SWITCH=0\r\n[DESC]\r\nLAYER=DESC\r\nHEIGHT=2.5\r\n"
    "SCFACTOR=0.8\r\n";
const char* kPipeTypes = "[MODULE_T]\r\n0=TPP0000-0001;P;PIPE_S\r\n1=TPZ0000-0001;Z;PIPE_R\r\n";

// Riser 1 of riser.dxf (R1 3C with the branch inserts A 3E, K 40, M 42),
// with the riser sections' settings: the last section was number 6.
const char* kRiserScript = "pick 3C\nselect 3E 40 42\npoint 0 0\ndialog 5004\n";
const char* kRiserSettings =
    "[CUT_DLG]\r\nCUT_NUMBER=6\r\nHEIGHT=2.8\r\nDIST_RISER=0.5\r\nDIST_ELM=0.3\r\nHEIGHT_FLOOR=3.0\r\n"
    "DIST_PIPE=0.1\r\nPIPE_FLOOR_DIST=0.2\r\nDRAW_PIPE=1\r\nDESC_RISER=1\r\nDESC_ELM=1\r\nDRAW_FLOOR=1\r\n"
    "DESC_FLOOR=1NP\r\nPIPE_SWITCH=0\r\n[DESC]\r\nLAYER=DESC\r\nHEIGHT=2.5\r\nLAYER_BRANCH=BR\r\n"
    "HEIGHT_BRANCH=3.5\r\nBUBBLE_BRANCH=0\r\n";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

}  // namespace

class SectionCommand : public E2e {
 protected:
  void SetUp() override {
    E2e::SetUp();
    fs::create_directories(dir_ / "profile" / "Dat");
    Write("profile/Dat/Jov.ini", kSettings);
    Write("profile/Dat/Jov_lin.dat", kPipeTypes);
  }

  // The runner of a module folder (the build's) with the host's log.
  Outcome RunCommand(const std::string& command, const std::string& drawing, const std::string& script,
                     const std::string& catalogue = JOV_SECTION_CATALOGUE,
                     const std::string& modules = JOV_TEST_MODULE_DIR) {
    fs::remove(Path("host.log"));
    fs::remove(Path("out.dxf"));
    return Run({"--drawing", drawing, "--out", Path("out.dxf"), "--run", command, "--script",
                Write("session.txt", script), "--catalogue", catalogue, "--log", Path("host.log"), "--verbose"},
               false, modules);
  }

  // The host's calls that open or end a change, in order.
  std::vector<std::string> Changes() {
    std::vector<std::string> changes;
    for (const std::string& line : Lines(testsupport::Slurp(Path("host.log"))))
      if (line.rfind("BeginChange", 0) == 0 || line.rfind("EndChange", 0) == 0) changes.push_back(line);
    return changes;
  }
  std::string LastHostCall() {
    const std::vector<std::string> lines = Lines(testsupport::Slurp(Path("host.log")));
    return lines.empty() ? "" : lines.back();
  }
  std::string Setting(const char* key) {
    for (const std::string& line : Lines(testsupport::Slurp(dir_ / "profile" / "Dat" / "Jov.ini")))
      if (line.rfind(std::string(key) + "=", 0) == 0) return line.substr(std::string(key).size() + 1);
    return "(missing)";
  }
  Outcome Check(const std::string& script, std::vector<std::string> args) {
    args.insert(args.begin(), std::string(JOV_SOURCE_DIR) + "/" + script);
    return testsupport::RunProgram(JOV_PYTHON, args, dir_);
  }
  Outcome CheckSection(const char* mode) {
    return Check("jov_vantrix/tests/drawing/check_cut_drawing.py",
                 {Path("out.dxf"), mode, "-", "-", "CUT_DESCRIPTION", "CUT_FLOOR", "CUT_BASE_LINE", kCatalogueSource});
  }
};

TEST_F(SectionCommand, BranchBecomesASectionInTheDrawing) {
  Outcome o = RunCommand("Jov_CutDlg", kData + "branch.dxf", std::string(kBranchScript) + "ok\n");
  EXPECT_EQ(o.exit, 0) << o.err;
  EXPECT_TRUE(o.Has("result: -1")) << o.out;
  EXPECT_EQ(o.out.find("message:"), std::string::npos) << o.out;
  ASSERT_TRUE(o.Has("drawing: written " + Path("out.dxf"))) << o.out;
  EXPECT_TRUE(o.Has("  5032 Static \"0\"")) << "the riser marker of a branch start\n" << o.out;

  EXPECT_EQ(Changes(), (std::vector<std::string>{"BeginChange() -> marked", "EndChange(1) -> committed"}));
  EXPECT_EQ(LastHostCall(), "EndChange(1) -> committed");

  // The start and the product as the catalogue draws them in view B, the
  // product 600 long (its "L" in the drawing) with the floor height as its
  // level "O" in millimetres.
  Outcome check = CheckSection("floor");
  EXPECT_EQ(check.exit, 0) << check.out << check.err;
  EXPECT_EQ(Setting("DIST_ELM"), "0.3");
  EXPECT_EQ(Setting("DESC_HEIGHT"), "0");
}

TEST_F(SectionCommand, ATypedNumberIsSavedWithItsLeadingZero) {
  Outcome o = RunCommand("Jov_CutDlg", kData + "branch.dxf", std::string(kBranchScript) + "set 5026 .5\nok\n");
  EXPECT_TRUE(o.Has("result: -1")) << o.out;
  EXPECT_TRUE(o.Has("drawing: written " + Path("out.dxf"))) << o.out;
  EXPECT_EQ(Setting("DIST_ELM"), "0.5");
}

// The ways the command ends without drawing a section.
TEST_F(SectionCommand, EndsWithoutASection) {
  // F (3D) again under handle 50: two supply pipes and one return pipe.
  std::string twoSupply = testsupport::Slurp(kData + "branch.dxf");
  const size_t from = twoSupply.find("  0\nLWPOLYLINE\n  5\n3D\n");
  const size_t to = twoSupply.find("  0\nLWPOLYLINE\n", from + 1);
  ASSERT_NE(from, std::string::npos);
  ASSERT_NE(to, std::string::npos);
  std::string copy = twoSupply.substr(from, to - from);
  copy.replace(copy.find("\n3D\n"), 4, "\n50\n");
  twoSupply.insert(to, copy);
  const size_t seed = twoSupply.find("$HANDSEED\n  5\n42\n");
  ASSERT_NE(seed, std::string::npos);
  twoSupply.replace(seed, 17, "$HANDSEED\n  5\n51\n");
  const std::string twoSupplyPath = Write("two_supply.dxf", twoSupply);
  // P stands for the catalogue's product whose only connection is a vent.
  std::string ventOnly = testsupport::Slurp(kData + "branch.dxf");
  const size_t product = ventOnly.find("TCD0000i0001");
  ASSERT_NE(product, std::string::npos);
  ventOnly.replace(product, 12, "TCD0000i0004");
  const std::string ventOnlyPath = Write("vent_only.dxf", ventOnly);
  std::string unknown = testsupport::Slurp(kData + "branch.dxf");
  unknown.replace(unknown.find("TCD0000i0001"), 12, "TCD0000i0077");
  const std::string unknownPath = Write("unknown.dxf", unknown);
  std::string noLength = testsupport::Slurp(kData + "branch.dxf");
  noLength.replace(noLength.find("\nL\n1000\n600\n") + 8, 3, "abc");
  const std::string noLengthPath = Write("no_length.dxf", noLength);
  const std::string noLibrary = ModuleFolder(dir_ / "no_library", "Wizard.dll");

  const std::string written = "drawing: written " + Path("out.dxf");
  const std::vector<std::string> rolledBack{"BeginChange() -> marked", "EndChange(-1) -> rolled back"};
  struct Case {
    const char* what;
    std::string drawing, script;
    const char* message;  // part of the one message shown; null: none
    std::string drawingLine;
    std::vector<std::string> changes;
    std::string modules = JOV_TEST_MODULE_DIR;
    const char* pipeTypes = kPipeTypes;  // "Jov_lin.dat"; null: none
  } const cases[] = {
      {"a product without its class's connection code", ventOnlyPath, std::string(kBranchScript) + "ok\nanswer ok\n",
       "(TCD0000i0004, branch 1) lacks the connection point", "drawing: not written (change cancelled)", rolledBack},
      {"a product the catalogue does not know", unknownPath, std::string(kBranchScript) + "ok\nanswer ok\n",
       "type code of XYZ (TCD0000i0077, branch 1)", "drawing: not written (change cancelled)", rolledBack},
      {"a product length that is no number", noLengthPath, std::string(kBranchScript) + "ok\nanswer ok\n",
       "entity 3B (key L) is not usable", "drawing: not written (change cancelled)", rolledBack},
      {"a point too far from the origin", kData + "branch.dxf",
       "pick 39\nselect 39 3B 3D 3E\npoint 1e20 20000\ndialog 5009\nok\nanswer ok\n", "more than 10 million km",
       "drawing: not written (change cancelled)", rolledBack},
      {"two supply pipes and one return pipe", twoSupplyPath, "pick 39\nselect 39 3B 3D 50 3E\nanswer ok\n",
       "supply and return pipes must pair up", "drawing: unchanged", {}},
      // The reading ends at once, and without pipes they do not pair.
      {"a product first", kData + "branch.dxf", "pick 3B\nselect 3B 39 3D 3E\nanswer ok\n",
       "supply and return pipes must pair up", "drawing: unchanged", {}},
      {"a pipe first", kData + "branch.dxf", "pick 3D\nselect 3D 39 3B 3E\nanswer ok\n", "must begin with a riser",
       "drawing: unchanged", {}},
      {"the first prompt cancelled", kData + "branch.dxf", "cancel\n", nullptr, "drawing: unchanged", {}},
      // Nothing drawn: the host learns of no change.
      {"the point prompt cancelled", kData + "branch.dxf", "pick 39\nselect 39 3B 3D 3E\ncancel\n", nullptr,
       "drawing: not written (change cancelled)", rolledBack},
      {"the dialog cancelled", kData + "branch.dxf", std::string(kBranchScript) + "cancel\n", nullptr,
       "drawing: not written (change cancelled)", rolledBack},
      // Without the product library nothing is asked (a prompt would go
      // unanswered).
      {"no product library", kData + "branch.dxf", "", nullptr, "drawing: unchanged", {}, noLibrary},
      // Pipe types that no drawing can hold: named with their key and file,
      // and nothing drawn.
      {"no pipe types", kData + "branch.dxf", std::string(kBranchScript) + "ok\nanswer ok\n",
       "in [MODULE_T] of Jov_lin.dat", "drawing: not written (change cancelled)", rolledBack, JOV_TEST_MODULE_DIR,
       nullptr},
      {"damaged pipe types", kData + "branch.dxf", std::string(kBranchScript) + "ok\nanswer ok\n",
       "in [MODULE_T] of Jov_lin.dat", "drawing: not written (change cancelled)", rolledBack, JOV_TEST_MODULE_DIR,
       "[MODULE_T]\r\n0=;;;;;\r\n1=;;;;;\r\n"},
      {"pipe types of random bytes", kData + "branch.dxf", std::string(kBranchScript) + "ok\nanswer ok\n",
       "in [MODULE_T] of Jov_lin.dat", "drawing: not written (change cancelled)", rolledBack, JOV_TEST_MODULE_DIR,
       "\x8f\x01\xfe=\x7f[\x02\x03\r\n\xff\xfe;;\x1b"},
      // Settings saved as UTF-8 are named before anything is drawn.
      {"pipe types in UTF-8 with a byte-order mark", kData + "branch.dxf", std::string(kBranchScript) + "ok\nanswer ok\n",
       "Jov_lin.dat is saved as UTF-8", "drawing: not written (change cancelled)", rolledBack, JOV_TEST_MODULE_DIR,
       "\xEF\xBB\xBF[MODULE_T]\r\n0=TPP0000-0001;P;PIPE_S\r\n1=TPZ0000-0001;Z;PIPE_R\r\n"},
      {"pipe types in UTF-8", kData + "branch.dxf", std::string(kBranchScript) + "ok\nanswer ok\n",
       "Jov_lin.dat is saved as UTF-8", "drawing: not written (change cancelled)", rolledBack, JOV_TEST_MODULE_DIR,
       "[MODULE_T]\r\n0=TPP0000-0001;P;POTRUB\xC3\x8D\r\n1=TPZ0000-0001;Z;PIPE_R\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove(dir_ / "profile" / "Dat" / "Jov_lin.dat");
    if (c.pipeTypes) Write("profile/Dat/Jov_lin.dat", c.pipeTypes);
    Outcome o = RunCommand("Jov_CutDlg", c.drawing, c.script, JOV_SECTION_CATALOGUE, c.modules);
    EXPECT_EQ(o.exit, 0) << o.err;
    EXPECT_TRUE(o.Has("result: -1")) << o.out;
    const std::vector<std::string> lines = Lines(o.out);
    const auto messages = std::count_if(lines.begin(), lines.end(),
                                        [](const std::string& l) { return l.rfind("message:", 0) == 0; });
    if (c.message) {
      EXPECT_EQ(messages, 1) << o.out;
      EXPECT_NE(o.out.find(c.message), std::string::npos) << o.out;
    } else {
      EXPECT_EQ(messages, 0) << o.out;
    }
    EXPECT_TRUE(o.Has(c.drawingLine)) << o.out;
    EXPECT_EQ(Changes(), c.changes);
    EXPECT_EQ(o.out.find("unanswered"), std::string::npos) << o.out;
    if (c.drawingLine == written) {
      Outcome check = CheckSection("unchanged");
      EXPECT_EQ(check.exit, 0) << check.out << check.err;
    }
  }
}

// Exclude_From and Include_In toggle the include flag of the picked
// entities and of nothing else.
TEST_F(SectionCommand, IncludeFlagOfPickedEntities) {
  const std::vector<std::string> committed{"BeginChange() -> marked", "EndChange(1) -> committed"};
  std::string other = testsupport::Slurp(kData + "network.dxf");
  const size_t e1 = other.find("TCD0000i0001");
  ASSERT_NE(e1, std::string::npos);
  other.replace(e1, 12, "TCDi000i0001");
  struct Case {
    const char* what;
    const char* command;
    std::string drawing;
    const char* code;  // E1's type code afterwards
  } const cases[] = {
      {"excluded", "Exclude_From", kData + "network.dxf", "TCD0000-0001"},
      {"included again", "Include_In", Path("excluded.dxf"), "TCD0000i0001"},
      {"only the eighth character", "Exclude_From", Write("other.dxf", other), "TCDi000-0001"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Outcome o = RunCommand(c.command, c.drawing, "select 3C\n");
    EXPECT_EQ(o.exit, 0) << o.err;
    EXPECT_TRUE(o.Has("result: 1")) << o.out;
    ASSERT_TRUE(o.Has("drawing: written " + Path("out.dxf"))) << o.out;
    EXPECT_EQ(Changes(), committed);
    Outcome check = Check("tests/e2e/check_include.py", {c.drawing, Path("out.dxf"), "3C", c.code});
    EXPECT_EQ(check.exit, 0) << check.out << check.err;
    std::filesystem::copy_file(Path("out.dxf"), Path("excluded.dxf"), std::filesystem::copy_options::overwrite_existing);
  }

  // Nothing picked: the command still ends the change as done.
  Outcome o = RunCommand("Exclude_From", kData + "network.dxf", "cancel\n");
  EXPECT_TRUE(o.Has("result: 1")) << o.out;
  EXPECT_EQ(Changes(), committed);
}

// A riser's section: the tree of its branches when they hang on different
// parents, the flat layout when they share one, their products as the
// catalogue draws them (A standing on the floor); the number saved and the
// next one offered.
TEST_F(SectionCommand, RiserBecomesASectionInTheDrawing) {
  Write("profile/Dat/Jov.ini", kRiserSettings);
  std::string oneParent = testsupport::Slurp(kData + "riser.dxf");
  for (const char* branch : {"\nK,A\n", "\nM,A\n"}) {
    const size_t at = oneParent.find(branch);
    ASSERT_NE(at, std::string::npos) << branch;
    oneParent[at + 3] = 'P';
  }
  struct Case {
    const char* what;
    std::string drawing;
    const char* mode;
  } const cases[] = {
      {"branches of different parents", kData + "riser.dxf", "tree"},
      {"branches of one parent", Write("one_parent.dxf", oneParent), "flat"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Outcome o = RunCommand("Jov_CutDlg", c.drawing, std::string(kRiserScript) + "set 5052 7\nok\n");
    EXPECT_EQ(o.exit, 0) << o.err;
    EXPECT_TRUE(o.Has("result: -1")) << o.out;
    EXPECT_EQ(o.out.find("message:"), std::string::npos) << o.out;
    ASSERT_TRUE(o.Has("drawing: written " + Path("out.dxf"))) << o.out;
    EXPECT_TRUE(o.Has("  5032 Static \"1\"")) << "the riser's number\n" << o.out;
    EXPECT_EQ(LastHostCall(), "EndChange(1) -> committed");
    const std::vector<std::string> changes = Changes();
    EXPECT_EQ(std::count(changes.begin(), changes.end(), "EndChange(1) -> committed"), 1);
    EXPECT_EQ(changes.size(), 3u) << "the pick step's change, opened again to draw, ended once";
    Outcome check = Check("jov_vantrix/tests/drawing/check_riser_section.py",
                          {c.drawing, Path("out.dxf"), c.mode, "-", kCatalogueSource});
    EXPECT_EQ(check.exit, 0) << check.out << check.err;
    EXPECT_EQ(Setting("CUT_NUMBER"), "7");
  }

  // The next run offers the number after it.
  Outcome next = RunCommand("Jov_CutDlg", kData + "riser.dxf", std::string(kRiserScript) + "cancel\n");
  EXPECT_NE(next.out.find("\n  5052 ComboBox \"8\" "), std::string::npos) << next.out;
  EXPECT_TRUE(next.Has("drawing: not written (change cancelled)")) << next.out;
}

// The ways a riser's section ends without being drawn; each ends the
// change once and cancels it.
TEST_F(SectionCommand, RiserEndsWithoutASection) {
  fs::create_directories(dir_ / "no_catalogue");
  std::string starLayer = kRiserSettings;
  starLayer.replace(starLayer.find("LAYER=DESC"), 10, "LAYER=*");
  std::string unknown = testsupport::Slurp(kData + "riser.dxf");
  for (size_t at = unknown.find("TCD0000i0001"); at != std::string::npos; at = unknown.find("TCD0000i0001", at))
    unknown.replace(at, 12, "TCD0000i0099");
  const std::string unknownPath = Write("unknown.dxf", unknown);
  std::string noLength = testsupport::Slurp(kData + "riser.dxf");
  noLength.replace(noLength.find("\nL\n1000\n600\n") + 8, 3, "-3000");
  const std::string noLengthPath = Write("no_length.dxf", noLength);
  struct Case {
    const char* what;
    std::string script;
    const char* message;  // part of the one message shown
    const char* cutNumber;
    std::string catalogue = JOV_SECTION_CATALOGUE;
    std::string settings = kRiserSettings;
    std::string drawing = kData + "riser.dxf";
  } const cases[] = {
      // The dialog stays open after the message: the next line is its own.
      {"no number", std::string(kRiserScript) + "set 5052 \"\"\nok\nanswer ok\nset 5026 0.7\ncancel\n",
       "The number is missing", "6"},
      {"a branch insert first", "pick 3E\nselect 40 42\npoint 0 0\nanswer ok\n", "must begin with a riser", "6"},
      {"no root branch, and No to drawing anyway", "pick 52\nselect 54 56\npoint 0 0\ndialog 5004\nok\nanswer no\n",
       "could not be listed", "6"},
      {"no catalogue of the riser's trade", std::string(kRiserScript) + "ok\nanswer ok\n", "could not be drawn", "6",
       Path("no_catalogue")},
      {"a point too far from the origin", "pick 3C\nselect 3E 40 42\npoint -1e300 0\ndialog 5004\nok\nanswer ok\n",
       "more than 10 million km", "6"},
      {"a product length below 0", std::string(kRiserScript) + "ok\nanswer ok\n", "entity 40 (key L) is not usable",
       "6", JOV_SECTION_CATALOGUE, kRiserSettings, noLengthPath},
      // The riser section keeps "*" as the layer's name, which no drawing
      // can hold.
      {"a layer named *", std::string(kRiserScript) + "ok\nanswer ok\n", "LAYER\\\" in [DESC] of Jov.ini", "6",
       JOV_SECTION_CATALOGUE, starLayer},
      // A riser whose products the catalogue does not know: named, and
      // Cancel draws nothing.
      {"every product unknown", std::string(kRiserScript) + "ok\nanswer cancel\n",
       "3: ", "6", JOV_SECTION_CATALOGUE, kRiserSettings, unknownPath},
      {"settings in UTF-8", std::string(kRiserScript) + "ok\nanswer ok\n", "Jov.ini is saved as UTF-8", "6",
       JOV_SECTION_CATALOGUE, std::string(kRiserSettings) + "[CUT_DLG_HIST]\r\nHIST0=1.NP p\xC5\x99\xC3\xADzem\xC3\xAD\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Write("profile/Dat/Jov.ini", c.settings);
    Outcome o = RunCommand("Jov_CutDlg", c.drawing, c.script, c.catalogue);
    EXPECT_EQ(o.exit, 0) << o.err;
    EXPECT_TRUE(o.Has("result: -1")) << o.out;
    const std::vector<std::string> lines = Lines(o.out);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("message:", 0) == 0; }),
              1)
        << o.out;
    EXPECT_NE(o.out.find(c.message), std::string::npos) << o.out;
    if (std::string(c.what) == "every product unknown") {
      for (const char* branch : {"A", "K", "M"})
        EXPECT_NE(o.out.find(std::string("(TCD0000i0099, branch ") + branch + ")"), std::string::npos) << o.out;
    }
    EXPECT_EQ(o.out.find("unanswered"), std::string::npos) << o.out;
    EXPECT_TRUE(o.Has("drawing: not written (change cancelled)")) << o.out;
    const std::vector<std::string> changes = Changes();
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes.front(), "BeginChange() -> marked");
    EXPECT_EQ(changes.back(), "EndChange(-1) -> rolled back");
    EXPECT_EQ(std::count_if(changes.begin(), changes.end(), [](const std::string& l) { return l.rfind("End", 0) == 0; }),
              1);
    EXPECT_EQ(Setting("CUT_NUMBER"), c.cutNumber) << "kept only with its section drawn";
  }
}
