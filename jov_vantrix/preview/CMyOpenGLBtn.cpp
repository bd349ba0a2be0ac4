#include "jov_vantrix/preview/CMyOpenGLBtn.h"

#include <algorithm>
#include <cstdlib>

#include "objectgl/GLArc.h"
#include "objectgl/GLCamera.h"
#include "objectgl/GLCircle.h"
#include "objectgl/GLLine.h"
#include "objectgl/GLScene.h"
#include "platform/mfc/CDC.h"

BEGIN_MESSAGE_MAP(CMyOpenGLBtn, GLPreviewControl)
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

namespace {

constexpr int kCurveSegments = 64;
constexpr uint32_t kArcSegments = 32;

}  // namespace

CMyOpenGLBtn::CMyOpenGLBtn(uint8_t drawFrame, uint8_t mouseNavigation, uint8_t setUpOnSubclass, float width)
    : GLPreviewControl(drawFrame, mouseNavigation, setUpOnSubclass, GLPreviewRules::DrawingPreview()), lineWidth(width) {}

uint32_t CMyOpenGLBtn::AddTextStyle(double* height, const char* faceName, uint32_t, uint32_t, uint8_t, uint32_t) {
  return GLPreviewControl::AddTextStyle(height, faceName);
}

bool CMyOpenGLBtn::AddCurveOut(GLEntity** out, GLEntity* curve, const GLMatrix* m1, const GLMatrix* m2) {
  const bool added = AddCurve(curve, lineWidth, m1, m2);
  if (out) *out = added ? curve : nullptr;
  return added;
}

bool CMyOpenGLBtn::AddLine(GLEntity** out, const GLVector& p1, const GLVector& p2, const GLMatrix* m1,
                           const GLMatrix* m2, uint32_t colour, uint32_t nameId) {
  if (out) *out = nullptr;
  GLScene* scene = GetScene();
  if (!scene) return false;
  AddNameMarker(nameId);
  // A drawing's pipes come by the ten thousand: made in the scene's room.
  return AddCurveOut(out, scene->MakeEntity<GLLine>(p1, p2, AdderColour(colour)), m1, m2);
}

bool CMyOpenGLBtn::AddCircle(GLEntity** out, const GLVector& centre, const double* radius, const GLMatrix* m1,
                             const GLMatrix* m2, uint32_t colour, uint32_t nameId) {
  if (out) *out = nullptr;
  if (!GetScene()) return false;
  AddNameMarker(nameId);
  return AddCurveOut(out, new GLCircle(centre, GLAxisZ, radius, AdderColour(colour), kCurveSegments), m1, m2);
}

bool CMyOpenGLBtn::AddArc(GLEntity** out, const GLVector& centre, const double* radius, const double* start,
                          const double* end, const GLMatrix* m1, const GLMatrix* m2, uint32_t colour,
                          uint32_t nameId) {
  if (out) *out = nullptr;
  if (!GetScene()) return false;
  AddNameMarker(nameId);
  return AddCurveOut(out, new GLArc(centre, radius, start, end, AdderColour(colour), kArcSegments), m1, m2);
}

bool CMyOpenGLBtn::AddBulgeArc(GLEntity** out, const GLVector& p1, const GLVector& p2, const double* bulge,
                               const GLMatrix* m1, const GLMatrix* m2, uint32_t colour, uint32_t nameId) {
  if (out) *out = nullptr;
  if (!GetScene()) return false;
  AddNameMarker(nameId);
  return AddCurveOut(out, new GLArc(p1, p2, bulge, AdderColour(colour), kArcSegments), m1, m2);
}

bool CMyOpenGLBtn::AddText(GLText** out, uint32_t styleIndex, const char* text, const GLVector& position,
                           uint32_t colour, const double* angle, const double* height, uint32_t nameId) {
  return AddTextEntity(out, styleIndex, text, position, colour, angle, height, nameId);
}

void CMyOpenGLBtn::OnLButtonDown(UINT, CPoint point) {
  BeginNavigationPress(point);
  if (mode_ != kZoomWindow || !dragging_) return;
  if (!windowStarted_) {
    windowStarted_ = 1;
    windowAnchor_ = windowCorner_ = point;
    return;
  }
  CloseZoomWindow(point);
}

bool CMyOpenGLBtn::DragWithoutWrap(uint32_t mode, CPoint point) {
  if (mode != kZoomWindow) return false;
  if (windowStarted_) {
    DrawRubberBand(windowCorner_);  // away from the old corner
    DrawRubberBand(point);
    windowCorner_ = point;
  }
  return true;
}

void CMyOpenGLBtn::DrawRubberBand(POINT corner) {
  CRect client;
  GetClientRect(&client);
  CRect band(std::min(windowAnchor_.x, corner.x), std::min(windowAnchor_.y, corner.y),
             std::max(windowAnchor_.x, corner.x), std::max(windowAnchor_.y, corner.y));
  if (!::IntersectRect(&band, &band, &client)) return;
  CClientDC dc(this);
  // A window dragged to the left of its first corner is drawn hatched.
  CBrush hatched;
  CBrush* brush = nullptr;
  if (corner.x < windowAnchor_.x) {
    hatched.CreateHatchBrush(HS_DIAGCROSS, RGB(0, 0, 0));
    brush = &hatched;
  } else {
    brush = CBrush::FromHandle(static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  }
  CBrush* old = dc.SelectObject(brush);
  dc.PatBlt(band.left, band.top, 1, band.Height(), PATINVERT);
  dc.PatBlt(band.left, band.top, band.Width(), 1, PATINVERT);
  dc.PatBlt(band.right, band.bottom, -1, -band.Height(), PATINVERT);
  dc.PatBlt(band.right, band.bottom, -band.Width(), -1, PATINVERT);
  dc.SelectObject(old);
}

void CMyOpenGLBtn::CloseZoomWindow(POINT corner) {
  mode_ = kSelect;
  windowStarted_ = 0;
  const int dw = std::abs(corner.x - windowAnchor_.x), dh = std::abs(corner.y - windowAnchor_.y);
  CRect client;
  GetClientRect(&client);
  GLCamera* camera = CurrentCamera();
  double w = 0, h = 0;
  if (camera) camera->GetViewSize(&w, &h);
  // Both sides shrink by the band's larger share of the client area, so
  // that the band fills the view along that side (and never grows the
  // view while it lies inside). Nothing with an empty client area, and no
  // view whose larger side would be 0. A band dragged either way is the
  // same band.
  const double cw = client.Width(), ch = client.Height();
  // The larger of dw / cw and dh / ch, as band / side.
  const bool byWidth = static_cast<double>(dw) * ch >= static_cast<double>(dh) * cw;
  const double band = byWidth ? dw : dh, side = byWidth ? cw : ch;
  if (camera && cw > 0 && ch > 0 && std::max(w, h) * band / side > 0) {
    Pan((client.left + client.right) / 2 - (windowAnchor_.x + corner.x) / 2,
        (client.top + client.bottom) / 2 - (windowAnchor_.y + corner.y) / 2);
    camera->SetViewSize(w * band / side, h * band / side);
    camera->ComputeView();
    Redraw();
  }
  EndDrag();
}
