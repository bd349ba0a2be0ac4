// The framework's point value.
#pragma once

#include "platform/mfc/CSize.h"
#include "platform/win32/win32_types.h"

class CPoint : public POINT {
 public:
  CPoint() noexcept : POINT{0, 0} {}
  CPoint(int x0, int y0) noexcept : POINT{x0, y0} {}
  CPoint(POINT p) noexcept : POINT(p) {}
  explicit CPoint(SIZE s) noexcept : POINT{s.cx, s.cy} {}
  // From a packed point (low word x, high word y, both signed).
  explicit CPoint(LPARAM packed) noexcept
      : POINT{static_cast<short>(packed & 0xFFFF), static_cast<short>((packed >> 16) & 0xFFFF)} {}
  void Offset(int dx, int dy) {
    x += dx;
    y += dy;
  }
  void Offset(POINT p) { Offset(p.x, p.y); }
  void Offset(SIZE s) { Offset(s.cx, s.cy); }
  void SetPoint(int x0, int y0) {
    x = x0;
    y = y0;
  }
  bool operator==(const POINT& p) const { return x == p.x && y == p.y; }
  bool operator!=(const POINT& p) const { return !(*this == p); }
  CPoint& operator+=(const POINT& p) {
    Offset(p);
    return *this;
  }
  CPoint& operator-=(const POINT& p) {
    Offset(-p.x, -p.y);
    return *this;
  }
  CPoint& operator+=(const SIZE& s) {
    Offset(s);
    return *this;
  }
  CPoint& operator-=(const SIZE& s) {
    Offset(-s.cx, -s.cy);
    return *this;
  }
  CPoint operator+(const POINT& p) const { return CPoint(x + p.x, y + p.y); }
  CPoint operator+(const SIZE& s) const { return CPoint(x + s.cx, y + s.cy); }
  CSize operator-(const POINT& p) const { return CSize(x - p.x, y - p.y); }
  CPoint operator-(const SIZE& s) const { return CPoint(x - s.cx, y - s.cy); }
  CPoint operator-() const { return CPoint(-x, -y); }
};
