// The definition editor's formula list: rows "X", "Y" and "Z" hold the
// selected point's formulas, the rows after them the values of the
// computed parameters ("label (name)", item data the parameter). Only the
// second column is edited, in place (a click on it or F2); every commit
// is told to the owner's PreTranslateMessage as kDefinitionCommitted with
// lParam the row, whether the text changed or not.
#pragma once

#include "platform/mfc/CListCtrl.h"
#include "wizard/frame/controls/CEditNew.h"
#include "wizard/frame/engine/ParameterPresentation.h"

class CScrollBar;
class CValueParam;

constexpr UINT kDefinitionCommitted = 0x812C;

class CDefList : public CListCtrl, public CParamRowList {
 public:
  CDefList() = default;
  ~CDefList() override;

  // A row for a parameter unless one carries it already or its label or
  // name is missing.
  void AddParamRow(CValueParam* param) override;
  void RemoveParamRow(const CValueParam* param);
  // Removes the rows of parameters that are no longer computed.
  void RemoveUnmarkedRows();
  bool IsEditing() const { return editing; }
  // The row's parameter; null for the formula rows.
  CValueParam* ParamOf(int row) const;

  BOOL PreTranslateMessage(MSG* msg) override;

  CEditNew editor{0};
  bool editing = false;
  int editRow = -1;

 protected:
  // Grid lines, full-row selection, the two columns and the formula rows.
  void PreSubclassWindow() override;

  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags);
  afx_msg void OnHScroll(UINT code, UINT position, CScrollBar* bar);
  afx_msg void OnVScroll(UINT code, UINT position, CScrollBar* bar);

  DECLARE_MESSAGE_MAP()

 private:
  void StartEdit(int row);
  // Closes the editor without a commit.
  void DropEditor();
  void Commit();
};
