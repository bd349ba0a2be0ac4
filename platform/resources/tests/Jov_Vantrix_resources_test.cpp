// The plug-in's resource file as built: every id its code asks for is there.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/resources/jov_vantrix/resource_ids.h"
#include "platform/resources/tests/BuiltResourceFile.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/image_loading.h"
#include "platform/win32/menus.h"
#include "platform/win32/module_loader.h"
#include "platform/win32/resources.h"
#include "platform/win32/window_api.h"

namespace {

class JovVantrixResources : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadBuiltResourceFile("Jov_Vantrix.qmr");
    ASSERT_NE(module_, nullptr) << LastLoadErrorText();
  }
  void TearDown() override { FreeLibrary(module_); }

  std::string Text(UINT id) {
    char buf[1024];
    int n = LoadStringA(module_, id, buf, sizeof buf);
    return std::string(buf, static_cast<size_t>(n));
  }

  HMODULE module_ = nullptr;
};

}  // namespace

TEST_F(JovVantrixResources, EveryMessageOfTheCommandsExists) {
  for (UINT id : {17, 20, 21, 26, 30, 41, 42, 47, 49, 50, 53, 56, 57}) {
    std::string text = Text(id);
    EXPECT_GT(text.size(), 10u) << "string " << id;
    // Texts may be used as a format with one argument: no stray '%'.
    EXPECT_EQ(text.find('%'), std::string::npos) << "string " << id;
  }
  EXPECT_EQ(Text(IDS_RESET_EXPORT_NUMBERS).back(), '?') << "asked with Yes and No";
}

TEST_F(JovVantrixResources, ImportFilterIsAWindowsFilter) {
  const std::string filter = Text(IDS_FILTER_RESULT_FILES);
  ASSERT_GE(filter.size(), 2u);
  EXPECT_EQ(filter.substr(filter.size() - 2), "||");
  // Descriptions and patterns in pairs, each ended by '|', and one more '|'
  // closing the list: before the last two, one less than twice the pairs,
  // an odd count.
  size_t bars = 0;
  for (char c : filter.substr(0, filter.size() - 2)) bars += c == '|';
  EXPECT_EQ(bars % 2, 1u) << filter;
  EXPECT_NE(filter.find("*.*"), std::string::npos) << "every file can be chosen";
}

TEST_F(JovVantrixResources, DialogIconIsARealIcon) {
  ExpectRealIcon(module_, IDI_JOV_VANTRIX);
}

TEST_F(JovVantrixResources, ThePickBannerIsAHiddenPopupWithItsTextControl) {
  HWND banner = CreateDialogParamA(module_, MAKEINTRESOURCEA(IDD_PICK_BANNER), nullptr,
                                   [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
  ASSERT_NE(banner, nullptr);
  const DWORD style = static_cast<DWORD>(GetWindowLongA(banner, GWL_STYLE));
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & WS_VISIBLE) << "its code shows it once placed";
  HWND text = GetDlgItem(banner, IDC_PICK_BANNER_TEXT);
  ASSERT_NE(text, nullptr);
  char cls[32] = "";
  GetClassNameA(text, cls, sizeof cls);
  EXPECT_STREQ(cls, "Static");
  RECT inside, client;
  GetWindowRect(text, &inside);
  GetClientRect(banner, &client);
  MapWindowPoints(nullptr, banner, reinterpret_cast<POINT*>(&inside), 2);
  EXPECT_LE(inside.right, client.right) << "the text fits in the window";
  EXPECT_LE(inside.bottom, client.bottom);
  DestroyWindow(banner);

  const std::string prompt = Text(IDS_PICK_BANNER);
  EXPECT_GT(prompt.size(), 10u);
  EXPECT_EQ(prompt.find('%'), std::string::npos);
}

TEST_F(JovVantrixResources, ThePreviewMenuHoldsItsFiveCommandsAndTheCursorsAreCursors) {
  HMENU menu = LoadMenuA(module_, MAKEINTRESOURCEA(IDR_PREVIEW_MENU));
  ASSERT_NE(menu, nullptr);
  HMENU popup = GetSubMenu(menu, 0);
  ASSERT_NE(popup, nullptr);
  std::vector<UINT> commands;
  for (int i = 0; i < GetMenuItemCount(popup); ++i)
    if (GetMenuItemID(popup, i) != 0 && GetMenuItemID(popup, i) != static_cast<UINT>(-1))
      commands.push_back(GetMenuItemID(popup, i));
  EXPECT_EQ(commands, (std::vector<UINT>{ID_PREVIEW_PAN, ID_PREVIEW_ZOOM, ID_PREVIEW_ZOOM_WINDOW,
                                         ID_PREVIEW_ZOOM_EXTENTS, ID_PREVIEW_SELECT}));
  DestroyMenu(menu);

  for (int id : {IDC_CURSOR_PICK, IDC_CURSOR_ZOOM, IDC_CURSOR_PAN, IDC_CURSOR_WINDOW}) {
    HCURSOR cursor = LoadCursorA(module_, MAKEINTRESOURCEA(id));
    ASSERT_NE(cursor, nullptr) << id;
    ASSERT_GE(cursor->Size(), 6u + 16u + 40u);
    const BYTE* d = cursor->Bytes();
    EXPECT_EQ(d[2], 2) << "a cursor directory: " << id;
    EXPECT_EQ(d[6], 32) << "32 pixels wide: " << id;
  }
  // The pick cursor as the preview loads it: at 64 x 64.
  EXPECT_NE(LoadImageA(module_, MAKEINTRESOURCEA(IDC_CURSOR_PICK), IMAGE_CURSOR, 64, 64, 0), nullptr);
}
