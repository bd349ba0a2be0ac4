#include "platform/host/DxfText.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>

#include "platform/win32/code_page.h"

namespace host {
namespace {

// Unicode -> code page 1250 byte for the upper half of the page, by code
// point below 0x10000 (0: not in the page). Where two bytes give one
// character, the first one stands for it.
const std::array<unsigned char, 0x10000>& UpperHalf() {
  static const std::array<unsigned char, 0x10000> table = [] {
    std::array<unsigned char, 0x10000> bytes{};
    char upper[128];
    for (int i = 0; i < 128; ++i) upper[i] = static_cast<char>(0x80 + i);
    WCHAR wide[128] = {};
    if (MultiByteToWideChar(CP_1250, 0, upper, 128, wide, 128) == 128)
      for (int i = 0; i < 128; ++i)
        if (!bytes[wide[i]]) bytes[wide[i]] = static_cast<unsigned char>(0x80 + i);
    return bytes;
  }();
  return table;
}

// One UTF-8 sequence at text[i]: its code point and length, or length 0
// when the bytes there are not a well-formed sequence.
char32_t DecodeUtf8(std::string_view text, size_t i, size_t& length) {
  auto c = static_cast<unsigned char>(text[i]);
  size_t extra = (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : 0;
  length = 0;
  if (extra == 0 || i + extra >= text.size()) return 0;
  char32_t cp = c & (0x3F >> extra);
  for (size_t k = 1; k <= extra; ++k) {
    auto cc = static_cast<unsigned char>(text[i + k]);
    if ((cc & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (cc & 0x3F);
  }
  static const char32_t minimum[] = {0, 0x80, 0x800, 0x10000};
  if (cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) return 0;
  length = extra + 1;
  return cp;
}

void AppendEscape(std::string& out, unsigned unit) {
  char buffer[12];
  std::snprintf(buffer, sizeof buffer, "\\U+%04X", unit & 0xFFFF);
  out += buffer;
}

}  // namespace

std::string DxfUtf8ToModel(std::string_view text) {
  if (IsAscii(text)) return std::string(text);
  const auto& upper = UpperHalf();
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    size_t length = 0;
    char32_t cp = DecodeUtf8(text, i, length);
    if (length == 0) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    i += length;
    if (cp < 0x10000 && upper[cp]) {
      out += static_cast<char>(upper[cp]);
    } else if (cp >= 0x10000) {
      cp -= 0x10000;
      AppendEscape(out, 0xD800 + (cp >> 10));
      AppendEscape(out, 0xDC00 + (cp & 0x3FF));
    } else {
      AppendEscape(out, cp);
    }
  }
  return out;
}

size_t DxfUtf8ToModelInPlace(std::string_view text, char* to) {
  const auto& upper = UpperHalf();
  // Every character is looked at before one byte is written: an escape
  // found halfway would leave the text neither old nor new.
  for (size_t i = 0; i < text.size();) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ++i;
      continue;
    }
    size_t length = 0;
    char32_t cp = DecodeUtf8(text, i, length);
    if (length > 0 && (cp >= 0x10000 || !upper[cp])) return SIZE_MAX;
    i += length > 0 ? length : 1;
  }
  // Each character gives at most its own bytes, so the writing never
  // overtakes the reading.
  size_t out = 0;
  for (size_t i = 0; i < text.size();) {
    auto c = static_cast<unsigned char>(text[i]);
    size_t length = 0;
    char32_t cp = c < 0x80 ? 0 : DecodeUtf8(text, i, length);
    if (length == 0) {
      to[out++] = static_cast<char>(c);
      ++i;
    } else {
      to[out++] = static_cast<char>(upper[cp]);
      i += length;
    }
  }
  return out;
}

namespace {

// The character of an escape at text[i] and the escape's length (two
// escapes for a surrogate pair). Only the form AppendEscape writes, of a
// character the page lacks: an escape of a letter in the page, one in
// lower case or a lone surrogate is no load's, and stays text.
std::optional<char32_t> EscapedCharacter(std::string_view text, size_t i, size_t& length) {
  auto unit = [&](size_t at) -> std::optional<char32_t> {
    if (at + 7 > text.size() || text.compare(at, 3, "\\U+") != 0) return std::nullopt;
    char32_t value = 0;
    for (size_t k = at + 3; k < at + 7; ++k) {
      const char c = text[k];
      if (c >= '0' && c <= '9') value = value * 16 + static_cast<char32_t>(c - '0');
      else if (c >= 'A' && c <= 'F') value = value * 16 + static_cast<char32_t>(c - 'A' + 10);
      else return std::nullopt;
    }
    return value;
  };
  const std::optional<char32_t> first = unit(i);
  if (!first || *first < 0x80 || (*first >= 0xDC00 && *first < 0xE000)) return std::nullopt;
  if (*first < 0xD800 || *first >= 0xE000) {
    if (UpperHalf()[*first]) return std::nullopt;
    length = 7;
    return *first;
  }
  const std::optional<char32_t> second = unit(i + 7);
  if (!second || *second < 0xDC00 || *second >= 0xE000) return std::nullopt;
  length = 14;
  return 0x10000 + ((*first - 0xD800) << 10) + (*second - 0xDC00);
}

}  // namespace

std::string DxfModelToUtf8(std::string_view text) {
  size_t escape = text.find("\\U+");
  if (escape == std::string_view::npos) return IsAscii(text) ? std::string(text) : Cp1250ToUtf8(text);
  std::string out;
  out.reserve(text.size());
  size_t from = 0;
  for (; escape != std::string_view::npos; escape = text.find("\\U+", escape + 1)) {
    size_t length = 0;
    const std::optional<char32_t> cp = EscapedCharacter(text, escape, length);
    if (!cp) continue;
    out += Cp1250ToUtf8(text.substr(from, escape - from));
    AppendUtf8(out, *cp);
    from = escape + length;
    escape = from - 1;
  }
  out += Cp1250ToUtf8(text.substr(from));
  return out;
}

std::string EncodeCaretForm(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20) {
      out += '^';
      out += static_cast<char>(u + 0x40);
    } else if (c == '^') {
      out += "^ ";
    } else {
      out += c;
    }
  }
  return out;
}

std::string DecodeCaretForm(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0u;
    if (c == '^' && next == ' ') {
      out += '^';
      ++i;
    } else if (c == '^' && next >= 0x40 && next < 0x60) {
      out += static_cast<char>(next - 0x40);
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace host
