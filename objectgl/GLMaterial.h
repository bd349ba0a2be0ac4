// Materials: the four OpenGL material colours and a shininess, with an
// optional texture (an empty placeholder). GLMatLib keeps a scene's
// materials by index and remembers what was last sent to OpenGL, so a run of
// entities with one material sends it once.
#pragma once

#include <cstdint>

#include "objectgl/GLObject.h"
#include "objectgl/GLObjectArray.h"

class GLTexture : public GLObject {
  GL_DECLARE_CLASS()

 public:
  virtual bool Write(GLOstream&) const { return true; }
  virtual bool Read(GLIstream&) { return true; }
};

class GLMaterial : public GLObject {
  GL_DECLARE_CLASS()

 public:
  GLMaterial() = default;
  // Colours and shininess; a new empty texture when the source has one.
  GLMaterial(const GLMaterial& other);
  // Diffuse = the colour, the rest default.
  explicit GLMaterial(const float rgba[4]);
  // Takes the texture over.
  GLMaterial(const float diffuse[4], const float ambient[4], const float specular[4], const float emission[4],
             float shininess, GLTexture* texture);
  GLMaterial& operator=(const GLMaterial& other);
  ~GLMaterial() override;

  // The diffuse colour as the current colour.
  void ApplyColor() const;
  void Apply(uint32_t face) const;
  void ApplyToLight(uint32_t lightNumber) const;

  // Colours, shininess, a has-texture byte and the texture: 69 bytes without
  // one. The result is the texture's, true without one.
  virtual bool Write(GLOstream& os) const;
  virtual bool Read(GLIstream& is);

  float diffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
  float ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
  float specular[4] = {0.1f, 0.1f, 0.1f, 1.0f};
  float emission[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  float shininess = 0.0f;
  GLTexture* GetTexture() const { return texture_; }

 private:
  GLTexture* texture_ = nullptr;
};

class GLMatLib : public GLObject {
  GL_DECLARE_CLASS()

 public:
  static constexpr uint32_t kNone = 0xFFFFFFFF;

  GLMatLib() = default;
  GLMatLib(const GLMatLib&) = delete;
  GLMatLib& operator=(const GLMatLib&) = delete;
  ~GLMatLib() override;

  // Takes the material over; returns the new count (0 for null).
  uint32_t AddMaterial(GLMaterial* material);
  // Null without materials or at or beyond the count.
  GLMaterial* GetMaterial(uint32_t index);
  uint32_t GetCount() const { return materials_ ? materials_->GetCount() : 0; }
  void SetCurrent(uint32_t index);
  uint32_t GetCurrent() const { return current_; }
  void ResetState();
  // Each sends the current material once until the current index or the
  // kind of use changes. Without a current material, or with an index
  // beyond the library, the default material is sent: painting never throws.
  void ApplyColor();
  void ApplyMaterial(uint32_t face);
  void ApplyLight(uint32_t lightNumber);
  // The standard palette of "GLOBJECT.GLR" (binary resource 107). False
  // when the resource is missing or its count does not fit its size;
  // GLException 1005 when the file is found nowhere.
  bool LoadPalette();

 private:
  const GLMaterial& CurrentOrDefault();

  GLObjectArray* materials_ = nullptr;
  uint32_t current_ = kNone;
  bool colorApplied_ = false;
  bool materialApplied_ = false;
  bool lightApplied_ = false;
};
