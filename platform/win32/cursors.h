// The mouse cursor. Headless there is no pointer to show: making a cursor
// current is recorded in the user-interface journal (UiEvent::Kind::Cursor)
// when it changes, and so is loading a module's cursor resource.
#pragma once

#include <string>

#include "platform/win32/win32_types.h"

HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
// The display counter: shown while it is 0 or more.
int ShowCursor(BOOL show);
// "IDC_WAIT", "resource 5060", "resource NAME", "none".
std::string DescribeCursor(HCURSOR cursor);
