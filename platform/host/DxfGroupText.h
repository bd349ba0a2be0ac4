// DXF group-code text in and out: lines of a code and a value, read with
// any of LF, CRLF or CR as line end.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/host/DxfPair.h"

namespace host {

// One pair of the input with the line of its group code; the value is a
// view into the text, without its line end.
struct DxfToken {
  int16_t code = 0;
  int line = 0;
  std::string_view value;
};

// Splits text into tokens up to and including a "0 EOF" pair (or to the
// end of the text: the EOF pair may be missing). A leading UTF-8 byte order
// mark and trailing blank lines are ignored. False, with the line, when a
// group code is not a number of 16 bits or a code has no value line.
bool TokenizeDxf(std::string_view text, std::vector<DxfToken>& out, DxfError* error);

// Group-code text of loose pairs (an entity kept as text, for example) as
// pairs. Values are copied as they stand; a "0 EOF" pair ends the text and
// is not returned.
bool ParsePairs(std::string_view text, PairList& out, DxfError* error);

// Appends one pair: the code right-aligned in three columns as DXF writers
// do, the value, each followed by lineEnd.
void AppendPair(std::string& out, int code, std::string_view value, std::string_view lineEnd);

// Pairs as group-code text with LF line ends.
std::string FormatPairs(const PairList& pairs);

}  // namespace host
