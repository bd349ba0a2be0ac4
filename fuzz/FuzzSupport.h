// What the fuzz targets share: checks that stop the run loudly (libFuzzer and
// the replay driver both report an abort with the input that caused it), the
// input as text, and a scratch folder for readers that take a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

// A property every input must keep; the message is built only on failure.
#define FUZZ_CHECK(condition, message)                                                  \
  do {                                                                                  \
    if (!(condition)) ::fuzz::Fail(__FILE__, __LINE__, #condition, std::string(message)); \
  } while (false)

namespace fuzz {

[[noreturn]] void Fail(const char* file, int line, const char* condition, const std::string& message);

inline std::string_view Text(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// The input up to its first NUL: for readers that take a C string.
inline std::string CText(const uint8_t* data, size_t size) {
  std::string_view text = Text(data, size);
  return std::string(text.substr(0, text.find('\0')));
}

// Every line end (CR LF, a lone CR) as a line feed.
std::string WithLineFeeds(std::string_view text);
// The text's lines, split at line feeds; a final line feed ends the last
// line rather than opening an empty one.
std::vector<std::string> Lines(std::string_view text);

// A folder of this process's own, made at the first call and removed at exit.
const std::string& ScratchFolder();
// Writes the bytes to the scratch folder under name (which may hold
// folders, made when missing); returns the path.
std::string WriteScratchFile(const std::string& name, std::string_view bytes);
// The bytes of a file; empty when it cannot be read.
std::string FileBytes(const std::string& path);

}  // namespace fuzz
