// The parametric product dialog through the real runner and "Wizard.dll",
// worked from session scripts: the sample pipe's length edited, kept for
// the next request and placed in a drawing; the sample radiator sized from
// a Vantrix project list or from the outside radiator catalogue.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/e2e/E2eFixture.h"

namespace fs = std::filesystem;

namespace {

// PPDlg (or PPDlgNoInitialRecalc) of a sample product in view B, in
// millimetres, not connected.
std::vector<std::string> Request(const char* product, const char* exportName = "PPDlg") {
  return {"--run", exportName, "--arg", "main", "--arg", std::string("db:T:") + product, "--arg", "1", "--arg", "-",
          "--arg", "0", "--arg", "1000", "--arg", "0", "--arg", "-", "--arg", "1", "--arg", "-", "--arg", "-",
          "--arg", "-", "--arg", "-"};
}

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// One record of a project list: item, its L, room and floor; the other
// fields numbered after the field ("f1" ...), field 9 empty when
// incomplete.
struct Record {
  const char* item;
  const char* length;
  const char* room;
  const char* floor;
  bool marked = false;
  bool complete = true;
};

class ProductDialogs : public E2e {
 protected:
  void SetUp() override {
    E2e::SetUp();
    fs::create_directories(dir_ / "profile" / "Dat");
  }
  Outcome Wizard(std::vector<std::string> args, const std::string& script) {
    args.insert(args.begin(), {"--module", "Wizard.dll", "--registry", Path("registry"), "--script",
                               Write("script.txt", script)});
    return Run(args);
  }
  void Settings(const std::string& lines) {
    Write("profile/Dat/Jov.ini", lines);
  }
  // The list file as the project manager writes it.
  void ProjectList(const std::vector<Record>& records) {
    std::string file;
    auto put32 = [&file](uint32_t v) {
      for (int i = 0; i < 4; ++i) file += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    put32(static_cast<uint32_t>(records.size()));
    for (const Record& r : records) {
      file += static_cast<char>(r.marked ? 1 : 0);
      put32(18);
      for (int f = 0; f < 18; ++f) {
        std::string text = "f" + std::to_string(f);
        if (f == 0) text = r.item;
        if (f == 4) text = r.length;
        if (f == 10) text = r.room;
        if (f == 13) text = r.floor;
        if (f == 9 && !r.complete) text.clear();
        put32(static_cast<uint32_t>(text.size() + 1));
        file += text;
        file += '\0';
      }
    }
    fs::create_directories(dir_ / "profile" / "Vantrix");
    Write("profile/Vantrix/project.vtx", file);
  }
  // The items of the saved list with their marks ("T1*" marked).
  std::string SavedList() const {
    const std::string file = testsupport::Slurp(dir_ / "profile" / "Vantrix" / "project.vtx");
    auto get32 = [&file](size_t at) {
      uint32_t v = 0;
      for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(file[at + i]);
      return v;
    };
    std::string items;
    size_t at = 4;
    for (uint32_t n = get32(0); n > 0; --n) {
      const bool marked = file[at++] != 0;
      const uint32_t fields = get32(at);
      at += 4;
      for (uint32_t f = 0; f < fields; ++f) {
        const uint32_t length = get32(at);
        at += 4;
        if (f == 0) items += std::string(file.data() + at, length ? length - 1 : 0) + (marked ? "* " : " ");
        at += length;
      }
    }
    return items;
  }
  std::string Setting(const std::string& key) const {
    const std::string ini = testsupport::Slurp(dir_ / "profile" / "Dat" / "Jov.ini");
    const size_t at = ini.find("\n" + key + "=");
    if (at == std::string::npos) return "<none>";
    const size_t from = at + key.size() + 2;
    return ini.substr(from, ini.find_first_of("\r\n", from) - from);
  }
  // The twelve texts of the _VANTRIX record the call handed out.
  static std::vector<std::string> VantrixRecord(const Outcome& o) {
    std::vector<std::string> texts;
    size_t at = o.out.find("chain 2: 1001 \"_VANTRIX\"\nchain 2: 1070 12\n");
    if (at == std::string::npos) return texts;
    at = o.out.find('\n', at) + 1;
    at = o.out.find('\n', at) + 1;
    for (int i = 0; i < 12; ++i) {
      const size_t end = o.out.find('\n', at);
      const std::string line = o.out.substr(at, end - at);
      const std::string prefix = "chain 2: 1000 \"";
      texts.push_back(line.rfind(prefix, 0) == 0 ? line.substr(prefix.size(), line.size() - prefix.size() - 1) : "?");
      at = end + 1;
    }
    return texts;
  }
};

}  // namespace

TEST_F(ProductDialogs, ThePipesLengthIsEditedKeptForTheNextRequestAndPlaced) {
  const std::string out = Path("placed.dxf");
  Outcome o = Wizard(Join(Join(Request("TPP0015-0001"), Request("TPP0015-0001", "PPDlgNoInitialRecalc")),
                          {"--insert", "2000", "0", "--out", out}),
                     "dialog 1006\nedit-cell 1010 0 1 1500\nok\n"
                     "dialog 1006\nok\n");
  ASSERT_EQ(o.exit, 0) << o.err << o.out;
  EXPECT_TRUE(o.out.rfind("result: 1\n", 0) == 0) << o.out;
  EXPECT_NE(o.out.find("chain 1: 11 1500 0 0\n"), std::string::npos) << "the line ends at 1500";
  EXPECT_NE(o.out.find("chain 2: 1000 \"L\"\nchain 2: 1000 \"1500.00\"\nchain 2: 1000 \"DN\"\nchain 2: 1000 \"15\""),
            std::string::npos)
      << o.out;
  // The second request, without recalculation, opens the same dialog on the
  // stored values.
  const size_t second = o.out.find("result: 1", 1);
  ASSERT_NE(second, std::string::npos) << o.out;
  EXPECT_NE(o.out.find("chain 2: 1000 \"1500.00\"", second), std::string::npos) << o.out;
  EXPECT_NE(testsupport::Slurp(dir_ / "profile" / "Dat" / "PP_LastT.dat").find("L|1500.00|DN|15|"), std::string::npos);
  EXPECT_TRUE(o.Has("insert: block \"*U1\" at 2000 0")) << o.out;
  EXPECT_TRUE(o.Has("drawing: written " + out)) << o.out;
  EXPECT_NE(testsupport::Slurp(out).find("TPP0015-0001"), std::string::npos);
}

TEST_F(ProductDialogs, AnOutOfRangeLengthCancelBackAndHelp) {
  Outcome o = Wizard(Request("TPP0015-0001"),
                     "dialog 1006\nedit-cell 1010 0 1 100000\nanswer ok\nkey 1010 F1\nclick 1057\ncancel\n");
  EXPECT_EQ(o.exit, 5) << "the click on the disabled back button is a script error: " << o.err;
  EXPECT_TRUE(o.Has("result: 2")) << o.out;
  EXPECT_EQ(o.out.find("chain "), std::string::npos) << "no chains";
  EXPECT_TRUE(o.Has("message: caption=\"Dravik 2D\" type=48 text=\"The value must be a number from 10.00 to "
                    "6000.00.\" answer=ok"))
      << o.out;
  EXPECT_NE(o.out.find("help: file=\"" JOV_TEST_MODULE_DIR "/HELP\\\\JOV2D.HLP\" topic=\"context 180\""),
            std::string::npos)
      << o.out;
  EXPECT_NE(o.err.find("control 1057 is disabled"), std::string::npos) << "back only after the producer dialog";
  EXPECT_EQ(testsupport::Slurp(dir_ / "profile" / "Dat" / "PP_LastT.dat").find("L|"), std::string::npos)
      << "cancelled: nothing stored";
}

TEST_F(ProductDialogs, TheRadiatorIsSizedFromTheProjectListAndTheLastItemEndsItsUse) {
  ProjectList({{"T1", "1400", "101", "1NP", true},
               {"T2", "1600", "104", "1NP"},
               {"T3", "900", "112", "1NP", false, false},  // incomplete
               {"T4", "800", "105", "1NP"},
               {"T5", "1000", "201", "2NP"}});
  Settings("[VANTRIX]\r\nVANTRIX_USE=1\r\nVANTRIX_ACTUAL=project.vtx\r\nLAST_FLOOR=1NP\r\nLAST_ROOM=105\r\n");
  // LAST_ROOM 105 chooses T4; a change to 2NP and back chooses the next
  // room from 201 on, none, so the first.
  Outcome o = Wizard(Request("TOT0600-0001"), "dialog 1006\nok\n");
  ASSERT_EQ(o.exit, 0) << o.err;
  EXPECT_TRUE(o.Has("result: 1")) << o.out;
  EXPECT_NE(o.out.find("chain 2: 1000 \"L\"\nchain 2: 1000 \"800\""), std::string::npos) << o.out;
  EXPECT_EQ(VantrixRecord(o), (std::vector<std::string>{"T4", "f1", "f2", "f3", "f7", "f8", "f9", "1NP", "f14", "f15",
                                                        "f16", "f17"}));
  EXPECT_EQ(SavedList(), "T1* T2 T4* T5 ") << "T4 placed, the incomplete T3 gone";
  EXPECT_EQ(Setting("LAST_ROOM"), "105");

  Outcome next = Wizard(Request("TOT0600-0001"), "dialog 1006\nchoose 1099 2NP\nchoose 1099 1NP\nok\n");
  ASSERT_EQ(next.exit, 0) << next.err;
  EXPECT_EQ(VantrixRecord(next)[0], "T2") << next.out;
  EXPECT_EQ(Setting("VANTRIX_USE"), "1");

  // A pipe leaves the project alone; the last item ends its use.
  Outcome pipe = Wizard(Request("TPP0015-0001"), "dialog 1006\nok\n");
  EXPECT_TRUE(pipe.Has("result: 1")) << pipe.out;
  EXPECT_TRUE(VantrixRecord(pipe).empty());
  EXPECT_EQ(Setting("VANTRIX_USE"), "1");
  Outcome last = Wizard(Request("TOT0600-0001"), "dialog 1006\nok\n");
  EXPECT_EQ(VantrixRecord(last)[0], "T5") << last.out;
  EXPECT_EQ(SavedList(), "T1* T2* T4* T5* ");
  EXPECT_EQ(Setting("VANTRIX_USE"), "0");
}

TEST_F(ProductDialogs, TheRadiatorCatalogueOnceTheMachineSaysItIsInstalled) {
  ProjectList({{"T1", "1400", "101", "1NP"}});
  Settings("[VANTRIX]\r\nVANTRIX_USE=1\r\nVANTRIX_ACTUAL=project.vtx\r\n");
  const std::string script =
      "dialog 1006\nclick 1098\n"
      "radiator RK22 \"Deskový radiátor 22\" K600 \"Korpalin 22, výška 600\" 1 2 3 1200 600 100 1450 65\nok\n";
  Outcome without = Wizard(Request("TOT0600-0001"), script);
  EXPECT_NE(without.err.find("control 1098 is hidden"), std::string::npos) << without.err;

  Outcome o = Wizard(Join(Request("TOT0600-0001"),
                          {"--hklm", "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Programy VANTRIX\\Path=C:\\Vantrix"}),
                     script);
  ASSERT_EQ(o.exit, 0) << o.err;
  EXPECT_TRUE(o.Has("result: 1")) << o.out;
  EXPECT_NE(o.out.find("chain 2: 1000 \"L\"\nchain 2: 1000 \"1200\""), std::string::npos) << o.out;
  EXPECT_EQ(VantrixRecord(o), (std::vector<std::string>{"", "RK22", "Deskový radiátor 22", "K600", "65", "1450", "",
                                                        "", "Korpalin 22, výška 600", "1", "2", "3"}));
  EXPECT_EQ(SavedList(), "T1 ") << "the catalogue's choice marks nothing";

  // The machine's value was the run's only.
  Outcome after = Wizard(Request("TOT0600-0001"), "dialog 1006\nclick 1098\ncancel\n");
  EXPECT_NE(after.err.find("control 1098 is hidden"), std::string::npos) << after.err;
  EXPECT_EQ(Run({"--module", "Wizard.dll", "--run", "PPFree", "--hklm", "NoName="}).exit, 2);
}

// The parametric radiator's preview: its connection lines as arrows and
// markers (kind 4) that follow an edited length and the mirror check, and
// the catalogue's own drawing (kind 3) behind the switch.
TEST_F(ProductDialogs, TheRadiatorsPreviewShowsItsConnectionsAndFollowsTheDialog) {
  std::vector<std::string> args = {"--verbose", "--run", "SetPPMirror", "--arg", "0"};
  const std::vector<std::string> request = Request("TOR0600-0001");
  args.insert(args.end(), request.begin(), request.end());
  Outcome o = Wizard(args, "dialog 1006\nedit-cell 1010 0 1 1400\ncheck 1075 1\nok\n");
  ASSERT_EQ(o.exit, 0) << o.err;
  EXPECT_TRUE(o.Has("result: 1")) << o.out;
  // The body's four lines, the fill, vent and handle, the type; nothing of
  // the connection lines but their arrows, and a marker each, the first
  // (the product's own point) shown.
  for (const char* line : {"    no name: GLLine 7 x4, GLPolygon 8 x1, GLArc 7 x2, GLText 7 x1, GLArrow 1 x1; texts \"22\"",
                           "    name 1: GLSelectPoint 4 x1", "    name none: GLArrow 1 x1",
                           "    name 2: GLSelectPoint 4 x1", "    kind 4, selected 1, mirrored",
                           "    connection 1 at (50.000, 0.000, 1.000) pointing 270.000 degrees, marker shown",
                           "    connection 2 at (1350.000, 0.000, 1.000) pointing 270.000 degrees, marker hidden"})
    EXPECT_TRUE(o.Has(line)) << line << "\n" << o.out;

  Outcome catalogue = Wizard(Join({"--verbose"}, Request("TOR0600-0001")),
                             "dialog 1006\nedit-cell 1010 0 1 1400\nclick 1050\nok\n");
  ASSERT_EQ(catalogue.exit, 0) << catalogue.err;
  for (const char* line : {"    kind 3, selected 1, not mirrored",
                           "    connection 2 at (950.000, 0.000, 1.000) pointing 270.000 degrees, marker hidden"})
    EXPECT_TRUE(catalogue.Has(line)) << line << "\n" << catalogue.out;
}

TEST_F(ProductDialogs, ATypeTextWithAnOpenBracketKeepsItsCellAndSaysWhy) {
  Outcome o = Wizard(Request("TOR0600-0001"), "dialog 1006\nedit-cell 1010 3 1 (22\nanswer ok\ncancel\n");
  EXPECT_TRUE(o.Has("result: 2")) << o.out;
  EXPECT_NE(o.out.find("its brackets must be balanced"), std::string::npos) << o.out;
}
