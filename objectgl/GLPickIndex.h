// A shortcut for picks repeated over an unchanged view, as the cursor
// hovering over a preview asks them: the window boxes of a scene's entities
// in a uniform grid, made again when the view or the content changes, so
// that a pick sends OpenGL selection only the few entities whose box meets
// the pick square. The answer is always GLScene::Pick's (the same names and
// the same ties): a box is never smaller than what the entity draws, and
// the entities go to selection in list order under the names they fall
// under. Where it can, the index decides a hit itself: a line, arc or
// circle by its segments in window coordinates, a text glyph triangle by
// triangle (its hundreds of triangles would each go through selection).
// Only what lies within rounding of the square's edge, off the depth range
// or drawn in pixels goes to selection.
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
  // What an entry draws, for the hits decided here.
  enum class Shape : uint8_t { kOther, kText, kLine, kStrip, kLoop };
  struct Entry {
    GLPickSubset::Item item;
    bool everywhere = false;
    Shape shape = Shape::kOther;
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
  // Whether what the entry draws meets the window rectangle (y up); a text
  // hit gives one glyph triangle that does. Open when selection must
  // decide: some point outside the depth range or behind the eye, an edge
  // within rounding of the rectangle's, a shape not known here.
  Decided Decide(GLScene& scene, const Entry& entry, double x0, double y0, double x1, double y1, GLVector* hit);
  Decided TextHit(GLScene& scene, const Entry& entry, const double* toClip, double x0, double y0, double x1,
                  double y1, GLVector* hit);
  Decided SegmentsHit(const double* toClip, const GLVector* points, uint32_t count, bool loop, double x0, double y0,
                      double x1, double y1);
  // The window point (y up) of p through toClip; false off the depth range
  // or at or behind the eye.
  bool ToWindow(const double* toClip, const GLVector& p, double* wx, double* wy) const;
  // One pass: the name of the last candidate hit, each decided here or
  // sent to selection alone.
  int32_t PickLastHit(GLScene& scene, int x, int y, double size, double x0, double y0, double x1, double y1);

  const GLScene* scene_ = nullptr;
  uint64_t version_ = 0;
  bool usable_ = false;
  std::vector<Entry> entries_;
  GLPickSubset subset_;
  std::vector<GLMatrix> contextMatrices_;  // the composite of each subset context
  // Entity coordinates to clip coordinates in each context for the view:
  // the model matrix, the context's, then the view (16 each).
  std::vector<double> contextClip_;

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
