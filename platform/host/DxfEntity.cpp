#include "platform/host/DxfEntity.h"

namespace host {

EntityRun::EntityRun(std::vector<DxfEntity>&& run) {
  if (run.empty()) return;
  run_ = std::make_unique<List>();
  run_->reserve(run.size());
  for (DxfEntity& object : run) run_->push_back(std::move(object));
}

EntityRun::EntityRun(const EntityRun& other) {
  if (!other.empty()) run_ = std::make_unique<List>(*other.run_);
}

EntityRun& EntityRun::operator=(const EntityRun& other) {
  if (this != &other) *this = EntityRun(other);
  return *this;
}

EntityRun::~EntityRun() = default;

EntityRun::List& EntityRun::Run() {
  if (!run_) run_ = std::make_unique<List>();
  return *run_;
}

DxfEntity& EntityRun::emplace_back() { return Run().emplace_back(); }

void EntityRun::push_back(DxfEntity&& entity) { Run().push_back(std::move(entity)); }

void EntityRun::resize(size_t size) {
  if (size == 0) run_.reset();
  else Run().resize(size);
}

void EntityRun::reserve(size_t size) {
  if (!size) return;
  List& run = Run();
  if (size <= run.capacity()) return;
  run.reserve(size);
}

void EntityRun::Fit() {
  // A sixteenth spare stays: moving a long run costs a second copy of it
  // while both are there.
  if (run_ && run_->capacity() - run_->size() > run_->size() / 16) run_->shrink_to_fit();
}

size_t SkipAppGroups(const PairList& pairs, size_t from) {
  while (from < pairs.size() && pairs[from].code == 102) {
    std::string_view v = TrimDxf(pairs[from].value);
    if (v.empty() || v[0] != '{') return from;  // a lone 102 is data
    ++from;
    while (from < pairs.size() && !(pairs[from].code == 102 && TrimDxf(pairs[from].value) == "}"))
      ++from;
    if (from < pairs.size()) ++from;  // the closing brace
  }
  return from;
}

std::string_view DxfEntity::Type() const {
  if (pairs.empty() || pairs[0].code != 0) return {};
  return TrimDxf(pairs[0].value);
}

bool DxfEntity::IsType(std::string_view type) const { return SameName(Type(), type); }

size_t FindPairIndex(const PairList& pairs, int16_t code) {
  // Asked for pair after pair by the edits: groups are looked at only
  // where a 102 stands.
  for (size_t i = 0; i < pairs.size();) {
    const int16_t at = pairs[i].code;
    if (at == 102) {
      const size_t after = SkipAppGroups(pairs, i);
      if (after != i) {
        i = after;
        continue;
      }
    }
    if (at == 1001) break;
    if (at == code) return i;
    ++i;
  }
  return pairs.size();
}

size_t ExtendedDataStart(const PairList& pairs) {
  for (size_t i = 0; i < pairs.size(); ++i)
    if (pairs[i].code == 1001) return i;
  return pairs.size();
}

const DxfPair* DxfEntity::Find(int16_t code) const {
  size_t i = FindPairIndex(pairs, code);
  return i < pairs.size() ? &pairs[i] : nullptr;
}

DxfPair* DxfEntity::Find(int16_t code) {
  return const_cast<DxfPair*>(static_cast<const DxfEntity*>(this)->Find(code));
}

std::string_view DxfEntity::Value(int16_t code, std::string_view fallback) const {
  const DxfPair* p = Find(code);
  return p ? TrimDxf(p->value) : fallback;
}

std::optional<uint64_t> DxfEntity::Handle() const {
  const DxfPair* p = Find(IsType("DIMSTYLE") ? 105 : 5);
  if (!p) return std::nullopt;
  return ParseHandle(p->value);
}

std::optional<uint64_t> DxfEntity::Owner() const {
  const DxfPair* p = Find(330);
  if (!p) return std::nullopt;
  return ParseHandle(p->value);
}

std::string_view DxfEntity::Layer() const { return Value(8); }

std::string_view DxfEntity::Name() const { return Value(2); }

}  // namespace host
