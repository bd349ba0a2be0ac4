#include "objectgl/GLExtents.h"

#include <cfloat>

void GLExtents::Reset() {
  max_ = GLVector(-DBL_MAX, -DBL_MAX, -DBL_MAX);
  min_ = GLVector(DBL_MAX, DBL_MAX, DBL_MAX);
}

void GLExtents::AddPoint(const GLVector& p) {
  for (int i = 0; i < 3; ++i) {
    if (p[i] > max_[i]) max_[i] = p[i];
    if (min_[i] > p[i]) min_[i] = p[i];
  }
}

void GLExtents::AddExtents(const GLExtents& other) {
  for (int i = 0; i < 3; ++i) {
    if (other.max_[i] > max_[i]) max_[i] = other.max_[i];
    if (other.min_[i] < min_[i]) min_[i] = other.min_[i];
  }
}

bool GLExtents::IsValid() const {
  for (int i = 0; i < 3; ++i)
    if (min_[i] > max_[i]) return false;
  return true;
}

void GLExtents::Transform(const GLMatrix& m) {
  if (!IsValid()) return;
  const GLVector lo = min_, hi = max_;
  Reset();
  for (int corner = 0; corner < 8; ++corner) {
    GLVector p((corner & 1) ? hi.x : lo.x, (corner & 2) ? hi.y : lo.y, (corner & 4) ? hi.z : lo.z);
    p.TransformPoint(m);
    AddPoint(p);
  }
}

bool GLExtents::operator==(const GLExtents& other) const { return max_ == other.max_ && min_ == other.min_; }
