// The written forms of the scene library's objects, read back.
#include <gtest/gtest.h>

#include <cstring>

#include "objectgl/GLEntity.h"
#include "objectgl/GLLight.h"
#include "objectgl/GLMaterial.h"
#include "common/GLStream.h"

namespace {

template <class T>
uint64_t WrittenSize(const T& object) {
  unsigned char buffer[512] = {};
  GLOstream os(buffer, sizeof buffer);
  EXPECT_TRUE(object.Write(os));
  return os.Tell();
}

TEST(GLSerialisation, EachObjectWritesItsFixedSizeAndReadsItBack) {
  EXPECT_EQ(WrittenSize(GLName(7)), 4u);
  GLMatrix m;
  m.SetTranslation(1, 2, 3);
  m.SetRotationZ(0.5);
  EXPECT_EQ(WrittenSize(GLPushMatrix(m)), 128u);
  EXPECT_EQ(WrittenSize(GLPopMatrix()), 0u);
  EXPECT_EQ(WrittenSize(GLMaterial()), 69u);

  unsigned char buffer[512] = {};
  GLOstream os(buffer, sizeof buffer);
  const float colour[4] = {0.1f, 0.2f, 0.3f, 0.4f};
  GLMaterial material(colour);
  material.shininess = 12.5f;
  ASSERT_TRUE(GLName(0xABCD).Write(os));
  ASSERT_TRUE(GLPushMatrix(m).Write(os));
  ASSERT_TRUE(material.Write(os));

  GLIstream is(buffer, static_cast<uint32_t>(os.Tell()));
  GLName name;
  GLPushMatrix push;
  GLMaterial back;
  ASSERT_TRUE(name.Read(is));
  ASSERT_TRUE(push.Read(is));
  ASSERT_TRUE(back.Read(is));
  EXPECT_EQ(name.GetId(), 0xABCDu);
  EXPECT_EQ(std::memcmp(push.Matrix().GetData(), m.GetData(), 128), 0);
  EXPECT_EQ(std::memcmp(back.diffuse, colour, 16), 0);
  EXPECT_EQ(back.shininess, 12.5f);
  EXPECT_EQ(back.GetTexture(), nullptr);
  EXPECT_EQ(is.Tell(), os.Tell());
}

TEST(GLSerialisation, AMaterialOnAShortStreamReportsItAndStaysAsItWas) {
  const float colour[4] = {0.1f, 0.2f, 0.3f, 0.4f};
  GLMaterial material(colour);
  unsigned char buffer[128] = {};
  // 69 bytes go in a buffer of 70 (a put needs a byte to spare).
  for (uint32_t capacity : {0u, 16u, 64u, 68u, 69u}) {
    GLOstream os(buffer, capacity);
    EXPECT_FALSE(material.Write(os)) << capacity;
  }
  GLOstream os(buffer, 70);
  ASSERT_TRUE(material.Write(os));
  buffer[68] = 1;  // with a texture
  for (uint32_t size : {0u, 20u, 64u, 68u}) {
    GLIstream is(buffer, size);
    GLMaterial back;
    EXPECT_FALSE(back.Read(is)) << size;
    EXPECT_EQ(back.diffuse[0], 0.8f) << "untouched";
    EXPECT_EQ(back.GetTexture(), nullptr);
  }
  GLIstream none;
  GLMaterial back;
  EXPECT_FALSE(back.Read(none));
  GLIstream whole(buffer, 69);
  ASSERT_TRUE(back.Read(whole));
  EXPECT_EQ(back.diffuse[3], 0.4f);
  EXPECT_NE(back.GetTexture(), nullptr);
}

TEST(GLSerialisation, AMaterialWithATextureKeepsItAndLightsAlwaysReportFailure) {
  const float c[4] = {1, 1, 1, 1};
  GLMaterial textured(c, c, c, c, 1.0f, new GLTexture);
  unsigned char buffer[128] = {};
  GLOstream os(buffer, sizeof buffer);
  ASSERT_TRUE(textured.Write(os));
  EXPECT_EQ(buffer[68], 1) << "the has-texture byte";
  GLIstream is(buffer, sizeof buffer);
  GLMaterial back;
  ASSERT_TRUE(back.Read(is));
  EXPECT_NE(back.GetTexture(), nullptr);
  GLMaterial copy(back);
  EXPECT_NE(copy.GetTexture(), nullptr);
  EXPECT_NE(copy.GetTexture(), back.GetTexture());

  GLOmniLight light(3);
  light.SetCameraRelative(false);
  GLOstream ls(buffer, sizeof buffer);
  EXPECT_FALSE(light.Write(ls));
  EXPECT_EQ(ls.Tell(), 5u);
  GLOmniLight read;
  GLIstream lr(buffer, 5);
  EXPECT_FALSE(read.Read(lr));
  EXPECT_EQ(read.GetNumber(), 3u);
  EXPECT_FALSE(read.IsCameraRelative());

  GLDirectionLight spot;
  float cutoff = 0, exponent = 1;
  spot.GetCutoff(&cutoff);
  spot.GetSpotExponent(&exponent);
  EXPECT_TRUE(spot.IsDirectional());
  EXPECT_EQ(cutoff, 180.0f);
  EXPECT_EQ(exponent, 0.0f);
}

}  // namespace
