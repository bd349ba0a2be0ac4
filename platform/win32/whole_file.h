// Reading a small file whole, as the profile and the registry keep their
// settings: only a regular file, and only up to a size no settings file
// reaches, so that a device or a runaway file in its place reads as
// unreadable instead of taking every byte of memory.
#pragma once

#include <cstddef>
#include <string>

namespace win32 {

enum class WholeFileRead { kRead, kMissing, kUnreadable };

inline constexpr size_t kWholeFileLimit = size_t{64} << 20;

// The file's bytes into text (cleared first); kMissing when neither it
// nor its folder is there.
WholeFileRead ReadWholeFile(const std::string& path, std::string& text);

}  // namespace win32
