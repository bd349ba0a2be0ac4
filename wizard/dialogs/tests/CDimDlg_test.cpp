// The dimension dialog run headless on a unit and dimension table.
#include "wizard/dialogs/CDimDlg.h"

#include <string>
#include <vector>

#include "platform/resources/wizard/resource_ids.h"
#include "platform/win32/headless_metrics.h"
#include "wizard/dialogs/tests/DialogsTest.h"

namespace dialogs_tests {
namespace {

class DimensionDialog : public DialogsTest {
 protected:
  void SetUp() override {
    DialogsTest::SetUp();
    const std::string table = host.ProfilePath("Dat\\JOV_LIN.DAT");
    const std::pair<const char*, const char*> heating[] = {
        {"MJ0", "DN"},          {"MJ2", "m"},       {"DIM0", "15;0.015;"}, {"DIM1", "20"},
        {"DIM2", "25;"},        {"DIM3", "32;0.032"}, {"DIM5", ";0.05;"},  {"DIM59", "80;0.08;"},
        {"DIM60", "90;0.09;"},
    };
    for (const auto& [key, value] : heating) Write(table, "MODULE_T", key, value);
    Write(table, "MODULE_E", "MJ0", "mm2");
    Write(table, "MODULE_E", "DIM0", "1.5;");
    Write(table, "MODULE_E", "DIM1", "2.5;4;");
  }
  std::string Settings() const { return Section(host.ProfilePath("Dat\\JOV.INI"), "DIM_DLG"); }
  void Set(const char* key, const char* value) { Write(host.ProfilePath("Dat\\JOV.INI"), "DIM_DLG", key, value); }
  static std::string Shown(const CDimDlg& d) {
    auto items = [](const CComboBox& c) {
      std::string out;
      for (int row = 0; row < c.GetCount(); ++row) {
        CString text;
        c.GetLBText(row, text);
        out += (row ? "," : "") + std::string(row == c.GetCurSel() ? "[" : "") + text.GetString() +
               (row == c.GetCurSel() ? "]" : "");
      }
      return out;
    };
    CString text;
    d.dimensionCombo.GetWindowText(text);
    return "units " + items(d.unitCombo) + (d.unitCombo.IsWindowEnabled() ? "" : " (off)") + " | dims " +
           items(d.dimensionCombo) + " text=" + text.GetString();
  }
  INT_PTR Run(CDimDlg& dialog, std::vector<DialogAction> actions) {
    driver.OnDialog(IDD_DIM, std::move(actions));
    return dialog.DoModal();
  }
};

TEST_F(DimensionDialog, EachUnitShowsItsColumnAndOkKeepsTheChoiceForTheNextProduct) {
  Set("LAST_UNIT", "1");
  Set("LAST_DIM", "0.040");
  CDimDlg dialog('T', nullptr);
  std::vector<std::string> seen;
  auto look = [&] { return DialogAction::Run([&](HWND) { seen.push_back(Shown(dialog)); }); };
  EXPECT_EQ(Run(dialog, {look(), DialogAction::Choose(IDC_DIM_UNIT, 0), look(), DialogAction::Check(IDC_DIM_HIDE, true),
                         DialogAction::Click(IDC_HELP_BUTTON), DialogAction::Ok()}),
            IDOK);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], "units DN,[m] | dims 0.015,20,0.05,0.08 text=0.040")
      << "the row index of the unit, a text for every unit, no text for short lines";
  EXPECT_EQ(seen[1], "units [DN],m | dims [15],20,25,32,80 text=15");
  EXPECT_EQ(Settings(), "LAST_UNIT=0|LAST_DIM=15|SHOW_DIM_DLG=0");
  EXPECT_EQ(host.dimTexts, std::vector<std::string>{"15"});
  const std::vector<UiEvent> help = Events(UiEvent::Kind::Help);
  ASSERT_EQ(help.size(), 1u);
  EXPECT_EQ(help[0].help.file, "C:\\Wizard\\HELP\\JOV2D.CHM::/zdroje\\makroeditor-vkladani.htm");
}

TEST_F(DimensionDialog, AnEmptyTextIsStoredButNotHandedOnAndCancelKeepsEverything) {
  CDimDlg cancelled('T', nullptr);
  EXPECT_EQ(Run(cancelled, {DialogAction::Set(IDC_DIM_TEXT, "99"), DialogAction::Cancel()}), IDCANCEL);
  EXPECT_EQ(Settings(), "");

  CDimDlg dialog('T', nullptr);
  EXPECT_EQ(Run(dialog, {DialogAction::Set(IDC_DIM_TEXT, ""), DialogAction::Ok()}), IDOK);
  EXPECT_EQ(Settings(), "LAST_UNIT=0|SHOW_DIM_DLG=1|LAST_DIM=");
  EXPECT_TRUE(host.dimTexts.empty());
}

TEST_F(DimensionDialog, OnceHiddenTheDialogEndsAtOnceWithOk) {
  Set("SHOW_DIM_DLG", "0");
  CDimDlg dialog('T', nullptr);
  EXPECT_EQ(Run(dialog, {DialogAction::Set(IDC_DIM_TEXT, "20"), DialogAction::Ok()}), IDOK);
  EXPECT_EQ(driver.PendingDialogs(), 1u) << "no action was taken";
  EXPECT_EQ(Settings(), "SHOW_DIM_DLG=0");
  EXPECT_TRUE(host.dimTexts.empty());
}

TEST_F(DimensionDialog, TheElectricalKindHasNoUnitChoiceAndTheDialogIsCentredOnTheScreen) {
  CDimDlg dialog('E', nullptr);
  std::string shown;
  CRect placed;
  EXPECT_EQ(Run(dialog, {DialogAction::Run([&](HWND) {
                           shown = Shown(dialog);
                           dialog.GetWindowRect(&placed);
                         }),
                         DialogAction::Ok()}),
            IDOK);
  EXPECT_EQ(shown, "units  (off) | dims 1.5,2.5 text=");
  const HeadlessMetrics metrics;
  EXPECT_LE(std::abs((placed.left + placed.right) / 2 - metrics.screenWidth / 2), 1);
  EXPECT_LE(std::abs((placed.top + placed.bottom) / 2 - metrics.screenHeight / 2), 1);
}

}  // namespace
}  // namespace dialogs_tests
