#include "objectgl/GLDrawState.h"

#include <vector>

#include "objectgl/GLEntity.h"
#include "objectgl/GLScene.h"
#include "objectgl/GLVectorArray.h"

namespace {

struct PassState {
  bool active = false;
  bool rendering = true;
  uint32_t serial = 0;
  GLfloat startWidth = 1.0f, width = 1.0f;
  GLint startModes[2] = {GL_FILL, GL_FILL}, modes[2] = {GL_FILL, GL_FILL};
} g_pass;

}  // namespace

GLDrawPass::GLDrawPass() : owner_(!g_pass.active) {
  if (!owner_) return;
  glGetFloatv(GL_LINE_WIDTH, &g_pass.startWidth);
  glGetIntegerv(GL_POLYGON_MODE, g_pass.startModes);
  g_pass.width = g_pass.startWidth;
  g_pass.modes[0] = g_pass.startModes[0];
  g_pass.modes[1] = g_pass.startModes[1];
  GLint mode = GL_RENDER;
  glGetIntegerv(GL_RENDER_MODE, &mode);
  g_pass.rendering = mode == GL_RENDER;
  g_pass.active = true;
  ++g_pass.serial;
}

GLDrawPass::~GLDrawPass() {
  if (!owner_) return;
  Settle();
  g_pass.active = false;
}

bool GLDrawPass::Active() { return g_pass.active; }

bool GLDrawPass::Rendering() { return g_pass.rendering; }

bool GLIsRendering() {
  if (g_pass.active) return g_pass.rendering;
  GLint mode = GL_RENDER;
  glGetIntegerv(GL_RENDER_MODE, &mode);
  return mode == GL_RENDER;
}

uint32_t GLDrawPass::Serial() { return g_pass.serial; }

void GLDrawPass::UseLineWidth(float width) {
  if (g_pass.width == width) return;
  glLineWidth(width);
  g_pass.width = width;
}

void GLDrawPass::UseFill() {
  if (g_pass.modes[0] == GL_FILL && g_pass.modes[1] == GL_FILL) return;
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  g_pass.modes[0] = g_pass.modes[1] = GL_FILL;
}

void GLDrawPass::Refresh() {
  if (!g_pass.active) return;
  glGetFloatv(GL_LINE_WIDTH, &g_pass.width);
  glGetIntegerv(GL_POLYGON_MODE, g_pass.modes);
}

void GLDrawPass::Settle() {
  if (!g_pass.active) return;
  UseLineWidth(g_pass.startWidth);
  for (int side = 0; side < 2; ++side)
    if (g_pass.modes[side] != g_pass.startModes[side]) {
      glPolygonMode(side == 0 ? GL_FRONT : GL_BACK, static_cast<GLenum>(g_pass.startModes[side]));
      g_pass.modes[side] = g_pass.startModes[side];
    }
}

void GLSendPoints(GLenum primitive, const GLVector* points, size_t count, const GLScene* scene) {
  if (count == 0) return;
  if (GLIsRendering()) {
    glBegin(primitive);
    for (size_t i = 0; i < count; ++i) glVertex3dv(GLScene::MapPoint(points[i], scene));
    glEnd();
    return;
  }
  thread_local std::vector<GLVector> mapped;
  mapped.resize(count);
  for (size_t i = 0; i < count; ++i) mapped[i] = GLScene::MapPoint(points[i], scene);
  // Only the vertex array: arrays an entity left enabled point elsewhere.
  glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
  for (GLenum array : {GL_NORMAL_ARRAY, GL_COLOR_ARRAY, GL_INDEX_ARRAY, GL_TEXTURE_COORD_ARRAY, GL_EDGE_FLAG_ARRAY})
    glDisableClientState(array);
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_DOUBLE, sizeof(GLVector), &mapped[0].x);
  glDrawArrays(primitive, 0, static_cast<GLsizei>(count));
  glPopClientAttrib();
}

void GLDrawCurve(const GLEntity& entity, GLenum primitive, const GLVectorArray& points, GLMatLib* materials,
                 uint32_t material) {
  GLLightingOff lighting;
  GLLineWidthScope width(entity.IsHighlighted() ? entity.GetHighlightLineWidth() : entity.GetLineWidth());
  if (points.GetCount() == 0) return;
  GLApplyColor(materials, material);
  GLSendPoints(primitive, &points[0], points.GetCount(), entity.GetScene());
}
