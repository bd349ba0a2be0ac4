#include "wizard/dialogs/CMaskData.h"

CMaskData::CMaskData(const char* name, const char* definition) {
  if (name && *name) this->name = name;
  if (definition && *definition) this->definition = definition;
}

CMaskData::~CMaskData() = default;
