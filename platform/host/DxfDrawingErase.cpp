// Entities taken out of the drawing, journalled like every other edit so
// that a rollback puts them back in their place.
#include "platform/host/DxfDrawing.h"

namespace host {

bool DxfDrawing::EraseEntity(const DxfEntity& entity, DxfError* error) {
  for (size_t i = 0; i < entities_.size(); ++i) {
    if (entities_[i].get() != &entity) continue;
    std::unique_ptr<DxfEntity> taken = std::move(entities_[i]);
    entities_.erase(entities_.begin() + static_cast<std::ptrdiff_t>(i));
    Unindex(*taken);
    if (journaling_) {
      Undo undo{Undo::Kind::EntityErased};
      undo.index = i;
      undo.Rarely().entities.push_back(std::move(taken));
      Journal(std::move(undo));
    }
    return true;
  }
  if (error) error->message = "only an entity of the drawing's ENTITIES section can be erased";
  return false;
}

}  // namespace host
