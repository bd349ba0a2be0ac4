#include "wizard/frame/engine/TextLines.h"

namespace {

void CopyLine(const std::string& text, size_t& position, std::string& line) {
  if (position > text.size()) position = text.size();
  size_t end = text.find_first_of("\r\n", position);
  if (end == std::string::npos) end = text.size();
  line.assign(text, position, end - position);
  position = end;
}

bool StepOver(const std::string& text, size_t& position, char c) {
  if (position < text.size() && text[position] == c) {
    ++position;
    return true;
  }
  return false;
}

}  // namespace

void ReadTextLine(const std::string& text, size_t& position, std::string& line) {
  CopyLine(text, position, line);
  StepOver(text, position, '\r');
  StepOver(text, position, '\n');
}

bool ReadTextLineCR(const std::string& text, size_t& position, std::string& line) {
  CopyLine(text, position, line);
  if (StepOver(text, position, '\r')) return true;
  StepOver(text, position, '\n');
  return false;
}
