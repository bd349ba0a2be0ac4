// The product look-up against the test product library (beside this program
// as "Wizard.dll", as the plug-in finds it in its module folder) and a small
// catalogue built for the test.
#include "jov_vantrix/network/ProductLookup.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/GroupChainBuilder.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/JovCutParams.h"
#include "jov_vantrix/tests/NetworkFixtures.h"
#include "jov_vantrix/tests/TestHosts.h"
#include "jov_vantrix/tests/TestProductLibrary.h"
#include "platform/catalogue/CatalogueSource.h"
#include "platform/catalogue/Database.h"

namespace fs = std::filesystem;

namespace {

const char* kCatalogue = R"(
[catalogue]
trade = T
title = Test

[item]
id = TPP0015-0001
idi = 1
title = Supply pipe
type = 128
status = 0x40000000
dxfB <<
0 LINE
8 0
10 0.0
20 0.0
30 0.0
11 1000.0
21 0.0
31 0.0
>>

[item]
id = TKi0015-0001
idi = 2
title = Convector
type = 0x100081
status = 0x40000000
dxfB <<
0 LINE
8 0
10 0.0
20 0.0
30 0.0
11 500.0
21 300.0
31 0.0
>>
)";

const char* g_offset = nullptr;
const char* EnvString(const char* name) {
  return std::string(name) == "JOV_OFFSET" && g_offset ? g_offset : nullptr;
}

class ProductLookupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host_.Loaded());
    CJov_VantrixApp& app = TheApp();
    ASSERT_TRUE(app.InitPaths());
    app.m_pHostTable = host_.Table();
    host_.Table()->slot[HostSlot::GetEnvString] = reinterpret_cast<HostProc>(&EnvString);
    g_offset = nullptr;
    ASSERT_TRUE(wizard_.Load()) << "Wizard.dll beside the test program";

    std::string pattern = (fs::temp_directory_path() / "jov-lookup-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    std::string error;
    ASSERT_TRUE(jovDatabase::BuildCatalogueFromText(kCatalogue, (folder_ + "/T.db").c_str(), error))
        << error;
    db_ = jovDatabase::Database::Open(folder_.c_str(), 'T');
    ASSERT_NE(db_, nullptr);

    // A product with the geometry and data the library will hand out.
    GroupChainBuilder builder(0);
    const double a[3] = {0, 0, 0}, b[3] = {1000, 600, 0}, c[3] = {5000, 5000, 0};
    geometry_ = builder.Build(0, "LINE", 8, "0", 10, a, 11, b, 0, "CIRCLE", 8, "DEFPOINTS", 10, c,
                              40, 5.0, -9);
    data_ = builder.Build(1001, "JOV_DATA", 1000, "TPP0015-0001", 1000, "_TYPE", 1000, "128", -9);
    Answer(1);
  }

  void TearDown() override {
    wizard_.Release();
    TheApp().m_pHostTable = nullptr;
    jovDatabase::Database::Close(db_);
    FreeGroupCodeChain(geometry_);
    FreeGroupCodeChain(data_);
    std::error_code ignored;
    if (!folder_.empty()) fs::remove_all(folder_, ignored);
  }

  template <typename F>
  static F Control(const char* name) {
    return TestProductLibrary::Control<F>(name);
  }
  void Answer(int result) {
    Control<void (*)(int, const resbuf*, const resbuf*)>("TestWizard_Answer")(result, geometry_, data_);
  }
  int Calls() { return Control<int (*)()>("TestWizard_Calls")(); }
  int Frees() { return Control<int (*)()>("TestWizard_Frees")(); }
  bool Holds() { return Control<bool (*)()>("TestWizard_Holds")(); }
  std::string Text(const char* name) { return Control<const char* (*)()>(name)(); }
  std::string Flags() {
    uint8_t flags[16] = {};
    int n = Control<int (*)(uint8_t*, int)>("TestWizard_Flags")(flags, sizeof flags);
    if (n < 0) return "null";
    std::string text;
    for (int i = 0; i < n; ++i) text += char('0' + flags[i]);
    return text;
  }

  // A pipe record as the pick step reads it.
  void MakePipe(const char* typeCode, const char* length = "2000") {
    TestChain chain;
    chain.Text(0, "LWPOLYLINE").Text(1001, "JOV_DATA").Text(1000, typeCode);
    chain.Text(1000, "L").Text(1000, length).Text(1000, "O").Text(1000, "0");
    chain.Text(1000, "_TYPE").Text(1000, "128").Text(1000, "DN").Text(1000, "15");
    ASSERT_TRUE(record_.m_jovData.ReadXData(chain.Head()));
  }
  std::string Property(const char* key) {
    const char* v = record_.m_jovData.GetProperty(key);
    return v ? v : "<none>";
  }

  TestHost host_{"full"};
  TestProductLibrary wizard_;
  std::string folder_;
  jovDatabase::Database* db_ = nullptr;
  resbuf* geometry_ = nullptr;
  resbuf* data_ = nullptr;
  CObjDataNew record_{kEntityLwPolyline, kObjectOther, nullptr, 0};
  JovCutParams params_;
};

}  // namespace

TEST_F(ProductLookupTest, AsksForViewBWithTheRecordsParametersAndKeepsCopies) {
  MakePipe("TPP0015i0001");
  params_.m_units = 1000;
  params_.m_floorHeight = 2800;
  ASSERT_TRUE(LookupProduct(&record_, db_, params_));

  EXPECT_EQ(Calls(), 1);
  EXPECT_EQ(Text("TestWizard_Product"), "TPP0015-0001") << "the catalogue stood on the product";
  EXPECT_EQ(Control<uint32_t (*)()>("TestWizard_View")(), 1u);
  EXPECT_EQ(Text("TestWizard_Names"), "#L/#O/#DN") << "only keys shorter than three characters";
  EXPECT_EQ(Text("TestWizard_Values"), "2000/2800/15");
  EXPECT_EQ(Flags(), "null");
  EXPECT_EQ(Control<int (*)()>("TestWizard_TextsGiven")(), 0);

  EXPECT_EQ(Frees(), 1);
  EXPECT_FALSE(Holds()) << "the library's chains were released";
  EXPECT_EQ(DescribeChain(record_.RunsOrNone().m_pProductGeometry), DescribeChain(geometry_));
  EXPECT_EQ(DescribeChain(record_.RunsOrNone().m_pProductData), DescribeChain(data_));
  EXPECT_EQ(record_.RunsOrNone().m_boxMin.x, 0.0);
  EXPECT_EQ(record_.RunsOrNone().m_boxMax.x, 1000.0) << "the connection marker is not in the box";
  EXPECT_EQ(record_.RunsOrNone().m_boxMax.y, 600.0);
}

TEST_F(ProductLookupTest, DrawingInMetresScalesTheBoxAndTheFloorHeight) {
  MakePipe("TPP0015i0001");
  params_.m_units = 1;
  params_.m_floorHeight = 2.8;
  ASSERT_TRUE(LookupProduct(&record_, db_, params_));
  EXPECT_EQ(Property("O"), "2800");
  EXPECT_DOUBLE_EQ(record_.RunsOrNone().m_boxMax.x, 1.0);
  EXPECT_DOUBLE_EQ(record_.RunsOrNone().m_boxMax.y, 0.6);
}

TEST_F(ProductLookupTest, SameLengthAndHeightAreMillimetres) {
  MakePipe("TPP0015i0001");
  record_.m_jovData.Properties().SetValue("V", "1");
  params_.m_units = 1;
  params_.m_sameLengthOn = true;
  params_.m_sameLength = 1.5;
  params_.m_sameHeightOn = true;
  params_.m_sameHeight = 0.6;
  ASSERT_TRUE(LookupProduct(&record_, db_, params_));
  EXPECT_EQ(Property("L"), "1500");
  EXPECT_EQ(Property("V"), "600");
  EXPECT_EQ(Text("TestWizard_Values"), "1500/0/15/600") << "the adjusted values are asked for";

  params_.m_units = 1000;
  params_.m_sameLength = 0.1;
  ASSERT_TRUE(LookupProduct(&record_, db_, params_));
  EXPECT_EQ(Property("L"), "0.1") << "sixteen significant digits, no trailing noise";
}

TEST_F(ProductLookupTest, OffsetComesFromTheHostOrIsOneHundredMillimetres) {
  MakePipe("TPP0015i0001");
  record_.m_jovData.Properties().SetValue("O2", "x");
  ASSERT_TRUE(LookupProduct(&record_, db_, params_));
  EXPECT_EQ(Property("O2"), "x") << "only records with the offset flag";

  record_.m_offsetFlag = true;
  params_.m_units = 1000;
  ASSERT_TRUE(LookupProduct(&record_, db_, params_));
  EXPECT_EQ(Property("O2"), "100");
  params_.m_units = 1;
  ASSERT_TRUE(LookupProduct(&record_, db_, params_));
  EXPECT_EQ(Property("O2"), "0.1");
  g_offset = "250";
  ASSERT_TRUE(LookupProduct(&record_, db_, params_));
  EXPECT_EQ(Property("O2"), "0.25");
  g_offset = "-4";
  ASSERT_TRUE(LookupProduct(&record_, db_, params_));
  EXPECT_EQ(Property("O2"), "0.1");
  EXPECT_EQ(Property("V"), "<none>") << "missing properties are not added";
}

TEST_F(ProductLookupTest, UnknownProductAsksNothingAndChangesNothing) {
  MakePipe("TPP0099i0001");
  params_.m_floorHeight = 3.0;
  EXPECT_FALSE(LookupProduct(&record_, db_, params_));
  EXPECT_EQ(Calls(), 0);
  EXPECT_EQ(Property("O"), "0");
  EXPECT_FALSE(LookupProduct(&record_, nullptr, params_));
  EXPECT_FALSE(LookupProduct(nullptr, db_, params_));
}

TEST_F(ProductLookupTest, RefusedProductKeepsTheAdjustedProperties) {
  MakePipe("TPP0015i0001");
  Answer(2);
  params_.m_floorHeight = 3.0;
  EXPECT_FALSE(LookupProduct(&record_, db_, params_));
  EXPECT_EQ(Calls(), 1);
  EXPECT_EQ(record_.RunsOrNone().m_pProductGeometry, nullptr);
  EXPECT_EQ(record_.RunsOrNone().m_pProductData, nullptr);
  EXPECT_EQ(Property("O"), "3000");
}

TEST_F(ProductLookupTest, AnotherLookUpReplacesTheProductChains) {
  MakePipe("TPP0015i0001");
  ASSERT_TRUE(LookupProduct(&record_, db_, params_));
  const resbuf* first = record_.RunsOrNone().m_pProductGeometry;
  ASSERT_NE(first, nullptr);
  ASSERT_TRUE(LookupProduct(&record_, db_, params_));
  EXPECT_EQ(DescribeChain(record_.RunsOrNone().m_pProductGeometry), DescribeChain(geometry_));
  EXPECT_EQ(Frees(), 2);
}

TEST_F(ProductLookupTest, WithoutTheProductLibraryNothingIsAsked) {
  MakePipe("TPP0015i0001");
  PPGetResbufExFn bound = TheApp().m_pPPGetResbufEx;
  TheApp().m_pPPGetResbufEx = nullptr;
  EXPECT_FALSE(LookupProduct(&record_, db_, params_));
  TheApp().m_pPPGetResbufEx = bound;
  EXPECT_EQ(Calls(), 0);
}

TEST_F(ProductLookupTest, PreviewLooksUpTheExcludedFormAndAsksForPropertyEight) {
  MakePipe("TKi0015i0001");
  const int metres = 1;
  ASSERT_TRUE(LookupProductForPreview(&record_, db_, &metres));
  EXPECT_EQ(Text("TestWizard_Product"), "TKi0015-0001") << "only the include flag is changed";
  EXPECT_EQ(Flags(), "00001");
  EXPECT_EQ(Text("TestWizard_Names"), "#L/#O/#DN");
  EXPECT_DOUBLE_EQ(record_.RunsOrNone().m_boxMax.x, 1.0);
  EXPECT_EQ(Frees(), 1);

  MakePipe("TPP0015-0001");
  ASSERT_TRUE(LookupProductForPreview(&record_, db_, &metres)) << "an excluded entity";
  MakePipe("TPP0099i0001");
  EXPECT_FALSE(LookupProductForPreview(&record_, db_, &metres));
}

// One preview's answers: a look-up key and parameters asked before are
// answered without the catalogue or the library, as they answered first.
TEST_F(ProductLookupTest, PreviewAsksOncePerLookupKeyAndParameters) {
  const struct {
    const char* code;
    const char* length;
    bool found, asked;
  } rows[] = {
      {"TKi0015i0001", "2000", true, true},   {"TKi0015-0001", "2000", true, false},
      {"TKi0015i0001", "3000", true, true},   {"TKi0015i0001", "2000", true, false},
      {"TPP0099i0001", "2000", false, false}, {"TPP0099i0001", "2000", false, false},
  };
  PreviewProducts answers;
  const int metres = 1;
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.code) + " L " + row.length);
    MakePipe(row.code, row.length);
    const int calls = Calls();
    EXPECT_EQ(LookupProductForPreview(&record_, db_, &metres, &answers), row.found);
    EXPECT_EQ(Calls() - calls, row.asked ? 1 : 0);
    if (!row.found) continue;
    const auto geometry = DescribeChain(record_.RunsOrNone().m_pProductGeometry);
    const auto data = DescribeChain(record_.RunsOrNone().m_pProductData);
    const GLVector box = record_.RunsOrNone().m_boxMax;
    ASSERT_TRUE(LookupProductForPreview(&record_, db_, &metres));
    EXPECT_EQ(geometry, DescribeChain(record_.RunsOrNone().m_pProductGeometry));
    EXPECT_EQ(data, DescribeChain(record_.RunsOrNone().m_pProductData));
    EXPECT_TRUE(box.x == record_.RunsOrNone().m_boxMax.x && box.y == record_.RunsOrNone().m_boxMax.y);
  }
}

TEST(PreviewLookupKey, ChangesOnlyTheIncludeFlag) {
  EXPECT_STREQ(PreviewLookupKey("TCD0000i0001"), "TCD0000-0001");
  EXPECT_STREQ(PreviewLookupKey("Tii0000iii01"), "Tii0000-ii01");
  EXPECT_STREQ(PreviewLookupKey("TCD0000-0001"), "TCD0000-0001");
  EXPECT_STREQ(PreviewLookupKey("TCDi"), "TCDi") << "too short to carry the flag";
  EXPECT_STREQ(PreviewLookupKey(nullptr), "");
}
