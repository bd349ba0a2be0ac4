#include "common/ComboInputFilter.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The characters of text a box of inputType lets through, as typed.
std::string Typed(uint32_t inputType, const std::string& text) {
  std::string out;
  for (char c : text) {
    unsigned ch = 0;
    if (FilterComboChar(inputType, static_cast<unsigned char>(c), &ch)) out += static_cast<char>(ch);
  }
  return out;
}

}  // namespace

TEST(ComboInputFilter, DecimalTypesTurnACommaIntoAPointWhereDigitsOnlyRefuseIt) {
  unsigned ch = 0;
  EXPECT_TRUE(FilterComboChar(ComboInput::kUnsignedDecimal, ',', &ch));
  EXPECT_EQ(ch, unsigned('.'));
  EXPECT_TRUE(FilterComboChar(ComboInput::kSignedDecimal, ',', &ch));
  EXPECT_EQ(ch, unsigned('.'));
  EXPECT_FALSE(FilterComboChar(ComboInput::kDigits, ',', &ch));
  EXPECT_FALSE(FilterComboChar(ComboInput::kSignedInteger, ',', &ch));
}

TEST(ComboInputFilter, EachTypeKeepsItsOwnCharacters) {
  const std::string sample = "-12,5.7e+X";
  EXPECT_EQ(Typed(ComboInput::kAny, sample), sample);
  EXPECT_EQ(Typed(ComboInput::kDigits, sample), "1257");
  EXPECT_EQ(Typed(ComboInput::kUnsignedDecimal, sample), "12.5.7");
  EXPECT_EQ(Typed(ComboInput::kSignedInteger, sample), "-1257");
  EXPECT_EQ(Typed(ComboInput::kSignedDecimal, sample), "-12.5.7");
  EXPECT_EQ(Typed(ComboInput::kLetters, sample), "eX");
  EXPECT_EQ(Typed(42, sample), sample) << "an unknown type takes anything";
}

TEST(ComboInputFilter, FileNamesRefuseExactlyTheTwelveReservedCharacters) {
  const std::string reserved = "<>/\\\":?*|,='";
  ASSERT_EQ(reserved.size(), 12u);
  EXPECT_EQ(Typed(ComboInput::kFileName, reserved), "");
  std::string others;
  for (int c = 1; c < 256; ++c)
    if (reserved.find(static_cast<char>(c)) == std::string::npos) others += static_cast<char>(c);
  EXPECT_EQ(Typed(ComboInput::kFileName, others), others) << "spaces, dots and accented letters included";
}

TEST(ComboInputFilter, CharactersAboveAsciiAreNeitherLettersNorDigits) {
  // "Čeština" in code page 1250: the accented letters are refused.
  EXPECT_EQ(Typed(ComboInput::kLetters, "\xC8" "e\x9Atina"), "etina");
  unsigned ch = 0;
  EXPECT_FALSE(FilterComboChar(ComboInput::kLetters, 0xE8, &ch)) << "c with caron";
  for (unsigned c = 128; c < 256; ++c) {
    EXPECT_FALSE(FilterComboChar(ComboInput::kDigits, c, &ch)) << c;
    EXPECT_FALSE(FilterComboChar(ComboInput::kLetters, c, &ch)) << c;
  }
}

TEST(ComboInputFilter, BackspaceAlwaysPasses) {
  for (uint32_t type = 0; type <= 6; ++type) {
    unsigned ch = 0;
    EXPECT_TRUE(FilterComboChar(type, 8, &ch)) << type;
    EXPECT_EQ(ch, 8u);
  }
}

TEST(ComboInputFilter, TheLengthLimitHoldsOnlyForAFullEditFieldWithoutSelection) {
  EXPECT_TRUE(ComboTypingOverLimit(true, 3, 3, 'a', 3, 3));
  EXPECT_TRUE(ComboTypingOverLimit(true, 3, 5, 'a', 0, 0)) << "already longer";
  EXPECT_FALSE(ComboTypingOverLimit(true, 3, 2, 'a', 2, 2)) << "room left";
  EXPECT_FALSE(ComboTypingOverLimit(true, 3, 3, 8, 3, 3)) << "backspace";
  EXPECT_FALSE(ComboTypingOverLimit(true, 3, 3, 'a', 0, 3)) << "the selection is replaced";
  EXPECT_FALSE(ComboTypingOverLimit(true, -1, 500, 'a', 500, 500)) << "no limit";
  EXPECT_FALSE(ComboTypingOverLimit(false, 3, 3, 'a', 3, 3)) << "no edit field";
}
