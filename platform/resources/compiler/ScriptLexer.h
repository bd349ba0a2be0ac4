// Tokens of a resource script after preprocessing: comments, #include,
// #define (object-like), #undef, #if/#ifdef/#ifndef/#elif/#else/#endif,
// #pragma (ignored) and #error. Included headers (.h, .hpp, .c ...) give
// only their preprocessor lines, so C++ code and scripts can share one
// header of `#define NAME number` ids. Scripts are UTF-8.
//
// Macros that expand each other several times grow without bound, so the
// tokens that one use of a macro in the script produces, with every use
// its expansion brings, are limited (kMaxExpandedTokens), and so are those
// of all uses together (kMaxScriptTokens): beyond either the compile fails
// at the line of the use. Both limits grow with the text read, so that a
// large script is never refused for its size and the work stays linear in it.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

// A fault in a script, with where it is.
class ScriptError : public std::runtime_error {
 public:
  ScriptError(const std::string& file, int line, const std::string& message);
  const std::string file;
  const int line;
};

// The macros a token came out of, innermost first: one link per
// expansion, shared by its tokens and the expansions inside it.
struct MacroChain {
  MacroChain(std::string macro, std::shared_ptr<const MacroChain> outside);
  // Lets go of the outer links one at a time: a chain as deep as the
  // macros nest never recurses.
  ~MacroChain();
  MacroChain(const MacroChain&) = delete;
  MacroChain& operator=(const MacroChain&) = delete;

  std::string name;
  std::shared_ptr<const MacroChain> outer;
  size_t depth;  // links from here outwards, this one included
};

struct Token {
  enum class Kind { Identifier, Number, String, Punct, End };
  Kind kind = Kind::End;
  std::string text;           // identifier or punctuation as written
  int64_t number = 0;         // Number
  bool longSuffix = false;    // Number written with L
  bool wide = false;          // String written as L"..."
  // String: Unicode code points of the text; escapes such as \x41 give a raw
  // unit, marked with kRawUnit, that goes into the output as it is.
  std::vector<uint32_t> units;
  std::string file;
  int line = 0;
  std::shared_ptr<const MacroChain> expandedFrom;  // macros it came out of

  static constexpr uint32_t kRawUnit = 0x80000000u;
  bool Is(const char* punct) const { return kind == Kind::Punct && text == punct; }
  // Identifier compared without case (script keywords are).
  bool IsWord(const char* word) const;
  std::string Describe() const;  // for messages
};

class ScriptLexer {
 public:
  // Far above what real scripts need: a use of an id or a style name
  // expands to a few tokens. A longer text may expand one use to as many
  // tokens as it has bytes.
  static constexpr size_t kMaxExpandedTokens = 65536;
  // The whole script's expansions, so that a short script cannot make the
  // compiler expand without end one use at a time; a longer one may expand
  // to kScriptTokensPerByte tokens for each byte read.
  static constexpr size_t kMaxScriptTokens = 16 * kMaxExpandedTokens;
  static constexpr size_t kScriptTokensPerByte = 16;

  explicit ScriptLexer(std::vector<std::string> includeDirs);

  // Starts with the top-level script; throws ScriptError when it cannot be read.
  void Open(const std::string& path);

  // The next token with macros expanded; an End token at the end of input.
  Token Next();
  const Token& Peek();
  // The next token before macro expansion (a resource name that is not a
  // defined id stays a name).
  const Token& PeekRaw();
  Token NextRaw();

  bool IsMacro(const std::string& name) const { return macros_.count(name) != 0; }
  // A name known before the script begins (a script's #define replaces it).
  void Define(const std::string& name, int64_t value);

  // Every file read so far (the script, its includes), for dependency lists.
  const std::vector<std::string>& Files() const { return files_; }

  [[noreturn]] void Fail(const Token& at, const std::string& message) const;

 private:
  struct Source {
    std::string path;
    std::string folder;
    bool headerOnly = false;
    std::vector<std::string> lines;  // comments removed
    size_t next = 0;
    size_t conditionDepth = 0;  // open conditionals when the file began
  };
  struct Condition {
    bool active;        // this branch is being read
    bool taken;         // some branch of the group was active
    bool parentActive;  // the enclosing text is being read
    bool sawElse;
  };

  bool FillQueue();
  void Directive(Source& src, const std::string& line, int lineNo);
  void Include(Source& src, const std::string& rest, int lineNo);
  std::vector<Token> Tokenize(const std::string& text, const std::string& file, int line) const;
  int64_t EvaluateCondition(const std::string& text, const std::string& file, int line);
  std::vector<Token> ExpandAll(std::vector<Token> tokens, const std::string& file, int line);
  // Counts a macro body about to be expanded against the limit of the
  // expansion tree it belongs to.
  void CountExpansion(const Token& use, size_t bodySize, const std::string& file, int line);
  // Whether the token came out of an expansion of its own macro. The
  // tokens are looked at in the order expansions nest, so the chain of the
  // last one looked at is kept with a count per macro, and each link is
  // added and dropped once.
  bool Hidden(const Token& t);
  void OpenLink(std::shared_ptr<const MacroChain> link);
  void CloseLink();
  bool Active() const { return conditions_.empty() || conditions_.back().active; }
  void ExpandFront();
  std::string Locate(const std::string& name, const std::string& fromFolder, bool quoted) const;

  std::vector<std::string> includeDirs_;
  std::vector<std::unique_ptr<Source>> stack_;
  std::vector<Condition> conditions_;
  std::map<std::string, std::vector<Token>> macros_;
  std::set<std::string> functionMacros_;           // defined, but not usable here
  std::map<std::string, std::string> badMacros_;   // name -> why its text is no script
  std::set<std::string> onceFiles_;
  std::vector<std::string> files_;
  std::deque<Token> queue_;
  Token end_;
  std::string lastFile_;
  int lastLine_ = 0;
  size_t expandedTokens_ = 0;  // by the current expansion tree
  size_t scriptTokens_ = 0;    // by the whole script
  size_t bytesRead_ = 0;       // of the script and its includes
  // Outermost first; held, so that a link looked at is never another one
  // made later at the same address.
  std::vector<std::shared_ptr<const MacroChain>> open_;
  std::map<std::string, size_t> openCount_;  // macros on open_
};

// Expression over tokens: C operators on 64-bit integers (unary + - ~ !,
// * / %, + -, << >>, comparisons, & ^ |, && ||, parentheses). Prefix
// operators and parentheses nest at most kMaxNesting deep, so that a hostile
// line fails with its line number instead of exhausting the stack.
class ScriptExpression {
 public:
  static constexpr int kMaxNesting = 256;

  // Supplies tokens; Peek must return an End token when there are no more.
  struct Source {
    virtual ~Source() = default;
    virtual const Token& Peek() = 0;
    virtual Token Next() = 0;
    [[noreturn]] virtual void Fail(const Token& at, const std::string& message) = 0;
  };

  explicit ScriptExpression(Source& source) : src_(source) {}
  int64_t Evaluate();
  // A number token with an L suffix took part.
  bool SawLong() const { return sawLong_; }

 private:
  int64_t Binary(int minLevel);
  int64_t Unary();
  // A prefix operator's or an opening parenthesis's operand.
  int64_t Nested(const Token& t);
  Source& src_;
  bool sawLong_ = false;
  int depth_ = 0;
};
