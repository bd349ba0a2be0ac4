#include "objectgl/GLSelectPoint.h"

#include <cmath>
#include <numbers>

#include "objectgl/GLDrawState.h"
#include "objectgl/GLGeometry.h"
#include "objectgl/GLScene.h"
#include "common/GLStream.h"

namespace {
// Corners of the polygon figures; 0 for the line figures.
uint32_t CornersOf(uint32_t style) {
  if ((style >= 3 && style <= 8) || style == 32) return style;
  if (style == 500) return 3;
  if (style == 501) return 32;
  return 0;
}
}  // namespace

GLSelectPoint::GLSelectPoint(const GLVector& position, uint32_t material, const double* size, uint32_t style,
                             const GLVector& xAxis, const GLVector& yAxis, const GLVector& zAxis)
    : position_(position),
      size_(size ? *size : 0.0),
      material_(material),
      xAxis_(xAxis),
      yAxis_(yAxis),
      zAxis_(zAxis),
      style_(style) {}

GLMatrix GLSelectPoint::Frame() const { return GLFrameMatrix(position_, xAxis_, yAxis_, zAxis_); }

double GLSelectPoint::UnitsPerPixel() const {
  GLScene* scene = GetScene();
  return scene ? scene->GetUnitsPerPixel() : 1.0;
}

void GLSelectPoint::Draw(uint32_t, GLMatLib* materials) {
  if (IsHidden()) return;
  GLLightingOff lighting;
  const double s = UnitsPerPixel() * size_, r = s / 2.0;
  const GLMatrix frame = Frame();
  const GLScene* scene = GetScene();
  // Each figure goes as one primitive of frame-mapped points, so that a
  // pick sends it as a vertex array like every curve.
  GLVector points[32];
  size_t count = 0;
  auto vertex = [&](double x, double y) {
    GLVector p(x, y, 0.0);
    p.TransformPoint(frame);
    points[count++] = p;
  };
  auto send = [&](GLenum primitive) {
    GLApplyColor(materials, material_);
    GLSendPoints(primitive, points, count, scene);
    count = 0;
  };

  if (const uint32_t corners = CornersOf(style_)) {
    for (uint32_t i = 0; i < corners; ++i) {
      const double a = 2.0 * std::numbers::pi * i / corners;
      vertex(r * std::cos(a), r * std::sin(a));
    }
    if (IsHighlighted()) {
      send(GL_LINE_LOOP);
    } else {
      GLFilledPolygons filled;
      send(GL_POLYGON);
    }
    return;
  }

  GLLineWidthScope width(IsHighlighted() ? GetHighlightLineWidth() : GetLineWidth());
  switch (style_) {
    case 2:
      vertex(0, r);
      vertex(0, -r);
      send(GL_LINE_STRIP);
      break;
    case 502:
      vertex(0, -s / 6);
      vertex(0, s / 6);
      send(GL_LINES);
      vertex(-s / 2, 2 * s / 3);
      vertex(-s / 2, s);
      vertex(s / 2, 2 * s / 3);
      send(GL_LINE_LOOP);
      break;
    case 503:
      vertex(-r, r);
      vertex(0, 0);
      vertex(-r, -r);
      send(GL_LINE_STRIP);
      vertex(0, r);
      vertex(r, 0);
      vertex(0, -r);
      send(GL_LINE_STRIP);
      break;
    default:
      vertex(-r, -r);
      vertex(r, r);
      vertex(-r, r);
      vertex(r, -r);
      send(GL_LINES);
      break;
  }
}

bool GLSelectPoint::Write(GLOstream& os) const {
  return GLEntity::Write(os) && position_.Write(os) && os.Write(material_);
}

bool GLSelectPoint::Read(GLIstream& is) {
  GLVector position;
  uint32_t material = 0;
  if (!GLEntity::Read(is) || !position.Read(is) || !is.Read(material)) return false;
  position_ = position;
  material_ = material;
  NotifyChanged();
  return true;
}

GLExtents GLSelectPoint::GetExtents() const {
  GLExtents e;
  if (!includeInExtents_ || IsHidden()) return e;
  const double r = UnitsPerPixel() * size_ / 2.0;
  const GLMatrix frame = Frame();
  for (const GLVector& corner : {GLVector(-r, -r, 0), GLVector(r, r, 0), GLVector(-r, r, 0), GLVector(r, -r, 0)}) {
    GLVector p = corner;
    p.TransformPoint(frame);
    e.AddPoint(p);
  }
  return e;
}

void GLSelectPoint::SetMaterial(uint32_t index) {
  material_ = index;
  NotifyRestyled();
}

void GLSelectPoint::Transform(const GLMatrix& m) {
  position_.TransformPoint(m);
  xAxis_.TransformDirection(m);
  yAxis_.TransformDirection(m);
  zAxis_.TransformDirection(m);
  NotifyChanged();
}

void GLSelectPoint::SetPosition(const GLVector& position) {
  position_ = position;
  NotifyChanged();
}

void GLSelectPoint::SetSize(double size) {
  size_ = size;
  NotifyChanged();
}
