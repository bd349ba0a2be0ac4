// The framework's message box: captioned with the application's name (of
// the current module state), owned by the active window. A box type
// without an icon gets the framework's usual one (an exclamation mark for
// OK and OK/Cancel boxes, a question mark for Yes/No boxes).
#pragma once

#include "platform/win32/win32_types.h"

int AfxMessageBox(LPCSTR text, UINT type = 0, UINT helpId = 0);
// The text is string `promptId` of the current resource module.
int AfxMessageBox(UINT promptId, UINT type = 0, UINT helpId = static_cast<UINT>(-1));
