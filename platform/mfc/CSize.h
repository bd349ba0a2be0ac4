// The framework's size value.
#pragma once

#include "platform/win32/geometry.h"

class CSize : public SIZE {
 public:
  CSize() noexcept : SIZE{0, 0} {}
  CSize(int x, int y) noexcept : SIZE{x, y} {}
  CSize(SIZE s) noexcept : SIZE(s) {}
  explicit CSize(POINT p) noexcept : SIZE{p.x, p.y} {}
  bool operator==(const SIZE& s) const { return cx == s.cx && cy == s.cy; }
  bool operator!=(const SIZE& s) const { return !(*this == s); }
  CSize& operator+=(const SIZE& s) {
    cx += s.cx;
    cy += s.cy;
    return *this;
  }
  CSize& operator-=(const SIZE& s) {
    cx -= s.cx;
    cy -= s.cy;
    return *this;
  }
  CSize operator+(const SIZE& s) const { return CSize(cx + s.cx, cy + s.cy); }
  CSize operator-(const SIZE& s) const { return CSize(cx - s.cx, cy - s.cy); }
  CSize operator-() const { return CSize(-cx, -cy); }
};
