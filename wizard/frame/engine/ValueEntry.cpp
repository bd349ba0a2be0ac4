#include "wizard/frame/engine/ValueEntry.h"

#include <charconv>
#include <cmath>

#include "common/CLocaleNumber.h"
#include "common/ValueRules.h"
#include "wizard/frame/engine/ExpressionEvaluator.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The longest number text the evaluator reads.
constexpr size_t kEvaluatorNumber = 64;

bool IsPlainDecimal(std::string_view text) {
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
  bool digit = false, point = false;
  for (char c : text) {
    if (IsDigit(c)) {
      digit = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digit;
}

}  // namespace

bool ReadValueEntry(std::string_view text, double& value) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  std::string number(text);
  size_t at = 0;
  if (at < number.size() && (number[at] == '+' || number[at] == '-')) ++at;
  size_t digits = 0;
  bool separator = false;
  for (; at < number.size(); ++at) {
    char& c = number[at];
    if (IsDigit(c)) {
      ++digits;
    } else if ((c == '.' || c == ',') && !separator) {
      separator = true;
      c = '.';
    } else {
      break;
    }
  }
  if (digits == 0) return false;
  if (at < number.size() && (number[at] == 'e' || number[at] == 'E')) {
    ++at;
    if (at < number.size() && (number[at] == '+' || number[at] == '-')) ++at;
    const size_t first = at;
    while (at < number.size() && IsDigit(number[at])) ++at;
    if (at == first) return false;
  }
  if (at != number.size()) return false;
  const double read = AtofC(number.c_str());
  if (!std::isfinite(read)) return false;
  value = read;
  return true;
}

std::string StoredValueEntry(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  std::string stored(text);
  for (char& c : stored)
    if (c == ',') c = '.';
  return stored;
}

std::string PlainDecimalEntry(std::string_view text, double value) {
  std::string plain;
  if (IsPlainDecimal(text)) {
    plain.assign(text);
  } else {
    char buffer[512];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (written.ec == std::errc()) plain.assign(buffer, written.ptr);
  }
  return plain.size() <= kEvaluatorNumber ? plain : std::string();
}

bool IsUsableSlopeText(const char* slope) {
  if (!slope || !*slope) return true;
  // Labels show the slope as typed, often with its unit: "2 %", "5\x89".
  std::string_view text(slope);
  const size_t last = text.find_last_not_of(" \t");
  if (last != std::string_view::npos && (text[last] == '%' || text[last] == '\x89')) text = text.substr(0, last);
  double value = 0;
  return ReadValueEntry(text, value) && IsUsableSlope(value);
}

bool BreaksStoredTexts(std::string_view text) { return text.find_first_of("|;=\r\n") != std::string_view::npos; }

bool TakesDefinitionText(std::string_view text) {
  std::string copy(text);
  return !BreaksStoredTexts(text) && NormalizeExpression(copy) != EVAL_BRACKETS;
}
