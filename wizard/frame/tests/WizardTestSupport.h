// What the wizard frame's tests share: a scratch folder and a registry in
// one for the life of the object.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

#include "platform/win32/registry.h"

class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "wizard-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

class ScopedRegistry {
 public:
  ScopedRegistry() { SetRegistryFolder(folder_.Path()); }
  ~ScopedRegistry() { SetRegistryFolder(""); }
  ScopedRegistry(const ScopedRegistry&) = delete;
  ScopedRegistry& operator=(const ScopedRegistry&) = delete;

 private:
  ScratchFolder folder_;
};
