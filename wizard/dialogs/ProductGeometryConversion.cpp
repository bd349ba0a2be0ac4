// A product's geometry chain into the preview: the shared chain reader with
// the product rules (every type, the kinds' treatment of "DEFPOINTS", the
// connection points, the kind-0 text alignment).
#include <cmath>
#include <cstring>
#include <new>

#include "objectgl/GLArrow.h"
#include "objectgl/GLContour.h"
#include "objectgl/GLPolygon.h"
#include "objectgl/GLSelectPoint.h"
#include "common/StringCompareIgnore.h"
#include "objectgl/preview/GLPreviewChainReader.h"
#include "wizard/dialogs/CViewJovGL.h"
#include "wizard/frame/controls/CSelPoint.h"

namespace {

constexpr size_t kLayerSize = 256;
constexpr uint32_t kDefaultColour = 7;
constexpr uint32_t kMarkerMaterial = 4;
constexpr double kMarkerSize = 8.0;
constexpr uint32_t kDisc = 32;
constexpr uint32_t kArrowMaterial = 1;
constexpr double kArrowLength = 20.0;

bool OnDefpoints(const char* layer) { return StringCompareIgnore(layer, "DEFPOINTS") == 0; }

}  // namespace

class ProductChainReader : public GLPreviewChainReader {
 public:
  ProductChainReader(CViewJovGL& view, uint32_t* counter)
      : GLPreviewChainReader(view.layer_), view_(view), kind_(view.kind_), counter_(counter) {}

 protected:
  bool Converts(const char* type) const override { return AllTypes(type); }

  uint32_t Colour(const resbuf* group62) const override {
    if (!group62) return kDefaultColour;
    const int16_t c = group62->value.i16;
    return c == 0 || c >= 255 ? kDefaultColour : static_cast<uint32_t>(static_cast<int32_t>(c));
  }

  // Kind 0 draws nothing of DEFPOINTS, kind 4 only its colour 7.
  bool Draws(const char*, const char* layer, uint32_t colour) const override {
    if (!OnDefpoints(layer)) return true;
    return kind_ != 0 && (kind_ != 4 || colour == kDefaultColour);
  }

  void AddLine(const GLVector& start, const GLVector& end, uint32_t colour) override {
    // Only a LINE (not a polyline's segment) can be a connection point.
    const bool connection = (kind_ == 1 || kind_ == 3 || kind_ == 4) && std::strcmp(Type(), "LINE") == 0 &&
                            OnDefpoints(Layer()) && colour == kDefaultColour;
    if (connection)
      view_.AddConnectionPoint(start, end, counter_);
    else
      view_.AddLine(start, end, static_cast<int32_t>(colour), 0);
  }
  void AddCircle(const GLVector& centre, double radius, uint32_t colour) override {
    view_.AddCircle(centre, &radius, static_cast<int32_t>(colour), 0);
  }
  void AddArc(const GLVector& centre, double radius, double start, double end, uint32_t colour) override {
    view_.AddArc(centre, &radius, &start, &end, static_cast<int32_t>(colour), 0);
  }
  void AddBulgeArc(const GLVector& start, const GLVector& end, double bulge, uint32_t colour) override {
    view_.AddBulgeArc(start, end, &bulge, static_cast<int32_t>(colour), 0);
  }
  void AddEllipse(const GLVector& centre, const GLVector& majorAxis, const GLVector& normal, double ratio,
                  double start, double end, uint32_t colour) override {
    view_.AddEllipse(centre, majorAxis, normal, &ratio, &start, &end, colour, 0);
  }
  void AddSolid(const GLVector& p1, const GLVector& p2, const GLVector& p3, const GLVector& p4,
                uint32_t colour) override {
    view_.AddSolid(p1, p2, p3, p4, colour, 0);
  }
  void AddText(const TextRead& t) override {
    double height = t.height;
    const uint32_t style = view_.TextStyleFor(&height);
    GLVector at = t.position;
    if (kind_ == 0)
      at = view_.AlignedTextPosition(style, height, t.text.c_str(), at, t.rotation, t.horizontal, t.vertical);
    const double angle = t.rotation;
    view_.AddText(style, t.text.c_str(), at, static_cast<int32_t>(t.colour), &angle, &height, 0);
  }
  void AddHatch(GLArray<GLContour*>& contours, int32_t colour) override {
    // A hatch is not made by an adder: 255 stays, and 7 is turned to black
    // on white before the kind rules see it.
    if (colour == static_cast<int32_t>(kDefaultColour) && view_.GetBackground() == 1) colour = 0;
    if (!Draws("HATCH", Layer(), static_cast<uint32_t>(colour))) {
      GLPreviewChainReader::AddHatch(contours, colour);
      return;
    }
    auto* polygon = new GLPolygon(static_cast<uint32_t>(colour));
    for (GLContour* c : contours) polygon->AddContour(c);
    contours.RemoveAll();
    if (!view_.AddEntity(polygon)) delete polygon;
  }

 private:
  CViewJovGL& view_;
  uint32_t kind_;
  uint32_t* counter_;
};

void CViewJovGL::BuildPreviewFromDxf(resbuf** cursor, uint32_t* counter) {
  // The layer of the entity being read, kept for the view's life.
  if (!layer_) layer_ = new char[kLayerSize]();
  uint32_t own = 1;
  ProductChainReader reader(*this, counter ? counter : &own);
  reader.ReadEntity(cursor);
}

void CViewJovGL::AddConnectionPoint(GLVector start, const GLVector& end, uint32_t* counter) {
  auto* point = new (std::nothrow) CSelPoint;
  if (!point) return;
  // A line of no length points nowhere: along X rather than at NaN.
  point->angle = GLAxisX.GetOrientedAngle(end - start, GLAxisZ);
  if (!std::isfinite(point->angle)) point->angle = 0.0;
  if (kind_ == 1) {
    GLVector at = start;
    at.z = 1.0;
    point->marker = new GLSelectPoint(at, kMarkerMaterial, &kMarkerSize, kDisc, GLAxisX, GLAxisY, GLAxisZ);
    point->marker->SetIncludeInExtents(true);
  } else {
    start.z = 1.0;
    point->arrow =
        new GLArrow(start, kArrowMaterial, &kArrowLength, GLAxisX, GLAxisY, GLAxisZ, &point->angle, 1);
    point->marker = new GLSelectPoint(start, kMarkerMaterial, &kMarkerSize, kDisc, GLAxisX, GLAxisY, GLAxisZ);
    point->marker->SetHidden(true);
  }
  point->position = start;
  point->id = (*counter)++;
  points_.AddTail(point);
}
