// The export dialog's numbering of segment groups: a pick numbers one
// group, number all the rest, undo takes the last step back; the numbers
// stay aligned with the first segment number, and OK waits until every
// group is numbered or fixed.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <unordered_set>
#include <vector>

#include "jov_vantrix/frame/PickBanner.h"
#include "jov_vantrix/network/CJov_ExportDlg.h"
#include "jov_vantrix/network/CNumSezNew.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CUndoArray.h"
#include "jov_vantrix/network/ExportSectionList.h"
#include "jov_vantrix/network/SegmentNumbering.h"

void CJov_ExportDlg::AfterNumberingChange() {
  const bool steps = m_pUndo && m_pUndo->GetSize() > 0;
  m_undoButton.EnableWindow(steps);
  // The first number is fixed while a step is on the stack.
  m_firstNumberBox.EnableWindow(!steps);
  UpdateOkState();
}

void CJov_ExportDlg::OnPreviewPick(uint32_t id) {
  // A name above the pick limit (a fixed group) is reported only under the
  // cursor; it numbers nothing, so it must not ask for the first number.
  if (id >= kPickLimit) return;
  if (!StartNumbering()) return;
  if (!NumberSchemeGroup(m_network, static_cast<int>(id))) {
    RedrawPreview();
    return;
  }
  RebaseNumbers();
  AfterNumberingChange();
  RedrawPreview();
}

namespace {

// The smallest number of the group's records but 0; INT64_MAX for none.
int64_t SmallestNumberOf(const CNumSezNew* group) {
  int64_t smallest = INT64_MAX;
  for (const CObjDataNew* r = group->GetFirstRecord(); r; r = r->GetNextRecord())
    if (r->GetNumber() != 0) smallest = std::min<int64_t>(smallest, r->GetNumber());
  return smallest;
}

}  // namespace

int64_t CJov_ExportDlg::RebaseNumbers() {
  // The smallest of the numbers there are, however large the first one.
  int64_t smallest = INT64_MAX;
  for (CNumSezNew* group = m_network.m_scheme.GetFirstGroup(); group; group = group->GetNextGroup())
    if (group->m_changed) smallest = std::min(smallest, SmallestNumberOf(group));
  if (smallest == INT64_MAX) return smallest;
  const int64_t difference = smallest - FirstNumber();
  if (difference == 0) return smallest;
  // The first number was checked against the scheme's numbers: the
  // results fit int.
  auto moved = [difference](int number) { return static_cast<int>(number - difference); };
  for (CNumSezNew* group = m_network.m_scheme.GetFirstGroup(); group; group = group->GetNextGroup()) {
    if (!group->m_changed) continue;
    for (CObjDataNew* r = group->GetFirstRecord(); r; r = r->GetNextRecord()) {
      if (r->GetNumber() != 0) r->SetNumber(moved(r->GetNumber()));
      if (r->GetConnect() != 0) r->SetConnect(moved(r->GetConnect()));
      UpdateNumberLabel(r);
    }
  }
  return FirstNumber();
}

void CJov_ExportDlg::OnNumberAll() {
  if (!StartNumbering()) return;
  ShowPickBanner(true);
  // In reverse list order: each group in front of those before it.
  std::vector<CNumSezNew*> pending;
  for (CNumSezNew* group = m_network.m_scheme.GetFirstGroup(); group; group = group->GetNextGroup())
    if (!group->IsFixed() && !group->m_changed) pending.push_back(group);
  std::reverse(pending.begin(), pending.end());
  // Once rebased, the changed groups' numbers start at the first number (or
  // there are none): a group numbered next moves them only when its own
  // numbers would start them elsewhere, so only its own are read.
  bool rebased = false;
  int64_t smallest = INT64_MAX;
  bool numbered = true;
  while (!pending.empty() && numbered) {
    numbered = false;
    for (auto it = pending.begin(); it != pending.end(); ++it) {
      if (!NumberSchemeGroup(m_network, static_cast<int>((*it)->m_number) - 1)) continue;
      const int64_t all = std::min(smallest, SmallestNumberOf(*it));
      smallest = !rebased || (all != INT64_MAX && all != FirstNumber()) ? RebaseNumbers() : all;
      rebased = true;
      RedrawPreview();
      pending.erase(it);
      numbered = true;
      break;
    }
  }
  AfterNumberingChange();
  ShowPickBanner(false);
}

void CJov_ExportDlg::OnUndoStep() {
  if (!m_pUndo || m_pUndo->GetSize() == 0) return;
  if (!m_network.m_scheme.UndoStep(static_cast<uint32_t>(m_pUndo->GetUpperBound()))) return;
  AfterNumberingChange();
  RedrawPreview();
  UpdateData(FALSE);
}

void CJov_ExportDlg::UpdateOkState() {
  bool done = true;
  CNumSezNew* firstWithFlagA = nullptr;
  for (CNumSezNew* group = m_network.m_scheme.GetFirstGroup(); group; group = group->GetNextGroup()) {
    done = done && (group->IsFixed() || group->m_changed);
    if (!firstWithFlagA && group->m_flagA) firstWithFlagA = group;
  }
  m_okButton.EnableWindow(done);
  if (!done || !firstWithFlagA) return;

  // Along link B from the group's previous record; a record met again ends
  // the walk (the links may close a loop).
  std::unordered_set<const CObjDataNew*> visited;
  for (CObjDataNew* r = firstWithFlagA->m_pPreviousRecord; r && visited.insert(r).second; r = r->m_pLinkB) {
    if (!r->m_pLinkA || r->m_pLinkA != r->m_pFurther1 || !r->m_pGroup) continue;
    const int connect = r->m_pLinkA->GetNumber();
    const uint32_t otherType = r->m_objectType == kObjectSupplyPipe ? kObjectReturnPipe : kObjectSupplyPipe;
    if (CObjDataNew* partner = FindRecordByReadNumber(*r->m_pGroup, otherType, r->GetReadConnect()))
      partner->SetConnect(connect);
    r->SetConnect(connect);
  }
}
