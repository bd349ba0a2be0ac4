// The outside radiator catalogue "Korpalin_stl_x64.dll": whether it is
// installed, and one choice of a radiator from it.
#pragma once

#include <string>

#include "platform/win32/win32_types.h"

struct KorpalinData;

// The library beside the wizard (baseFolder + its file name) when one of
// the registry's entries of the Vantrix programs under HKEY_LOCAL_MACHINE
// says it is installed; false (out empty) otherwise. out holds size bytes.
bool FindKorpalinLibrary(const std::string& baseFolder, char* out, unsigned size);

// Loads the library, lets the user choose ("DejTeleso", else "DejTeleso2"
// with the owner window) and frees it. The library's answer: non-zero when
// the record holds a chosen radiator; 0 when the library cannot be loaded,
// has neither export or fails.
int ChooseFromKorpalinCatalogue(const char* path, HWND owner, KorpalinData* record);
