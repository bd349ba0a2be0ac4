#include "common/ConvertToWide.h"

#include <cstdlib>
#include <cstring>

#include "platform/win32/code_page.h"

namespace {

constexpr int kEscapeLength = 7;  // \U+XXXX

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// Position of the next "\U+" in in[from, end), or -1.
int FindEscapeMarker(const char* in, int from, int end) {
  for (int i = from; i + 3 <= end; ++i)
    if (in[i] == '\\' && in[i + 1] == 'U' && in[i + 2] == '+') return i;
  return -1;
}

// Converts in[0, n) to out; a stretch the code page refuses becomes one '?'
// per byte. The caller guarantees room for n units. Returns the units written.
int ConvertStretch(char16_t* out, const char* in, int n, int room, UINT codePage) {
  if (n <= 0) return 0;
  int written = MultiByteToWideChar(codePage, 0, in, n, out, room);
  if (written > 0) return written;
  for (int i = 0; i < n; ++i) out[i] = u'?';
  return n;
}

}  // namespace

char16_t* ConvertToWide(char16_t* out, const char* in, int inLength, UINT codePage) {
  if (!out || !in) return nullptr;
  if (inLength <= 0) return out;
  out[0] = 0;

  // Every input byte gives at most one unit and an escape gives one unit for
  // seven bytes, so the output never overtakes the input: written <= pos.
  // A broken escape is plain text; the search goes on behind its marker.
  int pos = 0;
  int written = 0;
  for (int from = 0;;) {
    int at = FindEscapeMarker(in, from, inLength);
    if (at < 0 || at + kEscapeLength > inLength) break;
    const char* digits = in + at + 3;
    from = at + 1;
    if (!IsHexDigit(digits[0]) || !IsHexDigit(digits[1]) || !IsHexDigit(digits[2]) || !IsHexDigit(digits[3]))
      continue;
    written += ConvertStretch(out + written, in + pos, at - pos, inLength - written, codePage);
    char hex[5] = {digits[0], digits[1], digits[2], digits[3], 0};
    out[written++] = static_cast<char16_t>(std::strtoul(hex, nullptr, 16));
    pos = from = at + kEscapeLength;
  }
  written += ConvertStretch(out + written, in + pos, inLength - pos, inLength - written, codePage);

  // Always terminated: behind the text when there is room, else in place
  // of its last unit.
  if (written < inLength) {
    if (written == 0 || out[written - 1] != 0) out[written] = 0;
  } else if (out[inLength - 1] != 0) {
    out[inLength - 1] = 0;
  }
  return out;
}
