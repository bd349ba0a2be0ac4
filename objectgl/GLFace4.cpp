#include "objectgl/GLFace4.h"

GLFace4::GLFace4(const GLVector& p0, const GLVector& p1, const GLVector& p2, const GLVector& p3, uint32_t material)
    : GLFaceCorners({p0, p1, p2, p3}, material) {
  GLVector n;
  if (!GLTriangleNormal(p0, p1, p2, &n)) GLTriangleNormal(p1, p2, p3, &n);
  SetFaceNormal(n);
}

GLFace4::GLFace4(const GLVector& p0, const GLVector& p1, const GLVector& p2, const GLVector& p3, const GLVector& normal,
                 uint32_t material)
    : GLFaceCorners({p0, p1, p2, p3}, material) {
  SetFaceNormal(normal);
}

GLFace4::GLFace4(const GLVector& p0, const GLVector& p1, const GLVector& p2, const GLVector& p3,
                 const GLVector& normal0, const GLVector& normal1, const GLVector& normal2, const GLVector& normal3,
                 uint32_t material)
    : GLFaceCorners({p0, p1, p2, p3}, material) {
  SetCornerNormals({normal0, normal1, normal2, normal3});
}
