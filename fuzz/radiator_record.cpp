// The record the outside radiator catalogue fills, as 384 bytes of any
// content: the product takes its L, V and S as given, and the "_VANTRIX"
// record built from it holds each text within its own field (cut at the
// field's end when it has no NUL) and the numbers as they read back.
#include <cstring>
#include <string>

#include "dataformat/GroupCodeChain.h"
#include "fuzz/FuzzSupport.h"
#include "wizard/dialogs/VantrixXData.h"
#include "wizard/frame/engine/CObjectSez.h"
#include "wizard/frame/engine/CValueParam.h"
#include "dataformat/KorpalinData.h"
#include "wizard/frame/engine/RecordLookups.h"
#include "wizard/frame/engine/ValueRules.h"

namespace {

CValueParam* Add(CObjectSez& params, const char* name) {
  auto* p = new CValueParam;
  p->SetText(ParamText::kName, name);
  p->SetText(ParamText::kValue, "1");
  params.AddTail(p);
  return p;
}

template <size_t N>
void CheckText(const std::string& field, const char (&bytes)[N], const char* which) {
  FUZZ_CHECK(field.size() <= N, std::string(which) + " reaches past its field");
  FUZZ_CHECK(field.find('\0') == std::string::npos, std::string(which) + " holds a NUL");
  FUZZ_CHECK(std::memcmp(field.data(), bytes, field.size()) == 0, std::string(which) + " is not its field's bytes");
  FUZZ_CHECK(field.size() == N || bytes[field.size()] == '\0', std::string(which) + " stops short of its NUL");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  KorpalinData record;
  std::memset(static_cast<void*>(&record), 0, sizeof record);
  std::memcpy(static_cast<void*>(&record), data, size < sizeof record ? size : sizeof record);

  CObjectSez params;
  CValueParam* l = Add(params, "L");
  CValueParam* v = Add(params, "V");
  CValueParam* s = Add(params, "S");
  CValueParam* ct = Add(params, "CT");
  FUZZ_CHECK(ApplyCatalogueDimensions(params, &record), "a record was given");
  FUZZ_CHECK(std::string(l->GetText(ParamText::kValue)) == std::to_string(record.length), "L");
  FUZZ_CHECK(std::string(v->GetText(ParamText::kValue)) == std::to_string(record.height), "V");
  FUZZ_CHECK(std::string(s->GetText(ParamText::kValue)) == std::to_string(record.depth), "S");
  FUZZ_CHECK(l->flags == ParamFlag::kGivenByCaller && ct->flags == 0, "only the dimensions are given");

  const VantrixFields fields = CatalogueVantrixFields(record, "22");
  CheckText(fields[1], record.text1, "text 1");
  CheckText(fields[2], record.text2, "text 2");
  CheckText(fields[3], record.text3, "text 3");
  CheckText(fields[8], record.text4, "text 4");
  const int32_t numbers[] = {record.number5, record.number4, record.number1, record.number2, record.number3};
  const int at[] = {4, 5, 9, 10, 11};
  for (int i = 0; i < 5; ++i)
    FUZZ_CHECK(std::stoll(fields[at[i]]) == numbers[i], "number in field " + std::to_string(at[i]));
  FUZZ_CHECK(fields[0] == "22" && fields[6].empty() && fields[7].empty(), "the fixed fields");

  resbuf* chain = MakeVantrixXData(fields);
  FUZZ_CHECK(chain && chain->code == 1001 && std::string(chain->value.text) == "_VANTRIX", "the record's name");
  const resbuf* node = chain->next;
  FUZZ_CHECK(node && node->code == 1070 && node->value.i16 == 12, "the field count");
  for (int i = 0; i < 12; ++i) {
    node = node->next;
    FUZZ_CHECK(node && node->code == 1000 && fields[i] == node->value.text, "field " + std::to_string(i));
  }
  FUZZ_CHECK(!node->next, "nothing after the twelve fields");
  DeleteGroupCodeChain(&chain);
  return 0;
}
