// Products in a section drawing: block, insert, description lines, the two
// connection drops by the product's connection class, and the joining of
// the drops to the run's pipes.
#include <cmath>
#include <cstdlib>
#include <string>
#include <cstring>
#include <vector>

#include "common/GroupChainBuilder.h"
#include "common/GroupCodeChain.h"
#include "jov_vantrix/network/CJovAddPnt.h"
#include "jov_vantrix/network/CJovData.h"
#include "jov_vantrix/network/CObjConnPntNew.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CObjPntNew.h"
#include "jov_vantrix/network/DescriptionMask.h"
#include "jov_vantrix/network/RecordBuilders.h"
#include "jov_vantrix/network/RecordGeometry.h"
#include "jov_vantrix/section/CutDrawingState.h"
#include "jov_vantrix/section/PipeEnds.h"
#include "jov_vantrix/section/RiserRuns.h"
#include "jov_vantrix/section/SectionPipes.h"
#include "platform/resources/jov_vantrix/resource_ids.h"

namespace {

// Product keys the drawn insert takes over from the network's.
constexpr const char* kProductKeys[] = {"_QPROD", "_GROUP", "_QTYPE", "_MEASUREMENT",
                                        "_QDATE", "_PRICE", "_QUNIT"};
constexpr size_t kMaxValue = 1023;

// The connection points a class needs ("_PTS" field 3), as indices into
// the block's connection points; false when one is missing.
bool FindConnections(const CJovAddPnt& points, int typeClass, bool pickedBranch, uint32_t index[3]) {
  auto find = [&](const char* code, uint32_t& out) { return CJovAddPnt::FindIndex(points, &out, 3, code); };
  switch (typeClass) {
    case 1: return find("36", index[0]);
    case 2: return find("24", index[0]) && find("20", index[1]) && find("36", index[2]);
    case 3: return find("40", index[0]) && find("36", index[1]);
    case 4: return find("68", index[0]);
    default:
      if (find("20", index[0])) return true;
      index[0] = 0;
      return pickedBranch;
  }
}

// The X scale of the network's insert in the drawing's units; a missing or
// zero scale counts as 1.
double SourceScale(const CObjDataNew& record, int unit) {
  const resbuf* node = nullptr;
  for (const resbuf* n = record.m_entityChain.GetChain(); n && n->code != -3; n = n->next)
    if (n->code == 41) node = n;
  if (!node || node->value.real == 0.0) return 1.0;
  return node->value.real * (unit == 1 ? 1000.0 : 1.0);
}

std::string Limited(const char* text) { return std::string(text).substr(0, kMaxValue); }

// The insert's extended data: the catalogue's, with the block's connection
// points, the include flag set and the record's place in the network.
resbuf* InsertData(CJovData& data, const CObjDataNew& record, const CSeznam& connections,
                   const JovCutParams& params) {
  for (const CSeznam* c = connections.GetHead(); c; c = c->GetNext()) {
    GLVector point;
    GetEntityPoint(static_cast<const CObjConnPntNew*>(c)->m_pEntity, point, 10);
    auto* node = new CJovInsPnt(&point.x);
    if (!data.m_insertPoints.AddTail(node)) delete node;
  }
  data.m_insertionValue = 1;
  if (data.m_typeCode.GetLength() > static_cast<int>(CJovData::kIncludeFlagIndex))
    data.m_typeCode.SetAt(CJovData::kIncludeFlagIndex, 'i');
  CJovPropData& properties = data.m_properties;
  for (const char* key : kProductKeys)
    if (const char* value = record.m_jovData.GetProperty(key)) properties.SetValue(key, Limited(value).c_str());
  properties.SetValue("_NUM_RISER", record.m_riserNumber);
  properties.SetValue("_NUM_BRANCH", record.m_branchNumber);
  properties.SetValue("_NUM_SIDE", record.m_sideNumber);
  properties.SetValue("_NUM_ASSOC", params.m_assocStamp);
  properties.SetValue("_SCH_ASSOC", params.m_schemeStamp);
  properties.SetValue("_NBRANCH", record.m_branchName);
  if (record.m_jovData.m_vantrixRecords.GetHead()) {
    char field[kMaxValue + 1];
    for (uint32_t i = 0; i < CJovPropData::kVantrixFields; ++i) {
      if (!record.m_jovData.m_vantrixRecords.GetRecordField(i, field, sizeof field)) field[0] = '\0';
      data.m_vantrixRecords.SetRecordField(i, field);
    }
  }
  resbuf* marker = GroupChainBuilder(0).Build(-3, nullptr, -9);
  if (marker) marker->next = data.BuildXData();
  return marker;
}

void Describe(CutDrawingState& st, const CObjDataNew& record, GLVector at) {
  const JovCutParams& p = st.params;
  CStringArray lines;
  ExpandDescriptionMask(record, p, lines);
  for (INT_PTR i = lines.GetSize() - 1; i >= 0; --i) {
    const double height = i > 0 ? p.m_descriptionHeight : p.m_firstLineHeight;
    if (!(height > 0.0)) continue;  // a line of no height shows nothing
    CString line;
    line.Format("%d", static_cast<int>(i));
    resbuf* data = GroupChainBuilder(0).Build(
        -3, nullptr, 1001, "JOV_DATA", 1000, "TCD0000i0001", 1000, "_NUM_ASSOC", 1000,
        p.m_assocStamp.GetString(), 1000, "_SCH_ASSOC", 1000, p.m_schemeStamp.GetString(), 1000, "_BRANCH",
        1000, record.m_branchNumber.GetString(), 1000, "_NUM_DESC_LINE", 1000, line.GetString(), 1000, "CM",
        1000, record.m_CM.GetString(), 1000, "CT", 1000, record.m_CT.GetString(), -9);
    at.y += height / 2.0;
    MakeTextRecord(st.list, p, lines[i], at, height, p.m_descriptionWidthFactor, 1, 2,
                   i > 0 ? p.m_descriptionLayer : p.m_text1, data, true);
    at.y += p.m_descriptionLineSpacing + height / 2.0;
  }
}

void Fill(CSeznam& points, const std::vector<GLVector>& from) {
  points.RemoveAll();
  for (const GLVector& point : from) {
    auto* node = new CObjPntNew(point);
    if (!points.AddTail(node)) delete node;
  }
}

}  // namespace

int DrawCutProduct(CutDrawingState& st, CObjDataNew& r) {
  JovCutParams& p = st.params;
  CObjSezNew& list = st.list;
  const double unit = st.Unit();
  const bool picked = r.m_objectType == kObjectPickedBranch;

  CJovData data;
  if (r.m_pProductData) data.ReadXData(r.m_pProductData);

  const char* heightText = r.m_jovData.GetProperty("VP");
  double lengthA = std::atof(heightText ? heightText : "0.0") / 1000.0 * unit;
  double lengthB = lengthA;
  if (!st.last) {
    lengthA += GetBranchPipeLength(list, r, kObjectSupplyPipe);
    lengthB += GetBranchPipeLength(list, r, kObjectReturnPipe);
  }

  const int typeClass = GetRecordTypeClass(&r);
  uint32_t index[3] = {0, 0, 0};
  if (!FindConnections(data.m_pointRecords, typeClass, picked, index)) {
    // Without data the catalogue did not know the product.
    st.failure.message = r.m_pProductData ? IDS_CUT_CONNECTION_MISSING : IDS_CUT_PRODUCT_UNKNOWN;
    st.failure.what = r.m_jovData.m_typeCode;
    return 0;
  }

  CString blockName;
  blockName.Format("*UJOVCUT2004%d", st.blockCounter++);
  CSeznam connections;
  if (!r.m_pProductGeometry || !MakeBlockFromSymbol(blockName, GLVector(), r.m_pProductGeometry, connections))
    return 1;
  resbuf* insertData = InsertData(data, r, connections, p);

  GLVector p1, p2, p3;
  GetConnectionPoint(connections, index[0], p1);
  GetConnectionPoint(connections, index[1], p2);
  GetConnectionPoint(connections, index[2], p3);
  const double offset = typeClass == 3 ? p1.x - p3.x : typeClass == 2 ? p3.x - p1.x : 0.0;
  if (p.m_units == 1) {
    p1 *= 0.001;
    p2 *= 0.001;
  }

  double s = SourceScale(r, p.m_units);
  if (st.position == 0 && picked && r.m_entityKind == kEntityInsert) s = std::abs(s);
  const double w = RecordWidth(r);
  const double h = RecordHeight(r);
  const double gap = p.m_bubbleDistance3;
  GLVector& left = st.cursor[0];
  GLVector& right = st.cursor[1];
  GLVector at;  // the insert point
  GLVector text;
  double scale = s;
  auto place = [&](const GLVector& point) {
    at = point;
    p1 += at;
    p2 += at;
    p3 += at;
  };

  const int side = CutDrawingState::SideOf(r);
  if (st.side == 0 && side == 0) {
    if (picked) {
      s = std::abs(s);
      left.x += p.m_riserDistance;
      right.x += w;
    } else {
      left.x -= w;
    }
    place(left);
    const bool mirrored = s < 0;
    if (mirrored) {
      at.x += w;
      SwapPipeEnds(p1, p2, w, false);
      if (typeClass == 2 || typeClass == 3) {
        p1.x += 2 * offset;
        p2.x += 2 * offset;
      }
    }
    scale = s;
    left.x -= p.m_elementDistance + (mirrored ? w : 0.0);
    text = at + GLVector(s * w / 2.0, h + gap, 0.0);
  } else if (st.side == 0) {
    place(st.farCursor + GLVector(w, 0.0, 0.0));
    const bool mirrored = s < 0;
    if (mirrored) {
      at.x -= w;
      SwapPipeEnds(p1, p2, w, true);
    } else {
      p1.x -= w;
      p2.x -= w;
      SwapPipeEnds(p1, p2, w, false);
    }
    scale = s > 0 ? -1.0 : 1.0;
    st.farCursor.x = at.x + p.m_elementDistance + (mirrored ? w : 0.0);
    s = -s;
    text = at + GLVector(-s * w / 2.0, h + gap, 0.0);
  } else if (side == 0) {
    place(st.farCursor);
    const bool mirrored = s < 0;
    if (mirrored) {
      p1.x -= w;
      p2.x -= w;
      SwapPipeEnds(p1, p2, w, false);
    } else {
      at.x -= w;
      SwapPipeEnds(p1, p2, w, true);
      p2.x -= 2 * (p2.x - p1.x);
    }
    scale = s;
    st.farCursor.x = at.x - p.m_elementDistance - (mirrored ? w : 0.0);
    text = at + GLVector(s * w / 2.0, h + gap, 0.0);
  } else {
    if (picked) {
      s = std::abs(s);
      right.x -= p.m_riserDistance;
    } else if (s < 0) {
      right.x += w;
    }
    place(right);
    const bool mirrored = s < 0;
    if (mirrored && (typeClass == 2 || typeClass == 3)) {
      const double k = typeClass == 2 ? 1.0 : 2.0;
      p1.x -= k * offset;
      p2.x -= k * offset;
    } else if (mirrored) {
      SwapPipeEnds(p1, p2, w, false);
      p1.x -= w;
      p2.x -= w;
    }
    scale = s;
    right.x += p.m_elementDistance + (mirrored ? 0.0 : w);
    text = GLVector((mirrored ? at.x - w : at.x) + w / 2.0, at.y + h + gap, at.z);
  }

  const char* layer = GetEntityString(r.m_entityChain.GetChain(), 8);
  MakeInsertRecord(list, p, blockName, at, layer ? layer : "0", insertData, scale);

  if (p.m_describeElements == 1 && !picked && r.m_objectType != kObjectSkipped) Describe(st, r, text);

  // The drops: from the connection down to the run's two pipe levels.
  const double c1 = p.m_connectionOffset1, c2 = p.m_connectionOffset2, c3 = p.m_verticalConnectionOffset;
  const double supplyDrop = p.m_pipeBeginLength;
  const double returnDrop = p.m_pipeBeginLength + p.m_pipeDistance;
  const double floor = st.base.y + p.m_floorHeight;
  const auto down = [](GLVector q, double by) { return q - GLVector(0.0, by, 0.0); };
  std::vector<GLVector> dropA, dropB;
  GLVector q;
  switch (typeClass) {
    case 1:
      q = p1;
      q.x -= unit * s * (c1 + (s < 0 ? c2 : 0.0));
      dropB = {q, down(q, returnDrop)};
      q.x -= unit * c2;
      dropA = {q, down(q, supplyDrop)};
      break;
    case 2:
    case 3: {
      // Out of the product by the short vertical start, then down to the
      // pipes: the drop itself is far longer than the product is wide.
      const double way = typeClass == 2 || s < 0 ? -1.0 : 1.0;
      const double returnSide = way * (p.m_verticalPipeBeginLength + p.m_pipeDistance);
      const double supplySide = way * p.m_verticalPipeBeginLength;
      q = p2;
      q.y += unit * c3;
      dropB = {q, q + GLVector(returnSide, 0, 0), GLVector(q.x + returnSide, floor - returnDrop, q.z)};
      q = p1;
      q.y += unit * c3;
      dropA = {q, q + GLVector(supplySide, 0, 0), GLVector(q.x + supplySide, floor - supplyDrop, q.z)};
      break;
    }
    case 4:
      q = p1;
      q.x += unit * c2 / 2.0;
      dropB = {q, down(q, returnDrop)};
      q.x -= unit * c2;
      dropA = {q, down(q, supplyDrop)};
      break;
    default:
      q = p1;
      q.x += picked ? unit * s * c2 / 2.0 : unit * s * (c1 + (s < 0 ? c2 : 0.0));
      dropB = {q, down(q, returnDrop)};
      q.x += picked ? -unit * c2 : unit * c2;
      dropA = {q, down(q, supplyDrop)};
      if (picked) {
        left.x -= w / 2.0;
        right.x -= w / 2.0;
        st.ends[0].supply.x -= unit * c2 / 2.0;
        st.ends[0].ret.x -= unit * c2 / 2.0;
        st.ends[1].supply.x += unit * c2 / 2.0;
        st.ends[1].ret.x += unit * c2 / 2.0;
      }
      break;
  }
  const GLVector lowA = dropA.back();
  const GLVector lowB = dropB.back();
  CObjDataNew* current = st.currentRiser ? st.currentRiser : &r;

  // A run's first record draws no pieces of its own (but the first record
  // of the start's other side): it only sets where its pipes start.
  const bool ownPieces = st.position != 0 || st.startSecondSide;
  if (!st.last && ownPieces) {
    CObjDataNew* supply = nullptr;
    CObjDataNew* ret = nullptr;
    const bool found = FindPipePairByCodes(list, r, supply, ret);
    const CObjDataNew& from = found ? *supply : *current;
    PieceData pieces = MakePieceData(list, p, from.m_branchNumber, from.m_branchName,
                                     found ? supply->m_sideNumber : r.m_sideNumber, lengthA, lengthB,
                                     found ? supply : nullptr, found ? ret : nullptr, &r);
    Fill(st.pointsA, dropA);
    Fill(st.pointsB, dropB);
    FilePipePair(list, p, st.pointsA, st.pointsB, pieces, true, st.chainFlag);
  }

  // The first product decides the levels of the run's pipes.
  if (!st.productDrawn) {
    st.ends[st.side].supply.y = lowA.y;
    st.ends[st.side].ret.y = lowB.y;
    st.productDrawn = true;
  }
  CutDrawingState::PipeEnds& ends = st.EndsFor(r);
  if (picked) {
    if (st.side == 1) {
      st.ends[1].supply.x -= unit * c2;
      st.ends[1].ret.x -= unit * c2;
    }
  } else if (!ownPieces) {
  } else if (st.last) {
    Fill(st.pointsA, dropA);
    Fill(st.pointsB, dropB);
    DrawPipePair(list, p, current->m_branchNumber, current->m_branchName, r.m_sideNumber, ends.supply,
                 ends.supply, ends.ret, ends.ret, st.lengthA + lengthA, st.lengthB + lengthB, st.pointsA,
                 st.pointsB, true, false, st.chainFlag, st.sourceA, st.sourceB, &r);
  } else {
    Fill(st.pointsA, {ends.supply});
    Fill(st.pointsB, {ends.ret});
    DrawPipePair(list, p, current->m_branchNumber, current->m_branchName, r.m_sideNumber, ends.supply, lowA,
                 ends.ret, lowB, st.lengthA, st.lengthB, st.pointsA, st.pointsB, true, false, st.chainFlag,
                 st.sourceA, st.sourceB, nullptr);
  }
  st.pointsA.RemoveAll();
  st.pointsB.RemoveAll();
  return 1;
}
