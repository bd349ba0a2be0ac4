#include <gtest/gtest.h>

#include "platform/host/DxfDrawing.h"
#include "platform/host/DxfGroupText.h"
#include "platform/host/tests/DxfTestFiles.h"

namespace host {
namespace {

TEST(DxfDrawingClone, CopyKeepsIdsHandlesAndTextAndIsIndependent) {
  DxfDrawing d;
  DxfError error;
  ASSERT_TRUE(d.Load(test::FixturePath("r2000_network.dxf"), &error)) << error.ToString();
  std::unique_ptr<DxfDrawing> copy = d.Clone();
  EXPECT_EQ(copy->SaveText(), d.SaveText());
  EXPECT_EQ(copy->HandleSeed(), d.HandleSeed());

  DxfEntity* line = d.FindByHandle(0x40);
  ASSERT_NE(line, nullptr);
  DxfEntity* copied = copy->FindById(line->id);
  ASSERT_NE(copied, nullptr);
  EXPECT_NE(copied, line);
  EXPECT_EQ(copy->FindByHandle(0x40), copied);
  // The INSERT's attribute is found in the copy, not in the original.
  DxfEntity* attribute = copy->FindByHandle(0x43);
  ASSERT_NE(attribute, nullptr);
  EXPECT_EQ(attribute, &copy->FindByHandle(0x42)->children[0]);

  // Edits of the copy stay there; the copy's handles go on from the seed.
  PairList pairs = copied->pairs;
  pairs.push_back({1001, "JOV_DATA"});
  pairs.push_back({1000, "x"});
  ASSERT_TRUE(copy->ReplaceEntity(*copied, pairs, &error)) << error.ToString();
  DxfEntity* added = copy->AppendEntity({{0, "POINT"}, {10, "1.0"}, {20, "2.0"}, {30, "0.0"}}, &error);
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(added->Handle(), d.HandleSeed());
  EXPECT_EQ(line->pairs.back().code, 31);
  EXPECT_EQ(d.FindById(added->id), nullptr);
  EXPECT_EQ(d.Entities().size() + 1, copy->Entities().size());
  // The original refuses to replace through the copy's object.
  EXPECT_FALSE(d.ReplaceEntity(*copied, pairs, &error));
}

TEST(DxfDrawingClone, AnOpenBlockDefinitionGoesWithTheCopy) {
  DxfDrawing d;
  DxfError error;
  ASSERT_TRUE(d.Load(test::FixturePath("r12_network.dxf"), &error)) << error.ToString();
  ASSERT_TRUE(d.BeginBlock("VENTIL", {1.0, 2.0, 0.0}, &error)) << "redefines the block";
  ASSERT_TRUE(d.AddBlockEntity({{0, "POINT"}, {10, "0.0"}, {20, "0.0"}, {30, "0.0"}}, &error));
  std::unique_ptr<DxfDrawing> copy = d.Clone();
  d.CancelBlock();
  ASSERT_TRUE(copy->BlockOpen());
  ASSERT_EQ(copy->EndBlock(&error), "VENTIL");
  EXPECT_EQ(copy->FindBlock("VENTIL")->entities.size(), 1u);
  EXPECT_EQ(d.FindBlock("VENTIL")->entities.size(), 4u) << "the original keeps its definition";
}

TEST(DxfDrawingClone, ValuesOutliveTheDrawingTheyWereReadFrom) {
  // Loaded values view the file's text: a clone shares it and a copied pair
  // list holds its own bytes, so both stay whole after the original goes
  // (the sanitizers watch every read below).
  for (const char* name : {"r12_network.dxf", "r2000_network.dxf", "r2013_utf8.dxf"}) {
    auto d = std::make_unique<DxfDrawing>();
    DxfError error;
    ASSERT_TRUE(d->Load(test::FixturePath(name), &error)) << error.ToString();
    const std::string saved = d->SaveText();
    std::unique_ptr<DxfDrawing> copy = d->Clone();
    std::unique_ptr<DxfDrawing> copyOfCopy = copy->Clone();
    PairList pairs = d->ModelSpace().front()->pairs;
    const std::string pairsText = FormatPairs(pairs);
    d.reset();
    copy.reset();
    EXPECT_EQ(copyOfCopy->SaveText(), saved) << name;
    EXPECT_EQ(FormatPairs(pairs), pairsText) << name;
    // An edit of the copy mixes values of its own with the shared ones.
    pairs.push_back({1001, "JOV_DATA"});
    pairs.push_back({1000, "x"});
    DxfEntity& first = *copyOfCopy->ModelSpace().front();
    ASSERT_TRUE(copyOfCopy->ReplaceEntity(first, pairs, &error)) << name << ": " << error.ToString();
    std::unique_ptr<DxfDrawing> edited = copyOfCopy->Clone();
    copyOfCopy.reset();
    EXPECT_EQ(edited->ModelSpace().front()->pairs.back().value, "x") << name;
  }
}

}  // namespace
}  // namespace host
