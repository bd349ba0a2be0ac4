// A host export table that records what the plug-in asks of it: points
// are moved by +100 in x into world coordinates (and back), entity writes
// and block definitions are kept as described chains, selections come from
// chains the test hands in.
#pragma once

#include <cstdarg>
#include <string>
#include <vector>

#include "common/HostExport2D.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/tests/NetworkFixtures.h"

class RecordingHost {
 public:
  RecordingHost() {
    Current() = this;
    Put(HostSlot::UcsToWcs, +[](double p[3], bool) { p[0] += 100.0; return HOST_NORMAL; });
    Put(HostSlot::WcsToUcs, +[](double p[3], bool) { p[0] -= 100.0; return HOST_NORMAL; });
    Put(HostSlot::EntityWrite, +[](resbuf* chain, int) {
      Current()->written.push_back(DescribeChain(chain));
      return HOST_NORMAL;
    });
    Put(HostSlot::BlockDefine, &BlockDefine);
    Put(HostSlot::Select, +[](const char* prompt, int mode, int option, double*) {
      Current()->prompts.push_back(std::string(prompt ? prompt : "") + " " + std::to_string(mode) + " " +
                                   std::to_string(option));
      return Current()->selectAnswer;
    });
    Put(HostSlot::SelectionNext, +[](int first) -> resbuf* {
      RecordingHost& h = *Current();
      if (first) h.cursor = 0;
      return h.cursor < h.selection.size() ? h.selection[h.cursor++] : nullptr;
    });
    TheApp().m_pHostTable = &table;
  }
  ~RecordingHost() {
    TheApp().m_pHostTable = nullptr;
    Current() = nullptr;
  }
  RecordingHost(const RecordingHost&) = delete;
  RecordingHost& operator=(const RecordingHost&) = delete;

  HostExport2D table{};
  std::vector<std::vector<std::string>> written;  // each written chain, described
  std::vector<std::string> blockCalls;            // "begin NAME", entity chains, "end"
  int refuseBlockEntity = -1;                     // the entity (from 0) the host refuses
  int blockEntities = 0;
  std::vector<std::string> prompts;
  int selectAnswer = HOST_NORMAL;
  std::vector<resbuf*> selection;
  size_t cursor = 0;

 private:
  static RecordingHost*& Current() {
    static RecordingHost* current = nullptr;
    return current;
  }
  template <typename Fn>
  void Put(int slot, Fn fn) {
    table.slot[slot] = reinterpret_cast<HostProc>(fn);
  }
  static int BlockDefine(int op, ...) {
    RecordingHost& h = *Current();
    va_list args;
    va_start(args, op);
    int result = HOST_NORMAL;
    if (op == kHostBlockBegin) {
      h.blockCalls.push_back(std::string("begin ") + va_arg(args, const char*));
    } else if (op == kHostBlockAdd) {
      std::vector<std::string> items = DescribeChain(va_arg(args, resbuf*));
      std::string entity;
      for (const std::string& item : items) entity += (entity.empty() ? "" : " ") + item;
      h.blockCalls.push_back(entity);
      if (h.blockEntities++ == h.refuseBlockEntity) result = HOST_ERROR;
    } else {
      std::snprintf(va_arg(args, char*), 256, "*U7");
      h.blockCalls.push_back("end");
    }
    va_end(args);
    return result;
  }
};
