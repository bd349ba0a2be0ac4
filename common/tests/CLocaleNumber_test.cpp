#include "common/CLocaleNumber.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

// The evaluator's results depend on the C library's "%.*f" and atof to the
// last digit; the faster conversions must give the same texts and values.
TEST(CLocaleNumber, WritesAndReadsAsTheCLibrary) {
  std::vector<double> values = {0.0,    -0.0,   12.5,   2.5,    0.125,  0.375, 1.0 / 3, 1e15,
                                -1e46,  1e-17,  5e-17,  4.9e-17, 7.62939453125e-06,
                                INFINITY, -INFINITY, NAN};
  // Exact ties at the 2nd and 16th decimal (m / 2^k) and random bit patterns.
  for (int k = 3; k <= 20; ++k)
    for (int m = -50; m <= 50; m += 7) values.push_back(std::ldexp(m, -k));
  std::mt19937_64 random(16);
  while (values.size() < 20000) {
    const uint64_t bits = random();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    if (std::isfinite(v) && std::fabs(v) < 1e60) values.push_back(v);
  }
  for (double v : values) {
    for (int decimals : {0, 2, 16}) {
      char expected[512];
      std::snprintf(expected, sizeof expected, "%.*f", decimals, v);
      const std::string text = FormatFixed(v, decimals);
      ASSERT_EQ(text, expected) << "value " << v << " decimals " << decimals;
      const double back = ReadNumber(text);
      const double viaAtof = std::atof(expected);
      ASSERT_EQ(std::memcmp(&back, &viaAtof, sizeof back), 0) << text;
    }
  }
  char small[8];
  EXPECT_EQ(FormatFixed(12345.0, 2, small, sizeof small), 8u);
  EXPECT_EQ(FormatFixed(123456.0, 2, small, sizeof small), 0u);  // does not fit
  for (const char* text : {"", ".", "1.", ".5", "3.5.2", "007", "1" "00000000000000000000000000000000"}) {
    EXPECT_EQ(ReadNumber(text), std::atof(text)) << text;
  }
  EXPECT_EQ(ReadNumber(std::string(400, '9')), std::atof(std::string(400, '9').c_str()));
}

// The readers of outside texts, in a comma locale, which must change nothing:
// where reading stops, blanks, signs, overflow, inf and nan, a null text.
TEST(CLocaleNumber, ReadsAsTheCLocaleDoes) {
  struct Case {
    const char* text;
    double real;      // StrtodC and AtofC
    int used;         // characters StrtodC read
    int whole;        // AtoiC
    bool readsWhole;  // ReadsAsNumber
  };
  const Case cases[] = {
      {"12.5", 12.5, 4, 12, true},         {"  -3.25e2xy", -325, 9, -3, false}, {"1,5", 1, 1, 1, false},
      {"abc", 0, 0, 0, false},             {"", 0, 0, 0, false},                {" .5 \r\n", 0.5, 3, 0, true},
      {"+7\t", 7, 2, 7, true},             {"0x10", 16, 4, 0, true},            {"1e999", INFINITY, 5, 1, true},
      {"-inf", -INFINITY, 4, 0, true},     {"99999999999", 99999999999.0, 11, INT_MAX, true},
      {"-99999999999", -99999999999.0, 12, INT_MIN, true}, {"-", 0, 0, 0, false},
  };
  ASSERT_NE(std::setlocale(LC_NUMERIC, "cs_CZ.UTF-8"), nullptr) << "run scripts/install-deps";
  ASSERT_STREQ(std::localeconv()->decimal_point, ",");
  for (const Case& c : cases) {
    const char* end = nullptr;
    EXPECT_EQ(StrtodC(c.text, &end), c.real) << '"' << c.text << '"';
    EXPECT_EQ(end - c.text, c.used) << '"' << c.text << '"';
    bool isNumber = c.used == 0;
    EXPECT_EQ(AtofC(c.text, &isNumber), c.real) << '"' << c.text << '"';
    EXPECT_EQ(isNumber, c.used != 0) << '"' << c.text << '"';
    EXPECT_EQ(AtoiC(c.text), c.whole) << '"' << c.text << '"';
    EXPECT_EQ(ReadsAsNumber(c.text), c.readsWhole) << '"' << c.text << '"';
  }
  EXPECT_TRUE(std::isnan(AtofC("nan")));
  const char* end = nullptr;
  EXPECT_EQ(StrtoiC("  42;7", &end), 42);
  EXPECT_STREQ(end, ";7");
  bool isNumber = true;
  EXPECT_EQ(AtofC(nullptr, &isNumber), 0.0);
  EXPECT_FALSE(isNumber);
  EXPECT_EQ(StrtodC(nullptr, &end), 0.0);
  EXPECT_EQ(end, nullptr);
  EXPECT_EQ(AtoiC(nullptr), 0);
  EXPECT_FALSE(ReadsAsNumber(nullptr));
  std::setlocale(LC_NUMERIC, "C");
}

// Texts mostly of digits, with signs, points, exponents, 'x' and blanks
// among them: what the readers give back is strtod's and strtoll's.
TEST(CLocaleNumber, ReadsRandomTextsAsTheCLibrary) {
  const char kLetters[] = "0123456789012345678901234567890123456789-.-.e x+a";
  std::mt19937 random(7);
  for (int i = 0; i < 50000; ++i) {
    std::string text(random() % 48, '0');
    for (char& c : text) c = kLetters[random() % (sizeof kLetters - 1)];
    char* cEnd = nullptr;
    const double expected = std::strtod(text.c_str(), &cEnd);
    const char* end = nullptr;
    const double real = StrtodC(text.c_str(), &end);
    ASSERT_TRUE(std::memcmp(&real, &expected, sizeof real) == 0 && end == cEnd) << '"' << text << '"';
    const long long whole = std::strtoll(text.c_str(), &cEnd, 10);
    ASSERT_EQ(StrtoiC(text.c_str(), &end), whole < INT_MIN ? INT_MIN : whole > INT_MAX ? INT_MAX : whole) << text;
    ASSERT_EQ(end, cEnd) << '"' << text << '"';
  }
}

}  // namespace
