// What a filtered edit box (CEditNew) lets the user type: the character
// rule of each input kind, as a plain function.
#pragma once

#include <cstdint>
#include <string_view>

// Input kinds of CEditNew.
namespace EditInput {
constexpr uint32_t kAny = 0;             // also every kind above 9
constexpr uint32_t kDigits = 1;
constexpr uint32_t kUnsignedDecimal = 2;  // ',' typed as '.', one '.'
constexpr uint32_t kSignedInteger = 3;
constexpr uint32_t kSignedDecimal = 4;    // ',' typed as '.', one '.'
constexpr uint32_t kHex = 5;
constexpr uint32_t kDigitsAndU = 6;
constexpr uint32_t kLetters = 7;
constexpr uint32_t kFileName = 8;
constexpr uint32_t kIdentifier = 9;       // letters, digits and '-'
}  // namespace EditInput

// Whether a box of the kind takes the typed character ch (the low byte of
// the key's character) into text, whose selection is [selStart, selEnd);
// *out is the character that goes in (',' becomes '.' in the decimal
// kinds). Backspace always passes; bytes above 127 pass only in kinds 0, 8
// and above 9. The decimal kinds refuse a '.' whenever the text outside the
// selection already holds one, so the text never gets two.
bool FilterEditChar(uint32_t kind, unsigned ch, std::string_view text, int selStart, int selEnd, unsigned* out);
