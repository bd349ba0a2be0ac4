// The mask and dimension dialogs as the library's exports open them, each
// answering what its export answers.
#pragma once

#include "dataformat/resbuf.h"
#include "platform/win32/win32_types.h"

// The mask list of a kind: its DoModal result.
INT_PTR RunMaskListDialog(unsigned kind, HWND parent);

// The dimension dialog of a kind: its DoModal result.
INT_PTR RunDimensionDialog(char kind, HWND parent);

// The mask editor with a definition proposed from an entity's JOV_DATA
// (useLetter 0), or on the active mask of kindLetter's kind: 1 when it
// ends with IDOK, 0 otherwise, -1 (after a message over the host's window)
// when the entity has no JOV_DATA. The owner is parent, else the host's
// main window.
int RunMaskPreset(const resbuf* entity, int useLetter, char kindLetter, HWND parent);
