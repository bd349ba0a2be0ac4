// One choice of a radiator from the outside radiator catalogue
// "Korpalin_stl_x64.dll".
#pragma once

#include "platform/win32/win32_types.h"

struct KorpalinData;

// Loads the library, lets the user choose ("DejTeleso", else "DejTeleso2"
// with the owner window) and frees it. The library's answer: non-zero when
// the record holds a chosen radiator; 0 when the library cannot be loaded,
// has neither export or fails.
int ChooseFromKorpalinCatalogue(const char* path, HWND owner, KorpalinData* record);

// Where the library is when it is installed and really there: the Vantrix
// programs' registry entry alone does not make it so. False otherwise.
bool FindInstalledKorpalinLibrary(char* path, unsigned size);
