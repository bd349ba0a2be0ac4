#include "objectgl/GLArrow.h"

#include "objectgl/GLDrawState.h"
#include "objectgl/GLGeometry.h"
#include "objectgl/GLScene.h"
#include "common/GLStream.h"

GLArrow::GLArrow(const GLVector& position, uint32_t material, const double* length, const GLVector& xAxis,
                 const GLVector& yAxis, const GLVector& zAxis, const double* angle, uint8_t direction)
    : position_(position),
      xAxis_(xAxis),
      yAxis_(yAxis),
      zAxis_(zAxis),
      length_(length ? *length : 0.0),
      angle_(angle ? *angle : 0.0),
      material_(material),
      direction_(direction) {}

void GLArrow::Corners(GLVector out[7]) const {
  GLScene* scene = GetScene();
  double l = (scene ? scene->GetUnitsPerPixel() : 1.0) * length_;
  double w = l / 3.0;
  const double h = w / 2.0;
  double t = 0.0;
  if (direction_ == 0) {
    t = l;
    l = -l;
    w = -w;
  }
  out[0] = GLVector(t, 0, 0);
  out[1] = GLVector(t + w, w, 0);
  out[2] = GLVector(t + w, -w, 0);
  out[3] = GLVector(t + w, h, 0);
  out[4] = GLVector(t + w, -h, 0);
  out[5] = GLVector(t + l, -h, 0);
  out[6] = GLVector(t + l, h, 0);
  GLMatrix m;
  m.SetRotationZ(angle_);
  m *= GLFrameMatrix(position_, xAxis_, yAxis_, zAxis_);
  for (int i = 0; i < 7; ++i) out[i].TransformPoint(m);
}

void GLArrow::Draw(uint32_t, GLMatLib* materials) {
  if (IsHidden()) return;
  GLFilledPolygons filled;
  GLLightingOff lighting;
  GLVector p[7];
  Corners(p);
  const GLScene* scene = GetScene();
  GLApplyColor(materials, material_);
  GLSendPoints(GL_TRIANGLES, p, 3, scene);
  GLApplyColor(materials, material_);
  GLSendPoints(GL_QUADS, p + 3, 4, scene);
}

bool GLArrow::Write(GLOstream& os) const {
  return GLEntity::Write(os) && position_.Write(os) && os.Write(material_) && os.Write(length_) && os.Write(angle_) &&
         os.Write(direction_);
}

bool GLArrow::Read(GLIstream& is) {
  GLArrow read;
  if (!GLEntity::Read(is) || !read.position_.Read(is) || !is.Read(read.material_) || !is.Read(read.length_) ||
      !is.Read(read.angle_) || !is.Read(read.direction_))
    return false;
  position_ = read.position_;
  material_ = read.material_;
  length_ = read.length_;
  angle_ = read.angle_;
  direction_ = read.direction_;
  NotifyChanged();
  return true;
}

GLExtents GLArrow::GetExtents() const {
  GLExtents e;
  if (!includeInExtents_ || IsHidden()) return e;
  GLVector p[7];
  Corners(p);
  for (const GLVector& v : p) e.AddPoint(v);
  return e;
}

void GLArrow::SetMaterial(uint32_t index) {
  material_ = index;
  NotifyRestyled();
}

void GLArrow::SetPosition(const GLVector& position) {
  position_ = position;
  NotifyChanged();
}

void GLArrow::SetLength(double length) {
  length_ = length;
  NotifyChanged();
}

void GLArrow::SetAngle(double angle) {
  angle_ = angle;
  NotifyChanged();
}

void GLArrow::SetDirection(uint8_t direction) {
  direction_ = direction;
  NotifyChanged();
}
