#include "wizard/frame/engine/CPropData.h"

#include "platform/catalogue/Database.h"

CPropData::CPropData(bool withAttributes) {
  if (withAttributes) attributes = std::make_unique<Attributes>();
}

CPropData::CPropData(const jovDatabase::TNameStruct& record) : attributes(std::make_unique<Attributes>()) {
  for (int i = 0; i < 3; ++i) attributes->value[i] = record.number[i];
  texts.Set(PropText::kName, record.name);
  texts.Set(PropText::kValue, record.value);
}

CPropData::~CPropData() = default;
