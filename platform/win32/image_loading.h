// LoadImageA for bitmaps and cursors. A bitmap: a bitmap resource of a
// module, or with a null instance one of the system's bitmaps (OBM_*,
// gdi.h); the caller owns the bitmap it gets and deletes it with
// DeleteObject, a system one included. A cursor: as LoadCursorA, at any
// size (nothing is shown headless).
#pragma once

#include "platform/win32/control_messages.h"
#include "platform/win32/gdi.h"

constexpr UINT LR_DEFAULTCOLOR = 0x0000;
constexpr UINT LR_MONOCHROME = 0x0001;
constexpr UINT LR_LOADFROMFILE = 0x0010;
constexpr UINT LR_LOADTRANSPARENT = 0x0020;
constexpr UINT LR_DEFAULTSIZE = 0x0040;
constexpr UINT LR_LOADMAP3DCOLORS = 0x1000;
constexpr UINT LR_CREATEDIBSECTION = 0x2000;
constexpr UINT LR_SHARED = 0x8000;

// IMAGE_BITMAP and IMAGE_CURSOR only: other types and LR_LOADFROMFILE are
// refused (null, ERROR_INVALID_PARAMETER). A cx or cy other than 0 gives the bitmap that
// width or height. LR_LOADTRANSPARENT changes nothing headless (nothing is
// drawn).
HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags);
