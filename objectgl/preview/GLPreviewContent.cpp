// What a preview answers about what it shows (platform/win32/preview_messages.h):
// the camera's view, the scene's entries and the texts' lines, and where a
// group can be clicked.
#include <algorithm>

#include "objectgl/GLCamera.h"
#include "objectgl/GLEntity.h"
#include "objectgl/GLScene.h"
#include "objectgl/GLText.h"
#include "objectgl/preview/GLPreviewControl.h"

LRESULT GLPreviewControl::OnGetView(WPARAM, LPARAM lParam) {
  auto* view = reinterpret_cast<PVVIEW*>(lParam);
  if (!sceneSetUp_ || !view) return FALSE;
  *view = PVVIEW{};
  if (!scene_) return TRUE;
  view->hasScene = TRUE;
  view->itemCount = scene_->GetEntityCount();
  if (GLCamera* camera = CurrentCamera()) {
    view->hasCamera = TRUE;
    view->viewWidth = camera->GetViewWidth();
    view->viewHeight = camera->GetViewHeight();
    view->targetX = camera->GetTarget().x;
    view->targetY = camera->GetTarget().y;
  }
  return TRUE;
}

LRESULT GLPreviewControl::OnGetItems(WPARAM first, LPARAM lParam) {
  auto* items = reinterpret_cast<PVITEMS*>(lParam);
  const uint32_t count = scene_ ? scene_->GetEntityCount() : 0;
  if (!scene_ || !items || (items->count && !items->items) || first > count) return FALSE;
  const UINT room = static_cast<UINT>(std::min<WPARAM>(items->count, count - first));
  GLScene::EntityWalk walk(*scene_);
  for (UINT k = 0; k < room; ++k) {
    PVITEM& item = items->items[k];
    item = PVITEM{};
    GLEntity* e = walk.At(static_cast<uint32_t>(first + k));
    if (!e) {
      item.flags = PVIF_EMPTY;
    } else if (auto* marker = GLDynamicCast<GLName>(e)) {
      item.flags = PVIF_NAME;
      item.name = marker->GetId();
    } else {
      item.className = e->GetClass() ? e->GetClass()->GetName() : nullptr;
      item.material = e->GetMaterial();
      if (auto* text = GLDynamicCast<GLText>(e)) {
        item.flags = PVIF_TEXT;
        item.lineCount = text->GetLineCount();
      }
    }
  }
  items->count = room;
  return TRUE;
}

LRESULT GLPreviewControl::OnGetItemLine(WPARAM index, LPARAM lParam) {
  auto* line = reinterpret_cast<PVITEMLINE*>(lParam);
  GLEntity* e = scene_ && line && index < scene_->GetEntityCount() ? scene_->GetEntity(static_cast<uint32_t>(index))
                                                                    : nullptr;
  auto* text = e ? GLDynamicCast<GLText>(e) : nullptr;
  if (!text || line->line >= text->GetLineCount()) return FALSE;
  const std::string& s = text->GetLine(line->line);
  line->text = s.c_str();
  line->length = static_cast<UINT>(s.size());
  return TRUE;
}

LRESULT GLPreviewControl::OnGetItemPoint(WPARAM id, LPARAM lParam) {
  return id <= 0xFFFFFFFFu && FindPickPoint(static_cast<uint32_t>(id), reinterpret_cast<POINT*>(lParam)) ? TRUE
                                                                                                          : FALSE;
}
