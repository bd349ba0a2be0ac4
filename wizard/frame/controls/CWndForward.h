// The popup that carries an in-place editing list's choice list: a
// bordered window over the list into which the list box is moved. It turns
// the box's clicks and keys into the list's choices (kChoiceClicked to the
// list's PreTranslateMessage, lParam = the entry) and closes itself on
// Enter, Esc, a choice, or when it stops being the active window.
#pragma once

#include <cstdint>

#include "platform/mfc/CListBox.h"
#include "platform/mfc/CWnd.h"

class CListCtrlNew;

class CWndForward : public CWnd {
 public:
  CWndForward() = default;
  ~CWndForward() override;

  // A hidden, empty popup over the owner list (owned by the list's dialog).
  BOOL Create(CListCtrlNew* owner, bool flag);
  // Takes the box: the popup takes the box's place on the screen and the
  // box moves into it at (0, 0).
  using CWnd::Attach;
  void Attach(CListBox* box);
  // Destroys the box and the popup, repaints the owner list and forgets
  // both. Nothing for a popup that is not open.
  void Close();

  BOOL PreTranslateMessage(MSG* msg) override;

  uint8_t flag = 0;              // kept from Create; the wizard's lists pass 0
  CListBox* box = nullptr;       // the attached list box
  CListCtrlNew* owner = nullptr;

 protected:
  afx_msg void OnActivate(UINT state, CWnd* other, BOOL minimized);

  DECLARE_MESSAGE_MAP()

 private:
  // The entry under the message's screen point; -1 outside the entries.
  int EntryAt(const MSG& msg) const;
};
