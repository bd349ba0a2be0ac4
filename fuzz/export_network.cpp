// A network selected for the export: the input is the group-code text of
// the selected entities in order (each from its 0 pair), turned into chains
// by the host and read as the export dialog reads its kept copies (and
// as the host hands them out, alike). A
// complete network is numbered and listed as confirming the dialog does,
// and its exchange file written. The reading reports one of its results,
// reads no more records than entities and files them into one scheme;
// numbering leaves no group for the user; a list refused leaves every
// record's extended data as it was, a list built is written field for
// field.
#include <memory>
#include <vector>

#include "common/CGroupChainRef.h"
#include "common/qmArray.h"
#include "fuzz/EntityChains.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/SectionExport.h"
#include "jov_vantrix/network/CNumSezNew.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CObjSezNew.h"
#include "jov_vantrix/network/CSecSezNew.h"
#include "jov_vantrix/network/ExportNetworkReader.h"
#include "jov_vantrix/network/ExportParams.h"
#include "jov_vantrix/network/ExportSectionList.h"
#include "jov_vantrix/network/SectionFile.h"

namespace {

CObjDataNew* RecordAt(const CObjSezNew& network, INT_PTR i) { return static_cast<CObjDataNew*>(network.m_allRecords[i]); }

void CheckScheme(const CObjSezNew& network) {
  for (CNumSezNew* group = network.m_scheme.GetFirstGroup(); group; group = group->GetNextGroup())
    for (CObjDataNew* r = group->GetFirstRecord(); r; r = r->GetNextRecord())
      FUZZ_CHECK(r->m_schemeAssoc == network.m_scheme.m_name && r->m_pGroup == group,
                 "a record of scheme " + fuzz::Std(r->m_schemeAssoc.ToCString()) + " filed in scheme " +
                     fuzz::Std(network.m_scheme.m_name));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::OwnedChains selection;
  fuzz::SelectionChainsFromText(fuzz::Text(data, size), selection.chains);
  // The dialog's copies of the selection, each a block of its own; the
  // chains as the host hands them out read alike.
  std::vector<CGroupChainRef> kept(selection.chains.size());
  qmArray<resbuf*> plain;
  for (size_t i = 0; i < kept.size(); ++i) {
    kept[i].AssignOwnBlock(selection.chains[i]);  // left empty as a record's copy would be
    plain.Add(selection.chains[i]);
  }

  CObjSezNew network;
  const int read = ReadExportNetwork(network, kept);
  FUZZ_CHECK(read == kExportComplete || read == kExportUnusable || read == kExportSecondScheme ||
                 read == kExportOnlyExcluded || read == kExportSeveralStarts || read == kExportNumberedBefore ||
                 read == kExportNoFloorPlan,
             "reading gave " + std::to_string(read));
  FUZZ_CHECK(network.m_allRecords.GetSize() <= plain.GetCount() &&
                 network.m_readCount <= static_cast<uint32_t>(network.m_allRecords.GetSize()),
             "read " + std::to_string(network.m_readCount) + " of " + std::to_string(network.m_allRecords.GetSize()) +
                 " records from " + std::to_string(plain.GetCount()) + " entities");
  {
    CObjSezNew fromPlain;
    FUZZ_CHECK(ReadExportNetwork(fromPlain, &plain) == read &&
                   fromPlain.m_allRecords.GetSize() == network.m_allRecords.GetSize(),
               "the kept copies read otherwise than the chains");
  }
  CheckScheme(network);
  if (read != kExportComplete) return 0;

  // Confirming the dialog with the first number it proposes.
  network.m_scheme.m_nextFreeNumber = 1;
  CompleteExportNumbering(network);
  for (CNumSezNew* group = network.m_scheme.GetFirstGroup(); group; group = group->GetNextGroup())
    FUZZ_CHECK(group->IsFixed() || group->m_changed, "group " + fuzz::Std(group->m_name) + " left unnumbered");

  std::vector<std::unique_ptr<fuzz::OwnedChain>> before;
  for (INT_PTR i = 0; i < network.m_allRecords.GetSize(); ++i)
    before.push_back(std::make_unique<fuzz::OwnedChain>(RecordAt(network, i)->m_jovData.BuildXData()));
  CSecSezNew sections;
  if (!BuildExportSectionList(network, ExportParams{}, sections)) {
    for (INT_PTR i = 0; i < network.m_allRecords.GetSize(); ++i) {
      const fuzz::OwnedChain after(RecordAt(network, i)->m_jovData.BuildXData());
      fuzz::CheckSameChain(before[static_cast<size_t>(i)]->head, after.head, "a refused list wrote into a record");
    }
    return 0;
  }
  const std::string path = fuzz::ScratchFolder() + "/export.txt";
  FUZZ_CHECK(WriteSectionFile(sections, path.c_str(), false), "the export is not written");
  fuzz::CheckSectionExport(sections, fuzz::FileBytes(path), true);
  return 0;
}
