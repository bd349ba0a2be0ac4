// The record of a product's last values in its PP_Last file, read onto the
// sample radiator's parameters. A record read whole is written back and
// read again to the same values; a mismatched name stops the read; nothing
// read holds a separator of the record; a ranged value read is one number
// within its limits, a text one breaks neither the definitions nor their
// brackets.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/EngineCatalogue.h"
#include "fuzz/FuzzSupport.h"
#include "wizard/frame/engine/CFileCfg.h"
#include "wizard/frame/engine/CObjectSez.h"
#include "wizard/frame/engine/CValueParam.h"
#include "wizard/frame/engine/EngineState.h"
#include "wizard/frame/engine/ExpressionEvaluator.h"
#include "wizard/frame/engine/LastValues.h"
#include "wizard/frame/engine/ParamStatus.h"
#include "wizard/frame/engine/ParameterList.h"
#include "wizard/frame/engine/RecordLookups.h"
#include "wizard/frame/engine/ValueEntry.h"

namespace {

std::vector<std::string> Values(const CSeznam& params) {
  std::vector<std::string> out;
  for (const CValueParam* p = FirstOf<CValueParam>(params); p; p = NextOf(p))
    out.emplace_back(p->GetText(ParamText::kValue) ? p->GetText(ParamText::kValue) : "<none>");
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const char kKey[] = "TOR0600-0001";
  fuzz::UseProduct(kKey);
  const std::string path = MakeProfilePath("Dat\\PP_LastT.dat");
  std::remove(path.c_str());
  {
    CFileCfg file;
    FUZZ_CHECK(file.Open(path.c_str()), "the last-values file opens");
    if (!file.WriteRecord(kKey, sizeof kKey - 1, data, static_cast<unsigned>(size))) return 0;  // too long to store
  }
  CObjectSez params;
  FUZZ_CHECK(LoadProductParameters(params), "the radiator's parameters");
  if (!LoadLastValues(params)) return 0;
  size_t recordLength = sizeof kKey - 1 + 4;
  for (const CValueParam* p = FirstOf<CValueParam>(params); p; p = NextOf(p)) {
    const char* value = p->GetText(ParamText::kValue);
    FUZZ_CHECK(!value || std::string(value).find('|') == std::string::npos, "a '|' in a value read");
    if (IsUserParam(*p) && value) {
      if (p->status & (ParamStatus::kAnyFree | ParamStatus::kAnyFormula)) {
        std::string brackets = value;
        FUZZ_CHECK(NormalizeExpression(brackets) == EVAL_OK, std::string("unbalanced brackets read: ") + value);
      } else {
        double number = 0;
        FUZZ_CHECK(ReadValueEntry(value, number) && p->IsValueValid(number),
                   std::string("a value out of its range read: ") + value);
      }
    }
    if (IsUserParam(*p)) recordLength += std::strlen(p->GetText(ParamText::kName)) + (value ? std::strlen(value) : 0) + 2;
  }
  const std::vector<std::string> read = Values(params);
  const bool stored = StoreLastValues(params);
  FUZZ_CHECK(stored || recordLength > CFileCfg::kMaxRecordLength, "the values are not written back");
  if (!stored) return 0;
  CObjectSez again;
  LoadProductParameters(again);
  FUZZ_CHECK(LoadLastValues(again), "the written record reads");
  FUZZ_CHECK(Values(again) == read, "the values changed on the way through the file");
  return 0;
}
