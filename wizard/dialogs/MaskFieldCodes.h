// The field codes of label masks: "#" + a code in a mask stands for the
// element's value under the key the installation names for the code's
// logical key ([INFO] of the profile's "Dat\Jov_set.dat").
#pragma once

struct MaskFieldCode {
  const char* code;        // null in the row that ends the table
  const char* logicalKey;
  char installedKey[1024];  // empty: the code matches no key
};

constexpr int kMaskFieldCodeCount = 16;

// The table, its installed keys empty until LoadMaskFieldCodes.
extern MaskFieldCode MaskFieldCodes[kMaskFieldCodeCount + 1];

// The installed keys from section "INFO" of setFile, read on the first call
// in the process only: later changes of the file are not seen.
void LoadMaskFieldCodes(const char* setFile);
// The read itself, whenever called.
void ReadMaskFieldCodes(const char* setFile);

// The first row whose installed key equals key (ignoring letter case);
// null when none does.
const MaskFieldCode* FindMaskFieldCode(const char* key);
