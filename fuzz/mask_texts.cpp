// The label masks' settings texts: the input is a settings file read as
// "Dat\Jov_set.dat" and "Dat\Jov.ini". Every kind's mask list, field
// entries and active mask read; the field codes' installed keys read and
// find their rows; every definition read is cut into the editor's parts,
// which join back to it.
#include <cctype>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "platform/win32/code_page.h"
#include "wizard/dialogs/MaskDefinitionParts.h"
#include "wizard/dialogs/MaskFieldCodes.h"
#include "wizard/dialogs/MaskStorage.h"

namespace {

// Every kind reads alike: two sections of each sort keep the runs quick
// (a field entries section is 200 reads of the file).
constexpr const char* kListSections[] = {"DESC_TOP", "DESC_ZDRAVO"};
constexpr const char* kFieldSections[] = {"MASK_TOP", "MASK_ZDRAVO"};
constexpr const char* kActiveKeys[] = {"MASK_TOP", "MASK_ZDRAVO", "MASK_VZDUCH", "MASK_ELEKTRO", "MASK_SCHEME",
                                       "MASK_EPIPE"};

bool TokenChar(unsigned char c) { return (c < 128 && std::isalnum(c)) || c == '_'; }

void CheckParts(std::string_view definition) {
  std::string joined;
  for (const MaskPart& part : SplitMaskDefinition(definition)) {
    FUZZ_CHECK(!part.text.empty(), "an empty part");
    joined += part.text;
    if (part.token) {
      FUZZ_CHECK(part.text == "\\" || part.text[0] == '#' || part.text[0] == '&', "a token of no kind: " + part.text);
      if (part.text != "\\")
        for (size_t i = 1; i < part.text.size(); ++i)
          FUZZ_CHECK(TokenChar(static_cast<unsigned char>(part.text[i])), "a token runs on: " + part.text);
    } else {
      FUZZ_CHECK(part.text.find('\\') == std::string::npos, "a line break inside a free text");
      FUZZ_CHECK(part.text.find_first_of("#&", 1) == std::string::npos, "a field inside a free text: " + part.text);
    }
  }
  FUZZ_CHECK(joined == definition, "the parts do not join back to the definition");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string file = fuzz::WriteScratchFile("Jov_set.dat", fuzz::Text(data, size));

  for (const char* section : kListSections) {
    int free = -1;
    const std::vector<StoredMask> masks = ReadMaskList(file.c_str(), section, &free);
    FUZZ_CHECK(free >= static_cast<int>(masks.size()) && free <= kMaxMasks, "the free key is out of its range");
    int previous = -1;
    for (const StoredMask& mask : masks) {
      FUZZ_CHECK(mask.key > previous && mask.key < free, "masks out of key order");
      previous = mask.key;
      FUZZ_CHECK(mask.name.Find(';') < 0, "a mask name holds ';'");
      FUZZ_CHECK(MaskFitsStorage(mask.name, mask.definition), "a mask read is longer than a reader sees");
      CheckParts(mask.definition.GetString());
    }
  }
  for (const char* section : kFieldSections) {
    const std::vector<FieldEntry> entries = ReadFieldEntries(file.c_str(), section);
    FUZZ_CHECK(entries.size() <= static_cast<size_t>(kMaxFieldEntries), "more field entries than keys");
    for (const FieldEntry& entry : entries) {
      const std::string definition = entry.definition.GetString();
      FUZZ_CHECK(definition == "\\" || definition[0] == '#' || definition[0] == '&', "a field entry of no kind");
      CheckParts(definition);
    }
  }
  for (const char* key : kActiveKeys) {
    const CString active = ReadActiveMask(file.c_str(), key);
    FUZZ_CHECK(active.GetLength() <= kStoredValueLimit, "an active mask longer than a reader sees");
    CheckParts(active.GetString());
  }
  CheckParts(fuzz::Text(data, size));

  ReadMaskFieldCodes(file.c_str());
  for (const MaskFieldCode* row = MaskFieldCodes; row->code; ++row) {
    FUZZ_CHECK(std::strlen(row->installedKey) < sizeof row->installedKey, "an installed key is not ended");
    if (!row->installedKey[0]) continue;
    const MaskFieldCode* found = FindMaskFieldCode(row->installedKey);
    FUZZ_CHECK(found && found <= row && EqualsIgnoreCase(found->installedKey, row->installedKey),
               "an installed key does not find its row");
  }
  return 0;
}
