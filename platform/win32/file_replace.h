// Replacing a file's content so that readers and a crash see the old file
// or the whole new one: written beside it under a name of its own, synced
// and renamed over it. A symbolic link is written through, not replaced.
#pragma once

#include <string>
#include <string_view>

namespace win32 {

// The file a write to path lands on: what a chain of symbolic links ends
// at (even when that file does not exist yet), else path itself.
std::string WriteTarget(const std::string& path);

// Replaces the file at WriteTarget(path) with data. An existing file keeps
// its permissions; a new one gets 0666 less the umask. False with errno
// set when anything failed; no temporary file is left behind.
bool ReplaceFileContents(const std::string& path, std::string_view data);

}  // namespace win32
