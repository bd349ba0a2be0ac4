// Moving and deleting files by the system's paths (code page 1250, '\'
// separated, any letter case), through the path resolver.
#pragma once

#include "platform/win32/win32_types.h"

constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x1;

// Renames a file; an existing target is replaced only with
// MOVEFILE_REPLACE_EXISTING, and then in one step (readers see the old file
// or the new one, never a part). FALSE with the last error set on failure.
BOOL MoveFileExA(LPCSTR existing, LPCSTR target, DWORD flags);
BOOL DeleteFileA(LPCSTR path);
