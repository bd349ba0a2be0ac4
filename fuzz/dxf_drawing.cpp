// The host's drawing load through its public interface. A drawing that
// loads must save, load again and save to the same text, and its clone (the
// host's undo copy) must save the same, as must the drawing after edits
// taken back from its journal; a drawing that fails to load is left empty.
// The same bytes loaded from a file, read in parts at once, give the same
// drawing or the same refusal. Then the drawing is edited as commands edit
// it (entities added and replaced, a block defined and inserted): every
// handle the edits hand out is new, none is 0, and the edited drawing saves,
// loads and saves the same.
#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "platform/host/DxfDrawing.h"
#include "platform/host/DxfGroupText.h"

namespace {

using host::DxfDrawing;
using host::DxfError;
using host::PairList;

// How often each handle stands in the saved text: group 5 outside the
// header, and 105 of a DIMSTYLE (whose group 5 is a block name).
std::map<uint64_t, int> HandleCounts(const std::string& text) {
  std::map<uint64_t, int> counts;
  host::DxfTokenReader reader(text);
  host::DxfToken token;
  bool header = false, dimstyle = false, sectionName = false;
  while (reader.Next(token, nullptr)) {
    std::string_view value = host::TrimDxf(token.value);
    if (token.code == 0) {
      dimstyle = host::SameName(value, "DIMSTYLE");
      sectionName = host::SameName(value, "SECTION");
      if (host::SameName(value, "ENDSEC")) header = false;
      continue;
    }
    if (sectionName && token.code == 2) header = host::SameName(value, "HEADER");
    sectionName = false;
    if (header) continue;
    if (token.code == (dimstyle ? 105 : 5))
      if (auto h = host::ParseHandle(value)) ++counts[*h];
  }
  return counts;
}

void CheckRoundTrip(const DxfDrawing& drawing, const char* what) {
  const std::string saved = drawing.SaveText();
  DxfDrawing reloaded;
  DxfError error;
  FUZZ_CHECK(reloaded.LoadText(saved, &error),
             std::string(what) + ": the saved text does not load: " + error.ToString());
  const std::string again = reloaded.SaveText();
  FUZZ_CHECK(again == saved, std::string(what) + ": saved, loaded and saved again, the text changed (" +
                                 std::to_string(saved.size()) + " then " + std::to_string(again.size()) +
                                 " bytes)");
}

// The edits commands make, chosen by the input's size and last byte.
void Edit(DxfDrawing& drawing, const uint8_t* data, size_t size) {
  const std::map<uint64_t, int> before = HandleCounts(drawing.SaveText());
  const unsigned pick = size ? data[size - 1] : 0;
  const std::vector<host::DxfEntity*> model = drawing.ModelSpace();
  // A handle of the drawing copied into new pairs must not be taken over.
  std::string stolen = "1";
  if (!model.empty())
    if (auto h = model[pick % model.size()]->Handle()) stolen = host::FormatHandle(*h);

  DxfError error;
  (void)drawing.AppendEntity({{0, "LINE"}, {5, stolen}, {8, "FUZZ"}, {10, "0"}, {20, "0"}, {30, "0"},
                              {11, "1"}, {21, "1"}, {31, "0"}, {1001, "JOV_DATA"}, {1000, "x"}},
                             &error);
  (void)drawing.AppendEntity({{0, "POLYLINE"}, {8, "0"}, {66, "1"}, {0, "VERTEX"}, {5, stolen}, {10, "0"},
                              {20, "0"}, {0, "VERTEX"}, {10, "2"}, {20, "0"}, {0, "SEQEND"}},
                             &error);
  if (!model.empty()) {
    host::DxfEntity& victim = *model[(pick / 7) % model.size()];
    PairList replacement = victim.pairs;
    replacement.insert(replacement.begin() + 1, {5, stolen});
    if (pick & 1) {
      replacement = {{0, "POLYLINE"}, {5, stolen}, {8, "0"}, {0, "VERTEX"}, {10, "1"}, {20, "1"},
                     {0, "VERTEX"}, {10, "3"}, {20, "1"}};
    }
    (void)drawing.ReplaceEntity(victim, std::move(replacement), &error);
  }
  if (drawing.BeginBlock((pick & 2) ? "*U" : "FUZZ_BLOCK", {0, 0, 0}, &error)) {
    (void)drawing.AddBlockEntity({{0, "CIRCLE"}, {5, stolen}, {8, "0"}, {10, "0"}, {20, "0"}, {40, "1"}},
                                 &error);
    if (std::optional<std::string> name = drawing.EndBlock(&error))
      (void)drawing.AppendEntity({{0, "INSERT"}, {8, "0"}, {2, *name}, {10, "5"}, {20, "5"}}, &error);
    else
      drawing.CancelBlock();
  }

  const std::string saved = drawing.SaveText();
  for (const auto& [handle, count] : HandleCounts(saved)) {
    auto old = before.find(handle);
    const int had = old == before.end() ? 0 : old->second;
    FUZZ_CHECK(handle != 0 || count <= had, "an edit handed out handle 0");
    FUZZ_CHECK(count <= std::max(had, 1),
               "handle " + host::FormatHandle(handle) + " stands " + std::to_string(count) +
                   " times after the edits, " + std::to_string(had) + " before");
    FUZZ_CHECK(drawing.HandleSeed() > handle || had > 0, "the seed is not above a new handle");
  }
  if (drawing.HandleSeed() < DxfDrawing::kHandleLimit) {
    CheckRoundTrip(drawing, "edited");
  } else {
    // Edits took the handles past the limit of a load: the next load
    // refuses the drawing rather than run out.
    DxfDrawing reloaded;
    FUZZ_CHECK(!reloaded.LoadText(saved, &error) && error.message.find("no room") != std::string::npos,
               "a drawing with handles past the limit loads: " + error.ToString());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DxfDrawing drawing;
  DxfError error;
  DxfDrawing::TuneParallelLoad(0, 1);
  const bool loaded = drawing.LoadText(fuzz::Text(data, size), &error);

  // The file-load path reads the same bytes to the same drawing, here in
  // parts read at once by two to five threads: parts of a few bytes, or of
  // several entities, so that a run of VERTEX or ATTRIB entities begun in
  // one part goes on in the next.
  DxfDrawing fromFile;
  DxfError fileError;
  const size_t part = (size & 1) ? 1 + size % 53 : 64 + size % 960;
  DxfDrawing::TuneParallelLoad(part, 2 + static_cast<unsigned>(size / 53 % 4));
  const bool fileLoaded = fromFile.Load(fuzz::WriteScratchFile("drawing.dxf", fuzz::Text(data, size)), &fileError);
  DxfDrawing::TuneParallelLoad(0, 0);
  FUZZ_CHECK(fileLoaded == loaded, "the file loads " + std::string(fileLoaded ? "" : "not ") +
                                       "where the text does " + std::string(loaded ? "" : "not") + ": " +
                                       error.ToString() + " / " + fileError.ToString());
  FUZZ_CHECK(loaded || (error.message == fileError.message && error.line == fileError.line),
             "the file is refused otherwise: " + error.ToString() + " / " + fileError.ToString());

  if (!loaded) {
    FUZZ_CHECK(drawing.Entities().empty() && drawing.Blocks().empty() && drawing.Tables().empty(),
               "a failed load left content: " + error.ToString());
    FUZZ_CHECK(fromFile.Entities().empty() && fromFile.Blocks().empty() && fromFile.Tables().empty(),
               "a failed file load left content: " + fileError.ToString());
    return 0;
  }
  // What commands read of a drawing they were handed.
  for (const host::DxfEntity* entity : drawing.ModelSpace()) {
    const auto handle = entity->Handle();  // 0 is no handle
    if (handle && *handle != 0) FUZZ_CHECK(drawing.FindByHandle(*handle), "a handle is not indexed");
    (void)entity->Layer();
  }
  (void)drawing.HeaderValue("$INSUNITS");
  FUZZ_CHECK(drawing.HandleSeed() < DxfDrawing::kHandleLimit, "a loaded seed leaves no room");

  const std::string saved = drawing.SaveText();
  FUZZ_CHECK(fromFile.SaveText() == saved, "the file saves another text than the same bytes as text");
  FUZZ_CHECK(drawing.Clone()->SaveText() == saved, "the clone saves another text");

  // Edits of every kind kept in the journal and taken back, one by one,
  // leave the text as it was before each, whatever sections, tables and
  // header the drawing lacked.
  drawing.KeepJournal(true);
  host::DxfError ignored;
  const host::PairList circle{{0, "CIRCLE"}, {8, "FUZZ_LAYER"}, {10, "1.0"}, {20, "2.0"}, {40, "3.0"},
                              {1001, "FUZZ_APP"}, {1000, "x"}};
  std::vector<std::pair<size_t, std::string>> marks;
  auto mark = [&] { marks.push_back({drawing.JournalMark(), drawing.SaveText()}); };
  const std::vector<host::DxfEntity*> space = drawing.ModelSpace();
  for (size_t i = 0; i < space.size() && i < 2; ++i) {
    host::PairList pairs = space[i]->pairs;
    if (i == 0) pairs.insert(pairs.end(), {{1001, "FUZZ_APP"}, {1000, "y"}});
    mark();
    drawing.ReplaceEntity(*space[i], std::move(pairs), &ignored);
  }
  mark();
  drawing.AppendEntity(circle, &ignored);
  mark();
  drawing.SetHeaderVariable("$FUZZVAR", {{1, "x"}});
  mark();
  drawing.SetHeaderVariable("$HANDSEED", {{5, "FFFFFF"}});
  for (const char* name : {"*U", "FUZZ_BLOCK"}) {
    mark();
    if (drawing.BeginBlock(name, {1, 2, 0}, &ignored)) {
      drawing.AddBlockEntity(circle, &ignored);
      drawing.EndBlock(&ignored);
    }
  }
  for (size_t m = marks.size(); m-- > 0;) {
    drawing.RollBack(marks[m].first);
    FUZZ_CHECK(drawing.SaveText() == marks[m].second, "edits taken back left another text at mark " + std::to_string(m));
  }
  FUZZ_CHECK(drawing.SaveText() == saved, "edits taken back left another text");
  CheckRoundTrip(drawing, "loaded");

  Edit(drawing, data, size);
  return 0;
}
