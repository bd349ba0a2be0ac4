#include "wizard/frame/engine/ExpressionEvaluator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

struct Outcome {
  int code;
  double value;
  std::string text;
};

Outcome Evaluate(std::string definitions, std::string expression, int depth = kEvaluationDepth) {
  Outcome out{-1, -1.0, "untouched"};
  out.code = EvaluateExpression(definitions, expression, out.text, out.value, depth);
  return out;
}

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

// n nested brackets around 1.
std::string Nested(int n) { return Repeat("(", n) + "1" + Repeat(")", n) + ";"; }

// v1=v2;v2=v3;...;vn=1;
std::string Chain(int n) {
  std::string defs;
  for (int i = 1; i < n; ++i) defs += "v" + std::to_string(i) + "=v" + std::to_string(i + 1) + ";";
  return defs + "v" + std::to_string(n) + "=1;";
}

TEST(EvaluateExpression, TableOfFormulas) {
  struct Row {
    const char* expression;
    const char* definitions;
    int code;
    double value;
    const char* text;
  };
  const Row rows[] = {
      {"1 + 2 * 3 ;", "", 0, 7, "7.00"},
      {"( 1 + 2 ) * 3 ;", "", 0, 9, "9.00"},
      {"2 * ( 3 + 4 ) * 5 ;", "", 0, 70, "70.00"},
      {"10 - 2 * ( 1 + 1 ) * 2 ;", "", 0, 2, "2.00"},
      {"a + ( b * c ) * d ;", "a=1;b=2;c=3;d=4;", 0, 25, "25.00"},
      {"1 + 2 ;", "", 0, 3, "3.00"},
      {"1 + 2", "", 0, 1, "1.00"},  // no ';': the last operand is lost
      {"5", "", 0, 0, "0.00"},
      {"1 / 0 ;", "", 2, 0, ""},
      {"1 / ( 1 - 1 ) ;", "", 2, 0, ""},
      {"asin ( 2 ) ;", "", 3, 0, ""},
      {"log ( 0 ) ;", "", 3, 0, ""},
      {"sqrt ( - 1 ) ;", "", 3, 0, ""},
      {"sqrt ( 0 ) ;", "", 0, 0, "0.00"},
      {"( 1 + 2 ;", "", 4, 0, ""},
      {"1 + 2 ) ;", "", 4, 0, ""},
      {"1 ;", "a=(1;", 4, 0, ""},
      {"x + 1 ;", "x=2;", 0, 3, "3.00"},
      {"y + 1 ;", "x=2;", 8, 0, "y"},
      {"x ;", "x=y+1;", 8, 0, "y"},  // the innermost undefined name
      {"a ;", "a=b;b=a;", 1, 0, ""},
      {"foo ( 1 ) ;", "", 9, 0, ""},
      {"foo ( 1 / 0 ) ;", "", 2, 0, ""},  // the argument goes first
      {"x ( 2 ) ;", "x=2;", 9, 0, ""},
      {"A ;", "r=50;L=1000;H=L-100;A=2*r+L;", 0, 1100, "1100.00"},
      {"- 5 ;", "", 0, -5, "-5.00"},
      {"- ( 2 ) ;", "", 0, -2, "-2.00"},
      {"2 * - 3 ;", "", 0, -1, "-1.00"},
      {"a + b * - c ;", "a=10;b=2;c=3;", 0, 9, "9.00"},  // a + b - c
      {"2 ( 3 ) ;", "", 0, 3, "3.00"},
      {"2 x ;", "", 0, 2, "2.00"},
      {"1e3 ;", "", 0, 13, "13.00"},
      {"3.5.2 ;", "", 0, 3.5, "3.50"},
      {"A_1 ;", "A1=4;", 0, 4, "4.00"},
      {"2 ^ 3 ;", "", 0, 23, "23.00"},
      {"pi ( ) ;", "", 0, 3.141592653589793, "3.14"},
      {"pi ;", "", 8, 0, "pi"},
      {"pi ;", "pi=3;", 0, 3, "3.00"},
      {"abs ( - 2 ) ;", "", 0, 2, "2.00"},
      // Nothing that is not finite counts as a value, at any level.
      {"exp ( 710 ) ;", "", 3, 0, ""},
      {"exp ( 1000 ) - exp ( 1000 ) ;", "", 3, 0, ""},
      {"9999999999999999999999999999999999999999999999999999999999999999 * 9999999999999999999999999999999999999999999999999999999999999999 * 9999999999999999999999999999999999999999999999999999999999999999 * 9999999999999999999999999999999999999999999999999999999999999999 * 9999999999999999999999999999999999999999999999999999999999999999 ;", "", 3, 0, ""},
      {"x - 1 ;", "x=exp(710);", 3, 0, ""},
      {"sqrt ( exp ( 800 ) ) ;", "", 3, 0, ""},
      {"SIN ( 1 ) ;", "", 9, 0, ""},
      {"sin ( 30 R ) ;", "", 0, 0.4999999999999999, "0.50"},
      {"asin ( 0.5 ) D ;", "", 0, 30.000000000000004, "30.00"},
      {"cos(0)+tan(0)+atan(0)+acos(1)+ln(1)+log(100)+exp(0);", "", 0, 4, "4.00"},
      // Intermediates pass through "%.16f": what lies below 5e-17 is gone.
      {"sin ( pi ( ) ) * 10000000000000000 ;", "", 0, 1, "1.00"},
      {"( 0.00000000000000004 ) * 1000000000000000000 ;", "", 0, 0, "0.00"},
      {"0.00000000000000004 * 1000000000000000000 ;", "", 0, 40, "40.00"},
      // "%.2f" of an exact tie rounds to even.
      {"1 / 8 ;", "", 0, 0.125, "0.12"},
      {"3 / 8 ;", "", 0, 0.375, "0.38"},
      {" 1\t+\r\n2 *\n3 ;", "", 0, 7, "7.00"},
      {"a ;", "a=1", 5, 0, ""},
      {"b ;", "a=1;b=2", 5, 0, ""},
      {"h ;", "r = 50 ;\r\nh = r * 2 + 1 ;", 0, 101, "101.00"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.expression) + " with " + row.definitions);
    const Outcome out = Evaluate(row.definitions, row.expression);
    EXPECT_EQ(out.code, row.code);
    EXPECT_EQ(out.value, row.value);
    EXPECT_EQ(out.text, row.text);
  }
}

TEST(EvaluateExpression, NamesNumbersAndNestingHaveTheirLimits) {
  const std::string name64 = Repeat("a", 64);
  EXPECT_EQ(Evaluate(name64 + "=5;", name64 + ";").value, 5);
  EXPECT_EQ(Evaluate(name64 + "=5;", name64 + "b;").code, EVAL_NUMBER_TOO_LONG);
  EXPECT_EQ(Evaluate(name64 + "=5;", name64 + "1;").code, EVAL_NAME_TOO_LONG);

  EXPECT_EQ(Evaluate("", Repeat("0", 63) + "1;").value, 1);
  EXPECT_EQ(Evaluate("", Repeat("0", 64) + "1;").code, EVAL_NUMBER_TOO_LONG);

  // A definition name of 65 characters stops every look-up that meets it.
  EXPECT_EQ(Evaluate(Repeat("b", 64) + "=1;a=2;", "a;").value, 2);
  EXPECT_EQ(Evaluate(Repeat("b", 65) + "=1;a=2;", "a;").code, EVAL_NAME_TOO_LONG);

  // 32 levels below the top level, of brackets or of variables.
  EXPECT_EQ(Evaluate("", Nested(32)).value, 1);
  EXPECT_EQ(Evaluate("", Nested(33)).code, EVAL_DEPTH_EXHAUSTED);
  EXPECT_EQ(Evaluate(Chain(32), "v1;").value, 1);
  EXPECT_EQ(Evaluate(Chain(33), "v1;").code, EVAL_DEPTH_EXHAUSTED);
  EXPECT_EQ(Evaluate("", "1;", -1).code, EVAL_DEPTH_EXHAUSTED);

  // An intermediate whose "%.16f" text would pass 64 characters: 1e46 has
  // 47 digits and 17 more, 1e47 one too many.
  EXPECT_EQ(Evaluate("", "(1" + Repeat("0", 46) + ");").value, 1e46);
  EXPECT_EQ(Evaluate("", "(1" + Repeat("0", 47) + ");").code, EVAL_NUMBER_TOO_LONG);
  EXPECT_EQ(Evaluate("a=1" + Repeat("0", 47) + ";", "a;").code, EVAL_NUMBER_TOO_LONG);
  EXPECT_EQ(Evaluate("", "1" + Repeat("0", 45) + "D;").code, EVAL_OK);
  EXPECT_EQ(Evaluate("", "1" + Repeat("0", 46) + "D;").code, EVAL_NUMBER_TOO_LONG);
  // The result itself is not held in a number text.
  const Outcome big = Evaluate("", "1" + Repeat("0", 40) + "*1" + Repeat("0", 40) + ";");
  EXPECT_EQ(big.code, EVAL_OK);
  EXPECT_EQ(big.text.size(), 81u + 3u);

  // Definition values are evaluated whole, however long.
  const std::string sum = "1" + Repeat("+1", 99);
  EXPECT_EQ(Evaluate("x=0;s=" + sum + ";", "s*2;").value, 200);
}

TEST(EvaluateExpression, BothTextsComeBackNormalised) {
  std::string definitions = "a = 2 ; b=a+a*3;";
  std::string expression = "b + b * 2 ;";
  std::string output;
  double result = 0;
  ASSERT_EQ(EvaluateExpression(definitions, expression, output, result, kEvaluationDepth), 0);
  EXPECT_EQ(result, 24);
  EXPECT_EQ(definitions, "a=2;b=a+(a*3);");
  EXPECT_EQ(expression, "b+(b*2);");
}

TEST(NormalizeExpression, BracketsEveryProductTerm) {
  struct Row {
    const char* before;
    const char* after;
  };
  const Row rows[] = {
      {"a + b * c ;", "a+(b*c);"},
      {"a - b / c + d ;", "a-(b/c)+d;"},
      {"a * b + c * d ;", "a*b+(c*d);"},
      {"a + b * c * d ;", "a+(b*c*d);"},
      {"10 - 2 * ( 1 + 1 ) * 2 ;", "10-(2*(1+1)*2);"},
      {"a + ( b * c ) * d ;", "a+((b*c)*d);"},
      {"2 * ( 3 + 4 ) ;", "2*(3+4);"},
      {"H = L - 100 ; A = 2 * r + L ;", "H=L-100;A=2*r+L;"},
      {"x=a+b*c;y=d-e/f;", "x=a+(b*c);y=d-(e/f);"},
      {"( a + b * c )", "(a+(b*c))"},
      {"a + b * - c ;", "a+(b*)-c;"},
      {"a + b * c", "a+b*c"},  // the end of the text comes first
      {"a +\tb\r\n* c ;", "a+(\tb*c);"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.before);
    std::string text = row.before;
    EXPECT_EQ(NormalizeExpression(text), EVAL_OK);
    EXPECT_EQ(text, row.after);
    EXPECT_EQ(NormalizeExpression(text), EVAL_OK);
    EXPECT_EQ(text, row.after) << "a second pass changed it";
  }
  for (const char* unbalanced : {")(;", "(a;", "a);", "((a)"}) {
    std::string text = unbalanced;
    EXPECT_EQ(NormalizeExpression(text), EVAL_BRACKETS) << unbalanced;
  }
}

}  // namespace
