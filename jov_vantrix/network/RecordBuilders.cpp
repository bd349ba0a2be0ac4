#include "jov_vantrix/network/RecordBuilders.h"

#include <cstdint>

#include "common/GroupChainBuilder.h"
#include "dataformat/GroupCodeChain.h"
#include "common/HostExport2D.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/network/CObjConnPntNew.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CObjPntNew.h"
#include "jov_vantrix/network/CObjSezNew.h"
#include "jov_vantrix/network/EntityChains.h"
#include "jov_vantrix/network/JovCutParams.h"
#include "jov_vantrix/network/ProductLookup.h"

namespace {

// A point for the drawing: world coordinates from the user's (or the other
// way round), through the host.
GLVector ToWorld(GLVector point) {
  HostUcsToWcs(TheApp().m_pHostTable, &point.x, false);
  return point;
}

GLVector ToUser(GLVector point) {
  HostWcsToUcs(TheApp().m_pHostTable, &point.x, false);
  return point;
}

CObjDataNew* AppendBuilt(CObjSezNew& list, int entityKind, resbuf* chain) {
  if (!chain) return nullptr;
  auto* record = new CObjDataNew(entityKind, kObjectOther, nullptr, UINT32_MAX);
  record->SetBuiltChain(chain);
  list.AddTail(record);
  return record;
}

CString FormatReal(const char* format, double value) {
  CString text;
  text.Format(format, value);
  return text;
}

}  // namespace

void MakeTextRecord(CObjSezNew& list, const JovCutParams& params, const char* text, GLVector point,
                    double height, double widthFactor, int hAlign, int vAlign, const char* layer,
                    resbuf* xdata, bool toWcs) {
  AppendBuilt(list, kEntityText,
              TextEntityChain(layer, text, toWcs ? ToWorld(point) : point, height, &params.m_angle,
                              widthFactor, hAlign, vAlign, xdata));
}

CObjDataNew* MakePolylineRecord(CObjSezNew& list, const JovCutParams&, const char* layer,
                                int colour, const CSeznam& vertices, resbuf* xdata) {
  return AppendBuilt(list, kEntityLwPolyline, PolylineEntityChain(layer, colour, vertices, &ToWorld, xdata));
}

void MakeLineRecord(CObjSezNew& list, const JovCutParams&, const char* layer, const CSeznam& points,
                    bool toUcs) {
  AppendBuilt(list, kEntityLine, LineEntityChain(layer, points, toUcs ? &ToUser : &ToWorld));
}

void MakeCircleRecord(CObjSezNew& list, const JovCutParams&, const char* layer, GLVector centre,
                      double diameter, int16_t colour) {
  AppendBuilt(list, kEntityCircle, CircleEntityChain(layer, ToWorld(centre), diameter, colour));
}

void MakeInsertRecord(CObjSezNew& list, const JovCutParams& params, const CString& blockName,
                      GLVector point, const char* layer, resbuf* xdata, double scale) {
  AppendBuilt(list, kEntityInsert,
              InsertEntityChain(layer, blockName, ToWorld(point), params.m_units, scale,
                                &params.m_angle, xdata));
}

bool MakeBlockFromSymbol(CString& blockName, GLVector basePoint, resbuf* symbol,
                         CSeznam& connectionPoints) {
  return DefineSymbolBlock(blockName, basePoint, symbol, connectionPoints,
                           [](const resbuf* entity) -> CSeznam* { return new CObjConnPntNew(entity); });
}

void BuildPieceJovData(const CObjSezNew& list, const JovCutParams& params, const char* valueA,
                       const char* valueB, const char* branchNumber, const char* branchName,
                       const char* sideNumber, double lengthA, double lengthB,
                       const char* linkHandle, resbuf* headA, resbuf* headB,
                       const CObjDataNew* owner) {
  const CString name0 = GetPropertyName(list.m_pDatabase, 0);
  const CString name2 = GetPropertyName(list.m_pDatabase, 2);
  const CString name3 = GetPropertyName(list.m_pDatabase, 3);
  const CString name6 = GetPropertyName(list.m_pDatabase, 6);

  auto build = [&](const CString& typeCode, const CString& field2, const char* value, double length,
                   bool sideFlag) -> resbuf* {
    GroupChainBuilder builder(0);
    const CString distance = FormatReal("%.3f", params.m_pipeDistance);
    resbuf* ownerKeys = nullptr;
    if (owner && owner->m_objectType == kObjectRiser) {
      ownerKeys = builder.Build(1000, "_NUM_RISER", 1000, owner->m_riserNumber.GetString(), 1000,
                                "_PREFIX_RISER", 1000, owner->RunsOrNone().m_riserPrefix.GetString(), 1000,
                                "_POS_RISER", 1000, owner->m_riserPosition.GetString(), 1000,
                                "_DIST_PIPE", 1000, distance.GetString(), 1000, "_SIDE_PIPE", 1000,
                                sideFlag ? "1" : "0", -9);
    } else if (owner && owner->m_objectType == kObjectNetworkInsert) {
      ownerKeys = builder.Build(1000, "CM", 1000, owner->m_CM.GetString(), 1000, "CT", 1000,
                                owner->m_CT.GetString(), -9);
    } else if (owner && owner->m_objectType == kObjectPickedBranch) {
      ownerKeys = builder.Build(1000, "_NUM_RISER", 1000, owner->m_riserNumber.GetString(), 1000,
                                "_POS_RISER", 1000, owner->m_riserPosition.GetString(), 1000, "CM",
                                1000, owner->m_CM.GetString(), 1000, "CZ", 1000,
                                owner->m_CZ.GetString(), -9);
    }
    resbuf* link = linkHandle ? builder.Build(1001, "JOV_LINK", 1000, linkHandle, -9) : nullptr;
    const CString segment = FormatReal("%.3f", length);
    return builder.Build(
        1001, "JOV_DATA", 1000, typeCode.GetString(), 1000, name2.GetString(), 1000,
        field2.GetString(), 1000, name0.GetString(), 1000, "", 1000, "_MJ", 1000, "", 1000,
        name3.GetString(), 1000, value, 1000, "_TYPE", 1000, "128", 1000, name6.GetString(), 1000,
        "", 1000, "_NBRANCH", 1000, branchName, 1000, "_NUM_BRANCH", 1000, branchNumber, 1000,
        "_NUM_SIDE", 1000, sideNumber, 1000, "_DW_NUMBER", 1000, "", 1000, "_DW_NUMBER_ORIG",
        1000, "", 1000, "_DW_CONNECT", 1000, "", 1000, "_DW_CONNECT_ORIG", 1000, "", -8,
        ownerKeys, 1000, "_NUM_ASSOC", 1000, params.m_assocStamp.GetString(), 1000, "_SCH_ASSOC",
        1000, params.m_schemeStamp.GetString(), 1000, "_LENGTH_SEGMENT", 1000,
        segment.GetString(), -8, link, -9);
  };

  resbuf* chainA = build(params.m_pipe1TypeCode, params.m_pipe1Field2, valueA, lengthA,
                         params.m_pipeSwitch);
  resbuf* chainB = build(params.m_pipe2TypeCode, params.m_pipe2Field2, valueB, lengthB,
                         !params.m_pipeSwitch);
  if (headA) SpliceGroupChain(headA, chainA); else FreeGroupCodeChain(chainA);
  if (headB) SpliceGroupChain(headB, chainB); else FreeGroupCodeChain(chainB);
}
