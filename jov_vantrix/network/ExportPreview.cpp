// The export dialog's preview of the network: what FillPreview puts into
// the scene, and how the dialog redraws and lets go of it.
#include <cmath>
#include <cstdlib>

#include "common/GLMatrix.h"
#include "common/Prefetch.h"
#include "dataformat/GroupCodeChain.h"
#include "common/HostExport2D.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/network/CJov_ExportDlg.h"
#include "jov_vantrix/network/CNumSezNew.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/ExportPreview.h"
#include "jov_vantrix/network/ProductLookup.h"
#include "jov_vantrix/network/RecordGeometry.h"
#include "objectgl/GLText.h"
#include "platform/win32/code_page.h"
#include "platform/win32/profile.h"

namespace {

constexpr uint32_t kMarkerName = 0xFFFFFFFF;  // -1: never picked
constexpr uint32_t kDefaultColour = 7;
constexpr uint32_t kTerminalColour = 254;     // groups of class 2
constexpr uint32_t kSupplyColour = 1;
constexpr uint32_t kReturnColour = 5;
constexpr double kAlignTolerance = 1e-5;

const resbuf* Node(const resbuf* chain, int16_t code) {
  for (const resbuf* n = chain; n; n = n->next)
    if (n->code == code) return n;
  return nullptr;
}

double Real(const resbuf* chain, int16_t code, double fallback) {
  const resbuf* n = Node(chain, code);
  return n ? n->value.real : fallback;
}

// Hints the chains of the records a group's walk comes to: each lies in a
// block of its own, far from its record. A block's head a few records
// ahead, then, nearer, the nodes up to the extended data that the preview
// reads.
class ChainsAhead {
 public:
  explicit ChainsAhead(const CObjDataNew* first) : blocks_(first), chains_(first) {
    for (int k = 0; k < kBlocksAhead; ++k) StepBlocks();
    for (int k = 0; k < kChainsAhead; ++k) StepChains();
  }
  void Step() {
    StepBlocks();
    StepChains();
  }

 private:
  static constexpr int kBlocksAhead = 8, kChainsAhead = 4;
  static constexpr size_t kChainBytes = 512;
  void StepBlocks() {
    if (!blocks_) return;
    blocks_->m_entityChain.PrefetchBlock();
    blocks_ = blocks_->GetNextRecord();
  }
  void StepChains() {
    if (!chains_) return;
    PrefetchBytes(chains_->GetChain(), kChainBytes);
    chains_ = chains_->GetNextRecord();
  }
  const CObjDataNew* blocks_;
  const CObjDataNew* chains_;
};

GLVector ToUcs(const GLVector& point) {
  double p[3] = {point.x, point.y, point.z};
  HostWcsToUcs(TheApp().m_pHostTable, p, false);
  return GLVector(p);
}

}  // namespace

void PreviewInsertTransforms(const resbuf* insert, int units, GLMatrix& place, GLMatrix& mirror) {
  const HostExport2D* host = TheApp().m_pHostTable;
  GLMatrix scale;
  if (units == 1) scale.SetScale(0.001);
  double xAxis[3] = {1.0, 0.0, 0.0};
  HostUcsToWcs(host, xAxis, true);
  const double origin[3] = {0.0, 0.0, 0.0};
  GLMatrix rotation;
  rotation.SetRotationZ(Real(insert, 50, 0.0) - AngleOfPoints(origin, xAxis));
  double at[3] = {0.0, 0.0, 0.0};
  if (const resbuf* n = Node(insert, 10)) {
    for (int i = 0; i < 3; ++i) at[i] = n->value.point[i];
  }
  HostWcsToUcs(host, at, false);
  GLMatrix move;
  move.SetTranslation(at[0], at[1], at[2]);
  place = scale;
  place *= rotation;
  place *= move;
  mirror.SetIdentity();
  if (Real(insert, 41, 1.0) < 0.0) mirror.SetRotationY(M_PI);
}

void CJov_ExportDlg::FillPreview() {
  double styleHeight = 1.0;
  const uint32_t style = m_preview.TextStyleFor(&styleHeight);

  char background[20] = "";
  char settings[MAX_PATH];
  TheApp().GetDataPath(settings, "Jov.ini", MAX_PATH);
  GetPrivateProfileStringA("VIEW", "BGCOLOR", "", background, sizeof background, settings);
  const int scheme = background[0] ? std::atoi(background) : 0;
  m_preview.ClearScene(false);
  if (scheme >= 0 && scheme <= 2) m_preview.SetBackground(static_cast<uint32_t>(scheme), false);

  // Without the product library the preview stays empty.
  if (!TheApp().m_pPPGetResbufEx) return;

  m_preview.lineWidth = 1.0f;
  for (INT_PTR i = 0; i < m_network.m_markerCircles.GetSize(); ++i) {
    auto* marker = static_cast<CObjDataNew*>(m_network.m_markerCircles[i]);
    resbuf* cursor = const_cast<resbuf*>(marker->GetChain());
    m_preview.AddEntityChain(&cursor, nullptr, nullptr, kMarkerName, nullptr, kDefaultColour, false);
  }

  m_preview.SetMaxPickId(kPickLimit);
  const int units = m_params.units;
  PreviewProducts products;
  for (CNumSezNew* group = m_network.m_scheme.GetFirstGroup(); group; group = group->GetNextGroup()) {
    m_preview.lineWidth = 2.0f;
    uint32_t colour = kDefaultColour;
    uint32_t name = group->m_number;
    if (group->IsFixed()) {
      m_preview.lineWidth = 0.5f;
      name += kPickLimit;
    } else if (group->m_class == 2) {
      colour = kTerminalColour;
    }
    ChainsAhead ahead(group->GetFirstRecord());
    for (CObjDataNew* r = group->GetFirstRecord(); r; r = r->GetNextRecord(), ahead.Step()) {
      uint32_t recordColour = colour;
      if (group->IsFixed() && r->m_objectType == kObjectSupplyPipe) recordColour = kSupplyColour;
      if (group->IsFixed() && r->m_objectType == kObjectReturnPipe) recordColour = kReturnColour;
      const resbuf* chain = r->GetChain();
      const char* type = GetEntityString(chain, 0);
      if (!type || _mbsicmp(type, "INSERT") != 0) {
        m_preview.AddRecordEntity(chain, name, &r->m_previewEntities, recordColour);
        continue;
      }
      LookupProductForPreview(r, m_network.m_pDatabase, &units, &products);
      if (!r->RunsOrNone().m_pProductGeometry) continue;
      GLMatrix place;
      GLMatrix mirror;
      PreviewInsertTransforms(chain, units, place, mirror);
      resbuf* cursor = r->RunsOrNone().m_pProductGeometry;
      m_preview.AddEntityChain(&cursor, &place, &mirror, name, &r->m_previewEntities, recordColour, true);
    }

    if (group->IsFixed()) continue;
    const double offset = m_configuredHeight * units / 50.0;
    const double labelHeight = 300.0 * units / 1000.0;
    const double angle = 0.0;
    for (CObjDataNew* r = group->GetFirstRecord(); r; r = r->GetNextRecord()) {
      if (r->m_objectType != kObjectSupplyPipe) continue;
      GLVector start;
      GLVector end;
      double length = 0.0;
      GetPathEndsAndLength(r, start, end, length);
      GLVector at = ToUcs(GLVector((start.x + end.x) / 2, (start.y + end.y) / 2, (start.z + end.z) / 2));
      start = ToUcs(start);
      end = ToUcs(end);
      if (std::fabs(start.x - end.x) < kAlignTolerance)
        at.x += offset;
      else if (std::fabs(start.y - end.y) < kAlignTolerance)
        at.y = end.y + offset / 2;
      CString number;
      number.Format("%d", r->GetNumber());
      GLText* label = nullptr;
      m_preview.AddText(&label, style, number, at, colour, &angle, &labelHeight, name);
      r->m_pNumberLabel = label;
    }
  }
  m_preview.SetMaxPickId(kPickLimit);
  const double factor = 1.25;
  m_preview.ZoomExtents(true, &factor);
}

void CJov_ExportDlg::RedrawPreview() { m_preview.Invalidate(TRUE); }

void CJov_ExportDlg::ForgetPreview() {
  // FillPreview gives entities only to the groups' records, and no record
  // leaves its group while the dialog is open: the records no group takes
  // (most of a drawing's) need no walk.
  for (CNumSezNew* group = m_network.m_scheme.GetFirstGroup(); group; group = group->GetNextGroup())
    for (CObjDataNew* r = group->GetFirstRecord(); r; r = r->GetNextRecord()) {
      r->m_previewEntities.RemoveAll();
      r->m_pNumberLabel = nullptr;
    }
}
