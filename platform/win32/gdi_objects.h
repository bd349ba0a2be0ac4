// The drawing objects and device contexts behind the GDI handles (platform
// internal): gdi.cpp keeps them and records the calls, gdi_raster.cpp turns
// the same calls into pixels.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <vector>

#include "platform/win32/gdi.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace gdi {

enum class Kind { Pen, Brush, Font, Bitmap, Region, Palette };

// The pixels of a bitmap: a 32-bit image surface, made at the first drawing
// on the bitmap or from it.
using Pixels = std::shared_ptr<cairo_surface_t>;

struct GdiObject {
  Kind kind = Kind::Pen;
  bool stock = false;
  LOGPEN pen{};
  LOGBRUSH brush{};
  LOGFONTA font{};
  BITMAP bitmap{};
  Pixels pixels;  // Bitmap
  std::vector<PALETTEENTRY> palette;
};

struct DcState {
  HGDIOBJ pen = nullptr;
  HGDIOBJ brush = nullptr;
  HGDIOBJ font = nullptr;
  HGDIOBJ bitmap = nullptr;
  HGDIOBJ palette = nullptr;
  COLORREF text = RGB(0, 0, 0);
  COLORREF background = RGB(255, 255, 255);
  int bkMode = OPAQUE;
  UINT textAlign = TA_LEFT | TA_TOP;
  POINT position{};
};

struct DeviceContext {
  HWND window = nullptr;
  bool memory = false;
  bool wholeWindow = false;  // GetWindowDC: origin at the window's corner
  DcState state;
  std::vector<DcState> saved;
  // Where the pixels go: made at the first drawing call, dropped when the
  // bitmap of a memory context changes. Null: the context draws no pixels.
  cairo_t* cairo = nullptr;
  bool cairoTried = false;
};

struct Gdi {
  std::map<uintptr_t, GdiObject> objects;
  std::map<uintptr_t, DeviceContext> dcs;
  std::map<int, HGDIOBJ> stock;
  std::map<int, HGDIOBJ> sysBrushes;
  std::map<int, HBITMAP> systemBitmaps;
  std::deque<GdiRecord> journal;
  uintptr_t next = 0x300000;
};

Gdi& G();
GdiObject* Object(HGDIOBJ h);
DeviceContext* Dc(HDC dc);

}  // namespace gdi
