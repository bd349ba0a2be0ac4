#include "objectgl/GLException.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "GLTestSupport.h"
#include "objectgl/GLMaterial.h"
#include "objectgl/GLResourceSupp.h"
#include "platform/mfc/module_state.h"

namespace {

TEST(GLException, WithoutTheResourceFileTheFixedTextsShow) {
  gltest::ScopedRegistry noSharedFolder;
  EXPECT_EQ(GLException(1003).GetText(), "*** I cannot find resource file \"GLOBJECT.GLR\". ***\n\n0");
  EXPECT_EQ(GLException(0).GetText(), "Error is not specified.\n\n0");
  EXPECT_EQ(GLException(0, "a", "b", "third", 12).GetText(), "Error is not specified.\nthird\n12");
  EXPECT_EQ(GLException(1003).GetTitle(), nullptr);

  ClearUiJournal();
  GLException(1005).Show(nullptr, 48);
  const auto boxes = gltest::MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "*** I cannot find resource file \"GLOBJECT.GLR\". ***\n\n0");
}

TEST(GLException, TheResourceFileGivesTitleFormatAndMessage) {
  gltest::ScopedRegistry shared(true);
  GLException e(1003, "first", "second", "third", 7);
  EXPECT_STREQ(e.GetTitle(), "ObjectGL scene library error");
  EXPECT_STREQ(e.GetMessage(), "An index lies beyond the end of an object array.");
  EXPECT_EQ(e.GetText(), "An index lies beyond the end of an object array.\n\nDetail: first second third\nLine: 7");
  for (uint32_t code : {1002u, 1004u, 1005u, 1006u}) EXPECT_STRNE(GLException(code).GetMessage(), "") << code;
  GLException copy = e;
  EXPECT_EQ(copy.GetText(), e.GetText());
  EXPECT_EQ(copy.GetCode(), 1003u);

  ClearUiJournal();
  e.Show(nullptr, 48);
  ASSERT_EQ(gltest::MessageBoxes().size(), 1u);
  EXPECT_EQ(gltest::MessageBoxes()[0].caption, "ObjectGL scene library error");
}

TEST(GLResourceSupp, AFileInTheCurrentFolderIsNeverLoaded) {
  gltest::ScopedRegistry noSharedFolder;
  gltest::ScratchFolder planted;
  const char* modules = std::getenv("JOV_MODULE_DIR");
  std::filesystem::copy_file(std::string(modules) + "/GLOBJECT.GLR", planted.Path() + "/GLOBJECT.GLR");
  const auto before = std::filesystem::current_path();
  std::filesystem::current_path(planted.Path());
  EXPECT_EQ(LoadObjectGLResources("GLOBJECT.GLR", nullptr), nullptr);
  try {
    GLResourceSupp r("GLOBJECT.GLR", true, nullptr);
    ADD_FAILURE() << "loaded from the current folder";
  } catch (const GLException& e) {
    EXPECT_EQ(e.GetCode(), 1005u);
  }
  std::filesystem::current_path(before);
}

TEST(GLResourceSupp, SwitchesTheResourceHandleForItsLifeAndRefusesNoLibrary) {
  gltest::ScopedRegistry shared(true);
  const HINSTANCE before = AfxGetResourceHandle();
  {
    GLResourceSupp r(kObjectGLResourceFile, true, nullptr);
    EXPECT_EQ(AfxGetResourceHandle(), r.GetModule());
    EXPECT_NE(r.LoadResourceById(107, "Binary"), nullptr);
    EXPECT_EQ(r.LoadResourceById(108, "Binary"), nullptr);
    EXPECT_EQ(r.SizeOfResourceById(107, "Binary"), 12u + 256u * 16u);
  }
  EXPECT_EQ(AfxGetResourceHandle(), before);
  EXPECT_THROW(GLResourceSupp(), GLException);
  try {
    GLResourceSupp r(static_cast<HMODULE>(nullptr), false);
  } catch (const GLException& e) {
    EXPECT_EQ(e.GetCode(), 1005u);
  }
}

TEST(GLMatLib, ThePaletteHoldsTheStandardColours) {
  gltest::ScopedRegistry shared(true);
  GLMatLib lib;
  ASSERT_TRUE(lib.LoadPalette());
  ASSERT_EQ(lib.GetCount(), 256u);
  struct Colour {
    uint32_t index;
    float r, g, b;
  } const colours[] = {{0, 0, 0, 0}, {1, 1, 0, 0}, {2, 1, 1, 0}, {3, 0, 1, 0}, {5, 0, 0, 1},
                       {6, 1, 0, 1}, {7, 1, 1, 1}, {10, 1, 0, 0}, {50, 1, 1, 0}};
  for (const Colour& c : colours) {
    const GLMaterial* m = lib.GetMaterial(c.index);
    EXPECT_FLOAT_EQ(m->diffuse[0], c.r) << c.index;
    EXPECT_FLOAT_EQ(m->diffuse[1], c.g) << c.index;
    EXPECT_FLOAT_EQ(m->diffuse[2], c.b) << c.index;
    EXPECT_FLOAT_EQ(m->ambient[0], 0.4f * c.r) << c.index;
    EXPECT_FLOAT_EQ(m->specular[2], 0.4f * c.b) << c.index;
  }
  EXPECT_FLOAT_EQ(lib.GetMaterial(4)->diffuse[3], 0.2f);
  EXPECT_FLOAT_EQ(lib.GetMaterial(144)->specular[3], 0.2f);
  EXPECT_FLOAT_EQ(lib.GetMaterial(7)->diffuse[3], 1.0f);
  EXPECT_EQ(lib.GetMaterial(256), nullptr);

  gltest::ScopedRegistry none;
  GLMatLib missing;
  EXPECT_THROW(missing.LoadPalette(), GLException);
  EXPECT_EQ(missing.GetCount(), 0u);
}

}  // namespace
