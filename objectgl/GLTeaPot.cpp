#include "objectgl/GLTeaPot.h"

#include "objectgl/GLDrawState.h"
#include "objectgl/GLScene.h"
#include "common/GLStream.h"

void GLTeaPot::Draw(uint32_t mode, GLMatLib* materials) {
  const GLScene* scene = GetScene();
  const uint32_t renderMode = scene ? scene->GetRenderMode() : 0;
  if (renderMode == 2 && mode == 3) return;
  glPushAttrib(GL_ENABLE_BIT | GL_LIGHTING_BIT | GL_POLYGON_BIT);
  if (renderMode == 2 && mode == 1) {
    glEnable(GL_LIGHTING);
    glShadeModel(GL_FLAT);
    mode = 2;
  }
  glFrontFace(GL_CW);
  if (mode <= 1) {
    GLApplyColor(materials, frontMaterial_);
  } else if (mode == 2) {
    GLApplyLit(materials, frontMaterial_, GL_FRONT);
    GLApplyLit(materials, backMaterial_, GL_BACK);
  } else if (materials) {
    materials->SetCurrent(frontMaterial_);
  }
  glPushMatrix();
  const GLVector at = GLScene::MapPoint(position_, scene);
  glTranslated(at.x, at.y, at.z);
  glRotated(90.0, 1.0, 0.0, 0.0);
  glEnable(GL_NORMALIZE);
  glEnable(GL_AUTO_NORMAL);
  glPopMatrix();
  glPopAttrib();
  // The pop put back the material state the library believes it sent.
  if (materials) materials->ResetState();
}

bool GLTeaPot::Write(GLOstream& os) const { return GLEntity::Write(os) && position_.Write(os) && os.Write(size_); }

bool GLTeaPot::Read(GLIstream& is) {
  GLVector position;
  double size = 0.0;
  if (!GLEntity::Read(is) || !position.Read(is) || !is.Read(size)) return false;
  position_ = position;
  size_ = size;
  NotifyChanged();
  return true;
}

GLExtents GLTeaPot::GetExtents() const {
  GLExtents e;
  const GLVector half(size_, size_, size_);
  e.AddPoint(position_ - half);
  e.AddPoint(position_ + half);
  return e;
}

void GLTeaPot::SetMaterial(uint32_t index) {
  frontMaterial_ = backMaterial_ = index;
  NotifyRestyled();
}
