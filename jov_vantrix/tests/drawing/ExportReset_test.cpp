// A renumber reset on the exported fixture drawing, in process through the
// real host: the dialog keeps copies of the selected entities with their
// earlier numbers back, and the network read again from them holds every
// record once.
#include <gtest/gtest.h>

#include <string>

#include "dataformat/GroupCodeChain.h"
#include "jov_vantrix/network/CJov_ExportDlg.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/ExportNetworkReader.h"
#include "jov_vantrix/tests/drawing/RealHost.h"

namespace {

const std::string kFixtures = std::string(JOV_SOURCE_DIR) + "/tests/data/";

// The value after the key in the chain's extended data; "-" when absent.
std::string Value(const resbuf* chain, const char* key) {
  for (; chain && chain->next; chain = chain->next)
    if (chain->code == 1000 && chain->value.text && std::string(chain->value.text) == key)
      return chain->next->value.text;
  return "-";
}

}  // namespace

TEST(ExportReset, TheNetworkIsReadOnceMoreFromItsEarlierNumbers) {
  RealHost host;
  ASSERT_TRUE(host.Loaded());
  ASSERT_TRUE(host.Open(kFixtures + "exported.dxf", "3C,3E,3F,40,41,42,43,44"));
  CJov_ExportDlg dialog(nullptr);
  ASSERT_EQ(PreselectNetwork(dialog, false), 0) << "nothing kept yet";
  ASSERT_EQ(ReadExportNetwork(dialog.m_network, nullptr), kExportNumberedBefore);
  const int unassociated = static_cast<int>(dialog.m_network.m_unassociatedRecords.GetSize());
  EXPECT_EQ(unassociated, 2) << "the floor-plan pipes";

  dialog.ClearLists();
  EXPECT_EQ(dialog.m_network.m_scheme.GetGroupCount(), 0u);
  EXPECT_EQ(dialog.m_network.m_heldRecords.GetCount(), 0u);
  ResetDrawingNumbers(dialog);
  ASSERT_EQ(dialog.m_keptChains.size(), 8u);
  // E2 and E3, the section pipes, have their "e" numbers back; the
  // floor-plan pipes (excluded) and the product keep theirs.
  const char* expected[][2] = {{"-", "-"}, {"e1", "e0"}, {"e1", "e0"}, {"1", "0"}, {"1", "0"}};
  for (int i = 0; i < 5; ++i) {
    const resbuf* chain = dialog.m_keptChains[i].GetChain();
    EXPECT_EQ(Value(chain, "_DW_NUMBER"), expected[i][0]) << i;
    EXPECT_EQ(Value(chain, "_DW_CONNECT"), expected[i][1]) << i;
  }

  ASSERT_EQ(PreselectNetwork(dialog, false), kExportComplete);
  EXPECT_EQ(dialog.m_network.m_unassociatedRecords.GetSize(), unassociated) << "each floor-plan pipe once";
  EXPECT_EQ(dialog.m_network.m_allRecords.GetSize(), 8);
  EXPECT_EQ(dialog.m_network.m_readCount, 6u);
  ASSERT_NE(dialog.m_network.m_pStartPipe, nullptr);
  EXPECT_TRUE(dialog.m_network.m_pStartPipe->m_hasEntityName) << "written back over the entity it was read from";
}
