#include "platform/win32/wgl/wgl.h"

#include "platform/win32/gdi_raster.h"
#include "platform/win32/driver/window_pictures.h"

#include <GL/osmesa.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

#include "platform/win32/error_codes.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_model.h"

namespace {

// The pixels a window's device context draws into: RGBA, rows from the
// bottom, as the off-screen context writes them.
struct Surface {
  int width = 1;
  int height = 1;
  std::vector<uint8_t> pixels;
};

struct WindowGl {
  int format = 0;
  std::shared_ptr<Surface> surface;
  bool hasFrame = false;
  GlFrame frame;
};

struct Context {
  OSMesaContext mesa = nullptr;
  int format = 0;
  HWND window = nullptr;             // bound to, while current somewhere
  std::shared_ptr<Surface> surface;  // kept alive while bound
};

PIXELFORMATDESCRIPTOR StandardFormat() {
  PIXELFORMATDESCRIPTOR f{};
  f.nSize = sizeof(PIXELFORMATDESCRIPTOR);
  f.nVersion = 1;
  f.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER | PFD_GENERIC_FORMAT;
  f.iPixelType = PFD_TYPE_RGBA;
  f.cColorBits = 32;
  f.cRedBits = 8;
  f.cRedShift = 0;
  f.cGreenBits = 8;
  f.cGreenShift = 8;
  f.cBlueBits = 8;
  f.cBlueShift = 16;
  f.cAlphaBits = 8;
  f.cAlphaShift = 24;
  f.cAccumBits = 64;
  f.cAccumRedBits = f.cAccumGreenBits = f.cAccumBlueBits = f.cAccumAlphaBits = 16;
  f.cDepthBits = 24;
  f.cStencilBits = 8;
  f.iLayerType = PFD_MAIN_PLANE;
  return f;
}

struct Wgl {
  std::recursive_mutex mutex;
  std::vector<PIXELFORMATDESCRIPTOR> formats{StandardFormat()};
  std::map<HWND, WindowGl> windows;
  std::map<uintptr_t, Context> contexts;
  uintptr_t next = 0x6C000000;
};

Wgl& W() {
  static Wgl* w = new Wgl;
  return *w;
}

thread_local HGLRC t_context = nullptr;
thread_local HDC t_dc = nullptr;

Context* FindContext(HGLRC rc) {
  auto it = W().contexts.find(reinterpret_cast<uintptr_t>(rc));
  return it == W().contexts.end() ? nullptr : &it->second;
}

// A buffer of the window's client size (at least one pixel each way).
std::shared_ptr<Surface> SurfaceOf(HWND window, WindowGl& gl) {
  RECT client{};
  GetClientRect(window, &client);
  const int width = std::max(1, static_cast<int>(client.right - client.left));
  const int height = std::max(1, static_cast<int>(client.bottom - client.top));
  if (!gl.surface || gl.surface->width != width || gl.surface->height != height) {
    auto s = std::make_shared<Surface>();
    s->width = width;
    s->height = height;
    s->pixels.assign(static_cast<size_t>(width) * height * 4, 0);
    gl.surface = std::move(s);
  }
  return gl.surface;
}

bool Bind(Context& c, HWND window, WindowGl& gl) {
  auto surface = SurfaceOf(window, gl);
  if (!OSMesaMakeCurrent(c.mesa, surface->pixels.data(), GL_UNSIGNED_BYTE, surface->width, surface->height))
    return false;
  c.window = window;
  c.surface = std::move(surface);
  return true;
}

void Release() {
  if (Context* c = FindContext(t_context)) {
    c->window = nullptr;
    c->surface.reset();
  }
  OSMesaMakeCurrent(nullptr, nullptr, 0, 0, 0);
  t_context = nullptr;
  t_dc = nullptr;
}

void OnClientSize(HWND window) {
  std::lock_guard lock(W().mutex);
  auto it = W().windows.find(window);
  if (it == W().windows.end() || !it->second.surface) return;
  SurfaceOf(window, it->second);
  Context* c = FindContext(t_context);
  if (c && c->window == window) Bind(*c, window, it->second);
}

void OnDestroyed(HWND window) {
  std::lock_guard lock(W().mutex);
  if (Context* c = FindContext(t_context); c && c->window == window) Release();
  W().windows.erase(window);
}

void Hook() {
  static std::once_flag once;
  std::call_once(once, [] {
    winmodel::AddClientSizeHook(&OnClientSize);
    winmodel::AddWindowHooks(nullptr, &OnDestroyed);
  });
}

// The window a device context draws on, with its OpenGL state.
WindowGl* WindowOf(HDC dc, HWND* window) {
  *window = dc ? WindowFromDC(dc) : nullptr;
  if (!*window || !IsWindow(*window)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  Hook();
  return &W().windows[*window];
}

bool Holds(DWORD flags, DWORD wanted) {
  constexpr DWORD kMatter = PFD_DRAW_TO_WINDOW | PFD_DRAW_TO_BITMAP | PFD_SUPPORT_GDI | PFD_SUPPORT_OPENGL |
                            PFD_DOUBLEBUFFER | PFD_GENERIC_FORMAT;
  return (flags & wanted & kMatter) == (wanted & kMatter);
}

}  // namespace

uint32_t GlFrame::Rgb(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  const uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
  return (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
}

int DescribePixelFormat(HDC dc, int index, UINT size, LPPIXELFORMATDESCRIPTOR descriptor) {
  std::lock_guard lock(W().mutex);
  const auto& formats = W().formats;
  if (!dc || index < 1 || index > static_cast<int>(formats.size())) {
    SetLastError(ERROR_INVALID_PIXEL_FORMAT);
    return 0;
  }
  if (descriptor) std::memcpy(descriptor, &formats[index - 1], std::min<size_t>(size, sizeof *descriptor));
  return static_cast<int>(formats.size());
}

int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* wanted) {
  std::lock_guard lock(W().mutex);
  if (!dc || !wanted) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const auto& formats = W().formats;
  for (size_t i = 0; i < formats.size(); ++i)
    if (formats[i].iPixelType == wanted->iPixelType && Holds(formats[i].dwFlags, wanted->dwFlags))
      return static_cast<int>(i + 1);
  for (size_t i = 0; i < formats.size(); ++i)
    if (formats[i].iPixelType == wanted->iPixelType) return static_cast<int>(i + 1);
  SetLastError(ERROR_INVALID_PIXEL_FORMAT);
  return 0;
}

BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR*) {
  std::lock_guard lock(W().mutex);
  HWND window = nullptr;
  WindowGl* gl = WindowOf(dc, &window);
  if (!gl) return FALSE;
  if (format < 1 || format > static_cast<int>(W().formats.size()) || (gl->format && gl->format != format)) {
    SetLastError(ERROR_INVALID_PIXEL_FORMAT);
    return FALSE;
  }
  gl->format = format;
  return TRUE;
}

int GetPixelFormat(HDC dc) {
  std::lock_guard lock(W().mutex);
  HWND window = nullptr;
  WindowGl* gl = WindowOf(dc, &window);
  return gl ? gl->format : 0;
}

BOOL SwapBuffers(HDC dc) {
  std::lock_guard lock(W().mutex);
  HWND window = nullptr;
  WindowGl* gl = WindowOf(dc, &window);
  if (!gl) return FALSE;
  if (!gl->format) {
    SetLastError(ERROR_INVALID_PIXEL_FORMAT);
    return FALSE;
  }
  std::shared_ptr<Surface> surface = gl->surface;
  Context* c = FindContext(t_context);
  if (c && c->window == window) {
    glFinish();  // the software rasteriser finishes lazily
    surface = c->surface;
  }
  if (!surface) return TRUE;  // nothing drawn yet
  GlFrame& f = gl->frame;
  f.width = surface->width;
  f.height = surface->height;
  f.rgba.resize(surface->pixels.size());
  const size_t row = static_cast<size_t>(f.width) * 4;
  for (int y = 0; y < f.height; ++y)
    std::memcpy(&f.rgba[static_cast<size_t>(y) * row], &surface->pixels[static_cast<size_t>(f.height - 1 - y) * row],
                row);
  gl->hasFrame = true;
  // A window being pictured shows the frame at once, under what GDI draws next.
  if (raster::HasCanvas(window)) raster::PutClientPixels(window, f.rgba.data(), f.width, f.height);
  return TRUE;
}

HGLRC wglCreateContext(HDC dc) {
  std::lock_guard lock(W().mutex);
  HWND window = nullptr;
  WindowGl* gl = WindowOf(dc, &window);
  if (!gl) return nullptr;
  if (!gl->format) {
    SetLastError(ERROR_INVALID_PIXEL_FORMAT);
    return nullptr;
  }
  const PIXELFORMATDESCRIPTOR& f = W().formats[gl->format - 1];
  Context c;
  c.format = gl->format;
  c.mesa = OSMesaCreateContextExt(OSMESA_RGBA, std::min<int>(f.cDepthBits, 24), std::min<int>(f.cStencilBits, 8), 0,
                                  nullptr);
  if (!c.mesa) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  Wgl& w = W();
  w.next += 16;
  w.contexts[w.next] = std::move(c);
  return reinterpret_cast<HGLRC>(w.next);
}

BOOL wglDeleteContext(HGLRC rc) {
  std::lock_guard lock(W().mutex);
  Context* c = FindContext(rc);
  if (!c) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (rc == t_context) Release();
  OSMesaDestroyContext(c->mesa);
  W().contexts.erase(reinterpret_cast<uintptr_t>(rc));
  return TRUE;
}

BOOL wglMakeCurrent(HDC dc, HGLRC rc) {
  std::lock_guard lock(W().mutex);
  if (!rc) {
    if (t_context) Release();
    return TRUE;
  }
  Context* c = FindContext(rc);
  if (!c) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  HWND window = nullptr;
  WindowGl* gl = WindowOf(dc, &window);
  if (!gl) return FALSE;
  if (gl->format != c->format) {
    SetLastError(ERROR_INVALID_PIXEL_FORMAT);
    return FALSE;
  }
  if (t_context && t_context != rc) Release();
  if (!Bind(*c, window, *gl)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  t_context = rc;
  t_dc = dc;
  return TRUE;
}

HGLRC wglGetCurrentContext() { return t_context; }
HDC wglGetCurrentDC() { return t_dc; }

namespace {
// Pictures of windows show an OpenGL window's last frame.
const bool g_frameSource = [] {
  SetWindowFrameSource([](HWND window, std::vector<unsigned char>* rgba, int* width, int* height) {
    GlFrame frame;
    if (!GetWindowFrame(window, &frame)) return false;
    *rgba = std::move(frame.rgba);
    *width = frame.width;
    *height = frame.height;
    return true;
  });
  return true;
}();
}  // namespace

bool GetWindowFrame(HWND window, GlFrame* frame) {
  std::lock_guard lock(W().mutex);
  auto it = W().windows.find(window);
  if (it == W().windows.end() || !it->second.hasFrame) return false;
  if (frame) *frame = it->second.frame;
  return true;
}

int AddPixelFormat(const PIXELFORMATDESCRIPTOR& descriptor) {
  std::lock_guard lock(W().mutex);
  W().formats.push_back(descriptor);
  return static_cast<int>(W().formats.size());
}

void SetPixelFormats(const std::vector<PIXELFORMATDESCRIPTOR>& formats) {
  std::lock_guard lock(W().mutex);
  W().formats = formats;
}

void ResetPixelFormats() {
  std::lock_guard lock(W().mutex);
  W().formats.assign(1, StandardFormat());
}
