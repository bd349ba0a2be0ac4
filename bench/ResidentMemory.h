// The process's resident memory, to see what an operation keeps behind, and
// its peak, to see what an operation needs on the way.
#pragma once

#include <malloc.h>

#include <cstdlib>
#include <fstream>
#include <string>

// A value of /proc/self/status in kB ("VmRSS:", "VmHWM:").
inline long StatusKb(const char* field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + std::string(field).size());
  return 0;
}

// Resident memory in kB.
inline long ResidentKb() { return StatusKb("VmRSS:"); }

// The peak since the last ResetPeakResident, in MB. Memory freed before goes
// back to the system first, so that the peak is that of what follows.
inline void ResetPeakResident() {
  malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";
}
inline double PeakResidentMegabytes() { return static_cast<double>(StatusKb("VmHWM:")) * 1024.0 / 1e6; }
