// atof as the C locale reads numbers, whatever locale the host process set.
#pragma once

// The number at the start of text (leading blanks skipped), 0 for a null
// text or one that does not start with a number. isNumber, when given, says
// whether any number was read.
double AtofC(const char* text, bool* isNumber = nullptr);
