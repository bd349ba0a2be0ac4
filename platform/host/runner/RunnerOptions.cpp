#include "platform/host/runner/RunnerOptions.h"

#include <charconv>
#include <cmath>

#include "platform/host/runner/WizardCalls.h"
#include "platform/win32/code_page.h"

namespace {

constexpr PluginCommand kCommands[] = {
    {"Jov_Length", CommandShape::Unit},
    {"Jov_CutDlg", CommandShape::IntPointer},
    {"Jov_Vantrix_Import", CommandShape::IntPointer},
    {"Jov_Vantrix_Export", CommandShape::IntPointer},
    {"Jov_Vantrix_M", CommandShape::Window},
    {"Exclude_From", CommandShape::NoArguments},
    {"Include_In", CommandShape::NoArguments},
};

bool ParseInt(const std::string& text, int& out) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

bool IsHandle(const std::string& text) {
  if (text.empty() || text.size() > 16) return false;
  uint64_t v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, 16);
  return ec == std::errc() && end == text.data() + text.size() && v != 0;
}

}  // namespace

const PluginCommand* FindPluginCommand(const std::string& name) {
  for (const PluginCommand& c : kCommands)
    if (name == c.name) return &c;
  return nullptr;
}

const char* RunnerModuleFile(RunnerModule module) {
  return module == RunnerModule::Wizard ? "Wizard.dll" : "Jov_Vantrix.dll";
}

namespace {

bool ParseNumber(const std::string& text, double& out) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return !text.empty() && ec == std::errc() && end == text.data() + text.size() && std::isfinite(out);
}

// The --arg words of one plug-in command: its one number, if it takes one.
bool CheckPluginCall(const RunnerCall& call, std::string* why) {
  const PluginCommand* command = FindPluginCommand(call.name);
  if (!command) {
    *why = "--run: '" + call.name +
           "' is not a command (Jov_Length, Jov_CutDlg, Jov_Vantrix_Import, "
           "Jov_Vantrix_Export, Jov_Vantrix_M, Exclude_From, Include_In)";
    return false;
  }
  if (call.args.empty()) return true;
  if (command->shape != CommandShape::Unit && command->shape != CommandShape::IntPointer) {
    *why = "--arg: " + call.name + " takes no argument";
    return false;
  }
  if (call.args.size() > 1) {
    *why = "--arg: " + call.name + " takes one argument";
    return false;
  }
  int n = 0;
  if (!ParseInt(call.args[0], n)) {
    *why = "--arg: '" + call.args[0] + "' is not a whole number";
    return false;
  }
  return true;
}

bool CheckWizardCall(const RunnerCall& call, std::string* why) {
  const WizardExport* e = FindWizardExport(call.name);
  if (!e) {
    *why = "--run: '" + call.name + "' is not an export of Wizard.dll";
    return false;
  }
  std::string reason;
  if (CheckWizardArgs(*e, call.args, &reason)) return true;
  *why = "--arg: " + reason;
  return false;
}

}  // namespace

bool ParseRunnerOptions(int argc, const char* const* argv, RunnerOptions& out, std::string* error) {
  auto fail = [&](const std::string& message) {
    if (error) *error = message;
    return false;
  };
  for (int i = 1; i < argc; ++i) {
    std::string word = argv[i];
    if (word == "--help" || word == "-h") {
      out.help = true;
      continue;
    }
    if (word == "--verbose" || word == "-v") {
      out.verbose = true;
      continue;
    }
    if (word.rfind("--", 0) != 0) return fail("unexpected argument '" + word + "'");
    std::string name = word, value;
    bool inlineValue = false;
    if (size_t eq = word.find('='); eq != std::string::npos) {
      name = word.substr(0, eq);
      value = word.substr(eq + 1);
      inlineValue = true;
    }
    static const char* const known[] = {"--drawing", "--out",    "--select", "--run",     "--arg",
                                        "--script",  "--profile", "--catalogue", "--units", "--scale",
                                        "--env",     "--log",    "--plugin", "--module",  "--insert",
                                        "--registry", "--hklm", "--snapshot"};
    bool isKnown = false;
    for (const char* k : known) isKnown = isKnown || name == k;
    if (!isKnown) return fail("unknown option " + name);
    if (name == "--insert") {
      double x = 0, y = 0;
      if (inlineValue || i + 2 >= argc) return fail("--insert takes two numbers: --insert X Y");
      if (!ParseNumber(argv[i + 1], x) || !ParseNumber(argv[i + 2], y))
        return fail(std::string("--insert: '") + argv[i + 1] + " " + argv[i + 2] + "' is not a point X Y");
      out.insert = std::make_pair(x, y);
      i += 2;
      continue;
    }
    if (!inlineValue) {
      if (i + 1 >= argc) return fail(name + " needs a value");
      value = argv[++i];
    }
    // A text argument may be empty; every other option needs a value.
    if (value.empty() && name != "--arg") return fail(name + " needs a value");

    if (name == "--drawing") {
      out.drawing = value;
    } else if (name == "--out") {
      out.out = value;
    } else if (name == "--select") {
      size_t pos = 0;
      while (pos <= value.size()) {
        size_t comma = value.find(',', pos);
        if (comma == std::string::npos) comma = value.size();
        std::string handle = value.substr(pos, comma - pos);
        if (!IsHandle(handle)) return fail("--select: '" + handle + "' is not an entity handle");
        out.select.push_back(handle);
        pos = comma + 1;
      }
    } else if (name == "--run") {
      out.calls.push_back({value, {}});
    } else if (name == "--arg") {
      if (out.calls.empty()) return fail("--arg: '" + value + "' comes before any --run");
      out.calls.back().args.push_back(value);
    } else if (name == "--module") {
      if (_mbsicmp(value.c_str(), "Wizard.dll") == 0)
        out.module = RunnerModule::Wizard;
      else if (_mbsicmp(value.c_str(), "Jov_Vantrix.dll") == 0)
        out.module = RunnerModule::Plugin;
      else
        return fail("--module: '" + value + "' is neither Jov_Vantrix.dll nor Wizard.dll");
    } else if (name == "--registry") {
      out.registry = value;
    } else if (name == "--script") {
      out.script = value;
    } else if (name == "--profile") {
      out.profile = value;
    } else if (name == "--catalogue") {
      out.catalogue = value;
    } else if (name == "--units") {
      if (value != "1" && value != "1000") return fail("--units: 1 (metres) or 1000 (millimetres), not '" + value + "'");
      out.units = value == "1" ? 1 : 1000;
    } else if (name == "--scale") {
      double s = 0;
      if (!ParseNumber(value, s) || s <= 0) return fail("--scale: '" + value + "' is not a positive number");
      out.scale = value;
    } else if (name == "--env") {
      if (value.find('=') == std::string::npos || value[0] == '=')
        return fail("--env: '" + value + "' is not NAME=VALUE");
      out.env.push_back(value);
    } else if (name == "--hklm") {
      MachineValue seeded;
      std::string reason;
      if (!ParseMachineValue(value, &seeded, &reason)) return fail("--hklm: " + reason);
      out.hklm.push_back(std::move(seeded));
    } else if (name == "--log") {
      out.log = value;
    } else if (name == "--plugin") {
      out.plugin = value;
    } else if (name == "--snapshot") {
      out.snapshot = value;
    }
  }
  if (out.help) return true;
  if (out.calls.empty()) return fail("--run is required");
  for (const RunnerCall& call : out.calls) {
    std::string why;
    const bool fits = out.module == RunnerModule::Wizard ? CheckWizardCall(call, &why) : CheckPluginCall(call, &why);
    if (!fits) return fail(why);
  }
  if (out.insert && (out.module != RunnerModule::Wizard || out.out.empty()))
    return fail("--insert places a product of Wizard.dll: it needs --module Wizard.dll and --out");
  return true;
}

std::string RunnerUsage(const std::string& program) {
  return "usage: " + program +
         " [--drawing IN.dxf] [--out OUT.dxf] [--select H[,H...]] [--module NAME]\n"
         "       --run NAME [--arg WORD...] [--run NAME [--arg WORD...]...] [--insert X Y]\n"
         "       [--script FILE] [--profile DIR] [--catalogue DIR] [--registry DIR] [--units 1|1000]\n"
         "       [--scale S] [--env NAME=VALUE] [--hklm KEY\\NAME=TEXT] [--log FILE] [--plugin FILE]\n"
         "       [--verbose]\n"
         "\n"
         "Loads the drawing into the CAD host (an empty drawing without --drawing), loads a\n"
         "module from the program's folder, preselects the given entities and calls the\n"
         "module's functions in the order given, in one process. The plug-in\n"
         "Jov_Vantrix.dll has the commands Jov_Length, Jov_CutDlg, Jov_Vantrix_Import,\n"
         "Jov_Vantrix_Export, Jov_Vantrix_M, Exclude_From, Include_In; the product library\n"
         "Wizard.dll has 24 exports (PPGetResbufEx, PPDlg, DimDlg, ...). For each call it\n"
         "prints its result, the chains it handed out, every message box, file dialog and\n"
         "dialog; then the clipboard's registered formats and what became of the drawing.\n"
         "\n"
         "  --drawing IN.dxf   ASCII DXF drawing (R12 or R2000 and later); never written\n"
         "  --out OUT.dxf      where the drawing goes when the calls commit a change\n"
         "  --select H,...     entity handles selected before the calls\n"
         "  --module NAME      Jov_Vantrix.dll (the default) or Wizard.dll\n"
         "  --run NAME         a command or export of the module; repeatable\n"
         "  --arg WORD         an argument of the --run before it, in the export's order\n"
         "                     (the two result-chain pointers are the runner's). Plug-in\n"
         "                     commands: Jov_Length's unit (default: the drawing units) or\n"
         "                     the first argument of Jov_CutDlg and the two exchange\n"
         "                     commands (default 0). Wizard.dll: a number; a text (- for\n"
         "                     null; \\n, \\r, \\\\ escapes); main (the host's window);\n"
         "                     db:T:ID (the catalogue of trade T on product ID); flags:0,1\n"
         "                     (bytes; their count is the next argument); entity:H (the\n"
         "                     chain of entity H); one character for a character or kind\n"
         "  --insert X Y       place the last product handed out: a block of chain 1 and an\n"
         "                     INSERT at X Y carrying chain 2 (needs Wizard.dll and --out)\n"
         "  --script FILE      answers to prompts, message boxes, file dialogs and dialog\n"
         "                     actions, one per line\n"
         "  --profile DIR      the user's profile folder (default ~/.config/dravik)\n"
         "  --catalogue DIR    the product catalogues (default: Catalogue beside the program)\n"
         "  --registry DIR     the registry's folder (default ~/.config/jov_vantrix/registry)\n"
         "  --units 1|1000     drawing units per metre (default: the drawing's $INSUNITS)\n"
         "  --scale S          the drawing scale (default 1)\n"
         "  --env NAME=VALUE   a host configuration value (repeatable)\n"
         "  --hklm KEY\\NAME=TEXT\n"
         "                     a text value of HKEY_LOCAL_MACHINE for the run, as an\n"
         "                     installer leaves it (repeatable); the registry is as it\n"
         "                     was afterwards\n"
         "  --log FILE         log every host call\n"
         "  --plugin FILE      load this file as the module instead (a testing aid)\n"
         "  --snapshot DIR     write a picture of each dialog into DIR as it opens and\n"
         "                     as it closes (<template>-<n>-open.png, -close.png) and of\n"
         "                     each message box and popup menu (msgbox-<n>.png,\n"
         "                     menu-<n>.png); the script word\n"
         "                     `snapshot NAME` writes DIR/NAME.png at any step\n"
         "  --verbose, -v      also print each dialog's actions, and its controls and\n"
         "                     values when it closes\n"
         "\n"
         "Script words, one a line, taken in order by whoever asks next:\n"
         "  the host's prompts: select H [H...] | select-window X1 Y1 X2 Y2 | pick H [X Y] |\n"
         "    point X Y [Z] | cancel\n"
         "  message boxes: answer ok|cancel|yes|no|abort|retry|ignore|tryagain|continue\n"
         "  file dialogs: file PATH; popup menus: menu ID|cancel; the radiator catalogue:\n"
         "    radiator (four texts and eight numbers) | radiator cancel\n"
         "  dialogs: dialog ID, set CTRL TEXT, type CTRL TEXT, key CTRL NAME,\n"
         "    click CTRL [X Y], dblclick CTRL [ROW], check CTRL 0|1, check CTRL ROW 0|1,\n"
         "    choose CTRL INDEX|TEXT, edit-cell CTRL ROW COL TEXT,\n"
         "    choose-cell CTRL ROW COL INDEX, drag-row CTRL ROW [CTRL2] ROW2, rclick CTRL X Y,\n"
         "    drag CTRL left|middle X1 Y1 X2 Y2, wheel CTRL N, preview-pick CTRL ID,\n"
         "    resize W H, snapshot NAME, ok, cancel\n"
         "\n"
         "Exit codes (the first that applies, in the order 2, 6, 5, 7, 8):\n"
         "  0  the calls ran as the script said (whatever they returned)\n"
         "  2  bad arguments or script, an argument the host cannot give, nothing to --insert\n"
         "  3  the drawing cannot be read\n"
         "  4  the host or the module is missing, or lacks an export\n"
         "  5  a script line could not be carried out\n"
         "  6  the output or a picture could not be written\n"
         "  7  a prompt, message box, file dialog, menu or dialog was left unanswered\n"
         "  8  a script line was left unused\n"
         "\n"
         "What a run keeps: the settings files (last values, window places, histories,\n"
         "masks) in the profile's Dat and Vantrix folders (--profile), and the registry\n"
         "values (product dialogs' places and choices) in the registry folder (--registry).\n"
         "To start clean, give both a new empty folder, e.g. --profile \"$(mktemp -d)\"\n"
         "--registry \"$(mktemp -d)\"; the host lays out Dat and Vantrix in any profile.\n"
         "One of the project's tests by hand, in the source folder after a build:\n"
         "ctest --preset dev -R NAME (ctest --preset dev -N lists the names).\n"
         "\n"
         "Jov_CutDlg and the exchange commands end with result -1 when they are done; a branch\n"
         "section reads only pipes marked out of the network (run Exclude_From first).\n"
         "Started as duvozedo.exe it is the LT edition of the host.\n";
}

bool ParseMachineValue(const std::string& word, MachineValue* out, std::string* why) {
  const size_t eq = word.find('=');
  const size_t slash = word.rfind('\\', eq);
  if (eq == std::string::npos || slash == std::string::npos || slash == 0 || slash + 1 == eq) {
    if (why) *why = "'" + word + "' is not KEY\\NAME=TEXT";
    return false;
  }
  if (out) *out = {Utf8ToCp1250(word.substr(0, slash)), Utf8ToCp1250(word.substr(slash + 1, eq - slash - 1)),
                   Utf8ToCp1250(word.substr(eq + 1))};
  return true;
}
