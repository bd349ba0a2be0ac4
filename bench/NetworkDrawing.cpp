#include "bench/NetworkDrawing.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <random>
#include <vector>

namespace bench {
namespace {

// Handles of the fixed objects; entities take theirs from kFirstEntity on.
constexpr uint64_t kModelSpace = 0x1F;
constexpr uint64_t kFirstEntity = 0x100;

class Text {
 public:
  explicit Text(std::string& out) : out_(out) {}

  void Pair(int code, std::string_view value) {
    char buffer[8];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, code);
    (void)ec;
    size_t width = static_cast<size_t>(end - buffer);
    if (width < 3) out_.append(3 - width, ' ');
    out_.append(buffer, end);
    out_ += '\n';
    out_ += value;
    out_ += '\n';
  }
  void Real(int code, double value) {
    char buffer[32];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    (void)ec;
    std::string text(buffer, end);
    if (text.find_first_of(".e") == std::string::npos) text += ".0";
    Pair(code, text);
  }
  // Integers right-aligned in six columns (nine for 90), as usual in DXF.
  void Int(int code, long value, int width = 6) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%*ld", width, value);
    Pair(code, buffer);
  }
  void Handle(int code, uint64_t handle) {
    char buffer[20];
    std::snprintf(buffer, sizeof buffer, "%llX", static_cast<unsigned long long>(handle));
    Pair(code, buffer);
  }
  // Pairs given as "code|value" lines.
  void Lines(std::initializer_list<const char*> pairs) {
    for (const char* p : pairs) {
      std::string_view s(p);
      size_t bar = s.find('|');
      Pair(std::atoi(std::string(s.substr(0, bar)).c_str()), s.substr(bar + 1));
    }
  }

 private:
  std::string& out_;
};

// valveBlock: the second shape's block (record 40, definition 41-43).
void WriteHead(Text& t, uint64_t handSeed, bool valveBlock, bool czech) {
  t.Lines({"0|SECTION", "2|HEADER", "9|$ACADVER", czech ? "1|AC1032" : "1|AC1024", "9|$ACADMAINTVER", "70|     6",
           "9|$DWGCODEPAGE", "3|ANSI_1250", "9|$INSBASE", "10|0.0", "20|0.0", "30|0.0",
           "9|$EXTMIN", "10|0.0", "20|0.0", "30|0.0", "9|$EXTMAX", "10|100000.0",
           "20|100000.0", "30|0.0", "9|$CLAYER", "8|0", "9|$INSUNITS", "70|     4"});
  t.Pair(9, "$HANDSEED");
  t.Handle(5, handSeed);
  t.Lines({"0|ENDSEC", "0|SECTION", "2|CLASSES", "0|ENDSEC", "0|SECTION", "2|TABLES",
           // Viewports.
           "0|TABLE", "2|VPORT", "5|8", "330|0", "100|AcDbSymbolTable", "70|     1",
           "0|VPORT", "5|29", "330|8", "100|AcDbSymbolTableRecord",
           "100|AcDbViewportTableRecord", "2|*Active", "70|     0", "10|0.0", "20|0.0",
           "11|1.0", "21|1.0", "12|50000.0", "22|50000.0", "13|0.0", "23|0.0", "14|10.0",
           "24|10.0", "15|10.0", "25|10.0", "16|0.0", "26|0.0", "36|1.0", "17|0.0", "27|0.0",
           "37|0.0", "40|100000.0", "41|1.6", "42|50.0", "43|0.0", "44|0.0", "50|0.0",
           "51|0.0", "71|     0", "72|   100", "73|     1", "74|     3", "75|     0",
           "76|     0", "77|     0", "78|     0", "0|ENDTAB",
           // Line types.
           "0|TABLE", "2|LTYPE", "5|5", "330|0", "100|AcDbSymbolTable", "70|     3",
           "0|LTYPE", "5|14", "330|5", "100|AcDbSymbolTableRecord",
           "100|AcDbLinetypeTableRecord", "2|ByBlock", "70|     0", "3|", "72|    65",
           "73|     0", "40|0.0", "0|LTYPE", "5|15", "330|5", "100|AcDbSymbolTableRecord",
           "100|AcDbLinetypeTableRecord", "2|ByLayer", "70|     0", "3|", "72|    65",
           "73|     0", "40|0.0", "0|LTYPE", "5|16", "330|5", "100|AcDbSymbolTableRecord",
           "100|AcDbLinetypeTableRecord", "2|Continuous", "70|     0", "3|Solid line",
           "72|    65", "73|     0", "40|0.0", "0|ENDTAB",
           // Layers: the plain one, the drawing's lines and the two pipe sides.
           "0|TABLE", "2|LAYER", "5|2", "330|0", "100|AcDbSymbolTable", "70|     4",
           "0|LAYER", "5|10", "330|2", "100|AcDbSymbolTableRecord", "100|AcDbLayerTableRecord",
           "2|0", "70|     0", "62|     7", "6|Continuous",
           "0|LAYER", "5|30", "330|2", "100|AcDbSymbolTableRecord", "100|AcDbLayerTableRecord",
           "2|STAVBA", "70|     0", "62|     8", "6|Continuous",
           "0|LAYER", "5|31", "330|2", "100|AcDbSymbolTableRecord", "100|AcDbLayerTableRecord",
           "2|TRUBKY_P", "70|     0", "62|     1", "6|Continuous",
           "0|LAYER", "5|32", "330|2", "100|AcDbSymbolTableRecord", "100|AcDbLayerTableRecord",
           "2|TRUBKY_Z", "70|     0", "62|     5", "6|Continuous", "0|ENDTAB",
           // Text styles, views, coordinate systems.
           "0|TABLE", "2|STYLE", "5|3", "330|0", "100|AcDbSymbolTable", "70|     1",
           "0|STYLE", "5|11", "330|3", "100|AcDbSymbolTableRecord",
           "100|AcDbTextStyleTableRecord", "2|Standard", "70|     0", "40|0.0", "41|1.0",
           "50|0.0", "71|     0", "42|2.5", "3|txt", "4|", "0|ENDTAB",
           "0|TABLE", "2|VIEW", "5|6", "330|0", "100|AcDbSymbolTable", "70|     0", "0|ENDTAB",
           "0|TABLE", "2|UCS", "5|7", "330|0", "100|AcDbSymbolTable", "70|     0", "0|ENDTAB",
           // Applications.
           "0|TABLE", "2|APPID", "5|9", "330|0", "100|AcDbSymbolTable", "70|     2",
           "0|APPID", "5|12", "330|9", "100|AcDbSymbolTableRecord", "100|AcDbRegAppTableRecord",
           "2|ACAD", "70|     0", "0|APPID", "5|33", "330|9", "100|AcDbSymbolTableRecord",
           "100|AcDbRegAppTableRecord", "2|JOV_DATA", "70|     0", "0|ENDTAB",
           // Dimension styles.
           "0|TABLE", "2|DIMSTYLE", "5|A", "330|0", "100|AcDbSymbolTable", "70|     1",
           "100|AcDbDimStyleTable", "0|DIMSTYLE", "105|27", "330|A",
           "100|AcDbSymbolTableRecord", "100|AcDbDimStyleTableRecord", "2|Standard",
           "70|     0", "340|11", "0|ENDTAB",
           // Block records and blocks of the two spaces.
           "0|TABLE", "2|BLOCK_RECORD", "5|1", "330|0", "100|AcDbSymbolTable"});
  t.Int(70, valveBlock ? 3 : 2);
  t.Lines({"0|BLOCK_RECORD", "5|1F", "330|1", "100|AcDbSymbolTableRecord",
           "100|AcDbBlockTableRecord", "2|*Model_Space", "0|BLOCK_RECORD", "5|1B", "330|1",
           "100|AcDbSymbolTableRecord", "100|AcDbBlockTableRecord", "2|*Paper_Space"});
  if (valveBlock)
    t.Lines({"0|BLOCK_RECORD", "5|40", "330|1", "100|AcDbSymbolTableRecord",
             "100|AcDbBlockTableRecord", "2|VALVE"});
  t.Lines({"0|ENDTAB", "0|ENDSEC",
           "0|SECTION", "2|BLOCKS", "0|BLOCK", "5|20", "330|1F", "100|AcDbEntity", "8|0",
           "100|AcDbBlockBegin", "2|*Model_Space", "70|     0", "10|0.0", "20|0.0", "30|0.0",
           "3|*Model_Space", "1|", "0|ENDBLK", "5|21", "330|1F", "100|AcDbEntity", "8|0",
           "100|AcDbBlockEnd", "0|BLOCK", "5|1C", "330|1B", "100|AcDbEntity", "8|0",
           "100|AcDbBlockBegin", "2|*Paper_Space", "70|     0", "10|0.0", "20|0.0", "30|0.0",
           "3|*Paper_Space", "1|", "0|ENDBLK", "5|1D", "330|1B", "100|AcDbEntity", "8|0",
           "100|AcDbBlockEnd"});
  if (valveBlock)
    t.Lines({"0|BLOCK", "5|41", "330|40", "100|AcDbEntity", "8|0", "100|AcDbBlockBegin",
             "2|VALVE", "70|     0", "10|0.0", "20|0.0", "30|0.0", "3|VALVE", "1|",
             "0|CIRCLE", "5|42", "330|40", "100|AcDbEntity", "8|0", "100|AcDbCircle",
             "10|0.0", "20|0.0", "30|0.0", "40|50.0",
             "0|ENDBLK", "5|43", "330|40", "100|AcDbEntity", "8|0", "100|AcDbBlockEnd"});
  t.Lines({"0|ENDSEC", "0|SECTION", "2|ENTITIES"});
}

void WriteTail(Text& t) {
  t.Lines({"0|ENDSEC", "0|SECTION", "2|OBJECTS", "0|DICTIONARY", "5|C", "330|0",
           "100|AcDbDictionary", "281|     1", "3|ACAD_GROUP", "350|D", "0|DICTIONARY", "5|D",
           "330|C", "100|AcDbDictionary", "281|     1", "0|ENDSEC", "0|EOF"});
}

class Network {
 public:
  Network(uint64_t seed, int decimals, bool czech) : random_(seed), decimals_(decimals), czech_(czech) {}

  double Uniform(double lo, double hi) {
    // From the raw 53 bits, so every library gives the same numbers.
    return lo + (hi - lo) * static_cast<double>(random_() >> 11) * 0x1.0p-53;
  }
  size_t Below(size_t n) { return static_cast<size_t>(random_() % n); }

  void Line(Text& t, uint64_t handle) {
    double x = Uniform(0, 100000), y = Uniform(0, 100000);
    double angle = Uniform(0, 2 * M_PI), length = Uniform(100, 5000);
    Head(t, "LINE", handle, "STAVBA", "AcDbLine");
    Coord(t, 10, x);
    Coord(t, 20, y);
    t.Real(30, 0.0);
    Coord(t, 11, x + length * std::cos(angle));
    Coord(t, 21, y + length * std::sin(angle));
    t.Real(31, 0.0);
  }

  void Label(Text& t, uint64_t handle) {
    Head(t, "TEXT", handle, "STAVBA", "AcDbText");
    Coord(t, 10, Uniform(0, 100000));
    Coord(t, 20, Uniform(0, 100000));
    t.Real(30, 0.0);
    t.Real(40, 250.0);
    char text[24];
    std::snprintf(text, sizeof text, "V%zu-%zu", 1 + Below(40), 1 + Below(900));
    t.Pair(1, czech_ ? std::string("Ventil \xC4\x8D. ") + text + " p\xC5\x99\xC3\xADvod" : std::string(text));
    t.Pair(100, "AcDbText");
  }

  void Valve(Text& t, uint64_t handle) {
    Head(t, "INSERT", handle, "TRUBKY_P", "AcDbBlockReference");
    t.Pair(2, "VALVE");
    Coord(t, 10, Uniform(0, 100000));
    Coord(t, 20, Uniform(0, 100000));
    t.Real(30, 0.0);
    Coord(t, 50, Uniform(0, 360));
    t.Pair(1001, "JOV_DATA");
    t.Pair(1000, "TVE0015-0001");
    t.Pair(1000, "_TYPE");
    t.Pair(1000, "1048705");
  }

  // A pipe run along the axes with its network data.
  void Pipe(Text& t, uint64_t handle) {
    bool supply = Below(2) == 0;
    size_t vertices = 2 + Below(4);
    Head(t, "LWPOLYLINE", handle, supply ? "TRUBKY_P" : "TRUBKY_Z", "AcDbPolyline");
    t.Int(90, static_cast<long>(vertices), 9);
    t.Int(70, 0);
    t.Real(43, 0.0);
    double x = Uniform(0, 100000), y = Uniform(0, 100000), total = 0;
    for (size_t v = 0; v < vertices; ++v) {
      Coord(t, 10, x);
      Coord(t, 20, y);
      double step = Uniform(200, 4000);
      total += step;
      (v % 2 ? y : x) += step;
    }
    char code[16], length[16], dn[8];
    std::snprintf(code, sizeof code, "TP%c%04di%04zu", supply ? 'P' : 'Z', 15 + 5 * int(Below(4)),
                  1 + Below(200));
    std::snprintf(length, sizeof length, "%.3f", total / 1000.0);
    std::snprintf(dn, sizeof dn, "%d", 15 + 5 * int(Below(4)));
    t.Pair(1001, "JOV_DATA");
    t.Pair(1000, code);
    const char* const props[][2] = {
        {"_TYPE", "128"}, {"_NBRANCH", "V1"}, {"_NUM_SIDE", "1"}, {"_NUM_RISER", "1"},
        {"_SIDE_PIPE", supply ? "1" : "0"}, {"_DIST_PIPE", "100"}, {"CM", "3"}, {"CT", "Cu 15x1"}, {"L", length}, {"DN", dn},
        {"_LENGTH_SEGMENT", length}, {"_NUM_ASSOC", "05.03.2024-14.07.09"}};
    for (const auto& p : props) {
      t.Pair(1000, p[0]);
      t.Pair(1000, p[1]);
    }
  }

 private:
  static void Head(Text& t, const char* type, uint64_t handle, const char* layer,
                   const char* subclass) {
    t.Pair(0, type);
    t.Handle(5, handle);
    t.Handle(330, kModelSpace);
    t.Pair(100, "AcDbEntity");
    t.Pair(8, layer);
    t.Pair(100, subclass);
  }

  void Coord(Text& t, int code, double value) {
    if (decimals_ < 0) {
      t.Real(code, value);
      return;
    }
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals_, value);
    t.Pair(code, buffer);
  }

  std::mt19937_64 random_;
  int decimals_;
  bool czech_;
};

// A 2D POLYLINE of `vertices` VERTEX objects and its SEQEND, handles from
// `handle` on.
void WritePolyline(Text& t, uint64_t handle, size_t vertices) {
  const uint64_t owner = handle;
  t.Pair(0, "POLYLINE");
  t.Handle(5, handle++);
  t.Handle(330, kModelSpace);
  t.Lines({"100|AcDbEntity", "8|TRUBKY_P", "100|AcDb2dPolyline", "66|     1", "10|0.0", "20|0.0", "30|0.0",
           "70|     0"});
  for (size_t v = 0; v < vertices; ++v) {
    t.Pair(0, "VERTEX");
    t.Handle(5, handle++);
    t.Handle(330, owner);
    t.Lines({"100|AcDbEntity", "8|TRUBKY_P", "100|AcDbVertex", "100|AcDb2dVertex"});
    t.Real(10, static_cast<double>(v % 1000) * 250.0 + 0.5);
    t.Real(20, static_cast<double>(v / 1000) * 400.0 + 0.25);
    t.Real(30, 0.0);
  }
  t.Pair(0, "SEQEND");
  t.Handle(5, handle);
  t.Handle(330, owner);
  t.Lines({"100|AcDbEntity", "8|TRUBKY_P"});
}

}  // namespace

NetworkDrawing MakeNetworkDrawing(const NetworkDrawingShape& shape) {
  NetworkDrawing out;
  out.text.reserve(shape.entities * 256);
  Text t(out.text);
  const bool mixed = shape.texts > 0 || shape.inserts > 0 || shape.pipes >= 12;
  const uint64_t polyline = kFirstEntity + shape.entities;
  const uint64_t seed = polyline + (shape.polylineVertices ? shape.polylineVertices + 2 : 0);
  WriteHead(t, seed, shape.inserts > 0, shape.czech);
  Network network(shape.seed, shape.decimals, shape.czech);
  std::vector<uint64_t> handles(shape.entities);
  std::iota(handles.begin(), handles.end(), kFirstEntity);
  if (shape.shuffledHandles) std::shuffle(handles.begin(), handles.end(), std::mt19937_64(shape.seed));
  for (size_t i = 0; i < shape.entities; ++i) {
    uint64_t handle = handles[i];
    const int kind = mixed ? static_cast<int>(network.Below(12)) : (network.Below(6) == 0 ? 0 : 12);
    if (kind < shape.pipes) {
      network.Pipe(t, handle);
    } else if (kind < shape.pipes + shape.texts) {
      network.Label(t, handle);
    } else if (kind < shape.pipes + shape.texts + shape.inserts) {
      network.Valve(t, handle);
    } else {
      if (out.firstLine.empty()) {
        char buffer[20];
        std::snprintf(buffer, sizeof buffer, "%llX", static_cast<unsigned long long>(handle));
        out.firstLine = buffer;
      }
      network.Line(t, handle);
    }
  }
  if (shape.polylineVertices) WritePolyline(t, polyline, shape.polylineVertices);
  WriteTail(t);
  if (shape.czech) {
    // The layer the lines and labels lie in, named in Czech everywhere.
    const std::string plain = "\nSTAVBA\n", czech = "\nSTAVBA \xC4\x8C\xC3\x81ST\n";
    std::string renamed;
    renamed.reserve(out.text.size() + out.text.size() / 8);
    size_t from = 0;
    for (size_t at; (at = out.text.find(plain, from)) != std::string::npos; from = at + plain.size())
      renamed.append(out.text, from, at - from).append(czech);
    renamed.append(out.text, from);
    out.text = std::move(renamed);
  }
  return out;
}

NetworkDrawingShape CzechNetworkDrawingShape() {
  NetworkDrawingShape shape = SecondNetworkDrawingShape();
  shape.entities = 300000;
  shape.czech = true;
  return shape;
}

NetworkDrawingShape LongPolylineDrawingShape() {
  NetworkDrawingShape shape;
  shape.entities = 1000;
  shape.polylineVertices = 1000000;
  return shape;
}

NetworkDrawingShape SecondNetworkDrawingShape() {
  NetworkDrawingShape shape;
  shape.seed = 1250;
  shape.pipes = 3;
  shape.texts = 3;
  shape.inserts = 2;
  shape.decimals = 3;
  return shape;
}

bool WriteNetworkDrawing(const std::string& path, const NetworkDrawingShape& shape,
                         std::string* firstLine) {
  NetworkDrawing drawing = MakeNetworkDrawing(shape);
  if (firstLine) *firstLine = drawing.firstLine;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(drawing.text.data(), 1, drawing.text.size(), f) == drawing.text.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace bench
