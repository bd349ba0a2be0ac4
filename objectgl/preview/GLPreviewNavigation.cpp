// Moving the view: the navigation modes driven by the mouse, and the zoom,
// pan, rotation, fit and reset steps behind them.
#include <algorithm>
#include <cmath>

#include "objectgl/GLCamera.h"
#include "objectgl/GLScene.h"
#include "objectgl/GLViewport.h"
#include "objectgl/preview/GLPreviewControl.h"
#include "platform/win32/message_queue.h"

namespace {

constexpr double kDegree = 57.29577951308232;

// Turns directions from the camera's frame back into the world's: about Z,
// then Y, then X, each by minus the camera's angle.
GLMatrix InverseCameraRotation(const GLCamera& camera) {
  GLMatrix m, y, x;
  m.SetRotationZ(-camera.GetRotationZ());
  y.SetRotationY(-camera.GetRotationY());
  x.SetRotationX(-camera.GetRotationX());
  m *= y;
  m *= x;
  return m;
}

}  // namespace

void GLPreviewControl::Zoom(double amount) {
  GLCamera* camera = CurrentCamera();
  const int s = ShorterClientSide();
  // Nothing to measure the step by in an empty client area.
  if (!camera || s <= 0) return;
  double w, h;
  camera->GetViewSize(&w, &h);
  const double d = 2.0 * (amount / s) * std::max(w, h);
  w += d;
  h += d;
  if (rules_.absoluteViewSizes && w < 0 && h < 0) {
    w = -w;
    h = -h;
  }
  // The projection spans the larger side: at 0 or below it would be
  // invalid or mirrored.
  if (!(std::max(w, h) > 0)) return;
  camera->SetViewSize(w, h);
  Redraw();
}

void GLPreviewControl::Pan(double dx, double dy) {
  GLCamera* camera = CurrentCamera();
  const int s = ShorterClientSide();
  if (!camera || s <= 0) return;
  const double m = std::max(camera->GetViewWidth(), camera->GetViewHeight());
  GLVector v(-(dx / s) * m, (dy / s) * m, 0.0);
  v.TransformPoint(InverseCameraRotation(*camera));
  camera->SetTarget(camera->GetTarget() + v);
  camera->ComputeView();
  Redraw();
}

void GLPreviewControl::RotateAboutWorldZ(double angle) {
  GLCamera* camera = CurrentCamera();
  if (!camera) return;
  GLVector x, y, z;
  camera->GetAxes(&x, &y, &z);
  GLMatrix turn;
  turn.SetRotationZ(angle);
  x.TransformDirection(turn);
  y.TransformDirection(turn);
  z.TransformDirection(turn);
  camera->SetViewFromAxes(x, y, z);
}

void GLPreviewControl::RotateAboutViewX(double angle) {
  GLCamera* camera = CurrentCamera();
  if (!camera) return;
  GLVector x = GLAxisX, y = GLAxisY, z = GLAxisZ;
  GLMatrix turn;
  turn.SetRotationX(angle);
  const GLMatrix back = InverseCameraRotation(*camera);
  for (GLVector* axis : {&x, &y, &z}) {
    axis->TransformDirection(turn);
    axis->TransformDirection(back);
  }
  camera->SetViewFromAxes(x, y, z);
}

void GLPreviewControl::UpdateView() {
  GLCamera* camera = CurrentCamera();
  if (!camera) return;
  camera->ComputeView();
  Redraw();
}

void GLPreviewControl::ZoomExtents(bool redraw, const double* factor) {
  if (!scene_) return;
  if (rules_.fitUpdatesViewport) {
    if (GLViewport* viewport = CurrentViewport()) {
      viewport->MakeCurrent();
      viewport->Update();
    }
  }
  if (!CurrentCamera()) return;
  scene_->ComputeExtents();
  scene_->ZoomExtents(factor);
  scene_->FitClipping();
  if (redraw) Redraw();
}

void GLPreviewControl::ResetView() {
  if (!scene_) return;
  scene_->DeleteAllEntities();
  scene_->ComputeExtents();
  if (GLCamera* camera = CurrentCamera()) {
    camera->SetRotation(0.0, 0.0, 0.0);
    camera->ComputeView();
  }
  OnViewReset();
  Redraw();
}

void GLPreviewControl::BeginNavigationPress(CPoint clientPoint) {
  if (mode_ != kSelect) {
    // A press while a drag goes on (the zoom window's second click) keeps
    // the capture the first one took, and what it is to give back.
    if (!dragging_) previousCapture_ = ::SetCapture(m_hWnd);
    dragging_ = 1;
    lastPoint_ = clientPoint;
    ::ClientToScreen(m_hWnd, &lastPoint_);
  }
  if ((GetStyle() & WS_TABSTOP) || mouseNavigation_) SetFocus();
}

void GLPreviewControl::EndDrag() {
  if (!dragging_) return;
  dragging_ = 0;
  ::SetCapture(previousCapture_);
  previousCapture_ = nullptr;
}

void GLPreviewControl::OnLButtonDown(UINT, CPoint point) { BeginNavigationPress(point); }

void GLPreviewControl::OnLButtonUp(UINT, CPoint) { EndDrag(); }

void GLPreviewControl::OnLButtonDblClk(UINT, CPoint) {}

void GLPreviewControl::OnKeyDown(UINT, UINT, UINT) {}

void GLPreviewControl::OnKeyUp(UINT, UINT, UINT) {}

void GLPreviewControl::OnMButtonDown(UINT, CPoint point) {
  if (!mouseNavigation_) return;
  if (!dragging_) previousCapture_ = ::SetCapture(m_hWnd);
  dragging_ = 1;
  savedMode_ = mode_;
  mode_ = kPan;
  lastPoint_ = point;
  ::ClientToScreen(m_hWnd, &lastPoint_);
}

void GLPreviewControl::OnMButtonUp(UINT, CPoint) {
  // Always, pressed or not: the mode and the capture go back.
  mode_ = savedMode_;
  savedMode_ = 0;
  dragging_ = 0;
  ::SetCapture(previousCapture_);
  previousCapture_ = nullptr;
}

bool GLPreviewControl::DragWithoutWrap(uint32_t, CPoint) { return false; }

void GLPreviewControl::DragInMode(uint32_t, int, int) {}

void GLPreviewControl::OnMouseMove(UINT, CPoint point) {
  if (scene_ && dragging_ && mode_ != kSelect && !DragWithoutWrap(mode_, point)) {
    POINT p = point;
    ::ClientToScreen(m_hWnd, &p);
    RECT desktop;
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    // At a screen edge the cursor jumps to the other one and the drag goes
    // on from there without a jump of the view.
    bool wrapped = false;
    auto wrap = [&](LONG& at, LONG& last, LONG low, LONG high) {
      if (at == low) {
        last += (high - 2) - at;
        at = high - 2;
        wrapped = true;
      } else if (at == high - 1) {
        at = low + std::abs(last - at);
        last = low;
        wrapped = true;
      }
    };
    wrap(p.x, lastPoint_.x, desktop.left, desktop.right);
    wrap(p.y, lastPoint_.y, desktop.top, desktop.bottom);
    if (wrapped) ::SetCursorPos(p.x, p.y);
    const int dx = p.x - lastPoint_.x, dy = p.y - lastPoint_.y;
    switch (mode_) {
      case kPan: Pan(dx, dy); break;
      case kZoom: Zoom(dy); break;
      case kRotate:
        RotateAboutWorldZ((lastPoint_.x - p.x) / kDegree);
        RotateAboutViewX((lastPoint_.y - p.y) / kDegree);
        UpdateView();
        break;
      default: DragInMode(mode_, dx, dy); break;
    }
    lastPoint_ = p;
  }
  Default();
}

BOOL GLPreviewControl::OnMouseWheel(UINT, short delta, CPoint) {
  if (rules_.wheelZoomsByDelta) {
    if (mouseNavigation_) Zoom(-delta);
    return TRUE;
  }
  if (mouseNavigation_) Zoom(delta < 0 ? 25 : -25);
  return static_cast<BOOL>(Default());
}
