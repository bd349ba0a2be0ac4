#include "common/GLMatrix.h"

#include <cmath>
#include <cstring>

#include "common/GLStream.h"

namespace {

constexpr double kZeroLimit = 1e-10;

bool IsNonZero(double v) { return v >= kZeroLimit || v <= -kZeroLimit; }

GLMatrix Rotation(void (GLMatrix::*set)(double), double angle) {
  GLMatrix r;
  (r.*set)(angle);
  return r;
}

GLMatrix Translation(const GLVector& t) {
  GLMatrix r;
  r.SetTranslation(t);
  return r;
}

// Angles a, b, c with Rx(a) * Ry(b) * Rz(c) carrying the world axes onto the
// system (x, y, z): each is the oriented angle of an axis projected onto a
// coordinate plane, the axes being turned back after each step.
void AxisAngles(GLVector x, const GLVector& y, GLVector z, double& a, double& b, double& c) {
  a = 0.0;
  GLVector w = z;
  if (IsNonZero(w.y) || IsNonZero(w.z)) {
    w.x = 0.0;
    a = GLAxisZ.GetOrientedAngle(w, GLAxisX);
  } else {
    // z lies along world X: y tells the turn about X.
    w = y;
    if (IsNonZero(w.y) || IsNonZero(w.z)) {
      w.x = 0.0;
      a = GLAxisY.GetOrientedAngle(w, GLAxisX);
    }
  }
  GLMatrix back = Rotation(&GLMatrix::SetRotationX, -a);
  x.TransformDirection(back);
  z.TransformDirection(back);

  b = 0.0;
  w = z;
  if (IsNonZero(w.x) || IsNonZero(w.z)) {
    w.y = 0.0;
    b = GLAxisZ.GetOrientedAngle(w, GLAxisY);
  }
  x.TransformDirection(Rotation(&GLMatrix::SetRotationY, -b));

  c = 0.0;
  w = x;
  if (IsNonZero(w.x) || IsNonZero(w.y)) {
    w.z = 0.0;
    c = GLAxisX.GetOrientedAngle(w, GLAxisZ);
  }
}

}  // namespace

void GLMatrix::SetZero() {
  for (double& v : m) v = 0.0;
}

void GLMatrix::SetIdentity() {
  SetZero();
  m[0] = m[5] = m[10] = m[15] = 1.0;
}

GLMatrix& GLMatrix::operator*=(const GLMatrix& b) {
  double r[16] = {};
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      for (int k = 0; k < 4; ++k) r[4 * i + j] += m[4 * i + k] * b.m[4 * k + j];
  std::memcpy(m, r, sizeof m);
  return *this;
}

GLMatrix GLMatrix::operator*(const GLMatrix& b) const {
  GLMatrix r = *this;
  r *= b;
  return r;
}

void GLMatrix::SetRotationX(double angle) {
  double c = std::cos(angle), s = std::sin(angle);
  m[5] = c;
  m[6] = s;
  m[9] = -s;
  m[10] = c;
}

void GLMatrix::SetRotationY(double angle) {
  double c = std::cos(angle), s = std::sin(angle);
  m[0] = c;
  m[2] = -s;
  m[8] = s;
  m[10] = c;
}

void GLMatrix::SetRotationZ(double angle) {
  double c = std::cos(angle), s = std::sin(angle);
  m[0] = c;
  m[1] = s;
  m[4] = -s;
  m[5] = c;
}

void GLMatrix::SetTranslation(double x, double y, double z) {
  m[12] = x;
  m[13] = y;
  m[14] = z;
}

void GLMatrix::InvertTranslation() {
  if (m[0] != 1.0 || m[5] != 1.0 || m[10] != 1.0 || m[15] != 1.0) return;
  m[12] = -m[12];
  m[13] = -m[13];
  m[14] = -m[14];
}

void GLMatrix::SetAlignment(GLVector originA, GLVector xA, GLVector yA, GLVector zA,
                            GLVector originB, GLVector xB, GLVector yB, GLVector zB) {
  double aB, bB, cB;
  AxisAngles(xB, yB, zB, aB, bB, cB);

  *this = Translation(GLVector(-originA.x, -originA.y, -originA.z));
  // Every caller passes the world axes as A; a system A of its own is first
  // turned back onto the world axes.
  double aA, bA, cA;
  AxisAngles(xA, yA, zA, aA, bA, cA);
  if (aA != 0.0 || bA != 0.0 || cA != 0.0) {
    *this *= Rotation(&GLMatrix::SetRotationX, -aA);
    *this *= Rotation(&GLMatrix::SetRotationY, -bA);
    *this *= Rotation(&GLMatrix::SetRotationZ, -cA);
  }
  *this *= Rotation(&GLMatrix::SetRotationZ, cB);
  *this *= Rotation(&GLMatrix::SetRotationY, bB);
  *this *= Rotation(&GLMatrix::SetRotationX, aB);
  *this *= Translation(originB);
}

bool GLMatrix::Write(GLOstream& os) const { return os.WriteBytes(m, sizeof m); }

bool GLMatrix::Read(GLIstream& is) { return is.ReadBytes(m, sizeof m); }
