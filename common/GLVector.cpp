#include "common/GLVector.h"

#include <algorithm>
#include <cmath>

#include "common/GLMatrix.h"
#include "common/GLStream.h"
#include "dataformat/GroupCodeChain.h"

namespace {
constexpr double kTwoPi = 6.283185307179586;
constexpr double kArbitraryAxisLimit = 1.0 / 64.0;
constexpr double kParallelLimit = 1e-10;
}  // namespace

GLVector& GLVector::operator+=(const GLVector& b) {
  x += b.x;
  y += b.y;
  z += b.z;
  return *this;
}

GLVector& GLVector::operator-=(const GLVector& b) {
  x -= b.x;
  y -= b.y;
  z -= b.z;
  return *this;
}

GLVector& GLVector::operator*=(const double& s) {
  x *= s;
  y *= s;
  z *= s;
  return *this;
}

GLVector GLVector::operator+(const GLVector& b) const { return {x + b.x, y + b.y, z + b.z}; }

GLVector GLVector::operator-(const GLVector& b) const { return {x - b.x, y - b.y, z - b.z}; }

GLVector GLVector::Cross(const GLVector& b) const {
  return {y * b.z - z * b.y, z * b.x - x * b.z, x * b.y - y * b.x};
}

GLVector& GLVector::Negate() {
  x = -x;
  y = -y;
  z = -z;
  return *this;
}

double GLVector::Dot(const GLVector& b) const { return x * b.x + y * b.y + z * b.z; }

double GLVector::Length() const {
  return std::sqrt(GLIntPower(x, 2) + GLIntPower(y, 2) + GLIntPower(z, 2));
}

GLVector& GLVector::Normalize() { return *this *= 1.0 / Length(); }

double GLVector::GetAngle(const GLVector& b) const {
  // Rounding can push the cosine of (anti)parallel vectors just past 1.
  double cosine = Dot(b) / (Length() * b.Length());
  if (cosine > 1.0) cosine = 1.0;
  if (cosine < -1.0) cosine = -1.0;
  return std::acos(cosine);
}

double GLVector::GetOrientedAngle(const GLVector& to, const GLVector& reference) const {
  double angle = GetAngle(to);
  return reference.Dot(Cross(to)) < 0.0 ? kTwoPi - angle : angle;
}

GLVector GLVector::GetPerpendicular() const {
  GLVector r = std::fabs(x) < kArbitraryAxisLimit && std::fabs(y) < kArbitraryAxisLimit
                   ? GLVector(z, 0.0, -x)   // world Y x this
                   : GLVector(-y, x, 0.0);  // world Z x this
  r.Normalize();
  return r;
}

void GLVector::TransformPoint(const GLMatrix& matrix) {
  const double* m = matrix.GetData();
  double r0 = x * m[0] + y * m[4] + z * m[8] + m[12];
  double r1 = x * m[1] + y * m[5] + z * m[9] + m[13];
  double r2 = x * m[2] + y * m[6] + z * m[10] + m[14];
  x = r0;
  y = r1;
  z = r2;
}

void GLVector::TransformDirection(const GLMatrix& matrix) {
  const double* m = matrix.GetData();
  double r0 = x * m[0] + y * m[4] + z * m[8];
  double r1 = x * m[1] + y * m[5] + z * m[9];
  double r2 = x * m[2] + y * m[6] + z * m[10];
  x = r0;
  y = r1;
  z = r2;
}

void GLVector::ProjectOntoBasePlane(const GLVector& dir) {
  double t;
  if (std::fabs(dir.z) > kParallelLimit)
    t = -z / dir.z;
  else if (std::fabs(dir.y) > kParallelLimit)
    t = -y / dir.y;
  else if (std::fabs(dir.x) > kParallelLimit)
    t = -x / dir.x;
  else
    return;
  x += t * dir.x;
  y += t * dir.y;
  z += t * dir.z;
}

bool GLVector::Write(GLOstream& os) const {
  return os.WriteDouble(x) && os.WriteDouble(y) && os.WriteDouble(z);
}

bool GLVector::Read(GLIstream& is) {
  double v[3];
  if (!is.ReadDouble(v[0]) || !is.ReadDouble(v[1]) || !is.ReadDouble(v[2])) return false;
  *this = v;
  return true;
}

void GetOCSAxes(const GLVector& normal, GLVector& x, GLVector& y, GLVector& z) {
  GLVector axisX = normal.GetPerpendicular();
  GLVector axisY = normal.Cross(axisX);
  // Aligning the world onto (axisX, axisY, normal) yields unit axes even for
  // a normal that is not of unit length.
  GLMatrix m;
  m.SetAlignment(GLVector(), GLAxisX, GLAxisY, GLAxisZ, GLVector(), axisX, axisY, normal);
  x = GLAxisX;
  x.TransformDirection(m);
  y = GLAxisY;
  y.TransformDirection(m);
  z = GLAxisZ;
  z.TransformDirection(m);
}

void GetEntityPoint(const resbuf* entity, GLVector& out, int16_t code) {
  double p[3] = {out.x, out.y, out.z};
  GetEntityPoint(entity, p, code);
  out = GLVector(p);
}
