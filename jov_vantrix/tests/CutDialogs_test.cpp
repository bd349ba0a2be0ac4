// The section dialogs run modally from their templates through the headless
// driver, over settings files in a scratch profile: what they open with,
// how their switches enable each other, and what OK stores and saves.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/frame/DialogMessages.h"
#include "jov_vantrix/section/CJov_CutDlg.h"
#include "jov_vantrix/section/CJov_CutDlgNew.h"
#include "jov_vantrix/tests/PluginResourcesTest.h"
#include "platform/resources/jov_vantrix/resource_ids.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/driver/headless_driver.h"
#include "platform/win32/profile.h"

namespace {

// The distances a profile holds for OK to accept (DIST_PIPE and
// PIPE_FLOOR_DIST come with each test).
constexpr char kDistances[] = "HEIGHT=3.0\r\nDIST_RISER=0.5\r\nDIST_ELM=0.3\r\nHEIGHT_FLOOR=3.0\r\n";

class CutDialogs : public PluginResourcesTest {
 protected:
  void SetUp() override {
    PluginResourcesTest::SetUp();
    previousDriver_ = SetUiDriver(&driver);
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    profile_ = std::filesystem::temp_directory_path() /
               (std::string("jov_cut_dialogs_") + info->name() + "_" + std::to_string(::getpid()));
    std::filesystem::remove_all(profile_);
    std::filesystem::create_directories(profile_ / "Dat");
    std::memcpy(savedProfile_, TheApp().m_profileFolder, sizeof savedProfile_);
    std::snprintf(TheApp().m_profileFolder, MAX_PATH, "%s/", profile_.c_str());
  }
  void TearDown() override {
    std::memcpy(TheApp().m_profileFolder, savedProfile_, sizeof savedProfile_);
    SetUiDriver(previousDriver_);
    PluginResourcesTest::TearDown();
    std::filesystem::remove_all(profile_);
  }

  void WriteFile(const char* name, const std::string& text) {
    std::ofstream(profile_ / "Dat" / name, std::ios::binary) << text;
  }
  std::string Setting(const char* key) {
    char value[256] = "";
    GetPrivateProfileStringA("CUT_DLG", key, "(missing)", value, sizeof value,
                             (profile_ / "Dat" / "Jov.ini").c_str());
    return value;
  }

  static std::string Text(HWND dialog, int id) {
    char text[256] = "";
    ::GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
  }
  static bool Enabled(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE; }
  static bool Checked(HWND dialog, int id) { return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

  HeadlessDriver driver;
  std::filesystem::path profile_;

 private:
  UiDriver* previousDriver_ = nullptr;
  char savedProfile_[MAX_PATH] = {};
};

}  // namespace

// A picked pipe puts its distance and side in place of the saved ones and
// locks them; the saved values come back otherwise.
TEST_F(CutDialogs, BranchDialogOpensWithTheSavedValuesOrThePickedPipe) {
  WriteFile("Jov.ini",
            std::string("[CUT_DLG]\r\n") + kDistances + "PIPE_FLOOR_DIST=0.3\r\nDIST_PIPE=0.5\r\nPIPE_SWITCH=1\r\nDESC_RISER=1\r\nDESC_LASTRISER=1\r\nDRAW_FLOOR=0\r\n"
            "DESC_FLOOR=2NP\r\n[CUT_DLG_HIST]\r\nHIST0=1NP\r\nHIST1=3NP\r\n");
  WriteFile("Jov_set.dat", "[CUT_DLG_DIST_ELM]\r\n0=0.2\r\n1=0.3\r\n3=0.5\r\n[DESC_LAYERS]\r\n0=<current>\r\n");
  struct Case {
    const char* what;
    bool picked;
    const char* distance;
    bool swapped;
  } const cases[] = {
      {"the saved values", false, "0.5", true},
      {"a picked pipe", true, "0.1", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CJov_CutDlgNew dialog(nullptr);
    dialog.m_riserMarker = "4";
    dialog.m_pipePicked = c.picked;
    dialog.m_pickedPipeDistance = "0.1";
    dialog.m_pipeSide = false;
    driver.OnDialog(IDD_JOV_CUTDLG_NEW,
                    {DialogAction::Run([&](HWND d) {
                       EXPECT_EQ(Text(d, IDC_CUT_DIST_PIPE), c.distance);
                       EXPECT_EQ(Enabled(d, IDC_CUT_DIST_PIPE), !c.picked);
                       for (int radio : {IDC_CUT_PIPE_SWITCH_ON, IDC_CUT_PIPE_SWITCH_OFF})
                         EXPECT_EQ(Enabled(d, radio), !c.picked) << radio;
                       EXPECT_EQ(Checked(d, IDC_CUT_PIPE_SWITCH_ON), c.swapped);
                       EXPECT_EQ(Checked(d, IDC_CUT_PIPE_SWITCH_OFF), !c.swapped);
                       EXPECT_EQ(dialog.m_params.m_pipeSwitch, c.swapped);
                       // The risers' descriptions exclude the last riser's.
                       EXPECT_TRUE(Checked(d, IDC_CUT_DESC_RISER));
                       EXPECT_FALSE(Checked(d, IDC_CUT_DESC_LASTRISER));
                       EXPECT_FALSE(Enabled(d, IDC_CUT_DESC_LASTRISER));
                       // No floor: its description is off too.
                       EXPECT_FALSE(Enabled(d, IDC_CUT_DESC_FLOOR));
                       EXPECT_FALSE(Enabled(d, IDC_CUT_DESC_FLOOR_LABEL));
                       EXPECT_EQ(Text(d, IDC_CUT_DESC_FLOOR), "2NP");
                       EXPECT_EQ(::SendDlgItemMessageA(d, IDC_CUT_DESC_FLOOR, CB_GETCOUNT, 0, 0), 2) << "history";
                       EXPECT_EQ(::SendDlgItemMessageA(d, IDC_CUT_DIST_ELM, CB_GETCOUNT, 0, 0), 2)
                           << "presets up to the gap";
                       EXPECT_FALSE(Enabled(d, IDC_CUT_SAME_LENGTH));
                       EXPECT_EQ(Text(d, IDC_CUT_RISER_MARKER), "4");
                       EXPECT_EQ(::SendMessageA(d, kHostDialogQuery, 0, 0), 1);
                     }),
                     DialogAction::Ok()});
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_STREQ(dialog.m_layerPlaceholder, "<current>");
    // The distance shown is the one saved, a picked one too.
    EXPECT_EQ(Setting("DIST_PIPE"), c.distance);
    EXPECT_EQ(Setting("PIPE_SWITCH"), c.swapped ? "1" : "0");
  }
}

TEST_F(CutDialogs, BranchDialogSwitchesEnableTheirControls) {
  WriteFile("Jov.ini", std::string("[CUT_DLG]\r\n") + kDistances +
                           "DIST_PIPE=0.1\r\nPIPE_FLOOR_DIST=0.3\r\nSAME_LENGTH=0.5\r\nSAME_HEIGHT=0.6\r\n");
  CJov_CutDlgNew dialog(nullptr);
  std::vector<UiEvent> help;
  driver.OnDialog(
      IDD_JOV_CUTDLG_NEW,
      {DialogAction::Check(IDC_CUT_DRAW_FLOOR, true), DialogAction::Run([&](HWND d) {
         EXPECT_TRUE(Enabled(d, IDC_CUT_DESC_FLOOR));
         EXPECT_TRUE(Enabled(d, IDC_CUT_DESC_FLOOR_LABEL));
       }),
       DialogAction::Check(IDC_CUT_DESC_RISER, false), DialogAction::Check(IDC_CUT_DESC_LASTRISER, true),
       DialogAction::Run([&](HWND d) { EXPECT_FALSE(Enabled(d, IDC_CUT_DESC_RISER)); }),
       DialogAction::Check(IDC_CUT_ENABLE_SAME_LENGTH, true), DialogAction::Check(IDC_CUT_ENABLE_SAME_HEIGHT, true),
       DialogAction::Run([&](HWND d) {
         EXPECT_TRUE(Enabled(d, IDC_CUT_SAME_LENGTH));
         EXPECT_TRUE(dialog.m_params.m_pipeSwitch) << "swapped unless saved otherwise";
       }),
       DialogAction::Click(IDC_CUT_PIPE_SWITCH_OFF),
       DialogAction::Run([&](HWND) { EXPECT_FALSE(dialog.m_params.m_pipeSwitch); }),
       DialogAction::Click(IDC_CUT_PIPE_SWITCH_ON),
       DialogAction::Run([&](HWND) { EXPECT_TRUE(dialog.m_params.m_pipeSwitch); }),
       // Enter in a box selects its text and leaves the dialog open.
       DialogAction::Type(IDC_CUT_DIST_ELM, "0.4"), DialogAction::Key(IDC_CUT_DIST_ELM, "Enter"),
       DialogAction::Run([&](HWND d) {
         EXPECT_TRUE(::IsWindowVisible(d));
         const LRESULT selection = ::SendDlgItemMessageA(d, IDC_CUT_DIST_ELM, CB_GETEDITSEL, 0, 0);
         EXPECT_EQ(LOWORD(selection), 0);
         EXPECT_EQ(HIWORD(selection), 3);
       }),
       DialogAction::Click(IDC_CUT_HELP), DialogAction::Ok()});
  EXPECT_EQ(dialog.DoModal(), IDOK);
  for (const UiEvent& e : UiJournal())
    if (e.kind == UiEvent::Kind::Help) help.push_back(e);
  ASSERT_EQ(help.size(), 1u);
  EXPECT_NE(help[0].help.file.find("Help\\jov2d.chm::/zdroje\\vantrix-rez.htm"), std::string::npos)
      << help[0].help.file;
  EXPECT_EQ(Setting("DIST_ELM"), "0.4");
  EXPECT_EQ(Setting("DRAW_FLOOR"), "1");
  EXPECT_EQ(Setting("DESC_RISER"), "0");
  EXPECT_EQ(Setting("DESC_LASTRISER"), "1");
  EXPECT_EQ(Setting("ENABLE_SAME_HEIGHT"), "1");
  EXPECT_EQ(Setting("DESC_HEIGHT"), "1");
  EXPECT_EQ(Setting("PIPE_SWITCH"), "1");
}

// OK saves, stores the values, may shorten the connections to an equal
// element length, and recomputes the pipe start from the floor.
TEST_F(CutDialogs, BranchDialogOkStoresTheValues) {
  struct Case {
    const char* what;
    const char* sameLength;
    int answer;  // to the shortening question; 0: not asked
    int result;
    double offset1, offset2;
  } const cases[] = {
      {"Yes shortens both offsets", "0.12", IDYES, IDOK, 0.04 / 1.5, 0.1 / 1.5},
      {"No keeps them", "0.12", IDNO, IDOK, 0.04, 0.1},
      {"Cancel stays in the dialog", "0.12", IDCANCEL, IDCANCEL, 0.04, 0.1},
      {"long enough: no question", "0.14", 0, IDOK, 0.04, 0.1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFile("Jov.ini", std::string("[CUT_DLG]\r\n") + kDistances +
                             "DIST_PIPE=0.5\r\nPIPE_FLOOR_DIST=0.3\r\nENABLE_SAME_LENGTH=1\r\nSAME_LENGTH=" +
                             c.sameLength + "\r\n");
    CJov_CutDlgNew dialog(nullptr);
    if (c.answer) driver.AnswerMessageBox(c.answer);
    std::vector<DialogAction> actions{DialogAction::Ok()};
    if (c.answer == IDCANCEL)
      actions.push_back(DialogAction::Run([](HWND d) { EXPECT_TRUE(::IsWindowVisible(d)) << "still open"; }));
    driver.OnDialog(IDD_JOV_CUTDLG_NEW, actions);
    ClearUiJournal();
    EXPECT_EQ(dialog.DoModal(), c.result);
    int questions = 0;
    for (const UiEvent& e : UiJournal())
      if (e.kind == UiEvent::Kind::MessageBox) {
        ++questions;
        EXPECT_EQ(e.box.type, static_cast<UINT>(MB_YESNOCANCEL | MB_ICONINFORMATION));
      }
    EXPECT_EQ(questions, c.answer ? 1 : 0);
    const JovCutParams& block = dialog.m_params;
    EXPECT_NEAR(block.m_connectionOffset1, c.offset1, 1e-12);
    EXPECT_NEAR(block.m_connectionOffset2, c.offset2, 1e-12);
    EXPECT_EQ(Setting("SAME_LENGTH"), c.sameLength) << "saved before the question";
    if (c.result != IDOK) continue;
    EXPECT_NEAR(block.m_pipeBeginLength, 2.2, 1e-12);
    EXPECT_NEAR(block.m_bubbleDistance1, -2.0, 1e-12);
    EXPECT_DOUBLE_EQ(block.m_floorHeight, 3.0);
    EXPECT_TRUE(block.m_sameLengthOn);
    EXPECT_STREQ(block.m_text2, "CUT_BASE_LINE");
    EXPECT_STREQ(block.m_text3, "CUT_FLOOR");
    EXPECT_STREQ(block.m_text4, "CUT_BUBBLES");
  }
}

// The riser dialog on an empty selection: the next number offered, the
// pipes' controls following DRAW_PIPE, and the shortening question asked
// only while the pipes are drawn.
TEST_F(CutDialogs, RiserDialogRules) {
  struct Case {
    const char* what;
    bool drawPipe;
    int questions;
  } const cases[] = {
      {"pipes drawn: the question", true, 1},
      {"no pipes: no question", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFile("Jov.ini",
              std::string("[CUT_DLG]\r\nCUT_NUMBER=12\r\nENABLE_SAME_ITEM_LENGTH=1\r\nSAME_ITEM_LENGTH=0.12\r\n") +
                  kDistances + "DIST_PIPE=0.5\r\nPIPE_FLOOR_DIST=0.3\r\n");
    WriteFile("Jov_set.dat", "[CUT_DLG_NUMBER]\r\n0=1\r\n1=2\r\n[CUT_DLG_HEIGHT]\r\n0=2.6\r\n");
    CJov_CutDlg dialog(nullptr);
    driver.AnswerMessageBox(IDNO);
    ClearUiJournal();
    driver.OnDialog(IDD_JOV_CUTDLG,
                    {DialogAction::Run([&](HWND d) {
                       EXPECT_EQ(Text(d, IDC_CUT_NUMBER), "13");
                       EXPECT_EQ(::SendDlgItemMessageA(d, IDC_CUT_NUMBER, CB_GETCOUNT, 0, 0), 2);
                       EXPECT_EQ(::SendDlgItemMessageA(d, IDC_CUT_HEIGHT, CB_GETCOUNT, 0, 0), 1);
                       EXPECT_TRUE(Enabled(d, IDC_CUT_SAME_LENGTH));
                       EXPECT_TRUE(Checked(d, IDC_CUT_DRAW_PIPE)) << "drawn unless saved otherwise";
                       EXPECT_EQ(Text(d, IDC_CUT_RISER_MARKER), "") << "nothing read";
                       EXPECT_EQ(::SendMessageA(d, kHostDialogQuery, 0, 0), 1);
                     }),
                     DialogAction::Check(IDC_CUT_DRAW_PIPE, c.drawPipe), DialogAction::Run([&](HWND d) {
                       for (int id : {IDC_CUT_HEIGHT, IDC_CUT_DIST_PIPE, IDC_CUT_PIPE_FLOOR_DIST, IDC_CUT_DESC_RISER,
                                      IDC_CUT_PIPE_SWITCH_ON, IDC_CUT_PIPE_SWITCH_OFF, IDC_CUT_HEIGHT_LABEL,
                                      IDC_CUT_DIST_PIPE_LABEL, IDC_CUT_PIPE_FLOOR_LABEL, IDC_CUT_PIPE_SWITCH_GROUP})
                         EXPECT_EQ(Enabled(d, id), c.drawPipe) << id;
                       EXPECT_TRUE(Enabled(d, IDC_CUT_DIST_ELM));
                     }),
                     DialogAction::Ok()});
    EXPECT_EQ(dialog.DoModal(), IDOK);
    int questions = 0;
    for (const UiEvent& e : UiJournal()) questions += e.kind == UiEvent::Kind::MessageBox;
    EXPECT_EQ(questions, c.questions);
    EXPECT_EQ(Setting("CUT_NUMBER"), "12") << "kept once its section is drawn";
    EXPECT_EQ(Setting("DRAW_PIPE"), c.drawPipe ? "1" : "0");
    EXPECT_STREQ(dialog.m_params.m_cutNumber, "13");
    EXPECT_EQ(dialog.m_params.m_drawPipe, c.drawPipe ? 1 : 0);
    EXPECT_NEAR(dialog.m_params.m_connectionOffset1, 0.04, 1e-12) << "No keeps the offsets";
    EXPECT_NEAR(dialog.m_params.m_pipeBeginLength, 2.2, 1e-12);
    EXPECT_NEAR(dialog.m_params.m_bubbleDistance1, -2.0, 1e-12);
    EXPECT_STREQ(dialog.m_params.m_baseLineLayer, "CUT_BASE_LINE");
  }
}

// OK refuses a value that cannot be drawn with: a message naming its key,
// the dialog stays open, and nothing is saved.
TEST_F(CutDialogs, OkRefusesValuesOutOfRange) {
  const std::string good = std::string(kDistances) + "DIST_PIPE=0.1\r\nPIPE_FLOOR_DIST=0.3\r\n";
  struct Case {
    bool riser;
    std::string settings;  // of "CUT_DLG" (a key's first value counts); none: a fresh profile
    const char* key;       // named by the message
  } const cases[] = {
      {false, "", "DIST_RISER"},
      {true, "", "HEIGHT"},
      {false, "DIST_ELM=abc\r\n" + good, "DIST_ELM"},
      {true, "DIST_ELM=1e308\r\n" + good, "DIST_ELM"},
      {false, "DIST_ELM=" + std::string(255, '9') + "\r\n" + good, "DIST_ELM"},
      {false, "DIST_RISER=nan\r\n" + good, "DIST_RISER"},
      {true, "HEIGHT_FLOOR=0.1\r\n" + good, "HEIGHT_FLOOR"},
      {false, "HEIGHT_FLOOR=0.4\r\n" + good, "HEIGHT_FLOOR"},
      {true, "CUT_NUMBER=2147483647\r\nDIST_PIPE=-1\r\n" + good, "DIST_PIPE"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.riser ? "riser: " : "branch: ") + c.key);
    std::filesystem::remove(profile_ / "Dat" / "Jov.ini");
    if (!c.settings.empty()) WriteFile("Jov.ini", "[CUT_DLG]\r\n" + c.settings);
    driver.OnDialog(c.riser ? IDD_JOV_CUTDLG : IDD_JOV_CUTDLG_NEW,
                    {DialogAction::Ok(), DialogAction::Run([](HWND d) {
                       EXPECT_TRUE(::IsWindowVisible(d)) << "still open";
                     })});
    ClearUiJournal();
    INT_PTR result = 0;
    if (c.riser) {
      CJov_CutDlg dialog(nullptr);
      result = dialog.DoModal();
    } else {
      CJov_CutDlgNew dialog(nullptr);
      result = dialog.DoModal();
    }
    EXPECT_EQ(result, IDCANCEL);
    std::vector<std::string> messages;
    for (const UiEvent& e : UiJournal())
      if (e.kind == UiEvent::Kind::MessageBox) messages.push_back(e.box.text);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(c.key), std::string::npos) << messages[0];
    EXPECT_EQ(Setting("DESC_ELM"), "(missing)") << "nothing saved";
  }
  // The largest section number is offered as it is, not wrapped.
  WriteFile("Jov.ini", "[CUT_DLG]\r\nCUT_NUMBER=2147483647\r\n" + good);
  driver.OnDialog(IDD_JOV_CUTDLG, {DialogAction::Run([](HWND d) { EXPECT_EQ(Text(d, IDC_CUT_NUMBER), "2147483647"); }),
                                   DialogAction::Ok()});
  CJov_CutDlg dialog(nullptr);
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(Setting("CUT_NUMBER"), "2147483647");
}
