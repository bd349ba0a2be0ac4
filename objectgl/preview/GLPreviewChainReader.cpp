#include "objectgl/preview/GLPreviewChainReader.h"

#include <cstring>

namespace {

constexpr size_t kLayerSize = 256;
constexpr size_t kTextLength = 511;

bool StartsEntity(const resbuf* node) { return node->code == 0 && node->value.text; }

// The nodes of the entity: up to, not including, the next code-0 node.
bool InEntity(const resbuf* node) { return node && node->code != 0; }

}  // namespace

void GLPreviewChainReader::ReadAll(resbuf** cursor) {
  while (cursor && *cursor) ReadEntity(cursor);
}

bool GLPreviewChainReader::Converts(const char* type) const {
  for (const char* known : {"LINE", "CIRCLE", "ARC", "LWPOLYLINE", "TEXT"})
    if (std::strcmp(type, known) == 0) return true;
  return false;
}

void GLPreviewChainReader::ReadEntity(resbuf** cursor) {
  resbuf* node = *cursor;
  if (!node) return;
  if (!StartsEntity(node)) {
    *cursor = node->next;
    return;
  }
  const char* type = node->value.text;
  *cursor = node->next;
  if (!Converts(type)) {
    while (InEntity(*cursor)) *cursor = (*cursor)->next;
    return;
  }
  if (!*cursor) return;
  layer_[0] = '\0';
  if (std::strcmp(type, "LINE") == 0)
    ReadLine(cursor);
  else if (std::strcmp(type, "CIRCLE") == 0)
    ReadCircleOrArc(cursor, false);
  else if (std::strcmp(type, "ARC") == 0)
    ReadCircleOrArc(cursor, true);
  else if (std::strcmp(type, "LWPOLYLINE") == 0)
    ReadPolyline(cursor);
  else
    ReadText(cursor);
  while (InEntity(*cursor)) *cursor = (*cursor)->next;
}

void GLPreviewChainReader::TakeLayer(const resbuf* node) {
  const char* text = node->value.text ? node->value.text : "";
  std::strncpy(layer_, text, kLayerSize - 1);
  layer_[kLayerSize - 1] = '\0';
}

void GLPreviewChainReader::ReadLine(resbuf** cursor) {
  GLVector start, end;
  const resbuf* colour = nullptr;
  for (; InEntity(*cursor); *cursor = (*cursor)->next) {
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
  for (; InEntity(*cursor); *cursor = (*cursor)->next) {
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
  for (; InEntity(*cursor); *cursor = (*cursor)->next) {
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

void GLPreviewChainReader::ReadText(resbuf** cursor) {
  TextRead t;
  const resbuf* colour = nullptr;
  for (; InEntity(*cursor); *cursor = (*cursor)->next) {
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
  if (!Draws("TEXT", layer_, t.colour)) return;
  if (t.text.empty()) t.text = "?";
  AddText(t);
}
