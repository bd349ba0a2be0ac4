// Where a drawn insert shows a connection point of its block.
#include "jov_vantrix/section/PipeEnds.h"

#include <gtest/gtest.h>

namespace {

struct InsertedCase {
  const char* what;
  GLVector block, insert;
  double xScale;
  int unitsPerMetre;
  GLVector expect;
};

const InsertedCase kInserted[] = {
    {"millimetres, as drawn", {50, 20, 0}, {1000, 3000, 0}, 1, 1000, {1050, 3020, 0}},
    {"mirrored: the x runs the other way", {50, 20, 0}, {1000, 3000, 0}, -1, 1000, {950, 3020, 0}},
    {"stretched: only the x scales", {50, 20, 5}, {0, 0, 0}, 2, 1000, {100, 20, 5}},
    {"metres: the millimetre block at 0.001", {50, 20, 0}, {1, 3, 0}, 1, 1, {1.05, 3.02, 0}},
    {"metres, mirrored", {600, 500, 0}, {1, 3, 0}, -1, 1, {0.4, 3.5, 0}},
};

TEST(PipeEnds, InsertedPointIsTheBlockPointScaledAndMoved) {
  for (const InsertedCase& c : kInserted) {
    const GLVector p = InsertedPoint(c.block, c.insert, c.xScale, c.unitsPerMetre);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(p[i], c.expect[i], 1e-12) << c.what << ", [" << i << "]";
  }
}

}  // namespace
