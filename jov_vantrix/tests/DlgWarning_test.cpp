// The pick banner over a host window, with the plug-in's own resources and
// a test host that names the product.
#include "jov_vantrix/frame/DlgWarning.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "jov_vantrix/tests/PluginResourcesTest.h"
#include "jov_vantrix/tests/TestHosts.h"
#include "platform/resources/jov_vantrix/resource_ids.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/resources.h"
#include "platform/win32/virtual_keys.h"

namespace {

class PickBanner : public PluginResourcesTest {
 protected:
  void SetUp() override {
    PluginResourcesTest::SetUp();
    ASSERT_TRUE(host.Loaded());
    hostWindow = TopLevel(WS_OVERLAPPEDWINDOW, {0, 0, 1920, 1080});
  }
  static std::string TextOf(HWND window) {
    char text[512] = "";
    ::GetWindowTextA(window, text, sizeof text);
    return text;
  }
  // Where the template alone puts the banner.
  CRect TemplatePlace() {
    CDialog plain(IDD_PICK_BANNER, CWnd::FromHandle(hostWindow));
    plain.Create(IDD_PICK_BANNER, CWnd::FromHandle(hostWindow));
    CRect r;
    plain.GetWindowRect(&r);
    plain.DestroyWindow();
    return r;
  }

  TestHost host{"full"};
  HWND hostWindow = nullptr;
};

// Takes key messages for the window it stands for.
class KeyTaker : public CStatic {
 public:
  std::vector<UINT> seen;
  BOOL PreTranslateMessage(MSG* msg) override {
    seen.push_back(msg->message);
    return msg->message == WM_KEYDOWN;
  }
};

}  // namespace

TEST_F(PickBanner, ConstructingItShowsTheHintOffTheTemplatesPlaceUnderTheHost) {
  const CRect placed = TemplatePlace();
  auto* banner = new DlgWarning(CWnd::FromHandle(hostWindow));
  ASSERT_NE(banner->m_hWnd, nullptr);
  EXPECT_TRUE(banner->IsWindowVisible());
  EXPECT_EQ(::GetParent(banner->m_hWnd), hostWindow) << "owned by the host's window";
  EXPECT_TRUE(::IsWindowEnabled(hostWindow)) << "modeless: the host goes on taking picks";
  EXPECT_EQ(TextOf(banner->m_hWnd), "Test Host");
  CRect r;
  banner->GetWindowRect(&r);
  EXPECT_EQ(r, placed + CPoint(300, 200)) << "moved, same size";

  char hint[512] = "";
  ::LoadStringA(resources_, IDS_PICK_BANNER, hint, sizeof hint);
  ASSERT_NE(hint[0], '\0');
  EXPECT_EQ(banner->m_text, hint);
  EXPECT_EQ(TextOf(banner->m_textControl.m_hWnd), hint);
  EXPECT_TRUE(banner->m_textControl.IsWindowVisible());

  // The owner's way out: the window first, then the object.
  const HWND window = banner->m_hWnd;
  banner->DestroyWindow();
  EXPECT_FALSE(::IsWindow(window));
  delete banner;
}

TEST_F(PickBanner, WithoutTheHostsTitleTheBannerSaysError) {
  host.Table()->slot[HostSlot::ProductTitle] = nullptr;
  DlgWarning banner(CWnd::FromHandle(hostWindow));
  EXPECT_EQ(TextOf(banner.m_hWnd), "ERROR");
  banner.DestroyWindow();
}

TEST_F(PickBanner, AKeyForTheTextControlReachesTheControlsPreTranslationFirst) {
  DlgWarning banner(CWnd::FromHandle(hostWindow));
  const HWND text = banner.m_textControl.m_hWnd;
  KeyTaker taker;
  banner.m_textControl.UnsubclassWindow();
  ASSERT_TRUE(taker.SubclassWindow(text));

  MSG escape{text, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
  EXPECT_TRUE(banner.PreTranslateMessage(&escape));
  EXPECT_EQ(taker.seen, std::vector<UINT>{WM_KEYDOWN});
  INT_PTR result = 0;
  EXPECT_FALSE(::IsDialogEnded(banner.m_hWnd, &result)) << "the dialog's own keys never saw it";

  // What no child takes goes on to the dialog's own keys: Escape cancels.
  MSG character{text, WM_CHAR, 'x', 0, 0, {0, 0}};
  EXPECT_TRUE(banner.PreTranslateMessage(&character)) << "the dialog manager's";
  EXPECT_EQ(taker.seen, (std::vector<UINT>{WM_KEYDOWN, WM_CHAR}));
  taker.UnsubclassWindow();
  MSG again{text, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
  EXPECT_TRUE(banner.PreTranslateMessage(&again));
  EXPECT_TRUE(::IsDialogEnded(banner.m_hWnd, &result));
  EXPECT_EQ(result, IDCANCEL);
  banner.DestroyWindow();
}
