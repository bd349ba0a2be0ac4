#include "objectgl/GLLight.h"

#include <GL/gl.h>

#include "objectgl/GLScene.h"
#include "common/GLStream.h"

bool GLLight::Write(GLOstream& os) const {
  os.Write(number_);
  os.Write(cameraRelative_);
  return false;
}

bool GLLight::Read(GLIstream& is) {
  is.Read(number_);
  is.Read(cameraRelative_);
  return false;
}

void GLLight::SetEnabled(bool on) {
  enabled_ = on;
  if (on)
    glEnable(GL_LIGHT0 + number_);
  else
    glDisable(GL_LIGHT0 + number_);
  colorsApplied_ = false;
}

void GLLight::SetColors(const GLMaterial& colors) {
  colors_ = colors;
  colorsApplied_ = false;
}

void GLOmniLight::Apply() {
  if (!colorsApplied_) ApplyColors();
  const float position[4] = {static_cast<float>(position_.x), static_cast<float>(position_.y),
                             static_cast<float>(position_.z), directional_ ? 0.0f : 1.0f};
  const auto mapped = GLScene::MapHomogeneous(position, GLDynamicCast<GLScene>(owner_));
  glLightfv(GL_LIGHT0 + number_, GL_POSITION, mapped.data());
}

void GLOmniLight::ApplyColors() {
  colors_.ApplyToLight(number_);
  glLightf(GL_LIGHT0 + number_, GL_SPOT_EXPONENT, spotExponent_);
  if (enabled_)
    glEnable(GL_LIGHT0 + number_);
  else
    glDisable(GL_LIGHT0 + number_);
  colorsApplied_ = true;
}

void GLDirectionLight::Apply() {
  GLOmniLight::Apply();
  const float direction[3] = {static_cast<float>(direction_.x), static_cast<float>(direction_.y),
                              static_cast<float>(direction_.z)};
  glLightfv(GL_LIGHT0 + number_, GL_SPOT_DIRECTION, direction);
}

void GLDirectionLight::ApplyColors() {
  glLightf(GL_LIGHT0 + number_, GL_SPOT_CUTOFF, cutoff_);
  GLOmniLight::ApplyColors();
}
