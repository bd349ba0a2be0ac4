#include "platform/win32/control_messages.h"
#include "platform/win32/tests/headless_fixture.h"
#include "platform/win32/virtual_keys.h"

using testing_support::HeadlessTest;
using testing_support::SeenBy;

namespace {

class ComboBoxes : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    parent = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 400, 300});
  }
  HWND Combo(DWORD style, int id = 5) {
    return Child(parent, id, {10, 10, 160, 200}, WS_VISIBLE | WS_VSCROLL | style, "ComboBox", "");
  }
  void Add(HWND combo, std::initializer_list<const char*> texts) {
    for (const char* t : texts) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
  }
  std::vector<UINT> Codes(int id = 5) {
    std::vector<UINT> out;
    for (const auto& s : SeenBy(parent, WM_COMMAND))
      if (LOWORD(s.wParam) == id) out.push_back(HIWORD(s.wParam));
    return out;
  }
  std::string Text(HWND w) {
    char buffer[128];
    GetWindowTextA(w, buffer, sizeof buffer);
    return buffer;
  }
  HWND parent = nullptr;
};

}  // namespace

TEST_F(ComboBoxes, ItemsDataSortingAndSearch) {
  HWND c = Combo(CBS_DROPDOWNLIST | CBS_SORT);
  Add(c, {"pear", "Apple", "fig"});
  EXPECT_EQ(SendMessageA(c, CB_GETCOUNT, 0, 0), 3);
  char buffer[16];
  SendMessageA(c, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(buffer));
  EXPECT_STREQ(buffer, "Apple") << "sorted without regard to case";
  EXPECT_EQ(SendMessageA(c, CB_SETITEMDATA, 1, 77), TRUE);
  EXPECT_EQ(SendMessageA(c, CB_GETITEMDATA, 1, 0), 77);
  EXPECT_EQ(SendMessageA(c, CB_GETITEMDATA, 9, 0), CB_ERR);
  EXPECT_EQ(SendMessageA(c, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("P")), 2);
  EXPECT_EQ(SendMessageA(c, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("FIG")), 1);
  EXPECT_EQ(SendMessageA(c, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("fi")), CB_ERR);
  // The search starts after the given item and wraps.
  EXPECT_EQ(SendMessageA(c, CB_FINDSTRING, 2, reinterpret_cast<LPARAM>("a")), 0);
  EXPECT_EQ(SendMessageA(c, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("pe")), 2);
  EXPECT_EQ(Text(c), "pear");
  // Inserting before the selection keeps the same item selected.
  SendMessageA(c, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("kiwi"));
  EXPECT_EQ(SendMessageA(c, CB_GETCURSEL, 0, 0), 3);
  SendMessageA(c, CB_DELETESTRING, 3, 0);
  EXPECT_EQ(SendMessageA(c, CB_GETCURSEL, 0, 0), -1);
  EXPECT_EQ(SendMessageA(c, CB_INSERTSTRING, 9, reinterpret_cast<LPARAM>("x")), CB_ERR);
  EXPECT_TRUE(Codes().empty()) << "changes made by the program tell the owner nothing";
}

TEST_F(ComboBoxes, TheDropDownStyleHasAnEditChild) {
  HWND c = Combo(CBS_DROPDOWN | CBS_AUTOHSCROLL);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(c, &info));
  ASSERT_NE(info.hwndItem, nullptr);
  EXPECT_EQ(GetDlgCtrlID(info.hwndItem), 1001);
  EXPECT_EQ(GetWindow(c, GW_CHILD), info.hwndItem);
  Add(c, {"one", "two"});
  SendMessageA(c, CB_SETCURSEL, 1, 0);
  EXPECT_EQ(Text(info.hwndItem), "two");
  EXPECT_EQ(Text(c), "two");
  SetWindowTextA(c, "free text");
  EXPECT_EQ(Text(info.hwndItem), "free text");
  EXPECT_EQ(SendMessageA(c, CB_GETCURSEL, 0, 0), -1);
  RECT r;
  GetWindowRect(c, &r);
  EXPECT_EQ(r.bottom - r.top, 21) << "the field's height; 190 is the dropped height";
  SendMessageA(c, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(r.bottom - r.top, 190 - 21);
  EXPECT_TRUE(Codes().empty());
}

TEST_F(ComboBoxes, TypingInTheEditTalksToTheOwnerThroughTheBox) {
  HWND c = Combo(CBS_DROPDOWN);
  HWND other = Child(parent, 9, {200, 10, 260, 30}, WS_VISIBLE, "Button", "b");
  Add(c, {"alpha", "beta"});
  SendMessageA(c, CB_SETCURSEL, 0, 0);
  SetFocus(c);
  COMBOBOXINFO info{};
  GetComboBoxInfo(c, &info);
  EXPECT_EQ(GetFocus(), info.hwndItem) << "the box hands the focus to its edit";
  DWORD a = 0, b = 0;
  SendMessageA(c, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
  EXPECT_EQ(b, 5u) << "its text selected";
  headless::QueueText("x");
  Pump();
  EXPECT_EQ(Text(c), "x");
  EXPECT_EQ(SendMessageA(c, CB_GETCURSEL, 0, 0), -1) << "typed text is no item";
  SetFocus(other);
  EXPECT_EQ(Codes(), (std::vector<UINT>{CBN_SETFOCUS, CBN_EDITUPDATE, CBN_EDITCHANGE, CBN_KILLFOCUS}));
}

TEST_F(ComboBoxes, DropDownListByKeyboardAndMouse) {
  HWND c = Combo(CBS_DROPDOWNLIST);
  Add(c, {"red", "green", "blue"});
  headless::QueueClick(c, {140, 10});
  Pump();
  EXPECT_EQ(GetFocus(), c);
  EXPECT_TRUE(SendMessageA(c, CB_GETDROPPEDSTATE, 0, 0));
  headless::QueueKey(VK_DOWN);
  headless::QueueKey(VK_DOWN);
  headless::QueueKey(VK_RETURN);
  Pump();
  EXPECT_FALSE(SendMessageA(c, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(SendMessageA(c, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(Codes(), (std::vector<UINT>{CBN_SETFOCUS, CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELCHANGE, CBN_SELENDOK,
                                        CBN_CLOSEUP}));
  headless::QueueText("b");
  Pump();
  EXPECT_EQ(Text(c), "blue") << "a letter selects the next item beginning with it";
  EXPECT_EQ(SendMessageA(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("pink")), CB_ERR);
  SendMessageA(c, CB_SHOWDROPDOWN, TRUE, 0);
  SendMessageA(c, CB_SHOWDROPDOWN, FALSE, 0);
  const std::vector<UINT> codes = Codes();
  EXPECT_EQ(std::vector<UINT>(codes.end() - 3, codes.end()),
            (std::vector<UINT>{CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP}));
}

TEST_F(ComboBoxes, AnOpenListWantsEnterAndEscape) {
  HWND c = Combo(CBS_DROPDOWN);
  COMBOBOXINFO info{};
  GetComboBoxInfo(c, &info);
  MSG enter{info.hwndItem, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
  EXPECT_FALSE(SendMessageA(info.hwndItem, WM_GETDLGCODE, 0, reinterpret_cast<LPARAM>(&enter)) & DLGC_WANTMESSAGE);
  SendMessageA(c, CB_SHOWDROPDOWN, TRUE, 0);
  EXPECT_TRUE(SendMessageA(info.hwndItem, WM_GETDLGCODE, 0, reinterpret_cast<LPARAM>(&enter)) & DLGC_WANTMESSAGE);
}
