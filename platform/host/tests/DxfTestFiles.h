// Fixture access shared by the host drawing tests.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace host::test {

inline std::string FixturePath(const std::string& name) {
  return std::string(JOV_SOURCE_DIR) + "/platform/host/tests/data/" + name;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace host::test
