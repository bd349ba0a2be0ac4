#include "wizard/dialogs/MaskPreset.h"

#include "dataformat/GroupCodeChain.h"
#include "platform/win32/code_page.h"
#include "wizard/dialogs/MaskFieldCodes.h"

namespace {

constexpr int16_t kAppName = 1001;

bool IsText(const resbuf* node) { return node && node->code != kAppName && IsStringNode(node); }

const char* TextOf(const resbuf* node) { return node->value.text ? node->value.text : ""; }

}  // namespace

bool ProposeMaskDefinition(const resbuf* chain, CString* preset, char* typeLetter) {
  const resbuf* type = nullptr;
  for (const resbuf* node = chain; node && !type; node = node->next)
    if (node->code == kAppName && node->value.text && _mbsicmp(node->value.text, "JOV_DATA") == 0 &&
        IsText(node->next))
      type = node->next;
  if (!type) return false;
  *typeLetter = TextOf(type)[0];
  preset->Empty();
  for (const resbuf* key = type->next; key && key->code != kAppName; key = key->next->next) {
    const resbuf* value = key->next;
    if (!IsText(key) || !IsText(value)) break;
    if (!*TextOf(value)) continue;
    if (const MaskFieldCode* field = FindMaskFieldCode(TextOf(key))) {
      *preset += '#';
      *preset += field->code;
      *preset += ' ';
    } else if (_mbsicmp(TextOf(key), "_TYPE") != 0 && _mbsicmp(TextOf(key), "_PTS") != 0) {
      *preset += '&';
      *preset += TextOf(key);
      *preset += ' ';
    }
  }
  return true;
}

char MaskKindOfLetter(char letter) {
  switch (letter) {
    case 'E':
    case 'e': return 'E';
    case 'T':
    case 't': return 'T';
    case 'V':
    case 'v': return 'V';
    case 'Z':
    case 'z': return 'Z';
    default: return 0;
  }
}
