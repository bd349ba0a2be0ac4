// Texts read by the hundred thousand and mostly alike (the keys and values
// of a network's extended data): each text kept once, in large blocks, and
// handed out as the same lasting pointer for the same bytes. Nothing is
// given back text by text: the blocks go all at once, when no holder that
// points at them lives.
#pragma once

#include <cstddef>

namespace interned_texts {

// A lasting copy of text (the same one for the same bytes); null for a
// null text or when no room could be had. Call it only as a holder.
const char* Intern(const char* text);

// A holder is an object whose texts may be interned: while any lives, the
// texts stay.
void AddHolder();
void DropHolder();

// Gives the blocks back to the system when no holder lives (the texts'
// part of what malloc_trim does for the heap).
void ReleaseUnused();
// Distinct texts kept.
size_t Count();

}  // namespace interned_texts
