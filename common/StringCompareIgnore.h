// Case-insensitive compare of two code page 1250 texts, as used for type
// names, layers and file names.
#pragma once

// Negative, 0 or positive like strcmp; a null text compares as "".
int StringCompareIgnore(const char* a, const char* b);
