#include "objectgl/GLDrawState.h"

#include <vector>

#include "objectgl/GLEntity.h"
#include "objectgl/GLScene.h"
#include "objectgl/GLVectorArray.h"

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
