// What the cells of one list-view row allow: a descriptor per column. The
// row's item data is its first descriptor, which stands for column 0 and
// owns the descriptors of the other cells as its list elements; deleting it
// deletes them all.
#pragma once

#include <cstdint>

#include "common/CSeznam.h"

class CListBox;
class CValueParam;

// Descriptor flags.
namespace CellFlag {
constexpr uint32_t kEditable = 1;  // the cell is edited by typing
constexpr uint32_t kChoices = 2;   // the cell offers a choice list
}  // namespace CellFlag

// Adds the choices of a cell to its choice list.
using FillChoicesFn = void (*)(CListBox* box, CValueParam* param);

class CListItemData : public CSeznam {
 public:
  CListItemData() = default;
  CListItemData(uint32_t flags, uint32_t column, uint32_t inputKind, CValueParam* param = nullptr,
                FillChoicesFn fill = nullptr)
      : flags(flags), column(column), inputKind(inputKind), param(param), fill(fill) {}
  ~CListItemData() override;

  // The descriptor of a column, called on the row's first descriptor:
  // column 0 is always this one, whatever its column field; any other is
  // the first of this one and its elements whose column field matches.
  // Null: the cell cannot be edited.
  CListItemData* ForColumn(uint32_t wanted);

  uint32_t flags = 0;      // CellFlag
  uint32_t column = 0;     // the column it governs
  uint32_t inputKind = 0;  // the cell editor's input kind (EditInput)
  CValueParam* param = nullptr;  // the row's parameter; handed to fill
  FillChoicesFn fill = nullptr;  // may be null
};
