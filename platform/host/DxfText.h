// Text encoding of DXF values. Inside the drawing model every value is code
// page 1250; files of AC1021 and later carry UTF-8, older ones their code
// page, which for this system is 1250 itself.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace host {

// Eight bytes at a time: every value of a drawing passes here.
inline bool IsAscii(std::string_view text) {
  const char* p = text.data();
  size_t n = text.size();
  for (; n >= 8; p += 8, n -= 8) {
    uint64_t word;
    std::memcpy(&word, p, 8);
    if (word & 0x8080808080808080ull) return false;
  }
  for (; n > 0; ++p, --n)
    if (static_cast<unsigned char>(*p) >= 0x80) return false;
  return true;
}

// UTF-8 file text to the model's code page. A character the page lacks
// becomes the DXF escape \U+XXXX (two escapes for characters beyond the
// 16-bit range), which a save in UTF-8 turns back (DxfModelToUtf8).
// Bytes that are not valid UTF-8 are kept as they are: such files were
// written in the code page after all.
std::string DxfUtf8ToModel(std::string_view text);

// DxfUtf8ToModel written to `to`, which is the text itself, lies before it
// or apart from it (a load keeping its values): the size written. SIZE_MAX, with
// nothing written, when a character becomes an escape, which is longer
// than the character.
size_t DxfUtf8ToModelInPlace(std::string_view text, char* to);

// Model text to UTF-8 for a file of AC1021 or later. The escapes a load
// makes of characters the page lacks become those characters again, so
// that a drawing loaded and saved keeps its text for readers that take
// the escapes as text.
std::string DxfModelToUtf8(std::string_view text);

// Control characters of text values stand in the file in caret form: a
// byte below 0x20 as '^' and the byte + 0x40 ("^J" a line feed, "^M" a
// carriage return), a caret itself as "^ ". Decoding turns exactly those
// pairs back; a caret before anything else stays as it is.
std::string EncodeCaretForm(std::string_view text);
std::string DecodeCaretForm(std::string_view text);

// Whether the text needs EncodeCaretForm to change anything.
inline bool NeedsCaretForm(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == '^') return true;
  return false;
}

}  // namespace host
