// A marker whose size is in screen pixels: a small figure (cross, stroke,
// filled polygon or disc, flag, chevrons) in its own frame at a point,
// drawn the same size on screen at any zoom.
#pragma once

#include "objectgl/GLEntity.h"

class GLSelectPoint : public GLEntity {
  GL_DECLARE_CLASS()

 public:
  explicit GLSelectPoint(uint32_t style = 0) : style_(style) {}
  GLSelectPoint(const GLVector& position, uint32_t material, const double* size, uint32_t style, const GLVector& xAxis,
                const GLVector& yAxis, const GLVector& zAxis);

  // Style 2 a vertical stroke; 3-8 and 32 a regular polygon with that many
  // corners (500 as 3, 501 as 32), filled, outlined when highlighted; 502 a
  // flag; 503 two chevrons; anything else a diagonal cross.
  void Draw(uint32_t mode, GLMatLib* materials) override;
  // Position and material: 28 bytes.
  bool Write(GLOstream& os) const override;
  bool Read(GLIstream& is) override;
  // Empty unless included in extents and not hidden; follows the zoom.
  GLExtents GetExtents() const override;
  void SetMaterial(uint32_t index) override;
  uint32_t GetMaterial() const override { return material_; }
  void Transform(const GLMatrix& m) override;

  const GLVector& GetPosition() const { return position_; }
  void SetPosition(const GLVector& position);
  double GetSize() const { return size_; }
  void SetSize(double size);
  uint32_t GetStyle() const { return style_; }
  bool GetIncludeInExtents() const { return includeInExtents_ != 0; }
  void SetIncludeInExtents(bool on) { includeInExtents_ = on ? 1 : 0; }

 private:
  GLMatrix Frame() const;
  // Pixel size in world units at the scene's present zoom.
  double UnitsPerPixel() const;

  GLVector position_;
  double size_ = 0.0;
  uint32_t material_ = 0;
  GLVector xAxis_, yAxis_, zAxis_;
  uint8_t includeInExtents_ = 0;
  uint32_t style_;
};
