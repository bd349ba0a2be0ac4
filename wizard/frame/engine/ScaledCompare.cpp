#include "wizard/frame/engine/ScaledCompare.h"

#include <cmath>

int CompareScaled(double a, double b, int factor) {
  const double d = std::trunc((a - b) * factor);
  return d < 0.0 ? -1 : d > 0.0 ? 1 : 0;
}

bool PointsMatch(const GLVector& p, const GLVector& q, int factor) {
  return CompareScaled(p.x, q.x, factor) == 0 && CompareScaled(p.y, q.y, factor) == 0 &&
         CompareScaled(p.z, q.z, factor) == 0;
}
