// A name, property or producer record of the product dialogs: an optional
// attribute record and six owned texts (0 name, 1 second text, 3 first
// group, 4 second group, 5 value; slot 2 is the dialogs' own).
#pragma once

#include <cstdint>
#include <memory>

#include "common/CSeznam.h"
#include "wizard/frame/engine/TextSlots.h"

namespace jovDatabase {
struct TNameStruct;
}

namespace PropText {
constexpr int kName = 0;
constexpr int kSecond = 1;
constexpr int kGroup1 = 3;
constexpr int kGroup2 = 4;
constexpr int kValue = 5;
constexpr int kCount = 6;
}  // namespace PropText

class CPropData : public CSeznam {
 public:
  struct Attributes {
    uint64_t word[2] = {0, 0};
    uint32_t value[3] = {0, 0, 0};  // a catalogue record's three numbers
  };

  // Empty, with a zeroed attribute record or without one.
  explicit CPropData(bool withAttributes = false);
  // The record's numbers, its name in slot 0 and its value text in slot 5.
  explicit CPropData(const jovDatabase::TNameStruct& record);
  ~CPropData() override;

  bool SetText(int index, const char* text) { return texts.Set(index, text); }
  const char* GetText(int index) const { return texts.Get(index); }

  std::unique_ptr<Attributes> attributes;

 private:
  TextSlots<PropText::kCount> texts;
};
