#include "jov_vantrix/network/RecordBuilders.h"

#include <cstdint>

#include "common/GroupChainBuilder.h"
#include "common/GroupCodeChain.h"
#include "common/HostExport2D.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/network/CObjConnPntNew.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CObjPntNew.h"
#include "jov_vantrix/network/CObjSezNew.h"
#include "jov_vantrix/network/JovCutParams.h"
#include "jov_vantrix/network/ProductLookup.h"
#include "platform/win32/code_page.h"

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

// A point node's (x, y, 0) of a vertex.
resbuf* PointNode(int16_t code, const GLVector& point) {
  resbuf* node = nullptr;
  if (!CreateGroupCodeNode(&node, code, nullptr)) return nullptr;
  node->value.point[0] = point.x;
  node->value.point[1] = point.y;
  node->value.point[2] = 0.0;
  return node;
}

// Appends point nodes for the first `limit` points of a CObjPntNew list;
// false when a node cannot be made.
template <typename MakeNode>
bool AppendPoints(resbuf* last, const CSeznam& points, int limit, MakeNode make) {
  int n = 0;
  for (const CSeznam* e = points.GetHead(); e && n < limit; e = e->GetNext(), ++n) {
    resbuf* node = make(n, static_cast<const CObjPntNew*>(e)->m_point);
    if (!node) return false;
    last->next = node;
    last = node;
  }
  return true;
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
  const bool aligned = hAlign != 0 || vAlign != 0;
  const GLVector placed = toWcs ? ToWorld(point) : point;
  const GLVector origin;
  GroupChainBuilder builder(0);
  resbuf* alignment = aligned ? builder.Build(72, hAlign, 11, &placed.x, 100, "AcDbText", 73, vAlign, -9)
                              : builder.Build(100, "AcDbText", -9);
  resbuf* chain = builder.Build(0, "TEXT", 100, "AcDbEntity", 8, layer, 100, "AcDbText", 10,
                                aligned ? &origin.x : &placed.x, 40, height, 1, text, 50,
                                params.m_angle, 41, widthFactor, -8, alignment, -8, xdata, -9);
  AppendBuilt(list, kEntityText, chain);
}

CObjDataNew* MakePolylineRecord(CObjSezNew& list, const JovCutParams&, const char* layer,
                                int colour, const CSeznam& vertices, resbuf* xdata) {
  GroupChainBuilder builder(0);
  resbuf* chain = builder.Build(0, "LWPOLYLINE", 100, "AcDbEntity", 8, layer, 62, colour, 100,
                                "AcDbPolyline", 90, static_cast<int>(vertices.GetCount()), 70, 0,
                                43, 0.0, -9);
  if (!chain) {
    FreeGroupCodeChain(xdata);
    return nullptr;
  }
  const bool made = AppendPoints(LastGroupCodeNode(&chain), vertices, INT32_MAX,
                                 [](int, const GLVector& p) { return PointNode(10, ToWorld(p)); });
  if (!made) {
    FreeGroupCodeChain(chain);
    FreeGroupCodeChain(xdata);
    return nullptr;
  }
  LastGroupCodeNode(&chain)->next = xdata;
  return AppendBuilt(list, kEntityLwPolyline, chain);
}

void MakeLineRecord(CObjSezNew& list, const JovCutParams&, const char* layer, const CSeznam& points,
                    bool toUcs) {
  GroupChainBuilder builder(0);
  resbuf* chain = builder.Build(0, "LINE", 100, "AcDbEntity", 8, layer, 100, "AcDbLine", -9);
  if (!chain) return;
  // Only 10-19 are point codes: further points have no place in a LINE.
  const bool made = AppendPoints(LastGroupCodeNode(&chain), points, 10, [toUcs](int n, const GLVector& p) {
    return PointNode(static_cast<int16_t>(10 + n), toUcs ? ToUser(p) : ToWorld(p));
  });
  if (!made) {
    FreeGroupCodeChain(chain);
    return;
  }
  AppendBuilt(list, kEntityLine, chain);
}

void MakeCircleRecord(CObjSezNew& list, const JovCutParams&, const char* layer, GLVector centre,
                      double diameter, int16_t colour) {
  const GLVector placed = ToWorld(centre);
  GroupChainBuilder builder(0);
  resbuf* colourNode = colour != -1 ? builder.Build(62, static_cast<int>(colour), -9) : nullptr;
  resbuf* chain = builder.Build(0, "CIRCLE", 100, "AcDbEntity", 8, layer, -8, colourNode, 100,
                                "AcDbCircle", 10, &placed.x, 40, diameter / 2.0, -9);
  AppendBuilt(list, kEntityCircle, chain);
}

void MakeInsertRecord(CObjSezNew& list, const JovCutParams& params, const CString& blockName,
                      GLVector point, const char* layer, resbuf* xdata, double scale) {
  const GLVector placed = ToWorld(point);
  GroupChainBuilder builder(0);
  resbuf* scales = params.m_units == 1 ? builder.Build(41, scale * 0.001, 42, 0.001, 43, 0.001, -9)
                                       : builder.Build(41, scale, -9);
  resbuf* chain = builder.Build(0, "INSERT", 100, "AcDbEntity", 8, layer, 100, "AcDbBlockReference",
                                2, blockName.GetString(), 10, &placed.x, -8, scales, 50,
                                params.m_angle, -8, xdata, -9);
  AppendBuilt(list, kEntityInsert, chain);
}

bool MakeBlockFromSymbol(CString& blockName, GLVector basePoint, resbuf* symbol,
                         CSeznam& connectionPoints) {
  const HostExport2D* host = TheApp().m_pHostTable;
  if (HostBlockBegin(host, blockName, 1, &basePoint.x, &basePoint.y, &basePoint.z) != HOST_NORMAL)
    return false;

  bool refused = false;
  resbuf* entity = symbol;
  while (entity && entity->code != 0) entity = entity->next;
  while (entity && !refused) {
    bool onDefpoints = false;
    bool colourKept = true;
    resbuf* last = entity;
    for (resbuf* n = entity; n && (n == entity || n->code != 0); n = n->next) {
      if (n->code == 8 && n->value.text) onDefpoints = _mbsicmp(n->value.text, "DEFPOINTS") == 0;
      if (n->code == 62) colourKept = n->value.i16 == 7;
      last = n;
    }
    resbuf* following = last->next;
    if (!onDefpoints) {
      // The host sees this one entity: the chain is cut behind it for the call.
      last->next = nullptr;
      refused = HostBlockAddEntity(host, entity) != HOST_NORMAL;
      last->next = following;
    } else if (colourKept) {
      connectionPoints.AddTail(new CObjConnPntNew(entity));
    }
    entity = following;
  }

  char name[256] = "";
  const bool ended = HostBlockEnd(host, name) == HOST_NORMAL;
  if (refused || !ended) return false;
  blockName = name;
  return true;
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
                                "_PREFIX_RISER", 1000, owner->m_riserPrefix.GetString(), 1000,
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
