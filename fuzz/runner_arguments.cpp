// The runner's command line, one word per input line: it parses or fails
// with a reason, and what it parses is a run the module has (its commands
// or exports, their argument words), and parses again the same from its
// own words.
#include <charconv>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "platform/host/runner/RunnerOptions.h"
#include "platform/host/runner/WizardCalls.h"

namespace {

std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words{"dravik"};
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    words.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return words;
}

bool Parse(const std::vector<std::string>& words, RunnerOptions& options, std::string& error) {
  std::vector<const char*> argv;
  for (const std::string& w : words) argv.push_back(w.c_str());
  return ParseRunnerOptions(static_cast<int>(argv.size()), argv.data(), options, &error);
}

std::string Number(double value) {
  char buffer[64];
  return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

// The run as words of its own.
std::vector<std::string> Canonical(const RunnerOptions& o) {
  std::vector<std::string> words{"dravik", "--module", RunnerModuleFile(o.module)};
  for (const RunnerCall& call : o.calls) {
    words.insert(words.end(), {"--run", call.name});
    for (const std::string& arg : call.args) words.insert(words.end(), {"--arg", arg});
  }
  if (!o.drawing.empty()) words.insert(words.end(), {"--drawing", o.drawing});
  if (!o.out.empty()) words.insert(words.end(), {"--out", o.out});
  for (const std::string& handle : o.select) words.insert(words.end(), {"--select", handle});
  if (o.insert) words.insert(words.end(), {"--insert", Number(o.insert->first), Number(o.insert->second)});
  return words;
}

bool SameRun(const RunnerOptions& a, const RunnerOptions& b) {
  if (a.module != b.module || a.calls.size() != b.calls.size() || a.drawing != b.drawing || a.out != b.out ||
      a.select != b.select || a.insert != b.insert)
    return false;
  for (size_t i = 0; i < a.calls.size(); ++i)
    if (a.calls[i].name != b.calls[i].name || a.calls[i].args != b.calls[i].args) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  RunnerOptions options;
  std::string error;
  if (!Parse(Words(fuzz::CText(data, size)), options, error)) {
    FUZZ_CHECK(!error.empty(), "a refused command line without a reason");
    return 0;
  }
  if (options.help) return 0;
  FUZZ_CHECK(!options.calls.empty(), "a run without calls");
  for (const RunnerCall& call : options.calls) {
    if (options.module == RunnerModule::Plugin) {
      FUZZ_CHECK(FindPluginCommand(call.name) != nullptr, "an unknown command passed: " + call.name);
      continue;
    }
    const WizardExport* e = FindWizardExport(call.name);
    FUZZ_CHECK(e != nullptr, "an unknown export passed: " + call.name);
    std::string why;
    FUZZ_CHECK(CheckWizardArgs(*e, call.args, &why), "words passed that do not fit: " + why);
  }
  RunnerOptions again;
  FUZZ_CHECK(Parse(Canonical(options), again, error), "the run's own words are refused: " + error);
  FUZZ_CHECK(SameRun(options, again), "the run's own words parse to another run");
  return 0;
}
