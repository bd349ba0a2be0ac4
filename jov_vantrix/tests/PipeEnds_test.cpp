// The pipe ends of a product drawn the other way round.
#include "jov_vantrix/section/PipeEnds.h"

#include <gtest/gtest.h>

namespace {

struct SwapCase {
  const char* what;
  GLVector a, b;
  double length;
  bool mirrored;
  GLVector expectA, expectB;
};

const SwapCase kSwaps[] = {
    {"x exchanged, both shifted by the length left over", {0, 0, 0}, {10, 5, 0}, 30, false, {30, 0, 0}, {20, 5, 0}},
    {"mirrored: shifted the other way", {0, 0, 0}, {10, 5, 0}, 30, true, {-10, 0, 0}, {-20, 5, 0}},
    {"the y distance does not count", {0, 100, 0}, {10, 0, 0}, 10, false, {10, 100, 0}, {0, 0, 0}},
    {"the z distance counts; each keeps its own y and z", {0, 7, 3}, {4, 1, 0}, 5, false, {4, 7, 3}, {0, 1, 0}},
    {"length shorter than the distance: shifted back", {2, 0, 0}, {12, 0, 0}, 4, false, {6, 0, 0}, {-4, 0, 0}},
    {"b left of a", {10, 0, 0}, {0, 0, 0}, 10, true, {0, 0, 0}, {10, 0, 0}},
};

TEST(PipeEnds, SwapExchangesTheEndsAndShiftsThemByTheLengthLeftOver) {
  for (const SwapCase& c : kSwaps) {
    GLVector a = c.a, b = c.b;
    SwapPipeEnds(a, b, c.length, c.mirrored);
    for (int i = 0; i < 3; ++i) {
      EXPECT_DOUBLE_EQ(a[i], c.expectA[i]) << c.what << ", a[" << i << "]";
      EXPECT_DOUBLE_EQ(b[i], c.expectB[i]) << c.what << ", b[" << i << "]";
    }
  }
}

}  // namespace
