#include <gtest/gtest.h>

#include "platform/host/DxfDrawing.h"
#include "platform/host/tests/DxfTestFiles.h"

namespace host {
namespace {

using test::FixturePath;

const PairList kLine{{0, "LINE"}, {100, "AcDbEntity"}, {8, "0"}, {100, "AcDbLine"},
                     {10, "0.0"}, {20, "0.0"}, {30, "0.0"}, {11, "1.0"}, {21, "0.0"},
                     {31, "0.0"}};

class DxfDrawingBlock : public ::testing::Test {
 protected:
  void Load(const char* name) {
    DxfError error;
    ASSERT_TRUE(d.Load(FixturePath(name), &error)) << error.ToString();
  }
  // Defines a block of the given entities and gives its final name.
  std::string Define(std::string_view name, std::vector<PairList> entities,
                     std::array<double, 3> base = {0, 0, 0}) {
    DxfError error;
    EXPECT_TRUE(d.BeginBlock(name, base, &error)) << error.ToString();
    for (PairList& e : entities) EXPECT_TRUE(d.AddBlockEntity(std::move(e), &error)) << error.ToString();
    auto final = d.EndBlock(&error);
    EXPECT_TRUE(final) << error.ToString();
    return final.value_or("");
  }

  DxfDrawing d;
};

TEST_F(DxfDrawingBlock, AnonymousBlocksGetRealUniqueNames) {
  Load("r2000_network.dxf");
  EXPECT_EQ(Define("*UJOVCUT20041", {kLine}), "*U1");
  EXPECT_EQ(Define("*UJOVCUT20042", {kLine}), "*U2");
  EXPECT_EQ(Define("*u", {kLine}), "*U3");
  const DxfBlock* block = d.FindBlock("*U2");
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block->begin.Value(70), "1") << "flagged anonymous";
  EXPECT_EQ(block->begin.Value(3), "*U2");
}

TEST_F(DxfDrawingBlock, NumberingGoesOnAfterTheDrawingsOwn) {
  DxfError error;
  ASSERT_TRUE(d.LoadText("0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n8\n0\n2\n*U5\n70\n1\n10\n0\n20\n0\n"
                         "30\n0\n3\n*U5\n0\nENDBLK\n8\n0\n0\nENDSEC\n0\nEOF\n",
                         &error));
  EXPECT_EQ(Define("*UX", {kLine}), "*U6");
}

TEST_F(DxfDrawingBlock, R2000BlockHasItsRecordAndOwnsItsEntities) {
  Load("r2000_network.dxf");
  std::string name = Define("*UJOVCUT20041", {kLine, kLine}, {10.0, 20.5, 0.0});
  const DxfBlock* block = d.FindBlock(name);
  ASSERT_NE(block, nullptr);
  const DxfEntity* record = d.FindTableEntry("BLOCK_RECORD", name);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->Owner(), 0x1u) << "owned by the BLOCK_RECORD table";
  EXPECT_EQ(block->begin.Owner(), record->Handle());
  EXPECT_EQ(block->end.Owner(), record->Handle());
  ASSERT_EQ(block->entities.size(), 2u);
  for (const auto& e : block->entities) {
    EXPECT_EQ(e->Owner(), record->Handle());
    EXPECT_EQ(d.FindByHandle(*e->Handle()), e.get());
  }
  EXPECT_EQ(block->begin.Value(10), "10.0");
  EXPECT_EQ(block->begin.Value(20), "20.5");
  EXPECT_EQ(block->begin.Value(100), "AcDbEntity");
  EXPECT_EQ(block->end.pairs.back().value, "AcDbBlockEnd");
  EXPECT_TRUE(d.ModelSpace().size() == 5u) << "block content is not model space";

  DxfError error;
  EXPECT_NE(d.AppendEntity({{0, "INSERT"}, {8, "0"}, {2, name}, {10, "0"}, {20, "0"}}, &error),
            nullptr)
      << error.ToString();
}

TEST_F(DxfDrawingBlock, R12BlockHasNoRecord) {
  Load("r12_network.dxf");
  std::string name = Define("*UJOVCUT20041", {kLine});
  const DxfBlock* block = d.FindBlock(name);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(d.FindTable("BLOCK_RECORD"), nullptr);
  EXPECT_FALSE(block->begin.Owner());
  EXPECT_TRUE(block->begin.Handle()) << "the drawing uses handles";
  EXPECT_EQ(block->entities[0]->Find(100), nullptr);
}

TEST_F(DxfDrawingBlock, NamedBlockIsRedefined) {
  Load("r2000_network.dxf");
  const DxfBlock* before = d.FindBlock("VENTIL");
  ASSERT_NE(before, nullptr);
  EXPECT_EQ(Define("Ventil", {kLine}, {5.0, 0.0, 0.0}), "VENTIL");
  EXPECT_EQ(d.Blocks().size(), 3u);
  EXPECT_EQ(d.FindBlock("VENTIL"), before);
  ASSERT_EQ(before->entities.size(), 1u);
  EXPECT_EQ(before->entities[0]->Owner(), 0x33u) << "the existing record owns the new content";
  EXPECT_EQ(d.FindByHandle(0x36), nullptr) << "the old content is gone";
  EXPECT_EQ(before->begin.Value(10), "5.0");
  EXPECT_EQ(before->begin.Handle(), 0x34u);
}

TEST_F(DxfDrawingBlock, DefinitionsOneAtATime) {
  Load("r2000_network.dxf");
  DxfError error;
  EXPECT_FALSE(d.AddBlockEntity(kLine, &error));
  EXPECT_FALSE(d.EndBlock(&error));
  EXPECT_FALSE(d.BeginBlock("", {0, 0, 0}, &error));
  EXPECT_FALSE(d.BeginBlock("*Model_Space", {0, 0, 0}, &error));
  EXPECT_NE(error.message.find("reserved"), std::string::npos);

  ASSERT_TRUE(d.BeginBlock("A", {0, 0, 0}, &error));
  EXPECT_TRUE(d.BlockOpen());
  EXPECT_FALSE(d.BeginBlock("B", {0, 0, 0}, &error));
  EXPECT_FALSE(d.AddBlockEntity({{0, "INSERT"}, {8, "0"}, {2, "A"}}, &error))
      << "a block cannot hold itself";
  EXPECT_TRUE(d.AddBlockEntity(kLine, &error));
  d.CancelBlock();
  EXPECT_FALSE(d.BlockOpen());
  EXPECT_EQ(d.FindBlock("A"), nullptr);
  EXPECT_EQ(d.FindTableEntry("BLOCK_RECORD", "A"), nullptr);
}

TEST_F(DxfDrawingBlock, BlocksSurviveARoundTrip) {
  Load("r2000_network.dxf");
  std::string name = Define("*U", {kLine, kLine});
  DxfDrawing again;
  DxfError error;
  ASSERT_TRUE(again.LoadText(d.SaveText(), &error)) << error.ToString();
  const DxfBlock* block = again.FindBlock(name);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block->entities.size(), 2u);
  EXPECT_EQ(again.HandleSeed(), d.HandleSeed());
}

}  // namespace
}  // namespace host
