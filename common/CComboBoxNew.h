// The combo box of the plug-in's dialogs: typed characters are filtered by
// an input type (ComboInputFilter.h), Enter in the box becomes a private
// message for the owning dialog, and the entered values are kept as a
// history in a profile (INI) file.
//
// The dialog takes the box over (DDX_Control) so that its pre-translation
// runs, and reads the private messages in its own PreTranslateMessage,
// where they arrive addressed to the box:
//   kEnterInComboBox      Enter in the box or its edit field
//   kDeleteInComboList    Delete on the open list (key flag 1); lParam is
//                         the selected item
#pragma once

#include <cstdint>

#include "platform/mfc/CComboBox.h"
#include "platform/mfc/CStringArray.h"

constexpr UINT kEnterInComboBox = 0x803C;
constexpr UINT kDeleteInComboList = 0x803D;

// Key flags.
constexpr uint32_t kComboReportDelete = 1;  // Delete on the open list sends kDeleteInComboList
constexpr uint32_t kComboInsertAdds = 2;    // Insert on the box adds its text to the list

class CComboBoxNew : public CComboBox {
 public:
  CComboBoxNew(uint32_t keyFlags, uint32_t inputType);
  ~CComboBoxNew() override;

  // Puts text at the top of the list (with itemData unless 0); false for a
  // null or empty text, one already in the list (same characters, same
  // case), and when the box refuses the item.
  bool AddToHistory(const char* text, DWORD_PTR itemData);
  // The edit field of a box with the drop-down style bit, else null.
  HWND GetEditHwnd();
  // Appends the values of keyPrefix0, keyPrefix1 ... keyPrefix99 of section
  // in iniFile, up to the first key that is missing (an empty value or a
  // "0" is a value). Nothing when an argument is null.
  void LoadHistory(const char* iniFile, const char* section, const char* keyPrefix);
  // Writes the first items (all, or maxItems when fewer; 0xFFFFFFFF: all)
  // as keyPrefix0, keyPrefix1 ... and removes the keys of that prefix
  // beyond them, so that a shorter history loads as saved. Nothing when
  // an argument is null.
  void SaveHistory(const char* iniFile, const char* section, const char* keyPrefix, uint32_t maxItems);

  BOOL PreTranslateMessage(MSG* msg) override;

  bool droppedDown;
  uint32_t keyFlags;
  int32_t lengthLimit;  // longest text the user may type; -1: no limit
  CStringArray strings;  // texts a dialog keeps with the box; the box does not read them
  uint32_t inputType;   // ComboInput::k*

 protected:
  afx_msg void OnDropDown();
  afx_msg void OnCloseUp();

  DECLARE_MESSAGE_MAP()
};
