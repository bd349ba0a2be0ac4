#include "common/AnchorRule.h"

#include <gtest/gtest.h>

namespace {

RECT Anchored(uint32_t anchor, int dx, int dy) {
  RECT r = {10, 20, 110, 70};
  ApplyAnchorRule(r, anchor, dx, dy);
  return r;
}

bool Same(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST(AnchorRule, TheDialogsCombinationsStretchOrMoveTheControl) {
  EXPECT_TRUE(Same(Anchored(Anchor::kStretch, 30, 40), RECT{10, 20, 140, 110})) << "grows both ways";
  EXPECT_TRUE(Same(Anchored(Anchor::kStretchWidth, 30, 40), RECT{10, 20, 140, 70})) << "wider, same top and height";
  EXPECT_TRUE(Same(Anchored(Anchor::kMoveRight, 30, 40), RECT{40, 20, 140, 70})) << "moves right only";
  EXPECT_TRUE(Same(Anchored(Anchor::kMoveWithCorner, 30, 40), RECT{40, 60, 140, 110})) << "moves with the corner";
  EXPECT_TRUE(Same(Anchored(0, 30, 40), RECT{40, 60, 110, 70})) << "no bits: top and left move, the size shrinks";
}
