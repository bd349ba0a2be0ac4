// The abstract base of everything a scene draws. A scene keeps its entities
// in one ordered list: a GLName opens a named group (what selection returns
// and highlighting addresses), GLPushMatrix / GLPopMatrix bracket entities
// drawn under an extra transform.
#pragma once

#include <cstdint>

#include "common/GLMatrix.h"
#include "objectgl/GLExtents.h"
#include "objectgl/GLObject.h"

class GLMatLib;
class GLScene;

class GLEntity : public GLObject {
  GL_DECLARE_CLASS()

 public:
  static constexpr uint32_t kHidden = 2;
  static constexpr uint32_t kHighlighted = 4;

  virtual void Draw(uint32_t mode, GLMatLib* materials) = 0;
  virtual void DrawForSelect(uint32_t mode, GLMatLib* materials) { Draw(mode, materials); }
  // The entity base adds nothing to the stream: the first step of every
  // entity's own writer and reader.
  virtual bool Write(GLOstream&) const { return true; }
  virtual bool Read(GLIstream&) { return true; }
  virtual GLExtents GetExtents() const = 0;
  virtual void SetHighlighted(bool on);
  virtual void SetHidden(bool on);
  virtual void SetMaterial(uint32_t index) = 0;
  virtual uint32_t GetMaterial() const = 0;
  virtual void Transform(const GLMatrix&) {}
  // Compiles the entity's own display lists (text, polygons) before the
  // scene opens its list: lists are never compiled inside another.
  virtual void PrepareLists() {}

  void OnInactiveChanged(bool inactive) override;

  bool IsHighlighted() const { return (flags_ & kHighlighted) != 0; }
  bool IsHidden() const { return (flags_ & kHidden) != 0; }
  float GetLineWidth() const { return lineWidth_; }
  float GetHighlightLineWidth() const { return highlightLineWidth_; }
  void SetLineWidth(float width);
  void SetLineWidths(float normal, float highlighted);
  void SetHighlightLineWidth(float width);

  // Draw / DrawForSelect with the owning scene's materials unless the entity
  // is inactive or hidden.
  void DrawIfVisible(uint32_t mode);
  void DrawForSelectIfVisible(uint32_t mode);
  bool IsVisible() const { return (flags_ & (kInactive | kHidden)) == 0; }

  GLScene* GetScene() const;
  GLMatLib* GetMaterials() const;

 protected:
  // Tells the owning scene that what it compiled of this entity is stale.
  void NotifyChanged() const;
  // The same when only how the entity looks changed (highlight, material,
  // line widths), not where it can be hit.
  void NotifyRestyled() const;

 private:
  float lineWidth_ = 1.0f;
  float highlightLineWidth_ = 6.0f;
};

// Opens a named group: its id is what a pick returns.
class GLName final : public GLEntity {
  GL_DECLARE_CLASS()

 public:
  explicit GLName(uint32_t id = 0xFFFFFFFF) : id_(id) {}

  void Draw(uint32_t, GLMatLib*) override {}
  void DrawForSelect(uint32_t mode, GLMatLib* materials) override;
  bool Write(GLOstream& os) const override;
  bool Read(GLIstream& is) override;
  GLExtents GetExtents() const override { return GLExtents(); }
  void SetMaterial(uint32_t) override {}
  uint32_t GetMaterial() const override { return 0; }

  void SetId(uint32_t id) { id_ = id; }
  uint32_t GetId() const { return id_; }

 private:
  uint32_t id_;
};

// Pushes the OpenGL matrix and multiplies it by its own; a GLPopMatrix later
// in the list restores it.
class GLPushMatrix final : public GLEntity {
  GL_DECLARE_CLASS()

 public:
  GLPushMatrix() = default;
  explicit GLPushMatrix(const GLMatrix& m) : matrix_(m) {}

  void Draw(uint32_t mode, GLMatLib* materials) override;
  void DrawForSelect(uint32_t mode, GLMatLib* materials) override { Draw(mode, materials); }
  bool Write(GLOstream& os) const override;
  bool Read(GLIstream& is) override;
  GLExtents GetExtents() const override { return GLExtents(); }
  void SetMaterial(uint32_t) override {}
  uint32_t GetMaterial() const override { return 0; }

  void SetMatrix(const GLMatrix& m);
  GLMatrix& GetMatrix(GLMatrix& out) const { return out = matrix_; }
  const GLMatrix& Matrix() const { return matrix_; }

 private:
  GLMatrix matrix_;
};

class GLPopMatrix final : public GLEntity {
  GL_DECLARE_CLASS()

 public:
  void Draw(uint32_t mode, GLMatLib* materials) override;
  void DrawForSelect(uint32_t mode, GLMatLib* materials) override { Draw(mode, materials); }
  GLExtents GetExtents() const override { return GLExtents(); }
  void SetMaterial(uint32_t) override {}
  uint32_t GetMaterial() const override { return 0; }
};
