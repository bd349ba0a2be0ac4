// Code-page text to UTF-16 for the wide-character file streams. A "\U+XXXX"
// escape (four hexadecimal digits) in the text stands for one UTF-16 unit, so
// a single-byte file name can carry any character.
#pragma once

#include "platform/win32/win32_types.h"

// Converts inLength bytes of in (callers pass strlen + 1 so the NUL comes
// along) into out, which holds inLength units; nothing is written beyond
// them, and the output is always terminated (a text that fills every unit
// gives its last one to the terminator). Stretches the code page cannot
// convert become one '?' per byte; a "\U+" without four hexadecimal
// digits stays as it is written and later escapes still count.
// Returns out, or null when out or in is null.
char16_t* ConvertToWide(char16_t* out, const char* in, int inLength, UINT codePage);
