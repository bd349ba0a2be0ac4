// A point or direction of three doubles, the geometry value of the whole
// system; angles are in radians.
#pragma once

#include <cstddef>
#include <cstdint>

struct resbuf;
class GLMatrix;
class GLOstream;
class GLIstream;

// base to an integer power by repeated squaring; exponent 0 gives 1.0 and a
// negative exponent the reciprocal.
inline double GLIntPower(double base, int exponent) {
  unsigned n = exponent < 0 ? 0u - static_cast<unsigned>(exponent) : static_cast<unsigned>(exponent);
  double result = 1.0;
  while (n) {
    if (n & 1u) result *= base;
    base *= base;
    n >>= 1;
  }
  return exponent < 0 ? 1.0 / result : result;
}

class GLVector {
 public:
  constexpr GLVector() = default;
  constexpr GLVector(double vx, double vy, double vz) : x(vx), y(vy), z(vz) {}
  // From three consecutive doubles (a node's point, say); null gives (0, 0, 0).
  explicit GLVector(const double* v) {
    if (v) {
      x = v[0];
      y = v[1];
      z = v[2];
    }
  }
  GLVector(const GLVector&) = default;
  GLVector& operator=(const GLVector&) = default;
  // A null pointer leaves the vector as it is.
  GLVector& operator=(const double* v) {
    if (v) {
      x = v[0];
      y = v[1];
      z = v[2];
    }
    return *this;
  }

  // 0 x, 1 y, 2 z; no range check. The index type matches the built-in
  // subscript of the pointer conversion so that no call is ambiguous.
  double& operator[](std::ptrdiff_t i) { return i == 0 ? x : i == 1 ? y : z; }
  double operator[](std::ptrdiff_t i) const { return i == 0 ? x : i == 1 ? y : z; }
  // The three doubles as an array (for glVertex3dv and the like).
  operator const double*() const { return &x; }

  GLVector& operator+=(const GLVector& b);
  GLVector& operator-=(const GLVector& b);
  GLVector& operator*=(const double& s);
  GLVector operator+(const GLVector& b) const;
  GLVector operator-(const GLVector& b) const;
  GLVector Cross(const GLVector& b) const;  // this x b
  GLVector& Negate();
  // Exact comparison of all three components.
  bool operator==(const GLVector& b) const { return x == b.x && y == b.y && z == b.z; }

  double Dot(const GLVector& b) const;
  double Length() const;
  // No zero-length check: a zero vector becomes NaN.
  GLVector& Normalize();
  // 0..pi.
  double GetAngle(const GLVector& b) const;
  // 0..2 pi, counter-clockwise from this to `to` seen from the tip of reference.
  double GetOrientedAngle(const GLVector& to, const GLVector& reference) const;
  // A unit vector perpendicular to this, by the arbitrary-axis rule of the
  // DXF object coordinate system.
  GLVector GetPerpendicular() const;

  // (x, y, z, 1) through the matrix, without division by w.
  void TransformPoint(const GLMatrix& m);
  // Through the upper-left 3x3 part only.
  void TransformDirection(const GLMatrix& m);
  // Moves the point along dir onto z = 0, else y = 0, else x = 0, whichever
  // plane dir is not parallel to; unchanged for a zero direction.
  void ProjectOntoBasePlane(const GLVector& dir);

  // x, y, z as three raw doubles.
  bool Write(GLOstream& os) const;
  bool Read(GLIstream& is);

  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

static_assert(sizeof(GLVector) == 24 && offsetof(GLVector, z) == 16, "three packed doubles");

inline constexpr GLVector GLAxisX{1.0, 0.0, 0.0};
inline constexpr GLVector GLAxisY{0.0, 1.0, 0.0};
inline constexpr GLVector GLAxisZ{0.0, 0.0, 1.0};

// The object coordinate axes of a plane with that normal, as unit vectors.
void GetOCSAxes(const GLVector& normal, GLVector& x, GLVector& y, GLVector& z);

// out = the point of the first node with the code in the current entity of
// a group-code chain; unchanged when absent.
void GetEntityPoint(const resbuf* entity, GLVector& out, int16_t code);
