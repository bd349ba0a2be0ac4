// A triangular face (see GLFaceCorners).
#pragma once

#include "objectgl/GLFaceCorners.h"

class GLFace : public GLFaceCorners<3> {
  GL_DECLARE_CLASS()

 public:
  GLFace() = default;
  // The face normal from the three corners.
  GLFace(const GLVector& p0, const GLVector& p1, const GLVector& p2, uint32_t material);
  GLFace(const GLVector& p0, const GLVector& p1, const GLVector& p2, const GLVector& normal, uint32_t material);
  // Corner k gets normalk.
  GLFace(const GLVector& p0, const GLVector& p1, const GLVector& p2, const GLVector& normal0, const GLVector& normal1,
         const GLVector& normal2, uint32_t material);

  // Slots 1, 2, 3.
  void SetNormals(const GLVector& a, const GLVector& b, const GLVector& c) { GLFaceCorners::SetNormals({a, b, c}); }
};
