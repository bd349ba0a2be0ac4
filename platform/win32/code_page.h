// Code page 1250 text: conversions at the platform boundary and the
// case-insensitive compare. Inside the system text stays single-byte 1250.
#pragma once

#include <string>
#include <string_view>

#include "platform/win32/win32_types.h"

// Windows semantics: a length of -1 converts up to and including the NUL;
// an output size of 0 returns the size needed; 0 on failure (GetLastError
// tells why). Code pages 0 (ANSI) and 1250 are the same single-byte page;
// 65001 is UTF-8; with MB_ERR_INVALID_CHARS a malformed UTF-8 sequence
// fails (ERROR_NO_UNICODE_TRANSLATION) instead of becoming U+FFFD.
int MultiByteToWideChar(UINT codePage, DWORD flags, const char* in, int inLength, WCHAR* out,
                        int outLength);
int WideCharToMultiByte(UINT codePage, DWORD flags, const WCHAR* in, int inLength, char* out,
                        int outLength, const char* defaultChar, BOOL* usedDefaultChar);

// Case-insensitive compare of two code page 1250 texts (letters of the page
// fold to lower case); negative, 0 or positive like strcmp.
int _mbsicmp(const unsigned char* a, const unsigned char* b);
int _mbsicmp(const char* a, const char* b);

// Lower-case fold of one code page 1250 byte.
unsigned char Cp1250ToLower(unsigned char c);

// Equality of two code page 1250 texts without regard to letter case.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// Appends one Unicode code point as UTF-8.
void AppendUtf8(std::string& out, char32_t codePoint);

// Conversions used where text leaves the system (file names, terminals).
// Characters without an equivalent become '?'.
std::string Cp1250ToUtf8(std::string_view text);
std::string Utf8ToCp1250(std::string_view text);
