// A glyph's outline records (GGO_NATIVE) as a font would answer them: the
// input is the records of character 'A', fed through a glyph source. The
// parse stays within the records, gives at most one contour per polygon
// header and finite points within 16.16's range; the contours written back
// as straight runs parse to the same points; the triangles tessellated
// from them lie within the glyph's box, in whole triangles, fans and strips.
#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "objectgl/GLTextStyle.h"

namespace {

class FedGlyphs : public GlyphSource {
 public:
  bool TextMetrics(const LOGFONTA&, TEXTMETRICA* out) override {
    *out = {};
    out->tmHeight = 10000;
    return true;
  }
  bool GlyphOutline(const LOGFONTA&, BYTE ch, GLYPHMETRICS* metrics, std::vector<BYTE>* records) override {
    *metrics = {};
    metrics->gmCellIncX = 5000;
    const auto it = glyphs.find(ch);
    *records = it == glyphs.end() ? std::vector<BYTE>() : it->second;
    return true;
  }
  std::map<BYTE, std::vector<BYTE>> glyphs;
};

FedGlyphs& Source() {
  static FedGlyphs* source = new FedGlyphs;
  return *source;
}

template <class T>
void Put(std::vector<BYTE>& out, T value) {
  const auto* bytes = reinterpret_cast<const BYTE*>(&value);
  out.insert(out.end(), bytes, bytes + sizeof value);
}

// The contours as polygons of straight runs: false when a point has no
// 16.16 form.
bool AsStraightRecords(const GLArray<GLContour*>& contours, std::vector<BYTE>& out) {
  auto fixed = [](double v, int32_t& f) {
    const double scaled = v * 65536.0;
    if (!(scaled >= INT32_MIN && scaled <= INT32_MAX) || scaled != std::trunc(scaled)) return false;
    f = static_cast<int32_t>(scaled);
    return true;
  };
  for (const GLContour* c : contours) {
    const GLVectorArray& points = c->GetPoints();
    const uint32_t n = points.GetCount();
    int32_t sx, sy;
    if (n == 0 || !fixed(points[n - 1].x, sx) || !fixed(points[n - 1].y, sy)) return false;
    std::vector<BYTE> polygon;
    for (uint32_t i = 0; i + 1 < n;) {
      const uint32_t run = std::min<uint32_t>(n - 1 - i, 0xFFFF);
      Put<uint16_t>(polygon, TT_PRIM_LINE);
      Put<uint16_t>(polygon, static_cast<uint16_t>(run));
      for (uint32_t k = 0; k < run; ++k, ++i) {
        int32_t x, y;
        if (!fixed(points[i].x, x) || !fixed(points[i].y, y)) return false;
        Put(polygon, x);
        Put(polygon, y);
      }
    }
    Put<uint32_t>(out, static_cast<uint32_t>(16 + polygon.size()));
    Put<uint32_t>(out, TT_POLYGON_TYPE);
    Put(out, sx);
    Put(out, sy);
    out.insert(out.end(), polygon.begin(), polygon.end());
  }
  return true;
}

std::vector<GLVector> Points(const GLArray<GLContour*>& contours) {
  std::vector<GLVector> out;
  for (const GLContour* c : contours)
    for (const GLVector& p : c->GetPoints()) out.push_back(p);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  SetGlyphSource(&Source());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Source().glyphs['A'].assign(data, data + size);
  GLTextStyle style;
  style.LoadGlyph('A');
  const GLArray<GLContour*>* contours = style.GetContours('A');
  FUZZ_CHECK(contours, "a glyph read gave no contour list");
  FUZZ_CHECK(contours->GetCount() <= size / 16, "more contours than polygon headers");
  GLExtents box;
  for (const GLVector& p : Points(*contours)) {
    FUZZ_CHECK(std::isfinite(p.x) && std::isfinite(p.y) && p.z == 0.0, "a point is not a plane point");
    FUZZ_CHECK(std::fabs(p.x) <= 32769.0 && std::fabs(p.y) <= 32769.0, "a point beyond 16.16's range");
    box.AddPoint(p);
  }

  std::vector<BYTE> straight;
  if (AsStraightRecords(*contours, straight)) {
    Source().glyphs['B'] = straight;
    GLTextStyle again;
    again.LoadGlyph('B');
    FUZZ_CHECK(again.GetContours('B') && again.GetContours('B')->GetCount() == contours->GetCount() &&
                   Points(*again.GetContours('B')) == Points(*contours),
               "the contours written as straight runs parse otherwise");
  }

  GLFacesArray faces;
  double advance = 0;
  const double height = GLTextStyle::kFontUnits;
  style.GetCharFaces(faces, 'A', &advance, GLMatrix(), GLVector(), &height);
  FUZZ_CHECK(advance == 5000.0, "the advance is not the glyph's");
  const double slack = 1e-6 * (1.0 + std::fabs(box.Max().x - box.Min().x) + std::fabs(box.Max().y - box.Min().y));
  for (const GLFaces* f : faces) {
    const uint32_t n = f->GetPoints().GetCount();
    FUZZ_CHECK(f->GetType() == GL_TRIANGLES ? n % 3 == 0 : n >= 3, "a primitive of broken triangles");
    for (const GLVector& p : f->GetPoints())
      FUZZ_CHECK(box.IsValid() && p.x >= box.Min().x - slack && p.x <= box.Max().x + slack &&
                     p.y >= box.Min().y - slack && p.y <= box.Max().y + slack,
                 "a triangle's corner lies outside the glyph");
  }
  GLExtents text;
  style.GetTextExtents(&height, "AA", &text);
  return 0;
}
