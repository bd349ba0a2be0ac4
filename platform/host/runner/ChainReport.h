// The runner's lines for a result chain a library handed out, one per node:
//   chain 1: 0 "LINE"
//   chain 1: 10 1500 0 0
// Texts are quoted as message texts are; numbers are written in their
// shortest exact form, a point as its three coordinates, binary chunks as
// hexadecimal bytes, an entity name as its two words. A text node without
// a text shows "-".
#pragma once

#include <string>
#include <vector>

#include "dataformat/resbuf.h"

std::vector<std::string> ChainLines(int number, const resbuf* chain);

// A number in its shortest form that reads back exactly.
std::string ShortestNumber(double value);
