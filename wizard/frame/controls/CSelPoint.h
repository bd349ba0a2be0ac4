// A connection point of the product preview: a DEFPOINTS line of colour 7
// of the product's geometry, its number, where it starts and which way it
// points, with the marker and the arrow that show it (both owned by the
// preview's scene once they are in it).
#pragma once

#include <cstdint>

#include "common/CSeznam.h"
#include "common/GLVector.h"

class GLArrow;
class GLSelectPoint;

class CSelPoint : public CSeznam {
 public:
  CSelPoint() = default;
  ~CSelPoint() override = default;

  double angle = 0;  // radians from the world X axis, 0 to 2 pi
  uint32_t id = 0;   // 1, 2, 3 ... in order of appearance
  GLVector position;
  GLSelectPoint* marker = nullptr;
  GLArrow* arrow = nullptr;
};
