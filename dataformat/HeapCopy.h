// Heap copies shared by the group-code chain code: malloc-based, released
// with free by whichever side ends up owning them.
#pragma once

#include <cstddef>

char* DupString(const char* text);                 // null copies as ""
char16_t* DupWideString(const char16_t* text);     // null copies as u""
void* DupBytes(const void* data, size_t n);        // null data gives null

// Bounded copy: at most size - 1 bytes and a NUL; false (and an empty out)
// when the text does not fit or the arguments are unusable.
bool CopyStringN(char* out, size_t size, const char* text);
int StringLength(const char* text);                // strlen as 32-bit, 0 for null
