// The history combo box in the tests' dialog: its history in a profile
// file, its key handling and the character filter as the user types.
#include "common/CComboBoxNew.h"

#include <memory>
#include <string>
#include <vector>

#include "common/tests/UtilityDialogTest.h"
#include "platform/mfc/tests/control_texts.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/profile.h"
#include "platform/win32/virtual_keys.h"

using namespace utility_tests;

namespace {

std::string Text(const CWnd& window) {
  CString text;
  window.GetWindowText(text);
  return text.GetString();
}

class HistoryBox : public OpenDialogTest<UtilityDialog> {
 protected:
  void SetUp() override {
    OpenDialogTest::SetUp();
    dialog = std::make_unique<UtilityDialog>(settings);
    ASSERT_TRUE(dialog->Create(IDD_UTILITIES));
    dialog->ShowWindow(SW_SHOW);
  }
  void Write(const char* section, const char* key, const char* value) {
    ASSERT_TRUE(WritePrivateProfileStringA(section, key, value, settings.c_str()));
  }
  std::string Read(const char* section, const char* key) {
    char value[256] = "";
    GetPrivateProfileStringA(section, key, "(missing)", value, sizeof value, settings.c_str());
    return value;
  }
  // Types into the box as the keyboard would (the edit field has the focus).
  void TypeInto(CComboBoxNew& box, const std::string& text) {
    ::SetFocus(box.GetEditHwnd() ? box.GetEditHwnd() : box.m_hWnd);
    headless::QueueText(text);
    AfxPumpPendingMessages();
  }
  void PressKey(HWND window, UINT key) {
    ::SetFocus(window);
    headless::QueueKey(key);
    AfxPumpPendingMessages();
  }
  size_t Beeps() const { return Events(UiEvent::Kind::Beep).size(); }
};

}  // namespace

TEST_F(HistoryBox, AddingPutsNewTextsOnTopAndRefusesEmptyOrKnownOnes) {
  CComboBoxNew& box = dialog->anyBox;
  EXPECT_FALSE(box.AddToHistory(nullptr, 0));
  EXPECT_FALSE(box.AddToHistory("", 0));
  EXPECT_TRUE(box.AddToHistory("alpha", 0));
  EXPECT_TRUE(box.AddToHistory("beta", 77));
  EXPECT_EQ(ItemTexts(box), (std::vector<std::string>{"beta", "alpha"}));
  EXPECT_EQ(box.GetItemData(0), 77u);
  EXPECT_EQ(box.GetItemData(1), 0u) << "no data given, none set";

  EXPECT_FALSE(box.AddToHistory("alpha", 5));
  EXPECT_EQ(ItemTexts(box), (std::vector<std::string>{"beta", "alpha"})) << "a known text leaves the list as it was";
  EXPECT_EQ(box.GetItemData(1), 0u);
  EXPECT_TRUE(box.AddToHistory("ALPHA", 0)) << "the same letters in another case are another text";
  EXPECT_EQ(box.GetCount(), 3);
}

TEST_F(HistoryBox, AStoredZeroIsAValueAndOnlyAMissingKeyEndsTheHistory) {
  const std::string section = HistorySection(ComboInput::kDigits);
  Write(section.c_str(), "HIST0", "10");
  Write(section.c_str(), "HIST1", "25");
  Write(section.c_str(), "HIST2", "7");
  Write(section.c_str(), "HIST3", "0");
  Write(section.c_str(), "HIST4", "40");
  Write(section.c_str(), "HIST6", "after a gap");
  CComboBoxNew& box = dialog->digitsBox;
  box.ResetContent();
  box.LoadHistory(settings.c_str(), section.c_str(), "HIST");
  EXPECT_EQ(ItemTexts(box), (std::vector<std::string>{"10", "25", "7", "0", "40"}));

  box.ResetContent();
  box.LoadHistory(nullptr, section.c_str(), "HIST");
  box.LoadHistory(settings.c_str(), nullptr, "HIST");
  box.LoadHistory(settings.c_str(), section.c_str(), nullptr);
  EXPECT_EQ(box.GetCount(), 0);
}

TEST_F(HistoryBox, AnEmptyStoredValueIsKeptAsAnItem) {
  Write("H", "HIST0", "a");
  Write("H", "HIST1", "");
  Write("H", "HIST2", "c");
  CComboBoxNew& box = dialog->anyBox;
  box.LoadHistory(settings.c_str(), "H", "HIST");
  EXPECT_EQ(ItemTexts(box), (std::vector<std::string>{"a", "", "c"}));
}

TEST_F(HistoryBox, SavingWritesAtMostMaxItemsAndRemovesWhatAnEarlierSaveLeft) {
  CComboBoxNew& box = dialog->anyBox;
  for (int i = 59; i >= 0; --i) box.AddToHistory(("item " + std::to_string(i)).c_str(), 0);
  ASSERT_EQ(box.GetCount(), 60);
  box.SaveHistory(settings.c_str(), "H", "HIST", 0xFFFFFFFF);
  EXPECT_EQ(Read("H", "HIST59"), "item 59") << "0xFFFFFFFF saves all";

  box.SaveHistory(settings.c_str(), "H", "HIST", 50);
  EXPECT_EQ(Read("H", "HIST0"), "item 0");
  EXPECT_EQ(Read("H", "HIST49"), "item 49");
  EXPECT_EQ(Read("H", "HIST50"), "(missing)");
  EXPECT_EQ(Read("H", "HIST59"), "(missing)");

  // A shorter history loads as it was saved.
  box.ResetContent();
  for (const char* t : {"c", "b", "a"}) box.AddToHistory(t, 0);
  box.SaveHistory(settings.c_str(), "H", "HIST", 50);
  EXPECT_EQ(Read("H", "HIST3"), "(missing)");
  box.ResetContent();
  box.LoadHistory(settings.c_str(), "H", "HIST");
  EXPECT_EQ(ItemTexts(box), (std::vector<std::string>{"a", "b", "c"}));
  box.SaveHistory(settings.c_str(), "H", "HIST", 0);
  EXPECT_EQ(Read("H", "HIST0"), "(missing)") << "nothing to save: nothing left";
}

TEST_F(HistoryBox, SavingLeavesTheSectionsOtherKeysAlone) {
  Write("H", "SEGM_NUMBER", "4");
  Write("H", "HIST07", "not a history key");
  Write("H", "HISTORY", "neither");
  Write("H", "hist5", "a history key in other letters");
  Write("H", "HIST120", "beyond what loads");
  Write("H", "HIST1", "old");
  Write("H", "", "a line without a key name");
  Write("H", "HIST2", "old, after the nameless line");
  dialog->anyBox.AddToHistory("new", 0);
  dialog->anyBox.SaveHistory(settings.c_str(), "H", "HIST", 50);
  EXPECT_EQ(Read("H", "HIST0"), "new");
  EXPECT_EQ(Read("H", "HIST1"), "(missing)");
  EXPECT_EQ(Read("H", "HIST2"), "(missing)") << "a nameless key ends no listing";
  EXPECT_EQ(Read("H", ""), "a line without a key name");
  EXPECT_EQ(Read("H", "HIST5"), "(missing)");
  EXPECT_EQ(Read("H", "HIST120"), "(missing)");
  EXPECT_EQ(Read("H", "SEGM_NUMBER"), "4");
  EXPECT_EQ(Read("H", "HIST07"), "not a history key");
  EXPECT_EQ(Read("H", "HISTORY"), "neither");
}

TEST_F(HistoryBox, SavingWithAMissingArgumentWritesNothing) {
  dialog->anyBox.AddToHistory("kept", 0);
  dialog->anyBox.SaveHistory(nullptr, "H", "HIST", 50);
  dialog->anyBox.SaveHistory(settings.c_str(), nullptr, "HIST", 50);
  dialog->anyBox.SaveHistory(settings.c_str(), "H", nullptr, 50);
  EXPECT_EQ(SettingsText(), "");
}

TEST_F(HistoryBox, DecimalBoxesTypeAPointForACommaWhereDigitBoxesBeep) {
  TypeInto(dialog->unsignedBox, "3,5");
  EXPECT_EQ(Text(dialog->unsignedBox), "3.5");
  EXPECT_EQ(Beeps(), 0u);
  TypeInto(dialog->digitsBox, "3,5");
  EXPECT_EQ(Text(dialog->digitsBox), "35");
  auto beeps = Events(UiEvent::Kind::Beep);
  ASSERT_EQ(beeps.size(), 1u);
  EXPECT_EQ(beeps[0].beepType, 0xFFFFFFFFu) << "the default beep";
  TypeInto(dialog->signedDecimalBox, "-0,25");
  EXPECT_EQ(Text(dialog->signedDecimalBox), "-0.25");
}

TEST_F(HistoryBox, LetterBoxesRefuseAccentedLettersAndFileNameBoxesTheReservedOnes) {
  TypeInto(dialog->lettersBox, "P\xF8" "ed1");  // "Před1" in code page 1250
  EXPECT_EQ(Text(dialog->lettersBox), "Ped");
  EXPECT_EQ(Beeps(), 2u);
  TypeInto(dialog->fileNameBox, "a:b*c \xE8.txt");
  EXPECT_EQ(Text(dialog->fileNameBox), "abc \xE8.txt");
  TypeInto(dialog->anyBox, "a:b*c");
  EXPECT_EQ(Text(dialog->anyBox), "a:b*c");
  EXPECT_EQ(Beeps(), 4u);
}

TEST_F(HistoryBox, TheLengthLimitStopsTypingUnlessTextIsSelected) {
  CComboBoxNew& box = dialog->digitsBox;
  box.lengthLimit = 3;
  TypeInto(box, "12345");
  EXPECT_EQ(Text(box), "123");
  EXPECT_EQ(Beeps(), 2u);
  headless::QueueKey(VK_BACK);
  headless::QueueText("9");
  AfxPumpPendingMessages();
  EXPECT_EQ(Text(box), "129") << "backspace passes at the limit";
  box.SetEditSel(0, -1);
  TypeInto(box, "7");
  EXPECT_EQ(Text(box), "7") << "a selection is replaced";
  box.lengthLimit = -1;
  TypeInto(box, "77777");
  EXPECT_EQ(Text(box), "777777");
}

TEST_F(HistoryBox, EnterBecomesTheBoxsPrivateMessageForTheDialog) {
  TypeInto(dialog->digitsBox, "42");
  headless::QueueKey(VK_RETURN);
  AfxPumpPendingMessages();
  ASSERT_EQ(dialog->privateMessages.size(), 1u);
  EXPECT_EQ(dialog->privateMessages[0], std::make_pair(IDC_TYPE_DIGITS, kEnterInComboBox))
      << "addressed to the box, not its edit field";
  INT_PTR result = 0;
  EXPECT_FALSE(::IsDialogEnded(dialog->m_hWnd, &result)) << "the default button was not pressed";
  DWORD start = 9, end = 9;
  dialog->digitsBox.SendMessage(CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 2u);

  PressKey(dialog->picker.m_hWnd, VK_RETURN);
  ASSERT_EQ(dialog->privateMessages.size(), 2u);
  EXPECT_EQ(dialog->privateMessages[1], std::make_pair(IDC_PICKER, kEnterInComboBox)) << "a list without edit field";
}

TEST_F(HistoryBox, DeleteOnTheOpenListReportsTheSelectedItem) {
  CComboBoxNew& picker = dialog->picker;
  picker.SetCurSel(1);
  PressKey(picker.m_hWnd, VK_DELETE);
  EXPECT_TRUE(dialog->privateMessages.empty()) << "the list is closed";

  picker.ShowDropDown(TRUE);
  EXPECT_TRUE(picker.droppedDown) << "the reflected drop-down notification";
  PressKey(picker.m_hWnd, VK_DELETE);
  ASSERT_EQ(dialog->privateMessages.size(), 1u);
  EXPECT_EQ(dialog->privateMessages[0], std::make_pair(IDC_PICKER, kDeleteInComboList));
  EXPECT_EQ(dialog->deletedItems, std::vector<LPARAM>{1});
  picker.ShowDropDown(FALSE);
  EXPECT_FALSE(picker.droppedDown);

  // Without the key flag the box keeps Delete to itself.
  dialog->anyBox.AddToHistory("x", 0);
  dialog->anyBox.SetCurSel(0);
  dialog->anyBox.ShowDropDown(TRUE);
  PressKey(dialog->anyBox.GetEditHwnd(), VK_DELETE);
  EXPECT_EQ(dialog->privateMessages.size(), 1u);
}

TEST_F(HistoryBox, InsertOnTheBoxAddsItsTextWhenItsFlagAllows) {
  CComboBoxNew& picker = dialog->picker;
  picker.SetCurSel(2);
  PressKey(picker.m_hWnd, VK_INSERT);
  EXPECT_EQ(ItemTexts(picker), (std::vector<std::string>{"first", "second", "third", "third"}));

  picker.keyFlags = kComboReportDelete;
  PressKey(picker.m_hWnd, VK_INSERT);
  EXPECT_EQ(picker.GetCount(), 4) << "without the flag";

  CComboBoxNew& box = dialog->anyBox;
  box.keyFlags = kComboInsertAdds;
  TypeInto(box, "typed");
  PressKey(box.GetEditHwnd(), VK_INSERT);
  EXPECT_EQ(box.GetCount(), 0) << "only a key on the box itself counts, not one in its edit field";
}

TEST_F(HistoryBox, OnlyADropDownBoxHasAnEditField) {
  HWND edit = dialog->anyBox.GetEditHwnd();
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(::GetParent(edit), dialog->anyBox.m_hWnd);
  char cls[32] = "";
  ::GetClassNameA(edit, cls, sizeof cls);
  EXPECT_STREQ(cls, "Edit");
  EXPECT_EQ(dialog->picker.GetEditHwnd(), nullptr);
}
