#include "common/EntityExtents.h"

#include <cmath>
#include <cstring>

#include "dataformat/GroupCodeChain.h"
#include "common/StringCompareIgnore.h"

namespace {

constexpr double kQuarter = 1.5707963267948966;      // pi / 2
constexpr double kHalf = 3.141592653589793;          // pi
constexpr double kThreeQuarters = 4.71238898038469;  // 3 pi / 2
constexpr double kFullTurn = 6.283185307179586;      // 2 pi
// A quadrant direction this close past the end of an arc still counts: its
// point then lies on the end point anyway.
constexpr double kAngleSlack = 1e-12;

double NormaliseAngle(double angle) {
  double a = std::fmod(angle, kFullTurn);
  if (a < 0.0) a += kFullTurn;
  if (a >= kFullTurn) a = 0.0;  // a tiny negative angle rounds up to a full turn
  return a;
}

// Counter-clockwise sweep from a to b. Equal angles make a point, while
// angles that differ by whole turns make a full circle.
double ArcSweep(double a, double b) {
  if (a == b) return 0.0;
  double sweep = NormaliseAngle(b) - NormaliseAngle(a);
  if (sweep < 0.0) sweep += kFullTurn;
  if (sweep == 0.0) sweep = kFullTurn;
  return sweep;
}

// Adds the circle's points at 0, pi/2, pi and 3 pi/2 that lie on the
// counter-clockwise arc of that sweep from start: the arc's other extremes
// besides its end points.
void AddQuadrantPoints(const GLVector& c, double r, double start, double sweep, GLVector& min,
                       GLVector& max) {
  const double directions[4] = {0.0, kQuarter, kHalf, kThreeQuarters};
  const GLVector points[4] = {
      {c.x + r, c.y, c.z}, {c.x, c.y + r, c.z}, {c.x - r, c.y, c.z}, {c.x, c.y - r, c.z}};
  for (int i = 0; i < 4; ++i) {
    if (NormaliseAngle(directions[i] - start) <= sweep + kAngleSlack)
      UpdateExtents(points[i], min, max);
  }
}

// The polyline arc from p1 to p2: a positive bulge turns counter-clockwise,
// a negative one clockwise, through 4 atan |bulge|. The vertices themselves
// are added by the caller; a straight or zero-length segment adds nothing.
void AddBulgeArc(const GLVector& p1, const GLVector& p2, double bulge, GLVector& min,
                 GLVector& max) {
  if (bulge == 0.0 || !std::isfinite(bulge)) return;
  double r = 0.0;
  BulgeArcRadius(p1, p2, bulge, r);
  if (!(r > 0.0) || !std::isfinite(r)) return;
  GLVector c = p1;
  BulgeArcCentre(c, p1, p2, bulge);
  double a1 = 0.0;
  double a2 = 0.0;
  PointAnglesAboutCentre(c, p1, p2, a1, a2);
  // A clockwise arc from p1 is the counter-clockwise one from p2.
  double start = bulge > 0.0 ? a1 : a2;
  AddQuadrantPoints(c, r, start, 4.0 * std::atan(std::fabs(bulge)), min, max);
}

// Walks the nodes of the entity at *cursor (past its -1 and code-0 nodes) up
// to the next entity, and leaves the cursor there.
template <class Visit>
void ForEachEntityNode(resbuf** cursor, Visit visit) {
  if (!cursor) return;
  resbuf* node = *cursor;
  if (node && node->code == -1) node = node->next;
  if (node && node->code == 0) node = node->next;
  for (; node && node->code != 0; node = node->next) visit(node);
  *cursor = node;
}

// The last node of each wanted code, or null where the entity has none.
template <size_t N>
void CollectLastNodes(resbuf** cursor, const int16_t (&codes)[N], const resbuf* (&found)[N]) {
  for (auto& f : found) f = nullptr;
  ForEachEntityNode(cursor, [&](const resbuf* node) {
    for (size_t i = 0; i < N; ++i)
      if (node->code == codes[i]) found[i] = node;
  });
}

void AddPointsOfCodes(resbuf** cursor, int16_t firstCode, int16_t lastCode, GLVector& min,
                      GLVector& max) {
  ForEachEntityNode(cursor, [&](const resbuf* node) {
    if (node->code >= firstCode && node->code <= lastCode)
      UpdateExtents(node->value.point, min, max);
  });
}

using ExtentsFunction = void (*)(resbuf**, GLVector&, GLVector&);

ExtentsFunction ExtentsFunctionOf(const char* type) {
  if (!type) return nullptr;
  if (std::strcmp(type, "LINE") == 0) return LineExtents;
  if (std::strcmp(type, "CIRCLE") == 0) return CircleExtents;
  if (std::strcmp(type, "ELLIPSE") == 0) return EllipseExtents;
  if (std::strcmp(type, "ARC") == 0) return ArcExtents;
  if (std::strcmp(type, "SOLID") == 0) return SolidExtents;
  if (std::strcmp(type, "LWPOLYLINE") == 0) return LwPolylineExtents;
  return nullptr;
}

}  // namespace

void GetEntityExtents(const resbuf* chain, GLVector& min, GLVector& max, bool withDefpoints) {
  // Only read through the cursor; the per-type functions share the host's
  // non-const cursor form.
  resbuf* node = const_cast<resbuf*>(chain);
  if (node && node->code == -1) node = node->next;
  while (node) {
    ExtentsFunction extents = node->code == 0 ? ExtentsFunctionOf(node->value.text) : nullptr;
    if (extents && (withDefpoints || !IsOnDefpoints(node)))
      extents(&node, min, max);
    else
      SkipToNextEntity(&node);
  }
}

void UpdateExtents(const GLVector& p, GLVector& min, GLVector& max) {
  for (int i = 0; i < 3; ++i) {
    if (p[i] < min[i]) min[i] = p[i];
    if (p[i] > max[i]) max[i] = p[i];
  }
}

void UpdateExtents(const double* p, GLVector& min, GLVector& max) {
  if (p) UpdateExtents(GLVector(p), min, max);
}

void LineExtents(resbuf** cursor, GLVector& min, GLVector& max) {
  ForEachEntityNode(cursor, [&](const resbuf* node) {
    if (node->code == 10 || node->code == 11) UpdateExtents(node->value.point, min, max);
  });
}

void SolidExtents(resbuf** cursor, GLVector& min, GLVector& max) {
  AddPointsOfCodes(cursor, 10, 13, min, max);
}

void CircleExtents(resbuf** cursor, GLVector& min, GLVector& max) {
  // The radius may come before the centre: the nodes are gathered first.
  const resbuf* found[2];
  CollectLastNodes(cursor, {10, 40}, found);
  if (!found[0] || !found[1]) return;
  GLVector c(found[0]->value.point);
  double r = found[1]->value.real;
  UpdateExtents(GLVector(c.x + r, c.y, c.z), min, max);
  UpdateExtents(GLVector(c.x - r, c.y, c.z), min, max);
  UpdateExtents(GLVector(c.x, c.y + r, c.z), min, max);
  UpdateExtents(GLVector(c.x, c.y - r, c.z), min, max);
}

void EllipseExtents(resbuf** cursor, GLVector& min, GLVector& max) {
  const resbuf* found[3];
  CollectLastNodes(cursor, {10, 11, 40}, found);
  if (!found[0] || !found[1] || !found[2]) return;
  GLVector c(found[0]->value.point);
  GLVector m(found[1]->value.point);
  double ratio = found[2]->value.real;
  double length = m.Length();
  // A zero major axis has no perpendicular; the ellipse is then its centre.
  // The perpendicular is taken of the unit axis: the arbitrary-axis choice
  // of a raw axis shorter than 1/64 would point it along Z.
  GLVector n;
  if (length > 0.0) {
    GLVector unit = m;
    unit *= 1.0 / length;
    n = unit.GetPerpendicular();
    n *= length * ratio;
  }
  UpdateExtents(c + m, min, max);
  UpdateExtents(c - m, min, max);
  UpdateExtents(c + n, min, max);
  UpdateExtents(c - n, min, max);
}

void ArcExtents(resbuf** cursor, GLVector& min, GLVector& max) {
  const resbuf* found[4];
  CollectLastNodes(cursor, {10, 40, 50, 51}, found);
  if (!found[0] || !found[1] || !found[2] || !found[3]) return;
  GLVector c(found[0]->value.point);
  double r = found[1]->value.real;
  double a = found[2]->value.real;
  double b = found[3]->value.real;
  UpdateExtents(c, min, max);
  GLVector start;
  GLVector end;
  ArcEndPoints(c, r, a, b, start, end);
  UpdateExtents(start, min, max);
  UpdateExtents(end, min, max);
  AddQuadrantPoints(c, r, a, ArcSweep(a, b), min, max);
}

void LwPolylineExtents(resbuf** cursor, GLVector& min, GLVector& max) {
  int16_t flags = 0;
  bool haveFirst = false;
  GLVector first;
  GLVector segmentStart;
  bool bulgePending = false;
  double bulge = 0.0;
  ForEachEntityNode(cursor, [&](const resbuf* node) {
    if (node->code == 70) {
      flags = node->value.i16;
      return;
    }
    if (node->code != 10) return;
    GLVector vertex(node->value.point);
    if (!haveFirst) {
      first = vertex;
      haveFirst = true;
    }
    UpdateExtents(vertex, min, max);
    if (bulgePending) {
      AddBulgeArc(segmentStart, vertex, bulge, min, max);
      bulgePending = false;
    }
    // A vertex's bulge is the node right after it.
    const resbuf* next = node->next;
    if (!next || next->code != 42) return;
    segmentStart = vertex;
    bulge = next->value.real;
    bulgePending = true;
  });
  // The last vertex's bulge, whatever follows it (extended data on network
  // entities), bends the closing segment back to the first vertex.
  if (bulgePending && (flags & 1)) AddBulgeArc(segmentStart, first, bulge, min, max);
}

bool IsOnDefpoints(const resbuf* entity) {
  const char* layer = GetEntityString(entity, 8);
  return layer && StringCompareIgnore(layer, "DEFPOINTS") == 0;
}

void ArcEndPoints(const GLVector& centre, const double& radius, const double& startAngle,
                  const double& endAngle, GLVector& start, GLVector& end) {
  start = GLVector(centre.x + radius * std::cos(startAngle),
                   centre.y + radius * std::sin(startAngle), centre.z);
  end = GLVector(centre.x + radius * std::cos(endAngle), centre.y + radius * std::sin(endAngle),
                 centre.z);
}

void PointAnglesAboutCentre(const GLVector& centre, const GLVector& p1, const GLVector& p2,
                            double& a1, double& a2) {
  a1 = GLAxisX.GetOrientedAngle(p1 - centre, GLAxisZ);
  a2 = GLAxisX.GetOrientedAngle(p2 - centre, GLAxisZ);
}

namespace {

// Half the included angle (t) and half the chord (h); false for a straight
// or zero-length segment.
bool BulgeArcHalves(const GLVector& p1, const GLVector& p2, double bulge, double& t, GLVector& h) {
  if (bulge == 0.0 || (p1.x == p2.x && p1.y == p2.y)) return false;
  t = 2.0 * std::atan2(bulge, 1.0);
  if (std::sin(t) == 0.0) return false;
  h = GLVector((p2.x - p1.x) / 2.0, (p2.y - p1.y) / 2.0, 0.0);
  return true;
}

}  // namespace

void BulgeArcRadius(const GLVector& p1, const GLVector& p2, const double& bulge, double& radius) {
  radius = 0.0;
  double t = 0.0;
  GLVector h;
  if (!BulgeArcHalves(p1, p2, bulge, t, h)) return;
  radius = std::fabs(h.Length() / std::sin(t));
}

void BulgeArcCentre(GLVector& centre, const GLVector& p1, const GLVector& p2, const double& bulge) {
  double t = 0.0;
  GLVector h;
  if (!BulgeArcHalves(p1, p2, bulge, t, h)) return;
  double d = h.Length() / std::sin(t);
  GLVector u(-h.y, h.x, 0.0);
  u.Normalize();
  centre = GLVector(p1.x + h.x + u.x * d * std::cos(t), p1.y + h.y + u.y * d * std::cos(t), 0.0);
}

double BulgeFromThreePoints(const GLVector& p0, const GLVector& p1, const GLVector& p2) {
  const GLVector a = p2 - p1;
  const GLVector b = p0 - p1;
  const double chord = a.Length();
  const double h = (a.x * b.y - a.y * b.x) / chord;
  const double bulge = std::tan(std::atan(chord / 2.0 / h) / 2.0);
  return std::isfinite(bulge) ? bulge : 0.0;
}
