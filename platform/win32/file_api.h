// Kernel file handles: the Windows calls on a file opened by handle, over a
// POSIX descriptor. Paths are the system's (code page 1250, '\' separated,
// any letter case) and go through the path resolver.
//
// Share modes: a handle opened with share mode 0 holds an exclusive lock on
// the file (flock, so a second open meets it in this process and in any
// other); any other share mode takes a shared lock. An open that meets a
// conflicting lock fails with ERROR_SHARING_VIOLATION. Only opens made here
// take part; other file access ignores the locks.
//
// Sizes and positions come as 32-bit halves as on Windows; a position move
// without its high half is limited to the first 4 GB.
#pragma once

#include "platform/win32/file_system.h"  // the error codes both share
#include "platform/win32/win32_types.h"

constexpr DWORD GENERIC_READ = 0x80000000u;
constexpr DWORD GENERIC_WRITE = 0x40000000u;
constexpr DWORD FILE_SHARE_READ = 0x1;
constexpr DWORD FILE_SHARE_WRITE = 0x2;

// The dispositions the system opens files with.
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD OPEN_ALWAYS = 4;

// Attributes and flags are accepted and have no effect here.
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr DWORD FILE_ATTRIBUTE_COMPRESSED = 0x800;
constexpr DWORD FILE_FLAG_RANDOM_ACCESS = 0x10000000u;

constexpr DWORD FILE_BEGIN = 0;
constexpr DWORD FILE_CURRENT = 1;
constexpr DWORD FILE_END = 2;

constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFFu;
constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFFu;
constexpr DWORD ERROR_SHARING_VIOLATION = 32;
constexpr DWORD ERROR_NEGATIVE_SEEK = 131;

#ifndef INVALID_HANDLE_VALUE
#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1)))
#endif

// OPEN_ALWAYS creates a missing file; on an existing one it succeeds with
// ERROR_ALREADY_EXISTS as the last error. A folder is not a file.
HANDLE CreateFileA(LPCSTR fileName, DWORD access, DWORD shareMode, void* security,
                   DWORD disposition, DWORD flagsAndAttributes, HANDLE templateFile);

// Closes a file handle of this layer; FALSE for anything else.
BOOL CloseHandle(HANDLE handle);

DWORD GetFileSize(HANDLE file, DWORD* sizeHigh);

// Reads up to count bytes at the position; fewer at the end of the file.
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD count, DWORD* read, void* overlapped);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD count, DWORD* written, void* overlapped);

// Returns the new position, INVALID_SET_FILE_POINTER on failure.
DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD method);

// The file ends at the current position (shortened or zero-extended).
BOOL SetEndOfFile(HANDLE file);
