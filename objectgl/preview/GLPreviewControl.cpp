// The preview control's life: construction, scene set-up, painting, the
// background and resizing.
#include "objectgl/preview/GLPreviewControl.h"

#include <algorithm>

#include "objectgl/GLCamera.h"
#include "objectgl/GLException.h"
#include "objectgl/GLLight.h"
#include "objectgl/GLScene.h"
#include "objectgl/GLViewport.h"
#include "platform/mfc/CDC.h"
#include "platform/win32/ui_services.h"

BEGIN_MESSAGE_MAP(GLPreviewControl, CButton)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_KEYDOWN()
ON_WM_KEYUP()
ON_WM_MBUTTONDOWN()
ON_WM_MBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_MOUSEWHEEL()
ON_WM_SIZE()
ON_WM_CREATE()
ON_MESSAGE(PVM_GETVIEW, &GLPreviewControl::OnGetView)
ON_MESSAGE(PVM_GETITEMS, &GLPreviewControl::OnGetItems)
ON_MESSAGE(PVM_GETITEMLINE, &GLPreviewControl::OnGetItemLine)
ON_MESSAGE(PVM_GETITEMPOINT, &GLPreviewControl::OnGetItemPoint)
END_MESSAGE_MAP()

GLPreviewRules GLPreviewRules::DrawingPreview() {
  GLPreviewRules rules;
  rules.showPaintErrors = false;
  rules.resizeComputesView = false;
  rules.wheelZoomsByDelta = true;
  rules.absoluteViewSizes = true;
  rules.fitUpdatesViewport = true;
  rules.keepColour255 = true;
  rules.signedNames = false;
  return rules;
}

GLPreviewRules GLPreviewRules::ProductPreview() {
  GLPreviewRules rules;
  rules.curveHighlightWidth = 3.0f;
  return rules;
}

GLPreviewControl::GLPreviewControl(uint8_t drawFrame, uint8_t mouseNavigation, uint8_t setUpOnSubclass,
                                   const GLPreviewRules& rules)
    : rules_(rules), mouseNavigation_(mouseNavigation), drawFrame_(drawFrame), setUpOnSubclass_(setUpOnSubclass) {}

GLPreviewControl::~GLPreviewControl() { delete scene_; }

bool GLPreviewControl::SetUpScene() {
  if (!m_hWnd || !::GetParent(m_hWnd)) return false;
  delete scene_;
  scene_ = nullptr;
  GLCamera* camera = nullptr;
  GLViewportWin* viewport = nullptr;
  GLOmniLight* light = nullptr;
  try {
    scene_ = new GLScene;
    camera = new GLCamera;
    viewport = new GLViewportWin(m_hWnd);
    light = new GLOmniLight(0);
    camera->SetPerspective(false);
    camera->SetRotation(0.0, 0.0, 0.0);
    camera->SetDistance(0.0);
    camera->SetTarget(GLVector(0.0, 0.0, 0.0));
    camera->SetNear(1.0);
    camera->SetFar(99999999.0);
    camera->ComputeView();
    GLMaterial white;
    white.diffuse[0] = white.diffuse[1] = white.diffuse[2] = 1.0f;
    light->SetColors(white);
    light->SetCameraRelative(false);
    scene_->GetMatLib().LoadPalette();
    if (scene_->AddViewport(viewport) == 0) {
      // Not taken by the scene: it goes with the others.
      delete viewport;
      delete camera;
      delete light;
      return false;
    }
    viewport = nullptr;
    scene_->AddCamera(camera);
    camera = nullptr;
    scene_->AddLight(light);
    sceneSetUp_ = true;
    return true;
  } catch (const GLException& e) {
    e.Show(m_hWnd, MB_ICONEXCLAMATION);
  } catch (...) {
  }
  delete camera;
  delete viewport;
  delete light;
  return false;
}

bool GLPreviewControl::AddEntity(GLEntity* entity) { return scene_ && scene_->AddEntity(entity); }

void GLPreviewControl::PreSubclassWindow() {
  CButton::PreSubclassWindow();
  if (!setUpOnSubclass_ || !SetUpScene()) ready_ = 0;
}

int GLPreviewControl::OnCreate(LPCREATESTRUCT cs) {
  (void)cs;
  if (Default() == -1) return -1;
  if (ready_) return 0;
  if (SetUpScene()) return 0;
  ready_ = 0;
  return -1;
}

void GLPreviewControl::OnPaint() {
  CPaintDC dc(this);
  if (!scene_) return;
  try {
    scene_->Render();
  } catch (const GLException& e) {
    if (rules_.showPaintErrors) e.Show(m_hWnd, MB_ICONEXCLAMATION);
    return;
  } catch (...) {
    return;
  }
  if (drawFrame_) DrawFrameOnParent();
  PaintOverlay(dc);
}

void GLPreviewControl::DrawFrameOnParent() {
  CWnd* parent = GetParent();
  if (!parent) return;
  CClientDC dc(parent);
  CPen pen(PS_SOLID, 2, ::GetSysColor(COLOR_BTNFACE));
  CPen* old = dc.SelectObject(&pen);
  CRect r;
  GetWindowRect(&r);
  parent->ScreenToClient(&r);
  const POINT frame[] = {{r.left - 1, r.top - 1},
                         {r.right + 1, r.top - 1},
                         {r.right + 1, r.bottom + 1},
                         {r.left - 1, r.bottom + 1},
                         {r.left - 1, r.top - 1}};
  dc.Polyline(frame, 5);
  dc.SelectObject(old);
}

void GLPreviewControl::GetBackgroundRGB(double* r, double* g, double* b) const {
  double v = backgroundScheme_ == 1 ? 255.0 : backgroundScheme_ == 2 ? 192.0 : 0.0;
  if (r) *r = v;
  if (g) *g = v;
  if (b) *b = v;
}

void GLPreviewControl::ApplyBackground() {
  GLViewport* viewport = CurrentViewport();
  if (!viewport) return;
  float have[4];
  viewport->GetBackgroundColor(&have[0], &have[1], &have[2], &have[3]);
  double r, g, b;
  GetBackgroundRGB(&r, &g, &b);
  const float want[3] = {static_cast<float>(r / 255.0), static_cast<float>(g / 255.0), static_cast<float>(b / 255.0)};
  if (have[0] != want[0] || have[1] != want[1] || have[2] != want[2])
    viewport->SetBackgroundColor(want[0], want[1], want[2], 1.0f);
  viewport->Update();
}

BOOL GLPreviewControl::OnEraseBkgnd(CDC*) {
  ApplyBackground();
  return TRUE;
}

void GLPreviewControl::SetBackground(uint32_t scheme, bool redraw) {
  backgroundScheme_ = scheme;
  ApplyBackground();
  if (redraw) Redraw();
}

void GLPreviewControl::OnSize(UINT, int, int) {
  Default();
  if (!scene_) return;
  if (GLViewport* viewport = CurrentViewport()) viewport->Update();
  if (!rules_.resizeComputesView) return;
  if (GLCamera* camera = CurrentCamera()) camera->ComputeView();
}

GLCamera* GLPreviewControl::CurrentCamera() const {
  if (!scene_ || scene_->GetCameraCount() == 0) return nullptr;
  return scene_->GetCurrentCamera();
}

GLViewport* GLPreviewControl::CurrentViewport() const { return scene_ ? scene_->GetCurrentViewport() : nullptr; }

int GLPreviewControl::ShorterClientSide() const {
  if (!m_hWnd) return 0;
  CRect r;
  GetClientRect(&r);
  return std::max(0, std::min(r.Width(), r.Height()));
}

void GLPreviewControl::Redraw() {
  if (m_hWnd && ::IsWindow(m_hWnd)) InvalidateRect(nullptr, TRUE);
}
