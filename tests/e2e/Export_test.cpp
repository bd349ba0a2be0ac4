// The export through the runner: the fixture network picked, numbered in
// the export dialog and written to the exchange file, the drawing checked
// with an outside DXF reader; an earlier export reset and exported again;
// and the exports that end without writing anything. The runs take the
// build's module folder, or a copy of it without the product library.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/resources/jov_vantrix/resource_ids.h"
#include "tests/e2e/E2eFixture.h"
#include "tests/support/PngPicture.h"

namespace fs = std::filesystem;

namespace {

const std::string kData = std::string(JOV_SOURCE_DIR) + "/tests/data/";
const char* kSelect = "select 3C 3E 3F 40 41 42 43 44\n";  // E1-E8 of the fixtures

std::string Id(int id) { return std::to_string(id); }

// The exchange file of the fixture network numbered from first.
std::string ExchangeFile(int first) {
  const std::string line = std::to_string(first) + ";0;0;;T1;a;b;c;d;4.25\r\n";
  return "CP\r\n2\r\n#vetev;1\r\n" + line + line;
}

}  // namespace

class Export : public E2e {
 protected:
  void SetUp() override {
    E2e::SetUp();
    modules_ = ModuleFolder(dir_ / "modules");
    Settings("[DESC]\r\nHEIGHT=2.5\r\nSCFACTOR=0.8\r\n");
  }
  void Settings(const std::string& text) {
    fs::create_directories(dir_ / "profile" / "Dat");
    Write("profile/Dat/Jov.ini", text);
  }
  std::string Ini() const { return testsupport::Slurp(dir_ / "profile" / "Dat" / "Jov.ini"); }

  // The dialog's steps after the selection, then OK; the module folder's
  // catalogues unless another folder is given.
  Outcome Exporting(const std::string& drawing, const std::string& steps, const std::string& before = kSelect,
                    bool wizard = true, const std::string& catalogue = "") {
    if (!wizard) fs::remove(modules_ / "Wizard.dll");
    const std::string dialog = steps.empty() ? "" : "dialog " + Id(IDD_JOV_EXPORT) + "\n";
    const std::string script = Write("session.txt", before + dialog + steps);
    std::vector<std::string> args{"--drawing", drawing, "--scale", "100", "--out", Path("out.dxf"), "--run",
                                  "Jov_Vantrix_Export", "--script", script, "--verbose"};
    if (!pictures_.empty()) args.insert(args.end(), {"--snapshot", pictures_});
    if (!catalogue.empty()) args.insert(args.end(), {"--catalogue", catalogue});
    if (!log_.empty()) args.insert(args.end(), {"--log", log_});
    return Run(args, false, modules_.string());
  }
  static std::string Steps(const std::string& file, const std::string& more = "") {
    return "check " + Id(IDC_EXPORT_DESCRIPTIONS) + " 1\n" + more + "set " + Id(IDC_EXPORT_FILE) + " " + file +
           "\nok\n";
  }
  // The outside reader's verdict on OUT; labels: text, height, width, x, y.
  Outcome CheckDrawing(const std::vector<std::string>& labels) {
    std::vector<std::string> args{std::string(JOV_SOURCE_DIR) + "/tests/e2e/check_export.py",
                                  kData + "exported.dxf", Path("out.dxf")};
    args.insert(args.end(), labels.begin(), labels.end());
    return testsupport::RunProgram(JOV_PYTHON, args, dir_);
  }

  fs::path modules_;
  std::string pictures_;  // --snapshot
  std::string log_;       // --log
};

TEST_F(Export, TheNetworkGoesToTheExchangeFileAndTheDrawingTakesItsNumbers) {
  const std::string file = Path("F.txt");
  Outcome o = Exporting(kData + "network.dxf", Steps(file));
  EXPECT_EQ(o.exit, 0) << o.err;
  EXPECT_TRUE(o.Has("result: -1")) << o.out;
  EXPECT_EQ(o.out.find("message:"), std::string::npos) << o.out;
  EXPECT_TRUE(o.Has("drawing: written " + Path("out.dxf"))) << o.out;
  EXPECT_EQ(testsupport::Slurp(file), ExchangeFile(1));
  Outcome check = CheckDrawing({"1", "0.25", "0.8", "2.125", "0.125"});
  EXPECT_EQ(check.exit, 0) << check.out << check.err;
  const std::string ini = Ini();
  EXPECT_NE(ini.find("[VANTRIX]\r\nDESC_SEGM=1\r\nSEGM_NUMBER=1\r\nLAST_FILE=" + file + "\r\n"), std::string::npos)
      << ini;
  EXPECT_NE(ini.find("[CUT_EXPORT_DLG]\r\nHIST0=" + file + "\r\n"), std::string::npos) << ini;

  // From another first number; the settings are kept for the next export.
  Outcome ten = Exporting(kData + "network.dxf", Steps(file, "set " + Id(IDC_EXPORT_FIRST_NUMBER) + " 10\n"));
  EXPECT_TRUE(ten.Has("drawing: written " + Path("out.dxf"))) << ten.out;
  EXPECT_EQ(testsupport::Slurp(file), ExchangeFile(10));
  check = CheckDrawing({"10", "0.25", "0.8", "2.125", "0.125"});
  EXPECT_EQ(check.exit, 0) << check.out << check.err;
  EXPECT_NE(Ini().find("SEGM_NUMBER=10\r\n"), std::string::npos) << Ini();
}

TEST_F(Export, AnExportedNetworkIsResetOnlyWhenTheUserSaysSo) {
  const std::string file = Path("F.txt");
  Outcome yes = Exporting(kData + "exported.dxf", Steps(file), std::string(kSelect) + "answer yes\n");
  EXPECT_TRUE(yes.Has("drawing: written " + Path("out.dxf"))) << yes.out;
  EXPECT_NE(yes.out.find("type=4 text=\"The selected network still carries the numbers of an earlier export."),
            std::string::npos)
      << yes.out;
  EXPECT_EQ(testsupport::Slurp(file), ExchangeFile(1));

  fs::remove(file);
  Outcome no = Exporting(kData + "exported.dxf", "", std::string(kSelect) + "answer no\n");
  EXPECT_TRUE(no.Has("result: -1")) << no.out;
  EXPECT_TRUE(no.Has("drawing: not written (change cancelled)")) << no.out;
  EXPECT_EQ(no.out.find("type=16"), std::string::npos) << "no further message: " << no.out;
  EXPECT_EQ(no.out.find("dialog " + Id(IDD_JOV_EXPORT)), std::string::npos) << "no dialog: " << no.out;
  EXPECT_FALSE(fs::exists(file));
}

// Every road that reads the selection lets each of the host's chains go
// once its record holds a copy: the host never keeps the whole selection.
TEST_F(Export, TheSelectionIsReadOneChainAtATime) {
  const struct {
    const char* name;
    std::string drawing, before;
    size_t chains;  // the fixture's eight entities, once per reading
  } rows[] = {
      {"a first export", kData + "network.dxf", kSelect, 8},
      {"an earlier export reset", kData + "exported.dxf", std::string(kSelect) + "answer yes\n", 16},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    log_ = Path("host.log");
    fs::remove(log_);
    const Outcome o = Exporting(row.drawing, Steps(Path("F.txt")), row.before);
    EXPECT_TRUE(o.Has("drawing: written " + Path("out.dxf"))) << o.out;
    const std::string log = testsupport::Slurp(log_);
    const auto [handed, released] = ChainsHandedAndReleased(log);
    EXPECT_EQ(handed, row.chains) << log;
    EXPECT_EQ(released, row.chains) << log;
    EXPECT_EQ(log.find("SelectionNext"), std::string::npos) << log;
  }
}

TEST_F(Export, ExportsThatWriteNothing) {
  fs::create_directories(dir_ / "folder");
  struct Case {
    const char* what;
    std::string select;
    std::string steps;
    std::string message;  // part of what is shown, empty for nothing
  };
  const std::string file = Path("F.txt");
  const std::string cancel = "cancel\n";
  const Case cases[] = {
      {"pipes that do not balance", "select 3C 3E 40 41\n", "", "holds no complete network"},
      {"a folder for a file", kSelect, Steps(Path("folder")) + "answer ok\n" + cancel, "cannot be written"},
      {"no file", kSelect, Steps("\"\"") + "answer ok\n" + cancel, "The exchange file is missing"},
      {"first number 0", kSelect, Steps(file, "set " + Id(IDC_EXPORT_FIRST_NUMBER) + " 0\n") + "answer ok\n" + cancel,
       "The number is missing"},
      {"no floor-plan pipe", "select 3C 3E 3F 42 43 44\n", "", "none of the floor-plan pipes"},
      {"the pick cancelled", "cancel\n", "", ""},
  };
  for (const Case& c : cases) {
    Outcome o = Exporting(kData + "network.dxf", c.steps, c.select);
    EXPECT_EQ(o.exit, OffScriptExit(o)) << c.what << o.err;
    EXPECT_TRUE(o.Has("result: -1")) << c.what << o.out;
    EXPECT_NE(o.out.find(c.message), std::string::npos) << c.what << o.out;
    if (c.message.empty()) {
      EXPECT_EQ(o.out.find("message:"), std::string::npos) << c.what << o.out;
    }
    EXPECT_EQ(o.out.find("script: line"), std::string::npos) << c.what << ": every line used " << o.out;
    // Only a file that was written is proposed next time.
    EXPECT_EQ(Ini().find("LAST_FILE="), std::string::npos) << c.what << Ini();
    EXPECT_EQ(Ini().find("HIST0="), std::string::npos) << c.what << Ini();
    EXPECT_TRUE(o.Has("drawing: not written (change cancelled)")) << c.what << o.out;
    EXPECT_FALSE(fs::exists(file)) << c.what;
    EXPECT_FALSE(fs::exists(dir_ / "missing")) << c.what;
    EXPECT_TRUE(fs::is_empty(dir_ / "folder")) << c.what;
  }
}

TEST_F(Export, TheDialogStaysOpenUntilItsValuesWillDoAndNumbersOnce) {
  // OK with nowhere to write, then with no number, then right: one
  // numbering, one conversion of the label height.
  const std::string file = Path("F.txt");
  const std::string missing = Path("missing/F.txt");
  const std::string steps = Steps(missing) + "answer ok\n" + "set " + Id(IDC_EXPORT_FIRST_NUMBER) +
                            " \"\"\nok\nanswer ok\n" + "set " + Id(IDC_EXPORT_FIRST_NUMBER) + " 3\n" + "set " +
                            Id(IDC_EXPORT_FILE) + " " + file + "\nok\n";
  Outcome o = Exporting(kData + "network.dxf", steps);
  EXPECT_NE(o.out.find("text=\"The file \\\"" + missing + "\\\" cannot be written"), std::string::npos) << o.out;
  EXPECT_NE(o.out.find("text=\"The number is missing"), std::string::npos) << o.out;
  EXPECT_TRUE(o.Has("drawing: written " + Path("out.dxf"))) << o.out;
  EXPECT_EQ(testsupport::Slurp(file), ExchangeFile(3));
  Outcome check = CheckDrawing({"3", "0.25", "0.8", "2.125", "0.125"});
  EXPECT_EQ(check.exit, 0) << check.out << check.err;
}

TEST_F(Export, LabelsFollowTheDescriptionSettings) {
  struct Case {
    const char* settings;
    std::vector<std::string> labels;
  };
  const Case cases[] = {
      {"[DESC]\r\nHEIGHT=2.5\r\n", {"1", "0.25", "1", "2.125", "0.125"}},
      {"[DESC]\r\nHEIGHT=5\r\nSCFACTOR=0\r\n", {"1", "0.5", "1", "2.125", "0.25"}},
      // No height, or none that will do: the section dialog's 2.5.
      {"[DESC]\r\nSCFACTOR=0.8\r\n", {"1", "0.25", "0.8", "2.125", "0.125"}},
      {"[DESC]\r\nHEIGHT=0\r\nSCFACTOR=0.8\r\n", {"1", "0.25", "0.8", "2.125", "0.125"}},
  };
  for (const Case& c : cases) {
    Settings(c.settings);
    Outcome o = Exporting(kData + "network.dxf", Steps(Path("F.txt")));
    EXPECT_TRUE(o.Has("drawing: written " + Path("out.dxf"))) << c.settings << o.out;
    Outcome check = CheckDrawing(c.labels);
    EXPECT_EQ(check.exit, 0) << c.settings << check.out << check.err;
  }
}

TEST_F(Export, WithoutTheProductLibraryTheCommandEndsSilently) {
  Outcome o = Exporting(kData + "network.dxf", Steps(Path("F.txt")), kSelect, false);
  EXPECT_EQ(o.exit, OffScriptExit(o)) << o.err;
  EXPECT_TRUE(o.Has("result: -1")) << o.out;
  EXPECT_EQ(o.out.find("message:"), std::string::npos) << o.out;
  EXPECT_TRUE(o.Has("drawing: unchanged")) << o.out;
  EXPECT_FALSE(fs::exists(Path("F.txt")));
}

// The product E1 in the preview is what the product library draws from
// the catalogue: the section tests' box (four lines and its mark, 1 m by
// 0.5 m at its own length, reaching the view up to 0.5), not the drawing's
// block; the sample catalogue's item of that code is a label without
// geometry, so nothing is drawn for it.
TEST_F(Export, ThePreviewShowsTheProductAsItsCatalogueDrawsIt) {
  const struct {
    const char* what;
    std::string catalogue;
    std::string view, content;
  } cases[] = {
      {"the section tests' catalogue", JOV_SECTION_CATALOGUE,
       "    view 516 x 309 pixels showing 5.578 x 0.787 around (2.125, 0.200)\n",
       "    name 10001: GLLine 7 x4, GLCircle 7 x1, GLLine 1 x1, GLLine 5 x1, GLText 7 x1; texts \"-?-\"\n"},
      {"the sample catalogue", "", "    view 516 x 309 pixels showing 5.578 x 0.658 around (2.125, 0.151)\n",
       "    name 10001: GLLine 1 x1, GLLine 5 x1, GLText 7 x1; texts \"-?-\"\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Outcome o = Exporting(kData + "network.dxf", "cancel\n", kSelect, true, c.catalogue);
    EXPECT_NE(o.out.find(c.view + c.content), std::string::npos) << o.out;
    EXPECT_TRUE(o.Has("drawing: not written (change cancelled)")) << o.out;
  }
}

// The dialog's pictures: the preview button (5058, 516 x 309 pixels at
// (11, 72)) shows the rendered network, lines on black, and the dialog's
// face is around it; its context menu is pictured as it is tracked, and the
// pick banner (5010) while the user picks the network.
TEST_F(Export, ThePictureShowsTheDrawingPreviewInItsButton) {
  pictures_ = Path("pictures");
  Outcome o = Exporting(kData + "network.dxf", "rclick 5058 20 20\nmenu cancel\nsnapshot mid/preview\ncancel\n");
  ASSERT_TRUE(o.Has("pictures: 5 in " + pictures_)) << o.out << o.err;
  testsupport::Picture banner;
  ASSERT_TRUE(testsupport::ReadPng(fs::path(pictures_) / "5010-1-open.png", &banner));
  EXPECT_GT(banner.width, 0);
  // The preview's context menu as it was tracked: its five commands, a
  // row of 18 pixels each, and a separator of 9 before the last, inside a
  // 3-pixel frame, their texts dark.
  testsupport::Picture menu;
  ASSERT_TRUE(testsupport::ReadPng(fs::path(pictures_) / "menu-1.png", &menu));
  EXPECT_EQ(menu.height, 5 * 18 + 9 + 6);
  for (int row = 0; row < 5; ++row) {
    int dark = 0;
    const int top = 4 + row * 18 + (row == 4 ? 9 : 0);
    for (int y = top; y < top + 18; ++y)
      for (int x = 0; x < menu.width; ++x) {
        const uint32_t c = menu.At(x, y);
        dark += (c >> 16) < 0x60 && ((c >> 8) & 0xFF) < 0x60 && (c & 0xFF) < 0x60;
      }
    EXPECT_GT(dark, 10) << "row " << row;
  }
  for (const char* name : {"5005-1-open.png", "5005-1-close.png", "mid/preview.png"}) {
    SCOPED_TRACE(name);
    testsupport::Picture p;
    ASSERT_TRUE(testsupport::ReadPng(fs::path(pictures_) / name, &p));
    ASSERT_EQ(p.width, 537) << "358 dialog units";
    ASSERT_EQ(p.height, 426) << "262 dialog units";
    int black = 0, drawn = 0, face = 0;
    for (int y = 72; y < 72 + 309; ++y)
      for (int x = 11; x < 11 + 516; ++x) {
        const uint32_t c = p.At(x, y);
        black += c == 0;
        drawn += c != 0 && c != 0xF0F0F0;
      }
    for (int x = 0; x < p.width; ++x) face += p.At(x, 72 + 309 + 2) == 0xF0F0F0;
    EXPECT_GT(black, 516 * 309 / 2) << "the preview's black background";
    EXPECT_GT(drawn, 300) << "the network's lines and symbols";
    EXPECT_GT(face, p.width / 2) << "the dialog's face under the preview";
  }
}

TEST_F(Export, NumberAllThenOkNumbersTheFixedRiserLast) {
  // Groups: 1 the riser (fixed), 2 and 3 two runs meeting end to start.
  const std::string file = Path("F.txt");
  auto exchange = [](long long first) {
    auto pair = [](long long number, long long connect) {
      const std::string line = std::to_string(number) + ";" + std::to_string(connect) + ";0;;;;;;;3.00\r\n";
      return line + line;
    };
    return "CP\r\n2\r\n#vetev;1\r\n" + pair(first + 2, 0) +  // the riser
           pair(first + 1, first) +                           // group 2, after group 3
           pair(first, first + 1);
  };
  for (long long first : {10LL, 100001LL, 2147483643LL}) {
    Outcome o = Exporting(kData + "groups.dxf",
                          "set " + Id(IDC_EXPORT_FIRST_NUMBER) + " " + std::to_string(first) + "\nclick " +
                              Id(IDC_EXPORT_NUMBER_ALL) + "\n" + Steps(file),
                          "select 35 36 37 38 39 3A 3B 3C\n");
    EXPECT_TRUE(o.Has("drawing: written " + Path("out.dxf"))) << first << o.out;
    EXPECT_EQ(testsupport::Slurp(file), exchange(first));
  }
  // Numbers that would pass int are refused, with the bound (less the
  // three numbers the groups take and their largest read number, 1), and
  // the dialog stays open.
  fs::remove(file);
  for (const char* first : {"2147483644", "2147483648", "99999999999999999999"}) {
    Outcome o = Exporting(kData + "groups.dxf",
                          "set " + Id(IDC_EXPORT_FIRST_NUMBER) + " " + first + "\nclick " + Id(IDC_EXPORT_NUMBER_ALL) +
                              "\nanswer ok\ncancel\n",
                          "select 35 36 37 38 39 3A 3B 3C\n");
    EXPECT_NE(o.out.find("Enter a first number of at most 2147483643 "), std::string::npos) << first << o.out;
    EXPECT_EQ(o.out.find("script: line"), std::string::npos) << first << ": every line used " << o.out;
    EXPECT_TRUE(o.Has("drawing: not written (change cancelled)")) << first << o.out;
    EXPECT_FALSE(fs::exists(file)) << first;
  }
}

TEST_F(Export, TheDialogOpensWithItsSettingsAndKeepsThemOnOk) {
  const std::string file = Path("F.txt");
  Settings("[DESC]\r\nHEIGHT=2.5\r\nSCFACTOR=0.8\r\n[VANTRIX]\r\nDESC_SEGM=1\r\nLAST_FILE=" + Path("last.txt") +
           "\r\n[CUT_EXPORT_DLG]\r\nSEGM_NUMBER=4\r\nHIST0=" + Path("one.txt") + "\r\nHIST1=" + Path("two.txt") +
           "\r\n");
  // The segment-number presets, and the layer that stands for the current one.
  Write("profile/Dat/Jov_set.dat", "[CUT_DLG_NUMBER]\r\n0=100\r\n1=200\r\n[DESC_LAYERS]\r\n0=JOV_SEGMENT_NUMBERS\r\n");
  const std::string steps = "click " + Id(IDC_EXPORT_HELP) + "\nclick " + Id(IDC_EXPORT_BROWSE) + "\nfile " + file +
                            "\nok\n";
  Outcome o = Exporting(kData + "network.dxf", steps);
  EXPECT_TRUE(o.Has("help: file=\"" + (modules_ / "Help").string() +
                    R"(\\jov2d.chm::/zdroje\\vantrix-6.htm" topic="zdroje\\vantrix-6.htm")"))
      << o.out;
  EXPECT_TRUE(o.Has("file: save answer=\"" + file + "\"")) << o.out;
  // The proposal over the two presets, put on top of them when the box
  // lost the focus.
  EXPECT_TRUE(o.Has("  " + Id(IDC_EXPORT_FIRST_NUMBER) + " ComboBox \"5\" items=3 selected=-1 \"5\" \"100\" \"200\"")) << o.out;
  EXPECT_TRUE(o.Has("  " + Id(IDC_EXPORT_DESCRIPTIONS) + " Button check=1 \"Label the segments with their numbers\""))
      << o.out;
  EXPECT_TRUE(o.Has("drawing: written " + Path("out.dxf"))) << o.out;
  EXPECT_EQ(testsupport::Slurp(file), ExchangeFile(5)) << "SEGM_NUMBER 4 proposes 5; labels were on";
  const std::string ini = Ini();
  EXPECT_NE(ini.find("[VANTRIX]\r\nDESC_SEGM=1\r\nLAST_FILE=" + file + "\r\nSEGM_NUMBER=5\r\nwindowPosition="),
            std::string::npos)
      << ini;
  EXPECT_NE(ini.find("SEGM_NUMBER=4\r\nHIST0=" + file + "\r\nHIST1=" + Path("one.txt") + "\r\nHIST2=" +
                     Path("two.txt") + "\r\n"),
            std::string::npos)
      << ini;

  // The layer: the drawing's current one, as the placeholder asks.
  Outcome layer = testsupport::RunProgram(
      JOV_PYTHON,
      {"-c", "import sys, ezdxf; d = ezdxf.readfile(sys.argv[1]); "
             "print([(t.dxf.text, t.dxf.layer) for t in d.modelspace().query('TEXT') if t.dxf.text == '5'], "
             "d.header.get('$CLAYER', '0'))",
       Path("out.dxf")},
      dir_);
  EXPECT_EQ(layer.out, "[('5', '0')] 0\n") << layer.err;
}

TEST_F(Export, GroupsPickedInThePreviewTakeTheNumbersInTheirOrder) {
  // Group 3, then 2, whose step is undone and taken again; the fixed riser
  // (name 10001, its pipes in the supply and return colours) comes last.
  const std::string file = Path("F.txt");
  const std::string select = "select 35 36 37 38 39 3A 3B 3C\n";
  const std::string picks = "set " + Id(IDC_EXPORT_FIRST_NUMBER) + " 10\npreview-pick 5058 3\npreview-pick 5058 2\n" +
                            "click " + Id(IDC_EXPORT_UNDO) + "\n";
  Outcome undone = Exporting(kData + "groups.dxf", picks + "cancel\n", select);
  EXPECT_TRUE(undone.Has("    name 10001: GLLine 1 x1, GLLine 5 x1")) << undone.out;
  EXPECT_TRUE(undone.Has("    name 2: GLLine 7 x2, GLText 7 x1; texts \"1\"")) << "undone: " << undone.out;
  EXPECT_TRUE(undone.Has("    name 3: GLLine 1 x1, GLLine 5 x1, GLText 7 x1; texts \"10\"")) << undone.out;
  EXPECT_TRUE(undone.Has("drawing: not written (change cancelled)")) << undone.out;

  Outcome o = Exporting(kData + "groups.dxf", picks + "preview-pick 5058 2\n" + Steps(file), select);
  EXPECT_TRUE(o.Has("    name 2: GLLine 1 x1, GLLine 5 x1, GLText 7 x1; texts \"11\"")) << o.out;
  EXPECT_TRUE(o.Has("drawing: written " + Path("out.dxf"))) << o.out;
  EXPECT_EQ(testsupport::Slurp(file),
            "CP\r\n2\r\n#vetev;1\r\n"
            "12;0;0;;;;;;;3.00\r\n12;0;0;;;;;;;3.00\r\n"
            "11;10;0;;;;;;;3.00\r\n11;10;0;;;;;;;3.00\r\n"
            "10;11;0;;;;;;;3.00\r\n10;11;0;;;;;;;3.00\r\n");
}

TEST_F(Export, TextsThatWouldShiftTheFieldsAreRefused) {
  const std::string original = testsupport::Slurp(kData + "network.dxf");
  struct Case {
    const char* after;  // where the text is, from there on
    std::string text, changed;
    const char* where;  // named in the message
  } cases[] = {
      {"\n  5\n3E\n", "\nCT\n1000\nT1\n", "\nCT\n1000\nT;1\n", "3E (key CT)"},
      {"\n  5\n3E\n", "\nCM\n1000\n1\n", "\nCM\n1000\n1;2\n", "3E (key CM)"},
      {"\n  5\n3C\n", "\n1000\nb\n", "\n1000\nb;x\n", "3C (key _VANTRIX 9)"},
  };
  const std::string file = Path("F.txt");
  for (const Case& c : cases) {
    std::string drawing = original;
    const size_t at = drawing.find(c.text, drawing.find(c.after));
    ASSERT_NE(at, std::string::npos) << c.where;
    drawing.replace(at, c.text.size(), c.changed);
    Outcome o = Exporting(Write("changed.dxf", drawing), Steps(file) + "answer ok\n");
    EXPECT_NE(o.out.find("a text of the entity " + std::string(c.where) + " holds a ';'"), std::string::npos)
        << c.where << o.out;
    EXPECT_EQ(o.out.find("script: line"), std::string::npos) << c.where << ": every line used " << o.out;
    EXPECT_TRUE(o.Has("drawing: not written (change cancelled)")) << c.where << o.out;
    EXPECT_FALSE(fs::exists(file)) << c.where;
  }
}

TEST_F(Export, NumbersOutOfRangeInTheDrawingOrTheSettingsWriteNothing) {
  // The n-th pipe length (or number or connect: the supply pipe's, then
  // the return pipe's) becomes the text (another key: missing), or a
  // setting or a number no first number fits ends OK with the dialog open.
  const struct {
    int nth;
    const char *text, *settings, *message;
  } cases[] = {{1, "_DW_NUMBER\n1000\ne0\n", "", "entity 3E (key _DW_NUMBER) carries a section number below 1"},
               {1, "_DW_NUMBER\n1000\ne\n", "", "entity 3E (key _DW_NUMBER) carries a section number below 1"},
               {1, "_DW_NUMBER\n1000\ne-1\n", "", "entity 3E (key _DW_NUMBER) carries a section number below 1"},
               {1, "_DW_CONNECT\n1000\ne1\n", "", "entity 3E (key _DW_CONNECT) connects to itself"},
               {1, "_DW_CONNECT\n1000\ne-5\n", "", "entity 3E (key _DW_CONNECT) connects to a section number below 0"},
               {2, "_DW_NUMBER\n1000\ne-5\n", "", "entity 3F (key _DW_NUMBER) does not carry the section number of 3E"},
               {2, "_DW_NUMBER\n1000\ne2\n", "", "entity 3F (key _DW_NUMBER) does not carry the section number of 3E"},
               {2, "_DW_CONNECT\n1000\ne1\n", "", "entity 3F (key _DW_CONNECT) connects to itself"},
               {-1, "_DW_NUMBER\n1000\ne2147483647\n", "", "3E (key _DW_NUMBER) carries a number too large"},
               {1, "_LENGTH_X\n1000\n4.250\n", "", "entity 3E (key _LENGTH_SEGMENT) is not usable"},
               {1, "_LENGTH_SEGMENT\n1000\nnan\n", "", "entity 3E (key _LENGTH_SEGMENT)"},
               {1, "_LENGTH_SEGMENT\n1000\n1e308\n", "", "entity 3E (key _LENGTH_SEGMENT)"},
               {1, "_LENGTH_SEGMENT\n1000\n-4.25\n", "", "entity 3E (key _LENGTH_SEGMENT)"},
               {2, "_LENGTH_SEGMENT\n1000\ninf\n", "", "entity 3F (key _LENGTH_SEGMENT)"},
               {1, "_LENGTH_SEGMENT\n1000\n4,250\n", "", "entity 3E (key _LENGTH_SEGMENT)"},
               {2, "_LENGTH_SEGMENT\n1000\n0.004\n", "", "entity 3F (key _LENGTH_SEGMENT)"},
               {2, "_LENGTH_SEGMENT\n1000\n0x10\n", "", "entity 3F (key _LENGTH_SEGMENT)"},
               {0, "", "[DESC]\r\nHEIGHT=nan\r\n", "setting \\\"HEIGHT\\\" in [DESC] of Jov.ini is not usable"},
               {0, "", "[DESC]\r\nHEIGHT=1e300\r\n", "setting \\\"HEIGHT\\\" in [DESC]"},
               {0, "", "[DESC]\r\nSCFACTOR=-0.8\r\n", "setting \\\"SCFACTOR\\\" in [DESC]"}};
  const std::string length = "_LENGTH_SEGMENT\n1000\n4.250\n", file = Path("F.txt");
  for (const auto& c : cases) {
    std::string drawing = testsupport::Slurp(kData + "network.dxf");
    // A number takes the place of the supply pipe's pair as drawn.
    const std::string text = c.text;
    const std::string old = text.starts_with("_DW_NUMBER")    ? "_DW_NUMBER\n1000\ne1\n"
                            : text.starts_with("_DW_CONNECT") ? "_DW_CONNECT\n1000\ne0\n"
                                                              : length;
    size_t at = drawing.find(old);
    if (c.nth == 2) at = drawing.find(old, at + 1);
    if (c.nth) drawing.replace(at, old.size(), c.text);
    Settings(c.settings);
    const char* ending = c.nth > 0 ? "answer ok\n" : "answer ok\ncancel\n";
    Outcome o = Exporting(Write("changed.dxf", drawing), Steps(file) + ending);
    EXPECT_NE(o.out.find(c.message), std::string::npos) << c.message << o.out;
    EXPECT_EQ(o.out.find("script: line"), std::string::npos) << c.message << ": every line used " << o.out;
    EXPECT_TRUE(o.Has("drawing: not written (change cancelled)")) << c.message << o.out;
    EXPECT_FALSE(fs::exists(file)) << c.message;
  }
}

TEST_F(Export, ReExportsRewriteTheirLabelsInPlace) {
  // Each export of the last one's drawing, its label (48) selected with the
  // network, reset and numbered anew, leaves one label on the numbered
  // pipe, with the latest number.
  const std::string file = Path("F.txt");
  std::string drawing = kData + "network.dxf";
  for (int first : {1, 10, 20}) {
    Outcome o = Exporting(drawing, Steps(file, "set " + Id(IDC_EXPORT_FIRST_NUMBER) + " " + std::to_string(first) + "\n"),
                          first == 1 ? std::string(kSelect) : "select 3C 3E 3F 40 41 42 43 44 48\nanswer yes\n");
    ASSERT_TRUE(o.Has("drawing: written " + Path("out.dxf"))) << first << o.out;
    EXPECT_EQ(testsupport::Slurp(file), ExchangeFile(first));
    Outcome check = CheckDrawing({std::to_string(first), "0.25", "0.8", "2.125", "0.125"});
    EXPECT_EQ(check.exit, 0) << first << check.out << check.err;
    drawing = Write("export" + std::to_string(first) + ".dxf", testsupport::Slurp(Path("out.dxf")));
  }
}

TEST_F(Export, TheBundledSampleExportsItsPipesInMetres) {
  // Its two 3 m sections, numbered anew as the demo does.
  const std::string file = Path("F.txt");
  Outcome o = Exporting(std::string(JOV_SOURCE_DIR) + "/examples/heating_exported.dxf",
                        "click " + Id(IDC_EXPORT_NUMBER_ALL) + "\nset " + Id(IDC_EXPORT_FILE) + " " + file + "\nok\n",
                        "select-window -100000 -100000 100000 100000\nanswer yes\n");
  ASSERT_TRUE(o.Has("drawing: written " + Path("out.dxf"))) << o.out;
  EXPECT_EQ(testsupport::Slurp(file), "CP\r\n2\r\n#vetev;1\r\n1;0;0;;22;;;;;3.00\r\n1;0;0;;22;;;;;3.00\r\n"
                                      "2;1;0;2;22;;;;;3.00\r\n2;1;0;2;22;;;;;3.00\r\n");
}

TEST_F(Export, TheSettingsFolderIsMadeBeforeTheFirstWrite) {
  const std::string file = Path("F.txt");
  fs::remove_all(dir_ / "profile" / "Dat");
  Outcome made = Exporting(kData + "network.dxf", Steps(file));
  EXPECT_TRUE(made.Has("drawing: written " + Path("out.dxf"))) << made.out;
  EXPECT_EQ(made.out.find("message:"), std::string::npos) << made.out;
  EXPECT_NE(Ini().find("LAST_FILE=" + file + "\r\n"), std::string::npos) << Ini();
  EXPECT_NE(Ini().find("windowPosition="), std::string::npos) << Ini();

  // A file where the folder should be: said once, the export goes on.
  fs::remove_all(dir_ / "profile" / "Dat");
  fs::remove(file);
  Write("profile/Dat", "not a folder");
  Outcome blocked = Exporting(kData + "network.dxf", Steps(file) + "answer ok\n");
  EXPECT_TRUE(blocked.Has("drawing: written " + Path("out.dxf"))) << blocked.out;
  const size_t said = blocked.out.find("cannot be written. Your work is done");
  EXPECT_NE(said, std::string::npos) << blocked.out;
  EXPECT_EQ(blocked.out.find("cannot be written", said + 1), std::string::npos) << "said once: " << blocked.out;
  EXPECT_EQ(blocked.out.find("script: line"), std::string::npos) << blocked.out;
  EXPECT_EQ(testsupport::Slurp(file), ExchangeFile(1));
}

TEST_F(Export, EveryExportLeavesOneCurrentLabelPerNumberedPipe) {
  // Three exports in a row, labels on, off, on; before the second and third
  // every label gets a copy away from its pipe, and a label of a pipe no
  // longer drawn is added. The labels are selected with the network or
  // not: either way only the pipe's own label is left, showing the latest.
  const std::string labels = std::string(JOV_SOURCE_DIR) + "/tests/e2e/segment_labels.py";
  for (const bool selected : {true, false}) {
    std::string select = kSelect;
    for (const auto& [first, on] : {std::pair{1, 1}, {10, 0}, {20, 1}}) {
      SCOPED_TRACE(std::to_string(first) + (selected ? " labels selected" : " labels not selected"));
      const std::string more = "check " + Id(IDC_EXPORT_DESCRIPTIONS) + " " + std::to_string(on) + "\nset " +
                               Id(IDC_EXPORT_FIRST_NUMBER) + " " + std::to_string(first) + "\n";
      Outcome o = Exporting(first == 1 ? kData + "network.dxf" : Path("in.dxf"), Steps(Path("F.txt"), more), select);
      ASSERT_TRUE(o.Has("drawing: written " + Path("out.dxf"))) << o.out;
      EXPECT_EQ(testsupport::Slurp(Path("F.txt")), ExchangeFile(first));
      Outcome check = testsupport::RunProgram(JOV_PYTHON, {labels, "check", Path("out.dxf"), std::to_string(first)}, dir_);
      EXPECT_EQ(check.exit, 0) << check.out << check.err;
      Outcome copied = testsupport::RunProgram(JOV_PYTHON, {labels, "copy", Path("out.dxf"), Path("in.dxf")}, dir_);
      std::string handles = copied.out;
      if (!handles.empty() && handles.back() == '\n') handles.pop_back();
      select = std::string(kSelect).insert(std::strlen(kSelect) - 1, selected ? " " + handles : "") + "answer yes\n";
    }
  }
}

TEST_F(Export, ARoundTripCarriesTheImportedValuesAndNothingElse) {
  // Export; the calculation's answer: per section a 'P' line with values
  // and texts and the other line; import; export again.
  Outcome o = Exporting(kData + "network.dxf", Steps(Path("F1.txt")));
  ASSERT_TRUE(o.Has("drawing: written " + Path("out.dxf"))) << o.out;
  std::string result = "PC\r\n2\r\n";
  std::istringstream lines(testsupport::Slurp(Path("F1.txt")));
  std::string line;
  for (int n = 0; std::getline(lines, line); ++n) {
    const std::string number = line.substr(0, line.find(';'));
    if (n >= 2 && line.rfind("#vetev;", 0) == 0) result += line;
    else if (n >= 2) result += number + (n % 2 ? ";P;S;DN20;x;0.8;I;A;13;VE;HV;SR;3;r1;r2;r3;r4;r5;t8;t9;t10;t11\r"
                                               : ";Z;SZ;DN20;x;0.7;I;A;13;;;;;;;;;;\r");
    if (n >= 2) result += "\n";
  }
  Write("result.txt", result);
  Outcome imported = Run({"--drawing", Path("out.dxf"), "--out", Path("imported.dxf"), "--run", "Jov_Vantrix_Import",
                          "--script", Write("session.txt", std::string(kSelect) + "file result.txt\n"),
                          "--catalogue", JOV_EXCHANGE_CATALOGUE}, false, modules_.string());
  ASSERT_TRUE(imported.Has("drawing: written " + Path("imported.dxf"))) << imported.out;
  EXPECT_EQ(imported.out.find("message:"), std::string::npos) << imported.out;

  Outcome again = Exporting(Path("imported.dxf"), Steps(Path("F2.txt")), "select 3C 3E 3F 40 41 42 43 44 48\nanswer yes\n");
  ASSERT_TRUE(again.Has("drawing: written " + Path("out.dxf"))) << again.out;
  std::string expected = testsupport::Slurp(Path("F1.txt"));
  for (size_t at; (at = expected.find(";a;b;c;d;")) != std::string::npos;) expected.replace(at, 9, ";t8;t9;t10;t11;");
  EXPECT_EQ(testsupport::Slurp(Path("F2.txt")), expected);
}
