#include "wizard/frame/ProductConnection.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "common/CLocaleNumber.h"
#include "common/ValueRules.h"
#include "dataformat/HeapCopy.h"
#include "platform/catalogue/Database.h"
#include "wizard/frame/CWizardDllApp.h"
#include "wizard/frame/engine/CObjectSez.h"
#include "wizard/frame/engine/CValueParam.h"
#include "wizard/frame/engine/EngineState.h"
#include "wizard/frame/engine/ExpressionEvaluator.h"
#include "wizard/frame/engine/ParameterList.h"
#include "wizard/frame/engine/ParameterTexts.h"
#include "wizard/frame/engine/RecordLookups.h"
#include "wizard/frame/engine/TextLines.h"

namespace {

constexpr size_t kPointLine = 255;
constexpr size_t kProductPointLine = 1023;

// Reads the next line, cut to maxLength characters.
bool NextLine(const std::string& text, size_t& position, size_t maxLength, std::string& line) {
  if (position >= text.size()) return false;
  ReadTextLine(text, position, line);
  if (line.size() > maxLength) line.resize(maxLength);
  return true;
}

bool CopyOut(const std::string& text, char* out, unsigned size) {
  if (!out || size == 0) return false;
  const size_t n = text.size() < size ? text.size() : size - 1;
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
  return true;
}

// The sizes of a name line as numbers; a part that is no number makes the
// list unequal to any other.
bool SameSizes(const std::string& a, const std::string& b) {
  if (a.empty() && b.empty()) return true;
  std::vector<std::string> left, right;
  SplitParamValues(a, left);
  SplitParamValues(b, right);
  if (left.size() != right.size()) return false;
  for (size_t i = 0; i < left.size(); ++i) {
    bool leftNumber = false, rightNumber = false;
    const double x = AtofC(left[i].c_str(), &leftNumber);
    const double y = AtofC(right[i].c_str(), &rightNumber);
    if (!leftNumber || !rightNumber || x != y) return false;
  }
  return true;
}

}  // namespace

bool ReadPointLine(const char* pointsText, unsigned group, unsigned index, unsigned line, size_t maxLength,
                   std::string& out) {
  if (!pointsText || !*pointsText || line > 3) return false;
  const std::string text = pointsText;
  size_t position = 0;
  std::string current;
  for (unsigned g = 0;; ++g) {
    // A count is read whole: only the points' lines are cut.
    if (!NextLine(text, position, std::string::npos, current)) return false;
    const long count = std::atol(current.c_str());
    if (g == group) {
      if (count <= 0 || index >= static_cast<unsigned long>(count)) return false;
      for (unsigned long skip = 4ul * index + line; skip > 0; --skip)
        if (!NextLine(text, position, maxLength, current)) return false;
      return NextLine(text, position, maxLength, out);
    }
    // A count may claim more points than the text holds: the text ends first.
    for (long point = 0; point < count; ++point)
      for (int skip = 0; skip < 4; ++skip)
        if (!NextLine(text, position, maxLength, current)) return false;
  }
}

bool CWizardDllApp::GetPointText(const char* pointsText, unsigned index, unsigned group, char* out,
                                 unsigned size) const {
  std::string name;
  return ReadPointLine(pointsText, group, index, 0, kPointLine, name) && CopyOut(name, out, size);
}

bool GetProductPointName(unsigned view, unsigned number, char* out, unsigned size) {
  jovDatabase::Database* db = CurrentCatalogue();
  if (!db || number == 0) return false;
  qmString points;
  if (db->GetItemsPoints(points) != jovDatabase::eOK) return false;
  std::string name;
  return ReadPointLine(points.GetString(), view, number - 1, 0, kProductPointLine, name) &&
         CopyOut(name, out, size);
}

bool CheckConnectionMatch(const char* otherPoints, unsigned otherIndex, unsigned ownNumber, unsigned view) {
  std::string other;
  if (!ReadPointLine(otherPoints, view, otherIndex, 0, kPointLine, other)) return true;
  char own[kProductPointLine + 1];
  if (!GetProductPointName(view, ownNumber, own, sizeof own)) return true;
  return SameSizes(other, own);
}

namespace {

// The own height parameter of a connection letter: A "zA"; B "zB", C "zC"
// falling back to "zA"; none for other letters.
const CValueParam* OwnLevelParam(const CObjectSez* params, char letter) {
  if (!params) return nullptr;
  const char* name = nullptr;
  switch (letter) {
    case 'A': case 'a': name = "zA"; break;
    case 'B': case 'b': name = "zB"; break;
    case 'C': case 'c': name = "zC"; break;
    default: return nullptr;
  }
  if (const CValueParam* p = FindParamByName(*params, name)) return p;
  return FindParamByName(*params, "zA");
}

}  // namespace

void CWizardDllApp::ApplyConnectionLevel(unsigned view, unsigned otherIndex, const char* otherPoints,
                                         unsigned ownNumber, CObjectSez* parameters) {
  const char* levels[kLevelTexts];
  GetZLevelTexts(levels);
  if (!otherPoints || !levels[0]) return;

  // A point that is not there connects as letter A.
  std::string line;
  ReadPointLine(otherPoints, view, otherIndex, 3, kPointLine, line);
  char letter = line.empty() ? 'A' : line[0];
  if (std::strchr("ABCabc", letter) == nullptr) letter = 'A';
  const char* other = levels[1];
  if ((letter == 'B' || letter == 'b') && levels[2]) other = levels[2];
  if ((letter == 'C' || letter == 'c') && levels[3]) other = levels[3];
  const double otherHeight = other ? AtofC(other) : 0.0;
  const double base = AtofC(levels[0]);

  jovDatabase::Database* db = CurrentCatalogue();
  qmString points;
  const bool ownPoints = db && db->GetItemsPoints(points) == jovDatabase::eOK && points.GetString() &&
                         *points.GetString();
  if (!ownPoints) {
    SetComputedLevel(FormatFixed(otherHeight / 1000.0 + base, 3).c_str());
    return;
  }
  std::string ownLine;
  const char ownLetter = ownNumber > 0 && ReadPointLine(points.GetString(), view, ownNumber - 1, 3,
                                                        kProductPointLine, ownLine) && !ownLine.empty()
                             ? ownLine[0]
                             : '\0';
  double ownHeight = 0.0;
  if (const CValueParam* own = OwnLevelParam(parameters, ownLetter)) {
    const char* value = ParamValueOrDefault(*own);
    if (value && *value) {
      std::string definitions, expression = std::string(value) + ";", output;
      BuildDefinitions(*parameters, definitions, false);
      if (EvaluateExpression(definitions, expression, output, ownHeight, kEvaluationDepth) != EVAL_OK)
        ownHeight = 0.0;
    }
  }
  // The own point's height comes from the product's formulas: a level far
  // outside any building is none.
  const double level = (otherHeight - ownHeight) / 1000.0 + base;
  if (IsUsableLevel(level)) SetComputedLevel(FormatFixed(level, 4).c_str());
}
