// Folder and file calls with the Windows calls' results: paths are the
// system's code page 1250 paths, resolved like every other file access;
// FALSE (or 0) on failure with the reason in GetLastError.
#pragma once

#include "platform/win32/win32_types.h"

constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
constexpr DWORD ERROR_FILE_EXISTS = 80;

constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x1;
constexpr DWORD MOVEFILE_WRITE_THROUGH = 0x8;

// ERROR_ALREADY_EXISTS when anything of that name exists, ERROR_PATH_NOT_FOUND
// when its parent folder is missing. Security attributes are not supported
// and must be null.
BOOL CreateDirectoryA(LPCSTR path, void* securityAttributes);

// Renames a file, within one volume. Without MOVEFILE_REPLACE_EXISTING an
// existing target is an error (ERROR_ALREADY_EXISTS); with
// MOVEFILE_WRITE_THROUGH the file's data reaches the disk before the rename.
BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags);

BOOL DeleteFileA(LPCSTR path);

// Copies a file's bytes and permissions to newPath (through links at
// either end). With failIfExists an existing newPath is never touched
// (ERROR_FILE_EXISTS); the copy is readable by its owner only until it is
// whole. A failed copy leaves nothing at newPath.
BOOL CopyFileA(LPCSTR existing, LPCSTR newPath, BOOL failIfExists);

constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFFu;
constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x1;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;

// What is at path, without opening it: FILE_ATTRIBUTE_DIRECTORY for a
// folder, FILE_ATTRIBUTE_ARCHIVE for a file (with FILE_ATTRIBUTE_READONLY
// when no one may write it); INVALID_FILE_ATTRIBUTES when nothing is there
// (ERROR_FILE_NOT_FOUND, or ERROR_PATH_NOT_FOUND without its folder;
// ERROR_ACCESS_DENIED when a folder on the way may not be searched).
DWORD GetFileAttributesA(LPCSTR path);

// Creates a new empty file "<folder>\<prefix><hex>.tmp" (up to three
// characters of prefix) and copies its name into out, which holds MAX_PATH
// characters. unique must be 0 (the number is chosen so that the file is
// new). Returns the number used, 0 on failure.
UINT GetTempFileNameA(LPCSTR folder, LPCSTR prefix, UINT unique, LPSTR out);
