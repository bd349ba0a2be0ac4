// Products of the real catalogue through the real runner and "Wizard.dll":
// without a dialog (PPGetResbufEx, PPGetResbuf, PPDlg), placed in a
// drawing with --insert and read back by ezdxf, and with the levels of the
// INSERT the product is connected to.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
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

std::vector<std::string> PipeRequest(const std::string& names, const std::string& values,
                                     const std::string& slope = "-") {
  return {"--run", "PPGetResbufEx", "--arg", "db:T:TPP0015-0001", "--arg", "1", "--arg", "-", "--arg", "0",
          "--arg", names, "--arg", values, "--arg", "-", "--arg", slope, "--arg", "-"};
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
  // The JOV_DATA value written after the key, "<none>" without the key.
  static std::string Value(const std::vector<std::string>& lines, const std::string& key) {
    for (size_t i = 0; i + 1 < lines.size(); ++i)
      if (lines[i] == "chain 2: 1000 \"" + key + "\"") {
        const std::string& value = lines[i + 1];
        const size_t open = value.find('"');
        return value.substr(open + 1, value.size() - open - 2);
      }
    return "<none>";
  }
  // A last-values file holding one record of key.
  void WriteLastValues(const std::string& key, const std::string& value) {
    fs::create_directories(dir_ / "profile" / "Dat");
    const uint32_t header = static_cast<uint32_t>(4 + key.size() + value.size()) |
                            static_cast<uint32_t>(key.size()) << 12 | static_cast<uint32_t>(value.size()) << 20;
    std::ofstream out(dir_ / "profile" / "Dat" / "PP_LastT.dat", std::ios::binary | std::ios::trunc);
    for (int i = 0; i < 4; ++i) out.put(static_cast<char>(header >> (8 * i)));
    out << key << value;
  }
  // A copy of the sample catalogues to change.
  std::string CatalogueCopy() {
    fs::copy(fs::path(JOV_TEST_MODULE_DIR) / "Catalogue", dir_ / "catalogue", fs::copy_options::recursive);
    return Path("catalogue");
  }
  // The first column of the last row a statement on the copied heating
  // catalogue gives.
  std::string Sql(const std::string& sql) {
    sqlite3* db = nullptr;
    std::string out;
    EXPECT_EQ(sqlite3_open((dir_ / "catalogue" / "T.db").string().c_str(), &db), SQLITE_OK);
    auto row = [](void* o, int, char** values, char**) {
      *static_cast<std::string*>(o) = values[0] ? values[0] : "";
      return 0;
    };
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), row, &out, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
    return out;
  }
};

std::vector<std::string> RadiatorRequest(const std::string& names, const std::string& values) {
  return {"--run", "PPGetResbufEx", "--arg", "db:T:TOR0600-0001", "--arg", "1", "--arg", "-", "--arg", "0",
          "--arg", names, "--arg", values, "--arg", "-", "--arg", "-", "--arg", "-"};
}

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
  EXPECT_TRUE(o.Has("insert: block \"*U1\" at 1000 500")) << o.out;
  EXPECT_TRUE(o.Has("drawing: written " + out)) << o.out;

  Outcome audit = testsupport::RunProgram(JOV_PYTHON, {std::string(JOV_SOURCE_DIR) + "/tests/e2e/audit_product.py", out},
                                          dir_);
  ASSERT_EQ(audit.exit, 0) << audit.out << audit.err;
  EXPECT_TRUE(audit.Has("INSERT *U1 1000 500")) << audit.out;
  EXPECT_TRUE(audit.Has("BLOCK *U1 LINE LINE LINE LINE CIRCLE CIRCLE CIRCLE")) << audit.out;
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
  ASSERT_EQ(o.exit, OffScriptExit(o)) << o.err;
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
  ASSERT_EQ(o.exit, OffScriptExit(o)) << o.err;
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

TEST_F(WizardProducts, ACallersLengthOrSlopeIsOneNumberWithinItsRangeOrRefused) {
  // The pipe's length is limited to 10..6000: taken (the pipe's end, the
  // text its data carries) or refused with 2. A slope, within 1000 either
  // way, is carried as given.
  struct Taken {
    const char *value, *drawn, *data;
  };
  const Taken taken[] = {{"1500", "1500", "1500"},   {"1500.50", "1500.5", "1500.50"}, {"10", "10", "10"},
                         {"6000", "6000", "6000"},   {"1.5e3", "1500", "1500"},        {"15E2", "1500", "1500"},
                         {"1,5e3", "1500", "1500"},  {"1500,25", "1500.25", "1500.25"}, {" 1500 ", "1500", "1500"},
                         {"+1500", "1500", "+1500"}};
  const char* refused[] = {"1000+9000", "20*1000", "0x200", "1500d", "nan", "inf",
                           "9.99",      "6000.01", "-1500", "1e4",   "",    "(1500)"};
  std::vector<std::string> args;
  for (const Taken& row : taken) args = Join(args, PipeRequest("#L", row.value));
  for (const char* value : refused) args = Join(args, PipeRequest("#L", value));
  const char* slopes[] = {"0.5", "-2,5 %", "1000%", "nan", "inf %", "1e308", "abc", "-1000.5"};  // 3 taken
  for (const char* slope : slopes) args = Join(args, PipeRequest("#L", "1500", slope));
  // A slope set for the product dialogs is refused before any dialog.
  args = Join(Join(args, {"--script", Write("slope.txt", "answer ok\n"), "--run", "SetSlope", "--arg", "nan"}),
              ValveRequest("-"));
  // The two numbers of PPGetResbuf are checked the same way.
  for (const char* length : {"nan", "inf"})
    args = Join(args, {"--run", "PPGetResbuf", "--arg", "db:T:TPP0015-0001", "--arg", "1", "--arg", "-", "--arg",
                       "0", "--arg", length, "--arg", "20", "--arg", "-", "--arg", "-", "--arg", "-"});
  Outcome o = Wizard(args);
  ASSERT_EQ(o.exit, 0) << o.err;
  int index = 0;
  for (const Taken& row : taken) {
    const std::vector<std::string> call = Call(o, index++);
    ASSERT_FALSE(call.empty()) << row.value;
    EXPECT_EQ(call[0], "result: 1") << row.value;
    EXPECT_TRUE(Holds(call, std::string("chain 1: 11 ") + row.drawn + " 0 0")) << row.value << o.out;
    EXPECT_EQ(Value(call, "L"), row.data) << row.value;
  }
  for (const char* value : refused) EXPECT_EQ(Call(o, index++), std::vector<std::string>{"result: 2"}) << value;
  for (int i = 0; i < 8; ++i) {
    const std::vector<std::string> call = Call(o, index++);
    EXPECT_EQ(call.empty() ? "" : call[0] + " " + Value(call, "_SLOPE"),
              i < 3 ? "result: 1 " + std::string(slopes[i]) : "result: 2 <none>");
  }
  EXPECT_TRUE(Holds(Call(o, ++index), "result: 3")) << o.out;
  ++index;
  for (const char* length : {"nan", "inf"})
    EXPECT_EQ(Call(o, index++), std::vector<std::string>{"result: 2"}) << "PPGetResbuf " << length;
}

TEST_F(WizardProducts, DamagedLastValuesKeepTheCataloguesOneByOne) {
  // The radiator's stored L, V and CT; what it is drawn with. The
  // catalogue's are 1000, 600 and 22.
  struct Row {
    const char *length, *height, *type, *wantLength, *wantHeight, *wantType;
  };
  const Row rows[] = {
      {"1200", "900", "22", "1200", "900", "22"},      {"1200.00", "900", "VK 33", "1200.00", "900", "VK 33"},
      {"99999", "900", "22", "1000", "900", "22"},     {"-500", "900", "22", "1000", "900", "22"},
      {"abc", "900", "22", "1000", "900", "22"},       {"2000;X=1", "900", "22", "1000", "900", "22"},
      {"1,2e3", "900", "22", "1200", "900", "22"},     {"", "900", "22", "1000", "900", "22"},
      {"1200", "(900", "22", "1200", "600", "22"},     {"1200", "900", "(900", "1200", "900", "22"},
      {"1200", "900", "a=b", "1200", "900", "22"},     {"1200", "900", "(22)", "1200", "900", "(22)"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.length) + " / " + row.height + " / " + row.type);
    WriteLastValues("TOR0600-0001", std::string("L|") + row.length + "|V|" + row.height + "|S|100|CT|" + row.type +
                                        "|CM||HP|550|PW|P/1.163/20|PD|VK #CT; #L;x#V;|");
    Outcome o = Wizard(RadiatorRequest("-", "-"));
    ASSERT_EQ(o.exit, 0) << o.err;
    const std::vector<std::string> call = Call(o, 0);
    ASSERT_FALSE(call.empty());
    EXPECT_EQ(call[0], "result: 1");
    EXPECT_EQ(Value(call, "L"), row.wantLength);
    EXPECT_EQ(Value(call, "V"), row.wantHeight);
    EXPECT_EQ(Value(call, "CT"), row.wantType);
    // The formulas still work: the flow follows the values drawn.
    const double flow = std::stod(row.wantLength) * std::stod(row.wantHeight) * 0.0017 / 1.163 / 20;
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", flow);
    EXPECT_EQ(Value(call, "PW"), text) << o.out;
  }
  // Formula values stored empty: their catalogue formulas are evaluated.
  WriteLastValues("TOR0600-0001", "L|1200|V|900|S|100|CT|22|CM||HP|850|PW||PD||");
  Outcome o = Wizard(RadiatorRequest("-", "-"));
  const std::vector<std::string> call = Call(o, 0);
  EXPECT_EQ(Value(call, "PW"), "78.93") << o.out;
  EXPECT_EQ(Value(call, "PD"), "VK 22 1200x900") << o.out;
}

TEST_F(WizardProducts, TheCallersDataWinsOverWhateverTheLastValuesHold) {
  const std::vector<std::string> given = {"--run", "SetPPData", "--arg", "#L/#CT", "--arg", "1400/VK 11",
                                          "--arg", "1/1"};
  // No "Dat" folder in the profile.
  Outcome noFolder = Wizard(Join(given, RadiatorRequest("-", "-")));
  ASSERT_EQ(noFolder.exit, 0) << noFolder.err;
  EXPECT_EQ(Value(Call(noFolder, 1), "L"), "1400") << noFolder.out;
  EXPECT_EQ(Value(Call(noFolder, 1), "CT"), "VK 11");
  // A record of other parameters.
  WriteLastValues("TOR0600-0001", "X|5|L|1200|");
  Outcome stale = Wizard(Join(given, RadiatorRequest("-", "-")));
  EXPECT_EQ(Value(Call(stale, 1), "L"), "1400") << stale.out;
  // A sound record: its V stays, the caller's L wins.
  WriteLastValues("TOR0600-0001", "L|1200|V|900|S|100|CT|22|CM||HP|850|PW|P/1.163/20|PD|VK #CT; #L;x#V;|");
  Outcome sound = Wizard(Join(given, RadiatorRequest("-", "-")));
  EXPECT_EQ(Value(Call(sound, 1), "L"), "1400") << sound.out;
  EXPECT_EQ(Value(Call(sound, 1), "V"), "900");
  // A '|' would cut the stored record: refused, and the request says so.
  Outcome bar = Wizard(Join({"--run", "SetPPData", "--arg", "#CT/#L", "--arg", "a|b/1400", "--arg", "1/1"},
                            RadiatorRequest("-", "-")));
  EXPECT_EQ(Call(bar, 1), std::vector<std::string>{"result: 2"}) << bar.out;
}

TEST_F(WizardProducts, ValuesComputedFromFormulasFollowTheCallersValues) {
  Outcome o = Wizard(Join(Join({"--run", "PPGetResbufEx", "--arg", "db:T:TPT0020-0001", "--arg", "1", "--arg", "-",
                                "--arg", "0", "--arg", "#L/#DN/#d", "--arg", "2000/32/42.4", "--arg", "-", "--arg",
                                "-", "--arg", "-"},
                               RadiatorRequest("#V", "900")),
                          RadiatorRequest("#V/#HP", "900/700")));
  ASSERT_EQ(o.exit, 0) << o.err;
  EXPECT_EQ(Value(Call(o, 0), "d"), "42.4");
  EXPECT_EQ(Value(Call(o, 0), "r"), "63.60") << "1.5*d";
  EXPECT_TRUE(Holds(Call(o, 0), "chain 1: 11 2000 21.2 0")) << o.out;
  EXPECT_EQ(Value(Call(o, 1), "HP"), "850.00") << "V-50";
  EXPECT_EQ(Value(Call(o, 2), "HP"), "700") << "given by the caller";
}

TEST_F(WizardProducts, OnlyFormulasStoredInParseOrderAreSortedAndOnlyOnce) {
  const std::string catalogue = CatalogueCopy();
  auto formulas = [this](const char* id) {
    return Sql(std::string("SELECT par_b FROM items WHERE index_id = '") + id + "'");
  };
  const std::string supply = formulas("TPP0015-0001"), back = formulas("TPZ0015-0001");
  ASSERT_EQ(back.rfind("1\r\n0.00|0.00|0.00\r\n5.00|", 0), 0u) << back;
  // The return pipe's formulas in the order its geometry is read in: the
  // line's start and end, then the markers' rims.
  Sql("UPDATE items SET par_b = replace('1~0.00|0.00|0.00~L|0.00|0.00~5.00|0.00|0.00~L+5|0.00|0.00~', '~', "
      "char(13, 10)) WHERE index_id = 'TPZ0015-0001'");
  std::vector<std::string> args = {"--catalogue", catalogue};
  for (const char* id : {"TPP0015-0001", "TPP0015-0001", "TPZ0015-0001", "TPZ0015-0001"})
    args = Join(args, {"--run", "ModifyDBParam", "--arg", std::string("db:T:") + id, "--arg", "1"});
  Outcome o = Wizard(Join(Join(args, PipeRequest("#L", "1500")),
                          {"--run", "PPGetResbufEx", "--arg", "db:T:TPZ0015-0001", "--arg", "1", "--arg", "-",
                           "--arg", "0", "--arg", "#L", "--arg", "1500", "--arg", "-", "--arg", "-", "--arg", "-"}));
  ASSERT_EQ(o.exit, 0) << o.err;
  for (int call : {0, 1, 3}) EXPECT_EQ(Call(o, call), std::vector<std::string>{"result: 257"}) << call;
  EXPECT_EQ(Call(o, 2), std::vector<std::string>{"result: 0"});
  for (int call : {4, 5}) {
    EXPECT_TRUE(Holds(Call(o, call), "chain 1: 11 1500 0 0")) << o.out;
    EXPECT_TRUE(Holds(Call(o, call), "chain 1: 40 5")) << o.out;
  }
  EXPECT_EQ(formulas("TPP0015-0001"), supply);
  EXPECT_EQ(formulas("TPZ0015-0001"), back);
}

TEST_F(WizardProducts, EachPlacementDrawsItsOwnValues) {
  const std::string first = Path("first.dxf"), second = Path("second.dxf");
  Outcome a = Wizard(Join(PipeRequest("#L", "1500"), {"--insert", "0", "0", "--out", first}));
  ASSERT_EQ(a.exit, 0) << a.err;
  EXPECT_TRUE(a.Has("insert: block \"*U1\" at 0 0")) << a.out;
  Outcome b = Wizard(Join({"--drawing", first}, Join(PipeRequest("#L", "2500"), {"--insert", "0", "500", "--out", second})));
  ASSERT_EQ(b.exit, 0) << b.err;
  EXPECT_TRUE(b.Has("insert: block \"*U2\" at 0 500")) << b.out;
  Outcome audit = testsupport::RunProgram(
      JOV_PYTHON, {std::string(JOV_SOURCE_DIR) + "/tests/e2e/audit_product.py", second}, dir_);
  ASSERT_EQ(audit.exit, 0) << audit.out << audit.err;
  EXPECT_TRUE(audit.Has("INSERT *U1 0 0")) << audit.out;
  EXPECT_TRUE(audit.Has("INSERT *U2 0 500")) << audit.out;
  EXPECT_TRUE(audit.Has("SHAPE *U1 LINE 0,0-1500,0 CIRCLE 0,0/5 CIRCLE 1500,0/5")) << audit.out;
  EXPECT_TRUE(audit.Has("SHAPE *U2 LINE 0,0-2500,0 CIRCLE 0,0/5 CIRCLE 2500,0/5")) << audit.out;
}

// Every road a text takes into the radiator's definitions and data: one
// that would break its formulas or outgrow what a drawing keeps fails the
// request (2); a stored formula that fails is refused as a typed one.
TEST_F(WizardProducts, TextsThatWouldBreakTheProductAreRefusedOnEveryRoad) {
  const std::string wide(250, 'x'), longer(300, 'x');
  auto given = [](const std::string& ct) {
    return std::vector<std::string>{"--run", "SetPPData", "--arg", "#CT", "--arg", ct, "--arg", "1"};
  };
  std::vector<std::string> byNumbers = RadiatorRequest("1200", "20");  // its length and DN
  byNumbers[1] = "PPGetResbuf";
  const struct {
    std::vector<std::string> args;
    std::string stored;  // the last values' CT
    int call;
  } rows[] = {{RadiatorRequest("#CT", "(22"), "22", 0},     {Join(given("22)"), RadiatorRequest("-", "-")), "22", 1},
              {RadiatorRequest("#CT", longer), "22", 0},     {Join(given(wide), RadiatorRequest("-", "-")), "22", 1},
              {byNumbers, longer, 0}};
  for (const auto& row : rows) {
    WriteLastValues("TOR0600-0001", "L|1200|V|900|S|100|CT|" + row.stored + "|CM||HP|850|PW||PD||");
    Outcome o = Wizard(row.args);
    EXPECT_EQ(Call(o, row.call), std::vector<std::string>{"result: 2"}) << row.args[1] << o.out;
  }
  WriteLastValues("TOR0600-0001", "L|1200|V|900|S|100|CT|(22|CM||HP|850|PW|exp(1000)|PD||");
  Outcome stored = Wizard(RadiatorRequest("-", "-"));
  EXPECT_EQ(Value(Call(stored, 0), "CT"), "22") << stored.out;
  EXPECT_EQ(Value(Call(stored, 0), "PW"), "78.93") << stored.out;
}

// A level of the INSERT a product connects to that is no level places
// nothing and names the entity and key.
TEST_F(WizardProducts, ALevelOfTheConnectedInsertThatIsNoLevelIsNamed) {
  for (const auto& [from, to, where] : {std::tuple{"\n1.2\n", "\nnan\n", "2A (key _ZLEVEL)"},
                                        {"\n1.2\n", "\n1e300\n", "2A (key _ZLEVEL)"}, {"\n300\n", "\ninf\n", "2A (key zB)"}}) {
    std::string drawing = kConnected;
    drawing.replace(drawing.find(from), std::string(from).size(), to);
    Outcome o = Wizard(Join({"--drawing", Write("connected.dxf", drawing), "--select", "2A"}, ValveRequest(kValveSized)));
    EXPECT_TRUE(o.Has("result: 3")) << o.out;
    EXPECT_NE(o.out.find(std::string("connected element ") + where + " is not usable"), std::string::npos) << o.out;
  }
}
