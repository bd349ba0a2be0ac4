// Values as a user types them: the cells of the product dialog and the
// default and allowed values of the parameter dialog, and as a calling
// program hands them over. A text taken as a number is one number whole
// and reads back as it was taken once stored, and the evaluator reads its
// plain decimal text as exactly that number;
// allowed values taken one per line join into a text that splits into
// them again and whose range is theirs.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "common/CLocaleNumber.h"
#include "fuzz/FuzzSupport.h"
#include "wizard/frame/engine/CValueParam.h"
#include "wizard/frame/engine/ExpressionEvaluator.h"
#include "wizard/frame/engine/ValueEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input = fuzz::Text(data, size);
  std::vector<std::string> taken;
  std::vector<double> numbers;
  for (size_t start = 0; start <= input.size();) {
    size_t end = input.find('\n', start);
    if (end == std::string_view::npos) end = input.size();
    const std::string_view line = input.substr(start, end - start);
    start = end + 1;

    double value = 0;
    if (!ReadValueEntry(line, value)) continue;
    FUZZ_CHECK(std::isfinite(value), "a number that is not finite");
    FUZZ_CHECK(line.find_first_not_of("0123456789+-.,eE \t") == std::string_view::npos,
               "a number of other characters: " + std::string(line));
    FUZZ_CHECK(!BreaksStoredTexts(line), "a number holding a separator");
    const std::string stored = StoredValueEntry(line);
    FUZZ_CHECK(AtofC(stored.c_str()) == value, "the stored text reads otherwise: " + stored);
    double again = 0;
    FUZZ_CHECK(ReadValueEntry(stored, again) && again == value, "the stored text is taken otherwise");
    const std::string plain = PlainDecimalEntry(line, value);
    if (!plain.empty()) {
      std::string definitions, expression = plain + ";", output;
      double evaluated = 0;
      FUZZ_CHECK(EvaluateExpression(definitions, expression, output, evaluated, kEvaluationDepth) == EVAL_OK &&
                     evaluated == value,
                 "the evaluator reads another number from " + plain);
    }
    if (stored.empty() || std::find(taken.begin(), taken.end(), stored) != taken.end()) continue;
    taken.push_back(stored);
    numbers.push_back(value);
  }
  if (taken.empty()) return 0;

  std::string joined;
  for (const std::string& t : taken) joined += (joined.empty() ? "" : "|") + t;
  std::vector<std::string> split;
  for (size_t start = 0; start <= joined.size();) {
    size_t end = std::min(joined.find('|', start), joined.size());
    split.push_back(joined.substr(start, end - start));
    start = end + 1;
  }
  FUZZ_CHECK(split == taken, "the allowed values do not split back");
  CValueParam param;
  double lower = 0, upper = 0;
  param.GetRange(joined.c_str(), lower, upper);
  FUZZ_CHECK(lower == *std::min_element(numbers.begin(), numbers.end()) &&
                 upper == *std::max_element(numbers.begin(), numbers.end()),
             "the range of the allowed values");
  return 0;
}
