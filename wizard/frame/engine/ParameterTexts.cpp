#include "wizard/frame/engine/ParameterTexts.h"

#include <string_view>

#include "common/CLocaleNumber.h"

namespace {

constexpr std::string_view kEscapedSlash = "'/'";

bool EscapedSlashAt(const std::string& text, size_t pos) {
  return text.compare(pos, kEscapedSlash.size(), kEscapedSlash) == 0;
}

bool IsSeparator(char c) { return c == ';' || c == '='; }

// The next run of non-separators from pos; false at the end of the text.
bool NextToken(std::string_view text, size_t& pos, std::string_view& token) {
  while (pos < text.size() && IsSeparator(text[pos])) ++pos;
  if (pos == text.size()) return false;
  const size_t start = pos;
  while (pos < text.size() && !IsSeparator(text[pos])) ++pos;
  token = text.substr(start, pos - start);
  return true;
}

}  // namespace

int EvaluateWithDefinitions(const std::string& definitions, const std::string& text, std::string& output) {
  std::string result;
  std::string name;
  std::string value;
  size_t pos = 0;
  while (pos < text.size()) {
    if (EscapedSlashAt(text, pos)) {
      result += '/';
      pos += kEscapedSlash.size();
    } else if (text[pos] == '#') {
      size_t end = text.find(';', pos + 1);
      if (end == std::string::npos) end = text.size();
      name.assign(text, pos + 1, end - pos - 1);
      while (end < text.size() && text[end] == ';') ++end;
      RoundPlainNumber(LookupDefinitionValue(definitions, name, value));
      result += value;
      pos = end;
    } else {
      result += text[pos++];
    }
  }
  output = std::move(result);
  return 0;
}

std::string& LookupDefinitionValue(const std::string& definitions, const std::string& name,
                                   std::string& output) {
  size_t pos = 0;
  std::string_view key;
  std::string_view value;
  while (NextToken(definitions, pos, key)) {
    const bool hasValue = NextToken(definitions, pos, value);
    if (key == name) {
      if (hasValue) {
        output.assign(value);
      } else {
        output.clear();
      }
      return output;
    }
    if (!hasValue) break;
  }
  output.clear();
  return output;
}

void RoundPlainNumber(std::string& buffer) {
  for (char c : buffer) {
    if ((c < '0' || c > '9') && c != '.') return;
  }
  buffer = FormatFixed(ReadNumber(buffer), 0);
}

bool SplitParamNames(const std::string& text, std::vector<std::string>& names) {
  size_t pos = 0;
  while (pos < text.size()) {
    if (text[pos] != '#') {
      ++pos;
      continue;
    }
    size_t end = text.find('/', pos + 1);
    if (end == std::string::npos) end = text.size();
    names.emplace_back(text, pos + 1, end - pos - 1);
    pos = end;
  }
  return !names.empty();
}

bool SplitParamValues(const std::string& text, std::vector<std::string>& values) {
  std::string current;
  size_t pos = 0;
  while (pos < text.size()) {
    if (EscapedSlashAt(text, pos)) {
      current += kEscapedSlash;
      pos += kEscapedSlash.size();
    } else if (text[pos] == '/') {
      values.push_back(std::move(current));
      current.clear();
      if (++pos == text.size()) return true;
    } else {
      current += text[pos++];
    }
  }
  values.push_back(std::move(current));
  return true;
}
