#include "common/CreateFolderPath.h"

#include <string>

#include "platform/win32/file_system.h"

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool CreateFolder(std::string folder) {
  const bool hadText = !folder.empty();
  while (!folder.empty() && IsSeparator(folder.back())) folder.pop_back();
  // Nothing but separators: the root, which is always there.
  if (folder.empty()) return hadText;
  if (CreateDirectoryA(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS) return true;
  const size_t cut = folder.find_last_of("\\/");
  if (cut == std::string::npos) return false;
  if (!CreateFolder(folder.substr(0, cut))) return false;
  return CreateDirectoryA(folder.c_str(), nullptr) != FALSE;
}

}  // namespace

bool CreateFolderPath(const char* path, bool stripFileName) {
  if (!path) return false;
  std::string folder(path);
  if (stripFileName) {
    const size_t cut = folder.find_last_of("\\/");
    if (cut == std::string::npos) return false;
    folder.resize(cut + 1);  // "\file" keeps its root
  }
  return CreateFolder(std::move(folder));
}
