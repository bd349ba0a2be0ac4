#include "platform/host/core/HostLog.h"

#include "platform/host/DxfPair.h"
#include "platform/win32/code_page.h"

namespace host {

HostLog::~HostLog() { Close(); }

bool HostLog::Open(const std::string& path) {
  Close();
  file_ = std::fopen(path.c_str(), "w");
  return file_ != nullptr;
}

void HostLog::Close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

void HostLog::Call(std::string_view name, std::string_view args, std::string_view result) {
  if (!file_) return;
  std::string line(name);
  line += '(';
  line += args;
  line += ") -> ";
  line += result;
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), file_);
  std::fflush(file_);
}

std::string HostLog::Text(const char* cp1250) {
  if (!cp1250) return "null";
  std::string out = "\"";
  for (char c : Cp1250ToUtf8(cp1250)) {
    if (c == '"' || c == '\\') out += '\\';
    if (c == '\n') {
      out += "\\n";
      continue;
    }
    out += c;
  }
  return out + "\"";
}

std::string HostLog::Number(double value) { return FormatDxfReal(value); }

std::string HostLog::Chain(const resbuf* chain) {
  if (!chain) return "null";
  std::string name = "new";
  if (chain->code == -1) {
    uint64_t handle = static_cast<uint64_t>(chain->value.name[1]);
    name = handle ? FormatHandle(handle) : "#" + std::to_string(chain->value.name[0]);
    chain = chain->next;
  }
  std::string type = "?";
  if (chain && chain->code == 0 && chain->value.text) type = Cp1250ToUtf8(chain->value.text);
  return "<" + type + " " + name + ">";
}

}  // namespace host
