// A file read through a mapping raises SIGBUS where it was cut short while
// mapped; the process (a host with unsaved drawings) must outlive that. While
// a guarded mapping is live, such a fault gets a page of zeros mapped in its
// place and is noted; any other SIGBUS goes to the handler there was before.
#pragma once

#include <cstddef>

namespace host {

// A slot for the mapping [base, base + size), -1 when all are taken (the
// caller then does without the mapping).
int GuardMapping(const char* base, size_t size);
// Before the mapping goes.
void UnguardMapping(int slot);
// Whether a fault inside the mapping was met.
bool MappingFaulted(int slot);

}  // namespace host
