// The tessellation of glyph outlines: GLFaces is one primitive the GLU
// tessellator began (triangles, a strip or a fan) with its points;
// GLFacesArray the primitives of one outline, which it owns.
#pragma once

#include <GL/gl.h>

#include <cstdint>

#include "common/GLMatrix.h"
#include "objectgl/GLArray.h"
#include "objectgl/GLContour.h"
#include "objectgl/GLVectorArray.h"

class GLFaces {
 public:
  explicit GLFaces(uint32_t type = GL_TRIANGLES) : type_(type) {}
  GLFaces(const GLFaces&) = default;
  GLFaces& operator=(const GLFaces&) = delete;
  virtual ~GLFaces() = default;

  void AddPoint(const GLVector& p) { points_.Add(p); }
  void Transform(const GLMatrix& m);
  const GLVectorArray& GetPoints() const { return points_; }
  uint32_t GetType() const { return type_; }
  // Whether the face is triangles, a strip or a fan; how many triangles it
  // holds, and the points of triangle t (as OpenGL takes them).
  bool IsTriangles() const {
    return type_ == GL_TRIANGLES || type_ == GL_TRIANGLE_STRIP || type_ == GL_TRIANGLE_FAN;
  }
  uint32_t TriangleCount() const {
    const uint32_t n = points_.GetCount();
    return n < 3 ? 0 : type_ == GL_TRIANGLES ? n / 3 : n - 2;
  }
  void TriangleCorners(uint32_t t, uint32_t k[3]) const {
    if (type_ == GL_TRIANGLES)
      k[0] = 3 * t, k[1] = 3 * t + 1, k[2] = 3 * t + 2;
    else if (type_ == GL_TRIANGLE_FAN)
      k[0] = 0, k[1] = t + 1, k[2] = t + 2;
    else
      k[0] = t, k[1] = t + 1, k[2] = t + 2;
  }

 private:
  GLVectorArray points_;
  uint32_t type_;
};

class GLFacesArray {
 public:
  GLFacesArray() = default;
  // The filled area of the contours (odd winding), tessellated in the XY
  // plane.
  explicit GLFacesArray(const GLArray<GLContour*>& contours);
  GLFacesArray(const GLFacesArray&) = delete;
  GLFacesArray& operator=(const GLFacesArray&) = delete;
  virtual ~GLFacesArray() { DeleteAll(); }

  // Takes the faces over.
  void Add(GLFaces* faces) { faces_.Add(faces); }
  void DeleteAll();
  uint32_t GetCount() const { return faces_.GetCount(); }
  const GLFaces* GetAt(uint32_t i) const { return faces_[i]; }
  GLFaces* const* begin() const { return faces_.begin(); }
  GLFaces* const* end() const { return faces_.end(); }

 private:
  struct Building;
  static void Begin(GLenum type, void* array);
  static void Vertex(void* vertex, void* array);
  static void End(void* array);
  static void Combine(const double coords[3], void* vertexData[4], const float weight[4], void** outData, void* array);

  GLArray<GLFaces*> faces_;
  // Only while the tessellator runs.
  Building* building_ = nullptr;
};
