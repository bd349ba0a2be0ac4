// Reading a drawing from ASCII DXF text.
#include <cerrno>
#include <cstring>
#include <fstream>

#include "platform/host/DxfDrawing.h"
#include "platform/host/DxfGroupText.h"
#include "platform/host/DxfText.h"

namespace host {
namespace {

bool IsWord(const DxfToken& t, std::string_view word) {
  return t.code == 0 && SameName(TrimDxf(t.value), word);
}

// The version named by $ACADVER, looked up before anything is converted
// because it decides the text encoding of the whole file.
bool FindVersion(const std::vector<DxfToken>& tokens, std::string& version, int& number,
                 DxfError* error) {
  version = "AC1009";
  number = 1009;
  for (size_t i = 0; i + 1 < tokens.size(); ++i) {
    if (IsWord(tokens[i], "ENDSEC")) break;
    if (tokens[i].code != 9 || TrimDxf(tokens[i].value) != "$ACADVER") continue;
    std::string_view text = TrimDxf(tokens[i + 1].value);
    std::optional<int64_t> n;
    if (text.size() >= 3 && (text[0] == 'A' || text[0] == 'a') && (text[1] == 'C' || text[1] == 'c'))
      n = ParseDxfInt(text.substr(2));
    if (tokens[i + 1].code != 1 || !n || *n < 1000 || *n > 9999)
      return Fail(error, "unknown DXF version '" + std::string(text.substr(0, 16)) + "'",
                  tokens[i + 1].line);
    version = std::string(text);
    number = static_cast<int>(*n);
    return true;
  }
  return true;
}

}  // namespace

class DxfDrawing::Loader {
 public:
  Loader(DxfDrawing& drawing, const std::vector<DxfToken>& tokens, DxfError* error)
      : d_(drawing), t_(tokens), error_(error), utf8_(drawing.IsUtf8()) {}

  bool Run() {
    while (pos_ < t_.size()) {
      const DxfToken& tok = t_[pos_];
      if (IsWord(tok, "EOF")) return true;
      if (tok.code == 999) {
        if (d_.sections_.empty() || d_.sections_.back().kind != SectionKind::Loose)
          d_.sections_.push_back({SectionKind::Loose, {}, {}});
        d_.sections_.back().pairs.push_back(Pair(tok));
        ++pos_;
        continue;
      }
      if (!IsWord(tok, "SECTION"))
        return Fail(error_, "SECTION expected, found group " + std::to_string(tok.code) + " '" +
                                std::string(TrimDxf(tok.value).substr(0, 24)) + "'",
                    tok.line);
      int line = tok.line;
      ++pos_;
      if (pos_ >= t_.size() || t_[pos_].code != 2)
        return Fail(error_, "section name (group 2) expected after SECTION", line);
      std::string name(TrimDxf(t_[pos_].value));
      ++pos_;
      if (!ReadSection(name, line)) return false;
    }
    return true;  // no EOF pair: the sections read are the drawing
  }

 private:
  DxfPair Pair(const DxfToken& t) const {
    if (utf8_ && !IsAscii(t.value)) return {t.code, DxfUtf8ToModel(t.value)};
    return {t.code, std::string(t.value)};
  }

  // The current pair and the following ones up to the next group 0.
  void ReadUntilZero(PairList& out) {
    size_t end = pos_ + 1;
    while (end < t_.size() && t_[end].code != 0) ++end;
    out.reserve(out.size() + (end - pos_));
    for (; pos_ < end; ++pos_) out.push_back(Pair(t_[pos_]));
  }

  std::unique_ptr<DxfEntity> ReadEntity() {
    auto entity = std::make_unique<DxfEntity>();
    ReadUntilZero(entity->pairs);
    const char* run = nullptr;
    if (entity->IsType("POLYLINE"))
      run = "VERTEX";
    else if (entity->IsType("INSERT") && entity->Value(66) == "1")
      run = "ATTRIB";
    if (!run) return entity;
    while (pos_ < t_.size()) {
      bool last = IsWord(t_[pos_], "SEQEND");
      if (!last && !IsWord(t_[pos_], run)) break;  // run without SEQEND: keep what came
      entity->children.emplace_back();
      ReadUntilZero(entity->children.back().pairs);
      if (last) break;
    }
    return entity;
  }

  // Checks that the section goes on at pos_: false with the reason when the
  // text ends or another section starts before its ENDSEC.
  bool SectionGoesOn(const std::string& name, int line) {
    if (pos_ >= t_.size())
      return Fail(error_,
                  "section " + name + " has no ENDSEC (file truncated?)", line);
    if (IsWord(t_[pos_], "SECTION") || IsWord(t_[pos_], "EOF"))
      return Fail(error_, "ENDSEC of section " + name + " (line " + std::to_string(line) +
                              ") missing before " + std::string(TrimDxf(t_[pos_].value)),
                  t_[pos_].line);
    return true;
  }

  bool Duplicate(SectionKind kind, const std::string& name, int line) {
    for (const Section& s : d_.sections_)
      if (s.kind == kind) return !Fail(error_, "second " + name + " section", line);
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
    bool ok = false;
    switch (kind) {
      case SectionKind::Header: ok = ReadHeader(name, line); break;
      case SectionKind::Tables: ok = ReadTables(name, line); break;
      case SectionKind::Blocks: ok = ReadBlocks(name, line); break;
      case SectionKind::Entities: ok = ReadEntities(name, line); break;
      default: ok = ReadVerbatim(d_.sections_.back().pairs, name, line); break;
    }
    if (ok) ++pos_;  // the ENDSEC pair
    return ok;
  }

  bool ReadHeader(const std::string& name, int line) {
    while (SectionGoesOn(name, line)) {
      const DxfToken& tok = t_[pos_];
      if (IsWord(tok, "ENDSEC")) return true;
      if (tok.code != 9)
        return Fail(error_, "header variable name (group 9) expected, found group " +
                                std::to_string(tok.code), tok.line);
      DxfHeaderVariable var{std::string(TrimDxf(Pair(tok).value)), {}};
      for (++pos_; pos_ < t_.size() && t_[pos_].code != 9 && t_[pos_].code != 0; ++pos_)
        var.values.push_back(Pair(t_[pos_]));
      d_.header_.push_back(std::move(var));
    }
    return false;
  }

  bool ReadTables(const std::string& name, int line) {
    while (SectionGoesOn(name, line)) {
      const DxfToken& tok = t_[pos_];
      if (IsWord(tok, "ENDSEC")) return true;
      if (!IsWord(tok, "TABLE"))
        return Fail(error_, "TABLE expected in section TABLES, found group " +
                                std::to_string(tok.code) + " '" +
                                std::string(TrimDxf(tok.value).substr(0, 24)) + "'",
                    tok.line);
      int tableLine = tok.line;
      auto table = std::make_unique<DxfTable>();
      ReadUntilZero(table->head);
      std::string tableName = "TABLE at line " + std::to_string(tableLine);
      for (;;) {
        if (pos_ >= t_.size() || IsWord(t_[pos_], "ENDSEC") || IsWord(t_[pos_], "SECTION") ||
            IsWord(t_[pos_], "EOF") || IsWord(t_[pos_], "TABLE"))
          return Fail(error_, "table " + std::string(table->Name()) + " has no ENDTAB",
                      tableLine);
        if (IsWord(t_[pos_], "ENDTAB")) break;
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
      const DxfToken& tok = t_[pos_];
      if (IsWord(tok, "ENDSEC")) return true;
      if (!IsWord(tok, "BLOCK"))
        return Fail(error_, "BLOCK expected in section BLOCKS, found group " +
                                std::to_string(tok.code) + " '" +
                                std::string(TrimDxf(tok.value).substr(0, 24)) + "'",
                    tok.line);
      int blockLine = tok.line;
      auto block = std::make_unique<DxfBlock>();
      ReadUntilZero(block->begin.pairs);
      for (;;) {
        if (pos_ >= t_.size() || IsWord(t_[pos_], "ENDSEC") || IsWord(t_[pos_], "SECTION") ||
            IsWord(t_[pos_], "EOF") || IsWord(t_[pos_], "BLOCK"))
          return Fail(error_, "block " + std::string(block->Name()) + " has no ENDBLK",
                      blockLine);
        if (IsWord(t_[pos_], "ENDBLK")) break;
        block->entities.push_back(ReadEntity());
      }
      ReadUntilZero(block->end.pairs);
      d_.blocks_.push_back(std::move(block));
    }
    return false;
  }

  bool ReadEntities(const std::string& name, int line) {
    while (SectionGoesOn(name, line)) {
      if (IsWord(t_[pos_], "ENDSEC")) return true;
      if (t_[pos_].code != 0)
        return Fail(error_, "entity (group 0) expected, found group " +
                                std::to_string(t_[pos_].code), t_[pos_].line);
      d_.entities_.push_back(ReadEntity());
    }
    return false;
  }

  bool ReadVerbatim(PairList& out, const std::string& name, int line) {
    while (SectionGoesOn(name, line)) {
      if (IsWord(t_[pos_], "ENDSEC")) return true;
      out.push_back(Pair(t_[pos_]));
      ++pos_;
    }
    return false;
  }

  DxfDrawing& d_;
  const std::vector<DxfToken>& t_;
  DxfError* error_;
  bool utf8_;
  size_t pos_ = 0;
};

bool DxfDrawing::Load(const std::filesystem::path& path, DxfError* error) {
  Clear();
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec))
    return Fail(error, "cannot open " + path.string() + ": it is a folder");
  std::ifstream in(path, std::ios::binary);
  if (!in) return Fail(error, "cannot open " + path.string() + ": " + std::strerror(errno));
  std::string text;
  in.seekg(0, std::ios::end);
  auto size = in.tellg();
  in.seekg(0, std::ios::beg);
  if (size > 0) {
    text.resize(static_cast<size_t>(size));
    in.read(text.data(), size);
  }
  if (!in) return Fail(error, "cannot read " + path.string());
  if (!LoadText(text, error)) return false;
  sourcePath_ = path;
  return true;
}

bool DxfDrawing::LoadText(std::string_view text, DxfError* error) {
  Clear();
  if (text.substr(0, 18) == "AutoCAD Binary DXF")
    return Fail(error, "binary DXF is not supported: save the drawing as ASCII DXF", 1);
  std::vector<DxfToken> tokens;
  tokens.reserve(text.size() / 12);
  if (!TokenizeDxf(text, tokens, error)) return false;
  if (tokens.empty()) return Fail(error, "no DXF data in the file");
  if (!FindVersion(tokens, version_, versionNumber_, error)) return false;

  size_t eol = text.find_first_of("\r\n");
  lineEnd_ = (eol != std::string_view::npos && text[eol] == '\r' && eol + 1 < text.size() &&
              text[eol + 1] == '\n')
                 ? "\r\n"
                 : "\n";

  Loader loader(*this, tokens, error);
  if (!loader.Run()) {
    Clear();
    return false;
  }

  // Identify every object and find the handles in use.
  for (auto& table : tables_) {
    for (const DxfPair& p : table->head)
      if (p.code == 5)
        if (auto h = ParseHandle(p.value)) NoteHandle(*h);
    for (auto& entry : table->entries) Index(*entry);
  }
  for (auto& block : blocks_) {
    Index(block->begin);
    for (auto& entity : block->entities) Index(*entity, true);
    Index(block->end);
  }
  for (auto& entity : entities_) Index(*entity, true);
  for (const Section& s : sections_)
    for (const DxfPair& p : s.pairs)
      if (p.code == 5)
        if (auto h = ParseHandle(p.value)) NoteHandle(*h);

  std::optional<std::string> handling = HeaderValue("$HANDLING");
  if (!IsR12() || (handling && ParseDxfInt(*handling).value_or(0) != 0)) usesHandles_ = true;
  if (const PairList* seed = HeaderVariable("$HANDSEED"); seed && !seed->empty()) {
    uint64_t declared = ParseHandle(seed->front().value).value_or(0);
    if (declared >= handSeed_) handSeed_ = declared;
    else SetHandSeedVariable();  // the file's seed is below a handle in use
  }
  return true;
}

}  // namespace host
