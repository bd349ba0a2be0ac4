#include "objectgl/GLMesh.h"

#include <vector>

#include "objectgl/GLDrawState.h"
#include "objectgl/GLScene.h"
#include "common/GLStream.h"

namespace {
constexpr uint32_t kIndicesFlag = 8;
}  // namespace

GLMesh::GLMesh(uint32_t rows, uint32_t cols, const GLVector* vertices, const GLVector* normals, const GLVector* third,
               uint32_t material)
    : rows_(rows), cols_(cols), material_(material) {
  const uint32_t n = rows * cols;
  lists_[0] = GLNewVectorArray(vertices, n);
  lists_[1] = GLNewVectorArray(normals, n);
  lists_[2] = GLNewVectorArray(third, n);
  SetStrips();
  indices_ = std::make_unique<GLUIntArray>(n + (rows > 2 ? (rows / 2 + rows % 2) * cols : 0), 10);
  if (rows > cols) {
    for (uint32_t s = 0; s < stripCount_; ++s)
      for (uint32_t r = 0; r < rows; ++r) {
        indices_->Add(r * cols + s);
        indices_->Add(r * cols + s + 1);
      }
  } else {
    for (uint32_t s = 0; s < stripCount_; ++s)
      for (uint32_t c = 0; c < cols; ++c) {
        indices_->Add((s + 1) * cols + c);
        indices_->Add(s * cols + c);
      }
  }
}

GLMesh::~GLMesh() = default;

void GLMesh::SetStrips() {
  if (rows_ == 0 || cols_ == 0) {
    stripCount_ = stripLength_ = 0;
  } else if (rows_ > cols_) {
    stripCount_ = cols_ - 1;
    stripLength_ = rows_;
  } else {
    stripCount_ = rows_ - 1;
    stripLength_ = cols_;
  }
}

void GLMesh::Draw(uint32_t mode, GLMatLib* materials) {
  const GLVectorArray* vertices = Vertices();
  const GLVectorArray* normals = Normals();
  if (!indices_ || !vertices || !normals) return;
  if (materials) materials->SetCurrent(material_);
  GLApplyForMode(materials, material_, mode);
  const GLScene* scene = GetScene();
  const uint32_t* index = indices_->GetData();
  const uint32_t count = indices_->GetCount();
  uint32_t at = 0;
  if (!GLIsRendering()) {
    // Positions only, as vertex arrays: a pick needs no normals.
    std::vector<GLVector> strip;
    for (uint32_t s = 0; s < stripCount_; ++s) {
      strip.clear();
      for (uint32_t k = 0; k < 2 * stripLength_ && at < count; ++k, ++at) {
        const uint32_t i = index[at];
        if (i < vertices->GetCount() && i < normals->GetCount()) strip.push_back((*vertices)[i]);
      }
      GLSendPoints(GL_QUAD_STRIP, strip.data(), strip.size(), scene);
    }
    return;
  }
  for (uint32_t s = 0; s < stripCount_; ++s) {
    glBegin(GL_QUAD_STRIP);
    for (uint32_t k = 0; k < 2 * stripLength_ && at < count; ++k, ++at) {
      const uint32_t i = index[at];
      if (i >= vertices->GetCount() || i >= normals->GetCount()) continue;
      glNormal3dv(GLScene::MapDirection((*normals)[i], scene));
      glVertex3dv(GLScene::MapPoint((*vertices)[i], scene));
    }
    glEnd();
  }
}

bool GLMesh::Write(GLOstream& os) const {
  const GLVectorArray* const lists[3] = {lists_[0].get(), lists_[1].get(), lists_[2].get()};
  const uint32_t flags = GLVectorListFlags(lists) | (indices_ ? kIndicesFlag : 0);
  return GLEntity::Write(os) && os.Write(flags) && GLWriteVectorLists(os, lists) &&
         (!indices_ || indices_->Write(os)) && os.Write(material_) && os.Write(rows_) && os.Write(cols_);
}

bool GLMesh::Read(GLIstream& is) {
  uint32_t flags = 0;
  GLMesh read;
  if (!GLEntity::Read(is) || !is.Read(flags) || !GLReadVectorLists(is, flags, read.lists_)) return false;
  if (flags & kIndicesFlag) {
    read.indices_ = std::make_unique<GLUIntArray>();
    if (!read.indices_->Read(is)) return false;
  }
  if (!is.Read(read.material_) || !is.Read(read.rows_) || !is.Read(read.cols_)) return false;

  const uint64_t cells = uint64_t{read.rows_} * read.cols_;
  for (const auto& list : read.lists_)
    if (list && list->GetCount() != cells) return false;
  read.SetStrips();
  if (read.indices_) {
    const uint32_t vertexCount = read.Vertices() ? read.Vertices()->GetCount() : 0;
    if (read.indices_->GetCount() < uint64_t{2} * read.stripCount_ * read.stripLength_) return false;
    if (!read.indices_->AllBelow(vertexCount)) return false;
  }
  rows_ = read.rows_;
  cols_ = read.cols_;
  material_ = read.material_;
  stripCount_ = read.stripCount_;
  stripLength_ = read.stripLength_;
  indices_ = std::move(read.indices_);
  for (int i = 0; i < 3; ++i) lists_[i] = std::move(read.lists_[i]);
  NotifyChanged();
  return true;
}

GLExtents GLMesh::GetExtents() const {
  GLExtents e;
  if (Vertices())
    for (const GLVector& v : *Vertices()) e.AddPoint(v);
  return e;
}

void GLMesh::SetMaterial(uint32_t index) {
  material_ = index;
  NotifyRestyled();
}
