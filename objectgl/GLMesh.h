// A rows x columns grid of vertices (with normals, and a third per-vertex
// list that is kept and streamed but not drawn) drawn as quad strips.
#pragma once

#include <memory>

#include "objectgl/GLEntity.h"
#include "objectgl/GLUIntArray.h"
#include "objectgl/GLVectorArray.h"

class GLMesh : public GLEntity {
  GL_DECLARE_CLASS()

 public:
  GLMesh() = default;
  // Copies rows x cols vectors of each given list and builds the strips:
  // along the rows when there are more rows than columns, else along the
  // columns.
  GLMesh(uint32_t rows, uint32_t cols, const GLVector* vertices, const GLVector* normals, const GLVector* third,
         uint32_t material);
  GLMesh(const GLMesh&) = delete;
  GLMesh& operator=(const GLMesh&) = delete;
  ~GLMesh() override;

  // Nothing without indices, vertices and normals.
  void Draw(uint32_t mode, GLMatLib* materials) override;
  // Flags (1 vertices, 2 normals, 4 third, 8 indices), the lists present,
  // the indices, material, rows, cols.
  bool Write(GLOstream& os) const override;
  // False, leaving the mesh as it was, unless the lists match rows x cols,
  // the indices cover the strips and every index lies below the vertex
  // count.
  bool Read(GLIstream& is) override;
  GLExtents GetExtents() const override;
  void SetMaterial(uint32_t index) override;
  uint32_t GetMaterial() const override { return material_; }

  uint32_t GetRows() const { return rows_; }
  uint32_t GetCols() const { return cols_; }
  uint32_t GetStripCount() const { return stripCount_; }
  uint32_t GetStripLength() const { return stripLength_; }
  const GLUIntArray* GetIndices() const { return indices_.get(); }

 private:
  // stripCount and stripLength from rows and cols.
  void SetStrips();

  uint32_t rows_ = 0, cols_ = 0;
  uint32_t material_ = 0;
  uint32_t stripCount_ = 0, stripLength_ = 0;
  const GLVectorArray* Vertices() const { return lists_[0].get(); }
  const GLVectorArray* Normals() const { return lists_[1].get(); }

  std::unique_ptr<GLUIntArray> indices_;
  // Vertices, normals and the third list, in stream order.
  std::unique_ptr<GLVectorArray> lists_[3];
};
