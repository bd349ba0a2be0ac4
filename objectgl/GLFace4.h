// A quadrilateral face (see GLFaceCorners).
#pragma once

#include "objectgl/GLFaceCorners.h"

class GLFace4 : public GLFaceCorners<4> {
  GL_DECLARE_CLASS()

 public:
  GLFace4() = default;
  // The face normal from corners 0, 1, 2, or from 1, 2, 3 when the first
  // three lie on a line.
  GLFace4(const GLVector& p0, const GLVector& p1, const GLVector& p2, const GLVector& p3, uint32_t material);
  GLFace4(const GLVector& p0, const GLVector& p1, const GLVector& p2, const GLVector& p3, const GLVector& normal,
          uint32_t material);
  // Corner k gets normalk.
  GLFace4(const GLVector& p0, const GLVector& p1, const GLVector& p2, const GLVector& p3, const GLVector& normal0,
          const GLVector& normal1, const GLVector& normal2, const GLVector& normal3, uint32_t material);

  // Slots 1, 2, 3, 4.
  void SetNormals(const GLVector& a, const GLVector& b, const GLVector& c, const GLVector& d) {
    GLFaceCorners::SetNormals({a, b, c, d});
  }
};
