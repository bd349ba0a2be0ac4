// The pick banner: a small modeless window over the host that tells the
// user what to pick while the host's selection runs. Constructing it shows
// it; its owner destroys the window and then deletes the object.
#pragma once

#include "platform/mfc/CDialog.h"
#include "platform/mfc/CStatic.h"

class DlgWarning : public CDialog {
 public:
  // Created at once as a modeless window under parent (the host's main
  // window) and shown.
  explicit DlgWarning(CWnd* parent);
  ~DlgWarning() override;

  BOOL Create(UINT templateId, CWnd* parent = nullptr) override;
  BOOL PreTranslateMessage(MSG* msg) override;

  CStatic m_textControl;
  CString m_text;

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;

  DECLARE_MESSAGE_MAP()
};
