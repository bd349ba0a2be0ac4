// Product geometry is stored as DXF group-code text: a code line and a value
// line per pair ("code\nvalue\n"). This turns such a text into a chain of
// resbuf nodes the way the host's drawing reader does: each code takes the
// value kind the chain code's class table gives it, angles (50-58) turn
// from degrees into radians, and an x code followed by its y (code + 10)
// and optional z (code + 20) makes one point node.
//
// Nodes, texts and binary chunks come from malloc, like every chain the
// host and the chain utilities build, so either side may release them.
#pragma once

#include <string>

#include "dataformat/resbuf.h"
#include "platform/catalogue/JovDBaseApi.h"

namespace jovDatabase {

// *out = the chain of the text (null for a text without pairs). False, with
// *out null and error telling the line, when a code is not a number, is not
// a DXF group code, has no value line, or its value does not fit its kind.
JOVDBASE_API bool ParseGroupCodeText(const char* text, resbuf** out, std::string* error = nullptr);

// Releases the nodes, their texts and binary chunks.
JOVDBASE_API void FreeGroupCodeNodes(resbuf* chain);

}  // namespace jovDatabase
