// Tool tips ("tooltips_class32"): a popup owned by the window whose
// controls it describes. Headless nothing pops up; the texts are kept.
#pragma once

#include "platform/mfc/CString.h"
#include "platform/mfc/CWnd.h"
#include "platform/win32/common_controls.h"

class CToolTipCtrl : public CWnd {
  DECLARE_DYNAMIC(CToolTipCtrl)

 public:
  CToolTipCtrl() = default;
  virtual BOOL Create(CWnd* parent, DWORD style = 0);

  // A tool for a window (a control: its whole area, id 0) or for a
  // rectangle of it (id given). The text may be LPSTR_TEXTCALLBACK.
  BOOL AddTool(CWnd* window, LPCSTR text = LPSTR_TEXTCALLBACKA, LPCRECT rect = nullptr, UINT_PTR id = 0);
  BOOL AddTool(CWnd* window, UINT textId, LPCRECT rect = nullptr, UINT_PTR id = 0);
  void DelTool(CWnd* window, UINT_PTR id = 0);
  void UpdateTipText(LPCSTR text, CWnd* window, UINT_PTR id = 0);
  void UpdateTipText(UINT textId, CWnd* window, UINT_PTR id = 0);
  void GetText(CString& text, CWnd* window, UINT_PTR id = 0) const;
  int GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT)); }
  void Activate(BOOL activate) { SendMessage(TTM_ACTIVATE, static_cast<WPARAM>(activate)); }
  void RelayEvent(LPMSG msg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg)); }
  int SetMaxTipWidth(int width) { return static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, width)); }
  void SetDelayTime(UINT delay) { SendMessage(TTM_SETDELAYTIME, TTDT_AUTOMATIC, MAKELPARAM(delay, 0)); }
  void SetDelayTime(DWORD which, int time) { SendMessage(TTM_SETDELAYTIME, which, MAKELPARAM(time, 0)); }
  void Pop() { SendMessage(TTM_POP); }

 private:
  void FillTool(TOOLINFOA& info, CWnd* window, LPCRECT rect, UINT_PTR id) const;
};
