#include "wizard/frame/engine/ChoiceFills.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "common/CLocaleNumber.h"
#include "platform/mfc/CComboBox.h"
#include "platform/mfc/CListBox.h"
#include "wizard/frame/engine/CObjectSez.h"
#include "wizard/frame/engine/CPropData.h"
#include "wizard/frame/engine/CValueParam.h"
#include "wizard/frame/engine/EngineState.h"
#include "wizard/frame/engine/ParamStatus.h"

namespace {

bool Same(const char* a, const char* b) { return a && b && std::strcmp(a, b) == 0; }

// Adds text unless the box holds it already (its exact search).
int AddOnce(CComboBox* box, const char* text) {
  if (!text || box->FindStringExact(-1, text) != CB_ERR) return CB_ERR;
  return box->AddString(text);
}

}  // namespace

void FillValueListBox(CListBox* box, CValueParam* param) {
  if (!box || !param) return;
  const char* allowed = param->GetText(ParamText::kAllowed);
  if (!allowed) return;
  const uint32_t status = param->status;
  const bool metres = LengthDisplayMode() == 1 && status != 0 &&
                      (status & (ParamStatus::kAnyFree | ParamStatus::kFormula)) == 0;
  const std::string text = allowed;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('|', start);
    if (end == std::string::npos) end = text.size();
    const std::string value = text.substr(start, end - start);
    if (!value.empty()) box->AddString(metres ? FormatFixed(AtofC(value.c_str()) / 1000.0, 4).c_str() : value.c_str());
    start = end + 1;
  }
}

void FillGroupCombos(const CSeznam& records, CComboBox* first, CComboBox* second) {
  for (const CPropData* r = FirstOf<CPropData>(records); r; r = NextOf(r)) {
    if (first) AddOnce(first, r->GetText(PropText::kGroup1));
    if (second) AddOnce(second, r->GetText(PropText::kGroup2));
  }
}

void FillCombosByGroups(const CSeznam& records, CComboBox* first, CComboBox* second, const char* group1,
                        const char* group2) {
  if (!first || !second) return;
  first->ResetContent();
  second->ResetContent();
  for (CPropData* r = FirstOf<CPropData>(records); r; r = NextOf(r)) {
    if (!Same(r->GetText(PropText::kGroup1), group1) || !Same(r->GetText(PropText::kGroup2), group2)) continue;
    const std::pair<CComboBox*, int> targets[] = {{first, PropText::kName}, {second, PropText::kSecond}};
    for (const auto& [box, slot] : targets) {
      const char* text = r->GetText(slot);
      if (!text || !*text) continue;
      const int at = AddOnce(box, text);
      if (at >= 0) box->SetItemDataPtr(at, r);
    }
  }
}
