// A straight line between two points, each end with its own material, so
// that a line can run between two colours.
#pragma once

#include "objectgl/GLEntity.h"

class GLLine final : public GLEntity {
  GL_DECLARE_CLASS()

 public:
  GLLine() = default;
  GLLine(const GLVector& p1, const GLVector& p2, uint32_t material) : GLLine(p1, p2, material, material) {}
  GLLine(const GLVector& p1, const GLVector& p2, uint32_t material1, uint32_t material2)
      : p1_(p1), p2_(p2), material1_(material1), material2_(material2) {}

  // Modes 0-3 draw; others issue an empty begin/end pair.
  void Draw(uint32_t mode, GLMatLib* materials) override;
  // p1, p2 (six doubles), material1, material2: 56 bytes.
  bool Write(GLOstream& os) const override;
  bool Read(GLIstream& is) override;
  GLExtents GetExtents() const override;
  // Sets both ends.
  void SetMaterial(uint32_t index) override;
  uint32_t GetMaterial() const override { return material1_; }
  void Transform(const GLMatrix& m) override;

  const GLVector& GetStart() const { return p1_; }
  const GLVector& GetEnd() const { return p2_; }
  uint32_t GetEndMaterial() const { return material2_; }

 private:
  GLVector p1_, p2_;
  uint32_t material1_ = 0, material2_ = 0;
};
