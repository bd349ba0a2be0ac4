#include "wizard/dialogs/MaskDefinitionParts.h"

namespace {

// A byte above 127 ends a token.
bool IsTokenChar(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace

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
      while (end < text.size() && IsTokenChar(static_cast<unsigned char>(text[end]))) ++end;
    parts.push_back({std::string(text.substr(i, end - i)), true});
    if (c != '\\' && end < text.size() && text[end] != '\\') run += text[end++];
    i = end;
  }
  endRun();
  return parts;
}
