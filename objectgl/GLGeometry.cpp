#include "objectgl/GLGeometry.h"

#include <cmath>

void GLMidPoint(const GLVector& a, const GLVector& b, GLVector* out) {
  if (!out) return;
  *out = GLVector((a.x + b.x) / 2.0, (a.y + b.y) / 2.0, (a.z + b.z) / 2.0);
}

double GLDistance(const GLVector& a, const GLVector& b) {
  return std::sqrt(GLIntPower(a.x - b.x, 2) + GLIntPower(a.y - b.y, 2) + GLIntPower(a.z - b.z, 2));
}

bool GLTriangleNormal(const GLVector tri[3], GLVector* out) { return GLTriangleNormal(tri[0], tri[1], tri[2], out); }

bool GLTriangleNormal(const GLVector& p0, const GLVector& p1, const GLVector& p2, GLVector* out) {
  GLVector n = (p2 - p1).Cross(p0 - p1);
  const bool ok = !(n == GLVector());
  if (ok)
    n.Normalize();
  else
    n = GLVector(0, 0, -1);
  if (out) *out = n;
  return ok;
}

GLVector GLPlaneNormal(const GLVector& normal) { return normal == GLVector() ? GLAxisZ : normal; }

GLMatrix GLFrameMatrix(const GLVector& origin, const GLVector& x, const GLVector& y, const GLVector& z) {
  GLMatrix m;
  m.SetAlignment(GLVector(), GLAxisX, GLAxisY, GLAxisZ, origin, x, y, z);
  return m;
}

GLMatrix GLPlaneFrameMatrix(const GLVector& origin, const GLVector& normal) {
  const GLVector n = GLPlaneNormal(normal);
  const GLVector x = n.GetPerpendicular();
  return GLFrameMatrix(origin, x, n.Cross(x), n);
}

void GLMultiplyColumnMajor(const double* a, const double* b, double* out) {
  for (int c = 0; c < 4; ++c)
    for (int r = 0; r < 4; ++r) {
      double sum = 0;
      for (int k = 0; k < 4; ++k) sum += a[k * 4 + r] * b[c * 4 + k];
      out[c * 4 + r] = sum;
    }
}
