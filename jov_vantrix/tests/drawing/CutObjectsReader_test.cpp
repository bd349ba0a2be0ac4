// Reading a branch selection for the section drawing, through the real host
// on small drawings of network entities selected in drawing order.
#include "jov_vantrix/section/CutObjectsReader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CObjSezNew.h"
#include "jov_vantrix/tests/drawing/SectionDriver.h"
#include "jov_vantrix/tests/drawing/SmallDrawings.h"

namespace {

const std::string kData = std::string(JOV_SOURCE_DIR) + "/tests/data/";

// One entity of a test drawing: an INSERT at (1000, y), or an LWPOLYLINE
// pipe from (1000, y) to (3000, y), or a plain LINE.
struct Entity {
  const char* kind;
  std::string code;
  Props props;
  double y = 0.0;
};

const Props kBranch{{"_NBRANCH", "V1"}, {"_NUM_BRANCH", "1"}, {"_NUM_SIDE", "0"}, {"_NUM_ASSOC", "A1"}};

Entity Start() { return {"INSERT", "TCD0000i0002", With({{"_TYPE", "2097281"}}, kBranch)}; }
Entity Riser(const char* position) {
  Props props = With({{"_TYPE", "197"}, {"_NUM_RISER", "4"}}, kBranch);
  if (*position) props.push_back({"_POS_RISER", position});
  return {"INSERT", "TST0000i0001", props};
}
Entity Product() { return {"INSERT", "TCD0000i0001", With({{"_TYPE", "1048705"}, {"CM", "1"}, {"CT", "1"}}, kBranch)}; }
Entity Pipe(const char* code, double y, const Props& more = {}) {
  Props props{{"_TYPE", "128"}, {"_NBRANCH", "V1"}, {"_BRANCH", "1"}, {"_NUM_SIDE", "0"}, {"_NUM_RISER", "0"},
              {"CM", "1"}, {"CT", "1"}, {"_NUM_ASSOC", "A1"}};
  return {"LWPOLYLINE", code, With(props, more), y};
}

std::string Drawing(const std::vector<Entity>& entities, std::string& handles) {
  std::vector<DrawnEntity> drawn;
  for (const Entity& e : entities) {
    DrawnEntity d{e.kind, e.code, e.props, {{1000.0, e.y}}};
    if (std::string(e.kind) == "LWPOLYLINE") d.points.push_back({3000.0, e.y});
    drawn.push_back(d);
  }
  return SmallDrawing(drawn, handles);
}

TEST(CutObjectsReader, SelectionsOfABranch) {
  struct Case {
    const char* what;
    std::vector<Entity> entities;
    int result;
    std::vector<int> types;  // of the records read
    const char* marker;
  } const cases[] = {
      {"a branch start, its product and a pair of pipes",
       {Start(), Product(), Pipe("TPP0000-0001", 1200), Pipe("TPZ0000-0001", 1100)},
       kCutReadOk, {7, 2, 5, 6}, "0"},
      {"a riser first, with its position",
       {Riser("1"), Product(), Pipe("TPP0000-0001", 1200), Pipe("TPZ0000-0001", 1100)},
       kCutReadOk, {1, 2, 5, 6}, "4"},
      {"a second branch start", {Start(), Product(), Start()}, kCutReadSecondStart, {7, 2, 0}, "0"},
      {"a riser without its position first", {Riser(""), Product()}, kCutReadNoStart, {0}, ""},
      {"a product first ends the reading; no pipes pair",
       {Product(), Pipe("TPP0000-0001", 1200), Pipe("TPZ0000-0001", 1100)},
       kCutReadPipesUnpaired, {0}, ""},
      {"two supply pipes and one return pipe",
       {Start(), Product(), Pipe("TPP0000-0001", 1200), Pipe("TPP0000-0001", 1300), Pipe("TPZ0000-0001", 1100)},
       kCutReadPipesUnpaired, {7, 2, 5, 5, 6}, "0"},
      {"pipes of another association, in the network, or not pipes are the branch's no pipes",
       {Start(), Product(), Pipe("TPP0000-0001", 1200), Pipe("TPZ0000-0001", 1100),
        Pipe("TPP0000-0001", 1300, {{"_NUM_ASSOC", "A2"}}), Pipe("TPZ0000i0001", 1000),
        Pipe("TPP0000-0001", 900, {{"_TYPE", "1"}}), {"LINE", "", {}}},
       kCutReadOk, {7, 2, 5, 6, 0, 0, 0, 0}, "0"},
      {"a riser after the start, without its position, is a product", {Start(), Product(), Riser(""),
                                                                        Pipe("TP60000-0001", 1200),
                                                                        Pipe("TP70000-0001", 1100)},
       kCutReadOk, {7, 2, 2, 5, 6}, "0"},
      {"nothing of the network first", {{"LINE", "", {}}, Start()}, kCutReadPipesUnpaired, {0}, ""},
  };
  SectionDriver driver;
  ASSERT_TRUE(driver.Ready(kData + "branch.cat"));
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string handles;
    const std::string path = driver.Folder() + "/reader" + std::to_string(n++) + ".dxf";
    std::ofstream(path, std::ios::binary) << Drawing(c.entities, handles);
    ASSERT_TRUE(driver.Host().Open(path, handles));
    CObjSezNew list;
    CString marker;
    CObjDataNew* start = nullptr;
    EXPECT_EQ(ReadCutObjects(list, marker, start), c.result);
    std::vector<int> types;
    for (const CObjDataNew* r = list.GetFirstRecord(); r; r = r->GetNextRecord()) types.push_back(r->m_objectType);
    EXPECT_EQ(types, c.types);
    EXPECT_EQ(list.m_readCount, list.GetCount());
    EXPECT_STREQ(marker, c.marker);
    EXPECT_STREQ(list.m_shiftMarker, c.marker);
    if (c.result == kCutReadOk) {
      EXPECT_EQ(start, list.GetFirstRecord()) << "the start is the first record here";
      EXPECT_EQ(list.m_secondCount, 1u);
    }
  }
}

TEST(CutObjectsReader, PipeValuesAndPipeTypeMarkers) {
  SectionDriver driver;
  ASSERT_TRUE(driver.Ready(kData + "branch.cat"));
  std::string handles;
  const std::string path = driver.Folder() + "/pipes.dxf";
  std::ofstream(path, std::ios::binary) << Drawing(
      {Start(), Product(), Pipe("TP60000-0001", 1200, {{"P3", "0.8"}, {"CR", "x"}}), Pipe("TP70000-0001", 1100)},
      handles);
  ASSERT_TRUE(driver.Host().Open(path, handles));
  CObjSezNew list;
  CString marker;
  CObjDataNew* start = nullptr;
  ASSERT_EQ(ReadCutObjects(list, marker, start), kCutReadOk);
  EXPECT_STREQ(list.m_marker1, "18");
  EXPECT_STREQ(list.m_marker2, "19");
  ASSERT_NE(list.m_pDatabase, nullptr);
  const CObjDataNew* supply = static_cast<const CObjDataNew*>(list.GetAt(2));
  EXPECT_STREQ(supply->RunsOrNone().m_thirdProperty, "0.8") << "the property the catalogue names third";
  EXPECT_STREQ(supply->m_branchNumber, "1") << "from _BRANCH";
  EXPECT_STREQ(supply->RunsOrNone().m_CR, "x");
  EXPECT_EQ(supply->m_basePoint, GLVector(1000, 1200, 0));
  EXPECT_DOUBLE_EQ(supply->m_length, 2000);
  const CObjDataNew* product = static_cast<const CObjDataNew*>(list.GetAt(1));
  EXPECT_FALSE(product->m_offsetFlag) << "no CR";
  EXPECT_EQ(GetListMediumLetter(list), 'T') << "no riser";
}

TEST(CutObjectsReader, TradeLetterIsTheFirstRisersOrT) {
  CObjSezNew list;
  EXPECT_EQ(GetListMediumLetter(list), 'T');
  auto add = [&](int type, const char* code) {
    auto* r = new CObjDataNew(0, type, nullptr, 0);
    r->m_jovData.m_typeCode = code;
    list.AddTail(r);
  };
  add(kObjectNetworkInsert, "ACD0000i0001");
  EXPECT_EQ(GetListMediumLetter(list), 'T');
  add(kObjectRiser, "HST0000i0001");
  add(kObjectRiser, "VST0000i0001");
  EXPECT_EQ(GetListMediumLetter(list), 'H');
}

}  // namespace
