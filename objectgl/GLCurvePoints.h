// The points a curve computes once and keeps: made on first use,
// transformed in place, forgotten when the curve's segments change.
#pragma once

#include "objectgl/GLExtents.h"
#include "objectgl/GLVectorArray.h"

class GLCurvePoints {
 public:
  // The kept points, made by `tessellate` (into the array) when there are
  // none yet.
  template <class Tessellate>
  const GLVectorArray& Get(Tessellate&& tessellate) const {
    if (points_.GetCount() == 0) tessellate(points_);
    return points_;
  }
  // A copy of the kept points, or a fresh tessellation into out (the kept
  // points stay as they are).
  template <class Tessellate>
  void CopyTo(GLVectorArray& out, Tessellate&& tessellate) const {
    if (points_.GetCount())
      out = points_;
    else
      tessellate(out);
  }
  template <class Tessellate>
  GLExtents Extents(Tessellate&& tessellate) const {
    GLExtents e;
    for (const GLVector& p : Get(tessellate)) e.AddPoint(p);
    return e;
  }
  void Transform(const GLMatrix& m) {
    for (GLVector& p : points_) p.TransformPoint(m);
  }
  void Forget() { points_.RemoveAll(); }

 private:
  mutable GLVectorArray points_;
};
