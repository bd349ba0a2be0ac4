// A full circle in the plane of its normal, drawn as a closed loop through
// points computed once and kept (transformations move them in place).
#pragma once

#include "objectgl/GLCurvePoints.h"
#include "objectgl/GLEntity.h"

class GLCircle : public GLEntity {
  GL_DECLARE_CLASS()

 public:
  GLCircle() = default;
  // Fewer than 3 segments make 3; a null radius is 0.
  GLCircle(const GLVector& centre, const GLVector& normal, const double* radius, uint32_t material, int32_t segments);
  // The defining values; the points start empty.
  GLCircle(const GLCircle& other);
  GLCircle& operator=(const GLCircle&) = delete;

  void Draw(uint32_t mode, GLMatLib* materials) override;
  // A circle has no stream form: both report false.
  bool Write(GLOstream&) const override { return false; }
  bool Read(GLIstream&) override { return false; }
  GLExtents GetExtents() const override;
  void SetMaterial(uint32_t index) override;
  uint32_t GetMaterial() const override { return material_; }
  void Transform(const GLMatrix& m) override;

  // The kept points, or a fresh tessellation when there are none yet.
  void GetPoints(GLVectorArray& out) const;
  // The points Draw sends, made when there are none yet.
  const GLVectorArray& DrawnPoints() const {
    return points_.Get([this](GLVectorArray& target) { Tessellate(target); });
  }
  void Tessellate(GLVectorArray& target) const;

  const GLVector& GetCentre() const { return centre_; }
  const GLVector& GetNormal() const { return normal_; }
  double GetRadius() const { return radius_; }
  int32_t GetSegments() const { return segments_; }

 private:
  auto Tessellator() const {
    return [this](GLVectorArray& target) { Tessellate(target); };
  }

  GLVector centre_;
  GLVector normal_;
  double radius_ = 0.0;
  int32_t segments_ = 64;
  uint32_t material_ = 0;
  GLCurvePoints points_;
};
