// The controls tests' dialog (template IDD_CONTROLS): a parameter grid of
// in-place edited cells (CListCtrlNew) that answers its changes as a
// product dialog does, checking typed values against the parameter's
// limits; a drag-reorder list (CJovList) of four parameters with its
// attached list; and two filtered edit boxes whose Enter the dialog reads.
// The unit tests and the runner's test plug-in both run it.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "common/CSeznam.h"
#include "platform/mfc/CDialog.h"
#include "wizard/frame/controls/CEditNew.h"
#include "wizard/frame/controls/CJovList.h"
#include "wizard/frame/controls/CListCtrlNew.h"
#include "wizard/frame/controls/EditInputFilter.h"
#include "wizard/frame/controls/tests/data/controls_dialog_ids.h"
#include "wizard/frame/engine/CValueParam.h"

namespace controls_tests {

// The grid's rows.
enum GridRow { kLength, kMaterial, kDiameter, kVolume, kHeight, kAngle, kGridRows };

// Adds a parameter's "|"-separated allowed values to a choice list.
void FillAllowedValues(CListBox* box, CValueParam* param);

class ControlsDialog : public CDialog {
 public:
  // wizardTexts: the module the drag-reorder list takes its titles from.
  explicit ControlsDialog(HMODULE wizardTexts, CWnd* parent = nullptr);
  ~ControlsDialog() override;

  struct Change {
    int row = -1;
    int column = -1;
    DWORD entry = 0;  // kTypedText for typed text
    std::string text;
    bool accepted = true;
  };

  CListCtrlNew grid;
  CJovList order;
  CEditNew note{EditInput::kAny};
  CEditNew number{EditInput::kSignedDecimal};

  CSeznam gridParams;   // the grid's parameters
  CSeznam orderParams;  // the order list's, attached to it

  std::vector<Change> changes;
  std::vector<int> deleteAsked;
  bool allowDelete = false;
  // The private messages of the edit boxes: the box's id and the message.
  std::vector<std::pair<int, UINT>> privateMessages;
  // A test's own step once the controls are filled.
  std::function<void()> afterInit;

  // The names of the attached list, in its order ("b,c,a,d").
  std::string AttachedOrder() const;
  // What the owner heard, one change a line ("L 1 typed 9000 refused").
  std::string ChangesText() const;

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* msg) override;

 private:
  void FillGrid();
  void FillOrder();
  bool AcceptTyped(const Change& change) const;

  HMODULE wizardTexts_;
};

}  // namespace controls_tests
