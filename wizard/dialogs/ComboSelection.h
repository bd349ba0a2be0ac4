// The text of a combo box's chosen entry, as the product dialogs read
// their choices.
#pragma once

#include "platform/mfc/CComboBox.h"
#include "platform/mfc/CString.h"

// Empty when nothing is chosen.
inline CString SelectedText(const CComboBox& combo) {
  CString text;
  const int sel = combo.GetCurSel();
  if (sel >= 0) combo.GetLBText(sel, text);
  return text;
}
