// Text values of HKEY_LOCAL_MACHINE given on the command line, set for one
// run and put back as they were when it ends.
#pragma once

#include <string>
#include <vector>

#include "platform/host/runner/RunnerOptions.h"
#include "platform/win32/win32_types.h"

class SeededMachineValues {
 public:
  SeededMachineValues() = default;
  // Each value as it was before its seed, in reverse order.
  ~SeededMachineValues();
  SeededMachineValues(const SeededMachineValues&) = delete;
  SeededMachineValues& operator=(const SeededMachineValues&) = delete;

  // Sets a REG_SZ value, creating its key; false with the reason.
  bool Seed(const MachineValue& value, std::string* why);

 private:
  struct Previous {
    MachineValue value;
    bool existed = false;
    DWORD type = 0;
    std::vector<unsigned char> data;
  };
  std::vector<Previous> previous_;
};
