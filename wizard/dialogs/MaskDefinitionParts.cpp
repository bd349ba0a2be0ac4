#include "wizard/dialogs/MaskDefinitionParts.h"

// A byte above 127 ends a token.
bool IsMaskTokenChar(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool FreeTextFusesWithField(std::string_view before, std::string_view freeText) {
  if (freeText.empty() || !IsMaskTokenChar(static_cast<unsigned char>(freeText[0]))) return false;
  size_t start = before.size();
  while (start > 0 && IsMaskTokenChar(static_cast<unsigned char>(before[start - 1]))) --start;
  return start > 0 && (before[start - 1] == '#' || before[start - 1] == '&');
}

std::vector<MaskPart> SplitMaskDefinition(std::string_view text) {
  std::vector<MaskPart> parts;
  std::string run;
  auto endRun = [&] {
    if (!run.empty()) parts.push_back({std::move(run), false});
    run.clear();
  };
  for (size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (c != '#' && c != '&' && c != '\\') {
      run += c;
      ++i;
      continue;
    }
    endRun();
    size_t end = i + 1;
    if (c != '\\')
      while (end < text.size() && IsMaskTokenChar(static_cast<unsigned char>(text[end]))) ++end;
    parts.push_back({std::string(text.substr(i, end - i)), true});
    if (c != '\\' && end < text.size() && text[end] != '\\') run += text[end++];
    i = end;
  }
  endRun();
  return parts;
}
