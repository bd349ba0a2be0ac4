#include "jov_vantrix/network/EntityChains.h"

#include <cstdint>

#include "common/GroupChainBuilder.h"
#include "dataformat/GroupCodeChain.h"
#include "common/HostExport2D.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/network/CObjPntNew.h"
#include "platform/mfc/CString.h"
#include "platform/win32/code_page.h"

namespace {

// A point node's (x, y, 0) of a vertex.
resbuf* PointNode(int16_t code, const GLVector& point) {
  resbuf* node = nullptr;
  if (!CreateGroupCodeNode(&node, code, nullptr)) return nullptr;
  node->value.point[0] = point.x;
  node->value.point[1] = point.y;
  node->value.point[2] = 0.0;
  return node;
}

// Appends a point node made with `code(n)` for each of the first `limit`
// points of a point-node list; false when a node cannot be made.
template <typename Code>
bool AppendPoints(resbuf* last, const CSeznam& points, int limit, PointConverter convert, Code code) {
  int n = 0;
  for (const CSeznam* e = points.GetHead(); e && n < limit; e = e->GetNext(), ++n) {
    const GLVector& point = static_cast<const CObjPntNew*>(e)->m_point;
    resbuf* node = PointNode(code(n), convert ? convert(point) : point);
    if (!node) return false;
    last->next = node;
    last = node;
  }
  return true;
}

}  // namespace

resbuf* TextEntityChain(const char* layer, const char* text, GLVector point, double height,
                        const double* rotation, double widthFactor, int hAlign, int vAlign,
                        resbuf* xdata) {
  resbuf* chain = nullptr;
  resbuf* last = LayTextEntity({layer, text, point, height, rotation, widthFactor, hAlign, vAlign}, &chain,
                               [](int16_t code, const char* value) {
                                 resbuf* node = nullptr;
                                 if (CreateGroupCodeNode(&node, code, value)) return node;
                                 FreeGroupCodeChain(node);  // made, but not its text
                                 return static_cast<resbuf*>(nullptr);
                               });
  if (!last) {
    FreeGroupCodeChain(chain);
    FreeGroupCodeChain(xdata);
    return nullptr;
  }
  last->next = xdata;
  return chain;
}

resbuf* PolylineEntityChain(const char* layer, int colour, const CSeznam& vertices,
                            PointConverter convert, resbuf* xdata) {
  GroupChainBuilder builder(0);
  resbuf* chain = builder.Build(0, "LWPOLYLINE", 100, "AcDbEntity", 8, layer, 62, colour, 100,
                                "AcDbPolyline", 90, static_cast<int>(vertices.GetCount()), 70, 0,
                                43, 0.0, -9);
  if (!chain || !AppendPoints(LastGroupCodeNode(&chain), vertices, INT32_MAX, convert,
                              [](int) -> int16_t { return 10; })) {
    FreeGroupCodeChain(chain);
    FreeGroupCodeChain(xdata);
    return nullptr;
  }
  LastGroupCodeNode(&chain)->next = xdata;
  return chain;
}

resbuf* LineEntityChain(const char* layer, const CSeznam& points, PointConverter convert) {
  GroupChainBuilder builder(0);
  resbuf* chain = builder.Build(0, "LINE", 100, "AcDbEntity", 8, layer, 100, "AcDbLine", -9);
  if (!chain || !AppendPoints(LastGroupCodeNode(&chain), points, 10, convert,
                              [](int n) { return static_cast<int16_t>(10 + n); })) {
    FreeGroupCodeChain(chain);
    return nullptr;
  }
  return chain;
}

resbuf* CircleEntityChain(const char* layer, GLVector centre, double diameter, int16_t colour) {
  GroupChainBuilder builder(0);
  resbuf* colourNode = nullptr;
  if (colour != -1 && !(colourNode = builder.Build(62, static_cast<int>(colour), -9))) return nullptr;
  return builder.Build(0, "CIRCLE", 100, "AcDbEntity", 8, layer, -8, colourNode, 100, "AcDbCircle",
                       10, &centre.x, 40, diameter / 2.0, -9);
}

resbuf* InsertEntityChain(const char* layer, const char* blockName, GLVector point, int32_t units,
                          double scale, const double* rotation, resbuf* xdata) {
  GroupChainBuilder builder(0);
  resbuf* scales = units == 1 ? builder.Build(41, scale * 0.001, 42, 0.001, 43, 0.001, -9)
                              : builder.Build(41, scale, -9);
  resbuf* angle = rotation ? builder.Build(50, *rotation, -9) : nullptr;
  if (!scales || (rotation && !angle)) {
    FreeGroupCodeChain(scales);
    FreeGroupCodeChain(angle);
    FreeGroupCodeChain(xdata);
    return nullptr;
  }
  return builder.Build(0, "INSERT", 100, "AcDbEntity", 8, layer, 100, "AcDbBlockReference", 2,
                       blockName, 10, &point.x, -8, scales, -8, angle, -8, xdata, -9);
}

bool DefineSymbolBlock(CString& blockName, GLVector basePoint, resbuf* symbol,
                       CSeznam& connectionPoints, ConnectionNodeMaker makeNode) {
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
      connectionPoints.AddTail(makeNode(entity));
    }
    entity = following;
  }

  char name[256] = "";
  const bool ended = HostBlockEnd(host, name) == HOST_NORMAL;
  if (refused || !ended) return false;
  blockName = name;
  return true;
}
