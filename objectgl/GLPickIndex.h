// A shortcut for picks repeated over an unchanged view, as the cursor
// hovering over a preview asks them: the window boxes of a scene's entities
// in a uniform grid, made again when the view or the content changes, so
// that a pick sends OpenGL selection only the few entities whose box meets
// the pick square. The answer is always GLScene::Pick's (the same names and
// the same ties): a box is never smaller than what the entity draws, and
// the entities go to selection in list order under the names they fall
// under. A text's hit is decided here, glyph triangle by triangle: its
// hundreds of triangles would each go through selection, and one hit
// triangle stands in for it there.
#pragma once

#include <cstdint>
#include <vector>

#include "objectgl/GLScene.h"

class GLPickIndex {
 public:
  // As scene.Pick(x, y, size).
  int32_t Pick(GLScene& scene, int x, int y, double size = 5.0);
  // The entities the last pick sent to selection (all of them when the
  // index could not be used).
  size_t LastCandidateCount() const { return lastCandidates_; }

 private:
  struct Entry {
    GLPickSubset::Item item;
    bool everywhere = false;
    bool text = false;
    // World box (after the push matrices and the model matrix).
    GLVector lo, hi;
    // Window box (y up), with a little slack.
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  };

  // False when the scene's list cannot be followed here (a matrix popped
  // that was never pushed, or nested too deep): every pick is then a full
  // one.
  bool BuildContent(GLScene& scene);
  // Window boxes and grid for the view; false without camera or viewport.
  bool BuildView(GLScene& scene);
  void Candidates(double x0, double y0, double x1, double y1);
  enum class Decided { kMiss, kHit, kOpen };
  // Whether the text's glyph triangles meet the window rectangle (y up);
  // a hit gives one triangle that does. Open when some point lies outside
  // the depth range or behind the eye: selection decides then.
  Decided TextHit(GLScene& scene, const Entry& entry, double x0, double y0, double x1, double y1, GLVector* hit);
  // The subset for selection of candidates found_[begin, end) in the pick
  // rectangle; false when none of them can be hit.
  bool SelectAmong(GLScene& scene, size_t begin, size_t end, double x0, double y0, double x1, double y1,
                   bool onePass);

  const GLScene* scene_ = nullptr;
  uint64_t version_ = 0;
  bool usable_ = false;
  std::vector<Entry> entries_;
  GLPickSubset subset_;
  std::vector<GLMatrix> contextMatrices_;  // the composite of each subset context

  bool viewValid_ = false;
  double view_[16] = {};
  int viewport_[4] = {};
  int columns_ = 0, rows_ = 0;
  double gridX_ = 0, gridY_ = 0;
  std::vector<uint32_t> cellStart_;  // entries of cell c: cellItems_[cellStart_[c] .. cellStart_[c + 1])
  std::vector<uint32_t> cellItems_;
  std::vector<uint32_t> wide_;  // entries over many cells or everywhere: always looked at
  std::vector<uint32_t> seen_;
  uint32_t stamp_ = 0;
  std::vector<uint32_t> found_;
  std::vector<double> windowPoints_;
  size_t lastCandidates_ = 0;
};
