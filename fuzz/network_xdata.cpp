// Extended data of a network entity as the host hands it over: the input is
// the entity's group-code text, turned into its chain by the host. Texts
// may carry control characters in DXF's caret form (^J, ^M), which the host
// decodes, so that point texts ("_PTS") can hold their lines. What reads as
// network data builds a chain that reads again, and the second build equals
// the first: nothing piles up or gets lost on the way. The properties read
// walk and look up alike whether kept packed, left in the chain or made a
// list.
#include <string>
#include <utility>
#include <vector>

#include "fuzz/EntityChains.h"
#include "fuzz/FuzzSupport.h"
#include "jov_vantrix/network/CJovData.h"

namespace {

using Walked = std::vector<std::pair<std::string, std::string>>;

Walked Walk(const CJovData& data) {
  Walked walked;
  data.ForEachProperty([&](const char* key, const char* value) {
    walked.emplace_back(key, value);
    return true;
  });
  return walked;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::OwnedChain chain(fuzz::EntityChainFromText(fuzz::Text(data, size)));
  if (!chain.head) return 0;

  CJovData first;
  if (!first.ReadXData(chain.head)) return 0;
  (void)first.GetProperty("_PTS");
  const Walked packed = Walk(first);
  CJovData listed;
  FUZZ_CHECK(listed.ReadXData(chain.head), "the chain read once does not read again");
  FUZZ_CHECK(listed.Properties().CSeznam::GetCount() == packed.size() && Walk(listed) == packed,
             "the properties as a list are not those walked packed");
  CJovData inChain;
  FUZZ_CHECK(inChain.ReadXDataOfKeptChain(chain.head) && Walk(inChain) == packed,
             "the properties left in the chain are not those walked packed");
  for (size_t i = 0; i < packed.size(); ++i) {
    const char* key = packed[i].first.c_str();
    const char* one = first.GetProperty(key);
    const char* other = listed.GetProperty(key);
    const char* left = inChain.GetProperty(key);
    FUZZ_CHECK(one && other && left && std::string(one) == other && std::string(one) == left,
               "property " + packed[i].first + " looks up otherwise");
    size_t at = 0;
    while (packed[at].first != packed[i].first) ++at;
    FUZZ_CHECK(packed[at].second == one, "property " + packed[i].first + " looks up past its first value");
  }
  const fuzz::OwnedChain built(first.BuildXData());
  CJovData second;
  FUZZ_CHECK(second.ReadXData(built.head), "a built chain does not read as network data");
  const fuzz::OwnedChain rebuilt(second.BuildXData());
  fuzz::CheckSameChain(built.head, rebuilt.head, "built again");
  return 0;
}
