// Deep copies of a drawing for the host's undo.
#include <unordered_map>

#include "platform/host/DxfDrawing.h"

namespace host {
namespace {

using Moved = std::unordered_map<const DxfEntity*, DxfEntity*>;

// Records where every object of the tree went (children included).
void Map(const DxfEntity& from, DxfEntity& to, Moved& moved) {
  moved[&from] = &to;
  for (size_t i = 0; i < from.children.size(); ++i) Map(from.children[i], to.children[i], moved);
}

EntityList CopyList(const EntityList& list, Moved& moved) {
  EntityList out;
  out.reserve(list.size());
  for (const auto& e : list) {
    out.push_back(std::make_unique<DxfEntity>(*e));
    Map(*e, *out.back(), moved);
  }
  return out;
}

}  // namespace

std::unique_ptr<DxfDrawing> DxfDrawing::Clone() const {
  auto copy = std::make_unique<DxfDrawing>();
  DxfDrawing& c = *copy;
  Moved moved;
  c.sourcePath_ = sourcePath_;
  c.lineEnd_ = lineEnd_;
  c.version_ = version_;
  c.versionNumber_ = versionNumber_;
  c.usesHandles_ = usesHandles_;
  c.handSeed_ = handSeed_;
  c.nextId_ = nextId_;
  c.sections_ = sections_;
  c.header_ = header_;
  for (const auto& t : tables_) {
    auto table = std::make_unique<DxfTable>();
    table->head = t->head;
    table->entries = CopyList(t->entries, moved);
    table->end = t->end;
    c.tables_.push_back(std::move(table));
  }
  std::unordered_map<const DxfBlock*, DxfBlock*> blocks;
  for (const auto& b : blocks_) {
    auto block = std::make_unique<DxfBlock>();
    block->begin = b->begin;
    Map(b->begin, block->begin, moved);
    block->entities = CopyList(b->entities, moved);
    block->end = b->end;
    Map(b->end, block->end, moved);
    blocks[b.get()] = block.get();
    c.blocks_.push_back(std::move(block));
  }
  c.entities_ = CopyList(entities_, moved);
  if (pending_) {
    c.pending_ = std::make_unique<PendingBlock>();
    c.pending_->name = pending_->name;
    c.pending_->base = pending_->base;
    c.pending_->anonymous = pending_->anonymous;
    c.pending_->existing = pending_->existing ? blocks.at(pending_->existing) : nullptr;
    c.pending_->record = pending_->record;
    c.pending_->entities = CopyList(pending_->entities, moved);
  }
  for (const auto& [handle, e] : byHandle_) c.byHandle_.emplace(handle, moved.at(e));
  for (const auto& [id, e] : byId_) c.byId_.emplace(id, moved.at(e));
  c.drawable_ = drawable_;
  return copy;
}

}  // namespace host
