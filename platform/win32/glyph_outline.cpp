#include "platform/win32/glyph_outline.h"

#include <cstring>

#include "platform/win32/error_codes.h"

namespace {

GlyphSource* g_source = nullptr;

GlyphSource& Source() { return g_source ? *g_source : SystemGlyphSource(); }

bool IsIdentity(const MAT2& m) {
  auto value = [](const FIXED& f) { return (static_cast<int32_t>(f.value) << 16) | f.fract; };
  return value(m.eM11) == 0x10000 && value(m.eM22) == 0x10000 && value(m.eM12) == 0 && value(m.eM21) == 0;
}

// 26.6 to 16.16; false when the value does not fit.
bool ToFixed(int32_t v26, int32_t* out) {
  const int64_t v = static_cast<int64_t>(v26) * 1024;
  if (v < INT32_MIN || v > INT32_MAX) return false;
  *out = static_cast<int32_t>(v);
  return true;
}

class RecordWriter {
 public:
  explicit RecordWriter(std::vector<BYTE>& out) : out_(out) {}
  void U16(uint16_t v) { Put(&v, 2); }
  void U32(uint32_t v) { Put(&v, 4); }
  bool Point(const QuadraticOutline::Point& p) {
    int32_t x = 0, y = 0;
    if (!ToFixed(p.x, &x) || !ToFixed(p.y, &y)) return false;
    Put(&x, 4);
    Put(&y, 4);
    return true;
  }
  size_t Size() const { return out_.size(); }
  void PatchU32(size_t at, uint32_t v) { std::memcpy(out_.data() + at, &v, 4); }

 private:
  void Put(const void* data, size_t n) {
    const BYTE* b = static_cast<const BYTE*>(data);
    out_.insert(out_.end(), b, b + n);
  }
  std::vector<BYTE>& out_;
};

// One contour's header and curve records.
bool EncodeContour(const std::vector<QuadraticOutline::Point>& pts, size_t first, size_t last, RecordWriter& w) {
  using Point = QuadraticOutline::Point;
  Point start{};
  size_t from = first, to = last;  // the points walked after the start
  bool walk = true;
  if (pts[first].onCurve) {
    start = pts[first];
    walk = first < last;
    from = first + 1;
  } else if (pts[last].onCurve) {
    start = pts[last];
    walk = first < last;
    to = last - 1;
  } else {
    start = {(pts[first].x + pts[last].x) / 2, (pts[first].y + pts[last].y) / 2, true};
  }

  const size_t header = w.Size();
  w.U32(0);
  w.U32(TT_POLYGON_TYPE);
  if (!w.Point(start)) return false;

  std::vector<Point> run;
  WORD runType = 0;
  auto flush = [&]() {
    if (run.empty()) return true;
    if (run.size() > 0xFFFF) return false;
    w.U16(runType);
    w.U16(static_cast<uint16_t>(run.size()));
    for (const Point& p : run)
      if (!w.Point(p)) return false;
    run.clear();
    return true;
  };
  auto add = [&](const Point& p) {
    if (p.onCurve) {
      if (runType == TT_PRIM_QSPLINE && !run.empty()) {
        run.push_back(p);
        return flush();
      }
      if (runType != TT_PRIM_LINE && !flush()) return false;
      runType = TT_PRIM_LINE;
    } else {
      if (runType != TT_PRIM_QSPLINE && !flush()) return false;
      runType = TT_PRIM_QSPLINE;
    }
    run.push_back(p);
    return true;
  };
  if (walk)
    for (size_t i = from; i <= to; ++i)
      if (!add(pts[i])) return false;
  // Back to the start: a curve ends there, a straight segment stays implicit.
  if (runType == TT_PRIM_QSPLINE && !run.empty()) {
    run.push_back(start);
    if (!flush()) return false;
  }
  if (!flush()) return false;
  w.PatchU32(header, static_cast<uint32_t>(w.Size() - header));
  return true;
}

}  // namespace

bool EncodeNativeOutline(const QuadraticOutline& outline, std::vector<BYTE>* records) {
  if (!records) return false;
  std::vector<BYTE> out;
  RecordWriter w(out);
  size_t first = 0;
  for (size_t last : outline.contourEnds) {
    if (last < first || last >= outline.points.size()) return false;
    if (!EncodeContour(outline.points, first, last, w)) return false;
    first = last + 1;
  }
  *records = std::move(out);
  return true;
}

GlyphSource* SetGlyphSource(GlyphSource* source) {
  GlyphSource* previous = g_source;
  g_source = source;
  return previous;
}

bool GlyphSourceTextMetrics(const LOGFONTA& font, TEXTMETRICA* out) { return out && Source().TextMetrics(font, out); }

DWORD GetGlyphOutlineA(HDC dc, UINT ch, UINT format, GLYPHMETRICS* metrics, DWORD size, LPVOID buffer,
                       const MAT2* matrix) {
  LOGFONTA font{};
  const UINT kind = format & ~GGO_UNHINTED;
  if (!metrics || !matrix || !IsIdentity(*matrix) || ch > 0xFF || (kind != GGO_NATIVE && kind != GGO_METRICS) ||
      !GetSelectedLogFont(dc, &font)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return GDI_ERROR;
  }
  GLYPHMETRICS gm{};
  std::vector<BYTE> records;
  if (!Source().GlyphOutline(font, static_cast<BYTE>(ch), &gm, &records)) return GDI_ERROR;
  *metrics = gm;
  if (kind == GGO_METRICS) return 0;
  const DWORD needed = static_cast<DWORD>(records.size());
  if (!buffer || size == 0) return needed;
  if (size < needed) return GDI_ERROR;
  if (needed) std::memcpy(buffer, records.data(), needed);
  return needed;
}
