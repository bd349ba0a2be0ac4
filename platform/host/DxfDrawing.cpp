// The drawing model: sections, header, tables, lookups and handles.
#include "platform/host/DxfDrawing.h"

#include <algorithm>
#include <stdexcept>

#include "platform/win32/code_page.h"

namespace host {
namespace {

int SectionRank(std::string_view name) {
  static const char* const order[] = {"HEADER", "CLASSES", "TABLES", "BLOCKS", "ENTITIES",
                                      "OBJECTS"};
  for (int i = 0; i < 6; ++i)
    if (SameName(name, order[i])) return i;
  return 6;
}

int TableRank(std::string_view name) {
  static const char* const order[] = {"VPORT", "LTYPE",    "LAYER", "STYLE",       "VIEW",
                                      "UCS",   "APPID", "DIMSTYLE", "BLOCK_RECORD"};
  for (int i = 0; i < 9; ++i)
    if (SameName(name, order[i])) return i;
  return 9;
}

std::optional<uint64_t> HeadHandle(const PairList& head) {
  for (const DxfPair& p : head)
    if (p.code == 5) return ParseHandle(p.value);
  return std::nullopt;
}

}  // namespace

std::string_view DxfTable::Name() const {
  for (const DxfPair& p : head)
    if (p.code == 2) return TrimDxf(p.value);
  return {};
}

DxfDrawing::DxfDrawing() = default;
DxfDrawing::~DxfDrawing() = default;

void DxfDrawing::Clear() {
  sourcePath_.clear();
  text_.reset();
  textSize_ = 0;
  lineEnd_ = "\n";
  version_ = "AC1009";
  versionNumber_ = 1009;
  usesHandles_ = false;
  handSeed_ = 1;
  sections_.clear();
  header_.clear();
  tables_.clear();
  ForgetNotedEntries();
  blocks_.clear();
  entities_.clear();
  pending_.reset();
  byHandle_.Clear();
  byId_.clear();
  drawable_.clear();
  idBase_ = nextId_;
  ForgetJournal();
  journaling_ = false;
  arenas_.clear();
}

uint64_t DxfDrawing::HandlesOf(const DxfEntity& entity, uint64_t& top) {
  // A second handle pair may be read as the handle elsewhere: new handles
  // stay above it too.
  const int handleCode = entity.IsType("DIMSTYLE") ? 105 : 5;
  for (const DxfPair& p : entity.pairs)
    if (p.code == handleCode)
      if (auto h = ParseHandle(p.value)) top = std::max(top, *h);
  return entity.Handle().value_or(0);
}

void DxfDrawing::Index(DxfEntity& entity, bool drawable) {
  if (entity.id < idBase_ || entity.id >= nextId_) entity.id = nextId_++;
  size_t slot = static_cast<size_t>(entity.id - idBase_);
  if (slot >= byId_.size()) {
    byId_.resize(slot + 1, nullptr);
    drawable_.resize(slot + 1, false);
  }
  byId_[slot] = &entity;
  if (drawable) drawable_[slot] = true;
  uint64_t top = 0;
  byHandle_.Insert(HandlesOf(entity, top), slot);  // a duplicate keeps the first one found
  NoteHandle(top);
  for (DxfEntity& child : entity.children) Index(child);
}

void DxfDrawing::Unindex(DxfEntity& entity) {
  // The handle index names slots: only the object in its slot is taken out.
  if (FindById(entity.id) == &entity) {
    const size_t slot = static_cast<size_t>(entity.id - idBase_);
    byId_[slot] = nullptr;
    drawable_[slot] = false;
    if (auto h = entity.Handle()) byHandle_.Erase(*h, slot);
  }
  for (DxfEntity& child : entity.children) Unindex(child);
}

void DxfDrawing::NoteHandle(uint64_t handle) {
  if (handle == 0) return;
  if (usesHandles_ && handle < handSeed_) return;
  NoteState();
  usesHandles_ = true;
  // Saturates: the load refuses a seed at the limit, a wrapped one would
  // hide the handle.
  if (handle >= handSeed_) handSeed_ = handle == UINT64_MAX ? handle : handle + 1;
}

uint64_t DxfDrawing::AllocateHandle() {
  JournalState();
  return NewHandle();
}

uint64_t DxfDrawing::NewHandle() {
  // A loaded seed is below kHandleLimit, so 2^63 handles are left: this
  // never hands out a wrapped one.
  if (handSeed_ == UINT64_MAX) throw std::overflow_error("the drawing has no handles left");
  NoteState();
  uint64_t handle = handSeed_++;
  SetHandSeedVariable();
  return handle;
}

std::optional<std::string> DxfDrawing::HandleLimitReached() const {
  if (handSeed_ < kHandleLimit) return std::nullopt;
  return "the drawing's handles reach " + FormatHandle(kHandleLimit - 1) + ": no room is left for new handles";
}

void DxfDrawing::SetHandSeedVariable() {
  NoteState();
  if (DxfHeaderVariable* var = SeedVariable()) {
    KeepSeedText(*var);
    // A command handing out thousands of handles rewrites the one value
    // in its place rather than making a list for each.
    if (var->values.size() == 1 && var->values[0].code == 5) {
      const std::string seed = FormatHandle(handSeed_);
      if (var->values[0].value.View() != seed) var->values[0].value.Set(seed);
    } else {
      var->values = PairList{{5, FormatHandle(handSeed_)}};
    }
    return;
  }
  PairList value{{5, FormatHandle(handSeed_)}};
  for (const Section& s : sections_)
    if (s.kind == SectionKind::Header) {
      header_.push_back({"$HANDSEED", std::move(value)});
      return;
    }
}

const PairList* DxfDrawing::HeaderVariable(std::string_view name) const {
  // Asked for once per point by a conversion between coordinate systems:
  // names of another length or last letter are passed over without
  // comparing them letter by letter.
  if (name.empty()) return nullptr;
  const unsigned char last = Cp1250ToLower(static_cast<unsigned char>(name.back()));
  for (const DxfHeaderVariable& var : header_)
    if (var.name.size() == name.size() && Cp1250ToLower(static_cast<unsigned char>(var.name.back())) == last &&
        SameName(var.name, name))
      return &var.values;
  return nullptr;
}

std::optional<std::string> DxfDrawing::HeaderValue(std::string_view name) const {
  const PairList* values = HeaderVariable(name);
  if (!values || values->empty()) return std::nullopt;
  return std::string(TrimDxf(values->front().value));
}

void DxfDrawing::SetHeaderVariable(std::string_view name, PairList values) {
  JournalState();
  if (SameName(name, "$HANDSEED") && !values.empty()) {
    // The seed never goes below a handle in use, nor to the limit.
    if (auto h = ParseHandle(values.front().value); h && *h > handSeed_ && *h < kHandleLimit) {
      NoteState();
      handSeed_ = *h;
    }
    SetHandSeedVariable();
    return;
  }
  for (DxfHeaderVariable& var : header_)
    if (SameName(var.name, name)) {
      if (Journaling()) {
        Undo undo{Undo::Kind::HeaderValues};
        undo.index = static_cast<size_t>(&var - header_.data());
        undo.pairs = std::move(var.values);
        Journal(std::move(undo));
      }
      var.values = std::move(values);
      return;
    }
  EnsureSection(SectionKind::Header, "HEADER");
  NoteState();
  header_.push_back({std::string(name), std::move(values)});
}

std::vector<DxfEntity*> DxfDrawing::ModelSpace() const {
  std::vector<DxfEntity*> out;
  out.reserve(entities_.size());
  for (const auto& e : entities_)
    if (InModelSpace(*e)) out.push_back(e.get());
  return out;
}

DxfEntity* DxfDrawing::FindByHandle(uint64_t handle) const {
  const uint64_t slot = byHandle_.Find(handle);
  return slot < byId_.size() ? byId_[slot] : nullptr;
}

DxfEntity* DxfDrawing::FindById(uint64_t id) const {
  if (id < idBase_ || id - idBase_ >= byId_.size()) return nullptr;
  return byId_[id - idBase_];
}

bool DxfDrawing::IsDrawable(uint64_t id) const {
  return FindById(id) != nullptr && drawable_[id - idBase_];
}

const DxfBlock* DxfDrawing::FindBlock(std::string_view name) const {
  name = TrimDxf(name);
  for (const auto& b : blocks_)
    if (SameName(b->Name(), name)) return b.get();
  return nullptr;
}

const DxfTable* DxfDrawing::FindTable(std::string_view name) const {
  for (const auto& t : tables_)
    if (SameName(t->Name(), name)) return t.get();
  return nullptr;
}

const DxfEntity* DxfDrawing::FindTableEntry(std::string_view table, std::string_view name) const {
  const DxfTable* t = FindTable(table);
  if (!t) return nullptr;
  name = TrimDxf(name);
  for (const auto& e : t->entries)
    if (SameName(e->Name(), name)) return e.get();
  return nullptr;
}

std::vector<const DxfEntity*> DxfDrawing::Layers() const {
  std::vector<const DxfEntity*> out;
  if (const DxfTable* t = FindTable("LAYER"))
    for (const auto& e : t->entries) out.push_back(e.get());
  return out;
}

DxfDrawing::Section& DxfDrawing::EnsureSection(SectionKind kind, const char* name) {
  for (Section& s : sections_)
    if (s.kind == kind && (kind != SectionKind::Verbatim || SameName(s.name, name))) return s;
  int rank = SectionRank(name);
  auto at = std::find_if(sections_.begin(), sections_.end(), [&](const Section& s) {
    return s.kind != SectionKind::Loose && SectionRank(s.name) > rank;
  });
  Undo undo{Undo::Kind::SectionAdded};
  undo.index = static_cast<size_t>(at - sections_.begin());
  Journal(std::move(undo));
  return *sections_.insert(at, Section{kind, name, {}});
}

DxfTable& DxfDrawing::EnsureTable(std::string_view name) {
  for (auto& t : tables_)
    if (SameName(t->Name(), name)) return *t;
  EnsureSection(SectionKind::Tables, "TABLES");
  auto table = std::make_unique<DxfTable>();
  table->head = {{0, "TABLE"}, {2, std::string(name)}};
  if (usesHandles_) table->head.push_back({5, FormatHandle(NewHandle())});
  if (!IsR12()) {
    table->head.push_back({330, "0"});
    table->head.push_back({100, "AcDbSymbolTable"});
  }
  table->head.push_back({70, "0"});
  table->end = {{0, "ENDTAB"}};
  int rank = TableRank(name);
  auto at = std::find_if(tables_.begin(), tables_.end(),
                         [&](const auto& t) { return TableRank(t->Name()) > rank; });
  Undo undo{Undo::Kind::TableAdded};
  undo.index = static_cast<size_t>(at - tables_.begin());
  Journal(std::move(undo));
  return **tables_.insert(at, std::move(table));
}

DxfEntity& DxfDrawing::AddTableEntry(DxfTable& table, PairList body,
                                     std::optional<uint64_t> handle) {
  if (Journaling()) {
    Undo undo{Undo::Kind::TableEntryAdded};
    undo.Rarely().table = &table;
    for (const DxfPair& p : table.head) undo.pairs.push_back({p.code, p.value.Share()});
    Journal(std::move(undo));
  }
  auto entry = std::make_unique<DxfEntity>();
  entry->pairs = std::move(body);
  PairList ids;
  if (usesHandles_ && !handle) handle = NewHandle();
  if (handle)
    ids.push_back({static_cast<int16_t>(entry->IsType("DIMSTYLE") ? 105 : 5), FormatHandle(*handle)});
  if (!IsR12()) ids.push_back({330, FormatHandle(HeadHandle(table.head).value_or(0))});
  entry->pairs.insert(entry->pairs.begin() + 1, ids.begin(), ids.end());
  Index(*entry);
  table.entries.push_back(std::move(entry));
  // The table's entry count is a maximum that readers may size by.
  std::string count = std::to_string(table.entries.size());
  for (DxfPair& p : table.head)
    if (p.code == 70) {
      if (ParseDxfInt(p.value).value_or(0) < static_cast<int64_t>(table.entries.size()))
        p.value = count;
      break;
    }
  return *table.entries.back();
}

const DxfEntity* DxfDrawing::FindEntryNoted(std::string_view table, std::string_view name) {
  name = TrimDxf(name);
  // From the one after the last found: entities ask for their names in
  // the same order, one after another.
  const size_t count = notedEntries_.size();
  for (size_t k = 1; k <= count; ++k) {
    const size_t at = (lastNoted_ + k) % count;
    const NotedEntry& noted = notedEntries_[at];
    if (noted.entry && SameBytes(noted.table, table) && SameBytes(noted.name, name)) {
      lastNoted_ = at;
      return noted.entry;
    }
  }
  const DxfEntity* entry = FindTableEntry(table, name);
  // Only what was found: an entry added later never comes before it.
  if (entry) {
    lastNoted_ = nextNoted_++ % count;
    notedEntries_[lastNoted_] = {std::string(table), std::string(name), entry};
  }
  return entry;
}

const DxfEntity& DxfDrawing::EnsureLayer(std::string_view name) {
  name = TrimDxf(name);
  if (name.empty()) name = "0";
  if (const DxfEntity* layer = FindEntryNoted("LAYER", name)) return *layer;
  JournalState();
  std::string linetype = "CONTINUOUS";
  if (const DxfEntity* lt = FindTableEntry("LTYPE", "CONTINUOUS")) {
    linetype = std::string(lt->Name());
  } else {
    PairList ltBody{{0, "LTYPE"}};
    if (!IsR12()) {
      ltBody.push_back({100, "AcDbSymbolTableRecord"});
      ltBody.push_back({100, "AcDbLinetypeTableRecord"});
      linetype = "Continuous";
    }
    ltBody.insert(ltBody.end(), {{2, linetype}, {70, "0"}, {3, "Solid line"}, {72, "65"},
                                 {73, "0"}, {40, "0.0"}});
    AddTableEntry(EnsureTable("LTYPE"), std::move(ltBody));
  }
  PairList body{{0, "LAYER"}};
  if (!IsR12()) {
    body.push_back({100, "AcDbSymbolTableRecord"});
    body.push_back({100, "AcDbLayerTableRecord"});
  }
  body.insert(body.end(), {{2, std::string(name)}, {70, "0"}, {62, "7"}, {6, linetype}});
  if (!IsR12())
    if (const DxfEntity* zero = FindLayer("0"))
      for (int16_t code : {370, 390})  // line weight and plot style as layer 0 has them
        if (const DxfPair* p = zero->Find(code)) body.push_back(*p);
  return AddTableEntry(EnsureTable("LAYER"), std::move(body));
}

const DxfEntity& DxfDrawing::EnsureAppId(std::string_view name) {
  name = TrimDxf(name);
  if (const DxfEntity* app = FindEntryNoted("APPID", name)) return *app;
  JournalState();
  PairList body{{0, "APPID"}};
  if (!IsR12()) {
    body.push_back({100, "AcDbSymbolTableRecord"});
    body.push_back({100, "AcDbRegAppTableRecord"});
  }
  body.insert(body.end(), {{2, std::string(name)}, {70, "0"}});
  return AddTableEntry(EnsureTable("APPID"), std::move(body));
}

std::optional<uint64_t> DxfDrawing::ModelSpaceRecord() {
  if (const DxfEntity* record = FindEntryNoted("BLOCK_RECORD", "*Model_Space"))
    return record->Handle();
  return std::nullopt;
}

std::optional<uint64_t> DxfDrawing::BlockRecordOf(const DxfBlock& block) const {
  if (auto owner = block.begin.Owner(); owner && *owner) return owner;
  if (const DxfEntity* record = FindTableEntry("BLOCK_RECORD", block.Name()))
    return record->Handle();
  return std::nullopt;
}

}  // namespace host
