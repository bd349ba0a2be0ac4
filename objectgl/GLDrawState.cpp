#include "objectgl/GLDrawState.h"

#include "objectgl/GLEntity.h"
#include "objectgl/GLScene.h"
#include "objectgl/GLVectorArray.h"

void GLDrawCurve(const GLEntity& entity, GLenum primitive, const GLVectorArray& points, GLMatLib* materials,
                 uint32_t material) {
  GLLightingOff lighting;
  GLLineWidthScope width(entity.IsHighlighted() ? entity.GetHighlightLineWidth() : entity.GetLineWidth());
  if (points.GetCount() == 0) return;
  const GLScene* scene = entity.GetScene();
  glBegin(primitive);
  GLApplyColor(materials, material);
  for (const GLVector& p : points) glVertex3dv(GLScene::MapPoint(p, scene));
  glEnd();
}
