// Loading the stand-in test hosts built beside the tests.
#pragma once

#include <string>

#include "common/HostExport2D.h"
#include "dataformat/resbuf.h"
#include "platform/win32/module_loader.h"

inline std::string TestHostPath(const char* variant) {
  return std::string(JOV_TEST_HOSTS_DIR) + "/" + variant + "/dravik2d.arx";
}

// A loaded test host, freed at the end of the scope.
class TestHost {
 public:
  explicit TestHost(const char* variant) : path_(TestHostPath(variant)) {
    module_ = LoadLibraryA(path_.c_str());
    if (auto reset = Fn<void (*)()>("TestHost_Reset")) reset();
  }
  ~TestHost() {
    if (module_) FreeLibrary(module_);
  }
  TestHost(const TestHost&) = delete;
  TestHost& operator=(const TestHost&) = delete;

  bool Loaded() const { return module_ != nullptr; }
  const std::string& Path() const { return path_; }
  HostExport2D* Table() { return Fn<HostExport2D* (*)()>("TestHost_Table")(); }
  void Select(const resbuf* chain) { Fn<void (*)(const resbuf*)>("TestHost_SetSelection")(chain); }
  int Unlinks() { return Fn<int (*)()>("TestHost_UnlinkCount")(); }

 private:
  template <typename F>
  F Fn(const char* name) {
    return module_ ? reinterpret_cast<F>(GetProcAddress(module_, name)) : nullptr;
  }
  std::string path_;
  HMODULE module_ = nullptr;
};
