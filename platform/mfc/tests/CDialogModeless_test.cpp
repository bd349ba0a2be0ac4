// A modeless dialog shaped like the module's pick banner: created shown
// under the host's window, placed off its template position, its text from
// the string table through data exchange, children offered each message
// before the dialog, destroyed by its owner window first, object second.
#include <string>
#include <vector>

#include "platform/mfc/CDataExchange.h"
#include "platform/mfc/CDialog.h"
#include "platform/mfc/CStatic.h"
#include "platform/mfc/tests/framework_fixture.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/virtual_keys.h"

namespace {

std::vector<std::string>& Trace() {
  static std::vector<std::string> trace;
  return trace;
}

class KeyStatic : public CStatic {
 public:
  bool takeKeys = false;
  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message == WM_KEYDOWN) {
      Trace().push_back("static");
      if (takeKeys) return TRUE;
    }
    return CStatic::PreTranslateMessage(msg);
  }
};

class Banner : public CDialog {
 public:
  explicit Banner(CWnd* parent) : CDialog(IDD_BANNER, parent) { Create(IDD_BANNER, parent); }

  KeyStatic text;
  CString message;
  CRect templatePlace;
  bool destroyed = false;

  BOOL PreTranslateMessage(MSG* msg) override {
    for (CWnd* child = GetTopWindow(); child; child = child->GetNextWindow())
      if (child->PreTranslateMessage(msg)) return TRUE;
    if (msg->message == WM_KEYDOWN) Trace().push_back("dialog");
    return CDialog::PreTranslateMessage(msg);
  }

 protected:
  void DoDataExchange(CDataExchange* dx) override {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_BANNER_TEXT, text);
    DDX_Text(dx, IDC_BANNER_TEXT, message);
  }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    SetWindowText("Host 2024");
    GetWindowRect(&templatePlace);
    SetWindowPos(nullptr, templatePlace.left + 300, templatePlace.top + 200, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    message.LoadString(IDS_BANNER);
    text.ShowWindow(SW_SHOW);
    UpdateData(FALSE);
    return TRUE;
  }
  afx_msg void OnDestroy() {
    destroyed = true;
    CDialog::OnDestroy();
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Banner, CDialog)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

// Its map names the base's own handler.
class PlainBanner : public CDialog {
 public:
  explicit PlainBanner(CWnd* parent) : CDialog(IDD_BANNER, parent) { Create(IDD_BANNER, parent); }

 protected:
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PlainBanner, CDialog)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

class ModelessDialogs : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    Trace().clear();
    host = TopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {50, 40, 1250, 940});
  }
  HWND host = nullptr;
};

}  // namespace

TEST_F(ModelessDialogs, TheBannerShowsAtOnceOffsetFromItsTemplatePlace) {
  auto* banner = new Banner(CWnd::FromHandle(host));
  ASSERT_NE(banner->m_hWnd, nullptr);
  EXPECT_TRUE(banner->IsWindowVisible());
  EXPECT_EQ(::GetWindow(banner->m_hWnd, GW_OWNER), host);
  EXPECT_EQ(banner->GetParent()->m_hWnd, host) << "a popup's parent is its owner";

  // The template places the popup's client area in dialog units from the
  // owner's client area; the banner then moved itself by (300, 200).
  RECT units = {20, 20, 200, 50};
  ::MapDialogRect(banner->m_hWnd, &units);
  POINT hostClient = {0, 0};
  ::ClientToScreen(host, &hostClient);
  POINT client = {0, 0};
  ::ClientToScreen(banner->m_hWnd, &client);
  EXPECT_EQ(client.x, hostClient.x + units.left + 300);
  EXPECT_EQ(client.y, hostClient.y + units.top + 200);

  CRect now;
  banner->GetWindowRect(&now);
  EXPECT_EQ(now.TopLeft(), banner->templatePlace.TopLeft() + CSize(300, 200));
  EXPECT_EQ(now.Size(), banner->templatePlace.Size());
  CRect inside;
  banner->GetClientRect(&inside);
  RECT size = {0, 0, 180, 30};
  ::MapDialogRect(banner->m_hWnd, &size);
  EXPECT_EQ(inside.Size(), CSize(size.right, size.bottom)) << "the template's size is the client's";

  CString title;
  banner->GetWindowText(title);
  EXPECT_EQ(title, "Host 2024");
  CString shown;
  banner->text.GetWindowText(shown);
  EXPECT_EQ(shown, "Pick the network in the drawing.");
  EXPECT_EQ(banner->GetDlgItem(IDC_BANNER_TEXT), &banner->text);

  HWND window = banner->m_hWnd;
  banner->DestroyWindow();
  EXPECT_TRUE(banner->destroyed);
  EXPECT_EQ(banner->m_hWnd, nullptr);
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_EQ(banner->text.m_hWnd, nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(window), nullptr);
  EXPECT_EQ(::GetActiveWindow(), host) << "the host is active again";
  delete banner;
}

TEST_F(ModelessDialogs, AKeyForTheTextReachesItsOwnPreTranslationFirst) {
  Banner banner(CWnd::FromHandle(host));
  banner.text.SetFocus();
  headless::QueueKey(VK_F5);
  EXPECT_GT(AfxPumpPendingMessages(), 0);
  // The host's loop walks from the text up: the text first, then the
  // dialog, which offers the key to its children once more.
  const std::vector<std::string> walked = {"static", "static", "dialog"};
  EXPECT_EQ(Trace(), walked);

  Trace().clear();
  banner.text.takeKeys = true;
  MSG msg{};
  msg.hwnd = banner.text.m_hWnd;
  msg.message = WM_KEYDOWN;
  msg.wParam = VK_F5;
  EXPECT_TRUE(banner.PreTranslateMessage(&msg)) << "the text took it: the walk ends";
  EXPECT_EQ(Trace(), std::vector<std::string>{"static"});
  banner.DestroyWindow();
}

TEST_F(ModelessDialogs, EscapeInAModelessDialogGoesThroughTheDialogManager) {
  PlainBanner banner(CWnd::FromHandle(host));
  HWND window = banner.m_hWnd;
  banner.SetFocus();
  headless::QueueKey(VK_ESCAPE);
  AfxPumpPendingMessages();
  // The default OnCancel of a modeless dialog ends it without destroying it.
  EXPECT_TRUE(::IsWindow(window));
  EXPECT_FALSE(::IsWindowVisible(window));
  INT_PTR result = 0;
  EXPECT_TRUE(::IsDialogEnded(window, &result));
  EXPECT_EQ(result, IDCANCEL);
  banner.DestroyWindow();
}
