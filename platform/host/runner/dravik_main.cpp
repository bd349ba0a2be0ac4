// The runner `dravik`: loads a drawing into the CAD host, loads the plug-in
// (or the product library "Wizard.dll") beside it, calls its commands or
// exports in order and reports what happened. Started as "duvozedo.exe" it
// is the LT edition and is the host itself; otherwise it loads the host
// library "dravik2d.arx" from its folder. Both are driven through the
// host's control interface.
//
// Output (stdout, UTF-8), in this order:
//   per call:
//     result: N                      (- for an export without a result)
//     chain 1: CODE VALUE            the chains an export handed out with 1
//     chain 2: CODE VALUE            (ChainReport.h)
//     message: caption="..." type=N text="..." answer=WORD [(unanswered)]
//     file: / help: / menu: / dialog ...: the other user-interface events
//                                    (RunReport.h; more with --verbose)
//   insert: block "NAME" at X Y      the product placed by --insert
//   unanswered: CALL: why            prompts the script did not answer
//   script: line N not used: TEXT    lines left over
//   clipboard FORMAT: TEXT           each registered format
//   pictures: N in DIR               with --snapshot: the pictures written
//   drawing: written OUT | changed, not written (no --out)
//          | not written (change cancelled) | not written (change not ended)
//          | not written (change refused)      (the reason on stderr, exit 6)
//          | unchanged
// The drawing is written only when the command committed its change
// (EndChange(1)); the input file is never written.
//
// Exit codes: 0 the calls ran (whatever they returned) as the script said;
// 2 bad arguments or script, an argument the host cannot give, or nothing to
// --insert; 3 unreadable drawing; 4 host or module missing, or an export it
// lacks; 5 a script line could not be carried out; 6 the output or a picture
// could not be written; 7 a prompt, message box, file dialog, menu or dialog
// was left unanswered; 8 a script line was left unused. The first that
// applies, in the order 2, 6, 5, 7, 8, decides.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "dataformat/GroupCodeChain.h"
#include "dataformat/HostExportTable.h"
#include "platform/host/exports/HostControl.h"
#include "platform/host/runner/ChainReport.h"
#include "platform/host/runner/MachineValues.h"
#include "platform/host/runner/ProductInsert.h"
#include "platform/host/runner/RunReport.h"
#include "platform/host/runner/RunnerOptions.h"
#include "platform/host/runner/WizardCalls.h"
#include "platform/win32/code_page.h"
#include "platform/win32/file_replace.h"
#include "platform/win32/module_loader.h"
#include "platform/win32/registry.h"
#include "platform/win32/driver/script_ui_driver.h"
#include "platform/win32/driver/window_pictures.h"
#include "platform/win32/driver/session_script.h"

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitDrawing = 3;
constexpr int kExitModule = 4;
constexpr int kExitScript = 5;
constexpr int kExitOutput = 6;
constexpr int kExitUnanswered = 7;
constexpr int kExitUnused = 8;

int Error(int code, const std::string& message) {
  std::fprintf(stderr, "dravik: %s\n", message.c_str());
  return code;
}

std::string ProgramPath() {
  char path[4096] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  return Cp1250ToUtf8(path);
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  if (std::filesystem::equivalent(a, b, ec)) return true;
  auto ca = std::filesystem::weakly_canonical(a, ec);
  auto cb = std::filesystem::weakly_canonical(b, ec);
  return !ec && ca == cb;
}

struct Host {
  HMODULE module = nullptr;
  const DravikHostControl* control = nullptr;
};

// Sets one host option; false after reporting.
bool SetOption(const DravikHostControl& c, const char* name, const std::string& value) {
  char error[512] = {};
  if (c.SetOption(name, value.c_str(), error, sizeof error)) return true;
  std::fprintf(stderr, "dravik: %s\n", error);
  return false;
}

int CallCommand(FARPROC proc, const PluginCommand& command, const RunnerCall& call,
                const DravikHostControl& control) {
  const int arg = call.args.empty() ? 0 : std::stoi(call.args[0]);
  switch (command.shape) {
    case CommandShape::Unit:
      return reinterpret_cast<int (*)(int)>(proc)(call.args.empty() ? control.DrawingUnits() : arg);
    case CommandShape::IntPointer:
      return reinterpret_cast<int (*)(int, void*)>(proc)(arg, nullptr);
    case CommandShape::Window:
      return reinterpret_cast<int (*)(HWND)>(proc)(control.MainWindow());
    case CommandShape::NoArguments:
      return reinterpret_cast<int (*)()>(proc)();
  }
  return -1;
}

void PrintLines(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) std::printf("%s\n", line.c_str());
}

// The copies of the last product a library handed out, for --insert.
struct LastProduct {
  resbuf* geometry = nullptr;
  resbuf* data = nullptr;
  ~LastProduct() { Clear(); }
  void Clear() {
    DeleteGroupCodeChain(&geometry);
    DeleteGroupCodeChain(&data);
  }
  bool Keep(const resbuf* chain1, const resbuf* chain2) {
    Clear();
    return DuplicateGroupCodeChain(chain1, &geometry) && DuplicateGroupCodeChain(chain2, &data);
  }
};

// One export of the product library: its words resolved just before the
// call (a catalogue is positioned then), the result and the chains it
// handed out. False with the reason when a word names what the host does
// not have.
bool CallExport(FARPROC proc, const WizardExport& e, const RunnerCall& call, const WizardHostAccess& host,
                LastProduct& last, std::string* error) {
  std::vector<WizardArg> args;
  if (!ResolveWizardArgs(e, call.args, host, args, error)) return false;
  resbuf* chain1 = nullptr;
  resbuf* chain2 = nullptr;
  const int64_t result = e.invoke(proc, args, &chain1, &chain2);
  std::printf("result: %s\n", WizardResultText(e, result).c_str());
  if (e.handsOutChains && result == 1) {
    PrintLines(ChainLines(1, chain1));
    PrintLines(ChainLines(2, chain2));
    if (!last.Keep(chain1, chain2)) *error = "out of memory";
  }
  return true;
}

// The program's own place and edition.
struct Program {
  std::string path;
  std::string folder;
  bool lt = false;
};

// Reads the command line: -1 to go on, else the exit code (help or usage).
int ParseArguments(int argc, char** argv, const Program& program, RunnerOptions& options) {
  std::string why;
  if (!ParseRunnerOptions(argc, argv, options, &why)) {
    std::fprintf(stderr, "dravik: %s\n%s", why.c_str(), RunnerUsage(FileNameOf(program.path)).c_str());
    return kExitUsage;
  }
  if (options.help) {
    std::fputs(RunnerUsage(FileNameOf(program.path)).c_str(), stdout);
    return 0;
  }
  return -1;
}

// The drawing must be a readable file, and never the output.
int CheckDrawingPaths(const RunnerOptions& options) {
  if (options.drawing.empty()) return 0;
  if (std::FILE* probe = std::fopen(options.drawing.c_str(), "rb")) {
    std::fclose(probe);
  } else {
    return Error(kExitDrawing, "cannot read the drawing " + options.drawing);
  }
  struct stat st;
  if (stat(options.drawing.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
    return Error(kExitDrawing, "the drawing " + options.drawing + " is not a file");
  if (!options.out.empty() && SameFile(options.out, options.drawing))
    return Error(kExitUsage, "--out names the input drawing, which is never overwritten");
  return 0;
}

// --out: written through its links onto a regular file the user may write,
// or a new file; never onto a device, a pipe or a folder. "" or the reason.
std::string OutputProblem(const std::string& out) {
  const std::string target = win32::WriteTarget(out);
  struct stat st;
  if (lstat(target.c_str(), &st) != 0) return "";
  if (S_ISLNK(st.st_mode)) return "--out " + out + " is a chain of links that does not end";
  if (!S_ISREG(st.st_mode))
    return "--out " + out + (target == out ? "" : " (" + target + ")") + " is not a regular file";
  // No write bit at all is read-only even to the superuser.
  if ((st.st_mode & 0222) == 0 || access(target.c_str(), W_OK) != 0)
    return "--out " + out + (target == out ? "" : " (" + target + ")") + " is read-only";
  return "";
}

// The host: the program itself in the LT edition, else the library; its
// options set, the drawing opened and the selection made. 0 or the exit code.
int SetUpHost(const RunnerOptions& options, const Program& program, Host& host) {
  const std::string hostPath = program.folder + "/dravik2d.arx";
  if (program.lt) {
    host.module = GetModuleHandleA(nullptr);
  } else {
    host.module = LoadLibraryA(Utf8ToCp1250(hostPath).c_str());
    if (!host.module)
      return Error(kExitModule, "cannot load the host library " + hostPath + ": " + LastLoadErrorText());
  }
  auto getControl = reinterpret_cast<GetDravikControlFn>(GetProcAddress(host.module, kDravikControlExport));
  host.control = getControl ? getControl() : nullptr;
  if (!host.control || host.control->version != kDravikControlVersion)
    return Error(kExitModule, std::string("the host ") + (program.lt ? program.path : hostPath) +
                                  " has no usable " + kDravikControlExport);
  const DravikHostControl& control = *host.control;

  bool ok = SetOption(control, "edition", program.lt ? "lt" : "full") &&
            SetOption(control, "module-folder", program.folder) &&
            SetOption(control, "exit-after-shutdown", "1") &&
            (!options.units || SetOption(control, "units", std::to_string(*options.units))) &&
            (!options.scale || SetOption(control, "scale", *options.scale)) &&
            (options.profile.empty() || SetOption(control, "profile", options.profile)) &&
            (options.catalogue.empty() || SetOption(control, "catalogue", options.catalogue)) &&
            (options.log.empty() || SetOption(control, "log", options.log));
  for (const std::string& env : options.env) ok = ok && SetOption(control, "env", env);
  if (!ok) return kExitUsage;

  char error[1024] = {};
  if (!options.drawing.empty() && !control.OpenDrawing(options.drawing.c_str(), error, sizeof error))
    return Error(kExitDrawing, "cannot read the drawing " + options.drawing + ": " + error);
  if (!options.select.empty()) {
    std::string list;
    for (const std::string& h : options.select) list += (list.empty() ? "" : ",") + h;
    if (!control.Preselect(list.c_str(), error, sizeof error)) return Error(kExitUsage, std::string("--select: ") + error);
  }
  return 0;
}

// What the calls left for the report.
struct CallsOutcome {
  std::string failure;  // a word the host could not give, or a failed --insert
  int change = 0;       // the host's end of the command
  bool offScript = false;  // something the script did not answer
};

// Loads the module (its start-up binds the host, so after the host), runs
// every call and --insert in one command, and unloads it. 0 or the exit code.
int RunCalls(const RunnerOptions& options, const Program& program, const Host& host, CallsOutcome& outcome) {
  const bool wizard = options.module == RunnerModule::Wizard;
  const DravikHostControl& control = *host.control;
  const std::string modulePath =
      options.plugin.empty() ? program.folder + "/" + RunnerModuleFile(options.module) : options.plugin;
  const std::string moduleKind = wizard ? "product library" : "plug-in";
  struct stat st;
  if (stat(modulePath.c_str(), &st) != 0) return Error(kExitModule, "no " + moduleKind + " at " + modulePath);
  ClearUiJournal();
  SetUiJournalDescribesDialogs(options.verbose);  // shown only then
  HMODULE module = LoadLibraryA(Utf8ToCp1250(modulePath).c_str());
  if (!module) return Error(kExitModule, "cannot load the " + moduleKind + " " + modulePath + ": " + LastLoadErrorText());
  std::vector<FARPROC> procs;
  for (const RunnerCall& call : options.calls) {
    procs.push_back(GetProcAddress(module, call.name.c_str()));
    if (!procs.back()) {
      FreeLibrary(module);
      return Error(kExitModule, "the " + moduleKind + " " + modulePath + " has no export " + call.name);
    }
  }

  using GetDatabaseFn = jovDatabase::Database* (*)(char);
  auto getDatabase = reinterpret_cast<GetDatabaseFn>(GetProcAddress(host.module, "GetDatabase"));
  char error[1024] = {};
  WizardHostAccess access;
  access.mainWindow = [&] { return control.MainWindow(); };
  access.database = [&](char trade) { return getDatabase ? getDatabase(trade) : nullptr; };
  access.entity = [&](const std::string& handle, std::string* reason) {
    resbuf* chain = control.EntityChain(handle.c_str(), error, sizeof error);
    if (!chain && reason) *reason = error;
    return chain;
  };

  // One command for all the calls: the drawing is committed or rolled back
  // once, after the last.
  std::string& failure = outcome.failure;
  LastProduct last;
  control.BeginCommand();
  for (size_t i = 0; i < options.calls.size() && failure.empty(); ++i) {
    const RunnerCall& call = options.calls[i];
    if (wizard) {
      if (!CallExport(procs[i], *FindWizardExport(call.name), call, access, last, &failure))
        failure = "--arg: " + failure;
    } else {
      std::printf("result: %d\n", CallCommand(procs[i], *FindPluginCommand(call.name), call, control));
    }
    PrintLines(UiLines(UiJournal(), options.verbose));
    outcome.offScript = WentOffScript(UiJournal()) || outcome.offScript;
    ClearUiJournal();
  }
  if (options.insert && failure.empty()) {
    auto getExport = reinterpret_cast<GetExport2DFn>(GetProcAddress(host.module, "GetExport2D"));
    std::string block;
    if (!last.geometry && !last.data)
      failure = "--insert: no product was handed out";
    else if (!InsertProduct(getExport ? getExport() : nullptr, last.geometry, last.data, options.insert->first,
                            options.insert->second, &block, &failure))
      failure = "--insert: " + failure;
    else
      std::printf("insert: block %s at %s %s\n", QuoteForReport(block).c_str(),
                  ShortestNumber(options.insert->first).c_str(), ShortestNumber(options.insert->second).c_str());
  }
  outcome.change = control.EndCommand();
  FreeLibrary(module);
  PrintLines(UiLines(UiJournal(), options.verbose));
  outcome.offScript = WentOffScript(UiJournal()) || outcome.offScript;
  return 0;
}

// Prints what is left to say and writes the drawing of a committed change;
// the exit code.
int Report(const RunnerOptions& options, const DravikHostControl& control, SessionScript& script,
           const CallsOutcome& outcome) {
  for (const std::string& line : script.Unanswered()) std::printf("unanswered: %s\n", line.c_str());
  for (const ScriptLine& line : script.Remaining())
    std::printf("script: line %d not used: %s\n", line.number, line.text.c_str());
  PrintLines(ClipboardLines());
  if (!options.snapshot.empty())
    std::printf("pictures: %zu in %s\n", DialogPicturesWritten().size(), options.snapshot.c_str());

  int exitCode = 0;
  if (!outcome.failure.empty()) exitCode = Error(kExitUsage, outcome.failure);
  for (const std::string& why : DialogPictureFailures())
    if (int code = Error(kExitOutput, "picture not written: " + why); exitCode == 0) exitCode = code;
  char error[1024] = {};
  switch (outcome.change) {
    case kDravikCommitted:
      if (options.out.empty()) {
        std::printf("drawing: changed, not written (no --out)\n");
      } else if (control.SaveDrawing(options.out.c_str(), error, sizeof error)) {
        std::printf("drawing: written %s\n", options.out.c_str());
      } else {
        std::printf("drawing: not written (%s)\n", error);
        exitCode = Error(kExitOutput, error);  // the reason names the file
      }
      break;
    case kDravikCancelled:
      std::printf("drawing: not written (change cancelled)\n");
      break;
    case kDravikLeftOpen:
      std::printf("drawing: not written (change not ended)\n");
      break;
    case kDravikRefused:
      std::printf("drawing: not written (change refused)\n");
      exitCode = Error(kExitOutput, control.Refusal());
      break;
    default:
      std::printf("drawing: unchanged\n");
  }
  std::fflush(stdout);
  for (const std::string& e : script.Errors()) {
    std::fprintf(stderr, "dravik: script %s %s\n", script.Name().c_str(), e.c_str());
    if (exitCode == 0) exitCode = kExitScript;
  }
  if (exitCode == 0 && (outcome.offScript || !script.Unanswered().empty())) exitCode = kExitUnanswered;
  if (exitCode == 0 && !script.Remaining().empty()) exitCode = kExitUnused;
  return exitCode;
}

}  // namespace

int main(int argc, char** argv) {
  SetProgramFileName(argv[0]);
  Program program;
  program.path = ProgramPath();
  program.folder = FolderOf(program.path);
  program.lt = _mbsicmp(Utf8ToCp1250(FileNameOf(program.path)).c_str(), "duvozedo.exe") == 0;

  RunnerOptions options;
  if (int code = ParseArguments(argc, argv, program, options); code >= 0) return code;
  // Before anything loads: every library reads the same registry.
  if (!options.registry.empty()) SetRegistryFolder(options.registry);
  SeededMachineValues machineValues;
  std::string why;
  for (const MachineValue& value : options.hklm)
    if (!machineValues.Seed(value, &why)) return Error(kExitUsage, why);
  if (int code = CheckDrawingPaths(options)) return code;
  if (!options.out.empty())
    if (std::string why = OutputProblem(options.out); !why.empty()) return Error(kExitOutput, why);

  // The driver first: it adds the dialog words the script may use.
  ScriptUiDriver driver;
  ScopedUiDriver scopedDriver(&driver);
  SetDialogPictureFolder(options.snapshot);
  SessionScript& script = CurrentSessionScript();
  if (!options.script.empty() && !script.Load(options.script, &why))
    return Error(kExitUsage, "script " + why);

  // The host stays loaded to the end, as the host process would, and is
  // shut down however the run ends: a drawing it read is let go of.
  Host host;
  struct ShutDown {
    Host& host;
    ~ShutDown() {
      if (host.control) host.control->Shutdown();
    }
  } shutDown{host};
  if (int code = SetUpHost(options, program, host)) return code;
  CallsOutcome outcome;
  if (int code = RunCalls(options, program, host, outcome)) return code;
  return Report(options, *host.control, script, outcome);
}
