#include "objectgl/GLCamera.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>

#include "objectgl/GLScene.h"
#include "objectgl/GLViewport.h"

namespace {

constexpr double kDegree = 0.017453292519943295;

GLMatrix Translation(const GLVector& t) {
  GLMatrix m;
  m.SetTranslation(t);
  return m;
}

GLMatrix RotationX(double a) {
  GLMatrix m;
  m.SetRotationX(a);
  return m;
}

GLMatrix RotationY(double a) {
  GLMatrix m;
  m.SetRotationY(a);
  return m;
}

GLMatrix RotationZ(double a) {
  GLMatrix m;
  m.SetRotationZ(a);
  return m;
}

// A component strictly inside +-1e-10 counts as zero.
bool IsZero(double v) { return v > -1e-10 && v < 1e-10; }

}  // namespace

void GLCamera::SetPerspective(bool on) {
  perspective_ = on;
  projectionValid_ = false;
}

void GLCamera::SetFov(double radians) {
  fov_ = radians;
  projectionValid_ = false;
}

void GLCamera::SetNear(double value) {
  near_ = value;
  projectionValid_ = false;
}

void GLCamera::SetFar(double value) {
  far_ = value;
  projectionValid_ = false;
}

void GLCamera::SetViewSize(double width, double height) {
  viewWidth_ = width;
  viewHeight_ = height;
  projectionValid_ = false;
}

void GLCamera::GetViewSize(double* width, double* height) const {
  if (width) *width = viewWidth_;
  if (height) *height = viewHeight_;
}

void GLCamera::SetRotation(double ax, double ay, double az) {
  rotation_[0] = ax;
  rotation_[1] = ay;
  rotation_[2] = az;
}

void GLCamera::GetRotation(double* ax, double* ay, double* az) const {
  if (ax) *ax = rotation_[0];
  if (ay) *ay = rotation_[1];
  if (az) *az = rotation_[2];
}

GLMatrix GLCamera::ViewFrom(const GLVector& target) const {
  GLVector minus = target;
  minus.Negate();
  GLMatrix m = Translation(minus);
  m *= RotationX(rotation_[0]);
  m *= RotationY(rotation_[1]);
  m *= RotationZ(rotation_[2]);
  m *= Translation(GLVector(0.0, 0.0, -distance_));
  return m;
}

void GLCamera::ComputeView() { view_ = ViewFrom(target_); }

GLMatrix& GLCamera::BuildViewMatrix(GLMatrix& out) const {
  return out = ViewFrom(GLScene::MapPoint(target_, GLDynamicCast<GLScene>(owner_)));
}

GLMatrix GLCamera::InverseRotation() const {
  GLMatrix m = RotationZ(-rotation_[2]);
  m *= RotationY(-rotation_[1]);
  m *= RotationX(-rotation_[0]);
  return m;
}

const GLVector& GLCamera::GetEyePosition() {
  GLMatrix m = InverseRotation();
  m *= Translation(target_);
  eye_ = GLVector(0.0, 0.0, distance_);
  eye_.TransformPoint(m);
  return eye_;
}

void GLCamera::GetAxes(GLVector* x, GLVector* y, GLVector* z) const {
  const GLMatrix m = InverseRotation();
  GLVector axes[3] = {GLAxisX, GLAxisY, GLAxisZ};
  for (GLVector& a : axes) a.TransformDirection(m);
  if (x) *x = axes[0];
  if (y) *y = axes[1];
  if (z) *z = axes[2];
}

void GLCamera::SetViewFromAxes(GLVector& x, const GLVector& y, GLVector& z) {
  double angleX = 0.0;
  GLVector v = z;
  if (!IsZero(v.y) || !IsZero(v.z)) {
    v.x = 0.0;
    angleX = GLAxisZ.GetOrientedAngle(v, GLAxisX);
  } else {
    v = y;
    if (!IsZero(v.y) || !IsZero(v.z)) {
      v.x = 0.0;
      angleX = GLAxisY.GetOrientedAngle(v, GLAxisX);
    }
  }
  const GLMatrix rx = RotationX(-angleX);
  x.TransformDirection(rx);
  z.TransformDirection(rx);

  double angleY = 0.0;
  v = z;
  if (!IsZero(v.x) || !IsZero(v.z)) {
    v.y = 0.0;
    angleY = GLAxisZ.GetOrientedAngle(v, GLAxisY);
  }
  x.TransformDirection(RotationY(-angleY));

  double angleZ = 0.0;
  v = x;
  if (!IsZero(v.x) || !IsZero(v.y)) {
    v.z = 0.0;
    angleZ = GLAxisX.GetOrientedAngle(v, GLAxisZ);
  }
  SetRotation(-angleX, -angleY, -angleZ);
  projectionValid_ = false;
}

void GLCamera::Project(GLViewport* viewport) const {
  if (perspective_) {
    gluPerspective(fov_ / kDegree, viewport->GetAspect(), near_, far_);
    return;
  }
  const double half = std::max(viewWidth_, viewHeight_) / 2.0;
  bool wider = false;
  const double f = viewport->GetOrthoAspect(&wider);
  if (wider)
    glOrtho(-half * f, half * f, -half, half, near_, far_);
  else
    glOrtho(-half, half, -half * f, half * f, near_, far_);
}

void GLCamera::ApplyProjection(GLViewport* viewport) {
  if (!viewport) return;
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  Project(viewport);
  glMatrixMode(GL_MODELVIEW);
  projectionValid_ = true;
}

void GLCamera::GetProjectionMatrix(GLViewport* viewport, double out[16]) const {
  GLint mode = GL_MODELVIEW;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  if (viewport) Project(viewport);
  glGetDoublev(GL_PROJECTION_MATRIX, out);
  glPopMatrix();
  glMatrixMode(static_cast<GLenum>(mode));
}

void GLCamera::ApplyPickProjection(GLViewport* viewport, int x, int y, double size) {
  if (!viewport) return;
  GLint rect[4] = {};
  glGetIntegerv(GL_VIEWPORT, rect);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  // Window y counts from the top.
  gluPickMatrix(x, rect[3] - y, size, size, rect);
  Project(viewport);
  glMatrixMode(GL_MODELVIEW);
  projectionValid_ = false;
}

void GLCamera::ApplyToViewport(GLViewport* viewport) {
  if (!viewport) return;
  if (!projectionValid_ || viewport->TakeChanged()) ApplyProjection(viewport);
  GLMatrix view;
  glMultMatrixd(BuildViewMatrix(view).GetData());
}

void GLCamera::ApplyPickToViewport(GLViewport* viewport, int x, int y, double size) {
  ApplyPickProjection(viewport, x, y, size);
  GLMatrix view;
  glMultMatrixd(BuildViewMatrix(view).GetData());
}
