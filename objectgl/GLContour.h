// A closed outline (last point back to the first) of a filled polygon or of
// a glyph; an interior contour bounds a hole.
#pragma once

#include "common/GLMatrix.h"
#include "objectgl/GLVectorArray.h"

class GLArc;
class GLCircle;
class GLEllipse;

class GLContour {
 public:
  GLContour() = default;
  GLContour(const GLContour& other) = default;
  GLContour& operator=(const GLContour&) = delete;
  virtual ~GLContour() = default;

  void AddPoint(const GLVector& p) { points_.Add(p); }
  // The arc's points appended; false, adding nothing, when its start and
  // end angles are within 1e-10 (though such an arc draws a full circle).
  bool AddArc(const GLArc& arc);
  // The same with the ellipse's parameters.
  bool AddEllipse(const GLEllipse& ellipse);
  // These replace every point.
  void SetFromCircle(const GLCircle& circle);
  void SetFromEllipse(const GLEllipse& ellipse);
  void SetPoints(const GLVectorArray& points) { points_ = points; }

  void SetInterior(bool on) { interior_ = on ? 1 : 0; }
  bool IsInterior() const { return interior_ != 0; }
  void Transform(const GLMatrix& m);

  const GLVectorArray& GetPoints() const { return points_; }
  uint32_t GetCount() const { return points_.GetCount(); }

 private:
  GLVectorArray points_;
  uint8_t interior_ = 0;
};
