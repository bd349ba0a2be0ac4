#include "platform/host/DxfPair.h"

#include <charconv>
#include <cmath>

#include "platform/win32/code_page.h"

namespace host {

std::string DxfError::ToString() const {
  if (line > 0) return "line " + std::to_string(line) + ": " + message;
  return message;
}

bool Fail(DxfError* error, std::string message, int line) {
  if (error) {
    error->line = line;
    error->message = std::move(message);
  }
  return false;
}

std::string_view TrimDxf(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
  while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
  return text.substr(b, e - b);
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Cp1250ToLower(static_cast<unsigned char>(a[i])) !=
        Cp1250ToLower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

std::optional<uint64_t> ParseHandle(std::string_view text) {
  text = TrimDxf(text);
  if (text.empty() || text.size() > 16) return std::nullopt;
  uint64_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string FormatHandle(uint64_t handle) {
  char buffer[17];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, handle, 16);
  (void)ec;
  std::string out(buffer, end);
  for (char& c : out)
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

std::optional<int64_t> ParseDxfInt(std::string_view text) {
  text = TrimDxf(text);
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  int64_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<double> ParseDxfReal(std::string_view text) {
  text = TrimDxf(text);
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  double value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string FormatDxfReal(double value) {
  if (!std::isfinite(value)) value = 0.0;  // DXF has no text for these
  if (value == 0.0) value = 0.0;           // no "-0.0"
  char buffer[40];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  (void)ec;
  std::string out(buffer, end);
  if (out.find_first_of(".e") == std::string::npos) out += ".0";
  return out;
}

}  // namespace host
