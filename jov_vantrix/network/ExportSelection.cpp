// What the export reads before its dialog opens: the user's selection, or
// the copies of it that a renumber reset keeps in the dialog.
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>

#include "dataformat/GroupCodeChain.h"
#include "dataformat/HeapCopy.h"
#include "common/HostExport2D.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/frame/PickBanner.h"
#include "jov_vantrix/network/CJov_ExportDlg.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/ExportNetworkReader.h"
#include "jov_vantrix/network/NetworkRecords.h"
#include "jov_vantrix/network/RecordWriteBack.h"
#include "jov_vantrix/network/SelectionCopyWalk.h"
#include "platform/mfc/module_state.h"
#include "platform/resources/jov_vantrix/resource_ids.h"
#include "platform/win32/code_page.h"
#include "platform/win32/resources.h"

namespace {

constexpr uint32_t kPipeFlag = 128;

// The value node of the first pair named key after the node, or null.
resbuf* PairValue(resbuf* node, const char* key) {
  for (; node && node->next; node = node->next)
    if (node->code == 1000 && node->value.text && _mbsicmp(node->value.text, key) == 0) return node->next;
  return nullptr;
}

void SetText(resbuf* node, const char* text) {
  char* copy = DupString(text);
  if (!copy) return;
  std::free(node->value.text);
  node->value.text = copy;
}

}  // namespace

int PreselectNetwork(CJov_ExportDlg& dialog, bool prompt) {
  if (!prompt) return ReadExportNetwork(dialog.m_network, dialog.m_keptChains);
  const HostExport2D* host = TheApp().m_pHostTable;
  char text[256] = "";
  LoadStringA(AfxGetResourceHandle(), IDS_PROMPT_SELECT_EXPORT, text, sizeof text);
  // A prompt the user left is no failure to report.
  int result = kExportPickCancelled;
  if (HostSelect(host, text, 2, 0, nullptr) == HOST_NORMAL) {
    result = kExportUnusable;
    if (ShowPickBanner(true) == 1)
      result = HostSelect(host, text, 0, 4, nullptr) == HOST_NORMAL ? ReadExportNetwork(dialog.m_network, nullptr)
                                                                    : kExportPickCancelled;
  }
  ShowPickBanner(false);
  return result;
}

namespace {

// The section pipes of a copy of an entity chain get their numbers of
// before the first export back.
void ResetNumbersOf(resbuf* copy) {
  const std::unique_ptr<CObjDataNew> record(NewReadRecord(copy, 0));
  const resbuf* chain = record->m_entityChain.GetChain();
  const char* type = GetEntityString(chain, 0);
  CJovData& data = record->m_jovData;
  if (!type || std::strcmp(type, "LWPOLYLINE") != 0 || !data.ReadXData(chain) ||
      !data.m_typeFlags.HasAll(kPipeFlag) || IncludeFlagOf(data.m_typeCode) != 'i')
    return;
  const char* number = data.GetProperty("_DW_NUMBER_ORIG");
  const char* connect = data.GetProperty("_DW_CONNECT_ORIG");

  resbuf* block = copy;
  if (!FindApplication(&block, "JOV_DATA")) return;
  resbuf* numberNode = PairValue(block->next, "_DW_NUMBER");
  resbuf* connectNode = PairValue(block->next, "_DW_CONNECT");
  if (!numberNode || !connectNode) return;
  SetText(numberNode, number ? number : "");
  SetText(connectNode, connect ? connect : "");
}

}  // namespace

void ResetDrawingNumbers(CJov_ExportDlg& dialog) {
  SelectionCopyWalk selection;
  for (const resbuf* entity = selection.Next(true); entity; entity = selection.Next(false)) {
    resbuf* copy = CopyGroupCodeChain(entity);
    if (!copy) continue;
    ResetNumbersOf(copy);
    CGroupChainRef kept;
    if (kept.AssignOwnBlock(copy)) dialog.m_keptChains.push_back(std::move(kept));
    FreeGroupCodeChain(copy);
  }
}
