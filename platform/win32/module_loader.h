// Run-time loading of libraries with the Windows rules the system relies on:
// counted loads, look-up of loaded modules by file name without regard to
// case, the running program as a module of its own, and resource-only
// libraries (compiled resource files) that load without any code.
// File names are code page 1250 texts and may use '\' as the separator.
#pragma once

#include <string>

#include "platform/win32/error_codes.h"
#include "platform/win32/win32_types.h"

// Address of an export; callers cast it to the function type they expect
// (a cast from this type draws no function-cast warning).
using FARPROC = void (*)();

// A name without an extension gets ".dll" (a trailing '.' means "no
// extension" and is dropped). A name without a separator is first matched
// against the loaded modules, then looked for in the program's folder, the
// current folder and the system's library path. Loading a file that is
// already loaded (by any path) returns its handle and adds a reference;
// loading the running program's own file returns the program.
// A library that constructed a framework application object is initialised
// before this returns; when the application refuses, the library is unloaded
// and the result is null with ERROR_DLL_INIT_FAILED.
HMODULE LoadLibraryA(LPCSTR fileName);

// Drops one reference; the last one shuts the library's application object
// down and unloads it. FALSE with ERROR_INVALID_HANDLE for an unknown handle.
// Freeing the program is accepted and does nothing.
BOOL FreeLibrary(HMODULE module);

// An export by name; null module means the program. Ordinals are not
// supported (null, ERROR_PROC_NOT_FOUND), nor are exports of resource files.
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);

// Null gives the program. A bare name is compared with the file names of the
// loaded modules and with the program's own file name, without regard to
// case; a name with a folder is compared as the file it names. No reference
// is added. Null with ERROR_MOD_NOT_FOUND when nothing matches.
HMODULE GetModuleHandleA(LPCSTR moduleName);

// Full path of the module's file (null: the program) in code page 1250.
// Returns the length copied without the NUL. When the buffer is too small the
// path is cut to size - 1 characters and terminated, the result is size and
// the last error ERROR_INSUFFICIENT_BUFFER. 0 for an unknown module.
DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size);

// The runner tells the loader under which file name it was started (argv[0],
// a host path): a link named "duvozedo.exe" keeps that name, its folder is
// the program's folder. A relative name is taken from the current folder or
// found on PATH. Without a call the program is /proc/self/exe.
void SetProgramFileName(const char* argv0);

// What the system's loader said about the last failed load (for the
// runner's diagnostics); empty when it said nothing.
std::string LastLoadErrorText();

// --- For the framework and resource layers of the platform ---------------

constexpr DWORD DLL_PROCESS_DETACH = 0;
constexpr DWORD DLL_PROCESS_ATTACH = 1;

// Called like a library's entry point: with DLL_PROCESS_ATTACH after a code
// library was mapped for the first time (FALSE refuses the load) and with
// DLL_PROCESS_DETACH before its last reference goes or the process ends.
using ModuleEntryHook = BOOL (*)(HMODULE module, DWORD reason);
void SetModuleEntryHook(ModuleEntryHook hook);

// Whether the address lies in the module's mapped code or data.
bool ModuleContainsAddress(HMODULE module, const void* address);

// The module whose code or data holds the address. A library that is mapped
// but was not loaded through LoadLibraryA becomes a known module that stays
// loaded; an address outside every object gives the program.
HMODULE ModuleFromAddress(const void* address);

struct ResourceTable;
// The resources of a module; null for code modules and unknown handles.
const ResourceTable* ModuleResourceTable(HMODULE module);
