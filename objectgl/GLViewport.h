// Where a scene is drawn: a rectangle of a window with its own OpenGL
// rendering context. GLViewport is the platform-neutral part; GLViewportWin
// binds it to a window through the WGL calls.
#pragma once

#include <cstdint>
#include <string>

#include "objectgl/GLObject.h"
#include "platform/win32/gdi.h"
#include "platform/win32/wgl/wgl.h"

class GLViewport : public GLObject {
  GL_DECLARE_CLASS()

 public:
  virtual bool CreateContext() = 0;
  virtual bool IsValid() const = 0;
  // False when the context is already current (nothing changes) or cannot
  // be made current.
  virtual bool MakeCurrent() = 0;
  // Width / height; 1.0 for a zero height.
  virtual double GetAspect() = 0;
  // The larger side over the smaller; `wider` tells whether the width is
  // the larger. 1.0 when either side is 0.
  virtual double GetOrthoAspect(bool* wider) = 0;
  virtual void GetRect(uint32_t* left, uint32_t* right, uint32_t* top, uint32_t* bottom) = 0;
  virtual void SetRect(uint32_t left, uint32_t right, uint32_t top, uint32_t bottom);
  virtual void GetSize(int* width, int* height) = 0;
  // Sets the OpenGL viewport to the rectangle; answers whether the context
  // is current afterwards.
  virtual bool Update() = 0;
  // Writes the region (OpenGL window coordinates, y from the bottom) as a
  // 24-bit bottom-up bitmap file. False, and no file, for an empty or
  // inverted region or when the file cannot be written whole.
  virtual bool SaveBitmap(int xFrom, int xTo, int yFrom, int yTo, const char* path);

  void SetBackgroundColor(float r, float g, float b, float a);
  void ApplyBackground() const;
  void GetBackgroundColor(float* r, float* g, float* b, float* a) const;
  const float* BackgroundColor() const { return background_; }
  HDC GetDC() const { return dc_; }
  HGLRC GetGLRC() const { return glrc_; }
  HWND GetHwnd() const { return hwnd_; }
  // The size-changed report, cleared by reading it.
  bool TakeChanged();
  void SetUseClientRect(bool on);
  bool GetUseClientRect() const { return useClientRect_; }

 protected:
  float background_[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  HDC dc_ = nullptr;
  HGLRC glrc_ = nullptr;
  HWND hwnd_ = nullptr;
  bool changed_ = true;
  bool useClientRect_ = true;
  uint32_t rect_[4] = {0, 0, 0, 0};  // left, right, top, bottom
};

class GLViewportWin : public GLViewport {
  GL_DECLARE_CLASS()

 public:
  explicit GLViewportWin(HWND window = nullptr) { hwnd_ = window; }
  GLViewportWin(const GLViewportWin&) = delete;
  GLViewportWin& operator=(const GLViewportWin&) = delete;
  ~GLViewportWin() override;

  bool CreateContext() override;
  bool IsValid() const override;
  bool MakeCurrent() override;
  double GetAspect() override;
  double GetOrthoAspect(bool* wider) override;
  void GetRect(uint32_t* left, uint32_t* right, uint32_t* top, uint32_t* bottom) override;
  void GetSize(int* width, int* height) override;
  bool Update() override;

  HPALETTE GetPalette() const { return palette_; }

  // The per-user switch "UseHardware" (one byte, 0 when missing).
  static BYTE ReadUseHardware();
  static bool WriteUseHardware(BYTE value);

  // Diagnostics nothing calls: a message box describing a format, and the
  // format that matches a wish best.
  void DumpPixelFormat(uint32_t index);
  int FindBestPixelFormat(const PIXELFORMATDESCRIPTOR& wanted);
  // The text DumpPixelFormat shows.
  std::string DescribeFormat(uint32_t index);

 private:
  bool SelectPixelFormat();
  void SetupPalette();
  void ReleaseAll();

  HPALETTE palette_ = nullptr;
  HPALETTE oldPalette_ = nullptr;
};
