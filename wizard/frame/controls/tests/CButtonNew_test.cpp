// The arrow button: its system bitmap, how it draws raised and pressed (as
// the recording device context keeps it), and its click told to the
// parent afterwards.
#include "wizard/frame/controls/CButtonNew.h"

#include <vector>

#include "platform/win32/driver/window_pictures.h"
#include "wizard/frame/controls/tests/ControlsTest.h"

using namespace controls_tests;

namespace {

class ArrowButton : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                nullptr, nullptr));
  }
  void TearDown() override {
    if (button.m_hWnd) button.DestroyWindow();
    parent.DestroyWindow();
    ControlsTest::TearDown();
  }
  // What the button drew when painted last.
  std::vector<GdiRecord> Paint() {
    ClearDrawingJournal();
    button.Invalidate();
    button.UpdateWindow();
    return DrawingJournal(button.m_hWnd);
  }

  CWnd parent;
  CButtonNew button;
};

}  // namespace

TEST_F(ArrowButton, APressedButtonDrawsItsBitmapOnePixelOffInASunkenFrame) {
  ASSERT_TRUE(button.Create(&parent, OBM_COMBO, CRect(10, 10, 31, 27), kChoiceButtonId));
  EXPECT_EQ(button.GetStyle() & 0xFFFF, static_cast<DWORD>(BS_OWNERDRAW));
  ASSERT_EQ(button.bitmapWidth, 16);
  ASSERT_EQ(button.bitmapHeight, 16);
  const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_3DDKSHADOW);
  ASSERT_NE(light, dark);

  struct Look {
    bool pressed;
    int x, y;
    COLORREF topLeft, bottomRight;
  };
  // A 21 x 17 button: ((0 + 21 - 16 + 1) >> 1, (0 + 17 - 16 + 1) >> 1).
  for (const Look& look : {Look{false, 3, 1, light, dark}, Look{true, 4, 2, dark, light}, Look{false, 3, 1, light, dark}}) {
    button.SendMessage(BM_SETSTATE, look.pressed);
    const std::vector<GdiRecord> drawn = Paint();
    ASSERT_EQ(drawn.size(), 5u) << "the bitmap and the four edges of the frame";
    EXPECT_EQ(drawn[0].op, "BitBlt");
    EXPECT_EQ(drawn[0].args, (std::vector<int>{look.x, look.y, 21, 17, 0, 0, static_cast<int>(SRCCOPY)}))
        << (look.pressed ? "pressed" : "raised");
    for (size_t edge = 1; edge < 5; ++edge) {
      EXPECT_EQ(drawn[edge].op, "FillRect");
      EXPECT_EQ(drawn[edge].color, edge <= 2 ? look.topLeft : look.bottomRight)
          << (look.pressed ? "pressed" : "raised") << ", edge " << edge;
    }
  }
}

// The painted button read back: the arrow of the system bitmap one pixel
// further right and down while pressed, the frame's light and dark sides
// trading places.
TEST_F(ArrowButton, ItsPictureShowsTheArrowReleasedAndPressed) {
  ASSERT_TRUE(button.Create(&parent, OBM_COMBO, CRect(10, 10, 31, 27), kChoiceButtonId));
  struct Seen {
    RECT arrow{100, 100, -1, -1};  // bounds of the black pixels
    uint32_t topLeft = 0, bottomRight = 0;
  };
  auto look = [&](bool pressed) {
    button.SendMessage(BM_SETSTATE, pressed);
    WindowPicture picture;
    Seen seen;
    EXPECT_TRUE(PaintWindowPicture(button.m_hWnd, &picture));
    EXPECT_EQ(picture.width, 21);
    EXPECT_EQ(picture.height, 17);
    for (int y = 1; y < picture.height - 1; ++y)
      for (int x = 1; x < picture.width - 1; ++x)
        if (picture.At(x, y) == 0) {
          seen.arrow = {std::min<LONG>(seen.arrow.left, x), std::min<LONG>(seen.arrow.top, y),
                        std::max<LONG>(seen.arrow.right, x + 1), std::max<LONG>(seen.arrow.bottom, y + 1)};
        }
    seen.topLeft = picture.At(0, 0);
    seen.bottomRight = picture.At(picture.width - 1, picture.height - 1);
    return seen;
  };
  const Seen released = look(false), pressed = look(true);
  ASSERT_GT(released.arrow.right - released.arrow.left, 4) << "an arrow is seen";
  ASSERT_GT(released.arrow.bottom - released.arrow.top, 2);
  EXPECT_EQ(pressed.arrow.left, released.arrow.left + 1);
  EXPECT_EQ(pressed.arrow.top, released.arrow.top + 1);
  EXPECT_EQ(pressed.arrow.right - pressed.arrow.left, released.arrow.right - released.arrow.left);
  auto rgb = [](COLORREF c) { return static_cast<uint32_t>((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c)); };
  const uint32_t light = rgb(GetSysColor(COLOR_BTNHIGHLIGHT)), dark = rgb(GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(released.topLeft, light);
  EXPECT_EQ(released.bottomRight, dark);
  EXPECT_EQ(pressed.topLeft, dark);
  EXPECT_EQ(pressed.bottomRight, light);
}

TEST_F(ArrowButton, AClickIsPostedToTheParentWithTheParentsOwnWindow) {
  ASSERT_TRUE(button.Create(&parent, OBM_COMBO, CRect(10, 10, 31, 27), kChoiceButtonId));
  button.Click();
  MSG posted{};
  ASSERT_TRUE(PeekMessageA(&posted, nullptr, 0, 0, PM_REMOVE)) << "told after the click, not during it";
  EXPECT_EQ(posted.hwnd, parent.m_hWnd);
  EXPECT_EQ(posted.message, static_cast<UINT>(WM_COMMAND));
  EXPECT_EQ(posted.wParam, static_cast<WPARAM>(kChoiceButtonId));
  EXPECT_EQ(posted.lParam, reinterpret_cast<LPARAM>(parent.m_hWnd));
}

TEST_F(ArrowButton, WithoutItsBitmapThereIsNoButton) {
  EXPECT_FALSE(button.Create(&parent, 4242, CRect(0, 0, 20, 20), kChoiceButtonId));
  EXPECT_EQ(button.m_hWnd, nullptr);
  EXPECT_EQ(button.bitmap, nullptr);
}
