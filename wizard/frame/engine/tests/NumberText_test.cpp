#include "wizard/frame/engine/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace {

// The evaluator's results depend on the C library's "%.*f" and atof to the
// last digit; the faster conversions must give the same texts and values.
TEST(NumberText, SameAsTheCLibrary) {
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

}  // namespace
