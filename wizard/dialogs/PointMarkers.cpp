#include "wizard/dialogs/PointMarkers.h"

#include "objectgl/GLScene.h"
#include "objectgl/GLSelectPoint.h"
#include "wizard/dialogs/COpenGLBtn.h"
#include "wizard/frame/engine/CObjectData.h"
#include "wizard/frame/engine/CObjectSez.h"
#include "wizard/frame/engine/DefinitionPoints.h"

namespace {

constexpr int32_t kMarkerColour = 2;
constexpr uint32_t kMarkerSize = 8;
constexpr uint32_t kDiamond = 4;

bool ShownInMode(const CObjectData& point, int mode) { return mode == 1 || !(point.flags & PointFlag::kLineEnd); }

}  // namespace

void FillPointList(CSeznam& points, CListCtrl* view, int mode, COpenGLBtn* preview) {
  FillPointList(points, view, mode);
  if (!preview) return;
  for (CObjectData* o = FirstOf<CObjectData>(points); o; o = NextOf(o))
    preview->AddSelectPoint(o->point, kMarkerColour, kMarkerSize, o->number, kDiamond, !ShownInMode(*o, mode));
}

void ShowPointMarkers(CSeznam& points, CListCtrl* view, int mode, COpenGLBtn* preview) {
  ShowPointMarkers(points, view, mode);
  GLScene* scene = preview ? preview->GetScene() : nullptr;
  if (!scene) return;
  for (CObjectData* o = FirstOf<CObjectData>(points); o; o = NextOf(o)) {
    uint32_t at = 0;
    if (!(o->flags & PointFlag::kLineEnd) || !scene->FindName(o->number, &at)) continue;
    if (auto* marker = GLDynamicCast<GLSelectPoint>(scene->GetEntity(at + 1))) marker->SetHidden(!ShownInMode(*o, mode));
  }
}
