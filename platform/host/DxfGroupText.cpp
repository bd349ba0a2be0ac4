#include "platform/host/DxfGroupText.h"

#include <charconv>

namespace host {
namespace {

// Next line of text from pos: the line without its end; pos moves past the
// end (LF, CRLF or a lone CR).
std::string_view NextLine(std::string_view text, size_t& pos) {
  size_t end = text.find_first_of("\r\n", pos);
  std::string_view line;
  if (end == std::string_view::npos) {
    line = text.substr(pos);
    pos = text.size();
  } else {
    line = text.substr(pos, end - pos);
    pos = end + 1;
    if (text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
  }
  return line;
}

bool OnlyBlankLeft(std::string_view text, size_t pos) {
  for (; pos < text.size(); ++pos) {
    char c = text[pos];
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return false;
  }
  return true;
}

// A short, printable quotation of a bad line for the error message.
std::string Quote(std::string_view line) {
  std::string out = "'";
  for (char c : line.substr(0, 24)) {
    auto u = static_cast<unsigned char>(c);
    out += (u < 0x20 || u == 0x7F) ? '?' : c;
  }
  if (line.size() > 24) out += "...";
  return out + "'";
}

}  // namespace

bool TokenizeDxf(std::string_view text, std::vector<DxfToken>& out, DxfError* error) {
  out.clear();
  size_t pos = 0;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") pos = 3;
  int line = 0;
  while (pos < text.size() && !OnlyBlankLeft(text, pos)) {
    std::string_view codeLine = TrimDxf(NextLine(text, pos));
    ++line;
    int code = 0;
    auto [end, ec] = std::from_chars(codeLine.data(), codeLine.data() + codeLine.size(), code);
    if (codeLine.empty() || ec != std::errc() || end != codeLine.data() + codeLine.size()) {
      if (codeLine.empty()) return Fail(error, "group code expected, found an empty line", line);
      return Fail(error, "group code expected, found " + Quote(codeLine), line);
    }
    if (code < INT16_MIN || code > INT16_MAX)
      return Fail(error, "group code " + std::string(codeLine) + " is out of range", line);
    if (pos >= text.size())
      return Fail(error, "group code " + std::to_string(code) + " has no value (file truncated?)",
                  line);
    std::string_view value = NextLine(text, pos);
    ++line;
    out.push_back({static_cast<int16_t>(code), line - 1, value});
    if (code == 0 && TrimDxf(value) == "EOF") break;
  }
  return true;
}

bool ParsePairs(std::string_view text, PairList& out, DxfError* error) {
  std::vector<DxfToken> tokens;
  out.clear();
  if (!TokenizeDxf(text, tokens, error)) return false;
  out.reserve(tokens.size());
  for (const DxfToken& t : tokens) {
    if (t.code == 0 && TrimDxf(t.value) == "EOF") break;
    out.push_back({t.code, std::string(t.value)});
  }
  return true;
}

void AppendPair(std::string& out, int code, std::string_view value, std::string_view lineEnd) {
  char buffer[16];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, code);
  (void)ec;
  size_t width = static_cast<size_t>(end - buffer);
  if (width < 3) out.append(3 - width, ' ');
  out.append(buffer, end);
  out += lineEnd;
  out += value;
  out += lineEnd;
}

std::string FormatPairs(const PairList& pairs) {
  std::string out;
  for (const DxfPair& p : pairs) AppendPair(out, p.code, p.value, "\n");
  return out;
}

}  // namespace host
