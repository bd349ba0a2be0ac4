#include "common/CJovPropData.h"

#include <cstring>
#include <new>
#include <string>

#include "dataformat/GroupCodeChain.h"
#include "dataformat/HeapCopy.h"

namespace {

// Bounded copy into a caller buffer; a null out only asks whether there is
// a text at all.
bool CopyOut(char* out, size_t outSize, const char* text) {
  if (!out) return true;
  return CopyStringN(out, outSize, text);
}

// Appends chain nodes to a chain under construction; releases it all when
// a node cannot be made.
class ChainAppender {
 public:
  ~ChainAppender() { FreeGroupCodeChain(head); }

  bool Text(int16_t code, const char* text) {
    resbuf* node = nullptr;
    bool ok = CreateGroupCodeNode(&node, code, text ? text : "");
    if (node) Link(node);
    return ok;
  }
  bool Int16(int16_t code, int16_t value) {
    resbuf* node = nullptr;
    if (!CreateGroupCodeNode(&node, code, nullptr)) return false;
    node->value.i16 = value;
    Link(node);
    return true;
  }
  resbuf* Take() {
    resbuf* chain = head;
    head = last = nullptr;
    return chain;
  }

 private:
  void Link(resbuf* node) {
    if (last)
      last->next = node;
    else
      head = node;
    last = node;
  }
  resbuf* head = nullptr;
  resbuf* last = nullptr;
};

}  // namespace

CJovPropData* CJovPropData::FindKey(const char* key) const {
  if (!key) return nullptr;
  for (CJovPropData* element = FirstElement(); element; element = NextElement(element)) {
    const char* elementKey = element->GetField(0);
    // Single-byte code page: a byte compare is the case-sensitive compare.
    if (!elementKey || !element->GetField(1)) continue;
    if (std::strcmp(elementKey, key) == 0) return element;
  }
  return nullptr;
}

bool CJovPropData::GetValue(const char* key, char* out, size_t outSize) const {
  const CJovPropData* element = FindKey(key);
  if (!element) return false;
  return CopyOut(out, outSize, element->GetField(1));
}

bool CJovPropData::ReplaceValue(const char* key, const char* value) {
  if (!value) return false;
  CJovPropData* element = FindKey(key);
  if (!element) return false;
  return element->SetField(1, value);
}

bool CJovPropData::SetValue(const char* key, const char* value) {
  if (!key) return false;
  if (GetValue(key, nullptr, 0)) return ReplaceValue(key, value);
  auto* element = new (std::nothrow) CJovPropData(2);
  if (!element || element->CTextData::GetCount() != 2 || !element->SetField(0, key) ||
      !element->SetField(1, value)) {
    delete element;
    return false;
  }
  return AddTail(element);
}

void ProductParamLists::Add(const char* key, const char* value) {
  if (!key || !value || std::strlen(key) >= 3) return;
  if (!names.empty()) {
    names += '/';
    values += '/';
  }
  names += '#';
  names += key;
  values += value;
}

bool CJovPropData::BuildParamLists(char* names, size_t namesSize, char* values,
                                   size_t valuesSize) const {
  if (!names || !values || namesSize == 0 || valuesSize == 0) return false;
  names[0] = '\0';
  values[0] = '\0';
  ProductParamLists lists;
  for (const CJovPropData* element = FirstElement(); element; element = NextElement(element))
    lists.Add(element->GetField(0), element->GetField(1));
  if (lists.names.size() >= namesSize || lists.values.size() >= valuesSize) return false;
  std::memcpy(names, lists.names.c_str(), lists.names.size() + 1);
  std::memcpy(values, lists.values.c_str(), lists.values.size() + 1);
  return true;
}

bool CJovPropData::GetRecordField(uint32_t index, char* out, size_t outSize) const {
  const CJovPropData* record = FirstElement();
  if (!record) return false;
  const char* text = record->GetField(index);
  if (!text) return false;
  return CopyOut(out, outSize, text);
}

bool CJovPropData::SetRecordField(uint32_t index, const char* text) {
  if (!GetHead()) {
    auto* record = new (std::nothrow) CJovPropData(kVantrixFields);
    bool ok = record && record->CTextData::GetCount() == kVantrixFields;
    for (uint32_t i = 0; ok && i < kVantrixFields; ++i) ok = record->SetField(i, "");
    if (!ok) {
      delete record;
      return false;
    }
    AddTail(record);
  }
  if (!text) return true;
  return FirstElement()->SetField(index, text);
}

void CJovPropData::ReadVantrixRecord(const resbuf* chain) {
  if (!chain) return;
  RemoveAll();

  const resbuf* app = chain;
  while (app && !(app->code == 1001 && app->value.text &&
                  std::strcmp(app->value.text, "_VANTRIX") == 0))
    app = app->next;
  if (!app) return;
  const resbuf* countNode = FindGroupCode(app->next, 1070);
  if (!countNode) return;
  int count = countNode->value.i16;
  if (count < 0) count = 0;

  auto* record = new (std::nothrow) CJovPropData(kVantrixFields);
  if (!record) return;
  AddTail(record);
  int index = 0;
  for (const resbuf* node = countNode->next; node && node->code == 1000 && index < count;
       node = node->next, ++index) {
    if (static_cast<uint32_t>(index) < kVantrixFields)
      record->SetField(static_cast<uint32_t>(index), node->value.text);
  }
  for (uint32_t i = static_cast<uint32_t>(count); i < kVantrixFields; ++i) record->SetField(i, "");
}

resbuf* CJovPropData::BuildKeyValueChain() const {
  ChainAppender chain;
  for (const CJovPropData* element = FirstElement(); element; element = NextElement(element)) {
    if (!chain.Text(1000, element->GetField(0)) || !chain.Text(1000, element->GetField(1)))
      return nullptr;
  }
  return chain.Take();
}

resbuf* CJovPropData::BuildMatrixChain(const char* typeCode) const {
  ChainAppender chain;
  if (!chain.Text(1000, typeCode)) return nullptr;
  if (typeCode && std::strstr(typeCode, "E@")) {
    for (const CJovPropData* row = FirstElement(); row; row = NextElement(row)) {
      for (uint32_t i = 0; i < row->CTextData::GetCount(); ++i)
        if (!chain.Text(1000, row->GetField(i))) return nullptr;
    }
  }
  return chain.Take();
}

resbuf* CJovPropData::BuildRecordChain() const {
  const CJovPropData* first = FirstElement();
  if (!first) return nullptr;
  ChainAppender chain;
  if (!chain.Int16(1070, static_cast<int16_t>(first->CTextData::GetCount()))) return nullptr;
  for (const CJovPropData* element = first; element; element = NextElement(element)) {
    for (uint32_t i = 0; i < element->CTextData::GetCount(); ++i)
      if (!chain.Text(1000, element->GetField(i))) return nullptr;
  }
  return chain.Take();
}
