// OpenGL contexts on windows: buffers that follow the window, frames kept by
// SwapBuffers, pixel formats set once.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "GLTestSupport.h"

namespace {

TEST(WglContext, FramesAreWrittenAsRgbWithoutTheirAlpha) {
  gltest::ScratchFolder folder;
  GlFrame frame;
  frame.width = 2;
  frame.height = 1;
  frame.rgba = {255, 0, 0, 51, 0, 255, 0, 255};  // a see-through red, a green
  const std::string path = folder.Path() + "/frame.png";
  ASSERT_TRUE(WriteFramePng(frame, path));
  std::FILE* in = std::fopen(path.c_str(), "rb");
  ASSERT_NE(in, nullptr);
  unsigned char header[26] = {};
  const size_t got = std::fread(header, 1, sizeof header, in);
  std::fclose(in);
  ASSERT_EQ(got, sizeof header);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(header + 12), 4), "IHDR");
  EXPECT_EQ(header[24], 8) << "bit depth";
  EXPECT_EQ(header[25], 2) << "colour type: RGB, no alpha";
  frame.rgba.pop_back();
  EXPECT_FALSE(WriteFramePng(frame, folder.Path() + "/short.png"));
}

TEST(WglContext, TheBufferFollowsTheWindowsSizeWhileCurrent) {
  HWND w = gltest::NewWindow(30, 20);
  HDC dc = GetDC(w);
  PIXELFORMATDESCRIPTOR f{};
  ASSERT_EQ(DescribePixelFormat(dc, 1, sizeof f, &f), 1);
  EXPECT_EQ(f.cColorBits, 32);
  EXPECT_EQ(f.cDepthBits, 24);
  EXPECT_TRUE(f.dwFlags & PFD_GENERIC_FORMAT);
  EXPECT_EQ(wglCreateContext(dc), nullptr) << "no pixel format yet";
  ASSERT_TRUE(SetPixelFormat(dc, 1, &f));
  EXPECT_TRUE(SetPixelFormat(dc, 1, &f)) << "the same format again";
  EXPECT_FALSE(SetPixelFormat(dc, 2, &f));
  HGLRC rc = wglCreateContext(dc);
  ASSERT_TRUE(wglMakeCurrent(dc, rc));

  SetWindowPos(w, nullptr, 0, 0, 50, 40, SWP_NOMOVE | SWP_NOZORDER);
  glViewport(0, 0, 50, 40);
  glClearColor(0, 0, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  ASSERT_TRUE(SwapBuffers(dc));
  GlFrame frame;
  ASSERT_TRUE(GetWindowFrame(w, &frame));
  EXPECT_EQ(frame.width, 50);
  EXPECT_EQ(frame.height, 40);
  EXPECT_EQ(frame.Rgb(49, 39), 0x0000FFu) << "the whole new area is drawn";

  wglMakeCurrent(nullptr, nullptr);
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
  EXPECT_TRUE(wglDeleteContext(rc));
  EXPECT_FALSE(wglDeleteContext(rc));
  ReleaseDC(w, dc);
  DestroyWindow(w);
  EXPECT_FALSE(GetWindowFrame(w, &frame)) << "gone with its window";
}

}  // namespace
