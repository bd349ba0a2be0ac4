// Numbers read from texts of the drawing and the exchange files as the C
// library's atoi and atof read them (leading blanks, a sign, as many
// digits as there are, 0 when none), in the C locale whatever the process
// set, and without overflow: integers saturate at the ends of int.
#pragma once

int ParseDecimal(const char* text);
double ParseReal(const char* text);
