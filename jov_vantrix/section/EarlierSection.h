// A section drawn before for the branch or riser about to be drawn. A
// branch section's pipe pieces carry the link identifier ("JOV_LINK") of
// the network pipes they stand for; a riser section's products carry the
// riser's "_NUM_RISER" with a "_NUM_CUT". Every entity of a section carries
// its generation's stamp: in its "_NUM_ASSOC", or, for the lines and texts
// that carry no such data, in a "JOV_CUT" block.
#pragma once

#include <vector>

#include "dataformat/resbuf.h"
#include "platform/win32/win32_types.h"

class CObjSez;
class CObjSezNew;

enum class SectionKind { Branch, Riser };

// The chains as read of a section list's records read from the drawing.
std::vector<const resbuf*> ReadChains(const CObjSezNew& list);
std::vector<const resbuf*> ReadChains(const CObjSez& records);

// Looks through the whole drawing for an earlier section of the picked
// network entities (their chains as read, without the name node) and, when
// there is one, asks whether to replace it. Yes erases its entities inside
// the open change (a refusal is noted for EndWrittenChange): 1. No: -1,
// nothing erased; the caller ends the change with -1. No earlier section,
// or a host that cannot walk the drawing: 1.
// Gives the section's new entities that carry no "_NUM_ASSOC" the stamp
// in a "JOV_CUT" block, before they are written.
void StampSectionEntities(CObjSezNew& list, const char* stamp);
void StampSectionEntities(CObjSez& records, const char* stamp);

int ReplaceEarlierSection(HWND owner, SectionKind kind, const std::vector<const resbuf*>& picked);
