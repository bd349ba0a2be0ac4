// The framework's library loading: the loader's calls, made under the
// framework's lock so that a library's start-up never overlaps another's.
#pragma once

#include "platform/win32/module_loader.h"

HINSTANCE AfxLoadLibrary(LPCSTR fileName);
BOOL AfxFreeLibrary(HINSTANCE library);
