// Points, sizes and rectangles of the window system, and the rectangle
// calls. Coordinates are integer pixels; a rectangle holds its left and top
// edges and excludes its right and bottom ones.
#pragma once

#include "platform/win32/win32_types.h"

struct POINT {
  LONG x;
  LONG y;
};
struct SIZE {
  LONG cx;
  LONG cy;
};
struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};
struct POINTS {
  short x;
  short y;
};
using LPPOINT = POINT*;
using LPSIZE = SIZE*;
using LPRECT = RECT*;
using LPCRECT = const RECT*;

BOOL SetRect(RECT* rect, int left, int top, int right, int bottom);
BOOL SetRectEmpty(RECT* rect);
BOOL CopyRect(RECT* destination, const RECT* source);
// Empty: no width or no height (right <= left or bottom <= top).
BOOL IsRectEmpty(const RECT* rect);
BOOL EqualRect(const RECT* a, const RECT* b);
BOOL OffsetRect(RECT* rect, int dx, int dy);
BOOL InflateRect(RECT* rect, int dx, int dy);
// FALSE and an empty result when they do not overlap.
BOOL IntersectRect(RECT* out, const RECT* a, const RECT* b);
// An empty rectangle adds nothing; FALSE when both are empty.
BOOL UnionRect(RECT* out, const RECT* a, const RECT* b);
BOOL PtInRect(const RECT* rect, POINT point);

// a * b / c rounded half away from zero, in 64 bits; -1 when c is 0.
int MulDiv(int a, int b, int c);
