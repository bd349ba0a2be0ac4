#include "objectgl/GLArc.h"

#include <cmath>
#include <numbers>

#include "objectgl/GLDrawState.h"
#include "objectgl/GLGeometry.h"

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

double Value(const double* v) { return v ? *v : 0.0; }

// The oriented angle in [0, 2 pi): a hair below a full turn is no turn.
double AngleOf(const GLVector& from, const GLVector& to, const GLVector& reference) {
  const double a = from.GetOrientedAngle(to, reference);
  return a >= kTwoPi - 1e-12 ? 0.0 : a;
}

}  // namespace

GLArc::GLArc(const GLVector& centre, const double* radius, const double* start, const double* end, uint32_t material,
             uint32_t segments)
    : GLArc(centre, GLAxisZ, radius, start, end, material, segments) {}

GLArc::GLArc(const GLVector& centre, const GLVector& normal, const double* radius, const double* start,
             const double* end, uint32_t material, uint32_t segments)
    : centre_(centre),
      normal_(normal),
      radius_(Value(radius)),
      start_(Value(start)),
      end_(Value(end)),
      segments_(segments),
      material_(material) {}

GLArc::GLArc(const GLVector& p1, const GLVector& p2, const double* bulge, uint32_t material, uint32_t segments)
    : segments_(segments), material_(material) {
  const double b = Value(bulge);
  const double included = 4.0 * std::atan(b);
  const double chord = GLDistance(p1, p2);
  const double d = (chord / 2.0) / std::tan(included / 2.0);
  GLVector across = GLAxisZ.Cross(p2 - p1);
  across.Normalize();
  across *= d;
  GLMidPoint(p1, p2, &centre_);
  centre_ += across;
  start_ = AngleOf(GLAxisX, p1 - centre_, GLAxisZ);
  end_ = AngleOf(GLAxisX, p2 - centre_, GLAxisZ);
  direction_ = b < 0.0 ? GL_CW : GL_CCW;
  radius_ = GLDistance(centre_, p1);
  normal_ = GLAxisZ;
}

GLArc::GLArc(const GLArc& other)
    : GLEntity(other),
      centre_(other.centre_),
      normal_(other.normal_),
      radius_(other.radius_),
      start_(other.start_),
      end_(other.end_),
      segments_(other.segments_),
      material_(other.material_),
      direction_(other.direction_) {}

void GLArc::Tessellate(GLVectorArray& target) const {
  if (!target.SetSize(segments_) || segments_ == 0) return;
  const double intervals = segments_ > 1 ? segments_ - 1.0 : 1.0;
  double step;
  if (direction_ == GL_CW)
    step = -((start_ > end_ ? start_ - end_ : start_ + kTwoPi - end_) / intervals);
  else
    step = (end_ > start_ ? end_ - start_ : end_ + kTwoPi - start_) / intervals;
  const GLMatrix frame = GLPlaneFrameMatrix(centre_, normal_);
  for (uint32_t i = 0; i < segments_; ++i) {
    const double a = start_ + i * step;
    GLVector p(radius_ * std::cos(a), radius_ * std::sin(a), 0.0);
    p.TransformPoint(frame);
    target[i] = p;
  }
}

void GLArc::GetPoints(GLVectorArray& out) const { points_.CopyTo(out, Tessellator()); }

void GLArc::SetSegments(uint32_t segments) {
  points_.Forget();
  segments_ = segments;
  NotifyChanged();
}

void GLArc::Draw(uint32_t, GLMatLib* materials) {
  GLDrawCurve(*this, GL_LINE_STRIP, points_.Get(Tessellator()), materials, material_);
}

GLExtents GLArc::GetExtents() const { return points_.Extents(Tessellator()); }

void GLArc::SetMaterial(uint32_t index) {
  material_ = index;
  NotifyRestyled();
}

void GLArc::Transform(const GLMatrix& m) {
  GLVector x = GLAxisX, y = GLAxisY, z = GLAxisZ;
  x.TransformDirection(m);
  y.TransformDirection(m);
  z.TransformDirection(m);
  if (z.Dot(x.Cross(y)) < 0.0) direction_ = direction_ == GL_CW ? GL_CCW : GL_CW;

  // The angles as directions in the world, through the present frame.
  const GLMatrix frame = GLPlaneFrameMatrix(GLVector(), normal_);
  GLVector s(std::cos(start_), std::sin(start_), 0.0), e(std::cos(end_), std::sin(end_), 0.0);
  s.TransformDirection(frame);
  e.TransformDirection(frame);

  centre_.TransformPoint(m);
  normal_.TransformDirection(m);
  normal_ = GLPlaneNormal(normal_);
  normal_.Normalize();
  s.TransformDirection(m);
  e.TransformDirection(m);
  radius_ *= std::sqrt(s.Length() * e.Length());

  const GLVector axis = normal_.GetPerpendicular();
  start_ = AngleOf(axis, s, normal_);
  end_ = AngleOf(axis, e, normal_);
  points_.Transform(m);
  NotifyChanged();
}
