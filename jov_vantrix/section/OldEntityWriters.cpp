#include "jov_vantrix/section/OldEntityWriters.h"

#include "common/GroupChainBuilder.h"
#include "dataformat/GroupCodeChain.h"
#include "jov_vantrix/network/EntityChains.h"
#include "jov_vantrix/network/ProductLookup.h"
#include "jov_vantrix/section/CObjData.h"
#include "jov_vantrix/section/CObjPnt.h"
#include "jov_vantrix/section/CSecData.h"
#include "jov_vantrix/section/JovCutParamsOld.h"

namespace {

void AppendBuilt(CObjSez& list, int32_t entityKind, resbuf* chain) {
  if (!chain) return;
  auto* record = new CObjData(entityKind, kRoleOther, nullptr);
  record->SetBuiltChain(chain);
  list.AddTail(record);
}

}  // namespace

bool MakeOldBlockFromSymbol(CString& blockName, GLVector basePoint, resbuf* symbol,
                            CSeznam& connectionPoints) {
  return DefineSymbolBlock(blockName, basePoint, symbol, connectionPoints,
                           [](const resbuf* entity) -> CSeznam* { return new CObjConnPnt(entity); });
}

void MakeOldTextRecord(CObjSez& list, const JovCutParamsOld& params, const char* text, GLVector point,
                       double height, int hAlign, int vAlign, const char* layer, resbuf* xdata) {
  // A text of no height shows nothing.
  if (!(height > 0.0)) {
    FreeGroupCodeChain(xdata);
    return;
  }
  AppendBuilt(list, CObjData::kText,
              TextEntityChain(layer, text, point, height, nullptr, params.m_furtherWidthFactor, hAlign,
                              vAlign, xdata));
}

void MakeOldPolylineRecord(CObjSez& list, const JovCutParamsOld&, const char* layer, int colour,
                           const CSeznam& vertices, resbuf* xdata) {
  AppendBuilt(list, CObjData::kPolyline, PolylineEntityChain(layer, colour, vertices, nullptr, xdata));
}

void MakeOldLineRecord(CObjSez& list, const JovCutParamsOld&, const char* layer, const CSeznam& points) {
  AppendBuilt(list, CObjData::kLine, LineEntityChain(layer, points, nullptr));
}

void MakeOldCircleRecord(CObjSez& list, const JovCutParamsOld&, const char* layer, GLVector centre,
                         double diameter) {
  if (!(diameter > 0.0)) return;  // a circle of no size shows nothing
  AppendBuilt(list, CObjData::kCircle, CircleEntityChain(layer, centre, diameter, -1));
}

void MakeOldInsertRecord(CObjSez& list, const JovCutParamsOld& params, const char* blockName,
                         GLVector point, const char* layer, resbuf* xdata, double scale) {
  AppendBuilt(list, CObjData::kInsert,
              InsertEntityChain(layer, blockName, point, params.m_unit, scale, nullptr, xdata));
}

void BuildOldPieceJovData(const JovCutParamsOld& params, jovDatabase::Database* db,
                          const char* branchText, const CSecData* section, resbuf* headA,
                          resbuf* headB) {
  const CString name0 = GetPropertyName(db, 0);
  const CString name2 = GetPropertyName(db, 2);
  const CString name3 = GetPropertyName(db, 3);
  const CString name6 = GetPropertyName(db, 6);
  CString sectionId;
  if (section) sectionId.Format("%d", section->m_id);

  auto build = [&](const CString& typeCode, const CString& field2) -> resbuf* {
    return GroupChainBuilder(0).Build(
        1001, "JOV_DATA", 1000, typeCode.GetString(), 1000, name2.GetString(), 1000,
        field2.GetString(), 1000, name0.GetString(), 1000, "", 1000, "_MJ", 1000, "", 1000,
        name3.GetString(), 1000, "", 1000, "_TYPE", 1000, "128", 1000, name6.GetString(), 1000, "",
        1000, "_BRANCH", 1000, branchText, 1000, "_NUM_SECTION", 1000, sectionId.GetString(), 1000,
        "_NUM_ASSOC", 1000, params.m_stamp.GetString(), -9);
  };
  resbuf* chainA = build(params.m_supplyTypeCode, params.m_supplyText2);
  resbuf* chainB = build(params.m_returnTypeCode, params.m_returnText2);
  if (headA) SpliceGroupChain(headA, chainA); else FreeGroupCodeChain(chainA);
  if (headB) SpliceGroupChain(headB, chainB); else FreeGroupCodeChain(chainB);
}
