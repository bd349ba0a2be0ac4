#include "jov_vantrix/section/CViewBtn.h"

#include <cstring>

#include "platform/mfc/CDC.h"

IMPLEMENT_DYNAMIC(CViewBtn, CButton)

BEGIN_MESSAGE_MAP(CViewBtn, CButton)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_RBUTTONDOWN()
  ON_WM_MBUTTONDOWN()
END_MESSAGE_MAP()

namespace {

constexpr COLORREF kLabelColor = RGB(255, 0, 255);
constexpr COLORREF kTextColor = RGB(0, 0, 0);
constexpr int kArrowLength = 8;
constexpr int kArrowHalfWidth = 4;
constexpr int kTick = 10;

enum class Arrows { Inside, Outside };

void Line(CDC& dc, int x1, int y1, int x2, int y2) {
  dc.MoveTo(x1, y1);
  dc.LineTo(x2, y2);
}

void Polyline3(CDC& dc, int x1, int y1, int x2, int y2, int x3, int y3) {
  dc.MoveTo(x1, y1);
  dc.LineTo(x2, y2);
  dc.LineTo(x3, y3);
}

// A head whose tip is (x, y); dx, dy point from the tip back along the shaft.
void Arrowhead(CDC& dc, int x, int y, int dx, int dy) {
  if (dx != 0) {
    Line(dc, x, y, x + dx * kArrowLength, y - kArrowHalfWidth);
    Line(dc, x, y, x + dx * kArrowLength, y + kArrowHalfWidth);
  } else {
    Line(dc, x, y, x - kArrowHalfWidth, y + dy * kArrowLength);
    Line(dc, x, y, x + kArrowHalfWidth, y + dy * kArrowLength);
  }
}

void HorizontalDimension(CDC& dc, int x1, int x2, int y, Arrows arrows, int extension = 0, int up = kTick,
                         int down = kTick) {
  Line(dc, x1 - extension, y, x2 + extension, y);
  if (up != 0 || down != 0) {
    Line(dc, x1, y - up, x1, y + down);
    Line(dc, x2, y - up, x2, y + down);
  }
  // Inside: the heads point outwards, their strokes within the interval.
  const int inward = arrows == Arrows::Inside ? 1 : -1;
  Arrowhead(dc, x1, y, inward, 0);
  Arrowhead(dc, x2, y, -inward, 0);
}

void VerticalDimension(CDC& dc, int x, int y1, int y2, Arrows arrows) {
  const int top = y1 < y2 ? y1 : y2;
  const int bottom = y1 < y2 ? y2 : y1;
  Line(dc, x, top, x, bottom);
  Line(dc, x - kTick, top, x + kTick, top);
  Line(dc, x - kTick, bottom, x + kTick, bottom);
  const int inward = arrows == Arrows::Inside ? 1 : -1;
  Arrowhead(dc, x, top, 0, inward);
  Arrowhead(dc, x, bottom, 0, -inward);
}

// A heating body: its rectangle and the small tab on its right side.
void Box(CDC& dc, const CViewBtn::Layout& l, int left, int bottom) {
  const int right = left + l.boxWidth;
  const int top = bottom - l.boxHeight;
  dc.Rectangle(left, top, right, bottom);
  dc.MoveTo(right, top + 4);
  dc.LineTo(right + 5, top + 4);
  dc.LineTo(right + 5, top + 7);
  dc.LineTo(right, top + 7);
}

// One riser with its branches; inset is how far left of a box's right edge
// its drops run, level the height of its branches.
void Riser(CDC& dc, const CViewBtn::Layout& l, int x, int level, int inset) {
  const int boxes = l.floorY - l.boxLift;
  Line(dc, x, l.floorY, x, l.topMargin + l.riserTop);
  Polyline3(dc, x, level, l.riserX - l.branchReach - inset, level, l.riserX - l.branchReach - inset, boxes);
  const int far = l.Box3() + l.boxWidth - inset;
  Polyline3(dc, x, level, far, level, far, boxes);
  const int drop = l.Box2() + l.boxWidth - inset;
  Line(dc, drop, level, drop, boxes);
}

void Text(CDC& dc, int x, int y, const char* text, COLORREF color, UINT align) {
  dc.SetTextColor(color);
  dc.SetTextAlign(align);
  dc.TextOut(x, y, text, static_cast<int>(std::strlen(text)));
}

}  // namespace

CViewBtn::Layout CViewBtn::Layout::For(int w, int h) {
  Layout l{};
  l.riserX = w / 3;
  l.floorY = (h / 4) * 3;
  l.leftMargin = w / 30;
  l.topMargin = w / 30;
  l.rightEnd = w - w / 10;
  l.branchReach = w / 10;
  l.gap = w / 8;
  l.riserSpacing = w / 35;
  l.boxWidth = w / 10;
  l.boxHeight = w / 13;
  l.boxLift = w / 10;
  l.dimensionDrop = w / 14;
  l.floorMarkInset = w / 30;
  l.floorMarkSize = w / 23;
  l.riserTop = w / 10;
  return l;
}

void CViewBtn::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  m_layout = Layout::For(client.Width(), client.Height());
  const Layout& l = m_layout;

  CBrush frame(RGB(0, 0, 0));
  dc.FrameRect(&client, &frame);

  CPen linePen(PS_SOLID, 2, m_lineColor);
  CPen* oldPen = dc.SelectObject(&linePen);
  Line(dc, l.leftMargin, l.floorY, l.rightEnd, l.floorY);
  const int boxes = l.floorY - l.boxLift;
  Box(dc, l, l.Box1(), boxes);
  Box(dc, l, l.Box2(), boxes);
  Box(dc, l, l.Box3(), boxes);

  const COLORREF first = m_pipeSwitch ? m_secondPipeColor : m_firstPipeColor;
  const COLORREF second = m_pipeSwitch ? m_firstPipeColor : m_secondPipeColor;
  CPen firstPen(PS_SOLID, 2, first);
  dc.SelectObject(&firstPen);
  Riser(dc, l, l.riserX, l.floorY - 2 * l.riserSpacing, 8);
  CPen secondPen(PS_SOLID, 2, second);
  dc.SelectObject(&secondPen);
  Riser(dc, l, l.riserX + l.riserSpacing, l.floorY - l.riserSpacing, 3);

  CPen dimensionPen(PS_SOLID, 1, m_lineColor);
  dc.SelectObject(&dimensionPen);
  DrawDimensions(dc);
  dc.SelectObject(oldPen);

  DrawTexts(dc);
}

void CViewBtn::DrawDimensions(CDC& dc) const {
  const Layout& l = m_layout;
  const int x0 = l.riserX, yF = l.floorY, a = l.branchReach, c = l.riserSpacing;
  const int bw = l.boxWidth, bh = l.boxHeight, d = l.boxLift;
  const int bottom = yF + l.dimensionDrop;
  HorizontalDimension(dc, x0 - a, x0, bottom, Arrows::Inside);
  HorizontalDimension(dc, x0 + c, x0 + c + a, bottom, Arrows::Inside);
  HorizontalDimension(dc, l.Box2() + bw, l.Box3(), bottom, Arrows::Inside);
  HorizontalDimension(dc, x0, x0 + c, yF - d - 2 * bh, Arrows::Outside, 20, 0, 0);
  if (m_sameLength)
    for (int left : {l.Box1(), l.Box2(), l.Box3()})
      HorizontalDimension(dc, left, left + bw, yF - d - bh - 30, Arrows::Inside);
  const int xV = l.DimensionColumn();
  if (m_sameHeight) VerticalDimension(dc, xV + 18, yF - d, yF - d - bh, Arrows::Inside);
  VerticalDimension(dc, xV + 18, yF - d, yF, Arrows::Inside);
  VerticalDimension(dc, xV - 5, yF - c, yF, Arrows::Outside);
  if (m_floor) {
    const int x = l.leftMargin + l.floorMarkInset, g = l.floorMarkSize;
    Polyline3(dc, x, yF, x, yF - g, x + g, yF - g);
    Arrowhead(dc, x, yF, 0, -1);
  }

  // The riser's bubble: a stem up from the riser top and its circle.
  const int cx = x0 + c / 2, t = l.riserTop, mT = l.topMargin, r = t / 4;
  Line(dc, cx, mT + t - 2, cx, mT + t / 2);
  const int cy = mT + t / 4 + 1;
  CBrush* oldBrush = dc.SelectObject(CBrush::FromHandle(static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))));
  dc.Ellipse(cx - r, cy - r, cx + r, cy + r);
  dc.SelectObject(oldBrush);
}

void CViewBtn::DrawTexts(CDC& dc) const {
  CFont* font = GetFont();
  if (!font) return;
  const Layout& l = m_layout;
  const int x0 = l.riserX, yF = l.floorY, a = l.branchReach, c = l.riserSpacing;
  const int bw = l.boxWidth, bh = l.boxHeight, d = l.boxLift;
  const int xV = l.DimensionColumn();
  const UINT bottomCentre = TA_BOTTOM | TA_CENTER, bottomLeft = TA_BOTTOM | TA_LEFT, topLeft = TA_TOP | TA_LEFT;

  CFont* oldFont = dc.SelectObject(font);
  dc.SetBkMode(TRANSPARENT);
  const int r = l.riserTop / 4;
  Text(dc, x0 + c / 2, l.topMargin + l.riserTop / 4 + 1 + r - 2, "1", kTextColor, bottomCentre);
  if (m_floor) Text(dc, l.leftMargin + l.floorMarkInset, yF - l.floorMarkSize - 1, "1NP", kTextColor, bottomLeft);
  const int labels = yF + l.dimensionDrop - 1;
  Text(dc, x0 - a / 2, labels, "A", kLabelColor, bottomCentre);
  Text(dc, x0 + c + a / 2, labels, "A", kLabelColor, bottomCentre);
  Text(dc, l.Box2() + bw + l.gap / 2, labels, "B", kLabelColor, bottomCentre);
  if (m_sameLength)
    for (int left : {l.Box1(), l.Box2(), l.Box3()})
      Text(dc, left + bw / 2, yF - d - bh - 30, "G", kLabelColor, bottomCentre);
  if (m_sameHeight) Text(dc, xV + 9, yF - d - bh / 2 - 6, "H", kLabelColor, topLeft);
  Text(dc, xV + 9, yF - d / 2 - 6, "C", kLabelColor, topLeft);
  Text(dc, xV - 16, yF + 3, "F", kLabelColor, topLeft);
  Text(dc, x0 + c + 10, yF - d - 2 * bh - 1, "E", kLabelColor, bottomLeft);
  if (m_descriptions)
    for (int left : {l.Box1(), l.Box2(), l.Box3()})
      Text(dc, left + bw / 2, yF - d - bh - 2, "-101-", kTextColor, bottomCentre);
  dc.SelectObject(oldFont);
}

BOOL CViewBtn::OnEraseBkgnd(CDC* dc) {
  CRect window;
  GetWindowRect(&window);
  ScreenToClient(&window);
  CBrush face(GetSysColor(COLOR_BTNFACE));
  dc->FillRect(&window, &face);
  return TRUE;
}

// Clicks change nothing: the sketch is no control of its own.
void CViewBtn::OnLButtonDown(UINT, CPoint) {}
void CViewBtn::OnLButtonDblClk(UINT, CPoint) {}
void CViewBtn::OnRButtonDown(UINT, CPoint) {}
void CViewBtn::OnMButtonDown(UINT, CPoint) {}
