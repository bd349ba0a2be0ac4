// A HATCH's boundary paths as contours for a filled polygon. Every read
// stays within the entity: the next code-0 node or the chain's end ends
// the hatch like a node out of place, and what was gathered is kept.
#include <cstring>

#include "objectgl/GLArc.h"
#include "objectgl/GLContour.h"
#include "objectgl/preview/GLPreviewChainReader.h"

namespace {

constexpr size_t kLayerSize = 256;
constexpr uint32_t kArcSegments = 32;
constexpr int32_t kDefaultColour = 7;

class HatchReader {
 public:
  HatchReader(resbuf** cursor, GLArray<GLContour*>& contours, int32_t* colour)
      : cursor_(cursor), contours_(contours), colour_(colour) {}

  // The node at the cursor when it is still the entity's, null otherwise.
  resbuf* Peek() const { return *cursor_ && (*cursor_)->code != 0 ? *cursor_ : nullptr; }
  // The same, moving the cursor past it.
  resbuf* Take() {
    resbuf* n = Peek();
    if (n) *cursor_ = n->next;
    return n;
  }
  // The next node when it has the code; false (cursor left) when not.
  resbuf* Expect(int16_t code) {
    resbuf* n = Peek();
    return n && n->code == code ? Take() : nullptr;
  }

  // Reads `count` paths; false when one did not read as it should.
  bool ReadPaths(int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
      const resbuf* flags = Expect(92);
      if (!flags) return false;
      auto* contour = new GLContour;
      contours_.Add(contour);
      if (!((flags->value.i32 & 2) ? ReadPolylinePath(*contour) : ReadEdgePath(*contour))) return false;
      // The path's source objects, when it names any.
      if (const resbuf* sources = Expect(97)) {
        int32_t left = sources->value.i32;
        while (left-- > 0 && Take()) {
        }
      }
    }
    return true;
  }

 private:
  bool ReadPolylinePath(GLContour& contour) {
    int32_t vertices = 0;
    bool closed = false;
    // Has-bulges (72), closed (73) and the vertex count (93), by their codes.
    for (int k = 0; k < 3; ++k) {
      const resbuf* n = Take();
      if (!n) return false;
      if (n->code == 73) closed = n->value.i16 != 0;
      if (n->code == 93) vertices = n->value.i32;
    }
    GLVector first;
    bool endsWithArc = false;
    for (int32_t v = 0; v < vertices; ++v) {
      const resbuf* at = Expect(10);
      if (!at) return false;
      const GLVector point(at->value.point);
      if (v == 0) first = point;
      const resbuf* bulgeNode = Expect(42);
      double bulge = bulgeNode ? bulgeNode->value.real : 0.0;
      const GLVector* arcEnd = nullptr;
      GLVector next;
      if (bulge != 0.0) {
        if (const resbuf* n = Peek(); n && n->code == 10 && v + 1 < vertices) {
          next = GLVector(n->value.point);
          arcEnd = &next;
        } else if (closed) {
          arcEnd = &first;
        }
      }
      // Between ends that coincide a bulge has no arc to make.
      if (arcEnd && *arcEnd == point) arcEnd = nullptr;
      if (arcEnd) {
        contour.AddArc(GLArc(point, *arcEnd, &bulge, static_cast<uint32_t>(*colour_), kArcSegments));
        endsWithArc = true;
        continue;
      }
      // The arc before already ends on this point. An open path's last
      // bulge has no arc to make, and its point is kept all the same.
      if (!endsWithArc) contour.AddPoint(point);
      endsWithArc = false;
    }
    return true;
  }

  bool ReadEdgePath(GLContour& contour) {
    const resbuf* count = Expect(93);
    if (!count) return false;
    bool previousArc = false;
    for (int32_t e = 0; e < count->value.i32; ++e) {
      const resbuf* type = Expect(72);
      if (!type) return false;
      switch (type->value.i16) {
        case 1: {
          const resbuf* start = Expect(10);
          if (!start) return false;
          Take();  // the end is the next edge's start
          if (!previousArc) contour.AddPoint(GLVector(start->value.point));
          previousArc = false;
          break;
        }
        case 2: {
          const resbuf* centre = Expect(10);
          if (!centre) return false;
          double radius = 0.0, start = 0.0, end = 0.0;
          // Radius, start and end angle, and the direction flag (not used).
          for (int k = 0; k < 4; ++k) {
            const resbuf* n = Take();
            if (!n) return false;
            if (n->code == 40) radius = n->value.real;
            if (n->code == 50) start = n->value.real;
            if (n->code == 51) end = n->value.real;
          }
          contour.AddArc(
              GLArc(GLVector(centre->value.point), &radius, &start, &end, static_cast<uint32_t>(*colour_), kArcSegments));
          previousArc = true;
          break;
        }
        default:
          PassOverEdge();
          previousArc = false;
          break;
      }
    }
    return true;
  }

  // Elliptic and spline edges (and any other type) are not drawn: passed
  // over up to the next edge (72) or the end of the path's edges (97). A
  // spline's own count of fit points is a 97 followed by its first fit
  // point (11).
  void PassOverEdge() {
    while (const resbuf* n = Peek()) {
      if (n->code == 72) return;
      if (n->code == 97 && !(n->next && n->next->code == 11)) return;
      Take();
    }
  }

  resbuf** cursor_;
  GLArray<GLContour*>& contours_;
  int32_t* colour_;
};

}  // namespace

void ReadHatchBoundaries(resbuf** cursor, GLArray<GLContour*>& contours, char* layer, int32_t* colour) {
  int32_t ownColour = kDefaultColour;
  if (!colour) colour = &ownColour;
  *colour = kDefaultColour;
  if (!cursor) return;
  HatchReader reader(cursor, contours, colour);
  while (const resbuf* n = reader.Take()) {
    if (n->code == 8 && layer) {
      std::strncpy(layer, n->value.text ? n->value.text : "", kLayerSize - 1);
      layer[kLayerSize - 1] = '\0';
    } else if (n->code == 62) {
      *colour = n->value.i16 < 1 || n->value.i16 > 255 ? kDefaultColour : n->value.i16;
    } else if (n->code == 91 && !reader.ReadPaths(n->value.i32)) {
      break;
    }
  }
  // Whatever is left of the entity is passed over.
  while (reader.Take()) {
  }
}
