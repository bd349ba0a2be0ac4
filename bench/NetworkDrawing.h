// A large heating-network drawing for the load and save benchmarks: an
// R2010 ASCII DXF file of LINEs and of LWPOLYLINE pipes carrying the
// plug-in's extended data, as another DXF writer lays them out. The same
// seed gives the same bytes.
#pragma once

#include <cstdint>
#include <string>

namespace bench {

struct NetworkDrawingShape {
  size_t entities = 200000;
  uint64_t seed = 24;
};

struct NetworkDrawing {
  std::string text;
  std::string firstLine;  // handle of the first LINE, for a command to measure
};

NetworkDrawing MakeNetworkDrawing(const NetworkDrawingShape& shape);

// Writes the drawing to path; false when the file cannot be written.
bool WriteNetworkDrawing(const std::string& path, const NetworkDrawingShape& shape,
                         std::string* firstLine = nullptr);

}  // namespace bench
