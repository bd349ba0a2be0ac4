// The host's drawing load through its public interface. A drawing that
// loads must save, load again and save to the same text, and its clone (the
// host's undo copy) must save the same, as must the drawing after edits
// taken back from its journal; a drawing that fails to load is left empty.
#include <memory>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "platform/host/DxfDrawing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  host::DxfDrawing drawing;
  host::DxfError error;
  if (!drawing.LoadText(fuzz::Text(data, size), &error)) {
    FUZZ_CHECK(drawing.Entities().empty() && drawing.Blocks().empty() && drawing.Tables().empty(),
               "a failed load left content: " + error.ToString());
    return 0;
  }
  // What commands read of a drawing they were handed.
  for (const host::DxfEntity* entity : drawing.ModelSpace()) {
    const auto handle = entity->Handle();  // 0 is no handle
    if (handle && *handle != 0) FUZZ_CHECK(drawing.FindByHandle(*handle), "a handle is not indexed");
    (void)entity->Layer();
  }
  (void)drawing.HeaderValue("$INSUNITS");

  const std::string saved = drawing.SaveText();
  FUZZ_CHECK(drawing.Clone()->SaveText() == saved, "the clone saves another text");

  // Edits of every kind kept in the journal and taken back leave the text
  // as it was, whatever sections, tables and header the drawing lacked.
  drawing.KeepJournal(true);
  host::DxfError ignored;
  const host::PairList circle{{0, "CIRCLE"}, {8, "FUZZ_LAYER"}, {10, "1.0"}, {20, "2.0"}, {40, "3.0"},
                              {1001, "FUZZ_APP"}, {1000, "x"}};
  const std::vector<host::DxfEntity*> space = drawing.ModelSpace();
  if (!space.empty()) {
    host::PairList pairs = space.front()->pairs;
    pairs.push_back({1001, "FUZZ_APP"});
    pairs.push_back({1000, "y"});
    drawing.ReplaceEntity(*space.front(), std::move(pairs), &ignored);
  }
  drawing.AppendEntity(circle, &ignored);
  drawing.SetHeaderVariable("$FUZZVAR", {{1, "x"}});
  drawing.SetHeaderVariable("$HANDSEED", {{5, "FFFFFF"}});
  for (const char* name : {"*U", "FUZZ_BLOCK"})
    if (drawing.BeginBlock(name, {1, 2, 0}, &ignored)) {
      drawing.AddBlockEntity(circle, &ignored);
      drawing.EndBlock(&ignored);
    }
  drawing.RollBack(0);
  FUZZ_CHECK(drawing.SaveText() == saved, "edits taken back left another text");
  host::DxfDrawing reloaded;
  FUZZ_CHECK(reloaded.LoadText(saved, &error), "the saved text does not load: " + error.ToString());
  const std::string again = reloaded.SaveText();
  FUZZ_CHECK(again == saved, "saved, loaded and saved again, the text changed (" + std::to_string(saved.size()) +
                                 " then " + std::to_string(again.size()) + " bytes)");
  return 0;
}
