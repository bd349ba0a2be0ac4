// Device contexts and drawing objects: selection and saved states, text
// measured from the selected font, memory contexts copied onto a window,
// and image lists that keep their own copy of the bitmaps added.
#include "platform/mfc/CDC.h"

#include <string>

#include "platform/mfc/CImageList.h"
#include "platform/mfc/tests/framework_fixture.h"

namespace {

class DeviceContexts : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    window = CWnd::FromHandle(TopLevel());
  }
  CWnd* window = nullptr;
};

std::vector<std::string> Ops(const std::vector<GdiRecord>& records) {
  std::vector<std::string> ops;
  for (const GdiRecord& r : records) ops.push_back(r.op);
  return ops;
}

}  // namespace

TEST_F(DeviceContexts, SelectionsAndSavedStatesComeBack) {
  CClientDC dc(window);
  CPen red(PS_SOLID, 2, RGB(255, 0, 0));
  CPen blue(PS_SOLID, 1, RGB(0, 0, 255));
  CPen* original = dc.SelectObject(&red);
  ASSERT_NE(original, nullptr) << "a context starts with the stock pen";
  EXPECT_EQ(dc.SelectObject(&blue)->m_hObject, red.m_hObject);
  dc.SetTextColor(RGB(1, 2, 3));
  EXPECT_EQ(dc.SetTextAlign(TA_BOTTOM | TA_CENTER), TA_LEFT | TA_TOP);
  const int saved = dc.SaveDC();
  dc.SelectObject(&red);
  dc.SetTextColor(RGB(9, 9, 9));
  dc.SetTextAlign(TA_RIGHT);
  ASSERT_TRUE(dc.RestoreDC(saved));
  EXPECT_EQ(dc.GetTextColor(), RGB(1, 2, 3));
  EXPECT_EQ(dc.GetTextAlign(), TA_BOTTOM | TA_CENTER);
  EXPECT_EQ(dc.SelectObject(original)->m_hObject, blue.m_hObject) << "the pen of the saved state";

  EXPECT_FALSE(red.CreatePen(PS_SOLID, 1, 0)) << "a pen holds one handle";
  LOGPEN kept{};
  red.GetObject(sizeof kept, &kept);
  EXPECT_EQ(kept.lopnColor, RGB(255, 0, 0));
}

TEST_F(DeviceContexts, TextIsMeasuredWithTheSelectedFont) {
  CClientDC dc(window);
  CSize plain = dc.GetTextExtent("abcd");
  EXPECT_EQ(plain, CSize(4 * 6, 13)) << "the default dialog font's measures";

  CFont big;
  ASSERT_TRUE(big.CreatePointFont(180, "Arial", &dc));  // 18 pt at 96 dpi: 24 px
  CFont* old = dc.SelectObject(&big);
  CSize large = dc.GetTextExtent("abcd");
  EXPECT_EQ(large.cy, 24);
  EXPECT_EQ(large.cx, 4 * MulDiv(24, 6, 13));
  CRect box(0, 0, 1000, 0);
  dc.DrawText("abcd", &box, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(box.Size(), large) << "measuring draws nothing";
  dc.SelectObject(old);

  CClientDC again(window);
  SetHeadlessMetrics({1920, 1080, 120});
  CFont scaled;
  ASSERT_TRUE(scaled.CreatePointFont(180, "Arial", &again));
  LOGFONTA font{};
  scaled.GetLogFont(&font);
  EXPECT_EQ(font.lfHeight, -30) << "points follow the dots per inch";
}

TEST_F(DeviceContexts, AMemoryContextIsDrawnOffScreenThenCopiedOntoTheWindow) {
  CClientDC screen(window);
  CDC memory;
  ASSERT_TRUE(memory.CreateCompatibleDC(&screen));
  CBitmap canvas;
  ASSERT_TRUE(canvas.CreateCompatibleBitmap(&screen, 50, 40));
  CBitmap* old = memory.SelectObject(&canvas);
  ClearDrawingJournal();
  memory.Rectangle(0, 0, 10, 10);
  EXPECT_TRUE(DrawingJournal(window->m_hWnd).empty()) << "nothing on the window yet";
  screen.BitBlt(5, 6, 50, 40, &memory, 0, 0, SRCCOPY);
  auto onWindow = DrawingJournal(window->m_hWnd);
  ASSERT_EQ(Ops(onWindow), std::vector<std::string>{"BitBlt"});
  EXPECT_EQ(onWindow[0].args[0], 5);
  EXPECT_EQ(onWindow[0].args[1], 6);
  memory.SelectObject(old);
}

TEST_F(DeviceContexts, AnImageListKeepsItsOwnCopyOfABitmapStrip) {
  CImageList images;
  ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 4));
  EXPECT_FALSE(images.Create(16, 16, ILC_COLOR32, 0, 4)) << "one list per object";
  {
    CBitmap strip;
    ASSERT_TRUE(strip.CreateBitmap(48, 16, 1, 32, nullptr));
    EXPECT_EQ(images.Add(&strip, RGB(255, 0, 255)), 0);
  }  // the caller's bitmap is gone
  EXPECT_EQ(images.GetImageCount(), 3);
  ImageListEntry entry;
  ASSERT_TRUE(ImageList_GetEntry(images, 2, &entry));
  EXPECT_EQ(entry.indexInBitmap, 2);
  BITMAP info{};
  ASSERT_NE(::GetObjectA(entry.bitmap, sizeof info, &info), 0) << "the list's copy lives on";
  EXPECT_EQ(info.bmWidth, 48);

  ClearDrawingJournal();
  CClientDC dc(window);
  EXPECT_TRUE(images.Draw(&dc, 2, CPoint(3, 4), ILD_NORMAL));
  auto drawn = DrawingJournal(window->m_hWnd);
  ASSERT_EQ(Ops(drawn), std::vector<std::string>{"BitBlt"});
  EXPECT_EQ(drawn[0].args, (std::vector<int>{3, 4, 16, 16, 32, 0, static_cast<int>(SRCCOPY)})) << "the third image";
}

TEST_F(DeviceContexts, PatternStrokesAreRecordedWithTheBrushAndItsHatch) {
  CClientDC dc(window);
  CBrush hatched;
  ASSERT_TRUE(hatched.CreateHatchBrush(HS_DIAGCROSS, RGB(0, 0, 0)));
  ClearDrawingJournal();
  CBrush* old = dc.SelectObject(&hatched);
  dc.PatBlt(10, 20, 1, -5, PATINVERT);
  dc.SelectStockObject(WHITE_BRUSH);
  dc.PatBlt(1, 2, 3, 4, PATINVERT);
  dc.SelectObject(old);
  auto drawn = DrawingJournal(window->m_hWnd);
  ASSERT_EQ(Ops(drawn), (std::vector<std::string>{"PatBlt", "PatBlt"}));
  EXPECT_EQ(drawn[0].args, (std::vector<int>{10, 20, 1, -5, static_cast<int>(PATINVERT)}));
  EXPECT_EQ(drawn[0].brushStyle, BS_HATCHED);
  EXPECT_EQ(drawn[0].brushHatch, HS_DIAGCROSS);
  EXPECT_EQ(drawn[1].brushStyle, BS_SOLID);
  EXPECT_EQ(drawn[1].color, RGB(255, 255, 255));
  const LOGBRUSH unknown{BS_HATCHED, 0, 6};
  EXPECT_EQ(CreateBrushIndirect(&unknown), nullptr) << "no such hatch";
}
