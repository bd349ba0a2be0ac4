// A placeholder solid: it sets up the state and the matrix for a figure of
// its size at its position (turned 90 degrees about x), with a front and a
// back material, and draws no primitives.
#pragma once

#include "objectgl/GLEntity.h"

class GLTeaPot : public GLEntity {
  GL_DECLARE_CLASS()

 public:
  GLTeaPot() = default;
  GLTeaPot(const GLVector& position, double size, uint32_t frontMaterial, uint32_t backMaterial)
      : position_(position), size_(size), frontMaterial_(frontMaterial), backMaterial_(backMaterial) {}

  void Draw(uint32_t mode, GLMatLib* materials) override;
  // Position and size: 32 bytes.
  bool Write(GLOstream& os) const override;
  bool Read(GLIstream& is) override;
  GLExtents GetExtents() const override;
  // Sets both materials.
  void SetMaterial(uint32_t index) override;
  uint32_t GetMaterial() const override { return frontMaterial_; }

  const GLVector& GetPosition() const { return position_; }
  double GetSize() const { return size_; }

 private:
  GLVector position_;
  double size_ = 0.0;
  uint32_t frontMaterial_ = 0, backMaterial_ = 0;
};
