// The pick banner and a dialog of history boxes with a resizable layout,
// run by the real runner from session scripts through a plug-in of their
// own: the host's main window owns both, the typed values pass the boxes'
// filters, and "Jov.ini" in the profile keeps the histories and the layout
// from one run to the next.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/tests/data/utilities_dialog_ids.h"
#include "tests/e2e/E2eFixture.h"

namespace {

class DialogUtilities : public E2e {
 protected:
  void SetUp() override {
    E2e::SetUp();
    std::filesystem::create_directories(dir_ / "profile" / "Dat");
  }
  Outcome Export(const std::string& script, bool lt = false) {
    return Run({"--drawing", Sample(), "--plugin", JOV_DIALOG_TEST_PLUGIN, "--run", "Jov_Vantrix_Export", "--script",
                Write("session.txt", script)},
               lt);
  }
  std::string Settings() const { return testsupport::Slurp(dir_ / "profile" / "Dat" / "Jov.ini"); }
  static std::string Id(int id) { return std::to_string(id); }
};

}  // namespace

TEST_F(DialogUtilities, TheBannerAndTheDialogRunFromAScriptAndRememberTheirValues) {
  const std::string first = "select 36\n"
                            "dialog " + Id(IDD_UTILITIES) + "\n"
                            "type " + Id(IDC_TYPE_DIGITS) + " 12a,3\n"
                            "key " + Id(IDC_TYPE_DIGITS) + " Enter\n"
                            "type " + Id(IDC_TYPE_UNSIGNED) + " 2,5\n"
                            "type " + Id(IDC_TYPE_FILE_NAME) + " C:\\vystup?.txt\n"
                            "set " + Id(IDC_TYPE_ANY) + " 0\n"
                            "ok\n";
  Outcome run = Export(first);
  EXPECT_EQ(run.exit, OffScriptExit(run)) << run.err;
  EXPECT_TRUE(run.Has("result: 1")) << run.out;
  EXPECT_TRUE(run.Has("message: caption=\"Dravik 2D\" type=64 text=\"banner title=Dravik 2D owner=host "
                      "text=Pick the pipes of the network to export in the drawing, then press Enter. "
                      "selection=5100\" answer=ok (unanswered)"))
      << run.out;
  EXPECT_TRUE(run.Has("message: caption=\"Dravik 2D\" type=64 text=\"dialog 1 restored=no owner=host enter=1\" "
                      "answer=ok (unanswered)"))
      << run.out;
  EXPECT_TRUE(run.Has("beep: type=4294967295")) << "the refused characters: " << run.out;
  EXPECT_EQ(run.out.find("script: line"), std::string::npos) << "every line used: " << run.out;

  const std::string settings = Settings();
  EXPECT_NE(settings.find("[UTIL_HIST_1]\r\nHIST0=123\r\n"), std::string::npos) << settings;
  EXPECT_NE(settings.find("[UTIL_HIST_2]\r\nHIST0=2.5\r\n"), std::string::npos) << settings;
  EXPECT_NE(settings.find("[UTIL_HIST_5]\r\nHIST0=Cvystup.txt\r\n"), std::string::npos) << settings;
  EXPECT_NE(settings.find("[UTIL_HIST_0]\r\nHIST0=0\r\n"), std::string::npos) << settings;
  EXPECT_NE(settings.find(";96;8;" + Id(IDC_RIGHT_PANE) + ";0\r\n"), std::string::npos) << "the layout: " << settings;

  // The LT edition, the same profile: the layout comes back, the histories
  // grow, and a stored 0 does not cut a history short.
  const std::string second = "select 36\n"
                             "dialog " + Id(IDD_UTILITIES) + "\n"
                             "type " + Id(IDC_TYPE_DIGITS) + " 0\n"
                             "type " + Id(IDC_TYPE_ANY) + " more\n"
                             "ok\n";
  Outcome again = Export(second, true);
  EXPECT_EQ(again.exit, OffScriptExit(again)) << again.err;
  EXPECT_TRUE(again.Has("message: caption=\"Dravik 2D LT\" type=64 text=\"dialog 1 restored=yes owner=host enter=0\" "
                        "answer=ok (unanswered)"))
      << again.out;
  const std::string after = Settings();
  EXPECT_NE(after.find("[UTIL_HIST_1]\r\nHIST0=0\r\nHIST1=123\r\n"), std::string::npos) << after;
  EXPECT_NE(after.find("[UTIL_HIST_0]\r\nHIST0=more\r\nHIST1=0\r\n"), std::string::npos) << after;
}

TEST_F(DialogUtilities, ACancelledDialogKeepsTheHistoriesButSavesItsLayout) {
  Outcome run = Export("cancel\ndialog " + Id(IDD_UTILITIES) + "\ntype " + Id(IDC_TYPE_DIGITS) + " 7\ncancel\n");
  EXPECT_EQ(run.exit, OffScriptExit(run)) << run.err;
  EXPECT_TRUE(run.Has("result: -1")) << run.out;
  EXPECT_NE(run.out.find("selection=-5002"), std::string::npos) << "the banner went with a cancelled pick: " << run.out;
  EXPECT_TRUE(run.Has("dialog " + Id(IDD_UTILITIES) + " \"History and layout\": closed result=2")) << run.out;
  const std::string settings = Settings();
  EXPECT_EQ(settings.find("HIST0"), std::string::npos) << settings;
  EXPECT_NE(settings.find("windowPosition="), std::string::npos) << settings;
}
