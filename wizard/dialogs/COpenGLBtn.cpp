#include "wizard/dialogs/COpenGLBtn.h"

#include "objectgl/GLArc.h"
#include "objectgl/GLCamera.h"
#include "objectgl/GLCircle.h"
#include "objectgl/GLLine.h"
#include "objectgl/GLScene.h"
#include "platform/mfc/CDC.h"
#include "platform/mfc/CGdiObject.h"

namespace {

constexpr uint32_t kCircleSegments = 64;
constexpr uint32_t kArcSegments = 32;
constexpr double kDegree = 57.29577951308232;

}  // namespace

COpenGLBtn::COpenGLBtn(uint8_t drawFrame, uint8_t mouseNavigation, uint8_t setUpOnSubclass)
    : GLPreviewControl(drawFrame, mouseNavigation, setUpOnSubclass, GLPreviewRules::ProductPreview()) {}

bool COpenGLBtn::AddLine(const GLVector& p1, const GLVector& p2, int32_t colour, int32_t nameId) {
  if (!GetScene()) return false;
  AddNameMarker(static_cast<uint32_t>(nameId));
  return AddCurve(new GLLine(p1, p2, AdderColour(static_cast<uint32_t>(colour))), 0.0f, nullptr, nullptr);
}

bool COpenGLBtn::AddCircle(const GLVector& centre, const double* radius, int32_t colour, int32_t nameId) {
  if (!GetScene()) return false;
  AddNameMarker(static_cast<uint32_t>(nameId));
  return AddCurve(new GLCircle(centre, GLAxisZ, radius, AdderColour(static_cast<uint32_t>(colour)), kCircleSegments),
                  0.0f, nullptr, nullptr);
}

bool COpenGLBtn::AddArc(const GLVector& centre, const double* radius, const double* start, const double* end,
                        int32_t colour, int32_t nameId) {
  if (!GetScene()) return false;
  AddNameMarker(static_cast<uint32_t>(nameId));
  return AddCurve(new GLArc(centre, radius, start, end, AdderColour(static_cast<uint32_t>(colour)), kArcSegments),
                  0.0f, nullptr, nullptr);
}

bool COpenGLBtn::AddBulgeArc(const GLVector& p1, const GLVector& p2, const double* bulge, int32_t colour,
                             int32_t nameId) {
  if (!GetScene()) return false;
  AddNameMarker(static_cast<uint32_t>(nameId));
  return AddCurve(new GLArc(p1, p2, bulge, AdderColour(static_cast<uint32_t>(colour)), kArcSegments), 0.0f, nullptr,
                  nullptr);
}

bool COpenGLBtn::AddText(uint32_t styleIndex, const char* text, const GLVector& position, int32_t colour,
                         const double* angle, const double* height, int32_t nameId) {
  return AddTextEntity(nullptr, styleIndex, text, position, static_cast<uint32_t>(colour), angle, height,
                       static_cast<uint32_t>(nameId));
}

void COpenGLBtn::SetMirror(bool mirrored, double angle, bool redraw) {
  GLCamera* camera = CurrentCamera();
  if (!camera) return;
  GLVector x = GLAxisX, y = GLAxisY, z = GLAxisZ;
  if (mirrored) {
    x = GLVector(-1.0, 0.0, 0.0);
    z = GLVector(0.0, 0.0, -1.0);
    GLMatrix turn;
    turn.SetRotationZ(angle);
    for (GLVector* axis : {&x, &y, &z}) axis->TransformDirection(turn);
  }
  mirrored_ = mirrored ? 1 : 0;
  camera->SetViewFromAxes(x, y, z);
  camera->ComputeView();
  if (redraw) Redraw();
}

void COpenGLBtn::HighlightGroup(int32_t id, bool redraw) {
  if (!GetScene()) return;
  GetScene()->HighlightGroup(id, true, true);
  if (redraw) Redraw();
}

void COpenGLBtn::PaintOverlay(CDC& dc) {
  if (!mirrored_) return;
  CRect r;
  GetWindowRect(&r);
  ScreenToClient(&r);
  // Two triangles facing each other across a vertical stroke.
  const int w = r.Width() / 25, h = r.Height() / 15, x0 = 5, y0 = 5;
  const int x1 = x0 + w + 3, x2 = x1 + 3;
  CPen pen(PS_SOLID, 1, RGB(255, 255, 255));
  CPen* old = dc.SelectObject(&pen);
  const POINT left[] = {{x0, y0 + h}, {x0 + w, y0}, {x0 + w, y0 + h}, {x0, y0 + h}};
  dc.Polyline(left, 4);
  dc.MoveTo(x1, y0 + h);
  dc.LineTo(x1, y0);
  const POINT right[] = {{x2, y0}, {x2, y0 + h}, {x2 + w, y0 + h}, {x2, y0}};
  dc.Polyline(right, 4);
  dc.SelectObject(old);
}

void COpenGLBtn::DragInMode(uint32_t mode, int dx, int) {
  if (mode != kRotateAboutZ) return;
  RotateAboutWorldZ(-dx / kDegree);
  UpdateView();
  if (GLCamera* camera = CurrentCamera()) {
    double angle = camera->GetRotationZ();
    TellParent(kRotationMessage, 0, reinterpret_cast<LPARAM>(&angle));
  }
}

BOOL COpenGLBtn::TellParent(UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* parent = GetParent();
  if (!parent) return FALSE;
  MSG msg{};
  msg.hwnd = m_hWnd;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  return parent->PreTranslateMessage(&msg);
}
