#include "wizard/dialogs/MaskSectionNames.h"

#include <cstring>

namespace {

struct KindNames {
  char letter;
  const char* mask;
  const char* desc;
  const char* key;
};

// The last row serves every other letter.
constexpr KindNames kKinds[] = {
    {'E', "MASK_ELEKTRO", "DESC_ELEKTRO", "MASK_ELEKTRO"}, {'S', "MASK_SCHEME", "DESC_SCHEME", "MASK_SCHEME"},
    {'V', "MASK_VZDUCH", "DESC_VZDUCH", "MASK_VZDUCH"},    {'W', "MASK_TOP", "DESC_EPIPE", "MASK_EPIPE"},
    {'Z', "MASK_ZDRAVO", "DESC_ZDRAVO", "MASK_ZDRAVO"},    {0, "MASK_TOP", "DESC_TOP", "MASK_TOP"},
};

const KindNames& Of(char letter) {
  const KindNames* row = kKinds;
  while (row->letter && row->letter != letter) ++row;
  return *row;
}

}  // namespace

void GetMaskSection(char letter, char* out) { std::strcpy(out, Of(letter).mask); }
void GetDescSection(char letter, char* out) { std::strcpy(out, Of(letter).desc); }
void GetMaskKey(char letter, char* out) { std::strcpy(out, Of(letter).key); }
