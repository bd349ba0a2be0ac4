// The mask list dialog run headless: reading the stored masks, the list's
// buttons, the two edits and what OK writes.
#include "wizard/dialogs/CMaskDlg.h"

#include <string>
#include <vector>

#include "common/HostModule.h"
#include "platform/resources/wizard/resource_ids.h"
#include "wizard/dialogs/tests/DialogsTest.h"

namespace dialogs_tests {
namespace {

class MaskList : public DialogsTest {
 protected:
  // "add=1 delete=0 up=0 down=0 edit=0".
  static std::string Buttons(const CMaskDlg& d) {
    auto on = [](const CButton& b) { return std::string(b.IsWindowEnabled() ? "1" : "0"); };
    return "add=" + on(d.addButton) + " delete=" + on(d.deleteButton) + " up=" + on(d.upButton) +
           " down=" + on(d.downButton) + " edit=" + on(d.editButton);
  }
  // The rows, the selected one in brackets, then the two edits.
  static std::string Shown(const CMaskDlg& d) {
    std::string out;
    for (int row = 0; row < d.maskList.GetCount(); ++row) {
      CString text;
      d.maskList.GetText(row, text);
      out += row == d.maskList.GetCurSel() ? "[" + std::string(text) + "] " : std::string(text) + " ";
    }
    CString name, definition;
    d.nameEdit.GetWindowText(name);
    d.definitionEdit.GetWindowText(definition);
    return out + "name=" + std::string(name) + " definition=" + std::string(definition);
  }
  INT_PTR Run(CMaskDlg& dialog, std::vector<DialogAction> actions) {
    driver.OnDialog(IDD_MASK, std::move(actions));
    return dialog.DoModal();
  }
  void Masks(const char* section, std::initializer_list<std::pair<int, const char*>> masks) {
    for (const auto& [key, value] : masks) Write(SetFile(), section, ("MASK" + std::to_string(key)).c_str(), value);
  }
};

TEST_F(MaskList, AnEmptyListOffersOnlyAddAndANewMaskIsStoredAsItsNameAndASemicolon) {
  CMaskDlg dialog('T', nullptr);
  std::string before, after;
  EXPECT_EQ(Run(dialog, {DialogAction::Run([&](HWND window) {
                           before = Buttons(dialog) + " | " + Shown(dialog) + " | keeps focus " +
                                    std::to_string(::SendMessageA(window, kKeepFocusQuery, 0, 0));
                         }),
                         DialogAction::Click(IDC_MASK_ADD),
                         DialogAction::Run([&](HWND) {
                           after = Buttons(dialog) + " | " + Shown(dialog) +
                                   (::GetFocus() == dialog.nameEdit.m_hWnd ? " focus=name" : " focus elsewhere");
                         }),
                         DialogAction::Ok()}),
            IDOK);
  EXPECT_EQ(before, "add=1 delete=0 up=0 down=0 edit=0 | name= definition= | keeps focus 1");
  EXPECT_EQ(after, "add=1 delete=1 up=0 down=0 edit=1 | [New mask] name=New mask definition= focus=name");
  EXPECT_EQ(Section(SetFile(), "DESC_TOP"), "MASK0=New mask;");
  EXPECT_EQ(Read(IniFile(), "DESC", "MASK_TOP"), "(none)") << "a mask without definition is never made active";
}

TEST_F(MaskList, TheFirstMaskEqualToTheActiveOneIsSelectedAndOkRenumbersTheList) {
  Masks("DESC_TOP", {{0, "First;#1"}, {1, "no separator"}, {2, "Second;&VE"}, {3, "Third;&VE"}, {5, "Behind;x"}});
  Write(IniFile(), "DESC", "MASK_TOP", "&VE");
  Write(SetFile(), "DESC_TOP", "MASK7", "Far;y");
  CMaskDlg dialog('T', nullptr);
  std::vector<std::string> seen;
  auto look = [&] { return DialogAction::Run([&](HWND) { seen.push_back(Buttons(dialog) + " | " + Shown(dialog)); }); };
  EXPECT_EQ(Run(dialog, {look(), DialogAction::Click(IDC_MOVE_DOWN), look(), DialogAction::Set(IDC_MASK_NAME, "Renamed"),
                         DialogAction::Click(IDC_MOVE_UP), look(), DialogAction::Choose(IDC_MASK_LIST, 2),
                         DialogAction::Click(IDC_MASK_DELETE), look(), DialogAction::Ok()}),
            IDOK);
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[0], "add=1 delete=1 up=1 down=1 edit=1 | First [Second] Third name=Second definition=&VE");
  EXPECT_EQ(seen[1], "add=1 delete=1 up=1 down=0 edit=1 | First Third [Second] name=Second definition=&VE");
  EXPECT_EQ(seen[2], "add=1 delete=1 up=1 down=1 edit=1 | First [Renamed] Third name=Renamed definition=&VE")
      << "the rename reaches the row before the move";
  EXPECT_EQ(seen[3], "add=1 delete=1 up=1 down=0 edit=1 | First [Renamed] name=Renamed definition=&VE")
      << "deleting the last row selects the new last row";
  EXPECT_EQ(Section(SetFile(), "DESC_TOP"), "MASK0=First;#1|MASK1=Renamed;&VE")
      << "the rest, MASK7 too, deleted";
  EXPECT_EQ(Read(IniFile(), "DESC", "MASK_TOP"), "&VE");
}

TEST_F(MaskList, WithoutASelectionOrWithAnEmptyDefinitionOkKeepsTheActiveMask) {
  Masks("DESC_ZDRAVO", {{0, "Only;&DN"}, {1, "Empty;"}});
  Write(IniFile(), "DESC", "MASK_ZDRAVO", "kept");
  for (int selected : {-1, 1}) {
    CMaskDlg dialog('Z', nullptr);
    EXPECT_EQ(Run(dialog, {DialogAction::Run([&](HWND) { dialog.maskList.SetCurSel(selected); }), DialogAction::Ok()}),
              IDOK);
    EXPECT_EQ(Section(SetFile(), "DESC_ZDRAVO"), "MASK0=Only;&DN|MASK1=Empty;");
    EXPECT_EQ(Read(IniFile(), "DESC", "MASK_ZDRAVO"), "kept") << "selected row " << selected;
  }
}

TEST_F(MaskList, DeletingTheOnlyRowLeavesNothingSelectedAndCancelWritesNothing) {
  Masks("DESC_VZDUCH", {{0, "Only;&DN"}});
  CMaskDlg dialog('V', nullptr);
  std::string after;
  EXPECT_EQ(Run(dialog, {DialogAction::Click(IDC_MASK_DELETE),
                         DialogAction::Run([&](HWND) { after = Buttons(dialog) + " | " + Shown(dialog); }),
                         DialogAction::Cancel()}),
            IDCANCEL);
  EXPECT_EQ(after, "add=1 delete=0 up=0 down=0 edit=0 | name=Only definition=");
  EXPECT_EQ(Section(SetFile(), "DESC_VZDUCH"), "MASK0=Only;&DN");
}

TEST_F(MaskList, ATextThatWouldNotComeBackWholeOrANameWithASemicolonIsRefusedAndWaitsInItsBox) {
  Masks("DESC_TOP", {{0, "Pipe;&CM"}, {1, "Valve;&VE"}});
  CMaskDlg dialog('T', nullptr);
  const std::string tooLong(250, 'x');  // "Pipe;" + 250 = 255 characters
  const std::string fits(249, 'y');
  std::vector<std::string> seen;
  auto look = [&] { return DialogAction::Run([&](HWND) { seen.push_back(Shown(dialog)); }); };
  EXPECT_EQ(Run(dialog, {DialogAction::Set(IDC_MASK_DEFINITION, tooLong), DialogAction::Choose(IDC_MASK_LIST, 1),
                         DialogAction::Ok(), look(), DialogAction::Set(IDC_MASK_NAME, "a;b"), DialogAction::Ok(),
                         look(), DialogAction::Set(IDC_MASK_NAME, "Longer name"),
                         DialogAction::Set(IDC_MASK_DEFINITION, fits), DialogAction::Ok(), look(),
                         DialogAction::Set(IDC_MASK_DEFINITION, "&DN"), DialogAction::Ok()}),
            IDOK);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0], "[Pipe] Valve name=Pipe definition=" + tooLong) << "neither the list nor OK leaves it";
  EXPECT_EQ(seen[1], "[Pipe] Valve name=a;b definition=" + tooLong);
  EXPECT_EQ(seen[2], "[Longer name] Valve name=Longer name definition=" + fits)
      << "the new name makes the definition too long for the record";
  const std::string tooLongBox = std::string(GetHostProductTitle()) + "|" + String(IDS_MASK_TOO_LONG) + "|48";
  EXPECT_EQ(Boxes(), (std::vector<std::string>{tooLongBox, tooLongBox,
                                               GetHostProductTitle() + ("|" + String(IDS_NAME_HAS_SEMICOLON)) + "|48",
                                               tooLongBox}));
  EXPECT_EQ(Section(SetFile(), "DESC_TOP"), "MASK0=Longer name;&DN|MASK1=Valve;&VE");
}

TEST_F(MaskList, EachKindReadsAndWritesItsOwnSectionsAndNamesItsLetter) {
  struct Kind {
    unsigned kind;
    const char* list;
    const char* active;
    const char* letter;
  };
  const Kind kinds[] = {{'W', "DESC_EPIPE", "MASK_EPIPE", "E:"},    {'E', "DESC_ELEKTRO", "MASK_ELEKTRO", "E:"},
                        {'S', "DESC_SCHEME", "MASK_SCHEME", "T:"},  {'V', "DESC_VZDUCH", "MASK_VZDUCH", "V:"},
                        {'Z', "DESC_ZDRAVO", "MASK_ZDRAVO", "Z:"},  {'Q', "DESC_TOP", "MASK_TOP", "T:"}};
  for (const Kind& k : kinds) {
    Write(SetFile(), k.list, "MASK0", (std::string(k.list) + ";#" + k.letter).c_str());
    CMaskDlg dialog(k.kind, nullptr);
    std::string caption;
    EXPECT_EQ(Run(dialog, {DialogAction::Run([&](HWND) {
                             CString text;
                             dialog.kindCaption.GetWindowText(text);
                             caption = text.GetString();
                           }),
                           DialogAction::Ok()}),
              IDOK);
    EXPECT_EQ(caption.substr(caption.size() - 2), k.letter) << k.list;
    EXPECT_EQ(Read(IniFile(), "DESC", k.active), std::string("#") + k.letter) << k.list;
  }
}

TEST_F(MaskList, EditRunsTheEditorOnTheDefinitionAndCommitsWhatItBuilds) {
  Masks("DESC_TOP", {{0, "Pipe;&CM"}});
  Masks("MASK_TOP", {{0, "Break;\\"}, {1, "Material;CM"}, {2, "Valve;VE"}});
  CMaskDlg dialog('T', nullptr);
  driver.OnDialog(IDD_MASK_DEF, {DialogAction::Choose(IDC_MASK_FIELDS, 2), DialogAction::Click(IDC_MASK_PART_ADD),
                                 DialogAction::Ok()});
  driver.OnDialog(IDD_MASK_DEF, {DialogAction::Cancel()});
  std::string seen;
  EXPECT_EQ(Run(dialog, {DialogAction::Click(IDC_MASK_EDIT),
                         DialogAction::Run([&](HWND) { seen = Shown(dialog); }),
                         DialogAction::Click(IDC_MASK_EDIT), DialogAction::Click(IDC_HELP_BUTTON), DialogAction::Ok()}),
            IDOK);
  EXPECT_EQ(seen, "[Pipe] name=Pipe definition=&CM &VE");
  EXPECT_EQ(Section(SetFile(), "DESC_TOP"), "MASK0=Pipe;&CM &VE");
  EXPECT_EQ(Read(IniFile(), "DESC", "MASK_TOP"), "&CM &VE");
  const std::vector<UiEvent> help = Events(UiEvent::Kind::Help);
  ASSERT_EQ(help.size(), 1u);
  EXPECT_EQ(help[0].help.file, "C:\\Wizard\\HELP\\JOV2D.CHM::/zdroje\\Popis-vlastni_nastaveni.htm");
  EXPECT_TRUE(Failures().empty()) << Failures()[0];
}

TEST_F(MaskList, AHundredMasksAreAllTheListTakes) {
  for (int key = 0; key < 101; ++key)
    Write(SetFile(), "DESC_VZDUCH", ("MASK" + std::to_string(key)).c_str(), ("m" + std::to_string(key) + ";d").c_str());
  CMaskDlg dialog('V', nullptr);
  std::string buttons;
  int rows = 0;
  EXPECT_EQ(Run(dialog, {DialogAction::Run([&](HWND) {
                           buttons = Buttons(dialog);
                           rows = dialog.maskList.GetCount();
                         }),
                         DialogAction::Ok()}),
            IDOK);
  EXPECT_EQ(rows, 100);
  EXPECT_EQ(buttons, "add=0 delete=1 up=0 down=1 edit=1");
  EXPECT_EQ(Read(SetFile(), "DESC_VZDUCH", "MASK99"), "m99;d");
  EXPECT_EQ(Read(SetFile(), "DESC_VZDUCH", "MASK100"), "m100;d") << "beyond the list: neither read nor written";
}

}  // namespace
}  // namespace dialogs_tests
