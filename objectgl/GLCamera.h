// A camera orbits its target at a distance with three rotation angles and
// projects in perspective (field of view, near and far planes) or
// orthographically (a view size in scene units).
#pragma once

#include "common/GLMatrix.h"
#include "common/GLVector.h"
#include "objectgl/GLObject.h"

class GLViewport;

class GLCamera : public GLObject {
  GL_DECLARE_CLASS()

 public:
  virtual bool Write(GLOstream&) const { return false; }
  virtual bool Read(GLIstream&) { return false; }

  // These mark the projection not valid.
  void SetPerspective(bool on);
  bool IsPerspective() const { return perspective_; }
  void SetFov(double radians);
  double GetFov() const { return fov_; }
  void SetNear(double value);
  double GetNear() const { return near_; }
  void SetFar(double value);
  double GetFar() const { return far_; }
  void SetViewSize(double width, double height);
  void GetViewSize(double* width, double* height) const;
  double GetViewWidth() const { return viewWidth_; }
  double GetViewHeight() const { return viewHeight_; }
  bool IsProjectionValid() const { return projectionValid_; }

  // These leave the projection alone; the view follows at the next render.
  void SetRotation(double ax, double ay, double az);
  void SetRotationX(double a) { rotation_[0] = a; }
  void SetRotationY(double a) { rotation_[1] = a; }
  void SetRotationZ(double a) { rotation_[2] = a; }
  double GetRotationX() const { return rotation_[0]; }
  double GetRotationY() const { return rotation_[1]; }
  double GetRotationZ() const { return rotation_[2]; }
  void GetRotation(double* ax, double* ay, double* az) const;
  void SetTarget(const GLVector& target) { target_ = target; }
  const GLVector& GetTarget() const { return target_; }
  void SetDistance(double distance) { distance_ = distance; }
  double GetDistance() const { return distance_; }

  const GLMatrix& GetViewMatrix() const { return view_; }
  void ComputeView();
  // The view with the target mapped through the owning scene's model matrix.
  GLMatrix& BuildViewMatrix(GLMatrix& out) const;
  const GLVector& GetEyePosition();
  void GetAxes(GLVector* x, GLVector* y, GLVector* z) const;
  // The caller's x and z are rotated in place.
  void SetViewFromAxes(GLVector& x, const GLVector& y, GLVector& z);

  void ApplyProjection(GLViewport* viewport);
  // The projection ApplyProjection would set, as OpenGL holds it; the
  // current matrices stay as they are.
  void GetProjectionMatrix(GLViewport* viewport, double out[16]) const;
  // A pick region of size x size pixels around the point.
  void ApplyPickProjection(GLViewport* viewport, int x, int y, double size = 5.0);
  void ApplyToViewport(GLViewport* viewport);
  void ApplyPickToViewport(GLViewport* viewport, int x, int y, double size = 5.0);

 private:
  void Project(GLViewport* viewport) const;
  GLMatrix ViewFrom(const GLVector& target) const;
  GLMatrix InverseRotation() const;

  bool projectionValid_ = false;
  bool perspective_ = true;
  double fov_ = 0.7853981633974483;
  double near_ = 1.0;
  double far_ = 999999.0;
  double rotation_[3] = {0.0, 0.0, 0.0};
  double viewWidth_ = 0.0;
  double viewHeight_ = 0.0;
  double distance_ = 0.0;
  GLVector target_;
  GLVector eye_;
  GLMatrix view_;
};
