#include "objectgl/GLEllipse.h"

#include <cmath>

#include "objectgl/GLDrawState.h"
#include "objectgl/GLGeometry.h"

GLEllipse::GLEllipse(const GLVector& centre, const GLVector& majorAxis, const GLVector& normal, const double* ratio,
                     uint32_t material, const double* start, const double* end, uint32_t segments)
    : centre_(centre),
      majorAxis_(majorAxis),
      normal_(normal),
      ratio_(ratio ? *ratio : 1.0),
      start_(start ? *start : 0.0),
      end_(end ? *end : 0.0),
      segments_(segments),
      material_(material) {}

GLEllipse::GLEllipse(const GLEllipse& other)
    : GLEntity(other),
      centre_(other.centre_),
      majorAxis_(other.majorAxis_),
      normal_(other.normal_),
      ratio_(other.ratio_),
      start_(other.start_),
      end_(other.end_),
      segments_(other.segments_),
      material_(other.material_) {}

void GLEllipse::Tessellate(GLVectorArray& target) const {
  if (!target.SetSize(segments_) || segments_ == 0) return;
  const double step = (end_ - start_) / (segments_ > 1 ? segments_ - 1.0 : 1.0);
  const double a = majorAxis_.Length(), b = a * ratio_;
  const GLVector normal = GLPlaneNormal(normal_);
  const GLMatrix frame = GLFrameMatrix(centre_, majorAxis_, normal.Cross(majorAxis_), normal);
  for (uint32_t i = 0; i < segments_; ++i) {
    const double t = start_ + i * step;
    GLVector p(a * std::cos(t), b * std::sin(t), 0.0);
    p.TransformPoint(frame);
    target[i] = p;
  }
}

void GLEllipse::GetPoints(GLVectorArray& out) const { points_.CopyTo(out, Tessellator()); }

void GLEllipse::Draw(uint32_t, GLMatLib* materials) {
  GLDrawCurve(*this, GL_LINE_STRIP, points_.Get(Tessellator()), materials, material_);
}

GLExtents GLEllipse::GetExtents() const { return points_.Extents(Tessellator()); }

void GLEllipse::SetMaterial(uint32_t index) {
  material_ = index;
  NotifyRestyled();
}
