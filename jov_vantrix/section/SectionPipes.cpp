#include "jov_vantrix/section/SectionPipes.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "common/CLocaleNumber.h"
#include "common/GroupChainBuilder.h"
#include "dataformat/GroupCodeChain.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CObjPntNew.h"
#include "jov_vantrix/network/CObjSezNew.h"
#include "jov_vantrix/network/RecordBuilders.h"
#include "jov_vantrix/network/SegmentNumbering.h"
#include "jov_vantrix/section/RiserBubble.h"
#include "platform/win32/code_page.h"
#include "platform/win32/variant_time.h"

namespace {

// A failing clock is asked this often before the identifier does without.
constexpr int kClockAttempts = 3;

// The moment in local time as an automation date (days since 30 December
// 1899); 0 when it is no calendar date.
double OleDate(std::time_t moment) {
  std::tm local{};
  if (!localtime_r(&moment, &local)) return 0.0;
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(local.tm_year + 1900);
  time.wMonth = static_cast<WORD>(local.tm_mon + 1);
  time.wDay = static_cast<WORD>(local.tm_mday);
  time.wHour = static_cast<WORD>(local.tm_hour);
  time.wMinute = static_cast<WORD>(local.tm_min);
  time.wSecond = static_cast<WORD>(local.tm_sec);
  DATE date = 0.0;
  return SystemTimeToVariantTime(&time, &date) ? date : 0.0;
}

resbuf* MarkerNode() { return GroupChainBuilder(0).Build(-3, nullptr, -9); }

void AddPoint(CSeznam& points, const GLVector& point, bool atTail = true) {
  auto* node = new CObjPntNew(point);
  if (!(atTail ? points.AddTail(node) : points.AddHead(node))) delete node;
}

// One polyline of a pair, numbered into its run; the points are used up.
void FilePiece(CObjSezNew& list, JovCutParams& params, const CString& layer, CSeznam& points,
               resbuf* data, CPtrArray& run, bool append, bool chainFlag) {
  if (points.GetCount() == 0) {
    FreeGroupCodeChain(data);
    return;
  }
  CObjDataNew* piece = MakePolylineRecord(list, params, layer, 256, points, data);
  points.RemoveAll();
  if (piece) AddRecordToChain(piece, run, append, chainFlag);
}

}  // namespace

void MakeLinkId(const CObjSezNew& list, JovClock clock, char out[kLinkIdSize]) {
  std::time_t now = -1;
  for (int attempt = 0; attempt < kClockAttempts && now == -1; ++attempt)
    now = ReadClock(clock);
  const double value = (now == -1 ? 0.0 : OleDate(now)) + static_cast<double>(list.GetCount());
  char text[kLinkIdSize];
  std::snprintf(text, sizeof text, "%.10f", value);
  // The digits alone, without leading zeros.
  size_t n = 0;
  for (const char* p = text; *p && n + 1 < kLinkIdSize; ++p) {
    if (*p < '0' || *p > '9' || (n == 0 && *p == '0')) continue;
    out[n++] = *p;
  }
  if (n == 0) out[n++] = '0';
  out[n] = '\0';
}

void SetLinkData(const CObjSezNew&, CObjDataNew* record, const char* id) {
  if (!record || !record->m_entityChain.GetChain() || !id) return;
  resbuf* copy = CopyGroupCodeChain(record->m_entityChain.GetChain());
  if (!copy) return;
  for (resbuf** at = &copy; *at;) {
    resbuf* node = *at;
    const bool handle = node->code == 5;
    const bool oldLink = node->code == 1001 && node->next && node->value.text &&
                         _mbsicmp(node->value.text, "JOV_LINK") == 0;
    if (!handle && !oldLink) {
      at = &node->next;
      continue;
    }
    resbuf* last = oldLink ? node->next : node;
    *at = last->next;
    last->next = nullptr;
    FreeGroupCodeChain(node);
  }
  LastGroupCodeNode(&copy)->next = GroupChainBuilder(0).Build(1001, "JOV_LINK", 1000, id, -9);
  record->SetBuiltChain(copy);
}

PieceData MakePieceData(CObjSezNew& list, JovCutParams& params, const char* valueA,
                        const char* valueB, const char* branchNumber, const char* branchName,
                        const char* side, double lengthA, double lengthB, const char* id,
                        const CObjDataNew* owner) {
  PieceData data{MarkerNode(), MarkerNode()};
  if (!data.supply || !data.ret) {
    FreeGroupCodeChain(data.supply);
    FreeGroupCodeChain(data.ret);
    return {};
  }
  BuildPieceJovData(list, params, valueA, valueB, branchNumber, branchName, side, lengthA, lengthB, id,
                    data.supply, data.ret, owner);
  return data;
}

PieceData MakePieceData(CObjSezNew& list, JovCutParams& params, const char* branchNumber,
                        const char* branchName, const char* side, double lengthA, double lengthB,
                        CObjDataNew* sourceA, CObjDataNew* sourceB, const CObjDataNew* owner) {
  if (!sourceA || !sourceB)
    return MakePieceData(list, params, "", "", branchNumber, branchName, side, lengthA, lengthB, nullptr,
                         owner);
  char id[kLinkIdSize];
  MakeLinkId(list, params.m_clock, id);
  SetLinkData(list, sourceA, id);
  SetLinkData(list, sourceB, id);
  return MakePieceData(list, params, sourceA->RunsOrNone().m_thirdProperty, sourceB->RunsOrNone().m_thirdProperty, branchNumber,
                       branchName, side, lengthA, lengthB, id, owner);
}

void FilePipePair(CObjSezNew& list, JovCutParams& params, CSeznam& pointsA, CSeznam& pointsB,
                  PieceData data, bool append, bool chainFlag) {
  const bool swap = params.m_pipeSwitch;
  FilePiece(list, params, swap ? params.m_pipe2Layer : params.m_pipe1Layer, pointsA,
            swap ? data.ret : data.supply, swap ? list.m_runReturn : list.m_runSupply, append, chainFlag);
  FilePiece(list, params, swap ? params.m_pipe1Layer : params.m_pipe2Layer, pointsB,
            swap ? data.supply : data.ret, swap ? list.m_runSupply : list.m_runReturn, append, chainFlag);
}

void DrawPipePair(CObjSezNew& list, JovCutParams& params, const char* branchNumber,
                  const char* branchName, const char* side, GLVector& a0, const GLVector& a1,
                  GLVector& b0, const GLVector& b1, double lengthA, double lengthB, CSeznam& pointsA,
                  CSeznam& pointsB, bool addAtTail, bool forceConnect, bool chainFlag,
                  CObjDataNew* sourceA, CObjDataNew* sourceB, CObjDataNew* riser) {
  const GLVector endA = a1;
  const GLVector endB = b1;
  PieceData data =
      MakePieceData(list, params, branchNumber, branchName, side, lengthA, lengthB, sourceA, sourceB, riser);
  AddPoint(pointsA, endA, addAtTail);
  AddPoint(pointsB, endB, addAtTail);
  FilePipePair(list, params, pointsA, pointsB, data, riser || forceConnect, chainFlag);
  a0 = endA;
  b0 = endB;
}

void DrawRiser(CObjSezNew& list, JovCutParams& params, CObjDataNew& riser, const GLVector& base,
               double lengthA, double lengthB, CObjDataNew* sourceA, CObjDataNew* sourceB) {
  const char* lengthText = riser.m_jovData.GetProperty("_LENGTH_RISER");
  const double length = std::fabs(lengthText ? AtofC(lengthText) : 0.0) * params.m_units;
  const double floorPipes = params.m_pipeFloorDistance;
  const double pipeDistance = params.m_pipeDistance;
  const RecordText& position = riser.m_riserPosition;

  GLVector p = base, q = base;
  GLVector r0 = base, r1 = base;
  r0.x = r1.x = base.x + pipeDistance;
  double drawn = 0.0;
  double top = base.y + length;
  if (position == "2") {
    q.y = base.y + floorPipes + pipeDistance;
    r0.y = base.y + floorPipes;
    drawn = std::fabs(length - floorPipes);
    top = q.y;
  } else if (position == "1") {
    q.y = r1.y = base.y + length;
    drawn = length;
  } else if (position == "0") {
    p.y = base.y + floorPipes + pipeDistance;
    q.y = r1.y = base.y + length;
    r0.y = base.y + floorPipes;
    drawn = std::fabs(length - floorPipes);
  }

  PieceData data = MakePieceData(list, params, riser.m_branchNumber, riser.m_branchName, riser.m_sideNumber,
                                 lengthA + drawn, lengthB + drawn, sourceA, sourceB, &riser);
  CSeznam supply, ret;
  AddPoint(supply, p);
  AddPoint(supply, q);
  AddPoint(ret, r0);
  AddPoint(ret, r1);
  FilePipePair(list, params, supply, ret, data, true, true);

  if (params.m_describeRisers != 1 && !(params.m_describeLastRiser == 1 && position == "2")) return;
  const double gap = params.m_bubbleDistance3;
  GLVector label(base.x + pipeDistance / 2.0, top + gap + params.m_riserTextHeight / 2.0, base.z);
  if (DrawsBubble(params.m_riserBubble, params.m_riserBubbleDiameter)) {
    CSeznam stem;
    AddPoint(stem, GLVector(label.x, top + gap, base.z));
    AddPoint(stem, GLVector(label.x, top + gap + params.m_bubbleDistance2, base.z));
    MakeLineRecord(list, params, params.m_text4, stem, false);
    label.y = top + gap + params.m_bubbleDistance2 + params.m_riserBubbleDiameter / 2.0;
    MakeCircleRecord(list, params, params.m_text4, label, params.m_riserBubbleDiameter, 256);
  }
  if (riser.m_riserNumber.IsEmpty() || !(params.m_riserTextHeight > 0.0)) return;
  MakeTextRecord(list, params, riser.RunsOrNone().m_riserPrefix.ToCString() + riser.m_riserNumber.ToCString(), label, params.m_riserTextHeight,
                 params.m_riserWidthFactor, 1, 2, params.m_riserLayer, nullptr, true);
}
