// The process's resident memory, to see what an operation keeps behind.
#pragma once

#include <cstdlib>
#include <fstream>
#include <string>

// Resident memory in kB.
inline long ResidentKb() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  return 0;
}
