#include "common/CDravikFunc.h"

#include <gtest/gtest.h>

#include "jov_vantrix/tests/TestHosts.h"

TEST(CDravikFunc, FullHostResolvesAtBothLevels) {
  for (int level : {6, 9}) {
    CDravikFunc host(TestHostPath("full").c_str(), false, level);
    ASSERT_TRUE(host.Resolve()) << "level " << level;
    EXPECT_NE(host.alt_entnext, nullptr);
    EXPECT_NE(host.unlink_DXF, nullptr);
    EXPECT_NE(host.GetBlockHandle, nullptr);
    EXPECT_NE(host.GetProfilePath, nullptr);
    EXPECT_EQ(host.makeblockdef_txt, nullptr) << "only the LT edition fetches these";
    EXPECT_EQ(host.alt_layerfind != nullptr, level >= 9);
  }
}

TEST(CDravikFunc, MissingOptionalBinaryBlockMakeFallsBack) {
  CDravikFunc host(TestHostPath("no_blkmake_bin").c_str(), false, 9);
  ASSERT_TRUE(host.Resolve());
  ASSERT_NE(host.alt_blkmake, nullptr);
  EXPECT_EQ(host.alt_blkmake_bin, host.alt_blkmake);
}

TEST(CDravikFunc, LtHostNeedsMoreAsTheLevelRises) {
  {
    CDravikFunc host(TestHostPath("lt_level6").c_str(), true, 6);
    EXPECT_TRUE(host.Resolve()) << "level 6 needs neither alt_makeblockdef nor alt_layerfind";
    EXPECT_EQ(host.GetBlockHandle, nullptr);
  }
  {
    CDravikFunc host(TestHostPath("lt_level6").c_str(), true, 7);
    EXPECT_FALSE(host.Resolve()) << "level 7 needs alt_makeblockdef";
  }
  {
    CDravikFunc host(TestHostPath("lt_level7").c_str(), true, 7);
    EXPECT_TRUE(host.Resolve());
  }
  {
    CDravikFunc host(TestHostPath("lt_level7").c_str(), true, 9);
    EXPECT_FALSE(host.Resolve()) << "level 9 needs alt_layerfind";
  }
  {
    CDravikFunc host(TestHostPath("lt").c_str(), true, 9);
    EXPECT_TRUE(host.Resolve());
    EXPECT_NE(host.alt_makeblockdef, nullptr);
  }
  {
    CDravikFunc host(TestHostPath("lt").c_str(), false, 9);
    EXPECT_FALSE(host.Resolve()) << "an LT host has no GetBlockHandle for the full edition";
  }
}

TEST(CDravikFunc, StopsAtTheFirstMissingNameInItsOrder) {
  // alt_prompt is sixth: the five before it are bound, nothing after it.
  CDravikFunc host(TestHostPath("no_prompt").c_str(), false, 9);
  EXPECT_FALSE(host.Resolve());
  EXPECT_NE(host.alt_entnext, nullptr);
  EXPECT_NE(host.alt_layernext, nullptr);
  EXPECT_NE(host.alt_blknext, nullptr);
  EXPECT_NE(host.alt_blkmake, nullptr);
  EXPECT_NE(host.alt_blkmake_bin, nullptr);
  EXPECT_EQ(host.alt_prompt, nullptr);
  EXPECT_EQ(host.alt_send, nullptr);
  EXPECT_EQ(host.unlink_DXF, nullptr);
}

TEST(CDravikFunc, MissingHostFailsTheFirstFetch) {
  CDravikFunc host("/nonexistent/dravik2d.arx", false, 6);
  EXPECT_FALSE(host.Resolve());
  EXPECT_EQ(host.GetModule(), nullptr);
  CDravikFunc noPath(nullptr, false, 6);
  EXPECT_FALSE(noPath.Resolve());
}

TEST(CModule, GivesBackTheReferenceItTook) {
  TestHost outer("full");
  ASSERT_TRUE(outer.Loaded());
  HMODULE before = GetModuleHandleA("dravik2d.arx");
  {
    CDravikFunc host(outer.Path().c_str(), false, 9);
    ASSERT_TRUE(host.Resolve());
    EXPECT_EQ(host.GetModule(), before) << "the loaded host is shared, not loaded twice";
  }
  EXPECT_EQ(GetModuleHandleA("dravik2d.arx"), before) << "the outer reference still holds";
}
