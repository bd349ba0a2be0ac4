// Records of a picked branch as the selection reader leaves them, for the
// section generator's tests: object type, branch number, side and the
// values the generator reads, with a pipe's ends and length.
#pragma once

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CObjSezNew.h"

inline CObjDataNew* AddRecord(CObjSezNew& list, int type, const char* branch, const char* side,
                              const char* riser = "") {
  auto* r = new CObjDataNew(0, type, nullptr, list.GetCount());
  r->m_branchName = "V1";
  r->m_branchNumber = branch;
  r->m_sideNumber = side;
  r->m_riserNumber = riser;
  list.AddTail(r);
  return r;
}

inline CObjDataNew* AddPipe(CObjSezNew& list, int type, const char* branch, const char* side, GLVector a,
                            GLVector b, bool start = false) {
  CObjDataNew* r = AddRecord(list, type, branch, side, "0");
  r->m_start = a;
  r->m_end = b;
  r->m_length = (b - a).Length();
  if (start) r->m_CM = r->m_CT = "1";
  return r;
}

#include "common/GroupChainBuilder.h"
#include "jov_vantrix/network/RecordGeometry.h"
#include "jov_vantrix/section/SectionNumbering.h"
#include "jov_vantrix/tests/RecordingHost.h"

// A recording host whose user coordinates are the world's.
struct PlainHost : RecordingHost {
  PlainHost() {
    table.slot[HostSlot::UcsToWcs] = reinterpret_cast<HostProc>(+[](double*, bool) { return HOST_NORMAL; });
  }
};

// The product chains a look-up would have fetched for the record: a 600 x
// 500 millimetre rectangle of four LINEs from the origin and one
// connection point (a DEFPOINTS circle of colour 7) per code, at (50, 0),
// (100, 0) ... (or at pointY), with data whose "_PTS" records carry the
// codes in that order. Only connection points with onlyPoints.
inline void GiveProduct(CObjDataNew& record, const std::vector<const char*>& codes, int units,
                        bool onlyPoints = false, double pointY = 0.0) {
  GroupChainBuilder b(0);
  const double o[3] = {0, 0, 0}, x[3] = {600, 0, 0}, xy[3] = {600, 500, 0}, y[3] = {0, 500, 0};
  resbuf* geometry = onlyPoints ? nullptr
                                : b.Build(0, "LINE", 8, "0", 10, o, 11, x, 0, "LINE", 8, "0", 10, x, 11, xy, 0,
                                          "LINE", 8, "0", 10, xy, 11, y, 0, "LINE", 8, "0", 10, y, 11, o, -9);
  std::string points = std::to_string(codes.size()) + "\n";
  for (size_t i = 0; i < codes.size(); ++i) {
    const double c[3] = {50.0 * static_cast<double>(i + 1), pointY, 0};
    LastGroupCodeNode(&geometry)->next = b.Build(0, "CIRCLE", 8, "DEFPOINTS", 62, 7, 10, c, 40, 5.0, -9);
    points += "P" + std::to_string(i) + "\n0\n0\n" + codes[i] + "\n";
  }
  CObjDataNew::RunPart& runs = record.Runs();
  FreeGroupCodeChain(runs.m_pProductGeometry);
  FreeGroupCodeChain(runs.m_pProductData);
  runs.m_pProductGeometry = geometry;
  runs.m_pProductData = b.Build(1001, "JOV_DATA", 1000, "TXX0600-0001", 1000, "_PTS", 1000, points.c_str(), -9);
  ComputeBoundingBox(&record, geometry, units);
}

// The entity chain of an insert on "NET", with its X scale when given.
inline void GiveInsert(CObjDataNew& record, const double* xScale = nullptr) {
  OwnedChain chain(xScale ? GroupChainBuilder(0).Build(0, "INSERT", 8, "NET", 41, *xScale, -9)
                          : GroupChainBuilder(0).Build(0, "INSERT", 8, "NET", -9));
  record.m_entityChain.Assign(chain.get());
  record.m_entityKind = kEntityInsert;
}

// Reading what the generator built.
inline const CObjDataNew* At(const CPtrArray& array, INT_PTR i) { return static_cast<const CObjDataNew*>(array[i]); }

inline std::vector<std::pair<double, double>> Vertices(const CObjDataNew* record) {
  std::vector<std::pair<double, double>> out;
  for (const resbuf* n = record->GetChain(); n; n = n->next)
    if (n->code == 10) out.emplace_back(n->value.point[0], n->value.point[1]);
  return out;
}

// The value of a "JOV_DATA" key of a chain; "?" when absent.
inline std::string Value(const resbuf* chain, const char* key) {
  resbuf* pairs = FindJovDataPairs(const_cast<resbuf*>(chain), nullptr);
  for (const resbuf* n = pairs; n && n->next; n = n->next->next)
    if (n->value.text && std::strcmp(n->value.text, key) == 0) return n->next->value.text;
  return "?";
}
inline std::string TypeCode(const resbuf* chain) {
  CString code;
  return FindJovDataPairs(const_cast<resbuf*>(chain), &code) ? code.GetString() : "?";
}
inline std::string Link(const resbuf* chain) {
  const resbuf* n = FindXDataByAppName(chain, "JOV_LINK");
  return n && n->next ? n->next->value.text : "";
}

