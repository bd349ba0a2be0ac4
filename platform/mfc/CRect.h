// The framework's rectangle value.
#pragma once

#include <utility>

#include "platform/mfc/CPoint.h"
#include "platform/mfc/CSize.h"

class CRect : public RECT {
 public:
  CRect() noexcept : RECT{0, 0, 0, 0} {}
  CRect(int l, int t, int r, int b) noexcept : RECT{l, t, r, b} {}
  CRect(const RECT& r) noexcept : RECT(r) {}
  CRect(LPCRECT r) noexcept : RECT(*r) {}
  CRect(POINT p, SIZE s) noexcept : RECT{p.x, p.y, p.x + s.cx, p.y + s.cy} {}
  CRect(POINT topLeft, POINT bottomRight) noexcept : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y} {}

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  CSize Size() const { return CSize(Width(), Height()); }
  // The corners as points stored in the rectangle (they can be changed).
  CPoint& TopLeft() { return *reinterpret_cast<CPoint*>(&left); }
  CPoint& BottomRight() { return *reinterpret_cast<CPoint*>(&right); }
  const CPoint& TopLeft() const { return *reinterpret_cast<const CPoint*>(&left); }
  const CPoint& BottomRight() const { return *reinterpret_cast<const CPoint*>(&right); }
  CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
  operator LPRECT() { return this; }
  operator LPCRECT() const { return this; }

  BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }
  BOOL IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  BOOL PtInRect(POINT p) const { return ::PtInRect(this, p); }
  void SetRect(int l, int t, int r, int b) { ::SetRect(this, l, t, r, b); }
  void SetRectEmpty() { ::SetRectEmpty(this); }
  void CopyRect(LPCRECT r) { ::CopyRect(this, r); }
  BOOL EqualRect(LPCRECT r) const { return ::EqualRect(this, r); }
  void InflateRect(int dx, int dy) { ::InflateRect(this, dx, dy); }
  void InflateRect(SIZE s) { InflateRect(s.cx, s.cy); }
  void InflateRect(LPCRECT r) {
    left -= r->left;
    top -= r->top;
    right += r->right;
    bottom += r->bottom;
  }
  void InflateRect(int l, int t, int r, int b) {
    left -= l;
    top -= t;
    right += r;
    bottom += b;
  }
  void DeflateRect(int dx, int dy) { ::InflateRect(this, -dx, -dy); }
  void DeflateRect(SIZE s) { DeflateRect(s.cx, s.cy); }
  void DeflateRect(LPCRECT r) {
    left += r->left;
    top += r->top;
    right -= r->right;
    bottom -= r->bottom;
  }
  void DeflateRect(int l, int t, int r, int b) {
    left += l;
    top += t;
    right -= r;
    bottom -= b;
  }
  void OffsetRect(int dx, int dy) { ::OffsetRect(this, dx, dy); }
  void OffsetRect(POINT p) { OffsetRect(p.x, p.y); }
  void OffsetRect(SIZE s) { OffsetRect(s.cx, s.cy); }
  void MoveToX(int x) {
    right = Width() + x;
    left = x;
  }
  void MoveToY(int y) {
    bottom = Height() + y;
    top = y;
  }
  void MoveToXY(int x, int y) {
    MoveToX(x);
    MoveToY(y);
  }
  void MoveToXY(POINT p) { MoveToXY(p.x, p.y); }
  void NormalizeRect() {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
  }
  BOOL IntersectRect(LPCRECT a, LPCRECT b) { return ::IntersectRect(this, a, b); }
  BOOL UnionRect(LPCRECT a, LPCRECT b) { return ::UnionRect(this, a, b); }

  CRect& operator=(const RECT& r) {
    ::CopyRect(this, &r);
    return *this;
  }
  bool operator==(const RECT& r) const { return ::EqualRect(this, &r) != 0; }
  bool operator!=(const RECT& r) const { return !(*this == r); }
  CRect& operator+=(POINT p) {
    OffsetRect(p);
    return *this;
  }
  CRect& operator+=(SIZE s) {
    OffsetRect(s);
    return *this;
  }
  CRect& operator-=(POINT p) {
    OffsetRect(-p.x, -p.y);
    return *this;
  }
  CRect& operator-=(SIZE s) {
    OffsetRect(-s.cx, -s.cy);
    return *this;
  }
  CRect& operator&=(const RECT& r) {
    ::IntersectRect(this, this, &r);
    return *this;
  }
  CRect& operator|=(const RECT& r) {
    ::UnionRect(this, this, &r);
    return *this;
  }
  CRect operator+(POINT p) const {
    CRect c(*this);
    c.OffsetRect(p);
    return c;
  }
  CRect operator-(POINT p) const {
    CRect c(*this);
    c.OffsetRect(-p.x, -p.y);
    return c;
  }
  CRect operator&(const RECT& r) const {
    CRect c;
    ::IntersectRect(&c, this, &r);
    return c;
  }
  CRect operator|(const RECT& r) const {
    CRect c;
    ::UnionRect(&c, this, &r);
    return c;
  }
};
