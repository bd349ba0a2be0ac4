// A binary file stream with a fixed open mode, opened on one of the
// system's code page 1250 paths through the platform's path resolver.
// Other openers are never locked out. A null path opens nothing.
#pragma once

#include <fstream>
#include <ios>

#include "platform/win32/path_resolver.h"

template <std::ios_base::openmode Mode>
class qmfstream : public std::fstream {
 public:
  explicit qmfstream(const char* path) {
    if (path) open(ResolvePath(path), Mode);
  }
};

// Reads from the start of the file.
using qmfstream_in = qmfstream<std::ios_base::in | std::ios_base::binary>;
// Creates the file, or truncates it.
using qmfstream_out = qmfstream<std::ios_base::out | std::ios_base::binary>;
