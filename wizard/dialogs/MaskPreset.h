// A label mask proposed from an element's data: one field per key of its
// JOV_DATA, "#" + code for the keys the installation names a field code
// for, "&" + key for the others, each followed by a space. The type code's
// first letter tells the kind.
#pragma once

#include "dataformat/resbuf.h"
#include "platform/mfc/CString.h"

// False when the chain carries no JOV_DATA with a type code. The walk reads
// pairs of string nodes up to the next application or the end; a pair cut
// short or a node that is not a string ends it with what was read.
bool ProposeMaskDefinition(const resbuf* chain, CString* preset, char* typeLetter);

// The mask kind of a letter: 'E', 'T', 'V' or 'Z' in either case, else 0
// (the heating sections).
char MaskKindOfLetter(char letter);
