// What a resizable dialog relies on: the size and minimum-size messages as
// the user drags the frame, deferred moving of its controls, minimising and
// maximising with the placement that remembers the normal rectangle, and
// the display's measures.
#include <vector>

#include "platform/mfc/CDC.h"
#include "platform/mfc/CDialog.h"
#include "platform/mfc/tests/framework_fixture.h"

namespace {

struct SizeCall {
  UINT type;
  int cx, cy;
};

class ResizableForm : public CDialog {
 public:
  ResizableForm() : CDialog(IDD_FORM) {}

  CSize minWindow{-1, -1};
  CSize clientAtInit{-1, -1};
  std::vector<SizeCall> sizes;

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    CRect r;
    GetWindowRect(&r);
    minWindow = r.Size();
    GetClientRect(&r);
    clientAtInit = r.Size();
    return TRUE;
  }
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* info) {
    if (minWindow.cx >= 0) info->ptMinTrackSize = CPoint(minWindow.cx, minWindow.cy);
  }
  // The buttons keep their distance from the bottom-right corner.
  afx_msg void OnSize(UINT type, int cx, int cy) {
    CDialog::OnSize(type, cx, cy);
    const bool first = sizes.empty();
    sizes.push_back({type, cx, cy});
    if (type == SIZE_MINIMIZED || first || clientAtInit.cx < 0) return;
    const SizeCall& before = sizes[sizes.size() - 2];
    const int dx = cx - before.cx, dy = cy - before.cy;
    HDWP defer = ::BeginDeferWindowPos(2);
    for (int id : {IDOK, IDCANCEL}) {
      CWnd* button = GetDlgItem(id);
      CRect r;
      button->GetWindowRect(&r);
      ScreenToClient(&r);
      defer = ::DeferWindowPos(defer, button->m_hWnd, nullptr, r.left + dx, r.top + dy, 0, 0,
                               SWP_NOSIZE | SWP_NOZORDER);
    }
    ::EndDeferWindowPos(defer);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ResizableForm, CDialog)
  ON_WM_GETMINMAXINFO()
  ON_WM_SIZE()
END_MESSAGE_MAP()

class DialogLayout : public FrameworkTest {
 protected:
  static CRect ClientRectOf(CWnd* parent, int id) {
    CRect r;
    parent->GetDlgItem(id)->GetWindowRect(&r);
    parent->ScreenToClient(&r);
    return r;
  }
};

}  // namespace

TEST_F(DialogLayout, DraggingTheFrameKeepsTheMinimumAndMovesTheButtons) {
  ResizableForm form;
  ASSERT_TRUE(form.Create(IDD_FORM));
  const CRect okBefore = ClientRectOf(&form, IDOK);
  CRect window;
  form.GetWindowRect(&window);

  headless::SizeWindowAsUser(form.m_hWnd, window.Width() + 100, window.Height() + 50);
  CRect client;
  form.GetClientRect(&client);
  EXPECT_EQ(client.Size(), form.clientAtInit + CSize(100, 50));
  ASSERT_FALSE(form.sizes.empty());
  EXPECT_EQ(form.sizes.back().type, static_cast<UINT>(SIZE_RESTORED));
  EXPECT_EQ(form.sizes.back().cx, client.Width());
  EXPECT_EQ(form.sizes.back().cy, client.Height());
  EXPECT_EQ(ClientRectOf(&form, IDOK), okBefore + CPoint(100, 50)) << "moved by the deferred positions";

  headless::SizeWindowAsUser(form.m_hWnd, 50, 40);
  form.GetWindowRect(&window);
  EXPECT_EQ(window.Size(), form.minWindow) << "not smaller than at initialisation";
  EXPECT_EQ(ClientRectOf(&form, IDOK), okBefore);
  form.DestroyWindow();
}

TEST_F(DialogLayout, MinimisingAndMaximisingKeepTheNormalPlacement) {
  ResizableForm form;
  ASSERT_TRUE(form.Create(IDD_FORM));
  form.ShowWindow(SW_SHOW);
  CRect normal;
  form.GetWindowRect(&normal);

  form.ShowWindow(SW_MINIMIZE);
  EXPECT_TRUE(form.IsIconic());
  EXPECT_EQ(form.sizes.back().type, static_cast<UINT>(SIZE_MINIMIZED));
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  ASSERT_TRUE(form.GetWindowPlacement(&placement));
  EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWMINIMIZED));
  EXPECT_EQ(CRect(placement.rcNormalPosition), normal);

  form.ShowWindow(SW_MAXIMIZE);
  EXPECT_TRUE(form.IsZoomed());
  EXPECT_FALSE(form.IsIconic());
  EXPECT_EQ(form.sizes.back().type, static_cast<UINT>(SIZE_MAXIMIZED));
  CRect client;
  form.GetClientRect(&client);
  EXPECT_GE(client.Width(), 1920 - 2 * headless::kThickFrame) << "the screen's width within the frame";

  // A new normal rectangle while maximised takes effect on restoring.
  ASSERT_TRUE(form.GetWindowPlacement(&placement));
  EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
  placement.rcNormalPosition = CRect(200, 150, 200 + normal.Width() + 40, 150 + normal.Height());
  form.SetWindowPlacement(&placement);
  EXPECT_TRUE(form.IsZoomed());
  form.ShowWindow(SW_RESTORE);
  CRect restored;
  form.GetWindowRect(&restored);
  EXPECT_EQ(restored, CRect(placement.rcNormalPosition));
  EXPECT_EQ(form.sizes.back().cx, form.clientAtInit.cx + 40);
  form.DestroyWindow();
}

TEST_F(DialogLayout, TheDisplaysMeasuresComeFromTheConfiguredMetrics) {
  ResizableForm form;
  ASSERT_TRUE(form.Create(IDD_FORM));
  CDC* dc = form.GetDC();
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(dc->GetDeviceCaps(LOGPIXELSY), 96);
  form.ReleaseDC(dc);

  SetHeadlessMetrics({1280, 1024, 120});
  EXPECT_EQ(::GetSystemMetrics(SM_CXSCREEN), 1280);
  EXPECT_EQ(::GetSystemMetrics(SM_CYSCREEN), 1024);
  CClientDC client(&form);
  EXPECT_EQ(client.GetDeviceCaps(LOGPIXELSY), 120);
  form.DestroyWindow();
}
