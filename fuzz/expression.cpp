// The formula evaluator with a definitions text: the input is the
// definitions, a NUL, then the expression (without a NUL, the expression
// alone). The code is one of the evaluator's; an undefined name is reported
// as a name; normalising the texts it returns changes nothing, and they
// evaluate again to the same code, bit for bit the same value and the same
// text; a result's text evaluates to its value. The substitution, the look-up
// and the splitters run on the same texts; the '/'-separated values join
// back to their text.
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "common/CLocaleNumber.h"
#include "fuzz/FuzzSupport.h"
#include "wizard/frame/engine/ExpressionEvaluator.h"
#include "wizard/frame/engine/ParameterTexts.h"

namespace {

bool IsNameCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.';
}

struct Evaluation {
  int code = 0;
  double value = 0;
  std::string output;
};

Evaluation Evaluate(std::string& definitions, std::string& expression) {
  Evaluation e;
  e.code = EvaluateExpression(definitions, expression, e.output, e.value, kEvaluationDepth);
  return e;
}

void CheckSplitters(const std::string& text) {
  std::vector<std::string> values;
  FUZZ_CHECK(SplitParamValues(text, values) && !values.empty(), "a text splits into no values");
  std::string joined;
  for (size_t i = 0; i < values.size(); ++i) joined += (i ? "/" : "") + values[i];
  // A '/' that ends the text adds no empty value after it.
  const bool endsWithSlash = !text.empty() && text.back() == '/';
  FUZZ_CHECK(joined + (endsWithSlash ? "/" : "") == text, "values join to another text: " + joined);

  std::vector<std::string> names;
  const bool any = SplitParamNames(text, names);
  FUZZ_CHECK(any == (text.find('#') != std::string::npos), "names found without a '#', or none with one");
  for (const std::string& name : names) FUZZ_CHECK(name.find('/') == std::string::npos, "a name holds a '/'");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input = fuzz::Text(data, size);
  const size_t nul = input.find('\0');
  const std::string givenDefinitions(nul == std::string_view::npos ? std::string_view() : input.substr(0, nul));
  const std::string givenExpression(nul == std::string_view::npos ? input : input.substr(nul + 1));

  std::string definitions = givenDefinitions;
  std::string expression = givenExpression;
  const Evaluation first = Evaluate(definitions, expression);
  FUZZ_CHECK(first.code >= EVAL_OK && first.code <= EVAL_NOT_A_FUNCTION, "an unknown code " + std::to_string(first.code));
  if (first.code == EVAL_UNDEFINED) {
    FUZZ_CHECK(!first.output.empty(), "an undefined name reported empty");
    for (char c : first.output) FUZZ_CHECK(IsNameCharacter(c), "an undefined name of other characters: " + first.output);
  } else if (first.code != EVAL_OK) {
    FUZZ_CHECK(first.output.empty() && first.value == 0.0, "an error left a result");
  }

  if (first.code != EVAL_BRACKETS) {
    // Both texts came back normalised.
    for (const std::string* text : {&definitions, &expression}) {
      std::string again = *text;
      FUZZ_CHECK(NormalizeExpression(again) == EVAL_OK && again == *text, "normalising twice changed " + *text);
    }
    std::string d = definitions, x = expression;
    const Evaluation second = Evaluate(d, x);
    FUZZ_CHECK(second.code == first.code && second.output == first.output &&
                   std::memcmp(&second.value, &first.value, sizeof(double)) == 0,
               "the normalised texts evaluate otherwise");
  }

  if (first.code == EVAL_OK && std::isfinite(first.value) && first.output.size() < 60) {
    std::string none, text = first.output + ";";
    const Evaluation shown = Evaluate(none, text);
    // (Its value: "-0.00" evaluates to 0.)
    FUZZ_CHECK(shown.code == EVAL_OK && shown.value == ReadNumber(first.output),
               first.output + " evaluates to " + shown.output);
  }

  std::string substituted;
  FUZZ_CHECK(EvaluateWithDefinitions(givenDefinitions, givenExpression, substituted) == 0, "the substitution failed");
  std::string found;
  LookupDefinitionValue(givenDefinitions, givenExpression.substr(0, 16), found);
  FUZZ_CHECK(found.find_first_of(";=") == std::string::npos, "a looked-up value holds a separator");
  RoundPlainNumber(found);
  CheckSplitters(givenExpression);
  return 0;
}
