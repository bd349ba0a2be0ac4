// The working state of one section generation, shared by the drawing of
// runs, junctions, risers and products. Distances are in drawing units.
#pragma once

#include <map>
#include <set>

#include "common/CSeznam.h"
#include "common/GLVector.h"
#include "jov_vantrix/section/CutDrawing.h"
#include "jov_vantrix/network/CObjSezNew.h"
#include "jov_vantrix/network/JovCutParams.h"
#include "platform/mfc/CPtrArray.h"

class CObjDataNew;

struct CutDrawingState {
  CutDrawingState(CObjSezNew& l, JovCutParams& p);
  CutDrawingState(const CutDrawingState&) = delete;
  CutDrawingState& operator=(const CutDrawingState&) = delete;

  // The pipe ends of one side: where the next supply and return pieces
  // start.
  struct PipeEnds {
    GLVector supply;
    GLVector ret;
  };
  // Where a run's pieces are spliced into the section's sequences: behind
  // the last pieces drawn before its junction.
  struct Splice {
    CObjDataNew* supply = nullptr;
    CObjDataNew* ret = nullptr;
  };

  CObjSezNew& list;
  JovCutParams& params;
  GLVector base;  // the picked insertion point

  // The run being drawn, with its lengths and source pieces index-aligned.
  CObjDataNew* currentRiser = nullptr;
  CPtrArray run;
  CArray<double, double> lengthsA, lengthsB;
  CPtrArray piecesA, piecesB;
  int side = 0;  // the run's side: 0 goes left, 1 goes right

  GLVector cursor[2];  // where side 0 (left) and side 1 (right) place next
  GLVector farCursor;  // where records of the other side are placed
  PipeEnds ends[2];
  CSeznam pointsA, pointsB;  // CObjPntNew of the next supply and return pieces

  CPtrArray pendingRuns;
  std::set<const CObjDataNew*> everPending;
  std::set<const CObjDataNew*> drawnProducts;  // each record's product is drawn once
  std::set<const CObjDataNew*> junctions;      // records drawn as a branch-off
  std::set<const CObjDataNew*> blockless;      // products whose block the host refused
  std::map<const CObjDataNew*, Splice> splices;
  int blockCounter = 0;
  CutDrawingFailure failure;  // why the generation stopped
  bool chainFlag = false;  // set after a junction, cleared after a product or riser

  bool productDrawn = false;         // the first product sets the run's pipe levels
  bool riserAfterStartDrawn = false; // the first riser past a run's start sets them too
  bool displacementSet = false;
  double startColumns[2] = {0.0, 0.0};  // x of the picked riser's supply and return pipe
  bool startColumnsSet = false;
  bool startFirstSide = true;        // the start's first side and its pending runs
  bool startSecondSide = false;      // the run of the start's other side

  // The record being drawn.
  INT_PTR position = 0;
  bool last = false;
  double lengthA = 0.0, lengthB = 0.0;
  CObjDataNew* sourceA = nullptr;
  CObjDataNew* sourceB = nullptr;

  double Unit() const { return params.m_units; }
  // The side of a record (its "_NUM_SIDE"), 0 or 1.
  static int SideOf(const CObjDataNew& record);
  // The pipe ends a record joins: its side's when it lies on the run's
  // side, else the far side's.
  PipeEnds& EndsFor(const CObjDataNew& record) { return ends[SideOf(record) == side ? side : 1 - side]; }
};

// Draws one product record of the run (block, insert, description, drops,
// joining); 0 when the product lacks the connection code of its class and
// the generation must stop, else 1 (a product whose block cannot be made is
// left out).
int DrawCutProduct(CutDrawingState& state, CObjDataNew& record);
