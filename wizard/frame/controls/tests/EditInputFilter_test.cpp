// The filtered edit box's character rule, kind by kind, and the one-point
// rule of the decimal kinds wherever the selection lies.
#include "wizard/frame/controls/EditInputFilter.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The text a box of the kind holds after the keys, typed at the end; the
// number of refused keys in *refused.
std::string TypeKeys(uint32_t kind, const std::string& keys, int* refused) {
  std::string text;
  *refused = 0;
  for (char key : keys) {
    const unsigned ch = static_cast<unsigned char>(key);
    unsigned out = 0;
    const int end = static_cast<int>(text.size());
    if (!FilterEditChar(kind, ch, text, end, end, &out)) {
      ++*refused;
    } else if (ch == 8) {
      if (!text.empty()) text.pop_back();
    } else {
      text += static_cast<char>(out);
    }
  }
  return text;
}

}  // namespace

TEST(EditInputFilter, EveryKindKeepsItsCharacters) {
  struct Case {
    uint32_t kind;
    const char* keys;
    const char* text;
    int refused;
  };
  const Case cases[] = {
      {EditInput::kAny, "a:-,9", "a:-,9", 0},
      {EditInput::kDigits, "1a2\b3", "13", 1},                   // a letter refused, backspace works
      {EditInput::kUnsignedDecimal, "-1,5", "1.5", 1},
      {EditInput::kSignedInteger, "-1,5", "-15", 1},
      {EditInput::kSignedDecimal, "-1,5", "-1.5", 0},
      {EditInput::kSignedDecimal, "-1,5.2", "-1.52", 1},        // a second point beeps
      {EditInput::kHex, "0aFgG9", "0aF9", 2},
      {EditInput::kDigitsAndU, "12uUx", "12uU", 1},
      {EditInput::kLetters, "ab1-Z", "abZ", 2},
      {EditInput::kFileName, "a:b", "ab", 1},
      {EditInput::kFileName, "<>/\\\":?*,=|'.x", ".x", 12},
      {EditInput::kIdentifier, "Ab-9_ ", "Ab-9", 2},
      {10, "any:thing", "any:thing", 0},                         // above 9: no filter
  };
  for (const Case& c : cases) {
    int refused = 0;
    EXPECT_EQ(TypeKeys(c.kind, c.keys, &refused), c.text) << "kind " << c.kind << " keys " << c.keys;
    EXPECT_EQ(refused, c.refused) << "kind " << c.kind << " keys " << c.keys;
  }
}

TEST(EditInputFilter, ALetterAbove127PassesOnlyWithoutFilterAndInFileNames) {
  const unsigned letter = 0xE1;  // a with acute, code page 1250
  for (uint32_t kind = 0; kind <= 10; ++kind) {
    unsigned out = 0;
    const bool expected = kind == EditInput::kAny || kind == EditInput::kFileName || kind == 10;
    EXPECT_EQ(FilterEditChar(kind, letter, "", 0, 0, &out), expected) << "kind " << kind;
  }
}

TEST(EditInputFilter, TheDecimalKindsNeverLeaveTwoPoints) {
  struct Case {
    const char* text;
    int start, end;
    bool accepted;
  };
  // A point typed (or a comma, turned into one) over the selection.
  const Case cases[] = {
      {"1.5", 3, 3, false},  // at the end
      {"1.5", 0, 0, false},  // the caret at the very start
      {"1.5", 0, 2, true},   // the selection takes the point away
      {"1.5", 0, 3, true},   // all selected
      {"1.5", 1, 2, true},   // just the point selected
      {"1.5", 0, 1, false},  // selected from the start, the point stays
      {"1.25", 2, 4, false},
      {"15", 1, 1, true},
  };
  for (uint32_t kind : {EditInput::kUnsignedDecimal, EditInput::kSignedDecimal}) {
    for (const Case& c : cases) {
      for (unsigned key : {unsigned('.'), unsigned(',')}) {
        unsigned out = 0;
        EXPECT_EQ(FilterEditChar(kind, key, c.text, c.start, c.end, &out), c.accepted)
            << "kind " << kind << " text " << c.text << " selection " << c.start << "-" << c.end;
        if (c.accepted) {
          EXPECT_EQ(out, unsigned('.'));
        }
      }
    }
  }
}
