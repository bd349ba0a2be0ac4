// The wizard's single-line edit box: typed characters are filtered by an
// input kind (EditInputFilter.h) and a length limit, and Enter becomes a
// private message so that the dialog's default button does not fire from
// the box. As a list's cell editor ("in place") Esc, Tab and the loss of
// the focus become private messages for the list too.
//
// The key messages are rewritten where they stand and travel on to the
// parents' PreTranslateMessage, addressed to the box:
//   kEditEnter     Enter, in place or not
//   kEditEscape    in place: Esc, and Tab when Tab next is off
//   kEditTab       in place: Tab when Tab next is on
// The focus loss of a cell editor is told to its parent's
// PreTranslateMessage at once, after the box's own handling:
//   kEditFocusLost lParam = EM_GETMODIFY (1: the text was changed),
//                  pt = the cursor in the parent's client coordinates
#pragma once

#include <cstdint>

#include "platform/mfc/CEdit.h"

constexpr UINT kEditEnter = 0x8032;
constexpr UINT kEditEscape = 0x8033;
constexpr UINT kEditFocusLost = 0x8034;
constexpr UINT kEditTab = 0x8035;

class CEditNew : public CEdit {
 public:
  explicit CEditNew(uint32_t inputKind = 0);
  ~CEditNew() override;

  void SetInPlace(bool value) { inPlace = value; }
  void SetTabNext(bool value) { tabNext = value; }
  void SetInputKind(uint32_t kind) { inputKind = kind; }

  BOOL PreTranslateMessage(MSG* msg) override;

  bool inPlace = false;   // a list's cell editor
  bool ctrlHeld = false;  // Ctrl is down: Ctrl+C, Ctrl+V and Ctrl+X pass unfiltered
  bool tabNext = false;   // in place: Tab asks for the next cell
  int maxLength = -1;     // longest text the user may type; -1: no limit
  uint32_t inputKind;     // EditInput

 protected:
  afx_msg void OnKillFocus(CWnd* newWindow);

  DECLARE_MESSAGE_MAP()
};
