// Reads drawing entities from a group-code chain for a preview: the walk
// from entity to entity and the converters of LINE, CIRCLE, ARC,
// LWPOLYLINE, TEXT, ATTDEF, ELLIPSE, SOLID and HATCH, each reading its
// entity's nodes up to its extended data or the next code-0 node. What the families do
// differently (which types, how points and colours are taken, what is left
// out, how the result is added) are the hooks.
#pragma once

#include <cstdint>
#include <string>

#include "common/GLVector.h"
#include "dataformat/resbuf.h"
#include "objectgl/GLArray.h"

class GLContour;

// Reads a HATCH from the cursor (on its first node after the type) up to
// the next code-0 node, where the cursor is left: the layer (group 8, at
// most 255 characters) into the 256-byte buffer, the colour (62; below 1
// or above 255 gives 7, so 255 stays; 7 when absent) and one new contour
// per boundary path, appended to the list (the caller's from then on).
// Polyline paths (92 & 2) give their vertices and bulged arcs, edge paths
// their lines and circular arcs; elliptic and spline edges are passed
// over. A path or edge that does not read as it should ends the reading,
// keeping the contours gathered so far.
void ReadHatchBoundaries(resbuf** cursor, GLArray<GLContour*>& contours, char* layer, int32_t* colour);
class GLPreviewChainReader {
 public:
  // The layer buffer is the caller's: 256 bytes, the last entity's layer.
  explicit GLPreviewChainReader(char* layer) : layer_(layer) {}
  virtual ~GLPreviewChainReader() = default;

  // Converts every entity from the cursor to the chain's end.
  void ReadAll(resbuf** cursor);
  // One step of the walk: nodes that do not start an entity (code 0 with a
  // text) are passed over; a known type is converted, leaving the cursor on
  // the next entity; any other type is passed over whole.
  void ReadEntity(resbuf** cursor);
  // Converts only the entity the chain starts with (one entity and its
  // extended data, as a record holds it), reading none of that data.
  void ReadFirst(const resbuf* chain);

  // What a TEXT or ATTDEF gives its adder.
  struct TextRead {
    const char* type = "TEXT";
    std::string text;  // at most 511 characters; an empty one shows "?"
    GLVector position;
    double height = 0.0;
    double rotation = 0.0;  // radians, as the chain holds it
    int horizontal = 0;     // 72
    int vertical = 0;       // 73
    uint32_t colour = 0;
  };

 protected:
  // Whether the type is converted here (by default LINE, CIRCLE, ARC,
  // LWPOLYLINE and TEXT; AllTypes() adds the rest).
  virtual bool Converts(const char* type) const;
  // Every type a converter here reads.
  static bool AllTypes(const char* type);
  // A point node's value as the preview uses it.
  virtual GLVector Point(const resbuf* node) const { return GLVector(node->value.point); }
  // The entity's colour from its group 62 (null when it has none).
  virtual uint32_t Colour(const resbuf* group62) const = 0;
  // Whether an entity of the type on the layer in the colour is drawn; a
  // polyline asks before each segment.
  virtual bool Draws(const char* type, const char* layer, uint32_t colour) const = 0;

  virtual void AddLine(const GLVector& start, const GLVector& end, uint32_t colour) = 0;
  virtual void AddCircle(const GLVector& centre, double radius, uint32_t colour) = 0;
  virtual void AddArc(const GLVector& centre, double radius, double start, double end, uint32_t colour) = 0;
  virtual void AddBulgeArc(const GLVector& start, const GLVector& end, double bulge, uint32_t colour) = 0;
  virtual void AddText(const TextRead& text) = 0;
  // The types a family converts only when it says so: nothing by default
  // (a hatch's contours are deleted).
  virtual void AddEllipse(const GLVector& centre, const GLVector& majorAxis, const GLVector& normal, double ratio,
                          double start, double end, uint32_t colour);
  virtual void AddSolid(const GLVector& p1, const GLVector& p2, const GLVector& p3, const GLVector& p4,
                        uint32_t colour);
  // Takes the contours over; the colour is the hatch's own (255 kept).
  virtual void AddHatch(GLArray<GLContour*>& contours, int32_t colour);

  const char* Layer() const { return layer_; }
  // The type of the entity being converted.
  const char* Type() const { return type_; }

 private:
  // The cursor on an entity's type node: converts the entity when its
  // type is converted, leaving the cursor within or after it.
  void ReadFields(resbuf** cursor);
  // The converters; the cursor is on the entity's first node after its
  // type and is left on its extended data or the next code-0 node (or null).
  void ReadLine(resbuf** cursor);
  void ReadCircleOrArc(resbuf** cursor, bool arc);
  void ReadPolyline(resbuf** cursor);
  void ReadText(resbuf** cursor, const char* type);
  void ReadEllipse(resbuf** cursor);
  void ReadSolid(resbuf** cursor);
  void ReadHatch(resbuf** cursor);
  // Group 8 into the layer buffer.
  void TakeLayer(const resbuf* node);
  void Segment(const GLVector& from, const GLVector& to, double bulge, uint32_t colour);

  char* layer_;
  const char* type_ = "";
};
