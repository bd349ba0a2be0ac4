// The section drawing of a picked branch, in process on branch.dxf through
// the real host: the selection read, the section generated with the test
// product library's products, written back, saved and checked with ezdxf
// (check_cut_drawing.py).
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "common/GroupChainBuilder.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CObjSezNew.h"
#include "jov_vantrix/network/RecordGeometry.h"
#include "jov_vantrix/network/RecordWriteBack.h"
#include "jov_vantrix/section/CutDrawing.h"
#include "jov_vantrix/section/CutObjectsReader.h"
#include "jov_vantrix/tests/drawing/SectionDriver.h"

namespace {

const std::string kData = std::string(JOV_SOURCE_DIR) + "/tests/data/";
const char* kAllHandles = "39,3B,3D,3E";  // S, P, F, R

// The settings of the test: distances in metres, text sizes in millimetres.
// OK makes the pipe start 3.0 - 0.1 - 0.3 = 2.6 and the first bubble
// distance 0.1 - 2.5 = -2.4.
std::string Settings(int drawFloor) {
  return "[CUT_DLG]\r\nDIST_RISER=0.5\r\nDIST_ELM=0.3\r\nHEIGHT_FLOOR=3.0\r\nDIST_PIPE=0.1\r\n"
         "PIPE_FLOOR_DIST=0.3\r\nDESC_ELM=1\r\nDRAW_FLOOR=" + std::to_string(drawFloor) +
         "\r\nDESC_FLOOR=1NP\r\nPIPE_SWITCH=0\r\n[DESC]\r\nLAYER=DESC\r\nHEIGHT=2.5\r\nSCFACTOR=0.8\r\n";
}
const char* kPipeTypes = "[MODULE_T]\r\n0=TPP0000-0001;P;PIPE_S\r\n1=TPZ0000-0001;Z;PIPE_R\r\n";

// Every product of the catalogue: a 600 x 500 rectangle of four LINEs from
// the origin with a connection point (a DEFPOINTS circle of colour 7) at
// (50, 0), and data whose one connection-point record has the code given.
struct Product {
  explicit Product(const char* code) {
    GroupChainBuilder b(0);
    const double o[3] = {0, 0, 0}, x[3] = {600, 0, 0}, xy[3] = {600, 500, 0}, y[3] = {0, 500, 0},
                 c[3] = {50, 0, 0};
    geometry = b.Build(0, "LINE", 8, "0", 10, o, 11, x, 0, "LINE", 8, "0", 10, x, 11, xy, 0, "LINE", 8, "0",
                       10, xy, 11, y, 0, "LINE", 8, "0", 10, y, 11, o, 0, "CIRCLE", 8, "DEFPOINTS", 62, 7, 10,
                       c, 40, 5.0, -9);
    const std::string points = std::string("1\nP1\n50\n0\n") + code + "\n";
    data = b.Build(1001, "JOV_DATA", 1000, "TXX0600-0001", 1000, "_TYPE", 1000, "1048705", 1000, "_PTS", 1000,
                   points.c_str(), -9);
  }
  ~Product() {
    FreeGroupCodeChain(geometry);
    FreeGroupCodeChain(data);
  }
  resbuf* geometry;
  resbuf* data;
};

class CutDrawingOnDrawings : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(driver_.Ready(kData + "branch.cat")); }

  // Reads the selection of branch.dxf, generates with the settings and
  // saves what the write-back left; the generator's result.
  int Generate(const char* handles, int drawFloor, const char* connectionCode,
               const std::string& saved, int expectRead = kCutReadOk, const std::string& drawing = kData + "branch.dxf") {
    if (!driver_.Open(drawing, handles)) return -1;
    Product product(connectionCode);
    driver_.Answer(product.geometry, product.data);
    CString marker;
    CObjDataNew* start = nullptr;
    EXPECT_EQ(ReadCutObjects(list_, marker, start), expectRead);
    marker_ = marker;
    start_ = start;
    readCount_ = list_.GetCount();
    EXPECT_EQ(list_.m_readCount, readCount_);

    HostBeginChange(TheApp().m_pHostTable);
    JovCutParams params(&MarchFifthMoment);
    driver_.FillBranchParams(params, list_, Settings(drawFloor), kPipeTypes, GLVector(10000, 20000, 0));
    EXPECT_DOUBLE_EQ(params.m_pipeBeginLength, 2600);
    EXPECT_DOUBLE_EQ(params.m_bubbleDistance1, -2400);
    const int result = BuildCutDrawing(list_, params);
    WriteRecordsToDrawing(list_, result != 1);
    HostEndChange(TheApp().m_pHostTable, 1);
    EXPECT_TRUE(driver_.Save(saved));
    return result;
  }

  testsupport::Outcome Check(const std::string& saved, const char* mode) {
    return driver_.Check("jov_vantrix/tests/drawing/check_cut_drawing.py",
                         {saved, mode, "05.03.2013-14.07.09", "14.07.09-05.03.2013",
                          SectionDriver::Text(IDS_LAYER_FIRST_DESCRIPTION).GetString(),
                          SectionDriver::Text(IDS_LAYER_FLOOR_MARK).GetString(),
                          SectionDriver::Text(IDS_LAYER_BASE_LINE).GetString()});
  }

  SectionDriver driver_;
  CObjSezNew list_;
  std::string marker_;
  CObjDataNew* start_ = nullptr;
  uint32_t readCount_ = 0;
};

TEST_F(CutDrawingOnDrawings, BranchBecomesASectionOfItsProductsPipesAndFloor) {
  const std::string saved = driver_.Folder() + "/section.dxf";
  ASSERT_EQ(Generate(kAllHandles, 1, "20", saved), 1);
  EXPECT_EQ(readCount_, 4u);
  EXPECT_EQ(marker_, "0") << "a branch start was picked";
  EXPECT_EQ(list_.m_shiftMarker, "0");
  ASSERT_NE(start_, nullptr);
  EXPECT_EQ(start_->m_objectType, kObjectPickedBranch);
  EXPECT_EQ(start_->m_jovData.m_typeCode, "TCD0000i0002");

  // The start and the product were looked up in catalogue view B, the
  // product with the floor height as its "O" in millimetres.
  const std::vector<SectionDriver::Call> calls = driver_.Calls();
  ASSERT_EQ(calls.size(), 2u);
  for (const SectionDriver::Call& call : calls) EXPECT_EQ(call.view, 1) << call.product;
  EXPECT_EQ(calls[0].product, "TCD0000-0002");
  EXPECT_EQ(calls[1].product, "TCD0000-0001");
  EXPECT_EQ(calls[1].names, "#CM/#CT/#TY/#VP/#O/#L/#VE/#SR");
  EXPECT_EQ(calls[1].values, "1/1/XYZ/500/3000/600/15/20");

  testsupport::Outcome check = Check(saved, "floor");
  EXPECT_EQ(check.exit, 0) << check.out << check.err;
}

// What else a selection or the settings make of the branch.
TEST_F(CutDrawingOnDrawings, PipesOnlyNoFloorAndMissingConnections) {
  struct Case {
    const char* what;
    const char* handles;
    int drawFloor;
    const char* code;
    int read, result;
    const char* mode;  // of the check script
  } const cases[] = {
      {"the base line alone without the floor mark", kAllHandles, 0, "20", kCutReadOk, 1, "no-floor"},
      {"a product without its class's connection code stops", kAllHandles, 1, "36", kCutReadOk, 0, "unchanged"},
      {"pipes alone have no start", "3D,3E", 1, "20", kCutReadPipesUnpaired, 0, "unchanged"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    list_.RemoveAll();
    const std::string saved = driver_.Folder() + "/" + c.mode + ".dxf";
    EXPECT_EQ(Generate(c.handles, c.drawFloor, c.code, saved, c.read), c.result);
    if (c.result == 0 && c.read != kCutReadOk) {
      EXPECT_EQ(list_.GetCount(), readCount_) << "no new records";
    }
    testsupport::Outcome check = Check(saved, c.mode);
    EXPECT_EQ(check.exit, 0) << check.out << check.err;
  }
}

// A plumbing product is looked up in the catalogue of its own trade ('Z'),
// not in the heating one the selection opened: the section is drawn, its
// product one width and a distance left of the start (10000 - 600 - 300 -
// 300 = 8800 with S 600 wide), and the drawing passes ezdxf's auditor.
TEST_F(CutDrawingOnDrawings, AProductComesFromTheCatalogueOfItsTrade) {
  std::string catalogue = testsupport::Slurp(kData + "branch.cat");
  catalogue.replace(catalogue.find("trade = T"), 9, "trade = Z");
  for (size_t at = catalogue.find("TCD"); at != std::string::npos; at = catalogue.find("TCD", at))
    catalogue.replace(at, 3, "ZCD");
  const std::string zSource = driver_.Folder() + "/plumbing.cat";
  std::ofstream(zSource, std::ios::binary) << catalogue;
  ASSERT_TRUE(driver_.Host().Catalogue('Z', zSource));
  std::string dxf = testsupport::Slurp(kData + "branch.dxf");
  dxf.replace(dxf.find("TCD0000i0001"), 12, "ZCD0000i0001");
  const std::string drawing = driver_.Folder() + "/plumbing.dxf";
  std::ofstream(drawing, std::ios::binary) << dxf;

  const std::string saved = driver_.Folder() + "/plumbing_section.dxf";
  ASSERT_EQ(Generate(kAllHandles, 1, "20", saved, kCutReadOk, drawing), 1);
  const std::vector<SectionDriver::Call> calls = driver_.Calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[1].product, "ZCD0000-0001");
  std::vector<double> inserts;
  for (const CObjDataNew* r = list_.GetFirstRecord(); r; r = r->GetNextRecord())
    if (r->m_objectType == kObjectOther && r->m_pBuiltChain && std::string(GetEntityString(r->m_pBuiltChain, 0)) == "INSERT") {
      GLVector at;
      GetEntityPoint(r->m_pBuiltChain, at, 10);
      inserts.push_back(at.x);
    }
  EXPECT_EQ(inserts, (std::vector<double>{10000, 8800}));
  const testsupport::Outcome audit = driver_.Check("tests/e2e/audit_sample.py", {drawing, saved});
  EXPECT_EQ(audit.exit, 0) << audit.out << audit.err;
}

}  // namespace
