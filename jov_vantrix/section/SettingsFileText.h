// The section's settings files are code page 1250 text. One saved as UTF-8
// (an editor's default, with or without a byte-order mark) reads as garbled
// layer names and texts, and a mark hides the first section's name.
#pragma once

#include <cstddef>

#include "platform/mfc/CString.h"
#include "platform/win32/win32_types.h"

// A byte-order mark, or text beyond ASCII that is well-formed UTF-8 (text
// of code page 1250 with its accented letters hardly ever is).
bool IsUtf8Text(const char* bytes, size_t size);

// The path of the first of the section's settings files ("Jov.ini",
// "Jov_set.dat", "Jov_lin.dat") that is UTF-8 text; empty when none is. A
// missing or unreadable file is none: its defaults apply.
CString FindUtf8SettingsFile();

// Names such a file in a message (owner: the window given) and says so;
// false, with nothing shown, when every file is code page 1250 text.
bool StopOnUtf8SettingsFile(HWND owner);
