#include "objectgl/GLEntity.h"

#include <GL/gl.h>

#include "objectgl/GLScene.h"
#include "common/GLStream.h"

namespace {
void SetFlag(uint32_t& flags, uint32_t flag, bool on) {
  if (on)
    flags |= flag;
  else
    flags &= ~flag;
}
}  // namespace

GLScene* GLEntity::GetScene() const { return GLDynamicCast<GLScene>(owner_); }

GLMatLib* GLEntity::GetMaterials() const {
  GLScene* scene = GetScene();
  return scene ? &scene->GetMatLib() : nullptr;
}

void GLEntity::NotifyChanged() const {
  if (GLScene* scene = GetScene()) scene->InvalidateDisplayList();
}

void GLEntity::NotifyRestyled() const {
  if (GLScene* scene = GetScene()) scene->InvalidateLooks();
}

void GLEntity::SetHighlighted(bool on) {
  SetFlag(flags_, kHighlighted, on);
  NotifyRestyled();
}

void GLEntity::SetHidden(bool on) {
  SetFlag(flags_, kHidden, on);
  NotifyChanged();
}

void GLEntity::OnInactiveChanged(bool) { NotifyChanged(); }

void GLEntity::SetLineWidth(float width) {
  lineWidth_ = width;
  NotifyRestyled();
}

void GLEntity::SetLineWidths(float normal, float highlighted) {
  lineWidth_ = normal;
  highlightLineWidth_ = highlighted;
  NotifyRestyled();
}

void GLEntity::SetHighlightLineWidth(float width) {
  highlightLineWidth_ = width;
  NotifyRestyled();
}

void GLEntity::DrawIfVisible(uint32_t mode) {
  if (IsVisible()) Draw(mode, GetMaterials());
}

void GLEntity::DrawForSelectIfVisible(uint32_t mode) {
  if (IsVisible()) DrawForSelect(mode, GetMaterials());
}

void GLName::DrawForSelect(uint32_t, GLMatLib*) { glLoadName(id_); }

bool GLName::Write(GLOstream& os) const { return GLEntity::Write(os) && os.Write(id_); }

bool GLName::Read(GLIstream& is) { return GLEntity::Read(is) && is.Read(id_); }

void GLPushMatrix::Draw(uint32_t, GLMatLib*) {
  glPushMatrix();
  glMultMatrixd(matrix_.GetData());
}

void GLPushMatrix::SetMatrix(const GLMatrix& m) {
  matrix_ = m;
  NotifyChanged();
}

bool GLPushMatrix::Write(GLOstream& os) const { return GLEntity::Write(os) && matrix_.Write(os); }

bool GLPushMatrix::Read(GLIstream& is) { return GLEntity::Read(is) && matrix_.Read(is); }

void GLPopMatrix::Draw(uint32_t, GLMatLib*) { glPopMatrix(); }
