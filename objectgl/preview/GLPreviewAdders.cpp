// The steps every adder of a preview shares: the selection name before the
// entity, the colour rule, line widths and transforms, and text styles
// sized by their capital B.
#include <cmath>
#include <numbers>

#include "objectgl/GLContour.h"
#include "objectgl/GLEllipse.h"
#include "objectgl/GLEntity.h"
#include "objectgl/GLExtents.h"
#include "objectgl/GLPolygon.h"
#include "objectgl/GLScene.h"
#include "objectgl/GLSelectPoint.h"
#include "objectgl/GLText.h"
#include "objectgl/GLTextStyle.h"
#include "objectgl/preview/GLPreviewControl.h"

namespace {

constexpr uint32_t kNoName = 0xFFFFFFFF;
constexpr uint32_t kDefaultColour = 7;
constexpr uint32_t kBlack = 0;
constexpr uint32_t kEllipseSegments = 64;

}  // namespace

void GLPreviewControl::AddNameMarker(uint32_t nameId) {
  if (nameId == 0 || !scene_) return;
  // A negative signed id ends the group before it without opening one.
  if (rules_.signedNames && static_cast<int32_t>(nameId) < 0) nameId = kNoName;
  // One for nearly every entity: made in the scene's own room.
  scene_->AddEntity(scene_->MakeEntity<GLName>(nameId));
}

uint32_t GLPreviewControl::AdderColour(uint32_t colour) const {
  const bool outside = rules_.keepColour255 ? colour == 0 || colour > 255
                                            : static_cast<int32_t>(colour) < 1 || static_cast<int32_t>(colour) >= 255;
  if (outside) colour = kDefaultColour;
  // Default-coloured geometry stays visible on white.
  if (colour == kDefaultColour && backgroundScheme_ == 1) colour = kBlack;
  return colour;
}

bool GLPreviewControl::AddCurve(GLEntity* curve, float normalWidth, const GLMatrix* m1, const GLMatrix* m2) {
  if (!scene_) {
    delete curve;
    return false;
  }
  if (normalWidth > 0.0f) curve->SetLineWidth(normalWidth);
  if (rules_.curveHighlightWidth > 0.0f) curve->SetHighlightLineWidth(rules_.curveHighlightWidth);
  if (m2) curve->Transform(*m2);
  if (m1) curve->Transform(*m1);
  return AddEntity(curve);
}

bool GLPreviewControl::AddTextEntity(GLText** out, uint32_t styleIndex, const char* text, const GLVector& position,
                                     uint32_t colour, const double* angle, const double* height, uint32_t nameId) {
  if (out) *out = nullptr;
  if (!scene_) return false;
  AddNameMarker(nameId);
  auto* label = new GLText(text, AdderColour(colour));
  label->SetStyleIndex(styleIndex);
  if (height) label->SetHeight(*height);
  label->SetPosition(position);
  if (angle) label->SetAngle(*angle);
  if (!AddEntity(label)) {
    delete label;
    return false;
  }
  if (out) *out = label;
  return true;
}

void GLPreviewControl::ScaleToCapitalB(uint32_t styleIndex, double* height) {
  if (!scene_ || !height) return;
  GLTextStyle* style = styleIndex < scene_->GetTextStyleCount() ? scene_->GetTextStyle(styleIndex) : nullptr;
  if (!style) return;
  GLTextMetrics metrics;
  style->GetScaledMetrics(height, &metrics);
  GLExtents box;
  style->GetCharExtents(&metrics.height, 'B', &box);
  const double b = box.IsValid() ? box.Max().y - box.Min().y : 0.0;
  // A face without a B (or a zero height) gives nothing to scale by: the
  // height stays, where a factor of 0 would make every text vanish.
  if (!(b > 0.0) || !std::isfinite(metrics.height / b)) return;
  *height *= metrics.height / b;
}

uint32_t GLPreviewControl::AddTextStyle(double* height, const char* faceName) {
  if (!scene_) return 0;
  auto* style = new GLTextStyle;
  style->SetFaceName(faceName);
  const uint32_t index = scene_->AddTextStyle(style);
  ScaleToCapitalB(index, height);
  return index;
}

uint32_t GLPreviewControl::TextStyleFor(double* height) {
  if (!scene_) return 0;
  if (scene_->GetTextStyleCount() == 0) return AddTextStyle(height, "Arial");
  ScaleToCapitalB(0, height);
  return 0;
}

bool GLPreviewControl::AddEllipse(const GLVector& centre, const GLVector& majorAxis, const GLVector& normal,
                                  const double* ratio, const double* start, const double* end, uint32_t colour,
                                  uint32_t nameId) {
  if (!scene_) return false;
  AddNameMarker(nameId);
  return AddCurve(new GLEllipse(centre, majorAxis, normal, ratio, AdderColour(colour), start, end, kEllipseSegments),
                  0.0f, nullptr, nullptr);
}

bool GLPreviewControl::AddSolid(const GLVector& p1, const GLVector& p2, const GLVector& p3, const GLVector& p4,
                                uint32_t colour, uint32_t nameId) {
  if (!scene_) return false;
  AddNameMarker(nameId);
  auto* contour = new GLContour;
  // A SOLID's third and fourth corners are crossed: the outline goes 1, 2, 4, 3.
  for (const GLVector* p : {&p1, &p2, &p4, &p3}) contour->AddPoint(*p);
  auto* solid = new GLPolygon(AdderColour(colour));
  solid->AddContour(contour);
  if (AddEntity(solid)) return true;
  delete solid;
  return false;
}

bool GLPreviewControl::AddSelectPoint(const GLVector& position, uint32_t colour, uint32_t size, uint32_t nameId,
                                      uint32_t style, bool hidden) {
  if (!scene_) return false;
  AddNameMarker(nameId);
  const double pixels = size;
  auto* marker = new GLSelectPoint(position, AdderColour(colour), &pixels, style, GLAxisX, GLAxisY, GLAxisZ);
  marker->SetHidden(hidden);
  return AddCurve(marker, 0.0f, nullptr, nullptr);
}

GLVector GLPreviewControl::AlignedTextPosition(uint32_t styleIndex, double height, const char* text,
                                               const GLVector& at, double rotation, int horizontal, int vertical) {
  GLTextStyle* style = scene_ && styleIndex < scene_->GetTextStyleCount() ? scene_->GetTextStyle(styleIndex) : nullptr;
  if (!style) return at;
  double alongFactor = horizontal == 1 ? 0.5 : horizontal == 2 ? 1.0 : 0.0;
  double acrossFactor = vertical == 1 ? -0.25 : vertical == 2 ? 0.5 : vertical == 3 ? 1.0 : 0.0;
  if (vertical == 0 && horizontal == 4) alongFactor = acrossFactor = 0.5;
  GLExtents box;
  style->GetTextExtents(&height, text, &box);
  if (!box.IsValid()) return at;
  const GLVector size = box.Max() - box.Min();
  const double across = rotation + std::numbers::pi / 2;
  GLVector along(std::cos(rotation), std::sin(rotation), 0.0), up(std::cos(across), std::sin(across), 0.0);
  along *= size.x * alongFactor;
  up *= size.y * acrossFactor;
  return at - along - up;
}
