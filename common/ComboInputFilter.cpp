#include "common/ComboInputFilter.h"

#include <cstring>

namespace {

constexpr unsigned kBackspace = 8;

bool IsDigit(unsigned ch) { return ch >= '0' && ch <= '9'; }
bool IsLetter(unsigned ch) { return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z'); }

// The characters a file name cannot hold.
bool IsFileNameCharacter(unsigned ch) {
  static constexpr char kRefused[] = "<>/\\\":?*|,='";
  return ch == 0 || ch > 127 || std::strchr(kRefused, static_cast<int>(ch)) == nullptr;
}

}  // namespace

bool FilterComboChar(uint32_t inputType, unsigned ch, unsigned* out) {
  *out = ch;
  if (ch == kBackspace) return true;
  switch (inputType) {
    case ComboInput::kDigits: return IsDigit(ch);
    case ComboInput::kUnsignedDecimal:
      if (ch == ',') *out = ch = '.';
      return IsDigit(ch) || ch == '.';
    case ComboInput::kSignedInteger: return IsDigit(ch) || ch == '-';
    case ComboInput::kSignedDecimal:
      if (ch == ',') *out = ch = '.';
      return IsDigit(ch) || ch == '.' || ch == '-';
    case ComboInput::kFileName: return IsFileNameCharacter(ch);
    case ComboInput::kLetters: return IsLetter(ch);
    default: return true;
  }
}

bool ComboTypingOverLimit(bool dropDown, int32_t lengthLimit, int textLength, unsigned ch, int selectionStart,
                          int selectionEnd) {
  return dropDown && lengthLimit != -1 && textLength >= lengthLimit && ch != kBackspace &&
         selectionStart == selectionEnd;
}
