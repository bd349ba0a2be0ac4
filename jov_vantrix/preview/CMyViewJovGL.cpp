#include "jov_vantrix/preview/CMyViewJovGL.h"

#include <cstring>

#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "objectgl/GLScene.h"
#include "objectgl/GLText.h"
#include "common/StringCompareIgnore.h"
#include "objectgl/preview/GLPreviewChainReader.h"
#include "platform/mfc/module_state.h"
#include "platform/resources/jov_vantrix/resource_ids.h"
#include "platform/win32/cursors.h"
#include "platform/win32/image_loading.h"
#include "platform/win32/resources.h"

BEGIN_MESSAGE_MAP(CMyViewJovGL, CMyOpenGLBtn)
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDOWN()
ON_WM_RBUTTONDOWN()
ON_WM_SETCURSOR()
ON_WM_MBUTTONDOWN()
ON_COMMAND(ID_PREVIEW_PAN, &CMyViewJovGL::OnPanMode)
ON_COMMAND(ID_PREVIEW_ZOOM, &CMyViewJovGL::OnZoomMode)
ON_COMMAND(ID_PREVIEW_ZOOM_WINDOW, &CMyViewJovGL::OnZoomWindowMode)
ON_COMMAND(ID_PREVIEW_ZOOM_EXTENTS, &CMyViewJovGL::OnZoomToExtents)
ON_COMMAND(ID_PREVIEW_SELECT, &CMyViewJovGL::OnSelectMode)
END_MESSAGE_MAP()

namespace {

constexpr size_t kLayerSize = 256;
constexpr uint32_t kNoName = 0xFFFFFFFF;
constexpr uint32_t kByBlock = 7;
constexpr int kPickCursorSize = 64;
constexpr int kNear = 5;
// The side of the square a pick looks in.
constexpr double kPickSize = 5.0;

// The chain as the export dialog hands it over: world points into the
// user's coordinates, every entity in the caller's colour (by block: 7),
// nothing on "DEFPOINTS", no zero-length lines.
class ChainToView : public GLPreviewChainReader {
 public:
  ChainToView(CMyViewJovGL& view, char* layer, const GLMatrix* m1, const GLMatrix* m2, uint32_t nameId,
              CPtrArray* created, uint32_t colour, bool inUcs)
      : GLPreviewChainReader(layer),
        view_(view),
        m1_(m1),
        m2_(m2),
        name_(nameId),
        created_(created),
        colour_(colour),
        inUcs_(inUcs),
        host_(TheApp().m_pHostTable) {}

 protected:
  bool Converts(const char* type) const override {
    return GLPreviewChainReader::Converts(type) && !(inUcs_ && std::strcmp(type, "TEXT") == 0);
  }
  GLVector Point(const resbuf* node) const override {
    double p[3] = {node->value.point[0], node->value.point[1], node->value.point[2]};
    if (!inUcs_) HostWcsToUcs(host_, p, false);
    return GLVector(p);
  }
  uint32_t Colour(const resbuf* group62) const override {
    return group62 && group62->value.i16 == 0 ? kByBlock : colour_;
  }
  bool Draws(const char*, const char* layer, uint32_t) const override {
    return StringCompareIgnore(layer, "DEFPOINTS") != 0;
  }
  void AddLine(const GLVector& start, const GLVector& end, uint32_t colour) override {
    if (start == end) return;
    GLEntity* made = nullptr;
    view_.AddLine(&made, start, end, m1_, m2_, colour, name_);
    Keep(made);
  }
  void AddCircle(const GLVector& centre, double radius, uint32_t colour) override {
    GLEntity* made = nullptr;
    view_.AddCircle(&made, centre, &radius, m1_, m2_, colour, name_);
    Keep(made);
  }
  void AddArc(const GLVector& centre, double radius, double start, double end, uint32_t colour) override {
    GLEntity* made = nullptr;
    view_.AddArc(&made, centre, &radius, &start, &end, m1_, m2_, colour, name_);
    Keep(made);
  }
  void AddBulgeArc(const GLVector& start, const GLVector& end, double bulge, uint32_t colour) override {
    GLEntity* made = nullptr;
    view_.AddBulgeArc(&made, start, end, &bulge, m1_, m2_, colour, name_);
    Keep(made);
  }
  void AddText(const TextRead& t) override {
    // The rotation is measured from the user's X axis.
    double x[3] = {1.0, 0.0, 0.0};
    HostUcsToWcs(host_, x, true);
    const double origin[3] = {0.0, 0.0, 0.0};
    double angle = t.rotation - AngleOfPoints(origin, x);
    double height = t.height;
    const uint32_t style = view_.TextStyleFor(&height);
    GLText* made = nullptr;
    view_.AddText(&made, style, t.text.c_str(), t.position, t.colour, &angle, &height, name_);
    Keep(made);
  }

 private:
  void Keep(void* entity) {
    if (entity && created_) created_->Add(entity);
  }

  CMyViewJovGL& view_;
  const GLMatrix* m1_;
  const GLMatrix* m2_;
  uint32_t name_;
  CPtrArray* created_;
  uint32_t colour_;
  bool inUcs_;
  const HostExport2D* host_;
};

}  // namespace

CMyViewJovGL::CMyViewJovGL() : CMyOpenGLBtn(0, 0, 1, 3.0f), layer_(new char[kLayerSize]) {
  layer_[0] = '\0';
  const LPCSTR menu = MAKEINTRESOURCEA(IDR_PREVIEW_MENU);
  menu_.Attach(::LoadMenuA(AfxFindResourceHandle(menu, RT_MENU), menu));
  arrowCursor_ = ::LoadCursorA(nullptr, IDC_ARROW);
  const LPCSTR pick = MAKEINTRESOURCEA(IDC_CURSOR_PICK);
  pickCursor_ = static_cast<HCURSOR>(::LoadImageA(AfxFindResourceHandle(pick, RT_GROUP_CURSOR), pick, IMAGE_CURSOR,
                                                  kPickCursorSize, kPickCursorSize, 0));
}

CMyViewJovGL::~CMyViewJovGL() {
  delete[] layer_;
  menu_.DestroyMenu();
}

void CMyViewJovGL::AddEntityChain(resbuf** cursor, const GLMatrix* m1, const GLMatrix* m2, uint32_t nameId,
                                  CPtrArray* created, uint32_t colour, bool inUcs) {
  ChainToView reader(*this, layer_, m1, m2, nameId, created, colour, inUcs);
  reader.ReadAll(cursor);
}

void CMyViewJovGL::AddRecordEntity(const resbuf* chain, uint32_t nameId, CPtrArray* created, uint32_t colour) {
  ChainToView reader(*this, layer_, nullptr, nullptr, nameId, created, colour, false);
  reader.ReadFirst(chain);
}

void CMyViewJovGL::ClearScene(bool redraw) {
  ResetView();
  if (redraw) Redraw();
}

void CMyViewJovGL::LoadCursors(Cursor press, uint32_t pressId, uint32_t hoverId) {
  auto load = [](uint32_t id) {
    const LPCSTR name = MAKEINTRESOURCEA(id);
    return ::LoadCursorA(AfxFindResourceHandle(name, RT_GROUP_CURSOR), name);
  };
  cursors_[press] = load(pressId);
  cursors_[press + 1] = load(hoverId);
}

void CMyViewJovGL::SetPanCursors(uint32_t pressId, uint32_t hoverId) { LoadCursors(kPanPress, pressId, hoverId); }

void CMyViewJovGL::SetZoomCursors(uint32_t pressId, uint32_t hoverId) { LoadCursors(kZoomPress, pressId, hoverId); }

void CMyViewJovGL::SetWindowCursors(uint32_t pressId, uint32_t hoverId) {
  LoadCursors(kWindowPress, pressId, hoverId);
}

HCURSOR CMyViewJovGL::Loaded(Cursor which) const { return cursors_[which] ? cursors_[which] : arrowCursor_; }

bool CMyViewJovGL::PickNear(POINT p, uint32_t* id) {
  GLScene* scene = GetScene();
  if (!scene) return false;
  auto pickable = [&](uint32_t name) { return name != 0 && name <= maxPickId_; };
  // One pick over a square holding all five regions: over empty space (the
  // cursor moving across the drawing) that is all it takes.
  if (pickIndex_.Pick(*scene, p.x, p.y, kPickSize + 2 * kNear) == -1) {
    if (id) *id = kNoName;
    return false;
  }
  const POINT around[] = {{p.x - kNear, p.y}, {p.x + kNear, p.y}, {p.x, p.y - kNear}, {p.x, p.y + kNear}};
  for (const POINT& q : around) {
    const auto name = static_cast<uint32_t>(pickIndex_.Pick(*scene, q.x, q.y));
    if (pickable(name)) {
      if (id) *id = name;
      return true;
    }
  }
  const auto name = static_cast<uint32_t>(pickIndex_.Pick(*scene, p.x, p.y));
  if (id) *id = name;
  // A name above the limit counts only exactly under the cursor.
  return pickable(name) || (name != 0 && name != kNoName);
}

bool CMyViewJovGL::ClickPicks(POINT p, uint32_t id) {
  uint32_t picked = 0;
  return PickNear(p, &picked) && picked == id;
}

void CMyViewJovGL::ShowPressCursor() {
  switch (mode_) {
    case kPan: ::SetCursor(Loaded(kPanPress)); break;
    case kZoom: ::SetCursor(Loaded(kZoomPress)); break;
    case kZoomWindow: ::SetCursor(Loaded(kWindowPress)); break;
    default: ::SetCursor(arrowCursor_); break;
  }
}

void CMyViewJovGL::OnLButtonUp(UINT, CPoint) {
  // A drag of pan, zoom or rotate ends here; the zoom window's first
  // button-up is not its end.
  if (mode_ == kPan || mode_ == kZoom || mode_ == kRotate) EndDrag();
}

void CMyViewJovGL::OnLButtonDown(UINT flags, CPoint point) {
  SetFocus();
  if (mode_ != kSelect) {
    CMyOpenGLBtn::OnLButtonDown(flags, point);
    ShowPressCursor();
    return;
  }
  CRect client;
  GetClientRect(&client);
  uint32_t id = 0;
  if (point.x < client.right && point.y < client.bottom && PickNear(point, &id)) {
    if (CWnd* parent = GetParent()) {
      MSG msg{};
      msg.hwnd = m_hWnd;
      msg.message = kPickMessage;
      msg.lParam = static_cast<LPARAM>(id - 1);
      parent->PreTranslateMessage(&msg);
    }
  }
  CMyOpenGLBtn::OnLButtonDown(flags, point);
}

void CMyViewJovGL::OnRButtonDown(UINT, CPoint point) {
  CMenu* popup = menu_.m_hMenu ? menu_.GetSubMenu(0) : nullptr;
  if (!popup) return;
  popup->CheckMenuItem(ID_PREVIEW_PAN, MF_BYCOMMAND | (mode_ == kPan ? MF_CHECKED : MF_UNCHECKED));
  popup->CheckMenuItem(ID_PREVIEW_ZOOM, MF_BYCOMMAND | (mode_ == kZoom ? MF_CHECKED : MF_UNCHECKED));
  ClientToScreen(&point);
  popup->TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, this);
}

BOOL CMyViewJovGL::OnSetCursor(CWnd*, UINT hitTest, UINT) {
  if (hitTest == HTCAPTION) {
    ::SetCursor(arrowCursor_);
    return TRUE;
  }
  if (mode_ == kPan) {
    ::SetCursor(Loaded(kPanHover));
    return TRUE;
  }
  if (mode_ == kZoom) {
    ::SetCursor(Loaded(kZoomHover));
    return TRUE;
  }
  const MSG* current = GetCurrentMessage();
  POINT p = current->pt;
  ScreenToClient(&p);
  uint32_t id = 0;
  const bool pickable = PickNear(p, &id) && id != 0 && id <= maxPickId_;
  ::SetCursor(pickable && pickCursor_ ? pickCursor_ : arrowCursor_);
  return TRUE;
}

void CMyViewJovGL::OnMButtonDown(UINT flags, CPoint point) {
  CMyOpenGLBtn::OnMButtonDown(flags, point);
  if (mouseNavigation_) ShowPressCursor();
}

void CMyViewJovGL::SwitchMode(uint32_t mode) {
  if (windowStarted_) DrawRubberBand(windowCorner_);
  windowStarted_ = 0;
  EndDrag();
  SetMode(mode);
}

void CMyViewJovGL::OnPanMode() {
  SwitchMode(kPan);
  SetPanCursors(IDC_CURSOR_PAN, IDC_CURSOR_PAN);
}

void CMyViewJovGL::OnZoomMode() {
  SwitchMode(kZoom);
  SetZoomCursors(IDC_CURSOR_ZOOM, IDC_CURSOR_ZOOM);
}

void CMyViewJovGL::OnZoomWindowMode() {
  SwitchMode(kZoomWindow);
  SetWindowCursors(IDC_CURSOR_WINDOW, IDC_CURSOR_WINDOW);
}

void CMyViewJovGL::OnZoomToExtents() {
  const double factor = 1.25;
  ZoomExtents(true, &factor);
}

void CMyViewJovGL::OnSelectMode() { SwitchMode(kSelect); }
