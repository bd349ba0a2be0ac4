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

// What the calls leave in a memory bitmap's pixels: each case draws on a
// white 40 x 40 bitmap and reads pixels back.
TEST_F(DeviceContexts, AMemoryBitmapHoldsThePixelsDrawn) {
  constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = 0, kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);
  constexpr COLORREF kGreen = RGB(0, 255, 0);
  struct Probe {
    int x, y;
    COLORREF expected;
  };
  struct Case {
    const char* what;
    void (*draw)(HDC dc, HDC other);
    std::vector<Probe> probes;
  };
  const Case cases[] = {
      {"FillRect fills up to its right and bottom edges",
       [](HDC dc, HDC) {
         HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
         RECT r{5, 5, 15, 15};
         FillRect(dc, &r, red);
         DeleteObject(red);
       },
       {{5, 5, kRed}, {14, 14, kRed}, {15, 15, kWhite}, {4, 5, kWhite}}},
      {"a one-pixel line",
       [](HDC dc, HDC) {
         MoveToEx(dc, 0, 20, nullptr);
         LineTo(dc, 39, 20);
       },
       {{10, 20, kBlack}, {10, 21, kWhite}, {10, 19, kWhite}}},
      {"Rectangle: the pen's frame around the brush's inside",
       [](HDC dc, HDC) {
         HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
         HGDIOBJ old = SelectObject(dc, blue);
         Rectangle(dc, 20, 20, 30, 30);
         SelectObject(dc, old);
         DeleteObject(blue);
       },
       {{20, 20, kBlack}, {25, 25, kBlue}, {29, 29, kBlack}, {30, 30, kWhite}}},
      {"Ellipse fills its middle, not its corners",
       [](HDC dc, HDC) { Ellipse(dc, 0, 0, 30, 20); },
       {{15, 10, kWhite}, {15, 0, kBlack}, {0, 0, kWhite}}},
      {"PatBlt DSTINVERT and PATINVERT",
       [](HDC dc, HDC) {
         PatBlt(dc, 0, 0, 10, 10, DSTINVERT);
         HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
         HGDIOBJ old = SelectObject(dc, red);
         PatBlt(dc, 20, 0, -10, 10, PATINVERT);  // negative widths go left
         SelectObject(dc, old);
         DeleteObject(red);
       },
       {{0, 0, kBlack}, {9, 9, kBlack}, {10, 0, RGB(0, 255, 255)}, {19, 9, RGB(0, 255, 255)}, {20, 0, kWhite}}},
      {"a transparent cross hatch leaves the gaps alone",
       [](HDC dc, HDC) {
         HBRUSH hatch = CreateHatchBrush(HS_CROSS, RGB(0, 0, 0));
         SetBkMode(dc, TRANSPARENT);
         RECT r{0, 0, 16, 16};
         FillRect(dc, &r, hatch);
         DeleteObject(hatch);
       },
       {{7, 3, kBlack}, {3, 7, kBlack}, {3, 3, kWhite}, {15, 15, kBlack}}},
      {"BitBlt copies, ANDs and XORs the source",
       [](HDC dc, HDC other) {
         BitBlt(dc, 0, 0, 10, 10, other, 0, 0, SRCCOPY);
         BitBlt(dc, 10, 0, 10, 10, other, 0, 0, SRCAND);
         BitBlt(dc, 20, 0, 10, 10, other, 0, 0, SRCINVERT);
       },
       {{0, 0, kGreen}, {15, 5, kGreen}, {25, 5, RGB(255, 0, 255)}, {35, 5, kWhite}}},
      {"StretchBlt doubles each source pixel",
       [](HDC dc, HDC other) {
         SetPixel(other, 0, 0, RGB(255, 0, 0));
         StretchBlt(dc, 0, 0, 4, 4, other, 0, 0, 2, 2, SRCCOPY);
       },
       {{0, 0, kRed}, {1, 1, kRed}, {2, 0, kGreen}, {2, 2, kGreen}, {4, 4, kWhite}}},
      {"RoundRect keeps its corners clear; Arc strokes only its part of the ellipse",
       [](HDC dc, HDC) {
         RoundRect(dc, 0, 0, 20, 20, 10, 10);
         Arc(dc, 20, 20, 40, 40, 40, 30, 30, 20);  // from the right, counter-clockwise to the top
       },
       {{0, 0, kWhite}, {10, 0, kBlack}, {10, 10, kWhite}, {36, 23, kBlack}, {36, 36, kWhite}, {23, 36, kWhite}}},
      {"DrawEdge raised: light top left, dark bottom right, the rectangle adjusted",
       [](HDC dc, HDC) {
         RECT r{0, 0, 10, 10};
         DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST | BF_MIDDLE);
         if (r.left == 2 && r.bottom == 8) SetPixel(dc, 39, 39, RGB(0, 0, 255));
       },
       {{0, 0, GetSysColor(COLOR_3DLIGHT)}, {9, 9, GetSysColor(COLOR_3DDKSHADOW)}, {5, 5, GetSysColor(COLOR_BTNFACE)},
        {39, 39, kBlue}}},
      {"ExtTextOut with ETO_OPAQUE fills its rectangle with the background colour",
       [](HDC dc, HDC) {
         SetBkColor(dc, RGB(0, 0, 255));
         RECT r{0, 0, 30, 5};
         ExtTextOutA(dc, 0, 10, ETO_OPAQUE, &r, "x", 1, nullptr);
       },
       {{29, 4, kBlue}, {30, 4, kWhite}}},
      {"a focus frame inverts every other pixel",
       [](HDC dc, HDC) {
         RECT r{0, 0, 10, 10};
         DrawFocusRect(dc, &r);
       },
       {{0, 0, kBlack}, {1, 0, kWhite}, {2, 0, kBlack}, {5, 5, kWhite}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HDC dc = CreateCompatibleDC(nullptr), other = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 40, 40), green = CreateCompatibleBitmap(dc, 10, 10);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap), oldGreen = SelectObject(other, green);
    ASSERT_EQ(GetPixel(dc, 0, 0), kBlack) << "a new bitmap is black";
    PatBlt(dc, 0, 0, 40, 40, WHITENESS);
    HBRUSH greenBrush = CreateSolidBrush(kGreen);
    RECT all{0, 0, 10, 10};
    FillRect(other, &all, greenBrush);
    DeleteObject(greenBrush);
    c.draw(dc, other);
    for (const Probe& p : c.probes) EXPECT_EQ(GetPixel(dc, p.x, p.y), p.expected) << p.x << ", " << p.y;
    EXPECT_EQ(GetPixel(dc, 40, 0), CLR_INVALID) << "outside the bitmap";
    SelectObject(dc, oldBitmap);
    SelectObject(other, oldGreen);
    DeleteObject(bitmap);
    DeleteObject(green);
    DeleteDC(dc);
    DeleteDC(other);
  }
}

// Text stands where the alignment puts its reference point, in the text
// colour; a window's context draws no pixels unless a picture is taken.
TEST_F(DeviceContexts, TextLandsByItsAlignment) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 60, 40);
  HGDIOBJ old = SelectObject(dc, bitmap);
  auto inkIn = [&](int left, int top, int right, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) n += GetPixel(dc, x, y) != RGB(255, 255, 255);
    return n;
  };
  const struct {
    UINT align;
    RECT inked, clear;
  } cases[] = {
      {TA_LEFT | TA_TOP, {30, 20, 60, 40}, {0, 0, 30, 20}},
      {TA_RIGHT | TA_BOTTOM, {0, 0, 30, 20}, {30, 20, 60, 40}},
      {TA_CENTER | TA_BOTTOM, {15, 0, 45, 20}, {0, 20, 60, 40}},
  };
  for (const auto& c : cases) {
    PatBlt(dc, 0, 0, 60, 40, WHITENESS);
    SetTextAlign(dc, c.align);
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, 30, 20, "Wm", 2);
    EXPECT_GT(inkIn(c.inked.left, c.inked.top, c.inked.right, c.inked.bottom), 10) << c.align;
    EXPECT_EQ(inkIn(c.clear.left, c.clear.top, c.clear.right, c.clear.bottom), 0) << c.align;
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);

  CClientDC screen(window);
  EXPECT_EQ(GetPixel(screen.m_hDC, 1, 1), CLR_INVALID);
}
