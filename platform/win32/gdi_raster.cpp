#include "platform/win32/gdi_raster.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#include "platform/win32/classic_look.h"
#include "platform/win32/code_page.h"
#include "platform/win32/resources.h"
#include "platform/win32/window_model.h"

namespace raster {
namespace {

using gdi::Dc;
using gdi::GdiObject;
using gdi::Kind;
using gdi::Object;

// Larger bitmaps keep no pixels (a runaway size would take the memory).
constexpr long kMaxPixels = 64L * 1024 * 1024;

struct Canvas {
  cairo_surface_t* surface = nullptr;
  POINT origin{};
};

std::map<HWND, Canvas>& Canvases() {
  static auto* canvases = new std::map<HWND, Canvas>;
  return *canvases;
}

// A place to draw: a surface, where the context's (0, 0) lies on it and the
// part it may touch, in surface pixels.
struct Target {
  cairo_surface_t* surface = nullptr;
  int x = 0, y = 0;
  RECT clip{};
};

RECT Intersect(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

RECT Offset(RECT r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

std::optional<Target> WindowTarget(const gdi::DeviceContext& d) {
  winmodel::Window* w = winmodel::Find(d.window);
  if (!w) return std::nullopt;
  // The nearest window up the tree holding a canvas.
  const Canvas* canvas = nullptr;
  for (winmodel::Window* up = w; up && !up->IsDesktop(); up = up->parent) {
    auto it = Canvases().find(up->handle);
    if (it != Canvases().end()) {
      canvas = &it->second;
      break;
    }
    if (!up->IsChild()) break;
  }
  if (!canvas) return std::nullopt;
  Target t;
  t.surface = canvas->surface;
  const POINT client = winmodel::ClientOrigin(w);
  const RECT screen = winmodel::ScreenRect(w);
  const POINT at = d.wholeWindow ? POINT{screen.left, screen.top} : client;
  t.x = at.x - canvas->origin.x;
  t.y = at.y - canvas->origin.y;
  RECT area = d.wholeWindow ? screen : Offset(winmodel::ClientArea(w), screen.left, screen.top);
  // Children are clipped to their parents' client areas.
  for (winmodel::Window* up = w; up->IsChild() && up->parent && !up->parent->IsDesktop(); up = up->parent) {
    const POINT o = winmodel::ClientOrigin(up->parent);
    area = Intersect(area, RECT{o.x, o.y, o.x + winmodel::ClientWidth(up->parent), o.y + winmodel::ClientHeight(up->parent)});
  }
  area = Offset(area, -canvas->origin.x, -canvas->origin.y);
  t.clip = Intersect(area, RECT{0, 0, cairo_image_surface_get_width(t.surface), cairo_image_surface_get_height(t.surface)});
  return t;
}

std::optional<Target> TargetOf(HDC dc) {
  gdi::DeviceContext* d = Dc(dc);
  if (!d) return std::nullopt;
  if (!d->memory) return WindowTarget(*d);
  cairo_surface_t* s = PixelsOf(static_cast<HBITMAP>(d->state.bitmap));
  if (!s) return std::nullopt;
  Target t;
  t.surface = s;
  t.clip = {0, 0, cairo_image_surface_get_width(s), cairo_image_surface_get_height(s)};
  return t;
}

uint32_t Pixel(COLORREF c) { return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

const LOGPEN* PenOf(const gdi::DeviceContext& d) {
  GdiObject* o = Object(d.state.pen);
  return o && o->kind == Kind::Pen ? &o->pen : nullptr;
}

const LOGBRUSH* BrushOf(HGDIOBJ h) {
  GdiObject* o = Object(h);
  return o && o->kind == Kind::Brush ? &o->brush : nullptr;
}

// Whether the hatch of a brush covers the pixel (x, y).
bool HatchCovers(int hatch, int x, int y) {
  x &= 7;
  y &= 7;
  switch (hatch) {
    case HS_HORIZONTAL: return y == 7;
    case HS_VERTICAL: return x == 7;
    case HS_FDIAGONAL: return x == y;
    case HS_BDIAGONAL: return x == 7 - y;
    case HS_CROSS: return x == 7 || y == 7;
    case HS_DIAGCROSS: return x == y || x == 7 - y;
    default: return true;
  }
}

// The brush's colour at a pixel (brush origin at the surface's corner), or
// nothing where it leaves the pixel alone.
std::optional<uint32_t> BrushPixel(const LOGBRUSH& b, const gdi::DeviceContext& d, int x, int y) {
  if (b.lbStyle == BS_NULL) return std::nullopt;
  if (b.lbStyle == BS_HATCHED && !HatchCovers(static_cast<int>(b.lbHatch), x, y)) {
    if (d.state.bkMode == TRANSPARENT) return std::nullopt;
    return Pixel(d.state.background);
  }
  return Pixel(b.lbColor);
}

cairo_pattern_t* BrushPattern(const LOGBRUSH& b, const gdi::DeviceContext& d, const Target& t) {
  if (b.lbStyle != BS_HATCHED) {
    return cairo_pattern_create_rgb(GetRValue(b.lbColor) / 255.0, GetGValue(b.lbColor) / 255.0,
                                    GetBValue(b.lbColor) / 255.0);
  }
  cairo_surface_t* tile = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 8, 8);
  cairo_surface_flush(tile);
  auto* data = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(tile));
  const int stride = cairo_image_surface_get_stride(tile) / 4;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) data[y * stride + x] = BrushPixel(b, d, x, y).value_or(0);
  cairo_surface_mark_dirty(tile);
  cairo_pattern_t* p = cairo_pattern_create_for_surface(tile);
  cairo_surface_destroy(tile);
  cairo_pattern_set_extend(p, CAIRO_EXTEND_REPEAT);
  // Hatches line up with the surface, not with the context's origin.
  cairo_matrix_t m;
  cairo_matrix_init_translate(&m, t.x, t.y);
  cairo_pattern_set_matrix(p, &m);
  return p;
}

// Sets the pen for a stroke; false for the null pen. Returns the stroke's
// offset so that thin lines fall on pixel centres.
bool UsePen(cairo_t* cr, const gdi::DeviceContext& d, double* offset) {
  const LOGPEN* pen = PenOf(d);
  const UINT style = pen ? pen->lopnStyle & 0xF : PS_SOLID;
  if (style == PS_NULL) return false;
  const int width = pen ? std::max(1, static_cast<int>(pen->lopnWidth.x)) : 1;
  SetColor(cr, pen ? pen->lopnColor : 0);
  cairo_set_line_width(cr, width);
  *offset = (width % 2) ? 0.5 : 0.0;
  static const double dash[] = {18, 6}, dot[] = {3, 3}, dashDot[] = {9, 6, 3, 6}, dashDotDot[] = {9, 3, 3, 3, 3, 3};
  if (width == 1 && style == PS_DASH) cairo_set_dash(cr, dash, 2, 0);
  else if (width == 1 && style == PS_DOT) cairo_set_dash(cr, dot, 2, 0);
  else if (width == 1 && style == PS_DASHDOT) cairo_set_dash(cr, dashDot, 4, 0);
  else if (width == 1 && style == PS_DASHDOTDOT) cairo_set_dash(cr, dashDotDot, 6, 0);
  else cairo_set_dash(cr, nullptr, 0, 0);
  cairo_set_line_cap(cr, width == 1 ? CAIRO_LINE_CAP_BUTT : CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
  return true;
}

// Fills the current path with the selected brush (kept as the path).
void FillWithBrush(cairo_t* cr, HDC dc) {
  gdi::DeviceContext* d = Dc(dc);
  const LOGBRUSH* b = d ? BrushOf(d->state.brush) : nullptr;
  if (!b || b->lbStyle == BS_NULL) return;
  std::optional<Target> t = TargetOf(dc);
  if (!t) return;
  cairo_pattern_t* p = BrushPattern(*b, *d, *t);
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);
  cairo_fill_preserve(cr);
}

// The pixel-wise raster operations of the blits.
uint32_t Rop(DWORD rop, uint32_t dst, uint32_t src, uint32_t pat) {
  switch (rop) {
    case SRCCOPY: return src;
    case SRCPAINT: return src | dst;
    case SRCAND: return src & dst;
    case SRCINVERT: return src ^ dst;
    case PATCOPY: return pat;
    case PATINVERT: return pat ^ dst;
    case DSTINVERT: return ~dst;
    case BLACKNESS: return 0;
    case WHITENESS: return 0xFFFFFF;
    case 0x00330008: return ~src;               // NOTSRCCOPY
    case 0x00BB0226: return ~src | dst;         // MERGEPAINT
    case 0x00C000CA: return src & pat;          // MERGECOPY
    case 0x00440328: return src & ~dst;         // SRCERASE
    default: return src;
  }
}

bool UsesSource(DWORD rop) { return ((rop >> 2) ^ rop) & 0x330000; }

struct PixelView {
  uint32_t* data = nullptr;
  int stride = 0;  // in pixels
  int width = 0, height = 0;
};

PixelView ViewOf(cairo_surface_t* s) {
  cairo_surface_flush(s);
  PixelView v;
  v.data = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s));
  v.stride = cairo_image_surface_get_stride(s) / 4;
  v.width = cairo_image_surface_get_width(s);
  v.height = cairo_image_surface_get_height(s);
  return v;
}

std::string FaceFor(const char* name, BYTE pitchAndFamily) {
  std::string n = name;
  auto has = [&](const char* part) {
    std::string a = n, b = part;
    for (char& c : a) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return a.find(b) != std::string::npos;
  };
  if (has("courier") || has("fixed") || has("consol") || has("mono") || (pitchAndFamily & 3) == 1)
    return "Liberation Mono";
  if (has("times") || (has("serif") && !has("sans"))) return "Liberation Serif";
  return "Liberation Sans";
}

void UseLogFont(cairo_t* cr, const LOGFONTA& f) {
  const std::string face = FaceFor(f.lfFaceName, f.lfPitchAndFamily);
  cairo_select_font_face(cr, face.c_str(), f.lfItalic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                         f.lfWeight >= 600 ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  // A negative height is the character's em size; a positive one its cell.
  double size = f.lfHeight < 0 ? -f.lfHeight : f.lfHeight > 0 ? f.lfHeight / 1.15 : 11.0;
  cairo_set_font_size(cr, std::clamp(size, 1.0, 400.0));
}

void UseDcFont(cairo_t* cr, const gdi::DeviceContext& d) {
  GdiObject* o = Object(d.state.font);
  if (o && o->kind == Kind::Font) {
    LOGFONTA f = o->font;
    // The system font is the dialog font's larger sibling.
    if (o->stock && std::strcmp(f.lfFaceName, "System") == 0) f.lfWeight = FW_BOLD;
    UseLogFont(cr, f);
  } else {
    UseFont(cr, nullptr);
  }
}

void UnderlineChar(cairo_t* cr, double x, double baseline, double width) {
  cairo_save(cr);
  cairo_set_line_width(cr, 1);
  cairo_move_to(cr, std::floor(x), std::floor(baseline) + 1.5);
  cairo_line_to(cr, std::floor(x + width), std::floor(baseline) + 1.5);
  cairo_stroke(cr);
  cairo_restore(cr);
}

// One line of DrawText's output: its text and where & marked a character.
struct TextLine {
  std::string text;
  int mark = -1;
};

TextLine Unprefix(const std::string& s, bool prefix) {
  TextLine l;
  if (!prefix) {
    l.text = s;
    return l;
  }
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '&' && i + 1 < s.size()) {
      ++i;
      if (s[i] != '&' && l.mark < 0) l.mark = static_cast<int>(l.text.size());
    }
    l.text += s[i];
  }
  return l;
}

std::vector<std::string> WrapLine(cairo_t* cr, const std::string& line, double width) {
  std::vector<std::string> out;
  std::string current;
  size_t i = 0;
  while (i < line.size()) {
    size_t end = line.find(' ', i);
    if (end == std::string::npos) end = line.size();
    std::string word = line.substr(i, end - i);
    std::string candidate = current.empty() ? word : current + " " + word;
    if (!current.empty() && TextWidth(cr, candidate) > width) {
      out.push_back(current);
      current = word;
    } else {
      current = candidate;
    }
    i = end + 1;
  }
  out.push_back(current);
  return out;
}

cairo_t* MakeContext(const Target& t) {
  cairo_t* cr = cairo_create(t.surface);
  cairo_rectangle(cr, t.clip.left, t.clip.top, t.clip.right - t.clip.left, t.clip.bottom - t.clip.top);
  cairo_clip(cr);
  cairo_translate(cr, t.x, t.y);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
  return cr;
}

void Destroy(cairo_surface_t* s) { cairo_surface_destroy(s); }

}  // namespace

cairo_surface_t* IconImage(const BYTE* d, size_t n, int size) {
  auto u16 = [&](size_t at) { return static_cast<uint32_t>(d[at] | (d[at + 1] << 8)); };
  auto u32 = [&](size_t at) { return u16(at) | (u16(at + 2) << 16); };
  if (!d || n < 6 || u16(2) != 1) return nullptr;
  const uint32_t count = u16(4);
  if (n < 6 + 16 * static_cast<size_t>(count)) return nullptr;
  int best = -1, bestSize = 0;
  for (uint32_t i = 0; i < count; ++i) {
    const int w = d[6 + 16 * i] ? d[6 + 16 * i] : 256;
    const bool better = best < 0 || (bestSize < size ? w > bestSize : w >= size && w < bestSize);
    if (better) best = static_cast<int>(i), bestSize = w;
  }
  if (best < 0) return nullptr;
  const size_t entry = 6 + 16 * static_cast<size_t>(best);
  const size_t length = u32(entry + 8), offset = u32(entry + 12);
  if (offset > n || length > n - offset || length < 40) return nullptr;
  const BYTE* b = d + offset;
  auto b16 = [&](size_t at) { return static_cast<uint32_t>(b[at] | (b[at + 1] << 8)); };
  auto b32 = [&](size_t at) { return b16(at) | (b16(at + 2) << 16); };
  const uint32_t header = b32(0);
  const int w = static_cast<int32_t>(b32(4)), h = static_cast<int32_t>(b32(8)) / 2;
  const int bits = static_cast<int>(b16(14));
  if (header < 40 || header > length || w <= 0 || h <= 0 || w > 256 || h > 256) return nullptr;
  const uint32_t colours = bits <= 8 ? (b32(32) ? b32(32) : 1u << bits) : 0;
  const size_t table = header, pixels = table + 4 * static_cast<size_t>(colours);
  const size_t stride = ((static_cast<size_t>(w) * bits + 31) / 32) * 4;
  const size_t maskStride = ((static_cast<size_t>(w) + 31) / 32) * 4;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return nullptr;
  if (pixels > length || stride * h > length - pixels) return nullptr;
  const bool hasMask = pixels + stride * h + maskStride * h <= length;
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  PixelView v = ViewOf(s);
  for (int y = 0; y < h; ++y) {
    const BYTE* row = b + pixels + stride * static_cast<size_t>(h - 1 - y);
    const BYTE* mask = b + pixels + stride * h + maskStride * static_cast<size_t>(h - 1 - y);
    for (int x = 0; x < w; ++x) {
      uint32_t r = 0, g = 0, bl = 0, a = 255;
      if (bits >= 24) {
        const BYTE* p = row + static_cast<size_t>(x) * (bits / 8);
        bl = p[0], g = p[1], r = p[2];
        if (bits == 32) a = p[3];
      } else {
        const int per = 8 / bits;
        const uint32_t index = (row[x / per] >> ((per - 1 - x % per) * bits)) & ((1u << bits) - 1);
        if (index < colours) {
          const BYTE* q = b + table + 4 * index;
          bl = q[0], g = q[1], r = q[2];
        }
      }
      if (bits != 32 && hasMask && ((mask[x / 8] >> (7 - x % 8)) & 1)) a = 0;
      v.data[y * v.stride + x] = (a << 24) | ((r * a / 255) << 16) | ((g * a / 255) << 8) | (bl * a / 255);
    }
  }
  cairo_surface_mark_dirty(s);
  return s;
}

cairo_t* Of(HDC dc) {
  gdi::DeviceContext* d = Dc(dc);
  if (!d) return nullptr;
  if (!d->cairoTried) {
    d->cairoTried = true;
    if (std::optional<Target> t = TargetOf(dc)) d->cairo = MakeContext(*t);
  }
  return d->cairo;
}

void Drop(gdi::DeviceContext& d) {
  if (d.cairo) cairo_destroy(d.cairo);
  d.cairo = nullptr;
  d.cairoTried = false;
}

cairo_surface_t* PixelsOf(HBITMAP bitmap) {
  GdiObject* o = Object(bitmap);
  if (!o || o->kind != Kind::Bitmap) return nullptr;
  if (o->pixels) return o->pixels.get();
  const long w = o->bitmap.bmWidth, h = o->bitmap.bmHeight;
  if (w <= 0 || h <= 0 || w * h > kMaxPixels) return nullptr;
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, static_cast<int>(w), static_cast<int>(h));
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(s);
    return nullptr;
  }
  o->pixels = gdi::Pixels(s, Destroy);
  return s;
}

void CopyPixels(HBITMAP from, HBITMAP to) {
  GdiObject* a = Object(from);
  if (!a || !a->pixels) return;
  cairo_surface_t* d = PixelsOf(to);
  if (!d) return;
  cairo_t* cr = cairo_create(d);
  cairo_set_source_surface(cr, a->pixels.get(), 0, 0);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_paint(cr);
  cairo_destroy(cr);
}

void SetBitmapBits(cairo_surface_t* pixels, const void* bits, int width, int height, UINT bitsPerPixel) {
  PixelView v = ViewOf(pixels);
  const auto* b = static_cast<const BYTE*>(bits);
  const size_t stride = ((static_cast<size_t>(width) * bitsPerPixel + 15) / 16) * 2;
  for (int y = 0; y < std::min(height, v.height); ++y)
    for (int x = 0; x < std::min(width, v.width); ++x) {
      const BYTE* row = b + stride * static_cast<size_t>(y);
      uint32_t c = 0;
      if (bitsPerPixel == 1) c = (row[x / 8] >> (7 - x % 8)) & 1 ? 0xFFFFFF : 0;
      else c = static_cast<uint32_t>(row[4 * x] | (row[4 * x + 1] << 8) | (row[4 * x + 2] << 16));
      v.data[y * v.stride + x] = 0xFF000000u | c;
    }
  cairo_surface_mark_dirty(pixels);
}

bool LoadDib(HBITMAP bitmap, const BYTE* data, size_t size) {
  auto u16 = [&](size_t at) { return static_cast<uint32_t>(data[at] | (data[at + 1] << 8)); };
  auto u32 = [&](size_t at) { return u16(at) | (u16(at + 2) << 16); };
  if (!data || size < 40 || u32(0) < 40 || u32(0) > size) return false;
  const uint32_t header = u32(0);
  const int width = static_cast<int32_t>(u32(4));
  const int rawHeight = static_cast<int32_t>(u32(8));
  const int bits = static_cast<int>(u16(14));
  const uint32_t compression = u32(16);
  if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN || compression != 0) return false;
  const int height = std::abs(rawHeight);
  uint32_t colours = u32(32);
  if (bits <= 8 && colours == 0) colours = 1u << bits;
  if (bits > 8) colours = 0;
  const size_t table = header;
  const size_t pixels = table + 4 * static_cast<size_t>(colours);
  const size_t stride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return false;
  if (pixels > size || static_cast<size_t>(height) > (size - pixels) / stride) return false;
  cairo_surface_t* s = PixelsOf(bitmap);
  if (!s) return false;
  PixelView v = ViewOf(s);
  for (int y = 0; y < std::min(height, v.height); ++y) {
    const int row = rawHeight > 0 ? height - 1 - y : y;
    const BYTE* line = data + pixels + stride * static_cast<size_t>(row);
    for (int x = 0; x < std::min(width, v.width); ++x) {
      uint32_t c = 0;
      if (bits >= 24) {
        const BYTE* p = line + static_cast<size_t>(x) * (bits / 8);
        c = 0xFF000000u | (p[2] << 16) | (p[1] << 8) | p[0];
      } else {
        const int per = 8 / bits;
        const int index = (line[x / per] >> ((per - 1 - x % per) * bits)) & ((1 << bits) - 1);
        if (static_cast<uint32_t>(index) < colours) {
          const BYTE* q = data + table + 4 * static_cast<size_t>(index);
          c = 0xFF000000u | (q[2] << 16) | (q[1] << 8) | q[0];
        }
      }
      v.data[y * v.stride + x] = c;
    }
  }
  cairo_surface_mark_dirty(s);
  return true;
}

void PaintSystemBitmap(HBITMAP bitmap, int id) {
  cairo_surface_t* s = PixelsOf(bitmap);
  if (!s) return;
  cairo_t* cr = cairo_create(s);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
  SetColor(cr, GetSysColor(COLOR_BTNFACE));
  cairo_paint(cr);
  if (id == OBM_COMBO) {
    // The drop-down arrow: a small black triangle pointing down.
    SetColor(cr, 0);
    const double cx = w / 2.0, cy = h / 2.0;
    cairo_move_to(cr, cx - 4, cy - 2);
    cairo_line_to(cr, cx + 4, cy - 2);
    cairo_line_to(cr, cx, cy + 2);
    cairo_close_path(cr);
    cairo_fill(cr);
  }
  cairo_destroy(cr);
}

void OpenCanvas(HWND window, cairo_surface_t* surface, POINT origin) { Canvases()[window] = {surface, origin}; }

void CloseCanvas(HWND window) {
  Canvases().erase(window);
  // Contexts made on it would draw into a surface that is going.
  for (auto& [h, d] : gdi::G().dcs)
    if (!d.memory && d.cairo) Drop(d);
}

bool HasCanvas(HWND window) {
  winmodel::Window* w = winmodel::Find(window);
  for (; w && !w->IsDesktop(); w = w->parent) {
    if (Canvases().count(w->handle)) return true;
    if (!w->IsChild()) break;
  }
  return false;
}

void PutClientPixels(HWND window, const unsigned char* rgba, int width, int height) {
  gdi::DeviceContext d;
  d.window = window;
  std::optional<Target> t = WindowTarget(d);
  if (!t || !rgba || width <= 0 || height <= 0) return;
  PixelView v = ViewOf(t->surface);
  for (int y = std::max(0, static_cast<int>(t->clip.top) - t->y); y < height; ++y) {
    const int sy = y + t->y;
    if (sy >= t->clip.bottom) break;
    for (int x = std::max(0, static_cast<int>(t->clip.left) - t->x); x < width; ++x) {
      const int sx = x + t->x;
      if (sx >= t->clip.right) break;
      const unsigned char* p = rgba + (static_cast<size_t>(y) * width + x) * 4;
      v.data[sy * v.stride + sx] = 0xFF000000u | (p[0] << 16) | (p[1] << 8) | p[2];
    }
  }
  cairo_surface_mark_dirty(t->surface);
}

void Line(HDC dc, POINT from, POINT to) {
  cairo_t* cr = Of(dc);
  gdi::DeviceContext* d = Dc(dc);
  double o = 0;
  if (!cr || !UsePen(cr, *d, &o)) return;
  cairo_move_to(cr, from.x + o, from.y + o);
  cairo_line_to(cr, to.x + o, to.y + o);
  cairo_stroke(cr);
}

void Rectangle(HDC dc, int left, int top, int right, int bottom, bool ellipse) {
  cairo_t* cr = Of(dc);
  gdi::DeviceContext* d = Dc(dc);
  if (!cr) return;
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  auto path = [&](double inset) {
    cairo_new_path(cr);
    const double w = right - left - 2 * inset, h = bottom - top - 2 * inset;
    if (w <= 0 || h <= 0) return;
    if (!ellipse) {
      cairo_rectangle(cr, left + inset, top + inset, w, h);
      return;
    }
    cairo_save(cr);
    cairo_translate(cr, left + inset + w / 2, top + inset + h / 2);
    cairo_scale(cr, w / 2, h / 2);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
  };
  // Shapes are aliased, as the graphics device interface draws them.
  path(0);
  FillWithBrush(cr, dc);
  double o = 0;
  if (UsePen(cr, *d, &o)) {
    const LOGPEN* pen = PenOf(*d);
    const int width = pen ? std::max(1, static_cast<int>(pen->lopnWidth.x)) : 1;
    path(width / 2.0);
    cairo_stroke(cr);
  }
  cairo_new_path(cr);
}

void Poly(HDC dc, const POINT* points, int count, bool closed) {
  cairo_t* cr = Of(dc);
  gdi::DeviceContext* d = Dc(dc);
  if (!cr || count < 2) return;
  double o = 0.5;
  cairo_new_path(cr);
  for (int i = 0; i < count; ++i) cairo_line_to(cr, points[i].x + o, points[i].y + o);
  if (closed) {
    cairo_close_path(cr);
    FillWithBrush(cr, dc);
  }
  if (UsePen(cr, *d, &o)) cairo_stroke(cr);
  cairo_new_path(cr);
}

void RoundRect(HDC dc, int left, int top, int right, int bottom, int width, int height) {
  cairo_t* cr = Of(dc);
  gdi::DeviceContext* d = Dc(dc);
  if (!cr) return;
  const double rx = std::max(0, width) / 2.0, ry = std::max(0, height) / 2.0;
  auto path = [&](double i) {
    cairo_new_path(cr);
    const double l = left + i, t = top + i, r = right - i, b = bottom - i;
    if (r <= l || b <= t) return;
    const double ex = std::min(rx, (r - l) / 2), ey = std::min(ry, (b - t) / 2);
    auto corner = [&](double cx, double cy, double a) {
      cairo_save(cr);
      cairo_translate(cr, cx, cy);
      cairo_scale(cr, std::max(ex, 0.01), std::max(ey, 0.01));
      cairo_arc(cr, 0, 0, 1, a, a + M_PI / 2);
      cairo_restore(cr);
    };
    corner(r - ex, t + ey, -M_PI / 2);
    corner(r - ex, b - ey, 0);
    corner(l + ex, b - ey, M_PI / 2);
    corner(l + ex, t + ey, M_PI);
    cairo_close_path(cr);
  };
  path(0);
  FillWithBrush(cr, dc);
  double o = 0;
  if (UsePen(cr, *d, &o)) {
    path(0.5);
    cairo_stroke(cr);
  }
  cairo_new_path(cr);
}

void Arc(HDC dc, int left, int top, int right, int bottom, POINT start, POINT end) {
  cairo_t* cr = Of(dc);
  gdi::DeviceContext* d = Dc(dc);
  double o = 0;
  if (!cr || right == left || bottom == top || !UsePen(cr, *d, &o)) return;
  // On the pixel centres of the rectangle's inside, as Ellipse's outline.
  const double rx = std::max(0.5, (std::abs(right - left) - 1) / 2.0), ry = std::max(0.5, (std::abs(bottom - top) - 1) / 2.0);
  const double cx = std::min(left, right) + 0.5 + rx, cy = std::min(top, bottom) + 0.5 + ry;
  // Counter-clockwise on the screen from the start ray to the end ray.
  const double a0 = std::atan2((start.y - cy) / ry, (start.x - cx) / rx);
  const double a1 = std::atan2((end.y - cy) / ry, (end.x - cx) / rx);
  cairo_new_path(cr);
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  cairo_arc_negative(cr, 0, 0, 1, a0, a1 >= a0 ? a1 - 2 * M_PI : a1);
  cairo_restore(cr);
  cairo_stroke(cr);
}

void Fill(HDC dc, const RECT& rect, HBRUSH brush) {
  cairo_t* cr = Of(dc);
  gdi::DeviceContext* d = Dc(dc);
  const LOGBRUSH* b = BrushOf(brush);
  // A colour index plus one stands for the system colour's brush.
  LOGBRUSH sys{};
  const auto index = reinterpret_cast<uintptr_t>(brush);
  if (!b && index >= 1 && index <= 31) {
    sys = {BS_SOLID, GetSysColor(static_cast<int>(index - 1)), 0};
    b = &sys;
  }
  if (!cr || !b || b->lbStyle == BS_NULL) return;
  std::optional<Target> t = TargetOf(dc);
  cairo_pattern_t* p = BrushPattern(*b, *d, *t);
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);
  cairo_rectangle(cr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  cairo_fill(cr);
}

void Frame(HDC dc, const RECT& r, HBRUSH brush) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  Fill(dc, {r.left, r.top, r.right, r.top + 1}, brush);
  Fill(dc, {r.left, r.bottom - 1, r.right, r.bottom}, brush);
  Fill(dc, {r.left, r.top, r.left + 1, r.bottom}, brush);
  Fill(dc, {r.right - 1, r.top, r.right, r.bottom}, brush);
}

void FocusRect(HDC dc, const RECT& r) {
  std::optional<Target> t = TargetOf(dc);
  if (!t || !Of(dc)) return;
  // A dotted frame drawn by inverting every other pixel.
  PixelView v = ViewOf(t->surface);
  auto flip = [&](int x, int y) {
    const int sx = x + t->x, sy = y + t->y;
    if (sx < t->clip.left || sx >= t->clip.right || sy < t->clip.top || sy >= t->clip.bottom) return;
    if ((sx + sy) % 2) return;
    uint32_t& p = v.data[sy * v.stride + sx];
    p = 0xFF000000u | (~p & 0xFFFFFF);
  };
  for (int x = r.left; x < r.right; ++x) {
    flip(x, r.top);
    if (r.bottom - 1 > r.top) flip(x, r.bottom - 1);
  }
  for (int y = r.top + 1; y < r.bottom - 1; ++y) {
    flip(r.left, y);
    if (r.right - 1 > r.left) flip(r.right - 1, y);
  }
  cairo_surface_mark_dirty(t->surface);
}

void Text(HDC dc, int x, int y, const std::string& text, const RECT* opaque) {
  cairo_t* cr = Of(dc);
  gdi::DeviceContext* d = Dc(dc);
  if (!cr) return;
  UseDcFont(cr, *d);
  const double width = TextWidth(cr, text);
  const UINT align = d->state.textAlign;
  double left = x;
  if ((align & TA_CENTER) == TA_CENTER) left = x - width / 2;
  else if (align & TA_RIGHT) left = x - width;
  cairo_font_extents_t fe;
  cairo_font_extents(cr, &fe);
  double top = y;
  if ((align & TA_BASELINE) == TA_BASELINE) top = y - fe.ascent;
  else if (align & TA_BOTTOM) top = y - (fe.ascent + fe.descent);
  if (d->state.bkMode == OPAQUE) {
    const RECT box = opaque ? *opaque
                            : RECT{static_cast<LONG>(std::floor(left)), static_cast<LONG>(std::floor(top)),
                                   static_cast<LONG>(std::ceil(left + width)),
                                   static_cast<LONG>(std::ceil(top + fe.ascent + fe.descent))};
    FillRect(cr, box, d->state.background);
  }
  TextAt(cr, std::round(left), std::round(top), text, d->state.text);
}

void DrawText(HDC dc, const std::string& text, const RECT& rect, UINT format) {
  cairo_t* cr = Of(dc);
  gdi::DeviceContext* d = Dc(dc);
  if (!cr) return;
  UseDcFont(cr, *d);
  if (d->state.bkMode == OPAQUE) {
    // Only behind the text; DrawText leaves the rest of the rectangle alone.
    RECT box = rect;
    cairo_font_extents_t fe;
    cairo_font_extents(cr, &fe);
    if (format & DT_SINGLELINE) {
      const double w = TextWidth(cr, Unprefix(text, !(format & DT_NOPREFIX)).text);
      const double h = fe.ascent + fe.descent;
      double l = rect.left, t = rect.top;
      if (format & DT_CENTER) l = (rect.left + rect.right - w) / 2;
      else if (format & DT_RIGHT) l = rect.right - w;
      if (format & DT_VCENTER) t = (rect.top + rect.bottom - h) / 2;
      else if (format & DT_BOTTOM) t = rect.bottom - h;
      box = {static_cast<LONG>(l), static_cast<LONG>(t), static_cast<LONG>(std::ceil(l + w)), static_cast<LONG>(std::ceil(t + h))};
    }
    FillRect(cr, box, d->state.background);
  }
  TextIn(cr, text, rect, format, d->state.text);
}

void PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop) {
  gdi::DeviceContext* d = Dc(dc);
  std::optional<Target> t = TargetOf(dc);
  if (!d || !t || !Of(dc)) return;
  if (width < 0) x += width, width = -width;
  if (height < 0) y += height, height = -height;
  const LOGBRUSH* b = BrushOf(d->state.brush);
  PixelView v = ViewOf(t->surface);
  const RECT area = Intersect(RECT{x + t->x, y + t->y, x + t->x + width, y + t->y + height}, t->clip);
  for (int sy = area.top; sy < area.bottom; ++sy)
    for (int sx = area.left; sx < area.right; ++sx) {
      uint32_t& p = v.data[sy * v.stride + sx];
      std::optional<uint32_t> pat = b ? BrushPixel(*b, *d, sx, sy) : std::nullopt;
      if (!pat && (rop == PATCOPY || rop == PATINVERT)) continue;
      p = 0xFF000000u | (Rop(rop, p, 0, pat.value_or(0)) & 0xFFFFFF);
    }
  cairo_surface_mark_dirty(t->surface);
}

void StretchBlt(HDC dc, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, int sourceWidth,
                int sourceHeight, DWORD rop) {
  gdi::DeviceContext* d = Dc(dc);
  std::optional<Target> t = TargetOf(dc);
  if (!d || !t || !Of(dc) || width == 0 || height == 0) return;
  std::optional<Target> s;
  if (UsesSource(rop)) {
    s = TargetOf(source);
    if (!s || sourceWidth == 0 || sourceHeight == 0) return;
  }
  const LOGBRUSH* b = BrushOf(d->state.brush);
  PixelView dv = ViewOf(t->surface);
  PixelView sv = s ? ViewOf(s->surface) : PixelView{};
  const int x0 = std::min(x, x + width), y0 = std::min(y, y + height);
  const RECT area = Intersect(RECT{x0 + t->x, y0 + t->y, x0 + t->x + std::abs(width), y0 + t->y + std::abs(height)}, t->clip);
  for (int dy = area.top; dy < area.bottom; ++dy)
    for (int dx = area.left; dx < area.right; ++dx) {
      uint32_t src = 0;
      if (s) {
        // Nearest source pixel; mirrored when the signs of the sizes differ.
        double fx = (dx - t->x - x + 0.5) / width, fy = (dy - t->y - y + 0.5) / height;
        const int sx = sourceX + static_cast<int>(std::floor(fx * sourceWidth)) + s->x;
        const int sy = sourceY + static_cast<int>(std::floor(fy * sourceHeight)) + s->y;
        if (sx < s->clip.left || sx >= s->clip.right || sy < s->clip.top || sy >= s->clip.bottom) continue;
        src = sv.data[sy * sv.stride + sx];
      }
      uint32_t& p = dv.data[dy * dv.stride + dx];
      const uint32_t pat = b ? BrushPixel(*b, *d, dx, dy).value_or(p) : 0;
      p = 0xFF000000u | (Rop(rop, p, src, pat) & 0xFFFFFF);
    }
  cairo_surface_mark_dirty(t->surface);
}

void SetPixel(HDC dc, int x, int y, COLORREF color) {
  std::optional<Target> t = TargetOf(dc);
  if (!t || !Of(dc)) return;
  const int sx = x + t->x, sy = y + t->y;
  if (sx < t->clip.left || sx >= t->clip.right || sy < t->clip.top || sy >= t->clip.bottom) return;
  PixelView v = ViewOf(t->surface);
  v.data[sy * v.stride + sx] = Pixel(color);
  cairo_surface_mark_dirty(t->surface);
}

COLORREF GetPixel(HDC dc, int x, int y) {
  std::optional<Target> t = TargetOf(dc);
  if (!t || !Of(dc)) return CLR_INVALID;
  const int sx = x + t->x, sy = y + t->y;
  if (sx < t->clip.left || sx >= t->clip.right || sy < t->clip.top || sy >= t->clip.bottom) return CLR_INVALID;
  cairo_t* cr = Of(dc);
  cairo_surface_flush(cairo_get_target(cr));
  PixelView v = ViewOf(t->surface);
  const uint32_t p = v.data[sy * v.stride + sx];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

void Icon(HDC dc, int x, int y, HICON icon, int width, int height) {
  cairo_t* cr = Of(dc);
  if (!cr) return;
  IconAt(cr, icon, x, y, std::max(1, std::min(width > 0 ? width : 32, height > 0 ? height : 32)));
}

void Edge(HDC dc, RECT* rect, UINT edge, UINT flags) {
  if (cairo_t* cr = Of(dc)) {
    classic::Edge(cr, rect, edge, flags);
  } else if (flags & BF_ADJUST) {
    // The rectangle shrinks as if drawn.
    const int n = ((edge & 3) ? 1 : 0) + ((edge & 12) ? 1 : 0);
    if (flags & BF_LEFT) rect->left += n;
    if (flags & BF_TOP) rect->top += n;
    if (flags & BF_RIGHT) rect->right -= n;
    if (flags & BF_BOTTOM) rect->bottom -= n;
  }
}

void FrameControl(HDC dc, const RECT& rect, UINT type, UINT state) {
  if (cairo_t* cr = Of(dc)) classic::FrameControl(cr, rect, type, state);
}

void SetColor(cairo_t* cr, COLORREF c) {
  cairo_set_source_rgb(cr, GetRValue(c) / 255.0, GetGValue(c) / 255.0, GetBValue(c) / 255.0);
}

void FillRect(cairo_t* cr, const RECT& r, COLORREF color) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  SetColor(cr, color);
  cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
  cairo_fill(cr);
}

void UseFont(cairo_t* cr, HFONT font) {
  GdiObject* o = Object(font);
  if (o && o->kind == Kind::Font) {
    UseLogFont(cr, o->font);
    return;
  }
  LOGFONTA f{};
  f.lfHeight = -11;
  f.lfWeight = FW_NORMAL;
  std::strcpy(f.lfFaceName, "MS Shell Dlg");
  UseLogFont(cr, f);
}

double TextWidth(cairo_t* cr, const std::string& text) {
  if (text.empty()) return 0;
  const std::string utf8 = Cp1250ToUtf8(text);
  cairo_text_extents_t te;
  cairo_text_extents(cr, utf8.c_str(), &te);
  return te.x_advance;
}

double LineHeight(cairo_t* cr) {
  cairo_font_extents_t fe;
  cairo_font_extents(cr, &fe);
  return std::ceil(fe.ascent + fe.descent);
}

double Ascent(cairo_t* cr) {
  cairo_font_extents_t fe;
  cairo_font_extents(cr, &fe);
  return fe.ascent;
}

void TextAt(cairo_t* cr, double x, double y, const std::string& text, COLORREF color) {
  if (text.empty()) return;
  std::string clean = text;
  for (char& c : clean)
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  const std::string utf8 = Cp1250ToUtf8(clean);
  SetColor(cr, color);
  cairo_move_to(cr, x, std::round(y + Ascent(cr)));
  cairo_show_text(cr, utf8.c_str());
  cairo_new_path(cr);
}

std::vector<std::string> TextLines(cairo_t* cr, const std::string& text, double width, bool wrap) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (wrap) {
      for (std::string& part : WrapLine(cr, line, width)) lines.push_back(part);
    } else {
      lines.push_back(line);
    }
    start = end + 1;
  }
  return lines;
}

namespace {
std::vector<CutText>& Cuts() {
  static auto* cuts = new std::vector<CutText>;
  return *cuts;
}
}  // namespace

const std::vector<CutText>& CutTexts() { return Cuts(); }

void ClearCutTexts() { Cuts().clear(); }

void TextIn(cairo_t* cr, const std::string& text, const RECT& rect, UINT format, COLORREF color) {
  const bool prefix = !(format & DT_NOPREFIX);
  const bool ellipsis = (format & DT_END_ELLIPSIS) != 0;
  const double width = rect.right - rect.left;
  std::vector<std::string> lines;
  if (format & DT_SINGLELINE) lines.push_back(text);
  else lines = TextLines(cr, text, width, (format & DT_WORDBREAK) != 0);
  const double lh = LineHeight(cr);
  double top = rect.top;
  if (format & DT_SINGLELINE) {
    if (format & DT_VCENTER) top = rect.top + std::floor((rect.bottom - rect.top - lh) / 2);
    else if (format & DT_BOTTOM) top = rect.bottom - lh;
  }
  // Lines below the rectangle are not seen; with an ellipsis the last line
  // seen says that more follows.
  bool cut = false;
  if (!(format & DT_NOCLIP) && lh > 0) {
    const size_t room = std::max<size_t>(1, static_cast<size_t>(std::floor((rect.bottom - top) / lh)));
    if (lines.size() > room) {
      cut = true;
      lines.resize(room);
      if (ellipsis) lines.back() += "\x01";
    }
  }
  cairo_save(cr);
  if (!(format & DT_NOCLIP)) {
    cairo_rectangle(cr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    cairo_clip(cr);
  }
  for (const std::string& raw : lines) {
    const bool more = !raw.empty() && raw.back() == '\x01';
    TextLine line = Unprefix(more ? raw.substr(0, raw.size() - 1) : raw, prefix);
    double w = TextWidth(cr, line.text);
    if (w > width && !(format & DT_NOCLIP)) cut = true;
    if (ellipsis && (w > width || more)) {
      while (!line.text.empty() && TextWidth(cr, line.text + "...") > width) line.text.pop_back();
      line.text += "...";
      w = TextWidth(cr, line.text);
    }
    double left = rect.left;
    if (format & DT_CENTER) left = rect.left + std::floor((width - w) / 2);
    else if (format & DT_RIGHT) left = rect.right - w;
    TextAt(cr, left, top, line.text, color);
    if (line.mark >= 0 && line.mark < static_cast<int>(line.text.size())) {
      const double at = left + TextWidth(cr, line.text.substr(0, static_cast<size_t>(line.mark)));
      UnderlineChar(cr, at, top + Ascent(cr), TextWidth(cr, line.text.substr(static_cast<size_t>(line.mark), 1)));
    }
    top += lh;
  }
  cairo_restore(cr);
  if (cut) Cuts().push_back({text, ellipsis});
}

void IconAt(cairo_t* cr, HICON icon, int x, int y, int size) {
  if (icon && icon->resource) {
    if (cairo_surface_t* image = IconImage(icon->Bytes(), icon->Size(), size)) {
      const int w = cairo_image_surface_get_width(image);
      cairo_save(cr);
      cairo_translate(cr, x, y);
      cairo_scale(cr, static_cast<double>(size) / w, static_cast<double>(size) / w);
      cairo_set_source_surface(cr, image, 0, 0);
      cairo_paint(cr);
      cairo_restore(cr);
      cairo_surface_destroy(image);
      return;
    }
  }
  const int id = icon && icon->resource == nullptr ? static_cast<int>(icon->stockId) : 0;
  cairo_save(cr);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
  const double s = size, cx = x + s / 2, cy = y + s / 2;
  LOGFONTA f{};
  f.lfHeight = -static_cast<LONG>(s * 0.6);
  f.lfWeight = FW_BOLD;
  std::strcpy(f.lfFaceName, "Times New Roman");
  auto sign = [&](const char* text, COLORREF colour) {
    UseLogFont(cr, f);
    const double w = TextWidth(cr, text);
    TextAt(cr, cx - w / 2, cy - LineHeight(cr) / 2, text, colour);
  };
  if (id == 32513) {  // IDI_HAND: a red disc with a white cross
    cairo_arc(cr, cx, cy, s * 0.45, 0, 2 * M_PI);
    SetColor(cr, RGB(220, 0, 0));
    cairo_fill(cr);
    SetColor(cr, RGB(255, 255, 255));
    cairo_set_line_width(cr, s / 10);
    cairo_move_to(cr, cx - s * 0.18, cy - s * 0.18);
    cairo_line_to(cr, cx + s * 0.18, cy + s * 0.18);
    cairo_move_to(cr, cx + s * 0.18, cy - s * 0.18);
    cairo_line_to(cr, cx - s * 0.18, cy + s * 0.18);
    cairo_stroke(cr);
  } else if (id == 32515) {  // IDI_EXCLAMATION: a yellow triangle
    cairo_move_to(cr, cx, y + s * 0.05);
    cairo_line_to(cr, x + s * 0.95, y + s * 0.92);
    cairo_line_to(cr, x + s * 0.05, y + s * 0.92);
    cairo_close_path(cr);
    SetColor(cr, RGB(255, 220, 0));
    cairo_fill_preserve(cr);
    SetColor(cr, 0);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    sign("!", 0);
  } else {
    // Question, information and the application's own icons: a disc with
    // a sign.
    cairo_arc(cr, cx, cy, s * 0.45, 0, 2 * M_PI);
    SetColor(cr, id == 32514 || id == 32516 ? RGB(0, 80, 200) : RGB(0, 110, 160));
    cairo_fill(cr);
    sign(id == 32514 ? "?" : id == 32516 ? "i" : "J", RGB(255, 255, 255));
  }
  cairo_restore(cr);
}

}  // namespace raster
