#include "objectgl/GLLine.h"

#include "objectgl/GLDrawState.h"
#include "objectgl/GLScene.h"
#include "common/GLStream.h"

void GLLine::Draw(uint32_t mode, GLMatLib* materials) {
  GLLightingOff lighting;
  GLLineWidthScope width(IsHighlighted() ? GetHighlightLineWidth() : GetLineWidth());
  const GLScene* scene = GetScene();
  if (mode > 3) {
    glBegin(GL_LINES);
    glEnd();
    return;
  }
  if (!GLIsRendering()) {
    // Colours count for nothing here.
    const GLVector ends[2] = {p1_, p2_};
    GLSendPoints(GL_LINES, ends, 2, scene);
    return;
  }
  glBegin(GL_LINES);
  GLApplyColor(materials, material1_);
  glVertex3dv(GLScene::MapPoint(p1_, scene));
  GLApplyColor(materials, material2_);
  glVertex3dv(GLScene::MapPoint(p2_, scene));
  glEnd();
}

bool GLLine::Write(GLOstream& os) const {
  return GLEntity::Write(os) && p1_.Write(os) && p2_.Write(os) && os.Write(material1_) && os.Write(material2_);
}

bool GLLine::Read(GLIstream& is) {
  GLLine read;
  if (!GLEntity::Read(is) || !read.p1_.Read(is) || !read.p2_.Read(is) || !is.Read(read.material1_) ||
      !is.Read(read.material2_))
    return false;
  p1_ = read.p1_;
  p2_ = read.p2_;
  material1_ = read.material1_;
  material2_ = read.material2_;
  NotifyChanged();
  return true;
}

GLExtents GLLine::GetExtents() const {
  GLExtents e;
  e.AddPoint(p1_);
  e.AddPoint(p2_);
  return e;
}

void GLLine::SetMaterial(uint32_t index) {
  material1_ = material2_ = index;
  NotifyRestyled();
}

void GLLine::Transform(const GLMatrix& m) {
  p1_.TransformPoint(m);
  p2_.TransformPoint(m);
  NotifyChanged();
}
