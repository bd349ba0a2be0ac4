// Where a long run of objects in DXF text can be cut so that its parts are
// read at the same time. Each cut falls on the group 0 pair of an object
// that no VERTEX/ATTRIB run can take in, so the parts read one after another
// give what reading the whole gives; inside a run longer than that, on a
// VERTEX or ATTRIB, whose part the reader joins onto the run before it.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace host {

struct DxfTextCut {
  size_t pos = 0;  // where the object's group code line starts
  int line = 0;    // lines before it
  friend bool operator==(const DxfTextCut&, const DxfTextCut&) = default;
};

// Line ends in text[from, to) as the pair reader takes them: LF, CRLF
// (counted where its LF is) and a lone CR.
size_t CountLineEnds(std::string_view text, size_t from, size_t to);

// Cuts for about `parts` parts of text[first.pos, end of text), first being
// a group code line known to start a pair; the first cut is `first`, the
// others in increasing order. A part that holds no object start (one long
// object, the text's end) gives no cut. Lines are counted on `threads`
// threads.
std::vector<DxfTextCut> CutAtObjects(std::string_view text, DxfTextCut first, size_t parts,
                                     unsigned threads);

}  // namespace host
