// The root of the framework classes that handle messages: the message map
// and the routing of commands and notifications to it.
#pragma once

#include "platform/mfc/CObject.h"
#include "platform/mfc/message_map.h"

class CCmdTarget : public CObject {
  DECLARE_DYNAMIC(CCmdTarget)

 public:
  CCmdTarget() = default;

  // Runs the map entry for a command (nCode: the notification code, with
  // WM_NOTIFY or WM_REFLECT_BASE + WM_COMMAND / WM_NOTIFY in its high word
  // for notifications and reflected ones); pExtra is an AFX_NOTIFY for
  // notifications. TRUE when an entry handled it.
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

 protected:
  static const AFX_MSGMAP* GetThisMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const;

  // The first entry for a window message in the class's maps.
  const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message) const;
};
