// A solid arrow whose length is in screen pixels: a head triangle and a
// shaft in its own frame, turned about its z axis. With direction 1 the tip
// is at the position and the body runs along +x; with 0 the tail is there
// and the tip lies the length along +x.
#pragma once

#include "objectgl/GLEntity.h"

class GLArrow : public GLEntity {
  GL_DECLARE_CLASS()

 public:
  GLArrow() = default;
  GLArrow(const GLVector& position, uint32_t material, const double* length, const GLVector& xAxis,
          const GLVector& yAxis, const GLVector& zAxis, const double* angle, uint8_t direction);

  void Draw(uint32_t mode, GLMatLib* materials) override;
  // Position, material, length, angle, direction: 45 bytes.
  bool Write(GLOstream& os) const override;
  bool Read(GLIstream& is) override;
  GLExtents GetExtents() const override;
  void SetMaterial(uint32_t index) override;
  uint32_t GetMaterial() const override { return material_; }

  const GLVector& GetPosition() const { return position_; }
  void SetPosition(const GLVector& position);
  double GetLength() const { return length_; }
  void SetLength(double length);
  double GetAngle() const { return angle_; }
  void SetAngle(double angle);
  uint8_t GetDirection() const { return direction_; }
  void SetDirection(uint8_t direction);
  bool GetIncludeInExtents() const { return includeInExtents_ != 0; }
  void SetIncludeInExtents(bool on) { includeInExtents_ = on ? 1 : 0; }

 private:
  // Head (3) and shaft (4) in the world, at the scene's present zoom.
  void Corners(GLVector out[7]) const;

  GLVector position_;
  GLVector xAxis_ = GLAxisX, yAxis_ = GLAxisY, zAxis_ = GLAxisZ;
  double length_ = 0.0;
  double angle_ = 0.0;
  uint32_t material_ = 0;
  uint8_t direction_ = 1;
  uint8_t includeInExtents_ = 0;
};
