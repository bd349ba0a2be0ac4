// The wizard's controls through the real runner: a plug-in's dialog with an
// in-place editing list and a drag-reorder list, worked from a session
// script with the cell and drag words; --verbose shows every cell of both
// lists when the dialog closes.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/E2eFixture.h"
#include "wizard/frame/controls/tests/data/controls_dialog_ids.h"

namespace {

class WizardControls : public E2e {
 protected:
  Outcome Work(const std::string& script) {
    return Run({"--drawing", Sample(), "--plugin", JOV_CONTROLS_TEST_PLUGIN, "--run", "Jov_Vantrix_Export", "--verbose",
                "--script", Write("session.txt", "dialog " + std::to_string(IDD_CONTROLS) + "\n" + script)});
  }
  static std::string Id(int id) { return std::to_string(id); }
};

}  // namespace

TEST_F(WizardControls, CellsAreEditedAndChosenAndARowIsDraggedFromAScript) {
  const Outcome run = Work("edit-cell " + Id(IDC_PARAMS) + " 0 1 9000\n"   // refused by the owner
                           "edit-cell " + Id(IDC_PARAMS) + " 0 1 2,5e3\n"  // the editor's filter: 2.53, refused
                           "edit-cell " + Id(IDC_PARAMS) + " 0 1 2500\n"
                           "choose-cell " + Id(IDC_PARAMS) + " 1 1 1\n"
                           "choose-cell " + Id(IDC_PARAMS) + " 5 1 9\n"    // scrolled to in the choice list
                           "drag-row " + Id(IDC_ORDER) + " 0 2\n"
                           "drag-row " + Id(IDC_ORDER) + " 0 -1\n"         // let go below the rows: b stays first, selected
                           "ok\n");
  EXPECT_EQ(run.exit, OffScriptExit(run)) << run.err;
  EXPECT_TRUE(run.Has("result: 1")) << run.out;
  EXPECT_TRUE(run.Has("  " + Id(IDC_PARAMS) + " SysListView32 rows=6 selected=5 \"Length (L)|2500\" "
                      "\"Material (M)|copper\" \"Diameter (D)|20\" \"Volume (V)|5.2\" \"Height (H)|300\" \"Angle (A)|90\""))
      << run.out;
  EXPECT_TRUE(run.Has("  " + Id(IDC_ORDER) + " SysListView32 rows=4 selected=0 \"b|Length b|Length|2\" "
                      "\"c|Angle c|Angle|3\" \"a|Length a|Length|1\" \"d|Count d|Number|4\""))
      << run.out;
  EXPECT_TRUE(run.Has("message: caption=\"Dravik 2D\" type=64 text=\"controls 1 changes: L 1 typed 9000 refused | "
                      "L 1 typed 2.53 refused | L 1 typed 2500 | M 1 chose 1 copper | A 1 chose 9 90 "
                      "order: b,c,a,d\" answer=ok (unanswered)"))
      << run.out;
  EXPECT_EQ(run.out.find("failed"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("script: line"), std::string::npos) << "every line used: " << run.out;
}

TEST_F(WizardControls, CellWordsThatCannotBeCarriedOutAreScriptErrors) {
  const Outcome run = Work("edit-cell " + Id(IDC_PARAMS) + " 0 2 x\n"
                           "choose-cell " + Id(IDC_PARAMS) + " 9 1 0\n"
                           "choose-cell " + Id(IDC_PARAMS) + " 1 1 3\n"
                           "drag-row " + Id(IDC_NOTE) + " 0 1\n"
                           "drag-row " + Id(IDC_ORDER) + " 0 " + Id(IDC_PARAMS) + " 7\n"
                           "cancel\n");
  EXPECT_EQ(run.exit, 5) << "the script had errors: " << run.err;
  EXPECT_NE(run.err.find("line 4: dialog " + Id(IDD_CONTROLS) + " \"Parameters and order\": the choice list has no entry 3"),
            std::string::npos)
      << "reported on the word's line once the list is open: " << run.err;
  EXPECT_TRUE(run.Has("result: -1")) << run.out;
  for (const std::string& failure : {"edit-cell " + Id(IDC_PARAMS) + " 0 2 x: control " + Id(IDC_PARAMS) + " has no column 2",
                                     "choose-cell " + Id(IDC_PARAMS) + " 9 1 0: control " + Id(IDC_PARAMS) + " has no row 9",
                                     "choose-cell " + Id(IDC_PARAMS) + " 1 1 3: the choice list has no entry 3",
                                     "drag-row " + Id(IDC_NOTE) + " 0 1: control " + Id(IDC_NOTE) + " has no rows",
                                     "drag-row " + Id(IDC_ORDER) + " 0 " + Id(IDC_PARAMS) + " 7: control " +
                                         Id(IDC_PARAMS) + " has no row 7"})
    EXPECT_TRUE(run.Has("dialog " + Id(IDD_CONTROLS) + " \"Parameters and order\": failed: " + failure)) << failure << "\n"
                                                                                                       << run.out;
  EXPECT_NE(run.out.find("\"Material (M)|steel\""), std::string::npos) << "nothing chosen: " << run.out;
}
