// Products of the real catalogue through the real runner and "Wizard.dll":
// without a dialog (PPGetResbufEx, PPGetResbuf, PPDlg), placed in a
// drawing with --insert and read back by ezdxf, and with the levels of the
// INSERT the product is connected to.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/e2e/E2eFixture.h"

namespace fs = std::filesystem;

namespace {

// Two INSERTs with extended data: 2A carries the levels, 2B has none, 2C
// has no JOV_DATA at all.
const char* kConnected =
    "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n  9\n$INSUNITS\n 70\n4\n  9\n$HANDSEED\n  5\n100\n"
    "  0\nENDSEC\n  0\nSECTION\n  2\nBLOCKS\n"
    "  0\nBLOCK\n  8\n0\n  2\nP\n 70\n0\n 10\n0.0\n 20\n0.0\n 30\n0.0\n"
    "  0\nLINE\n  8\n0\n 10\n0.0\n 20\n0.0\n 30\n0.0\n 11\n10.0\n 21\n0.0\n 31\n0.0\n  0\nENDBLK\n  8\n0\n"
    "  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n"
    "  0\nINSERT\n  5\n2A\n  8\n0\n  2\nP\n 10\n0.0\n 20\n0.0\n 30\n0.0\n"
    "1001\nJOV_DATA\n1000\nTST0000i0001\n1000\n_ZLEVEL\n1000\n1.2\n1000\nzA\n1000\n100\n1000\nzB\n1000\n300\n"
    "  0\nINSERT\n  5\n2B\n  8\n0\n  2\nP\n 10\n500.0\n 20\n0.0\n 30\n0.0\n"
    "1001\nJOV_DATA\n1000\nTST0000i0001\n1000\nzB\n1000\n700\n"
    "  0\nINSERT\n  5\n2C\n  8\n0\n  2\nP\n 10\n900.0\n 20\n0.0\n 30\n0.0\n"
    "  0\nENDSEC\n  0\nEOF\n";

// The runner's words of PPDlg: the valve of the sample catalogue in view
// B, connected (when points is given) at point 0 of that text.
std::vector<std::string> ValveRequest(const std::string& points) {
  return {"--run", "PPDlg", "--arg", "main", "--arg", "db:T:TVE0015-0001", "--arg", "1", "--arg", "-", "--arg",
          "0", "--arg", "1000", "--arg", "0", "--arg", points, "--arg", "1", "--arg", "-", "--arg", "-", "--arg",
          "-", "--arg", "-"};
}

// A view-B points text of one point of size 15 at letter B.
const char* kValveSized = "0\\n1\\n15\\nx\\ny\\nB\\n0\\n0\\n";

std::vector<std::string> PipeRequest(const std::string& names, const std::string& values) {
  return {"--run", "PPGetResbufEx", "--arg", "db:T:TPP0015-0001", "--arg", "1", "--arg", "-", "--arg", "0",
          "--arg", names, "--arg", values, "--arg", "-", "--arg", "-", "--arg", "-"};
}

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class WizardProducts : public E2e {
 protected:
  Outcome Wizard(std::vector<std::string> args, const std::string& program = JOV_TEST_MODULE_DIR "/dravik") {
    args.insert(args.begin(), {"--module", "Wizard.dll"});
    args.insert(args.end(), {"--profile", Path("profile")});
    return testsupport::RunProgram(program, args, dir_);
  }
  // The lines of one call's output: from its "result:" line to the next
  // call or to what the runner prints after the calls.
  static std::vector<std::string> Call(const Outcome& o, int index) {
    std::vector<std::string> lines;
    int seen = -1;
    size_t start = 0;
    while (start < o.out.size()) {
      size_t end = o.out.find('\n', start);
      const std::string line = o.out.substr(start, end - start);
      start = end + 1;
      if (line.rfind("result:", 0) == 0) ++seen;
      for (const char* after : {"insert:", "unanswered:", "script:", "clipboard", "drawing:"})
        if (line.rfind(after, 0) == 0) return lines;
      if (seen == index) lines.push_back(line);
      if (seen > index) break;
    }
    return lines;
  }
  static bool Holds(const std::vector<std::string>& lines, const std::string& line) {
    for (const std::string& l : lines)
      if (l == line) return true;
    return false;
  }
};

}  // namespace

TEST_F(WizardProducts, ThePipeOfTheCatalogueForTheValuesGiven) {
  Outcome o = Wizard(Join(Join(Join(PipeRequest("#L/#DN", "1500/20"), PipeRequest("#L/#DN", "100000/20")),
                               PipeRequest("L/DN", "1500/20")),
                          {"--run", "DimDlg", "--arg", "main", "--arg", "E"}));
  ASSERT_EQ(o.exit, 0) << o.err;
  const std::vector<std::string> given = Call(o, 0);
  ASSERT_FALSE(given.empty());
  EXPECT_EQ(given[0], "result: 1");
  EXPECT_TRUE(Holds(given, "chain 1: 0 \"LINE\""));
  EXPECT_TRUE(Holds(given, "chain 1: 11 1500 0 0")) << o.out;
  const std::vector<std::string> data = {
      "chain 2: 1001 \"JOV_DATA\"", "chain 2: 1000 \"TPP0015-0001\"", "chain 2: 1000 \"_TYPE\"",
      "chain 2: 1000 \"128\"",      "chain 2: 1000 \"_PTS\"",
      "chain 2: 1000 \"2\\n20\\nCu\\npřívod\\nA\\n20\\nCu\\npřívod\\nB\\n\"",
      "chain 2: 1000 \"L\"",        "chain 2: 1000 \"1500\"", "chain 2: 1000 \"DN\"", "chain 2: 1000 \"20\""};
  auto first = std::find(given.begin(), given.end(), data[0]);
  ASSERT_NE(first, given.end()) << o.out;
  EXPECT_EQ(std::vector<std::string>(first, first + static_cast<long>(data.size())), data);

  EXPECT_EQ(Call(o, 1), std::vector<std::string>{"result: 2"}) << "L beyond its range: no chains";
  const std::vector<std::string> plain = Call(o, 2);
  EXPECT_EQ(plain[0], "result: 1");
  EXPECT_TRUE(Holds(plain, "chain 1: 11 1000 0 0")) << "names without '#' assign nothing";
  EXPECT_EQ(Call(o, 3), std::vector<std::string>{"result: 1"});
}

TEST_F(WizardProducts, TheTwoLengthsAreFormattedAsTheCatalogueTakesThem) {
  Outcome o = Wizard({"--run", "PPGetResbuf", "--arg", "db:T:TPP0015-0001", "--arg", "1", "--arg", "flags:0,0,1",
                      "--arg", "3", "--arg", "1234.5", "--arg", "25", "--arg", "K1", "--arg", "-", "--arg", "V2",
                      "--run", "PPGetResbuf", "--arg", "db:T:TPP0015-0001", "--arg", "1", "--arg", "-", "--arg",
                      "0", "--arg", "-", "--arg", "25", "--arg", "-", "--arg", "-", "--arg", "-"});
  ASSERT_EQ(o.exit, 0) << o.err;
  const std::vector<std::string> first = Call(o, 0);
  EXPECT_TRUE(Holds(first, "chain 1: 11 1234.5 0 0")) << o.out;
  EXPECT_TRUE(Holds(first, "chain 2: 1000 \"1234.50000000\"")) << "the length as \"%.8f\"";
  EXPECT_TRUE(Holds(first, "chain 2: 1000 \"_QPROD\""));
  EXPECT_TRUE(Holds(first, "chain 2: 1000 \"_BRANCH\""));
  EXPECT_FALSE(Holds(first, "chain 2: 1000 \"_SLOPE\""));
  EXPECT_TRUE(Holds(first, "chain 2: 1000 \"_NOTE\"")) << "flag 2: property 6";
  EXPECT_EQ(Call(o, 1), std::vector<std::string>{"result: 2"}) << "no length";
}

TEST_F(WizardProducts, TheValveWithoutADialogIsPlacedInTheDrawing) {
  const std::string out = Path("placed.dxf");
  Outcome o = Wizard(Join(ValveRequest("-"), {"--insert", "1000", "500", "--out", out}));
  ASSERT_EQ(o.exit, 0) << o.err;
  const std::vector<std::string> call = Call(o, 0);
  EXPECT_EQ(call[0], "result: 1");
  EXPECT_TRUE(Holds(call, "chain 1: 0 \"CIRCLE\""));
  EXPECT_TRUE(Holds(call, "chain 2: 1000 \"TVE0015-0001\""));
  EXPECT_TRUE(o.Has("insert: block \"TVE0015-0001\" at 1000 500")) << o.out;
  EXPECT_TRUE(o.Has("drawing: written " + out)) << o.out;

  Outcome audit = testsupport::RunProgram(JOV_PYTHON, {std::string(JOV_SOURCE_DIR) + "/tests/e2e/audit_product.py", out},
                                          dir_);
  ASSERT_EQ(audit.exit, 0) << audit.out << audit.err;
  EXPECT_TRUE(audit.Has("INSERT TVE0015-0001 1000 500")) << audit.out;
  EXPECT_TRUE(audit.Has("BLOCK TVE0015-0001 LINE LINE LINE LINE CIRCLE CIRCLE CIRCLE")) << audit.out;
  // The points' line feeds in the file's caret form.
  EXPECT_NE(audit.out.find("DATA TVE0015-0001|_TYPE|2097281|_PTS|2^J15^J1/2\"^Jvstup^J20^J"), std::string::npos)
      << audit.out;

  Outcome nothing = Wizard({"--run", "PPFree", "--insert", "0", "0", "--out", Path("none.dxf")});
  EXPECT_EQ(nothing.exit, 2);
  EXPECT_NE(nothing.err.find("--insert: no product was handed out"), std::string::npos) << nothing.err;
  EXPECT_FALSE(fs::exists(Path("none.dxf")));
}

TEST_F(WizardProducts, AConnectionOfAnotherSizeIsRefusedWithAMessage) {
  Outcome o = Wizard(ValveRequest("0\\n1\\n20\\nx\\ny\\nB\\n0\\n0\\n"));
  ASSERT_EQ(o.exit, 0) << o.err;
  const std::vector<std::string> call = Call(o, 0);
  EXPECT_EQ(call[0], "result: 3");
  ASSERT_EQ(call.size(), 2u) << o.out;
  EXPECT_EQ(call[1].rfind("message: caption=\"Dravik 2D\" type=16 text=\"The product does not fit", 0), 0u) << call[1];
}

TEST_F(WizardProducts, TheLevelComesFromTheSelectedInsert) {
  const std::string drawing = Write("connected.dxf", kConnected);
  const std::string script = Write("session.txt", "pick 2B\npick 2C\n");
  // A valve connected at letter B of an INSERT at 1.2 m whose zB is 300 mm:
  // 1.5 m. Then the pick (of a mask preset) selects 2B, whose data has no
  // level: the levels are gone. 2C has no data: nothing changes.
  std::vector<std::string> args = {"--drawing", drawing, "--select", "2A", "--script", script};
  args = Join(args, ValveRequest(kValveSized));
  args = Join(args, {"--run", "maskDefPresetEntSel"});
  args = Join(args, ValveRequest(kValveSized));
  Outcome o = Wizard(args);
  ASSERT_EQ(o.exit, 0) << o.err;
  EXPECT_TRUE(Holds(Call(o, 0), "chain 2: 1000 \"_ZLEVEL\"")) << o.out;
  EXPECT_TRUE(Holds(Call(o, 0), "chain 2: 1000 \"1.5000\"")) << o.out;
  EXPECT_FALSE(Holds(Call(o, 2), "chain 2: 1000 \"_ZLEVEL\"")) << o.out;

  Outcome kept = Wizard(Join(Join(Join({"--drawing", drawing, "--select", "2A", "--script", script},
                                       ValveRequest(kValveSized)),
                                  {"--run", "maskDefPresetEntSel", "--run", "maskDefPresetEntSel"}),
                             ValveRequest(kValveSized)));
  EXPECT_TRUE(Holds(Call(kept, 3), "chain 2: 1000 \"1.5000\"")) << "2C changes nothing: " << kept.out;

  // The manager program binds no host: no levels are read.
  const fs::path bin = ModuleFolder(dir_ / "bin");
  fs::create_symlink(fs::path(JOV_TEST_MODULE_DIR) / "dravik", bin / "JovMgr.exe");
  Outcome manager = Wizard(Join({"--drawing", drawing, "--select", "2A"}, ValveRequest(kValveSized)),
                           (bin / "JovMgr.exe").string());
  ASSERT_EQ(manager.exit, 0) << manager.err;
  EXPECT_EQ(Call(manager, 0)[0], "result: 1");
  EXPECT_FALSE(Holds(Call(manager, 0), "chain 2: 1000 \"_ZLEVEL\"")) << manager.out;
}
