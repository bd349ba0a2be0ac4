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

struct RunnerOptions {
  std::string drawing;                  // --drawing
  std::string out;                      // --out
  std::vector<std::string> select;      // --select, handles
  std::string run;                      // --run
  std::optional<int> arg;               // --arg
  std::string script;                   // --script
  std::string profile;                  // --profile
  std::string catalogue;                // --catalogue
  std::optional<int> units;             // --units
  std::optional<std::string> scale;     // --scale
  std::vector<std::string> env;         // --env NAME=VALUE
  std::string log;                      // --log
  std::string plugin;                   // --plugin (testing aid)
  bool verbose = false;                 // --verbose: dialogs' actions and controls
  bool help = false;
};

// False with the reason for an unknown option, a missing or bad value, or
// a missing --drawing/--run. Options take their value as the next
// argument or after '='.
bool ParseRunnerOptions(int argc, const char* const* argv, RunnerOptions& out, std::string* error);

std::string RunnerUsage(const std::string& program);
