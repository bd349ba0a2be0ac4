// The command line of the runner `dravik`.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The plug-in's seven exports and how the runner calls them.
enum class CommandShape {
  Unit,        // int (int unit): --arg, else the drawing units
  IntPointer,  // int (int, void*): --arg (else 0) and null
  Window,      // int (HWND): the host's main window
  NoArguments, // int ()
};

struct PluginCommand {
  const char* name;
  CommandShape shape;
};

// Null for a name that is not one of the seven.
const PluginCommand* FindPluginCommand(const std::string& name);

// A text value of HKEY_LOCAL_MACHINE the run starts with, as an installer
// would have left it (code page 1250).
struct MachineValue {
  std::string key;
  std::string name;
  std::string text;
};

// Reads "KEY\NAME=TEXT" (UTF-8): the key path up to the last '\' before the
// first '=', the value's name after it, the text after the '='. False with
// the reason for a word without a key, a name or the '='.
bool ParseMachineValue(const std::string& word, MachineValue* out, std::string* why);

// One --run and the --arg words after it.
struct RunnerCall {
  std::string name;
  std::vector<std::string> args;
};

// The libraries the runner calls: the plug-in (its seven commands) or the
// product library (its 24 exports).
enum class RunnerModule { Plugin, Wizard };

struct RunnerOptions {
  std::string drawing;                  // --drawing; empty: an empty drawing
  std::string out;                      // --out
  std::vector<std::string> select;      // --select, handles
  RunnerModule module = RunnerModule::Plugin;  // --module
  std::vector<RunnerCall> calls;        // --run, repeatable, each with its --arg words
  std::optional<std::pair<double, double>> insert;  // --insert X Y
  std::string registry;                 // --registry
  std::string script;                   // --script
  std::string profile;                  // --profile
  std::string catalogue;                // --catalogue
  std::optional<int> units;             // --units
  std::optional<std::string> scale;     // --scale
  std::vector<std::string> env;         // --env NAME=VALUE
  std::vector<MachineValue> hklm;       // --hklm KEY\NAME=TEXT
  std::string log;                      // --log
  std::string plugin;                   // --plugin: another file for the module (testing aid)
  std::string snapshot;                 // --snapshot: the folder of the dialogs' pictures
  bool verbose = false;                 // --verbose: dialogs' actions and controls
  bool help = false;
};

// The module's file name.
const char* RunnerModuleFile(RunnerModule module);

// False with the reason for an unknown option, a missing or bad value, a
// missing --run, a command or export the module does not have, or --arg
// words that do not fit it. Options take their value as the next argument
// or after '='; --insert takes two.
bool ParseRunnerOptions(int argc, const char* const* argv, RunnerOptions& out, std::string* error);

std::string RunnerUsage(const std::string& program);
