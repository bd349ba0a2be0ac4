#include "common/WindowLayoutCodec.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "platform/win32/resources.h"

namespace {

bool Same(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST(WindowLayoutCodec, ALayoutReadsBackAtTheSameDotsPerInchOnly) {
  const std::vector<int> saved = {100, 50, 640, 480, 96, 3};
  WindowLayout layout;
  ASSERT_TRUE(DecodeWindowLayout(saved.data(), saved.size(), 96, &layout));
  EXPECT_EQ(layout.left, 100);
  EXPECT_EQ(layout.top, 50);
  EXPECT_EQ(layout.width, 640);
  EXPECT_EQ(layout.height, 480);
  EXPECT_EQ(ShowCommandToRestore(layout.showCommand), kLayoutMaximized);
  EXPECT_TRUE(layout.changes.empty());
  EXPECT_FALSE(DecodeWindowLayout(saved.data(), saved.size(), 120, &layout)) << "another screen setting";
  EXPECT_EQ(EncodeWindowLayout({100, 50, 640, 480, 96, 3, {}}), saved);
}

TEST(WindowLayoutCodec, ShortLayoutsAndTheShowCommand) {
  const std::vector<int> five = {1, 2, 3, 4, 96};
  WindowLayout layout;
  ASSERT_TRUE(DecodeWindowLayout(five.data(), five.size(), 96, &layout));
  EXPECT_EQ(layout.showCommand, kLayoutNormal) << "no entry 5";
  EXPECT_FALSE(DecodeWindowLayout(five.data(), 4, 96, &layout)) << "fewer than five";
  EXPECT_FALSE(DecodeWindowLayout(nullptr, 0, 96, &layout));

  EXPECT_EQ(ShowCommandToRestore(1), kLayoutNormal);
  EXPECT_EQ(ShowCommandToRestore(8), kLayoutNormal);
  EXPECT_EQ(ShowCommandToRestore(kLayoutMinimized), kLayoutNormal) << "a minimised dialog reopens usable";
  EXPECT_EQ(ShowCommandToSave(true, false), kLayoutMaximized);
  EXPECT_EQ(ShowCommandToSave(false, true), kLayoutMinimized);
  EXPECT_EQ(ShowCommandToSave(false, false), kLayoutNormal);
}

TEST(WindowLayoutCodec, SizeChangesCarryTheControlsIdWithTheHeightFlag) {
  EXPECT_EQ(LayoutIdWord(1, 5058), 0x80000000u | 5058u) << "a height keeps its control's id";
  EXPECT_EQ(LayoutIdWord(2, 5058), 5058u);
  WindowLayout layout{0, 0, 300, 200, 96, 8, {{LayoutIdWord(1, 5058), 40}, {LayoutIdWord(2, 5039), -12}}};
  const std::vector<int> values = EncodeWindowLayout(layout);
  ASSERT_EQ(values.size(), 10u);
  WindowLayout back;
  ASSERT_TRUE(DecodeWindowLayout(values.data(), values.size(), 96, &back));
  ASSERT_EQ(back.changes.size(), 2u);
  EXPECT_EQ(back.changes[0].idWord, 0x80000000u | 5058u);
  EXPECT_EQ(back.changes[0].change, 40);
  EXPECT_EQ(back.changes[1].idWord, 5039u);
  EXPECT_EQ(back.changes[1].change, -12);

  std::vector<int> odd = values;
  odd.push_back(7);
  ASSERT_TRUE(DecodeWindowLayout(odd.data(), odd.size(), 96, &back));
  EXPECT_EQ(back.changes.size(), 2u) << "an entry without its pair is ignored";
}

TEST(WindowLayoutCodec, KeysOfTextsAndResourceIds) {
  EXPECT_EQ(WindowLayoutKey(MAKEINTRESOURCEA(5005)), "#5005_WINDOW_SIZE");
  EXPECT_EQ(WindowLayoutKey("windowPosition"), "windowPosition");
}

TEST(WindowLayoutCodec, ARestoredRectangleIsKeptOnTheScreen) {
  const SIZE none{-1, -1};
  EXPECT_TRUE(Same(FitLayoutOnScreen({100, 900, 740, 1380}, 1920, 1080, none), RECT{100, 600, 740, 1080}))
      << "partly below the bottom: shifted up to end at it";
  EXPECT_TRUE(Same(FitLayoutOnScreen({1500, 10, 2100, 210}, 1920, 1080, none), RECT{1320, 10, 1920, 210}));
  EXPECT_TRUE(Same(FitLayoutOnScreen({-50, -20, 150, 80}, 1920, 1080, none), RECT{0, 0, 200, 100}));
  EXPECT_TRUE(Same(FitLayoutOnScreen({100, 100, 2100, 1200}, 1920, 1080, none), RECT{0, 0, 1920, 1080}))
      << "larger than the screen: cut to it, so that its buttons stay reachable";
  EXPECT_TRUE(Same(FitLayoutOnScreen({100, 100, 2100, 1200}, 1920, 1080, {2000, 1100}), RECT{0, 0, 2000, 1100}))
      << "a minimum larger than the screen: the top-left corner wins";
  EXPECT_TRUE(Same(FitLayoutOnScreen({10, 10, 110, 110}, 1920, 1080, none), RECT{10, 10, 110, 110}));
  EXPECT_TRUE(Same(FitLayoutOnScreen({10, 10, 5, -30}, 1920, 1080, none), RECT{10, 10, 10, 10}))
      << "a negative size is none";
  // Stored numbers at the ends of the range neither overflow nor wrap.
  EXPECT_TRUE(Same(FitLayoutOnScreen({INT32_MIN, INT32_MIN, INT32_MIN + 200, INT32_MIN + 100}, 1920, 1080, none),
                   RECT{0, 0, 200, 100}));
  EXPECT_TRUE(Same(FitLayoutOnScreen({INT32_MAX - 200, INT32_MAX - 100, INT32_MAX, INT32_MAX}, 1920, 1080, none),
                   RECT{1720, 980, 1920, 1080}));
  EXPECT_TRUE(Same(FitLayoutOnScreen({0, 0, INT32_MAX, INT32_MAX}, 1920, 1080, none), RECT{0, 0, 1920, 1080}));
}

TEST(WindowLayoutCodec, BelowTheMinimumBothSidesTakeItTogether) {
  const SIZE minimum{300, 200};
  struct Case {
    RECT rect;
    RECT expected;
    const char* why;
  };
  const Case cases[] = {
      {{10, 20, 110, 520}, {10, 20, 310, 220}, "too narrow: a large height comes back at the minimum too"},
      {{10, 20, 410, 120}, {10, 20, 310, 220}, "too low"},
      {{10, 20, 110, 120}, {10, 20, 310, 220}, "both too small"},
      {{10, 20, 310, 220}, {10, 20, 310, 220}, "exactly the minimum"},
      {{10, 20, 900, 700}, {10, 20, 900, 700}, "larger: kept"},
      {{1800, 1000, 1850, 1050}, {1620, 880, 1920, 1080}, "grown at the screen's corner: still on the screen"},
      {{50, 60, 5050, 5060}, {0, 0, 1920, 1080}, "larger than the screen: cut to it"},
      {{10, 20, 5010, 120}, {10, 20, 310, 220}, "cut to the screen, then too low"},
  };
  for (const Case& c : cases) EXPECT_TRUE(Same(FitLayoutOnScreen(c.rect, 1920, 1080, minimum), c.expected)) << c.why;
  EXPECT_TRUE(Same(FitLayoutOnScreen({10, 20, 110, 120}, 1920, 1080, {-1, -1}), RECT{10, 20, 110, 120}))
      << "not recorded";
}

// Values no screen has are refused like a malformed layout, before any
// arithmetic on them can overflow.
TEST(WindowLayoutCodec, ValuesBeyondTheScreensCoordinatesAreRefused) {
  const int big = kLayoutCoordinateLimit + 1;
  struct Case {
    std::vector<int> values;
    bool accepted;
  };
  const Case cases[] = {
      {{2147483600, 10, 640, 480, 96}, false},
      {{10, 10, 2147483600, 480, 96}, false},
      {{10, -big, 640, 480, 96}, false},
      {{10, 10, 640, INT_MIN, 96, 8}, false},
      {{10, 10, 640, 480, 96, 8, static_cast<int>(0x80000000u | 5058u), INT_MIN}, false},
      {{10, 10, 640, 480, 96, 8, 5039, big}, false},
      {{-kLayoutCoordinateLimit, kLayoutCoordinateLimit, 0, -5, 96, 8, 5039, -kLayoutCoordinateLimit}, true},
      // The id words and the show command are no coordinates.
      {{10, 10, 640, 480, 96, INT_MIN, static_cast<int>(0x80000000u | 5058u), 40}, true},
      {{10, 10, 640, 480, 96, 8, 5039, 12, INT_MIN}, true},
  };
  for (const Case& c : cases) {
    WindowLayout layout;
    EXPECT_EQ(DecodeWindowLayout(c.values.data(), c.values.size(), 96, &layout), c.accepted)
        << c.values[0] << ";" << c.values[1] << ";" << c.values[2] << ";" << c.values[3] << " ("
        << c.values.size() << " values)";
  }
}

TEST(WindowLayoutCodec, OnlyARectangleBeyondTheScreenIsReplacedWhenSaving) {
  EXPECT_FALSE(LayoutBeyondScreen({0, 0, 1920, 1080}, 1920, 1080));
  EXPECT_TRUE(LayoutBeyondScreen({0, 0, 1921, 100}, 1920, 1080));
  EXPECT_TRUE(LayoutBeyondScreen({0, 1081, 10, 1090}, 1920, 1080));
  EXPECT_FALSE(LayoutBeyondScreen({-32000, -32000, -31840, -31972}, 1920, 1080)) << "only beyond right or bottom";
}
