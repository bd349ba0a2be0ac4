#include "platform/win32/code_page.h"

#include <iconv.h>

#include <array>
#include <cstring>
#include <unordered_map>

namespace {

// Byte -> UTF-16 unit of code page 1250, read once from iconv. The five
// bytes the page leaves undefined map to the control code of the same value,
// as Windows does.
struct Cp1250Table {
  std::array<char16_t, 256> toWide{};
  std::unordered_map<char16_t, unsigned char> toByte;

  Cp1250Table() {
    iconv_t cd = iconv_open("UTF-16LE", "CP1250");
    for (int b = 0; b < 256; ++b) {
      char16_t unit = static_cast<char16_t>(b);
      if (cd != reinterpret_cast<iconv_t>(-1) && b >= 0x80) {
        char in = static_cast<char>(b);
        unsigned char out[4] = {};
        char* ip = &in;
        char* op = reinterpret_cast<char*>(out);
        size_t il = 1, ol = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &ip, &il, &op, &ol) != static_cast<size_t>(-1) && ol == 2)
          unit = static_cast<char16_t>(out[0] | (out[1] << 8));
      }
      toWide[b] = unit;
      toByte.emplace(unit, static_cast<unsigned char>(b));
    }
    if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
  }
};

const Cp1250Table& Table() {
  static const Cp1250Table table;
  return table;
}

// Upper-case letters of code page 1250 and their lower-case partners.
struct FoldTable {
  std::array<unsigned char, 256> lower{};
  FoldTable() {
    for (int b = 0; b < 256; ++b) lower[b] = static_cast<unsigned char>(b);
    for (int b = 'A'; b <= 'Z'; ++b) lower[b] = static_cast<unsigned char>(b + 32);
    static const unsigned char pairs[][2] = {
        {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8D, 0x9D}, {0x8E, 0x9E}, {0x8F, 0x9F},
        {0xA3, 0xB3}, {0xA5, 0xB9}, {0xAA, 0xBA}, {0xAF, 0xBF}, {0xBC, 0xBE}};
    for (const auto& p : pairs) lower[p[0]] = p[1];
    for (int b = 0xC0; b <= 0xDE; ++b)
      if (b != 0xD7) lower[b] = static_cast<unsigned char>(b + 0x20);
  }
};

const FoldTable& Fold() {
  static const FoldTable table;
  return table;
}

bool IsSingleBytePage(UINT codePage) { return codePage == CP_ACP || codePage == CP_1250; }

// Decodes one UTF-8 sequence at text[i]; malformed input yields U+FFFD and
// consumes one byte.
// U+FFFD for a malformed sequence, which sets bad.
char32_t NextUtf8(std::string_view text, size_t& i, bool& bad) {
  auto c = static_cast<unsigned char>(text[i]);
  int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
  if (extra == 0) {
    ++i;
    return c;
  }
  if (extra < 0 || i + extra >= text.size()) {
    ++i;
    bad = true;
    return 0xFFFD;
  }
  char32_t cp = c & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    auto cc = static_cast<unsigned char>(text[i + k]);
    if ((cc & 0xC0) != 0x80) {
      ++i;
      bad = true;
      return 0xFFFD;
    }
    cp = (cp << 6) | (cc & 0x3F);
  }
  i += extra + 1;
  return cp;
}

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, const char* in, int inLength, WCHAR* out,
                        int outLength) {
  if (!in || inLength == 0 || outLength < 0 || (outLength > 0 && !out)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  size_t n = inLength < 0 ? std::strlen(in) + 1 : static_cast<size_t>(inLength);
  std::u16string wide;
  if (IsSingleBytePage(codePage)) {
    const auto& table = Table();
    wide.reserve(n);
    for (size_t i = 0; i < n; ++i) wide += table.toWide[static_cast<unsigned char>(in[i])];
  } else if (codePage == CP_UTF8) {
    std::string_view text(in, n);
    for (size_t i = 0; i < n;) {
      bool bad = false;
      char32_t cp = NextUtf8(text, i, bad);
      if (bad && (flags & MB_ERR_INVALID_CHARS)) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return 0;
      }
      if (cp >= 0x10000) {
        cp -= 0x10000;
        wide += static_cast<char16_t>(0xD800 + (cp >> 10));
        wide += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
      } else {
        wide += static_cast<char16_t>(cp);
      }
    }
  } else {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (outLength == 0) return static_cast<int>(wide.size());
  if (wide.size() > static_cast<size_t>(outLength)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(out, wide.data(), wide.size() * sizeof(WCHAR));
  return static_cast<int>(wide.size());
}

int WideCharToMultiByte(UINT codePage, DWORD, const WCHAR* in, int inLength, char* out,
                        int outLength, const char* defaultChar, BOOL* usedDefaultChar) {
  if (!in || inLength == 0 || outLength < 0 || (outLength > 0 && !out)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  size_t n = 0;
  if (inLength < 0) {
    while (in[n]) ++n;
    ++n;
  } else {
    n = static_cast<size_t>(inLength);
  }
  std::string narrow;
  if (usedDefaultChar) *usedDefaultChar = FALSE;
  if (IsSingleBytePage(codePage)) {
    const auto& table = Table();
    char fallback = defaultChar ? *defaultChar : '?';
    for (size_t i = 0; i < n; ++i) {
      auto it = table.toByte.find(in[i]);
      if (it != table.toByte.end()) {
        narrow += static_cast<char>(it->second);
      } else {
        narrow += fallback;
        if (usedDefaultChar) *usedDefaultChar = TRUE;
      }
    }
  } else if (codePage == CP_UTF8) {
    for (size_t i = 0; i < n; ++i) {
      char32_t cp = in[i];
      if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < n && in[i + 1] >= 0xDC00 && in[i + 1] < 0xE000) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (in[i + 1] - 0xDC00);
        ++i;
      }
      AppendUtf8(narrow, cp);
    }
  } else {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (outLength == 0) return static_cast<int>(narrow.size());
  if (narrow.size() > static_cast<size_t>(outLength)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(out, narrow.data(), narrow.size());
  return static_cast<int>(narrow.size());
}

unsigned char Cp1250ToLower(unsigned char c) { return Fold().lower[c]; }

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  const auto& fold = Fold().lower;
  for (size_t i = 0; i < a.size(); ++i)
    if (fold[static_cast<unsigned char>(a[i])] != fold[static_cast<unsigned char>(b[i])])
      return false;
  return true;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}


int _mbsicmp(const unsigned char* a, const unsigned char* b) {
  const auto& fold = Fold().lower;
  for (;; ++a, ++b) {
    unsigned char ca = fold[*a], cb = fold[*b];
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;
  }
}

int _mbsicmp(const char* a, const char* b) {
  return _mbsicmp(reinterpret_cast<const unsigned char*>(a),
                  reinterpret_cast<const unsigned char*>(b));
}

std::string Cp1250ToUtf8(std::string_view text) {
  const auto& table = Table();
  std::string out;
  out.reserve(text.size());
  for (unsigned char c : text) AppendUtf8(out, table.toWide[c]);
  return out;
}

std::string Utf8ToCp1250(std::string_view text) {
  const auto& table = Table();
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    bool bad = false;
    char32_t cp = NextUtf8(text, i, bad);
    auto it = cp < 0x10000 ? table.toByte.find(static_cast<char16_t>(cp)) : table.toByte.end();
    out += it != table.toByte.end() ? static_cast<char>(it->second) : '?';
  }
  return out;
}
