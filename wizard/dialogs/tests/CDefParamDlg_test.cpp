// The product definition editor driven as a user would, over a product
// drawn in two views: the base point, formulas and values committed in the
// formula list, relative line ends, views kept across switches, parameters
// added, edited, reordered and deleted, OK writing what it must (checked
// in the catalogue file), help, the preview's messages, and the layout
// kept in the registry.
#include "wizard/dialogs/CDefParamDlg.h"

#include <sqlite3.h>

#include <filesystem>
#include <fstream>

#include "objectgl/GLCamera.h"
#include "objectgl/GLScene.h"
#include "platform/mfc/CMenu.h"
#include "platform/resources/wizard/resource_ids.h"
#include "platform/win32/headless_input.h"
#include "platform/win32/menus.h"
#include "wizard/dialogs/DefinitionCommit.h"
#include "wizard/dialogs/DialogHost.h"
#include "wizard/dialogs/tests/DialogTest.h"
#include "wizard/dialogs/tests/TestCatalogue.h"
#include "wizard/frame/engine/CObjectData.h"
#include "wizard/frame/engine/CValueParam.h"
#include "wizard/frame/engine/ParamStatus.h"
#include "wizard/frame/engine/RecordLookups.h"

using namespace dialog_tests;

namespace {

// The application's folders, but the library's own folder a scratch one, so
// that a test decides which help files there are.
class HelpFolderHost : public DialogHost {
 public:
  HelpFolderHost(DialogHost& app, std::string base) : app_(app), base_(std::move(base)) {}
  std::string ProfilePath(const char* relative) const override { return app_.ProfilePath(relative); }
  std::string BasePath(const char* relative) const override { return base_ + "\\" + relative; }
  HICON Icon() const override { return app_.Icon(); }
  void SetDimText(const char* text) override { app_.SetDimText(text); }

 private:
  DialogHost& app_;
  std::string base_;
};

class DefinitionEditor : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    db = Catalogue(DefinitionCatalogue(), 'T', "TXD0001-0001");
    helpHost_ = std::make_unique<HelpFolderHost>(TheDialogHost(), folder.Path());
    previousHost_ = SetDialogHost(helpHost_.get());
  }
  void TearDown() override {
    EXPECT_EQ(FailedActions(), std::vector<std::string>{}) << "every step was carried out";
    SetDialogHost(previousHost_);
    DialogTest::TearDown();
  }
  INT_PTR Run(std::vector<DialogAction> actions, unsigned view = 1, bool viewOnly = false) {
    driver.OnDialog(IDD_DEF_PARAM, std::move(actions));
    CDefParamDlg dialog(view, viewOnly, nullptr);
    current = &dialog;
    const INT_PTR result = dialog.DoModal();
    current = nullptr;
    return result;
  }
  DialogAction Check(std::function<void(CDefParamDlg&)> check) {
    return DialogAction::Run([this, check](HWND) { check(*current); });
  }
  static std::vector<std::string> Rows(const CListCtrl& list, int column = 0) {
    std::vector<std::string> rows;
    for (int row = 0; row < list.GetItemCount(); ++row) rows.emplace_back(list.GetItemText(row, column));
    return rows;
  }
  static bool Enabled(CDefParamDlg& d, int id) { return ::IsWindowEnabled(::GetDlgItem(d.m_hWnd, id)) != FALSE; }
  static std::string Status(CDefParamDlg& d) {
    char text[256] = "";
    ::GetDlgItemTextA(d.m_hWnd, IDC_DEF_STATUS, text, sizeof text);
    return text;
  }
  static std::string Formula(CDefParamDlg& d, int view, uint32_t number, int axis) {
    const CObjectData* point = FindObjectByNumber(d.points[view], number);
    const char* text = point ? point->GetText(axis) : nullptr;
    return text ? text : "(none)";
  }
  // Selects a row of the point list as a click would.
  static DialogAction Point(int row) { return DialogAction::Choose(IDC_DEF_POINTS, row); }
  // A column of the product's row in the catalogue file, as another
  // program reads it.
  std::string Stored(const char* column) const {
    sqlite3* file = nullptr;
    std::string text;
    if (sqlite3_open_v2((folder.Path() + "/T.db").c_str(), &file, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
      sqlite3_stmt* row = nullptr;
      const std::string sql = std::string("SELECT ") + column + " FROM items WHERE index_id = 'TXD0001-0001'";
      if (sqlite3_prepare_v2(file, sql.c_str(), -1, &row, nullptr) == SQLITE_OK && sqlite3_step(row) == SQLITE_ROW)
        text = reinterpret_cast<const char*>(sqlite3_column_text(row, 0));
      sqlite3_finalize(row);
    }
    sqlite3_close(file);
    return text;
  }
  void Sql(const char* sql) {
    sqlite3* file = nullptr;
    ASSERT_EQ(sqlite3_open((folder.Path() + "/T.db").c_str(), &file), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(file, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(file);
    sqlite3_close(file);
  }

  jovDatabase::Database* db = nullptr;
  CDefParamDlg* current = nullptr;

 private:
  std::unique_ptr<HelpFolderHost> helpHost_;
  DialogHost* previousHost_ = nullptr;
};

constexpr const char* kStoredB = "1\r\n0.00|0.00|0.00\r\n500.00|0.00|0.00\r\n600.00|0.00|0.00\r\nL|0.00|0.00\r\n";

}  // namespace

TEST(DefinitionTexts, AFormulaOrAValueThatWouldSplitItsStoredTextIsRefused) {
  struct Case {
    int row;
    const char* text;
    bool allowed;
  };
  const Case cases[] = {
      {0, "L/2+100.00", true}, {1, "sin(30R)*L;", true}, {2, "a=b", true},  // ';' and '=' end no formula field
      {0, "L|2", false},       {1, "L\r", false},         {2, "\nL", false},
      {3, "L*2", true},        {4, "a;b", false},         {3, "a=b", false}, {5, "x|y", false}, {3, "L\n", false},
  };
  for (const Case& c : cases) EXPECT_EQ(DefinitionTextAllowed(c.row, c.text), c.allowed) << c.row << " " << c.text;
}

TEST_F(DefinitionEditor, AViewWithoutABasePointIsNotWrittenAndItsOkIsOff) {
  const std::string storedA = Stored("par_a");
  const INT_PTR result =
      Run({Check([&](CDefParamDlg& d) {
             EXPECT_FALSE(Enabled(d, IDOK)) << "view A has no base point";
             EXPECT_EQ(Rows(d.pointList), (std::vector<std::string>{"1", "2"}));
             EXPECT_FALSE(Enabled(d, IDC_DEF_VIEW_C)) << "no drawing of view C";
           }),
           DialogAction::Click(IDC_DEF_VIEW_B), Check([&](CDefParamDlg& d) {
             EXPECT_TRUE(Enabled(d, IDOK));
             EXPECT_EQ(Rows(d.pointList), (std::vector<std::string>{"1 F", "2", "4"})) << "line ends listed in mode 1 only";
           }),
           Point(1), DialogAction::EditCell(IDC_DEF_FORMULAS, 1, 1, "H/2"), DialogAction::Click(IDC_DEF_VIEW_A),
           Check([&](CDefParamDlg& d) { EXPECT_FALSE(Enabled(d, IDOK)); }), DialogAction::Click(IDC_DEF_VIEW_B),
           DialogAction::Ok()},
          0);
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(Stored("par_a"), storedA) << "view A untouched";
  EXPECT_EQ(Stored("par_b"),
            "1\r\n0.00|0.00|0.00\r\n500.00|H/2|0.00\r\n500.00+100.00|H/2+0.00|0.00+0.00\r\nL|0.00|0.00\r\n")
      << "the line's end follows its start";
  EXPECT_EQ(Stored("params"), "L|Length|1|1000|1000|\r\nH|Height|3|600|600|\r\nP|Power|4|L*2||\r\n"
                              "Q|Report|5|L+H||\r\nN|Note|6|x||\r\n");
}

TEST_F(DefinitionEditor, CommittedFormulasShowTheirValueOrAnErrorAndRefusedTextsGoBack) {
  struct Case {
    int row;
    const char* typed;
    const char* status;
    const char* kept;  // the row's text afterwards
  };
  const Case cases[] = {
      {0, "L/2", "Result: 500.00", "L/2"},
      {0, "(L+H)*2", "Result: 3200.00", "(L+H)*2"},
      {1, "L/0", "This cannot be evaluated: check the formula or the value.", "L/0"},
      {2, "W+1", "This cannot be evaluated: check the formula or the value.", "W+1"},
      {0, "L|2", "This cannot be evaluated: check the formula or the value.", "(L+H)*2"},
      // The parameters' values: P (computed) and Q (reported).
      {3, "L*3", "Result: 3000.00", "L*3"},
      {4, "a=b", "This cannot be evaluated: check the formula or the value.", ""},
  };
  std::vector<DialogAction> actions = {Point(1), Check([&](CDefParamDlg& d) {
                                         EXPECT_EQ(Rows(d.formulaList), (std::vector<std::string>{
                                                                            "X", "Y", "Z", "Power (P)", "Report (Q)"}))
                                             << "the computed parameters join the formulas";
                                       })};
  for (const Case& c : cases) {
    actions.push_back(DialogAction::EditCell(IDC_DEF_FORMULAS, c.row, 1, c.typed));
    actions.push_back(Check([c](CDefParamDlg& d) {
      EXPECT_EQ(Status(d), c.status) << c.typed;
      EXPECT_EQ(std::string(d.formulaList.GetItemText(c.row, 1)), c.kept) << c.typed;
    }));
  }
  actions.push_back(Check([&](CDefParamDlg& d) {
    EXPECT_EQ(Formula(d, 1, 2, 0), "(L+H)*2");
    EXPECT_EQ(Formula(d, 1, 2, 1), "L/0") << "an error keeps the text as typed";
    EXPECT_EQ(std::string(FindParamByName(d.params, "P")->GetText(ParamText::kValue)), "L*3");
    EXPECT_STREQ(FindParamByName(d.params, "Q")->GetText(ParamText::kValue), "") << "its old, empty value";
  }));
  actions.push_back(DialogAction::Cancel());
  EXPECT_EQ(Run(actions), IDCANCEL);
  EXPECT_EQ(Stored("par_b"), kStoredB) << "cancelled: nothing written";
}

TEST_F(DefinitionEditor, LineEndsFollowTheirStartOnlyWhileTheyAreNotListed) {
  Run({Point(1), DialogAction::EditCell(IDC_DEF_FORMULAS, 0, 1, "L/2"), Check([&](CDefParamDlg& d) {
         EXPECT_EQ(Formula(d, 1, 3, 0), "L/2+100.00");
         EXPECT_EQ(Formula(d, 1, 3, 1), "0.00+0.00");
       }),
       DialogAction::EditCell(IDC_DEF_FORMULAS, 2, 1, "5"), Check([&](CDefParamDlg& d) {
         EXPECT_EQ(Formula(d, 1, 3, 2), "0.00+0.00") << "a z formula makes nothing relative";
       }),
       DialogAction::Check(IDC_DEF_LINE_ENDS, true), Check([&](CDefParamDlg& d) {
         EXPECT_EQ(Rows(d.pointList), (std::vector<std::string>{"1 F", "2", "3", "4"}));
         EXPECT_EQ(d.pointList.GetNextItem(-1, LVNI_SELECTED), 0) << "row 0 selected";
       }),
       Point(1), DialogAction::EditCell(IDC_DEF_FORMULAS, 0, 1, "L/4"),
       Check([&](CDefParamDlg& d) { EXPECT_EQ(Formula(d, 1, 3, 0), "L/2+100.00") << "listed: left alone"; }),
       DialogAction::Cancel()});
}

TEST_F(DefinitionEditor, TheBasePointIsMarkedOnceAndTheFormulasStartFromIt) {
  driver.AnswerMessageBox(IDNO);
  driver.AnswerMessageBox(IDYES);
  driver.AnswerMessageBox(IDYES);
  Run({Point(1), DialogAction::Click(IDC_DEF_BASE_POINT),
       Check([&](CDefParamDlg& d) { EXPECT_EQ(d.basePoint[1], 1) << "no: nothing changes"; }),
       DialogAction::Click(IDC_DEF_BASE_POINT), Check([&](CDefParamDlg& d) {
         EXPECT_EQ(Rows(d.pointList), (std::vector<std::string>{"1", "2 F", "4"}));
         EXPECT_EQ(d.basePoint[1], 2);
         EXPECT_FALSE(Enabled(d, IDC_DEF_BASE_POINT));
         EXPECT_FALSE(Enabled(d, IDC_DEF_FORMULAS)) << "the base point's formulas stay";
       }),
       Point(2), DialogAction::Click(IDC_DEF_BASE_POINT), Check([&](CDefParamDlg& d) {
         EXPECT_EQ(Rows(d.pointList), (std::vector<std::string>{"1", "2", "4 F"}));
         EXPECT_EQ(Formula(d, 1, 1, 0), "-1000.00");
         EXPECT_EQ(Formula(d, 1, 2, 0), "-500.00");
         EXPECT_EQ(Formula(d, 1, 4, 0), "0.00");
         EXPECT_TRUE(Enabled(d, IDOK));
       }),
       DialogAction::Ok()});
  EXPECT_EQ(Stored("par_b"), "4\r\n-1000.00|0.00|0.00\r\n-500.00|0.00|0.00\r\n-400.00|0.00|0.00\r\n0.00|0.00|0.00\r\n");
  const std::vector<UiEvent> boxes = Events(UiEvent::Kind::MessageBox);
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].box.type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
}

TEST_F(DefinitionEditor, ParametersAreAddedEditedReorderedAndDeleted) {
  driver.OnDialog(IDD_PARAM, {DialogAction::Type(IDC_PARAM_NAME, "W"), DialogAction::Choose(IDC_PARAM_LABEL, "Length"),
                              DialogAction::Choose(IDC_PARAM_TYPE, "Computed"),
                              DialogAction::Set(IDC_PARAM_DEFAULT, "L+1"), DialogAction::Ok()});
  // P loses its computed type; Q, next to it, was no longer computed either.
  driver.OnDialog(IDD_PARAM, {DialogAction::Choose(IDC_PARAM_TYPE, "Plain"), DialogAction::Set(IDC_PARAM_DEFAULT, "5"),
                              DialogAction::Ok()});
  const INT_PTR result = Run(
      {Check([&](CDefParamDlg& d) {
         EXPECT_EQ(Rows(d.paramList), (std::vector<std::string>{"L", "H", "P", "Q", "N"}));
         EXPECT_FALSE(Enabled(d, IDC_DEF_DELETE));
       }),
       DialogAction::Click(IDC_DEF_ADD), Check([&](CDefParamDlg& d) {
         EXPECT_EQ(Rows(d.paramList).back(), "W");
         EXPECT_EQ(Rows(d.formulaList).back(), "Length (W)") << "computed: a row of its own";
         FindParamByName(d.params, "Q")->status &= ~ParamStatus::kComputed;
       }),
       DialogAction::Choose(IDC_DEF_PARAMS, 2), DialogAction::Click(IDC_DEF_EDIT), Check([&](CDefParamDlg& d) {
         EXPECT_EQ(Rows(d.formulaList), (std::vector<std::string>{"X", "Y", "Z", "Length (W)"}))
             << "P and Q, one after the other, both gone";
         EXPECT_EQ(Rows(d.paramList, 2)[2], "Plain");
       }),
       DialogAction::DragRow(IDC_DEF_PARAMS, 0, 0, 2), Check([&](CDefParamDlg& d) {
         EXPECT_EQ(Rows(d.paramList), (std::vector<std::string>{"H", "P", "L", "Q", "N", "W"}));
       }),
       DialogAction::Choose(IDC_DEF_PARAMS, 5), DialogAction::Click(IDC_DEF_DELETE), Check([&](CDefParamDlg& d) {
         EXPECT_EQ(Rows(d.paramList), (std::vector<std::string>{"H", "P", "L", "Q", "N"}));
         EXPECT_EQ(d.paramList.GetNextItem(-1, LVNI_SELECTED | LVNI_FOCUSED), 4) << "the new last row";
         EXPECT_EQ(Rows(d.formulaList).size(), 3u);
         EXPECT_EQ(d.params.GetCount(), 5u);
       }),
       DialogAction::Ok()});
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(Stored("params"), "H|Height|3|600|600|\r\nP|Power|7|5||\r\nL|Length|1|1000|1000|\r\n"
                              "Q|Report|5|L+H||\r\nN|Note|6|x||\r\n");
}

TEST_F(DefinitionEditor, AFailedWriteKeepsTheDialogOpenAndViewOnlyWritesNothing) {
  Sql("CREATE TRIGGER refuse BEFORE UPDATE OF params ON items BEGIN SELECT RAISE(ABORT, 'refused'); END;");
  const INT_PTR result = Run({DialogAction::Ok(), DialogAction::Run([&](HWND d) {
                                EXPECT_TRUE(::IsWindowVisible(d)) << "still open";
                                ASSERT_EQ(MessageTexts().size(), 1u);
                                EXPECT_NE(MessageTexts()[0].find("written to it"), std::string::npos);
                              }),
                              DialogAction::Cancel()});
  EXPECT_EQ(result, IDCANCEL);

  Sql("DROP TRIGGER refuse;");
  const std::string params = Stored("params");
  EXPECT_EQ(Run({Point(1), DialogAction::EditCell(IDC_DEF_FORMULAS, 0, 1, "L/2"), DialogAction::Ok()}, 1, true),
            IDOK);
  EXPECT_EQ(Stored("par_b"), kStoredB) << "view only";
  EXPECT_EQ(Stored("params"), params);
}

TEST_F(DefinitionEditor, ThePreviewShowsTheViewItsPointsAndTheKindItsMenuChooses) {
  driver.ChooseMenu(ID_PRODUCT_PREVIEW_POINTS);
  driver.ChooseMenu(ID_PRODUCT_PREVIEW_EXTENTS);
  Run({Check([&](CDefParamDlg& d) {
         EXPECT_EQ(d.preview.GetKind(), 2u);
         EXPECT_EQ(d.preview.Points().GetCount(), 0u) << "kind 2 draws the definition line as it is";
       }),
       DialogAction::PreviewPick(IDC_DEF_PREVIEW, 4), Check([&](CDefParamDlg& d) {
         EXPECT_EQ(d.pointList.GetNextItem(-1, LVNI_SELECTED), 2) << "a click on point 4's marker selects its row";
         EXPECT_EQ(Rows(d.formulaList, 1)[0], "L");
       }),
       DialogAction::Click(IDC_DEF_ZOOM_IN), Check([&](CDefParamDlg& d) {
         GLCamera& camera = *d.preview.GetScene()->GetCurrentCamera();
         EXPECT_EQ(camera.GetTarget(), GLVector(1000, 0, 0)) << "around point 4";
         const double width = camera.GetViewWidth();
         d.SendMessage(WM_COMMAND, IDC_DEF_ZOOM_OUT);
         EXPECT_DOUBLE_EQ(camera.GetViewWidth(), 2 * width);
       }),
       DialogAction::RightClick(IDC_DEF_PREVIEW, {20, 20}), Check([&](CDefParamDlg& d) {
         EXPECT_EQ(d.preview.GetKind(), 1u);
         EXPECT_EQ(d.preview.Points().GetCount(), 1u) << "kind 1: the definition line is a connection point";
       }),
       DialogAction::RightClick(IDC_DEF_PREVIEW, {20, 20}),
       Check([&](CDefParamDlg& d) { EXPECT_EQ(d.preview.GetMode(), GLPreviewControl::kSelect); }),
       DialogAction::Cancel()});
  const std::vector<UiEvent> menus = Events(UiEvent::Kind::Menu);
  ASSERT_EQ(menus.size(), 2u);
  EXPECT_EQ(menus[0].menu.commands.size(), 4u);
}

TEST_F(DefinitionEditor, PicksTheContextMenuZoomsAndTipsReachTheDialog) {
  Run({Check([&](CDefParamDlg& d) {
         MSG pick{};
         pick.message = 0x8064;
         pick.lParam = 4;
         EXPECT_TRUE(d.PreTranslateMessage(&pick));
         EXPECT_EQ(d.pointList.GetNextItem(-1, LVNI_SELECTED), 2) << "point 4's row";
         EXPECT_EQ(::GetFocus(), d.pointList.m_hWnd);
         pick.lParam = 3;  // a line end, not listed
         d.PreTranslateMessage(&pick);
         EXPECT_EQ(d.pointList.GetNextItem(-1, LVNI_SELECTED), 2);

         CMenu menu;
         ASSERT_TRUE(menu.CreatePopupMenu());
         for (UINT command = 32772; command <= 32775; ++command) menu.AppendMenu(MF_STRING, command, "x");
         MSG opening{};
         opening.message = 0x8065;
         opening.lParam = reinterpret_cast<LPARAM>(&menu);
         d.PreTranslateMessage(&opening);
         EXPECT_EQ(menu.GetMenuState(32774, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED)) << "kind 2";
         EXPECT_EQ(menu.GetMenuState(32772, MF_BYCOMMAND) & MF_CHECKED, 0u);
         d.SendMessage(WM_COMMAND, 32772);
         EXPECT_EQ(d.preview.GetKind(), 0u);
         d.PreTranslateMessage(&opening);
         EXPECT_EQ(menu.GetMenuState(32772, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
         EXPECT_EQ(menu.GetMenuState(32774, MF_BYCOMMAND) & MF_CHECKED, 0u);
         menu.DestroyMenu();

         CString tip;
         d.tips.GetText(tip, &d.zoomInButton);
         EXPECT_EQ(tip, "Zoom in at the selected point");
         d.tips.GetText(tip, &d.zoomExtentsButton);
         EXPECT_EQ(tip, "Show the whole product");
         EXPECT_NE(d.zoomOutButton.GetIcon(), nullptr) << "the buttons carry their icons";
         EXPECT_TRUE(Enabled(d, IDC_DEF_ZOOM_IN)) << "a point is selected";
       }),
       DialogAction::Cancel()});
}

TEST_F(DefinitionEditor, HelpTopicsFromTheOlderHelpFileAndTheNewer) {
  const std::pair<int, std::string> cases[] = {
      {IDC_DEF_ADD, "context 282"}, {IDC_DEF_PARAMS, "context 278"}, {IDC_DEF_VIEW_B, "context 275"},
      {IDOK, "context 270"}};
  for (bool chm : {false, true}) {
    SCOPED_TRACE(chm ? "KX.CHM" : "KX.HLP only");
    if (chm) {
      std::filesystem::create_directories(folder.Path() + "/HELP");
      std::ofstream(folder.Path() + "/HELP/KX.CHM") << "help";
    }
    ClearUiJournal();
    std::vector<DialogAction> actions;
    for (const auto& [control, topic] : cases) actions.push_back(DialogAction::Key(control, "F1"));
    actions.push_back(DialogAction::Cancel());
    Run(actions);
    const std::vector<UiEvent> help = Events(UiEvent::Kind::Help);
    ASSERT_EQ(help.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
      SCOPED_TRACE(cases[i].first);
      EXPECT_EQ(help[i].help.winHelp, !chm);
      if (!chm) {
        EXPECT_EQ(help[i].help.topic, cases[i].second);
        EXPECT_EQ(help[i].help.command, cases[i].first == IDC_DEF_ADD ? HELP_CONTEXT : HELP_CONTEXTPOPUP);
      } else if (cases[i].first == IDOK) {
        EXPECT_EQ(help[i].help.command, HH_DISPLAY_TOPIC) << "no topic of its own: the file's start";
      } else {
        EXPECT_EQ(help[i].help.command, HH_DISPLAY_TEXT_POPUP);
        EXPECT_EQ(help[i].help.topic, "string " + cases[i].second.substr(8));
      }
    }
  }
}

TEST_F(DefinitionEditor, TheLayoutComesBackAsLeftAndNotBelowItsFirstSize) {
  CRect first, grown, list, preview, ok;
  auto rectOf = [](HWND window) {
    CRect r;
    ::GetWindowRect(window, &r);
    return r;
  };
  Run({Check([&](CDefParamDlg& d) {
         first = rectOf(d.m_hWnd);
         list = rectOf(d.paramList.m_hWnd);
         preview = rectOf(::GetDlgItem(d.m_hWnd, IDC_DEF_PREVIEW));
         ok = rectOf(::GetDlgItem(d.m_hWnd, IDOK));
         headless::SizeWindowAsUser(d.m_hWnd, first.Width() - 50, 10);
         EXPECT_EQ(rectOf(d.m_hWnd).Size(), first.Size()) << "never below the first size";
         headless::SizeWindowAsUser(d.m_hWnd, first.Width() + 120, first.Height() + 80);
         grown = rectOf(d.m_hWnd);
         EXPECT_EQ(grown.Size(), CSize(first.Width() + 120, first.Height() + 80));
         const CRect movedList = rectOf(d.paramList.m_hWnd), grownPreview = rectOf(::GetDlgItem(d.m_hWnd, IDC_DEF_PREVIEW));
         EXPECT_EQ(movedList.Width(), list.Width() + 120) << "the parameters widen";
         EXPECT_EQ(movedList.top, list.top + 80) << "and move down";
         EXPECT_EQ(grownPreview.Size(), CSize(preview.Width() + 120, preview.Height() + 80));
         EXPECT_EQ(rectOf(::GetDlgItem(d.m_hWnd, IDOK)), CRect(ok.left + 120, ok.top + 80, ok.right + 120, ok.bottom + 80));
       }),
       DialogAction::Cancel()});
  Run({Check([&](CDefParamDlg& d) { EXPECT_EQ(rectOf(d.m_hWnd), grown) << "as it was left"; }),
       DialogAction::Cancel()});
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\QUENLOR\\DRAVIK LT\\DefParamDlg", 0, KEY_READ, &key),
            ERROR_SUCCESS)
      << "the machine's key is made";
  RegCloseKey(key);
}

TEST_F(DefinitionEditor, TryShowsTheProductAsEditedAndLeavesNoChains) {
  driver.OnDialog(IDD_PP, {DialogAction::Run([&](HWND d) {
                             EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(d, IDOK))) << "the editor's test";
                             double end[3] = {};
                             GetEntityPoint(TheWizardApp().ResultChain1(), end, 11);
                             EXPECT_EQ(end[0], 1100) << "the formula as edited, not yet written";
                           }),
                           DialogAction::Cancel()});
  Run({Point(2), DialogAction::EditCell(IDC_DEF_FORMULAS, 0, 1, "L+100"), DialogAction::Click(IDC_DEF_TRY),
       Check([&](CDefParamDlg& d) {
         EXPECT_EQ(TheWizardApp().ResultChain1(), nullptr);
         EXPECT_EQ(TheWizardApp().ResultChain2(), nullptr);
         EXPECT_EQ(Formula(d, 1, 4, 0), "L+100") << "the lists are the editor's still";
       }),
       DialogAction::Cancel()});
  EXPECT_EQ(driver.PendingDialogs(), 0u) << "the parametric dialog ran";
}

TEST_F(DefinitionEditor, TheTrysValuesAreNotWrittenWithTheParameters) {
  const std::string params = Stored("params");
  driver.OnDialog(IDD_PP, {DialogAction::EditCell(IDC_PP_PARAMS, 0, 1, "1500"), DialogAction::Cancel()});
  EXPECT_EQ(Run({DialogAction::Click(IDC_DEF_TRY), Check([&](CDefParamDlg& d) {
                   EXPECT_STREQ(FindParamByName(d.params, "L")->GetText(ParamText::kValue), "1000");
                 }),
                 DialogAction::Ok()}),
            IDOK);
  EXPECT_EQ(driver.PendingDialogs(), 0u) << "the parametric dialog ran";
  EXPECT_EQ(Stored("params"), params);
}

TEST_F(DefinitionEditor, DeletingAParameterThatFormulasReadAsksFirstNamingThem) {
  // H is read by view A's formulas (not shown yet), L by view B's; N by none.
  driver.AnswerMessageBox(IDNO);
  driver.AnswerMessageBox(IDYES);
  driver.AnswerMessageBox(IDNO);
  const INT_PTR result = Run({DialogAction::Choose(IDC_DEF_PARAMS, 1), DialogAction::Click(IDC_DEF_DELETE),
                              DialogAction::Click(IDC_DEF_DELETE), DialogAction::Choose(IDC_DEF_PARAMS, 3),
                              DialogAction::Click(IDC_DEF_DELETE), Check([&](CDefParamDlg& d) {
                                EXPECT_EQ(Rows(d.paramList), (std::vector<std::string>{"L", "P", "Q"}));
                              }),
                              DialogAction::Choose(IDC_DEF_PARAMS, 0), DialogAction::Click(IDC_DEF_DELETE),
                              Check([&](CDefParamDlg& d) { EXPECT_EQ(Rows(d.paramList).size(), 3u) << "No keeps L"; }),
                              DialogAction::Cancel()});
  EXPECT_EQ(result, IDCANCEL);
  const std::vector<std::string> texts = MessageTexts();
  ASSERT_EQ(texts.size(), 3u) << "H twice, L once, N never";
  EXPECT_EQ(texts[0], texts[1]);
  EXPECT_NE(texts[0].find(":\nA 2 Y = H\n\n"), std::string::npos) << texts[0];
  EXPECT_NE(texts[2].find(":\nB 4 X = L\n\n"), std::string::npos) << texts[2];
}

TEST_F(DefinitionEditor, TheFormulaListEditsOnF2AndEscOrScrollingDropsTheEdit) {
  Run({Point(1), DialogAction::Choose(IDC_DEF_FORMULAS, 1), DialogAction::Key(IDC_DEF_FORMULAS, "F2"),
       Check([&](CDefParamDlg& d) {
         ASSERT_TRUE(d.formulaList.IsEditing()) << "F2 on the focused row";
         EXPECT_EQ(d.formulaList.editRow, 1);
       }),
       DialogAction::Type(0, "H"), DialogAction::Key(0, "Enter"), Check([&](CDefParamDlg& d) {
         EXPECT_FALSE(d.formulaList.IsEditing());
         EXPECT_EQ(Formula(d, 1, 2, 1), "H");
         EXPECT_EQ(Status(d), "Result: 600.00");
       }),
       DialogAction::Key(IDC_DEF_FORMULAS, "F2"), DialogAction::Type(0, "L"), DialogAction::Key(0, "Escape"),
       Check([&](CDefParamDlg& d) {
         EXPECT_FALSE(d.formulaList.IsEditing());
         EXPECT_EQ(std::string(d.formulaList.GetItemText(1, 1)), "H") << "Esc: nothing taken";
         d.formulaList.SetFocus();
       }),
       DialogAction::Key(IDC_DEF_FORMULAS, "F2"), DialogAction::Type(0, "L"), Check([&](CDefParamDlg& d) {
         ASSERT_TRUE(d.formulaList.IsEditing());
         d.formulaList.SendMessage(WM_VSCROLL, SB_LINEDOWN);
         EXPECT_FALSE(d.formulaList.IsEditing());
         EXPECT_EQ(Formula(d, 1, 2, 1), "H") << "scrolling drops the edit";
       }),
       DialogAction::Cancel()});
}
