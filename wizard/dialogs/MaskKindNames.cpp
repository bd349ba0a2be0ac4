#include "wizard/dialogs/MaskKindNames.h"

#include <cstring>

namespace {

// The description masks' section and key names by kind letter.
struct MaskNames {
  char letter;
  const char* maskSection;
  const char* descSection;
  const char* maskKey;
};

constexpr MaskNames kMaskNames[] = {
    {'E', "MASK_ELEKTRO", "DESC_ELEKTRO", "MASK_ELEKTRO"},
    {'S', "MASK_SCHEME", "DESC_SCHEME", "MASK_SCHEME"},
    {'V', "MASK_VZDUCH", "DESC_VZDUCH", "MASK_VZDUCH"},
    {'W', "MASK_TOP", "DESC_EPIPE", "MASK_EPIPE"},
    {'Z', "MASK_ZDRAVO", "DESC_ZDRAVO", "MASK_ZDRAVO"},
};
constexpr MaskNames kOtherMask = {0, "MASK_TOP", "DESC_TOP", "MASK_TOP"};

const MaskNames& NamesOfLetter(char letter) {
  for (const MaskNames& names : kMaskNames)
    if (names.letter == letter) return names;
  return kOtherMask;
}

}  // namespace

void GetMaskSection(char letter, char* out) {
  if (out) std::strcpy(out, NamesOfLetter(letter).maskSection);
}

void GetDescSection(char letter, char* out) {
  if (out) std::strcpy(out, NamesOfLetter(letter).descSection);
}

void GetMaskKey(char letter, char* out) {
  if (out) std::strcpy(out, NamesOfLetter(letter).maskKey);
}

MaskKindNames MaskNamesOf(unsigned kind) {
  const char letter = static_cast<char>(kind);
  char list[64] = "", fields[64] = "", key[64] = "";
  GetDescSection(letter, list);
  GetMaskSection(letter, fields);
  GetMaskKey(letter, key);
  return {list, fields, key};
}
