// Where a click of the preview picks a selection name's group.
#include <GL/gl.h>

#include <cmath>
#include <utility>

#include "objectgl/GLCamera.h"
#include "objectgl/GLEntity.h"
#include "objectgl/GLScene.h"
#include "objectgl/GLViewport.h"
#include "objectgl/preview/GLPreviewControl.h"

namespace {

constexpr uint32_t kNoName = 0xFFFFFFFF;
// Enough points of one entity to find one that is not covered.
constexpr size_t kMostTries = 64;

}  // namespace

bool GLPreviewControl::ClickPicks(POINT p, uint32_t id) {
  return scene_ && static_cast<uint32_t>(scene_->Pick(p.x, p.y)) == id;
}

std::vector<POINT> GLPreviewControl::DrawnPoints(GLEntity* entity) {
  std::vector<POINT> points;
  GLCamera* camera = CurrentCamera();
  GLViewport* viewport = CurrentViewport();
  if (!camera || !viewport || !m_hWnd) return points;
  viewport->MakeCurrent();
  if (wglGetCurrentContext() != viewport->GetGLRC()) return points;
  viewport->Update();
  CRect client;
  GetClientRect(&client);

  std::vector<GLfloat> buffer(1 << 16);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  camera->ApplyProjection(viewport);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  GLMatrix view;
  glMultMatrixd(camera->BuildViewMatrix(view).GetData());
  glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_2D, buffer.data());
  glRenderMode(GL_FEEDBACK);
  entity->DrawForSelect(scene_->GetRenderMode(), &scene_->GetMatLib());
  const GLint n = glRenderMode(GL_RENDER);
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  scene_->GetMatLib().ResetState();

  auto toClient = [&](GLfloat x, GLfloat y) {
    return POINT{static_cast<LONG>(std::floor(x)), static_cast<LONG>(std::floor(client.Height() - y))};
  };
  std::vector<POINT> vertices;
  for (GLint at = 0; at >= 0 && at < n;) {
    const auto token = static_cast<GLenum>(buffer[at++]);
    int count = 0;
    if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN)
      count = 2;
    else if (token == GL_POLYGON_TOKEN && at < n)
      count = static_cast<int>(buffer[at++]);
    else if (token == GL_POINT_TOKEN || token == GL_BITMAP_TOKEN || token == GL_DRAW_PIXEL_TOKEN ||
             token == GL_COPY_PIXEL_TOKEN)
      count = 1;
    else if (token == GL_PASS_THROUGH_TOKEN) {
      ++at;
      continue;
    } else {
      break;
    }
    std::vector<std::pair<GLfloat, GLfloat>> p;
    for (int i = 0; i < count && at + 1 < n; ++i, at += 2) p.emplace_back(buffer[at], buffer[at + 1]);
    // Middles of the edges first: ends are often shared with a neighbour.
    for (size_t i = 0; i + 1 < p.size(); ++i)
      points.push_back(toClient((p[i].first + p[i + 1].first) / 2, (p[i].second + p[i + 1].second) / 2));
    for (const auto& v : p) vertices.push_back(toClient(v.first, v.second));
  }
  points.insert(points.end(), vertices.begin(), vertices.end());
  return points;
}

bool GLPreviewControl::FindPickPoint(uint32_t id, POINT* out) {
  if (!scene_ || !m_hWnd || id == 0 || id == kNoName) return false;
  CRect client;
  GetClientRect(&client);
  uint32_t name = kNoName;
  for (uint32_t i = 0; i < scene_->GetEntityCount(); ++i) {
    GLEntity* e = scene_->GetEntity(i);
    if (auto* marker = GLDynamicCast<GLName>(e)) {
      name = marker->GetId();
      continue;
    }
    if (name != id || !e || !e->IsVisible()) continue;
    size_t tries = 0;
    for (const POINT& p : DrawnPoints(e)) {
      if (!client.PtInRect(p)) continue;
      if (ClickPicks(p, id)) {
        if (out) *out = p;
        return true;
      }
      if (++tries == kMostTries) break;
    }
  }
  return false;
}
