// OpenGL rendering contexts on windows (the WGL calls and GDI pixel formats)
// over off-screen Mesa contexts. A window's device context draws into a
// colour buffer of the window's client size, which follows resizes (a
// context current on the window is bound to the new buffer at once). The
// depth buffer belongs to the context. SwapBuffers keeps the finished frame
// of each window, which tests read back or write as PNG.
//
// The pixel formats: one generic RGBA double-buffered format with 32 colour
// and 24 depth bits; tests add others (a "hardware" one, an 8-bit one).
// Whatever the format says, drawing is RGBA.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/gdi.h"
#include "platform/win32/win32_types.h"

struct HGLRC__;
using HGLRC = HGLRC__*;

struct PIXELFORMATDESCRIPTOR {
  WORD nSize;
  WORD nVersion;
  DWORD dwFlags;
  BYTE iPixelType;
  BYTE cColorBits;
  BYTE cRedBits;
  BYTE cRedShift;
  BYTE cGreenBits;
  BYTE cGreenShift;
  BYTE cBlueBits;
  BYTE cBlueShift;
  BYTE cAlphaBits;
  BYTE cAlphaShift;
  BYTE cAccumBits;
  BYTE cAccumRedBits;
  BYTE cAccumGreenBits;
  BYTE cAccumBlueBits;
  BYTE cAccumAlphaBits;
  BYTE cDepthBits;
  BYTE cStencilBits;
  BYTE cAuxBuffers;
  BYTE iLayerType;
  BYTE bReserved;
  DWORD dwLayerMask;
  DWORD dwVisibleMask;
  DWORD dwDamageMask;
};
using LPPIXELFORMATDESCRIPTOR = PIXELFORMATDESCRIPTOR*;

constexpr DWORD PFD_DOUBLEBUFFER = 0x00000001;
constexpr DWORD PFD_STEREO = 0x00000002;
constexpr DWORD PFD_DRAW_TO_WINDOW = 0x00000004;
constexpr DWORD PFD_DRAW_TO_BITMAP = 0x00000008;
constexpr DWORD PFD_SUPPORT_GDI = 0x00000010;
constexpr DWORD PFD_SUPPORT_OPENGL = 0x00000020;
constexpr DWORD PFD_GENERIC_FORMAT = 0x00000040;
constexpr DWORD PFD_NEED_PALETTE = 0x00000080;
constexpr DWORD PFD_NEED_SYSTEM_PALETTE = 0x00000100;
constexpr DWORD PFD_SWAP_EXCHANGE = 0x00000200;
constexpr DWORD PFD_SWAP_COPY = 0x00000400;
constexpr DWORD PFD_SWAP_LAYER_BUFFERS = 0x00000800;
constexpr DWORD PFD_GENERIC_ACCELERATED = 0x00001000;
constexpr BYTE PFD_TYPE_RGBA = 0;
constexpr BYTE PFD_TYPE_COLORINDEX = 1;
constexpr BYTE PFD_MAIN_PLANE = 0;

constexpr DWORD ERROR_INVALID_PIXEL_FORMAT = 2000;

// Fills the description of format `index` (1-based) when `descriptor` is
// given; returns the number of formats, 0 for an unknown index.
int DescribePixelFormat(HDC dc, int index, UINT size, LPPIXELFORMATDESCRIPTOR descriptor);
// The first format holding every flag of the request that matters
// (window, bitmap, GDI, OpenGL, double buffer, generic) with its pixel type;
// else the first of that pixel type; 0 when none.
int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor);
// Once per window: setting another format later fails.
BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* descriptor);
int GetPixelFormat(HDC dc);
// Finishes the drawing of the context current on the window and keeps it as
// the window's frame.
BOOL SwapBuffers(HDC dc);

HGLRC wglCreateContext(HDC dc);
BOOL wglDeleteContext(HGLRC context);
// A null context releases the thread's current one.
BOOL wglMakeCurrent(HDC dc, HGLRC context);
HGLRC wglGetCurrentContext();
HDC wglGetCurrentDC();

// Starts loading the renderer on a thread of its own where it is loaded at
// first use, so that a window about to draw (a dialog whose preview is
// filled after a long read) finds it loaded; a load that fails here is
// reported at the first use as before. Nothing where it is linked directly.
void PrepareOpenGLRenderer();

// --- For tests -----------------------------------------------------------

// Whether the renderer is loaded: it is at the first call of an OpenGL or
// context function (always, where it is linked directly).
bool OpenGLRendererLoaded();

// One finished frame: RGBA rows from the top.
struct GlFrame {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;
  // The pixel at (x, y) from the top left as 0xRRGGBB.
  uint32_t Rgb(int x, int y) const;
};
// The frame the window's last SwapBuffers kept; false when there is none.
bool GetWindowFrame(HWND window, GlFrame* frame);
// Writes the frame as an 8-bit RGB PNG (no alpha); false when it cannot be
// written.
bool WriteFramePng(const GlFrame& frame, const std::string& path);

// Adds a pixel format after the standard one; returns its index.
int AddPixelFormat(const PIXELFORMATDESCRIPTOR& descriptor);
// Replaces every format (a window keeps the index it has set).
void SetPixelFormats(const std::vector<PIXELFORMATDESCRIPTOR>& formats);
// Back to the one standard format (windows keep the formats they have set).
void ResetPixelFormats();
