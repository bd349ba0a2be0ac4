// Pixels under the GDI calls (platform internal). A memory device context
// draws into the bitmap selected into it; a window's device context draws
// into the canvas of the window tree it belongs to while one is open (see
// window_pictures.h), else into nothing, as before. Drawing goes through
// cairo at one device pixel per logical unit; fonts are matched by
// fontconfig ("MS Sans Serif", "MS Shell Dlg" and the like become a Liberation
// or DejaVu sans of the font's pixel height).
#pragma once

#include <string>
#include <vector>

#include "platform/win32/gdi_objects.h"

namespace raster {

// The context a device context draws its pixels with; null when it draws
// none. Made at the first call and kept until the context goes.
cairo_t* Of(HDC dc);
// Forgets the drawing context of a device context (released, deleted, or
// its bitmap changed).
void Drop(gdi::DeviceContext& d);

// The pixels of a bitmap (made at the first need, black as a new bitmap is);
// null for an empty or oversized one.
cairo_surface_t* PixelsOf(HBITMAP bitmap);
// Gives `to` a copy of `from`'s pixels (same size, or the overlap).
void CopyPixels(HBITMAP from, HBITMAP to);
// Fills the pixels from rows of WORD-aligned bits, top row first (1 bit:
// black for 0, white for 1; 32 bits: blue, green, red, unused).
void SetBitmapBits(cairo_surface_t* pixels, const void* bits, int width, int height, UINT bitsPerPixel);
// Reads a packed device-independent bitmap (header, colour table, bits)
// into the bitmap's pixels; false for a kind it cannot read.
bool LoadDib(HBITMAP bitmap, const BYTE* data, size_t size);
// The image of an icon file (.ico bytes) nearest to `size` pixels, as a
// premultiplied ARGB surface the caller destroys; null for one it cannot
// read (images of BITMAPINFOHEADER form, 1 to 32 bits, up to 256 pixels).
cairo_surface_t* IconImage(const BYTE* data, size_t length, int size);
// Paints the look of the system bitmap `id` (OBM_*) into the bitmap.
void PaintSystemBitmap(HBITMAP bitmap, int id);

// Window canvases: while a window has one, device contexts of the window
// and of its descendants draw into the surface, whose (0, 0) lies at the
// screen point `origin`.
void OpenCanvas(HWND window, cairo_surface_t* surface, POINT origin);
void CloseCanvas(HWND window);
bool HasCanvas(HWND window);
// Copies RGBA rows (top first) into the window's client area on its canvas.
void PutClientPixels(HWND window, const unsigned char* rgba, int width, int height);

// The drawing calls, after gdi.cpp has recorded them.
void Line(HDC dc, POINT from, POINT to);
void Rectangle(HDC dc, int left, int top, int right, int bottom, bool ellipse);
void Poly(HDC dc, const POINT* points, int count, bool closed);
void RoundRect(HDC dc, int left, int top, int right, int bottom, int width, int height);
void Arc(HDC dc, int left, int top, int right, int bottom, POINT start, POINT end);
void Fill(HDC dc, const RECT& rect, HBRUSH brush);
void Frame(HDC dc, const RECT& rect, HBRUSH brush);
void FocusRect(HDC dc, const RECT& rect);
void Text(HDC dc, int x, int y, const std::string& text, const RECT* opaque);
void DrawText(HDC dc, const std::string& text, const RECT& rect, UINT format);
void PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);
void StretchBlt(HDC dc, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, int sourceWidth,
                int sourceHeight, DWORD rop);
void SetPixel(HDC dc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC dc, int x, int y);
void Icon(HDC dc, int x, int y, HICON icon, int width, int height);
void Edge(HDC dc, RECT* rect, UINT edge, UINT flags);
void FrameControl(HDC dc, const RECT& rect, UINT type, UINT state);

// Helpers of the painters of the stock controls, on a drawing context.
void SetColor(cairo_t* cr, COLORREF color);
void FillRect(cairo_t* cr, const RECT& rect, COLORREF color);
// The look of a font (null: the dialog font) at its pixel size.
void UseFont(cairo_t* cr, HFONT font);
// Width of a code page 1250 text in the font in use, in pixels.
double TextWidth(cairo_t* cr, const std::string& text);
// The font's line height and ascent in pixels.
double LineHeight(cairo_t* cr);
double Ascent(cairo_t* cr);
// Draws a text with its top-left corner at (x, y) in the font in use.
void TextAt(cairo_t* cr, double x, double y, const std::string& text, COLORREF color);
// Draws text into a rectangle as DrawText would (DT_* formats, & marks
// the next character unless DT_NOPREFIX). With DT_END_ELLIPSIS a text that
// does not fit, across or down, ends its last line seen with "...".
void TextIn(cairo_t* cr, const std::string& text, const RECT& rect, UINT format, COLORREF color);
// The lines of a text (line breaks kept), wrapped at word boundaries to the
// width when asked.
std::vector<std::string> TextLines(cairo_t* cr, const std::string& text, double width, bool wrap);
// The texts TextIn could not show whole since the last clear, and whether
// each ended with an ellipsis: what pictures are checked by.
struct CutText {
  std::string text;
  bool ellipsis = false;
};
const std::vector<CutText>& CutTexts();
void ClearCutTexts();
// An icon's look: the stock ones (IDI_*) as their signs, others as the
// application's sign.
void IconAt(cairo_t* cr, HICON icon, int x, int y, int size);

}  // namespace raster
