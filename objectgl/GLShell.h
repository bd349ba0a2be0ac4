// Faces drawn from shared vertex lists by index with glDrawElements: quads
// for GLShell, one polygon for GLPolygonArray. The vertices and normals
// are mapped through the scene's model matrix into work lists at every
// draw.
#pragma once

#include <GL/gl.h>

#include <memory>

#include "objectgl/GLEntity.h"
#include "objectgl/GLUIntArray.h"
#include "objectgl/GLVectorArray.h"

class GLShell : public GLEntity {
  GL_DECLARE_CLASS()

 public:
  GLShell() = default;
  // Normals and texture coordinates, when given, have vertexCount elements.
  GLShell(uint32_t indexCount, const uint32_t* indices, uint32_t vertexCount, const GLVector* vertices,
          const GLVector* normals, const GLVector* texCoords, uint32_t material);
  GLShell(const GLShell&) = delete;
  GLShell& operator=(const GLShell&) = delete;
  ~GLShell() override;

  // Nothing without vertices and indices.
  void Draw(uint32_t mode, GLMatLib* materials) override;
  // Flags (1 vertices, 2 normals, 4 texture coordinates, 8 indices), the
  // lists present, the indices, material, index count.
  bool Write(GLOstream& os) const override;
  // False, leaving the shell as it was, unless normals and texture
  // coordinates match the vertices, the index count lies within the
  // indices and every index lies below the vertex count.
  bool Read(GLIstream& is) override;
  GLExtents GetExtents() const override;
  void SetMaterial(uint32_t index) override;
  uint32_t GetMaterial() const override { return material_; }

  uint32_t GetIndexCount() const { return indexCount_; }
  const GLVectorArray& GetMappedVertices() const { return mappedVertices_; }

 protected:
  void DrawElements(uint32_t mode, GLMatLib* materials, GLenum primitive);

 private:
  uint32_t material_ = 0;
  uint32_t indexCount_ = 0;
  // Vertices, normals and texture coordinates, in stream order.
  std::unique_ptr<GLVectorArray> lists_[3];
  std::unique_ptr<GLUIntArray> indices_;
  GLVectorArray mappedVertices_, mappedNormals_;
};

class GLPolygonArray : public GLShell {
  GL_DECLARE_CLASS()

 public:
  using GLShell::GLShell;
  void Draw(uint32_t mode, GLMatLib* materials) override;
};
