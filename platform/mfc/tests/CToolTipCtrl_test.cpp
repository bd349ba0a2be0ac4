// Tool tips with fixed, resource and callback texts (asked from the window
// holding the tool through its message map), and image lists lent to a
// list view and drawn through a device context.
#include <string>

#include "platform/mfc/CButton.h"
#include "platform/mfc/CDC.h"
#include "platform/mfc/CImageList.h"
#include "platform/mfc/CListCtrl.h"
#include "platform/mfc/CToolTipCtrl.h"
#include "platform/mfc/tests/framework_fixture.h"
#include "platform/win32/resources.h"

namespace {

class Panel : public CWnd {
 public:
  CButton zoomIn, zoomOut;
  CToolTipCtrl tips;
  int asked = 0;

  void Build() {
    CreateEx(0, AfxRegisterWndClass(0), "Panel", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 400, 300), nullptr, 0);
    zoomIn.Create("+", WS_CHILD | WS_VISIBLE, CRect(0, 0, 20, 20), this, 1034);
    zoomOut.Create("-", WS_CHILD | WS_VISIBLE, CRect(20, 0, 40, 20), this, 1037);
    tips.Create(this, TTS_ALWAYSTIP);
  }

 protected:
  // Only the zoom-in button's text is known; the rest stays unanswered.
  afx_msg BOOL OnToolTipText(UINT, NMHDR* header, LRESULT* result) {
    ++asked;
    auto* tip = reinterpret_cast<TOOLTIPTEXTA*>(header);
    UINT id = static_cast<UINT>(header->idFrom);
    if (tip->uFlags & TTF_IDISHWND) id = static_cast<UINT>(::GetDlgCtrlID(reinterpret_cast<HWND>(header->idFrom)));
    *result = 0;
    if (id != 1034) return FALSE;
    tip->lpszText = MAKEINTRESOURCEA(IDS_COUNT_PROMPT);
    tip->hinst = AfxGetResourceHandle();
    return TRUE;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Panel, CWnd)
  ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, &Panel::OnToolTipText)
END_MESSAGE_MAP()

class ToolTipsAndImages : public FrameworkTest {};

}  // namespace

TEST_F(ToolTipsAndImages, CallbackTextsAreAskedFromTheWindowHoldingTheTool) {
  Panel panel;
  panel.Build();
  ASSERT_TRUE(panel.tips.AddTool(&panel.zoomIn, LPSTR_TEXTCALLBACK));
  ASSERT_TRUE(panel.tips.AddTool(&panel.zoomOut, LPSTR_TEXTCALLBACK));
  EXPECT_EQ(panel.tips.GetToolCount(), 2);
  EXPECT_EQ(panel.asked, 0) << "nothing is asked until a tip would show";
  CString text;
  panel.tips.GetText(text, &panel.zoomIn);
  EXPECT_EQ(text, "How many?");
  panel.tips.GetText(text, &panel.zoomOut);
  EXPECT_EQ(text, "");
  EXPECT_EQ(panel.asked, 2);

  panel.tips.UpdateTipText("Zoom out", &panel.zoomOut);
  panel.tips.GetText(text, &panel.zoomOut);
  EXPECT_EQ(text, "Zoom out");
  EXPECT_EQ(panel.asked, 2) << "a fixed text needs no asking";
  panel.tips.DelTool(&panel.zoomOut);
  EXPECT_EQ(panel.tips.GetToolCount(), 1);
  panel.tips.GetText(text, &panel.zoomOut);
  EXPECT_EQ(text, "");

  ASSERT_TRUE(panel.tips.AddTool(&panel, IDS_BANNER, CRect(100, 100, 150, 150), 7));
  panel.tips.GetText(text, &panel, 7);
  EXPECT_EQ(text, "Pick the network in the drawing.") << "a rectangle tool with a string resource";
  panel.DestroyWindow();
}

TEST_F(ToolTipsAndImages, AnImageListLentToAListViewIsTheSameObjectWhenAskedBack) {
  Panel panel;
  panel.Build();
  CListCtrl list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 30, 300, 200), &panel, 10));
  CImageList images;
  ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 4));
  HICON warning = ::LoadIconA(nullptr, IDI_WARNING);
  ASSERT_NE(warning, nullptr);
  EXPECT_EQ(images.Add(warning), 0);
  EXPECT_EQ(images.Add(::LoadIconA(nullptr, IDI_QUESTION)), 1);
  EXPECT_EQ(images.GetImageCount(), 2);

  EXPECT_EQ(list.SetImageList(&images, LVSIL_SMALL), nullptr);
  EXPECT_EQ(list.GetImageList(LVSIL_SMALL), &images);
  EXPECT_EQ(list.GetImageList(LVSIL_NORMAL), nullptr);

  ClearDrawingJournal();
  {
    CClientDC dc(&panel);
    EXPECT_TRUE(images.Draw(&dc, 1, CPoint(4, 5), ILD_NORMAL));
    EXPECT_FALSE(images.Draw(&dc, 2, CPoint(4, 5), ILD_NORMAL)) << "no such image";
  }
  auto drawn = DrawingJournal(panel.m_hWnd);
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].op, "DrawIconEx");
  EXPECT_EQ(drawn[0].args[0], 4);
  EXPECT_EQ(drawn[0].args[1], 5);

  EXPECT_TRUE(images.Remove(0));
  EXPECT_EQ(images.GetImageCount(), 1);
  list.DestroyWindow();
  EXPECT_EQ(images.GetImageCount(), 1) << "the list does not own what it was lent";
  panel.DestroyWindow();
}
