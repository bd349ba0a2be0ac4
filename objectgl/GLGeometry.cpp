#include "objectgl/GLGeometry.h"

#include <cmath>

void GLMidPoint(const GLVector& a, const GLVector& b, GLVector* out) {
  if (!out) return;
  *out = GLVector((a.x + b.x) / 2.0, (a.y + b.y) / 2.0, (a.z + b.z) / 2.0);
}

double GLDistance(const GLVector& a, const GLVector& b) {
  return std::sqrt(GLIntPower(a.x - b.x, 2) + GLIntPower(a.y - b.y, 2) + GLIntPower(a.z - b.z, 2));
}
