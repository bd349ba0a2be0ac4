#include "jov_vantrix/section/CutDrawing.h"

#include <cmath>
#include <cstdlib>
#include <utility>

#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CObjPntNew.h"
#include "jov_vantrix/network/ProductLookup.h"
#include "jov_vantrix/network/RecordBuilders.h"
#include "jov_vantrix/network/RecordGeometry.h"
#include "jov_vantrix/section/CutDrawingState.h"
#include "jov_vantrix/section/CutSettingsChecks.h"
#include "jov_vantrix/section/FiniteChains.h"
#include "jov_vantrix/section/ProductNames.h"
#include "jov_vantrix/section/RiserBubble.h"
#include "jov_vantrix/section/RiserRuns.h"
#include "jov_vantrix/section/SectionNumbering.h"
#include "jov_vantrix/section/SectionPipes.h"
#include "platform/resources/jov_vantrix/resource_ids.h"

CutDrawingState::CutDrawingState(CObjSezNew& l, JovCutParams& p) : list(l), params(p), base(p.m_basePoint) {
  const double y = base.y + p.m_floorHeight;
  cursor[0] = GLVector(base.x - p.m_riserDistance, y, base.z);
  cursor[1] = GLVector(base.x + p.m_riserDistance, y, base.z);
  farCursor = GLVector(base.x, y, base.z);
  // The pipes leave the riser's two columns at their levels.
  const double supplyLevel = y - p.m_pipeBeginLength;
  for (PipeEnds& e : ends) {
    e.supply = GLVector(base.x, supplyLevel, base.z);
    e.ret = GLVector(base.x + p.m_pipeDistance, supplyLevel - p.m_pipeDistance, base.z);
  }
}

int CutDrawingState::SideOf(const CObjDataNew& record) {
  return std::atoi(record.m_sideNumber) != 0 ? 1 : 0;
}

namespace {

CObjDataNew* At(const CPtrArray& array, INT_PTR i) { return static_cast<CObjDataNew*>(array[i]); }

CString SideText(int side) { return side ? "1" : "0"; }

void SetPoints(CSeznam& points, const GLVector& point) {
  points.RemoveAll();
  auto* node = new CObjPntNew(point);
  if (!points.AddTail(node)) delete node;
}

// A record's runs on one side become the run to draw; a run with one more
// record than pieces starts with a record that has none (its lengths 0).
void TakeRun(CutDrawingState& st, CObjDataNew& owner, bool side1, CObjDataNew* firstPiece) {
  st.run.Copy(BranchRecords(owner, side1));
  auto copy = [](const qmArray<double>& from, CArray<double, double>& to) {
    to.RemoveAll();
    for (int i = 0; i < from.GetCount(); ++i) to.Add(from.ElementAt(i));
  };
  copy(RunLengths(owner, side1, kObjectSupplyPipe), st.lengthsA);
  copy(RunLengths(owner, side1, kObjectReturnPipe), st.lengthsB);
  st.piecesA.Copy(RunPieces(owner, side1, kObjectSupplyPipe));
  st.piecesB.Copy(RunPieces(owner, side1, kObjectReturnPipe));
  if (st.run.GetSize() > st.lengthsA.GetSize()) {
    st.lengthsA.InsertAt(0, 0.0);
    st.lengthsB.InsertAt(0, 0.0);
    st.piecesA.InsertAt(0, firstPiece);
    st.piecesB.InsertAt(0, firstPiece);
  }
  const CObjDataNew* first = st.run.IsEmpty() ? nullptr : At(st.run, 0);
  st.side = first ? CutDrawingState::SideOf(*first) : (side1 ? 1 : 0);
}

// The catalogue of the record's trade, the first letter of its type code
// ('T' without one), as a riser section takes its riser's.
jovDatabase::Database* CatalogueOf(const CObjSezNew& list, const CObjDataNew& r) {
  const RecordText& code = r.m_jovData.m_typeCode;
  const char letter = code.IsEmpty() ? 'T' : code[0];
  return letter == 'T' ? list.m_pDatabase : TheApp().GetDatabase(letter);
}

// A record becomes a run of its own later, once at most.
void AddPending(CutDrawingState& st, CObjDataNew& record) {
  if (!st.everPending.insert(&record).second) return;
  st.pendingRuns.Add(&record);
}

void DrawRiserElement(CutDrawingState& st, CObjDataNew& r) {
  CObjSezNew& list = st.list;
  JovCutParams& p = st.params;
  const int side = st.side;
  const bool atStart = st.position == 0;
  const double backStep = st.Unit() * p.m_connectionOffset2;
  auto moveEnds = [&](int which, double dx) {
    st.ends[which].supply.x += dx;
    st.ends[which].ret.x += dx;
  };

  GLVector base = st.cursor[side];
  if (!st.riserAfterStartDrawn && !atStart) {
    st.ends[side].supply.y = st.base.y + p.m_pipeFloorDistance + p.m_pipeDistance;
    st.ends[side].ret.y = st.base.y + p.m_pipeFloorDistance;
    st.riserAfterStartDrawn = true;
  }
  const bool pickedRiser = r.m_riserNumber == list.m_shiftMarker;
  bool close = false;
  double column1 = 0.0, column2 = 0.0;
  if (side == 0) {
    if (!atStart) {
      base.x -= p.m_pipeDistance;
      column1 = base.x;
      column2 = st.cursor[0].x;
      close = true;
    } else {
      base.x += p.m_riserDistance;
    }
  } else if (!atStart || !pickedRiser) {
    column1 = st.cursor[1].x;
    column2 = column1 + p.m_pipeDistance;
    close = true;
    if (atStart && st.startFirstSide && list.m_shiftMarker == "0") {
      moveEnds(1, -backStep);
      const double shift = p.m_riserDistance - backStep;
      column1 += shift;
      column2 += shift;
      base.x += shift;
    }
  } else {
    base.x -= p.m_riserDistance + p.m_pipeDistance;
    moveEnds(1, -backStep);
  }

  // The picked riser's columns, where its other side's pipes end too.
  if (pickedRiser && atStart) {
    st.startColumns[0] = base.x;
    st.startColumns[1] = base.x + p.m_pipeDistance;
    st.startColumnsSet = true;
  }

  double lengthA = st.lengthA, lengthB = st.lengthB;
  if (close) {
    CutDrawingState::PipeEnds& ends = st.ends[side];
    GLVector columnA(column1, ends.supply.y, base.z);
    GLVector columnB(column2, ends.ret.y, base.z);
    if (std::fabs(ends.supply.y - columnB.y) < kPointTolerance) std::swap(columnA.y, columnB.y);
    SetPoints(st.pointsA, ends.supply);
    SetPoints(st.pointsB, ends.ret);
    const CObjDataNew& current = st.currentRiser ? *st.currentRiser : r;
    DrawPipePair(list, p, current.m_branchNumber, current.m_branchName, SideText(side), ends.supply, columnA,
                 ends.ret, columnB, lengthA, lengthB, st.pointsA, st.pointsB, true, true, st.chainFlag,
                 st.sourceA, st.sourceB, nullptr);
    lengthA = lengthB = 0.0;
  }
  base.y -= p.m_floorHeight;

  CObjDataNew* supply = nullptr;
  CObjDataNew* ret = nullptr;
  if (st.last || !FindPipePairByRiser(list, r, supply, ret)) supply = ret = nullptr;
  DrawRiser(list, p, r, base, lengthA, lengthB, supply, ret);

  // The writer shifts the drawing so that the picked riser stands at the
  // insertion point.
  if (!st.displacementSet) {
    list.m_displacement = base;
    st.displacementSet = true;
  }
  if (pickedRiser) list.m_displacement -= base;

  const double step = p.m_riserDistance + p.m_pipeDistance;
  if (side == 0 && !atStart) st.cursor[0].x -= step;
  if (side == 1 && !(atStart && !pickedRiser)) st.cursor[1].x += step;
}

void DrawJunction(CutDrawingState& st, CObjDataNew& r) {
  CObjSezNew& list = st.list;
  JovCutParams& p = st.params;
  const int side = st.side;
  const double d = side == 0 ? 1.0 : -1.0;  // towards the riser
  const double radius = p.m_riserRadius;
  const bool first = st.position == 0;
  const bool onRunSide = CutDrawingState::SideOf(r) == side;
  GLVector& near = st.cursor[side];

  const double supplyLevel = st.cursor[0].y - p.m_pipeBeginLength;
  const double returnLevel = supplyLevel - p.m_pipeDistance;
  for (CutDrawingState::PipeEnds& e : st.ends) {
    e.supply.y = supplyLevel;
    e.ret.y = returnLevel;
  }
  CutDrawingState::PipeEnds& far = st.ends[1 - side];
  if (first && !onRunSide) {
    st.farCursor.x = near.x - d * (GetChainWidth(list, p, st.run) + RecordWidth(r));
    near.x = st.farCursor.x - d * p.m_riserDistance;
    far.supply.x = far.ret.x = st.farCursor.x + d * radius / 2.0;
  }
  const double x = onRunSide ? near.x : st.farCursor.x;
  CutDrawingState::PipeEnds& ends = onRunSide ? st.ends[side] : far;

  PieceData pieces;
  if (!first) {
    const CObjDataNew& current = st.currentRiser ? *st.currentRiser : r;
    const bool sources = st.sourceA && st.sourceB;
    pieces = sources ? MakePieceData(list, p, st.sourceA->m_branchNumber, st.sourceA->m_branchName,
                                     st.sourceA->m_sideNumber, st.lengthA, st.lengthB, st.sourceA, st.sourceB,
                                     nullptr)
                     : MakePieceData(list, p, current.m_branchNumber, current.m_branchName, r.m_sideNumber,
                                     st.lengthA, st.lengthB, nullptr, nullptr, nullptr);
  }
  MakeCircleRecord(list, p, p.m_riserCircleLayer, GLVector(x, supplyLevel, st.base.z), radius, 256);
  MakeCircleRecord(list, p, p.m_riserCircleLayer, GLVector(x, returnLevel, st.base.z), radius, 256);

  // The pipes end at the circles' near edges and go on from the far ones.
  const double edge = onRunSide ? d * radius / 2.0 : -d * radius / 2.0;
  if (!first) {
    SetPoints(st.pointsA, ends.supply);
    SetPoints(st.pointsB, ends.ret);
    auto* a = new CObjPntNew(GLVector(x + edge, supplyLevel, st.base.z));
    if (!st.pointsA.AddTail(a)) delete a;
    auto* b = new CObjPntNew(GLVector(x + edge, returnLevel, st.base.z));
    if (!st.pointsB.AddTail(b)) delete b;
    FilePipePair(list, p, st.pointsA, st.pointsB, pieces, true, st.chainFlag);
  }
  ends.supply.x = ends.ret.x = x - edge;

  const GLVector label(x, st.cursor[0].y + radius / 2.0 + p.m_bubbleDistance1, st.base.z);
  near.x -= d * p.m_riserDistance;
  st.farCursor.x += d * p.m_riserDistance;
  // Bubbles and texts of no size show nothing.
  if (DrawsBubble(p.m_branchBubble, p.m_bubbleDiameter))
    MakeCircleRecord(list, p, p.m_text4, label, p.m_bubbleDiameter, -1);
  if (p.m_branchTextHeight > 0.0)
    MakeTextRecord(list, p, r.m_branchNumber, label, p.m_branchTextHeight, p.m_branchWidthFactor, 1, 2,
                   p.m_branchLayer, nullptr, true);

  if (!first) {
    CutDrawingState::Splice& splice = st.splices[&r];
    splice.supply = list.m_runSupply.IsEmpty() ? nullptr : At(list.m_runSupply, list.m_runSupply.GetSize() - 1);
    splice.ret = list.m_runReturn.IsEmpty() ? nullptr : At(list.m_runReturn, list.m_runReturn.GetSize() - 1);
  }
}

// False when the generation must stop.
bool DrawRun(CutDrawingState& st) {
  CObjSezNew& list = st.list;
  const INT_PTR size = st.run.GetSize();
  CStringArray names;
  for (INT_PTR i = 0; i < size; ++i) {
    CObjDataNew* r = At(st.run, i);
    st.position = i;
    st.last = i == size - 1;
    st.lengthA = i < st.lengthsA.GetSize() ? st.lengthsA[i] : 0.0;
    st.lengthB = i < st.lengthsB.GetSize() ? st.lengthsB[i] : 0.0;
    st.sourceA = i < st.piecesA.GetSize() ? At(st.piecesA, i) : nullptr;
    st.sourceB = i < st.piecesB.GetSize() ? At(st.piecesB, i) : nullptr;
    if (!r) continue;

    bool asProduct = r->m_flag1 || st.last;
    bool asRiser = false;
    if (r->m_objectType == kObjectRiser) {
      r->m_sideNumber = SideText(st.side);
      const bool ownRun = CollectBranchPipes(list, r->m_branchNumber.ToCString(), r->m_sideNumber.ToCString(), names) > 1;
      if (!st.last && BranchRecords(*r, false).IsEmpty() && BranchRecords(*r, true).IsEmpty() && ownRun) {
        AddPending(st, *r);
        asProduct = false;
      } else {
        asRiser = i == 0 && !st.last ? r->m_flag2 : true;
      }
    } else {
      LookupProduct(r, CatalogueOf(list, *r), st.params);
      if (!st.last && r->m_objectType != kObjectPickedBranch && asProduct &&
          CollectBranchPipes(list, r->m_branchNumber.ToCString(), r->m_sideNumber.ToCString(), names) > 1) {
        AddPending(st, *r);
        asProduct = false;
      }
    }

    // A record met again where runs cross is a junction there: its
    // product, descriptions and drops stand once in the drawing.
    const bool drawnBefore = st.drawnProducts.count(r) != 0;
    if (asRiser) {
      if (CutSettingFault f = CheckRiserLength(*r)) {
        st.failure = {f.message, f.what};
        return false;
      }
      DrawRiserElement(st, *r);
      st.chainFlag = false;
    } else if ((asProduct || r->m_offsetFlag) && !drawnBefore) {
      st.drawnProducts.insert(r);
      if (!DrawCutProduct(st, *r)) return false;
      st.chainFlag = false;
    } else {
      r->m_flag2 = true;
      st.junctions.insert(r);
      DrawJunction(st, *r);
      st.chainFlag = true;
    }
  }
  return true;
}

// The run's sequences join the section's: appended, or for a run that
// branches off, spliced in behind the pieces drawn before its junction.
void MergeRunSequences(CutDrawingState& st, const CObjDataNew* branchOff) {
  CObjSezNew& list = st.list;
  CutDrawingState::Splice splice;
  if (branchOff) {
    auto it = st.splices.find(branchOff);
    if (it != st.splices.end()) {
      splice = it->second;
      st.splices.erase(it);
    }
  }
  const std::pair<CPtrArray*, CPtrArray*> pairs[] = {{&list.m_sectionSupply, &list.m_runSupply},
                                                     {&list.m_sectionReturn, &list.m_runReturn}};
  const CObjDataNew* behind[] = {splice.supply, splice.ret};
  for (int k = 0; k < 2; ++k) {
    CPtrArray& section = *pairs[k].first;
    CPtrArray& run = *pairs[k].second;
    const int64_t position = branchOff ? FindRecordPosition(list, section, behind[k]) : -1;
    if (position < 1) {
      section.Append(run);
    } else {
      SpliceChainNumbers(list, section, position, run);
      for (INT_PTR j = 0; j < run.GetSize(); ++j) section.InsertAt(static_cast<INT_PTR>(position) + j, run[j]);
    }
    run.RemoveAll();
  }
}

void DrawClosing(CutDrawingState& st) {
  CObjSezNew& list = st.list;
  JovCutParams& p = st.params;
  const GLVector& b = st.base;
  auto line = [&](const GLVector& from, const GLVector& to, const CString& layer) {
    CSeznam points;
    for (const GLVector& point : {from, to}) {
      auto* node = new CObjPntNew(point);
      if (!points.AddTail(node)) delete node;
    }
    MakeLineRecord(list, p, layer, points, false);
  };
  const GLVector start(st.cursor[0].x - p.m_elementDistance / 2.0, b.y, b.z);
  line(start, GLVector(st.cursor[1].x, b.y, b.z), p.m_text2);
  if (p.m_drawFloors != 1) return;
  const GLVector a(start.x + p.m_floorDistanceX, b.y, b.z);
  const double arrow = p.m_floorArrow;
  line(a, a + GLVector(-arrow, arrow, 0.0), p.m_text3);
  line(a, a + GLVector(arrow, arrow, 0.0), p.m_text3);
  const GLVector top = a + GLVector(0.0, p.m_floorLine1, 0.0);
  line(a, top, p.m_text3);
  line(top, top + GLVector(p.m_floorLine2, 0.0, 0.0), p.m_text3);
  if (p.m_descriptionHeight > 0.0)
    MakeTextRecord(list, p, p.m_floorDescription, a + GLVector(0.0, p.m_floorLine1 + p.m_descriptionDistance, 0.0),
                   p.m_descriptionHeight, p.m_descriptionWidthFactor, 0, 0, p.m_text3, nullptr, true);
}

// Every run of the section from its start, then the closing; 0 when a run
// stops.
int DrawSection(CutDrawingState& st, CObjDataNew& startRecord, bool startSide1) {
  CObjSezNew& list = st.list;
  JovCutParams& params = st.params;
  CObjDataNew* start = &startRecord;
  st.currentRiser = start;
  TakeRun(st, *start, startSide1, start);

  // Every run is drawn from some record, at most once each as a pending
  // run: more runs than records cannot be.
  const uint32_t maxRuns = list.GetCount() + 2;
  uint32_t runs = 0;
  const CObjDataNew* branchOff = nullptr;  // the record whose pending run is drawn
  bool reversed = false;
  INT_PTR firstSize = 0;
  for (;;) {
    if (++runs > maxRuns) return 0;
    if (!DrawRun(st)) return 0;
    MergeRunSequences(st, branchOff);
    st.startSecondSide = false;

    if (!st.pendingRuns.IsEmpty()) {
      CObjDataNew* next = At(st.pendingRuns, 0);
      const bool side1 = IsSide1(next->m_sideNumber.ToCString());
      if (!BuildRiserChains(list, next, CString(), SideText(side1))) {
        st.failure = {IDS_CUT_BRANCH_UNTRACEABLE, next->m_branchNumber.ToCString()};
        return 0;
      }
      next->m_flag2 = false;
      BranchRecords(*next, side1).InsertAt(0, next);
      st.pendingRuns.RemoveAt(0);
      TakeRun(st, *next, side1, nullptr);
      if (CObjDataNew* first = At(st.run, 0)) first->m_flag1 = false;
      st.currentRiser = next;
      branchOff = next;
      continue;
    }

    if (!reversed) {
      ReverseSectionNumbers(list);
      firstSize = list.m_sectionSupply.GetSize();
      reversed = true;
    } else {
      RenumberSectionFrom(list, firstSize);
    }
    CPtrArray& side0 = BranchRecords(*start, false);
    CPtrArray& side1 = BranchRecords(*start, true);
    const bool toSide1 = !startSide1 && !side1.IsEmpty();
    const bool toSide0 = startSide1 && !side0.IsEmpty();
    if (!toSide1 && !toSide0) break;
    TakeRun(st, *start, toSide1, nullptr);
    st.currentRiser = st.run.IsEmpty() ? start : At(st.run, st.run.GetSize() - 1);
    // A branch-start valve moved both sides' pipe ends apart by half the
    // drop spacing, and a run of side 1 took its side's back at once; side
    // 1 taken second takes it back now. Side 0 already ends on the valve's
    // columns: moved on, its pipes would run 100 over side 1's. A riser
    // start's other side ends on the riser's own two columns.
    CutDrawingState::PipeEnds& ends = st.ends[toSide1 ? 1 : 0];
    if (start->m_objectType == kObjectPickedBranch) {
      if (toSide1) {
        ends.supply.x -= st.Unit() * params.m_connectionOffset2;
        ends.ret.x -= st.Unit() * params.m_connectionOffset2;
      }
    } else if (st.startColumnsSet) {
      ends.supply.x = st.startColumns[0];
      ends.ret.x = st.startColumns[1];
    }
    side0.RemoveAll();
    side1.RemoveAll();
    st.startFirstSide = false;
    st.startSecondSide = true;
    branchOff = nullptr;
  }

  DrawClosing(st);
  WriteSegmentNumbers(list, list.m_sectionSupply, params, -1, 0.0, 0.0, nullptr, 0);
  WriteSegmentNumbers(list, list.m_sectionReturn, params, -1, 0.0, 0.0, nullptr, 0);
  if (!AreBuiltChainsDrawable(list, st.Unit()) || !IsDrawablePoint(list.m_displacement, st.Unit())) {
    st.failure = {IDS_SECTION_OUT_OF_REACH, CString()};
    return 0;
  }
  return 1;
}

// The network's products that the drawn section does not show.
void NameLeftOut(const CObjSezNew& list, const CutDrawingState& st, CStringArray& leftOut) {
  leftOut.RemoveAll();
  for (const CObjDataNew* r = list.GetFirstRecord(); r; r = r->GetNextRecord()) {
    if (r->m_objectType != kObjectNetworkInsert) continue;
    const bool shown = (st.drawnProducts.count(r) && !st.blockless.count(r)) || st.junctions.count(r);
    if (!shown) leftOut.Add(ProductName(r->m_jovData, r->m_branchNumber.ToCString()));
  }
}

}  // namespace

int BuildCutDrawing(CObjSezNew& list, JovCutParams& params, CutDrawingFailure* failure, CStringArray* leftOut) {
  CutDrawingFailure none;
  CutDrawingFailure& why = failure ? *failure : none;
  why = CutDrawingFailure();
  // The sequences number this drawing's pieces only.
  for (CPtrArray* sequence : {&list.m_sectionSupply, &list.m_sectionReturn, &list.m_runSupply, &list.m_runReturn})
    sequence->RemoveAll();
  CObjDataNew* start = FindFirstRiser(list);
  if (!start) return 0;
  if (!TheApp().m_pPPGetResbufEx) return 0;
  if (!BuildRiserChains(list, start, start->m_riserNumber.ToCString(), "")) {
    why = {IDS_CUT_BRANCH_UNTRACEABLE, start->m_branchNumber.ToCString()};
    return 0;
  }
  const bool startSide1 = IsSide1(start->m_sideNumber.ToCString());
  BranchRecords(*start, startSide1).InsertAt(0, start);

  CutDrawingState st(list, params);
  const int result = DrawSection(st, *start, startSide1);
  why = st.failure;
  if (result == 1 && leftOut) NameLeftOut(list, st, *leftOut);
  return result;
}