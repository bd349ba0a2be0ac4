// The CAD host's drawing: what an ASCII DXF file holds, kept so that a load
// and a save lose nothing, with the edits the host offers its plug-ins.
#pragma once

#include <array>
#include <cstdint>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host/ChunkedStack.h"
#include "platform/host/DxfEntity.h"
#include "platform/host/DxfPair.h"
#include "platform/host/HandleIndex.h"
#include "platform/host/TextPages.h"

namespace host {

using EntityList = std::vector<std::unique_ptr<DxfEntity>>;

// One table of the TABLES section (LAYER, LTYPE, STYLE, APPID, ...).
struct DxfTable {
  PairList head;  // "0 TABLE", "2 <name>" and the table's own pairs
  EntityList entries;
  PairList end;   // "0 ENDTAB" and whatever follows it
  std::string_view Name() const;
};

// One block definition of the BLOCKS section.
struct DxfBlock {
  DxfEntity begin;  // the BLOCK record: name, flags, base point
  EntityList entities;
  DxfEntity end;    // the ENDBLK record
  std::string_view Name() const { return begin.Name(); }
};

// One header variable: "9 $NAME" and its value pairs.
struct DxfHeaderVariable {
  std::string name;
  PairList values;
};

class DxfDrawing {
 public:
  DxfDrawing();
  ~DxfDrawing();
  DxfDrawing(const DxfDrawing&) = delete;
  DxfDrawing& operator=(const DxfDrawing&) = delete;

  // A deep copy that keeps every object's id, so names handed out for the
  // original find the same objects in the copy (the host's undo).
  std::unique_ptr<DxfDrawing> Clone() const;

  // ---- Files. A failed load leaves the drawing empty.
  bool Load(const std::filesystem::path& path, DxfError* error);
  bool LoadText(std::string_view text, DxfError* error);
  // Large runs of entities are read in parts of about partBytes at once, on
  // up to `threads` threads (0: as the machine offers; 1: one part); 0, 0
  // for the usual. For tests, which read small drawings in many parts.
  static void TuneParallelLoad(size_t partBytes, unsigned threads);
  // Files of fromBytes or more are read through a mapping (SIZE_MAX: the
  // usual size), and afterMap is called once one is mapped. For tests.
  static void TuneMappedLoad(size_t fromBytes, void (*afterMap)(const std::filesystem::path&) = nullptr);
  // Writes through a temporary file in the target folder and a rename, so
  // the target is either the old file or the complete new one; a symbolic
  // link is written through, a new file gets 0666 less the umask. The file the
  // drawing was loaded from is refused unless overwriteSource is set.
  bool Save(const std::filesystem::path& path, DxfError* error,
            bool overwriteSource = false) const;
  std::string SaveText() const;
  const std::filesystem::path& SourcePath() const { return sourcePath_; }

  // ---- Header.
  std::string_view VersionString() const { return version_; }  // "AC1015"
  int Version() const { return versionNumber_; }                // 1015
  bool IsR12() const { return versionNumber_ < 1012; }  // no subclass markers, no owners
  bool IsUtf8() const { return versionNumber_ >= 1021; }
  // First value of a variable ("$INSUNITS" -> "4"), trimmed; case-insensitive name.
  std::optional<std::string> HeaderValue(std::string_view name) const;
  const PairList* HeaderVariable(std::string_view name) const;
  const std::vector<DxfHeaderVariable>& HeaderVariables() const { return header_; }
  void SetHeaderVariable(std::string_view name, PairList values);

  // ---- Entities of the ENTITIES section (model and paper space) in order.
  const EntityList& Entities() const { return entities_; }
  std::vector<DxfEntity*> ModelSpace() const;
  // Whether an entity of the ENTITIES section is a model-space one (its
  // group 67 is not 1): a walk of the drawing asks it entity by entity
  // while the entity's pairs are at hand, rather than collecting them first.
  static bool InModelSpace(const DxfEntity& entity) { return entity.Value(67) != "1"; }
  DxfEntity* FindByHandle(uint64_t handle) const;
  DxfEntity* FindById(uint64_t id) const;
  // Adds a model-space entity built from pairs (group 0 first; a POLYLINE
  // or INSERT may bring its VERTEX/ATTRIB run and SEQEND). Handle, owner,
  // layer and what the drawing's version needs are completed; missing
  // layers and applications are registered. Null with the reason when the
  // pairs do not make one entity or an INSERT names an unknown block.
  DxfEntity* AppendEntity(PairList pairs, DxfError* error);
  // Replaces an entity's pairs, keeping its handle and owner. Children are
  // replaced when the pairs bring a run of their own, else kept. Pairs of
  // the same codes in the same places change only the values that differ
  // (the journal notes those alone); a replacement that would leave the
  // entity byte for byte as it is notes nothing; else the entity takes a
  // list of the size it needs.
  bool ReplaceEntity(DxfEntity& entity, PairList pairs, DxfError* error) {
    return ReplaceEntityFrom(entity, pairs, error);
  }
  // The same, working in pairs, which is left empty with its room for the
  // caller's next entity.
  bool ReplaceEntityFrom(DxfEntity& entity, PairList& pairs, DxfError* error);
  // A replacement of the entity by its own pairs with the values at places
  // (ascending indexes of its pairs) set, and the pairs of values beyond
  // places' count (extended data) put in before the pair at insertAt,
  // where that is sure to give what ReplaceEntity with those pairs gives:
  // the values are set and journalled as there, and the names the entity
  // uses registered. False, with nothing done, where ReplaceEntity could do
  // more (a value it reads to complete an entity, a form it would mend).
  // values is left empty. A list grown by pairs put in takes its memory
  // from the arena when one is given.
  bool ReplaceValues(DxfEntity& entity, const std::vector<uint32_t>& places, PairList& values,
                     size_t insertAt = SIZE_MAX, PairArena* arena = nullptr);
  // For tests: whether a replacement changes only the values that differ
  // (the usual) or puts in a whole new list every time.
  static void TuneReplace(bool onlyWhatDiffers);
  // Takes an entity of the ENTITIES section out of the drawing, its run of
  // children with it; false with the reason for any other object.
  bool EraseEntity(const DxfEntity& entity, DxfError* error);

  // ---- Blocks. One definition is built at a time: begin, add, end.
  const std::vector<std::unique_ptr<DxfBlock>>& Blocks() const { return blocks_; }
  const DxfBlock* FindBlock(std::string_view name) const;
  // A name beginning with "*U" is anonymous: the block gets the next free
  // "*U<n>" name at the end. A named block that exists is redefined.
  bool BeginBlock(std::string_view name, const std::array<double, 3>& basePoint,
                  DxfError* error);
  bool AddBlockEntity(PairList pairs, DxfError* error);
  // Stores the definition and gives its final name.
  std::optional<std::string> EndBlock(DxfError* error);
  void CancelBlock();
  bool BlockOpen() const { return pending_ != nullptr; }

  // ---- Tables.
  const std::vector<std::unique_ptr<DxfTable>>& Tables() const { return tables_; }
  const DxfTable* FindTable(std::string_view name) const;
  const DxfEntity* FindTableEntry(std::string_view table, std::string_view name) const;
  std::vector<const DxfEntity*> Layers() const;
  const DxfEntity* FindLayer(std::string_view name) const { return FindTableEntry("LAYER", name); }
  // The layer's entry, added (colour 7, continuous) when the table lacks it.
  const DxfEntity& EnsureLayer(std::string_view name);
  const DxfEntity& EnsureAppId(std::string_view name);

  // ---- Handles. The seed stays above every handle in use. A drawing whose
  // handles or seed reach kHandleLimit is refused at load, so the handles
  // left above it never run out and never wrap to 0 or onto one in use.
  static constexpr uint64_t kHandleLimit = uint64_t{1} << 63;
  bool UsesHandles() const { return usesHandles_; }
  uint64_t HandleSeed() const { return handSeed_; }
  // Set when the seed reached kHandleLimit: such a drawing is neither
  // loaded nor saved, and the edit that got there must be taken back.
  std::optional<std::string> HandleLimitReached() const;
  // A handle of its own: an edit of its own in the journal.
  uint64_t AllocateHandle();

  // ---- Undo. While the journal is kept, every edit above notes what it
  // replaced, so that taking it back costs what the edit touched, not the
  // drawing. Object ids are never given out twice, so a name that went with
  // an undone edit finds nothing rather than another object.
  void KeepJournal(bool keep);  // starts it empty, or drops it
  size_t JournalMark() const { return lastMark_ = journal_.size(); }
  // Takes back the edits made since the mark, newest first: the drawing
  // saves byte for byte as it did at the mark.
  void RollBack(size_t mark);
  // The edits stay; the journal starts again empty.
  void ForgetJournal();

 private:
  enum class SectionKind { Header, Tables, Blocks, Entities, Verbatim, Loose };
  // Sections in file order; structured ones hold their content in the
  // members below (their pairs: the comments before the first object),
  // verbatim ones (CLASSES, OBJECTS, unknown) their pairs, loose ones the
  // comments that stood between sections.
  struct Section {
    SectionKind kind;
    std::string name;
    PairList pairs;
  };
  struct PendingBlock {
    std::string name;
    std::array<double, 3> base{};
    bool anonymous = false;
    DxfBlock* existing = nullptr;  // a named block being redefined
    std::optional<uint64_t> record;  // its BLOCK_RECORD handle (R2000 and later)
    EntityList entities;
  };
  class Loader;
  // How to take back one step of an edit; which members count depends on
  // the kind.
  struct Undo {
    enum class Kind : uint8_t {
      State,               // handSeed etc. before an edit; header grown at the end
      HeaderValues,        // index: the variable; pairs: its old values
      SectionAdded,        // index: where it was inserted
      TableAdded,          // index: where it was inserted
      TableEntryAdded,     // table; pairs: the table's old head
      EntityAdded,         // the last of entities_
      EntityReplaced,      // entity; pairs (and children) it had
      EntityValuesSet,     // entity; valuesFrom: its values in setValues_ (the pairs whose values changed)
      EntityPairsInserted,  // as EntityValuesSet, and count pairs put in at index
      EntityErased,        // index: where it stood; entities: it
      PendingOpened,       // pending_ was made
      PendingEntityAdded,  // the last of pending_->entities
      PendingDropped,      // pending: the definition that was open
      BlockAdded,          // the last block; pending: its definition's shell
      BlockRedefined,      // block; pairs: its old BLOCK; entities; pending
    };
    explicit Undo(Kind k) : kind(k) {}
    // What few edits note, apart: a command notes tens of thousands of
    // records, each moved into the journal.
    struct Rare {
      DxfTable* table = nullptr;
      DxfBlock* block = nullptr;
      EntityRun children;
      EntityList entities;
      std::unique_ptr<PendingBlock> pending;
    };
    Rare& Rarely() {
      if (!rare) rare = std::make_unique<Rare>();
      return *rare;
    }
    Kind kind;
    bool usesHandles = false;
    bool childrenReplaced = false;
    bool reindex = false;  // the entity's handle or run changed
    uint32_t count = 0;
    size_t index = 0;
    uint64_t handSeed = 0;
    size_t seedIndex = SIZE_MAX;  // $HANDSEED's place in the header
    DxfEntity* entity = nullptr;
    PairList pairs;
    size_t valuesFrom = 0;
    std::unique_ptr<Rare> rare;
  };
  // A value an edit set, as it was, and the index of its pair: the values
  // of the journal's records, from each record's valuesFrom up to the next
  // record's, kept in one stack rather than two lists a record (a command
  // writing back tens of thousands of entities notes one record each).
  struct SetValue {
    uint32_t place;
    DxfValue value;
  };
  // Notes the value at the place as it was (when journaling) and sets it.
  void SetValueNoted(DxfEntity& entity, uint32_t place, DxfValue&& value);

  void Clear();
  bool Journaling() const { return journaling_; }
  // A public edit begins: the handle seed, the header's length and the
  // seed's variable are noted when it first changes one of them (NoteState),
  // so that an edit that changes none of them notes nothing.
  void JournalState() { stateOpen_ = journaling_; }
  void NoteState();
  DxfHeaderVariable* SeedVariable();
  // Before the seed's variable is rewritten: its text goes with the last
  // State record when that has none yet.
  void KeepSeedText(DxfHeaderVariable& seed);
  void Journal(Undo&& undo) {
    if (journaling_) journal_.push_back(std::move(undo));
  }
  void Undo1(Undo& undo);
  // Hands the drawing's DXF text to sink piece by piece; false when the
  // sink failed.
  bool WriteText(const std::function<bool(std::string_view)>& sink) const;
  // Reads the first size bytes of the pages; the values read are copied
  // into pages of the drawing's own, so nothing points into these after.
  bool LoadPages(TextPages& pages, size_t size, DxfError* error);
  bool IndexLoaded(DxfError* error);
  void Index(DxfEntity& entity, bool drawable = false);
  // What indexing reads of an object: its own handle (0 for none), and
  // top raised to the highest of its handle pairs.
  static uint64_t HandlesOf(const DxfEntity& entity, uint64_t& top);
  // The loaded entities, read and numbered on several threads.
  void IndexLoadedEntities();
  void Unindex(DxfEntity& entity);
  void NoteHandle(uint64_t handle);
  uint64_t NewHandle();  // AllocateHandle inside an edit
  bool IsDrawable(uint64_t id) const;
  void SetHandSeedVariable();
  Section& EnsureSection(SectionKind kind, const char* name);
  DxfTable& EnsureTable(std::string_view name);
  DxfEntity& AddTableEntry(DxfTable& table, PairList body,
                           std::optional<uint64_t> handle = std::nullopt);
  std::optional<uint64_t> ModelSpaceRecord();  // noted, as the edits ask for it entity after entity
  std::optional<uint64_t> BlockRecordOf(const DxfBlock& block) const;
  // Turns pairs into an entity fit for this drawing; see AppendEntity.
  bool BuildEntity(PairList pairs, DxfEntity& out, std::optional<uint64_t> owner,
                   const DxfEntity* keep, DxfError* error);
  void RegisterNames(const DxfEntity& entity, bool withRun = true);
  // The same for the entity alone, its layer pair's index (the first 8 of
  // its own data, or its pairs' count) and its extended data's start told.
  void RegisterNamesAt(const DxfEntity& entity, size_t layerAt, size_t xd);
  std::string NextAnonymousName() const;
  // FindTableEntry for the edits, which ask for the same few layers and
  // applications entity after entity: the last entries found are kept by
  // the bytes they were asked with, forgotten when an entry or table goes.
  const DxfEntity* FindEntryNoted(std::string_view table, std::string_view name);
  void ForgetNotedEntries() { notedEntries_ = {}; }
  struct NotedEntry {
    std::string table, name;
    const DxfEntity* entry = nullptr;
  };
  std::array<NotedEntry, 8> notedEntries_;
  size_t nextNoted_ = 0;
  size_t lastNoted_ = 0;  // the entry last found

  std::filesystem::path sourcePath_;
  std::shared_ptr<TextPages> text_;  // the loaded values (shared with clones)
  // The pair lists and objects of the load's larger parts; they go after
  // every list and object.
  std::vector<std::unique_ptr<PairArena>> arenas_;
  size_t textSize_ = 0;              // the size of the text they were read from
  std::string lineEnd_ = "\n";
  std::string version_ = "AC1009";
  int versionNumber_ = 1009;
  bool usesHandles_ = false;
  uint64_t handSeed_ = 1;
  uint64_t nextId_ = 1;

  std::vector<Section> sections_;
  std::vector<DxfHeaderVariable> header_;
  std::vector<std::unique_ptr<DxfTable>> tables_;
  std::vector<std::unique_ptr<DxfBlock>> blocks_;
  EntityList entities_;
  std::unique_ptr<PendingBlock> pending_;

  // Objects by id: ids are handed out in order from idBase_, the first id
  // since the last Clear, so a vector finds them.
  uint64_t idBase_ = 1;
  std::vector<DxfEntity*> byId_;
  std::vector<bool> drawable_;  // entities (not table entries, not BLOCK/ENDBLK)
  HandleIndex byHandle_;

  bool journaling_ = false;
  ChunkedStack<Undo> journal_;
  ChunkedStack<SetValue, 8192> setValues_;
  bool stateOpen_ = false;           // the edit under way has not noted its state yet
  size_t stateRecord_ = SIZE_MAX;    // the journal's last State record, SIZE_MAX: none
  // The last mark handed out: edits after a State record with no mark
  // above it are all taken back with it, so it serves them all.
  mutable size_t lastMark_ = 0;
  size_t seedHint_ = 0;  // where $HANDSEED was last found in header_
};

}  // namespace host
