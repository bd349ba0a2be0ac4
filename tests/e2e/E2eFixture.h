// A scratch folder per test and the runner of the build.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/ProgramRun.h"

using testsupport::Outcome;

class E2e : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::temp_directory_path() /
           (std::string("jov_e2e_") + info->name() + "_" + std::to_string(getpid()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_ / "profile");
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  static std::string Sample() {
    return std::string(JOV_SOURCE_DIR) + "/examples/heating_network.dxf";
  }
  std::string Write(const std::string& name, const std::string& text) {
    std::ofstream(dir_ / name, std::ios::binary) << text;
    return (dir_ / name).string();
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  // A module folder like the build's at target, linked file by file,
  // leaving out the file named missing.
  static std::string ModuleFolder(const std::filesystem::path& target, const std::string& missing = "") {
    std::filesystem::create_directories(target);
    for (const auto& entry : std::filesystem::directory_iterator(JOV_TEST_MODULE_DIR)) {
      if (entry.path().filename() == missing) continue;
      std::filesystem::create_symlink(entry.path(), target / entry.path().filename());
    }
    return target.string();
  }

  // The runner (or its LT name) of a module folder, with a profile of its own.
  Outcome Run(std::vector<std::string> args, bool lt = false,
              const std::string& modules = JOV_TEST_MODULE_DIR) {
    args.insert(args.end(), {"--profile", (dir_ / "profile").string()});
    return testsupport::RunProgram(modules + (lt ? "/duvozedo.exe" : "/dravik"), args, dir_);
  }

  // In a runner's host log (--log): the chains alt_entnext handed out and
  // those unlink_DXF let go.
  static std::pair<size_t, size_t> ChainsHandedAndReleased(const std::string& log) {
    std::pair<size_t, size_t> counts{0, 0};
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
      counts.first += line.rfind("alt_entnext(", 0) == 0 && line.find("-> <") != std::string::npos;
      counts.second += line.rfind("unlink_DXF() -> 5100 [released <", 0) == 0;
    }
    return counts;
  }

  // The runner's exit code for a run whose calls all ran: 7 when something
  // was left unanswered, else 8 when a script line was left unused, else 0.
  static int OffScriptExit(const Outcome& o) {
    if (o.out.find("(unanswered)") != std::string::npos || o.out.find("ran out of input") != std::string::npos ||
        o.out.find("unanswered: ") != std::string::npos)
      return 7;
    return o.out.find("script: line ") != std::string::npos ? 8 : 0;
  }

  // Whether uid 65534 can start the build's runner: a build under a home
  // that others may not enter cannot be run as that user.
  static bool NobodyCanRunTheRunner() {
    static const bool can = [] {
      if (access("/usr/bin/setpriv", X_OK) != 0) return false;
      const std::filesystem::path scratch = std::filesystem::temp_directory_path();
      return testsupport::RunProgram("/usr/bin/setpriv",
                                     {"--reuid=65534", "--regid=65534", "--clear-groups", "--",
                                      JOV_TEST_MODULE_DIR "/dravik", "--help"},
                                     scratch)
                 .exit == 0;
    }();
    return can;
  }

  std::filesystem::path dir_;
};
