// The import of calculation results through the runner: a result file
// applied to the exported fixture drawing, read back by an outside DXF
// reader, and the ways an import ends without writing anything.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "tests/e2e/E2eFixture.h"

namespace {

const std::string kData = std::string(JOV_SOURCE_DIR) + "/tests/data/";
const char* kSelect = "select 3C 3E 3F 40 41 42 43 44\n";  // E1-E8 of the fixtures

const std::string kSupplyValues = "1;P;S1-1;DN20;x;0.8;IZ1;Arma;13;VE15;HV2;SR20;3.000;r1;r2;r3;r4;r5;";
const std::string kSupply = kSupplyValues + "t8;t9;t10;t11";
const std::string kReturn = "1;Z;S1-1Z;DN20;x;0.7;IZ1;Arma;13;;;;;;;;;;";

// A result file of branch 1 with these record lines.
std::string Records(const std::vector<std::string>& records, const char* lineEnd = "\r\n") {
  std::string text = std::string("PC") + lineEnd + "2" + lineEnd + "#vetev;1" + lineEnd;
  for (const std::string& line : records) text += line + lineEnd;
  return text;
}

std::string ResultFile(const char* lineEnd, const char* version = "2", const char* branch = "1") {
  std::string text;
  for (const std::string& line : {std::string("PC"), std::string(version), "#vetev;" + std::string(branch), kSupply,
                                  kReturn})
    text += line + lineEnd;
  return text;
}

}  // namespace

class Import : public E2e {
 protected:
  // The exchange catalogue with its "PROP" names blanked.
  std::string NoPropertyNames() {
    std::filesystem::create_directories(dir_ / "no_names");
    std::filesystem::copy_file(std::string(JOV_EXCHANGE_CATALOGUE) + "/T.db", dir_ / "no_names" / "T.db");
    sqlite3* db = nullptr;
    sqlite3_open(Path("no_names/T.db").c_str(), &db);
    EXPECT_EQ(sqlite3_exec(db, "UPDATE names SET name = '' WHERE list = 'PROP'", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    return Path("no_names");
  }
  Outcome RunImport(const std::string& drawing, const std::string& result, const std::string& out,
                    const std::string& catalogue = JOV_EXCHANGE_CATALOGUE) {
    Write("result.txt", result);
    const std::string script = Write("session.txt", std::string(kSelect) + "file result.txt\n");
    return Run({"--drawing", drawing, "--out", out, "--run", "Jov_Vantrix_Import", "--script", script,
                "--catalogue", catalogue, "--log", Path("host.log")});
  }
};

TEST_F(Import, ResultFileGoesIntoThePipesTheProductAndItsTexts) {
  const std::string out = Path("out.dxf");
  Outcome o = RunImport(kData + "exported.dxf", ResultFile("\r\n"), out);
  EXPECT_EQ(o.exit, 0) << o.err;
  EXPECT_TRUE(o.Has("result: -1")) << o.out;
  EXPECT_EQ(o.out.find("message:"), std::string::npos) << o.out;
  ASSERT_TRUE(o.Has("drawing: written " + out)) << o.out;

  Outcome check = testsupport::RunProgram(
      JOV_PYTHON, {std::string(JOV_SOURCE_DIR) + "/tests/e2e/check_import.py", kData + "exported.dxf", out}, dir_);
  EXPECT_EQ(check.exit, 0) << check.out << check.err;
  // The selection is read one host chain at a time: each let go once copied.
  const std::string log = testsupport::Slurp(Path("host.log"));
  const auto [handed, released] = ChainsHandedAndReleased(log);
  EXPECT_EQ(handed, 8u) << log;
  EXPECT_EQ(released, handed) << log;

  // Line feeds alone read the same.
  const std::string lf = Path("lf.dxf");
  Outcome again = RunImport(kData + "exported.dxf", ResultFile("\n"), lf);
  ASSERT_TRUE(again.Has("drawing: written " + lf)) << again.out;
  EXPECT_EQ(testsupport::Slurp(lf), testsupport::Slurp(out));
}

TEST_F(Import, ImportsThatApplyNothingWriteNothing) {
  std::string twoSchemes = testsupport::Slurp(kData + "exported.dxf");
  // The floor-plan supply pipe's "_BRANCH" becomes a second scheme of branch 1.
  const std::string branch = "\n_BRANCH\n1000\n1\n";
  const size_t at = twoSchemes.find(branch);
  ASSERT_NE(at, std::string::npos);
  twoSchemes.replace(at, branch.size(), "\n_SCH_ASSOC\n1000\nS2\n");
  struct Case {
    const char* what;
    std::string drawing;
    std::string result;
    const char* message;  // part of the message shown
    std::string catalogue = JOV_EXCHANGE_CATALOGUE;
  };
  std::filesystem::create_directories(dir_ / "no_catalogue");
  const Case cases[] = {
      {"another version", kData + "exported.dxf", ResultFile("\r\n", "3"), "must begin with the lines PC and 2"},
      {"no branch of the drawing", kData + "exported.dxf", ResultFile("\r\n", "2", "2"), "Nothing was imported"},
      {"pipes never exported", kData + "network.dxf", ResultFile("\r\n"), "Nothing was imported"},
      {"a branch of two schemes", Write("two.dxf", twoSchemes), ResultFile("\r\n"), "more than one scheme"},
      {"no heating catalogue", kData + "exported.dxf", ResultFile("\r\n"), "Nothing was imported",
       Path("no_catalogue")},
      // A cut section would blank the drawing's values: the file is refused.
      {"a 'P' line cut after its name", kData + "exported.dxf", Records({"1;P;S1-1;", kReturn}),
       "lack a line or values: 1 (line 4)."},
      {"only the 'Z' line", kData + "exported.dxf", Records({kReturn}), "lack a line or values: 1 (line 4)."},
      {"only the 'P' line", kData + "exported.dxf", Records({kSupply}), "lack a line or values: 1 (line 4)."},
      {"a 'Z' line cut in its values", kData + "exported.dxf", Records({kSupply, "1;Z;S1-1Z;DN20;x;0.7"}),
       "lack a line or values: 1 (line 5)."},
      {"one whole, one cut", kData + "exported.dxf", Records({kSupply, kReturn, "2;Z;S;"}),
       "lack a line or values: 2 (line 6)."},
      // What would be applied twice or cut short is refused whole too.
      {"a branch block twice", kData + "exported.dxf", Records({kSupply, kReturn, "#vetev;1", kSupply, kReturn}),
       "repeats a branch or a line: branch 1 (line 6)."},
      {"a record line twice", kData + "exported.dxf", Records({kSupply, kReturn, kReturn}),
       "repeats a branch or a line: 1 (line 6)."},
      {"a value over 255 bytes", kData + "exported.dxf",
       Records({"1;P;" + std::string(256, 'n') + kSupply.substr(8), kReturn}), "longer than 255 bytes: line 4."},
      {"numbers that are none", kData + "exported.dxf",
       Records({"1;P;S1-1;DN20;x;NaN;IZ1;Arma;13;VE15;HV2;SR20;-inf.000;r1;r2;r3;r4;r5;", "1;Z;S;1e309;x;1;I;A;1;"}),
       "beyond the range of numbers): line 4, line 5."},
      {"a Ctrl-Z inside", kData + "exported.dxf", Records({kSupply, "\x1A" + kReturn}),
       "(Ctrl-Z) or NUL byte inside: line 5."},
      {"a NUL inside", kData + "exported.dxf", Records({kSupply, std::string("1;Z;S\0", 6) + kReturn.substr(5)}),
       "(Ctrl-Z) or NUL byte inside: line 5."},
      // atoi would apply "1x" and "1.9" to section 1, "0x2" and "" to section 0.
      {"section numbers that are none", kData + "exported.dxf",
       Records({"1x" + kSupply.substr(1), "1.9" + kReturn.substr(1), "0x2" + kSupply.substr(1), kReturn.substr(1),
                "9999999999" + kSupply.substr(1), "2147483648" + kReturn.substr(1)}),
       "not whole numbers or beyond the range of numbers: line 4, line 5, line 6, line 7, line 8, line 9."},
      {"no property names in the catalogue", kData + "exported.dxf", ResultFile("\r\n"),
       "names no property for the flow or the dimension", NoPropertyNames()},
  };
  for (const Case& c : cases) {
    Outcome o = RunImport(c.drawing, c.result, Path("out.dxf"), c.catalogue);
    EXPECT_EQ(o.exit, OffScriptExit(o)) << c.what << o.err;
    EXPECT_TRUE(o.Has("result: -1")) << c.what << o.out;
    EXPECT_NE(o.out.find(c.message), std::string::npos) << c.what << o.out;
    EXPECT_TRUE(o.Has("drawing: not written (change cancelled)")) << c.what << o.out;
  }
}

TEST_F(Import, RecordLinesAreTakenWholeAndOnlyWhatTheyHold) {
  // Text after the fourth is not read; its tail, beyond 2047 characters,
  // reads like a record of section 1 that blanks it.
  const std::string longLine = kSupply + ";" + std::string(2047 - kSupply.size() - 1, 'x') + "1;P;X;" +
                               std::string(15, ';');
  struct Case {
    const char* what;
    std::string supply;
    std::vector<std::string> expected;  // "_VANTRIX" fields check_import.py is told otherwise
  } cases[] = {
      // The texts may be missing: the product keeps those it has.
      {"no texts", kSupplyValues, {"vantrix:8=-", "vantrix:9=-", "vantrix:10=-", "vantrix:11=-"}},
      {"two texts", kSupplyValues + "t8;t9;", {"vantrix:10=-", "vantrix:11=-"}},
      // Longer than any buffer: one line, its tail no record of its own.
      {"a long line", longLine, {}},
      // A number with a sign and blanks is whole.
      {"a signed number", " +1 " + kSupply.substr(1), {}},
  };
  for (const Case& c : cases) {
    const std::string out = Path("out.dxf");
    Outcome o = RunImport(kData + "exported.dxf", Records({c.supply, kReturn}), out);
    EXPECT_EQ(o.out.find("message:"), std::string::npos) << c.what << o.out;
    ASSERT_TRUE(o.Has("drawing: written " + out)) << c.what << o.out;
    std::vector<std::string> args = {std::string(JOV_SOURCE_DIR) + "/tests/e2e/check_import.py",
                                     kData + "exported.dxf", out};
    args.insert(args.end(), c.expected.begin(), c.expected.end());
    Outcome check = testsupport::RunProgram(JOV_PYTHON, args, dir_);
    EXPECT_EQ(check.exit, 0) << c.what << check.out << check.err;
  }
}

TEST_F(Import, APartialImportSaysWhatItDidNotApply) {
  // The return pipe (E3) numbered 2, so section 1 reaches only the supply
  // pipe, and put in branch 1 or 2; the file also holds a section and a
  // branch ("1 ") no pipe has. Section 7 may be named by the connect of a
  // riser-side end (E2 supply, E3 return; 0 neither).
  const std::string branches = "branches of the file that match no pipe: '1 '";
  const std::string unmatched = branches + "; sections of the file that match no pipe: 7 ('1').";
  const std::string missed = "pipes without a section in the file: 2 ('1'); ";
  const std::tuple<const char*, int, std::string> cases[] = {
      {"1", 0, missed + unmatched},
      // A branch is applied over its scheme, whose other branches it does not miss.
      {"2", 0, unmatched},
      // The export's section for a supply riser-side end has no pipe of its
      // own; a return end's connect names none.
      {"1", 2, missed + branches + "."},
      {"1", 3, missed + unmatched}};
  for (const auto& [branch, riserEnd, expected] : cases) {
    std::string numbered = testsupport::Slurp(kData + "exported.dxf");
    const std::string number = "\n_DW_NUMBER\n1000\n1\n", named = "\n_NBRANCH\n1000\n1\n";
    const std::string connect = "\n_DW_CONNECT\n1000\n0\n";
    const size_t e2 = numbered.find(number), e3 = numbered.find(number, e2 + 1);
    if (riserEnd) numbered.replace(numbered.find(connect, riserEnd == 2 ? e2 : e3) + connect.size() - 2, 1, "7");
    numbered.replace(e3 + number.size() - 2, 1, "2");
    numbered.replace(numbered.find(named, e3) + named.size() - 2, 1, branch);
    Outcome o = RunImport(Write("numbered.dxf", numbered),
                          Records({kSupply, kReturn, "7" + kSupply.substr(1), "7" + kReturn.substr(1), "#vetev;1 ",
                                   kSupply, kReturn}),
                          Path("out.dxf"));
    EXPECT_TRUE(o.Has("drawing: written " + Path("out.dxf"))) << o.out;
    EXPECT_NE(o.out.find("not everything matched: " + expected + "\""), std::string::npos) << branch << o.out;
    EXPECT_EQ(o.out.find("message:", o.out.find("message:") + 1), std::string::npos) << "one message: " << o.out;
  }
}
