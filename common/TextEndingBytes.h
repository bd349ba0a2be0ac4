// Bytes that end a text before its end: Ctrl-Z (0x1A), the end of a text
// file to a Windows text-mode read, and NUL, the end of a C string. A
// reader of outside text refuses a line holding one rather than obey it.
#pragma once

#include <string_view>

// Where the first such byte of text is; npos when there is none.
inline size_t FindTextEndingByte(std::string_view text) {
  constexpr char kEnding[] = {'\x1A', '\0'};
  return text.find_first_of(std::string_view(kEnding, 2));
}
