// Typed values: numbers only when the whole text is one, whatever locale
// the process runs in, and the texts that would split a stored record.
#include "wizard/frame/engine/ValueEntry.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <optional>

TEST(ValueEntry, AWholeTextIsANumberOrNothing) {
  struct Case {
    const char* text;
    std::optional<double> value;
  };
  const Case cases[] = {
      {"1500", 1500},      {" 1500.5 ", 1500.5}, {"0,6", 0.6},     {"-0,25", -0.25}, {"+3", 3},
      {".5", 0.5},         {"5.", 5},            {"1e3", 1000},    {"1,5E-3", 0.0015}, {"\t7\t", 7},
      {"", std::nullopt},  {"  ", std::nullopt}, {"abc", std::nullopt}, {"12abc", std::nullopt},
      {"1.5.2", std::nullopt}, {"1,5,2", std::nullopt}, {"1 000", std::nullopt}, {"0x10", std::nullopt},
      {"inf", std::nullopt}, {"nan", std::nullopt}, {"1e", std::nullopt}, {"1e+", std::nullopt},
      {"1e999", std::nullopt}, {"-", std::nullopt}, {".", std::nullopt}, {"1500\n", std::nullopt},
  };
  // A comma locale must not change a thing (scripts/install-deps makes it).
  ASSERT_NE(std::setlocale(LC_NUMERIC, "cs_CZ.UTF-8"), nullptr) << "run scripts/install-deps";
  ASSERT_STREQ(std::localeconv()->decimal_point, ",");
  for (const Case& c : cases) {
    double value = -42;
    EXPECT_EQ(ReadValueEntry(c.text, value), c.value.has_value()) << '"' << c.text << '"';
    EXPECT_EQ(value, c.value.value_or(-42)) << '"' << c.text << '"';
  }
  std::setlocale(LC_NUMERIC, "C");
}

TEST(ValueEntry, TheStoredTextsSeparatorsAreRefused) {
  for (const char* text : {"a|b", "a;b", "a=b", "a\rb", "a\nb", "|", ";"}) EXPECT_TRUE(BreaksStoredTexts(text)) << text;
  for (const char* text : {"", "VK 22", "A'/'B", "#L", "1,5", "\xE8\xE1st"}) EXPECT_FALSE(BreaksStoredTexts(text)) << text;
}
