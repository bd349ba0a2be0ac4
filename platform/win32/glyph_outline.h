// Glyph outlines and text metrics of outline fonts. GetGlyphOutlineA answers
// in the GGO_NATIVE layout: per contour a TTPOLYGONHEADER, then its straight
// runs as TT_PRIM_LINE and its quadratic runs as TT_PRIM_QSPLINE records,
// coordinates in 16.16 fixed point, y up from the baseline. Characters are
// code page 1250 bytes.
//
// The answers come from a glyph source: the machine's TrueType fonts
// (FreeType, matched by fontconfig) unless a test installs its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/win32/gdi.h"
#include "platform/win32/geometry.h"
#include "platform/win32/win32_types.h"

constexpr UINT GGO_METRICS = 0;
constexpr UINT GGO_BITMAP = 1;
constexpr UINT GGO_NATIVE = 2;
constexpr UINT GGO_BEZIER = 3;
constexpr UINT GGO_UNHINTED = 0x0100;

// LOGFONTA lfQuality
constexpr BYTE DEFAULT_QUALITY = 0;
constexpr BYTE PROOF_QUALITY = 2;

constexpr WORD TT_PRIM_LINE = 1;
constexpr WORD TT_PRIM_QSPLINE = 2;
constexpr WORD TT_PRIM_CSPLINE = 3;
constexpr DWORD TT_POLYGON_TYPE = 24;

struct FIXED {
  WORD fract;
  short value;
};
struct MAT2 {
  FIXED eM11;
  FIXED eM12;
  FIXED eM21;
  FIXED eM22;
};
struct POINTFX {
  FIXED x;
  FIXED y;
};
struct TTPOLYCURVE {
  WORD wType;
  WORD cpfx;
  POINTFX apfx[1];
};
struct TTPOLYGONHEADER {
  DWORD cb;
  DWORD dwType;
  POINTFX pfxStart;
};
struct GLYPHMETRICS {
  UINT gmBlackBoxX;
  UINT gmBlackBoxY;
  POINT gmptGlyphOrigin;
  short gmCellIncX;
  short gmCellIncY;
};

static_assert(sizeof(TTPOLYGONHEADER) == 16 && sizeof(POINTFX) == 8 && sizeof(GLYPHMETRICS) == 20,
              "the records' sizes");

// GGO_NATIVE (GGO_UNHINTED may be added) or GGO_METRICS of the font selected
// into dc, with the identity matrix only. Without a buffer (or with size 0)
// the answer is the byte count the records need; a blank glyph (a space)
// answers 0 with its metrics. GDI_ERROR for a bad device context, a missing
// metrics or matrix pointer, another format or matrix, a character beyond
// one byte, a buffer too small, or a glyph that cannot be read.
DWORD GetGlyphOutlineA(HDC dc, UINT ch, UINT format, GLYPHMETRICS* metrics, DWORD size, LPVOID buffer,
                       const MAT2* matrix);

// What the font calls read for a logical font.
class GlyphSource {
 public:
  virtual ~GlyphSource() = default;
  // False when no font matches.
  virtual bool TextMetrics(const LOGFONTA& font, TEXTMETRICA* out) = 0;
  // One character's metrics and its records (none for a blank glyph); false
  // when its outline cannot be read.
  virtual bool GlyphOutline(const LOGFONTA& font, BYTE ch, GLYPHMETRICS* metrics, std::vector<BYTE>* records) = 0;
};

// The machine's TrueType fonts: the face name through fontconfig's aliases
// ("Arial" finds Liberation Sans), fonts without TrueType outlines skipped.
GlyphSource& SystemGlyphSource();
// Installs the source every later call reads (null: the system's); returns
// the one it replaces.
GlyphSource* SetGlyphSource(GlyphSource* source);
// The metrics of the font through the installed source.
bool GlyphSourceTextMetrics(const LOGFONTA& font, TEXTMETRICA* out);

// A quadratic outline in 26.6 fixed point, y up: points with their on-curve
// flags, and the index of each contour's last point, ascending.
struct QuadraticOutline {
  struct Point {
    int32_t x;
    int32_t y;
    bool onCurve;
  };
  std::vector<Point> points;
  std::vector<size_t> contourEnds;
};

// The GGO_NATIVE records of an outline. A contour starts at its first point
// when that is on the curve, else at the point that closes it (its last
// point when on the curve, else the midpoint of its last and first). A
// straight segment back to the start stays implicit. False (records
// untouched) when a coordinate does not fit 16.16 or a contour end is out of
// order.
bool EncodeNativeOutline(const QuadraticOutline& outline, std::vector<BYTE>* records);
