#include "wizard/frame/engine/ValueEntry.h"

#include <cmath>

#include "wizard/frame/engine/NumberText.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

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
  const double read = ParseDouble(number.c_str());
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

bool BreaksStoredTexts(std::string_view text) { return text.find_first_of("|;=\r\n") != std::string_view::npos; }
