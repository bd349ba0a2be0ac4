// What a combo box with history lets the user type: the character rule of
// each input type and the length limit. Plain functions, so the rules can
// be checked without a window.
#pragma once

#include <cstdint>

// Input types of CComboBoxNew.
namespace ComboInput {
constexpr uint32_t kAny = 0;
constexpr uint32_t kDigits = 1;
constexpr uint32_t kUnsignedDecimal = 2;
constexpr uint32_t kSignedInteger = 3;
constexpr uint32_t kSignedDecimal = 4;
constexpr uint32_t kFileName = 5;
constexpr uint32_t kLetters = 6;
}  // namespace ComboInput

// The character a typed ch becomes in a box of inputType, written to *out;
// false when the box refuses it (the caller beeps and swallows it).
// Backspace (8) always passes; the decimal types turn ',' into '.'.
// Characters above 127 are neither digits nor letters. An unknown input
// type takes any character.
bool FilterComboChar(uint32_t inputType, unsigned ch, unsigned* out);

// Whether typing ch would pass the length limit: only a box with an edit
// field (dropDown) and a limit (not -1) refuses, when its text is already
// as long as the limit, the character is not backspace and nothing is
// selected (a selection would be replaced).
bool ComboTypingOverLimit(bool dropDown, int32_t lengthLimit, int textLength, unsigned ch, int selectionStart,
                          int selectionEnd);
