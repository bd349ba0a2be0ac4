// The scene's extents, camera fitting, fog from the extents and the model
// matrix.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "objectgl/GLCamera.h"
#include "objectgl/GLEntity.h"
#include "objectgl/GLMatrixArray.h"
#include "objectgl/GLScene.h"
#include "objectgl/GLViewport.h"

namespace {

GLVector Midpoint(const GLVector& a, const GLVector& b) {
  return GLVector((a.x + b.x) / 2.0, (a.y + b.y) / 2.0, (a.z + b.z) / 2.0);
}

double Distance(const GLVector& a, const GLVector& b) { return (a - b).Length(); }

// Zero-size extents (one point, say) still need a size to look at.
constexpr double kMinimumSize = 1.0;
// How far back an orthographic eye goes at most, in extents (doubled).
constexpr double kMaxOrthoDistance = 2.0;

}  // namespace

void GLScene::ComputeExtents() {
  extents_.Reset();
  GLMatrix current;
  GLMatrixArray stack(0, 10);
  EntityWalk walk(*this);
  for (uint32_t i = 0; i < entities_.GetCount(); ++i) {
    GLEntity* e = walk.At(i);
    if (!e) continue;
    // Told by their records, as a pass tells them: a cast for each entity
    // would walk the class tree.
    const GLClass* c = e->GetClass();
    if (c == GLPushMatrix::classRecord) {
      // As OpenGL's stack: the inner transform applies first, then the
      // outer ones.
      current = static_cast<GLPushMatrix*>(e)->Matrix();
      if (stack.GetCount() > 0) current *= stack.GetAt(stack.GetCount() - 1);
      stack.InsertAt(stack.GetCount(), current);
      continue;
    }
    if (c == GLPopMatrix::classRecord) {
      if (stack.GetCount() > 0) stack.RemoveAt(stack.GetCount() - 1);
      current = stack.GetCount() > 0 ? stack.GetAt(stack.GetCount() - 1) : GLMatrix();
      continue;
    }
    GLExtents box = e->GetExtents();
    if (!box.IsValid()) continue;
    if (stack.GetCount() > 0) box.Transform(current);
    extents_.AddExtents(box);
  }
}

void GLScene::GetViewExtents(const GLMatrix& view, const GLVector& centre, const GLVector& min, const GLVector& max,
                             double* width, double* height, double* depth) {
  double hi[3] = {-999999999999999.0, -999999999999999.0, -999999999999999.0};
  double lo[3] = {999999999999999.0, 999999999999999.0, 999999999999999.0};
  for (int corner = 0; corner < 8; ++corner) {
    GLVector p((corner & 1) ? max.x : min.x, (corner & 2) ? max.y : min.y, (corner & 4) ? max.z : min.z);
    p.TransformPoint(view);
    for (int a = 0; a < 3; ++a) {
      hi[a] = std::max(hi[a], p[a]);
      lo[a] = std::min(lo[a], p[a]);
    }
  }
  GLVector c = centre;
  c.TransformPoint(view);
  const GLVector front((hi[0] + lo[0]) / 2.0, (hi[1] + lo[1]) / 2.0, lo[2]);
  double w = hi[0] - lo[0], h = hi[1] - lo[1];
  w += w * 0.05;
  h += h * 0.05;
  if (width) *width = w;
  if (height) *height = h;
  if (depth) *depth = Distance(c, front);
}

void GLScene::ZoomExtents(const double* factorIn) {
  if (extents_ == GLExtents()) return;
  const double factor = factorIn ? *factorIn : 1.0;
  GLCamera* camera = GetCurrentCamera();
  const GLVector centre = Midpoint(extents_.Min(), extents_.Max());
  // OpenGL computes in floats: a drawing at national-grid coordinates (in
  // millimetres, about 1e9) would draw stair-stepped and pick beside what
  // is seen. Around the origin it draws and picks as anywhere else; the
  // camera's target goes through the same matrix, so the view stays.
  CentreModelMatrixOn(centre);
  if (!camera->IsProjectionValid()) camera->ComputeView();
  double w = 0, h = 0, depth = 0;
  GetViewExtents(camera->GetViewMatrix(), centre, extents_.Min(), extents_.Max(), &w, &h, &depth);
  // A point or a line seen end on: the other side, else a minimum.
  if (!(w > 0) && !(h > 0)) w = h = kMinimumSize;
  if (!(w > 0)) w = h;
  if (!(h > 0)) h = w;
  if (camera->IsPerspective())
    camera->SetDistance((std::max(w, h) / 2.0 * factor) / std::tan(camera->GetFov() / 2.0) + depth);
  camera->SetTarget(centre);
  camera->ComputeView();
  camera->SetViewSize(w * factor, h * factor);
}

void GLScene::FitClipping() {
  if (!extents_.IsValid()) return;
  GLCamera* camera = GetCurrentCamera();
  double d = std::max(Distance(extents_.Max(), extents_.Min()), kMinimumSize);
  if (!camera->IsPerspective()) d *= 2.0;
  GLVector c = Midpoint(extents_.Max(), extents_.Min());
  double e = Distance(camera->GetEyePosition(), c);
  double nearPlane = 0.0;
  if (d <= e) {
    nearPlane = (e - d / 2.0) / 10.0;
  } else if (camera->IsPerspective()) {
    const double x = e - d / 2.0;
    nearPlane = 1.0;
    for (double v : {100.0, 1000.0, 10000.0, 100000.0})
      if (d >= v && x >= v) nearPlane = v;
  } else {
    // An eye near the centre would go endlessly far back, and the depth
    // buffer's steps with it (small z offsets would be lost): no further
    // back than a small multiple of the extents.
    camera->SetDistance(std::min(d * d / std::max(e, d * 1e-6), kMaxOrthoDistance * d));
    e = Distance(camera->GetEyePosition(), c);
    nearPlane = (e - d / 2.0) / 10.0;
  }
  const double farPlane = e + 10.0 * d;
  if (!(nearPlane > 0.0) || nearPlane >= farPlane) nearPlane = std::min(d, farPlane) * 1e-3;
  camera->SetNear(nearPlane);
  camera->SetFar(farPlane);
  camera->ComputeView();
}

double GLScene::GetUnitsPerPixel() {
  if (currentCamera_ == 0 || currentCamera_ > cameras_.GetCount()) return 1.0;
  GLViewport* viewport = GetCurrentViewport();
  if (!viewport) return 1.0;
  int width = 0, height = 0;
  viewport->GetSize(&width, &height);
  const int pixels = std::min(width, height);
  if (pixels <= 0) return 1.0;
  GLCamera* camera = GetCurrentCamera();
  return std::max(camera->GetViewWidth(), camera->GetViewHeight()) / pixels;
}

bool GLScene::MoveExtentsToOrigin(GLMatrix& out, bool applyToEntities) {
  out.SetIdentity();
  if (!extents_.IsValid()) return false;
  out.SetTranslation(-extents_.Min().x, -extents_.Min().y, 0.0);
  if (applyToEntities) {
    for (uint32_t i = 0; i < entities_.GetCount(); ++i)
      if (GLEntity* e = GetEntity(i)) e->Transform(out);
    SetModelMatrix(GLMatrix());
  } else {
    SetModelMatrix(out);
  }
  return true;
}

void GLScene::AutoFog() {
  ComputeExtents();
  if (!extents_.IsValid()) return;
  GLCamera* camera = GetCurrentCamera();
  const GLVector c = Midpoint(extents_.Max(), extents_.Min());
  const double r = Distance(extents_.Max(), c);
  const double d = Distance(camera->GetEyePosition(), c);
  fogStart_ = static_cast<float>(d - r);
  fogEnd_ = static_cast<float>(d + r / 4.0);
  const double start = fogStart_, end = fogEnd_;
  if (d > 0.0 && end > start) fogDensity_ = static_cast<float>(-std::log((end - d) / (end - start)) / d);
  glFogf(GL_FOG_DENSITY, fogDensity_);
  glFogf(GL_FOG_START, fogStart_);
  glFogf(GL_FOG_END, fogEnd_);
}

void GLScene::SetModelMatrix(const GLMatrix& m) {
  model_ = m;
  modelVersion_ = NewContentVersion();
  InvalidateDisplayList();
}

void GLScene::CentreModelMatrixOn(const GLVector& centre) {
  GLMatrix m = model_;
  const GLVector turned = MapDirection(centre, this);
  m.SetTranslation(-turned.x, -turned.y, -turned.z);
  if (!std::equal(m.GetData(), m.GetData() + 16, model_.GetData())) SetModelMatrix(m);
}

GLVector GLScene::MapDirection(const GLVector& d, const GLScene* scene) {
  if (!scene) return d;
  const double* m = scene->model_.GetData();
  GLVector out;
  for (int i = 0; i < 3; ++i) out[i] = d.x * m[i] + d.y * m[4 + i] + d.z * m[8 + i];
  return out;
}

std::array<float, 4> GLScene::MapHomogeneous(const float p[4], const GLScene* scene) {
  std::array<float, 4> out = {p[0], p[1], p[2], p[3]};
  if (!scene) return out;
  const double* m = scene->model_.GetData();
  for (int i = 0; i < 4; ++i) {
    double sum = 0.0;
    for (int j = 0; j < 4; ++j) sum += static_cast<double>(p[j]) * m[4 * j + i];
    out[i] = static_cast<float>(sum);
  }
  return out;
}

GLMatrix GLScene::MapMatrix(const GLMatrix& m, const GLScene* scene) {
  if (!scene) return m;
  GLMatrix r = m;
  r *= scene->model_;
  return r;
}

GLMatrix GLScene::MapMatrixInverse(const GLMatrix& m, const GLScene* scene) {
  if (!scene) return m;
  GLMatrix inverse = scene->model_;
  inverse.InvertTranslation();
  GLMatrix r = m;
  r *= inverse;
  return r;
}
