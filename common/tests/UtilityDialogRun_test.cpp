// The tests' dialog run modally from its resource template through the
// input driver, three times over one "Jov.ini": typing through each box's
// filter, Enter staying in the dialog, the histories saved on OK and
// loaded by the next run, and the layout saved on closing and restored at
// the same dots per inch only.
#include <string>

#include "common/tests/UtilityDialogTest.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/profile.h"

using namespace utility_tests;

namespace {

class UtilityDialogRun : public UtilityDialogTest {
 protected:
  std::string Read(const std::string& section, const char* key) const {
    char value[256] = "";
    GetPrivateProfileStringA(section.c_str(), key, "(missing)", value, sizeof value, settings.c_str());
    return value;
  }
  static CRect WindowOf(HWND window) {
    CRect r;
    ::GetWindowRect(window, &r);
    return r;
  }
  static std::string Item(HWND dialog, int id, int index) {
    char text[256] = "";
    if (::SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text)) < 0)
      return "(none)";
    return text;
  }
  static int Count(HWND dialog, int id) { return static_cast<int>(::SendDlgItemMessageA(dialog, id, CB_GETCOUNT, 0, 0)); }
};

}  // namespace

TEST_F(UtilityDialogRun, TypedValuesAndTheLayoutComeBackInTheNextRun) {
  CRect grown;
  {
    UtilityDialog dialog(settings);
    driver.OnDialog(IDD_UTILITIES,
                    {DialogAction::Type(IDC_TYPE_DIGITS, "12a,3"), DialogAction::Key(IDC_TYPE_DIGITS, "Enter"),
                     DialogAction::Run([&](HWND d) {
                       EXPECT_TRUE(::IsWindowVisible(d)) << "Enter did not end the dialog";
                       ASSERT_EQ(dialog.privateMessages.size(), 1u);
                       EXPECT_EQ(dialog.privateMessages[0], std::make_pair(IDC_TYPE_DIGITS, kEnterInComboBox));
                       EXPECT_FALSE(dialog.restored) << "nothing saved yet";
                     }),
                     DialogAction::Type(IDC_TYPE_UNSIGNED, "-3,14"), DialogAction::Type(IDC_TYPE_SIGNED_INT, "-7.5"),
                     DialogAction::Type(IDC_TYPE_SIGNED_DECIMAL, "-0,5x"),
                     DialogAction::Type(IDC_TYPE_FILE_NAME, "C:\\out|put?.txt"),
                     DialogAction::Type(IDC_TYPE_LETTERS, "Ko\x9A" "ice 2"), DialogAction::Set(IDC_TYPE_ANY, "0"),
                     DialogAction::Run([&](HWND d) {
                       const CRect before = WindowOf(d);
                       headless::SizeWindowAsUser(d, before.Width() + 150, before.Height() + 60);
                       grown = WindowOf(d);
                     }),
                     DialogAction::Ok()});
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(dialog.saved);
  }
  EXPECT_EQ(Read(HistorySection(ComboInput::kDigits), "HIST0"), "123");
  EXPECT_EQ(Read(HistorySection(ComboInput::kUnsignedDecimal), "HIST0"), "3.14");
  EXPECT_EQ(Read(HistorySection(ComboInput::kSignedInteger), "HIST0"), "-75");
  EXPECT_EQ(Read(HistorySection(ComboInput::kSignedDecimal), "HIST0"), "-0.5");
  EXPECT_EQ(Read(HistorySection(ComboInput::kFileName), "HIST0"), "Coutput.txt");
  EXPECT_EQ(Read(HistorySection(ComboInput::kLetters), "HIST0"), "Koice");
  EXPECT_EQ(Read(HistorySection(ComboInput::kAny), "HIST0"), "0");
  EXPECT_EQ(Events(UiEvent::Kind::Beep).size(), 12u) << "one beep for each refused character";
  const std::string layout = std::to_string(grown.left) + ";" + std::to_string(grown.top) + ";" +
                             std::to_string(grown.Width()) + ";" + std::to_string(grown.Height()) + ";96;8;" +
                             std::to_string(IDC_RIGHT_PANE) + ";150";
  EXPECT_EQ(Read(kLayoutSection, kLayoutKey), layout);

  // The next run: the histories are loaded, the dialog opens as it was left.
  {
    UtilityDialog dialog(settings);
    driver.OnDialog(IDD_UTILITIES, {DialogAction::Run([&](HWND d) {
                                      EXPECT_TRUE(dialog.restored);
                                      EXPECT_EQ(WindowOf(d), grown);
                                      EXPECT_EQ(Item(d, IDC_TYPE_DIGITS, 0), "123");
                                      EXPECT_EQ(Item(d, IDC_TYPE_ANY, 0), "0") << "a stored 0 is a value";
                                      CRect combo;
                                      ::GetWindowRect(::GetDlgItem(d, IDC_TYPE_ANY), &combo);
                                      EXPECT_EQ(combo.Width(), MulDiv(196, 6, 4) + 150) << "laid out for its size";
                                    }),
                                    DialogAction::Type(IDC_TYPE_DIGITS, "0"), DialogAction::Ok()});
    ASSERT_EQ(dialog.DoModal(), IDOK);
  }
  EXPECT_EQ(Read(HistorySection(ComboInput::kDigits), "HIST0"), "0");
  EXPECT_EQ(Read(HistorySection(ComboInput::kDigits), "HIST1"), "123");

  // At another screen setting the saved layout does not apply.
  SetHeadlessMetrics({1920, 1080, 120});
  {
    UtilityDialog dialog(settings);
    driver.OnDialog(IDD_UTILITIES, {DialogAction::Run([&](HWND d) {
                                      EXPECT_FALSE(dialog.restored);
                                      EXPECT_EQ(WindowOf(d).Size(), dialog.minWindowSize) << "the template's size";
                                      EXPECT_EQ(Count(d, IDC_TYPE_DIGITS), 2) << "the histories still load";
                                      EXPECT_EQ(Item(d, IDC_TYPE_DIGITS, 0), "0");
                                    }),
                                    DialogAction::Cancel()});
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  }
  EXPECT_NE(Read(kLayoutSection, kLayoutKey).find(";120;8;"), std::string::npos)
      << "closing saved the layout of this screen setting";
  for (const UiEvent& e : Events(UiEvent::Kind::DialogAction)) EXPECT_FALSE(e.failed) << e.detail;
}
