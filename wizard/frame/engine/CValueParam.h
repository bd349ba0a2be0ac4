// One parameter of a parametric product: its catalogue type, the engine's
// flags, the row that shows it, the type's status and limits, and six owned
// texts (name, default or formula, allowed values, label, type title,
// current value).
#pragma once

#include <cstdint>

#include "common/CSeznam.h"

// Flags set by the engine and its callers.
namespace ParamFlag {
constexpr uint32_t kGivenByCaller = 1;   // the value came from the caller; its cell is not editable
constexpr uint32_t kCappedByThird = 2;   // the upper bound is capped by the third limit
constexpr uint32_t kCallerValue = 4;     // with kGivenByCaller: the caller's value is the value
constexpr uint32_t kNotRecalculated = 8;
}  // namespace ParamFlag

// Text slots.
namespace ParamText {
constexpr int kName = 0;
constexpr int kDefault = 1;
constexpr int kAllowed = 2;  // "|"-separated values
constexpr int kLabel = 3;
constexpr int kTypeTitle = 4;
constexpr int kValue = 5;
constexpr int kCount = 6;
}  // namespace ParamText

class CValueParam : public CSeznam {
 public:
  CValueParam() = default;
  ~CValueParam() override;

  // Frees the slot's text, then keeps a copy of text (null leaves the slot
  // empty). False, changing nothing, for an index outside 0..5.
  bool SetText(int index, const char* text);
  // Null for an empty slot or an index outside 0..5.
  const char* GetText(int index) const;

  uint32_t typeId = 0;   // the catalogue's parameter type
  uint32_t flags = 0;    // ParamFlag
  int32_t listRow = -1;  // the row of the list view that shows it, -1 none
  uint32_t status = 0;   // the type's status bits as the catalogue gives them
  double lowLimit = 0;
  double highLimit = 0;
  double thirdLimit = 0;

 private:
  char* texts[ParamText::kCount] = {};
};
