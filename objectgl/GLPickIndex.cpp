#include "objectgl/GLPickIndex.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "objectgl/GLArc.h"
#include "objectgl/GLArrow.h"
#include "objectgl/GLCamera.h"
#include "objectgl/GLCircle.h"
#include "objectgl/GLEllipse.h"
#include "objectgl/GLEntity.h"
#include "objectgl/GLFaces.h"
#include "objectgl/GLGeometry.h"
#include "objectgl/GLLine.h"
#include "objectgl/GLSelectPoint.h"
#include "objectgl/GLTeaPot.h"
#include "objectgl/GLText.h"
#include "objectgl/GLViewport.h"

namespace {

// Pixels of a grid cell; an entity over more cells than kWideCells is
// looked at by every pick instead.
constexpr double kCell = 8.0;
constexpr size_t kWideCells = 64;
// Past the viewport the grid reaches this far; beyond it the border cells
// stand for everything further out.
constexpr double kGridMargin = 32.0;
// Rounding between these boxes and OpenGL's own arithmetic, in pixels.
// Selection clips the geometry to the pick volume: line widths play no
// part.
constexpr double kSlack = 2.0;
// OpenGL guarantees 32 model-view matrices; the pick's own take a few.
constexpr size_t kMaxDepth = 24;
// The entity draw modes in which a text sends its triangles (not 3).
constexpr uint32_t kTextDrawModes = 0b0111;
// Window distance (pixels) within which a segment and the pick square's
// edge are left to selection's own rounding.
constexpr double kEdge = 1e-3;
// Pixels from the pick square beyond which a segment's end leaves its hit
// to selection.
constexpr double kFarReach = 1e5;

// The cell of count cells that a window coordinate (from the grid's
// origin) falls in, the border cells standing for everything beyond.
// Clamped before the cast: a coordinate far off the window, or none (NaN),
// never casts out of int's range.
int CellOf(double fromOrigin, int count) {
  const double cell = std::floor(fromOrigin / kCell);
  if (!(cell > 0)) return 0;
  return cell < count - 1 ? static_cast<int>(cell) : count - 1;
}

// What an entity draws, as a box; false when it has none that holds it:
// markers sized in pixels and the teapot draw outside their extents.
bool DrawnBox(GLEntity* e, GLExtents& box) {
  if (GLDynamicCast<GLSelectPoint>(e) || GLDynamicCast<GLArrow>(e) || GLDynamicCast<GLTeaPot>(e)) return false;
  box = e->GetExtents();  // lays a text out
  if (auto* text = GLDynamicCast<GLText>(e)) {
    // A text's extents leave out the last point of each face.
    box.Reset();
    for (uint32_t i = 0; i < text->GetCharCount(); ++i)
      if (const GLFacesArray* faces = text->GetCharFaces(i))
        for (const GLFaces* f : *faces)
          for (const GLVector& p : f->GetPoints()) box.AddPoint(p);
  }
  return true;
}

// Whether the segment a-b meets the rectangle (clipped as selection clips).
bool SegmentMeets(double ax, double ay, double bx, double by, double x0, double y0, double x1, double y1) {
  double t0 = 0.0, t1 = 1.0;
  auto clip = [&](double p, double q) {  // keeps p * t <= q
    if (p == 0.0) return q >= 0.0;
    const double r = q / p;
    if (p < 0.0) {
      if (r > t1) return false;
      t0 = std::max(t0, r);
    } else {
      if (r < t0) return false;
      t1 = std::min(t1, r);
    }
    return true;
  };
  const double dx = bx - ax, dy = by - ay;
  return clip(-dx, ax - x0) && clip(dx, x1 - ax) && clip(-dy, ay - y0) && clip(dy, y1 - ay);
}

}  // namespace

bool GLPickIndex::BuildContent(GLScene& scene) {
  entries_.clear();
  subset_ = GLPickSubset();
  contextMatrices_.assign(1, GLMatrix());
  viewValid_ = false;
  std::vector<uint32_t> stack;  // visible push entities open
  std::vector<GLMatrix> composite;  // as the scene's extents compose them
  uint32_t name = GLPickSubset::kNone;
  uint32_t context = 0;
  const uint32_t count = scene.GetEntityCount();
  for (uint32_t i = 0; i < count; ++i) {
    GLEntity* e = scene.GetEntity(i);
    if (!e || !e->IsVisible()) continue;  // selection skips them too
    if (GLDynamicCast<GLName>(e)) {
      name = subset_.lastName = i;
      continue;
    }
    auto* push = GLDynamicCast<GLPushMatrix>(e);
    if (push || GLDynamicCast<GLPopMatrix>(e)) {
      if (push) {
        if (stack.size() >= kMaxDepth) return false;
        stack.push_back(i);
        GLMatrix m = push->Matrix();
        if (!composite.empty()) m *= composite.back();
        composite.push_back(m);
      } else {
        if (stack.empty()) return false;  // it would pop the pick's own matrix
        stack.pop_back();
        composite.pop_back();
      }
      context = 0;
      if (!stack.empty()) {
        subset_.contexts.push_back(stack);
        contextMatrices_.push_back(composite.back());
        context = static_cast<uint32_t>(subset_.contexts.size() - 1);
      }
      continue;
    }
    Entry entry;
    entry.item = {i, name, context};
    GLExtents box;
    entry.everywhere = !DrawnBox(e, box);
    const GLClass* kind = e->GetClass();
    entry.shape = GLDynamicCast<GLText>(e)                                             ? Shape::kText
                  : kind == GLLine::classRecord                                        ? Shape::kLine
                  : kind == GLArc::classRecord || kind == GLEllipse::classRecord      ? Shape::kStrip
                  : kind == GLCircle::classRecord                                      ? Shape::kLoop
                                                                                       : Shape::kOther;
    if (!entry.everywhere && !box.IsValid()) continue;  // draws nothing
    if (!entry.everywhere) {
      GLExtents world;
      const GLVector lo = box.Min(), hi = box.Max();
      for (int c = 0; c < 8; ++c) {
        GLVector p = GLScene::MapPoint(GLVector(c & 1 ? hi.x : lo.x, c & 2 ? hi.y : lo.y, c & 4 ? hi.z : lo.z), &scene);
        if (!composite.empty()) p.TransformPoint(composite.back());
        world.AddPoint(p);
      }
      entry.lo = world.Min();
      entry.hi = world.Max();
    }
    entries_.push_back(entry);
  }
  subset_.items.reserve(entries_.size());
  seen_.assign(entries_.size(), 0);
  stamp_ = 0;
  return true;
}

bool GLPickIndex::BuildView(GLScene& scene) {
  if (scene.GetCameraCount() == 0 || !scene.GetCurrentViewport()) return false;
  GLCamera* camera = scene.GetCurrentCamera();
  // Projection, the model-view the scene starts from, and the view, as a
  // pick sets them up.
  double projection[16], base[16], viewMatrix[16], both[16];
  camera->GetProjectionMatrix(scene.GetCurrentViewport(), projection);
  glGetDoublev(GL_MODELVIEW_MATRIX, base);
  GLMatrix view;
  camera->BuildViewMatrix(view);
  GLMultiplyColumnMajor(base, view.GetData(), both);
  GLMultiplyColumnMajor(projection, both, viewMatrix);
  GLint rect[4] = {};
  glGetIntegerv(GL_VIEWPORT, rect);
  if (viewValid_ && std::equal(viewMatrix, viewMatrix + 16, view_) && std::equal(rect, rect + 4, viewport_))
    return true;
  std::copy(viewMatrix, viewMatrix + 16, view_);
  std::copy(rect, rect + 4, viewport_);
  viewValid_ = true;
  contextClip_.resize(16 * contextMatrices_.size());
  for (size_t c = 0; c < contextMatrices_.size(); ++c) {
    double model[16];
    GLMultiplyColumnMajor(contextMatrices_[c].GetData(), scene.GetModelMatrix().GetData(), model);
    GLMultiplyColumnMajor(view_, model, &contextClip_[16 * c]);
  }

  gridX_ = rect[0] - kGridMargin;
  gridY_ = rect[1] - kGridMargin;
  columns_ = std::max(1, static_cast<int>(std::ceil((rect[2] + 2 * kGridMargin) / kCell)));
  rows_ = std::max(1, static_cast<int>(std::ceil((rect[3] + 2 * kGridMargin) / kCell)));
  const double* m = view_;
  for (Entry& entry : entries_) {
    if (entry.everywhere) continue;
    double x0 = HUGE_VAL, y0 = HUGE_VAL, x1 = -HUGE_VAL, y1 = -HUGE_VAL;
    bool inFront = true;
    for (int c = 0; c < 8 && inFront; ++c) {
      const double p[3] = {c & 1 ? entry.hi.x : entry.lo.x, c & 2 ? entry.hi.y : entry.lo.y,
                           c & 4 ? entry.hi.z : entry.lo.z};
      double clip[4];
      for (int r = 0; r < 4; ++r) clip[r] = m[r] * p[0] + m[4 + r] * p[1] + m[8 + r] * p[2] + m[12 + r];
      // A corner at or behind the eye has no place in the window.
      if (!(clip[3] > 1e-12)) {
        inFront = false;
        break;
      }
      const double wx = rect[0] + (clip[0] / clip[3] + 1.0) / 2.0 * rect[2];
      const double wy = rect[1] + (clip[1] / clip[3] + 1.0) / 2.0 * rect[3];
      x0 = std::min(x0, wx);
      x1 = std::max(x1, wx);
      y0 = std::min(y0, wy);
      y1 = std::max(y1, wy);
    }
    if (!inFront || !std::isfinite(x0) || !std::isfinite(x1) || !std::isfinite(y0) || !std::isfinite(y1)) {
      entry.x0 = entry.y0 = -HUGE_VAL;
      entry.x1 = entry.y1 = HUGE_VAL;
      continue;
    }
    entry.x0 = x0 - kSlack;
    entry.y0 = y0 - kSlack;
    entry.x1 = x1 + kSlack;
    entry.y1 = y1 + kSlack;
  }

  // The grid, counted first, then filled.
  auto column = [&](double x) { return CellOf(x - gridX_, columns_); };
  auto row = [&](double y) { return CellOf(y - gridY_, rows_); };
  const size_t cells = static_cast<size_t>(columns_) * static_cast<size_t>(rows_);
  cellStart_.assign(cells + 1, 0);
  wide_.clear();
  std::vector<bool> isWide(entries_.size(), false);
  for (size_t i = 0; i < entries_.size(); ++i) {
    const Entry& entry = entries_[i];
    if (entry.everywhere || !std::isfinite(entry.x0) || !std::isfinite(entry.x1)) {
      isWide[i] = true;
      continue;
    }
    const size_t covered = static_cast<size_t>(column(entry.x1) - column(entry.x0) + 1) *
                           static_cast<size_t>(row(entry.y1) - row(entry.y0) + 1);
    if (covered > kWideCells) {
      isWide[i] = true;
      continue;
    }
    for (int r = row(entry.y0); r <= row(entry.y1); ++r)
      for (int c = column(entry.x0); c <= column(entry.x1); ++c) ++cellStart_[static_cast<size_t>(r) * columns_ + c + 1];
  }
  for (size_t c = 0; c < cells; ++c) cellStart_[c + 1] += cellStart_[c];
  cellItems_.assign(cellStart_[cells], 0);
  std::vector<uint32_t> fill(cellStart_.begin(), cellStart_.end() - 1);
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (isWide[i]) {
      wide_.push_back(static_cast<uint32_t>(i));
      continue;
    }
    const Entry& entry = entries_[i];
    for (int r = row(entry.y0); r <= row(entry.y1); ++r)
      for (int c = column(entry.x0); c <= column(entry.x1); ++c)
        cellItems_[fill[static_cast<size_t>(r) * columns_ + c]++] = static_cast<uint32_t>(i);
  }
  return true;
}

void GLPickIndex::Candidates(double x0, double y0, double x1, double y1) {
  found_.clear();
  if (++stamp_ == 0) {
    std::fill(seen_.begin(), seen_.end(), 0);
    stamp_ = 1;
  }
  auto consider = [&](uint32_t i) {
    if (seen_[i] == stamp_) return;
    seen_[i] = stamp_;
    const Entry& e = entries_[i];
    if (e.everywhere || (e.x0 <= x1 && x0 <= e.x1 && e.y0 <= y1 && y0 <= e.y1)) found_.push_back(i);
  };
  for (uint32_t i : wide_) consider(i);
  const int c0 = CellOf(x0 - gridX_, columns_), c1 = CellOf(x1 - gridX_, columns_);
  const int r0 = CellOf(y0 - gridY_, rows_), r1 = CellOf(y1 - gridY_, rows_);
  for (int r = r0; r <= r1; ++r)
    for (int c = c0; c <= c1; ++c) {
      const size_t cell = static_cast<size_t>(r) * columns_ + c;
      for (uint32_t k = cellStart_[cell]; k < cellStart_[cell + 1]; ++k) consider(cellItems_[k]);
    }
  // Entries are in list order: so are their positions.
  std::sort(found_.begin(), found_.end());
}

bool GLPickIndex::ToWindow(const double* m, const GLVector& p, double* wx, double* wy) const {
  double clip[4];
  for (int r = 0; r < 4; ++r) clip[r] = m[r] * p.x + m[4 + r] * p.y + m[8 + r] * p.z + m[12 + r];
  if (!(clip[3] > 1e-12) || !(std::fabs(clip[2]) < clip[3])) return false;
  *wx = viewport_[0] + (clip[0] / clip[3] + 1.0) / 2.0 * viewport_[2];
  *wy = viewport_[1] + (clip[1] / clip[3] + 1.0) / 2.0 * viewport_[3];
  return std::isfinite(*wx) && std::isfinite(*wy);
}

GLPickIndex::Decided GLPickIndex::Decide(GLScene& scene, const Entry& entry, double x0, double y0, double x1,
                                         double y1, GLVector* hit) {
  if (entry.everywhere || entry.shape == Shape::kOther) return Decided::kOpen;
  const double* toClip = &contextClip_[16 * static_cast<size_t>(entry.item.context)];
  GLEntity* e = scene.GetEntity(entry.item.entity);
  switch (entry.shape) {
    case Shape::kText: return TextHit(scene, entry, toClip, x0, y0, x1, y1, hit);
    case Shape::kLine: {
      auto* line = static_cast<GLLine*>(e);
      const GLVector ends[2] = {line->GetStart(), line->GetEnd()};
      return SegmentsHit(toClip, ends, 2, false, x0, y0, x1, y1);
    }
    case Shape::kStrip:
    case Shape::kLoop: {
      const GLVectorArray& points = e->GetClass() == GLArc::classRecord ? static_cast<GLArc*>(e)->DrawnPoints()
                                    : e->GetClass() == GLCircle::classRecord
                                        ? static_cast<GLCircle*>(e)->DrawnPoints()
                                        : static_cast<GLEllipse*>(e)->DrawnPoints();
      if (points.GetCount() == 0) return Decided::kMiss;  // draws nothing
      return SegmentsHit(toClip, &points[0], points.GetCount(), entry.shape == Shape::kLoop, x0, y0, x1, y1);
    }
    default: return Decided::kOpen;
  }
}

GLPickIndex::Decided GLPickIndex::SegmentsHit(const double* toClip, const GLVector* points, uint32_t count, bool loop,
                                              double x0, double y0, double x1, double y1) {
  if (count < 2) return Decided::kMiss;  // a strip of one point draws nothing
  std::vector<double>& window = windowPoints_;
  window.resize(2 * static_cast<size_t>(count));
  for (uint32_t i = 0; i < count; ++i)
    if (!ToWindow(toClip, points[i], &window[2 * i], &window[2 * i + 1])) return Decided::kOpen;
  bool open = false;
  const uint32_t segments = loop ? count : count - 1;
  const double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
  for (uint32_t s = 0; s < segments; ++s) {
    const uint32_t a = s, b = (s + 1) % count;
    const double ax = window[2 * a], ay = window[2 * a + 1], bx = window[2 * b], by = window[2 * b + 1];
    // Selection clips in floats, about the square: its rounding grows with
    // the ends' distance from it, and far enough it is its own to say.
    const double reach = std::max({std::fabs(ax - cx), std::fabs(ay - cy), std::fabs(bx - cx), std::fabs(by - cy)});
    if (!(reach <= kFarReach)) {
      open = true;
      continue;
    }
    const double edge = kEdge + reach * 1e-6;
    if (!SegmentMeets(ax, ay, bx, by, x0 - edge, y0 - edge, x1 + edge, y1 + edge)) continue;
    // A segment of no length, or one that only grazes the square, is
    // selection's to say.
    if (std::fabs(bx - ax) < edge && std::fabs(by - ay) < edge) {
      open = true;
      continue;
    }
    if (SegmentMeets(ax, ay, bx, by, x0 + edge, y0 + edge, x1 - edge, y1 - edge)) return Decided::kHit;
    open = true;
  }
  return open ? Decided::kOpen : Decided::kMiss;
}

GLPickIndex::Decided GLPickIndex::TextHit(GLScene& scene, const Entry& entry, const double* toClip, double x0,
                                          double y0, double x1, double y1, GLVector* hit) {
  auto* text = static_cast<GLText*>(scene.GetEntity(entry.item.entity));
  const double* m = toClip;
  std::vector<double>& window = windowPoints_;
  for (uint32_t c = 0; c < text->GetCharCount(); ++c) {
    const GLFacesArray* faces = text->GetCharFaces(c);
    if (!faces) return Decided::kOpen;
    // A glyph whose box lies wholly off the rectangle is passed by whole
    // (its window points lie within the window hull of the box's corners).
    const GLExtents& box = *text->GetCharBox(c);
    if (!box.IsValid()) continue;  // draws nothing
    double bx0 = HUGE_VAL, by0 = HUGE_VAL, bx1 = -HUGE_VAL, by1 = -HUGE_VAL;
    bool inRange = true;
    for (int k = 0; k < 8 && inRange; ++k) {
      const GLVector corner(k & 1 ? box.Max().x : box.Min().x, k & 2 ? box.Max().y : box.Min().y,
                            k & 4 ? box.Max().z : box.Min().z);
      double wx = 0, wy = 0;
      inRange = ToWindow(m, corner, &wx, &wy);
      bx0 = std::min(bx0, wx);
      bx1 = std::max(bx1, wx);
      by0 = std::min(by0, wy);
      by1 = std::max(by1, wy);
    }
    if (inRange && (bx0 > x1 || bx1 < x0 || by0 > y1 || by1 < y0)) continue;
    for (const GLFaces* f : *faces) {
      const GLVectorArray& points = f->GetPoints();
      const uint32_t n = points.GetCount();
      if (!f->IsTriangles()) return Decided::kOpen;
      window.resize(2 * static_cast<size_t>(n));
      double bx0 = HUGE_VAL, by0 = HUGE_VAL, bx1 = -HUGE_VAL, by1 = -HUGE_VAL;
      for (uint32_t i = 0; i < n; ++i) {
        const GLVector& p = points[i];
        double clip[4];
        for (int r = 0; r < 4; ++r) clip[r] = m[r] * p.x + m[4 + r] * p.y + m[8 + r] * p.z + m[12 + r];
        if (!(clip[3] > 1e-12) || !(std::fabs(clip[2]) < clip[3])) return Decided::kOpen;
        const double wx = viewport_[0] + (clip[0] / clip[3] + 1.0) / 2.0 * viewport_[2];
        const double wy = viewport_[1] + (clip[1] / clip[3] + 1.0) / 2.0 * viewport_[3];
        window[2 * i] = wx;
        window[2 * i + 1] = wy;
        bx0 = std::min(bx0, wx);
        bx1 = std::max(bx1, wx);
        by0 = std::min(by0, wy);
        by1 = std::max(by1, wy);
      }
      if (bx0 > x1 || bx1 < x0 || by0 > y1 || by1 < y0) continue;
      const uint32_t triangles = f->TriangleCount();
      for (uint32_t t = 0; t < triangles; ++t) {
        uint32_t k[3];
        f->TriangleCorners(t, k);
        const double ax = window[2 * k[0]], ay = window[2 * k[0] + 1];
        const double bx = window[2 * k[1]], by = window[2 * k[1] + 1];
        const double cx = window[2 * k[2]], cy = window[2 * k[2] + 1];
        if (std::max({ax, bx, cx}) < x0 || std::min({ax, bx, cx}) > x1 || std::max({ay, by, cy}) < y0 ||
            std::min({ay, by, cy}) > y1)
          continue;
        const double area = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
        // A sliver's hit is OpenGL's to say.
        if (std::fabs(area) < 1e-9) return Decided::kOpen;
        // Separated when the rectangle lies wholly outside one edge.
        bool apart = false;
        const double px[3] = {ax, bx, cx}, py[3] = {ay, by, cy};
        for (int e = 0; e < 3 && !apart; ++e) {
          const double ex = px[(e + 1) % 3] - px[e], ey = py[(e + 1) % 3] - py[e];
          // Inside is where the cross product has the area's sign.
          const double sign = area > 0 ? 1.0 : -1.0;
          auto side = [&](double qx, double qy) { return (ex * (qy - py[e]) - ey * (qx - px[e])) * sign; };
          apart = side(x0, y0) < 0 && side(x1, y0) < 0 && side(x0, y1) < 0 && side(x1, y1) < 0;
        }
        if (apart) continue;
        for (int v = 0; v < 3; ++v) hit[v] = points[k[v]];
        return Decided::kHit;
      }
    }
  }
  return Decided::kMiss;
}

int32_t GLPickIndex::Pick(GLScene& scene, int x, int y, double size) {
  lastCandidates_ = scene.GetEntityCount();
  if (!scene.MakeContextCurrent()) return scene.Pick(x, y, size);
  if (&scene != scene_ || scene.GetShapeVersion() != version_) {
    scene_ = &scene;
    version_ = scene.GetShapeVersion();
    usable_ = BuildContent(scene);
  }
  if (!usable_ || !BuildView(scene)) return scene.Pick(x, y, size);
  // The pick square in window coordinates (y up), as the pick matrix
  // places it.
  const double cx = x, cy = viewport_[3] - y, half = size / 2.0;
  const double x0 = cx - half, y0 = cy - half, x1 = cx + half, y1 = cy + half;
  Candidates(x0, y0, x1, y1);
  lastCandidates_ = found_.size();
  if (found_.empty()) return -1;
  // One pass (render modes 0 and 3): the answer is the name of the last
  // entity hit under a name. In two passes every candidate not decided a
  // miss goes to selection at once.
  if (scene.GetRenderMode() == 0 || scene.GetRenderMode() == 3) return PickLastHit(scene, x, y, size, x0, y0, x1, y1);
  lastCandidates_ = 0;
  subset_.items.clear();
  subset_.stand.clear();
  for (uint32_t i : found_) {
    const Entry& entry = entries_[i];
    GLPickSubset::Item item = entry.item;
    GLVector triangle[3];
    const Decided d = Decide(scene, entry, x0, y0, x1, y1, triangle);
    if (d == Decided::kMiss) continue;
    if (d == Decided::kHit && entry.shape == Shape::kText) {
      item.stand = static_cast<uint32_t>(subset_.stand.size());
      subset_.stand.insert(subset_.stand.end(), triangle, triangle + 3);
      item.standModes = kTextDrawModes;
    }
    subset_.items.push_back(item);
  }
  lastCandidates_ = subset_.items.size();
  return subset_.items.empty() ? -1 : scene.PickAmong(x, y, size, subset_);
}

int32_t GLPickIndex::PickLastHit(GLScene& scene, int x, int y, double size, double x0, double y0, double x1,
                                 double y1) {
  lastCandidates_ = 0;
  for (size_t k = found_.size(); k-- > 0;) {
    const Entry& entry = entries_[found_[k]];
    // A hit outside every name answers nothing.
    if (entry.item.name == GLPickSubset::kNone) continue;
    GLVector triangle[3];
    const Decided d = Decide(scene, entry, x0, y0, x1, y1, triangle);
    if (d == Decided::kMiss) continue;
    if (d == Decided::kHit) {
      auto* marker = GLDynamicCast<GLName>(scene.GetEntity(entry.item.name));
      // A hit whose name reads as none leaves the answer to the names before.
      if (!marker || marker->GetId() == GLPickSubset::kNone) continue;
      return static_cast<int32_t>(marker->GetId());
    }
    ++lastCandidates_;
    subset_.items.assign(1, entry.item);
    subset_.stand.clear();
    const int32_t picked = scene.PickAmong(x, y, size, subset_);
    if (picked != -1) return picked;
  }
  return -1;
}
