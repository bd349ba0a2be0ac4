#include "objectgl/GLFace.h"

GLFace::GLFace(const GLVector& p0, const GLVector& p1, const GLVector& p2, uint32_t material)
    : GLFaceCorners({p0, p1, p2}, material) {
  GLVector n;
  GLTriangleNormal(p0, p1, p2, &n);
  SetFaceNormal(n);
}

GLFace::GLFace(const GLVector& p0, const GLVector& p1, const GLVector& p2, const GLVector& normal, uint32_t material)
    : GLFaceCorners({p0, p1, p2}, material) {
  SetFaceNormal(normal);
}

GLFace::GLFace(const GLVector& p0, const GLVector& p1, const GLVector& p2, const GLVector& normal0,
               const GLVector& normal1, const GLVector& normal2, uint32_t material)
    : GLFaceCorners({p0, p1, p2}, material) {
  SetCornerNormals({normal0, normal1, normal2});
}
