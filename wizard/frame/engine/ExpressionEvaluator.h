// The formula evaluator of the parameter engine: an expression text and a
// definitions text ("name=value;" entries, first equal name wins, names
// case-sensitive) go in; a double, its "%.2f" text and an error code come out.
//
// Evaluation runs left to right; NormalizeExpression first brackets every
// product term so that '*' and '/' bind before '+' and '-'. Intermediate
// values (brackets, functions, variables, D and R suffixes) pass through
// their "%.16f" text, and the number and name being read are held in texts
// of at most 64 characters. Some results follow from that and are relied
// on by stored catalogue formulas: "2*-3;" is -1, "1e3;" is 13, "2^3;" is 23,
// "A_1;" reads A1, and an expression without its closing ';' loses its last
// operand.
#pragma once

#include <string>

// Error codes; 0 is success.
enum EvaluationError : int {
  EVAL_OK = 0,
  EVAL_DEPTH_EXHAUSTED = 1,   // nesting deeper than the depth; every circular definition
  EVAL_DIVISION_BY_ZERO = 2,  // the divisor is exactly 0.0
  EVAL_DOMAIN = 3,            // asin/acos outside -1..1, ln/log of x <= 0, sqrt of x < 0;
                              // any value that is not finite (exp(710), 1e308*10)
  EVAL_BRACKETS = 4,          // unbalanced brackets in the expression or the definitions
  EVAL_NO_SEMICOLON = 5,      // a definition's value has no ';' after it
  EVAL_NUMBER_TOO_LONG = 6,   // a number (or an intermediate's text) past 64 characters,
                              // or a name past 64 characters by a letter
  EVAL_NAME_TOO_LONG = 7,     // a name past 64 characters by a digit or '.', or a
                              // definition name over 64 characters
  EVAL_UNDEFINED = 8,         // a name no definition has; the output text holds it
  EVAL_NOT_A_FUNCTION = 9,    // a name before '(' that is no function
};

// The depth every caller passes: 32 levels of brackets and variables below
// the top level.
constexpr int kEvaluationDepth = 32;

// Normalises both texts in place (callers pass working copies), then
// evaluates. On success result holds the value and output its "%.2f" text;
// on EVAL_UNDEFINED output holds the undefined name; on any other error
// output is empty and result 0.
int EvaluateExpression(std::string& definitions, std::string& expression, std::string& output,
                       double& result, int depth);

// Removes blanks, line feeds and carriage returns (tabs stay), checks the
// brackets (EVAL_BRACKETS when a ')' has no '(' or a '(' stays open) and
// brackets every product term that follows a '+' or '-' of its level:
// "a+b*c;" becomes "a+(b*c);". Entries of a definitions text are each
// rewritten by themselves. Normalising a normalised text changes nothing.
int NormalizeExpression(std::string& text);
