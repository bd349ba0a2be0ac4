#include "wizard/frame/controls/EditInputFilter.h"

#include <algorithm>

#include "common/ComboInputFilter.h"

namespace {

bool IsDigit(unsigned ch) { return ch >= '0' && ch <= '9'; }
bool IsLetter(unsigned ch) { return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z'); }

// The text that stays when the selection is replaced holds a '.'.
bool KeepsPoint(std::string_view text, int selStart, int selEnd) {
  const int size = static_cast<int>(text.size());
  const int start = std::clamp(std::min(selStart, selEnd), 0, size);
  const int end = std::clamp(std::max(selStart, selEnd), 0, size);
  return text.substr(0, static_cast<size_t>(start)).find('.') != std::string_view::npos ||
         text.substr(static_cast<size_t>(end)).find('.') != std::string_view::npos;
}

}  // namespace

bool FilterEditChar(uint32_t kind, unsigned ch, std::string_view text, int selStart, int selEnd, unsigned* out) {
  *out = ch;
  // The kinds the combo box with history has too take its rules: the
  // comma, backspace and bytes above 127 alike.
  switch (kind) {
    case EditInput::kDigits: return FilterComboChar(ComboInput::kDigits, ch, out);
    case EditInput::kSignedInteger: return FilterComboChar(ComboInput::kSignedInteger, ch, out);
    case EditInput::kLetters: return FilterComboChar(ComboInput::kLetters, ch, out);
    case EditInput::kFileName: return FilterComboChar(ComboInput::kFileName, ch, out);
    case EditInput::kUnsignedDecimal:
    case EditInput::kSignedDecimal: {
      const uint32_t type = kind == EditInput::kSignedDecimal ? ComboInput::kSignedDecimal : ComboInput::kUnsignedDecimal;
      if (!FilterComboChar(type, ch, out)) return false;
      return *out != '.' || !KeepsPoint(text, selStart, selEnd);
    }
    default: break;
  }
  if (ch == 8) return true;
  switch (kind) {
    case EditInput::kHex: return IsDigit(ch) || (ch >= 'a' && ch <= 'f') || (ch >= 'A' && ch <= 'F');
    case EditInput::kDigitsAndU: return IsDigit(ch) || ch == 'U' || ch == 'u';
    case EditInput::kIdentifier: return IsDigit(ch) || IsLetter(ch) || ch == '-';
    default: return true;  // kAny and every kind above 9
  }
}
