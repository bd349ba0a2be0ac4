// The items of a combo box or list box as texts, in order, for tests to
// compare with what they expect.
#pragma once

#include <string>
#include <vector>

#include "platform/mfc/CComboBox.h"
#include "platform/mfc/CListBox.h"

inline std::vector<std::string> ItemTexts(const CComboBox& box) {
  std::vector<std::string> out;
  for (int i = 0; i < box.GetCount(); ++i) {
    CString text;
    box.GetLBText(i, text);
    out.emplace_back(text.GetString());
  }
  return out;
}

inline std::vector<std::string> ItemTexts(const CListBox& box) {
  std::vector<std::string> out;
  for (int i = 0; i < box.GetCount(); ++i) {
    CString text;
    box.GetText(i, text);
    out.emplace_back(text.GetString());
  }
  return out;
}
