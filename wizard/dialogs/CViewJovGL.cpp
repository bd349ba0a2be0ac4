#include "wizard/dialogs/CViewJovGL.h"

#include "objectgl/GLArrow.h"
#include "objectgl/GLCamera.h"
#include "objectgl/GLScene.h"
#include "objectgl/GLSelectPoint.h"
#include "platform/mfc/module_state.h"
#include "platform/win32/cursors.h"
#include "platform/win32/resources.h"
#include "wizard/frame/controls/CSelPoint.h"

BEGIN_MESSAGE_MAP(CViewJovGL, COpenGLBtn)
ON_WM_LBUTTONDOWN()
ON_WM_SIZE()
ON_WM_RBUTTONDOWN()
ON_WM_SETCURSOR()
ON_WM_MBUTTONDOWN()
ON_MESSAGE(PVM_GETPOINTSTATE, &CViewJovGL::OnGetPointState)
ON_MESSAGE(PVM_GETPOINT, &CViewJovGL::OnGetPoint)
END_MESSAGE_MAP()

namespace {

constexpr uint32_t kNoName = 0xFFFFFFFF;
constexpr double kMargin = 1.25;
constexpr uint32_t kArrowMaterial = 1;
constexpr double kArrowLength = 20.0;

}  // namespace

CViewJovGL::CViewJovGL(uint32_t kind, uint8_t setUpOnSubclass, uint32_t menuId, uint32_t subMenuIndex)
    : COpenGLBtn(0, 0, setUpOnSubclass), kind_(kind), menuId_(menuId), subMenuIndex_(subMenuIndex) {
  arrowCursor_ = ::LoadCursorA(nullptr, IDC_ARROW);
  if (menuId_) {
    const LPCSTR name = MAKEINTRESOURCEA(menuId_);
    menu_.Attach(::LoadMenuA(AfxFindResourceHandle(name, RT_MENU), name));
  }
}

CViewJovGL::~CViewJovGL() {
  delete[] layer_;
  if (menuId_) menu_.DestroyMenu();
  ClearPoints();
}

void CViewJovGL::ClearPoints() {
  // Markers and arrows the scene never took are the points' own.
  if (!pointsInScene_)
    for (auto* p = static_cast<CSelPoint*>(points_.GetHead()); p; p = static_cast<CSelPoint*>(p->GetNext())) {
      delete p->marker;
      delete p->arrow;
    }
  points_.RemoveAll();
  pointsInScene_ = false;
  arrow_ = nullptr;
  currentMarker_ = nullptr;
}

void CViewJovGL::OnViewReset() {
  COpenGLBtn::OnViewReset();
  ClearPoints();
}

void CViewJovGL::ClearScene(bool redraw) {
  ResetView();
  // Without a scene nothing was reset, and the points go all the same.
  ClearPoints();
  if (redraw) Redraw();
}

void CViewJovGL::ShowPreview(const resbuf* chain, bool redraw) {
  ClearScene(false);
  uint32_t counter = 1;
  // The conversion only reads the chain; each entity empties the layer
  // buffer before it is read.
  auto* cursor = const_cast<resbuf*>(chain);
  while (cursor) BuildPreviewFromDxf(&cursor, &counter);
  ShowConnectionPoints(redraw);
  ZoomExtents(redraw, &kMargin);
}

void CViewJovGL::ShowConnectionPoints(bool redraw) {
  GLScene* scene = GetScene();
  if (!scene || points_.GetCount() == 0 || (kind_ != 1 && kind_ != 3 && kind_ != 4)) return;
  // The markers are sized in pixels: their extents need a fitted camera.
  ZoomExtents(redraw, &kMargin);
  auto add = [&](GLEntity* entity) {
    if (!scene->AddEntity(entity)) delete entity;
  };
  pointsInScene_ = true;
  for (auto* p = static_cast<CSelPoint*>(points_.GetHead()); p; p = static_cast<CSelPoint*>(p->GetNext())) {
    if (p->arrow) {
      p->arrow->SetIncludeInExtents(true);
      add(p->arrow);
    }
    if (p->marker) {
      add(new GLName(p->id));
      add(p->marker);
      add(new GLName(kNoName));
    }
  }
  if (kind_ != 1) return;
  selectedId_ = 1;
  GLVector at;
  if (const CSelPoint* first = FindPoint(1)) {
    at = first->position;
    at.z = 1.0;
  }
  const double angle = 0.0;
  arrow_ = new GLArrow(at, kArrowMaterial, &kArrowLength, GLAxisX, GLAxisY, GLAxisZ, &angle, 1);
  add(new GLName(kNoName));
  add(arrow_);
  arrow_->SetIncludeInExtents(true);
  MarkSelectedPoint(1);
}

CSelPoint* CViewJovGL::FindPoint(uint32_t id) const {
  for (auto* p = static_cast<CSelPoint*>(points_.GetHead()); p; p = static_cast<CSelPoint*>(p->GetNext()))
    if (p->id == id) return p;
  return nullptr;
}

void CViewJovGL::MarkSelectedPoint(uint32_t id) {
  CSelPoint* p = FindPoint(id);
  if (!p) return;
  if (currentMarker_) currentMarker_->SetHidden(false);
  currentMarker_ = p->marker;
  if (currentMarker_) currentMarker_->SetHidden(true);
  if (!arrow_) return;
  GLVector at = p->position;
  at.z = 1.0;
  arrow_->SetPosition(at);
  arrow_->SetAngle(p->angle);
  arrow_->SetHidden(false);
}

void CViewJovGL::SelectPoint(uint32_t id) {
  if (id == 0 || (kind_ != 3 && kind_ != 4)) return;
  CSelPoint* p = FindPoint(id);
  if (!p) return;
  if (currentMarker_) currentMarker_->SetHidden(true);
  currentMarker_ = p->marker;
  if (currentMarker_) currentMarker_->SetHidden(false);
  selectedId_ = id;
  Redraw();
}

double CViewJovGL::GetSelectedAngle() const {
  const CSelPoint* p = FindPoint(selectedId_);
  return p ? p->angle : 0.0;
}

bool CViewJovGL::GetSelectedPosition(GLVector* out) const {
  const CSelPoint* p = FindPoint(selectedId_);
  if (!p || !out) return false;
  *out = p->position;
  return true;
}

void CViewJovGL::ZoomAt(const GLVector* target, bool zoomIn) {
  GLCamera* camera = CurrentCamera();
  if (!camera) return;
  double w = 0.0, h = 0.0;
  camera->GetViewSize(&w, &h);
  const double factor = zoomIn ? 0.5 : 2.0;
  camera->SetViewSize(w * factor, h * factor);
  if (target) camera->SetTarget(*target);
  camera->ComputeView();
  Redraw();
}

void CViewJovGL::LoadCursors(Cursor hover, Cursor press, uint32_t hoverId, uint32_t pressId) {
  auto load = [](uint32_t id) {
    const LPCSTR name = MAKEINTRESOURCEA(id);
    return ::LoadCursorA(AfxFindResourceHandle(name, RT_GROUP_CURSOR), name);
  };
  cursors_[hover] = load(hoverId);
  cursors_[press] = load(pressId);
}

void CViewJovGL::SetPanCursors(uint32_t hoverId, uint32_t pressId) {
  LoadCursors(kPanHover, kPanPress, hoverId, pressId);
}

void CViewJovGL::SetZoomCursors(uint32_t hoverId, uint32_t pressId) {
  LoadCursors(kZoomHover, kZoomPress, hoverId, pressId);
}

void CViewJovGL::SetPressCursor() {
  switch (mode_) {
    case kPan: ::SetCursor(Loaded(kPanPress)); break;
    case kZoom: ::SetCursor(Loaded(kZoomPress)); break;
    case kRotate: ::SetCursor(Loaded(kRotatePress)); break;
    case kRotateAboutZ: ::SetCursor(Loaded(kTurnAboutZ)); break;
    default: ::SetCursor(arrowCursor_); break;
  }
}

BOOL CViewJovGL::OnSetCursor(CWnd*, UINT hitTest, UINT) {
  HCURSOR cursor = arrowCursor_;
  if (hitTest != HTCAPTION) {
    switch (mode_) {
      case kPan: cursor = Loaded(kPanHover); break;
      case kZoom: cursor = Loaded(kZoomHover); break;
      case kRotate: cursor = Loaded(kRotateHover); break;
      case kRotateAboutZ: cursor = Loaded(kTurnAboutZ); break;
      default: break;
    }
  }
  ::SetCursor(cursor);
  return TRUE;
}

void CViewJovGL::OnLButtonDown(UINT flags, CPoint point) {
  GLScene* scene = GetScene();
  // Kinds 3 and 4 only show.
  if (!scene || kind_ > 2) return;
  COpenGLBtn::OnLButtonDown(flags, point);
  if (mode_ != kSelect) {
    SetPressCursor();
    return;
  }
  const auto id = static_cast<uint32_t>(scene->Pick(point.x, point.y));
  if (id == kNoName) return;
  if (kind_ == 0) {
    selectedId_ = id;
    if (TellParent(kPickMessage, flags, static_cast<LPARAM>(id))) scene->HighlightGroup(static_cast<int32_t>(id), true, true);
    Redraw();
    return;
  }
  MarkSelectedPoint(id);
  if (kind_ == 2)
    scene->HighlightGroup(static_cast<int32_t>(id), true, true);
  else
    selectedId_ = id;
  Redraw();
  TellParent(kPickMessage, 0, static_cast<LPARAM>(id));
}

void CViewJovGL::OnRButtonDown(UINT flags, CPoint point) {
  Default();
  if (!menuId_) {
    POINT at = point;
    TellParent(kRightClickMessage, flags, reinterpret_cast<LPARAM>(&at));
    return;
  }
  CMenu* popup = menu_.m_hMenu ? menu_.GetSubMenu(static_cast<int>(subMenuIndex_)) : nullptr;
  if (!popup) return;
  // The dialog checks or enables its items before they show.
  TellParent(kMenuMessage, 0, reinterpret_cast<LPARAM>(popup));
  ClientToScreen(&point);
  popup->TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, GetParent());
}

void CViewJovGL::OnSize(UINT type, int cx, int cy) {
  COpenGLBtn::OnSize(type, cx, cy);
  if (m_hWnd && ::IsWindow(m_hWnd)) ZoomExtents(true, &kMargin);
}

void CViewJovGL::OnMButtonDown(UINT flags, CPoint point) {
  COpenGLBtn::OnMButtonDown(flags, point);
  if (mouseNavigation_) SetPressCursor();
}

LRESULT CViewJovGL::OnGetPointState(WPARAM, LPARAM lParam) {
  auto* state = reinterpret_cast<PVPOINTSTATE*>(lParam);
  if (!sceneSetUp_ || !state) return FALSE;
  *state = PVPOINTSTATE{kind_, selectedId_, IsMirrored() ? TRUE : FALSE, points_.GetCount()};
  return TRUE;
}

LRESULT CViewJovGL::OnGetPoint(WPARAM index, LPARAM lParam) {
  auto* out = reinterpret_cast<PVPOINT*>(lParam);
  auto* p = index < points_.GetCount() ? static_cast<CSelPoint*>(points_.GetAt(static_cast<int>(index))) : nullptr;
  if (!p || !out) return FALSE;
  const UINT marker = !p->marker ? PVPM_NONE : p->marker->IsHidden() ? PVPM_HIDDEN : PVPM_SHOWN;
  *out = PVPOINT{p->id, p->position.x, p->position.y, p->position.z, p->angle, marker};
  return TRUE;
}
