// Riser sections on tests/data/riser.dxf, in process through the real host:
// the older records read from the picked riser and its branches, the
// section list, both older generators with products from the test product
// library, the write-back, and the saved drawing checked with ezdxf.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/GroupChainBuilder.h"
#include "dataformat/GroupCodeChain.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/section/CObjData.h"
#include "jov_vantrix/section/CSecData.h"
#include "jov_vantrix/section/CSecSez.h"
#include "jov_vantrix/section/JovCutParamsOld.h"
#include "jov_vantrix/section/OldCutDrawing.h"
#include "jov_vantrix/section/OldCutRecords.h"
#include "jov_vantrix/section/OldRecordLookups.h"
#include "jov_vantrix/tests/TestClock.h"
#include "jov_vantrix/tests/TestProductLibrary.h"
#include "jov_vantrix/tests/drawing/SectionDriver.h"

namespace {

const std::string kData = std::string(JOV_SOURCE_DIR) + "/tests/data/";
// The risers of the fixture with their branch inserts.
const char* kRiser1 = "3C,3E,40,42";  // A (root, left), K (left), M (right)
const char* kRiser2 = "44,46,48,4A";  // A, X, Y: all on the right
const char* kRiser3 = "4C,4E,50";     // A and its childless child K, mirrored
const char* kRiser4 = "52,54,56";     // no branch "A"
const char* kRiser5 = "58,5A,5C,5E,60";  // A (left), K (right) with child Q, M
const char* kRiser6 = "62,64,66,68,6A";  // the same tree, A on the right

// The settings the riser dialog finds in the profile ("CUT_NUMBER" is the
// last section's: the dialog offers the next, 7).
const char kJovIni[] =
    "[CUT_DLG]\r\nCUT_NUMBER=6\r\nHEIGHT=2.8\r\nDIST_RISER=0.5\r\nDIST_ELM=0.3\r\nHEIGHT_FLOOR=3.0\r\n"
    "DIST_PIPE=0.1\r\nPIPE_FLOOR_DIST=0.2\r\nDRAW_PIPE=1\r\nDESC_RISER=1\r\nDESC_ELM=1\r\nDRAW_FLOOR=1\r\n"
    "DESC_FLOOR=1NP\r\nPIPE_SWITCH=0\r\n[DESC]\r\nLAYER=DESC\r\nHEIGHT=2.5\r\nLAYER_BRANCH=BR\r\n"
    "HEIGHT_BRANCH=3.5\r\nBUBBLE_BRANCH=0\r\n";
const char kJovLin[] = "[MODULE_T]\r\n0=TPP0000-0001;P;PIPE_S\r\n1=TPZ0000-0001;Z;PIPE_R\r\n";

// The fixture as a drawing in metres ("$INSUNITS" 6): the host then gives
// 1 unit per metre.
std::string MetreDrawing(const std::string& folder) {
  std::ifstream in(kData + "riser.dxf", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  std::string dxf = text.str();
  const size_t at = dxf.find("$INSUNITS");
  const size_t value = dxf.find('\n', dxf.find('\n', at) + 1) + 1;
  dxf.replace(value, dxf.find('\n', value) - value, "6");
  const std::string path = folder + "/riser_in_metres.dxf";
  std::ofstream(path, std::ios::binary) << dxf;
  return path;
}

// What a built entity of the generators is, in the terms the tests use.
struct Entity {
  std::string type;
  std::string layer;
  std::vector<GLVector> points;  // group 10 (all of a polyline), or 11 of an aligned text
  double scale = 0.0;            // group 41
  std::string text;              // TEXT, or an INSERT's "_NUM_BRANCH"
  std::string section;           // "_NUM_SECTION"
};

std::vector<Entity> Built(const CObjSez& records) {
  std::vector<Entity> out;
  for (const CObjData* r = records.GetFirstRecord(); r; r = r->GetNextRecord()) {
    const resbuf* chain = r->m_pBuiltChain;
    if (!chain) continue;
    Entity e;
    e.type = GetEntityString(chain, 0);
    e.layer = GetEntityString(chain, 8);
    for (const resbuf* n = chain; n && n->code != -3; n = n->next) {
      if (n->code == 10 || n->code == 11) e.points.emplace_back(n->value.point);
      if (n->code == 41) e.scale = n->value.real;
    }
    if (e.type == "TEXT") {
      e.text = GetEntityString(chain, 1);
      if (e.points.size() == 2) e.points.erase(e.points.begin());  // the alignment point
    }
    if (const resbuf* key = FindXDataByString(chain, "_NUM_BRANCH")) e.text = key->next->value.text;
    if (const resbuf* key = FindXDataByString(chain, "_NUM_SECTION")) e.section = key->next->value.text;
    out.push_back(e);
  }
  return out;
}

std::vector<Entity> OfType(const std::vector<Entity>& all, const std::string& type) {
  std::vector<Entity> out;
  for (const Entity& e : all)
    if (e.type == type) out.push_back(e);
  return out;
}

// Each insert's "_NUM_BRANCH" and x, in drawing order.
std::vector<std::string> InsertPlaces(const std::vector<Entity>& built) {
  std::vector<std::string> out;
  for (const Entity& e : OfType(built, "INSERT")) out.push_back(e.text + " " + std::to_string(static_cast<int>(e.points[0].x)));
  return out;
}

std::vector<std::string> Sections(const CSecSez& list) {
  std::vector<std::string> out;
  for (const CSecData* s = list.GetFirstSection(); s; s = s->GetNextSection())
    out.push_back(std::to_string(s->m_id) + ">" + std::to_string(s->m_nextId) + " " +
                  s->m_branchName.GetString() + "/" + s->m_childName.GetString());
  return out;
}

class OldCutOnDrawings : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(driver_.Ready(kData + "branch.cat"));
    // Each look-up answers a 600 x 500 rectangle of four lines from the
    // origin with a connection marker at (50, 0) coded "20".
    GroupChainBuilder builder(0);
    const double p[4][3] = {{0, 0, 0}, {600, 0, 0}, {600, 500, 0}, {0, 500, 0}};
    const double marker[3] = {50, 0, 0};
    geometry_ = builder.Build(0, "LINE", 8, "0", 10, p[0], 11, p[1], 0, "LINE", 8, "0", 10, p[1], 11, p[2], 0,
                              "LINE", 8, "0", 10, p[2], 11, p[3], 0, "LINE", 8, "0", 10, p[3], 11, p[0], 0,
                              "CIRCLE", 8, "DEFPOINTS", 62, 7, 10, marker, 40, 5.0, -9);
    data_ = builder.Build(1001, "JOV_DATA", 1000, "TXX0600-0001", 1000, "_PTS", 1000, "1\nA\nB\nC\n20\n", 1000,
                          "_TYPE", 1000, "1048705", -9);
  }

  void TearDown() override {
    FreeGroupCodeChain(geometry_);
    FreeGroupCodeChain(data_);
  }

  // Opens the drawing with a riser's inserts picked and reads them into the
  // records.
  void Read(const char* handles, const std::string& drawing = kData + "riser.dxf") {
    records_.RemoveAll();
    ASSERT_TRUE(driver_.Open(drawing, handles));
    Answer(1);
    riser_ = "";
    ASSERT_EQ(ReadOldCutObjects(records_, riser_), kOldCutRead);
  }

  // A fresh block as the riser dialog leaves it for the open drawing.
  JovCutParamsOld& Block() {
    block_ = std::make_unique<JovCutParamsOld>(&MarchFifthMoment);
    driver_.FillRiserParams(*block_, kJovIni, kJovLin, GLVector(0, 0, 0));
    return *block_;
  }

  void Answer(int result) { driver_.Answer(geometry_, data_, result); }
  template <typename F>
  static F Control(const char* name) {
    return TestProductLibrary::Control<F>(name);
  }

  // Writes the records as the dialog does after a drawing, saves, and runs
  // the ezdxf checks of the section of riser "1": "" when all hold.
  std::string WriteAndCheck(const char* mode) {
    EXPECT_TRUE(HostBeginChange(TheApp().m_pHostTable));
    EXPECT_EQ(WriteOldRecords(records_), 1);
    HostEndChange(TheApp().m_pHostTable, 1);
    const std::string saved = driver_.Folder() + "/section.dxf";
    if (!driver_.Save(saved)) return "not saved";
    const testsupport::Outcome checked =
        driver_.Check("jov_vantrix/tests/drawing/check_riser_section.py",
                      {kData + "riser.dxf", saved, mode, block_->m_stamp.GetString()});
    return checked.exit == 0 ? "" : checked.out + checked.err;
  }

  SectionDriver driver_;
  resbuf* geometry_ = nullptr;
  resbuf* data_ = nullptr;
  CObjSez records_;
  CString riser_;
  std::unique_ptr<JovCutParamsOld> block_;
};

}  // namespace

TEST_F(OldCutOnDrawings, RiserSectionWithItsBranchTree) {
  Read(kRiser1);
  EXPECT_EQ(riser_, "1");
  std::vector<int> roles;
  for (const CObjData* r = records_.GetFirstRecord(); r; r = r->GetNextRecord()) roles.push_back(r->m_role);
  EXPECT_EQ(roles, (std::vector<int>{kRoleRiser, kRoleBranch, kRoleBranch, kRoleBranch}));
  EXPECT_EQ(HasDifferentBranchParents(records_), 1) << "A hangs on P, K and M on A";

  JovCutParamsOld& block = Block();
  ASSERT_TRUE(block.m_sections.BuildFromBranches(records_));
  EXPECT_EQ(Sections(block.m_sections),
            (std::vector<std::string>{"1>2 A/", "2>4 A/K", "3>2 K/", "4>0 A/M", "5>4 M/"}));
  ASSERT_EQ(BuildOldCutDrawing(records_, block), 1);

  const std::vector<SectionDriver::Call> calls = driver_.Calls();
  ASSERT_EQ(calls.size(), 5u) << "A, its end branches M and K, and each of them again in its own pass";
  for (const SectionDriver::Call& call : calls) EXPECT_EQ(call.view, 1);
  EXPECT_EQ(calls[0].names, "#CM/#O/#VE/#SR") << "A first";
  EXPECT_EQ(calls[0].values, "1/3000/15/20");
  EXPECT_FALSE(Control<bool (*)()>("TestWizard_Holds")()) << "every answer released";
  EXPECT_EQ(WriteAndCheck("tree"), "");
}

TEST_F(OldCutOnDrawings, RiserSectionWithoutTheBranchLayout) {
  Read(kRiser1);
  JovCutParamsOld& block = Block();
  ASSERT_TRUE(block.m_sections.BuildFromBranches(records_));
  ASSERT_EQ(BuildOldCutDrawingFlat(records_, block), 1);
  EXPECT_EQ(static_cast<int>(driver_.Calls().size()), 3);
  EXPECT_EQ(Control<int (*)()>("TestWizard_Frees")(), 3);
  // The product data are used as the library handed them: the records keep
  // no copies.
  for (const CObjData* r = records_.GetFirstRecord(); r; r = r->GetNextRecord())
    EXPECT_EQ(r->m_pProductGeometry, nullptr);
  const std::vector<Entity> built = Built(records_);
  EXPECT_TRUE(OfType(built, "CIRCLE").empty());
  EXPECT_EQ(WriteAndCheck("flat"), "");
}

TEST_F(OldCutOnDrawings, ProductLookUpAsksOnceForEachCallAndKeepsOnlyTheLatestCopies) {
  Read(kRiser1, MetreDrawing(driver_.Folder()));
  JovCutParamsOld& block = Block();
  ASSERT_EQ(block.m_unit, 1);
  block.m_sameItemLengthOn = 1;
  block.m_sameItemLength = 0.8;
  jovDatabase::Database* db = TheApp().GetDatabase('T');
  ASSERT_NE(db, nullptr);
  CObjData* k = FindBranchRecord(records_, "K");
  ASSERT_NE(k, nullptr);
  for (int round = 1; round <= 2; ++round) {
    ASSERT_TRUE(k->LookupProduct(db, block)) << round;
    EXPECT_EQ(static_cast<int>(driver_.Calls().size()), round);
    EXPECT_EQ(driver_.Calls().back().names, "#CM/#TY/#L/#VE/#SR");
    EXPECT_EQ(driver_.Calls().back().values, "2/XYZ/800/15/20") << "the same item length in millimetres";
    EXPECT_STREQ(k->m_jovData.GetProperty("L"), "600") << "its own length back after the call";
    EXPECT_FALSE(Control<bool (*)()>("TestWizard_Holds")());
  }
  // The second answer replaced the first (the leak checker sees the rest);
  // the extents, grown twice by the same geometry, are in metres.
  const resbuf* kept = k->m_pProductGeometry;
  EXPECT_DOUBLE_EQ(k->ProductWidth(), 0.6);
  EXPECT_DOUBLE_EQ(k->ProductHeight(), 0.5);

  CObjData* a = FindRootBranchRecord(records_);
  ASSERT_TRUE(a->LookupProduct(db, block));
  EXPECT_STREQ(a->m_jovData.GetProperty("O"), "3000") << "the floor height in millimetres";
  EXPECT_EQ(driver_.Calls().back().values, "1/3000/15/20");

  // A product the library refuses, or the catalogue does not know, leaves
  // the chains as they were.
  Answer(2);
  EXPECT_FALSE(k->LookupProduct(db, block));
  EXPECT_EQ(k->m_pProductGeometry, kept);
  Answer(1);
  k->m_jovData.m_typeCode = "TZZ0000i0009";
  EXPECT_FALSE(k->LookupProduct(db, block));
  EXPECT_FALSE(k->LookupProduct(nullptr, block));
  EXPECT_EQ(k->m_pProductGeometry, kept);
  EXPECT_EQ(static_cast<int>(driver_.Calls().size()), 4) << "no call for an unknown product";
}

TEST_F(OldCutOnDrawings, WithoutCatalogueOrProductLibraryNothingIsDrawn) {
  Read(kRiser1);
  JovCutParamsOld& block = Block();
  ASSERT_TRUE(block.m_sections.BuildFromBranches(records_));
  const uint32_t read = records_.GetCount();
  CJov_VantrixApp& app = TheApp();
  const PPGetResbufExFn bound = app.m_pPPGetResbufEx;
  app.m_pPPGetResbufEx = nullptr;
  EXPECT_EQ(BuildOldCutDrawing(records_, block), 0);
  EXPECT_EQ(BuildOldCutDrawingFlat(records_, block), 0);
  app.m_pPPGetResbufEx = bound;
  // A riser of a trade the host has no catalogue for.
  records_.GetFirstRecord()->m_jovData.m_typeCode = "QCD0000i0003";
  EXPECT_EQ(BuildOldCutDrawing(records_, block), 0);
  EXPECT_EQ(BuildOldCutDrawingFlat(records_, block), 0);
  EXPECT_EQ(records_.GetCount(), read);
  EXPECT_EQ(static_cast<int>(driver_.Calls().size()), 0);
}

TEST_F(OldCutOnDrawings, ConnectionPointsFollowTheDrawingsUnit) {
  // M, the first product, sits left of the riser in both drawings; its
  // marker (50, 0) in the block's millimetres lands on the same place.
  for (int unit : {1000, 1}) {
    Read(kRiser1, unit == 1 ? MetreDrawing(driver_.Folder()) : kData + "riser.dxf");
    JovCutParamsOld& block = Block();
    ASSERT_EQ(block.m_unit, unit);
    ASSERT_TRUE(block.m_sections.BuildFromBranches(records_));
    ASSERT_EQ(BuildOldCutDrawing(records_, block), 1);
    const double f = unit == 1000 ? 1.0 : 0.001;
    const std::vector<Entity> built = Built(records_);
    const std::vector<Entity> inserts = OfType(built, "INSERT");
    ASSERT_EQ(inserts.size(), 3u) << unit;
    EXPECT_EQ(inserts[0].text, "M,A");
    EXPECT_NEAR(inserts[0].points[0].x, -1100 * f, 1e-9) << unit;
    EXPECT_NEAR(inserts[0].points[0].y, 3000 * f, 1e-9) << unit;
    EXPECT_DOUBLE_EQ(inserts[0].scale, f) << unit << ": without a scale of its own, 1 in block units";
    // Its two stubs drop from the marker moved by the connection offsets.
    std::vector<double> stubs;
    for (const Entity& e : OfType(built, "LWPOLYLINE"))
      if (std::abs(e.points[0].y - 3000 * f) < 1e-9) stubs.push_back(e.points[0].x / f);
    ASSERT_GE(stubs.size(), 2u) << unit;
    EXPECT_NEAR(stubs[0], -910, 1e-6) << unit << ": the upper pipe's stub";
    EXPECT_NEAR(stubs[1], -1010, 1e-6) << unit << ": the lower pipe's stub";
  }
}

TEST_F(OldCutOnDrawings, TreeWithoutItemsOrWithoutRootDrawsOnlyTheFrame) {
  struct Case {
    const char* what;
    const char* handles;
    bool sections;
  };
  const Case cases[] = {
      {"a root whose only child has no children", kRiser3, true},
      {"no branch A", kRiser4, false},
  };
  for (const Case& c : cases) {
    Read(c.handles);
    JovCutParamsOld& block = Block();
    EXPECT_EQ(block.m_sections.BuildFromBranches(records_), c.sections) << c.what;
    ASSERT_EQ(BuildOldCutDrawing(records_, block), 1) << c.what;
    const std::vector<Entity> built = Built(records_);
    EXPECT_TRUE(OfType(built, "INSERT").empty()) << c.what;
    EXPECT_TRUE(OfType(built, "CIRCLE").empty()) << c.what;
    EXPECT_EQ(OfType(built, "LWPOLYLINE").size(), 2u) << c.what << ": the riser's two pipes";
    const std::vector<Entity> lines = OfType(built, "LINE");
    ASSERT_EQ(lines.size(), 5u) << c.what << ": the base line and the floor mark";
    EXPECT_EQ(lines[0].layer, "CUT_BASE_LINE");
    EXPECT_NEAR(lines[0].points[0].x, -650, 1e-9) << c.what;
    EXPECT_NEAR(lines[0].points[1].x, 600, 1e-9) << c.what;
    EXPECT_EQ(OfType(built, "TEXT").size(), 2u) << c.what << ": the riser's number and the floor's";
  }
}

// The branch records the tree does not place are named: a root with one
// childless child, no root, a second branch of one name (R1's M as K).
TEST_F(OldCutOnDrawings, TreeNamesTheProductsItLeavesOut) {
  std::string twoK = testsupport::Slurp(kData + "riser.dxf");
  twoK.replace(twoK.find("\nM,A\n"), 5, "\nK,A\n");
  const std::string twoKPath = driver_.Folder() + "/two_k.dxf";
  std::ofstream(twoKPath, std::ios::binary) << twoK;
  struct Case {
    const char* what;
    const char* handles;
    std::string drawing;
    std::vector<std::string> named;  // branches
  } const cases[] = {
      {"all placed", kRiser1, kData + "riser.dxf", {}},
      {"a root whose only child has no children", kRiser3, kData + "riser.dxf", {"K", "A"}},
      {"no branch A", kRiser4, kData + "riser.dxf", {"K", "B"}},
      {"two branches K", kRiser1, twoKPath, {"K"}},
  };
  for (const Case& c : cases) {
    Read(c.handles, c.drawing);
    JovCutParamsOld& block = Block();
    block.m_sections.BuildFromBranches(records_);
    CStringArray leftOut;
    ASSERT_EQ(BuildOldCutDrawing(records_, block, &leftOut), 1) << c.what;
    std::vector<std::string> named;
    for (INT_PTR i = 0; i < leftOut.GetSize(); ++i) {
      const std::string name = leftOut[i].GetString();
      named.push_back(name.substr(name.rfind(' ') + 1, name.size() - name.rfind(' ') - 2));
    }
    EXPECT_EQ(named, c.named) << c.what;
  }
}

TEST_F(OldCutOnDrawings, BranchWithChildrenGetsRiserSymbolsAndItsOwnPass) {
  // A's pass draws M's product, a riser symbol for K (which has a child)
  // and A's product; K's own pass lays out K's symbol, Q's product and K's
  // own from the far end of K's column towards the riser, each product
  // DIST_ELM from the next: K's own ends DIST_ELM from A's.
  struct Case {
    const char* what;
    const char* handles;
    std::vector<std::string> inserts;  // "_NUM_BRANCH" and x, in drawing order
    std::vector<int> symbols;          // x of the riser symbols' circles
    std::vector<int> labels;           // x of the branch labels "K"
    int nearEdge;                      // where the pipes of section A/K end
    int baseFrom, baseTo;
  };
  const Case cases[] = {
      {"root on the left, K on the right",
       kRiser5,
       {"M,A -1100", "A,P,K,M -2500", "Q,K -4300", "K,A,Q -3400"},
       {-1400, -1400, -4800, -4800},
       {-1400, -4800},
       -1360,
       -5250,
       600},
      {"root on the right, K on the left",
       kRiser6,
       {"M,A 600", "A,P,K,M 2000", "Q,K 3800", "K,A,Q 2900"},
       {1500, 1500, 4900, 4900},
       {1500, 4900},
       1460,
       -650,
       5200},
  };
  for (const Case& c : cases) {
    Read(c.handles);
    JovCutParamsOld& block = Block();
    ASSERT_TRUE(block.m_sections.BuildFromBranches(records_)) << c.what;
    EXPECT_EQ(Sections(block.m_sections),
              (std::vector<std::string>{"1>2 A/", "2>5 A/K", "3>4 K/", "4>2 K/Q", "5>0 A/M", "6>5 M/"}));
    ASSERT_EQ(BuildOldCutDrawing(records_, block), 1) << c.what;
    const std::vector<Entity> built = Built(records_);
    EXPECT_EQ(InsertPlaces(built), c.inserts) << c.what;
    std::vector<int> symbols;
    for (const Entity& e : OfType(built, "CIRCLE")) {
      symbols.push_back(static_cast<int>(e.points[0].x));
      EXPECT_EQ(e.layer, "CUT_RISERS");
    }
    EXPECT_EQ(symbols, c.symbols) << c.what;
    std::vector<int> labels;
    for (const Entity& e : OfType(built, "TEXT"))
      if (e.layer == "BR" && e.text == "K") {
        labels.push_back(static_cast<int>(e.points[0].x));
        EXPECT_NEAR(e.points[0].y, 3000 + 40 - 2500, 1e-9) << "above the symbol by half a radius and DIST_BUBBLE_1";
      }
    EXPECT_EQ(labels, c.labels) << c.what;
    std::vector<std::string> intoK;
    for (const Entity& e : OfType(built, "LWPOLYLINE"))
      if (e.section == "2") intoK.push_back(e.layer + " " + std::to_string(static_cast<int>(e.points.back().x)));
    EXPECT_EQ(intoK, (std::vector<std::string>{"PIPE_S " + std::to_string(c.nearEdge),
                                               "PIPE_R " + std::to_string(c.nearEdge)}))
        << c.what << ": the pipes into K's symbol carry the section A/K";
    const std::vector<Entity> lines = OfType(built, "LINE");
    ASSERT_FALSE(lines.empty());
    EXPECT_NEAR(lines[0].points[0].x, c.baseFrom, 1e-9) << c.what;
    EXPECT_NEAR(lines[0].points[1].x, c.baseTo, 1e-9) << c.what;
  }
}

TEST_F(OldCutOnDrawings, SwitchesOfTheBlock) {
  struct Case {
    const char* what;
    const char* handles;
    void (*change)(JovCutParamsOld&);
    std::vector<std::string> inserts;  // "_NUM_BRANCH" and x
    std::vector<std::string> pipes;    // layer and x of the first three pipes' first points
    size_t descriptions;
    std::string last;  // type and layer of the last entity drawn
  };
  const Case cases[] = {
      {"pipes switched", kRiser1, [](JovCutParamsOld& p) { p.m_pipeSwitch = 1; },
       {"M,A -1100", "K,A -2000", "A,P,K,M -2900"}, {"PIPE_R 0", "PIPE_S 100", "PIPE_R -910"}, 10, "TEXT CUT_FLOOR"},
      {"no pipes: the far branch moves the cursor itself", kRiser5, [](JovCutParamsOld& p) { p.m_drawPipe = 0; },
       {"M,A -1100", "A,P,K,M -2000", "Q,K -3800", "K,A,Q -2900"}, {}, 16, "TEXT CUT_FLOOR"},
      {"no descriptions, no floor mark", kRiser1,
       [](JovCutParamsOld& p) {
         p.m_describeElements = 0;
         p.m_drawFloors = 0;
       },
       {"M,A -1100", "K,A -2000", "A,P,K,M -2900"}, {"PIPE_S 0", "PIPE_R 100", "PIPE_S -910"}, 0, "LINE CUT_BASE_LINE"},
  };
  for (const Case& c : cases) {
    Read(c.handles);
    JovCutParamsOld& block = Block();
    c.change(block);
    ASSERT_TRUE(block.m_sections.BuildFromBranches(records_)) << c.what;
    ASSERT_EQ(BuildOldCutDrawing(records_, block), 1) << c.what;
    const std::vector<Entity> built = Built(records_);
    EXPECT_EQ(InsertPlaces(built), c.inserts) << c.what;
    std::vector<std::string> pipes;
    for (const Entity& e : OfType(built, "LWPOLYLINE"))
      if (pipes.size() < 3) pipes.push_back(e.layer + " " + std::to_string(static_cast<int>(e.points[0].x)));
    EXPECT_EQ(pipes, c.pipes) << c.what;
    size_t descriptions = 0;
    for (const Entity& e : OfType(built, "TEXT")) descriptions += e.layer == "DESC" || e.layer == "CUT_DESCRIPTION";
    EXPECT_EQ(descriptions, c.descriptions) << c.what;
    EXPECT_EQ(built.back().type + " " + built.back().layer, c.last) << c.what;
    EXPECT_TRUE(OfType(built, "CIRCLE").empty()) << c.what;
  }
}

TEST_F(OldCutOnDrawings, FlatSectionOfBranchesOnTheRightSkipsAnUnknownProduct) {
  Read(kRiser2);
  JovCutParamsOld& block = Block();
  FindBranchRecord(records_, "X")->m_jovData.m_typeCode = "TZZ0000i0009";
  ASSERT_TRUE(block.m_sections.BuildFromBranches(records_));
  ASSERT_EQ(BuildOldCutDrawingFlat(records_, block), 1);
  const std::vector<Entity> built = Built(records_);
  const std::vector<Entity> inserts = OfType(built, "INSERT");
  ASSERT_EQ(inserts.size(), 2u) << "X passed over";
  EXPECT_EQ(inserts[0].text, "Y,A");
  EXPECT_EQ(inserts[1].text, "A,P,X,Y");
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_NEAR(inserts[i].points[0].x, 600 + 900.0 * static_cast<double>(i), 1e-9)
        << "left to right from the right cursor, DIST_ELM apart";
    EXPECT_NEAR(inserts[i].points[0].y, 3000, 1e-9);
    EXPECT_DOUBLE_EQ(inserts[i].scale, 1.0);
  }
  // The first product's joins start at the riser's pipes, at its stubs'
  // heights: the upper (supply) one from x 0, the lower from DIST_PIPE.
  std::vector<std::string> joins;
  for (const Entity& e : OfType(built, "LWPOLYLINE"))
    if (e.points.size() == 2 && e.points[0].y == e.points[1].y && e.points[0].x < 150)
      joins.push_back(e.layer + " " + std::to_string(static_cast<int>(e.points[0].x)) + "," +
                      std::to_string(static_cast<int>(e.points[0].y)) + " > " +
                      std::to_string(static_cast<int>(e.points[1].x)));
  EXPECT_EQ(joins, (std::vector<std::string>{"PIPE_S 0,300 > 790", "PIPE_R 100,200 > 690"}));
}

TEST_F(OldCutOnDrawings, MirroredLeftProductIsWrittenFromItsOtherEnd) {
  Read(kRiser3);
  JovCutParamsOld& block = Block();
  ASSERT_TRUE(block.m_sections.BuildFromBranches(records_));
  ASSERT_EQ(BuildOldCutDrawingFlat(records_, block), 1);
  const std::vector<Entity> built = Built(records_);
  const std::vector<Entity> inserts = OfType(built, "INSERT");
  ASSERT_EQ(inserts.size(), 2u);
  // K (mirrored) spans -1100 .. -500 from its insertion point at -500; A
  // follows one DIST_ELM further left.
  EXPECT_EQ(inserts[0].text, "K,A");
  EXPECT_NEAR(inserts[0].points[0].x, -500, 1e-9);
  EXPECT_DOUBLE_EQ(inserts[0].scale, -1.0);
  EXPECT_EQ(inserts[1].text, "A,P,K");
  EXPECT_NEAR(inserts[1].points[0].x, -2000, 1e-9);
  EXPECT_DOUBLE_EQ(inserts[1].scale, 1.0);
  // K's description is centred on it.
  for (const Entity& e : OfType(built, "TEXT"))
    if (e.text == "-2-") {
      EXPECT_NEAR(e.points[0].x, -800, 1e-9);
    }
  // Its connection point where the mirrored insert shows it (block x 50:
  // -500 - 50 = -550), the stubs offset to the mirrored side: the lower one
  // by both offsets, the upper one back by the second; both under K.
  std::vector<std::string> stubs;
  for (const Entity& e : OfType(built, "LWPOLYLINE"))
    if (e.points[0].y == 3000) stubs.push_back(e.layer + " " + std::to_string(static_cast<int>(e.points[0].x)) +
                                               " > " + std::to_string(static_cast<int>(e.points[1].y)));
  EXPECT_EQ(stubs, (std::vector<std::string>{"PIPE_S -590 > 300", "PIPE_R -690 > 200", "PIPE_S -1810 > 300",
                                             "PIPE_R -1910 > 200"}));
}

// Radiators (class 2, connections "24" then "20") leave their product
// sideways by the vertical pipe start only (0.1 m, + DIST_PIPE 0.1 m for
// the lower pipe), in both layouts, and go straight down to the pipes at
// 3000 - (3.0 - 0.1 - 0.2) m = 300 and 200. The drawing passes ezdxf's
// auditor.
TEST_F(OldCutOnDrawings, RadiatorStubsStepOutByTheVerticalStart) {
  GroupChainBuilder builder(0);
  const double p[4][3] = {{0, 0, 0}, {600, 0, 0}, {600, 500, 0}, {0, 500, 0}};
  const double in[3] = {550, 450, 0}, out[3] = {550, 50, 0};
  resbuf* geometry = builder.Build(0, "LINE", 8, "0", 10, p[0], 11, p[1], 0, "LINE", 8, "0", 10, p[1], 11, p[2], 0,
                                   "LINE", 8, "0", 10, p[2], 11, p[3], 0, "LINE", 8, "0", 10, p[3], 11, p[0], 0,
                                   "CIRCLE", 8, "DEFPOINTS", 62, 7, 10, in, 40, 5.0, 0, "CIRCLE", 8, "DEFPOINTS", 62,
                                   7, 10, out, 40, 5.0, -9);
  resbuf* data = builder.Build(1001, "JOV_DATA", 1000, "TXX0600-0001", 1000, "_PTS", 1000,
                               "2\nA\nB\nC\n24\nD\nE\nF\n20\n", 1000, "_TYPE", 1000, "1048705", -9);
  for (bool tree : {true, false}) {
    SCOPED_TRACE(tree ? "tree" : "flat");
    Read(kRiser1);
    driver_.Answer(geometry, data, 1);
    JovCutParamsOld& block = Block();
    for (CObjData* r = records_.GetFirstRecord(); r; r = r->GetNextRecord())
      if (r->m_role == kRoleBranch) r->m_jovData.Properties().SetValue("TY", "R");
    ASSERT_TRUE(block.m_sections.BuildFromBranches(records_));
    ASSERT_EQ(tree ? BuildOldCutDrawing(records_, block) : BuildOldCutDrawingFlat(records_, block), 1);
    int stubs = 0;
    for (const Entity& e : OfType(Built(records_), "LWPOLYLINE")) {
      if (e.points.size() != 3) continue;
      ++stubs;
      EXPECT_EQ(e.points[0].y, e.points[1].y);
      EXPECT_LE(std::fabs(e.points[1].x - e.points[0].x), 200 + 1e-9) << e.points[0].x;
      EXPECT_EQ(e.points[2].x, e.points[1].x);
      EXPECT_TRUE(std::fabs(e.points[2].y - 300) < 1e-9 || std::fabs(e.points[2].y - 200) < 1e-9) << e.points[2].y;
    }
    EXPECT_EQ(stubs, 6) << "two for each of A, K and M";
    EXPECT_TRUE(HostBeginChange(TheApp().m_pHostTable));
    EXPECT_EQ(WriteOldRecords(records_), 1);
    HostEndChange(TheApp().m_pHostTable, 1);
    const std::string saved = driver_.Folder() + "/radiators.dxf";
    ASSERT_TRUE(driver_.Save(saved));
    const testsupport::Outcome audit = driver_.Check("tests/e2e/audit_sample.py", {kData + "riser.dxf", saved});
    EXPECT_EQ(audit.exit, 0) << audit.out << audit.err;
  }
  FreeGroupCodeChain(geometry);
  FreeGroupCodeChain(data);
}

// A left product whose own insert has an X scale of 0 is drawn at scale 1,
// one width left of the left cursor (-500 - 600), not collapsed.
TEST_F(OldCutOnDrawings, AZeroInsertScaleCountsAsOne) {
  std::string dxf = testsupport::Slurp(kData + "riser.dxf");
  const size_t at = dxf.find("\n 41\n-1.0\n");
  ASSERT_NE(at, std::string::npos);
  dxf.replace(at, 10, "\n 41\n0.0\n");
  const std::string path = driver_.Folder() + "/zero_scale.dxf";
  std::ofstream(path, std::ios::binary) << dxf;
  Read(kRiser3, path);
  JovCutParamsOld& block = Block();
  ASSERT_TRUE(block.m_sections.BuildFromBranches(records_));
  ASSERT_EQ(BuildOldCutDrawingFlat(records_, block), 1);
  const std::vector<Entity> inserts = OfType(Built(records_), "INSERT");
  ASSERT_EQ(inserts.size(), 2u);
  EXPECT_EQ(inserts[0].text, "K,A");
  EXPECT_DOUBLE_EQ(inserts[0].scale, 1.0);
  EXPECT_NEAR(inserts[0].points[0].x, -1100, 1e-9);
  EXPECT_TRUE(HostBeginChange(TheApp().m_pHostTable));
  EXPECT_EQ(WriteOldRecords(records_), 1);
  HostEndChange(TheApp().m_pHostTable, 1);
  const std::string saved = driver_.Folder() + "/zero_scale_section.dxf";
  ASSERT_TRUE(driver_.Save(saved));
  const testsupport::Outcome audit = driver_.Check("tests/e2e/audit_sample.py", {path, saved});
  EXPECT_EQ(audit.exit, 0) << audit.out << audit.err;
}

// Distances that overflow to infinity draw nothing; texts of no height
// are left out of a drawing that is otherwise whole.
TEST_F(OldCutOnDrawings, NonFiniteCoordinatesAndZeroSizes) {
  Read(kRiser1);
  JovCutParamsOld& block = Block();
  ASSERT_TRUE(block.m_sections.BuildFromBranches(records_));
  block.m_riserDistance = block.m_elementDistance = 1.7e308;
  EXPECT_EQ(BuildOldCutDrawingFlat(records_, block), 0);

  Read(kRiser1);
  JovCutParamsOld& sized = Block();
  ASSERT_TRUE(sized.m_sections.BuildFromBranches(records_));
  sized.m_descriptionHeight = sized.m_firstLineHeight = sized.m_branchTextHeight = 0.0;
  ASSERT_EQ(BuildOldCutDrawingFlat(records_, sized), 1);
  const std::vector<Entity> built = Built(records_);
  EXPECT_TRUE(OfType(built, "TEXT").empty());
  EXPECT_EQ(OfType(built, "INSERT").size(), 3u);
}
