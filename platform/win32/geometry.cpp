#include "platform/win32/geometry.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

BOOL SetRect(RECT* rect, int left, int top, int right, int bottom) {
  if (!rect) return FALSE;
  *rect = {left, top, right, bottom};
  return TRUE;
}

BOOL SetRectEmpty(RECT* rect) { return SetRect(rect, 0, 0, 0, 0); }

BOOL CopyRect(RECT* destination, const RECT* source) {
  if (!destination || !source) return FALSE;
  *destination = *source;
  return TRUE;
}

BOOL IsRectEmpty(const RECT* rect) { return !rect || rect->right <= rect->left || rect->bottom <= rect->top; }

BOOL EqualRect(const RECT* a, const RECT* b) {
  if (!a || !b) return FALSE;
  return a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}

BOOL OffsetRect(RECT* rect, int dx, int dy) {
  if (!rect) return FALSE;
  rect->left += dx;
  rect->right += dx;
  rect->top += dy;
  rect->bottom += dy;
  return TRUE;
}

BOOL InflateRect(RECT* rect, int dx, int dy) {
  if (!rect) return FALSE;
  rect->left -= dx;
  rect->right += dx;
  rect->top -= dy;
  rect->bottom += dy;
  return TRUE;
}

BOOL IntersectRect(RECT* out, const RECT* a, const RECT* b) {
  if (!out || !a || !b) return FALSE;
  RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
         std::min(a->bottom, b->bottom)};
  if (IsRectEmpty(&r)) {
    SetRectEmpty(out);
    return FALSE;
  }
  *out = r;
  return TRUE;
}

BOOL UnionRect(RECT* out, const RECT* a, const RECT* b) {
  if (!out || !a || !b) return FALSE;
  const bool emptyA = IsRectEmpty(a), emptyB = IsRectEmpty(b);
  if (emptyA && emptyB) {
    SetRectEmpty(out);
    return FALSE;
  }
  if (emptyA) {
    *out = *b;
  } else if (emptyB) {
    *out = *a;
  } else {
    *out = {std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
            std::max(a->bottom, b->bottom)};
  }
  return TRUE;
}

BOOL PtInRect(const RECT* rect, POINT point) {
  return rect && point.x >= rect->left && point.x < rect->right && point.y >= rect->top && point.y < rect->bottom;
}

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  int64_t product = static_cast<int64_t>(a) * b;
  int64_t half = std::llabs(c) / 2;
  bool negative = (product < 0) != (c < 0);
  int64_t q = (std::llabs(product) + half) / std::llabs(c);
  return static_cast<int>(negative ? -q : q);
}
