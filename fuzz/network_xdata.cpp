// Extended data of a network entity as the host hands it over: the input is
// the entity's group-code text, turned into its chain by the host. Texts
// may carry control characters in DXF's caret form (^J, ^M), which the host
// decodes, so that point texts ("_PTS") can hold their lines. What reads as
// network data builds a chain that reads again, and the second build equals
// the first: nothing piles up or gets lost on the way.
#include "fuzz/EntityChains.h"
#include "fuzz/FuzzSupport.h"
#include "jov_vantrix/network/CJovData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::OwnedChain chain(fuzz::EntityChainFromText(fuzz::Text(data, size)));
  if (!chain.head) return 0;

  CJovData first;
  if (!first.ReadXData(chain.head)) return 0;
  (void)first.GetProperty("_PTS");
  const fuzz::OwnedChain built(first.BuildXData());
  CJovData second;
  FUZZ_CHECK(second.ReadXData(built.head), "a built chain does not read as network data");
  const fuzz::OwnedChain rebuilt(second.BuildXData());
  fuzz::CheckSameChain(built.head, rebuilt.head, "built again");
  return 0;
}
