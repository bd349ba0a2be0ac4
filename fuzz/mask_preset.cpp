// The label proposed from an element's extended data: the input is a chain,
// one node a line, "CODE TEXT" (a code of no text kind takes no text). The
// walk finds JOV_DATA whenever an application named so (in any case) is
// followed by a text, and proposes one "#code " or "&key " per key it reads.
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "common/GroupCodeChain.h"
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

  bool expected = false;
  for (size_t i = 0; i + 1 < nodes.size() && !expected; ++i)
    expected = nodes[i].code == 1001 && EqualsIgnoreCase(nodes[i].value.text, "JOV_DATA") &&
               nodes[i + 1].code != 1001 && IsStringNode(&nodes[i + 1]);

  CString preset = "unset";
  char letter = '?';
  const bool found = ProposeMaskDefinition(nodes.empty() ? nullptr : nodes.data(), &preset, &letter);
  FUZZ_CHECK(found == expected, "JOV_DATA found where the chain has none, or missed");
  if (!found) return 0;
  const std::string proposed = preset.GetString();
  for (size_t at = 0; at < proposed.size();) {
    FUZZ_CHECK(proposed[at] == '#' || proposed[at] == '&', "a proposed field of no kind: " + proposed);
    const size_t space = proposed.find(' ', at);
    FUZZ_CHECK(space != std::string::npos, "a proposed field without its space: " + proposed);
    const std::string field = proposed.substr(at + 1, space - at - 1);
    if (proposed[at] == '#') FUZZ_CHECK(field == "1" || field == "P", "a field code nobody installed: " + field);
    at = space + 1;
  }
  return 0;
}
