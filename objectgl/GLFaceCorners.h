// One planar face of N corners (a triangle or a quad) with a material per
// corner, an edge flag per corner (the edge starting there is a boundary)
// and no normal, one face normal or a normal per corner.
//
// The normals live in N slots: slot k (1..N-1) goes with corner k, slot N
// with corner 0; a face normal is slot N alone and serves every corner.
// Indices of the setters count corners from 1; 0 means all corners (or the
// face normal).
#pragma once

#include <GL/gl.h>

#include <array>

#include "objectgl/GLDrawState.h"
#include "objectgl/GLEntity.h"
#include "objectgl/GLGeometry.h"
#include "objectgl/GLScene.h"
#include "common/GLStream.h"

template <uint32_t N>
class GLFaceCorners : public GLEntity {
 public:
  enum class Normals : uint8_t { kNone, kFace, kCorner };

  void SetVertex(const GLVector& p, uint32_t k) {
    if (k < 1 || k > N) return;
    corners_[k - 1] = p;
    NotifyChanged();
  }
  void SetCornerMaterial(uint32_t material, uint32_t k) {
    if (k == 0)
      materials_.fill(material);
    else if (k <= N)
      materials_[k - 1] = material;
    NotifyChanged();
  }
  // 0 switches to a face normal; 1..N to corner normals (all starting at
  // (0, 0, 0) when the face had none) and sets that slot.
  void SetNormal(const GLVector& n, uint32_t k) {
    if (k == 0) {
      normals_.fill(GLVector());
      normals_[N - 1] = n;
      kind_ = Normals::kFace;
    } else if (k <= N) {
      UseCornerNormals();
      normals_[k - 1] = n;
    }
    NotifyChanged();
  }
  // Corner normals: slots 1..N in order.
  void SetNormals(const std::array<GLVector, N>& slots) {
    UseCornerNormals();
    normals_ = slots;
    NotifyChanged();
  }
  void SetEdgeFlags(uint8_t bits) {
    for (uint32_t i = 0; i < N; ++i) edges_[i] = (bits >> i) & 1;
    NotifyChanged();
  }

  // Mode 0 sends the edge flags and colours, 1 colours, 2 lit materials, 3
  // no material; other modes draw nothing.
  void Draw(uint32_t mode, GLMatLib* materials) override {
    const GLScene* scene = GetScene();
    glBegin(N == 4 ? GL_QUADS : GL_TRIANGLES);
    for (uint32_t k = 0; k < N && mode <= 3; ++k) {
      if (mode == 0) glEdgeFlag(edges_[k]);
      if (mode <= 1)
        GLApplyColor(materials, materials_[k]);
      else if (mode == 2)
        GLApplyLit(materials, materials_[k], GL_FRONT_AND_BACK);
      if (const GLVector* n = NormalOf(k)) glNormal3dv(GLScene::MapDirection(*n, scene));
      glVertex3dv(GLScene::MapPoint(corners_[k], scene));
    }
    glEnd();
  }
  // Corners, materials, a byte (1: corner normals) and the face normal or
  // the N slots. A face without normals writes a zero face normal, which
  // reads back as none.
  bool Write(GLOstream& os) const override {
    if (!GLEntity::Write(os)) return false;
    for (const GLVector& p : corners_)
      if (!p.Write(os)) return false;
    for (uint32_t m : materials_)
      if (!os.Write(m)) return false;
    if (!os.Write(static_cast<uint8_t>(kind_ == Normals::kCorner ? 1 : 0))) return false;
    if (kind_ != Normals::kCorner) return normals_[N - 1].Write(os);
    for (const GLVector& n : normals_)
      if (!n.Write(os)) return false;
    return true;
  }
  bool Read(GLIstream& is) override {
    std::array<GLVector, N> corners, normals;
    std::array<uint32_t, N> materials{};
    uint8_t corner = 0;
    if (!GLEntity::Read(is)) return false;
    for (GLVector& p : corners)
      if (!p.Read(is)) return false;
    for (uint32_t& m : materials)
      if (!is.Read(m)) return false;
    if (!is.Read(corner)) return false;
    Normals kind = Normals::kCorner;
    if (corner) {
      for (GLVector& n : normals)
        if (!n.Read(is)) return false;
    } else {
      if (!normals[N - 1].Read(is)) return false;
      kind = normals[N - 1] == GLVector() ? Normals::kNone : Normals::kFace;
    }
    corners_ = corners;
    materials_ = materials;
    normals_ = normals;
    kind_ = kind;
    NotifyChanged();
    return true;
  }
  GLExtents GetExtents() const override {
    GLExtents e;
    for (const GLVector& p : corners_) e.AddPoint(p);
    return e;
  }
  // Every corner.
  void SetMaterial(uint32_t index) override { SetCornerMaterial(index, 0); }
  uint32_t GetMaterial() const override { return materials_[0]; }

  const GLVector& GetCorner(uint32_t i) const { return corners_[i]; }
  uint32_t GetCornerMaterial(uint32_t i) const { return materials_[i]; }
  Normals GetNormalKind() const { return kind_; }
  // Slot k (1..N); meaningful only with normals.
  const GLVector& GetNormalSlot(uint32_t k) const { return normals_[k - 1]; }
  uint8_t GetEdgeFlag(uint32_t i) const { return edges_[i]; }

 protected:
  GLFaceCorners() {
    materials_.fill(0);
    edges_.fill(1);
  }
  GLFaceCorners(const std::array<GLVector, N>& corners, uint32_t material) : corners_(corners) {
    materials_.fill(material);
    edges_.fill(1);
  }
  void SetFaceNormal(const GLVector& n) { SetNormal(n, 0); }
  // Corner k's normal is normals[k].
  void SetCornerNormals(const std::array<GLVector, N>& byCorner) {
    kind_ = Normals::kCorner;
    normals_[N - 1] = byCorner[0];
    for (uint32_t k = 1; k < N; ++k) normals_[k - 1] = byCorner[k];
  }

 private:
  void UseCornerNormals() {
    if (kind_ == Normals::kCorner) return;
    normals_.fill(GLVector());
    kind_ = Normals::kCorner;
  }
  // Corner 0: slot N (also the face normal); corners 1..N-1: their slots,
  // with corner normals only.
  const GLVector* NormalOf(uint32_t corner) const {
    if (corner == 0) return kind_ == Normals::kNone ? nullptr : &normals_[N - 1];
    return kind_ == Normals::kCorner ? &normals_[corner - 1] : nullptr;
  }

  std::array<GLVector, N> corners_;
  std::array<GLVector, N> normals_;
  Normals kind_ = Normals::kNone;
  std::array<uint32_t, N> materials_;
  std::array<uint8_t, N> edges_;
};
