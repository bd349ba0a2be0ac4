#include "wizard/frame/engine/GeometryRegeneration.h"

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/EntityExtents.h"
#include "common/GLVector.h"
#include "dataformat/HeapCopy.h"
#include "platform/catalogue/Database.h"
#include "platform/win32/code_page.h"
#include "wizard/frame/engine/CLineData.h"
#include "wizard/frame/engine/CObjectSez.h"
#include "wizard/frame/engine/CValueParam.h"
#include "wizard/frame/engine/EngineState.h"
#include "wizard/frame/engine/EntityGeometry.h"
#include "wizard/frame/engine/ParamStatus.h"
#include "wizard/frame/engine/ParameterList.h"
#include "wizard/frame/engine/ProductFormulas.h"

namespace {

constexpr unsigned kLineRuleType = 387;
constexpr unsigned kLineRuleStatus = 1u << 24;
constexpr double kAngleTolerance = 1e-9;

GLVector PointOf(const resbuf* node) { return GLVector(node->value.point); }

void SetPoint(resbuf* node, const GLVector& p) {
  node->value.point[0] = p.x;
  node->value.point[1] = p.y;
  node->value.point[2] = p.z;
}

// A derived value is written only when it is a number.
void SetReal(resbuf* node, double value) {
  if (node && std::isfinite(value)) node->value.real = value;
}

double AngleFromX(const GLVector& direction) { return GLAxisX.GetOrientedAngle(direction, GLAxisZ); }

// The new bulge of an arc whose centre and ends moved. The three points
// alone give the arc of at most 180 degrees on the centre's side, so an
// arc over 180 degrees takes the other one, and a half circle (its centre
// on the chord, where the side is a matter of rounding) keeps its turn.
double NewBulge(double old, const GLVector& centre, const GLVector& first, const GLVector& second) {
  const double bulge = BulgeFromThreePoints(centre, first, second);
  if (std::fabs(std::fabs(old) - 1.0) <= 1e-9) return std::copysign(std::fabs(bulge), old);
  if (std::fabs(old) > 1.0) return -1.0 / bulge;
  return bulge;
}

class Regenerator {
 public:
  Regenerator(const CSeznam& points, const CSeznam& params) : points_(points), params_(params) {
    BuildDefinitions(params, definitions_, false);
    if (jovDatabase::Database* catalogue = CurrentCatalogue()) {
      unsigned type = 0, status = 0;
      if (catalogue->GetIndexType(type) == jovDatabase::eOK && catalogue->GetItemsStatus(status) == jovDatabase::eOK)
        lineRule_ = type == kLineRuleType && (status & kLineRuleStatus);
    }
  }

  void Entity(const EntityGeometry& e) {
    if (!e.takesPart) return;
    switch (e.kind) {
      case EntityKind::kLine:
        if (lineRule_)
          Collect(e);
        else
          MapNodes(e.point, 2);
        break;
      case EntityKind::kText:
        MapNodes(e.point, 2);
        ReplaceText(e.text);
        break;
      case EntityKind::kSolid:
        MapNodes(e.point, 4);
        break;
      case EntityKind::kCircle:
        Circle(e);
        break;
      case EntityKind::kArc:
        Arc(e.point[0], e.radius, e.startAngle, e.endAngle);
        break;
      case EntityKind::kEllipse:
        Ellipse(e);
        break;
      case EntityKind::kLwPolyline:
        Polyline(e.vertices, e.closed);
        break;
      case EntityKind::kHatch:
        for (const HatchPath& path : e.paths) {
          Polyline(path.vertices, path.closed);
          for (const HatchEdge& edge : path.edges) {
            if (edge.type == 1) {
              Map(edge.a);
              Map(edge.b);
            } else if (edge.type == 2) {
              Arc(edge.a, edge.radius, edge.startAngle, edge.endAngle);
            }
          }
        }
        break;
      case EntityKind::kOther:
        break;
    }
  }

  void FinishLines() {
    if (lines_.GetCount() == 0) return;
    std::vector<CLineData*> definitionLines;
    for (CLineData* line = FirstOf<CLineData>(lines_); line; line = NextOf(line)) {
      line->oldStart = PointOf(line->start);
      line->oldEnd = PointOf(line->end);
      Map(line->start);
      Map(line->end);
      if (line->definitionLine) definitionLines.push_back(line);
    }
    if (definitionLines.size() < 2) return;
    const GLVector across = PointOf(definitionLines[0]->start) - PointOf(definitionLines[1]->start);
    const double d = across.Length();
    if (!(d <= 120.0)) return;
    for (CLineData* line = FirstOf<CLineData>(lines_); line; line = NextOf(line)) {
      if (line->definitionLine) continue;
      const GLVector start = PointOf(line->start);
      const GLVector end = PointOf(line->end);
      GLVector direction = d <= 60.0 ? start - end : end - start;
      if ((end - start).Length() < 1e-9) direction = line->oldEnd - line->oldStart;
      // Parallel (the angle between them 0 or pi, within 1e-9) by the sine
      // of the angle: its cosine, near 1, cannot tell 1e-9 from 1e-8.
      const double lengths = across.Length() * direction.Length();
      const bool parallel = lengths > 0.0 && across.Cross(direction).Length() <= kAngleTolerance * lengths;
      if (!parallel) continue;
      direction.Normalize();
      direction *= d * 0.5 + 1.0;
      SetPoint(line->end, start + direction);
      return;
    }
  }

 private:
  // The node's point through its definition point; false when it stays.
  bool Map(resbuf* node) {
    if (!node) return false;
    GLVector p = PointOf(node);
    if (!EvaluatePoint(points_, definitions_, p)) return false;
    SetPoint(node, p);
    return true;
  }
  // A point that is not in the chain: mapped in place.
  bool Map(GLVector& p) {
    GLVector q = p;
    if (!EvaluatePoint(points_, definitions_, q)) return false;
    p = q;
    return true;
  }

  void MapNodes(resbuf* const* nodes, int n) {
    for (int i = 0; i < n; ++i) Map(nodes[i]);
  }

  void Collect(const EntityGeometry& e) {
    if (!e.point[0] || !e.point[1]) {
      MapNodes(e.point, 2);
      return;
    }
    auto* line = new CLineData;
    line->definitionLine = e.definition;
    line->start = e.point[0];
    line->end = e.point[1];
    lines_.AddTail(line);
  }

  // A text naming a parameter of status exactly 4 shows its value.
  void ReplaceText(resbuf* node) {
    if (!node || !node->value.text) return;
    for (const CValueParam* p = FirstOf<CValueParam>(params_); p; p = NextOf(p)) {
      const char* name = p->GetText(ParamText::kName);
      if (p->status != ParamStatus::kFree || !name || !EqualsIgnoreCase(name, node->value.text)) continue;
      const char* value = p->GetText(ParamText::kValue);
      if (char* copy = DupString(value ? value : "")) {
        std::free(node->value.text);
        node->value.text = copy;
      }
      return;
    }
  }

  void Circle(const EntityGeometry& e) {
    if (!e.point[0]) return;
    const GLVector oldCentre = PointOf(e.point[0]);
    Map(e.point[0]);
    if (!e.radius) return;
    GLVector rim = oldCentre + GLVector(e.radius->value.real, 0, 0);
    if (Map(rim)) SetReal(e.radius, (rim - PointOf(e.point[0])).Length());
  }

  void Arc(resbuf* centreNode, resbuf* radius, resbuf* startAngle, resbuf* endAngle) {
    if (!centreNode) return;
    const GLVector oldCentre = PointOf(centreNode);
    Map(centreNode);
    if (!radius || !startAngle || !endAngle) return;
    GLVector start, end;
    ArcEndPoints(oldCentre, radius->value.real, startAngle->value.real, endAngle->value.real, start, end);
    if (!Map(start) || !Map(end)) return;
    const GLVector centre = PointOf(centreNode);
    const double newRadius = (start - centre).Length();
    const double newStart = AngleFromX(start - centre);
    const double newEnd = AngleFromX(end - centre);
    if (!std::isfinite(newRadius) || !std::isfinite(newStart) || !std::isfinite(newEnd)) return;
    SetReal(radius, newRadius);
    SetReal(startAngle, newStart);
    SetReal(endAngle, newEnd);
  }

  void Ellipse(const EntityGeometry& e) {
    if (!e.point[0]) return;
    const GLVector oldCentre = PointOf(e.point[0]);
    Map(e.point[0]);
    const GLVector centre = PointOf(e.point[0]);
    if (!e.point[1]) return;
    const GLVector oldMajor = PointOf(e.point[1]);
    GLVector majorEnd = oldCentre + oldMajor;
    if (Map(majorEnd)) SetPoint(e.point[1], majorEnd - centre);
    if (!e.radius) return;
    GLVector m = oldMajor;
    m *= e.radius->value.real;
    GLVector minorEnd = oldCentre + GLVector(-m.y, m.x, m.z);
    if (Map(minorEnd)) SetReal(e.radius, (minorEnd - centre).Length() / PointOf(e.point[1]).Length());
  }

  void Polyline(const std::vector<PolylineVertex>& vertices, bool closed) {
    const size_t n = vertices.size();
    if (n == 0) return;
    old_.clear();
    mapped_.clear();
    for (const PolylineVertex& v : vertices) {
      old_.push_back(PointOf(v.point));
      mapped_.push_back(Map(v.point));
    }
    for (size_t i = 0; i < n; ++i) {
      const size_t j = i + 1 < n ? i + 1 : 0;
      if ((j == 0 && !closed) || n < 2 || !vertices[i].bulge || vertices[i].bulge->value.real == 0.0) continue;
      const double bulge = vertices[i].bulge->value.real;
      if (old_[i].x == old_[j].x && old_[i].y == old_[j].y) continue;
      GLVector centre(NAN, NAN, NAN);
      BulgeArcCentre(centre, old_[i], old_[j], bulge);
      if (!mapped_[i] || !mapped_[j] || !Map(centre)) continue;
      const GLVector first = PointOf(vertices[i].point), second = PointOf(vertices[j].point);
      if ((second - first).Length() == 0.0) continue;  // no chord: no arc to bend
      SetReal(vertices[i].bulge, NewBulge(bulge, centre, first, second));
    }
  }

  const CSeznam& points_;
  const CSeznam& params_;
  std::string definitions_;
  bool lineRule_ = false;
  CObjectSez lines_;
  std::vector<GLVector> old_;
  std::vector<bool> mapped_;
};

}  // namespace

bool RegenerateProductGeometry(const CSeznam& points, const CSeznam& params, resbuf* chain) {
  Regenerator regenerator(points, params);
  EntityGeometry entity;
  resbuf* cursor = chain;
  while (cursor && cursor->code != 0) cursor = cursor->next;
  while (cursor) {
    ReadEntityGeometry(cursor, entity);
    regenerator.Entity(entity);
  }
  regenerator.FinishLines();
  return true;
}
