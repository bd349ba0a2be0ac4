#include "platform/host/core/EntityBounds.h"

#include <cmath>
#include <vector>

namespace host {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTurn = 2 * kPi;

class Box {
 public:
  void Add(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    if (!any_) {
      b_ = {x, y, x, y};
      any_ = true;
      return;
    }
    b_.minX = std::min(b_.minX, x);
    b_.minY = std::min(b_.minY, y);
    b_.maxX = std::max(b_.maxX, x);
    b_.maxY = std::max(b_.maxY, y);
  }
  std::optional<Bounds2D> Result() const { return any_ ? std::optional(b_) : std::nullopt; }

 private:
  Bounds2D b_{};
  bool any_ = false;
};

struct Point {
  double x = 0, y = 0;
};

double Number(const DxfPair& p) { return ParseDxfReal(p.value).value_or(0.0); }

// Angle a taken into [0, 2 pi).
double Normalised(double a) {
  a = std::fmod(a, kTurn);
  if (a < 0) a += kTurn;
  return a >= kTurn ? 0.0 : a;
}

// Whether direction a lies on the counter-clockwise sweep from start.
bool OnSweep(double a, double start, double sweep) {
  return Normalised(a - start) <= sweep + 1e-12;
}

// A circular arc: its end points and the points where it crosses the axes
// through its centre.
void AddArc(Box& box, Point c, double r, double start, double sweep) {
  box.Add(c.x + r * std::cos(start), c.y + r * std::sin(start));
  box.Add(c.x + r * std::cos(start + sweep), c.y + r * std::sin(start + sweep));
  for (int k = 0; k < 4; ++k) {
    double a = k * kPi / 2;
    if (OnSweep(a, start, sweep)) box.Add(c.x + r * std::cos(a), c.y + r * std::sin(a));
  }
}

// The polyline segment from p to q with that bulge (the tangent of a
// quarter of its included angle, positive counter-clockwise).
void AddSegment(Box& box, Point p, Point q, double bulge) {
  box.Add(p.x, p.y);
  box.Add(q.x, q.y);
  if (bulge == 0 || !std::isfinite(bulge)) return;  // a straight one, the usual
  double dx = q.x - p.x, dy = q.y - p.y;
  double chord = std::hypot(dx, dy);
  if (chord == 0) return;
  // The centre lies on the chord's left normal for a counter-clockwise arc.
  double offset = (1 - bulge * bulge) / (4 * bulge);
  Point c{(p.x + q.x) / 2 - dy * offset, (p.y + q.y) / 2 + dx * offset};
  double r = chord * (1 + bulge * bulge) / (4 * std::fabs(bulge));
  double sweep = 4 * std::atan(std::fabs(bulge));
  Point from = bulge > 0 ? p : q;
  AddArc(box, c, r, std::atan2(from.y - c.y, from.x - c.x), sweep);
}

// The entity's own pairs (no 102 groups, no extended data), in order.
template <class Visit>
void ForEachOwnPair(const DxfEntity& e, Visit visit) {
  // Groups are looked for only where a 102 stands: a window over the
  // drawing walks the pairs of tens of thousands of entities.
  // The walk ends at the first 1001 (the extended data) without a walk
  // of its own to find it first; a group holding one ends it as well.
  const PairList& pairs = e.pairs;
  auto skip = [&pairs](size_t from) {
    const size_t to = SkipAppGroups(pairs, from);
    for (size_t k = from; k < to; ++k)
      if (pairs[k].code == 1001) return pairs.size();
    return to;
  };
  for (size_t i = skip(1); i < pairs.size() && pairs[i].code != 1001;) {
    visit(pairs[i]);
    if (++i < pairs.size() && pairs[i].code == 102) i = skip(i);
  }
}

// Last values of the codes an entity's geometry reads.
class Values {
 public:
  explicit Values(const DxfEntity& e) {
    ForEachOwnPair(e, [&](const DxfPair& p) {
      if (p.code >= kFirst && p.code <= kLast) value_[p.code - kFirst] = Number(p);
    });
  }
  const std::optional<double>& operator[](int code) const { return value_[code - kFirst]; }
  bool Has(std::initializer_list<int> codes) const {
    for (int c : codes)
      if (!(*this)[c]) return false;
    return true;
  }
  Point At(int code) const { return {(*this)[code].value_or(0), (*this)[code + 10].value_or(0)}; }

 private:
  static constexpr int kFirst = 10, kLast = 51;
  std::optional<double> value_[kLast - kFirst + 1];
};

std::optional<Bounds2D> PolylineBounds(const DxfEntity& e) {
  // The vertices in order, each with the bulge of the segment it starts,
  // kept only as long as the segments need them: a vertex is added once
  // the next one has its y.
  struct Vertex {
    Point at;
    double bulge = 0;
  };
  Vertex first, done, open;
  size_t count = 0;  // vertices begun
  int64_t flags = 0;
  Box box;
  auto segmentTo = [&](const Vertex& from, const Vertex& to) {
    box.Add(from.at.x, from.at.y);
    AddSegment(box, from.at, to.at, from.bulge);
  };
  ForEachOwnPair(e, [&](const DxfPair& p) {
    switch (p.code) {
      case 10:
        if (count == 1) first = open;
        if (count >= 2) segmentTo(done, open);
        done = open;
        open = {{Number(p), 0}, 0};
        ++count;
        break;
      case 20:
        if (count) open.at.y = Number(p);
        break;
      case 42:
        if (count) open.bulge = Number(p);
        break;
      case 70:
        flags = ParseDxfInt(p.value).value_or(0);
        break;
      default:
        break;
    }
  });
  if (count == 1) first = open;
  if (count >= 2) segmentTo(done, open);
  if (count >= 1) {
    box.Add(open.at.x, open.at.y);
    if ((flags & 1) && count > 1) AddSegment(box, open.at, first.at, open.bulge);
  }
  return box.Result();
}

}  // namespace

std::optional<Bounds2D> EntityBounds(const DxfEntity& e) {
  if (e.IsType("LWPOLYLINE")) return PolylineBounds(e);
  if (!e.IsType("LINE") && !e.IsType("SOLID") && !e.IsType("CIRCLE") && !e.IsType("ARC") &&
      !e.IsType("ELLIPSE"))
    return std::nullopt;
  Values v(e);
  Box box;
  if (e.IsType("LINE") || e.IsType("SOLID")) {
    int last = e.IsType("LINE") ? 11 : 13;
    for (int code = 10; code <= last; ++code)
      if (v[code]) box.Add(v.At(code).x, v.At(code).y);
  } else if (e.IsType("CIRCLE")) {
    if (v.Has({10, 40})) AddArc(box, v.At(10), std::fabs(*v[40]), 0, kTurn);
  } else if (e.IsType("ARC")) {
    if (v.Has({10, 40, 50, 51})) {
      double start = *v[50] * kPi / 180, end = *v[51] * kPi / 180;
      // Angles a whole number of turns apart make a full circle.
      double sweep = start == end ? 0 : Normalised(end - start);
      if (start != end && sweep == 0) sweep = kTurn;
      AddArc(box, v.At(10), std::fabs(*v[40]), start, sweep);
    }
  } else if (e.IsType("ELLIPSE")) {
    if (v.Has({10, 11, 40})) {
      // Points c + m cos t + n sin t, n the minor axis square to m.
      Point c = v.At(10), m = v.At(11);
      double ratio = *v[40];
      Point n{-m.y * ratio, m.x * ratio};
      double start = v[41].value_or(0), end = v[42].value_or(kTurn);
      double sweep = Normalised(end - start);
      if (sweep == 0) sweep = kTurn;
      auto add = [&](double t) {
        box.Add(c.x + m.x * std::cos(t) + n.x * std::sin(t), c.y + m.y * std::cos(t) + n.y * std::sin(t));
      };
      add(start);
      add(start + sweep);
      // Where x or y turns back.
      for (double t0 : {std::atan2(n.x, m.x), std::atan2(n.y, m.y)})
        for (double t : {t0, t0 + kPi})
          if (OnSweep(t, start, sweep)) add(t);
    }
  }
  return box.Result();
}

}  // namespace host
