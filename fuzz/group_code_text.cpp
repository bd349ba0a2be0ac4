// Product geometry as the catalogue stores it: DXF group-code text turned
// into a chain. A text either makes a chain or fails with the line and no
// chain; the chain's nodes hold what their codes promise, so the utility
// layer's chain code (a deep copy, as the plug-in takes product geometry)
// copies it node for node.
#include <string>

#include "dataformat/GroupCodeChain.h"
#include "fuzz/FuzzSupport.h"
#include "platform/catalogue/GroupCodeText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = fuzz::CText(data, size);
  resbuf* chain = reinterpret_cast<resbuf*>(&chain);  // must come back null on failure
  std::string error;
  if (!jovDatabase::ParseGroupCodeText(text.c_str(), &chain, &error)) {
    FUZZ_CHECK(!chain, "a failed parse handed out a chain");
    FUZZ_CHECK(error.rfind("line ", 0) == 0, "an error without its line: " + error);
    return 0;
  }
  size_t nodes = 0;
  for (const resbuf* node = chain; node; node = node->next, ++nodes) {
    const uint32_t kind = GroupCodeKind(GetGroupCodeClass(node->code));
    FUZZ_CHECK(kind != GC_KIND_NONE, "code " + std::to_string(node->code) + " has no kind in the chain code");
    if (kind == GC_KIND_TEXT) FUZZ_CHECK(node->value.text, "a text node without its text");
    if (kind == GC_KIND_BINARY)
      FUZZ_CHECK(node->value.binary.length >= 0 && (node->value.binary.length == 0 || node->value.binary.data),
                 "a binary node without its bytes");
  }
  resbuf* copy = CopyGroupCodeChain(chain);
  size_t copied = 0;
  for (const resbuf* node = copy; node; node = node->next) ++copied;
  FUZZ_CHECK(copied == nodes, "the chain copies to " + std::to_string(copied) + " of its " + std::to_string(nodes) +
                                  " nodes");
  FreeGroupCodeChain(copy);
  jovDatabase::FreeGroupCodeNodes(chain);
  return 0;
}
