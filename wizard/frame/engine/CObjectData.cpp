#include "wizard/frame/engine/CObjectData.h"

#include <algorithm>

CObjectData::~CObjectData() = default;

bool CObjectData::AppendFormulaLine(std::string& text) const {
  bool whole = true;
  for (int i = 0; i < 3; ++i) {
    const char* formula = GetText(i);
    whole = whole && formula;
    if (formula) text += formula;
    text += i < 2 ? "|" : "\r\n";
  }
  return whole;
}

bool CObjectData::ReadFormulaLine(const std::string& text, size_t& position, size_t length) {
  length = std::min(length, text.size());
  if (position >= length) return true;
  auto lineEnd = [&](size_t at) { return at >= length || text[at] == '\r' || text[at] == '\n'; };
  bool open = true;  // the line goes on after the last field
  for (int i = 0; i < 3; ++i) {
    const size_t start = position;
    if (open)
      while (!lineEnd(position) && text[position] != '|') ++position;
    SetText(i, text.substr(start, position - start).c_str());
    open = open && position < length && text[position] == '|';
    if (open) ++position;
  }
  while (!lineEnd(position)) ++position;
  if (position < length && text[position] == '\r') ++position;
  if (position < length && text[position] == '\n') ++position;
  return true;
}
