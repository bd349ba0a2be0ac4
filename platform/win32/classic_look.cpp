#include "platform/win32/classic_look.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

#include "platform/win32/gdi_raster.h"

namespace classic {
namespace {

void HLine(cairo_t* cr, int x1, int x2, int y, COLORREF c) { raster::FillRect(cr, {x1, y, x2, y + 1}, c); }
void VLine(cairo_t* cr, int x, int y1, int y2, COLORREF c) { raster::FillRect(cr, {x, y1, x + 1, y2}, c); }

// One ring of an edge: top-left and bottom-right colours.
void Ring(cairo_t* cr, RECT* r, UINT flags, COLORREF topLeft, COLORREF bottomRight) {
  if (flags & BF_TOP) HLine(cr, r->left, r->right, r->top, topLeft);
  if (flags & BF_LEFT) VLine(cr, r->left, r->top, r->bottom, topLeft);
  if (flags & BF_BOTTOM) HLine(cr, r->left, r->right, r->bottom - 1, bottomRight);
  if (flags & BF_RIGHT) VLine(cr, r->right - 1, r->top, r->bottom, bottomRight);
  if (flags & BF_TOP) ++r->top;
  if (flags & BF_LEFT) ++r->left;
  if (flags & BF_BOTTOM) --r->bottom;
  if (flags & BF_RIGHT) --r->right;
}

}  // namespace

void Edge(cairo_t* cr, RECT* rect, UINT edge, UINT flags) {
  RECT r = *rect;
  const COLORREF light = GetSysColor(COLOR_3DLIGHT), hilite = GetSysColor(COLOR_BTNHIGHLIGHT);
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), dark = GetSysColor(COLOR_3DDKSHADOW);
  if (edge & BDR_RAISEDOUTER) Ring(cr, &r, flags, light, dark);
  else if (edge & BDR_SUNKENOUTER) Ring(cr, &r, flags, shadow, hilite);
  if (edge & BDR_RAISEDINNER) Ring(cr, &r, flags, hilite, shadow);
  else if (edge & BDR_SUNKENINNER) Ring(cr, &r, flags, dark, light);
  if (flags & BF_MIDDLE) raster::FillRect(cr, r, GetSysColor(COLOR_BTNFACE));
  if (flags & BF_ADJUST) *rect = r;
}

void PushButtonFrame(cairo_t* cr, RECT r, bool pressed, bool isDefault) {
  raster::FillRect(cr, r, GetSysColor(COLOR_BTNFACE));
  if (isDefault || pressed) Ring(cr, &r, BF_RECT, 0, 0);
  if (pressed) {
    Ring(cr, &r, BF_RECT, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNSHADOW));
    return;
  }
  Ring(cr, &r, BF_RECT, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_3DDKSHADOW));
  Ring(cr, &r, BF_RECT, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_BTNSHADOW));
}

void CheckBox(cairo_t* cr, int x, int y, bool checked, bool indeterminate, bool disabled) {
  RECT r{x, y, x + 13, y + 13};
  Edge(cr, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  raster::FillRect(cr, r, disabled || indeterminate ? GetSysColor(COLOR_BTNFACE) : GetSysColor(COLOR_WINDOW));
  if (!checked && !indeterminate) return;
  // The tick: a 7 x 7 check mark of three-pixel strokes.
  const COLORREF c = disabled || indeterminate ? GetSysColor(COLOR_GRAYTEXT) : 0;
  const int ox = r.left + 1, oy = r.top + 1;
  static const int kTick[7] = {2, 3, 4, 3, 2, 1, 0};
  for (int i = 0; i < 7; ++i) VLine(cr, ox + i, oy + kTick[i] + 0, oy + kTick[i] + 3, c);
}

void RadioButton(cairo_t* cr, int x, int y, bool checked, bool disabled) {
  cairo_save(cr);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
  const double cx = x + 6.5, cy = y + 6.5;
  auto half = [&](double radius, double a0, COLORREF c) {
    raster::SetColor(cr, c);
    cairo_set_line_width(cr, 1);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, radius, a0, a0 + M_PI);
    cairo_stroke(cr);
  };
  raster::SetColor(cr, disabled ? GetSysColor(COLOR_BTNFACE) : GetSysColor(COLOR_WINDOW));
  cairo_arc(cr, cx, cy, 5.5, 0, 2 * M_PI);
  cairo_fill(cr);
  half(6, 0.75 * M_PI, GetSysColor(COLOR_BTNSHADOW));
  half(6, -0.25 * M_PI, GetSysColor(COLOR_BTNHIGHLIGHT));
  half(5, 0.75 * M_PI, GetSysColor(COLOR_3DDKSHADOW));
  half(5, -0.25 * M_PI, GetSysColor(COLOR_3DLIGHT));
  if (checked) {
    raster::SetColor(cr, disabled ? GetSysColor(COLOR_GRAYTEXT) : 0);
    cairo_arc(cr, cx, cy, 2, 0, 2 * M_PI);
    cairo_fill(cr);
  }
  cairo_restore(cr);
}

void Arrow(cairo_t* cr, const RECT& r, int direction, bool disabled) {
  const double cx = std::floor((r.left + r.right) / 2.0), cy = std::floor((r.top + r.bottom) / 2.0);
  const int size = std::max(2, std::min(4, static_cast<int>(std::min(r.right - r.left, r.bottom - r.top)) / 4));
  auto glyph = [&](double dx, COLORREF c) {
    raster::SetColor(cr, c);
    for (int i = 0; i < size; ++i) {
      // Rows of the triangle from its tip.
      const int len = 2 * i + 1;
      if (direction <= 1) {
        const double y = direction == 0 ? cy - size / 2 + i : cy + size / 2 - i;
        cairo_rectangle(cr, cx - i + dx, y + dx - 1, len, 1);
      } else {
        const double x = direction == 2 ? cx - size / 2 + i : cx + size / 2 - i;
        cairo_rectangle(cr, x + dx - 1, cy - i + dx, 1, len);
      }
    }
    cairo_fill(cr);
  };
  if (disabled) glyph(1, GetSysColor(COLOR_BTNHIGHLIGHT));
  glyph(0, disabled ? GetSysColor(COLOR_GRAYTEXT) : 0);
}

void ScrollBar(cairo_t* cr, const RECT& r, bool vertical, int minimum, int maximum, int page, int position,
               bool disabled) {
  const int length = vertical ? r.bottom - r.top : r.right - r.left;
  const int thick = vertical ? r.right - r.left : r.bottom - r.top;
  const int arrow = std::min(thick, length / 2);
  RECT first = vertical ? RECT{r.left, r.top, r.right, r.top + arrow} : RECT{r.left, r.top, r.left + arrow, r.bottom};
  RECT last = vertical ? RECT{r.left, r.bottom - arrow, r.right, r.bottom} : RECT{r.right - arrow, r.top, r.right, r.bottom};
  RECT track = vertical ? RECT{r.left, first.bottom, r.right, last.top} : RECT{first.right, r.top, last.left, r.bottom};
  // The track: a checkered light grey.
  raster::FillRect(cr, track, RGB(224, 224, 224));
  for (RECT* b : {&first, &last}) {
    PushButtonFrame(cr, *b, false, false);
    Arrow(cr, *b, vertical ? (b == &first ? 0 : 1) : (b == &first ? 2 : 3), disabled);
  }
  const int span = vertical ? track.bottom - track.top : track.right - track.left;
  const int range = maximum - minimum + 1;
  if (disabled || range <= 0 || span < 8) return;
  const int thumb = page > 0 ? std::max(8, static_cast<int>(static_cast<long long>(span) * page / range)) : thick;
  const int travel = std::max(1, range - std::max(page, 1) + (page > 0 ? 1 : 0));
  const int room = span - std::min(thumb, span);
  const int offset = travel > 1 ? static_cast<int>(static_cast<long long>(room) * (position - minimum) / (travel - 1)) : 0;
  RECT t = vertical ? RECT{r.left, track.top + offset, r.right, track.top + offset + std::min(thumb, span)}
                    : RECT{track.left + offset, r.top, track.left + offset + std::min(thumb, span), r.bottom};
  PushButtonFrame(cr, t, false, false);
}

void DisabledText(cairo_t* cr, const char* text, const RECT& rect, UINT format) {
  RECT shifted{rect.left + 1, rect.top + 1, rect.right + 1, rect.bottom + 1};
  raster::TextIn(cr, text, shifted, format, GetSysColor(COLOR_BTNHIGHLIGHT));
  raster::TextIn(cr, text, rect, format, GetSysColor(COLOR_GRAYTEXT));
}

void FrameControl(cairo_t* cr, RECT r, UINT type, UINT state) {
  const bool disabled = state & DFCS_INACTIVE;
  if (type == DFC_BUTTON) {
    if (state & DFCS_BUTTONPUSH) {
      PushButtonFrame(cr, r, state & DFCS_PUSHED, false);
    } else if (state & DFCS_BUTTONRADIO) {
      RadioButton(cr, r.left, r.top + (r.bottom - r.top - 13) / 2, state & DFCS_CHECKED, disabled);
    } else {
      CheckBox(cr, r.left, r.top + (r.bottom - r.top - 13) / 2, state & DFCS_CHECKED, false, disabled);
    }
  } else if (type == DFC_SCROLL) {
    PushButtonFrame(cr, r, state & DFCS_PUSHED, false);
    const UINT kind = state & 0xF;
    Arrow(cr, r, kind == DFCS_SCROLLCOMBOBOX ? 1 : static_cast<int>(kind), disabled);
  }
}

}  // namespace classic
