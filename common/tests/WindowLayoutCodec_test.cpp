#include "common/WindowLayoutCodec.h"

#include <gtest/gtest.h>

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
  EXPECT_TRUE(Same(FitLayoutOnScreen({100, 900, 740, 1380}, 1920, 1080), RECT{100, 600, 740, 1080}))
      << "partly below the bottom: shifted up to end at it";
  EXPECT_TRUE(Same(FitLayoutOnScreen({1500, 10, 2100, 210}, 1920, 1080), RECT{1320, 10, 1920, 210}));
  EXPECT_TRUE(Same(FitLayoutOnScreen({-50, -20, 150, 80}, 1920, 1080), RECT{0, 0, 200, 100}));
  EXPECT_TRUE(Same(FitLayoutOnScreen({100, 100, 2100, 1200}, 1920, 1080), RECT{0, 0, 2000, 1100}))
      << "larger than the screen: the top-left corner wins";
  EXPECT_TRUE(Same(FitLayoutOnScreen({10, 10, 110, 110}, 1920, 1080), RECT{10, 10, 110, 110}));
}

TEST(WindowLayoutCodec, TheMinimumGrowsOnlyTheSideThatIsTooSmall) {
  EXPECT_TRUE(Same(KeepLayoutMinimum({10, 20, 110, 520}, {300, 200}), RECT{10, 20, 310, 520}))
      << "too narrow: the height is kept";
  EXPECT_TRUE(Same(KeepLayoutMinimum({10, 20, 410, 120}, {300, 200}), RECT{10, 20, 410, 220}));
  EXPECT_TRUE(Same(KeepLayoutMinimum({10, 20, 110, 120}, {300, 200}), RECT{10, 20, 310, 220}));
  EXPECT_TRUE(Same(KeepLayoutMinimum({10, 20, 110, 120}, {-1, -1}), RECT{10, 20, 110, 120})) << "not recorded";
}

TEST(WindowLayoutCodec, OnlyARectangleBeyondTheScreenIsReplacedWhenSaving) {
  EXPECT_FALSE(LayoutBeyondScreen({0, 0, 1920, 1080}, 1920, 1080));
  EXPECT_TRUE(LayoutBeyondScreen({0, 0, 1921, 100}, 1920, 1080));
  EXPECT_TRUE(LayoutBeyondScreen({0, 1081, 10, 1090}, 1920, 1080));
  EXPECT_FALSE(LayoutBeyondScreen({-32000, -32000, -31840, -31972}, 1920, 1080)) << "only beyond right or bottom";
}
