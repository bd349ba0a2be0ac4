#include "objectgl/GLCircle.h"

#include <cmath>
#include <numbers>

#include "objectgl/GLDrawState.h"
#include "objectgl/GLGeometry.h"

GLCircle::GLCircle(const GLVector& centre, const GLVector& normal, const double* radius, uint32_t material,
                   int32_t segments)
    : centre_(centre),
      normal_(normal),
      radius_(radius ? *radius : 0.0),
      segments_(std::max(segments, 3)),
      material_(material) {}

GLCircle::GLCircle(const GLCircle& other)
    : GLEntity(other),
      centre_(other.centre_),
      normal_(other.normal_),
      radius_(other.radius_),
      segments_(other.segments_),
      material_(other.material_) {}

void GLCircle::Tessellate(GLVectorArray& target) const {
  const uint32_t n = static_cast<uint32_t>(std::max(segments_, 3));
  if (!target.SetSize(n)) return;
  const GLMatrix frame = GLPlaneFrameMatrix(centre_, normal_);
  const double step = 2.0 * std::numbers::pi / n;
  for (uint32_t i = 0; i < n; ++i) {
    GLVector p(radius_ * std::cos(i * step), radius_ * std::sin(i * step), 0.0);
    p.TransformPoint(frame);
    target[i] = p;
  }
}

void GLCircle::GetPoints(GLVectorArray& out) const { points_.CopyTo(out, Tessellator()); }

void GLCircle::Draw(uint32_t, GLMatLib* materials) {
  GLDrawCurve(*this, GL_LINE_LOOP, points_.Get(Tessellator()), materials, material_);
}

GLExtents GLCircle::GetExtents() const { return points_.Extents(Tessellator()); }

void GLCircle::SetMaterial(uint32_t index) {
  material_ = index;
  NotifyRestyled();
}

void GLCircle::Transform(const GLMatrix& m) {
  centre_.TransformPoint(m);
  normal_.TransformDirection(m);
  GLVector r(radius_, 0.0, 0.0);
  r.TransformDirection(m);
  radius_ = r.Length();
  points_.Transform(m);
  NotifyChanged();
}
