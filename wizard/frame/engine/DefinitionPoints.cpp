#include "wizard/frame/engine/DefinitionPoints.h"

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "common/CLocaleNumber.h"
#include "common/EntityExtents.h"
#include "common/GLVector.h"
#include "platform/mfc/CListCtrl.h"
#include "wizard/frame/engine/CObjectData.h"
#include "wizard/frame/engine/CObjectSez.h"
#include "wizard/frame/engine/EntityGeometry.h"
#include "wizard/frame/engine/RecordLookups.h"
#include "wizard/frame/engine/ScaledCompare.h"

namespace {

bool IsFinite(const GLVector& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

GLVector PointOf(const resbuf* node) { return GLVector(node->value.point); }

// The centre of a polyline arc, or false where the segment has none.
bool ArcCentre(const GLVector& p1, const GLVector& p2, double bulge, GLVector& centre) {
  if (bulge == 0.0 || (p1.x == p2.x && p1.y == p2.y)) return false;
  centre = GLVector(NAN, NAN, NAN);
  BulgeArcCentre(centre, p1, p2, bulge);
  return IsFinite(centre);
}

double BulgeOf(const PolylineVertex& v) { return v.bulge ? v.bulge->value.real : 0.0; }

class PointCollector {
 public:
  explicit PointCollector(CSeznam& points) : points_(points) {}

  void Add(const GLVector& p, uint32_t flags = 0) {
    CObjectData* object = nullptr;
    AddDefinitionPoint(points_, p, counter_, object, flags);
  }
  void Add(const resbuf* node, uint32_t flags = 0) {
    if (node) Add(PointOf(node), flags);
  }

  void Entity(const EntityGeometry& e) {
    if (!e.takesPart) return;
    switch (e.kind) {
      case EntityKind::kLine:
        Line(e);
        break;
      case EntityKind::kCircle:
        if (!e.point[0] || !e.radius) break;
        Add(e.point[0], PointFlag::kCentre);
        Add(PointOf(e.point[0]) + GLVector(e.radius->value.real, 0, 0));
        break;
      case EntityKind::kArc:
        if (!e.point[0]) break;
        Add(e.point[0], PointFlag::kCentre);
        if (e.radius && e.startAngle && e.endAngle) Arc(PointOf(e.point[0]), *e.radius, *e.startAngle, *e.endAngle);
        break;
      case EntityKind::kEllipse:
        Ellipse(e);
        break;
      case EntityKind::kLwPolyline:
        Polyline(e.vertices, e.closed);
        break;
      case EntityKind::kHatch:
        for (const HatchPath& path : e.paths) Hatch(path);
        break;
      case EntityKind::kSolid:
        for (const resbuf* corner : e.point) Add(corner);
        break;
      case EntityKind::kText:
        Add(e.point[0]);
        Add(e.point[1]);
        break;
      case EntityKind::kOther:
        break;
    }
  }

 private:
  void Line(const EntityGeometry& e) {
    if (!e.definition) {
      Add(e.point[0]);
      Add(e.point[1]);
      return;
    }
    CObjectData* start = nullptr;
    if (e.point[0]) AddDefinitionPoint(points_, PointOf(e.point[0]), counter_, start, PointFlag::kDefinitionLine | PointFlag::kLineStart);
    if (!e.point[1]) return;
    CObjectData* end = start;
    AddDefinitionPoint(points_, PointOf(e.point[1]), counter_, end, PointFlag::kDefinitionLine | PointFlag::kLineEnd);
  }

  void Arc(const GLVector& centre, const resbuf& radius, const resbuf& start, const resbuf& end) {
    GLVector a, b;
    ArcEndPoints(centre, radius.value.real, start.value.real, end.value.real, a, b);
    Add(a);
    Add(b);
  }

  void Ellipse(const EntityGeometry& e) {
    if (!e.point[0]) return;
    const GLVector centre = PointOf(e.point[0]);
    Add(centre, PointFlag::kCentre);
    if (!e.point[1]) return;
    const GLVector major = PointOf(e.point[1]);
    Add(centre + major);
    if (!e.radius) return;
    GLVector m = major;
    m *= e.radius->value.real;
    Add(centre + GLVector(-m.y, m.x, m.z));
  }

  // Each segment's arc centre (when it bulges), then its two vertices. The
  // closing arc of a closed polyline adds its centre too, as a hatch's
  // does, so that its bulge follows the formulas.
  void Polyline(const std::vector<PolylineVertex>& vertices, bool closed) {
    const size_t n = vertices.size();
    for (size_t i = 0; i + 1 < n; ++i) {
      GLVector centre;
      if (ArcCentre(PointOf(vertices[i].point), PointOf(vertices[i + 1].point), BulgeOf(vertices[i]), centre))
        Add(centre, PointFlag::kCentre);
      Add(vertices[i].point);
      Add(vertices[i + 1].point);
    }
    GLVector centre;
    if (closed && n > 1 && ArcCentre(PointOf(vertices[n - 1].point), PointOf(vertices[0].point), BulgeOf(vertices[n - 1]), centre))
      Add(centre, PointFlag::kCentre);
  }

  // A polyline path: each vertex, then the centre of its arc to the next
  // (in a closed path the last to the first). Edges: a line's ends; an
  // arc's centre and its end points.
  void Hatch(const HatchPath& path) {
    const size_t n = path.vertices.size();
    for (size_t i = 0; i < n; ++i) {
      Add(path.vertices[i].point);
      const size_t next = i + 1 < n ? i + 1 : 0;
      GLVector centre;
      if ((i + 1 < n || path.closed) && n > 1 &&
          ArcCentre(PointOf(path.vertices[i].point), PointOf(path.vertices[next].point), BulgeOf(path.vertices[i]), centre))
        Add(centre, PointFlag::kCentre);
    }
    for (const HatchEdge& edge : path.edges) {
      if (edge.type == 1) {
        Add(edge.a);
        Add(edge.b);
      } else if (edge.type == 2 && edge.a) {
        Add(edge.a, PointFlag::kCentre);
        if (edge.radius && edge.startAngle && edge.endAngle)
          Arc(PointOf(edge.a), *edge.radius, *edge.startAngle, *edge.endAngle);
      }
    }
  }

  CSeznam& points_;
  uint32_t counter_ = 1;
};

int ComparePoints(const CObjectData* a, const CObjectData* b) {
  for (int axis = 0; axis < 3; ++axis)
    if (int c = CompareScaled(a->point[axis], b->point[axis], 100)) return c;
  return 0;
}

// The within-0.01 order is not transitive, so no sort that relies on a
// strict weak order may use it: a bottom-up merge sort only ever compares
// two elements and stays within its runs, whatever the answers.
void MergeSort(std::vector<CObjectData*>& items) {
  std::vector<CObjectData*> buffer(items.size());
  for (size_t width = 1; width < items.size(); width *= 2) {
    for (size_t lo = 0; lo < items.size(); lo += 2 * width) {
      const size_t mid = std::min(lo + width, items.size());
      const size_t hi = std::min(lo + 2 * width, items.size());
      size_t i = lo, j = mid, k = lo;
      while (i < mid && j < hi) buffer[k++] = ComparePoints(items[j], items[i]) < 0 ? items[j++] : items[i++];
      while (i < mid) buffer[k++] = items[i++];
      while (j < hi) buffer[k++] = items[j++];
    }
    items.swap(buffer);
  }
}

int CompareNumbers(const void* a, const void* b) {
  const auto* p = *static_cast<CObjectData* const*>(a);
  const auto* q = *static_cast<CObjectData* const*>(b);
  return p->number < q->number ? -1 : p->number > q->number ? 1 : 0;
}

std::string Signed(double value) {
  std::string text = FormatFixed(value, 2);
  return text[0] == '-' ? text : "+" + text;
}

}  // namespace

void AddDefinitionPoint(CSeznam& points, const GLVector& point, uint32_t& counter, CObjectData*& object,
                        uint32_t flags) {
  if (!IsFinite(point)) return;
  CObjectData* start = object;
  CObjectData* found = nullptr;
  if (FindObjectAtPoint(points, point, found)) {
    found->flags |= flags;
    object = found;
    return;
  }
  found = new CObjectData;
  found->number = counter++;
  found->flags = flags;
  found->point = point;
  for (int axis = 0; axis < 3; ++axis) found->SetText(axis, FormatFixed(point[axis], 2).c_str());
  points.AddTail(found);
  if ((flags & PointFlag::kLineEnd) && start) {
    found->linked = start;
    start->linked = found;
  }
  object = found;
}

bool ParseProductGeometry(CSeznam& points, const resbuf* chain, bool sort) {
  points.RemoveAll();
  PointCollector collector(points);
  EntityGeometry entity;
  // The reader walks without changing anything.
  resbuf* cursor = const_cast<resbuf*>(chain);
  while (cursor && cursor->code != 0) cursor = cursor->next;
  while (cursor) {
    ReadEntityGeometry(cursor, entity);
    collector.Entity(entity);
  }
  if (sort) SortAndNumberPoints(points);
  return true;
}

void SortAndNumberPoints(CSeznam& points) {
  std::vector<CObjectData*> order;
  order.reserve(points.GetCount());
  for (CObjectData* o = FirstOf<CObjectData>(points); o; o = NextOf(o)) order.push_back(o);
  MergeSort(order);
  for (size_t i = 0; i < order.size(); ++i) order[i]->number = static_cast<uint32_t>(i + 1);
  // Distinct numbers are a strict order: safe for the list's own sort.
  points.Sort(CompareNumbers);
}

void ClearBasePointMarks(CSeznam& points, CListCtrl* view) {
  for (CObjectData* o = FirstOf<CObjectData>(points); o; o = NextOf(o)) {
    if (!(o->flags & PointFlag::kBasePoint)) continue;
    o->flags &= ~PointFlag::kBasePoint;
    if (!view || o->listRow < 0) continue;
    char buffer[257] = {};
    view->GetItemText(o->listRow, 0, buffer, 256);
    char* mark = std::strrchr(buffer, 'F');
    if (!mark) continue;
    if (mark > buffer && mark[-1] == ' ') --mark;
    *mark = '\0';
    view->SetItemText(o->listRow, 0, buffer);
  }
}

void OffsetObjectFormulas(CSeznam& points, const CObjectData& origin) {
  for (CObjectData* o = FirstOf<CObjectData>(points); o; o = NextOf(o))
    for (int axis = 0; axis < 3; ++axis)
      o->SetText(axis, FormatFixed(o->point[axis] - origin.point[axis], 2).c_str());
}

void MakeRelativeFormulas(CSeznam& points) {
  for (CObjectData* start = FirstOf<CObjectData>(points); start; start = NextOf(start)) {
    CObjectData* end = start->linked;
    if (!(start->flags & PointFlag::kLineStart) || !end) continue;
    for (int axis = 0; axis < 3; ++axis) {
      const double difference = end->point[axis] - start->point[axis];
      const char* formula = start->GetText(axis);
      end->SetText(axis, (formula ? formula + Signed(difference) : FormatFixed(difference, 2)).c_str());
    }
  }
}

void FillPointList(CSeznam& points, CListCtrl* view, int mode) {
  if (!view) return;
  view->DeleteAllItems();
  for (CObjectData* o = FirstOf<CObjectData>(points); o; o = NextOf(o)) {
    o->listRow = -1;
    if ((o->flags & PointFlag::kLineEnd) && mode != 1) continue;
    std::string text = std::to_string(o->number);
    if (o->flags & PointFlag::kCentre) text += " C";
    if (o->flags & PointFlag::kBasePoint) text += " F";
    o->listRow = view->InsertItem(LVIF_TEXT | LVIF_PARAM, view->GetItemCount(), text.c_str(), 0, 0, 0,
                                  reinterpret_cast<LPARAM>(o));
  }
}

void ShowPointMarkers(CSeznam& points, CListCtrl* view, int mode) { FillPointList(points, view, mode); }
