#include "objectgl/GLTextStyle.h"

#include <cstring>
#include <vector>

namespace {

double Value(const double* v) { return v ? *v : 0.0; }

int32_t Int32At(const BYTE* p) {
  int32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

uint16_t U16At(const BYTE* p) {
  uint16_t v;
  std::memcpy(&v, p, 2);
  return v;
}

struct FixedPoint {
  int32_t x = 0, y = 0;  // 16.16
};

FixedPoint PointAt(const BYTE* p) { return {Int32At(p), Int32At(p + 4)}; }

GLVector ToUnits(const FixedPoint& p) { return GLVector(p.x / 65536.0, p.y / 65536.0, 0.0); }

// The quadratic curve p0, p1, p2 in two steps of forward differencing in
// integers (1/64 units): its midpoint and its end, in whole units.
void AddQuadratic(GLContour& contour, const FixedPoint& p0, const FixedPoint& p1, const FixedPoint& p2) {
  constexpr int L = 1;
  auto axis = [](int32_t a0, int32_t a1, int32_t a2, int64_t* pos, int64_t* d, int64_t* dd) {
    const int64_t v0 = a0 >> 10, v1 = a1 >> 10, v2 = a2 >> 10;
    const int64_t a = v0 - 2 * v1 + v2;
    *d = a - (v0 - v1) * (int64_t{1} << (L + 1));
    *dd = 2 * a;
    *pos = v0 * (int64_t{1} << (2 * L));
  };
  int64_t px, dx, ddx, py, dy, ddy;
  axis(p0.x, p1.x, p2.x, &px, &dx, &ddx);
  axis(p0.y, p1.y, p2.y, &py, &dy, &ddy);
  constexpr int64_t h = int64_t{1} << (2 * L - 1);
  auto whole = [](int64_t p) { return ((((p + h) >> (2 * L)) + 3) >> 3) >> 3; };
  for (int step = 0; step < (1 << L); ++step) {
    px += dx;
    py += dy;
    contour.AddPoint(GLVector(static_cast<double>(whole(px)), static_cast<double>(whole(py)), 0.0));
    dx += ddx;
    dy += ddy;
  }
}

// One polygon's curve records, from `at` to `end`, into the contour.
void ParseCurves(const BYTE* at, const BYTE* end, FixedPoint last, GLContour& contour) {
  while (end - at >= 4) {
    const uint16_t type = U16At(at), count = U16At(at + 2);
    const BYTE* points = at + 4;
    if (static_cast<size_t>(end - points) < size_t{count} * 8) break;
    if (type == TT_PRIM_LINE) {
      for (uint16_t i = 0; i < count; ++i) contour.AddPoint(ToUnits(PointAt(points + 8 * i)));
    } else if (type == TT_PRIM_QSPLINE) {
      FixedPoint p0 = last;
      for (uint16_t i = 0; i < count;) {
        const FixedPoint p1 = PointAt(points + 8 * i);
        ++i;
        FixedPoint p2;
        if (i == count - 1) {
          p2 = PointAt(points + 8 * i);
          ++i;
        } else if (i < count) {
          const FixedPoint next = PointAt(points + 8 * i);
          p2 = {static_cast<int32_t>((int64_t{p1.x} + next.x) / 2), static_cast<int32_t>((int64_t{p1.y} + next.y) / 2)};
        } else {
          p2 = p1;  // a lone point: the curve ends on it
        }
        AddQuadratic(contour, p0, p1, p2);
        p0 = p2;
      }
    }
    if (count) last = PointAt(points + 8 * (count - 1));
    at = points + size_t{count} * 8;
  }
}

}  // namespace

GLTextStyle::GLTextStyle() {
  HDC screen = GetDC(nullptr);
  dc_ = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  GetObjectA(GetStockObject(SYSTEM_FONT), sizeof(LOGFONTA), &logFont_);
  logFont_.lfHeight = static_cast<LONG>(kFontUnits);
  logFont_.lfWidth = 0;
  logFont_.lfWeight = 0;
  logFont_.lfQuality = PROOF_QUALITY;
  CreateFont();
}

GLTextStyle::~GLTextStyle() {
  if (font_) DeleteObject(font_);
  if (dc_) DeleteDC(dc_);
}

void GLTextStyle::CreateFont() {
  if (font_) DeleteObject(font_);
  font_ = CreateFontIndirectA(&logFont_);
  HGDIOBJ previous = SelectObject(dc_, font_);
  if (!GetTextMetricsA(dc_, &metrics_)) metrics_ = {};
  if (previous) SelectObject(dc_, previous);
}

void GLTextStyle::SetFaceName(const char* face, uint32_t, uint32_t) {
  std::memset(logFont_.lfFaceName, 0, sizeof logFont_.lfFaceName);
  if (face) std::strncpy(logFont_.lfFaceName, face, LF_FACESIZE - 1);
  CreateFont();
}

void GLTextStyle::LoadGlyph(uint8_t ch) {
  static const MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
  if (!glyphMetrics_[ch]) glyphMetrics_[ch] = std::make_unique<GLYPHMETRICS>();
  GLYPHMETRICS* gm = glyphMetrics_[ch].get();
  HGDIOBJ previous = SelectObject(dc_, font_);
  const DWORD size = GetGlyphOutlineA(dc_, ch, GGO_NATIVE, gm, 0, nullptr, &identity);
  std::vector<BYTE> buffer;
  const bool read = size != GDI_ERROR && (buffer.resize(size), true) &&
                    GetGlyphOutlineA(dc_, ch, GGO_NATIVE, gm, size, size ? buffer.data() : nullptr, &identity) == size;
  if (previous) SelectObject(dc_, previous);
  if (!read) {
    // Tried again on the next request; nothing of this attempt is used.
    *gm = {};
    return;
  }
  if (!contours_[ch]) contours_[ch] = std::make_unique<ContourList>();
  ContourList& list = *contours_[ch];
  const BYTE* at = buffer.data();
  const BYTE* const end = at + size;
  while (end - at >= static_cast<ptrdiff_t>(sizeof(TTPOLYGONHEADER))) {
    const DWORD cb = static_cast<DWORD>(Int32At(at));
    const DWORD type = static_cast<DWORD>(Int32At(at + 4));
    if (cb < sizeof(TTPOLYGONHEADER) || cb > static_cast<size_t>(end - at)) break;
    if (type == TT_POLYGON_TYPE) {
      const FixedPoint start = PointAt(at + 8);
      auto* contour = new GLContour;
      ParseCurves(at + sizeof(TTPOLYGONHEADER), at + cb, start, *contour);
      contour->AddPoint(ToUnits(start));
      list.Add(contour);
    }
    at += cb;
  }
}

const GLTextStyle::ContourList* GLTextStyle::Contours(uint8_t ch) {
  if (!contours_[ch]) LoadGlyph(ch);
  return contours_[ch].get();
}

GLMatrix GLTextStyle::Placement(uint8_t ch, double* advance, const GLMatrix& m, const GLVector& offset,
                                double height) const {
  if (advance) {
    const GLYPHMETRICS* gm = glyphMetrics_[ch].get();
    *advance = gm ? gm->gmCellIncX / (kFontUnits / height) : 0.0;
  }
  GLMatrix placement;
  placement.SetScaleX(height / kFontUnits);
  placement.SetScaleY(height / kFontUnits);
  GLMatrix move;
  move.SetTranslation(offset);
  placement *= move;
  placement *= m;
  return placement;
}

void GLTextStyle::GetCharFaces(GLFacesArray& out, uint8_t ch, double* advance, const GLMatrix& m,
                               const GLVector& offset, const double* height) {
  const ContourList* contours = Contours(ch);
  if (contours && !faces_[ch]) {
    faces_[ch] = std::make_unique<GLFacesArray>(*contours);
    ++tessellations_;
  }
  const GLMatrix placement = Placement(ch, advance, m, offset, Value(height));
  if (!faces_[ch]) return;
  for (const GLFaces* f : *faces_[ch]) {
    auto* copy = new GLFaces(*f);
    copy->Transform(placement);
    out.Add(copy);
  }
}

uint32_t GLTextStyle::GetCharContours(GLArray<GLContour*>& out, uint8_t ch, double* advance, const GLMatrix& m,
                                      const GLVector& offset, const double* height) {
  const ContourList* contours = Contours(ch);
  const GLMatrix placement = Placement(ch, advance, m, offset, Value(height));
  if (!contours) return 0;
  for (const GLContour* c : *contours) {
    auto* copy = new GLContour(*c);
    copy->Transform(placement);
    out.Add(copy);
  }
  return contours->GetCount();
}

void GLTextStyle::GetScaledExternalLeading(const double* height, double* out) const {
  if (out) *out = metrics_.tmExternalLeading / (kFontUnits / Value(height));
}

void GLTextStyle::GetScaledMetrics(const double* height, GLTextMetrics* out) const {
  if (!out) return;
  const double d = kFontUnits / Value(height);
  out->height = metrics_.tmHeight / d;
  out->ascent = metrics_.tmAscent / d;
  out->descent = metrics_.tmDescent / d;
  out->internalLeading = metrics_.tmInternalLeading / d;
  out->externalLeading = metrics_.tmExternalLeading / d;
  out->aveCharWidth = metrics_.tmAveCharWidth / d;
  out->maxCharWidth = metrics_.tmMaxCharWidth / d;
  out->weight = metrics_.tmWeight / d;
  out->italic = metrics_.tmItalic != 0;
  out->underlined = metrics_.tmUnderlined != 0;
  out->struckOut = metrics_.tmStruckOut != 0;
  out->firstChar = metrics_.tmFirstChar;
  out->lastChar = metrics_.tmLastChar;
  out->defaultChar = metrics_.tmDefaultChar;
  out->breakChar = metrics_.tmBreakChar;
  out->pitchAndFamily = metrics_.tmPitchAndFamily;
  out->charSet = metrics_.tmCharSet;
}

void GLTextStyle::GetCharBox(uint8_t ch, GLExtents* io) {
  const ContourList* contours = Contours(ch);
  if (!contours || !io) return;
  for (const GLContour* c : *contours)
    for (const GLVector& p : c->GetPoints()) io->AddPoint(p);
}

void GLTextStyle::GetCharExtents(const double* height, uint8_t ch, GLExtents* out) {
  if (!out) return;
  GetCharBox(ch, out);
  GLMatrix scale;
  scale.SetScale(Value(height) / kFontUnits);
  out->Transform(scale);
}

void GLTextStyle::GetTextExtents(const double* height, const char* text, GLExtents* out) {
  if (!out) return;
  GLExtents glyphs;
  bool first = true;
  double advance = 0.0;
  for (const char* c = text; c && *c; ++c) {
    const auto ch = static_cast<uint8_t>(*c);
    GetCharBox(ch, &glyphs);
    if (!glyphs.IsValid()) continue;
    if (const GLYPHMETRICS* gm = glyphMetrics_[ch].get()) advance = gm->gmCellIncX;
    GLVector lo = glyphs.Min(), hi = glyphs.Max();
    lo.x = 0.0;
    hi.x = advance;
    if (first) {
      out->Reset();
      first = false;
    } else {
      lo.x += out->Max().x;
      hi.x += out->Max().x;
    }
    out->AddPoint(lo);
    out->AddPoint(hi);
  }
  GLMatrix scale;
  scale.SetScale(Value(height) / kFontUnits);
  out->Transform(scale);
}
