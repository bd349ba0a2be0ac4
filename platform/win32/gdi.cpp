#include "platform/win32/gdi.h"

#include <utility>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>

#include "platform/win32/error_codes.h"
#include "platform/win32/gdi_objects.h"
#include "platform/win32/gdi_raster.h"
#include "platform/win32/glyph_outline.h"
#include "platform/win32/headless_metrics.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/resources.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_model.h"

namespace gdi {

Gdi& G() {
  static Gdi* g = new Gdi;
  return *g;
}

GdiObject* Object(HGDIOBJ h) {
  auto it = G().objects.find(reinterpret_cast<uintptr_t>(h));
  return it == G().objects.end() ? nullptr : &it->second;
}

DeviceContext* Dc(HDC dc) {
  auto it = G().dcs.find(reinterpret_cast<uintptr_t>(dc));
  if (it == G().dcs.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return &it->second;
}

}  // namespace gdi

namespace {

using gdi::G;
using gdi::GdiObject;
using gdi::Kind;
using gdi::DeviceContext;
using gdi::Gdi;

HGDIOBJ NewObject(const GdiObject& o) {
  Gdi& g = G();
  g.next += 4;
  g.objects[g.next] = o;
  return reinterpret_cast<HGDIOBJ>(g.next);
}

using gdi::Object;
using gdi::Dc;

HDC NewDc(HWND window, bool memory) {
  DeviceContext d;
  d.window = window;
  d.memory = memory;
  d.state.pen = GetStockObject(BLACK_PEN);
  d.state.brush = GetStockObject(WHITE_BRUSH);
  d.state.font = GetStockObject(SYSTEM_FONT);
  Gdi& g = G();
  g.next += 4;
  g.dcs[g.next] = std::move(d);
  return reinterpret_cast<HDC>(g.next);
}

COLORREF PenColor(const DeviceContext& d) {
  GdiObject* o = Object(d.state.pen);
  return o ? o->pen.lopnColor : 0;
}

COLORREF BrushColor(HBRUSH brush) {
  GdiObject* o = Object(brush);
  return o ? o->brush.lbColor : 0;
}

bool Record(HDC dc, const char* op, std::vector<int> args, std::string text, COLORREF color) {
  DeviceContext* d = Dc(dc);
  if (!d) return false;
  GdiRecord r;
  r.window = d->memory ? nullptr : d->window;
  r.dc = dc;
  r.op = op;
  r.args = std::move(args);
  r.text = std::move(text);
  r.color = color;
  auto& j = G().journal;
  j.push_back(std::move(r));
  if (j.size() > 100000) j.pop_front();
  return true;
}

std::string TextOf(LPCSTR text, int length) {
  if (!text) return {};
  return length < 0 ? std::string(text) : std::string(text, static_cast<size_t>(length));
}

SIZE CharSizeOf(const DeviceContext& d) {
  GdiObject* o = Object(d.state.font);
  if (!o || o->kind != Kind::Font) return {headless::kDialogBaseX, headless::kFontHeight};
  return FontCharSize(static_cast<HFONT>(d.state.font));
}

}  // namespace

SIZE FontCharSize(HFONT font) {
  GdiObject* o = Object(font);
  if (!o || o->kind != Kind::Font) return {headless::kDialogBaseX, headless::kFontHeight};
  LONG h = o->font.lfHeight ? std::abs(o->font.lfHeight) : headless::kFontHeight;
  LONG w = o->font.lfWidth ? std::abs(o->font.lfWidth) : std::max(1, MulDiv(h, headless::kDialogBaseX, headless::kFontHeight));
  return {w, h};
}

bool GetSelectedLogFont(HDC dc, LOGFONTA* out) {
  DeviceContext* d = Dc(dc);
  GdiObject* o = d ? Object(d->state.font) : nullptr;
  if (!o || o->kind != Kind::Font || !out) return false;
  *out = o->font;
  return true;
}

DWORD GetSysColor(int index) {
  switch (index) {
    case COLOR_WINDOW:
    case COLOR_BTNHIGHLIGHT:
    case COLOR_HIGHLIGHTTEXT: return RGB(255, 255, 255);
    case COLOR_WINDOWTEXT:
    case COLOR_BTNTEXT:
    case COLOR_INFOTEXT:
    case COLOR_WINDOWFRAME: return RGB(0, 0, 0);
    case COLOR_HIGHLIGHT: return RGB(0, 120, 215);
    case COLOR_GRAYTEXT: return RGB(109, 109, 109);
    case COLOR_BTNSHADOW: return RGB(160, 160, 160);
    case COLOR_3DDKSHADOW: return RGB(105, 105, 105);
    case COLOR_3DLIGHT: return RGB(227, 227, 227);
    case COLOR_INFOBK: return RGB(255, 255, 225);
    case COLOR_ACTIVECAPTION: return RGB(153, 180, 209);
    case COLOR_BTNFACE:
    default: return RGB(240, 240, 240);
  }
}

HBRUSH GetSysColorBrush(int index) {
  Gdi& g = G();
  auto it = g.sysBrushes.find(index);
  if (it != g.sysBrushes.end()) return static_cast<HBRUSH>(it->second);
  GdiObject o;
  o.kind = Kind::Brush;
  o.stock = true;
  o.brush = {BS_SOLID, GetSysColor(index), 0};
  HGDIOBJ h = NewObject(o);
  g.sysBrushes[index] = h;
  return static_cast<HBRUSH>(h);
}

HGDIOBJ GetStockObject(int index) {
  Gdi& g = G();
  auto it = g.stock.find(index);
  if (it != g.stock.end()) return it->second;
  GdiObject o;
  o.stock = true;
  switch (index) {
    case WHITE_BRUSH: o.kind = Kind::Brush; o.brush = {BS_SOLID, RGB(255, 255, 255), 0}; break;
    case LTGRAY_BRUSH: o.kind = Kind::Brush; o.brush = {BS_SOLID, RGB(192, 192, 192), 0}; break;
    case GRAY_BRUSH: o.kind = Kind::Brush; o.brush = {BS_SOLID, RGB(128, 128, 128), 0}; break;
    case DKGRAY_BRUSH: o.kind = Kind::Brush; o.brush = {BS_SOLID, RGB(64, 64, 64), 0}; break;
    case BLACK_BRUSH: o.kind = Kind::Brush; o.brush = {BS_SOLID, RGB(0, 0, 0), 0}; break;
    case NULL_BRUSH: o.kind = Kind::Brush; o.brush = {BS_NULL, 0, 0}; break;
    case DC_BRUSH: o.kind = Kind::Brush; o.brush = {BS_SOLID, RGB(255, 255, 255), 0}; break;
    case WHITE_PEN: o.kind = Kind::Pen; o.pen = {PS_SOLID, {1, 0}, RGB(255, 255, 255)}; break;
    case BLACK_PEN:
    case DC_PEN: o.kind = Kind::Pen; o.pen = {PS_SOLID, {1, 0}, RGB(0, 0, 0)}; break;
    case NULL_PEN: o.kind = Kind::Pen; o.pen = {PS_NULL, {0, 0}, 0}; break;
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case ANSI_VAR_FONT:
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT:
    case SYSTEM_FIXED_FONT:
    case DEFAULT_GUI_FONT:
      o.kind = Kind::Font;
      o.font.lfHeight = -headless::kFontHeight;
      o.font.lfWeight = FW_NORMAL;
      o.font.lfCharSet = DEFAULT_CHARSET;
      std::strcpy(o.font.lfFaceName, index == DEFAULT_GUI_FONT ? "MS Shell Dlg" : "System");
      break;
    case DEFAULT_PALETTE:
      o.kind = Kind::Palette;
      o.palette = {{0, 0, 0, 0}, {255, 255, 255, 0}};
      break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
  }
  HGDIOBJ h = NewObject(o);
  g.stock[index] = h;
  return h;
}

HDC GetDC(HWND window) {
  if (window && !IsWindow(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  return NewDc(window, false);
}

HDC GetWindowDC(HWND window) {
  HDC dc = GetDC(window);
  if (DeviceContext* d = dc ? Dc(dc) : nullptr) d->wholeWindow = true;
  return dc;
}

int ReleaseDC(HWND, HDC dc) {
  auto& dcs = G().dcs;
  auto it = dcs.find(reinterpret_cast<uintptr_t>(dc));
  if (it == dcs.end() || it->second.memory) return 0;
  raster::Drop(it->second);
  dcs.erase(it);
  return 1;
}

HDC CreateCompatibleDC(HDC) { return NewDc(nullptr, true); }

BOOL DeleteDC(HDC dc) {
  auto& dcs = G().dcs;
  auto it = dcs.find(reinterpret_cast<uintptr_t>(dc));
  if (it == dcs.end()) return FALSE;
  raster::Drop(it->second);
  dcs.erase(it);
  return TRUE;
}

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
  winmodel::Window* w = winmodel::Find(window);
  if (!w || !paint) return nullptr;
  *paint = {};
  paint->hdc = NewDc(window, false);
  paint->rcPaint = w->hasUpdate ? w->update : RECT{0, 0, 0, 0};
  const bool erase = w->hasUpdate && w->updateErase;
  w->hasUpdate = false;
  w->updateErase = false;
  w->update = {};
  paint->fErase = erase;
  if (erase) paint->fErase = SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(paint->hdc), 0) ? FALSE : TRUE;
  return paint->hdc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) {
  if (!paint) return FALSE;
  ReleaseDC(window, paint->hdc);
  return TRUE;
}

int GetDeviceCaps(HDC dc, int index) {
  if (!Dc(dc)) return 0;
  const HeadlessMetrics& m = GetHeadlessMetrics();
  switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY: return m.dotsPerInch;
    case HORZRES: return m.screenWidth;
    case VERTRES: return m.screenHeight;
    case HORZSIZE: return MulDiv(m.screenWidth, 254, m.dotsPerInch * 10);
    case VERTSIZE: return MulDiv(m.screenHeight, 254, m.dotsPerInch * 10);
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case RASTERCAPS: return 0x7E99;
    default: return 0;
  }
}

HWND WindowFromDC(HDC dc) {
  DeviceContext* d = Dc(dc);
  return d ? d->window : nullptr;
}

int SaveDC(HDC dc) {
  DeviceContext* d = Dc(dc);
  if (!d) return 0;
  d->saved.push_back(d->state);
  return static_cast<int>(d->saved.size());
}

BOOL RestoreDC(HDC dc, int savedDc) {
  DeviceContext* d = Dc(dc);
  if (!d || d->saved.empty()) return FALSE;
  const int count = static_cast<int>(d->saved.size());
  const int level = savedDc < 0 ? count + savedDc + 1 : savedDc;
  if (level < 1 || level > count) return FALSE;
  if (d->state.bitmap != d->saved[static_cast<size_t>(level - 1)].bitmap) raster::Drop(*d);
  d->state = d->saved[static_cast<size_t>(level - 1)];
  d->saved.resize(static_cast<size_t>(level - 1));
  return TRUE;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  DeviceContext* d = Dc(dc);
  GdiObject* o = Object(object);
  if (!d || !o) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  HGDIOBJ* slot = nullptr;
  switch (o->kind) {
    case Kind::Pen: slot = &d->state.pen; break;
    case Kind::Brush: slot = &d->state.brush; break;
    case Kind::Font: slot = &d->state.font; break;
    case Kind::Bitmap:
      slot = &d->state.bitmap;
      raster::Drop(*d);
      break;
    case Kind::Region: return reinterpret_cast<HGDIOBJ>(1);  // SIMPLEREGION
    case Kind::Palette: SetLastError(ERROR_INVALID_HANDLE); return nullptr;  // SelectPalette
  }
  return std::exchange(*slot, object);
}

BOOL DeleteObject(HGDIOBJ object) {
  auto& objects = G().objects;
  auto it = objects.find(reinterpret_cast<uintptr_t>(object));
  if (it == objects.end()) return FALSE;
  if (!it->second.stock) objects.erase(it);
  return TRUE;
}

int GetObjectA(HGDIOBJ object, int size, LPVOID out) {
  GdiObject* o = Object(object);
  if (!o) return 0;
  const void* data = nullptr;
  int n = 0;
  switch (o->kind) {
    case Kind::Pen: data = &o->pen; n = sizeof(LOGPEN); break;
    case Kind::Brush: data = &o->brush; n = sizeof(LOGBRUSH); break;
    case Kind::Font: data = &o->font; n = sizeof(LOGFONTA); break;
    case Kind::Bitmap: data = &o->bitmap; n = sizeof(BITMAP); break;
    case Kind::Region: return 0;
    case Kind::Palette: {
      // A palette answers with its number of entries, as a WORD.
      const WORD count = static_cast<WORD>(o->palette.size());
      if (out && size >= 2) std::memcpy(out, &count, 2);
      return 2;
    }
  }
  if (!out) return n;
  n = std::min(n, size);
  if (n > 0) std::memcpy(out, data, static_cast<size_t>(n));
  return std::max(n, 0);
}

HPEN CreatePen(int style, int width, COLORREF color) {
  GdiObject o;
  o.kind = Kind::Pen;
  o.pen = {static_cast<UINT>(style), {width, 0}, color};
  return static_cast<HPEN>(NewObject(o));
}

HBRUSH CreateSolidBrush(COLORREF color) {
  GdiObject o;
  o.kind = Kind::Brush;
  o.brush = {BS_SOLID, color, 0};
  return static_cast<HBRUSH>(NewObject(o));
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
  const LOGBRUSH brush{BS_HATCHED, color, static_cast<uintptr_t>(hatch)};
  return CreateBrushIndirect(&brush);
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
  const bool known = brush && (brush->lbStyle == BS_SOLID || brush->lbStyle == BS_NULL ||
                               (brush->lbStyle == BS_HATCHED && brush->lbHatch <= HS_DIAGCROSS));
  if (!known) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  GdiObject o;
  o.kind = Kind::Brush;
  o.brush = *brush;
  return static_cast<HBRUSH>(NewObject(o));
}

HFONT CreateFontIndirectA(const LOGFONTA* font) {
  if (!font) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  GdiObject o;
  o.kind = Kind::Font;
  o.font = *font;
  o.font.lfFaceName[LF_FACESIZE - 1] = '\0';
  return static_cast<HFONT>(NewObject(o));
}

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCSTR faceName) {
  LOGFONTA f{};
  f.lfHeight = height;
  f.lfWidth = width;
  f.lfEscapement = escapement;
  f.lfOrientation = orientation;
  f.lfWeight = weight;
  f.lfItalic = static_cast<BYTE>(italic);
  f.lfUnderline = static_cast<BYTE>(underline);
  f.lfStrikeOut = static_cast<BYTE>(strikeOut);
  f.lfCharSet = static_cast<BYTE>(charSet);
  f.lfOutPrecision = static_cast<BYTE>(outPrecision);
  f.lfClipPrecision = static_cast<BYTE>(clipPrecision);
  f.lfQuality = static_cast<BYTE>(quality);
  f.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
  if (faceName) std::strncpy(f.lfFaceName, faceName, LF_FACESIZE - 1);
  return CreateFontIndirectA(&f);
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
  if (width < 0 || height < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  GdiObject o;
  o.kind = Kind::Bitmap;
  o.bitmap.bmWidth = width;
  o.bitmap.bmHeight = height;
  o.bitmap.bmPlanes = static_cast<WORD>(planes);
  o.bitmap.bmBitsPixel = static_cast<WORD>(bitsPerPixel);
  o.bitmap.bmWidthBytes = ((width * static_cast<int>(bitsPerPixel) + 15) / 16) * 2;
  HBITMAP b = static_cast<HBITMAP>(NewObject(o));
  if (bits && (bitsPerPixel == 1 || bitsPerPixel == 32)) {
    // Rows of WORD-aligned bits, top first: 1 bit is black on white.
    if (cairo_surface_t* s = raster::PixelsOf(b)) raster::SetBitmapBits(s, bits, width, height, bitsPerPixel);
  }
  return b;
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) { return CreateBitmap(width, height, 1, 32, nullptr); }

HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name) {
  if (!instance) {
    const int id = IS_INTRESOURCE(name) ? static_cast<int>(reinterpret_cast<uintptr_t>(name)) : 0;
    if (id < 32734 || id > 32767) {
      SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
      return nullptr;
    }
    auto& cache = G().systemBitmaps;
    auto it = cache.find(id);
    if (it != cache.end()) return it->second;
    HBITMAP b = id == OBM_CHECKBOXES ? CreateBitmap(52, 39, 1, 32, nullptr) : CreateBitmap(16, 16, 1, 32, nullptr);
    Object(b)->stock = true;
    raster::PaintSystemBitmap(b, id);
    cache[id] = b;
    return b;
  }
  HRSRC res = FindResourceA(instance, name, RT_BITMAP);
  if (!res) return nullptr;
  const BYTE* d = static_cast<const BYTE*>(LockResource(LoadResource(instance, res)));
  const DWORD size = SizeofResource(instance, res);
  auto u16 = [&](size_t at) { return static_cast<int>(d[at] | (d[at + 1] << 8)); };
  auto i32 = [&](size_t at) {
    return static_cast<int32_t>(static_cast<uint32_t>(d[at] | (d[at + 1] << 8) | (d[at + 2] << 16)) |
                                (static_cast<uint32_t>(d[at + 3]) << 24));
  };
  if (!d || size < 12) return nullptr;
  const int header = i32(0);
  if (header == 12) return CreateBitmap(u16(4), u16(6), 1, static_cast<UINT>(u16(10)), nullptr);
  if (size < 16) return nullptr;
  HBITMAP b = CreateBitmap(std::abs(i32(4)), std::abs(i32(8)), 1, static_cast<UINT>(u16(14)), nullptr);
  if (b) raster::LoadDib(b, d, size);
  return b;
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
  DeviceContext* d = Dc(dc);
  return d ? std::exchange(d->state.text, color) : CLR_INVALID;
}

COLORREF GetTextColor(HDC dc) {
  DeviceContext* d = Dc(dc);
  return d ? d->state.text : CLR_INVALID;
}

COLORREF SetBkColor(HDC dc, COLORREF color) {
  DeviceContext* d = Dc(dc);
  return d ? std::exchange(d->state.background, color) : CLR_INVALID;
}

COLORREF GetBkColor(HDC dc) {
  DeviceContext* d = Dc(dc);
  return d ? d->state.background : CLR_INVALID;
}

int SetBkMode(HDC dc, int mode) {
  DeviceContext* d = Dc(dc);
  return d ? std::exchange(d->state.bkMode, mode) : 0;
}

int GetBkMode(HDC dc) {
  DeviceContext* d = Dc(dc);
  return d ? d->state.bkMode : 0;
}

UINT SetTextAlign(HDC dc, UINT align) {
  DeviceContext* d = Dc(dc);
  return d ? std::exchange(d->state.textAlign, align) : GDI_ERROR;
}

UINT GetTextAlign(HDC dc) {
  DeviceContext* d = Dc(dc);
  return d ? d->state.textAlign : GDI_ERROR;
}

BOOL MoveToEx(HDC dc, int x, int y, POINT* previous) {
  DeviceContext* d = Dc(dc);
  if (!d) return FALSE;
  if (previous) *previous = d->state.position;
  d->state.position = {x, y};
  return TRUE;
}

BOOL LineTo(HDC dc, int x, int y) {
  DeviceContext* d = Dc(dc);
  if (!d) return FALSE;
  POINT from = d->state.position;
  d->state.position = {x, y};
  raster::Line(dc, from, {x, y});
  return Record(dc, "LineTo", {from.x, from.y, x, y}, {}, PenColor(*d));
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
  DeviceContext* d = Dc(dc);
  if (d) raster::Rectangle(dc, left, top, right, bottom, false);
  return d && Record(dc, "Rectangle", {left, top, right, bottom}, {}, PenColor(*d));
}

BOOL Ellipse(HDC dc, int left, int top, int right, int bottom) {
  DeviceContext* d = Dc(dc);
  if (d) raster::Rectangle(dc, left, top, right, bottom, true);
  return d && Record(dc, "Ellipse", {left, top, right, bottom}, {}, PenColor(*d));
}

namespace {
BOOL Points(HDC dc, const char* op, const POINT* points, int count) {
  DeviceContext* d = Dc(dc);
  if (!d || !points || count < 0) return FALSE;
  std::vector<int> args;
  for (int i = 0; i < count; ++i) {
    args.push_back(points[i].x);
    args.push_back(points[i].y);
  }
  raster::Poly(dc, points, count, std::strcmp(op, "Polygon") == 0);
  return Record(dc, op, std::move(args), {}, PenColor(*d));
}
}  // namespace

BOOL Polyline(HDC dc, const POINT* points, int count) { return Points(dc, "Polyline", points, count); }

BOOL Polygon(HDC dc, const POINT* points, int count) { return Points(dc, "Polygon", points, count); }

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
  if (!rect) return 0;
  raster::Fill(dc, *rect, brush);
  return Record(dc, "FillRect", {rect->left, rect->top, rect->right, rect->bottom}, {}, BrushColor(brush));
}

int FrameRect(HDC dc, const RECT* rect, HBRUSH brush) {
  if (!rect) return 0;
  raster::Frame(dc, *rect, brush);
  return Record(dc, "FrameRect", {rect->left, rect->top, rect->right, rect->bottom}, {}, BrushColor(brush));
}

BOOL DrawFocusRect(HDC dc, const RECT* rect) {
  if (!rect) return FALSE;
  raster::FocusRect(dc, *rect);
  return Record(dc, "DrawFocusRect", {rect->left, rect->top, rect->right, rect->bottom}, {}, 0);
}

BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int length) {
  DeviceContext* d = Dc(dc);
  if (!d || !Record(dc, "TextOutA", {x, y}, TextOf(text, length), d->state.text)) return FALSE;
  raster::Text(dc, x, y, TextOf(text, length), nullptr);
  G().journal.back().textAlign = d->state.textAlign;
  return TRUE;
}

int DrawTextA(HDC dc, LPCSTR text, int length, RECT* rect, UINT format) {
  DeviceContext* d = Dc(dc);
  if (!d || !rect) return 0;
  const std::string s = TextOf(text, length);
  const SIZE ch = CharSizeOf(*d);
  int lines = 0, widest = 0;
  const int perLine = std::max(1, static_cast<int>((rect->right - rect->left) / std::max(1, static_cast<int>(ch.cx))));
  size_t start = 0;
  do {
    size_t end = (format & DT_SINGLELINE) ? s.size() : s.find('\n', start);
    if (end == std::string::npos) end = s.size();
    int n = static_cast<int>(end - start);
    if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE) && n > perLine) {
      lines += (n + perLine - 1) / perLine;
      widest = std::max(widest, perLine);
    } else {
      ++lines;
      widest = std::max(widest, n);
    }
    start = end + 1;
  } while (start <= s.size() && !(format & DT_SINGLELINE));
  const int height = lines * ch.cy;
  if (format & DT_CALCRECT) {
    rect->right = rect->left + widest * ch.cx;
    rect->bottom = rect->top + height;
    return height;
  }
  Record(dc, "DrawTextA", {rect->left, rect->top, rect->right, rect->bottom, static_cast<int>(format)}, s,
         d->state.text);
  raster::DrawText(dc, s, *rect, format);
  return height;
}

BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int length, SIZE* size) {
  DeviceContext* d = Dc(dc);
  if (!d || !size || length < 0) return FALSE;
  const SIZE ch = CharSizeOf(*d);
  size->cx = ch.cx * length;
  size->cy = ch.cy;
  (void)text;
  return TRUE;
}

BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* metrics) {
  DeviceContext* d = Dc(dc);
  if (!d || !metrics) return FALSE;
  LOGFONTA font{};
  if (GetSelectedLogFont(dc, &font) && GlyphSourceTextMetrics(font, metrics)) return TRUE;
  const SIZE ch = CharSizeOf(*d);
  *metrics = {};
  metrics->tmHeight = ch.cy;
  metrics->tmAscent = ch.cy * 4 / 5;
  metrics->tmDescent = ch.cy - metrics->tmAscent;
  metrics->tmAveCharWidth = ch.cx;
  metrics->tmMaxCharWidth = 2 * ch.cx;
  GdiObject* o = Object(d->state.font);
  metrics->tmWeight = o && o->kind == Kind::Font && o->font.lfWeight ? o->font.lfWeight : FW_NORMAL;
  metrics->tmDigitizedAspectX = metrics->tmDigitizedAspectY = GetHeadlessMetrics().dotsPerInch;
  metrics->tmFirstChar = 0x20;
  metrics->tmLastChar = 0xFF;
  metrics->tmDefaultChar = '?';
  metrics->tmBreakChar = ' ';
  metrics->tmCharSet = o && o->kind == Kind::Font ? o->font.lfCharSet : DEFAULT_CHARSET;
  return TRUE;
}

BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop) {
  DeviceContext* d = Dc(dc);
  if (!d) return FALSE;
  GdiObject* o = Object(d->state.brush);
  const LOGBRUSH brush = o ? o->brush : LOGBRUSH{BS_NULL, 0, 0};
  if (!Record(dc, "PatBlt", {x, y, width, height, static_cast<int>(rop)}, {}, brush.lbColor)) return FALSE;
  raster::PatBlt(dc, x, y, width, height, rop);
  GdiRecord& r = G().journal.back();
  r.brushStyle = brush.lbStyle;
  r.brushHatch = static_cast<int>(brush.lbHatch);
  return TRUE;
}

BOOL BitBlt(HDC dc, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop) {
  raster::StretchBlt(dc, x, y, width, height, source, sourceX, sourceY, width, height, rop);
  return Record(dc, "BitBlt", {x, y, width, height, sourceX, sourceY, static_cast<int>(rop)}, {}, 0);
}

BOOL StretchBlt(HDC dc, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                int sourceWidth, int sourceHeight, DWORD rop) {
  raster::StretchBlt(dc, x, y, width, height, source, sourceX, sourceY, sourceWidth, sourceHeight, rop);
  return Record(dc, "StretchBlt",
                {x, y, width, height, sourceX, sourceY, sourceWidth, sourceHeight, static_cast<int>(rop)}, {}, 0);
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
  raster::SetPixel(dc, x, y, color);
  return Record(dc, "SetPixel", {x, y}, {}, color) ? color : CLR_INVALID;
}

COLORREF GetPixel(HDC dc, int x, int y) { return raster::GetPixel(dc, x, y); }

BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT, HBRUSH, UINT flags) {
  if (!icon) return FALSE;
  raster::Icon(dc, x, y, icon, width, height);
  return Record(dc, "DrawIconEx", {x, y, width, height, static_cast<int>(flags)}, {}, 0);
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) {
  return DrawIconEx(dc, x, y, icon, headless::kIcon, headless::kIcon, 0, nullptr, DI_NORMAL);
}

BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int width, int height) {
  DeviceContext* d = Dc(dc);
  if (!d) return FALSE;
  raster::RoundRect(dc, left, top, right, bottom, width, height);
  return Record(dc, "RoundRect", {left, top, right, bottom, width, height}, {}, PenColor(*d));
}

BOOL Arc(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
  DeviceContext* d = Dc(dc);
  if (!d) return FALSE;
  raster::Arc(dc, left, top, right, bottom, {xStart, yStart}, {xEnd, yEnd});
  return Record(dc, "Arc", {left, top, right, bottom, xStart, yStart, xEnd, yEnd}, {}, PenColor(*d));
}

BOOL ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT length, const int*) {
  DeviceContext* d = Dc(dc);
  if (!d) return FALSE;
  const std::string s = text ? std::string(text, length) : std::string();
  if ((options & ETO_OPAQUE) && rect) {
    HBRUSH b = CreateSolidBrush(d->state.background);
    raster::Fill(dc, *rect, b);
    DeleteObject(b);
  }
  if (!Record(dc, "ExtTextOutA", {x, y, static_cast<int>(options)}, s, d->state.text)) return FALSE;
  G().journal.back().textAlign = d->state.textAlign;
  const int mode = std::exchange(d->state.bkMode, (options & ETO_OPAQUE) ? TRANSPARENT : d->state.bkMode);
  raster::Text(dc, x, y, s, nullptr);
  d->state.bkMode = mode;
  return TRUE;
}

BOOL DrawEdge(HDC dc, RECT* rect, UINT edge, UINT flags) {
  if (!rect || !Dc(dc)) return FALSE;
  raster::Edge(dc, rect, edge, flags);
  return Record(dc, "DrawEdge", {rect->left, rect->top, rect->right, rect->bottom, static_cast<int>(edge),
                                 static_cast<int>(flags)}, {}, 0);
}

BOOL DrawFrameControl(HDC dc, RECT* rect, UINT type, UINT state) {
  if (!rect || !Dc(dc)) return FALSE;
  raster::FrameControl(dc, *rect, type, state);
  return Record(dc, "DrawFrameControl", {rect->left, rect->top, rect->right, rect->bottom, static_cast<int>(type),
                                         static_cast<int>(state)}, {}, 0);
}

std::vector<GdiRecord> DrawingJournal(HWND window) {
  std::vector<GdiRecord> out;
  for (const GdiRecord& r : G().journal)
    if (!window || r.window == window) out.push_back(r);
  return out;
}

void ClearDrawingJournal() { G().journal.clear(); }

HPALETTE CreatePalette(const LOGPALETTE* palette) {
  if (!palette || palette->palVersion != 0x300 || palette->palNumEntries == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  GdiObject o;
  o.kind = Kind::Palette;
  o.palette.assign(palette->palPalEntry, palette->palPalEntry + palette->palNumEntries);
  return static_cast<HPALETTE>(NewObject(o));
}

HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL) {
  DeviceContext* d = Dc(dc);
  GdiObject* o = Object(palette);
  if (!d || !o || o->kind != Kind::Palette) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  HGDIOBJ previous = d->state.palette ? d->state.palette : GetStockObject(DEFAULT_PALETTE);
  d->state.palette = palette;
  return static_cast<HPALETTE>(previous);
}

UINT RealizePalette(HDC dc) {
  DeviceContext* d = Dc(dc);
  if (!d) return GDI_ERROR;
  GdiObject* o = Object(d->state.palette);
  return o ? static_cast<UINT>(o->palette.size()) : 0;
}

UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries) {
  GdiObject* o = Object(palette);
  if (!o || o->kind != Kind::Palette) return 0;
  const UINT size = static_cast<UINT>(o->palette.size());
  if (!entries) return size;
  if (start >= size) return 0;
  const UINT n = std::min(count, size - start);
  std::copy_n(o->palette.begin() + start, n, entries);
  return n;
}

HPALETTE GetCurrentPalette(HDC dc) {
  DeviceContext* d = Dc(dc);
  if (!d) return nullptr;
  return static_cast<HPALETTE>(d->state.palette ? d->state.palette : GetStockObject(DEFAULT_PALETTE));
}
