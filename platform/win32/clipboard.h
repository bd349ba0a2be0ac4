// The clipboard and the global memory blocks it carries, inside this
// process, with the Windows rules: data is set only by whoever opened the
// clipboard and emptied it, and the clipboard owns every block it accepted
// (it frees them when emptied or replaced).
#pragma once

#include "platform/win32/error_codes.h"
#include "platform/win32/win32_types.h"

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GMEM_DDESHARE = 0x2000;
constexpr UINT GMEM_SHARE = GMEM_DDESHARE;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;

constexpr UINT CF_TEXT = 1;
constexpr UINT CF_BITMAP = 2;
constexpr UINT CF_METAFILEPICT = 3;
constexpr UINT CF_OEMTEXT = 7;
constexpr UINT CF_DIB = 8;
constexpr UINT CF_PALETTE = 9;
constexpr UINT CF_UNICODETEXT = 13;
constexpr UINT CF_ENHMETAFILE = 14;
constexpr UINT CF_LOCALE = 16;
constexpr UINT CF_DIBV5 = 17;

// Global memory. A fixed block's handle is its address; a moveable block's
// handle is not, and GlobalLock gives the address (lock counted).
// GlobalFree returns null on success, the handle when it fails (unknown
// handle, or a block the clipboard owns).
HGLOBAL GlobalAlloc(UINT flags, size_t bytes);
LPVOID GlobalLock(HGLOBAL memory);
BOOL GlobalUnlock(HGLOBAL memory);
HGLOBAL GlobalFree(HGLOBAL memory);
size_t GlobalSize(HGLOBAL memory);

// Registered formats are numbered from 0xC000; the same name in any letter
// case gives the same number. 0 for a null or empty name.
UINT RegisterClipboardFormatA(LPCSTR formatName);
// The name of a registered format (at most size - 1 characters and a NUL);
// 0 for predefined or unknown formats.
int GetClipboardFormatNameA(UINT format, LPSTR formatName, int size);

// Fails while another owner (or another thread) has the clipboard open.
BOOL OpenClipboard(HWND newOwner);
BOOL CloseClipboard();
// Frees all data; the opener becomes the owner. Only while opened.
BOOL EmptyClipboard();
// Only for the owner that opened and emptied it. A global block becomes the
// clipboard's (the caller must not free it); data of the same format is
// replaced. Returns the handle, null on failure.
HANDLE SetClipboardData(UINT format, HANDLE memory);
// Only while opened. CF_TEXT and CF_UNICODETEXT are made from each other
// when only one of them was set.
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
int CountClipboardFormats();
// The format after `format` (0 starts), 0 after the last. Only while opened.
UINT EnumClipboardFormats(UINT format);
HWND GetClipboardOwner();
HWND GetOpenClipboardWindow();
