#include "platform/host/runner/RunnerOptions.h"

#include <charconv>
#include <cmath>

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
    static const char* const known[] = {"--drawing", "--out",    "--select", "--run",
                                        "--arg",     "--script", "--profile", "--catalogue",
                                        "--units",   "--scale",  "--env",    "--log",
                                        "--plugin"};
    bool isKnown = false;
    for (const char* k : known) isKnown = isKnown || name == k;
    if (!isKnown) return fail("unknown option " + name);
    if (!inlineValue) {
      if (i + 1 >= argc) return fail(name + " needs a value");
      value = argv[++i];
    }
    if (value.empty()) return fail(name + " needs a value");

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
      if (!FindPluginCommand(value))
        return fail("--run: '" + value +
                    "' is not a command (Jov_Length, Jov_CutDlg, Jov_Vantrix_Import, "
                    "Jov_Vantrix_Export, Jov_Vantrix_M, Exclude_From, Include_In)");
      out.run = value;
    } else if (name == "--arg") {
      int n = 0;
      if (!ParseInt(value, n)) return fail("--arg: '" + value + "' is not a whole number");
      out.arg = n;
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
      auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), s);
      if (ec != std::errc() || end != value.data() + value.size() || !std::isfinite(s) || s <= 0)
        return fail("--scale: '" + value + "' is not a positive number");
      out.scale = value;
    } else if (name == "--env") {
      if (value.find('=') == std::string::npos || value[0] == '=')
        return fail("--env: '" + value + "' is not NAME=VALUE");
      out.env.push_back(value);
    } else if (name == "--log") {
      out.log = value;
    } else if (name == "--plugin") {
      out.plugin = value;
    }
  }
  if (out.help) return true;
  if (out.drawing.empty()) return fail("--drawing is required");
  if (out.run.empty()) return fail("--run is required");
  const PluginCommand* command = FindPluginCommand(out.run);
  if (out.arg && command->shape != CommandShape::Unit && command->shape != CommandShape::IntPointer)
    return fail("--arg: " + out.run + " takes no argument");
  return true;
}

std::string RunnerUsage(const std::string& program) {
  return "usage: " + program +
         " --drawing IN.dxf [--out OUT.dxf] [--select H[,H...]] --run COMMAND [--arg N]\n"
         "       [--script FILE] [--profile DIR] [--catalogue DIR] [--units 1|1000] [--scale S]\n"
         "       [--env NAME=VALUE] [--log FILE] [--plugin FILE] [--verbose]\n"
         "\n"
         "Loads the drawing into the CAD host, loads the plug-in Jov_Vantrix.dll from the\n"
         "program's folder, preselects the given entities and runs one of its commands:\n"
         "Jov_Length, Jov_CutDlg, Jov_Vantrix_Import, Jov_Vantrix_Export, Jov_Vantrix_M,\n"
         "Exclude_From, Include_In. Then it prints the command's result, every message box,\n"
         "file dialog and dialog, the clipboard's registered formats, and what became of\n"
         "the drawing.\n"
         "\n"
         "  --drawing IN.dxf   ASCII DXF drawing (R12 or R2000 and later); never written\n"
         "  --out OUT.dxf      where the drawing goes when the command commits its change\n"
         "  --select H,...     entity handles selected before the command\n"
         "  --run COMMAND      the plug-in's command\n"
         "  --arg N            Jov_Length's unit (default: the drawing units) or the first\n"
         "                     argument of Jov_CutDlg and the two exchange commands (default 0)\n"
         "  --script FILE      answers to prompts, message boxes, file dialogs and dialog\n"
         "                     actions, one per line\n"
         "  --profile DIR      the user's profile folder (default ~/.config/dravik)\n"
         "  --catalogue DIR    the product catalogues (default: Catalogue beside the program)\n"
         "  --units 1|1000     drawing units per metre (default: the drawing's $INSUNITS)\n"
         "  --scale S          the drawing scale (default 1)\n"
         "  --env NAME=VALUE   a host configuration value (repeatable)\n"
         "  --log FILE         log every host call\n"
         "  --plugin FILE      load this plug-in instead (a testing aid)\n"
         "  --verbose, -v      also print each dialog's actions, and its controls and\n"
         "                     values when it closes\n"
         "\n"
         "Started as duvozedo.exe it is the LT edition of the host.\n";
}
