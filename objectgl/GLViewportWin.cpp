#include <GL/gl.h>

#include <cstdio>
#include <string>

#include "objectgl/GLViewport.h"
#include "platform/win32/registry.h"
#include "platform/win32/ui_services.h"
#include "platform/win32/window_api.h"

namespace {

constexpr const char* kOpenGLKey = "Software\\Quenlor\\OpenGL";
constexpr const char* kUseHardware = "UseHardware";

bool Qualifies(const PIXELFORMATDESCRIPTOR& f) {
  constexpr DWORD kNeeded = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  return f.iPixelType == PFD_TYPE_RGBA && (f.dwFlags & kNeeded) == kNeeded && f.cColorBits >= 24 &&
         f.cDepthBits >= 16;
}

PIXELFORMATDESCRIPTOR Request() {
  PIXELFORMATDESCRIPTOR r{};
  r.nSize = 40;
  r.nVersion = 1;
  r.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  r.iPixelType = PFD_TYPE_RGBA;
  r.cColorBits = 32;
  r.cRedBits = r.cGreenBits = r.cBlueBits = r.cAlphaBits = 8;
  r.cAccumBits = 64;
  r.cDepthBits = 32;
  r.cStencilBits = 8;
  r.cAuxBuffers = 8;
  r.iLayerType = PFD_MAIN_PLANE;
  return r;
}

BYTE Component(int index, int bits, int shift) {
  static const BYTE one[] = {0, 255};
  static const BYTE two[] = {0, 0x55, 0xAA, 0xFF};
  static const BYTE three[] = {0, 0x24, 0x49, 0x6D, 0x92, 0xB6, 0xDB, 0xFF};
  const int v = (index >> shift) & ((1 << bits) - 1);
  switch (bits) {
    case 1: return one[v];
    case 2: return two[v];
    case 3: return three[v];
    default: return 0;
  }
}

}  // namespace

GLViewportWin::~GLViewportWin() {
  ReleaseAll();
}

void GLViewportWin::ReleaseAll() {
  if (glrc_) {
    if (wglGetCurrentContext() == glrc_) wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(glrc_);
    glrc_ = nullptr;
  }
  if (dc_) {
    if (oldPalette_) SelectPalette(dc_, oldPalette_, FALSE);
    ::ReleaseDC(hwnd_, dc_);
    dc_ = nullptr;
  }
  oldPalette_ = nullptr;
  if (palette_) {
    DeleteObject(palette_);
    palette_ = nullptr;
  }
}

BYTE GLViewportWin::ReadUseHardware() {
  HKEY key = nullptr;
  if (RegOpenKeyA(HKEY_CURRENT_USER, kOpenGLKey, &key) != ERROR_SUCCESS) return 0;
  BYTE value = 0;
  DWORD size = 1;
  DWORD type = REG_BINARY;
  if (RegQueryValueExA(key, kUseHardware, nullptr, &type, &value, &size) != ERROR_SUCCESS) value = 0;
  RegCloseKey(key);
  return value;
}

bool GLViewportWin::WriteUseHardware(BYTE value) {
  HKEY key = nullptr;
  if (RegCreateKeyA(HKEY_CURRENT_USER, kOpenGLKey, &key) != ERROR_SUCCESS) return false;
  const bool ok = RegSetValueExA(key, kUseHardware, 0, REG_BINARY, &value, 1) == ERROR_SUCCESS;
  RegCloseKey(key);
  return ok;
}

bool GLViewportWin::SelectPixelFormat() {
  const BYTE useHardware = ReadUseHardware();
  int software = 0, hardware = 0;
  PIXELFORMATDESCRIPTOR f{};
  const int count = DescribePixelFormat(dc_, 1, sizeof f, &f);
  for (int i = 1; i <= count; ++i) {
    if (!DescribePixelFormat(dc_, i, sizeof f, &f) || !Qualifies(f)) continue;
    if (f.dwFlags & PFD_GENERIC_FORMAT) {
      if (!software) software = i;
    } else if (!hardware) {
      hardware = i;
    }
  }
  if (!software || !hardware) {
    PIXELFORMATDESCRIPTOR request = Request();
    if (!software) software = ChoosePixelFormat(dc_, &request);
    request.dwFlags |= PFD_GENERIC_FORMAT;
    if (!hardware) hardware = ChoosePixelFormat(dc_, &request);
  }
  DescribePixelFormat(dc_, useHardware ? hardware : software, sizeof f, &f);
  bool set = useHardware && hardware && SetPixelFormat(dc_, hardware, &f);
  if (!set && software) {
    DescribePixelFormat(dc_, software, sizeof f, &f);
    set = SetPixelFormat(dc_, software, &f);
  }
  if (!set) {
    char text[64];
    std::snprintf(text, sizeof text, "SetPixelFormat failed, Error:%d", static_cast<int>(GetLastError()));
    MessageBoxA(nullptr, text, nullptr, 0);
  }
  return set;
}

void GLViewportWin::SetupPalette() {
  PIXELFORMATDESCRIPTOR f{};
  if (!DescribePixelFormat(dc_, GetPixelFormat(dc_), sizeof f, &f) || !(f.dwFlags & PFD_NEED_PALETTE)) return;
  if (f.cColorBits > 16) return;  // a palette of more entries has no meaning
  const int n = 1 << f.cColorBits;
  std::vector<uint8_t> storage(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * static_cast<size_t>(n));
  auto* lp = reinterpret_cast<LOGPALETTE*>(storage.data());
  lp->palVersion = 0x300;
  lp->palNumEntries = static_cast<WORD>(n);
  PALETTEENTRY* entries = lp->palPalEntry;
  for (int i = 0; i < n; ++i) {
    entries[i].peRed = Component(i, f.cRedBits, f.cRedShift);
    entries[i].peGreen = Component(i, f.cGreenBits, f.cGreenShift);
    entries[i].peBlue = Component(i, f.cBlueBits, f.cBlueShift);
    entries[i].peFlags = 0;
  }
  const bool is332 = f.cColorBits == 8 && f.cRedBits == 3 && f.cRedShift == 0 && f.cGreenBits == 3 &&
                     f.cGreenShift == 3 && f.cBlueBits == 2 && f.cBlueShift == 6;
  if (is332) {
    // Twelve entries take the standard system colours, so dialogs around the
    // picture keep theirs.
    struct Fixed {
      int index;
      BYTE r, g, b;
    };
    static const Fixed kSystem[] = {{3, 128, 0, 0},       {24, 0, 128, 0},      {27, 128, 128, 0},
                                    {64, 0, 0, 128},      {67, 128, 0, 128},    {88, 0, 128, 128},
                                    {173, 192, 192, 192}, {181, 192, 220, 192}, {236, 166, 202, 240},
                                    {247, 255, 251, 240}, {164, 160, 160, 164}, {91, 128, 128, 128}};
    for (const Fixed& s : kSystem) entries[s.index] = {s.r, s.g, s.b, 0};
  }
  if (palette_) DeleteObject(palette_);
  palette_ = CreatePalette(lp);
  if (!palette_) return;
  HPALETTE previous = SelectPalette(dc_, palette_, FALSE);
  if (!oldPalette_) oldPalette_ = previous;
  RealizePalette(dc_);
}

bool GLViewportWin::CreateContext() {
  ReleaseAll();
  if (!hwnd_) return false;
  dc_ = ::GetDC(hwnd_);
  if (!dc_) return false;
  if (!SelectPixelFormat()) {
    ReleaseAll();
    return false;
  }
  SetupPalette();
  glrc_ = wglCreateContext(dc_);
  if (!glrc_ || !wglMakeCurrent(dc_, glrc_)) {
    ReleaseAll();
    return false;
  }
  ApplyBackground();
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_DEPTH_TEST);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  Update();
  return true;
}

bool GLViewportWin::IsValid() const { return hwnd_ && dc_ && glrc_; }

bool GLViewportWin::MakeCurrent() {
  if (!dc_ || !glrc_) return false;
  if (wglGetCurrentContext() == glrc_ && wglGetCurrentDC() == dc_) return false;
  return wglMakeCurrent(dc_, glrc_) != FALSE;
}

double GLViewportWin::GetAspect() {
  int width = 0, height = 0;
  GetSize(&width, &height);
  return height == 0 ? 1.0 : static_cast<double>(width) / height;
}

double GLViewportWin::GetOrthoAspect(bool* wider) {
  int width = 0, height = 0;
  GetSize(&width, &height);
  if (wider) *wider = false;
  if (height == 0 || width == 0) return 1.0;
  if (width > height) {
    if (wider) *wider = true;
    return static_cast<double>(width) / height;
  }
  return static_cast<double>(height) / width;
}

void GLViewportWin::GetRect(uint32_t* left, uint32_t* right, uint32_t* top, uint32_t* bottom) {
  uint32_t r[4] = {rect_[0], rect_[1], rect_[2], rect_[3]};
  if (useClientRect_) {
    RECT client{};
    if (hwnd_ && GetClientRect(hwnd_, &client))
      r[0] = client.left, r[1] = client.right, r[2] = client.top, r[3] = client.bottom;
    else
      r[0] = r[1] = r[2] = r[3] = 0;
  }
  if (left) *left = r[0];
  if (right) *right = r[1];
  if (top) *top = r[2];
  if (bottom) *bottom = r[3];
}

void GLViewportWin::GetSize(int* width, int* height) {
  uint32_t l = 0, r = 0, t = 0, b = 0;
  GetRect(&l, &r, &t, &b);
  if (width) *width = static_cast<int>(r - l);
  if (height) *height = static_cast<int>(b - t);
}

bool GLViewportWin::Update() {
  uint32_t l = 0, r = 0, t = 0, b = 0;
  GetRect(&l, &r, &t, &b);
  MakeCurrent();
  const bool current = glrc_ && wglGetCurrentContext() == glrc_ && wglGetCurrentDC() == dc_;
  if (current) glViewport(static_cast<GLint>(l), static_cast<GLint>(t), static_cast<GLsizei>(r - l),
                          static_cast<GLsizei>(b - t));
  changed_ = true;
  return current;
}

std::string GLViewportWin::DescribeFormat(uint32_t index) {
  PIXELFORMATDESCRIPTOR f{};
  if (!dc_ || !DescribePixelFormat(dc_, static_cast<int>(index), sizeof f, &f)) f = {};
  std::string text = std::to_string(index) + "\n";
  static const struct {
    DWORD flag;
    const char* name;
  } kFlags[] = {{PFD_DRAW_TO_WINDOW, "PFD_DRAW_TO_WINDOW"},
                {PFD_DRAW_TO_BITMAP, "PFD_DRAW_TO_BITMAP"},
                {PFD_SUPPORT_GDI, "PFD_SUPPORT_GDI"},
                {PFD_SUPPORT_OPENGL, "PFD_SUPPORT_OPENGL"},
                {PFD_GENERIC_ACCELERATED, "PFD_GENERIC_ACCELERATED"},
                {PFD_GENERIC_FORMAT, "PFD_GENERIC_FORMAT"},
                {PFD_NEED_PALETTE, "PFD_NEED_PALETTE"},
                {PFD_NEED_SYSTEM_PALETTE, "PFD_NEED_SYSTEM_PALETTE"},
                {PFD_DOUBLEBUFFER, "PFD_DOUBLEBUFFER"},
                {PFD_STEREO, "PFD_STEREO"},
                {PFD_SWAP_LAYER_BUFFERS, "PFD_SWAP_LAYER_BUFFERS"},
                {PFD_SWAP_EXCHANGE, "PFD_SWAP_EXCHANGE"},
                {PFD_SWAP_COPY, "PFD_SWAP_COPY"}};
  for (const auto& flag : kFlags)
    if (f.dwFlags & flag.flag) text += std::string(flag.name) + "\n";
  text += "\n";
  text += f.iPixelType == PFD_TYPE_RGBA ? "PFD_TYPE_RGBA\n" : "PFD_TYPE_COLORINDEX\n";
  text += "\n";
  const struct {
    const char* label;
    int value;
  } kFields[] = {{"ColorsBits", f.cColorBits},      {"cRedBits", f.cRedBits},
                 {"cRedShift", f.cRedShift},        {"cGreenBits", f.cGreenBits},
                 {"cGreenShift", f.cGreenShift},    {"cBlueBits", f.cBlueBits},
                 {"cBlueShift", f.cBlueShift},      {"cAlphaBits", f.cAlphaBits},
                 {"cAlphaShift", f.cAlphaShift},    {"cAccumBits", f.cAccumBits},
                 {"cAccumRedBits", f.cAccumRedBits}, {"cAccumGreenBits", f.cAccumGreenBits},
                 {"cAccumBlueBits", f.cAccumBlueBits}, {"cAccumAlphaBits", f.cAccumAlphaBits},
                 {"cDepthBits", f.cDepthBits},      {"cStencilBits", f.cStencilBits},
                 {"cAuxBuffers", f.cAuxBuffers}};
  for (const auto& field : kFields) text += std::string(field.label) + ": " + std::to_string(field.value) + "\n";
  return text.substr(0, 999);
}

void GLViewportWin::DumpPixelFormat(uint32_t index) { MessageBoxA(nullptr, DescribeFormat(index).c_str(), "", 0); }

int GLViewportWin::FindBestPixelFormat(const PIXELFORMATDESCRIPTOR& wanted) {
  if (!dc_) return 0;
  PIXELFORMATDESCRIPTOR f{};
  const int count = DescribePixelFormat(dc_, 1, sizeof f, &f);
  int best = 0, bestPrimary = 0, bestSecondary = 0;
  for (int i = 1; i <= count; ++i) {
    if (!DescribePixelFormat(dc_, i, sizeof f, &f)) continue;
    int primary = __builtin_popcount(f.dwFlags & wanted.dwFlags);
    if ((f.dwFlags & PFD_GENERIC_FORMAT) && !(wanted.dwFlags & PFD_GENERIC_FORMAT)) --primary;
    if (f.iPixelType == wanted.iPixelType) ++primary;
    // The 17 byte fields from the colour bits to the auxiliary buffers.
    const BYTE* a = &f.cColorBits;
    const BYTE* b = &wanted.cColorBits;
    int secondary = 0;
    for (int k = 0; k < 17; ++k)
      if (a[k] && b[k]) ++secondary;
    if (!best || primary > bestPrimary || (primary == bestPrimary && secondary > bestSecondary)) {
      best = i;
      bestPrimary = primary;
      bestSecondary = secondary;
    }
  }
  return best ? best : ChoosePixelFormat(dc_, &wanted);
}
