// Edits of the drawing: entities written by the plug-in, block definitions,
// and the completion of written pairs to what the drawing's version needs.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <iterator>

#include "platform/host/DxfDrawing.h"

namespace host {
namespace {

bool g_onlyWhatDiffers = true;

// The same codes in the same places (a list too long for the journal's
// places never is).
bool SameCodes(const PairList& a, const PairList& b) {
  if (a.size() != b.size() || a.size() > UINT32_MAX) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i].code != b[i].code) return false;
  return true;
}

bool IsStructural(std::string_view type) {
  static constexpr std::string_view kWords[] = {"SECTION", "ENDSEC", "TABLE",  "ENDTAB", "BLOCK",
                                                "ENDBLK",  "EOF",    "SEQEND", "VERTEX", "ATTRIB"};
  for (std::string_view word : kWords)
    if (type.size() == word.size() && SameName(type, word)) return true;
  return false;
}

bool IsGroupStart(const DxfPair& p) {
  return p.code == 102 && !TrimDxf(p.value).empty() && TrimDxf(p.value)[0] == '{';
}

// Removes the pairs before the extended data for which keep says no (but
// the one at spare), and every 102 {...} group there.
template <class Keep>
void Filter(PairList& pairs, Keep keep, size_t spare = SIZE_MAX) {
  // In place: a command replacing a million entities takes no second list
  // for each.
  size_t xd = ExtendedDataStart(pairs);
  size_t kept = 0;
  for (size_t i = 0; i < pairs.size(); ++i) {
    if (i < xd && IsGroupStart(pairs[i])) {
      i = SkipAppGroups(pairs, i) - 1;
      continue;
    }
    if (i >= xd || i == spare || keep(pairs[i].code)) {
      if (kept != i) pairs[kept] = std::move(pairs[i]);
      ++kept;
    }
  }
  pairs.erase(pairs.begin() + static_cast<std::ptrdiff_t>(kept), pairs.end());
}

// Codes of R13 and later that an R12 reader does not know: subclass
// markers, handles (given back below when the drawing uses them), owners
// and object references, line weight, plot style, true colour, layouts.
bool KnownToR12(int code) {
  return !(code == 100 || code == 5 || code == 105 || (code >= 330 && code <= 369) ||
           code == 370 || code == 380 || code == 390 || (code >= 420 && code <= 449) ||
           code == 284 || code == 347 || code == 348 || code == 410 || code == 160);
}

// An R12 drawing has no LWPOLYLINE: the same outline as POLYLINE, VERTEX
// and SEQEND.
DxfEntity LwPolylineToPolyline(const PairList& in) {
  struct Vertex {
    std::string x, y = "0.0", startWidth, endWidth, bulge;
  };
  size_t xd = ExtendedDataStart(in);
  PairList props;
  std::vector<Vertex> vertices;
  std::string flags = "0", width, elevation = "0.0";
  for (size_t i = 1; i < xd; ++i) {
    const DxfPair& p = in[i];
    switch (p.code) {
      case 10:
        vertices.emplace_back();
        vertices.back().x = p.value;
        break;
      case 20: if (!vertices.empty()) vertices.back().y = p.value; break;
      case 40: if (!vertices.empty()) vertices.back().startWidth = p.value; break;
      case 41: if (!vertices.empty()) vertices.back().endWidth = p.value; break;
      case 42: if (!vertices.empty()) vertices.back().bulge = p.value; break;
      case 70: flags = std::string(TrimDxf(p.value)); break;
      case 43: width = p.value; break;
      case 38: elevation = p.value; break;
      case 90: case 91: break;  // vertex count and ids have no place here
      default: props.push_back(p);
    }
  }
  DxfEntity out;
  std::string layer = "0";
  for (const DxfPair& p : props)
    if (p.code == 8) layer = p.value;
  out.pairs.push_back({0, "POLYLINE"});
  out.pairs.insert(out.pairs.end(), props.begin(), props.end());
  out.pairs.insert(out.pairs.end(),
                   {{66, "1"}, {10, "0.0"}, {20, "0.0"}, {30, elevation}, {70, flags}});
  if (!width.empty()) out.pairs.insert(out.pairs.end(), {{40, width}, {41, width}});
  out.pairs.insert(out.pairs.end(), in.begin() + static_cast<std::ptrdiff_t>(xd), in.end());
  for (const Vertex& v : vertices) {
    DxfEntity vertex;
    vertex.pairs = {{0, "VERTEX"}, {8, layer}, {10, v.x}, {20, v.y}, {30, elevation}};
    if (!v.startWidth.empty()) vertex.pairs.push_back({40, v.startWidth});
    if (!v.endWidth.empty()) vertex.pairs.push_back({41, v.endWidth});
    if (!v.bulge.empty()) vertex.pairs.push_back({42, v.bulge});
    vertex.pairs.push_back({70, "0"});
    out.children.push_back(std::move(vertex));
  }
  out.children.push_back({0, {{0, "SEQEND"}, {8, layer}}, {}});
  return out;
}

// Codes of the common entity data that precede a type's subclass marker.
bool IsCommonCode(int code) {
  switch (code) {
    case 5: case 6: case 8: case 48: case 60: case 62: case 67: case 92: case 160: case 284:
    case 310: case 330: case 347: case 348: case 360: case 370: case 380: case 390: case 410:
    case 420: case 430: case 440:
      return true;
    default:
      return false;
  }
}

constexpr int kRightAfter = INT_MIN;  // the second marker follows the first directly

struct MarkerRule {
  const char* first = nullptr;
  const char* second = nullptr;
  int secondBefore = kRightAfter;  // the second goes before this code, else at the end
};

MarkerRule RuleFor(const DxfEntity& e) {
  static const struct {
    const char* type;
    MarkerRule rule;
  } simple[] = {
      {"LINE", {"AcDbLine"}},
      {"POINT", {"AcDbPoint"}},
      {"CIRCLE", {"AcDbCircle"}},
      {"ARC", {"AcDbCircle", "AcDbArc", 50}},
      {"TEXT", {"AcDbText", "AcDbText", 73}},
      {"ATTRIB", {"AcDbText", "AcDbAttribute", 2}},
      {"ATTDEF", {"AcDbText", "AcDbAttributeDefinition", 3}},
      {"LWPOLYLINE", {"AcDbPolyline"}},
      {"INSERT", {"AcDbBlockReference"}},
      {"SOLID", {"AcDbTrace"}},
      {"TRACE", {"AcDbTrace"}},
      {"3DFACE", {"AcDbFace"}},
      {"ELLIPSE", {"AcDbEllipse"}},
      {"MTEXT", {"AcDbMText"}},
      {"SPLINE", {"AcDbSpline"}},
      {"HATCH", {"AcDbHatch"}},
      {"XLINE", {"AcDbXline"}},
      {"RAY", {"AcDbRay"}},
  };
  for (const auto& s : simple)
    if (e.IsType(s.type)) return s.rule;
  int64_t flags = ParseDxfInt(e.Value(70, "0")).value_or(0);
  if (e.IsType("POLYLINE")) {
    if (flags & 8) return {"AcDb3dPolyline"};
    if (flags & 16) return {"AcDbPolygonMesh"};
    if (flags & 64) return {"AcDbPolyFaceMesh"};
    return {"AcDb2dPolyline"};
  }
  if (e.IsType("VERTEX")) {
    if (flags & 32) return {"AcDbVertex", "AcDb3dPolylineVertex"};
    if ((flags & 128) && (flags & 64)) return {"AcDbVertex", "AcDbPolyFaceMeshVertex"};
    if (flags & 128) return {"AcDbFaceRecord"};
    if (flags & 64) return {"AcDbVertex", "AcDbPolygonMeshVertex"};
    return {"AcDbVertex", "AcDb2dVertex"};
  }
  return {};
}

// Index after the pairs that open an object: group 0, handle, 102 groups,
// owner and extension dictionary.
size_t AfterLeading(const PairList& pairs) {
  size_t i = 1;
  while (i < pairs.size()) {
    int code = pairs[i].code;
    if (code == 5 || code == 105 || code == 330 || code == 360) ++i;
    else if (IsGroupStart(pairs[i])) i = SkipAppGroups(pairs, i);
    else break;
  }
  return i;
}

// The groups that tie an object to others (its reactors, its extension
// dictionary) are the drawing's, not the writer's: a chain carries none of
// them, and the object it replaces keeps its own, after its handle.
void KeepAppGroups(DxfEntity& e, const DxfEntity& kept) {
  const PairList& from = kept.pairs;
  const size_t xd = ExtendedDataStart(from);
  PairList groups;
  for (size_t i = 1; i < xd;) {
    if (!IsGroupStart(from[i])) {
      ++i;
      continue;
    }
    const size_t end = std::min(SkipAppGroups(from, i), xd);  // one left open ends there
    for (; i < end; ++i) groups.push_back({from[i].code, from[i].value.Share()});
  }
  if (groups.empty()) return;
  PairList& p = e.pairs;
  const size_t at = p.size() > 1 && p[1].code == 5 ? 2 : 1;
  p.insert(p.begin() + static_cast<std::ptrdiff_t>(std::min(at, p.size())), std::make_move_iterator(groups.begin()),
           std::make_move_iterator(groups.end()));
}

// R2000 readers place data by subclass: an entity written without markers
// gets those of its type.
void AddSubclassMarkers(DxfEntity& e) {
  PairList& p = e.pairs;
  size_t xd = ExtendedDataStart(p);
  size_t entityMarker = p.size();
  for (size_t i = 0; i < xd; ++i)
    if (p[i].code == 100) {
      if (!SameName(TrimDxf(p[i].value), "AcDbEntity")) return;  // already marked
      entityMarker = i;
    }
  if (entityMarker == p.size()) {
    entityMarker = AfterLeading(p);
    // Markers view their words, which last as long as the program: every
    // new entity takes two or three, none a copy of its own.
    p.insert(p.begin() + static_cast<std::ptrdiff_t>(entityMarker), {100, DxfValue::Borrow("AcDbEntity")});
  }
  MarkerRule rule = RuleFor(e);
  if (!rule.first) return;
  size_t at = entityMarker + 1;
  xd = ExtendedDataStart(p);
  while (at < xd && IsCommonCode(p[at].code)) ++at;
  p.insert(p.begin() + static_cast<std::ptrdiff_t>(at), {100, DxfValue::Borrow(rule.first)});
  if (!rule.second) return;
  size_t second = at + 1;
  if (rule.secondBefore != kRightAfter) {
    xd = ExtendedDataStart(p);
    while (second < xd && p[second].code != rule.secondBefore) ++second;
  }
  p.insert(p.begin() + static_cast<std::ptrdiff_t>(second), {100, DxfValue::Borrow(rule.second)});
}

void EnsureLayerPair(DxfEntity& e, std::string_view layer) {
  PairList& p = e.pairs;
  if (FindPairIndex(p, 8) < p.size()) return;
  size_t at = AfterLeading(p);
  size_t marker = FindPairIndex(p, 100);
  if (marker < p.size() && SameName(TrimDxf(p[marker].value), "AcDbEntity")) at = marker + 1;
  p.insert(p.begin() + static_cast<std::ptrdiff_t>(at), {8, std::string(layer)});
}

// A handle's text as a value of a pair being made: its bytes taken from
// the arena the pair lists come from when there is one (the value views
// them), as every entity a command adds takes two.
DxfValue HandleValue(uint64_t handle) {
  const std::string text = FormatHandle(handle);
  if (PairArena* arena = CurrentPairArena())
    if (auto* bytes = static_cast<char*>(arena->Take(text.size() + 1))) {
      std::memcpy(bytes, text.data(), text.size() + 1);
      return DxfValue::Borrow({bytes, text.size()});
    }
  return DxfValue(text);
}

// Sets the object's handle and owner, adding the pairs where DXF has them.
void SetHandleAndOwner(DxfEntity& e, std::optional<uint64_t> handle,
                       std::optional<uint64_t> owner) {
  PairList& p = e.pairs;
  if (handle) {
    size_t i = FindPairIndex(p, 5);
    if (i < p.size()) {
      if (!IsHandleText(p[i].value, *handle)) p[i].value = HandleValue(*handle);
    } else {
      p.insert(p.begin() + 1, {5, HandleValue(*handle)});
    }
  }
  if (owner) {
    size_t i = FindPairIndex(p, 330);
    if (i < p.size()) {
      if (!IsHandleText(p[i].value, *owner)) p[i].value = HandleValue(*owner);
    } else {
      size_t at = 1;
      if (at < p.size() && p[at].code == 5) ++at;
      at = SkipAppGroups(p, at);
      p.insert(p.begin() + static_cast<std::ptrdiff_t>(at), {330, HandleValue(*owner)});
    }
  }
}

void SetPoint(PairList& pairs, int code, const std::array<double, 3>& point) {
  for (int k = 0; k < 3; ++k) {
    auto c = static_cast<int16_t>(code + 10 * k);
    size_t i = FindPairIndex(pairs, c);
    if (i < pairs.size()) pairs[i].value = FormatDxfReal(point[k]);
    else pairs.insert(pairs.begin() + static_cast<std::ptrdiff_t>(ExtendedDataStart(pairs)),
                      {c, FormatDxfReal(point[k])});
  }
}

// A run rebuilt from new pairs (an LWPOLYLINE written back into an R12
// drawing) carries no extended data of its own: its parts keep what the
// parts they replace had, the SEQEND the old SEQEND's.
void KeepExtendedData(DxfEntity& part, bool last, const DxfEntity& kept, size_t index) {
  if (ExtendedDataStart(part.pairs) < part.pairs.size() || kept.children.empty()) return;
  const DxfEntity* old = nullptr;
  if (last && part.IsType("SEQEND")) old = &kept.children.back();
  else if (index < kept.children.size()) old = &kept.children[index];
  if (!old || !SameName(old->Type(), part.Type())) return;
  size_t from = ExtendedDataStart(old->pairs);
  part.pairs.insert(part.pairs.end(), old->pairs.begin() + static_cast<std::ptrdiff_t>(from), old->pairs.end());
}

}  // namespace

bool DxfDrawing::BuildEntity(PairList pairs, DxfEntity& out, std::optional<uint64_t> owner,
                             const DxfEntity* keep, DxfError* error) {
  // Chain-only nodes (entity names, the extended-data marker) have no
  // place in a file.
  std::erase_if(pairs, [](const DxfPair& p) { return p.code < 0; });
  if (pairs.empty() || pairs[0].code != 0 || TrimDxf(pairs[0].value).empty())
    return Fail(error, "an entity begins with group 0 and its type");

  // The objects after the first are its run; the first keeps the list.
  size_t firstEnd = 1;
  while (firstEnd < pairs.size() && pairs[firstEnd].code != 0) ++firstEnd;
  std::vector<DxfEntity> rest;
  for (size_t i = firstEnd; i < pairs.size();) {
    size_t end = i + 1;
    while (end < pairs.size() && pairs[end].code != 0) ++end;
    rest.emplace_back().pairs.assign(std::make_move_iterator(pairs.begin() + static_cast<std::ptrdiff_t>(i)),
                                     std::make_move_iterator(pairs.begin() + static_cast<std::ptrdiff_t>(end)));
    i = end;
  }
  pairs.erase(pairs.begin() + static_cast<std::ptrdiff_t>(firstEnd), pairs.end());
  DxfEntity built;
  built.pairs = std::move(pairs);
  std::string type(built.Type());
  if (IsStructural(type)) return Fail(error, "'" + type + "' is not an entity that can be written");
  const char* run = built.IsType("POLYLINE") ? "VERTEX" : built.IsType("INSERT") ? "ATTRIB" : nullptr;
  for (size_t k = 0; k < rest.size(); ++k) {
    bool last = rest[k].IsType("SEQEND");
    if (!run || (!last && !rest[k].IsType(run)) || (last && k + 1 < rest.size()))
      return Fail(error, "one entity at a time: " + std::string(rest[k].Type()) + " follows " + type);
  }
  built.children = std::move(rest);
  if (built.IsType("INSERT")) {
    std::string_view block = built.Value(2);
    if (block.empty()) return Fail(error, "INSERT without a block name (group 2)");
    if (!FindBlock(block)) return Fail(error, "block '" + std::string(block) + "' is not defined");
  }

  if (IsR12()) {
    Filter(built.pairs, KnownToR12);
    for (DxfEntity& child : built.children) Filter(child.pairs, KnownToR12);
    if (built.IsType("LWPOLYLINE")) built = LwPolylineToPolyline(built.pairs);
  } else {
    if (!keep) {
      // A new object shares no reactors, dictionary, handle or owner with
      // the one its pairs may have been copied from.
      auto fresh = [](DxfEntity& e) {
        bool ownerSeen = false;
        Filter(e.pairs, [&](int code) {
          if (code == 330 && !ownerSeen) {
            ownerSeen = true;
            return false;
          }
          return code != 5 && code != 105 && code != 360;
        });
      };
      fresh(built);
      for (DxfEntity& child : built.children) fresh(child);
    } else {
      // The handles are the kept entity's or new ones, set below: a handle
      // in the pairs could be one in use.
      auto unhandled = [](int code) { return code != 5 && code != 105; };
      // A handle pair right after the type that reads as the kept handle
      // stays: the same as dropping it and putting it back there, without
      // moving every pair after it.
      const std::optional<uint64_t> kept = keep->Handle();
      const bool stays = kept && built.pairs.size() > 1 && built.pairs[1].code == 5 &&
                         IsHandleText(built.pairs[1].value, *kept);
      Filter(built.pairs, unhandled, stays ? 1 : SIZE_MAX);
      for (DxfEntity& child : built.children) Filter(child.pairs, unhandled);
      KeepAppGroups(built, *keep);
      for (size_t k = 0; k < built.children.size() && k < keep->children.size(); ++k)
        KeepAppGroups(built.children[k], keep->children[k]);
    }
    AddSubclassMarkers(built);
    for (DxfEntity& child : built.children) AddSubclassMarkers(child);
  }
  if (!built.children.empty()) {
    if (!built.children.back().IsType("SEQEND")) {
      built.children.push_back({0, {{0, "SEQEND"}}, {}});
      if (!IsR12()) AddSubclassMarkers(built.children.back());
    }
    if (built.IsType("INSERT") && built.Value(66) != "1") {
      if (DxfPair* follow = built.Find(66)) follow->value = "1";
      else built.pairs.insert(built.pairs.begin() + static_cast<std::ptrdiff_t>(
                                                        FindPairIndex(built.pairs, 2)),
                              {66, "1"});
    }
  }
  EnsureLayerPair(built, "0");
  for (DxfEntity& child : built.children) EnsureLayerPair(child, built.Layer());

  std::optional<uint64_t> handle = keep ? keep->Handle() : std::nullopt;
  if (!handle && usesHandles_) handle = NewHandle();
  SetHandleAndOwner(built, handle, IsR12() ? std::nullopt : owner);
  for (size_t k = 0; k < built.children.size(); ++k) {
    DxfEntity& child = built.children[k];
    std::optional<uint64_t> childHandle;
    if (keep && k < keep->children.size()) {
      childHandle = keep->children[k].Handle();
      child.id = keep->children[k].id;
    }
    if (!childHandle && usesHandles_) childHandle = NewHandle();
    SetHandleAndOwner(child, childHandle, IsR12() ? std::nullopt : handle);
    if (keep) KeepExtendedData(child, k + 1 == built.children.size(), *keep, k);
  }
  out = std::move(built);
  return true;
}

void DxfDrawing::RegisterNames(const DxfEntity& entity, bool withRun) {
  RegisterNamesAt(entity, FindPairIndex(entity.pairs, 8), ExtendedDataStart(entity.pairs));
  if (withRun)
    for (const DxfEntity& child : entity.children) RegisterNames(child);
}

void DxfDrawing::RegisterNamesAt(const DxfEntity& entity, size_t layerAt, size_t xd) {
  const PairList& p = entity.pairs;
  if (layerAt < p.size())
    if (const std::string_view layer = TrimDxf(p[layerAt].value); !layer.empty()) EnsureLayer(layer);
  for (size_t i = xd; i < p.size(); ++i)
    if (p[i].code == 1001 && !TrimDxf(p[i].value).empty()) EnsureAppId(p[i].value);
}

DxfEntity* DxfDrawing::AppendEntity(PairList pairs, DxfError* error) {
  JournalState();
  auto entity = std::make_unique<DxfEntity>();
  if (!BuildEntity(std::move(pairs), *entity, ModelSpaceRecord(), nullptr, error)) return nullptr;
  RegisterNames(*entity);
  EnsureSection(SectionKind::Entities, "ENTITIES");
  Index(*entity, true);
  entities_.push_back(std::move(entity));
  Journal(Undo{Undo::Kind::EntityAdded});
  return entities_.back().get();
}

void DxfDrawing::TuneReplace(bool onlyWhatDiffers) { g_onlyWhatDiffers = onlyWhatDiffers; }

bool DxfDrawing::ReplaceEntityFrom(DxfEntity& entity, PairList& pairs, DxfError* error) {
  if (FindById(entity.id) != &entity || !IsDrawable(entity.id))
    return Fail(error, "the entity to replace is not an entity of this drawing");
  JournalState();
  DxfEntity built;
  if (!BuildEntity(std::move(pairs), built, entity.Owner(), &entity, error)) return false;
  RegisterNames(built);
  bool keepRun = built.children.empty() && SameName(built.Type(), entity.Type());
  // The usual replacement keeps the handle and the run: the index stays as
  // it is, and the entity's place in it is not looked for at all.
  const bool reindex = !keepRun || built.Handle() != entity.Handle();
  // The usual write-back changes a few values of an entity: those are
  // set in its list, and only they are kept for a rollback. Nothing is
  // noted at all when nothing differs.
  if (!reindex && g_onlyWhatDiffers && SameCodes(built.pairs, entity.pairs)) {
    Undo undo{Undo::Kind::EntityValuesSet};
    undo.entity = &entity;
    undo.valuesFrom = setValues_.size();
    bool set = false;
    for (size_t i = 0; i < built.pairs.size(); ++i) {
      if (entity.pairs[i].value.View() == built.pairs[i].value.View()) continue;
      SetValueNoted(entity, static_cast<uint32_t>(i), std::move(built.pairs[i].value));
      set = true;
    }
    if (set) Journal(std::move(undo));
    pairs = std::move(built.pairs);
    pairs.clear();
    return true;
  }
  // Else the entity takes a list as long as it needs; the working list
  // goes back to the caller.
  PairList kept;
  kept.reserve(built.pairs.size());
  kept.insert(kept.end(), std::make_move_iterator(built.pairs.begin()), std::make_move_iterator(built.pairs.end()));
  pairs = std::move(built.pairs);
  pairs.clear();
  built.pairs = std::move(kept);
  if (reindex) Unindex(entity);
  if (Journaling()) {
    Undo undo{Undo::Kind::EntityReplaced};
    undo.entity = &entity;
    undo.reindex = reindex;
    undo.pairs = std::move(entity.pairs);
    if (!keepRun) {
      undo.Rarely().children = std::move(entity.children);
      undo.childrenReplaced = true;
    }
    Journal(std::move(undo));
  }
  entity.pairs = std::move(built.pairs);
  if (!keepRun) entity.children = std::move(built.children);
  if (reindex) Index(entity, true);
  return true;
}

bool DxfDrawing::ReplaceValues(DxfEntity& entity, const std::vector<uint32_t>& places, PairList& values,
                               size_t insertAt, PairArena* arena) {
  // What BuildEntity leaves as it is, for a replacement keeping the
  // entity: no chain-only codes, no second object, not an entity that
  // cannot be written, an INSERT of a defined block; no 102 groups and no
  // handle pairs but the entity's own handle right after the type, in its
  // own form; a subclass marker of the type, a layer, an owner in its own
  // form; no new value of a code it reads. R12 drawings filter codes.
  if (!g_onlyWhatDiffers || IsR12() || places.size() > values.size() || FindById(entity.id) != &entity ||
      !IsDrawable(entity.id))
    return false;
  const size_t inserted = values.size() - places.size();
  const PairList& p = entity.pairs;
  if (p.size() > UINT32_MAX || p.size() < 2 || p[0].code != 0 || entity.Type().empty() || IsStructural(entity.Type()) ||
      entity.IsType("DIMSTYLE"))
    return false;
  // The handle is the first 5 (not a DIMSTYLE), right after the type.
  if (p[1].code != 5 || !IsOwnHandleText(p[1].value)) return false;
  if (entity.IsType("INSERT") && (entity.Value(2).empty() || !FindBlock(entity.Value(2)))) return false;
  // One walk of the pairs: what is checked, where the extended data
  // begins and where the layer stands (which the names registered below
  // read, the list being free of groups).
  size_t xd = 2, layerAt = p.size();
  bool marked = false, owner = false;
  for (; xd < p.size() && p[xd].code != 1001; ++xd) {
    const size_t i = xd;
    const int code = p[i].code;
    if (code <= 0) return false;
    if (IsGroupStart(p[i]) || code == 105 || code == 5) return false;
    if (code == 100 && !marked && !SameName(TrimDxf(p[i].value), "AcDbEntity")) marked = true;
    if (code == 8 && layerAt == p.size()) layerAt = i;
    if (code == 330 && !owner) {
      owner = true;
      if (!IsOwnHandleText(p[i].value) && ParseHandle(p[i].value)) return false;
    }
  }
  // Of the extended data only the codes, in a walk of its own.
  for (size_t i = xd; i < p.size(); ++i)
    if (p[i].code <= 0) return false;
  if (!marked || layerAt == p.size()) return false;
  // Pairs put in go inside the extended data, or begin it.
  if (inserted) {
    if (insertAt > p.size() || insertAt < xd || p.size() + inserted > UINT32_MAX ||
        (insertAt == xd && values[places.size()].code != 1001))
      return false;
    for (size_t k = places.size(); k < values.size(); ++k)
      if (values[k].code < 1000 || values[k].code > 1071) return false;
  }
  for (uint32_t place : places) {
    if (place >= p.size()) return false;
    switch (p[place].code) {
      case 0: case 2: case 5: case 100: case 102: case 105: case 330: return false;
      default: break;
    }
  }
  JournalState();
  Undo undo{inserted ? Undo::Kind::EntityPairsInserted : Undo::Kind::EntityValuesSet};
  undo.entity = &entity;
  undo.valuesFrom = setValues_.size();
  for (size_t k = 0; k < places.size(); ++k) SetValueNoted(entity, places[k], std::move(values[k].value));
  if (inserted) {
    // The list grows once, by the run.
    PairList& pairs = entity.pairs;
    const PairArenaScope from(arena);
    PairList grown;
    grown.reserve(pairs.size() + inserted);
    const auto cut = pairs.begin() + static_cast<std::ptrdiff_t>(insertAt);
    grown.insert(grown.end(), std::make_move_iterator(pairs.begin()), std::make_move_iterator(cut));
    grown.insert(grown.end(), std::make_move_iterator(values.begin() + static_cast<std::ptrdiff_t>(places.size())),
                 std::make_move_iterator(values.end()));
    grown.insert(grown.end(), std::make_move_iterator(cut), std::make_move_iterator(pairs.end()));
    pairs = std::move(grown);
    undo.index = insertAt;
    undo.count = static_cast<uint32_t>(inserted);
  }
  values.clear();
  // Pairs put in lie at or after xd, a run put in at xd beginning with
  // its 1001: the extended data still begins there.
  RegisterNamesAt(entity, layerAt, xd);
  if (!places.empty() || inserted) Journal(std::move(undo));
  return true;
}

std::string DxfDrawing::NextAnonymousName() const {
  int64_t last = 0;
  for (const auto& b : blocks_) {
    std::string_view name = b->Name();
    if (name.size() > 2 && name[0] == '*' && (name[1] == 'U' || name[1] == 'u'))
      if (auto n = ParseDxfInt(name.substr(2)); n && *n > last) last = *n;
  }
  return "*U" + std::to_string(last + 1);
}

bool DxfDrawing::BeginBlock(std::string_view name, const std::array<double, 3>& basePoint,
                            DxfError* error) {
  if (pending_) return Fail(error, "a block definition is already open");
  std::string blockName(TrimDxf(name));
  if (blockName.empty()) return Fail(error, "a block needs a name");
  bool anonymous = blockName.size() >= 2 && blockName[0] == '*' &&
                   (blockName[1] == 'U' || blockName[1] == 'u');
  if (!anonymous && blockName[0] == '*')
    return Fail(error, "block name '" + blockName + "' is reserved");
  auto pending = std::make_unique<PendingBlock>();
  pending->name = blockName;
  pending->base = basePoint;
  pending->anonymous = anonymous;
  if (!anonymous)
    if (const DxfBlock* existing = FindBlock(blockName)) {
      for (auto& b : blocks_)
        if (b.get() == existing) pending->existing = b.get();
      pending->record = BlockRecordOf(*existing);
    }
  JournalState();
  if (!pending->existing && !IsR12()) pending->record = NewHandle();
  pending_ = std::move(pending);
  Journal(Undo{Undo::Kind::PendingOpened});
  return true;
}

bool DxfDrawing::AddBlockEntity(PairList pairs, DxfError* error) {
  if (!pending_) return Fail(error, "no block definition is open");
  JournalState();
  auto entity = std::make_unique<DxfEntity>();
  if (!BuildEntity(std::move(pairs), *entity, pending_->record, nullptr, error)) return false;
  RegisterNames(*entity);
  pending_->entities.push_back(std::move(entity));
  Journal(Undo{Undo::Kind::PendingEntityAdded});
  return true;
}

void DxfDrawing::CancelBlock() {
  if (pending_ && Journaling()) {
    Undo undo{Undo::Kind::PendingDropped};
    undo.Rarely().pending = std::move(pending_);
    Journal(std::move(undo));
  }
  pending_.reset();
}

std::optional<std::string> DxfDrawing::EndBlock(DxfError* error) {
  if (!pending_) {
    Fail(error, "no block definition is open");
    return std::nullopt;
  }
  JournalState();
  std::unique_ptr<PendingBlock> p = std::move(pending_);
  if (p->existing) {
    DxfBlock& block = *p->existing;
    for (auto& e : block.entities) Unindex(*e);
    EntityList old = std::move(block.entities);
    block.entities = std::move(p->entities);
    for (auto& e : block.entities) Index(*e, true);
    Undo undo{Undo::Kind::BlockRedefined};
    if (Journaling())
      for (const DxfPair& pair : block.begin.pairs) undo.pairs.push_back({pair.code, pair.value.Share()});
    SetPoint(block.begin.pairs, 10, p->base);
    undo.Rarely().block = &block;
    undo.Rarely().entities = std::move(old);
    undo.Rarely().pending = std::move(p);
    Journal(std::move(undo));
    return std::string(block.Name());
  }

  std::string name = p->anonymous ? NextAnonymousName() : p->name;
  EnsureLayer("0");
  auto block = std::make_unique<DxfBlock>();
  PairList& begin = block->begin.pairs;
  PairList& end = block->end.pairs;
  begin = {{0, "BLOCK"}};
  end = {{0, "ENDBLK"}};
  if (usesHandles_) {
    begin.push_back({5, FormatHandle(NewHandle())});
    end.push_back({5, FormatHandle(NewHandle())});
  }
  if (!IsR12()) {
    for (PairList* pairs : {&begin, &end})
      pairs->insert(pairs->end(), {{330, FormatHandle(p->record.value_or(0))}, {100, "AcDbEntity"}});
  }
  begin.push_back({8, "0"});
  end.push_back({8, "0"});
  if (!IsR12()) {
    begin.push_back({100, "AcDbBlockBegin"});
    end.push_back({100, "AcDbBlockEnd"});
  }
  begin.insert(begin.end(), {{2, name},
                             {70, p->anonymous ? "1" : "0"},
                             {10, FormatDxfReal(p->base[0])},
                             {20, FormatDxfReal(p->base[1])},
                             {30, FormatDxfReal(p->base[2])},
                             {3, name},
                             {1, ""}});
  if (!IsR12())
    AddTableEntry(EnsureTable("BLOCK_RECORD"),
                  {{0, "BLOCK_RECORD"},
                   {100, "AcDbSymbolTableRecord"},
                   {100, "AcDbBlockTableRecord"},
                   {2, name}},
                  p->record);
  block->entities = std::move(p->entities);
  EnsureSection(SectionKind::Blocks, "BLOCKS");
  Index(block->begin);
  for (auto& e : block->entities) Index(*e, true);
  Index(block->end);
  blocks_.push_back(std::move(block));
  Undo undo{Undo::Kind::BlockAdded};
  undo.Rarely().pending = std::move(p);
  Journal(std::move(undo));
  return name;
}

}  // namespace host
