// Build tool: compiles a resource script into a compiled resource file.
//   jov_rc [-I folder]... [--depfile file] -o output script.rc
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "platform/resources/compiler/ResourceScriptCompiler.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: jov_rc [-I folder]... [--depfile file] -o output script.rc\n");
  return 2;
}

// Make syntax: spaces in names are escaped.
std::string DepName(const std::string& path) {
  std::string out;
  for (char c : path) {
    if (c == ' ' || c == '#') out += '\\';
    if (c == '$') out += '$';
    out += c;
  }
  return out;
}

// Written beside and renamed, so that a failed run never leaves half a file.
bool WriteFile(const std::string& path, const std::string& bytes) {
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) return false;
  }
  return std::rename(temporary.c_str(), path.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> includeDirs;
  std::string output, depfile, script;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "-I" && i + 1 < argc) {
      includeDirs.push_back(argv[++i]);
    } else if (arg.compare(0, 2, "-I") == 0 && arg.size() > 2) {
      includeDirs.push_back(arg.substr(2));
    } else if (arg == "-o" && i + 1 < argc) {
      output = argv[++i];
    } else if (arg == "--depfile" && i + 1 < argc) {
      depfile = argv[++i];
    } else if (!arg.empty() && arg[0] != '-' && script.empty()) {
      script = arg;
    } else {
      return Usage();
    }
  }
  if (output.empty() || script.empty()) return Usage();

  ResourceScriptCompiler compiler(includeDirs);
  ResourceTable table;
  try {
    table = compiler.Compile(script);
  } catch (const ScriptError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  std::vector<BYTE> image = SerializeResourceTable(table);
  if (!WriteFile(output, std::string(image.begin(), image.end()))) {
    std::fprintf(stderr, "%s: error: cannot write the output\n", output.c_str());
    return 1;
  }
  if (!depfile.empty()) {
    std::string text = DepName(output) + ":";
    for (const auto& dep : compiler.Dependencies()) text += " \\\n  " + DepName(dep);
    text += "\n";
    if (!WriteFile(depfile, text)) {
      std::fprintf(stderr, "%s: error: cannot write the dependency file\n", depfile.c_str());
      return 1;
    }
  }
  return 0;
}
