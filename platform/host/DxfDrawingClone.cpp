// Copies of a drawing for the host's undo. The copy shares the loaded text
// that the original's values view, so only the structure is copied.
#include "platform/host/DxfDrawing.h"

namespace host {
namespace {

PairList SharePairs(const PairList& pairs) {
  PairList out;
  out.reserve(pairs.size());
  for (const DxfPair& p : pairs) out.push_back({p.code, p.value.Share()});
  return out;
}

}  // namespace

std::unique_ptr<DxfDrawing> DxfDrawing::Clone() const {
  auto copy = std::make_unique<DxfDrawing>();
  DxfDrawing& c = *copy;
  c.sourcePath_ = sourcePath_;
  c.text_ = text_;
  c.textSize_ = textSize_;
  c.lineEnd_ = lineEnd_;
  c.version_ = version_;
  c.versionNumber_ = versionNumber_;
  c.usesHandles_ = usesHandles_;
  c.handSeed_ = handSeed_;
  c.nextId_ = nextId_;
  c.idBase_ = idBase_;
  c.byId_.assign(byId_.size(), nullptr);
  c.drawable_ = drawable_;

  // Copies an object with its run, keeping its id; an indexed original
  // makes the copy indexed at the same id.
  auto copyEntity = [&](const DxfEntity& from, DxfEntity& to, auto& self) -> void {
    to.id = from.id;
    to.pairs = SharePairs(from.pairs);
    to.children.resize(from.children.size());
    for (size_t i = 0; i < from.children.size(); ++i) self(from.children[i], to.children[i], self);
    if (FindById(from.id) == &from) c.byId_[from.id - idBase_] = &to;
  };
  auto copyList = [&](const EntityList& list) {
    EntityList out;
    out.reserve(list.size());
    for (const auto& e : list) {
      out.push_back(std::make_unique<DxfEntity>());
      copyEntity(*e, *out.back(), copyEntity);
    }
    return out;
  };

  c.sections_.reserve(sections_.size());
  for (const Section& s : sections_) c.sections_.push_back({s.kind, s.name, SharePairs(s.pairs)});
  c.header_.reserve(header_.size());
  for (const DxfHeaderVariable& var : header_) c.header_.push_back({var.name, SharePairs(var.values)});
  for (const auto& t : tables_) {
    auto table = std::make_unique<DxfTable>();
    table->head = SharePairs(t->head);
    table->entries = copyList(t->entries);
    table->end = SharePairs(t->end);
    c.tables_.push_back(std::move(table));
  }
  for (const auto& b : blocks_) {
    auto block = std::make_unique<DxfBlock>();
    copyEntity(b->begin, block->begin, copyEntity);
    block->entities = copyList(b->entities);
    copyEntity(b->end, block->end, copyEntity);
    c.blocks_.push_back(std::move(block));
  }
  c.entities_ = copyList(entities_);
  if (pending_) {
    c.pending_ = std::make_unique<PendingBlock>();
    c.pending_->name = pending_->name;
    c.pending_->base = pending_->base;
    c.pending_->anonymous = pending_->anonymous;
    for (size_t i = 0; i < blocks_.size(); ++i)
      if (blocks_[i].get() == pending_->existing) c.pending_->existing = c.blocks_[i].get();
    c.pending_->record = pending_->record;
    c.pending_->entities = copyList(pending_->entities);
  }
  // The copies stand in the originals' slots.
  c.byHandle_ = byHandle_;
  return copy;
}

}  // namespace host
