// Profile (INI) files with the Windows calls' behaviour. Files are code page
// 1250 text; section and key names match without regard to case and
// without the blanks around them (a value written under " Key " reads back
// under "Key" and under " Key "). Nothing is
// cached: every call reads the file, every write rewrites it at once (through
// a temporary file renamed over it, so the file is always whole).
//
// Left out as the system does not rely on them: the win.ini fallback (a null
// file name reads as a missing file and cannot be written) and the registry
// mapping of profile files. A line without '=' is kept as written but is
// not a key; lines starting with ';' are comments. Values are written as
// given, so a value holding a line break would split its line.
#pragma once

#include "platform/win32/win32_types.h"

// section and key given: copies the value (trimmed, one pair of enclosing
// double quotes removed) or, when the file, section or key is missing, the
// default with its trailing blanks removed; truncated to size - 1 characters.
// Returns the characters copied (size - 1 when truncated).
// section null: the section names; key null: the section's key names; each
// name ends in a NUL and the list in one more. When the list does not fit,
// the last name is cut so that two NULs end the buffer and size - 2 is
// returned. A missing file or section gives the empty list.
DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer,
                               DWORD size, LPCSTR file);

// value null deletes the key, key null deletes the section (every section
// of that name). The file is created by the first write that adds something;
// its folder is not. Lines are written with CRLF ends; every line not
// concerned is kept. FALSE (GetLastError tells why) when the file cannot be
// written.
BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file);

// The lines of the first section of that name, each ending in a NUL and the
// list in one more: keys as "key=value" (trimmed, quotes kept), other lines
// that are not blank or comments as written. Truncated like the key list.
DWORD GetPrivateProfileSectionA(LPCSTR section, LPSTR buffer, DWORD size, LPCSTR file);

// Replaces every line of the first section of that name (made at the end
// of the file when missing) by entries: "key=value" lines, each ending in a
// NUL and the list in one more. One rewrite of the file: on failure it
// stays as it was.
BOOL WritePrivateProfileSectionA(LPCSTR section, LPCSTR entries, LPCSTR file);

// The value's leading integer: optional sign, then decimal digits, or "0x"
// and hexadecimal digits; a value without digits gives 0; a missing or empty
// value gives the default.
UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, int defaultValue, LPCSTR file);

inline DWORD GetPrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer,
                                     DWORD size, LPCSTR file) {
  return GetPrivateProfileStringA(section, key, defaultValue, buffer, size, file);
}
inline BOOL WritePrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file) {
  return WritePrivateProfileStringA(section, key, value, file);
}
inline UINT GetPrivateProfileInt(LPCSTR section, LPCSTR key, int defaultValue, LPCSTR file) {
  return GetPrivateProfileIntA(section, key, defaultValue, file);
}
