// Resources of a resource module (a compiled resource file loaded with
// LoadLibraryA): strings, icons, cursors, bitmaps and typed binary data.
// The system asks for them on AfxGetResourceHandle().
#pragma once

#include <cstdint>

#include "platform/win32/error_codes.h"
#include "platform/win32/win32_types.h"

struct HRSRC__;
using HRSRC = HRSRC__*;

#define MAKEINTRESOURCEA(i) (reinterpret_cast<LPSTR>(static_cast<uintptr_t>(static_cast<WORD>(i))))
#define MAKEINTRESOURCE(i) MAKEINTRESOURCEA(i)
#define IS_INTRESOURCE(p) ((reinterpret_cast<uintptr_t>(p) >> 16) == 0)

#define RT_CURSOR MAKEINTRESOURCEA(1)
#define RT_BITMAP MAKEINTRESOURCEA(2)
#define RT_ICON MAKEINTRESOURCEA(3)
#define RT_MENU MAKEINTRESOURCEA(4)
#define RT_DIALOG MAKEINTRESOURCEA(5)
#define RT_STRING MAKEINTRESOURCEA(6)
#define RT_RCDATA MAKEINTRESOURCEA(10)
#define RT_GROUP_CURSOR MAKEINTRESOURCEA(12)
#define RT_GROUP_ICON MAKEINTRESOURCEA(14)

// Numbers of the resource types as the compiled file stores them.
constexpr WORD kRtCursor = 1, kRtBitmap = 2, kRtIcon = 3, kRtMenu = 4, kRtDialog = 5,
               kRtString = 6, kRtRcData = 10, kRtGroupCursor = 12, kRtGroupIcon = 14;

#define IDI_APPLICATION MAKEINTRESOURCEA(32512)
#define IDI_HAND MAKEINTRESOURCEA(32513)
#define IDI_QUESTION MAKEINTRESOURCEA(32514)
#define IDI_EXCLAMATION MAKEINTRESOURCEA(32515)
#define IDI_ASTERISK MAKEINTRESOURCEA(32516)
#define IDI_WINLOGO MAKEINTRESOURCEA(32517)
#define IDI_SHIELD MAKEINTRESOURCEA(32518)
#define IDI_WARNING IDI_EXCLAMATION
#define IDI_ERROR IDI_HAND
#define IDI_INFORMATION IDI_ASTERISK

#define IDC_ARROW MAKEINTRESOURCEA(32512)
#define IDC_IBEAM MAKEINTRESOURCEA(32513)
#define IDC_WAIT MAKEINTRESOURCEA(32514)
#define IDC_CROSS MAKEINTRESOURCEA(32515)
#define IDC_UPARROW MAKEINTRESOURCEA(32516)
#define IDC_SIZENWSE MAKEINTRESOURCEA(32642)
#define IDC_SIZENESW MAKEINTRESOURCEA(32643)
#define IDC_SIZEWE MAKEINTRESOURCEA(32644)
#define IDC_SIZENS MAKEINTRESOURCEA(32645)
#define IDC_SIZEALL MAKEINTRESOURCEA(32646)
#define IDC_NO MAKEINTRESOURCEA(32648)
#define IDC_HAND MAKEINTRESOURCEA(32649)
#define IDC_APPSTARTING MAKEINTRESOURCEA(32650)
#define IDC_HELP MAKEINTRESOURCEA(32651)

// An icon or cursor: the image bytes of a resource (a whole .ico / .cur file)
// or one of the system's stock images (resource null, stockId its number).
// Loading the same resource again gives the same handle; it stays valid
// while its module is loaded.
struct HICON__ {
  HMODULE module = nullptr;
  const HRSRC__* resource = nullptr;
  WORD stockId = 0;
  const BYTE* Bytes() const;
  DWORD Size() const;
};
struct HCURSOR__ : HICON__ {};

// Null module means the program, which holds no resources.
HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL resourceData);
DWORD SizeofResource(HMODULE module, HRSRC resource);
BOOL FreeResource(HGLOBAL resourceData);  // obsolete: does nothing, FALSE

// Copies string `id` as code page 1250 text: at most size - 1 characters and
// a NUL; returns the number of characters copied. 0 when the string is
// missing (the buffer then holds an empty text) or the buffer is unusable.
int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int size);

// Null instance: the stock images (IDI_*, IDC_*).
HICON LoadIconA(HINSTANCE instance, LPCSTR name);
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
BOOL DestroyIcon(HICON icon);      // shared images: nothing to do, TRUE
BOOL DestroyCursor(HCURSOR cursor);
