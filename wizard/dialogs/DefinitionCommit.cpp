#include "wizard/dialogs/DefinitionCommit.h"

#include "wizard/frame/engine/ExpressionEvaluator.h"
#include "wizard/frame/engine/ParamStatus.h"
#include "wizard/frame/engine/ParameterList.h"
#include "wizard/frame/engine/ParameterTexts.h"
#include "wizard/frame/engine/ValueEntry.h"

bool DefinitionTextAllowed(int row, std::string_view text) {
  if (row < kFormulaRows) return text.find_first_of("|\r\n") == std::string_view::npos;
  return !BreaksStoredTexts(text);
}

int EvaluateDefinitionText(const CSeznam& params, bool formula, uint32_t status, const std::string& text,
                           double& value) {
  std::string definitions, expression, output;
  BuildDefinitions(params, definitions, true);
  if (formula || (status & ParamStatus::kFormulaDefs))
    EvaluateWithDefinitions(definitions, text, expression);
  else
    expression = text;
  expression += ";";
  value = 0;
  return EvaluateExpression(definitions, expression, output, value, kEvaluationDepth);
}
