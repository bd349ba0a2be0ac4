// Lights carry their colours as a material and are applied by the scene in
// the lit render mode. A camera-relative light is applied after the view
// transform (its position is in scene coordinates); the others before it
// (their position moves with the viewer).
#pragma once

#include <cstdint>

#include "common/GLVector.h"
#include "objectgl/GLMaterial.h"
#include "objectgl/GLObject.h"

class GLLight : public GLObject {
  GL_DECLARE_CLASS()

 public:
  GLLight() = default;
  explicit GLLight(uint32_t number) : number_(number) {}

  virtual void Apply() = 0;
  virtual void ApplyColors() = 0;
  // The light number (4 bytes) and the camera-relative flag (1 byte); both
  // report failure whatever the stream did.
  virtual bool Write(GLOstream& os) const;
  virtual bool Read(GLIstream& is);

  uint32_t GetNumber() const { return number_; }
  void SetEnabled(bool on);
  bool IsEnabled() const { return enabled_; }
  void SetCameraRelative(bool on) { cameraRelative_ = on; }
  bool IsCameraRelative() const { return cameraRelative_; }
  void SetColors(const GLMaterial& colors);
  GLMaterial& GetColors(GLMaterial& out) const { return out = colors_; }

 protected:
  uint32_t number_ = 0xFFFFFFFF;
  bool cameraRelative_ = true;
  bool colorsApplied_ = false;
  bool enabled_ = true;
  GLMaterial colors_;
};

class GLOmniLight : public GLLight {
  GL_DECLARE_CLASS()

 public:
  GLOmniLight() = default;
  explicit GLOmniLight(uint32_t number) : GLLight(number) {}

  void Apply() override;
  void ApplyColors() override;

  void SetPosition(const GLVector& p) { position_ = p; }
  const GLVector& GetPosition() const { return position_; }
  void SetDirectional(bool on) { directional_ = on; }
  bool IsDirectional() const { return directional_; }

 protected:
  GLVector position_;
  bool directional_ = false;
  float spotExponent_ = 0.0f;
};

class GLDirectionLight : public GLOmniLight {
  GL_DECLARE_CLASS()

 public:
  GLDirectionLight() { directional_ = true; }
  explicit GLDirectionLight(uint32_t number) : GLOmniLight(number) { directional_ = true; }

  void Apply() override;
  void ApplyColors() override;

  void SetDirection(const GLVector& d) { direction_ = d; }
  const GLVector& GetDirection() const { return direction_; }
  void SetCutoff(float cutoff) { cutoff_ = cutoff; }
  void GetCutoff(float* out) const {
    if (out) *out = cutoff_;
  }
  void SetSpotExponent(float exponent) { spotExponent_ = exponent; }
  void GetSpotExponent(float* out) const {
    if (out) *out = spotExponent_;
  }

 private:
  GLVector direction_;
  float cutoff_ = 180.0f;
};
