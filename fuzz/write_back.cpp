// The host's write-back of chains a command edits: the input is a drawing,
// or the group-code text of entities put into a small R2000 drawing. In one
// change every model-space entity is handed out, edited as commands edit
// (kept as it is, or any of a "JOV_DATA" key set, a run of extended data
// put in at a place the input picks, a number changed) and written back,
// some twice, some then as handed out. The host's own road (values set and
// runs put in where they stand) gives what a whole replacement of every
// entity gives, the same answers and the same text; cancelling the change
// gives the drawing back byte for byte (after a committed one too), and a
// committed change saves, loads and saves the same.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "dataformat/GroupCodeChain.h"
#include "dataformat/GroupCodeClass.h"
#include "dataformat/HeapCopy.h"
#include "fuzz/FuzzSupport.h"
#include "jov_vantrix/section/SectionNumbering.h"
#include "platform/host/DxfDrawing.h"
#include "platform/host/core/HostSession.h"

namespace {

constexpr char kTables[] =
    "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n9\n$HANDSEED\n5\nFFF\n0\nENDSEC\n0\nSECTION\n2\nTABLES\n0\nTABLE\n"
    "2\nLAYER\n5\n2\n330\n0\n100\nAcDbSymbolTable\n70\n1\n0\nLAYER\n5\n10\n330\n2\n100\nAcDbSymbolTableRecord\n100\n"
    "AcDbLayerTableRecord\n2\n0\n70\n0\n62\n7\n6\nCONTINUOUS\n0\nENDTAB\n0\nTABLE\n2\nAPPID\n5\n9\n330\n0\n100\n"
    "AcDbSymbolTable\n70\n1\n0\nAPPID\n5\n12\n330\n9\n100\nAcDbSymbolTableRecord\n100\nAcDbRegAppTableRecord\n2\n"
    "JOV_DATA\n70\n0\n0\nENDTAB\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n";

resbuf* Node(int16_t code, const char* text = nullptr) {
  auto* node = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
  node->code = code;
  if (text) node->value.text = DupString(text);
  return node;
}

resbuf* Real(int16_t code, double value) {
  resbuf* node = Node(code);
  node->value.real = value;
  return node;
}

// The edits of a chain, any together: a "JOV_DATA" key set, a run of
// extended data put in, a number changed.
enum Edit : unsigned { kKeySet = 1, kRunPutIn = 2, kValueChanged = 4 };

// What is done to one entity, drawn from the input's hash and the entity's
// place, so that a change anywhere in the input tries other edits (the
// bytes of a drawing leave little else free to choose them by).
struct Picks {
  unsigned edits, place, copies, copyFrom, number;
  bool application, half, twice, handedOutAfter;
};

Picks PicksFor(uint64_t hash, size_t k) {
  uint64_t x = hash + (k + 1) * 0x9E3779B97F4A7C15u;  // splitmix64
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9u;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBu;
  x ^= x >> 31;
  return {static_cast<unsigned>(x & 7),          static_cast<unsigned>((x >> 3) & 0xFFFF),
          1 + static_cast<unsigned>((x >> 19) % 3), static_cast<unsigned>((x >> 23) & 0xFFFF),
          static_cast<unsigned>((x >> 39) & 0xFFFF), ((x >> 55) & 1) != 0,
          ((x >> 56) & 1) != 0,                    ((x >> 57) & 1) != 0,
          ((x >> 58) & 1) != 0};
}

// A run of extended data put in where picks say: among the extended
// data's places (after the marker), or at its end. The run is an
// application of its own or none, then copies of nodes the entity holds
// (codes it meets again after the run), or a few of the usual kinds where
// it holds none.
void PutInRun(resbuf*& chain, const Picks& picks) {
  std::vector<resbuf**> places;
  std::vector<const resbuf*> extendedNodes;
  bool extended = false;
  for (resbuf** at = &chain; *at; at = &(*at)->next) {
    if (extended) {
      places.push_back(at);
      extendedNodes.push_back(*at);
    }
    if ((*at)->code == -3) extended = true;
  }
  resbuf** end = &chain;
  while (*end) end = &(*end)->next;
  places.push_back(end);
  resbuf** at = places[picks.place % places.size()];
  resbuf* run = nullptr;
  resbuf** tail = &run;
  auto add = [&tail](resbuf* node) {
    *tail = node;
    while (*tail) tail = &(*tail)->next;
  };
  if (picks.application) add(Node(1001, "FUZZ_APP"));
  if (extendedNodes.empty()) {
    add(Node(1000, "run"));
    add(Real(1040, picks.half ? 2.5 : 0.0));
    add(Node(1000, "^J"));
  } else {
    for (unsigned k = 0; k < picks.copies; ++k)
      add(CopyGroupCodeChain(extendedNodes[(picks.copyFrom + 7 * k) % extendedNodes.size()], false, true));
  }
  *tail = *at;
  *at = run;
}

// The chain edited as picks say: the number changed is any real, point or
// integer, those of the extended data among them.
void EditChain(resbuf*& chain, const Picks& picks) {
  if (picks.edits & kKeySet) SetJovDataValue("\x01" "fuzz key", "fuzz value", chain);
  if (picks.edits & kRunPutIn) PutInRun(chain, picks);
  if (picks.edits & kValueChanged) {
    std::vector<resbuf*> numbers;
    for (resbuf* node = chain; node; node = node->next) {
      const uint32_t kind = GroupCodeKind(GetGroupCodeClass(node->code));
      if (node->code > 0 && (kind == GC_KIND_REAL || kind == GC_KIND_POINT || kind == GC_KIND_INT16))
        numbers.push_back(node);
    }
    if (!numbers.empty()) {
      resbuf* node = numbers[picks.number % numbers.size()];
      const uint32_t kind = GroupCodeKind(GetGroupCodeClass(node->code));
      if (kind == GC_KIND_INT16) node->value.i16 ^= 5;
      else if (kind == GC_KIND_REAL) node->value.real += 1.0;
      else node->value.point[0] += 1.0;
    }
  }
}

struct Written {
  std::vector<int> answers;
  std::string text;
};

// One command writing every entity back, on the drawing opened anew or
// on the one open, the change then cancelled or committed.
Written WriteBack(host::HostSession& session, const std::string* drawing, const uint8_t* data, size_t size,
                  bool commit) {
  host::DxfError error;
  if (drawing)
    FUZZ_CHECK(session.OpenDrawingText(*drawing, &error),
               "the drawing loaded once no longer loads: " + error.ToString());
  session.BeginCommand();
  const std::string before = session.Drawing().SaveText();
  session.BeginChange();
  Written written;
  uint64_t hash = 14695981039346656037u;  // FNV-1a of the input
  for (size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 1099511628211u;
  size_t k = 0;
  for (resbuf* e = session.AltEntNextApp(1, ""); e; e = session.AltEntNextApp(0, ""), ++k) {
    const Picks picks = PicksFor(hash, k);
    resbuf* copy = CopyGroupCodeChain(e);
    FUZZ_CHECK(copy, "a chain does not copy");
    EditChain(copy, picks);
    written.answers.push_back(session.EntityWrite(copy, 0));
    // Written again as it is: the entity already holds what it brings.
    if (picks.twice) written.answers.push_back(session.EntityWrite(copy, 0));
    FreeGroupCodeChain(copy);
    // Or the edit taken back by writing the chain as it was handed out.
    if (picks.handedOutAfter) {
      copy = CopyGroupCodeChain(e);
      written.answers.push_back(session.EntityWrite(copy, 0));
      FreeGroupCodeChain(copy);
    }
  }
  written.text = session.Drawing().SaveText();
  session.EndChange(commit ? 1 : -1);
  if (!commit)
    FUZZ_CHECK(session.Drawing().SaveText() == before, "a cancelled write-back left another drawing");
  session.EndCommand();
  return written;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::atexit([] { host::TheHost().Shutdown(); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string_view input = fuzz::Text(data, size);
  const bool whole = input.find("SECTION") != std::string_view::npos;
  const std::string drawing = whole ? std::string(input) : kTables + std::string(input) + "0\nENDSEC\n0\nEOF\n";
  {
    host::DxfDrawing loads;
    host::DxfError error;
    if (!loads.LoadText(drawing, &error)) return 0;
  }
  host::HostSession& session = host::TheHost();

  host::DxfDrawing::TuneReplace(false);
  const Written replaced = WriteBack(session, &drawing, data, size, false);
  host::DxfDrawing::TuneReplace(true);
  const Written set = WriteBack(session, &drawing, data, size, false);
  FUZZ_CHECK(set.answers == replaced.answers, "the write-back answers otherwise than a whole replacement");
  FUZZ_CHECK(set.text == replaced.text, "the write-back gives another drawing than a whole replacement (" +
                                            std::to_string(set.text.size()) + " then " +
                                            std::to_string(replaced.text.size()) + " bytes)");

  // Committed, the drawing saves, loads and saves the same.
  const Written committed = WriteBack(session, &drawing, data, size, true);
  const std::string saved = session.Drawing().SaveText();
  FUZZ_CHECK(!session.Refusal().empty() || saved == committed.text, "a committed write-back saves another drawing");
  // The next command writes the entities again, over what the first put
  // in, and is cancelled.
  (void)WriteBack(session, nullptr, data, size, false);
  host::DxfDrawing reloaded;
  host::DxfError error;
  FUZZ_CHECK(reloaded.LoadText(saved, &error), "the written drawing does not load: " + error.ToString());
  FUZZ_CHECK(reloaded.SaveText() == saved, "the written drawing saves otherwise once loaded");
  return 0;
}
