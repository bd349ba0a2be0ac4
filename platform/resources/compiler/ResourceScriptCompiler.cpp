#include "platform/resources/compiler/ResourceScriptCompiler.h"

#include <sys/stat.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "platform/resources/compiler/PredefinedSymbols.h"
#include "platform/win32/code_page.h"
#include "platform/win32/resources.h"

namespace {

class LexerSource : public ScriptExpression::Source {
 public:
  explicit LexerSource(ScriptLexer& lexer) : lexer_(lexer) {}
  const Token& Peek() override { return lexer_.Peek(); }
  Token Next() override { return lexer_.Next(); }
  void Fail(const Token& at, const std::string& message) override { lexer_.Fail(at, message); }

 private:
  ScriptLexer& lexer_;
};

std::string UpperAscii(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

bool IsFile(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

void PutLe(std::vector<BYTE>& out, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<BYTE>(v >> (8 * i)));
}

// Image files are checked enough to catch a wrong or damaged file.
bool IsIconDirectory(const std::vector<BYTE>& d, int kind) {
  if (d.size() < 6 || d[0] || d[1] || d[2] != kind || d[3]) return false;
  size_t count = d[4] | (d[5] << 8);
  if (count == 0 || d.size() < 6 + 16 * count) return false;
  for (size_t i = 0; i < count; ++i) {
    const BYTE* e = &d[6 + 16 * i];
    uint64_t size = e[8] | (e[9] << 8) | (e[10] << 16) | (static_cast<uint64_t>(e[11]) << 24);
    uint64_t offset = e[12] | (e[13] << 8) | (e[14] << 16) | (static_cast<uint64_t>(e[15]) << 24);
    if (size == 0 || offset + size > d.size()) return false;
  }
  return true;
}

}  // namespace

ResourceScriptCompiler::ResourceScriptCompiler(std::vector<std::string> includeDirs)
    : includeDirs_(std::move(includeDirs)) {}

const std::map<std::string, ResourceScriptCompiler::TypedStatement>& ResourceScriptCompiler::TypedStatements() {
  static const std::map<std::string, TypedStatement> statements = {
      {"ICON", &ResourceScriptCompiler::IconStatement},
      {"CURSOR", &ResourceScriptCompiler::CursorStatement},
      {"BITMAP", &ResourceScriptCompiler::BitmapStatement},
      {"RCDATA", &ResourceScriptCompiler::DataStatement},
      {"DIALOG", &ResourceScriptCompiler::DialogStatement},
      {"DIALOGEX", &ResourceScriptCompiler::DialogStatement},
      {"MENU", &ResourceScriptCompiler::MenuStatement},
  };
  return statements;
}

bool ResourceScriptCompiler::IsReservedKeyword(const Token& keyword) {
  static const char* const kReserved[] = {
      "DIALOG",  "DIALOGEX", "MENU",      "MENUEX", "ACCELERATORS", "VERSIONINFO", "TOOLBAR",
      "DLGINIT", "FONT",     "HTML",      "MESSAGETABLE", "TEXTINCLUDE", "DESIGNINFO", "PLUGPLAY",
      "VXD",     "ANICURSOR", "ANIICON",  "MANIFEST", "STRINGTABLE", "BEGIN", "END"};
  for (const char* word : kReserved)
    if (keyword.IsWord(word)) return true;
  return false;
}

ResourceTable ResourceScriptCompiler::Compile(const std::string& scriptPath) {
  ScriptLexer lexer(includeDirs_);
  lexer_ = &lexer;
  table_ = ResourceTable();
  definedAt_.clear();
  dataFiles_.clear();
  for (const auto& [symbol, value] : PredefinedSymbols()) lexer.Define(symbol, value);
  lexer.Open(scriptPath);
  while (lexer.PeekRaw().kind != Token::Kind::End) Statement();
  dependencies_ = lexer.Files();
  dependencies_.insert(dependencies_.end(), dataFiles_.begin(), dataFiles_.end());
  lexer_ = nullptr;
  return std::move(table_);
}

void ResourceScriptCompiler::Expect(bool ok, const Token& at, const std::string& what) {
  if (!ok) lexer_->Fail(at, "expected " + what + " but found " + at.Describe());
}

void ResourceScriptCompiler::Statement() {
  ScriptLexer& lx = *lexer_;
  const Token first = lx.PeekRaw();
  if (first.IsWord("STRINGTABLE")) {
    lx.NextRaw();
    StringTable();
    return;
  }
  if (first.IsWord("LANGUAGE")) {
    lx.NextRaw();
    SkipLanguageOperands();
    return;
  }
  if (first.IsWord("VERSION") || first.IsWord("CHARACTERISTICS")) {
    lx.NextRaw();
    ParseNumber();
    return;
  }
  if (IsReservedKeyword(first)) lx.Fail(first, "unknown statement '" + first.text + "'");

  const ResourceKey name = ParseKey("a resource name or id");
  const Token keyword = lx.Next();
  if (keyword.kind == Token::Kind::End)
    lx.Fail(first, "expected a resource type after " + first.Describe());
  if (keyword.kind == Token::Kind::Identifier) {
    auto it = TypedStatements().find(UpperAscii(keyword.text));
    if (it != TypedStatements().end()) {
      (this->*(it->second))(name, keyword);
      return;
    }
    if (IsReservedKeyword(keyword))
      lx.Fail(keyword, "unknown statement: " + UpperAscii(keyword.text) + " resources are not supported");
    UserTypeStatement(ResourceKey::Name(keyword.text), name, keyword);
    return;
  }
  if (keyword.kind == Token::Kind::Number) {
    if (keyword.number < 1 || keyword.number > 0xFFFF) lx.Fail(keyword, "resource type out of range");
    UserTypeStatement(ResourceKey::Number(static_cast<WORD>(keyword.number)), name, keyword);
    return;
  }
  lx.Fail(keyword, "expected a resource type but found " + keyword.Describe());
}

ResourceKey ResourceScriptCompiler::ParseKey(const char* what) {
  const Token& t = lexer_->PeekRaw();
  if (t.kind == Token::Kind::Identifier && !lexer_->IsMacro(t.text)) {
    if (IsReservedKeyword(t)) lexer_->Fail(t, std::string("expected ") + what + " but found '" + t.text + "'");
    return ResourceKey::Name(lexer_->NextRaw().text);
  }
  const Token at = lexer_->Peek();
  int64_t n = ParseNumber();
  if (n < 0 || n > 0xFFFF) lexer_->Fail(at, std::to_string(n) + " is out of the id range 0-65535");
  return ResourceKey::Number(static_cast<WORD>(n));
}

int64_t ResourceScriptCompiler::ParseNumber() {
  LexerSource source(*lexer_);
  return ScriptExpression(source).Evaluate();
}

void ResourceScriptCompiler::SkipOptionalStatements() {
  static const char* const kMemoryOptions[] = {"PRELOAD", "LOADONCALL", "FIXED",  "MOVEABLE", "DISCARDABLE",
                                               "PURE",    "IMPURE",     "SHARED", "NONSHARED"};
  for (;;) {
    const Token& t = lexer_->Peek();
    bool option = false;
    for (const char* word : kMemoryOptions) option = option || t.IsWord(word);
    if (option) {
      lexer_->Next();
    } else if (t.IsWord("LANGUAGE")) {
      lexer_->Next();
      SkipLanguageOperands();
    } else if (t.IsWord("VERSION") || t.IsWord("CHARACTERISTICS")) {
      lexer_->Next();
      ParseNumber();
    } else {
      return;
    }
  }
}

// Languages are not kept; their operands are often names of the system's
// headers (LANG_CZECH, SUBLANG_DEFAULT), which scripts here do not include.
void ResourceScriptCompiler::SkipLanguageOperands() {
  ScriptLexer& lx = *lexer_;
  auto operand = [&] {
    Token t = lx.Next();
    if (t.kind != Token::Kind::Identifier && t.kind != Token::Kind::Number)
      lx.Fail(t, "expected a language but found " + t.Describe());
    while (lx.Peek().kind == Token::Kind::Punct && !lx.Peek().Is(",") && !lx.Peek().Is("{")) {
      lx.Next();
      Token more = lx.Next();
      if (more.kind != Token::Kind::Identifier && more.kind != Token::Kind::Number)
        lx.Fail(more, "expected a language but found " + more.Describe());
    }
  };
  operand();
  Token comma = lx.Next();
  Expect(comma.Is(","), comma, "','");
  operand();
}

void ResourceScriptCompiler::Add(const ResourceKey& type, const ResourceKey& name, std::vector<BYTE> data,
                                 const Token& at) {
  const std::string key = type.Describe() + "/" + name.Describe();
  auto it = definedAt_.find(key);
  if (it != definedAt_.end())
    lexer_->Fail(at, (type.isNumber && type.id == kRtString ? "string " : "resource ") + name.Describe() +
                         " is already defined at " + it->second);
  definedAt_[key] = at.file + ":" + std::to_string(at.line);
  table_.Add(type, name, std::move(data));
}

std::string ResourceScriptCompiler::TextOf(const Token& token, ScriptLexer& lexer) {
  std::string out;
  for (uint32_t unit : token.units) {
    if (unit & Token::kRawUnit) {
      uint32_t v = unit & ~Token::kRawUnit;
      if (v > 0xFF) lexer.Fail(token, "escape value " + std::to_string(v) + " does not fit in a byte");
      out += static_cast<char>(v);
      continue;
    }
    if (unit < 0x80) {
      out += static_cast<char>(unit);
      continue;
    }
    char byte = 0;
    BOOL usedDefault = FALSE;
    WCHAR wide = static_cast<WCHAR>(unit);
    if (unit > 0xFFFF ||
        WideCharToMultiByte(CP_1250, 0, &wide, 1, &byte, 1, nullptr, &usedDefault) != 1 || usedDefault) {
      std::string shown;
      AppendUtf8(shown, unit);
      char code[16];
      std::snprintf(code, sizeof code, "U+%04X", unit);
      lexer.Fail(token, "'" + shown + "' (" + code + ") has no code page 1250 form");
    }
    out += byte;
  }
  return out;
}

void ResourceScriptCompiler::StringTable() {
  ScriptLexer& lx = *lexer_;
  SkipOptionalStatements();
  Token open = lx.Next();
  Expect(IsBegin(open), open, "BEGIN");
  for (;;) {
    const Token& t = lx.Peek();
    if (IsEnd(t)) {
      lx.Next();
      return;
    }
    if (t.kind == Token::Kind::End) lx.Fail(t, "STRINGTABLE without END");
    const Token at = t;
    int64_t id = ParseNumber();
    if (id < 0 || id > 0xFFFF) lx.Fail(at, "string id " + std::to_string(id) + " is out of the range 0-65535");
    if (lx.Peek().Is(",")) lx.Next();
    Expect(lx.Peek().kind == Token::Kind::String, lx.Peek(), "the text of string " + std::to_string(id));
    std::string text;
    while (lx.Peek().kind == Token::Kind::String) text += TextOf(lx.Next(), lx);
    Add(ResourceKey::Number(kRtString), ResourceKey::Number(static_cast<WORD>(id)),
        std::vector<BYTE>(text.begin(), text.end()), at);
  }
}

std::vector<BYTE> ResourceScriptCompiler::ReadFileOperand(const Token& at) {
  std::string name;
  for (uint32_t unit : at.units) AppendUtf8(name, unit & ~Token::kRawUnit);
  std::vector<std::string> candidates;
  if (!name.empty() && name[0] == '/') {
    candidates.push_back(name);
  } else {
    candidates.push_back(FolderOf(at.file) + "/" + name);
    for (const auto& dir : includeDirs_) candidates.push_back(dir + "/" + name);
    if (!lexer_->Files().empty()) candidates.push_back(FolderOf(lexer_->Files().front()) + "/" + name);
  }
  for (const auto& path : candidates) {
    if (!IsFile(path)) continue;
    std::ifstream in(path, std::ios::binary);
    if (!in) lexer_->Fail(at, "cannot read '" + name + "'");
    std::vector<BYTE> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    dataFiles_.push_back(path);
    return bytes;
  }
  lexer_->Fail(at, "cannot find file '" + name + "'");
}

void ResourceScriptCompiler::IconStatement(const ResourceKey& name, const Token&) {
  SkipOptionalStatements();
  Token file = lexer_->Next();
  Expect(file.kind == Token::Kind::String, file, "a quoted .ico file name");
  std::vector<BYTE> bytes = ReadFileOperand(file);
  if (!IsIconDirectory(bytes, 1)) lexer_->Fail(file, "not an icon file (.ico)");
  Add(ResourceKey::Number(kRtGroupIcon), name, std::move(bytes), file);
}

void ResourceScriptCompiler::CursorStatement(const ResourceKey& name, const Token&) {
  SkipOptionalStatements();
  Token file = lexer_->Next();
  Expect(file.kind == Token::Kind::String, file, "a quoted .cur file name");
  std::vector<BYTE> bytes = ReadFileOperand(file);
  if (!IsIconDirectory(bytes, 2)) lexer_->Fail(file, "not a cursor file (.cur)");
  Add(ResourceKey::Number(kRtGroupCursor), name, std::move(bytes), file);
}

void ResourceScriptCompiler::BitmapStatement(const ResourceKey& name, const Token&) {
  SkipOptionalStatements();
  Token file = lexer_->Next();
  Expect(file.kind == Token::Kind::String, file, "a quoted .bmp file name");
  std::vector<BYTE> bytes = ReadFileOperand(file);
  // Stored as Windows does: from the bitmap header on, without the file header.
  constexpr size_t kFileHeader = 14, kSmallestInfoHeader = 12;
  if (bytes.size() < kFileHeader + kSmallestInfoHeader || bytes[0] != 'B' || bytes[1] != 'M')
    lexer_->Fail(file, "not a bitmap file (.bmp)");
  bytes.erase(bytes.begin(), bytes.begin() + kFileHeader);
  Add(ResourceKey::Number(kRtBitmap), name, std::move(bytes), file);
}

void ResourceScriptCompiler::DataStatement(const ResourceKey& name, const Token& keyword) {
  UserTypeStatement(ResourceKey::Number(kRtRcData), name, keyword);
}

void ResourceScriptCompiler::UserTypeStatement(const ResourceKey& type, const ResourceKey& name, const Token& keyword) {
  SkipOptionalStatements();
  const Token& next = lexer_->Peek();
  if (next.kind == Token::Kind::String) {
    Token file = lexer_->Next();
    Add(type, name, ReadFileOperand(file), file);
    return;
  }
  if (!IsBegin(next))
    lexer_->Fail(next, "expected a quoted file name or BEGIN after " + keyword.Describe() + " but found " +
                           next.Describe());
  Add(type, name, ParseDataBlock(), keyword);
}

std::vector<BYTE> ResourceScriptCompiler::ParseDataBlock() {
  ScriptLexer& lx = *lexer_;
  lx.Next();  // BEGIN
  std::vector<BYTE> out;
  for (;;) {
    const Token& t = lx.Peek();
    if (IsEnd(t)) {
      lx.Next();
      return out;
    }
    if (t.kind == Token::Kind::End) lx.Fail(t, "data block without END");
    if (t.kind == Token::Kind::String) {
      Token s = lx.Next();
      if (!s.wide) {
        std::string text = TextOf(s, lx);
        out.insert(out.end(), text.begin(), text.end());
      } else {
        for (uint32_t unit : s.units) {
          uint32_t v = unit & ~Token::kRawUnit;
          if (!(unit & Token::kRawUnit) && v >= 0x10000) {
            v -= 0x10000;
            PutLe(out, 0xD800 + (v >> 10), 2);
            PutLe(out, 0xDC00 + (v & 0x3FF), 2);
          } else {
            PutLe(out, v, 2);
          }
        }
      }
    } else {
      const Token at = t;
      LexerSource source(lx);
      ScriptExpression expr(source);
      int64_t v = expr.Evaluate();
      const int bytes = expr.SawLong() ? 4 : 2;
      const int64_t low = expr.SawLong() ? INT32_MIN : INT16_MIN;
      const int64_t high = expr.SawLong() ? static_cast<int64_t>(UINT32_MAX) : UINT16_MAX;
      if (v < low || v > high)
        lx.Fail(at, std::to_string(v) + " does not fit in " + (bytes == 4 ? "32" : "16") + " bits");
      PutLe(out, static_cast<uint64_t>(v), bytes);
    }
    if (lx.Peek().Is(",")) lx.Next();
  }
}
