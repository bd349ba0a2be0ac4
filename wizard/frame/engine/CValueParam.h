// One parameter of a parametric product: its catalogue type, the engine's
// flags, the row that shows it, the type's status and limits, and six owned
// texts (name, default or formula, allowed values, label, type title,
// current value).
#pragma once

#include <cstdint>

#include "common/CSeznam.h"
#include "wizard/frame/engine/TextSlots.h"

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
  bool SetText(int index, const char* text) { return texts.Set(index, text); }
  // Null for an empty slot or an index outside 0..5.
  const char* GetText(int index) const { return texts.Get(index); }

  // The smallest and largest of the '|'-separated numbers of allowed (an
  // empty last piece ignored), or the type's limits for a null or empty
  // text; with kCappedByThird a maximum above the third limit becomes the
  // third limit. Always true.
  bool GetRange(const char* allowed, double& minimum, double& maximum) const;
  // Any value of a free parameter (status bit 2 or 3); otherwise within the
  // low limit and the high limit, capped by the third with kCappedByThird.
  bool IsValueValid(double value) const;

  uint32_t typeId = 0;   // the catalogue's parameter type
  uint32_t flags = 0;    // ParamFlag
  int32_t listRow = -1;  // the row of the list view that shows it, -1 none
  uint32_t status = 0;   // the type's status bits as the catalogue gives them
  double lowLimit = 0;
  double highLimit = 0;
  double thirdLimit = 0;

 private:
  TextSlots<ParamText::kCount> texts;
};
