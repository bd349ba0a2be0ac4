// The host's drawing load through its public interface. A drawing that
// loads must save, load again and save to the same text, and its clone (the
// host's undo copy) must save the same; a drawing that fails to load is
// left empty.
#include <memory>
#include <string>

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
  host::DxfDrawing reloaded;
  FUZZ_CHECK(reloaded.LoadText(saved, &error), "the saved text does not load: " + error.ToString());
  const std::string again = reloaded.SaveText();
  FUZZ_CHECK(again == saved, "saved, loaded and saved again, the text changed (" + std::to_string(saved.size()) +
                                 " then " + std::to_string(again.size()) + " bytes)");
  return 0;
}
