// Replacing a file's content so that readers and a crash see the old file
// or the whole new one: written beside it under a name of its own, synced
// and renamed over it. A symbolic link is written through, not replaced.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace win32 {

// The file a write to path lands on: what a chain of symbolic links ends
// at (even when that file does not exist yet), else path itself.
std::string WriteTarget(const std::string& path);

// Replaces the file at WriteTarget(path) with data. The temporary file is
// readable by its owner only until, just before the rename, it takes the
// old file's permissions (and, where allowed, its owner); a new file gets
// 0666 less the umask. False with errno set when anything failed; no
// temporary file is left behind.
bool ReplaceFileContents(const std::string& path, std::string_view data);

// The same for content written piece by piece: write puts it into the
// temporary file's descriptor, false with errno set when it failed. The
// step that failed, or kDone.
enum class ReplaceStep { kDone, kCreate, kWrite, kRename };
ReplaceStep ReplaceFileWith(const std::string& path, const std::function<bool(int fd)>& write);

// The same for a path as the system builds it (code page 1250, '\'
// separators), resolved like every other file access.
bool ReplaceSystemFile(const char* path, std::string_view data);

}  // namespace win32
