// Status bits of a parameter type, as the catalogue gives them and as every
// parameter of that type carries them.
#pragma once

#include <cstdint>

namespace ParamStatus {
constexpr uint32_t kComputed = 1;       // its formula is evaluated
constexpr uint32_t kReported = 2;       // computed, and its result reported
constexpr uint32_t kFree = 4;           // a free value, never range-tested
constexpr uint32_t kFreeAlso = 8;       // the same, by the other bit
constexpr uint32_t kRecalculated = 16;  // recalculated when others change
constexpr uint32_t kFormula = 32;       // the value is a formula of its own,
constexpr uint32_t kFormulaDefs = 64;   // or one over the definitions

constexpr uint32_t kAnyComputed = kComputed | kReported;
constexpr uint32_t kAnyFree = kFree | kFreeAlso;
constexpr uint32_t kAnyFormula = kFormula | kFormulaDefs;
}  // namespace ParamStatus
