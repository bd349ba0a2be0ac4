#include "wizard/dialogs/MaskKindNames.h"

#include "wizard/frame/CWizardDllApp.h"

MaskKindNames MaskNamesOf(unsigned kind) {
  const char letter = static_cast<char>(kind);
  char list[64] = "", fields[64] = "", key[64] = "";
  GetDescSection(letter, list);
  GetMaskSection(letter, fields);
  GetMaskKey(letter, key);
  return {list, fields, key};
}
