// Small drawings of network entities for the section tests: an ENTITIES
// section only (millimetres by the host's default), handles 30, 31, ... in
// the order given.
#pragma once

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

using Props = std::vector<std::pair<std::string, std::string>>;

inline Props With(Props props, const Props& more) {
  for (const auto& [key, value] : more) {
    bool replaced = false;
    for (auto& [k, v] : props)
      if (k == key) v = value, replaced = true;
    if (!replaced) props.push_back({key, value});
  }
  return props;
}

// An INSERT at its first point, an LWPOLYLINE through its points, or a
// plain LINE; with "JOV_DATA" when it has a type code.
struct DrawnEntity {
  const char* kind;
  std::string code;
  Props props;
  std::vector<std::pair<double, double>> points;
};

inline std::string SmallDrawing(const std::vector<DrawnEntity>& entities, std::string& handles) {
  // The inserts' block is defined: the host takes back no insert of a
  // block the drawing lacks.
  std::string dxf =
      "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n8\n0\n2\nJOV_TCD\n70\n0\n10\n0.0\n20\n0.0\n30\n0.0\n3\nJOV_TCD\n"
      "0\nENDBLK\n8\n0\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n";
  handles.clear();
  int handle = 0x30;
  auto xy = [](double x, double y) { return "10\n" + std::to_string(x) + "\n20\n" + std::to_string(y) + "\n"; };
  for (const DrawnEntity& e : entities) {
    char h[16];
    std::snprintf(h, sizeof h, "%X", handle++);
    handles += (handles.empty() ? "" : ",") + std::string(h);
    const std::string kind = e.kind;
    dxf += "0\n" + kind + "\n5\n" + h + "\n8\nNET\n";
    if (kind == "INSERT") {
      const auto [x, y] = e.points.empty() ? std::pair<double, double>{0, 0} : e.points[0];
      dxf += "2\nJOV_TCD\n" + xy(x, y) + "30\n0.0\n";
    } else if (kind == "LWPOLYLINE") {
      dxf += "90\n" + std::to_string(e.points.size()) + "\n70\n0\n";
      for (const auto& [x, y] : e.points) dxf += xy(x, y);
    } else {
      dxf += "10\n0.0\n20\n0.0\n30\n0.0\n11\n1.0\n21\n0.0\n31\n0.0\n";
    }
    if (e.code.empty()) continue;
    dxf += "1001\nJOV_DATA\n1000\n" + e.code + "\n";
    for (const auto& [key, value] : e.props) dxf += "1000\n" + key + "\n1000\n" + value + "\n";
  }
  return dxf + "0\nENDSEC\n0\nEOF\n";
}
