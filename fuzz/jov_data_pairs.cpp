// The key/value pairs of an entity's "JOV_DATA" block, found, set and
// removed in the chain the host hands over (the input is the entity's
// group-code text). A key added reads back through the pairs and, removed
// again, leaves the chain as it was; a value replaced and put back leaves it
// as it was too; a call that changes nothing leaves every node in place.
#include <cstring>
#include <string>

#include "dataformat/GroupCodeChain.h"
#include "fuzz/EntityChains.h"
#include "fuzz/FuzzSupport.h"
#include "jov_vantrix/section/SectionNumbering.h"

namespace {

constexpr const char* kKey = "\x01" "fuzz key";

bool IsPair(const resbuf* node) {
  return node && node->code == 1000 && node->next && node->next->code == 1000;
}

// The value node of the first pair of that key, walking the pairs.
const resbuf* FindValue(resbuf* chain, const char* key) {
  for (const resbuf* node = FindJovDataPairs(chain, nullptr); IsPair(node); node = node->next->next)
    if (node->value.text && std::strcmp(node->value.text, key) == 0) return node->next;
  return nullptr;
}

size_t Length(const resbuf* chain) {
  size_t n = 0;
  for (; chain; chain = chain->next) ++n;
  return n;
}

bool InChain(const resbuf* chain, const resbuf* node) {
  for (; chain; chain = chain->next)
    if (chain == node) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::OwnedChain chain(fuzz::EntityChainFromText(fuzz::Text(data, size)));
  if (!chain.head) return 0;
  const fuzz::OwnedChain original(CopyGroupCodeChain(chain.head));
  FUZZ_CHECK(original.head, "the chain does not copy");

  CString code;
  const resbuf* pairs = FindJovDataPairs(chain.head, &code);
  FUZZ_CHECK(!pairs || InChain(chain.head, pairs), "the pairs found are not in the chain");
  if (FindValue(chain.head, kKey)) return 0;  // the input holds our key already

  // Removing what is not there changes nothing.
  FUZZ_CHECK(SetJovDataValue(kKey, nullptr, chain.head) != 1, "a missing key was removed");
  fuzz::CheckSameChain(original.head, chain.head, "removing a missing key");

  const size_t length = Length(chain.head);
  const int added = SetJovDataValue(kKey, "short", chain.head);
  if (added == 0) {
    fuzz::CheckSameChain(original.head, chain.head, "a refused set");
    FUZZ_CHECK(!IsPair(pairs), "a block with pairs refused a new key");
    return 0;
  }
  FUZZ_CHECK(added == 2, "a new key was not added");
  FUZZ_CHECK(Length(chain.head) == length + 2, "adding a key did not add two nodes");
  const resbuf* value = FindValue(chain.head, kKey);
  FUZZ_CHECK(value && std::strcmp(value->value.text, "short") == 0, "an added key does not read back");

  FUZZ_CHECK(SetJovDataValue(kKey, "a longer value", chain.head) == 1, "a key added is not replaced");
  value = FindValue(chain.head, kKey);
  FUZZ_CHECK(value && std::strcmp(value->value.text, "a longer value") == 0, "a replaced value does not read back");
  FUZZ_CHECK(Length(chain.head) == length + 2, "replacing a value changed the chain's length");
  FUZZ_CHECK(SetJovDataValue(kKey, nullptr, chain.head) == 1, "a key added is not removed");
  fuzz::CheckSameChain(original.head, chain.head, "a key added and removed");

  // The first pair's value replaced and put back.
  const resbuf* first = FindJovDataPairs(chain.head, nullptr);
  if (IsPair(first) && first->value.text && first->next->value.text) {
    const std::string key = first->value.text;
    const std::string old = first->next->value.text;
    FUZZ_CHECK(SetJovDataValue(key.c_str(), "changed", chain.head) == 1, "an existing key is not replaced");
    value = FindValue(chain.head, key.c_str());
    FUZZ_CHECK(value && std::strcmp(value->value.text, "changed") == 0, "a changed value does not read back");
    FUZZ_CHECK(SetJovDataValue(key.c_str(), old.c_str(), chain.head) == 1, "a value is not put back");
    fuzz::CheckSameChain(original.head, chain.head, "a value changed and put back");
  }
  return 0;
}
