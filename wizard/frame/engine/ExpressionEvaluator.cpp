#include "wizard/frame/engine/ExpressionEvaluator.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "common/CLocaleNumber.h"

namespace {

// Longest number or name text; also the longest definition name.
constexpr size_t kTextLimit = 64;
constexpr double kPi = 3.141592653589793;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool BracketsBalance(std::string_view text) {
  int level = 0;
  for (char c : text) {
    if (c == '(') {
      ++level;
    } else if (c == ')' && --level < 0) {
      return false;
    }
  }
  return level == 0;
}

// The number being read: its characters, or an intermediate value whose
// "%.16f" text is written out only when further digits join it. Whole
// values below 1e15 read back exactly from that text, so they skip it.
class NumberBeingRead {
 public:
  void Clear() {
    length_ = 0;
    deferred_ = false;
    known_ = false;
  }

  // A digit or '.'; false when the text already holds 64 characters.
  bool Append(char c) {
    if (deferred_) WriteOut();
    if (length_ == kTextLimit) return false;
    text_[length_++] = c;
    known_ = false;
    return true;
  }

  // An intermediate replaces the number; false when its "%.16f" text would
  // pass 64 characters.
  bool SetValue(double v) {
    if (v == std::trunc(v) && std::fabs(v) < 1e15) {
      value_ = v;
      deferred_ = known_ = true;
      length_ = 0;
      return true;
    }
    length_ = FormatFixed(v, 16, text_, kTextLimit);
    if (length_ == 0) return false;
    deferred_ = false;
    value_ = ReadNumber({text_, length_});
    known_ = true;
    return true;
  }

  double Value() const { return known_ ? value_ : ReadNumber({text_, length_}); }

 private:
  void WriteOut() {
    length_ = FormatFixed(value_, 16, text_, kTextLimit);
    deferred_ = false;
  }

  char text_[kTextLimit];
  size_t length_ = 0;
  bool deferred_ = false;  // value_ stands for a text not yet written
  bool known_ = false;     // value_ is the value of the text
  double value_ = 0.0;
};

int ApplyFunction(std::string_view name, double& v) {
  if (name == "sin") {
    v = std::sin(v);
  } else if (name == "cos") {
    v = std::cos(v);
  } else if (name == "tan") {
    v = std::tan(v);
  } else if (name == "asin" || name == "acos") {
    if (v < -1.0 || v > 1.0) return EVAL_DOMAIN;
    v = name == "asin" ? std::asin(v) : std::acos(v);
  } else if (name == "atan") {
    v = std::atan(v);
  } else if (name == "ln" || name == "log") {
    if (!(v > 0.0)) return EVAL_DOMAIN;
    v = name == "ln" ? std::log(v) : std::log10(v);
  } else if (name == "abs") {
    v = std::fabs(v);
  } else if (name == "exp") {
    v = std::exp(v);
  } else if (name == "sqrt") {
    if (v < 0.0) return EVAL_DOMAIN;
    v = std::sqrt(v);
  } else if (name == "pi") {
    v = kPi;  // the argument is evaluated and ignored
  } else {
    return EVAL_NOT_A_FUNCTION;
  }
  // exp(710) and the like: no number a drawing or a text can take.
  return std::isfinite(v) ? EVAL_OK : EVAL_DOMAIN;
}

class Evaluator {
 public:
  explicit Evaluator(std::string_view definitions) : definitions_(definitions) {}

  // One level from pos: up to the ')' or ';' that ends it (pos is left on
  // it) or the end of the text (pos = its size).
  int Level(std::string_view text, size_t& pos, int depth, double& value);

  // The name that EVAL_UNDEFINED reports.
  const std::string& UndefinedName() const { return undefined_; }

 private:
  enum class State { nothing, number, name };

  // The value text of the definition, with its ';'.
  int FindDefinition(std::string_view name, std::string_view& value) const;
  int Variable(std::string_view name, int depth, double& value);

  std::string_view definitions_;
  std::string undefined_;
};

int Evaluator::Level(std::string_view text, size_t& pos, int depth, double& value) {
  if (depth < 0) return EVAL_DEPTH_EXHAUSTED;
  double accumulator = 0.0;
  char pending = '+';
  State state = State::nothing;
  NumberBeingRead number;
  char name[kTextLimit];
  size_t nameLength = 0;

  // An operand ends: a name is a variable; a number meets the pending
  // operator. Another operator with no operand between simply replaces it.
  auto endOperand = [&]() -> int {
    if (state == State::name) {
      double v = 0.0;
      if (int e = Variable({name, nameLength}, depth, v)) return e;
      if (!number.SetValue(v)) return EVAL_NUMBER_TOO_LONG;
      state = State::number;
    }
    if (state == State::number) {
      const double x = number.Value();
      switch (pending) {
        case '+': accumulator += x; break;
        case '-': accumulator -= x; break;
        case '*': accumulator *= x; break;
        case '/':
          if (x == 0.0) return EVAL_DIVISION_BY_ZERO;
          accumulator /= x;
          break;
        default: return EVAL_NOT_A_FUNCTION;
      }
      if (!std::isfinite(accumulator)) return EVAL_DOMAIN;
      number.Clear();
    }
    state = State::nothing;
    return EVAL_OK;
  };

  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (IsDigit(c) || c == '.') {
      if (state == State::name) {
        if (nameLength == kTextLimit) return EVAL_NAME_TOO_LONG;
        name[nameLength++] = c;
      } else {
        state = State::number;
        if (!number.Append(c)) return EVAL_NUMBER_TOO_LONG;
      }
    } else if (IsLetter(c)) {
      if (state == State::number) {
        // Any other letter after a number is passed over; digits after it
        // continue the same number.
        if (c == 'D' || c == 'd') {
          if (!number.SetValue(number.Value() * 180.0 / kPi)) return EVAL_NUMBER_TOO_LONG;
        } else if (c == 'R' || c == 'r') {
          if (!number.SetValue(number.Value() * kPi / 180.0)) return EVAL_NUMBER_TOO_LONG;
        }
      } else if (state == State::name) {
        if (nameLength == kTextLimit) return EVAL_NUMBER_TOO_LONG;
        name[nameLength++] = c;
      } else {
        name[0] = c;
        nameLength = 1;
        state = State::name;
      }
    } else if (c == '(') {
      size_t inner = pos + 1;
      double v = 0.0;
      if (int e = Level(text, inner, depth - 1, v)) return e;
      if (state == State::name) {
        if (int e = ApplyFunction({name, nameLength}, v)) return e;
      }
      if (!number.SetValue(v)) return EVAL_NUMBER_TOO_LONG;
      state = State::number;
      pos = inner < text.size() ? inner : text.size() - 1;  // go on after what ended it
    } else if (c == '+' || c == '-' || c == '*' || c == '/') {
      if (int e = endOperand()) return e;
      pending = c;
    } else if (c == ')' || c == ';') {
      if (int e = endOperand()) return e;
      value = accumulator;
      return EVAL_OK;
    }
    // Blanks, tabs, '_', '^', ',' and every other character are passed over.
  }
  // The end of the text ends the level without ending the pending operand.
  value = accumulator;
  return EVAL_OK;
}

int Evaluator::FindDefinition(std::string_view name, std::string_view& value) const {
  size_t start = 0;
  for (;;) {
    const size_t equals = definitions_.find('=', start);
    if (equals == std::string_view::npos) return EVAL_UNDEFINED;
    if (equals - start > kTextLimit) return EVAL_NAME_TOO_LONG;
    const size_t end = definitions_.find(';', equals + 1);
    // Without its ';' an entry neither gives a value nor shows where the
    // next one starts.
    if (end == std::string_view::npos) return EVAL_NO_SEMICOLON;
    if (definitions_.substr(start, equals - start) == name) {
      value = definitions_.substr(equals + 1, end - equals);
      return EVAL_OK;
    }
    start = end + 1;
  }
}

// A value is evaluated afresh at every use, as a top-level expression one
// level deeper. The definitions text was normalised as a whole, and a
// balanced entry normalises alone exactly as it did there, so only its
// brackets need checking again.
int Evaluator::Variable(std::string_view name, int depth, double& value) {
  std::string_view text;
  if (int e = FindDefinition(name, text)) {
    if (e == EVAL_UNDEFINED) undefined_.assign(name);
    return e;
  }
  if (depth - 1 < 0) return EVAL_DEPTH_EXHAUSTED;
  if (!BracketsBalance(text)) return EVAL_BRACKETS;
  size_t pos = 0;
  return Level(text, pos, depth - 1, value);
}

}  // namespace

int NormalizeExpression(std::string& text) {
  if (text.find_first_of(" \n\r") != std::string::npos) {
    text.erase(std::remove_if(text.begin(), text.end(),
                              [](char c) { return c == ' ' || c == '\n' || c == '\r'; }),
               text.end());
  }
  if (!BracketsBalance(text)) return EVAL_BRACKETS;

  // The length is read again at every step: insertions lengthen the text.
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '*' && text[i] != '/') continue;
    // The term's start: a '+' or '-' of this level. An earlier '*' or '/',
    // a ';', the level's '(' or the start of the text leave nothing to do.
    size_t start = std::string::npos;
    int level = 0;
    for (size_t k = i; k-- > 0;) {
      const char c = text[k];
      if (c == ')') {
        ++level;
      } else if (c == '(') {
        if (--level < 0) break;
      } else if (level == 0) {
        if (c == '*' || c == '/' || c == ';') break;
        if (c == '+' || c == '-') {
          start = k;
          break;
        }
      }
    }
    if (start == std::string::npos) continue;
    // The term's end: a '+', '-' or ';' of this level, or the level's ')'.
    size_t end = std::string::npos;
    level = 0;
    for (size_t k = i + 1; k < text.size(); ++k) {
      const char c = text[k];
      if (c == '(') {
        ++level;
      } else if (c == ')') {
        if (--level < 0) {
          end = k;
          break;
        }
      } else if (level == 0 && (c == '+' || c == '-' || c == ';')) {
        end = k;
        break;
      }
    }
    if (end == std::string::npos) continue;
    text.insert(end, 1, ')');
    text.insert(start + 1, 1, '(');
    // The operator now stands at i + 1 and meets the new '(' at once.
  }
  return EVAL_OK;
}

int EvaluateExpression(std::string& definitions, std::string& expression, std::string& output,
                       double& result, int depth) {
  result = 0.0;
  int error = depth < 0 ? EVAL_DEPTH_EXHAUSTED : NormalizeExpression(expression);
  if (!error) error = NormalizeExpression(definitions);
  double value = 0.0;
  if (!error) {
    Evaluator evaluator(definitions);
    size_t pos = 0;
    error = evaluator.Level(expression, pos, depth, value);
    if (error == EVAL_UNDEFINED) {
      output = evaluator.UndefinedName();
      return error;
    }
  }
  if (error) {
    output.clear();
    return error;
  }
  result = value;
  output = FormatFixed(value, 2);
  return EVAL_OK;
}
