// The drawing's undo journal: each edit notes what it replaced, and a
// rollback puts that back newest first.
#include "platform/host/DxfDrawing.h"

namespace host {

void DxfDrawing::KeepJournal(bool keep) {
  ForgetJournal();
  journaling_ = keep;
}

void DxfDrawing::ForgetJournal() {
  journal_.clear();
  setValues_.clear();
  stateOpen_ = false;
  stateRecord_ = SIZE_MAX;
  lastMark_ = 0;
}

void DxfDrawing::SetValueNoted(DxfEntity& entity, uint32_t place, DxfValue&& value) {
  DxfValue& at = entity.pairs[place].value;
  if (journaling_) setValues_.push_back({place, std::move(at)});
  at = std::move(value);
}

void DxfDrawing::NoteState() {
  if (!stateOpen_ || !journaling_) return;
  stateOpen_ = false;
  // No mark since the last State record: a rollback that takes this edit
  // back takes that record back too, which puts back the state from before
  // both (a command appending thousands of entities notes it once).
  if (stateRecord_ != SIZE_MAX && lastMark_ <= stateRecord_) return;
  Undo undo{Undo::Kind::State};
  undo.handSeed = handSeed_;
  undo.usesHandles = usesHandles_;
  undo.index = header_.size();
  // The seed's variable is kept by SetHandSeedVariable when it changes.
  journal_.push_back(std::move(undo));
  stateRecord_ = journal_.size() - 1;
}

DxfHeaderVariable* DxfDrawing::SeedVariable() {
  // A command writes thousands of entities: the variable's place is
  // remembered rather than searched for each time.
  auto isSeed = [&](size_t i) { return i < header_.size() && SameName(header_[i].name, "$HANDSEED"); };
  if (!isSeed(seedHint_))
    for (size_t i = 0; i < header_.size(); ++i)
      if (isSeed(i)) {
        seedHint_ = i;
        break;
      }
  return isSeed(seedHint_) ? &header_[seedHint_] : nullptr;
}

void DxfDrawing::KeepSeedText(DxfHeaderVariable& seed) {
  // The text as it stood before the last noted edit, which need not be the
  // seed's formatted value; it has not changed since that record was made,
  // since every change comes here first.
  if (!journaling_ || stateRecord_ == SIZE_MAX) return;
  Undo& state = journal_[stateRecord_];
  if (state.seedIndex != SIZE_MAX) return;
  state.seedIndex = static_cast<size_t>(&seed - header_.data());
  state.pairs = std::move(seed.values);
}

void DxfDrawing::RollBack(size_t mark) {
  while (journal_.size() > mark) {
    Undo1(journal_.back());
    journal_.pop_back();
  }
  // Every change after this begins with an edit that notes its state.
  stateOpen_ = false;
  if (stateRecord_ != SIZE_MAX && stateRecord_ >= journal_.size()) stateRecord_ = SIZE_MAX;
}

void DxfDrawing::Undo1(Undo& undo) {
  switch (undo.kind) {
    case Undo::Kind::State:
      handSeed_ = undo.handSeed;
      usesHandles_ = undo.usesHandles;
      if (header_.size() > undo.index)
        header_.erase(header_.begin() + static_cast<std::ptrdiff_t>(undo.index), header_.end());
      if (undo.seedIndex < header_.size()) header_[undo.seedIndex].values = std::move(undo.pairs);
      break;
    case Undo::Kind::HeaderValues:
      header_[undo.index].values = std::move(undo.pairs);
      break;
    case Undo::Kind::SectionAdded:
      sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(undo.index));
      break;
    case Undo::Kind::TableAdded:
      ForgetNotedEntries();
      tables_.erase(tables_.begin() + static_cast<std::ptrdiff_t>(undo.index));
      break;
    case Undo::Kind::TableEntryAdded:
      ForgetNotedEntries();
      Unindex(*undo.Rarely().table->entries.back());
      undo.Rarely().table->entries.pop_back();
      undo.Rarely().table->head = std::move(undo.pairs);
      break;
    case Undo::Kind::EntityAdded:
      Unindex(*entities_.back());
      entities_.pop_back();
      break;
    case Undo::Kind::EntityReplaced: {
      DxfEntity& e = *undo.entity;
      if (undo.reindex) Unindex(e);
      e.pairs = std::move(undo.pairs);
      if (undo.childrenReplaced) e.children = std::move(undo.Rarely().children);
      if (undo.reindex) Index(e, true);
      break;
    }
    case Undo::Kind::EntityPairsInserted: {
      PairList& pairs = undo.entity->pairs;
      const auto at = pairs.begin() + static_cast<std::ptrdiff_t>(undo.index);
      pairs.erase(at, at + undo.count);
      [[fallthrough]];
    }
    case Undo::Kind::EntityValuesSet:
      // The record's values are those on top: every later record's are
      // taken back already.
      for (size_t k = undo.valuesFrom; k < setValues_.size(); ++k)
        undo.entity->pairs[setValues_[k].place].value = std::move(setValues_[k].value);
      setValues_.PopTo(undo.valuesFrom);
      break;
    case Undo::Kind::EntityErased:
      Index(*undo.Rarely().entities.front(), true);
      entities_.insert(entities_.begin() + static_cast<std::ptrdiff_t>(undo.index), std::move(undo.Rarely().entities.front()));
      break;
    case Undo::Kind::PendingOpened:
      pending_.reset();
      break;
    case Undo::Kind::PendingEntityAdded:
      pending_->entities.pop_back();
      break;
    case Undo::Kind::PendingDropped:
      pending_ = std::move(undo.Rarely().pending);
      break;
    case Undo::Kind::BlockAdded: {
      DxfBlock& block = *blocks_.back();
      Unindex(block.begin);
      for (auto& e : block.entities) Unindex(*e);
      Unindex(block.end);
      undo.Rarely().pending->entities = std::move(block.entities);
      blocks_.pop_back();
      pending_ = std::move(undo.Rarely().pending);
      break;
    }
    case Undo::Kind::BlockRedefined: {
      DxfBlock& block = *undo.Rarely().block;
      for (auto& e : block.entities) Unindex(*e);
      undo.Rarely().pending->entities = std::move(block.entities);
      block.entities = std::move(undo.Rarely().entities);
      for (auto& e : block.entities) Index(*e, true);
      block.begin.pairs = std::move(undo.pairs);
      pending_ = std::move(undo.Rarely().pending);
      break;
    }
  }
}

}  // namespace host
