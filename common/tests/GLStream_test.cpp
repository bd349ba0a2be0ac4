#include "common/GLStream.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(GLOstream, NeverFillsTheLastByte) {
  unsigned char nine[9] = {};
  GLOstream w(nine, sizeof nine);
  EXPECT_TRUE(w.WriteDouble(1.5));
  EXPECT_FALSE(w.WriteDouble(2.5)) << "8 + 8 >= 9";
  EXPECT_EQ(w.Tell(), 8u);

  unsigned char eight[8] = {};
  GLOstream full(eight, sizeof eight);
  EXPECT_FALSE(full.WriteDouble(1.5));
  EXPECT_EQ(full.Tell(), 0u);
}

TEST(GLOstream, EmptyWriterRefusesEverything) {
  GLOstream w;
  EXPECT_FALSE(w.Write(int32_t{1}));
  EXPECT_FALSE(w.WriteBytes("x", 1));
  EXPECT_FALSE(w.Seek(3));
  EXPECT_EQ(w.Tell(), 0u);
}

TEST(GLStream, ValuesRoundTripInOrder) {
  unsigned char buf[64] = {};
  GLOstream w(buf, sizeof buf);
  const double d = -1234.0625;
  ASSERT_TRUE(w.WriteDouble(d));
  ASSERT_TRUE(w.Write(int16_t{-2}));
  ASSERT_TRUE(w.Write(uint32_t{0xA1B2C3D4}));
  ASSERT_TRUE(w.Write(true));
  ASSERT_TRUE(w.Write(2.5f));
  EXPECT_EQ(w.Tell(), 8u + 2 + 4 + 1 + 4);
  EXPECT_EQ(std::memcmp(buf, &d, 8), 0) << "raw bytes, no header";
  EXPECT_EQ(buf[10], 0xD4) << "little-endian";

  GLIstream r(buf);
  double d2 = 0;
  int16_t s = 0;
  uint32_t u = 0;
  bool b = false;
  float f = 0;
  ASSERT_TRUE(r.ReadDouble(d2));
  EXPECT_EQ(r.Tell(), 8u);
  ASSERT_TRUE(r.Read(s));
  ASSERT_TRUE(r.Read(u));
  ASSERT_TRUE(r.Read(b));
  ASSERT_TRUE(r.Read(f));
  EXPECT_EQ(d2, d);
  EXPECT_EQ(s, -2);
  EXPECT_EQ(u, 0xA1B2C3D4u);
  EXPECT_TRUE(b);
  EXPECT_EQ(f, 2.5f);
}

TEST(GLIstream, SeekThenRead) {
  unsigned char block[20];
  for (int i = 0; i < 20; ++i) block[i] = static_cast<unsigned char>(i);
  GLIstream r(block);
  ASSERT_TRUE(r.Seek(12));
  uint32_t v = 0;
  ASSERT_TRUE(r.Read(v));
  EXPECT_EQ(v, 0x0F0E0D0Cu);
  GLIstream none;
  EXPECT_FALSE(none.Read(v));
}

TEST(GLIstream, BoundedReaderStopsAtItsEnd) {
  unsigned char block[10] = {};
  GLIstream r(block, sizeof block);
  double d = 0;
  EXPECT_TRUE(r.ReadDouble(d));
  EXPECT_FALSE(r.ReadDouble(d)) << "only 2 bytes left";
  EXPECT_EQ(r.Tell(), 8u);
  uint16_t last = 1;
  EXPECT_TRUE(r.Read(last));
  ASSERT_TRUE(r.Seek(50));
  EXPECT_FALSE(r.Read(last));
}

TEST(GLStream, LongsTravelAsFourBytesAndLongDoublesAsDoubles) {
  unsigned char buf[64] = {};
  GLOstream w(buf, sizeof buf);
  ASSERT_TRUE(w.Write(-5L));
  ASSERT_TRUE(w.Write(4000000000UL));
  ASSERT_TRUE(w.Write(2.25L));
  EXPECT_EQ(w.Tell(), 4u + 4 + 8);
  EXPECT_FALSE(w.Write(0x100000000L)) << "does not fit four bytes";
  EXPECT_FALSE(w.Write(0x100000000UL));
  EXPECT_FALSE(w.Write("text")) << "texts have no form in the stream";
  EXPECT_EQ(w.Tell(), 16u);
  w.Flush();
  EXPECT_EQ(w.Tell(), 16u);

  GLIstream r(buf, 16);
  long l = 0;
  unsigned long ul = 0;
  long double ld = 0;
  ASSERT_TRUE(r.Read(l));
  ASSERT_TRUE(r.Read(ul));
  ASSERT_TRUE(r.Read(ld));
  EXPECT_EQ(l, -5L);
  EXPECT_EQ(ul, 4000000000UL);
  EXPECT_EQ(ld, 2.25L);
  double d = 0;
  std::memcpy(&d, buf + 8, 8);
  EXPECT_EQ(d, 2.25) << "the layout of a double";
  r.Flush();
  EXPECT_FALSE(r.Read(l));
}
