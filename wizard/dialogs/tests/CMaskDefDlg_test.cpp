// The mask editor run headless: definitions parsed into parts and built
// back, the field list's entries used and given back, drags, the stored
// masks of modes 1 and 2, saving under a name, and the band mode 0 cuts.
#include "wizard/dialogs/CMaskDefDlg.h"

#include <string>
#include <vector>

#include "common/HostModule.h"
#include "platform/resources/wizard/resource_ids.h"
#include "platform/win32/headless_input.h"
#include "platform/win32/image_list_drag.h"
#include "platform/win32/virtual_keys.h"
#include "wizard/dialogs/CMaskData.h"
#include "wizard/dialogs/tests/DialogsTest.h"

namespace dialogs_tests {
namespace {

class MaskEditor : public DialogsTest {
 protected:
  void SetUp() override {
    DialogsTest::SetUp();
    const char* entries[] = {"Break;\\", "Material;CM", "Type;CT", "Valve;VE", "Code;#1", "Name;#2", "Dim;#4"};
    int key = 0;
    for (const char* entry : entries) Write(SetFile(), "MASK_TOP", ("MASK" + std::to_string(key++)).c_str(), entry);
  }
  static std::string Rows(const CListCtrl& list) {
    std::string out;
    for (int row = 0; row < list.GetItemCount(); ++row) {
      const std::string text = static_cast<const char*>(list.GetItemText(row, 0));
      out += (row ? " | " : "") + (list.GetItemState(row, LVIS_SELECTED) ? "[" + text + "]" : text);
    }
    return out;
  }
  static std::string Built(CMaskDefDlg& d) {
    d.BuildDefinition();
    return d.result.GetString();
  }
  static std::string Enabled(const CMaskDefDlg& d) {
    auto on = [](const CButton& b) { return std::string(b.IsWindowEnabled() ? "1" : "0"); };
    return "add=" + on(d.addButton) + " remove=" + on(d.removeButton) + " up=" + on(d.upButton) +
           " down=" + on(d.downButton);
  }
  static std::string Combo(const CMaskDefDlg& d) {
    std::string out;
    for (int row = 0; row < d.storedCombo.GetCount(); ++row) {
      CString text;
      d.storedCombo.GetLBText(row, text);
      const maskData& m = d.storedMasks[d.storedCombo.GetItemData(row)];
      out += (row ? " | " : "") + std::string(row == d.storedCombo.GetCurSel() ? "[" : "") + text.GetString() + "=" +
             m.definition.GetString() + "@" + std::to_string(m.key) + (row == d.storedCombo.GetCurSel() ? "]" : "");
    }
    return out;
  }
  INT_PTR Run(CMaskDefDlg& dialog, std::vector<DialogAction> actions) {
    driver.OnDialog(IDD_MASK_DEF, std::move(actions));
    return dialog.DoModal();
  }
  static DialogAction Look(std::function<void()> step) {
    return DialogAction::Run([step = std::move(step)](HWND) { step(); });
  }
};

TEST_F(MaskEditor, DefinitionsBecomeFieldAndFreeTextRowsAndComeBackUnchanged) {
  struct Case {
    const char* definition;
    const char* rows;
  };
  const Case cases[] = {
      {"&CM-&CT", "Material | Text \"-\" | Type"},
      {"#1 #2", "Code | Text \" \" | Name"},
      {"#4 &VE\\x&CM", "Dim | Text \" \" | Valve | Break | Text \"x\" | Material"},
      {"&ZZ9 &CM", "Text \"&ZZ9\" | Text \" \" | Material"},
      {"&CM&CT", "Material | Text \"&CT\""},
      {"\\\\Label: #2", "Break | Break | Text \"Label: \" | Name"},
      {"&C\xE1-#", "Text \"&C\" | Text \"\xE1-\" | Text \"#\""},
      // The space between a field and a free text that would run on into it.
      {"&CM mm", "Material | Text \"mm\""}, {"&ZZ9 x", "Text \"&ZZ9\" | Text \"x\""},
      {"&CM  mm", "Material | Text \"  mm\""}, {"\\_a", "Break | Text \"_a\""},
      {"", ""},
  };
  for (const Case& c : cases) {
    CMaskDefDlg dialog('T', c.definition, CMaskDefDlg::kEditListed, nullptr);
    std::string rows, built;
    EXPECT_EQ(Run(dialog, {Look([&] {
                             rows = Rows(dialog.maskList);
                             built = Built(dialog);
                           }),
                           DialogAction::Ok()}),
              IDOK);
    EXPECT_EQ(rows, c.rows) << c.definition;
    EXPECT_EQ(built, c.definition);
    EXPECT_EQ(std::string(dialog.result), c.definition) << "mode 0 hands the result back";
  }
  EXPECT_EQ(Section(IniFile(), "DESC"), "") << "mode 0 writes nothing";
}

TEST_F(MaskEditor, TheFirstTwoEntriesStayInTheFieldListUnlessDragged) {
  CMaskDefDlg dialog('T', "\\", CMaskDefDlg::kEditListed, nullptr);
  driver.OnDialog(IDD_MASK_NAME, {DialogAction::Set(IDC_MASK_NAME_TEXT, "a;b"), DialogAction::Ok(),
                                  DialogAction::Set(IDC_MASK_NAME_TEXT, "-"), DialogAction::Ok()});
  driver.OnDialog(IDD_MASK_NAME, {DialogAction::Set(IDC_MASK_NAME_TEXT, "/"), DialogAction::Ok()});
  std::vector<std::string> seen;
  auto look = [&] { return Look([&] { seen.push_back(Rows(dialog.fieldList) + " || " + Rows(dialog.maskList)); }); };
  EXPECT_EQ(Run(dialog, {look(),
                         DialogAction::Choose(IDC_MASK_FIELDS, 1), DialogAction::Click(IDC_MASK_PART_ADD),
                         DialogAction::DoubleClick(IDC_MASK_FIELDS, 2), DialogAction::Click(IDC_MASK_PART_ADD),
                         DialogAction::DoubleClick(IDC_MASK_FIELDS, 0), look(),
                         Look([&] { seen.push_back(Built(dialog) + " " + Enabled(dialog)); }),
                         DialogAction::DragRow(IDC_MASK_FIELDS, 1, IDC_MASK_PARTS, 0), look(),
                         DialogAction::Choose(IDC_MASK_PARTS, 0), DialogAction::Click(IDC_MASK_PART_REMOVE),
                         DialogAction::DoubleClick(IDC_MASK_PARTS, 2), look(),
                         DialogAction::DragRow(IDC_MASK_FIELDS, 0, IDC_MASK_PARTS, 0), look(),
                         Look([&] { seen.push_back(Built(dialog)); }), DialogAction::Cancel()}),
            IDCANCEL);
  ASSERT_EQ(seen.size(), 7u);
  EXPECT_EQ(seen[0], "[Text \"\"] | Break | Material | Type | Valve | Code | Name | Dim || Break")
      << "parsing uses the line break and leaves it";
  EXPECT_EQ(seen[1], "[Text \"\"] | Break | Valve | Code | Name | Dim || Break | Break | Material | Type | Text \"-\"")
      << "button and double click: rows 0 and 1 stay, the rest move";
  EXPECT_EQ(seen[2], "\\\\&CM &CT- add=1 remove=0 up=0 down=1") << "two adjacent fields joined by one space";
  EXPECT_EQ(seen[3], "Text \"\" | Valve | Code | Name | Dim || [Break] | Break | Break | Material | Type | Text \"-\"")
      << "row 1 dragged into the mask leaves the field list";
  EXPECT_EQ(seen[4], "Text \"\" | Valve | Material | Code | Name | Dim || Break | Break | [Type] | Text \"-\"")
      << "a line break taken out does not come back; a field goes back to its row";
  EXPECT_EQ(seen[5], "[Text \"\"] | Valve | Material | Code | Name | Dim || Break | Break | [Type] | Text \"-\" | "
                     "Text \"/\"")
      << "the free-text entry dropped asks for a text and appends it";
  EXPECT_EQ(seen[6], "\\\\&CT-/");
  EXPECT_TRUE(Failures().empty()) << Failures()[0];
}

TEST_F(MaskEditor, AFreeTextStaysApartFromTheFieldBeforeItAndHoldsNoFieldMarks) {
  // "mm" after a field is kept apart by one space; texts that would make
  // fields, or hold the stored mask's separator, are refused with a reason.
  CMaskDefDlg dialog('T', "&CM", CMaskDefDlg::kEditListed, nullptr);
  std::vector<DialogAction> asked;
  for (const char* refused : {"a&b", "#2", "x\\y", "a;b"}) {
    asked.push_back(DialogAction::Set(IDC_MASK_NAME_TEXT, refused));
    asked.push_back(DialogAction::Ok());
  }
  asked.push_back(DialogAction::Set(IDC_MASK_NAME_TEXT, "mm"));
  asked.push_back(DialogAction::Ok());
  driver.OnDialog(IDD_MASK_NAME, std::move(asked));
  std::string rows;
  EXPECT_EQ(Run(dialog, {DialogAction::Choose(IDC_MASK_PARTS, 0), DialogAction::Choose(IDC_MASK_FIELDS, 0),
                         DialogAction::Click(IDC_MASK_PART_ADD), Look([&] { rows = Rows(dialog.maskList); }),
                         DialogAction::Ok()}),
            IDOK);
  EXPECT_EQ(rows, "[Material] | Text \"mm\"");
  EXPECT_EQ(std::string(dialog.result), "&CM mm");
  const std::string fieldMark = GetHostProductTitle() + std::string("|") + String(IDS_FREE_TEXT_HAS_FIELD_MARK) + "|48";
  EXPECT_EQ(Boxes(), (std::vector<std::string>{fieldMark, fieldMark, fieldMark,
                                               GetHostProductTitle() + std::string("|") +
                                                   String(IDS_NAME_HAS_SEMICOLON) + "|48"}));
  EXPECT_NE(String(IDS_FREE_TEXT_HAS_FIELD_MARK).find("&, # or \\:"), std::string::npos);
}

TEST_F(MaskEditor, PartsMoveByButtonsAndByDraggingWithinTheMask) {
  CMaskDefDlg dialog('T', "&CM-&CT", CMaskDefDlg::kEditListed, nullptr);
  std::vector<std::string> seen;
  auto look = [&] { return Look([&] { seen.push_back(Rows(dialog.maskList) + " " + Enabled(dialog)); }); };
  // Double clicks below the rows select nothing, so they add and remove nothing.
  auto belowTheRows = [&] {
    return Look([&] {
      for (HWND list : {dialog.fieldList.m_hWnd, dialog.maskList.m_hWnd}) {
        RECT client;
        ::GetClientRect(list, &client);
        headless::QueueClick(list, {client.right / 2, client.bottom - 4}, headless::MouseButton::Left, true);
      }
    });
  };
  std::string fields;
  EXPECT_EQ(Run(dialog, {belowTheRows(), look(), Look([&] { fields = Rows(dialog.fieldList); }), DialogAction::Choose(IDC_MASK_PARTS, 0), DialogAction::Click(IDC_MOVE_DOWN), look(),
                         DialogAction::DragRow(IDC_MASK_PARTS, 2, IDC_MASK_PARTS, 0), look(),
                         DialogAction::Click(IDC_MOVE_UP), DialogAction::Ok()}),
            IDOK);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0], "Material | Text \"-\" | Type add=1 remove=0 up=0 down=1");
  EXPECT_EQ(fields, "Text \"\" | Break | Valve | Code | Name | Dim") << "no entry taken or given back";
  EXPECT_EQ(seen[1], "Text \"-\" | [Material] | Type add=1 remove=1 up=1 down=1");
  EXPECT_EQ(seen[2], "[Type] | Text \"-\" | Material add=1 remove=1 up=0 down=1");
  EXPECT_EQ(std::string(dialog.result), "&CT-&CM");
}

TEST_F(MaskEditor, AFieldDraggedOverTheMaskIsTrackedThereAndEscapeDropsNothing) {
  CMaskDefDlg dialog('T', "&CT", CMaskDefDlg::kEditListed, nullptr);
  std::vector<std::string> seen;
  auto rowCentre = [](HWND list, int row) {
    RECT r{};
    r.left = LVIR_BOUNDS;
    ::SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  };
  auto look = [&](const char* when) {
    const ImageListDrag image = ImageList_GetDrag();
    MSG repaint{dialog.fieldList.m_hWnd, kMaskDragRepaint, 0, 0, 0, {}};
    seen.push_back(std::string(when) + ": image " + (image.dragging ? "on" : "off") + " over " +
                   (image.lock == dialog.maskList.m_hWnd ? "mask" : image.lock ? "other" : "none") + ", row 0 " +
                   (dialog.maskList.GetItemState(0, LVIS_DROPHILITED) ? "lit" : "dark") + ", repaint " +
                   (dialog.fieldList.PreTranslateMessage(&repaint) ? "taken" : "passed"));
  };
  EXPECT_EQ(Run(dialog, {Look([&] {
                           const HWND fields = dialog.fieldList.m_hWnd;
                           const POINT from = rowCentre(fields, 2);
                           POINT over = rowCentre(dialog.maskList.m_hWnd, 0);
                           ::MapWindowPoints(dialog.maskList.m_hWnd, fields, &over, 1);
                           headless::QueueMouseButton(fields, from, headless::MouseButton::Left, true);
                           headless::QueueMouseMove(fields, {from.x, from.y + 20});
                           headless::QueueMouseMove(fields, over);
                           headless::QueueStep([&] { look("dragging"); });
                           headless::QueueKey(VK_ESCAPE);
                           headless::QueueStep([&] { look("after Esc"); });
                           headless::QueueMouseButton(fields, over, headless::MouseButton::Left, false);
                         }),
                         DialogAction::Ok()}),
            IDOK);
  EXPECT_EQ(seen, (std::vector<std::string>{"dragging: image on over mask, row 0 lit, repaint taken",
                                            "after Esc: image off over none, row 0 dark, repaint passed"}));
  EXPECT_EQ(std::string(dialog.result), "&CT") << "nothing dropped";
}

TEST_F(MaskEditor, ModeTwoOffersTheStoredMasksAndSavesUnderANameAskingBeforeReplacing) {
  Write(SetFile(), "DESC_TOP", "MASK0", "First;#1");
  Write(SetFile(), "DESC_TOP", "MASK1", "no separator");
  Write(SetFile(), "DESC_TOP", "MASK2", "Second;&VE");
  Write(IniFile(), "DESC", "MASK_TOP", "&VE");
  CMaskDefDlg dialog('T', "ignored", CMaskDefDlg::kActive, nullptr);
  driver.OnDialog(IDD_MASK_NAME, {DialogAction::Set(IDC_MASK_NAME_TEXT, "first"), DialogAction::Ok()});
  driver.OnDialog(IDD_MASK_NAME, {DialogAction::Set(IDC_MASK_NAME_TEXT, "Third"), DialogAction::Ok()});
  driver.OnDialog(IDD_MASK_NAME, {DialogAction::Set(IDC_MASK_NAME_TEXT, "FIRST"), DialogAction::Ok()});
  driver.AnswerMessageBox(IDNO);
  driver.AnswerMessageBox(IDYES);
  std::vector<std::string> seen;
  auto look = [&] { return Look([&] { seen.push_back(Combo(dialog) + " || " + Rows(dialog.maskList)); }); };
  EXPECT_EQ(Run(dialog, {look(), DialogAction::Click(IDC_MASK_SAVE), look(), DialogAction::Click(IDC_MASK_SAVE), look(),
                         DialogAction::Choose(IDC_MASK_STORED, 0), look(), DialogAction::Ok()}),
            IDOK);
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[0], "Proposed mask=@3 | First=#1@0 | [Second=&VE@2] || Valve");
  EXPECT_EQ(seen[1], "Proposed mask=@4 | First=#1@0 | Second=&VE@2 | [Third=&VE@3] || Valve")
      << "No to replacing First asks for the name again; the new mask takes the free key";
  EXPECT_EQ(seen[2], "Proposed mask=@4 | [First=&VE@0] | Second=&VE@2 | Third=&VE@3 || Valve");
  EXPECT_EQ(seen[3], "[Proposed mask=@4] | First=&VE@0 | Second=&VE@2 | Third=&VE@3 || ")
      << "a stored mask chosen replaces the parts";
  const std::string question = "Label mask|" + FormatResourceText(String(IDS_MASK_NAME_TAKEN).c_str(), "first") + "|36";
  const std::string again = "Label mask|" + FormatResourceText(String(IDS_MASK_NAME_TAKEN).c_str(), "FIRST") + "|36";
  EXPECT_EQ(Boxes(), (std::vector<std::string>{question, again}));
  EXPECT_EQ(Section(SetFile(), "DESC_TOP"),
            "MASK0=First;&VE|MASK1=no separator|MASK2=Second;&VE|MASK3=Third;&VE|MASK4=Proposed mask;")
      << "saves write at once, OK the active mask under the proposed mask's key";
  EXPECT_EQ(Read(IniFile(), "DESC", "MASK_TOP"), "");
}

TEST_F(MaskEditor, ModeOneSelectsTheProposedMaskAndRefusesOneThatWouldNotComeBackWhole) {
  Write(SetFile(), "DESC_TOP", "MASK0", "A;#1 ");
  Write(SetFile(), "DESC_TOP", "MASK1", "PROPOSED MASK;old");
  Write(IniFile(), "DESC", "MASK_TOP", "#1 ");
  CMaskDefDlg proposed('T', "#1 &VE ", CMaskDefDlg::kProposed, nullptr);
  std::string combo, rows;
  EXPECT_EQ(Run(proposed, {Look([&] {
                             combo = Combo(proposed);
                             rows = Rows(proposed.maskList);
                           }),
                           DialogAction::Ok()}),
            IDOK);
  EXPECT_EQ(combo, "[PROPOSED MASK=#1 &VE @1] | A=#1@0") << "profile values are read trimmed";
  EXPECT_EQ(rows, "Code | Text \" \" | Valve | Text \" \"");
  EXPECT_NE(FileText(SetFile()).find("MASK1=Proposed mask;#1 &VE \r\n"), std::string::npos) << FileText(SetFile());
  EXPECT_NE(FileText(IniFile()).find("MASK_TOP=#1 &VE \r\n"), std::string::npos) << FileText(IniFile());

  const std::string tooLong(255 - 14, 'x');  // with "Proposed mask;" one past what a reader sees
  CMaskDefDlg refused('T', tooLong.c_str(), CMaskDefDlg::kProposed, nullptr);
  EXPECT_EQ(Run(refused, {DialogAction::Ok(), DialogAction::Cancel()}), IDCANCEL) << "OK leaves the dialog open";
  EXPECT_EQ(Boxes(), std::vector<std::string>{GetHostProductTitle() + std::string("|") + String(IDS_MASK_TOO_LONG) + "|48"});
  EXPECT_EQ(Read(IniFile(), "DESC", "MASK_TOP"), "#1 &VE");
}

TEST_F(MaskEditor, SavesTakeKeysThatAreEmptyAndLeaveAMaskPastAGapAlone) {
  // The list reads MASK0 and MASK1; MASK3 lies past the gap.
  Write(SetFile(), "DESC_TOP", "MASK0", "A;#1");
  Write(SetFile(), "DESC_TOP", "MASK1", "B;#2");
  Write(SetFile(), "DESC_TOP", "MASK3", "Behind;&VE");
  driver.OnDialog(IDD_MASK_NAME, {DialogAction::Set(IDC_MASK_NAME_TEXT, "X"), DialogAction::Ok()});
  driver.OnDialog(IDD_MASK_NAME, {DialogAction::Set(IDC_MASK_NAME_TEXT, "Y"), DialogAction::Ok()});
  CMaskDefDlg dialog('T', "", CMaskDefDlg::kActive, nullptr);
  std::string combo;
  EXPECT_EQ(Run(dialog, {DialogAction::Choose(IDC_MASK_STORED, 1), DialogAction::Click(IDC_MASK_SAVE),
                         DialogAction::Choose(IDC_MASK_STORED, 2), DialogAction::Click(IDC_MASK_SAVE),
                         Look([&] { combo = Combo(dialog); }), DialogAction::Ok()}),
            IDOK);
  EXPECT_EQ(combo, "Proposed mask=@5 | A=#1@0 | B=#2@1 | X=#1@2 | [Y=#2@4]");
  EXPECT_EQ(Section(SetFile(), "DESC_TOP"),
            "MASK0=A;#1|MASK1=B;#2|MASK3=Behind;&VE|MASK2=X;#1|MASK4=Y;#2|MASK5=Proposed mask;#2");
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(MaskEditor, WithEveryKeyTakenTheProposedMaskIsNotStored) {
  for (int key = 0; key < 100; ++key) Write(SetFile(), "DESC_ZDRAVO", ("MASK" + std::to_string(key)).c_str(), "m;d");
  driver.OnDialog(IDD_MASK_NAME, {DialogAction::Set(IDC_MASK_NAME_TEXT, "New"), DialogAction::Ok()});
  CMaskDefDlg dialog('Z', "", CMaskDefDlg::kActive, nullptr);
  std::string combo;
  EXPECT_EQ(Run(dialog, {DialogAction::Click(IDC_MASK_SAVE), Look([&] { combo = Combo(dialog); }), DialogAction::Ok()}),
            IDOK);
  EXPECT_EQ(Boxes(), std::vector<std::string>{GetHostProductTitle() + std::string("|") + String(IDS_MASK_LIST_FULL) +
                                              "|48"})
      << "a save with no key left says so";
  EXPECT_EQ(combo.find("New"), std::string::npos) << "and lists nothing new: " << combo;
  EXPECT_EQ(Read(SetFile(), "DESC_ZDRAVO", "MASK100"), "(none)");
  EXPECT_EQ(Read(SetFile(), "DESC_ZDRAVO", "MASK99"), "m;d");
  EXPECT_EQ(Read(IniFile(), "DESC", "MASK_ZDRAVO"), "") << "the active mask is written";
}

TEST_F(MaskEditor, ModeZeroCutsTheBandFromTheSaveButtonDown) {
  CDialog plain(IDD_MASK_DEF, nullptr);
  ASSERT_TRUE(plain.Create(IDD_MASK_DEF, nullptr));
  CRect window, save, ok, help;
  plain.GetWindowRect(&window);
  plain.GetDlgItem(IDC_MASK_SAVE)->GetWindowRect(&save);
  plain.GetDlgItem(IDOK)->GetWindowRect(&ok);
  plain.GetDlgItem(IDC_HELP_BUTTON)->GetWindowRect(&help);
  plain.DestroyWindow();
  const int h = window.bottom - save.top;
  ASSERT_GT(h, 20);

  CMaskDefDlg dialog('T', "", CMaskDefDlg::kEditListed, nullptr);
  CRect cutWindow, cutOk, cutHelp, combo, client;
  EXPECT_EQ(Run(dialog, {Look([&] {
                           dialog.GetWindowRect(&cutWindow);
                           dialog.GetDlgItem(IDOK)->GetWindowRect(&cutOk);
                           dialog.GetDlgItem(IDC_HELP_BUTTON)->GetWindowRect(&cutHelp);
                           dialog.storedCombo.GetWindowRect(&combo);
                           dialog.ScreenToClient(&combo);
                           dialog.GetClientRect(&client);
                         }),
                         DialogAction::Cancel()}),
            IDCANCEL);
  EXPECT_EQ(cutWindow.Height(), window.Height() - 2 * (h / 2)) << "h/2 off the top and h/2 off the bottom";
  EXPECT_EQ(cutOk.top - cutWindow.top, ok.top - window.top - h) << "moved up by h in the client area";
  EXPECT_EQ(cutHelp.top - cutWindow.top, help.top - window.top - h);
  EXPECT_LT(cutHelp.bottom, cutWindow.bottom);
  EXPECT_GE(combo.top, client.bottom) << "the stored masks are out of sight";
}

}  // namespace
}  // namespace dialogs_tests
