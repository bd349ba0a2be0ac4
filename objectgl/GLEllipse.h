// An elliptical arc: centre, major axis (its length the major radius),
// normal, minor-to-major ratio and parameter range, drawn as a strip
// through points computed once and kept. It does not follow
// transformations.
#pragma once

#include <numbers>

#include "objectgl/GLCurvePoints.h"
#include "objectgl/GLEntity.h"

class GLEllipse : public GLEntity {
  GL_DECLARE_CLASS()

 public:
  GLEllipse() = default;
  // Null values: ratio 1, start 0, end 0.
  GLEllipse(const GLVector& centre, const GLVector& majorAxis, const GLVector& normal, const double* ratio,
            uint32_t material, const double* start, const double* end, uint32_t segments);
  // The defining values; the points start empty.
  GLEllipse(const GLEllipse& other);
  GLEllipse& operator=(const GLEllipse&) = delete;

  void Draw(uint32_t mode, GLMatLib* materials) override;
  bool Write(GLOstream&) const override { return true; }
  bool Read(GLIstream&) override { return true; }
  GLExtents GetExtents() const override;
  void SetMaterial(uint32_t index) override;
  uint32_t GetMaterial() const override { return material_; }

  void GetPoints(GLVectorArray& out) const;
  // The points Draw sends, made when there are none yet.
  const GLVectorArray& DrawnPoints() const {
    return points_.Get([this](GLVectorArray& target) { Tessellate(target); });
  }
  // segments points from start to end, backwards when end is below start.
  void Tessellate(GLVectorArray& target) const;

  double GetStartParam() const { return start_; }
  double GetEndParam() const { return end_; }

 private:
  auto Tessellator() const {
    return [this](GLVectorArray& target) { Tessellate(target); };
  }

  GLVector centre_;
  GLVector majorAxis_ = GLAxisX;
  GLVector normal_ = GLAxisZ;
  double ratio_ = 1.0;
  double start_ = 0.0, end_ = 2.0 * std::numbers::pi;
  uint32_t segments_ = 64;
  uint32_t material_ = 0;
  GLCurvePoints points_;
};
