#include "objectgl/GLText.h"

#include <cstring>

#include "objectgl/GLDrawState.h"
#include "objectgl/GLGeometry.h"
#include "objectgl/GLScene.h"
#include "objectgl/GLTextStyle.h"
#include "platform/win32/wgl/wgl.h"

GLText::GLText(const char* text, uint32_t material) : material_(material) { SetText(text); }

GLText::~GLText() { DeleteList(); }

void GLText::DeleteList() {
  if (displayList_ && wglGetCurrentContext()) glDeleteLists(displayList_, 1);
  displayList_ = 0;
}

void GLText::Discard() {
  DeleteList();
  layout_.reset();
  charCount_ = 0;
  NotifyChanged();
}

void GLText::SetText(const char* text) {
  Discard();
  lines_.clear();
  if (!text) return;
  const char* start = text;
  for (const char* lf; (lf = std::strchr(start, '\n')) != nullptr; start = lf + 1) lines_.emplace_back(start, lf);
  lines_.emplace_back(start);
}

void GLText::SetStyleIndex(uint32_t index) {
  styleIndex_ = index;
  Discard();
}

void GLText::SetHeight(const double& height) {
  height_ = height;
  Discard();
}

void GLText::SetAngle(const double& angle) {
  angle_ = angle;
  Discard();
}

void GLText::SetPosition(const GLVector& position) {
  position_ = position;
  Discard();
}

uint32_t GLText::GetCharCount() const {
  size_t n = 0;
  for (const std::string& line : lines_) n += line.size();
  return static_cast<uint32_t>(n);
}

void GLText::Layout() const {
  layout_.reset();
  charCount_ = 0;
  GLScene* scene = GetScene();
  if (!scene) return;
  charCount_ = GetCharCount();
  layout_ = std::make_unique<GLFacesArray[]>(charCount_);
  GLTextStyle* style = styleIndex_ < scene->GetTextStyleCount() ? scene->GetTextStyle(styleIndex_) : nullptr;
  if (!style) return;
  double gap = 0.0;
  style->GetScaledExternalLeading(&height_, &gap);

  // Glyphs turn about the position, in the plane of the normal.
  const GLVector normal = GLPlaneNormal(normal_);
  const GLVector x = normal.GetPerpendicular();
  GLMatrix place;
  place.SetTranslation(-position_.x, -position_.y, -position_.z);
  GLMatrix turn;
  turn.SetRotationZ(angle_);
  place *= turn;
  place *= GLFrameMatrix(GLVector(), x, x.Cross(normal), normal);
  GLMatrix back;
  back.SetTranslation(position_);
  place *= back;

  GLVector pen = position_;
  uint32_t k = 0;
  for (const std::string& line : lines_) {
    pen.x = position_.x;
    double advance = 0.0;
    for (const char c : line) {
      pen.x += advance;
      style->GetCharFaces(layout_[k++], static_cast<uint8_t>(c), &advance, place, pen, &height_);
    }
    pen.y -= height_ + gap;
  }
}

void GLText::SendFaces() const {
  const GLScene* scene = GetScene();
  glNormal3dv(GLScene::MapDirection(normal_, scene));
  for (uint32_t i = 0; layout_ && i < charCount_; ++i)
    for (const GLFaces* f : layout_[i]) {
      const auto& points = f->GetPoints();
      GLSendPoints(f->GetType(), points.GetCount() ? &points[0] : nullptr, points.GetCount(), scene);
    }
}

void GLText::Compile(GLenum listMode) {
  if (!layout_) Layout();
  DeleteList();
  displayList_ = glGenLists(1);
  const GLScene* scene = GetScene();
  listModel_ = scene ? scene->GetModelVersion() : 0;
  glNewList(displayList_, listMode);
  SendFaces();
  glEndList();
}

bool GLText::ListIsStale() const {
  const GLScene* scene = GetScene();
  return scene && scene->GetModelVersion() != listModel_;
}

void GLText::BuildDisplayList() { Compile(GL_COMPILE_AND_EXECUTE); }

void GLText::PrepareLists() {
  if (!displayList_ || ListIsStale()) Compile(GL_COMPILE);
}

void GLText::Draw(uint32_t mode, GLMatLib* materials) {
  if (materials) materials->SetCurrent(material_);
  if (mode == 3) return;
  if (mode <= 1)
    GLApplyColor(materials, material_);
  else if (mode == 2)
    GLApplyLit(materials, material_, GL_FRONT_AND_BACK);
  GLFilledPolygons filled;
  if (!GLIsRendering()) {
    if (!layout_) Layout();
    SendFaces();
  } else if (displayList_ && !ListIsStale()) {
    glCallList(displayList_);
  } else {
    BuildDisplayList();
  }
}

GLExtents GLText::GetExtents() const {
  if (!layout_) Layout();
  GLExtents e;
  for (uint32_t i = 0; layout_ && i < charCount_; ++i)
    for (const GLFaces* f : layout_[i]) {
      const GLVectorArray& points = f->GetPoints();
      for (uint32_t p = 0; p + 1 < points.GetCount(); ++p) e.AddPoint(points[p]);
    }
  return e;
}

void GLText::SetMaterial(uint32_t index) {
  material_ = index;
  NotifyRestyled();
}

void GLText::Transform(const GLMatrix& m) {
  position_.TransformPoint(m);
  normal_.TransformDirection(m);
  if (layout_) {
    for (uint32_t i = 0; i < charCount_; ++i)
      for (GLFaces* f : layout_[i]) f->Transform(m);
    Compile(GL_COMPILE);
  }
  NotifyChanged();
}
