// The indexes of the network's look-ups give what the plain scans give, on
// random networks whose ends meet on a small grid at distances on both
// sides of the tolerances.
#include "jov_vantrix/network/NetworkIndex.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "jov_vantrix/network/CNumSezNew.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CObjSezNew.h"
#include "jov_vantrix/network/CalculationImport.h"
#include "jov_vantrix/network/ExportNetworkReader.h"
#include "jov_vantrix/network/ExportSectionList.h"
#include "jov_vantrix/network/RecordGeometry.h"
#include "jov_vantrix/network/SegmentNumbering.h"

namespace {

template <typename T, size_t N>
const T& Pick(std::mt19937& rng, const T (&choices)[N]) {
  return choices[std::uniform_int_distribution<size_t>(0, N - 1)(rng)];
}

// Two networks made alike from one seed: records in association groups,
// some unassociated, their ends on a 4 x 4 grid moved by nothing or by
// amounts just inside and outside 1e-6 and 1e-5; the grid lies at the
// origin or far from it on either side.
class RandomNetwork {
 public:
  explicit RandomNetwork(unsigned seed) {
    std::mt19937 rng(seed);
    static const int kTypes[] = {5, 5, 5, 6, 6, 6, 1, 2};
    static const char* const kRisers[] = {"", "1", "1", "2"};
    static const char* const kPositions[] = {"", "0", "1", "1", "2"};
    static const char* const kBranches[] = {"1", "2", "3"};
    static const char* const kHandles[] = {"", "H1", "H2", "H3"};
    static const double kJitter[] = {0, 0, 0, 5e-7, -5e-7, 2e-6, 9e-6, -1.1e-5};
    static const GLVector kOrigins[] = {{0, 0, 0}, {-48213.25, 7731.5, 0}, {1e6, -2.5e6, 0}};
    const GLVector origin = kOrigins[seed % 3];
    auto point = [&] {
      return GLVector(origin.x + std::uniform_int_distribution<int>(0, 3)(rng) + Pick(rng, kJitter),
                      origin.y + std::uniform_int_distribution<int>(0, 3)(rng) + Pick(rng, kJitter), 0.0);
    };
    for (uint32_t i = 0; i < 400; ++i) {
      auto* r = new CObjDataNew(0, Pick(rng, kTypes), nullptr, i);
      r->m_riserNumber = Pick(rng, kRisers);
      r->m_riserPosition = Pick(rng, kPositions);
      r->m_branchName = Pick(rng, kBranches);
      r->m_linkHandle = Pick(rng, kHandles);
      r->m_start = point();
      r->m_end = point();
      r->SetNumber(std::uniform_int_distribution<int>(0, 12)(rng));
      r->SetReadNumber(r->GetNumber());
      r->SetConnect(std::uniform_int_distribution<int>(0, 12)(rng));
      r->SetReadConnect(r->GetConnect());
      places_[r] = static_cast<int>(records.size());
      records.push_back(r);
      if (std::uniform_int_distribution<int>(0, 4)(rng) == 0) {
        network.m_unassociatedRecords.Add(r);
        network.m_heldRecords.AddTail(r);
        continue;
      }
      r->m_assoc = std::to_string(std::uniform_int_distribution<int>(0, 14)(rng)).c_str();
      network.m_scheme.FileRecord(r);
      if (!r->m_riserNumber.IsEmpty()) network.m_scheme.m_risers.Add(r);
    }
  }

  int IndexOf(const void* record) const {
    auto found = places_.find(record);
    return found == places_.end() ? -1 : found->second;
  }
  // Links, numbers and group flags, for comparing two networks.
  std::vector<std::string> State() const {
    std::vector<std::string> state;
    for (const CObjDataNew* r : records)
      state.push_back(std::to_string(IndexOf(r->m_pLinkA)) + " " + std::to_string(IndexOf(r->m_pLinkB)) + " " +
                      std::to_string(r->GetNumber()) + " " + std::to_string(r->GetConnect()));
    for (const CNumSezNew* g = network.m_scheme.GetFirstGroup(); g; g = g->GetNextGroup())
      state.push_back(std::to_string(IndexOf(g->m_pNextRecord)) + " " + std::to_string(IndexOf(g->m_pPreviousRecord)) +
                      " " + std::to_string(g->m_nextLink) + std::to_string(g->m_previousLink) + " " +
                      std::to_string(g->GetCount()));
    return state;
  }

  CObjSezNew network;
  std::vector<CObjDataNew*> records;  // in the order made

 private:
  std::unordered_map<const void*, int> places_;
};

}  // namespace

TEST(NetworkIndex, IndexedLookUpsAnswerAsTheScans) {
  for (unsigned seed = 1; seed <= 12; ++seed) {
    RandomNetwork plain(seed);
    RandomNetwork indexed(seed);
    SCOPED_TRACE(seed);

    // Riser links, then the numbering that follows them. The links' index
    // is the linking's own tolerance or the coarser one the reader shares
    // with the free-pipe test.
    EndPointIndex links(seed % 2 ? 1e-6 : 1e-5);
    IndexSchemeSegments(indexed.network, links);
    for (RandomNetwork* n : {&plain, &indexed})
      for (CNumSezNew* g = n->network.m_scheme.GetFirstGroup(); g; g = g->GetNextGroup())
        for (CObjDataNew* r = g->GetFirstRecord(); r; r = r->GetNextRecord())
          if (!r->m_riserPosition.IsEmpty()) LinkRiserNeighbours(n->network, r, n == &indexed ? &links : nullptr);
    ASSERT_EQ(plain.State(), indexed.State());

    EndPointIndex segments(kPointTolerance);
    IndexSchemeSegments(indexed.network, segments);
    for (RandomNetwork* n : {&plain, &indexed})
      for (CNumSezNew* g = n->network.m_scheme.GetFirstGroup(); g; g = g->GetNextGroup())
        NumberSegments(g, n->network.m_scheme, n == &indexed ? &segments : nullptr);
    ASSERT_EQ(plain.State(), indexed.State());

    // Free pipes, joining branches, linked floor-plan records. The free
    // pipes' index holds the riser records, or the scheme's segments as the
    // reader indexes them.
    EndPointIndex risers(1e-5);
    if (seed % 2) {
      for (INT_PTR i = 0; i < indexed.network.m_scheme.m_risers.GetSize(); ++i)
        risers.Add(static_cast<CObjDataNew*>(indexed.network.m_scheme.m_risers[i]));
    } else {
      IndexSchemeSegments(indexed.network, risers);
    }
    const ConnectIndex connects(indexed.network);
    LinkHandleIndex unassociated;
    unassociated.AddArray(indexed.network.m_unassociatedRecords);
    int free = 0, joined = 0, linked = 0;
    for (size_t i = 0; i < plain.records.size(); ++i) {
      CObjDataNew* p = plain.records[i];
      CObjDataNew* q = indexed.records[i];
      const bool isFree = IsFreePipe(plain.network, p);
      EXPECT_EQ(isFree, IsFreePipe(indexed.network, q, &risers)) << i;
      free += isFree;
      CString a, b;
      GetConnectedBranchName(plain.network, p, a);
      connects.ConnectedBranchName(q, b);
      EXPECT_EQ(a, b) << i;
      joined += !a.IsEmpty();
      CPtrArray outA, outB;
      CollectLinkedRecords(plain.network, p, outA, true);
      unassociated.Collect(q, outB);
      ASSERT_EQ(outA.GetSize(), outB.GetSize()) << i;
      for (INT_PTR k = 0; k < outA.GetSize(); ++k) EXPECT_EQ(plain.IndexOf(outA[k]), indexed.IndexOf(outB[k]));
      linked += static_cast<int>(outA.GetSize());
    }
    EXPECT_EQ(plain.State(), indexed.State()) << "the linked records took the same numbers";
    // The random networks do reach every case.
    EXPECT_GT(free, 0);
    EXPECT_GT(joined, 0);
    EXPECT_GT(linked, 0);
  }
}

TEST(NetworkIndex, ImportLookUpsAnswerAsTheScans) {
  std::mt19937 rng(7);
  static const char* const kTexts[] = {"", "1", "2"};
  // Handles the index holds whole, and longer ones alike in their first bytes.
  static const char* const kHandles[] = {"", "1", "2", "0123456789ab", "0123456789ab-1", "0123456789ab-2"};
  static const char* const kCodes[] = {"TCD0000i0001", "TCD0000-0001", ""};
  static const int kTypes[] = {2, 2, 3, 5, 6, 1};
  CObjSezNew list;
  for (uint32_t i = 0; i < 300; ++i) {
    auto* r = new CObjDataNew(0, Pick(rng, kTypes), nullptr, i);
    if (r->m_objectType == kObjectDescription) r->m_entityKind = kEntityText;
    r->m_CM = Pick(rng, kTexts);
    r->m_CT = Pick(rng, kTexts);
    r->m_branchNumber = Pick(rng, kTexts);
    r->m_assoc = Pick(rng, kTexts);
    r->m_jovData.m_typeCode = Pick(rng, kCodes);
    r->m_linkHandle = Pick(rng, kHandles);
    list.AddTail(r);
  }
  const ProductIndex products(list);
  LinkHandleIndex handles;
  handles.AddList(list);
  int found = 0;
  for (CObjDataNew* r = list.GetFirstRecord(); r; r = r->GetNextRecord()) {
    for (bool excluded : {false, true}) {
      CObjDataNew* product = FindProductForPipe(list, r, excluded);
      EXPECT_EQ(product, products.Product(*r, excluded));
      found += product != nullptr;
    }
    CPtrArray scanned, indexed;
    CollectLinkedRecords(list, r, scanned, false);
    handles.Collect(r, indexed);
    ASSERT_EQ(scanned.GetSize(), indexed.GetSize());
    for (INT_PTR k = 0; k < scanned.GetSize(); ++k) EXPECT_EQ(scanned[k], indexed[k]);
    if (r->m_objectType != kObjectNetworkInsert) continue;
    // The texts the scan renews are the index's, in order.
    CStringArray lines;
    lines.Add("marked");
    std::vector<CObjDataNew*> renewed;
    for (CObjDataNew* t = list.GetFirstRecord(); t; t = t->GetNextRecord()) t->Runs().m_text1.Empty();
    UpdateDescriptionTexts(list, r, lines);
    for (CObjDataNew* t = list.GetFirstRecord(); t; t = t->GetNextRecord())
      if (!t->RunsOrNone().m_text1.IsEmpty()) renewed.push_back(t);
    const std::vector<CObjDataNew*>* texts = products.Descriptions(*r);
    EXPECT_EQ(renewed, texts ? *texts : std::vector<CObjDataNew*>{});
  }
  EXPECT_GT(found, 0);
}

TEST(NetworkIndex, EndsAddedAfterAQuestionAreFound) {
  // Many ends in one cell, ends far off or undefined, and more added once
  // the index has been asked.
  std::vector<std::unique_ptr<CObjDataNew>> records;
  auto make = [&](GLVector start, GLVector end) {
    records.push_back(std::make_unique<CObjDataNew>(0, 5, nullptr, 0));
    records.back()->m_start = start;
    records.back()->m_end = end;
    return records.back().get();
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EndPointIndex ends(1e-6);
  for (int i = 0; i < 50; ++i) ends.Add(make({1, 1, 0}, {2.0 + i, 0, 0}));
  ends.Add(make({1e300, -1e300, 0}, {nan, nan, 0}));
  std::vector<IndexedRecord> found = ends.Near({1, 1 + 5e-7, 0});
  ASSERT_EQ(found.size(), 50u);
  for (uint32_t i = 0; i < found.size(); ++i) EXPECT_EQ(found[i].order, i) << "in the order they were added";
  EXPECT_EQ(ends.Near({1e300, -1e300, 0}).size(), 1u);

  CObjDataNew* later = make({3, 4, 0}, {1, 1, 0});
  ends.Add(later);
  found = ends.NearEither({3, 4, 0}, {2, 0, 0});
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].order, 0u);
  EXPECT_EQ(found[1].record, later);
  EXPECT_EQ(ends.Near({1, 1, 0}).size(), 51u);
}

TEST(NetworkIndex, AnIndexOfNothingFindsNothing) {
  // As the reader asks when a pipe has a riser position but no riser
  // number: no segment end was indexed.
  const EndPointIndex ends(1e-6);
  EXPECT_TRUE(ends.Near({0, 0, 0}).empty());
  EXPECT_TRUE(ends.NearEither({1, 1, 0}, {2, 2, 0}).empty());
}
