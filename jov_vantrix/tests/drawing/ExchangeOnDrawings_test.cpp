// The exchange on the fixture drawings, in process through the real host:
// the export's reading, numbering, section list and exchange file, and the
// write-back of the include flag to the very entities read.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CObjSezNew.h"
#include "jov_vantrix/network/CSecSezNew.h"
#include "jov_vantrix/network/ExportNetworkReader.h"
#include "jov_vantrix/network/ExportParams.h"
#include "jov_vantrix/network/ExportSectionList.h"
#include "jov_vantrix/network/RecordWriteBack.h"
#include "jov_vantrix/network/SectionFile.h"
#include "jov_vantrix/tests/drawing/RealHost.h"
#include "platform/win32/driver/session_script.h"
#include "tests/support/ProgramRun.h"

namespace {

const std::string kFixtures = std::string(JOV_SOURCE_DIR) + "/tests/data/";
const char* kFixtureHandles = "3C,3E,3F,40,41,42,43,44";  // E1-E8

// The heating catalogue of the exchange tests.
const std::string kCatalogue = kFixtures + "exchange.cat";

}  // namespace

TEST(ExchangeOnDrawings, FixtureDrawingGivesTheExchangeFileAndTheExportedNumbers) {
  RealHost host;
  ASSERT_TRUE(host.Loaded());
  ASSERT_TRUE(host.Catalogue('T', kCatalogue));
  ASSERT_TRUE(host.Open(kFixtures + "network.dxf", kFixtureHandles));

  CObjSezNew network;
  ASSERT_EQ(ReadExportNetwork(network, nullptr), kExportComplete);
  EXPECT_EQ(network.m_readCount, 6u) << "E1-E5 and the first description line";
  EXPECT_EQ(network.m_allRecords.GetSize(), 8);
  ASSERT_NE(network.m_pStartPipe, nullptr);
  EXPECT_EQ(network.m_pStartPipe->m_jovData.m_typeCode, "TPP0000i0001");

  CompleteExportNumbering(network);
  CSecSezNew sections;
  ASSERT_TRUE(BuildExportSectionList(network, ExportParams{}, sections));
  const std::string file = host.Folder() + "/export.txt";
  ASSERT_TRUE(WriteSectionFile(sections, file.c_str(), false));
  EXPECT_EQ(testsupport::Slurp(file),
            "CP\r\n2\r\n#vetev;1\r\n1;0;0;;T1;a;b;c;d;4.25\r\n1;0;0;;T1;a;b;c;d;4.25\r\n");

  ASSERT_TRUE(HostBeginChange(TheApp().m_pHostTable));
  WriteAllRecords(network);
  HostEndChange(TheApp().m_pHostTable, 1);
  const std::string saved = host.Folder() + "/saved.dxf";
  ASSERT_TRUE(host.Save(saved));
  EXPECT_EQ(ExtendedDataByHandle(saved), ExtendedDataByHandle(kFixtures + "exported.dxf"));
}


TEST(ExchangeOnDrawings, IncludeFlagIsWrittenBackToTheEntitiesRead) {
  const std::string original = kFixtures + "network.dxf";
  auto typeCodes = [](const std::string& path) {
    std::map<std::string, std::string> codes;
    for (const auto& [handle, items] : ExtendedDataByHandle(path))
      if (items.size() > 1) codes[handle] = items[1];  // the item after 1001 "JOV_DATA"
    return codes;
  };
  RealHost host;
  ASSERT_TRUE(host.Loaded());
  std::string path = original;
  // Exclude the product and the supply pipe, then include them again.
  for (bool exclude : {true, false}) {
    ASSERT_TRUE(host.Open(path, ""));
    std::string error;
    ASSERT_TRUE(CurrentSessionScript().LoadText(exclude ? "select 3C 3E 40\n" : "select 3C 3E\n",
                                                host.Folder(), &error))
        << error;
    CObjSezNew list;
    EXPECT_EQ(SetIncludeFlag(list, exclude), 1);
    EXPECT_EQ(list.m_readCount, exclude ? 3u : 2u);
    ASSERT_TRUE(HostBeginChange(TheApp().m_pHostTable));
    WriteRecordsToDrawing(list, false);
    HostEndChange(TheApp().m_pHostTable, 1);
    path = host.Folder() + (exclude ? "/excluded.dxf" : "/included.dxf");
    ASSERT_TRUE(host.Save(path));
    CurrentSessionScript().Clear();
  }
  std::map<std::string, std::string> excluded = typeCodes(host.Folder() + "/excluded.dxf");
  std::map<std::string, std::string> expected = typeCodes(original);
  EXPECT_EQ(excluded.size(), expected.size()) << "written over, not added";
  EXPECT_EQ(excluded["3C"], "1000:TCD0000-0001");
  EXPECT_EQ(excluded["3E"], "1000:TPP0000-0001");
  EXPECT_EQ(excluded["40"], "1000:TPP0000-0001") << "excluded already: unchanged";
  EXPECT_EQ(excluded["3F"], "1000:TPZ0000i0001") << "not picked";
  EXPECT_EQ(ExtendedDataByHandle(host.Folder() + "/included.dxf"), ExtendedDataByHandle(original));
}
