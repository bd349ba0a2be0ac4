// The settings names of a mask kind: its mask list and field entries
// sections in "Dat\Jov_set.dat" and its active mask's key in "Dat\Jov.ini"
// [DESC]. Letters other than the known ones (and 0) are the heating kind.
#pragma once

#include "platform/mfc/CString.h"

struct MaskKindNames {
  CString maskList;
  CString fieldEntries;
  CString activeKey;
};

MaskKindNames MaskNamesOf(unsigned kind);

// Section and key names of the description masks of a kind letter.
void GetMaskSection(char letter, char* out);
void GetDescSection(char letter, char* out);
void GetMaskKey(char letter, char* out);
