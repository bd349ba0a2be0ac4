#include "objectgl/GLText.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "objectgl/GLDrawState.h"
#include "objectgl/GLGeometry.h"
#include "objectgl/GLScene.h"
#include "objectgl/GLTextStyle.h"
#include "platform/win32/wgl/wgl.h"

namespace {

// Pixels a glyph's window box may span at most, either way, for its text
// to be drawn as dots.
constexpr double kDotGlyph = 4.0;

// What a pass draws texts as dots through: read once a pass, the map again
// when the model-view (a pushed matrix) or the scene's model matrix moved.
struct DotView {
  uint32_t serial = 0;
  // Plain points and filled triangles rasterise alike: no list compiling,
  // one-pixel unsmoothed points, no smoothing, culling, stipple or offset
  // of polygons.
  bool plain = false;
  double projection[16] = {};
  GLint viewport[4] = {};
  double modelView[16] = {};
  uint64_t modelVersion = 0;
  bool affine = false;
  // Entity coordinates to window x, y (pixels) and normalised depth z.
  double toWindow[16] = {};
  uint64_t key = 0;
};
DotView g_dots;

uint64_t Fnv(const void* data, size_t size, uint64_t hash) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 1099511628211ull;
  return hash;
}

// The map of the current model-view through the scene's model matrix.
void MapView(DotView& v, const GLScene* scene) {
  double pmv[16], composite[16];
  GLMultiplyColumnMajor(v.projection, v.modelView, pmv);
  const GLMatrix model = scene ? scene->GetModelMatrix() : GLMatrix();
  GLMultiplyColumnMajor(pmv, model.GetData(), composite);
  const double* c = composite;
  v.affine = c[3] == 0.0 && c[7] == 0.0 && c[11] == 0.0 && c[15] == 1.0;
  const double sx = v.viewport[2] / 2.0, sy = v.viewport[3] / 2.0;
  for (int col = 0; col < 4; ++col) {
    v.toWindow[col * 4] = c[col * 4] * sx;
    v.toWindow[col * 4 + 1] = c[col * 4 + 1] * sy;
    v.toWindow[col * 4 + 2] = c[col * 4 + 2];
    v.toWindow[col * 4 + 3] = 0.0;
  }
  v.toWindow[12] += v.viewport[0] + sx;
  v.toWindow[13] += v.viewport[1] + sy;
  uint64_t key = Fnv(v.toWindow, sizeof v.toWindow, 14695981039346656037ull);
  key = Fnv(v.viewport, sizeof v.viewport, key);
  v.key = key ? key : 1;
}

}  // namespace

GLText::GLText(const char* text, uint32_t material) : material_(material) { SetText(text); }

GLText::~GLText() { DeleteList(); }

void GLText::DeleteList() {
  if (displayList_ && wglGetCurrentContext()) glDeleteLists(displayList_, 1);
  displayList_ = 0;
}

void GLText::Discard() {
  DeleteList();
  layout_.reset();
  boxes_.reset();
  dots_.clear();
  dotsView_ = 0;
  charCount_ = 0;
  NotifyChanged();
}

void GLText::SetText(const char* text) {
  Discard();
  lines_.clear();
  if (!text) return;
  const char* start = text;
  for (const char* lf; (lf = std::strchr(start, '\n')) != nullptr; start = lf + 1) lines_.emplace_back(start, lf);
  lines_.emplace_back(start);
}

void GLText::SetStyleIndex(uint32_t index) {
  styleIndex_ = index;
  Discard();
}

void GLText::SetHeight(const double& height) {
  height_ = height;
  Discard();
}

void GLText::SetAngle(const double& angle) {
  angle_ = angle;
  Discard();
}

void GLText::SetPosition(const GLVector& position) {
  position_ = position;
  Discard();
}

uint32_t GLText::GetCharCount() const {
  size_t n = 0;
  for (const std::string& line : lines_) n += line.size();
  return static_cast<uint32_t>(n);
}

void GLText::Layout() const {
  layout_.reset();
  boxes_.reset();
  charCount_ = 0;
  GLScene* scene = GetScene();
  if (!scene) return;
  charCount_ = GetCharCount();
  layout_ = std::make_unique<GLFacesArray[]>(charCount_);
  GLTextStyle* style = styleIndex_ < scene->GetTextStyleCount() ? scene->GetTextStyle(styleIndex_) : nullptr;
  if (!style) return;
  double gap = 0.0;
  style->GetScaledExternalLeading(&height_, &gap);

  // Glyphs turn about the position, in the plane of the normal.
  const GLVector normal = GLPlaneNormal(normal_);
  const GLVector x = normal.GetPerpendicular();
  GLMatrix place;
  place.SetTranslation(-position_.x, -position_.y, -position_.z);
  GLMatrix turn;
  turn.SetRotationZ(angle_);
  place *= turn;
  place *= GLFrameMatrix(GLVector(), x, x.Cross(normal), normal);
  GLMatrix back;
  back.SetTranslation(position_);
  place *= back;

  GLVector pen = position_;
  uint32_t k = 0;
  for (const std::string& line : lines_) {
    pen.x = position_.x;
    double advance = 0.0;
    for (const char c : line) {
      pen.x += advance;
      style->GetCharFaces(layout_[k++], static_cast<uint8_t>(c), &advance, place, pen, &height_);
    }
    pen.y -= height_ + gap;
  }
}

const GLExtents* GLText::GetCharBox(uint32_t i) const {
  if (!layout_ || i >= charCount_) return nullptr;
  if (!boxes_) {
    boxes_ = std::make_unique<GLExtents[]>(charCount_);
    for (uint32_t c = 0; c < charCount_; ++c)
      for (const GLFaces* f : layout_[c])
        for (const GLVector& p : f->GetPoints()) boxes_[c].AddPoint(p);
  }
  return &boxes_[i];
}

bool GLText::DrawAsDots() {
  if (!GLDrawPass::Active()) return false;
  DotView& v = g_dots;
  if (v.serial != GLDrawPass::Serial()) {
    v.serial = GLDrawPass::Serial();
    GLint list = 0;
    glGetIntegerv(GL_LIST_INDEX, &list);
    GLfloat pointSize = 0.0f;
    glGetFloatv(GL_POINT_SIZE, &pointSize);
    v.plain = list == 0 && pointSize == 1.0f && !glIsEnabled(GL_POINT_SMOOTH) && !glIsEnabled(GL_POLYGON_SMOOTH) &&
              !glIsEnabled(GL_CULL_FACE) && !glIsEnabled(GL_POLYGON_STIPPLE) && !glIsEnabled(GL_POLYGON_OFFSET_FILL);
    glGetDoublev(GL_PROJECTION_MATRIX, v.projection);
    glGetIntegerv(GL_VIEWPORT, v.viewport);
    std::fill(v.modelView, v.modelView + 16, std::numeric_limits<double>::quiet_NaN());
  }
  if (!v.plain) return false;
  const GLScene* scene = GetScene();
  double modelView[16];
  glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
  const uint64_t modelVersion = scene ? scene->GetModelVersion() : 0;
  if (!std::equal(modelView, modelView + 16, v.modelView) || modelVersion != v.modelVersion) {
    std::copy(modelView, modelView + 16, v.modelView);
    v.modelVersion = modelVersion;
    MapView(v, scene);
  }
  if (!v.affine) return false;
  if (!layout_) Layout();
  if (dotsView_ != v.key) {
    FindDots(v.toWindow, v.viewport);
    dotsView_ = v.key;
  }
  if (!dotted_) return false;
  if (!dots_.empty()) {
    glBegin(GL_POINTS);
    for (const GLVector& p : dots_) glVertex3dv(GLScene::MapPoint(p, scene));
    glEnd();
  }
  return true;
}

void GLText::FindDots(const double* m, const GLint* viewport) {
  dots_.clear();
  dotted_ = false;
  // The window box of character c: x0, y0, x1, y1; false when it is empty.
  auto windowBox = [&](uint32_t c, double* box) {
    const GLExtents& e = *GetCharBox(c);
    if (!e.IsValid()) return false;
    const GLVector& lo = e.Min();
    const GLVector& hi = e.Max();
    const GLVector mid((lo.x + hi.x) / 2, (lo.y + hi.y) / 2, (lo.z + hi.z) / 2);
    const GLVector half((hi.x - lo.x) / 2, (hi.y - lo.y) / 2, (hi.z - lo.z) / 2);
    for (int r = 0; r < 3; ++r) {
      const double at = m[r] * mid.x + m[4 + r] * mid.y + m[8 + r] * mid.z + m[12 + r];
      const double reach = std::fabs(m[r]) * half.x + std::fabs(m[4 + r]) * half.y + std::fabs(m[8 + r]) * half.z;
      box[r] = at - reach;
      box[3 + r] = at + reach;
    }
    return true;
  };
  // Every glyph small, and wholly between the near and far planes (the
  // triangles' clipping there is OpenGL's).
  thread_local std::vector<double> boxes;  // six a character, x0 past x1 for none
  boxes.resize(6 * static_cast<size_t>(charCount_));
  for (uint32_t c = 0; c < charCount_; ++c) {
    double* b = &boxes[6 * static_cast<size_t>(c)];
    if (!windowBox(c, b)) {
      b[0] = 1.0, b[3] = 0.0;
      continue;
    }
    if (!(b[3] - b[0] <= kDotGlyph && b[4] - b[1] <= kDotGlyph && b[2] > -1.0 && b[5] < 1.0)) return;
  }
  // A centre on an edge belongs to the triangle whose edge is a top or a
  // left one (y up, counter-clockwise), as the rasteriser shares it out.
  auto inside = [](double sign, double ax, double ay, double bx, double by, double qx, double qy) {
    const double ex = (bx - ax) * sign, ey = (by - ay) * sign;
    const double side = ex * (qy - ay) - ey * (qx - ax);
    return side != 0.0 ? side > 0.0 : ey < 0.0 || (ey == 0.0 && ex < 0.0);
  };
  constexpr double kGrid = 256.0;  // the rasteriser's sub-pixel steps
  // To the nearest step (ties to even): adding and taking away 1.5 * 2^52
  // leaves no fraction, at a fraction of a library call's cost.
  auto OnGrid = [](double v) {
    constexpr double kRound = 6755399441055744.0;
    const double steps = v * kGrid;
    if (!(std::fabs(steps) < 1e15)) return v;
    return ((steps + kRound) - kRound) / kGrid;
  };
  thread_local std::vector<double> window;
  thread_local std::vector<uint32_t> starts;
  for (uint32_t c = 0; c < charCount_; ++c) {
    const double* box = &boxes[6 * static_cast<size_t>(c)];
    if (box[0] > box[3]) continue;
    // The pixels whose centres fall in the box (grown by a grid step),
    // within the viewport.
    const double px0 = std::max(std::ceil(box[0] - 0.5 - 1 / kGrid), double(viewport[0]));
    const double px1 = std::min(std::floor(box[3] - 0.5 + 1 / kGrid), double(viewport[0] + viewport[2] - 1));
    const double py0 = std::max(std::ceil(box[1] - 0.5 - 1 / kGrid), double(viewport[1]));
    const double py1 = std::min(std::floor(box[4] - 0.5 + 1 / kGrid), double(viewport[1] + viewport[3] - 1));
    if (px0 > px1 || py0 > py1) continue;
    // The character's points in the window, on the rasteriser's grid.
    window.clear();
    starts.clear();
    for (const GLFaces* f : layout_[c]) {
      if (!f->IsTriangles()) {
        dots_.clear();
        return;
      }
      starts.push_back(static_cast<uint32_t>(window.size() / 2));
      for (const GLVector& p : f->GetPoints()) {
        window.push_back(OnGrid(m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12]));
        window.push_back(OnGrid(m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13]));
      }
    }
    for (double py = py0; py <= py1; ++py)
      for (double px = px0; px <= px1; ++px) {
        const double qx = px + 0.5, qy = py + 0.5;
        bool covered = false;
        uint32_t fi = 0;
        for (const GLFaces* f : layout_[c]) {
          if (covered) break;
          const GLVectorArray& points = f->GetPoints();
          const double* w = &window[2 * static_cast<size_t>(starts[fi++])];
          const uint32_t triangles = f->TriangleCount();
          for (uint32_t t = 0; t < triangles && !covered; ++t) {
            uint32_t k[3];
            f->TriangleCorners(t, k);
            const double ax = w[2 * k[0]], ay = w[2 * k[0] + 1];
            const double bx = w[2 * k[1]], by = w[2 * k[1] + 1];
            const double cx = w[2 * k[2]], cy = w[2 * k[2] + 1];
            const double area = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
            if (area == 0.0) continue;  // covers no pixel centre
            const double sign = area > 0.0 ? 1.0 : -1.0;
            if (!inside(sign, bx, by, cx, cy, qx, qy) || !inside(sign, cx, cy, ax, ay, qx, qy) ||
                !inside(sign, ax, ay, bx, by, qx, qy))
              continue;
            // The triangle's own point there: its depth is the fragment's.
            const double wa = ((bx - qx) * (cy - qy) - (by - qy) * (cx - qx)) / area;
            const double wb = ((qx - ax) * (cy - ay) - (qy - ay) * (cx - ax)) / area;
            const double wc = 1.0 - wa - wb;
            const GLVector &pa = points[k[0]], &pb = points[k[1]], &pc = points[k[2]];
            dots_.emplace_back(pa.x * wa + pb.x * wb + pc.x * wc, pa.y * wa + pb.y * wb + pc.y * wc,
                               pa.z * wa + pb.z * wb + pc.z * wc);
            covered = true;
          }
        }
      }
  }
  dotted_ = true;
}

void GLText::SendFaces() const {
  const GLScene* scene = GetScene();
  glNormal3dv(GLScene::MapDirection(normal_, scene));
  for (uint32_t i = 0; layout_ && i < charCount_; ++i)
    for (const GLFaces* f : layout_[i]) {
      const auto& points = f->GetPoints();
      GLSendPoints(f->GetType(), points.GetCount() ? &points[0] : nullptr, points.GetCount(), scene);
    }
}

void GLText::Compile(GLenum listMode) {
  if (!layout_) Layout();
  DeleteList();
  displayList_ = glGenLists(1);
  const GLScene* scene = GetScene();
  listModel_ = scene ? scene->GetModelVersion() : 0;
  glNewList(displayList_, listMode);
  SendFaces();
  glEndList();
}

bool GLText::ListIsStale() const {
  const GLScene* scene = GetScene();
  return scene && scene->GetModelVersion() != listModel_;
}

void GLText::BuildDisplayList() { Compile(GL_COMPILE_AND_EXECUTE); }

void GLText::PrepareLists() {
  if (!displayList_ || ListIsStale()) Compile(GL_COMPILE);
}

void GLText::Draw(uint32_t mode, GLMatLib* materials) {
  if (materials) materials->SetCurrent(material_);
  if (mode == 3) return;
  if (mode <= 1)
    GLApplyColor(materials, material_);
  else if (mode == 2)
    GLApplyLit(materials, material_, GL_FRONT_AND_BACK);
  GLFilledPolygons filled;
  if (!GLIsRendering()) {
    if (!layout_) Layout();
    SendFaces();
  } else if (mode <= 1 && DrawAsDots()) {
  } else if (displayList_ && !ListIsStale()) {
    glCallList(displayList_);
  } else {
    BuildDisplayList();
  }
}

GLExtents GLText::GetExtents() const {
  if (!layout_) Layout();
  GLExtents e;
  for (uint32_t i = 0; layout_ && i < charCount_; ++i)
    for (const GLFaces* f : layout_[i]) {
      const GLVectorArray& points = f->GetPoints();
      for (uint32_t p = 0; p + 1 < points.GetCount(); ++p) e.AddPoint(points[p]);
    }
  return e;
}

void GLText::SetMaterial(uint32_t index) {
  material_ = index;
  NotifyRestyled();
}

void GLText::Transform(const GLMatrix& m) {
  position_.TransformPoint(m);
  normal_.TransformDirection(m);
  if (layout_) {
    boxes_.reset();
    dotsView_ = 0;
    for (uint32_t i = 0; i < charCount_; ++i)
      for (GLFaces* f : layout_[i]) f->Transform(m);
    Compile(GL_COMPILE);
  }
  NotifyChanged();
}
