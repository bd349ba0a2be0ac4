// The host's call log (--log): one line per call the plug-in makes, with
// its arguments and result, written as it happens so that a crash leaves
// the calls before it. Texts are written in UTF-8, quoted.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "dataformat/resbuf.h"

namespace host {

class HostLog {
 public:
  HostLog() = default;
  ~HostLog();
  HostLog(const HostLog&) = delete;
  HostLog& operator=(const HostLog&) = delete;

  // Starts a new log file (UTF-8 path); false when it cannot be created.
  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return file_ != nullptr; }

  // "name(args) -> result"
  void Call(std::string_view name, std::string_view args, std::string_view result);

  // Argument formatting.
  static std::string Text(const char* cp1250);  // "..." or null
  static std::string Number(double value);
  static std::string Chain(const resbuf* chain);  // <LINE 2C> / <LINE new> / null

 private:
  std::FILE* file_ = nullptr;
};

}  // namespace host
