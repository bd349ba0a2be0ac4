// Popup menus of framework windows: items marked as the menu opens, the
// driver choosing among what is enabled, the choice arriving as a command
// through the window's map; menus loaded from the resources.
#include "platform/mfc/CMenu.h"

#include <vector>

#include "platform/mfc/tests/framework_fixture.h"

namespace {

constexpr UINT kFirstKind = 32772;

class Preview : public CWnd {
 public:
  int kind = 1;
  int opened = 0;

  void Build() {
    CreateEx(0, AfxRegisterWndClass(0), "Preview", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0);
  }
  UINT Popup(CMenu& menu) {
    return static_cast<UINT>(menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RETURNCMD, 10, 10, this));
  }

 protected:
  afx_msg void OnInitMenuPopup(CMenu* popup, UINT, BOOL) {
    ++opened;
    for (int i = 0; i < 3; ++i)
      popup->CheckMenuItem(kFirstKind + static_cast<UINT>(i), MF_BYCOMMAND | (i == kind ? MF_CHECKED : MF_UNCHECKED));
    popup->EnableMenuItem(kFirstKind + 3, MF_BYCOMMAND | (kind == 2 ? MF_GRAYED : MF_ENABLED));
  }
  afx_msg void OnKind(UINT id) { kind = static_cast<int>(id - kFirstKind); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Preview, CWnd)
  ON_WM_INITMENUPOPUP()
  ON_COMMAND_RANGE(kFirstKind, kFirstKind + 2, &Preview::OnKind)
END_MESSAGE_MAP()

void Fill(CMenu& menu) {
  menu.CreatePopupMenu();
  menu.AppendMenu(MF_STRING, kFirstKind, "Lines");
  menu.AppendMenu(MF_STRING, kFirstKind + 1, "Filled");
  menu.AppendMenu(MF_STRING, kFirstKind + 2, "Both");
  menu.AppendMenu(MF_SEPARATOR);
  menu.AppendMenu(MF_STRING, kFirstKind + 3, "Fit");
}

class FrameworkMenus : public FrameworkTest {};

}  // namespace

TEST_F(FrameworkMenus, ItemsAreMarkedAsTheMenuOpensAndTheChoiceIsACommand) {
  Preview preview;
  preview.Build();
  CMenu menu;
  Fill(menu);

  driver.ChooseMenu(kFirstKind + 2);
  EXPECT_TRUE(menu.TrackPopupMenu(TPM_LEFTALIGN, 10, 10, &preview));
  AfxPumpPendingMessages();
  EXPECT_EQ(preview.opened, 1);
  EXPECT_EQ(preview.kind, 2) << "the command came through the map";
  EXPECT_EQ(menu.GetMenuState(kFirstKind + 1, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));

  // Now "Fit" is grey as the menu opens: the driver cannot have it.
  driver.ChooseMenu(kFirstKind + 3);
  EXPECT_EQ(preview.Popup(menu), 0u);
  auto menus = Events(UiEvent::Kind::Menu);
  ASSERT_EQ(menus.size(), 2u);
  std::vector<UINT> offered;
  for (const auto& c : menus[1].menu.commands) offered.push_back(c.first);
  EXPECT_EQ(offered, (std::vector<UINT>{kFirstKind, kFirstKind + 1, kFirstKind + 2}));
  EXPECT_EQ(menu.GetMenuState(kFirstKind + 2, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));

  driver.ChooseMenu(kFirstKind);
  EXPECT_EQ(preview.Popup(menu), kFirstKind) << "returned, not sent";
  AfxPumpPendingMessages();
  EXPECT_EQ(preview.kind, 2);
  preview.DestroyWindow();
}

TEST_F(FrameworkMenus, MenusFromTheResourcesKeepTheirStatesAndTexts) {
  CMenu menu;
  ASSERT_TRUE(menu.LoadMenu(IDR_CONTEXT));
  ASSERT_EQ(menu.GetMenuItemCount(), 1);
  CMenu* popup = menu.GetSubMenu(0);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(popup->GetMenuItemCount(), 2);
  EXPECT_EQ(popup->GetMenuItemID(0), static_cast<UINT>(IDM_NUMBER_ALL));
  EXPECT_EQ(popup->GetMenuState(IDM_UNDO, MF_BYCOMMAND) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
  CString text;
  popup->GetMenuString(IDM_NUMBER_ALL, text, MF_BYCOMMAND);
  EXPECT_EQ(text, "&Number all");
  HMENU handle = menu.GetSafeHmenu();
  EXPECT_EQ(CMenu::FromHandle(handle), &menu);
  EXPECT_FALSE(menu.LoadMenu(IDR_CONTEXT)) << "a menu object holds one menu";
  EXPECT_FALSE(menu.CreatePopupMenu());
  EXPECT_EQ(menu.GetSafeHmenu(), handle);
  EXPECT_TRUE(menu.DestroyMenu());
  EXPECT_FALSE(::IsMenu(handle));
  CMenu other;
  EXPECT_FALSE(other.LoadMenu(12345)) << "no such resource";
}
