#include "jov_vantrix/section/OldCutDrawing.h"

#include <cmath>
#include <cstring>
#include <set>
#include <vector>

#include "common/CLocaleNumber.h"
#include "common/GroupChainBuilder.h"
#include "dataformat/GroupCodeChain.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/network/CJovAddPnt.h"
#include "jov_vantrix/network/CJovData.h"
#include "jov_vantrix/network/RecordGeometry.h"
#include "jov_vantrix/section/CObjData.h"
#include "jov_vantrix/section/CObjPnt.h"
#include "jov_vantrix/section/CSecData.h"
#include "jov_vantrix/section/CutSettingsChecks.h"
#include "jov_vantrix/section/FiniteChains.h"
#include "jov_vantrix/section/JovCutParamsOld.h"
#include "jov_vantrix/section/OldCutRecords.h"
#include "jov_vantrix/section/OldEntityWriters.h"
#include "jov_vantrix/section/OldRecordLookups.h"
#include "jov_vantrix/section/OldRiserStart.h"
#include "jov_vantrix/section/PipeEnds.h"
#include "jov_vantrix/section/ProductNames.h"
#include "jov_vantrix/section/RiserBubble.h"
#include "platform/resources/jov_vantrix/resource_ids.h"

namespace {

// Product keys a drawn product takes over from its branch record.
constexpr const char* kProductKeys[] = {"_QPROD", "_GROUP", "_QTYPE", "_MEASUREMENT",
                                        "_QDATE", "_PRICE", "_QUNIT"};

// The current ends of the upper and the lower pipe of a run.
struct PipeEnds {
  GLVector upper;
  GLVector lower;
};

// A product ready to be placed: its block, the insert's extended data and
// its connection points (block coordinates until it is placed, then where
// the insert shows them).
struct Product {
  CString blockName;
  int typeClass = 0;
  GLVector first;
  GLVector second;
  resbuf* xdata = nullptr;  // until the insert takes it

  Product() = default;
  Product(const Product&) = delete;
  Product& operator=(const Product&) = delete;
  ~Product() { FreeGroupCodeChain(xdata); }
};

// 0 left, 1 right.
int SideOf(const CObjData& record) { return AtoiC(record.m_sideNumber) != 0 ? 1 : 0; }

CString BranchName(const CObjData& record) {
  CString name;
  record.GetBranchPart(0, name);
  return name;
}

bool HasChildren(const CObjData& record) {
  CString children;
  record.GetBranchPart(2, children);
  return !children.IsEmpty();
}

// One older generation: what both generators share.
struct OldCut {
  OldCut(CObjSez& records, JovCutParamsOld& params) : records_(records), params_(params) {}

  // The catalogue, the cursors, the riser's start and the records' order;
  // false (nothing drawn) without a catalogue or product library.
  bool Start() {
    db_ = TheApp().GetDatabase(GetRiserTradeLetter(records_));
    if (!db_ || !TheApp().m_pPPGetResbufEx || !TheApp().m_pPPFree) return false;
    const GLVector& base = params_.m_basePoint;
    left_ = GLVector(base.x - params_.m_riserDistance, base.y + params_.m_floorHeight, base.z);
    right_ = GLVector(base.x + params_.m_riserDistance + (params_.m_drawPipe ? params_.m_pipeDistance : 0.0),
                      base.y + params_.m_floorHeight, base.z);
    if (params_.m_lastFloor == 1)
      DrawOldRiserStartLastFloor(records_, params_, db_);
    else
      DrawOldRiserStart(records_, params_, db_);
    records_.Sort(CompareBranchRecords);
    return true;
  }

  // The pipe ends where the riser's two pipes stand.
  PipeEnds RiserPipeEnds() const {
    const GLVector& base = params_.m_basePoint;
    return {GLVector(base.x, UpperPipeY(), base.z),
            GLVector(base.x + params_.m_pipeDistance, UpperPipeY() - params_.m_pipeDistance, base.z)};
  }
  double UpperPipeY() const { return left_.y - params_.m_pipeBeginLength; }

  // The product's connection points by its class, its block, and the
  // insert's data. False, nothing drawn, when a point its class needs is
  // missing from the catalogue's data or the block cannot be defined.
  bool PrepareProduct(const CObjData& record, resbuf* geometry, const resbuf* data, const char* branch,
                      Product& product) {
    CJovData drawn;
    if (!data || !drawn.ReadXData(data)) return false;
    static constexpr const char* kCodes[4][2] = {{"20", nullptr}, {"36", nullptr}, {"24", "20"}, {"40", "36"}};
    product.typeClass = record.GetTypeClass();
    const auto& codes = kCodes[product.typeClass];
    uint32_t firstIndex = 0;
    uint32_t secondIndex = 0;
    if (!CJovAddPnt::FindIndex(drawn.PointRecords(), &firstIndex, 3, codes[0]) ||
        (codes[1] && !CJovAddPnt::FindIndex(drawn.PointRecords(), &secondIndex, 3, codes[1])))
      return false;

    product.blockName.Format("*UJOVCUT2004%d", blockCounter_++);
    CSeznam connections;
    if (!MakeOldBlockFromSymbol(product.blockName, GLVector(), geometry, connections)) return false;

    AddConnectionPointPairs(connections, drawn);
    if (drawn.m_typeCode.GetLength() > static_cast<int>(CJovData::kIncludeFlagIndex))
      drawn.m_typeCode.SetAt(CJovData::kIncludeFlagIndex, 'i');
    drawn.m_insertionValue = 1;
    CJovPropData& keys = drawn.Properties();
    for (const char* key : kProductKeys)
      if (const char* value = record.m_jovData.GetProperty(key)) keys.SetValue(key, value);
    keys.SetValue("_NUM_RISER", record.m_riserNumber);
    keys.SetValue("_NUM_BRANCH", record.m_branchNumber);
    keys.SetValue("_NUM_SIDE", record.m_sideNumber);
    keys.SetValue("_NUM_ASSOC", params_.m_stamp);
    keys.SetValue("_NUM_CUT", params_.m_cutNumber);
    params_.m_sections.StoreSectionKey(branch, drawn);
    if (record.m_jovData.VantrixRecords().GetHead())
      drawn.VantrixRecords().ReadVantrixRecord(record.m_pReadChain);
    product.xdata = GroupChainBuilder(0).Build(-3, nullptr, -8, drawn.BuildXData(), -9);

    GetConnectionPoint(connections, firstIndex, product.first);
    GetConnectionPoint(connections, secondIndex, product.second);
    return true;
  }

  // The insert (on the layer of the record's own entity) and, with
  // DESC_ELM, the description lines from the anchor upwards.
  void WriteProduct(const CObjData& record, Product& product, GLVector insertPoint, double scale,
                    GLVector anchor, const char* branch) {
    MakeOldInsertRecord(records_, params_, product.blockName, insertPoint,
                        GetEntityString(record.m_pReadChain, 8), product.xdata, scale);
    product.xdata = nullptr;
    if (!params_.m_describeElements) return;
    CStringArray lines;
    record.ExpandDescriptionMask(params_, lines);
    for (INT_PTR i = lines.GetSize() - 1; i >= 0; --i) {
      CString number;
      number.Format("%d", static_cast<int>(i));
      resbuf* xdata = GroupChainBuilder(0).Build(-3, nullptr, 1001, "JOV_DATA", 1000, "TCD0000i0001", 1000,
                                                 "_NUM_ASSOC", 1000, params_.m_stamp.GetString(), 1000,
                                                 "_BRANCH", 1000, branch, 1000, "_NUM_DESC_LINE", 1000,
                                                 number.GetString(), -9);
      const double height = i > 0 ? params_.m_descriptionHeight : params_.m_firstLineHeight;
      anchor.y += height / 2.0;
      MakeOldTextRecord(records_, params_, lines[i], anchor, height, 1, 2,
                        i > 0 ? params_.m_descriptionLayer : params_.m_firstLineLayer, xdata);
      anchor.y += params_.m_descriptionLineSpacing + height / 2.0;
    }
  }

  // The connection points, block coordinates until now, where the insert
  // shows them.
  void PlaceConnections(Product& product, const GLVector& inserted, double scale) const {
    product.first = InsertedPoint(product.first, inserted, scale, params_.m_unit);
    product.second = InsertedPoint(product.second, inserted, scale, params_.m_unit);
  }

  // The X scale of the record's own insert in the drawing, in block units
  // (the drawing's metres count as 1000); 1 when it has none.
  double OwnInsertScale(const CObjData& record) const {
    const char* value = GetEntityString(record.m_pReadChain, 41);
    double scale = 1.0;
    if (!value) return scale;
    std::memcpy(&scale, value, sizeof scale);
    // A zero (or unreadable) scale would collapse the product: it counts as 1.
    if (scale == 0.0 || !std::isfinite(scale)) return 1.0;
    return params_.m_unit == 1 ? scale * 1000.0 : scale;
  }

  // The two stubs from the product's connection points down to the pipes,
  // with the data of the section; their lower ends. Classes 0 and 1 drop
  // straight (the first stub to the lower pipe, the second one further
  // out to the upper pipe; class 0's first offset follows the insert's
  // scale), classes 2 and 3 leave sideways first, towards smaller and
  // larger x.
  PipeEnds DrawStubs(const Product& product, double scale, double sideways, const char* branch,
                     const CSecData* section) {
    const double unit = params_.m_unit;
    const double drop = params_.m_pipeBeginLength;
    const double pipe = params_.m_pipeDistance;
    const double upperY = params_.m_basePoint.y + params_.m_floorHeight - drop;
    PipeEnds ends;
    if (product.typeClass <= 1) {
      const double c1 = params_.m_connectionOffset1;
      const double c2 = params_.m_connectionOffset2;
      const double side = product.typeClass == 0 ? 1.0 : -1.0;
      GLVector lowerTop = product.first;
      lowerTop.x += product.typeClass == 0 ? unit * scale * (scale < 0.0 ? c1 + c2 : c1) : -unit * c1;
      GLVector upperTop = lowerTop;
      upperTop.x += side * unit * c2;
      ends.lower = GLVector(lowerTop.x, lowerTop.y - drop - pipe, lowerTop.z);
      ends.upper = GLVector(upperTop.x, upperTop.y - drop, upperTop.z);
      DrawPipes(branch, section, CObjPntList{upperTop, ends.upper}, CObjPntList{lowerTop, ends.lower});
      return ends;
    }
    const double way = product.typeClass == 2 ? -1.0 : 1.0;
    const double c3 = unit * params_.m_connectionOffset3;
    const GLVector lowerStart(product.second.x, product.second.y + c3, product.second.z);
    const GLVector lowerTurn(lowerStart.x + way * (sideways + pipe), lowerStart.y, lowerStart.z);
    ends.lower = GLVector(lowerTurn.x, upperY - pipe, lowerTurn.z);
    const GLVector upperStart(product.first.x, product.first.y - c3, product.first.z);
    const GLVector upperTurn(upperStart.x + way * sideways, upperStart.y, upperStart.z);
    ends.upper = GLVector(upperTurn.x, upperY, upperTurn.z);
    DrawPipes(branch, section, CObjPntList{upperStart, upperTurn, ends.upper},
              CObjPntList{lowerStart, lowerTurn, ends.lower});
    return ends;
  }

  // Joins the run's pipe ends to the stubs', which become the run's ends.
  void Join(PipeEnds& run, const PipeEnds& stubs, const char* branch, const CSecData* section) {
    DrawPipes(branch, section, CObjPntList{run.upper, stubs.upper}, CObjPntList{run.lower, stubs.lower});
    run = stubs;
  }

  // An upper and a lower pipe with the piece data of the section: the
  // upper one of the supply type, the lower one of the return type, or the
  // other way round with the pipe switch.
  void DrawPipes(const char* branch, const CSecData* section, const CSeznam& upper, const CSeznam& lower) {
    GroupChainBuilder builder(0);
    resbuf* supply = builder.Build(-3, nullptr, -9);
    resbuf* back = builder.Build(-3, nullptr, -9);
    BuildOldPieceJovData(params_, db_, branch, section, supply, back);
    const bool switched = params_.m_pipeSwitch != 0;
    MakeOldPolylineRecord(records_, params_, switched ? params_.m_returnText3 : params_.m_supplyText3, 256,
                          upper, switched ? back : supply);
    MakeOldPolylineRecord(records_, params_, switched ? params_.m_supplyText3 : params_.m_returnText3, 256,
                          lower, switched ? supply : back);
  }

  // The base line under everything and, with DRAW_FLOOR, the floor mark
  // at its left end.
  void Finish() {
    const GLVector& base = params_.m_basePoint;
    const GLVector start(left_.x - params_.m_elementDistance / 2.0, base.y, base.z);
    MakeOldLineRecord(records_, params_, params_.m_baseLineLayer,
                      CObjPntList{start, GLVector(right_.x, base.y, base.z)});
    if (!params_.m_drawFloors) return;
    const GLVector c(start.x + params_.m_floorDistanceX, start.y, start.z);
    const double arrow = params_.m_floorArrow;
    const GLVector top(c.x, c.y + params_.m_floorLine1, c.z);
    const char* layer = params_.m_floorMarkLayer;
    MakeOldLineRecord(records_, params_, layer, CObjPntList{c, GLVector(c.x - arrow, c.y + arrow, c.z)});
    MakeOldLineRecord(records_, params_, layer, CObjPntList{c, GLVector(c.x + arrow, c.y + arrow, c.z)});
    MakeOldLineRecord(records_, params_, layer, CObjPntList{c, top});
    MakeOldLineRecord(records_, params_, layer,
                      CObjPntList{top, GLVector(top.x + params_.m_floorLine2, top.y, top.z)});
    MakeOldTextRecord(records_, params_, params_.m_floorDescription,
                      GLVector(c.x, top.y + params_.m_descriptionDistance, c.z), params_.m_descriptionHeight, 0,
                      0, layer, nullptr);
  }

  CObjSez& records_;
  JovCutParamsOld& params_;
  jovDatabase::Database* db_ = nullptr;
  int blockCounter_ = 0;
  CStringArray leftOut_;  // names of the products not drawn
  CutDrawingFailure failure_;

  void LeaveOut(const CObjData& record) {
    CString branch;
    record.GetBranchPart(0, branch);
    leftOut_.Add(ProductName(record.m_jovData, branch));
  }
  // A product the catalogue did not give. Asked with the entity's own
  // length and that no usable one, the length is at fault: nothing is drawn.
  void LeaveOutUnknown(const CObjData& record) {
    if (!failure_.message && !params_.m_sameItemLengthOn)
      if (const CutSettingFault f = CheckProductLength(record.m_jovData, record.m_pReadChain))
        failure_ = {f.message, f.what};
    LeaveOut(record);
  }
  // The generation's result: 1 when what was built can be written.
  int Result(CStringArray* leftOut, CutDrawingFailure* failure) {
    if (!failure_.message && !AreBuiltChainsDrawable(records_, params_.m_unit))
      failure_.message = IDS_SECTION_OUT_OF_REACH;
    if (leftOut) leftOut->Copy(leftOut_);
    if (failure) *failure = failure_;
    return failure_.message ? 0 : 1;
  }
  GLVector left_;   // the left cursor
  GLVector right_;  // the right cursor
};

// The layout of the branch tree. Pipe ends and columns are kept per
// combination of the root's side and the branch's side (index root * 2 +
// branch): (0, 0) and (1, 1) continue the riser's pipes outwards, (0, 1)
// and (1, 0) lay a branch out from its far end towards the riser.
class BranchLayout {
 public:
  explicit BranchLayout(OldCut& cut) : cut_(cut), params_(cut.params_) {
    const PipeEnds riser = cut.RiserPipeEnds();
    for (PipeEnds& ends : ends_) ends = riser;
    column_[1] = column_[2] = params_.m_basePoint;
    column_[1].y = cut.left_.y;
    column_[2].y = cut.right_.y;
  }

  void Pass(CObjData& branch, bool isRoot, int rootSide) {
    branch.LookupProduct(cut_.db_, params_);
    const CString name = BranchName(branch);
    CStringArray items;
    if (!isRoot) items.Add(name);
    branch.GetChildBranches(items, isRoot);
    items.Add(name);
    const INT_PTR count = items.GetSize();
    if (count < 3) return;
    // Each item's product: the branch's own last, a childless child's at
    // its place; none for a child that has children (a riser symbol).
    std::vector<CObjData*> products(static_cast<size_t>(count), nullptr);
    products.back() = &branch;
    taken_.insert(&branch);
    for (INT_PTR i = 0; i + 1 < count; ++i) {
      CObjData* other = FindBranchRecord(cut_.records_, items[i]);
      // A product stands in one place only, however often it is named.
      if (!other || other == &branch || HasChildren(*other) || !taken_.insert(other).second) continue;
      other->LookupProduct(cut_.db_, params_);
      products[static_cast<size_t>(i)] = other;
    }
    const int combination = rootSide * 2 + SideOf(branch);
    if (combination == 1 || combination == 2) LayOutFromFarEnd(combination, products);
    for (INT_PTR i = 0; i < count; ++i) {
      const GLVector column = NextColumn(combination);
      if (CObjData* product = products[static_cast<size_t>(i)])
        DrawEndProduct(*product, name, combination, column);
      else
        DrawRiserSymbol(name, items[i], i == 0, combination, column);
      Advance(combination, products[static_cast<size_t>(i)]);
    }
  }

  // Whether a pass took the record's product to draw (or to name it
  // when it could not be drawn).
  bool Took(const CObjData& record) const { return taken_.count(&record) != 0; }

 private:
  // What an item takes along its column: a riser symbol DIST_RISER, a
  // product its width and DIST_ELM, so that no two products meet.
  double Step(const CObjData* product) const {
    return product ? product->ProductWidth() + params_.m_elementDistance : params_.m_riserDistance;
  }

  // A branch laid out from its far end towards the riser spans its items'
  // steps and its own product, which ends where the cursor stood; the
  // cursor moves past the far end, DIST_ELM beyond it.
  void LayOutFromFarEnd(int combination, const std::vector<CObjData*>& products) {
    double span = products.back()->ProductWidth();
    for (size_t i = 0; i + 1 < products.size(); ++i) span += Step(products[i]);
    const double gap = params_.m_elementDistance;
    if (combination == 1) {
      column_[1].x = cut_.left_.x - span;
      cut_.left_.x = column_[1].x - gap;
      StartFarPipes(1, +1.0);
    } else {
      column_[2].x = cut_.right_.x + span;
      cut_.right_.x = column_[2].x + gap;
      StartFarPipes(2, -1.0);
    }
  }

  // The column of the next item.
  GLVector NextColumn(int combination) const {
    switch (combination) {
      case 0:
        return cut_.left_;
      case 3:
        return cut_.right_;
      default:
        return column_[combination];
    }
  }

  // Moves the column of a branch laid out from its far end past the item.
  void Advance(int combination, const CObjData* product) {
    if (combination == 1) column_[1].x += Step(product);
    if (combination == 2) column_[2].x -= Step(product);
  }

  // A branch laid out from its far end starts its pipes at its first
  // column, half a riser symbol towards the riser.
  void StartFarPipes(int combination, double towardsRiser) {
    const double x = column_[combination].x + towardsRiser * params_.m_riserRadius / 2.0;
    const double y = cut_.UpperPipeY();
    ends_[combination].upper = GLVector(x, y, params_.m_basePoint.z);
    ends_[combination].lower = GLVector(x, y - params_.m_pipeDistance, params_.m_basePoint.z);
  }

  // A child that has children of its own: a riser symbol on both pipes,
  // the pipes to it from the branch's previous item, and its name above.
  void DrawRiserSymbol(const char* branch, const char* item, bool first, int combination,
                       const GLVector& column) {
    if (!params_.m_drawPipe) return;
    const double radius = params_.m_riserRadius;
    const double upperY = cut_.UpperPipeY();
    const double lowerY = upperY - params_.m_pipeDistance;
    const double z = params_.m_basePoint.z;
    MakeOldCircleRecord(cut_.records_, params_, params_.m_riserLayer, GLVector(column.x, upperY, z), radius);
    MakeOldCircleRecord(cut_.records_, params_, params_.m_riserLayer, GLVector(column.x, lowerY, z), radius);
    // Items of (0, 0) and (1, 0) follow each other leftwards, the others
    // rightwards.
    const double way = combination == 0 || combination == 2 ? -1.0 : 1.0;
    PipeEnds& ends = ends_[combination];
    if (!first) {
      const double near = column.x - way * radius / 2.0;
      cut_.DrawPipes(branch, params_.m_sections.FindSection(branch, item),
                     CObjPntList{ends.upper, GLVector(near, upperY, z)},
                     CObjPntList{ends.lower, GLVector(near, lowerY, z)});
    }
    const double far = column.x + way * radius / 2.0;
    ends.upper = GLVector(far, upperY, z);
    ends.lower = GLVector(far, lowerY, z);

    const GLVector label(column.x, column.y + radius / 2.0 + params_.m_bubbleDistance1, z);
    if (DrawsBubble(params_.m_branchBubble, params_.m_bubbleDiameter))
      MakeOldCircleRecord(cut_.records_, params_, params_.m_bubbleLayer, label, params_.m_bubbleDiameter);
    MakeOldTextRecord(cut_.records_, params_, item, label, params_.m_branchTextHeight, 1, 2,
                      params_.m_branchLayer, nullptr);
    if (combination == 0) cut_.left_.x -= params_.m_riserDistance;
    if (combination == 3) cut_.right_.x += params_.m_riserDistance;
  }

  // The product of a branch record at its item's place, joined to the
  // pipes of the combination.
  void DrawEndProduct(CObjData& record, const char* branch, int combination, const GLVector& column) {
    Product product;
    if (!cut_.PrepareProduct(record, record.m_pProductGeometry, record.m_pProductData, branch, product)) {
      if (record.m_pProductData)
        cut_.LeaveOut(record);
      else
        cut_.LeaveOutUnknown(record);
      return;
    }
    const double width = record.ProductWidth();
    GLVector& left = cut_.left_;
    GLVector& right = cut_.right_;
    GLVector origin;
    double scale = 1.0;
    switch (combination) {
      case 0:
        left.x -= width;
        origin = left;
        scale = cut_.OwnInsertScale(record);
        left.x -= params_.m_elementDistance;
        break;
      case 1:
        origin = GLVector(column.x, left.y, left.z);
        break;
      case 2:
        origin = GLVector(column.x - width, right.y, right.z);
        break;
      default:
        origin = right;
        right.x += width + params_.m_elementDistance;
        break;
    }
    // A mirrored insert spans the same place from its other end.
    GLVector inserted = origin;
    if (scale < 0.0) inserted.x += width;
    cut_.PlaceConnections(product, inserted, scale);
    const GLVector anchor(origin.x + width / 2.0, origin.y + record.ProductHeight() + params_.m_bubbleDistance3,
                          origin.z);
    cut_.WriteProduct(record, product, inserted, scale, anchor, branch);
    if (!params_.m_drawPipe) return;

    const CSecData* head = params_.m_sections.FindSection(branch, "");
    // Sideways only by the short vertical start, as the flat layout does:
    // the whole drop would run far past the product.
    const PipeEnds stubs = cut_.DrawStubs(product, 1.0, params_.m_verticalPipeBeginLength, branch, head);
    if (firstProduct_) {
      for (int c : {0, 3}) {
        ends_[c].upper.y = stubs.upper.y;
        ends_[c].lower.y = stubs.lower.y;
      }
      firstProduct_ = false;
    }
    cut_.Join(ends_[combination], stubs, branch, head);
  }

  OldCut& cut_;
  JovCutParamsOld& params_;
  PipeEnds ends_[4];
  GLVector column_[3];  // the columns of (0, 1) and (1, 0)
  bool firstProduct_ = true;
  std::set<const CObjData*> taken_;
};

}  // namespace

int BuildOldCutDrawing(CObjSez& records, JovCutParamsOld& params, CStringArray* leftOut, CutDrawingFailure* failure) {
  OldCut cut(records, params);
  if (!cut.Start()) return 0;
  BranchLayout layout(cut);
  if (CObjData* root = FindRootBranchRecord(records)) {
    const int rootSide = SideOf(*root);
    layout.Pass(*root, true, rootSide);
    for (CObjData* r = records.GetFirstRecord(); r; r = r->GetNextRecord())
      if (r->m_role == kRoleBranch && BranchName(*r) != "A") layout.Pass(*r, false, rootSide);
  }
  // Branches that hang nowhere in the tree (all of them without a root),
  // a root with too few items, a second branch of a name.
  for (CObjData* r = records.GetFirstRecord(); r; r = r->GetNextRecord())
    if (r->m_role == kRoleBranch && !layout.Took(*r)) cut.LeaveOut(*r);
  cut.Finish();
  return cut.Result(leftOut, failure);
}

int BuildOldCutDrawingFlat(CObjSez& records, JovCutParamsOld& params, CStringArray* leftOut,
                           CutDrawingFailure* failure) {
  OldCut cut(records, params);
  if (!cut.Start()) return 0;
  PipeEnds leftEnds = cut.RiserPipeEnds();
  PipeEnds rightEnds = leftEnds;
  bool firstProduct = true;
  GLVector& left = cut.left_;
  GLVector& right = cut.right_;
  for (CObjData* r = records.GetFirstRecord(); r; r = r->GetNextRecord()) {
    if (r->m_role != kRoleBranch) continue;
    resbuf* geometry = nullptr;
    resbuf* data = nullptr;
    if (r->AskProduct(cut.db_, params, &geometry, &data) != 1) {
      cut.LeaveOutUnknown(*r);
      continue;
    }
    const CString name = BranchName(*r);
    Product product;
    if (!cut.PrepareProduct(*r, geometry, data, name, product)) {
      TheApp().m_pPPFree();
      cut.LeaveOut(*r);
      continue;
    }
    r->SetProductExtents(geometry, params.m_unit);
    const double width = r->ProductWidth();
    const double height = r->ProductHeight() + params.m_bubbleDistance3;
    const bool rightColumn = SideOf(*r) != 0;
    double scale = 1.0;
    GLVector anchor;
    GLVector inserted;
    if (rightColumn) {
      inserted = right;
      anchor = GLVector(right.x + width / 2.0, right.y + height, right.z);
      right.x += width + params.m_elementDistance;
    } else {
      left.x -= width;
      scale = cut.OwnInsertScale(*r);
      // A mirrored product is written from its other end.
      if (scale < 0.0) left.x += width;
      inserted = left;
      anchor = GLVector(left.x + width / 2.0 * scale, left.y + height, left.z);
      left.x -= params.m_elementDistance + (scale < 0.0 ? width : 0.0);
    }
    cut.PlaceConnections(product, inserted, scale);
    cut.WriteProduct(*r, product, inserted, scale, anchor, name);

    if (params.m_drawPipe) {
      const PipeEnds stubs = cut.DrawStubs(product, scale, params.m_verticalPipeBeginLength, name,
                                           params.m_sections.FindSection(name, ""));
      if (firstProduct) {
        for (PipeEnds* ends : {&leftEnds, &rightEnds}) {
          ends->upper.y = stubs.upper.y;
          ends->lower.y = stubs.lower.y;
        }
        firstProduct = false;
      }
      cut.Join(rightColumn ? rightEnds : leftEnds, stubs, name, params.m_sections.FindSection("A", name));
    }
    TheApp().m_pPPFree();
  }
  cut.Finish();
  return cut.Result(leftOut, failure);
}
