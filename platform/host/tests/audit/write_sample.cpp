// Loads a drawing, adds entities of every kind the plug-in creates, as the
// plug-in builds them, and saves it: the output is checked by an outside
// DXF reader.
#include <cstdio>

#include "platform/host/DxfDrawing.h"

using host::DxfError;
using host::PairList;

namespace {

bool Check(bool ok, const DxfError& error, const char* what) {
  if (!ok) std::fprintf(stderr, "%s: %s\n", what, error.ToString().c_str());
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: write_sample IN.dxf OUT.dxf\n");
    return 2;
  }
  host::DxfDrawing drawing;
  DxfError error;
  if (!Check(drawing.Load(argv[1], &error), error, "load")) return 1;

  // A product symbol as an anonymous block.
  if (!Check(drawing.BeginBlock("*UJOVCUT20041", {10.0, 20.0, 0.0}, &error), error, "block"))
    return 1;
  bool ok = drawing.AddBlockEntity({{0, "LINE"}, {100, "AcDbEntity"}, {8, "0"}, {100, "AcDbLine"},
                                    {10, "-5.0"}, {20, "0.0"}, {30, "0.0"},
                                    {11, "5.0"}, {21, "0.0"}, {31, "0.0"}},
                                   &error) &&
            drawing.AddBlockEntity({{0, "CIRCLE"}, {100, "AcDbEntity"}, {8, "JOV_SYMBOL"},
                                    {62, "3"}, {100, "AcDbCircle"}, {10, "0.0"}, {20, "0.0"},
                                    {30, "0.0"}, {40, "2.5"}},
                                   &error);
  if (!Check(ok, error, "block entity")) return 1;
  auto name = drawing.EndBlock(&error);
  if (!Check(name.has_value(), error, "end block")) return 1;

  PairList text{{0, "TEXT"}, {100, "AcDbEntity"}, {8, "JOV_TEXT"}, {100, "AcDbText"},
                {10, "0.0"}, {20, "0.0"}, {30, "0.0"}, {40, "2.5"}, {1, "DN 20 \xE8\xED\x73lo"},
                {50, "0.0"}, {41, "1.0"}, {72, "1"}, {11, "300.0"}, {21, "400.0"}, {31, "0.0"},
                {100, "AcDbText"}, {73, "2"}};
  PairList polyline{{0, "LWPOLYLINE"}, {100, "AcDbEntity"}, {8, "JOV_TRUBKY"}, {62, "256"},
                    {100, "AcDbPolyline"}, {90, "3"}, {70, "0"}, {43, "0.0"},
                    {10, "0.0"}, {20, "0.0"}, {10, "100.0"}, {20, "0.0"}, {10, "100.0"},
                    {20, "50.0"}, {1001, "JOV_DATA"}, {1000, "TCD0000i0001"},
                    {1000, "_TYPE"}, {1000, "128"}};
  PairList line{{0, "LINE"}, {100, "AcDbEntity"}, {8, "JOV_TRUBKY"}, {100, "AcDbLine"},
                {10, "0.0"}, {20, "0.0"}, {30, "0.0"}, {11, "100.0"}, {21, "0.0"}, {31, "0.0"}};
  PairList circle{{0, "CIRCLE"}, {100, "AcDbEntity"}, {8, "JOV_TRUBKY"}, {62, "1"},
                  {100, "AcDbCircle"}, {10, "50.0"}, {20, "50.0"}, {30, "0.0"}, {40, "0.08"}};
  PairList insert{{0, "INSERT"}, {100, "AcDbEntity"}, {8, "JOV_SYMBOL"},
                  {100, "AcDbBlockReference"}, {2, *name}, {10, "200.0"}, {20, "100.0"},
                  {30, "0.0"}, {41, "0.001"}, {42, "0.001"}, {43, "0.001"}, {50, "90.0"},
                  {1001, "JOV_DATA"}, {1000, "TCD0000i0002"}, {1000, "_NUM_RISER"},
                  {1000, "1"}, {1070, "7"}, {1010, "200.0"}, {1020, "100.0"}, {1030, "0.0"},
                  {1001, "JOV_LINK"}, {1000, "2C"}};
  for (PairList* pairs : {&text, &polyline, &line, &circle, &insert})
    if (!Check(drawing.AppendEntity(std::move(*pairs), &error) != nullptr, error, "entity"))
      return 1;

  // A write-back of an existing entity, as the plug-in does after an edit.
  auto model = drawing.ModelSpace();
  if (!model.empty()) {
    PairList pairs = model.front()->pairs;
    pairs.insert(pairs.begin(), {-1, "name"});
    pairs.push_back({1001, "JOV_DATA"});
    pairs.push_back({1000, "TCD0000-0001"});
    if (!Check(drawing.ReplaceEntity(*model.front(), std::move(pairs), &error), error, "replace"))
      return 1;
  }
  if (!Check(drawing.Save(argv[2], &error), error, "save")) return 1;
  return 0;
}
