// The runner's session script, with the dialog and radiator words. A
// script either loads or fails naming its line; each line loaded reads the
// same alone, and written back with every argument quoted.
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "platform/win32/driver/radiator_script.h"
#include "platform/win32/driver/script_ui_driver.h"
#include "platform/win32/driver/session_script.h"

namespace {

std::string Quoted(const std::string& word) {
  std::string out = "\"";
  for (char c : word) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

void CheckAlone(const std::string& text, const ScriptLine& line) {
  SessionScript alone;
  std::string error;
  FUZZ_CHECK(alone.LoadText(text, "/scripts", &error), "line " + std::to_string(line.number) +
                                                           " does not load alone: " + error);
  const std::vector<ScriptLine> lines = alone.Remaining();
  FUZZ_CHECK(lines.size() == 1 && lines[0].keyword == line.keyword && lines[0].args == line.args,
             "line " + std::to_string(line.number) + " reads otherwise alone: " + text);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  RegisterDialogScriptKeywords();
  RegisterRadiatorScriptKeyword();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SessionScript script;
  std::string error;
  if (!script.LoadText(fuzz::Text(data, size), "/scripts", &error, "fuzz")) {
    FUZZ_CHECK(error.rfind("fuzz line ", 0) == 0, "an error without its line: " + error);
    FUZZ_CHECK(!script.Loaded() && !script.Peek(), "a failed load kept lines");
    return 0;
  }
  for (const ScriptLine& line : script.Remaining()) {
    CheckAlone(line.text, line);
    std::string quoted = line.keyword;
    for (const std::string& arg : line.args) quoted += " " + Quoted(arg);
    CheckAlone(quoted, line);
    if (line.keyword == "file" && !line.args.empty()) (void)script.ResolveFile(line.args[0]);
  }
  // Consumed as the host and the driver do, every line answering its call.
  while (const ScriptLine* next = script.Peek()) {
    const std::string keyword = next->keyword;
    FUZZ_CHECK(script.TakeFor({keyword}, "call"), "the next line does not answer its own keyword");
  }
  script.ReportUnanswered("one call too many");
  FUZZ_CHECK(script.Unanswered().size() == 1, "the end of the script is not reported");
  return 0;
}
