#include "objectgl/GLFaces.h"

#include <GL/glu.h>

#include <deque>
#include <memory>

#include "objectgl/GLGeometry.h"

void GLFaces::Transform(const GLMatrix& m) {
  for (GLVector& p : points_) p.TransformPoint(m);
}

// Vertices the tessellator made where outlines cross (a deque keeps them
// where they are) and the primitive being filled.
struct GLFacesArray::Building {
  std::deque<GLVector> combined;
  std::unique_ptr<GLFaces> current;
};

GLFacesArray::GLFacesArray(const GLArray<GLContour*>& contours) {
  GLUtesselator* tess = gluNewTess();
  if (!tess) return;
  Building building;
  building_ = &building;
  gluTessCallback(tess, GLU_TESS_BEGIN_DATA, reinterpret_cast<_GLUfuncptr>(&Begin));
  gluTessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<_GLUfuncptr>(&Vertex));
  gluTessCallback(tess, GLU_TESS_END_DATA, reinterpret_cast<_GLUfuncptr>(&End));
  gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<_GLUfuncptr>(&Combine));
  gluTessNormal(tess, 0.0, 0.0, 1.0);
  gluTessBeginPolygon(tess, this);
  gluTessBeginContour(tess);
  for (const GLContour* c : contours) {
    if (!c) continue;
    gluNextContour(tess, GLU_UNKNOWN);
    // The contour's own points are the vertex data: they stay put.
    for (const GLVector& p : c->GetPoints()) {
      // The tessellator crashes on a point that is not a number.
      if (!GLIsFinite(p)) continue;
      auto* at = const_cast<GLVector*>(&p);
      gluTessVertex(tess, &at->x, at);
    }
  }
  gluTessEndContour(tess);
  gluTessEndPolygon(tess);
  gluDeleteTess(tess);
  building_ = nullptr;
}

void GLFacesArray::DeleteAll() {
  for (GLFaces* f : faces_) delete f;
  faces_.RemoveAll();
}

void GLFacesArray::Begin(GLenum type, void* array) {
  static_cast<GLFacesArray*>(array)->building_->current = std::make_unique<GLFaces>(type);
}

void GLFacesArray::Vertex(void* vertex, void* array) {
  auto* self = static_cast<GLFacesArray*>(array);
  if (self->building_->current) self->building_->current->AddPoint(*static_cast<const GLVector*>(vertex));
}

void GLFacesArray::End(void* array) {
  auto* self = static_cast<GLFacesArray*>(array);
  if (self->building_->current) self->faces_.Add(self->building_->current.release());
}

void GLFacesArray::Combine(const double coords[3], void* [4], const float[4], void** outData, void* array) {
  std::deque<GLVector>& combined = static_cast<GLFacesArray*>(array)->building_->combined;
  combined.emplace_back(coords[0], coords[1], coords[2]);
  *outData = &combined.back();
}
