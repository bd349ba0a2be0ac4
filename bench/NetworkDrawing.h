// A large heating-network drawing for the load and save benchmarks: an
// R2010 ASCII DXF file of LINEs and of LWPOLYLINE pipes carrying the
// plug-in's extended data (and, in the second shape, TEXTs and INSERTs), as
// another DXF writer lays them out. The same
// seed gives the same bytes.
#pragma once

#include <cstdint>
#include <string>

namespace bench {

struct NetworkDrawingShape {
  size_t entities = 200000;
  uint64_t seed = 24;
  // Out of every twelve entities, how many are TEXTs and INSERTs (of a
  // valve block the drawing then defines); without either, one in six is a
  // pipe and the rest LINEs, unless pipes is 12: then every one is a pipe.
  int pipes = 2, texts = 0, inserts = 0;
  // The entities' handles in a random order rather than counting up.
  bool shuffledHandles = false;
  int decimals = -1;  // coordinates to so many decimals; -1: the shortest exact form
  // R2018 with Czech layer names and label texts (UTF-8, as such drawings
  // are written).
  bool czech = false;
  // One POLYLINE of so many VERTEX objects after the others (0: none).
  size_t polylineVertices = 0;
};

// The drawings the load is compared on as users have them: a Czech one of
// 60-80 MB (the second shape's mix), and one POLYLINE of a million
// vertices.
NetworkDrawingShape CzechNetworkDrawingShape();
NetworkDrawingShape LongPolylineDrawingShape();

// A second drawing of as many entities: another seed, another mix of
// LINE/LWPOLYLINE/TEXT/INSERT, shorter coordinates.
NetworkDrawingShape SecondNetworkDrawingShape();

struct NetworkDrawing {
  std::string text;
  std::string firstLine;  // handle of the first LINE, for a command to measure
};

NetworkDrawing MakeNetworkDrawing(const NetworkDrawingShape& shape);

// Writes the drawing to path; false when the file cannot be written.
bool WriteNetworkDrawing(const std::string& path, const NetworkDrawingShape& shape,
                         std::string* firstLine = nullptr);

}  // namespace bench
