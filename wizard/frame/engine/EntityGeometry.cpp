#include "wizard/frame/engine/EntityGeometry.h"

#include <cstring>

#include "dataformat/GroupCodeChain.h"
#include "platform/win32/code_page.h"

namespace {

struct KindName {
  const char* name;
  EntityKind kind;
};
constexpr KindName kKinds[] = {{"LINE", EntityKind::kLine},       {"CIRCLE", EntityKind::kCircle},
                               {"ARC", EntityKind::kArc},         {"ELLIPSE", EntityKind::kEllipse},
                               {"LWPOLYLINE", EntityKind::kLwPolyline}, {"HATCH", EntityKind::kHatch},
                               {"SOLID", EntityKind::kSolid},     {"TEXT", EntityKind::kText}};

EntityKind KindOf(const resbuf* header) {
  if (!header->value.text) return EntityKind::kOther;
  for (const KindName& k : kKinds)
    if (std::strcmp(header->value.text, k.name) == 0) return k.kind;
  return EntityKind::kOther;
}

// An integer node's value, whatever its width; 0 for other kinds.
long long IntegerOf(const resbuf* node) {
  switch (GroupCodeKind(GetGroupCodeClass(node->code))) {
    case GC_KIND_INT16:
    case GC_KIND_INT16_B:
    case GC_KIND_FLAG16:
      return node->value.i16;
    case GC_KIND_INT32:
      return node->value.i32;
    case GC_KIND_INT64:
      return node->value.i64;
    default:
      return 0;
  }
}

void Keep(resbuf*& slot, resbuf* node) {
  if (!slot) slot = node;
}

// The boundary paths of a hatch: after the path count (91), each path
// opens with its type (92); the style (75), pattern type (76) or seed
// count (98) ends them. Counts bound what is taken, so seed points and
// source-object handles never pass for vertices.
class HatchReader {
 public:
  explicit HatchReader(std::vector<HatchPath>& paths) : paths_(paths) {}

  void Take(resbuf* node) {
    const int code = node->code;
    if (done_) return;
    if (pathsLeft_ < 0) {
      if (code == 91) pathsLeft_ = static_cast<long long>(IntegerOf(node));
      return;
    }
    if (code == 75 || code == 76 || code == 98) {
      done_ = true;
      return;
    }
    if (code == 92) {
      if (pathsLeft_ <= 0) {
        done_ = true;
        return;
      }
      --pathsLeft_;
      paths_.emplace_back();
      paths_.back().polyline = (IntegerOf(node) & 2) != 0;
      count_ = 0;
      counted_ = false;
      return;
    }
    if (paths_.empty()) return;
    HatchPath& path = paths_.back();
    if (code == 93 && !counted_) {
      count_ = IntegerOf(node);
      counted_ = true;
      return;
    }
    if (path.polyline) {
      TakeVertexNode(path, node);
    } else {
      TakeEdgeNode(path, node);
    }
  }

 private:
  void TakeVertexNode(HatchPath& path, resbuf* node) {
    const int code = node->code;
    if (code == 73 && !counted_) path.closed = IntegerOf(node) != 0;
    if (!counted_) return;
    if (code == 10 && static_cast<long long>(path.vertices.size()) < count_) {
      path.vertices.push_back({node, nullptr});
    } else if (code == 42 && !path.vertices.empty() && !path.vertices.back().bulge) {
      path.vertices.back().bulge = node;
    }
  }

  void TakeEdgeNode(HatchPath& path, resbuf* node) {
    const int code = node->code;
    if (!counted_) return;
    if (code == 72 && static_cast<long long>(path.edges.size()) < count_) {
      path.edges.emplace_back();
      path.edges.back().type = static_cast<int>(IntegerOf(node));
      return;
    }
    if (path.edges.empty()) return;
    HatchEdge& edge = path.edges.back();
    if (edge.type == 1) {
      if (code == 10) Keep(edge.a, node);
      if (code == 11) Keep(edge.b, node);
    } else if (edge.type == 2) {
      if (code == 10) Keep(edge.a, node);
      if (code == 40) Keep(edge.radius, node);
      if (code == 50) Keep(edge.startAngle, node);
      if (code == 51) Keep(edge.endAngle, node);
    }
  }

  std::vector<HatchPath>& paths_;
  long long pathsLeft_ = -1;  // not yet counted
  long long count_ = 0;       // vertices or edges of the current path
  bool counted_ = false;
  bool done_ = false;
};

}  // namespace

void ReadEntityGeometry(resbuf*& cursor, EntityGeometry& out) {
  out.kind = cursor && cursor->code == 0 ? KindOf(cursor) : EntityKind::kOther;
  out.takesPart = true;
  out.definition = false;
  for (resbuf*& p : out.point) p = nullptr;
  out.radius = out.startAngle = out.endAngle = out.text = nullptr;
  out.closed = false;
  out.vertices.clear();
  out.paths.clear();

  const char* layer = nullptr;
  int colour = 256;
  bool roleSet = false;
  auto settleRole = [&]() {
    if (roleSet) return;
    roleSet = true;
    if (!layer || !EqualsIgnoreCase(layer, "DEFPOINTS")) return;
    const bool seven = colour == 7 || colour == 0 || colour == 256;
    out.takesPart = seven;
    out.definition = seven;
  };

  HatchReader hatch(out.paths);
  resbuf* node = cursor ? cursor->next : nullptr;
  for (; node && node->code != 0; node = node->next) {
    const int code = node->code;
    if (code == 8 && !roleSet) layer = node->value.text;
    if (code == 62 && !roleSet) colour = node->value.i16;
    if (code == 1001) break;  // extended data: nothing of the geometry follows
    if (code >= 10 && code <= 13) settleRole();
    switch (out.kind) {
      case EntityKind::kLwPolyline:
        if (code == 70) out.closed = (IntegerOf(node) & 1) != 0;
        if (code == 10) out.vertices.push_back({node, nullptr});
        if (code == 42 && !out.vertices.empty() && !out.vertices.back().bulge) out.vertices.back().bulge = node;
        break;
      case EntityKind::kHatch:
        hatch.Take(node);
        break;
      default:
        if (code >= 10 && code <= 13) Keep(out.point[code - 10], node);
        if (code == 40) Keep(out.radius, node);
        if (code == 50) Keep(out.startAngle, node);
        if (code == 51) Keep(out.endAngle, node);
        if (code == 1) Keep(out.text, node);
        break;
    }
  }
  settleRole();
  while (node && node->code != 0) node = node->next;
  cursor = node;
}
