// Solid text in a scene: lines split at line feeds, laid out with a text
// style of the owning scene (glyph triangles placed in the world) and drawn
// through a display list. The position is the start of the first line's
// baseline; the angle turns the text about it in the plane of the normal.
#pragma once

#include <GL/gl.h>

#include <memory>
#include <string>
#include <vector>

#include "objectgl/GLEntity.h"
#include "objectgl/GLFaces.h"

class GLTextStyle;

class GLText : public GLEntity {
  GL_DECLARE_CLASS()

 public:
  explicit GLText(const char* text = nullptr, uint32_t material = 0);
  GLText(const GLText&) = delete;
  GLText& operator=(const GLText&) = delete;
  ~GLText() override;

  // Changing what the text shows or where drops its layout and list: the
  // next draw lays it out and compiles it again.
  void SetText(const char* text);
  void SetStyleIndex(uint32_t index);
  uint32_t GetStyleIndex() const { return styleIndex_; }
  void SetHeight(const double& height);
  double GetHeight() const { return height_; }
  void SetAngle(const double& angle);
  double GetAngle() const { return angle_; }
  void SetPosition(const GLVector& position);
  const GLVector& GetPosition() const { return position_; }
  const GLVector& GetNormal() const { return normal_; }
  // Lays out when needed and compiles (and draws) a new display list.
  void BuildDisplayList();
  // The compiled list; 0 when there is none.
  uint32_t GetDisplayList() const { return displayList_; }
  // The number of characters over all lines.
  uint32_t GetCharCount() const;
  uint32_t GetLineCount() const { return static_cast<uint32_t>(lines_.size()); }
  const std::string& GetLine(uint32_t i) const { return lines_[i]; }
  // Null until laid out; one entry per character in reading order.
  const GLFacesArray* GetCharFaces(uint32_t i) const { return layout_ && i < charCount_ ? &layout_[i] : nullptr; }
  // The box of every point of character i's placed triangles (empty for a
  // character without any); null until laid out.
  const GLExtents* GetCharBox(uint32_t i) const;

  // Modes 0 and 1 in the material's colour, 2 lit, 3 nothing; filled. A
  // text a few pixels small in a scene's pass is drawn as the pixels its
  // triangles cover (see DrawAsDots).
  void Draw(uint32_t mode, GLMatLib* materials) override;
  // The box of the placed triangles (each primitive's last point left out).
  GLExtents GetExtents() const override;
  void SetMaterial(uint32_t index) override;
  uint32_t GetMaterial() const override { return material_; }
  // Moves the placed triangles too and compiles them again.
  void Transform(const GLMatrix& m) override;
  void PrepareLists() override;

 private:
  // Needs an owning scene; with no style at the index the layout is empty.
  void Layout() const;
  // The placed triangles through the scene's model matrix.
  void SendFaces() const;
  void Compile(GLenum listMode);
  // A list compiled through another model matrix than the scene's now.
  bool ListIsStale() const;
  void DeleteList();
  // Drops the layout and the list, and tells the scene.
  void Discard();
  // Within a scene's pass, through an affine view (orthographic camera),
  // every glyph at most a few pixels: each pixel centre a glyph triangle
  // covers is sent as a point of one pixel on that triangle (same place,
  // depth and colour), kept for the view. A glyph of some thirty triangles
  // over a pixel or two is otherwise the most of a frame. False when the
  // text is not drawn so.
  bool DrawAsDots();
  // Finds dots_ through m (entity to window x, y and depth) in the
  // viewport; dotted_ when every glyph is small there.
  void FindDots(const double* m, const GLint* viewport);

  uint32_t material_;
  uint32_t styleIndex_ = 0;
  uint32_t displayList_ = 0;
  // The scene's model version the list was compiled through.
  uint64_t listModel_ = 0;
  mutable uint32_t charCount_ = 0;
  double height_ = 1.0;
  double angle_ = 0.0;
  GLVector position_;
  GLVector normal_ = GLAxisZ;
  std::vector<std::string> lines_;
  mutable std::unique_ptr<GLFacesArray[]> layout_;
  mutable std::unique_ptr<GLExtents[]> boxes_;
  // The points DrawAsDots sends (entity coordinates) and the view they
  // were found for (0: none); dotted_ when the text was small there.
  std::vector<GLVector> dots_;
  uint64_t dotsView_ = 0;
  bool dotted_ = false;
};
