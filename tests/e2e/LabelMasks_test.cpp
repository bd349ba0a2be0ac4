// The label-mask and dimension exports of "Wizard.dll" through the runner,
// worked from session scripts on a prepared profile.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/resources/wizard/resource_ids.h"
#include "tests/e2e/E2eFixture.h"

namespace {

class LabelMasks : public E2e {
 protected:
  void SetUp() override {
    E2e::SetUp();
    std::filesystem::create_directories(dir_ / "profile" / "Dat");
  }
  static std::string Crlf(const std::string& text) {
    std::string crlf;
    for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return crlf;
  }
  // A settings file of the profile's "Dat" folder, written whole (CR LF).
  void Settings(const std::string& name, const std::string& text) { Write("profile/Dat/" + name, Crlf(text)); }
  std::string Settings(const std::string& name) const { return testsupport::Slurp(dir_ / "profile" / "Dat" / name); }

  // The runner calling the library's exports in order, from a script.
  Outcome Call(std::vector<std::string> calls, const std::string& script, std::vector<std::string> more = {}) {
    std::vector<std::string> args{"--module", "Wizard.dll", "--verbose", "--script", Write("session.txt", script)};
    args.insert(args.end(), more.begin(), more.end());
    args.insert(args.end(), calls.begin(), calls.end());
    return Run(args);
  }
  static std::string Id(int id) { return std::to_string(id); }
};

constexpr const char* kFields =
    "[MASK_TOP]\nMASK0=Break;\\\nMASK1=Material;CM\nMASK2=Valve;VE\nMASK3=Dim;#4\n";

TEST_F(LabelMasks, TheHeatingMaskListReordersAddsAndEditsAMaskAndOkRewritesIt) {
  Settings("Jov_set.dat", std::string("[DESC_TOP]\nMASK0=First;#1\nMASK1=Second;&VE\nMASK3=Behind;x\n") + kFields);
  Settings("Jov.ini", "[DESC]\nMASK_TOP=&VE\n");
  const Outcome run = Call({"--run", "JOV_MASK_T"},
                           "dialog " + Id(IDD_MASK) + "\n"
                           "click " + Id(IDC_MOVE_UP) + "\n"
                           "click " + Id(IDC_MASK_ADD) + "\n"
                           "type 0 Third\n"
                           "click " + Id(IDC_MASK_EDIT) + "\n"
                           "dialog " + Id(IDD_MASK_DEF) + "\n"
                           "choose " + Id(IDC_MASK_FIELDS) + " 4\n"  // Dim
                           "click " + Id(IDC_MASK_PART_ADD) + "\n"
                           "click " + Id(IDC_MASK_PART_ADD) + "\n"   // Valve, next in the list
                           "choose " + Id(IDC_MASK_FIELDS) + " 1\n"  // the line break
                           "click " + Id(IDC_MASK_PART_ADD) + "\n"
                           "choose " + Id(IDC_MASK_FIELDS) + " 0\n"  // a free text
                           "click " + Id(IDC_MASK_PART_ADD) + "\n"
                           "dialog " + Id(IDD_MASK_NAME) + "\n"
                           "set " + Id(IDC_MASK_NAME_TEXT) + " x\n"
                           "ok\n"
                           "choose " + Id(IDC_MASK_FIELDS) + " 2\n"  // Material
                           "click " + Id(IDC_MASK_PART_ADD) + "\n"
                           "ok\n"
                           "ok\n");
  EXPECT_EQ(run.exit, 0) << run.err;
  EXPECT_TRUE(run.Has("result: 1")) << run.out;
  EXPECT_EQ(run.out.find("script: line"), std::string::npos) << "every line used: " << run.out;
  const std::string set = Settings("Jov_set.dat");
  EXPECT_NE(set.find("[DESC_TOP]\r\nMASK0=Second;&VE\r\nMASK1=First;#1\r\nMASK2=Third;#4 &VE\\x&CM\r\n[MASK_TOP]\r\n"),
            std::string::npos)
      << set;
  EXPECT_NE(set.find(Crlf(kFields)), std::string::npos) << "the field entries untouched";

  EXPECT_EQ(Settings("Jov.ini"), "[DESC]\r\nMASK_TOP=#4 &VE\\x&CM\r\n");
}

TEST_F(LabelMasks, CancelWritesNothing) {
  const std::string set = std::string("[DESC_TOP]\nMASK0=First;#1\nMASK1=Second;&VE\n") + kFields;
  Settings("Jov_set.dat", set);
  const Outcome run = Call({"--run", "JOV_MASK_T"}, "dialog " + Id(IDD_MASK) + "\nclick " + Id(IDC_MASK_DELETE) +
                                                        "\nclick " + Id(IDC_MASK_ADD) + "\ncancel\n");
  EXPECT_EQ(run.exit, 0) << run.err;
  EXPECT_TRUE(run.Has("result: 2")) << run.out;
  EXPECT_EQ(Settings("Jov_set.dat"), Crlf(set));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "profile" / "Dat" / "Jov.ini"));
}

TEST_F(LabelMasks, TheEditorOfAListedMaskLeavesNoKeyForTheStoredMasks) {
  // Six Tabs reached "Save as..." below the cut-off band; Space then saved
  // into a list that was never read.
  Settings("Jov_set.dat", kFields);
  std::string keys;
  for (int i = 0; i < 6; ++i) keys += "key 0 Tab\n";
  const Outcome run = Call({"--run", "JOV_MASK_T"}, "dialog " + Id(IDD_MASK) + "\nclick " + Id(IDC_MASK_ADD) +
                                                        "\nclick " + Id(IDC_MASK_EDIT) + "\ndialog " +
                                                        Id(IDD_MASK_DEF) + "\n" + keys + "key 0 Space\nok\nok\n");
  EXPECT_EQ(run.exit, 0) << run.err;
  EXPECT_TRUE(run.Has("result: 1")) << run.out;
  EXPECT_EQ(run.out.find("dialog " + Id(IDD_MASK_NAME)), std::string::npos) << "no name asked: " << run.out;
  EXPECT_EQ(run.out.find("script: line"), std::string::npos) << "every line used: " << run.out;
  EXPECT_EQ(Settings("Jov_set.dat"), Crlf(kFields) + "[DESC_TOP]\r\nMASK0=New mask;\r\n");
}

TEST_F(LabelMasks, OnAProfileThatCannotBeWrittenOkSaysSoAndKeepsTheDialogOpen) {
  // "Dat" is a file: nothing can be written below it. Each OK names the
  // file it could not write and leaves its dialog open for Cancel.
  std::filesystem::remove(dir_ / "profile" / "Dat");
  Write("profile/Dat", "");
  const Outcome run = Call({"--run", "JOV_MASK_T", "--run", "maskDefPreset", "--arg", "-", "--arg", "1", "--arg", "T",
                            "--arg", "-", "--run", "DimDlg", "--arg", "main", "--arg", "T"},
                           "dialog " + Id(IDD_MASK) + "\nclick " + Id(IDC_MASK_ADD) + "\nok\ncancel\n"
                           "dialog " + Id(IDD_MASK_DEF) + "\nok\ncancel\n"
                           "dialog " + Id(IDD_DIM) + "\nok\ncancel\n");
  EXPECT_EQ(run.exit, OffScriptExit(run)) << run.err;
  EXPECT_EQ(run.out.find("script: line"), std::string::npos) << "every line used: " << run.out;
  const std::string notSaved = "message: caption=\"Dravik 2D\" type=16 text=\"The settings could not be written to the file ";
  for (const char* file : {"Dat\\\\Jov_set.dat", "Dat\\\\Jov.ini", "Dat\\\\JOV.INI"})
    EXPECT_NE(run.out.find(notSaved + "\\\"" + (dir_ / "profile").string() + "/" + file), std::string::npos)
        << file << ": " << run.out;
  // Cancelled: 2 from the mask list and the dimension dialog, 0 from the editor.
  EXPECT_TRUE(run.Has("result: 0")) << run.out;
  EXPECT_EQ(run.out.find("result: 1"), std::string::npos) << "no dialog ends as saved: " << run.out;
}

TEST_F(LabelMasks, EachKindsExportWritesItsOwnSections) {
  // The pipe mask from the built-in fields, then a new empty mask of every
  // other kind, in one process. The pipes never read a field section.
  Settings("Jov_set.dat", kFields);
  const std::string newMask = "click " + Id(IDC_MASK_ADD) + "\nok\n";
  const Outcome run = Call({"--run", "JOV_MASK_E_PIPE", "--run", "JOV_MASK_Z", "--run", "JOV_MASK_E", "--run",
                            "JOV_MASK_V", "--run", "JOV_MASK", "--arg", "S", "--run", "JOV_MASK_EDIT", "--arg", "main",
                            "--arg", "Q"},
                           "dialog " + Id(IDD_MASK) + "\n"
                           "click " + Id(IDC_MASK_ADD) + "\n"
                           "click " + Id(IDC_MASK_EDIT) + "\n"
                           "dialog " + Id(IDD_MASK_DEF) + "\n"
                           "choose " + Id(IDC_MASK_FIELDS) + " 2\n"  // E1, after the free text and the line break
                           "click " + Id(IDC_MASK_PART_ADD) + "\n"
                           "click " + Id(IDC_MASK_PART_ADD) + "\n"   // E2, next
                           "choose " + Id(IDC_MASK_FIELDS) + " 1\n"
                           "click " + Id(IDC_MASK_PART_ADD) + "\n"
                           "ok\n"
                           "ok\n" +
                               newMask + newMask + newMask + newMask + newMask);
  EXPECT_EQ(run.exit, 0) << run.err;
  EXPECT_EQ(run.out.find("script: line"), std::string::npos) << "every line used: " << run.out;
  EXPECT_NE(run.out.find("  " + Id(IDC_MASK_FIELDS) + " SysListView32 rows=11 selected=1 \"Text \"\"\" \"Line break\" "
                         "\"Pipe field E3\" \"Pipe field E4\""),
            std::string::npos)
      << "the built-in fields, E1 and E2 used: " << run.out;
  EXPECT_EQ(Settings("Jov_set.dat"),
            Crlf(kFields) + "[DESC_EPIPE]\r\nMASK0=New mask;#E1 #E2\\\r\n[DESC_ZDRAVO]\r\nMASK0=New mask;\r\n[DESC_ELEKTRO]\r\n"
            "MASK0=New mask;\r\n[DESC_VZDUCH]\r\nMASK0=New mask;\r\n[DESC_SCHEME]\r\nMASK0=New mask;\r\n"
            "[DESC_TOP]\r\nMASK0=New mask;\r\n");
  EXPECT_EQ(Settings("Jov.ini"), "[DESC]\r\nMASK_EPIPE=#E1 #E2\\\r\n") << "masks without definition are not made active";
  size_t results = 0;
  for (size_t at = 0; (at = run.out.find("result: 1\n", at)) != std::string::npos; ++at) ++results;
  EXPECT_EQ(results, 6u) << run.out;
}

TEST_F(LabelMasks, APickedElementsDataProposesTheMaskThatOkMakesActive) {
  Settings("Jov_set.dat", "[INFO]\n_MATERIAL=CM\n_QPROD=_QPROD\n[DESC_TOP]\nMASK0=Kept;&DN\n");
  const std::string drawing = std::string(JOV_SOURCE_DIR) + "/tests/data/label_element.dxf";
  const Outcome run = Call({"--run", "maskDefPresetEntSel"},
                           "pick A1\n"
                           "dialog " + Id(IDD_MASK_DEF) + "\n"
                           "ok\n",
                           {"--drawing", drawing});
  EXPECT_EQ(run.exit, 0) << run.err;
  EXPECT_TRUE(run.Has("result: 1")) << run.out;
  EXPECT_NE(run.out.find("1110 SysListView32 rows=6 selected=-1 \"Text \"#1\"\" \"Text \" \"\" \"Text \"&VE\"\" "
                         "\"Text \" \"\" \"Text \"#P\"\" \"Text \" \"\"\n"),
            std::string::npos)
      << "without field entries every part is a free text: " << run.out;
  EXPECT_EQ(Settings("Jov.ini"), "[DESC]\r\nMASK_TOP=#1 &VE #P \r\n");
  EXPECT_EQ(Settings("Jov_set.dat"), "[INFO]\r\n_MATERIAL=CM\r\n_QPROD=_QPROD\r\n[DESC_TOP]\r\nMASK0=Kept;&DN\r\n"
                                     "MASK1=Proposed mask;#1 &VE #P \r\n");

  const Outcome cancelled = Call({"--run", "maskDefPresetEntSel"}, "cancel\n", {"--drawing", drawing});
  EXPECT_EQ(cancelled.exit, 0) << cancelled.err;
  EXPECT_TRUE(cancelled.Has("result: -1")) << cancelled.out;
  EXPECT_EQ(cancelled.out.find("dialog"), std::string::npos) << "no dialog: " << cancelled.out;
}

}  // namespace

TEST_F(LabelMasks, APastedControlCharacterIsRefusedWithAMessage) {
  // A free text with a pasted tab: refused, then taken without it.
  Settings("Jov_set.dat", kFields);
  const Outcome run = Call({"--run", "JOV_MASK_T"}, "dialog " + Id(IDD_MASK) + "\nclick " + Id(IDC_MASK_ADD) +
      "\nclick " + Id(IDC_MASK_EDIT) + "\ndialog " + Id(IDD_MASK_DEF) + "\nchoose " + Id(IDC_MASK_FIELDS) +
      " 0\nclick " + Id(IDC_MASK_PART_ADD) + "\ndialog " + Id(IDD_MASK_NAME) + "\nset " + Id(IDC_MASK_NAME_TEXT) +
      " \"a\tb\"\nok\nanswer ok\nset " + Id(IDC_MASK_NAME_TEXT) + " ab\nok\nok\nok\n");
  EXPECT_NE(run.out.find("holds a control character"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("script: line"), std::string::npos) << "every line used: " << run.out;
  EXPECT_NE(Settings("Jov_set.dat").find("MASK0=New mask;ab\r\n"), std::string::npos) << Settings("Jov_set.dat");
}
