// Running a program of the build from a test: arguments, extra environment,
// and what it printed on stdout and stderr.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace testsupport {

inline std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

struct Outcome {
  int exit = -1;
  std::string out, err;
  // Whether stdout holds this whole line.
  bool Has(const std::string& line) const {
    return out.rfind(line + "\n", 0) == 0 || out.find("\n" + line + "\n") != std::string::npos;
  }
};

// Runs program with args; its output goes through files in scratch (a
// folder the caller owns). The environment is this process's plus env.
inline Outcome RunProgram(const std::string& program, const std::vector<std::string>& args,
                          const std::filesystem::path& scratch,
                          const std::vector<std::string>& env = {}) {
  std::vector<std::string> all{program};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> envText = env;
  for (char** e = environ; *e; ++e) envText.push_back(*e);
  std::vector<char*> envp;
  for (std::string& e : envText) envp.push_back(e.data());
  envp.push_back(nullptr);

  const std::string out = (scratch / "stdout.txt").string();
  const std::string err = (scratch / "stderr.txt").string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = 0;
  Outcome o;
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    o.exit = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  posix_spawn_file_actions_destroy(&actions);
  o.out = Slurp(out);
  o.err = Slurp(err);
  return o;
}

}  // namespace testsupport
