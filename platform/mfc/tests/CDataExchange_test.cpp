// Data exchange outside a modal run: numbers of every width in the C
// locale and what is refused, list boxes and sliders, range checks; a
// refused value leaves the focus on its control with the text selected.
#include "platform/mfc/CDataExchange.h"

#include <functional>
#include <string>

#include "platform/mfc/CDialog.h"
#include "platform/mfc/CScrollBar.h"
#include "platform/mfc/tests/framework_fixture.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/virtual_keys.h"

namespace {

class Exchange : public CDialog {
 public:
  std::function<void(CDataExchange*)> exchange;
  afx_msg void OnHScroll(UINT code, UINT, CScrollBar* bar) {
    lastScroll = code;
    scrolledBy = bar;
  }
  UINT lastScroll = 0xFFFF;
  CScrollBar* scrolledBy = nullptr;

 protected:
  void DoDataExchange(CDataExchange* dx) override {
    if (exchange) exchange(dx);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Exchange, CDialog)
  ON_WM_HSCROLL()
END_MESSAGE_MAP()

class DataExchange : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    ASSERT_TRUE(dialog.Create(IDD_MORE));
  }
  void TearDown() override {
    dialog.DestroyWindow();
    FrameworkTest::TearDown();
  }
  void SetAmount(const char* text) { ::SetDlgItemTextA(dialog.m_hWnd, IDC_AMOUNT, text); }
  std::string Amount() {
    char text[64] = "";
    ::GetDlgItemTextA(dialog.m_hWnd, IDC_AMOUNT, text, sizeof text);
    return text;
  }
  template <class T>
  bool Save(T& value) {
    dialog.exchange = [&](CDataExchange* dx) { DDX_Text(dx, IDC_AMOUNT, value); };
    return dialog.UpdateData(TRUE) != 0;
  }
  template <class T>
  std::string Show(T value) {
    dialog.exchange = [&](CDataExchange* dx) { DDX_Text(dx, IDC_AMOUNT, value); };
    dialog.UpdateData(FALSE);
    return Amount();
  }
  std::string LastBoxText() {
    auto boxes = Events(UiEvent::Kind::MessageBox);
    return boxes.empty() ? std::string() : boxes.back().box.text;
  }

  Exchange dialog;
};

}  // namespace

TEST_F(DataExchange, NumbersShowInTheCLocaleWithTheirTypesPrecision) {
  EXPECT_EQ(Show(-12), "-12");
  EXPECT_EQ(Show(4000000000u), "4000000000");
  EXPECT_EQ(Show(0.1), "0.1");
  EXPECT_EQ(Show(1e20), "1e+20");
  EXPECT_EQ(Show(2.0 / 3.0), "0.666666666666667") << "fifteen digits";
  EXPECT_EQ(Show(0.1f), "0.1") << "a float's own digits, not its double's";
  EXPECT_EQ(Show(static_cast<BYTE>(255)), "255");
}

TEST_F(DataExchange, TextsThatAreNoValueOfTheMemberAreRefused) {
  int i = 0;
  SetAmount("  -42 ");
  EXPECT_TRUE(Save(i));
  EXPECT_EQ(i, -42);
  SetAmount("12abc");
  EXPECT_FALSE(Save(i));
  EXPECT_EQ(LastBoxText(), "Please enter an integer.");
  EXPECT_EQ(i, -42) << "the member keeps its value";
  SetAmount("3000000000");
  EXPECT_FALSE(Save(i)) << "beyond a 32-bit int";

  UINT u = 5;
  SetAmount("-1");
  EXPECT_FALSE(Save(u));
  EXPECT_EQ(LastBoxText(), "Please enter a positive integer.");
  short s = 0;
  SetAmount("40000");
  EXPECT_FALSE(Save(s));
  BYTE b = 0;
  SetAmount("256");
  EXPECT_FALSE(Save(b));

  double d = 0;
  SetAmount("1.5e3");
  EXPECT_TRUE(Save(d));
  EXPECT_DOUBLE_EQ(d, 1500.0);
  for (const char* bad : {"1,5", "inf", "nan", "1e999", ""}) {
    SetAmount(bad);
    EXPECT_FALSE(Save(d)) << bad;
  }
  EXPECT_EQ(LastBoxText(), "Please enter a number.");
  EXPECT_DOUBLE_EQ(d, 1500.0);
}

TEST_F(DataExchange, ARefusedValueKeepsTheFocusOnItsTextSelected) {
  SetAmount("many");
  int value = 0;
  EXPECT_FALSE(Save(value));
  HWND amount = ::GetDlgItem(dialog.m_hWnd, IDC_AMOUNT);
  EXPECT_EQ(::GetFocus(), amount);
  DWORD start = 9, end = 9;
  ::SendMessageA(amount, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 4u);

  double ratio = 0;
  dialog.exchange = [&](CDataExchange* dx) {
    DDX_Text(dx, IDC_AMOUNT, ratio);
    DDV_MinMaxDouble(dx, ratio, 0.5, 2.5);
  };
  SetAmount("3");
  EXPECT_FALSE(dialog.UpdateData(TRUE));
  EXPECT_EQ(LastBoxText(), "Please enter a number between 0.5 and 2.5.");
  EXPECT_DOUBLE_EQ(ratio, 3.0) << "the value was taken before it was checked";
}

TEST_F(DataExchange, ListBoxesBySelectionPrefixOrExactText) {
  HWND list = ::GetDlgItem(dialog.m_hWnd, IDC_LIST);
  for (const char* item : {"DN 15", "DN 150", "DN 20"}) ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  CString text = "DN 15";
  int index = -1;
  dialog.exchange = [&](CDataExchange* dx) {
    DDX_LBString(dx, IDC_LIST, text);
    DDX_LBIndex(dx, IDC_LIST, index);
  };
  // Loading goes in map order: the text selects, then the index overrides.
  index = 2;
  dialog.UpdateData(FALSE);
  EXPECT_EQ(::SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
  dialog.exchange = [&](CDataExchange* dx) { DDX_LBString(dx, IDC_LIST, text); };
  text = "DN 15";
  dialog.UpdateData(FALSE);
  EXPECT_EQ(::SendMessageA(list, LB_GETCURSEL, 0, 0), 0) << "the first item starting with the text";

  dialog.exchange = [&](CDataExchange* dx) { DDX_LBStringExact(dx, IDC_LIST, text); };
  text = "DN 1";
  dialog.UpdateData(FALSE);
  EXPECT_EQ(::SendMessageA(list, LB_GETCURSEL, 0, 0), 0) << "no exact match: the selection stays";
  text = "DN 150";
  dialog.UpdateData(FALSE);
  EXPECT_EQ(::SendMessageA(list, LB_GETCURSEL, 0, 0), 1);
  text.Empty();
  ASSERT_TRUE(dialog.UpdateData(TRUE));
  EXPECT_EQ(text, "DN 150");

  ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  dialog.exchange = [&](CDataExchange* dx) {
    DDX_LBString(dx, IDC_LIST, text);
    DDX_LBIndex(dx, IDC_LIST, index);
  };
  ASSERT_TRUE(dialog.UpdateData(TRUE));
  EXPECT_EQ(text, "");
  EXPECT_EQ(index, -1);
}

TEST_F(DataExchange, ASliderKeepsItsPositionInRangeAndReportsKeysToTheDialog) {
  CSliderCtrl* slider = static_cast<CSliderCtrl*>(dialog.GetDlgItem(IDC_SLIDER));
  ASSERT_TRUE(slider->IsKindOf(RUNTIME_CLASS(CSliderCtrl)));
  slider->SetRange(10, 20);
  int position = 50;
  dialog.exchange = [&](CDataExchange* dx) { DDX_Slider(dx, IDC_SLIDER, position); };
  dialog.UpdateData(FALSE);
  EXPECT_EQ(slider->GetPos(), 20) << "held to the range";
  ASSERT_TRUE(dialog.UpdateData(TRUE));
  EXPECT_EQ(position, 20);

  slider->SetFocus();
  headless::QueueKey(VK_LEFT);
  AfxPumpPendingMessages();
  EXPECT_EQ(slider->GetPos(), 19);
  EXPECT_EQ(dialog.lastScroll, static_cast<UINT>(TB_ENDTRACK)) << "the last notification of a key";
  ASSERT_NE(dialog.scrolledBy, nullptr);
  EXPECT_EQ(dialog.scrolledBy->m_hWnd, slider->m_hWnd);
}
