#include "platform/mfc/CCmdTarget.h"

JOV_IMPLEMENT_RUNTIMECLASS(CCmdTarget, CObject, nullptr)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, nullptr}};
  static const AFX_MSGMAP map = {nullptr, &entries[0]};
  return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT message) const {
  for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr)
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nSig != AfxSig_end; ++e)
      if (e->nMessage == message && e->nSig == AfxSig_wnd) return e;
  return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO*) {
  UINT message = HIWORD(static_cast<DWORD>(nCode));
  if (message == 0) message = WM_COMMAND;
  const WORD code = LOWORD(static_cast<DWORD>(nCode));
  auto* notify = static_cast<AFX_NOTIFY*>(pExtra);
  for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nSig != AfxSig_end; ++e) {
      if (e->nSig == AfxSig_wnd || e->nMessage != message || LOWORD(e->nCode) != code) continue;
      if (nID < e->nID || nID > e->nLastID) continue;
      LRESULT ignored = 0;  // handlers may always write their result
      AFX_MSGCALL call{message, 0, 0, nID, notify ? notify->pNMHDR : nullptr,
                       notify && notify->pResult ? notify->pResult : &ignored};
      const LRESULT handled = e->pfn(this, call);
      if (e->nSig == AfxSig_cmdex || e->nSig == AfxSig_notifyex) return handled ? TRUE : FALSE;
      return TRUE;
    }
  }
  return FALSE;
}
