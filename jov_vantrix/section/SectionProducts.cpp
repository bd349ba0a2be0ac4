// Products in a section drawing: block, insert, description lines, the two
// connection drops by the product's connection class, and the joining of
// the drops to the run's pipes.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <cstring>
#include <vector>

#include "common/CLocaleNumber.h"
#include "common/GroupChainBuilder.h"
#include "dataformat/GroupCodeChain.h"
#include "jov_vantrix/network/CJovAddPnt.h"
#include "jov_vantrix/network/CJovData.h"
#include "jov_vantrix/network/CObjConnPntNew.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CObjPntNew.h"
#include "jov_vantrix/network/DescriptionMask.h"
#include "jov_vantrix/network/RecordBuilders.h"
#include "jov_vantrix/network/RecordGeometry.h"
#include "jov_vantrix/section/CutDrawingState.h"
#include "jov_vantrix/section/CutSettingsChecks.h"
#include "jov_vantrix/section/PipeEnds.h"
#include "jov_vantrix/section/ProductNames.h"
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
    if (!data.InsertPoints().AddTail(node)) delete node;
  }
  data.m_insertionValue = 1;
  if (data.m_typeCode.GetLength() > static_cast<int>(CJovData::kIncludeFlagIndex))
    data.m_typeCode.SetAt(CJovData::kIncludeFlagIndex, 'i');
  CJovPropData& properties = data.Properties();
  for (const char* key : kProductKeys)
    if (const char* value = record.m_jovData.GetProperty(key)) properties.SetValue(key, Limited(value).c_str());
  properties.SetValue("_NUM_RISER", record.m_riserNumber);
  properties.SetValue("_NUM_BRANCH", record.m_branchNumber);
  properties.SetValue("_NUM_SIDE", record.m_sideNumber);
  properties.SetValue("_NUM_ASSOC", params.m_assocStamp);
  properties.SetValue("_SCH_ASSOC", params.m_schemeStamp);
  properties.SetValue("_NBRANCH", record.m_branchName);
  if (record.m_jovData.VantrixRecords().GetHead()) {
    char field[kMaxValue + 1];
    for (uint32_t i = 0; i < CJovPropData::kVantrixFields; ++i) {
      if (!record.m_jovData.VantrixRecords().GetRecordField(i, field, sizeof field)) field[0] = '\0';
      data.VantrixRecords().SetRecordField(i, field);
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

// What a product's placement works from and gives: its width and height,
// the scale of its network insert, and where and how the insert is drawn.
struct Placement {
  double w = 0.0, h = 0.0;
  double s = 1.0;       // the network insert's scale; the drops follow its sign
  // Given by the placement:
  GLVector at;          // the insert point
  double scale = 1.0;   // the insert's X scale
  GLVector text;        // where the description lines start
};

// Places the product by the run's side and its own, moving the cursors
// past it:
//   run 0 / own 0: at = left - w (a start valve: at the riser); mirrored at + w
//   run 0 / own 1: at = far + w, drawn mirrored towards the riser
//   run 1 / own 0: at = far (- w when not mirrored), drawn towards the riser
//   run 1 / own 1: at = right (+ w when mirrored; a start valve: right - DIST_RISER)
// CutDrawingTest's rows work these out for b.x 10000.
void PlaceProduct(CutDrawingState& st, const CObjDataNew& r, bool picked, Placement& pl) {
  const JovCutParams& p = st.params;
  GLVector& left = st.cursor[0];
  GLVector& right = st.cursor[1];
  const double w = pl.w;
  double& s = pl.s;
  const int side = CutDrawingState::SideOf(r);
  if (st.side == 0 && side == 0) {
    if (picked) {
      s = std::abs(s);
      left.x += p.m_riserDistance;
      right.x += w;
    } else {
      left.x -= w;
    }
    pl.at = left;
    const bool mirrored = s < 0;
    if (mirrored) pl.at.x += w;
    pl.scale = s;
    left.x -= p.m_elementDistance + (mirrored ? w : 0.0);
    pl.text = pl.at + GLVector(s * w / 2.0, pl.h + p.m_bubbleDistance3, 0.0);
  } else if (st.side == 0) {
    pl.at = st.farCursor + GLVector(w, 0.0, 0.0);
    const bool mirrored = s < 0;
    if (mirrored) pl.at.x -= w;
    pl.scale = s > 0 ? -1.0 : 1.0;
    st.farCursor.x = pl.at.x + p.m_elementDistance + (mirrored ? w : 0.0);
    s = -s;
    pl.text = pl.at + GLVector(-s * w / 2.0, pl.h + p.m_bubbleDistance3, 0.0);
  } else if (side == 0) {
    pl.at = st.farCursor;
    const bool mirrored = s < 0;
    if (!mirrored) pl.at.x -= w;
    pl.scale = s;
    st.farCursor.x = pl.at.x - p.m_elementDistance - (mirrored ? w : 0.0);
    pl.text = pl.at + GLVector(s * w / 2.0, pl.h + p.m_bubbleDistance3, 0.0);
  } else {
    if (picked) {
      s = std::abs(s);
      right.x -= p.m_riserDistance;
    } else if (s < 0) {
      right.x += w;
    }
    pl.at = right;
    const bool mirrored = s < 0;
    pl.scale = s;
    right.x += p.m_elementDistance + (mirrored ? 0.0 : w);
    pl.text = GLVector((mirrored ? pl.at.x - w : pl.at.x) + w / 2.0, pl.at.y + pl.h + p.m_bubbleDistance3, pl.at.z);
  }
}

// Where the drawn insert shows a connection point of its block.
GLVector DrawnConnection(const CSeznam& connections, uint32_t index, const Placement& pl, int units) {
  GLVector block;
  GetConnectionPoint(connections, index, block);
  return InsertedPoint(block, pl.at, pl.scale, units);
}

// The two drops of a connection class, each from its top point down to
// the run's pipe level (A the supply pipe, B the return pipe). Classes 0,
// 1 and 4 drop straight, c2 apart; classes 2 and 3 leave the product
// sideways by the short vertical start first.
void MakeDrops(CutDrawingState& st, int typeClass, bool picked, double s, const GLVector& p1, const GLVector& p2,
               std::vector<GLVector>& dropA, std::vector<GLVector>& dropB) {
  const JovCutParams& p = st.params;
  const double unit = st.Unit();
  const double c1 = p.m_connectionOffset1, c2 = p.m_connectionOffset2, c3 = p.m_verticalConnectionOffset;
  const double supplyDrop = p.m_pipeBeginLength;
  const double returnDrop = p.m_pipeBeginLength + p.m_pipeDistance;
  const double floor = st.base.y + p.m_floorHeight;
  const auto down = [](GLVector q, double by) { return q - GLVector(0.0, by, 0.0); };
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
      break;
  }
}

// A branch-start valve stands between both sides: the cursors move left
// by half its width and each side's pipe ends half the drop spacing away
// from it. Neither side's next product comes nearer to the valve's box
// (from at, w wide) than DIST_ELM, whichever side the run starts on.
void MakeRoomForStartValve(CutDrawingState& st, const GLVector& at, double w) {
  const double half = st.Unit() * st.params.m_connectionOffset2 / 2.0;
  const double gap = st.params.m_elementDistance;
  st.cursor[0].x = std::min(st.cursor[0].x - w / 2.0, at.x - gap);
  st.cursor[1].x = std::max(st.cursor[1].x - w / 2.0, at.x + w + gap);
  st.ends[0].supply.x -= half;
  st.ends[0].ret.x -= half;
  st.ends[1].supply.x += half;
  st.ends[1].ret.x += half;
}

// Files the drops: closed at once as pieces of their own (but the run's
// first record's, which only set where the pipes start), then joined to
// the run's pipe ends; the last record's drops are only collected into
// the closing pieces.
void FileDrops(CutDrawingState& st, CObjDataNew& r, bool picked, const std::vector<GLVector>& dropA,
               const std::vector<GLVector>& dropB, double lengthA, double lengthB) {
  JovCutParams& p = st.params;
  CObjSezNew& list = st.list;
  const GLVector lowA = dropA.back();
  const GLVector lowB = dropB.back();
  CObjDataNew* current = st.currentRiser ? st.currentRiser : &r;

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
      st.ends[1].supply.x -= st.Unit() * p.m_connectionOffset2;
      st.ends[1].ret.x -= st.Unit() * p.m_connectionOffset2;
    }
  } else if (ownPieces && st.last) {
    Fill(st.pointsA, dropA);
    Fill(st.pointsB, dropB);
    DrawPipePair(list, p, current->m_branchNumber, current->m_branchName, r.m_sideNumber, ends.supply,
                 ends.supply, ends.ret, ends.ret, st.lengthA + lengthA, st.lengthB + lengthB, st.pointsA,
                 st.pointsB, true, false, st.chainFlag, st.sourceA, st.sourceB, &r);
  } else if (ownPieces) {
    Fill(st.pointsA, {ends.supply});
    Fill(st.pointsB, {ends.ret});
    DrawPipePair(list, p, current->m_branchNumber, current->m_branchName, r.m_sideNumber, ends.supply, lowA,
                 ends.ret, lowB, st.lengthA, st.lengthB, st.pointsA, st.pointsB, true, false, st.chainFlag,
                 st.sourceA, st.sourceB, nullptr);
  }
  st.pointsA.RemoveAll();
  st.pointsB.RemoveAll();
}

}  // namespace

int DrawCutProduct(CutDrawingState& st, CObjDataNew& r) {
  JovCutParams& p = st.params;
  CObjSezNew& list = st.list;
  const double unit = st.Unit();
  const bool picked = r.m_objectType == kObjectPickedBranch;

  CJovData data;
  if (const resbuf* product = r.RunsOrNone().m_pProductData) data.ReadXData(product);

  const char* heightText = r.m_jovData.GetProperty("VP");
  double lengthA = AtofC(heightText ? heightText : "0.0") / 1000.0 * unit;
  double lengthB = lengthA;
  if (!st.last) {
    lengthA += GetBranchPipeLength(list, r, kObjectSupplyPipe);
    lengthB += GetBranchPipeLength(list, r, kObjectReturnPipe);
  }

  const int typeClass = GetRecordTypeClass(&r);
  uint32_t index[3] = {0, 0, 0};
  if (!FindConnections(data.PointRecords(), typeClass, picked, index)) {
    // Without data the catalogue did not give the product: for the length
    // it was asked with when that is no usable one, else for its type code.
    const bool given = r.RunsOrNone().m_pProductData != nullptr;
    const CutSettingFault length =
        given ? CutSettingFault() : CheckProductLength(r.m_jovData, r.m_entityChain.GetChain());
    if (length)
      st.failure = {length.message, length.what};
    else
      st.failure = {given ? UINT{IDS_CUT_CONNECTION_MISSING} : UINT{IDS_CUT_PRODUCT_UNKNOWN},
                    ProductName(r.m_jovData, r.m_branchNumber.ToCString())};
    return 0;
  }

  CString blockName;
  blockName.Format("*UJOVCUT2004%d", st.blockCounter++);
  CSeznam connections;
  if (resbuf* geometry = r.RunsOrNone().m_pProductGeometry;
      !geometry || !MakeBlockFromSymbol(blockName, GLVector(), geometry, connections)) {
    st.blockless.insert(&r);  // named after the generation
    return 1;
  }
  resbuf* insertData = InsertData(data, r, connections, p);

  Placement pl;
  pl.s = SourceScale(r, p.m_units);
  if (st.position == 0 && picked && r.m_entityKind == kEntityInsert) pl.s = std::abs(pl.s);
  pl.w = RecordWidth(r);
  pl.h = RecordHeight(r);
  PlaceProduct(st, r, picked, pl);
  // The drops start at the connections as drawn, mirrored or not, in
  // millimetres or metres.
  const GLVector p1 = DrawnConnection(connections, index[0], pl, p.m_units);
  const GLVector p2 = DrawnConnection(connections, index[1], pl, p.m_units);

  const char* layer = GetEntityString(r.m_entityChain.GetChain(), 8);
  MakeInsertRecord(list, p, blockName, pl.at, layer ? layer : "0", insertData, pl.scale);

  if (p.m_describeElements == 1 && !picked && r.m_objectType != kObjectSkipped) Describe(st, r, pl.text);

  std::vector<GLVector> dropA, dropB;
  MakeDrops(st, typeClass, picked, pl.s, p1, p2, dropA, dropB);
  const bool straight = typeClass < 1 || typeClass > 4;  // class 0
  if (picked && straight) MakeRoomForStartValve(st, pl.at, pl.w);
  FileDrops(st, r, picked, dropA, dropB, lengthA, lengthB);
  return 1;
}
