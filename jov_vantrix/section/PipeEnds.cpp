#include "jov_vantrix/section/PipeEnds.h"

#include <cmath>

void SwapPipeEnds(GLVector& a, GLVector& b, double length, bool mirrored) {
  const double ax = a.x;
  double d = length - std::hypot(a.x - b.x, a.z - b.z);
  if (mirrored) d = -d;
  a.x = b.x + d;
  b.x = ax + d;
}

GLVector InsertedPoint(const GLVector& blockPoint, const GLVector& insertPoint, double xScale, int unitsPerMetre) {
  const double k = unitsPerMetre == 1 ? 0.001 : 1.0;
  return insertPoint + GLVector(blockPoint.x * xScale * k, blockPoint.y * k, blockPoint.z * k);
}
