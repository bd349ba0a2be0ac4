// Reading a drawing from ASCII DXF text.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <utility>
#include <vector>

#include "platform/host/DxfDrawing.h"
#include "platform/host/DxfGroupText.h"
#include "platform/host/DxfText.h"
#include "platform/host/DxfTextCuts.h"
#include "platform/host/LargePages.h"
#include "platform/host/ParallelTasks.h"

namespace host {
namespace {

bool IsWord(const DxfToken& t, std::string_view word) {
  return t.code == 0 && SameName(TrimDxf(t.value), word);
}

// A failure found in the structure of the text: a malformed pair further on
// is reported instead, as the first thing wrong with the text as a file.
bool Refuse(DxfTokenReader& reader, DxfError* error, std::string message, int line) {
  if (reader.Failed() || !reader.RestIsWellFormed(error)) return false;
  return Fail(error, std::move(message), line);
}

// The version named by $ACADVER, looked up before anything is converted
// because it decides the text encoding of the whole file.
bool FindVersion(std::string_view text, std::string& version, int& number, DxfError* error) {
  version = "AC1009";
  number = 1009;
  DxfTokenReader reader(text);
  DxfToken token, value;
  if (!reader.Next(token, error))
    return reader.Failed() ? false : Fail(error, "no DXF data in the file");
  do {
    if (IsWord(token, "ENDSEC")) break;
    if (token.code != 9 || TrimDxf(token.value) != "$ACADVER") continue;
    if (!reader.Next(value, error)) break;
    std::string_view name = TrimDxf(value.value);
    std::optional<int64_t> n;
    if (name.size() >= 3 && (name[0] == 'A' || name[0] == 'a') && (name[1] == 'C' || name[1] == 'c'))
      n = ParseDxfInt(name.substr(2));
    if (value.code != 1 || !n || *n < 1000 || *n > 9999)
      return Refuse(reader, error, "unknown DXF version '" + std::string(name.substr(0, 16)) + "'",
                    value.line);
    version = std::string(name);
    number = static_cast<int>(*n);
    return true;
  } while (reader.Next(token, error));
  return !reader.Failed();
}

// Large runs of entities are read in parts at once; a part of this size
// keeps a thread busy well beyond what starting it costs.
constexpr size_t kPartBytes = 2 << 20;
size_t g_partBytes = kPartBytes;
unsigned g_threads = 0;  // as the machine offers

// From this size on a file is read through a mapping of it.
constexpr size_t kMapFrom = 16 << 20;
size_t g_mapFrom = kMapFrom;
void (*g_afterMap)(const std::filesystem::path&) = nullptr;

unsigned LoadThreads() { return g_threads ? g_threads : WorkThreads(); }

// The runs an object can head; a run's type is one of these two (compared
// by address).
constexpr const char kVertexRun[] = "VERTEX";
constexpr const char kAttribRun[] = "ATTRIB";

bool EndsEntities(const DxfToken& t) {
  return IsWord(t, "ENDSEC") || IsWord(t, "SECTION") || IsWord(t, "EOF");
}

}  // namespace

void DxfDrawing::TuneParallelLoad(size_t partBytes, unsigned threads) {
  g_partBytes = partBytes ? partBytes : kPartBytes;
  g_threads = threads;
}

void DxfDrawing::TuneMappedLoad(size_t fromBytes, void (*afterMap)(const std::filesystem::path&)) {
  g_mapFrom = fromBytes == SIZE_MAX ? kMapFrom : fromBytes;
  g_afterMap = afterMap;
}

// Reads the sections pair by pair with one pair of look-ahead (tok_). The
// values kept are copied one after another into pages of their own (keep)
// as they are read, and the pages of the text behind the reading go back to
// the system: what stays is the values, not the codes and line ends around
// them, and nothing points into the text once the load is done.
class DxfDrawing::Loader {
 public:
  Loader(DxfDrawing& drawing, TextPages& pages, TextPages& keep, size_t size, bool convert, DxfError* error)
      : d_(drawing),
        pages_(pages),
        keep_(keep),
        reader_(std::string_view(pages.data(), size)),
        error_(error),
        convert_(convert),
        kept_(keep.data()) {}

  // Reads one part of a run of entities from cut on, viewing each value
  // where it stands (converted ones apart): the text is another reader's
  // until the part is taken.
  Loader(DxfDrawing& drawing, TextPages& pages, TextPages& keep, size_t size, DxfTextCut cut, bool convert)
      : Loader(drawing, pages, keep, size, convert, nullptr) {
    inPlace_ = true;
    reader_.Seek(cut.pos, cut.line);
  }

  // Bytes of values kept.
  size_t Kept() const { return static_cast<size_t>(kept_ - keep_.data()); }

  bool Run() {
    Advance();
    while (have_) {
      if (IsWord(tok_, "EOF")) return true;
      if (tok_.code == 999) {
        if (d_.sections_.empty() || d_.sections_.back().kind != SectionKind::Loose)
          d_.sections_.push_back({SectionKind::Loose, {}, {}});
        d_.sections_.back().pairs.push_back(Pair(tok_));
        Advance();
        continue;
      }
      if (!IsWord(tok_, "SECTION"))
        return Refuse("SECTION expected, found group " + std::to_string(tok_.code) + " '" +
                          std::string(TrimDxf(tok_.value).substr(0, 24)) + "'",
                      tok_.line);
      int line = tok_.line;
      if (!Advance() || tok_.code != 2)
        return Refuse("section name (group 2) expected after SECTION", line);
      // Converted like every other value: the writer converts it back.
      std::string name(TrimDxf(Pair(tok_).value));
      Advance();
      if (!ReadSection(name, line)) return false;
    }
    // A copy cut after an ENDSEC reads as sections: taken as the drawing,
    // it would be saved without what was cut off.
    if (reader_.Failed()) return false;
    return Refuse("the drawing ends without EOF: file truncated?", 0);
  }

 private:
  bool Advance() {
    tokAt_ = {reader_.Position(), reader_.Line()};
    have_ = reader_.Next(tok_, error_);
    if (have_ && !inPlace_) {
      // Everything before the current value is kept already or not needed.
      size_t reading = static_cast<size_t>(tok_.value.data() - pages_.data());
      if (reading - released_ >= kReleaseStep) {
        pages_.Release(released_ - released_ % TextPages::PageSize(), reading);
        released_ = reading;
      }
    }
    return have_;
  }

  bool Refuse(std::string message, int line) {
    return host::Refuse(reader_, error_, std::move(message), line);
  }

  // A value of a part's text as a view, converted when it is kept
  // (KeepValues); one too long for a view has bytes of its own at once,
  // which KeepValues leaves alone, so it is converted here.
  DxfValue InPlace(std::string_view value) const {
    DxfValue view = DxfValue::Borrow(value);
    if (view.IsOwned() && convert_ && !IsAscii(value)) view = DxfUtf8ToModel(value);
    return view;
  }

  DxfPair Pair(const DxfToken& t) {
    if (inPlace_) return {t.code, InPlace(t.value)};
    char* value = kept_;
    size_t size = t.value.size();
    if (convert_ && !IsAscii(t.value)) {
      size = DxfUtf8ToModelInPlace(t.value, value);
      if (size == SIZE_MAX) return {t.code, DxfUtf8ToModel(t.value)};
    } else if (size > 0) {
      std::memcpy(value, t.value.data(), size);
    }
    kept_ += size;
    return {t.code, DxfValue::Borrow({value, size})};
  }

  // A short value the same as the last one kept for its code (the type,
  // the layer, a zero) views those bytes instead of keeping its own.
  struct LastKept {
    const char* at = nullptr;
    size_t size = 0;
  };
  static bool Repeats(LastKept& last, std::string_view value) {
    const size_t size = value.size();
    if (size <= 16 && size == last.size) {
      // A few bytes: compared here rather than in a call.
      size_t i = 0;
      while (i < size && value[i] == last.at[i]) ++i;
      if (i == size) return true;
    }
    last = {value.data(), size};
    return false;
  }

  // Counts a part's value into the room its values take when kept
  // (KeepValues): a converted one at its size in the text, as most.
  void Bound(const DxfToken& t) {
    const std::string_view value = t.value;
    if (value.empty()) return;
    if (convert_ && !IsAscii(value)) bound_ += value.size();
    else if (!Repeats(seen_[static_cast<uint16_t>(t.code) & 63], value)) bound_ += value.size();
  }

  // The current pair and the following ones up to the next group 0.
  void ReadUntilZero(PairList& out) {
    if (inPlace_) {
      // Views only, of the file's text: a part converts its values when
      // they are kept (KeepValues). The list is made once, at its size.
      views_.clear();
      do {
        views_.emplace_back(tok_.code, tok_.value);
        Bound(tok_);
      } while (Advance() && tok_.code != 0);
      out.reserve(out.size() + views_.size());
      for (const auto& [code, value] : views_) out.push_back(DxfPair{code, InPlace(value)});
      return;
    }
    scratch_.clear();
    do scratch_.push_back(Pair(tok_));
    while (Advance() && tok_.code != 0);
    out.reserve(out.size() + scratch_.size());
    for (DxfPair& p : scratch_) out.push_back(std::move(p));
  }

  // An entity with its run; open_ says the run's type when the run goes on
  // past end_ (a part's end), null otherwise.
  std::unique_ptr<DxfEntity> ReadEntity() {
    auto entity = std::make_unique<DxfEntity>();
    ReadUntilZero(entity->pairs);
    if (handles_) entity->id = HandlesOf(*entity, top_);
    open_ = nullptr;
    const char* run = nullptr;
    if (entity->IsType("POLYLINE"))
      run = kVertexRun;
    else if (entity->IsType("INSERT") && entity->Value(66) == "1")
      run = kAttribRun;
    if (!run) return entity;
    bool ended;
    if (runs_) {
      // Read aside, then made at its size: no room grown twice or given back.
      runs_->clear();
      ended = ReadRun(*runs_, run);
      entity->children.reserve(runs_->size());
      for (DxfEntity& child : *runs_) entity->children.push_back(std::move(child));
      runs_->clear();
    } else {
      ended = ReadRun(entity->children, run);
      if (ended) entity->children.Fit();
    }
    if (!ended) open_ = run;
    return entity;
  }

  // The objects of a run of this type from the current pair on, up to its
  // SEQEND or the first object of another type (a run without SEQEND keeps
  // what came). False when the run reached end_ still going.
  // A lead is most likely all of its part: room for the part's objects is
  // made once their size is seen.
  static constexpr size_t kSeen = 64;
  template <class Run>
  bool ReadRun(Run& into, const char* run, bool lead = false) {
    const size_t from = tokAt_.pos;
    while (have_) {
      if (tokAt_.pos >= end_) return false;
      bool last = IsWord(tok_, "SEQEND");
      if (!last && !IsWord(tok_, run)) break;
      if (lead && into.size() == kSeen) {
        // An eighth more: a copy of the whole when the guess falls short costs more.
        const size_t more = (end_ - tokAt_.pos) / ((tokAt_.pos - from) / kSeen + 1);
        MakeRoom(into, kSeen + more + more / 8 + 1);
      }
      if (lead) MapAhead(into);
      DxfEntity& object = into.emplace_back();
      ReadUntilZero(object.pairs);
      if (handles_) object.id = HandlesOf(object, top_);
      if (last) break;
    }
    return true;
  }

  // Room made for a run: a list runs are read into (reused from part to
  // part) has its pages mapped a piece ahead of the objects read, as a
  // guess that falls long should not hold memory.
  static void MakeRoom(EntityRun& run, size_t room) { run.reserve(room); }
  static constexpr size_t kAhead = 4096;
  template <class Room>
  static void MakeRoom(std::vector<DxfEntity, Room>& run, size_t room) {
    if (room <= run.capacity()) return;
    run.reserve(room);
    MapPagesAhead(run.data() + run.size(), std::min(kAhead, room - run.size()) * sizeof(DxfEntity));
  }
  static void MapAhead(EntityRun&) {}
  template <class Room>
  static void MapAhead(std::vector<DxfEntity, Room>& run) {
    if (run.size() % kAhead == 0 && run.size() + kAhead <= run.capacity())
      MapPagesAhead(run.data() + run.size(), kAhead * sizeof(DxfEntity));
  }

  // Checks that the section goes on at the current pair: false with the
  // reason when the text ends or another section starts before its ENDSEC.
  bool SectionGoesOn(const std::string& name, int line) {
    if (!have_) return Refuse("section " + name + " has no ENDSEC (file truncated?)", line);
    if (IsWord(tok_, "SECTION") || IsWord(tok_, "EOF"))
      return Refuse("ENDSEC of section " + name + " (line " + std::to_string(line) +
                        ") missing before " + std::string(TrimDxf(tok_.value)),
                    tok_.line);
    return true;
  }

  bool Duplicate(SectionKind kind, const std::string& name, int line) {
    for (const Section& s : d_.sections_)
      if (s.kind == kind) return !Refuse("second " + name + " section", line);
    return false;
  }

  bool ReadSection(const std::string& name, int line) {
    SectionKind kind = SectionKind::Verbatim;
    if (SameName(name, "HEADER")) kind = SectionKind::Header;
    else if (SameName(name, "TABLES")) kind = SectionKind::Tables;
    else if (SameName(name, "BLOCKS")) kind = SectionKind::Blocks;
    else if (SameName(name, "ENTITIES")) kind = SectionKind::Entities;
    if (kind != SectionKind::Verbatim && Duplicate(kind, name, line)) return false;
    d_.sections_.push_back({kind, name, {}});
    // Comments before a section's first object stay at its head; later
    // ones go with the object before them.
    if (kind != SectionKind::Verbatim)
      while (have_ && tok_.code == 999) {
        d_.sections_.back().pairs.push_back(Pair(tok_));
        Advance();
      }
    bool ok = false;
    switch (kind) {
      case SectionKind::Header: ok = ReadHeader(name, line); break;
      case SectionKind::Tables: ok = ReadTables(name, line); break;
      case SectionKind::Blocks: ok = ReadBlocks(name, line); break;
      case SectionKind::Entities: ok = ReadEntities(name, line); break;
      default: ok = ReadVerbatim(d_.sections_.back().pairs, name, line); break;
    }
    if (ok) Advance();  // the ENDSEC pair
    return ok;
  }

  bool ReadHeader(const std::string& name, int line) {
    while (SectionGoesOn(name, line)) {
      if (IsWord(tok_, "ENDSEC")) return true;
      if (tok_.code != 9)
        return Refuse("header variable name (group 9) expected, found group " +
                          std::to_string(tok_.code),
                      tok_.line);
      DxfHeaderVariable var{std::string(TrimDxf(Pair(tok_).value)), {}};
      while (Advance() && tok_.code != 9 && tok_.code != 0) var.values.push_back(Pair(tok_));
      d_.header_.push_back(std::move(var));
    }
    return false;
  }

  // Ends a table or block at the word that closes it; false with the
  // reason when something else closes it first.
  bool RunGoesOn(const char* closing, const char* opening, const std::string& what, int line) {
    if (!have_ || IsWord(tok_, "ENDSEC") || IsWord(tok_, "SECTION") || IsWord(tok_, "EOF") ||
        IsWord(tok_, opening))
      return Refuse(what + " has no " + closing, line);
    return true;
  }

  bool ReadTables(const std::string& name, int line) {
    while (SectionGoesOn(name, line)) {
      if (IsWord(tok_, "ENDSEC")) return true;
      if (!IsWord(tok_, "TABLE"))
        return Refuse("TABLE expected in section TABLES, found group " + std::to_string(tok_.code) +
                          " '" + std::string(TrimDxf(tok_.value).substr(0, 24)) + "'",
                      tok_.line);
      int tableLine = tok_.line;
      auto table = std::make_unique<DxfTable>();
      ReadUntilZero(table->head);
      for (;;) {
        if (!RunGoesOn("ENDTAB", "TABLE", "table " + std::string(table->Name()), tableLine))
          return false;
        if (IsWord(tok_, "ENDTAB")) break;
        auto entry = std::make_unique<DxfEntity>();
        ReadUntilZero(entry->pairs);
        table->entries.push_back(std::move(entry));
      }
      ReadUntilZero(table->end);
      d_.tables_.push_back(std::move(table));
    }
    return false;
  }

  bool ReadBlocks(const std::string& name, int line) {
    while (SectionGoesOn(name, line)) {
      if (IsWord(tok_, "ENDSEC")) return true;
      if (!IsWord(tok_, "BLOCK"))
        return Refuse("BLOCK expected in section BLOCKS, found group " + std::to_string(tok_.code) +
                          " '" + std::string(TrimDxf(tok_.value).substr(0, 24)) + "'",
                      tok_.line);
      int blockLine = tok_.line;
      auto block = std::make_unique<DxfBlock>();
      ReadUntilZero(block->begin.pairs);
      for (;;) {
        if (!RunGoesOn("ENDBLK", "BLOCK", "block " + std::string(block->Name()), blockLine))
          return false;
        if (IsWord(tok_, "ENDBLK")) break;
        block->entities.push_back(ReadEntity());
      }
      ReadUntilZero(block->end.pairs);
      d_.blocks_.push_back(std::move(block));
    }
    return false;
  }

  bool ReadEntities(const std::string& name, int line) {
    const unsigned threads = LoadThreads();
    const size_t size = reader_.Size();
    // Each object's handle is read while its pairs are at hand: its id
    // holds it until the objects are indexed (those of other sections are
    // indexed one by one).
    handles_ = true;
    struct Off {
      bool& handles;
      ~Off() { handles = false; }
    } off{handles_};
    if (have_ && tok_.code == 0 && threads > 1 && size - tokAt_.pos >= 2 * g_partBytes)
      ReadEntitiesInParts((size - tokAt_.pos) / g_partBytes, threads);
    while (SectionGoesOn(name, line)) {
      if (IsWord(tok_, "ENDSEC")) {
        d_.NoteHandle(top_);
        return true;
      }
      if (tok_.code != 0)
        return Refuse("entity (group 0) expected, found group " + std::to_string(tok_.code),
                      tok_.line);
      d_.entities_.push_back(ReadEntity());
    }
    return false;
  }

  bool ReadVerbatim(PairList& out, const std::string& name, int line) {
    while (SectionGoesOn(name, line)) {
      if (IsWord(tok_, "ENDSEC")) return true;
      out.push_back(Pair(tok_));
      Advance();
    }
    return false;
  }

  // Room of its own for a part's lead, mapped for it and given back to the
  // system once the lead is moved onto the run it continues: read straight
  // into it, the lead is never copied but to its run, and a heap of the
  // load's threads keeps nothing of it.
  template <class T>
  struct MappedRoom {
    using value_type = T;
    MappedRoom() noexcept = default;
    template <class U>
    MappedRoom(const MappedRoom<U>&) noexcept {}
    T* allocate(size_t n) {
      void* room = mmap(nullptr, n * sizeof(T), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
      if (room == MAP_FAILED) throw std::bad_alloc();
      return static_cast<T*>(room);
    }
    void deallocate(T* room, size_t n) noexcept { munmap(room, n * sizeof(T)); }
    template <class U>
    bool operator==(const MappedRoom<U>&) const noexcept {
      return true;
    }
  };
  using LeadRun = std::vector<DxfEntity, MappedRoom<DxfEntity>>;

  // The entities a part read, in chunks of its thread's scratch arena:
  // freed in a heap of the load's threads, their memory would stay with
  // that heap for good (the system is given back only what the main heap
  // frees).
  class PartEntities {
   public:
    PartEntities() = default;
    PartEntities(const PartEntities&) = delete;
    PartEntities& operator=(const PartEntities&) = delete;
    ~PartEntities() {
      for (size_t i = 0; i < size_; ++i) delete (*this)[i];
    }
    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    // Owned here while not null.
    DxfEntity*& operator[](size_t i) { return chunks_[i / kChunk][i % kChunk]; }
    void push_back(std::unique_ptr<DxfEntity> entity, PairArena& scratch) {
      if (size_ == chunks_.size() * kChunk) {
        auto* chunk = static_cast<DxfEntity**>(scratch.Take(kChunk * sizeof(DxfEntity*)));
        if (!chunk) throw std::bad_alloc();
        chunks_.push_back(chunk);
      }
      (*this)[size_++] = entity.release();
    }

   private:
    static constexpr size_t kChunk = 4096;
    std::vector<DxfEntity**> chunks_;
    size_t size_ = 0;
  };

  // What a thread reading parts keeps from one part to the next: its arena,
  // an arena in small pages for the parts' lists of entities (let go of
  // with the parts) and a list runs are read into.
  struct PartWorker {
    explicit PartWorker(PairArena* pairs) : arena(pairs), scratch(4 << 20) {}
    PairArena* arena;
    PairArena scratch;
    std::vector<DxfEntity> runs;
  };

  // One part of a run of entities: the entities from begin up to end (the
  // next part's first) and how the reading ended. A part after the first
  // that begins inside a VERTEX or ATTRIB run reads the run's objects up to
  // its end first (its lead): they belong to the run left open by the part
  // before, if that one ends in an open run of the same type.
  struct Part {
    enum class Outcome { Read, Stopped, Failed };
    DxfTextCut begin;
    size_t end = 0;
    bool continues = false;  // not the first part: may begin with a lead
    const char* leadRun = nullptr;  // the lead's type; null: no lead
    bool leadOpen = false;          // the lead goes on past end
    LeadRun lead;
    const char* lastOpen = nullptr;  // the last entity's run goes on past end
    Outcome outcome = Outcome::Failed;
    DxfTextCut stop;  // Stopped: the pair that ends the section (or not)
    size_t readTo = 0;  // Read: end; Stopped: stop.pos
    PartEntities entities;
    size_t bound = 0;  // the room its values take when kept (Bound)
    char* keepAt = nullptr;   // where its values go, once every part before is taken
    char* keptEnd = nullptr;  // after its values, once kept
    size_t freedFrom = 0;     // the text from here to readTo is free to give back
    uint64_t top = 0;  // the highest handle read
  };

  void ReadPart(Part& part, PartWorker& worker) {
    PairArenaScope scope(worker.arena);
    Loader reader(d_, pages_, keep_, reader_.Size(), part.begin, convert_);
    reader.end_ = part.end;
    reader.runs_ = &worker.runs;
    reader.handles_ = true;
    reader.Advance();
    if (part.continues && reader.have_) {
      if (IsWord(reader.tok_, kVertexRun)) part.leadRun = kVertexRun;
      else if (IsWord(reader.tok_, kAttribRun)) part.leadRun = kAttribRun;
      if (part.leadRun) {
        part.lead.reserve(kSeen);
        part.leadOpen = !reader.ReadRun(part.lead, part.leadRun, true);
      }
    }
    while (reader.have_) {
      part.bound = reader.bound_;
      if (reader.tokAt_.pos >= part.end) {
        part.outcome = Part::Outcome::Read;
        part.readTo = part.end;
        part.top = reader.top_;
        return;
      }
      if (EndsEntities(reader.tok_)) {
        part.outcome = Part::Outcome::Stopped;
        part.stop = reader.tokAt_;
        part.readTo = part.stop.pos;
        part.top = reader.top_;
        return;
      }
      part.entities.push_back(reader.ReadEntity(), worker.scratch);
      part.lastOpen = reader.open_;
    }
    part.outcome = Part::Outcome::Failed;  // read on its own, it gets its message
  }

  // Copies a part's values to its room (keepAt on), as Pair does, in the
  // order they were read, converting them as Pair does; its text up to
  // readTo (not the text after a stop: the reading goes on there) is then
  // free (ReleaseKept). Only a part that is taken is converted: the text of
  // the others is read again.
  void KeepValues(Part& part) {
    char* to = part.keepAt;
    // Bound counted what is kept here, in the same order; past it, a value
    // would be the next part's, so it takes bytes of its own (never met).
    const char* const limit = part.keepAt + part.bound;
    LastKept last[64];
    const char* reached = nullptr;  // the end of the last value in the text
    auto keep = [&to, &last, &reached, limit, this](PairList& pairs) {
      for (DxfPair& p : pairs) {
        if (p.value.IsOwned() || p.value.empty()) continue;  // not in the text
        const char* from = p.value.data();
        const size_t size = p.value.size();
        reached = from + size;
        if (to + size > limit) {
          p.value = convert_ ? DxfValue(DxfUtf8ToModel(p.value)) : DxfValue(p.value.View());
          continue;
        }
        if (convert_ && !IsAscii(p.value)) {
          const size_t converted = DxfUtf8ToModelInPlace(p.value, to);
          if (converted == SIZE_MAX) {
            p.value = DxfUtf8ToModel(p.value);
          } else {
            p.value = DxfValue::Borrow({to, converted});
            to += converted;
          }
          continue;
        }
        LastKept& same = last[static_cast<uint16_t>(p.code) & 63];
        if (Repeats(same, p.value)) {
          p.value.MovedTo(same.at);
          continue;
        }
        same.at = to;
        p.value.MovedTo(to);
        std::memcpy(to, from, size);
        to += size;
      }
    };
    // A mapped file's text behind the values kept goes as they are kept:
    // the values are in pages of their own now, so the text would
    // otherwise be held twice while parts are kept at once.
    size_t freed = part.begin.pos;
    auto keepFreeing = [&](PairList& pairs) {
      keep(pairs);
      const size_t done = static_cast<size_t>(reached - pages_.data());
      if (reached && pages_.IsFile() && done - freed >= kFreeStep) {
        pages_.Release(freed, done);
        freed = done - done % TextPages::PageSize();
      }
    };
    for (DxfEntity& child : part.lead) keepFreeing(child.pairs);
    for (size_t i = 0; i < part.entities.size(); ++i) {
      DxfEntity* entity = part.entities[i];
      keepFreeing(entity->pairs);
      for (DxfEntity& child : entity->children) keepFreeing(child.pairs);
    }
    part.keptEnd = to;
    part.freedFrom = part.begin.pos;
  }

  // Gives back the text the kept parts before parts[upTo] have freed, up to
  // the large page that part begins in: a large page is split (and every
  // small page of it then costs a fault) only once no part in it is read
  // or kept any more. All they freed when upTo is parts.size(), or when
  // the text is a mapped file's (no large pages).
  void ReleaseKept(std::vector<Part>& parts, size_t& from, size_t upTo) {
    const size_t limit =
        upTo < parts.size() && !pages_.IsFile() ? parts[upTo].begin.pos & ~(kLargePage - 1) : SIZE_MAX;
    for (; from < upTo; ++from) {
      Part& part = parts[from];
      const size_t to = std::min(part.readTo, limit);
      if (part.freedFrom < to) pages_.Release(part.freedFrom, to);
      part.freedFrom = std::max(part.freedFrom, to);
      if (to < part.readTo) break;
    }
  }

  // The type of the run left open at the part's end: its last entity's,
  // or, when the part is all lead, the lead's.
  static const char* OpenAfter(const Part& part) {
    if (!part.entities.empty()) return part.lastOpen;
    return part.leadOpen ? part.leadRun : nullptr;
  }

  // Whether parts[i], read alone, goes on from what the parts before it
  // read: its lead, if any, continues a run of its type.
  static bool Joins(const std::vector<Part>& parts, size_t i) {
    return !parts[i].leadRun || (i > 0 && OpenAfter(parts[i - 1]) == parts[i].leadRun);
  }

  // Reads the entities from the current pair on in parts at once. Parts are
  // taken in order up to the first that ends the section, or the first that
  // cannot be read alone; the reading goes on from there as if it had
  // read the taken parts itself. A part's values are moved together as
  // soon as every part before it is taken, so the text shrinks while the
  // others are read.
  void ReadEntitiesInParts(size_t count, unsigned threads) {
    // The text before them is read (up to the large page the first part
    // begins in, as in ReleaseKept): the parts' own goes as they are kept.
    const size_t before = pages_.IsFile() ? tokAt_.pos : tokAt_.pos & ~(kLargePage - 1);
    if (before > released_) {
      pages_.Release(released_ - released_ % TextPages::PageSize(), before);
      released_ = before;
    }
    const std::string_view text(pages_.data(), reader_.Size());
    std::vector<DxfTextCut> cuts = CutAtObjects(text, tokAt_, count, threads);
    // Before the parts: their leads lie in the workers' arenas.
    std::vector<std::unique_ptr<PartWorker>> workers;
    std::vector<PartWorker*> idle;
    std::vector<Part> parts(cuts.size());
    for (size_t i = 0; i < parts.size(); ++i) {
      parts[i].begin = cuts[i];
      parts[i].end = i + 1 < cuts.size() ? cuts[i + 1].pos : text.size();
      parts[i].continues = i > 0;
    }
    // An arena for each thread at work, in large pages, taken by each part
    // the thread reads. Pairs take about the bytes of the text they were
    // read from; a block holds twice a thread's share (addresses alone
    // until written), so a thread seldom leaves a large page half used.
    const size_t firstArena = d_.arenas_.size();
    const size_t block = (text.size() - cuts.front().pos) / threads * 2 + kLargePage;
    // A part's values go after the room of the part before (its bound),
    // the first part's where the reading's own go: each part is kept on its
    // own, the parts' rooms one after another.
    auto place = [&](size_t i) { parts[i].keepAt = i == 0 ? kept_ : parts[i - 1].keepAt + parts[i - 1].bound; };
    auto keep = [&](size_t i) { KeepValues(parts[i]); };
    std::mutex lock;
    std::vector<bool> keptDone(parts.size());
    size_t front = 0, freed = 0;  // parts before front are kept; before freed, given back
    // A part is begun only while few before it are not yet kept: a thread
    // held up on its part (the machine is shared) would otherwise leave the
    // others to read on, each part's text held till it is kept. Once a part
    // cannot be taken, the parts after it are not read at all.
    std::condition_variable goOnReading;
    const size_t ahead = threads + 1;
    bool broken = false;
    auto keepAndFree = [&](size_t i) {
      keep(i);
      std::lock_guard<std::mutex> hold(lock);
      keptDone[i] = true;
      const size_t before = front;
      while (front < parts.size() && keptDone[front]) ++front;
      ReleaseKept(parts, freed, front);
      if (front != before) goOnReading.notify_all();
    };
    std::vector<bool> done(parts.size());
    std::vector<size_t> ready;  // parts whose values may be kept, in order
    size_t taken = 0, kept = 0;  // parts before taken are read and in ready
    auto readAndKeep = [&](size_t i) {
      PartWorker* worker = nullptr;
      {
        std::unique_lock<std::mutex> hold(lock);
        goOnReading.wait(hold, [&] { return broken || i < front + ahead; });
        if (broken) return;
        if (idle.empty()) {
          d_.arenas_.push_back(std::make_unique<PairArena>(block, true));
          workers.push_back(std::make_unique<PartWorker>(d_.arenas_.back().get()));
          idle.push_back(workers.back().get());
        }
        worker = idle.back();
        idle.pop_back();
      }
      ReadPart(parts[i], *worker);
      {
        std::lock_guard<std::mutex> hold(lock);
        idle.push_back(worker);
        done[i] = true;
        while (taken < parts.size() && done[taken] && parts[taken].outcome == Part::Outcome::Read &&
               Joins(parts, taken)) {
          place(taken);
          ready.push_back(taken++);
        }
        if (taken < parts.size() && done[taken] && !broken) {
          broken = true;
          goOnReading.notify_all();
        }
      }
      // Every part that may be kept is, before more are read: each holds
      // its text until then.
      for (;;) {
        size_t r = SIZE_MAX;
        {
          std::lock_guard<std::mutex> hold(lock);
          if (kept < ready.size()) r = ready[kept++];
        }
        if (r == SIZE_MAX) break;
        keepAndFree(r);
      }
    };
    RunTasks(parts.size(), threads, [&](size_t i) {
      try {
        readAndKeep(i);
      } catch (...) {
        // No part after it is waited for: the load fails.
        std::lock_guard<std::mutex> hold(lock);
        broken = true;
        goOnReading.notify_all();
        throw;
      }
    });
    RunTasks(ready.size() - kept, threads, [&](size_t k) { keepAndFree(ready[kept + k]); });
    ReleaseKept(parts, freed, front);
    for (size_t a = firstArena; a < d_.arenas_.size(); ++a) d_.arenas_[a]->Trim();
    size_t read = d_.entities_.size();
    for (const Part& part : parts) read += part.entities.size();
    if (read > d_.entities_.capacity()) {
      d_.entities_.reserve(read);
      MapPagesAhead(d_.entities_.data() + d_.entities_.size(), (read - d_.entities_.size()) * sizeof(d_.entities_[0]), threads);
    }
    DxfTextCut goOn = parts.front().begin;
    // A lead goes to the end of the run left open before it: each run is
    // made at its whole size once, and the leads are moved in at once.
    struct Lead {
      LeadRun* from;
      DxfEntity* to;
      size_t at;
    };
    std::vector<Lead> leads;
    std::vector<std::pair<DxfEntity*, size_t>> grown;  // open runs and their sizes
    DxfEntity* open = nullptr;
    const char* openRun = nullptr;
    for (size_t i = 0; i < parts.size(); ++i) {
      Part& part = parts[i];
      if (part.outcome == Part::Outcome::Failed || !Joins(parts, i)) {
        goOn = part.begin;
        break;
      }
      if (part.outcome == Part::Outcome::Stopped) {
        place(i);
        keep(i);
        goOn = part.stop;
      }
      kept_ = part.keptEnd;
      top_ = std::max(top_, part.top);
      if (part.leadRun) {
        leads.push_back({&part.lead, open, grown.back().second});
        grown.back().second += part.lead.size();
        if (!part.leadOpen) open = nullptr;
      }
      for (size_t k = 0; k < part.entities.size(); ++k)
        d_.entities_.emplace_back(std::exchange(part.entities[k], nullptr));
      if (!part.entities.empty() && part.lastOpen) {
        open = d_.entities_.back().get();
        openRun = part.lastOpen;
        grown.emplace_back(open, open->children.size());
      } else if (!part.entities.empty()) {
        open = nullptr;
      }
      if (part.outcome == Part::Outcome::Stopped) break;
    }
    for (auto& [entity, size] : grown) {
      entity->children.reserve(size);
      MapPagesAhead(entity->children.begin(), size * sizeof(DxfEntity), threads);
      entity->children.resize(size);
      if (entity != open) entity->children.Fit();
    }
    RunTasks(leads.size(), threads, [&](size_t i) {
      DxfEntity* to = leads[i].to->children.begin() + leads[i].at;
      for (DxfEntity& child : *leads[i].from) *to++ = std::move(child);
      LeadRun().swap(*leads[i].from);
    });
    reader_.Seek(goOn.pos, goOn.line);
    released_ = goOn.pos;
    Advance();
    // The part after the last one taken continued the open run; the
    // reading does now.
    if (open) {
      ReadRun(open->children, openRun);
      open->children.Fit();
    }
  }

  static constexpr size_t kReleaseStep = 4 << 20;
  static constexpr size_t kFreeStep = 256 << 10;

  DxfDrawing& d_;
  TextPages& pages_;  // the text
  TextPages& keep_;   // the values kept
  DxfTokenReader reader_;
  DxfError* error_;
  bool convert_;  // UTF-8 text with bytes beyond ASCII
  bool inPlace_ = false;  // a part: values viewed where they stand
  size_t end_ = SIZE_MAX;  // a part: where its runs stop
  const char* open_ = nullptr;  // the run ReadEntity left open at end_
  std::vector<DxfEntity>* runs_ = nullptr;  // a part: where runs are read first
  bool handles_ = false;  // entities: each object's id holds its handle
  uint64_t top_ = 0;      // the highest handle read
  char* kept_;    // where the next value kept goes
  size_t bound_ = 0;  // a part: the room its values take when kept
  LastKept seen_[64];     // a part: the last value kept for each code, in the text
  size_t released_ = 0;
  DxfToken tok_;
  DxfTextCut tokAt_;  // where tok_ starts
  bool have_ = false;
  PairList scratch_;
  std::vector<std::pair<int16_t, std::string_view>> views_;
};

namespace {

// Reads the file's first `size` bytes into `to` in parts at once when the
// file is large: each reader clears and fills its own pages. Gives the bytes
// read from the start, 0 when the file is small or turned out shorter (it
// is then read whole as it is now), SIZE_MAX on an error (errno set).
size_t ReadInParts(int fd, char* to, size_t size) {
  const unsigned threads = LoadThreads();
  if (threads < 2 || size < 2 * g_partBytes) return 0;
  const size_t parts = std::min<size_t>(threads, size / g_partBytes);
  std::vector<int> failures(parts, 0);
  std::vector<char> cut(parts, 0);  // not bool: each thread writes its own
  RunTasks(parts, threads, [&](size_t i) {
    size_t at = size / parts * i, end = i + 1 == parts ? size : size / parts * (i + 1);
    while (at < end) {
      ssize_t n = pread(fd, to + at, end - at, static_cast<off_t>(at));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) failures[i] = errno;
      if (n <= 0) break;
      at += static_cast<size_t>(n);
    }
    cut[i] = at < end;
  });
  for (size_t i = 0; i < parts; ++i)
    if (failures[i]) {
      errno = failures[i];
      return SIZE_MAX;
    }
  for (size_t i = 0; i < parts; ++i)
    if (cut[i]) return 0;
  return size;
}

// IsAscii on several threads for a large text: each page read for the
// first time costs a fault on a virtual machine, best taken in parallel.
bool TextIsAscii(std::string_view text) {
  const unsigned threads = LoadThreads();
  if (threads < 2 || text.size() < 2 * g_partBytes) return IsAscii(text);
  constexpr size_t kStep = 64 << 10;
  std::atomic<bool> ascii{true};
  RunTasks(threads, threads, [&](size_t i) {
    size_t at = text.size() / threads * i, end = i + 1 == threads ? text.size() : text.size() / threads * (i + 1);
    for (; at < end && ascii.load(std::memory_order_relaxed); at += kStep)
      if (!IsAscii(text.substr(at, std::min(kStep, end - at)))) ascii = false;
  });
  return ascii;
}

}  // namespace

bool DxfDrawing::Load(const std::filesystem::path& path, DxfError* error) {
  Clear();
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec))
    return Fail(error, "cannot open " + path.string() + ": it is a folder");
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Fail(error, "cannot open " + path.string() + ": " + std::strerror(errno));
  auto failed = [&](const char* what, int code) {
    close(fd);
    return Fail(error, std::string(what) + " " + path.string() + ": " + std::strerror(code));
  };
  struct stat st {};
  if (fstat(fd, &st) != 0) return failed("cannot read", errno);
  const size_t stated = static_cast<size_t>(std::max<off_t>(st.st_size, 0));
  std::unique_ptr<TextPages> pages;
  size_t size = 0;
  // A large file is read where the system keeps it: no fresh memory, no
  // copy. One whose size changed meanwhile is read as it is now.
  if (S_ISREG(st.st_mode) && stated >= g_mapFrom && stated > 0) {
    pages = TextPages::MapFile(fd, stated);
    struct stat now {};
    if (pages && (fstat(fd, &now) != 0 || now.st_size != st.st_size)) pages.reset();
    if (pages && g_afterMap) g_afterMap(path);
    if (pages) size = stated;
  }
  if (!pages) {
    // Read to the end whatever the size said: the file may change meanwhile.
    pages = TextPages::Make(stated + 1);
    if (!pages) return failed("cannot read", ENOMEM);
    size = ReadInParts(fd, pages->data(), stated);
    if (size == SIZE_MAX) return failed("cannot read", errno);
    if (size > 0 && lseek(fd, static_cast<off_t>(size), SEEK_SET) < 0) return failed("cannot read", errno);
    for (;;) {
      if (size == pages->capacity() && !pages->Grow(2 * size)) return failed("cannot read", ENOMEM);
      ssize_t n = read(fd, pages->data() + size, pages->capacity() - size);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return failed("cannot read", errno);
      if (n == 0) break;
      size += static_cast<size_t>(n);
    }
  }
  close(fd);
  DxfError found;
  const bool loaded = LoadPages(*pages, size, &found);
  // Read as zeros where the file was cut short: whatever the reading made
  // of it, the drawing is not the file's.
  if (pages->FileChanged()) {
    Clear();
    return Fail(error, "the file " + path.string() + " changed while it was read: load it again");
  }
  if (!loaded) {
    if (error) *error = std::move(found);
    return false;
  }
  sourcePath_ = path;
  return true;
}

bool DxfDrawing::LoadText(std::string_view text, DxfError* error) {
  std::unique_ptr<TextPages> pages = TextPages::Make(text.size());
  if (!pages) throw std::bad_alloc();
  if (!text.empty()) std::memcpy(pages->data(), text.data(), text.size());
  return LoadPages(*pages, text.size(), error);
}

bool DxfDrawing::LoadPages(TextPages& pages, size_t size, DxfError* error) {
  Clear();
  pages.Fence(size);
  std::string_view text(pages.data(), size);
  if (text.substr(0, 18) == "AutoCAD Binary DXF")
    return Fail(error, "binary DXF is not supported: save the drawing as ASCII DXF", 1);
  if (size > DxfValue::kMaxSize)
    return Fail(error, "the drawing is larger than " + std::to_string(DxfValue::kMaxSize >> 20) +
                           " MB");
  if (!FindVersion(text, version_, versionNumber_, error)) return false;

  size_t eol = text.find_first_of("\r\n");
  lineEnd_ = (eol != std::string_view::npos && text[eol] == '\r' && eol + 1 < text.size() &&
              text[eol + 1] == '\n')
                 ? "\r\n"
                 : "\n";

  // The values kept take at most the bytes of the text; room for them is
  // only addresses until written.
  std::shared_ptr<TextPages> keep = TextPages::Make(size);
  if (!keep) throw std::bad_alloc();
  Loader loader(*this, pages, *keep, size, IsUtf8() && !TextIsAscii(text), error);
  if (!loader.Run()) {
    Clear();
    return false;
  }
  // Nothing is read of the text any more: its pages go before the index
  // takes memory of its own.
  pages.Release(0, pages.capacity());
  keep->Keep(loader.Kept());
  text_ = std::move(keep);
  textSize_ = size;
  if (!IndexLoaded(error)) {
    Clear();
    return false;
  }
  return true;
}

// The objects' ids are handed out on several threads, slice by slice, in
// the order one thread would; what is left is filling the handle index in
// that order. Until then an object's id holds its handle (read with its
// pairs), so nothing but the index itself is made for a million objects.
void DxfDrawing::IndexLoadedEntities() {
  const unsigned threads = LoadThreads();
  const size_t slices = std::min<size_t>(entities_.size() / 4096 + 1, 64);
  auto slice = [&](size_t i) { return entities_.size() * i / slices; };
  // A run longer than a piece (a POLYLINE of a million vertices) is counted
  // and placed in pieces of its own, not by its entity's slice alone.
  constexpr size_t kPiece = 4096;
  auto isLong = [](const DxfEntity& e) { return e.children.size() > kPiece; };
  struct Piece {
    DxfEntity* owner;
    size_t begin, end;
    size_t count = 0;  // objects, children counted
    size_t slot = 0;  // of its first object
  };
  std::vector<std::vector<Piece>> pieces(slices);  // of the slice's long runs, in order
  std::vector<size_t> counts(slices, 0);
  auto count = [](auto& self, const DxfEntity& e, size_t& count) -> void {
    ++count;
    for (const DxfEntity& child : e.children) self(self, child, count);
  };
  // The entities lie far apart in memory: each walk asks for those a few
  // steps ahead, so that their reads overlap.
  constexpr size_t kAhead = 16;
  auto ahead = [&](size_t e, size_t end) {
    if (e + kAhead < end) __builtin_prefetch(&entities_[e + kAhead]->children);
  };
  RunTasks(slices, threads, [&](size_t i) {
    for (size_t e = slice(i); e < slice(i + 1); ++e) {
      ahead(e, slice(i + 1));
      DxfEntity& entity = *entities_[e];
      if (!isLong(entity)) {
        count(count, entity, counts[i]);
        continue;
      }
      ++counts[i];
      for (size_t b = 0; b < entity.children.size(); b += kPiece)
        pieces[i].push_back({&entity, b, std::min(b + kPiece, entity.children.size())});
    }
  });
  std::vector<Piece*> all;
  for (auto& list : pieces)
    for (Piece& p : list) all.push_back(&p);
  RunTasks(all.size(), threads, [&](size_t k) {
    Piece& p = *all[k];
    for (size_t c = p.begin; c < p.end; ++c) count(count, p.owner->children[c], p.count);
  });
  std::vector<uint64_t> firstIds(slices);
  for (size_t i = 0; i < slices; ++i) {
    for (const Piece& p : pieces[i]) counts[i] += p.count;
    firstIds[i] = nextId_;
    nextId_ += counts[i];
  }
  const size_t objects = static_cast<size_t>(nextId_ - idBase_);
  if (byId_.capacity() < objects) {
    byId_.reserve(objects);
    MapPagesAhead(byId_.data() + byId_.size(), (objects - byId_.size()) * sizeof(DxfEntity*), threads);
  }
  byId_.resize(objects, nullptr);
  drawable_.resize(byId_.size(), false);
  byHandle_.Reserve(byHandle_.size() + byId_.size(), threads);
  // Each object is placed in its slot; the entities' own slots (from base
  // on) are marked in the address's lowest bit until the batches below.
  const size_t base = static_cast<size_t>(firstIds[0] - idBase_);
  static_assert(alignof(DxfEntity) > 1);
  auto put = [&](DxfEntity& e, size_t& slot, uintptr_t entity) {
    byId_[slot] = reinterpret_cast<DxfEntity*>(reinterpret_cast<uintptr_t>(&e) | entity);
    ++slot;
  };
  auto place = [&](auto& self, DxfEntity& e, size_t& slot, uintptr_t entity) -> void {
    put(e, slot, entity);
    for (DxfEntity& child : e.children) self(self, child, slot, 0);
  };
  RunTasks(slices, threads, [&](size_t i) {
    size_t slot = static_cast<size_t>(firstIds[i] - idBase_);
    Piece* piece = pieces[i].data();
    for (size_t e = slice(i); e < slice(i + 1); ++e) {
      ahead(e, slice(i + 1));
      DxfEntity& entity = *entities_[e];
      if (!isLong(entity)) {
        place(place, entity, slot, 1);
        continue;
      }
      put(entity, slot, 1);  // its run in pieces, below
      for (; piece != pieces[i].data() + pieces[i].size() && piece->owner == &entity; ++piece) {
        piece->slot = slot;
        slot += piece->count;
      }
    }
  });
  RunTasks(all.size(), threads, [&](size_t k) {
    const Piece& p = *all[k];
    size_t slot = p.slot;
    for (size_t c = p.begin; c < p.end; ++c) place(place, p.owner->children[c], slot, 0);
  });
  // In batches (a small list of handles at a time): the entities
  // themselves are drawable, their runs not; each object's id goes from
  // its handle to its slot, the handle to the index. In runs of whole words
  // of drawable_, so that threads never write into one word.
  constexpr size_t kRun = 8 << 10, kBatch = 16 * kRun;
  std::vector<uint64_t> handles;
  handles.reserve(std::min(kBatch, objects - base));
  MapPagesAhead(handles.data(), handles.capacity() * sizeof(uint64_t));
  for (size_t from = base / kRun * kRun; from < objects; from += kBatch) {
    const size_t first = std::max(base, from), last = std::min(objects, from + kBatch);
    handles.resize(last - first);
    RunTasks((last - from - 1) / kRun + 1, threads, [&](size_t k) {
      const size_t end = std::min(last, from + (k + 1) * kRun);
      for (size_t slot = std::max(first, from + k * kRun); slot < end; ++slot) {
        if (slot + kAhead < end)
          __builtin_prefetch(reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(byId_[slot + kAhead]) & ~uintptr_t{1}), 1);
        const uintptr_t marked = reinterpret_cast<uintptr_t>(byId_[slot]);
        DxfEntity* object = reinterpret_cast<DxfEntity*>(marked & ~uintptr_t{1});
        byId_[slot] = object;
        if (marked & 1) drawable_[slot] = true;
        handles[slot - first] = object->id;
        object->id = idBase_ + slot;
      }
    });
    byHandle_.InsertInOrder(handles.data(), handles.size(), first, threads);  // a duplicate keeps the first one found
  }
}

bool DxfDrawing::IndexLoaded(DxfError* error) {
  // Identify every object and find the handles in use.
  size_t objects = entities_.size();
  for (const auto& table : tables_) objects += table->entries.size();
  for (const auto& block : blocks_) objects += 2 + block->entities.size();
  if (objects > byId_.capacity()) {
    byId_.reserve(objects);
    MapPagesAhead(byId_.data() + byId_.size(), (objects - byId_.size()) * sizeof(DxfEntity*), LoadThreads());
  }
  drawable_.reserve(objects);
  byHandle_.Reserve(objects, LoadThreads());
  for (auto& table : tables_) {
    for (const PairList* pairs : {&table->head, &table->end})
      for (const DxfPair& p : *pairs)
        if (p.code == 5)
          if (auto h = ParseHandle(p.value)) NoteHandle(*h);
    for (auto& entry : table->entries) Index(*entry);
  }
  for (auto& block : blocks_) {
    Index(block->begin);
    for (auto& entity : block->entities) Index(*entity, true);
    Index(block->end);
  }
  IndexLoadedEntities();
  // Objects of other sections keep their handles too; a DIMSTYLE's is its 105.
  for (const Section& s : sections_) {
    bool dimstyle = false;
    for (const DxfPair& p : s.pairs) {
      if (p.code == 0) dimstyle = SameName(TrimDxf(p.value), "DIMSTYLE");
      if (p.code == 5 || (dimstyle && p.code == 105))
        if (auto h = ParseHandle(p.value)) NoteHandle(*h);
    }
  }

  std::optional<std::string> handling = HeaderValue("$HANDLING");
  if (!IsR12() || (handling && ParseDxfInt(*handling).value_or(0) != 0)) usesHandles_ = true;
  // New objects need handles above every one in use.
  if (auto full = HandleLimitReached()) return Fail(error, *full);
  if (const PairList* seed = HeaderVariable("$HANDSEED"); seed && !seed->empty()) {
    uint64_t declared = ParseHandle(seed->front().value).value_or(0);
    if (declared >= kHandleLimit)
      return Fail(error, "$HANDSEED " + FormatHandle(declared) +
                             " leaves no room for new handles (at most " +
                             FormatHandle(kHandleLimit - 1) + ")");
    if (declared >= handSeed_) handSeed_ = declared;
    else SetHandSeedVariable();  // the file's seed is below a handle in use
  }
  return true;
}

}  // namespace host
