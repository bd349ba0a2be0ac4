#include "platform/resources/compiler/ScriptLexer.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

constexpr size_t kMaxIncludeDepth = 64;

bool FileExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::string Canonical(const std::string& path) {
  char* real = realpath(path.c_str(), nullptr);
  std::string out = real ? real : path;
  std::free(real);
  return out;
}

bool IsHeaderName(const std::string& path) {
  size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return false;
  std::string ext = path.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == "h" || ext == "hh" || ext == "hpp" || ext == "hxx" || ext == "c" || ext == "cc" ||
         ext == "cpp" || ext == "cxx";
}

bool IdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Comments become blanks (a block comment keeps its line breaks); strings and
// character literals are left alone.
std::string StripComments(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  enum { Code, String, Char, Line, Block } state = Code;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    char n = i + 1 < text.size() ? text[i + 1] : '\0';
    switch (state) {
      case Code:
        if (c == '/' && n == '/') {
          state = Line;
          out += "  ";
          ++i;
        } else if (c == '/' && n == '*') {
          state = Block;
          out += "  ";
          ++i;
        } else {
          if (c == '"') state = String;
          if (c == '\'') state = Char;
          out += c;
        }
        break;
      case String:
      case Char:
        out += c;
        if (c == '\\' && n != '\n' && n != '\0') {
          out += n;
          ++i;
        } else if (c == '\n') {
          state = Code;  // an unterminated literal ends with its line
        } else if (c == (state == String ? '"' : '\'')) {
          if (state == String && n == '"') {  // "" is a quote inside a script string
            out += n;
            ++i;
          } else {
            state = Code;
          }
        }
        break;
      case Line:
        if (c == '\n') {
          state = Code;
          out += c;
        } else {
          out += ' ';
        }
        break;
      case Block:
        if (c == '*' && n == '/') {
          state = Code;
          out += "  ";
          ++i;
        } else {
          out += c == '\n' ? '\n' : ' ';
        }
        break;
    }
  }
  return out;
}

// Lines of a file; a line ending in '\' goes on in the next one (which is
// left empty so that line numbers stay right).
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string current;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  for (size_t i = 0; i < lines.size(); ++i) {
    while (!lines[i].empty() && lines[i].back() == '\\' && i + 1 < lines.size()) {
      lines[i].pop_back();
      size_t j = i + 1;
      while (j < lines.size() && lines[j].empty()) ++j;  // already joined
      if (j == lines.size()) break;
      lines[i] += lines[j];
      lines[j].clear();
    }
  }
  return lines;
}

// Reads one UTF-8 sequence; false when malformed.
bool DecodeUtf8(const std::string& s, size_t& i, uint32_t& cp) {
  auto c = static_cast<unsigned char>(s[i]);
  int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
  if (extra < 0 || i + extra >= s.size()) return false;
  cp = extra == 0 ? c : c & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    auto cc = static_cast<unsigned char>(s[i + k]);
    if ((cc & 0xC0) != 0x80) return false;
    cp = (cp << 6) | (cc & 0x3F);
  }
  i += extra + 1;
  return true;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

class VectorSource : public ScriptExpression::Source {
 public:
  VectorSource(std::vector<Token> tokens, Token end) : tokens_(std::move(tokens)), end_(std::move(end)) {}
  const Token& Peek() override { return pos_ < tokens_.size() ? tokens_[pos_] : end_; }
  Token Next() override { return pos_ < tokens_.size() ? tokens_[pos_++] : end_; }
  void Fail(const Token& at, const std::string& message) override {
    throw ScriptError(at.file.empty() ? end_.file : at.file, at.line ? at.line : end_.line, message);
  }

 private:
  std::vector<Token> tokens_;
  Token end_;
  size_t pos_ = 0;
};

}  // namespace

ScriptError::ScriptError(const std::string& f, int l, const std::string& message)
    : std::runtime_error(f + ":" + std::to_string(l) + ": error: " + message), file(f), line(l) {}

bool Token::IsWord(const char* word) const {
  if (kind != Kind::Identifier) return false;
  size_t i = 0;
  for (; word[i]; ++i)
    if (i >= text.size() || std::toupper(static_cast<unsigned char>(text[i])) != word[i]) return false;
  return i == text.size();
}

std::string Token::Describe() const {
  switch (kind) {
    case Kind::End: return "end of file";
    case Kind::String: return "a string";
    case Kind::Number: return "number " + std::to_string(number);
    default: return "'" + text + "'";
  }
}

ScriptLexer::ScriptLexer(std::vector<std::string> includeDirs) : includeDirs_(std::move(includeDirs)) {}

void ScriptLexer::Open(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ScriptError(path, 0, "cannot open the script");
  std::stringstream text;
  text << in.rdbuf();
  std::string content = text.str();
  if (content.compare(0, 3, "\xEF\xBB\xBF") == 0) content.erase(0, 3);
  auto src = std::make_unique<Source>();
  src->path = path;
  src->folder = FolderOf(path);
  bytesRead_ += content.size();
  src->lines = SplitLines(StripComments(content));
  includeDirs_.insert(includeDirs_.begin(), src->folder);
  files_.push_back(path);
  lastFile_ = path;
  stack_.push_back(std::move(src));
}

void ScriptLexer::Fail(const Token& at, const std::string& message) const {
  if (at.kind == Token::Kind::End || at.file.empty()) throw ScriptError(lastFile_, lastLine_, message);
  throw ScriptError(at.file, at.line, message);
}

bool ScriptLexer::FillQueue() {
  while (queue_.empty()) {
    if (stack_.empty()) return false;
    Source& src = *stack_.back();
    if (src.next >= src.lines.size()) {
      if (conditions_.size() > src.conditionDepth)
        throw ScriptError(src.path, static_cast<int>(src.lines.size()), "#if without #endif");
      stack_.pop_back();
      continue;
    }
    const std::string& line = src.lines[src.next++];
    const int lineNo = static_cast<int>(src.next);
    lastFile_ = src.path;
    lastLine_ = lineNo;
    size_t first = line.find_first_not_of(" \t\f\v");
    if (first == std::string::npos) continue;
    if (line[first] == '#') {
      Directive(src, line.substr(first + 1), lineNo);
      continue;
    }
    if (!Active() || src.headerOnly) continue;
    for (Token& t : Tokenize(line, src.path, lineNo)) queue_.push_back(std::move(t));
  }
  end_.kind = Token::Kind::End;
  return true;
}

void ScriptLexer::Directive(Source& src, const std::string& text, int lineNo) {
  size_t i = text.find_first_not_of(" \t");
  if (i == std::string::npos) return;  // a lone '#'
  size_t j = i;
  while (j < text.size() && IdentChar(text[j])) ++j;
  const std::string name = text.substr(i, j - i);
  const std::string rest = text.substr(j);
  auto fail = [&](const std::string& message) { throw ScriptError(src.path, lineNo, message); };
  auto inThisFile = [&] { return conditions_.size() > src.conditionDepth; };
  auto wordOf = [&](const std::string& s) {
    size_t a = s.find_first_not_of(" \t");
    if (a == std::string::npos || !IdentStart(s[a])) fail("#" + name + " needs a name");
    size_t b = a;
    while (b < s.size() && IdentChar(s[b])) ++b;
    return std::make_pair(s.substr(a, b - a), b);
  };

  if (name == "if" || name == "ifdef" || name == "ifndef") {
    bool parent = Active();
    bool value = false;
    if (parent) {
      if (name == "if") {
        value = EvaluateCondition(rest, src.path, lineNo) != 0;
      } else {
        bool defined = IsMacro(wordOf(rest).first);
        value = name == "ifdef" ? defined : !defined;
      }
    }
    conditions_.push_back({parent && value, value, parent, false});
    return;
  }
  if (name == "elif" || name == "else" || name == "endif") {
    if (!inThisFile()) fail("#" + name + " without #if");
    Condition& c = conditions_.back();
    if (name == "endif") {
      conditions_.pop_back();
      return;
    }
    if (c.sawElse) fail("#" + name + " after #else");
    bool value = !c.taken;
    if (name == "elif") {
      value = value && c.parentActive && EvaluateCondition(rest, src.path, lineNo) != 0;
    } else {
      c.sawElse = true;
    }
    c.active = c.parentActive && value;
    c.taken = c.taken || value;
    return;
  }
  if (!Active()) return;

  if (name == "include") {
    Include(src, rest, lineNo);
  } else if (name == "define") {
    auto [macro, end] = wordOf(rest);
    if (end < rest.size() && rest[end] == '(') {
      macros_[macro] = {};
      functionMacros_.insert(macro);
      return;
    }
    functionMacros_.erase(macro);
    badMacros_.erase(macro);
    try {
      macros_[macro] = Tokenize(rest.substr(end), src.path, lineNo);
    } catch (const ScriptError& e) {
      // Headers shared with C++ may define what a script cannot use; only
      // using such a name is a fault.
      macros_[macro] = {};
      badMacros_[macro] = e.what();
    }
  } else if (name == "undef") {
    std::string macro = wordOf(rest).first;
    macros_.erase(macro);
    functionMacros_.erase(macro);
    badMacros_.erase(macro);
  } else if (name == "pragma") {
    // Only "once" matters here; code pages and the like are for other tools.
    size_t a = rest.find_first_not_of(" \t");
    if (a != std::string::npos && rest.compare(a, 4, "once") == 0 &&
        (a + 4 == rest.size() || !IdentChar(rest[a + 4])))
      onceFiles_.insert(Canonical(src.path));
  } else if (name == "error") {
    fail("#error" + rest);
  } else if (name != "line" && name != "warning") {
    fail("unknown directive #" + name);
  }
}

std::string ScriptLexer::Locate(const std::string& name, const std::string& fromFolder, bool quoted) const {
  if (!name.empty() && name[0] == '/') return FileExists(name) ? name : std::string();
  if (quoted && FileExists(fromFolder + "/" + name)) return fromFolder + "/" + name;
  for (const auto& dir : includeDirs_)
    if (FileExists(dir + "/" + name)) return dir + "/" + name;
  return {};
}

void ScriptLexer::Include(Source& src, const std::string& rest, int lineNo) {
  size_t a = rest.find_first_not_of(" \t");
  char open = a == std::string::npos ? '\0' : rest[a];
  char close = open == '"' ? '"' : open == '<' ? '>' : '\0';
  size_t b = close ? rest.find(close, a + 1) : std::string::npos;
  if (b == std::string::npos) throw ScriptError(src.path, lineNo, "#include needs \"file\" or <file>");
  const std::string name = rest.substr(a + 1, b - a - 1);
  const std::string path = Locate(name, src.folder, open == '"');
  if (path.empty()) throw ScriptError(src.path, lineNo, "cannot find include file '" + name + "'");
  if (onceFiles_.count(Canonical(path))) return;
  if (stack_.size() >= kMaxIncludeDepth) throw ScriptError(src.path, lineNo, "includes nest too deeply");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ScriptError(src.path, lineNo, "cannot read include file '" + name + "'");
  std::stringstream text;
  text << in.rdbuf();
  std::string content = text.str();
  if (content.compare(0, 3, "\xEF\xBB\xBF") == 0) content.erase(0, 3);
  auto inc = std::make_unique<Source>();
  inc->path = path;
  inc->folder = FolderOf(path);
  inc->headerOnly = IsHeaderName(path);
  bytesRead_ += content.size();
  inc->lines = SplitLines(StripComments(content));
  inc->conditionDepth = conditions_.size();
  files_.push_back(path);
  stack_.push_back(std::move(inc));
}

std::vector<Token> ScriptLexer::Tokenize(const std::string& s, const std::string& file, int line) const {
  std::vector<Token> out;
  auto fail = [&](const std::string& message) { throw ScriptError(file, line, message); };
  size_t i = 0;
  while (i < s.size()) {
    char c = s[i];
    if (std::isspace(static_cast<unsigned char>(c))) {
      ++i;
      continue;
    }
    Token t;
    t.file = file;
    t.line = line;
    bool wideString = c == 'L' && i + 1 < s.size() && s[i + 1] == '"';
    if (IdentStart(c) && !wideString) {
      size_t j = i;
      while (j < s.size() && IdentChar(s[j])) ++j;
      t.kind = Token::Kind::Identifier;
      t.text = s.substr(i, j - i);
      i = j;
    } else if (std::isdigit(static_cast<unsigned char>(c))) {
      t.kind = Token::Kind::Number;
      uint64_t value = 0;
      int base = 10;
      size_t j = i;
      if (c == '0' && j + 1 < s.size() && (s[j + 1] == 'x' || s[j + 1] == 'X')) {
        base = 16;
        j += 2;
      } else if (c == '0') {
        base = 8;
      }
      size_t digits = j;
      for (; j < s.size(); ++j) {
        int d = HexValue(s[j]);
        if (d < 0 || d >= base) break;
        if (value > (UINT64_MAX - static_cast<uint64_t>(d)) / static_cast<uint64_t>(base))
          fail("number too large");
        value = value * base + d;
      }
      if (j == digits && base == 16) fail("bad number");
      for (; j < s.size() && (s[j] == 'L' || s[j] == 'l' || s[j] == 'U' || s[j] == 'u'); ++j)
        if (s[j] == 'L' || s[j] == 'l') t.longSuffix = true;
      if (j < s.size() && IdentChar(s[j])) fail("bad number '" + s.substr(i, j + 1 - i) + "'");
      if (value > static_cast<uint64_t>(INT64_MAX)) fail("number too large");
      t.number = static_cast<int64_t>(value);
      t.text = s.substr(i, j - i);
      i = j;
    } else if (c == '"' || wideString || c == '\'') {
      const bool isChar = c == '\'';
      const char quote = isChar ? '\'' : '"';
      t.kind = isChar ? Token::Kind::Number : Token::Kind::String;
      t.wide = wideString;
      size_t j = i + (wideString ? 2 : 1);
      bool closed = false;
      while (j < s.size()) {
        char ch = s[j];
        if (ch == quote) {
          if (!isChar && j + 1 < s.size() && s[j + 1] == '"') {
            t.units.push_back('"');
            j += 2;
            continue;
          }
          closed = true;
          ++j;
          break;
        }
        if (ch == '\\') {
          if (j + 1 >= s.size()) fail("unterminated string");
          char e = s[j + 1];
          j += 2;
          switch (e) {
            case 'n': t.units.push_back('\n'); break;
            case 't': t.units.push_back('\t'); break;
            case 'r': t.units.push_back('\r'); break;
            case 'a': t.units.push_back('\a'); break;
            case 'b': t.units.push_back('\b'); break;
            case 'f': t.units.push_back('\f'); break;
            case 'v': t.units.push_back('\v'); break;
            case '\\': t.units.push_back('\\'); break;
            case '"': t.units.push_back('"'); break;
            case '\'': t.units.push_back('\''); break;
            case '?': t.units.push_back('?'); break;
            case 'x':
            case 'X': {
              uint32_t v = 0;
              int n = 0, max = wideString ? 4 : 2;
              while (n < max && j < s.size() && HexValue(s[j]) >= 0) v = v * 16 + HexValue(s[j++]), ++n;
              if (n == 0) fail("\\x needs hex digits");
              t.units.push_back(v | Token::kRawUnit);
              break;
            }
            default:
              if (e >= '0' && e <= '7') {
                uint32_t v = e - '0';
                for (int n = 1; n < 3 && j < s.size() && s[j] >= '0' && s[j] <= '7'; ++n)
                  v = v * 8 + (s[j++] - '0');
                t.units.push_back(v | Token::kRawUnit);
              } else {
                fail(std::string("unknown escape \\") + e);
              }
          }
          continue;
        }
        uint32_t cp;
        if (!DecodeUtf8(s, j, cp)) fail("the script is not valid UTF-8 here");
        t.units.push_back(cp);
      }
      if (!closed) fail(isChar ? "unterminated character" : "unterminated string");
      if (isChar) {
        if (t.units.size() != 1) fail("a character literal holds one character");
        t.number = t.units[0] & ~Token::kRawUnit;
        t.units.clear();
      }
      t.text = s.substr(i, j - i);
      i = j;
    } else {
      static const char* const kTwo[] = {"<<", ">>", "<=", ">=", "==", "!=", "&&", "||"};
      t.kind = Token::Kind::Punct;
      for (const char* op : kTwo)
        if (s.compare(i, 2, op) == 0) t.text = op;
      if (t.text.empty()) {
        if (std::string(",{}()+-*/%&|^~!<>=;:.[]?#").find(c) == std::string::npos)
          fail(std::string("unexpected character '") + c + "'");
        t.text = std::string(1, c);
      }
      i += t.text.size();
    }
    out.push_back(std::move(t));
  }
  return out;
}

MacroChain::MacroChain(std::string macro, std::shared_ptr<const MacroChain> outside)
    : name(std::move(macro)), outer(std::move(outside)), depth(outer ? outer->depth + 1 : 1) {}

MacroChain::~MacroChain() {
  std::shared_ptr<const MacroChain> next = std::move(outer);
  // Each link is made non-const (make_shared<MacroChain>); only the last
  // owner takes its outer link before letting it go.
  while (next && next.use_count() == 1)
    next = std::move(const_cast<MacroChain&>(*next).outer);
}

void ScriptLexer::OpenLink(std::shared_ptr<const MacroChain> link) {
  ++openCount_[link->name];
  open_.push_back(std::move(link));
}

void ScriptLexer::CloseLink() {
  auto count = openCount_.find(open_.back()->name);
  if (--count->second == 0) openCount_.erase(count);
  open_.pop_back();
}

bool ScriptLexer::Hidden(const Token& t) {
  std::shared_ptr<const MacroChain> link = t.expandedFrom;
  while (open_.size() > (link ? link->depth : 0)) CloseLink();
  // Out from the token's own link to where it meets the open chain.
  std::vector<std::shared_ptr<const MacroChain>> missing;
  for (; link && !(open_.size() >= link->depth && open_[link->depth - 1] == link); link = link->outer) {
    while (open_.size() >= link->depth) CloseLink();
    missing.push_back(link);
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) OpenLink(std::move(*it));
  return openCount_.count(t.text) != 0;
}

void ScriptLexer::ExpandFront() {
  for (;;) {
    if (queue_.empty() && !FillQueue()) return;
    Token& front = queue_.front();
    if (front.kind != Token::Kind::Identifier || !IsMacro(front.text)) return;
    if (front.expandedFrom && Hidden(front)) return;
    if (functionMacros_.count(front.text)) Fail(front, "'" + front.text + "' takes arguments, which scripts cannot use");
    auto bad = badMacros_.find(front.text);
    if (bad != badMacros_.end()) Fail(front, "'" + front.text + "' cannot be used: " + bad->second);
    const auto& body = macros_.at(front.text);
    CountExpansion(front, body.size(), front.file, front.line);
    Token use = std::move(front);
    queue_.pop_front();
    std::shared_ptr<const MacroChain> hidden = std::make_shared<MacroChain>(use.text, use.expandedFrom);
    for (auto it = body.rbegin(); it != body.rend(); ++it) {
      Token t = *it;
      t.file = use.file;
      t.line = use.line;
      t.expandedFrom = hidden;
      queue_.push_front(std::move(t));
    }
  }
}

const Token& ScriptLexer::Peek() {
  ExpandFront();
  return queue_.empty() ? end_ : queue_.front();
}

Token ScriptLexer::Next() {
  Peek();
  return NextRaw();
}

const Token& ScriptLexer::PeekRaw() {
  if (queue_.empty()) FillQueue();
  return queue_.empty() ? end_ : queue_.front();
}

Token ScriptLexer::NextRaw() {
  PeekRaw();
  if (queue_.empty()) return end_;
  Token t = std::move(queue_.front());
  queue_.pop_front();
  return t;
}

int64_t ScriptLexer::EvaluateCondition(const std::string& text, const std::string& file, int line) {
  std::vector<Token> raw = Tokenize(text, file, line);
  std::vector<Token> resolved;
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i].kind != Token::Kind::Identifier || raw[i].text != "defined") {
      resolved.push_back(raw[i]);
      continue;
    }
    bool paren = i + 1 < raw.size() && raw[i + 1].Is("(");
    size_t n = i + (paren ? 2 : 1);
    if (n >= raw.size() || raw[n].kind != Token::Kind::Identifier ||
        (paren && (n + 1 >= raw.size() || !raw[n + 1].Is(")"))))
      throw ScriptError(file, line, "defined needs a name");
    Token value = raw[i];
    value.kind = Token::Kind::Number;
    value.number = IsMacro(raw[n].text) ? 1 : 0;
    resolved.push_back(value);
    i = n + (paren ? 1 : 0);
  }
  std::vector<Token> expanded = ExpandAll(std::move(resolved), file, line);
  for (Token& t : expanded) {
    if (t.kind != Token::Kind::Identifier) continue;
    t.number = t.text == "true" ? 1 : 0;  // unknown names count as 0, as in C
    t.kind = Token::Kind::Number;
  }
  Token end;
  end.file = file;
  end.line = line;
  VectorSource source(std::move(expanded), end);
  if (source.Peek().kind == Token::Kind::End) throw ScriptError(file, line, "#if needs an expression");
  ScriptExpression expr(source);
  int64_t value = expr.Evaluate();
  if (source.Peek().kind != Token::Kind::End)
    throw ScriptError(file, line, "unexpected " + source.Peek().Describe() + " in #if");
  return value;
}

void ScriptLexer::CountExpansion(const Token& use, size_t bodySize, const std::string& file, int line) {
  // A use written in the script starts a new expansion tree; the uses its
  // expansion brings count against it.
  if (!use.expandedFrom) expandedTokens_ = 0;
  expandedTokens_ += bodySize;
  scriptTokens_ += bodySize;
  const size_t useLimit = std::max(kMaxExpandedTokens, bytesRead_);
  const size_t scriptLimit = std::max(kMaxScriptTokens, kScriptTokensPerByte * bytesRead_);
  if (expandedTokens_ > useLimit)
    throw ScriptError(file, line, "macro expansion exceeds " + std::to_string(useLimit) +
                                      " tokens at '" + use.text + "' (macros that expand each other several times?)");
  if (scriptTokens_ > scriptLimit)
    throw ScriptError(file, line, "macro expansions of the script exceed " + std::to_string(scriptLimit) +
                                      " tokens at '" + use.text + "'");
}

std::vector<Token> ScriptLexer::ExpandAll(std::vector<Token> tokens, const std::string& file, int line) {
  std::deque<Token> in(tokens.begin(), tokens.end());
  std::vector<Token> out;
  while (!in.empty()) {
    Token t = std::move(in.front());
    in.pop_front();
    bool hidden = t.kind == Token::Kind::Identifier && t.expandedFrom && Hidden(t);
    if (t.kind != Token::Kind::Identifier || !IsMacro(t.text) || hidden) {
      out.push_back(std::move(t));
      continue;
    }
    if (functionMacros_.count(t.text))
      throw ScriptError(file, line, "'" + t.text + "' takes arguments, which scripts cannot use");
    auto bad = badMacros_.find(t.text);
    if (bad != badMacros_.end()) throw ScriptError(file, line, "'" + t.text + "' cannot be used: " + bad->second);
    const auto& body = macros_.at(t.text);
    CountExpansion(t, body.size(), file, line);
    std::shared_ptr<const MacroChain> set = std::make_shared<MacroChain>(t.text, t.expandedFrom);
    for (auto it = body.rbegin(); it != body.rend(); ++it) {
      Token b = *it;
      b.file = file;
      b.line = line;
      b.expandedFrom = set;
      in.push_front(std::move(b));
    }
  }
  return out;
}

// ---------------------------------------------------------------------------

namespace {

int LevelOf(const Token& t) {
  if (t.kind != Token::Kind::Punct) return 0;
  static const std::map<std::string, int> levels = {
      {"||", 1}, {"&&", 2}, {"|", 3},  {"^", 4},  {"&", 5},  {"==", 6}, {"!=", 6}, {"<", 7},  {"<=", 7},
      {">", 7},  {">=", 7}, {"<<", 8}, {">>", 8}, {"+", 9},  {"-", 9},  {"*", 10}, {"/", 10}, {"%", 10}};
  auto it = levels.find(t.text);
  return it == levels.end() ? 0 : it->second;
}

}  // namespace

int64_t ScriptExpression::Evaluate() { return Binary(1); }

int64_t ScriptExpression::Binary(int minLevel) {
  int64_t lhs = Unary();
  for (;;) {
    const Token& op = src_.Peek();
    int level = LevelOf(op);
    if (level == 0 || level < minLevel) return lhs;
    Token opToken = src_.Next();
    int64_t rhs = Binary(level + 1);
    auto u = [](int64_t v) { return static_cast<uint64_t>(v); };
    const std::string& o = opToken.text;
    if (o == "||") lhs = lhs || rhs;
    else if (o == "&&") lhs = lhs && rhs;
    else if (o == "|") lhs = lhs | rhs;
    else if (o == "^") lhs = lhs ^ rhs;
    else if (o == "&") lhs = lhs & rhs;
    else if (o == "==") lhs = lhs == rhs;
    else if (o == "!=") lhs = lhs != rhs;
    else if (o == "<") lhs = lhs < rhs;
    else if (o == "<=") lhs = lhs <= rhs;
    else if (o == ">") lhs = lhs > rhs;
    else if (o == ">=") lhs = lhs >= rhs;
    else if (o == "+") lhs = static_cast<int64_t>(u(lhs) + u(rhs));
    else if (o == "-") lhs = static_cast<int64_t>(u(lhs) - u(rhs));
    else if (o == "*") lhs = static_cast<int64_t>(u(lhs) * u(rhs));
    else if (o == "<<" || o == ">>") {
      if (rhs < 0 || rhs > 63) src_.Fail(opToken, "shift out of range");
      lhs = o == "<<" ? static_cast<int64_t>(u(lhs) << rhs) : lhs >> rhs;
    } else {
      if (rhs == 0) src_.Fail(opToken, "division by zero");
      if (lhs == INT64_MIN && rhs == -1) src_.Fail(opToken, "number too large");
      lhs = o == "/" ? lhs / rhs : lhs % rhs;
    }
  }
}

int64_t ScriptExpression::Unary() {
  Token t = src_.Next();
  if (t.Is("-") || t.Is("+") || t.Is("~") || t.Is("!") || t.Is("(")) {
    if (depth_ >= kMaxNesting)
      src_.Fail(t, "expression nests more than " + std::to_string(kMaxNesting) + " operators or parentheses deep");
    ++depth_;
    const int64_t value = Nested(t);
    --depth_;
    return value;
  }
  if (t.kind == Token::Kind::Number) {
    sawLong_ = sawLong_ || t.longSuffix;
    return t.number;
  }
  if (t.kind == Token::Kind::Identifier) src_.Fail(t, "'" + t.text + "' is not a defined number");
  src_.Fail(t, "expected a number but found " + t.Describe());
  return 0;  // not reached: Fail throws
}

int64_t ScriptExpression::Nested(const Token& t) {
  if (t.Is("-")) return static_cast<int64_t>(0 - static_cast<uint64_t>(Unary()));
  if (t.Is("+")) return Unary();
  if (t.Is("~")) return ~Unary();
  if (t.Is("!")) return !Unary();
  if (t.Is("(")) {
    int64_t v = Binary(1);
    Token close = src_.Next();
    if (!close.Is(")")) src_.Fail(close, "expected ')' but found " + close.Describe());
    return v;
  }
  src_.Fail(t, "expected a number but found " + t.Describe());
  return 0;  // not reached: Fail throws
}

void ScriptLexer::Define(const std::string& name, int64_t value) {
  Token t;
  t.kind = Token::Kind::Number;
  t.number = value;
  t.text = std::to_string(value);
  t.file = "<predefined>";
  macros_[name] = {t};
}
