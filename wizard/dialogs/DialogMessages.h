// Message boxes of the wizard's dialogs whose texts take numbers.
#pragma once

#include <string>

#include "platform/win32/win32_types.h"

// A resource string used as a format of two numbers: each conversion of
// the kinds f, e and g (with flags, width and precision) takes the next
// number, "%%" is a '%', and anything else after a '%' is written as it
// stands, so a text of any form is safe to format.
std::string FormatTwoNumbers(const char* format, double first, double second);

// The range message: string stringId formatted with the two bounds, the
// host's title as caption, a warning icon.
int ShowRangeMessage(HWND owner, UINT stringId, double lower, double upper);
