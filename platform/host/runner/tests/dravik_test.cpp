// The runner end to end: the real `dravik` program (and its LT name) on
// drawings, with the test plug-in's commands and session scripts.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/ProgramRun.h"

namespace {

namespace fs = std::filesystem;

using testsupport::Outcome;
using testsupport::Slurp;

// A small R12 drawing: a LINE 1A (0,0)-(3000,4000) and a CIRCLE 1B.
const char* kLines =
    "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n  9\n$INSUNITS\n 70\n4\n"
    "  9\n$HANDSEED\n  5\n20\n  0\nENDSEC\n"
    "  0\nSECTION\n  2\nENTITIES\n"
    "  0\nLINE\n  5\n1A\n  8\n0\n 10\n0.0\n 20\n0.0\n 30\n0.0\n 11\n3000.0\n 21\n4000.0\n 31\n0.0\n"
    "  0\nCIRCLE\n  5\n1B\n  8\n0\n 10\n100.0\n 20\n100.0\n 30\n0.0\n 40\n50.0\n"
    "  0\nENDSEC\n  0\nEOF\n";

class Dravik : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* modules = std::getenv("JOV_MODULE_DIR");
    ASSERT_NE(modules, nullptr);
    bin = modules;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir = fs::temp_directory_path() / (std::string("dravik_") + info->name() + "_" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    Write("lines.dxf", kLines);
  }
  void TearDown() override { fs::remove_all(dir); }

  fs::path Write(const std::string& name, const std::string& text) {
    std::ofstream(dir / name, std::ios::binary) << text;
    return dir / name;
  }

  static std::string Fixture(const char* name) {
    return std::string(JOV_SOURCE_DIR) + "/platform/host/tests/data/" + name;
  }

  Outcome Spawn(const std::string& program, const std::vector<std::string>& args,
                const std::vector<std::string>& env = {}) {
    return testsupport::RunProgram(program, args, dir, env);
  }

  // dravik (or its LT name) with the test plug-in and a profile of its own.
  Outcome Run(std::vector<std::string> args, bool lt = false) {
    args.insert(args.end(), {"--plugin", JOV_TEST_PLUGIN, "--profile", (dir / "profile").string()});
    return Spawn((bin / (lt ? "duvozedo.exe" : "dravik")).string(), args);
  }

  fs::path Script(const std::string& text) { return Write("session.txt", text); }

  // ezdxf's audit of a written drawing and its model-space listing.
  Outcome Audit(const fs::path& file) {
    return Spawn(JOV_PYTHON, {std::string(JOV_SOURCE_DIR) + "/platform/host/runner/tests/audit_output.py",
                              file.string()});
  }

  fs::path bin, dir;
};

TEST_F(Dravik, LengthOfTheSelectedLineInBothEditions) {
  for (bool lt : {false, true}) {
    Outcome o = Run({"--drawing", (dir / "lines.dxf").string(), "--select", "1a", "--run", "Jov_Length"}, lt);
    EXPECT_EQ(o.exit, 0) << o.err;
    EXPECT_EQ(o.out, "result: 0\nclipboard CF_VANTRIX_CAD: 5.0000\ndrawing: unchanged\n");
  }
  Outcome metres = Run({"--drawing", (dir / "lines.dxf").string(), "--select", "1A", "--run",
                        "Jov_Length", "--units", "1"});
  EXPECT_TRUE(metres.Has("clipboard CF_VANTRIX_CAD: 5000.0000")) << metres.out;
  Outcome arg = Run({"--drawing", (dir / "lines.dxf").string(), "--select", "1A", "--run=Jov_Length", "--arg=1000"});
  EXPECT_TRUE(arg.Has("clipboard CF_VANTRIX_CAD: 5.0000")) << arg.out;
  Outcome circle = Run({"--drawing", (dir / "lines.dxf").string(), "--select", "1B,1A", "--run", "Jov_Length"});
  EXPECT_EQ(circle.out, "result: -1\ndrawing: unchanged\n");
}

TEST_F(Dravik, CommittedChangeIsWrittenAndPassesTheAudit) {
  std::string input = Fixture("r2000_network.dxf");
  std::string before = Slurp(input);
  fs::path out = dir / "out.dxf";
  Script("# the valve, then everything around it\npick 42 1000 2000\nselect-window -10 -10 5000 5000\nanswer yes\n");
  Outcome o = Run({"--drawing", input, "--out", out.string(), "--run", "Jov_CutDlg", "--script",
                   (dir / "session.txt").string()});
  ASSERT_EQ(o.exit, 0) << o.err;
  EXPECT_EQ(o.out,
            "result: -1\n"
            "message: caption=\"Dravik 2D\" type=36 text=\"picked (1000, 2000, 0); selection 5100: INSERT 42 "
            "LINE 40 LWPOLYLINE 41 TEXT 45 LWPOLYLINE 46; block 5100/1/5100 *U1; new 3. Keep?\" answer=yes\n"
            "drawing: written " + out.string() + "\n");
  EXPECT_EQ(Slurp(input), before) << "the input is never touched";

  Outcome audit = Audit(out);
  ASSERT_EQ(audit.exit, 0) << audit.out << audit.err;
  for (const char* line : {"version AC1015", "LINE 40 TRUBKY JOV_TEST", "LWPOLYLINE 41 TRUBKY JOV_DATA,JOV_TEST",
                           "INSERT 42 TRUBKY JOV_TEST", "LWPOLYLINE 46 TRUBKY JOV_TEST",
                           "INSERT 52 JOV_SYMBOL JOV_DATA", "LWPOLYLINE 53 JOV_TRUBKY JOV_DATA",
                           "TEXT 55 JOV_TEXT -", "BLOCK *U1 2"})
    EXPECT_TRUE(audit.Has(line)) << line << "\n" << audit.out;
}

TEST_F(Dravik, R12DrawingsTooInTheLtEdition) {
  fs::path out = dir / "out12.dxf";
  Script("pick 2C\nselect 26 27\nanswer yes\n");
  Outcome o = Run({"--drawing", Fixture("r12_network.dxf"), "--out", out.string(), "--run", "Jov_CutDlg",
                   "--script", (dir / "session.txt").string()},
                  true);
  ASSERT_EQ(o.exit, 0) << o.err;
  EXPECT_NE(o.out.find("caption=\"Dravik 2D LT\""), std::string::npos) << o.out;
  EXPECT_NE(o.out.find("selection 5100: INSERT 2C LINE 26 LWPOLYLINE 27;"), std::string::npos) << o.out;
  Outcome audit = Audit(out);
  ASSERT_EQ(audit.exit, 0) << audit.out << audit.err;
  for (const char* line : {"version AC1009", "POLYLINE 27 TRUBKY JOV_TEST", "INSERT 2C TRUBKY JOV_TEST",
                           "TEXT 2F 0 -", "BLOCK *U1 2"})
    EXPECT_TRUE(audit.Has(line)) << line << "\n" << audit.out;
}

TEST_F(Dravik, CancelledChangeIsNotWritten) {
  fs::path out = dir / "out.dxf";
  Script("pick 1A\nselect 1B\nanswer no\n");
  Outcome o = Run({"--drawing", (dir / "lines.dxf").string(), "--out", out.string(), "--run", "Jov_CutDlg",
                   "--script", (dir / "session.txt").string()});
  EXPECT_EQ(o.exit, 0) << o.err;
  EXPECT_TRUE(o.Has("drawing: not written (change cancelled)")) << o.out;
  EXPECT_FALSE(fs::exists(out));
}

TEST_F(Dravik, OutputGoesOnlyOntoAWritableRegularFile) {
  // Refused before the command runs, and left as they were.
  mkfifo((dir / "fifo").c_str(), 0666);
  Write("readonly.dxf", "kept");
  fs::permissions(dir / "readonly.dxf", fs::perms::owner_read);
  fs::create_symlink("loop_b", dir / "loop_a");
  fs::create_symlink("loop_a", dir / "loop_b");
  fs::create_symlink("readonly.dxf", dir / "to_readonly");
  struct Row {
    std::string out, command, message;
  } rows[] = {
      {"/dev/null", "Jov_Length", "dravik: --out /dev/null is not a regular file\n"},
      {(dir / "fifo").string(), "Jov_Vantrix_Import", "is not a regular file\n"},
      {(dir / "readonly.dxf").string(), "Jov_Vantrix_Import", "readonly.dxf is read-only\n"},
      {(dir / "to_readonly").string(), "Jov_Vantrix_Import", "readonly.dxf) is read-only\n"},
      {(dir / "loop_a").string(), "Jov_Vantrix_Import", "loop_a is a chain of links that does not end\n"},
  };
  for (const Row& row : rows) {
    Outcome o = Run({"--drawing", (dir / "lines.dxf").string(), "--out", row.out, "--run", row.command, "--arg", "1"});
    EXPECT_EQ(o.exit, 6) << row.out;
    EXPECT_EQ(o.out, "") << row.out;
    EXPECT_TRUE(o.err.ends_with(row.message)) << o.err;
  }
  EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
  EXPECT_EQ(Slurp((dir / "readonly.dxf").string()), "kept");
  EXPECT_TRUE(fs::is_symlink(dir / "loop_a"));
}

TEST_F(Dravik, DamagedRegistryKeyLineKeepsItsValuesApart) {
  // A key line without its ']': its value belongs to no key, and the file
  // as it was is kept beside the hive before the seeded value rewrites it.
  const std::string hive = "[Software\\Good]\n\"A\"=1:4100\n[Software\\Broken\n\"B\"=1:4200\n";
  fs::create_directories(dir / "reg");
  Write("reg/HKEY_LOCAL_MACHINE.reg", hive);
  Outcome o = Run({"--registry", (dir / "reg").string(), "--hklm", "Software\\Good\\C=x", "--run", "Jov_Length",
                   "--arg", "1000"});
  EXPECT_EQ(o.exit, 0) << o.err;
  const fs::path copy = dir / "reg" / "HKEY_LOCAL_MACHINE.reg.damaged";
  EXPECT_EQ(o.err, "registry: " + (dir / "reg" / "HKEY_LOCAL_MACHINE.reg").string() +
                       " has damaged lines and is written without them; the file as it was is kept in " +
                       copy.string() + "\n");
  EXPECT_EQ(Slurp(copy), hive);
  EXPECT_EQ(Slurp(dir / "reg" / "HKEY_LOCAL_MACHINE.reg"), "[]\n[Software\\Good]\n\"A\"=1:4100\n");
}

TEST_F(Dravik, OtherWritersFormsAreReadAndKept) {
  auto edit = [](std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
  };
  const std::string r2000 = Slurp(Fixture("r2000_network.dxf"));
  struct Row {
    std::string name, text, listed, kept;
  } rows[] = {
      {"comment.dxf", edit(kLines, "ENTITIES\n", "ENTITIES\n999\nfrom another writer\n"), "LINE 1A 0 -",
       "ENTITIES\n999\nfrom another writer\n  0\nLINE\n"},
      {"plus.dxf", edit(kLines, " 40\n50.0", "+40\n50.0"), "CIRCLE 1B 0 -", " 40\n50.0"},
      // Counted although longer than 16 digits: the new line takes 1C.
      {"zeros.dxf", edit(edit(kLines, "  5\n20\n", "  5\n10\n"), "  5\n1B\n", "  5\n00000000000000001B\n"),
       "LINE 1C JOV_IMPORT -", "00000000000000001B"},
      {"noobjects.dxf", r2000.substr(0, r2000.rfind("  0\nSECTION", r2000.find("OBJECTS"))) + "  0\nEOF\n",
       "LINE 4B JOV_IMPORT -", "ENDSEC\n  0\nEOF\n"},
  };
  for (const Row& row : rows) {
    const fs::path out = dir / ("out_" + row.name);
    Outcome o = Run({"--drawing", Write(row.name, row.text).string(), "--out", out.string(), "--run",
                     "Jov_Vantrix_Import", "--arg", "1"});
    ASSERT_EQ(o.exit, 0) << row.name << ": " << o.err;
    Outcome audit = Audit(out);
    EXPECT_EQ(audit.exit, 0) << row.name << audit.out << audit.err;
    EXPECT_TRUE(audit.Has(row.listed)) << row.name << "\n" << audit.out;
    EXPECT_NE(Slurp(out).find(row.kept), std::string::npos) << row.name;
  }
  // A seed below a handle in use is mended at load; leaving early after
  // that ends as cleanly as any other run.
  Outcome early = Run({"--drawing", (dir / "zeros.dxf").string(), "--select", "77", "--run", "Jov_Length"});
  EXPECT_EQ(early.exit, 2) << early.err;
  EXPECT_EQ(early.err, "dravik: --select: the drawing has no entity with handle 77\n");
}

TEST_F(Dravik, ChangeBracketsDecideTheOutput) {
  fs::path out = dir / "out.dxf";
  auto run = [&](const char* mode) {
    fs::remove(out);
    return Run({"--drawing", (dir / "lines.dxf").string(), "--out", out.string(), "--run",
                "Jov_Vantrix_Import", "--arg", mode});
  };
  Outcome open = run("0");
  EXPECT_TRUE(open.Has("drawing: not written (change not ended)")) << open.out;
  EXPECT_FALSE(fs::exists(out));
  Outcome cancelled = run("2");
  EXPECT_TRUE(cancelled.Has("drawing: not written (change cancelled)")) << cancelled.out;
  Outcome mixed = run("1");
  ASSERT_TRUE(mixed.Has("drawing: written " + out.string())) << mixed.out;
  std::string written = Slurp(out);
  EXPECT_NE(written.find("JOV_IMPORT"), std::string::npos);
  EXPECT_EQ(written.find("CIRCLE\n  5\n21"), std::string::npos) << "the second change was rolled back";
  // --out on a link writes the file it points at; a write that fails says so once.
  fs::remove(out);
  fs::create_symlink("out.dxf", dir / "link.dxf");
  Outcome linked = Run({"--drawing", (dir / "lines.dxf").string(), "--out", (dir / "link.dxf").string(),
                        "--run", "Jov_Vantrix_Import", "--arg", "1"});
  EXPECT_EQ(linked.exit, 0) << linked.err;
  EXPECT_TRUE(fs::is_symlink(dir / "link.dxf"));
  EXPECT_EQ(Slurp(out), written);
  const fs::path nowhere = dir / "missing" / "out.dxf";
  Outcome failed = Run({"--drawing", (dir / "lines.dxf").string(), "--out", nowhere.string(), "--run",
                        "Jov_Vantrix_Import", "--arg", "1"});
  EXPECT_EQ(failed.exit, 6);
  EXPECT_EQ(failed.err, "dravik: cannot write " + nowhere.string() + ": cannot create a file in " +
                            nowhere.parent_path().string() + ": No such file or directory\n");
  Outcome noOut = Run({"--drawing", (dir / "lines.dxf").string(), "--run", "Jov_Vantrix_Import", "--arg", "1"});
  EXPECT_TRUE(noOut.Has("drawing: changed, not written (no --out)")) << noOut.out;
}

TEST_F(Dravik, UnansweredPromptsAndBoxesAreReported) {
  Outcome o = Run({"--drawing", (dir / "lines.dxf").string(), "--run", "Jov_CutDlg"});
  // Left unanswered: the runner says so with its own exit code.
  EXPECT_EQ(o.exit, 7) << o.err;
  EXPECT_EQ(o.out,
            "result: -1\n"
            "message: caption=\"Dravik 2D\" type=16 text=\"pick: -5002 state 0\" answer=ok (unanswered)\n"
            "unanswered: Select \"Pick the riser\" (single pick): no script\n"
            "drawing: unchanged\n");

  Script("answer no\npoint 1 2\n");
  Outcome wrong = Run({"--drawing", (dir / "lines.dxf").string(), "--run", "Jov_CutDlg", "--script",
                       (dir / "session.txt").string()});
  EXPECT_TRUE(wrong.Has("unanswered: Select \"Pick the riser\" (single pick): script line 1 is \"answer no\""))
      << wrong.out;
  // The box took the answer meant for it; the point was left over.
  EXPECT_TRUE(wrong.Has("message: caption=\"Dravik 2D\" type=16 text=\"pick: -5002 state 0\" answer=ok (refused no)"))
      << wrong.out;
  EXPECT_TRUE(wrong.Has("script: line 2 not used: point 1 2")) << wrong.out;
  EXPECT_EQ(wrong.exit, 7) << "unanswered comes before unused";
}

TEST_F(Dravik, MessageBoxAnswersAreTheCommandsResult) {
  Script("answer no\n");
  Outcome no = Run({"--drawing", (dir / "lines.dxf").string(), "--run", "Jov_Vantrix_M", "--script",
                    (dir / "session.txt").string()});
  EXPECT_TRUE(no.Has("result: 7")) << no.out;
  EXPECT_TRUE(no.Has("message: caption=\"Dravik 2D\" type=35 text=\"parent window. Save the list?\" answer=no"));
  Outcome none = Run({"--drawing", (dir / "lines.dxf").string(), "--run", "Jov_Vantrix_M"});
  EXPECT_TRUE(none.Has("result: 6")) << none.out;
  EXPECT_TRUE(none.Has("message: caption=\"Dravik 2D\" type=35 text=\"parent window. Save the list?\" answer=yes (unanswered)"));
  // With --snapshot the box leaves its picture; a folder that cannot be made
  // fails the run after it ended, saying which picture is missing.
  Outcome pictured = Run({"--drawing", (dir / "lines.dxf").string(), "--run", "Jov_Vantrix_M", "--snapshot",
                          (dir / "pictures").string()});
  EXPECT_EQ(pictured.exit, 7) << pictured.err;
  EXPECT_TRUE(pictured.Has("pictures: 1 in " + (dir / "pictures").string())) << pictured.out;
  EXPECT_GT(fs::file_size(dir / "pictures" / "msgbox-1.png"), 100u);
  Outcome blocked = Run({"--drawing", (dir / "lines.dxf").string(), "--run", "Jov_Vantrix_M", "--snapshot",
                         (dir / "lines.dxf" / "pictures").string()});
  EXPECT_EQ(blocked.exit, 6);
  EXPECT_TRUE(blocked.Has("pictures: 0 in " + (dir / "lines.dxf" / "pictures").string())) << blocked.out;
  EXPECT_NE(blocked.err.find("dravik: picture not written: " + (dir / "lines.dxf" / "pictures" / "msgbox-1.png").string()),
            std::string::npos)
      << blocked.err;
}

TEST_F(Dravik, HostValuesPointsAndCatalogue) {
  std::string header =
      "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n  9\n$CLAYER\n  8\nPIPES\n"
      "  9\n$UCSORG\n 10\n100.0\n 20\n50.0\n 30\n0.0\n  9\n$UCSXDIR\n 10\n0.0\n 20\n1.0\n 30\n0.0\n"
      "  9\n$UCSYDIR\n 10\n-1.0\n 20\n0.0\n 30\n0.0\n  0\nENDSEC\n  0\nEOF\n";
  fs::path drawing = Write("ucs.dxf", header);
  Script("point 10 0\n");
  Outcome o = Run({"--drawing", drawing.string(), "--run", "Jov_Vantrix_Export", "--script",
                   (dir / "session.txt").string(), "--units", "1", "--scale", "50", "--env",
                   "JOV_OFFSET=250", "--env", "OTHER=1"});
  ASSERT_EQ(o.exit, 7) << o.err;
  std::string profile = (dir / "profile").string() + "/";
  EXPECT_TRUE(o.Has("message: caption=\"Dravik 2D\" type=64 text=\"units=1 scale=50 layer=PIPES env=250 "
                    "angle=1.5708 window=yes catalogue T=yes X=no same=yes profile=" + profile + "\" answer=ok (unanswered)"))
      << o.out;
  EXPECT_TRUE(o.Has("message: caption=\"Dravik 2D\" type=64 text=\"point 5100 state 2 (10, 0, 0) world (100, 60, 0) "
                    "back (10, 0, 0)\" answer=ok (unanswered)"))
      << o.out;
  for (const char* sub : {"Dat", "Vantrix"}) EXPECT_TRUE(fs::is_directory(dir / "profile" / sub)) << sub;

  // The default profile folder follows XDG_CONFIG_HOME.
  Outcome xdg = Spawn((bin / "dravik").string(),
                      {"--drawing", drawing.string(), "--run", "Jov_Vantrix_Export", "--plugin", JOV_TEST_PLUGIN,
                       "--catalogue", (dir / "none").string()},
                      {"XDG_CONFIG_HOME=" + (dir / "xdg").string()});
  EXPECT_TRUE(xdg.out.find("catalogue T=no") != std::string::npos) << xdg.out;
  EXPECT_TRUE(xdg.out.find("profile=" + (dir / "xdg").string() + "/dravik/\"") != std::string::npos) << xdg.out;
  EXPECT_TRUE(xdg.Has("unanswered: GetPoint \"Insertion point\" (point): no script")) << xdg.out;
}

TEST_F(Dravik, WindowSelectionAndByNameFunctions) {
  fs::path out = dir / "out.dxf";
  Script("select-window -1 -1 3001 4001\n");
  Outcome o = Run({"--drawing", (dir / "lines.dxf").string(), "--out", out.string(), "--run", "Exclude_From",
                   "--script", (dir / "session.txt").string(), "--log", (dir / "host.log").string()});
  ASSERT_EQ(o.exit, 7) << o.err;
  EXPECT_TRUE(o.Has("result: 1"));
  EXPECT_NE(o.out.find("text=\"excluded: 1A 1B\""), std::string::npos) << o.out;
  std::string log = Slurp(dir / "host.log");
  EXPECT_NE(log.find("Select(\"Select what to exclude\", 2, 0, null) -> 5100 [2 selected]\n"), std::string::npos) << log;
  EXPECT_NE(log.find("EndChange(1) -> committed\n"), std::string::npos) << log;
  Outcome audit = Audit(out);
  EXPECT_EQ(audit.exit, 0) << audit.out;
  EXPECT_TRUE(audit.Has("LINE 1A 0 JOV_EXCLUDE")) << audit.out;

  for (bool lt : {false, true}) {
    Outcome names = Run({"--drawing", (dir / "lines.dxf").string(), "--run", "Include_In"}, lt);
    EXPECT_NE(names.out.find("text=\"by name: 27 found, 23 refuse\""), std::string::npos) << names.out;
  }
}

TEST_F(Dravik, BadArgumentsAndMissingPiecesFailClearly) {
  std::string lines = (dir / "lines.dxf").string();
  struct Case {
    std::vector<std::string> args;
    int exit;
    std::string message;
  } cases[] = {
      {{"--drawing", lines}, 2, "dravik: --run is required"},
      {{"--arg", "3", "--run", "Jov_Length"}, 2, "dravik: --arg: '3' comes before any --run"},
      {{"--run", "Jov_Length", "--arg", "1", "--arg", "2"}, 2, "dravik: --arg: Jov_Length takes one argument"},
      {{"--run", "Jov_Length", "--module", "Other.dll"}, 2,
       "dravik: --module: 'Other.dll' is neither Jov_Vantrix.dll nor Wizard.dll"},
      {{"--module", "Wizard.dll", "--run", "Jov_Length"}, 2, "dravik: --run: 'Jov_Length' is not an export of Wizard.dll"},
      {{"--module", "Wizard.dll", "--run", "PPDlg"}, 2,
       "dravik: --arg: PPDlg takes 13 arguments (parent db view flags count lengthMode pointIndex pointsText "
       "ownPoint product branch arg13 group), not 0"},
      {{"--module", "Wizard.dll", "--run", "GetPPMirror", "--arg", "1"}, 2,
       "dravik: --arg: GetPPMirror takes 0 arguments, not 1"},
      {{"--module", "Wizard.dll", "--run", "ModifyDBParam", "--arg", "T", "--arg", "1"}, 2,
       "dravik: --arg: ModifyDBParam argument 1: 'T' is not a catalogue (db:T or db:T:ID)"},
      {{"--module", "Wizard.dll", "--run", "WizardDialog", "--arg", "main", "--arg", "db:T", "--arg", "-1", "--arg",
        "0"},
       2, "dravik: --arg: WizardDialog argument 3: '-1' is not a whole number from 0"},
      {{"--module", "Wizard.dll", "--run", "PPGetResbuf", "--arg", "db:T", "--arg", "1", "--arg", "flags:0,256",
        "--arg", "2", "--arg", "-", "--arg", "-", "--arg", "-", "--arg", "-", "--arg", "-"},
       2, "dravik: --arg: PPGetResbuf argument 3: 'flags:0,256': '256' is not a byte"},
      {{"--module", "Wizard.dll", "--run", "DimDlg", "--arg", "desktop", "--arg", "E"}, 2,
       "dravik: --arg: DimDlg argument 1: 'desktop' is not a window (main or -)"},
      {{"--module", "Wizard.dll", "--run", "PPFree", "--insert", "1", "2"}, 2,
       "dravik: --insert places a product of Wizard.dll: it needs --module Wizard.dll and --out"},
      {{"--run", "Jov_Length", "--insert", "1", "y"}, 2, "dravik: --insert: '1 y' is not a point X Y"},
      {{"--drawing", lines, "--run", "Jov_Nothing"}, 2, "dravik: --run: 'Jov_Nothing' is not a command"},
      {{"--drawing", lines, "--run", "Jov_Length", "--bogus", "1"}, 2, "dravik: unknown option --bogus"},
      {{"--drawing", lines, "--run", "Jov_Length", "--units", "100"}, 2, "dravik: --units: 1 (metres) or 1000"},
      {{"--drawing", lines, "--run", "Jov_Length", "--select", "1A,zz"}, 2, "dravik: --select: 'zz' is not"},
      {{"--drawing", lines, "--run", "Exclude_From", "--arg", "3"}, 2, "dravik: --arg: Exclude_From takes no argument"},
      {{"--drawing", lines, "--run", "Jov_Length", "--select", "77"}, 2,
       "dravik: --select: the drawing has no entity with handle 77"},
      {{"--drawing", (dir / "missing.dxf").string(), "--run", "Jov_Length"}, 3, "dravik: cannot read the drawing"},
      {{"--drawing", lines, "--run", "Jov_Length", "--out", lines}, 2, "dravik: --out names the input drawing"},
  };
  for (const Case& c : cases) {
    Outcome o = Run(c.args);
    EXPECT_EQ(o.exit, c.exit) << c.message;
    EXPECT_EQ(o.err.rfind(c.message, 0), 0u) << o.err;
    EXPECT_EQ(o.out, "");
  }
  EXPECT_EQ(Slurp(lines), kLines);

  Write("broken.dxf", "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n 10\n");
  Outcome broken = Run({"--drawing", (dir / "broken.dxf").string(), "--run", "Jov_Length"});
  EXPECT_EQ(broken.exit, 3);
  EXPECT_EQ(broken.err.rfind("dravik: cannot read the drawing " + (dir / "broken.dxf").string() + ": line", 0), 0u)
      << broken.err;

  // A copy cut before its EOF, and handles that leave no room for new ones.
  std::string cut = kLines;
  Write("cut.dxf", cut.substr(0, cut.rfind("  0\nEOF")));
  std::string seed = kLines;
  Write("seed.dxf", seed.replace(seed.find("\n20\n") + 1, 2, "FFFFFFFFFFFFFFFF"));
  for (const auto& [name, reason] : {std::pair{"cut.dxf", "the drawing ends without EOF: file truncated?"},
                                     std::pair{"seed.dxf", "$HANDSEED FFFFFFFFFFFFFFFF leaves no room for new handles"}}) {
    Outcome refused = Run({"--drawing", (dir / name).string(), "--out", (dir / "out.dxf").string(), "--run",
                           "Jov_Vantrix_Import", "--arg", "1"});
    EXPECT_EQ(refused.exit, 3);
    EXPECT_EQ(refused.err.rfind("dravik: cannot read the drawing " + (dir / name).string() + ": " + reason, 0), 0u)
        << refused.err;
    EXPECT_FALSE(fs::exists(dir / "out.dxf"));
  }

  // At the last seed the load takes, a command that needs a handle fails
  // and writes nothing: the runner would refuse that drawing.
  std::string last = kLines;
  Write("last.dxf", last.replace(last.find("\n20\n") + 1, 2, "7FFFFFFFFFFFFFFF"));
  Outcome full = Run({"--drawing", (dir / "last.dxf").string(), "--out", (dir / "out.dxf").string(), "--run",
                      "Jov_Vantrix_Import", "--arg", "1"});
  EXPECT_EQ(full.exit, 6);
  EXPECT_EQ(full.err, "dravik: the drawing's handles reach 7FFFFFFFFFFFFFFF: no room is left for new handles\n");
  EXPECT_NE(full.out.find("drawing: not written (change refused)\n"), std::string::npos) << full.out;
  EXPECT_FALSE(fs::exists(dir / "out.dxf"));

  // Just below the limit there is room: the new handles are new, and other tools read them.
  std::string high = kLines;
  Write("high.dxf", high.replace(high.find("\n20\n") + 1, 2, "7FFFFFFFFFFFFFF0"));
  Outcome near = Run({"--drawing", (dir / "high.dxf").string(), "--out", (dir / "out.dxf").string(), "--run",
                      "Jov_Vantrix_Import", "--arg", "1"});
  ASSERT_EQ(near.exit, 0) << near.err;
  Outcome audit = Audit(dir / "out.dxf");
  EXPECT_EQ(audit.exit, 0) << audit.out << audit.err;
  EXPECT_TRUE(audit.Has("LINE 7FFFFFFFFFFFFFF0 JOV_IMPORT -")) << audit.out;

  Outcome noPlugin = Spawn((bin / "dravik").string(),
                           {"--drawing", lines, "--run", "Jov_Length", "--plugin", (dir / "none.dll").string()});
  EXPECT_EQ(noPlugin.exit, 4);
  EXPECT_EQ(noPlugin.err, "dravik: no plug-in at " + (dir / "none.dll").string() + "\n");
  Outcome noExport = Spawn((bin / "dravik").string(),
                           {"--drawing", lines, "--run", "Jov_Length", "--plugin", std::string(JOV_TEST_PLUGIN_DIR) + "/Jov_TestPlain.dll"});
  EXPECT_EQ(noExport.exit, 4);
  EXPECT_NE(noExport.err.find("has no export Jov_Length"), std::string::npos) << noExport.err;

  Outcome help = Spawn((bin / "dravik").string(), {"--help"});
  EXPECT_EQ(help.exit, 0);
  EXPECT_NE(help.out.find("--plugin FILE      load this file as the module instead (a testing aid)"),
            std::string::npos);

  // Without a drawing the host has an empty one.
  Outcome empty = Run({"--run", "Jov_Length", "--arg", "1000"});
  EXPECT_EQ(empty.exit, 0) << empty.err;
  EXPECT_EQ(empty.out, "result: -1\ndrawing: unchanged\n");
}

TEST_F(Dravik, ScriptErrorsNameTheLine) {
  Script("pick 1A\n\nwiggle 3\n");
  Outcome bad = Run({"--drawing", (dir / "lines.dxf").string(), "--run", "Jov_CutDlg", "--script",
                     (dir / "session.txt").string()});
  EXPECT_EQ(bad.exit, 2);
  EXPECT_EQ(bad.err, "dravik: script " + (dir / "session.txt").string() + " line 3: unknown keyword 'wiggle'\n");
  EXPECT_EQ(bad.out, "");

  Script("pick 99\n");
  Outcome unknown = Run({"--drawing", (dir / "lines.dxf").string(), "--run", "Jov_CutDlg", "--script",
                         (dir / "session.txt").string()});
  EXPECT_EQ(unknown.exit, 5);
  EXPECT_TRUE(unknown.Has("message: caption=\"Dravik 2D\" type=16 text=\"pick: -5001 state 0\" answer=ok (unanswered)"))
      << unknown.out;
  EXPECT_EQ(unknown.err, "dravik: script " + (dir / "session.txt").string() +
                             " line 1: the drawing has no entity with handle 99\n");
}

TEST_F(Dravik, DialogsTakeTheirActionsFromTheScript) {
  const std::string lines = (dir / "lines.dxf").string();
  Script("set 100 \"Nov\xC3\xBD soubor\"\ncheck 101 1\nok\n");
  Outcome o = Run({"--drawing", lines, "--run", "Jov_Vantrix_Import", "--arg", "3", "--script",
                   (dir / "session.txt").string()});
  EXPECT_EQ(o.exit, 7) << o.err;
  EXPECT_EQ(o.out,
            "result: 1\n"
            "dialog \"Import\": closed result=1\n"
            "message: caption=\"Dravik 2D\" type=64 text=\"dialog 1 text=Nov\xC3\xBD soubor check=1\" answer=ok "
            "(unanswered)\n"
            "drawing: unchanged\n");

  Outcome verbose = Run({"--drawing", lines, "--run", "Jov_Vantrix_Import", "--arg", "3", "--script",
                         (dir / "session.txt").string(), "--verbose"});
  EXPECT_TRUE(verbose.Has("dialog \"Import\": opened")) << verbose.out;
  EXPECT_TRUE(verbose.Has("dialog \"Import\": check 101 1"));
  EXPECT_TRUE(verbose.Has("  100 Edit \"Nov\xC3\xBD soubor\"")) << "the controls as the dialog closed";
  EXPECT_TRUE(verbose.Has("  101 Button check=1 \"Overwrite\""));

  // Input that runs out cancels the dialog; a control that is not there is
  // a script error.
  Script("set 100 x\nclick 555\n");
  Outcome out = Run({"--drawing", lines, "--run", "Jov_Vantrix_Import", "--arg", "3", "--script",
                     (dir / "session.txt").string()});
  EXPECT_EQ(out.exit, 5);
  EXPECT_TRUE(out.Has("result: 2")) << out.out;
  EXPECT_TRUE(out.Has("dialog \"Import\": failed: click 555: no control 555"));
  EXPECT_TRUE(out.Has("dialog \"Import\": ran out of input, cancelled (IDCANCEL)"));
  EXPECT_TRUE(out.Has("unanswered: dialog \"Import\": the script has no more lines"));
  EXPECT_EQ(out.err, "dravik: script " + (dir / "session.txt").string() + " line 2: dialog \"Import\": no control 555\n");
}

}  // namespace
