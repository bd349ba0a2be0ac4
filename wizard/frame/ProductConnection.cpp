#include "wizard/frame/ProductConnection.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "common/CLocaleNumber.h"
#include "common/HeapCopy.h"
#include "platform/catalogue/Database.h"
#include "wizard/frame/CWizardDllApp.h"
#include "wizard/frame/CurrentCatalogue.h"
#include "wizard/frame/engine/ParameterTexts.h"
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
    if (!NextLine(text, position, maxLength, current)) return false;
    const long count = std::atol(current.c_str());
    if (g == group) {
      if (count <= 0 || index >= static_cast<unsigned long>(count)) return false;
      for (unsigned long skip = 4ul * index + line; skip > 0; --skip)
        if (!NextLine(text, position, maxLength, current)) return false;
      return NextLine(text, position, maxLength, out);
    }
    for (long skip = 4l * (count > 0 ? count : 0); skip > 0; --skip)
      if (!NextLine(text, position, maxLength, current)) return false;
  }
}

bool CWizardDllApp::GetPointText(const char* pointsText, unsigned index, unsigned group, char* out,
                                 unsigned size) const {
  std::string name;
  return ReadPointLine(pointsText, group, index, 0, kPointLine, name) && CopyOut(name, out, size);
}

bool GetProductPointName(unsigned view, unsigned number, char* out, unsigned size) {
  jovDatabase::Database* db = GetCurrentDatabase();
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
