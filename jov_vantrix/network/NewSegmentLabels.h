// The segment-number labels a renewal adds to the drawing. Tens of
// thousands come with a network's first export: each is kept as what tells
// it apart (its point, its number and the handle of its piece, the layer,
// height, width factor and rotation shared by a run of them), not as a
// record with an entity chain of its own, and its TEXT chain is laid out in
// a frame only when it is written. The chains of labels read from the
// drawing that a renewal rewrites are held here too, each in one block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/CGroupChainRef.h"
#include "common/GLVector.h"
#include "dataformat/resbuf.h"

// The tag of a segment label: this application, this key, then the handle
// of the piece.
inline constexpr char kSegmentLabelApplication[] = "QM_KEY";
inline constexpr char kSegmentLabelKey[] = "T-cisla_useku";

class NewSegmentLabels {
 public:
  // Where a label's chain is laid out: its nodes and their texts.
  struct Frame {
    resbuf nodes[14];
    char number[16];
  };

  // Adds a label: TEXT "number" at point (no alignment) on layer, tagged
  // with the piece's handle (null: none). False when the number does not
  // fit a frame (more than 15 bytes).
  bool Add(const char* layer, double height, double widthFactor, double rotation, GLVector point,
           const char* number, const char* piece);

  size_t Count() const { return labels_.size(); }
  bool Empty() const { return labels_.empty(); }
  // Room for so many more labels, and their handles of up to pieceBytes
  // each, taken at once.
  void Reserve(size_t more, size_t pieceBytes);
  void Clear();

  // The i-th label's chain, laid out in frame (valid while frame and this
  // store are): 0 TEXT, 100 AcDbEntity, 8 layer, 100 AcDbText, 10 point,
  // 40 height, 1 number, 50 rotation, 41 width factor, 100 AcDbText, then
  // the tag as extended data. The host only reads it.
  resbuf* Chain(size_t i, Frame& frame) const;

  // A label's chain as Chain lays it out, held by this store in one block
  // until it is cleared or goes (a record that writes it does not own it);
  // writers change it as a held chain (see CGroupChainRef). Null when no
  // room could be had.
  resbuf* HoldChain(const char* layer, double height, double widthFactor, double rotation, GLVector point,
                    const char* number, const char* piece);

 private:
  // Lays a label's chain out in frame; number fits the frame.
  static resbuf* Lay(Frame& frame, const char* layer, double height, double widthFactor, double rotation,
                     const GLVector& point, const char* number, const char* piece);

  struct Run {
    std::string layer;
    double height;
    double widthFactor;
    double rotation;
  };
  struct Label {
    GLVector point;
    char number[16];
    uint32_t piece;  // offset of the handle in pieces_
    uint32_t run;
  };
  std::vector<Run> runs_;
  std::vector<Label> labels_;
  std::vector<char> pieces_;  // the handles, each ended by a NUL
  std::vector<CGroupChainRef> held_;
};
