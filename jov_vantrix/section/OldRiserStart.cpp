#include "jov_vantrix/section/OldRiserStart.h"

#include "common/GroupChainBuilder.h"
#include "jov_vantrix/section/CObjData.h"
#include "jov_vantrix/section/CObjPnt.h"
#include "jov_vantrix/section/JovCutParamsOld.h"
#include "jov_vantrix/section/OldEntityWriters.h"
#include "jov_vantrix/section/OldRecordLookups.h"
#include "jov_vantrix/section/RiserBubble.h"

namespace {

// firstTop and secondTop are the heights the two pipes rise to above the
// base point, labelTop that of the number's foot.
void DrawRiserStart(CObjSez& records, const JovCutParamsOld& params, jovDatabase::Database* db,
                    double firstTop, double secondTop, double labelTop) {
  const GLVector& base = params.m_basePoint;
  const double mid = base.x + params.m_pipeDistance / 2.0;
  const double low = params.m_pipeFloorDistance < 0.0 ? base.y + params.m_pipeFloorDistance : base.y;

  if (params.m_drawPipe == 1) {
    resbuf* supply = GroupChainBuilder(0).Build(-3, nullptr, -9);
    resbuf* back = GroupChainBuilder(0).Build(-3, nullptr, -9);
    BuildOldPieceJovData(params, db, "", nullptr, supply, back);
    const bool switched = params.m_pipeSwitch != 0;
    MakeOldPolylineRecord(records, params, switched ? params.m_returnText3 : params.m_supplyText3, 256,
                          CObjPntList{{base.x, low, base.z}, {base.x, base.y + firstTop, base.z}},
                          switched ? back : supply);
    const double x = base.x + params.m_pipeDistance;
    MakeOldPolylineRecord(records, params, switched ? params.m_supplyText3 : params.m_returnText3, 256,
                          CObjPntList{{x, low, base.z}, {x, base.y + secondTop, base.z}},
                          switched ? supply : back);
  }

  if (params.m_describeRisers != 1) return;
  const double top = base.y + labelTop;
  GLVector label(mid, top + params.m_branchTextHeight / 2.0, base.z);
  if (DrawsBubble(params.m_branchBubble, params.m_bubbleDiameter)) {
    MakeOldLineRecord(records, params, params.m_bubbleLayer,
                      CObjPntList{{mid, top, base.z}, {mid, top + params.m_bubbleDistance2, base.z}});
    label.y = top + params.m_bubbleDistance2 + params.m_bubbleDiameter / 2.0;
    MakeOldCircleRecord(records, params, params.m_bubbleLayer, label, params.m_bubbleDiameter);
  }
  if (const char* name = GetRiserNameText(records))
    MakeOldTextRecord(records, params, name, label, params.m_branchTextHeight, 1, 2, params.m_branchLayer,
                      nullptr);
}

}  // namespace

void DrawOldRiserStart(CObjSez& records, const JovCutParamsOld& params, jovDatabase::Database* db) {
  DrawRiserStart(records, params, db, params.m_height, params.m_height,
                 params.m_height + params.m_bubbleDistance3);
}

void DrawOldRiserStartLastFloor(CObjSez& records, const JovCutParamsOld& params,
                                jovDatabase::Database* db) {
  const double first = params.m_pipeFloorDistance + params.m_pipeDistance;
  DrawRiserStart(records, params, db, first, params.m_pipeFloorDistance, first + params.m_bubbleDistance3);
}
