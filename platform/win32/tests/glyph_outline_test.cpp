// Glyph outlines in the native layout: the encoding of quadratic outlines
// read back record by record, and the machine's TrueType fonts through the
// font calls.
#include "platform/win32/glyph_outline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Point = QuadraticOutline::Point;

// One decoded polygon: its start and its records as (type, points) in 26.6.
struct Curve {
  WORD type;
  std::vector<std::pair<int32_t, int32_t>> points;
  bool operator==(const Curve&) const = default;
};
struct Polygon {
  std::pair<int32_t, int32_t> start;
  std::vector<Curve> curves;
  bool operator==(const Polygon&) const = default;
};

int32_t I32(const BYTE* p) {
  int32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

// Reads the records back; every 16.16 value must be a whole 26.6 value.
std::vector<Polygon> Decode(const std::vector<BYTE>& records) {
  std::vector<Polygon> out;
  auto point = [](const BYTE* p) {
    EXPECT_EQ(I32(p) % 1024, 0);
    EXPECT_EQ(I32(p + 4) % 1024, 0);
    return std::make_pair(I32(p) / 1024, I32(p + 4) / 1024);
  };
  size_t at = 0;
  while (at < records.size()) {
    const uint32_t cb = static_cast<uint32_t>(I32(&records[at]));
    EXPECT_EQ(I32(&records[at + 4]), static_cast<int32_t>(TT_POLYGON_TYPE));
    EXPECT_GE(cb, 16u);
    EXPECT_LE(at + cb, records.size());
    if (cb < 16 || at + cb > records.size()) break;
    Polygon p{point(&records[at + 8]), {}};
    for (size_t r = at + 16; r < at + cb;) {
      WORD type, count;
      std::memcpy(&type, &records[r], 2);
      std::memcpy(&count, &records[r + 2], 2);
      Curve c{type, {}};
      for (WORD i = 0; i < count; ++i) c.points.push_back(point(&records[r + 4 + 8 * i]));
      p.curves.push_back(c);
      r += 4 + 8 * size_t{count};
    }
    out.push_back(p);
    at += cb;
  }
  return out;
}

TEST(NativeOutline, ContoursBecomeLineAndSplineRunsFromTheirStart) {
  constexpr bool on = true, off = false;
  struct Case {
    const char* what;
    std::vector<Point> points;
    std::vector<Polygon> expected;
  };
  const Case cases[] = {
      {"straight square: the segment back to the start stays implicit",
       {{0, 0, on}, {64, 0, on}, {64, 64, on}, {0, 64, on}},
       {{{0, 0}, {{TT_PRIM_LINE, {{64, 0}, {64, 64}, {0, 64}}}}}}},
      {"a curve back to the start is written out",
       {{0, 0, on}, {64, 0, on}, {64, 64, off}},
       {{{0, 0}, {{TT_PRIM_LINE, {{64, 0}}}, {TT_PRIM_QSPLINE, {{64, 64}, {0, 0}}}}}}},
      {"starting off the curve: the last point, on it, starts",
       {{0, 64, off}, {64, 64, on}, {64, 0, on}, {0, 0, on}},
       {{{0, 0}, {{TT_PRIM_QSPLINE, {{0, 64}, {64, 64}}}, {TT_PRIM_LINE, {{64, 0}}}}}}},
      {"all off the curve: the implied midpoint of last and first starts",
       {{-64, 0, off}, {0, 64, off}, {64, 0, off}, {0, -64, off}},
       {{{-32, -32}, {{TT_PRIM_QSPLINE, {{-64, 0}, {0, 64}, {64, 0}, {0, -64}, {-32, -32}}}}}}},
      {"each run of curve points ends at its on-curve point",
       {{0, 0, on}, {10, 20, off}, {20, 20, off}, {30, 0, on}, {40, -20, off}, {50, 0, on}, {60, 0, on}},
       {{{0, 0},
         {{TT_PRIM_QSPLINE, {{10, 20}, {20, 20}, {30, 0}}},
          {TT_PRIM_QSPLINE, {{40, -20}, {50, 0}}},
          {TT_PRIM_LINE, {{60, 0}}}}}}},
      {"negative coordinates keep their sign",
       {{-128, -640, on}, {-64, -640, on}, {-64, -1, on}},
       {{{-128, -640}, {{TT_PRIM_LINE, {{-64, -640}, {-64, -1}}}}}}},
      {"a single point is a header alone", {{5, 6, on}}, {{{5, 6}, {}}}},
  };
  for (const Case& c : cases) {
    QuadraticOutline outline;
    outline.points = c.points;
    outline.contourEnds = {c.points.size() - 1};
    std::vector<BYTE> records;
    ASSERT_TRUE(EncodeNativeOutline(outline, &records)) << c.what;
    EXPECT_EQ(Decode(records), c.expected) << c.what;
  }

  // Two contours: two polygons, each with its own byte count.
  QuadraticOutline two;
  two.points = {{0, 0, on}, {64, 0, on}, {0, 64, on}, {128, 0, on}, {192, 0, on}, {128, 64, on}};
  two.contourEnds = {2, 5};
  std::vector<BYTE> records;
  ASSERT_TRUE(EncodeNativeOutline(two, &records));
  EXPECT_EQ(records.size(), 2 * (16 + 4 + 2 * 8u));
  EXPECT_EQ(Decode(records).size(), 2u);

  // What 16.16 cannot hold, or contour ends out of order, is refused.
  QuadraticOutline wide;
  wide.points = {{0, 0, on}, {1 << 22, 0, on}};
  wide.contourEnds = {1};
  records = {1, 2, 3};
  EXPECT_FALSE(EncodeNativeOutline(wide, &records));
  EXPECT_EQ(records, (std::vector<BYTE>{1, 2, 3}));
  two.contourEnds = {5, 2};
  EXPECT_FALSE(EncodeNativeOutline(two, &records));
  two.contourEnds = {7};
  EXPECT_FALSE(EncodeNativeOutline(two, &records));
}

// A memory device context with a font of the face and height selected.
class FontContext {
 public:
  FontContext(const char* face, LONG height) {
    LOGFONTA f{};
    f.lfHeight = height;
    f.lfCharSet = DEFAULT_CHARSET;
    std::strcpy(f.lfFaceName, face);
    dc = CreateCompatibleDC(nullptr);
    font = CreateFontIndirectA(&f);
    previous = SelectObject(dc, font);
  }
  ~FontContext() {
    SelectObject(dc, previous);
    DeleteObject(font);
    DeleteDC(dc);
  }
  // The records of a character (the size asked first); GDI_ERROR answers
  // leave them empty.
  DWORD Outline(UINT ch, std::vector<BYTE>* records, GLYPHMETRICS* gm) const {
    const DWORD size = GetGlyphOutlineA(dc, ch, GGO_NATIVE, gm, 0, nullptr, &kIdentity);
    records->assign(size == GDI_ERROR ? 0 : size, 0);
    if (size == GDI_ERROR || size == 0) return size;
    return GetGlyphOutlineA(dc, ch, GGO_NATIVE, gm, size, records->data(), &kIdentity);
  }

  static constexpr MAT2 kIdentity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
  HDC dc = nullptr;
  HFONT font = nullptr;
  HGDIOBJ previous = nullptr;
};

int32_t MaxY(const std::vector<Polygon>& polygons) {
  int32_t top = INT32_MIN;
  for (const Polygon& p : polygons) {
    top = std::max(top, p.start.second);
    for (const Curve& c : p.curves)
      for (const auto& q : c.points) top = std::max(top, q.second);
  }
  return top;
}

TEST(TrueTypeFonts, ArialIsReadFromItsOutlinesAtTheCellHeight) {
  FontContext arial("Arial", 10000);
  TEXTMETRICA tm{};
  ASSERT_TRUE(GetTextMetricsA(arial.dc, &tm));
  // Liberation Sans: unitsPerEm 2048, win ascent 1854, descent 434, line gap
  // 67: the cell of 10000 is an em of 8951.
  EXPECT_EQ(tm.tmAscent, 8103);
  EXPECT_EQ(tm.tmDescent, 1897);
  EXPECT_EQ(tm.tmHeight, 10000);
  EXPECT_EQ(tm.tmInternalLeading, 1049);
  EXPECT_EQ(tm.tmExternalLeading, 293);
  EXPECT_EQ(tm.tmWeight, 400);

  std::vector<BYTE> records;
  GLYPHMETRICS gm{};
  const DWORD size = arial.Outline('B', &records, &gm);
  ASSERT_NE(size, GDI_ERROR);
  ASSERT_EQ(size, records.size());
  const std::vector<Polygon> b = Decode(records);
  EXPECT_EQ(b.size(), 3u);                                  // the outside and two counters
  EXPECT_NEAR(MaxY(b) / 64.0, 1409 * 10000.0 / 2288, 1.0);  // cap height, y up
  EXPECT_EQ(gm.gmCellIncX, 5970);                           // 1366 units
  EXPECT_GT(gm.gmBlackBoxY, 6000u);

  // A negative height is the em: font units at 2048.
  FontContext em("Arial", -2048);
  ASSERT_NE(em.Outline('B', &records, &gm), GDI_ERROR);
  EXPECT_EQ(gm.gmCellIncX, 1366);
  EXPECT_EQ(MaxY(Decode(records)), 1409 * 64);

  // A space has metrics and no records.
  gm = {};
  EXPECT_EQ(arial.Outline(' ', &records, &gm), 0u);
  EXPECT_EQ(gm.gmCellIncX, 2487);  // 569 units
}

TEST(TrueTypeFonts, BytesAreCodePage1250AndItsGapsAreNotdef) {
  FontContext arial("Arial", -2048);
  std::vector<BYTE> s, scaron, notdef, other;
  GLYPHMETRICS gm{};
  ASSERT_NE(arial.Outline('s', &s, &gm), GDI_ERROR);
  ASSERT_NE(arial.Outline(0x9A, &scaron, &gm), GDI_ERROR);  // s with caron
  EXPECT_EQ(Decode(scaron).size(), Decode(s).size() + 1);
  EXPECT_GT(MaxY(Decode(scaron)), MaxY(Decode(s)));
  for (UINT undefined : {0x83u, 0x88u, 0x90u, 0x98u}) {
    ASSERT_NE(arial.Outline(0x81, &notdef, &gm), GDI_ERROR);
    ASSERT_NE(arial.Outline(undefined, &other, &gm), GDI_ERROR);
    EXPECT_EQ(other, notdef) << undefined;
  }
  EXPECT_NE(notdef, s);
}

TEST(TrueTypeFonts, WhatTheCallsRefuse) {
  FontContext arial("Arial", 100);
  GLYPHMETRICS gm{};
  std::vector<BYTE> buffer(4096);
  const MAT2& id = FontContext::kIdentity;
  const DWORD size = GetGlyphOutlineA(arial.dc, 'A', GGO_NATIVE | GGO_UNHINTED, &gm, 0, nullptr, &id);
  ASSERT_NE(size, GDI_ERROR);
  ASSERT_GT(size, 16u);
  EXPECT_EQ(GetGlyphOutlineA(arial.dc, 'A', GGO_NATIVE, &gm, size - 1, buffer.data(), &id), GDI_ERROR);
  EXPECT_EQ(GetGlyphOutlineA(arial.dc, 'A', GGO_NATIVE, nullptr, 0, nullptr, &id), GDI_ERROR);
  EXPECT_EQ(GetGlyphOutlineA(arial.dc, 'A', GGO_NATIVE, &gm, 0, nullptr, nullptr), GDI_ERROR);
  const MAT2 twice = {{0, 2}, {0, 0}, {0, 0}, {0, 2}};
  EXPECT_EQ(GetGlyphOutlineA(arial.dc, 'A', GGO_NATIVE, &gm, 0, nullptr, &twice), GDI_ERROR);
  EXPECT_EQ(GetGlyphOutlineA(arial.dc, 'A', GGO_BITMAP, &gm, 0, nullptr, &id), GDI_ERROR);
  EXPECT_EQ(GetGlyphOutlineA(arial.dc, 0x141, GGO_NATIVE, &gm, 0, nullptr, &id), GDI_ERROR);
  EXPECT_EQ(GetGlyphOutlineA(nullptr, 'A', GGO_NATIVE, &gm, 0, nullptr, &id), GDI_ERROR);
  // Metrics alone.
  gm = {};
  EXPECT_EQ(GetGlyphOutlineA(arial.dc, 'A', GGO_METRICS, &gm, 0, nullptr, &id), 0u);
  EXPECT_GT(gm.gmCellIncX, 0);
}

// A source answering fixed records and metrics, failing where told.
class FedSource : public GlyphSource {
 public:
  bool TextMetrics(const LOGFONTA& font, TEXTMETRICA* out) override {
    *out = {};
    out->tmHeight = font.lfHeight;
    out->tmExternalLeading = 7;
    return true;
  }
  bool GlyphOutline(const LOGFONTA&, BYTE ch, GLYPHMETRICS* metrics, std::vector<BYTE>* records) override {
    if (ch == 'x') return false;
    *metrics = {};
    metrics->gmCellIncX = 42;
    *records = {1, 2, 3, 4};
    return true;
  }
};

TEST(TrueTypeFonts, AnInstalledSourceAnswersTheCalls) {
  FedSource fed;
  GlyphSource* previous = SetGlyphSource(&fed);
  {
    FontContext any("Whatever", 1234);
    TEXTMETRICA tm{};
    ASSERT_TRUE(GetTextMetricsA(any.dc, &tm));
    EXPECT_EQ(tm.tmHeight, 1234);
    EXPECT_EQ(tm.tmExternalLeading, 7);
    std::vector<BYTE> records;
    GLYPHMETRICS gm{};
    EXPECT_EQ(any.Outline('a', &records, &gm), 4u);
    EXPECT_EQ(records, (std::vector<BYTE>{1, 2, 3, 4}));
    EXPECT_EQ(gm.gmCellIncX, 42);
    EXPECT_EQ(any.Outline('x', &records, &gm), GDI_ERROR);
  }
  EXPECT_EQ(SetGlyphSource(previous), &fed);
}

}  // namespace
