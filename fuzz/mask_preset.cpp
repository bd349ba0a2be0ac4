// The label proposed from an element's extended data: the input is a chain,
// one node a line, "CODE TEXT" (a code of no text kind takes no text). The
// walk finds JOV_DATA whenever an application named so (in any case) is
// followed by a text, and proposes fields, each "#code " or "&key ", from
// no more text than the chain holds.
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "dataformat/GroupCodeChain.h"
#include "fuzz/FuzzSupport.h"
#include "platform/win32/code_page.h"
#include "wizard/dialogs/MaskFieldCodes.h"
#include "wizard/dialogs/MaskPreset.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool codes = [] {
    // Two field codes installed, as a profile might have them.
    std::strcpy(MaskFieldCodes[0].installedKey, "CM");
    std::strcpy(MaskFieldCodes[5].installedKey, "_QPROD");
    return true;
  }();
  (void)codes;

  const std::string text(fuzz::Text(data, size));
  std::deque<std::string> texts;
  std::vector<resbuf> nodes;
  for (size_t at = 0; at < text.size() && nodes.size() < 4096;) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(at, end - at);
    at = end + 1;
    resbuf node{};
    node.code = static_cast<int16_t>(std::atoi(line.c_str()));
    const size_t space = line.find(' ');
    if (IsStringNode(&node)) node.value.text = texts.emplace_back(space == std::string::npos ? "" : line.substr(space + 1)).data();
    nodes.push_back(node);
  }
  for (size_t i = 0; i + 1 < nodes.size(); ++i) nodes[i].next = &nodes[i + 1];

  const resbuf* type = nullptr;
  for (size_t i = 0; i + 1 < nodes.size() && !type; ++i)
    if (nodes[i].code == 1001 && EqualsIgnoreCase(nodes[i].value.text, "JOV_DATA") && nodes[i + 1].code != 1001 &&
        IsStringNode(&nodes[i + 1]))
      type = &nodes[i + 1];

  CString preset = "unset";
  char letter = '?';
  const bool found = ProposeMaskDefinition(nodes.empty() ? nullptr : nodes.data(), &preset, &letter);
  FUZZ_CHECK(found == (type != nullptr), "JOV_DATA found where the chain has none, or missed");
  if (!found) return 0;
  FUZZ_CHECK(letter == type->value.text[0], "the kind is not the type code's letter");
  // One field per pair read, each ended by a space; the kind from the type code.
  const std::string proposed = preset.GetString();
  FUZZ_CHECK(proposed.empty() || (proposed.back() == ' ' && (proposed[0] == '#' || proposed[0] == '&')),
             "a proposal that is no list of fields: " + proposed);
  FUZZ_CHECK(proposed.size() <= text.size() + 2 * nodes.size(), "a proposal longer than the chain's texts");
  return 0;
}
