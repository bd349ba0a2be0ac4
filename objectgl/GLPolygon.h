// A filled planar area bounded by closed contours (holes marked interior),
// tessellated by the GLU tessellator straight into a display list on its
// first draw. The list holds world points after the scene's model matrix
// of that moment (compiled again, over the same contours, when the matrix
// changes); contours added later do not reach it.
#pragma once

#include <GL/gl.h>

#include "objectgl/GLArray.h"
#include "objectgl/GLContour.h"
#include "objectgl/GLEntity.h"

class GLPolygon : public GLEntity {
  GL_DECLARE_CLASS()

 public:
  explicit GLPolygon(uint32_t material = 0) : material_(material) {}
  GLPolygon(const GLPolygon&) = delete;
  GLPolygon& operator=(const GLPolygon&) = delete;
  // Deletes the contours and the display list.
  ~GLPolygon() override;

  // Takes the contour over.
  void AddContour(GLContour* contour) { contours_.Add(contour); }
  void AddContourCopy(const GLContour& contour) { contours_.Add(new GLContour(contour)); }
  uint32_t GetContourCount() const { return contours_.GetCount(); }

  // Filled whatever the polygon mode; mode 0 in the material's colour, other
  // modes lit on both sides.
  void Draw(uint32_t mode, GLMatLib* materials) override;
  GLExtents GetExtents() const override;
  void SetMaterial(uint32_t index) override;
  uint32_t GetMaterial() const override { return material_; }
  void PrepareLists() override;
  bool IsCompiled() const { return displayList_ != 0; }

 private:
  // Into a new display list, or straight to OpenGL for list mode 0.
  void Tessellate(GLenum listMode);
  // A list compiled through another model matrix: made again over the
  // contours it held.
  void RecompileWhenStale();
  // Selecting or feeding back: the triangles as vertex arrays.
  void SendTriangles() const;

  uint32_t material_;
  uint32_t displayList_ = 0;
  uint32_t compiledContours_ = 0;  // how many contours the list holds
  uint64_t listModel_ = 0;         // the scene's model version it went through
  GLArray<GLContour*> contours_;
};

// The tessellator's combine callback of polygons: the new vertex is kept in
// a library-wide store whose elements stay where they are until it is
// cleared, and its address is the vertex data.
void GLPolygonCombine(const double coords[3], void* vertexData[4], const float weight[4], void** outData);
// Empties the combine store (after each polygon).
void GLPolygonCombineClear();
// The number of vertices in the combine store.
uint32_t GLPolygonCombineCount();
