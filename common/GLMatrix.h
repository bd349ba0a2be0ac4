// A 4x4 transformation of doubles in OpenGL's column-major order, so that it
// goes to glLoadMatrixd / glMultMatrixd unchanged: the element of row r and
// column c is at index 4c + r and the translation at 12, 13, 14.
#pragma once

#include "common/GLVector.h"

class GLOstream;
class GLIstream;

class GLMatrix {
 public:
  GLMatrix() { SetIdentity(); }

  void SetZero();
  void SetIdentity();
  void Set(const GLMatrix& other) { *this = other; }

  // this = b * this: the transformation of this first, then that of b.
  GLMatrix& operator*=(const GLMatrix& b);
  // A copy of this multiplied in place by b.
  GLMatrix operator*(const GLMatrix& b) const;

  const double* GetData() const { return m; }

  // The Set operations write only the elements they name; start from
  // SetIdentity for a pure rotation, translation or scaling.
  void SetRotationX(double angle);
  void SetRotationY(double angle);
  void SetRotationZ(double angle);
  void SetTranslation(const GLVector& t) { SetTranslation(t.x, t.y, t.z); }
  void SetTranslation(double x, double y, double z);
  void SetScaleX(double s) { m[0] = s; }
  void SetScaleY(double s) { m[5] = s; }
  void SetScaleZ(double s) { m[10] = s; }
  void SetScale(double s) { m[0] = m[5] = m[10] = s; }

  // Negates the translation of a matrix that holds nothing else (diagonal
  // exactly 1); any other matrix stays as it is.
  void InvertTranslation();

  // The transformation that carries coordinate system A (origin and axes)
  // onto system B: translation by -originA, rotations taking A's axes onto
  // the world axes, rotations about Z, Y and X taking the world axes onto B's
  // and translation by originB.
  void SetAlignment(GLVector originA, GLVector xA, GLVector yA, GLVector zA, GLVector originB,
                    GLVector xB, GLVector yB, GLVector zB);

  // The 16 values as 128 raw bytes.
  bool Write(GLOstream& os) const;
  bool Read(GLIstream& is);

 private:
  double m[16];
};

static_assert(sizeof(GLMatrix) == 128, "16 packed doubles");
