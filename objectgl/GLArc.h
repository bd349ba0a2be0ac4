// A circular arc in the plane of its normal, from a start to an end angle,
// counter-clockwise or clockwise (GL_CCW / GL_CW), drawn as a strip through
// points computed once and kept.
#pragma once

#include <GL/gl.h>

#include "objectgl/GLCurvePoints.h"
#include "objectgl/GLEntity.h"

class GLArc : public GLEntity {
  GL_DECLARE_CLASS()

 public:
  GLArc() = default;
  // In the XY plane, counter-clockwise. Null values are 0.
  GLArc(const GLVector& centre, const double* radius, const double* start, const double* end, uint32_t material,
        uint32_t segments);
  GLArc(const GLVector& centre, const GLVector& normal, const double* radius, const double* start, const double* end,
        uint32_t material, uint32_t segments);
  // The polyline segment from p1 to p2 bulged by tan(included angle / 4):
  // counter-clockwise for a positive bulge, clockwise for a negative one.
  GLArc(const GLVector& p1, const GLVector& p2, const double* bulge, uint32_t material, uint32_t segments);
  // The defining values and the direction; the points start empty.
  GLArc(const GLArc& other);
  GLArc& operator=(const GLArc&) = delete;

  void Draw(uint32_t mode, GLMatLib* materials) override;
  // An arc has no stream content.
  bool Write(GLOstream&) const override { return true; }
  bool Read(GLIstream&) override { return true; }
  GLExtents GetExtents() const override;
  void SetMaterial(uint32_t index) override;
  uint32_t GetMaterial() const override { return material_; }
  // A mirroring matrix swaps the direction.
  void Transform(const GLMatrix& m) override;

  void GetPoints(GLVectorArray& out) const;
  // The points Draw sends, made when there are none yet.
  const GLVectorArray& DrawnPoints() const {
    return points_.Get([this](GLVectorArray& target) { Tessellate(target); });
  }
  // segments points from start to end; equal angles make a full turn.
  void Tessellate(GLVectorArray& target) const;

  double GetStartAngle() const { return start_; }
  double GetEndAngle() const { return end_; }
  uint32_t GetSegments() const { return segments_; }
  // Forgets the points: the next use tessellates again.
  void SetSegments(uint32_t segments);
  uint32_t GetDirection() const { return direction_; }
  const GLVector& GetCentre() const { return centre_; }
  const GLVector& GetNormal() const { return normal_; }
  double GetRadius() const { return radius_; }

 private:
  auto Tessellator() const {
    return [this](GLVectorArray& target) { Tessellate(target); };
  }

  GLVector centre_;
  GLVector normal_ = GLAxisZ;
  double radius_ = 0.0;
  double start_ = 0.0, end_ = 0.0;
  uint32_t segments_ = 32;
  uint32_t material_ = 0;
  GLCurvePoints points_;
  uint32_t direction_ = GL_CCW;
};
