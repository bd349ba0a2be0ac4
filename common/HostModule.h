// Finding the CAD host's own module and its exports by name. The LT edition
// runs as "DUVOZEDO.EXE"; the full edition loads the system beside
// "DRAVIK2D.ARX".
#pragma once

#include <string>

#include "common/HostExport2D.h"
#include "platform/win32/win32_types.h"

// The loaded host module: "DUVOZEDO.EXE" when loaded, else "DRAVIK2D.ARX";
// null when neither is.
HMODULE GetHostModule();

// The host's export table through a fresh GetExport2D call; null when the
// module, the export or the table is missing.
HostExport2D* GetHostExportTable();

// The host product's title from a freshly fetched table; "ERROR" when it
// cannot be had.
const char* GetHostProductTitle();

// The part of path after its last '\' or '/', at most size - 1 characters;
// "" for a null path, nothing for a null out.
void FileNameOfPath(const char* path, char* out, unsigned size);

// A resource text with arg put in for its first "%s" ("%%" gives '%');
// nothing else in the text is a conversion.
std::string FormatResourceText(const char* format, const char* arg);

// A message box with a string of the current resource library as its text
// (with arg substituted for its "%s" when arg is given) and the host's title
// as its caption. Returns the pressed button.
int MessageBoxRes(HWND owner, UINT stringId, UINT type, const char* arg = nullptr);
