// File dialogs, help, cursors and popup menus through the driver and the
// journal.
#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/win32/common_dialogs.h"
#include "platform/win32/cursors.h"
#include "platform/win32/driver/headless_driver.h"
#include "platform/win32/help.h"
#include "platform/win32/menus.h"
#include "platform/win32/resources.h"
#include "platform/win32/tests/headless_fixture.h"

using testing_support::HeadlessTest;
using testing_support::SeenBy;

namespace {

class Services : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    char pattern[] = "/tmp/jov_ui_XXXXXX";
    dir_ = mkdtemp(pattern);
    std::ofstream(dir_ + "/exists.cad") << "x";
  }
  void TearDown() override {
    std::filesystem::remove_all(dir_);
    HeadlessTest::TearDown();
  }
  OPENFILENAMEA Request(DWORD flags, const char* defExt = "") {
    OPENFILENAMEA ofn{};
    ofn.lStructSize = 152;
    ofn.lpstrFilter = "Cad files (*.cad)\0*.cad\0All (*.*)\0*.*\0\0";
    ofn.lpstrFile = file_;
    ofn.nMaxFile = sizeof file_;
    ofn.lpstrDefExt = defExt;
    ofn.Flags = flags;
    file_[0] = '\0';
    return ofn;
  }
  UiEvent LastOf(UiEvent::Kind kind) {
    UiEvent last;
    for (const UiEvent& e : UiJournal())
      if (e.kind == kind) last = e;
    return last;
  }
  std::string dir_;
  char file_[MAX_PATH];
  HeadlessDriver driver;
};

}  // namespace

TEST_F(Services, FileDialogsTakeTheDriversAnswer) {
  ScopedUiDriver use(&driver);
  driver.AnswerFile(dir_ + "/exists.cad");
  OPENFILENAMEA ofn = Request(OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
  ASSERT_TRUE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(std::string(file_), dir_ + "/exists.cad");
  EXPECT_STREQ(file_ + ofn.nFileOffset, "exists.cad");
  EXPECT_STREQ(file_ + ofn.nFileExtension, "cad");
  UiEvent e = LastOf(UiEvent::Kind::FileDialog);
  EXPECT_EQ(e.file.filter, "Cad files (*.cad)|*.cad|All (*.*)|*.*");
  EXPECT_FALSE(e.file.save);

  // A file that must exist but does not: the dialog is not confirmed.
  driver.AnswerFile(dir_ + "/missing.cad");
  ofn = Request(OFN_FILEMUSTEXIST);
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
  EXPECT_TRUE(LastOf(UiEvent::Kind::FileDialog).failed);
  EXPECT_EQ(CommDlgExtendedError(), 0u);

  // The default extension is added to a name without one.
  driver.AnswerFile(dir_ + "/new");
  ofn = Request(0, "txt");
  ASSERT_TRUE(GetSaveFileNameA(&ofn));
  EXPECT_EQ(std::string(file_), dir_ + "/new.txt");

  // No answer, or a cancel: FALSE, and the journal says which.
  ofn = Request(0);
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
  EXPECT_FALSE(LastOf(UiEvent::Kind::FileDialog).answered);
  driver.CancelFile();
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
  EXPECT_TRUE(LastOf(UiEvent::Kind::FileDialog).answered);
}

TEST_F(Services, FileDialogChecksItsStructureAndBuffer) {
  ScopedUiDriver use(&driver);
  OPENFILENAMEA ofn = Request(0);
  ofn.lStructSize = 100;
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), CDERR_STRUCTSIZE);
  char small[8];
  driver.AnswerFile(dir_ + "/exists.cad");
  ofn = Request(0);
  ofn.lpstrFile = small;
  ofn.nMaxFile = sizeof small;
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
}

TEST_F(Services, SavingOverAFileAsksFirst) {
  ScopedUiDriver use(&driver);
  driver.AnswerFile(dir_ + "/exists.cad");
  driver.AnswerMessageBox(IDNO);
  OPENFILENAMEA ofn = Request(OFN_OVERWRITEPROMPT);
  EXPECT_FALSE(GetSaveFileNameA(&ofn));
  UiEvent box = LastOf(UiEvent::Kind::MessageBox);
  EXPECT_NE(box.box.text.find("exists.cad already exists"), std::string::npos);
  driver.AnswerFile(dir_ + "/exists.cad");
  ofn = Request(OFN_OVERWRITEPROMPT);
  EXPECT_TRUE(GetSaveFileNameA(&ofn)) << "unanswered, the box says yes";
}

TEST_F(Services, HelpCallsAreRecordedWithTheirTopic) {
  HWND w = TopLevel();
  EXPECT_NE(HtmlHelpA(w, "C:\\jov\\Help\\jov2d.chm::/zdroje\\vantrix-6.htm", HH_DISPLAY_TOPIC, 0), nullptr);
  UiEvent e = LastOf(UiEvent::Kind::Help);
  EXPECT_EQ(e.help.topic, "zdroje\\vantrix-6.htm");
  EXPECT_EQ(e.help.caller, w);
  HH_POPUP popup{};
  popup.cbStruct = sizeof popup;
  popup.idString = 181;
  HtmlHelpA(w, "x.chm", HH_DISPLAY_TEXT_POPUP, reinterpret_cast<DWORD_PTR>(&popup));
  EXPECT_EQ(LastOf(UiEvent::Kind::Help).help.topic, "string 181");
  EXPECT_TRUE(WinHelpA(w, "x.hlp", HELP_CONTEXTPOPUP, 183));
  e = LastOf(UiEvent::Kind::Help);
  EXPECT_TRUE(e.help.winHelp);
  EXPECT_EQ(e.help.topic, "context 183");
}

TEST_F(Services, CursorChangesAreRecorded) {
  HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
  HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  SetCursor(arrow);
  ClearUiJournal();
  EXPECT_EQ(SetCursor(wait), arrow);
  SetCursor(wait);
  SetCursor(arrow);
  std::vector<std::string> seen;
  for (const UiEvent& e : UiJournal())
    if (e.kind == UiEvent::Kind::Cursor) seen.push_back(e.cursor);
  EXPECT_EQ(seen, (std::vector<std::string>{"IDC_WAIT", "IDC_ARROW"})) << "only changes";
}

TEST_F(Services, PopupMenusAreAnsweredByTheDriver) {
  ScopedUiDriver use(&driver);
  HWND owner = TopLevel();
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, 10, "Open");
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING | MF_GRAYED, 11, "Grey");
  HMENU sub = CreatePopupMenu();
  AppendMenuA(sub, MF_STRING, 20, "Deep");
  AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "More");
  EXPECT_EQ(GetMenuItemCount(menu), 4);
  EXPECT_EQ(GetSubMenu(menu, 3), sub);
  EXPECT_EQ(GetMenuItemID(menu, 3), static_cast<UINT>(-1));
  EXPECT_EQ(CheckMenuItem(menu, 20, MF_CHECKED), MF_UNCHECKED) << "found in the submenu";
  EXPECT_EQ(GetMenuState(menu, 20, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);

  driver.ChooseMenu(20);
  EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 5, 5, 0, owner, nullptr), 20);
  EXPECT_EQ(SeenBy(owner, WM_INITMENUPOPUP).size(), 1u);
  driver.ChooseMenu(11);
  EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 5, 5, 0, owner, nullptr), 0) << "a grey item cannot be chosen";
  EXPECT_TRUE(LastOf(UiEvent::Kind::Menu).failed);
  driver.ChooseMenu(10);
  EXPECT_TRUE(TrackPopupMenu(menu, 0, 5, 5, 0, owner, nullptr));
  Pump();
  auto commands = SeenBy(owner, WM_COMMAND);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(LOWORD(commands[0].wParam), 10);
  EXPECT_TRUE(DestroyMenu(menu));
  EXPECT_FALSE(IsMenu(sub)) << "submenus go with their menu";
}

TEST_F(Services, MenuTemplatesRoundTrip) {
  std::vector<MenuTemplateItem> items = {{MF_POPUP, 0, "&File", {{0, 100, "&Open", {}}, {MF_SEPARATOR, 0, "", {}}}},
                                         {MF_GRAYED, 200, "Help", {}}};
  std::vector<BYTE> bytes = SerializeMenuTemplate(items);
  std::vector<MenuTemplateItem> back;
  ASSERT_TRUE(ParseMenuTemplate(bytes.data(), bytes.size(), &back, nullptr));
  EXPECT_EQ(back, items);
  bytes.resize(bytes.size() - 2);
  EXPECT_FALSE(ParseMenuTemplate(bytes.data(), bytes.size(), &back, nullptr));
}
