#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "GLTestSupport.h"

namespace {

PIXELFORMATDESCRIPTOR Format(DWORD flags, BYTE colour, BYTE depth) {
  PIXELFORMATDESCRIPTOR f{};
  f.nSize = sizeof f;
  f.nVersion = 1;
  f.dwFlags = flags;
  f.iPixelType = PFD_TYPE_RGBA;
  f.cColorBits = colour;
  f.cDepthBits = depth;
  return f;
}

constexpr DWORD kWindowGL = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;

class PixelFormats : public ::testing::Test {
 protected:
  void TearDown() override { ResetPixelFormats(); }
  // The format the viewport of a new window ends up with.
  int Chosen() {
    HWND w = gltest::NewWindow(40, 30);
    GLViewportWin v(w);
    EXPECT_TRUE(v.CreateContext());
    const int format = GetPixelFormat(v.GetDC());
    DestroyWindow(w);
    return format;
  }
  gltest::ScopedRegistry registry;
};

TEST_F(PixelFormats, TheSwitchChoosesBetweenSoftwareAndHardware) {
  const int hardware = AddPixelFormat(Format(kWindowGL, 32, 24));
  EXPECT_EQ(GLViewportWin::ReadUseHardware(), 0) << "missing key";
  EXPECT_EQ(Chosen(), 1) << "the generic format";
  ASSERT_TRUE(GLViewportWin::WriteUseHardware(1));
  EXPECT_EQ(GLViewportWin::ReadUseHardware(), 1);
  EXPECT_EQ(Chosen(), hardware);

  // No hardware format qualifies (too few colour bits): the request with the
  // generic flag is chosen.
  ResetPixelFormats();
  AddPixelFormat(Format(kWindowGL, 16, 24));
  EXPECT_EQ(Chosen(), 1);
}

TEST_F(PixelFormats, AnEightBitFormatGetsTheThreeThreeTwoPaletteWithSystemColours) {
  PIXELFORMATDESCRIPTOR f = Format(kWindowGL | PFD_GENERIC_FORMAT | PFD_NEED_PALETTE, 8, 16);
  f.cRedBits = 3;
  f.cGreenBits = 3;
  f.cGreenShift = 3;
  f.cBlueBits = 2;
  f.cBlueShift = 6;
  SetPixelFormats({f});
  HWND w = gltest::NewWindow(40, 30);
  GLViewportWin v(w);
  ASSERT_TRUE(v.CreateContext());
  ASSERT_NE(v.GetPalette(), nullptr);
  EXPECT_EQ(GetCurrentPalette(v.GetDC()), v.GetPalette());
  PALETTEENTRY e[256];
  ASSERT_EQ(GetPaletteEntries(v.GetPalette(), 0, 256, e), 256u);
  struct Entry {
    int index;
    BYTE r, g, b;
  } const expected[] = {{0, 0, 0, 0},     {7, 255, 0, 0},      {56, 0, 255, 0},     {192, 0, 0, 255},
                        {255, 255, 255, 255}, {5, 0xB6, 0, 0}, {3, 128, 0, 0},      {91, 128, 128, 128},
                        {173, 192, 192, 192}, {247, 255, 251, 240}, {236, 166, 202, 240}};
  for (const Entry& x : expected) {
    EXPECT_EQ(e[x.index].peRed, x.r) << x.index;
    EXPECT_EQ(e[x.index].peGreen, x.g) << x.index;
    EXPECT_EQ(e[x.index].peBlue, x.b) << x.index;
  }
  DestroyWindow(w);
}

TEST_F(PixelFormats, AFailedPixelFormatIsReported) {
  HWND w = gltest::NewWindow(40, 30);
  HDC dc = GetDC(w);
  ASSERT_TRUE(SetPixelFormat(dc, 1, nullptr));
  ReleaseDC(w, dc);
  SetPixelFormats({Format(PFD_DRAW_TO_BITMAP, 32, 24), Format(kWindowGL | PFD_GENERIC_FORMAT, 32, 24)});
  ClearUiJournal();
  GLViewportWin v(w);
  EXPECT_FALSE(v.CreateContext()) << "the window keeps the format it has";
  EXPECT_FALSE(v.IsValid());
  ASSERT_EQ(gltest::MessageBoxes().size(), 1u);
  EXPECT_EQ(gltest::MessageBoxes()[0].text, "SetPixelFormat failed, Error:2000");
  DestroyWindow(w);
}

TEST(GLViewportWin, AspectsContextsAndUpdate) {
  struct Case {
    int width, height;
    double aspect, ortho;
    bool wider;
  } const cases[] = {{300, 200, 1.5, 1.5, true}, {200, 300, 200.0 / 300, 1.5, false}, {0, 50, 0, 1.0, false},
                     {50, 0, 1.0, 1.0, false}};
  for (const Case& c : cases) {
    HWND w = gltest::NewWindow(c.width, c.height);
    GLViewportWin v(w);
    bool wider = !c.wider;
    EXPECT_DOUBLE_EQ(v.GetAspect(), c.aspect) << c.width << "x" << c.height;
    EXPECT_DOUBLE_EQ(v.GetOrthoAspect(&wider), c.ortho) << c.width << "x" << c.height;
    EXPECT_EQ(wider, c.wider) << c.width << "x" << c.height;
    DestroyWindow(w);
  }

  HWND a = gltest::NewWindow(60, 40), b = gltest::NewWindow(60, 40);
  GLViewportWin va(a), vb(b);
  EXPECT_FALSE(va.MakeCurrent()) << "no context yet";
  ASSERT_TRUE(va.CreateContext());
  ASSERT_TRUE(vb.CreateContext());
  EXPECT_FALSE(vb.MakeCurrent()) << "already current";
  EXPECT_TRUE(va.MakeCurrent());
  EXPECT_EQ(wglGetCurrentContext(), va.GetGLRC());
  EXPECT_TRUE(vb.Update()) << "current after the update";
  EXPECT_EQ(wglGetCurrentContext(), vb.GetGLRC());
  EXPECT_TRUE(vb.TakeChanged());
  EXPECT_FALSE(vb.TakeChanged());

  vb.SetUseClientRect(false);
  vb.SetRect(10, 30, 5, 25);
  GLint rect[4];
  glGetIntegerv(GL_VIEWPORT, rect);
  EXPECT_EQ(rect[0], 10);
  EXPECT_EQ(rect[1], 5);
  EXPECT_EQ(rect[2], 20);
  EXPECT_EQ(rect[3], 20);
  DestroyWindow(a);
  DestroyWindow(b);
}

TEST(GLViewportWin, SaveBitmapWritesTheRegionAndRefusesAnEmptyOne) {
  gltest::SceneOnWindow s(20, 10, 20, 10);
  ASSERT_TRUE(s.ok);
  s.scene.AddEntity(new gltest::TestLine(GLVector(0, 5, 0), GLVector(20, 5, 0)));
  s.scene.Render();
  gltest::ScratchFolder folder;
  const std::string path = folder.Path() + "/small.bmp";
  ASSERT_TRUE(s.viewport->SaveBitmap(0, 3, 0, 2, path.c_str()));
  EXPECT_EQ(std::filesystem::file_size(path), 78u);
  std::ifstream in(path, std::ios::binary);
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[28], 24);
  EXPECT_EQ(bytes[54], 255) << "white background, blue byte first";

  const std::string empty = folder.Path() + "/empty.bmp";
  EXPECT_FALSE(s.viewport->SaveBitmap(3, 3, 0, 2, empty.c_str()));
  EXPECT_FALSE(s.viewport->SaveBitmap(0, 3, 2, 0, empty.c_str()));
  EXPECT_FALSE(std::filesystem::exists(empty));
  EXPECT_FALSE(s.viewport->SaveBitmap(0, 3, 0, 2, (folder.Path() + "/no/such/folder.bmp").c_str()));
}

}  // namespace
