#include "objectgl/preview/GLPreviewChainReader.h"

#include <cstring>

#include "objectgl/GLContour.h"

namespace {

constexpr size_t kLayerSize = 256;
constexpr size_t kTextLength = 511;

bool StartsEntity(const resbuf* node) { return node->code == 0 && node->value.text; }

// The nodes of the entity: up to, not including, the next code-0 node.
bool InEntity(const resbuf* node) { return node && node->code != 0; }

// The entity's own fields: up to its extended data (-3), which holds no
// geometry, or the next entity.
bool InFields(const resbuf* node) { return node && node->code != 0 && node->code != -3; }

// The types a converter here reads, told by one comparison after the first
// letter: an entity's type is asked for several times.
enum class Kind { kNone, kLine, kCircle, kArc, kEllipse, kPolyline, kHatch, kSolid, kText, kAttdef };

Kind KindOf(const char* type) {
  auto is = [type](const char* name, Kind kind) { return std::strcmp(type, name) == 0 ? kind : Kind::kNone; };
  switch (type[0]) {
    case 'L': return type[1] == 'I' ? is("LINE", Kind::kLine) : is("LWPOLYLINE", Kind::kPolyline);
    case 'C': return is("CIRCLE", Kind::kCircle);
    case 'A': return type[1] == 'R' ? is("ARC", Kind::kArc) : is("ATTDEF", Kind::kAttdef);
    case 'E': return is("ELLIPSE", Kind::kEllipse);
    case 'H': return is("HATCH", Kind::kHatch);
    case 'S': return is("SOLID", Kind::kSolid);
    case 'T': return is("TEXT", Kind::kText);
    default: return Kind::kNone;
  }
}

}  // namespace

void GLPreviewChainReader::ReadAll(resbuf** cursor) {
  while (cursor && *cursor) ReadEntity(cursor);
}

bool GLPreviewChainReader::Converts(const char* type) const {
  switch (KindOf(type)) {
    case Kind::kLine:
    case Kind::kCircle:
    case Kind::kArc:
    case Kind::kPolyline:
    case Kind::kText: return true;
    default: return false;
  }
}

bool GLPreviewChainReader::AllTypes(const char* type) { return KindOf(type) != Kind::kNone; }

void GLPreviewChainReader::AddEllipse(const GLVector&, const GLVector&, const GLVector&, double, double, double,
                                      uint32_t) {}

void GLPreviewChainReader::AddSolid(const GLVector&, const GLVector&, const GLVector&, const GLVector&, uint32_t) {}

void GLPreviewChainReader::AddHatch(GLArray<GLContour*>& contours, int32_t) {
  for (GLContour* c : contours) delete c;
  contours.RemoveAll();
}

void GLPreviewChainReader::ReadEntity(resbuf** cursor) {
  resbuf* node = *cursor;
  if (!node) return;
  if (!StartsEntity(node)) {
    *cursor = node->next;
    return;
  }
  ReadFields(cursor);
  while (InEntity(*cursor)) *cursor = (*cursor)->next;
}

void GLPreviewChainReader::ReadFirst(const resbuf* chain) {
  resbuf* cursor = const_cast<resbuf*>(chain);
  while (cursor && !StartsEntity(cursor)) cursor = cursor->next;
  if (cursor) ReadFields(&cursor);
}

void GLPreviewChainReader::ReadFields(resbuf** cursor) {
  const char* type = (*cursor)->value.text;
  *cursor = (*cursor)->next;
  const Kind kind = KindOf(type);
  if (kind == Kind::kNone || !Converts(type)) return;
  if (!*cursor) return;
  layer_[0] = '\0';
  type_ = type;
  switch (kind) {
    case Kind::kLine: ReadLine(cursor); break;
    case Kind::kCircle: ReadCircleOrArc(cursor, false); break;
    case Kind::kArc: ReadCircleOrArc(cursor, true); break;
    case Kind::kPolyline: ReadPolyline(cursor); break;
    case Kind::kEllipse: ReadEllipse(cursor); break;
    case Kind::kSolid: ReadSolid(cursor); break;
    case Kind::kHatch: ReadHatch(cursor); break;
    default: ReadText(cursor, type); break;
  }
}

void GLPreviewChainReader::TakeLayer(const resbuf* node) {
  const char* text = node->value.text ? node->value.text : "";
  // Not strncpy: it fills the rest of the buffer, once per entity.
  const size_t n = strnlen(text, kLayerSize - 1);
  std::memcpy(layer_, text, n);
  layer_[n] = '\0';
}

void GLPreviewChainReader::ReadLine(resbuf** cursor) {
  GLVector start, end;
  const resbuf* colour = nullptr;
  for (; InFields(*cursor); *cursor = (*cursor)->next) {
    const resbuf* n = *cursor;
    switch (n->code) {
      case 8: TakeLayer(n); break;
      case 10: start = Point(n); break;
      case 11: end = Point(n); break;
      case 62: colour = n; break;
      default: break;
    }
  }
  const uint32_t c = Colour(colour);
  if (Draws("LINE", layer_, c)) AddLine(start, end, c);
}

void GLPreviewChainReader::ReadCircleOrArc(resbuf** cursor, bool arc) {
  GLVector centre;
  double radius = 0.0, start = 0.0, end = 0.0;
  const resbuf* colour = nullptr;
  for (; InFields(*cursor); *cursor = (*cursor)->next) {
    const resbuf* n = *cursor;
    switch (n->code) {
      case 8: TakeLayer(n); break;
      case 10: centre = Point(n); break;
      case 40: radius = n->value.real; break;
      case 50: start = n->value.real; break;
      case 51: end = n->value.real; break;
      case 62: colour = n; break;
      default: break;  // 210 is read and not used
    }
  }
  const uint32_t c = Colour(colour);
  if (!Draws(arc ? "ARC" : "CIRCLE", layer_, c)) return;
  if (arc)
    AddArc(centre, radius, start, end, c);
  else
    AddCircle(centre, radius, c);
}

void GLPreviewChainReader::Segment(const GLVector& from, const GLVector& to, double bulge, uint32_t colour) {
  // Ends that coincide make no segment (with a bulge not even a centre).
  if (from == to || !Draws("LWPOLYLINE", layer_, colour)) return;
  if (bulge != 0.0)
    AddBulgeArc(from, to, bulge, colour);
  else
    AddLine(from, to, colour);
}

void GLPreviewChainReader::ReadPolyline(resbuf** cursor) {
  GLVector first, previous;
  bool any = false;
  double bulge = 0.0;
  int flags = 0;
  const resbuf* colour = nullptr;
  for (; InFields(*cursor); *cursor = (*cursor)->next) {
    const resbuf* n = *cursor;
    switch (n->code) {
      case 8: TakeLayer(n); break;
      case 42: bulge = n->value.real; break;
      case 62: colour = n; break;
      case 70: flags = n->value.i16; break;
      case 10: {
        const GLVector v = Point(n);
        if (any) Segment(previous, v, bulge, Colour(colour));
        else first = v;
        any = true;
        bulge = 0.0;
        previous = v;
        break;
      }
      default: break;
    }
  }
  if (any && (flags & 1)) Segment(previous, first, bulge, Colour(colour));
}

void GLPreviewChainReader::ReadText(resbuf** cursor, const char* type) {
  TextRead t;
  t.type = type;
  const resbuf* colour = nullptr;
  for (; InFields(*cursor); *cursor = (*cursor)->next) {
    const resbuf* n = *cursor;
    switch (n->code) {
      case 1:
        t.text = n->value.text ? std::string(n->value.text, strnlen(n->value.text, kTextLength)) : std::string();
        break;
      case 8: TakeLayer(n); break;
      case 10: t.position = Point(n); break;
      case 11: Point(n); break;  // converted, not used
      case 40: t.height = n->value.real; break;
      case 50: t.rotation = n->value.real; break;
      case 62: colour = n; break;
      case 72: t.horizontal = n->value.i16; break;
      case 73: t.vertical = n->value.i16; break;
      default: break;  // 41 is read and not used
    }
  }
  t.colour = Colour(colour);
  if (!Draws(t.type, layer_, t.colour)) return;
  if (t.text.empty()) t.text.push_back('?');  // not = "?": GCC 12 sees a false overlap there
  AddText(t);
}

void GLPreviewChainReader::ReadEllipse(resbuf** cursor) {
  GLVector centre, major, normal;
  double ratio = 1.0, start = 0.0, end = 0.0;
  const resbuf* colour = nullptr;
  for (; InFields(*cursor); *cursor = (*cursor)->next) {
    const resbuf* n = *cursor;
    switch (n->code) {
      case 8: TakeLayer(n); break;
      case 10: centre = Point(n); break;
      // The axis is relative to the centre, the normal a direction: neither
      // goes through the family's point conversion.
      case 11: major = GLVector(n->value.point); break;
      case 40: ratio = n->value.real; break;
      case 41: start = n->value.real; break;
      case 42: end = n->value.real; break;
      case 62: colour = n; break;
      case 210: normal = GLVector(n->value.point); break;
      default: break;
    }
  }
  const uint32_t c = Colour(colour);
  if (Draws("ELLIPSE", layer_, c)) AddEllipse(centre, major, normal, ratio, start, end, c);
}

void GLPreviewChainReader::ReadSolid(resbuf** cursor) {
  GLVector corner[4];  // a missing corner stays at the origin
  const resbuf* colour = nullptr;
  for (; InFields(*cursor); *cursor = (*cursor)->next) {
    const resbuf* n = *cursor;
    switch (n->code) {
      case 8: TakeLayer(n); break;
      case 10:
      case 11:
      case 12:
      case 13: corner[n->code - 10] = Point(n); break;
      case 62: colour = n; break;
      default: break;
    }
  }
  const uint32_t c = Colour(colour);
  if (Draws("SOLID", layer_, c)) AddSolid(corner[0], corner[1], corner[2], corner[3], c);
}

void GLPreviewChainReader::ReadHatch(resbuf** cursor) {
  GLArray<GLContour*> contours;
  int32_t colour = 7;
  ReadHatchBoundaries(cursor, contours, layer_, &colour);
  AddHatch(contours, colour);
}
