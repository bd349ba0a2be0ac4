#include "objectgl/GLShell.h"

#include <algorithm>

#include "objectgl/GLDrawState.h"
#include "objectgl/GLScene.h"
#include "common/GLStream.h"

namespace {
constexpr uint32_t kIndicesFlag = 8;
}  // namespace

GLShell::GLShell(uint32_t indexCount, const uint32_t* indices, uint32_t vertexCount, const GLVector* vertices,
                 const GLVector* normals, const GLVector* texCoords, uint32_t material)
    : material_(material), indexCount_(indexCount) {
  lists_[0] = GLNewVectorArray(vertices, vertexCount);
  lists_[1] = GLNewVectorArray(normals, vertexCount);
  lists_[2] = GLNewVectorArray(texCoords, vertexCount);
  if (indices) indices_ = std::make_unique<GLUIntArray>(indices, indexCount);
}

GLShell::~GLShell() = default;

void GLShell::DrawElements(uint32_t mode, GLMatLib* materials, GLenum primitive) {
  const GLVectorArray* vertices = lists_[0].get();
  const GLVectorArray* normals = lists_[1].get();
  const GLVectorArray* texCoords = lists_[2].get();
  if (!vertices || !indices_) return;
  if (materials) materials->SetCurrent(material_);
  GLApplyForMode(materials, material_, mode);
  glDisableClientState(GL_COLOR_ARRAY);
  glDisableClientState(GL_EDGE_FLAG_ARRAY);
  glDisableClientState(GL_INDEX_ARRAY);

  const GLScene* scene = GetScene();
  mappedVertices_.RemoveAll();
  for (const GLVector& v : *vertices) mappedVertices_.Add(GLScene::MapPoint(v, scene));
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_DOUBLE, 0, mappedVertices_.GetData());
  if (normals) {
    mappedNormals_.RemoveAll();
    for (const GLVector& n : *normals) mappedNormals_.Add(GLScene::MapDirection(n, scene));
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(GL_DOUBLE, 0, mappedNormals_.GetData());
  } else {
    glDisableClientState(GL_NORMAL_ARRAY);
  }
  if (texCoords) {
    glTexCoordPointer(3, GL_DOUBLE, 0, texCoords->GetData());
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  } else {
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  }
  const uint32_t count = std::min(indexCount_, indices_->GetCount());
  glDrawElements(primitive, static_cast<GLsizei>(count), GL_UNSIGNED_INT, indices_->GetData());
}

void GLShell::Draw(uint32_t mode, GLMatLib* materials) { DrawElements(mode, materials, GL_QUADS); }

void GLPolygonArray::Draw(uint32_t mode, GLMatLib* materials) { DrawElements(mode, materials, GL_POLYGON); }

bool GLShell::Write(GLOstream& os) const {
  const GLVectorArray* const lists[3] = {lists_[0].get(), lists_[1].get(), lists_[2].get()};
  const uint32_t flags = GLVectorListFlags(lists) | (indices_ ? kIndicesFlag : 0);
  return GLEntity::Write(os) && os.Write(flags) && GLWriteVectorLists(os, lists) &&
         (!indices_ || indices_->Write(os)) && os.Write(material_) && os.Write(indexCount_);
}

bool GLShell::Read(GLIstream& is) {
  uint32_t flags = 0;
  std::unique_ptr<GLVectorArray> lists[3];
  if (!GLEntity::Read(is) || !is.Read(flags) || !GLReadVectorLists(is, flags, lists)) return false;
  std::unique_ptr<GLUIntArray> indices;
  if (flags & kIndicesFlag) {
    indices = std::make_unique<GLUIntArray>();
    if (!indices->Read(is)) return false;
  }
  uint32_t material = 0, indexCount = 0;
  if (!is.Read(material) || !is.Read(indexCount)) return false;

  const uint32_t vertexCount = lists[0] ? lists[0]->GetCount() : 0;
  for (int i = 1; i < 3; ++i)
    if (lists[i] && lists[i]->GetCount() != vertexCount) return false;
  if (indices) {
    if (indexCount > indices->GetCount()) return false;
    if (!indices->AllBelow(vertexCount)) return false;
  }
  material_ = material;
  indexCount_ = indexCount;
  for (int i = 0; i < 3; ++i) lists_[i] = std::move(lists[i]);
  indices_ = std::move(indices);
  NotifyChanged();
  return true;
}

GLExtents GLShell::GetExtents() const {
  GLExtents e;
  if (lists_[0])
    for (const GLVector& v : *lists_[0]) e.AddPoint(v);
  return e;
}

void GLShell::SetMaterial(uint32_t index) {
  material_ = index;
  NotifyRestyled();
}
