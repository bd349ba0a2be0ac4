#include "wizard/frame/engine/CValueParam.h"

#include <cstdlib>

#include "common/HeapCopy.h"

CValueParam::~CValueParam() {
  for (char*& text : texts) {
    std::free(text);
    text = nullptr;
  }
}

bool CValueParam::SetText(int index, const char* text) {
  if (index < 0 || index >= ParamText::kCount) return false;
  char* copy = nullptr;
  if (text && !(copy = DupString(text))) return false;
  std::free(texts[index]);
  texts[index] = copy;
  return true;
}

const char* CValueParam::GetText(int index) const {
  return index < 0 || index >= ParamText::kCount ? nullptr : texts[index];
}
